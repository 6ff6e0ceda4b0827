#include "rules/rogerbeep/RbRules.h"
#include "model/ChannelRules.h"

#include <algorithm>
#include <cmath>

namespace kt {

bool PatternIsDefined(const RbPatternRec& p)
{
    if (p.RbRecycle < 1) return false;
    for (int i = 0; i < kRbTones; ++i)
        if (p.RbTone[1][i] > 0) return true;
    return false;
}

int PatternIsDefined(const Workspace& ws, int n)
{
    if (n < 1 || n > kRbPatterns) return 0;
    return PatternIsDefined(ws.WorkRecord.RbPattern[n - 1]) ? n : 0;
}

int CountDefinedPatterns(const Workspace& ws)
{
    int count = 0;
    for (int n = 1; n <= kRbPatterns; ++n)
        if (PatternIsDefined(ws, n)) ++count;
    return count;
}

RbPatternRec& Pattern(Workspace& ws, int n)
{
    return ws.WorkRecord.RbPattern[std::clamp(n, 1, kRbPatterns) - 1];
}

void ClearUndefinedRbReferences(Workspace& ws)
{
    ForEachReferencingChannel(ws, [&](ChannelRec& ch) {
        ch.RogerBeep = int16_t(PatternIsDefined(ws, ch.RogerBeep));
    });
    OptFeatRec& o = ws.OptFeat();
    o.PublicRogerBeep = int16_t(PatternIsDefined(ws, o.PublicRogerBeep));
    ws.WorkRecord.ComChanRb = uint8_t(PatternIsDefined(ws, ws.WorkRecord.ComChanRb));
}

QStringList RbRecycleList(int language)
{
    QStringList l{language == Chinese ? QString::fromUtf8("关") : QStringLiteral("Off")};
    for (int i = 1; i <= 10; ++i) l << QString::number(i);
    return l;
}

QStringList RbTimeList()
{
    QStringList l;
    for (int i = 0; i <= 255; ++i) l << QString::number(i * 10);
    return l;
}

QStringList RbFreqList(int language)
{
    QStringList l{language == Chinese ? QString::fromUtf8("无") : QStringLiteral("None")};
    for (int code = 40; code <= 255; ++code) l << QString::number(code * 10);
    return l;
}

int RbFreqIndex(int code) { return code >= 40 && code <= 255 ? code - 39 : 0; }

int RbFreqCodeAt(int index) { return index >= 1 && index <= 216 ? index + 39 : 0; }

std::vector<RbBar> PatternBars(const RbPatternRec& p, int width, int height)
{
    std::vector<RbBar> bars;
    const double W = width - 100, H = height - 100;
    long total = 0;
    for (int i = 0; i < kRbTones; ++i) total += std::max<int>(p.RbTone[1][i], 0);
    if (total < 1) return bars;
    int x = 50;
    for (int i = 0; i < kRbTones; ++i) {
        const int dur = p.RbTone[1][i];
        if (dur <= 0) continue;
        const int w = int(std::lround(dur * W / total));
        const int h = int(std::lround(std::max<int>(p.RbTone[0][i], 0) * H / 256));
        bars.push_back({i + 1, x, height - 50 - h, w, h, (i + 1) % 2 == 1});
        x += w;
    }
    return bars;
}

}  // namespace kt
