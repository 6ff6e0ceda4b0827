#include "rules/dtmf/DtmfRules.h"
#include "base/ByteText.h"

#include "base/ListHelpers.h"
#include "model/ChannelRules.h"

#include <algorithm>

namespace kt {

namespace {

int16_t NumberIfUsed(const Workspace& ws, int16_t k) { return int16_t(DtmfCodeNumberIfUsed(ws, k)); }

DtmfTimingList Steps(int from, int to, int step, int scale)
{
    DtmfTimingList l{scale, {}};
    for (int v = from; v <= to; v += step) l.entries << QString::number(v);
    return l;
}

}  // namespace

QByteArray DtmfCodeText(const Workspace& ws, int k)
{
    if (k < 1 || k > kDtmfCodes) return {};
    return FieldText(ws.WorkRecord.OptFeat.DtmfCode[k].bytes());
}

bool DtmfCodeIsUsed(const Workspace& ws, int k) { return !DtmfCodeText(ws, k).isEmpty(); }

int DtmfCodeNumberIfUsed(const Workspace& ws, int k) { return DtmfCodeIsUsed(ws, k) ? k : 0; }

void StoreDtmfCode(Workspace& ws, int k, const QByteArray& typed)
{
    if (k < 1 || k > kDtmfCodes) return;
    // Trailing spaces go first, then the cut at NUL: "12 \0" keeps "12 ".
    QByteArray s = CleanText(typed);
    s.append('\0');
    ws.WorkRecord.OptFeat.DtmfCode[k].set(s.left(kDtmfCodeLength));
}

void ClearEmptyDtmfReferences(Workspace& ws)
{
    ForEachReferencingChannel(ws, [&](ChannelRec& ch) {
        ch.BotCode = NumberIfUsed(ws, ch.BotCode);
        ch.EotCode = NumberIfUsed(ws, ch.EotCode);
        ch.CallCode = NumberIfUsed(ws, ch.CallCode);
    });
    OptFeatRec& o = ws.OptFeat();
    o.PublicBotCode = NumberIfUsed(ws, o.PublicBotCode);
    o.PublicEotCode = NumberIfUsed(ws, o.PublicEotCode);
    o.PublicCallCode = NumberIfUsed(ws, o.PublicCallCode);
}

int FilterDtmfKey(int ch)
{
    if (ch == 13 || ch == 3 || ch == 22 || ch == 24) return 0;
    if (ch < 0 || ch > 127) return 0;
    if (ch < 32 || ch == 127) return ch;
    if ((ch >= '0' && ch <= '9') || ch == '*' || ch == '#') return ch;
    if (ch >= 'A' && ch <= 'D') return ch;
    if (ch >= 'a' && ch <= 'd') return ch - 'a' + 'A';
    return 0;
}

DtmfTimingList DtmfSendTimeList() { return Steps(10, 500, 10, 10); }
DtmfTimingList DtmfFirstDigitTimeList() { return Steps(0, 1000, 100, 100); }
DtmfTimingList DtmfFirstDigitDelayList() { return Steps(100, 2500, 100, 100); }
DtmfTimingList DtmfStarHashTimeList() { return {100, {"0", "100", "500", "1000"}}; }

const DtmfTimingSetting& DtmfTiming(int which)
{
    static const DtmfTimingSetting table[kDtmfTimings] = {
        {{"DTMF Send Time[ms]", "DTMF 发送时间[毫秒]"}, &DtmfSendTimeList, &OptFeatRec::DtmfSendTime},
        {{"First Digit Time[ms]", "首位数码时间[毫秒]"}, &DtmfFirstDigitTimeList, &OptFeatRec::DtmfFirstDigitTime},
        {{"First Digit Delay[ms]", "首位数码延迟[毫秒]"}, &DtmfFirstDigitDelayList, &OptFeatRec::DtmfFirstDigitDelay},
        {{"* and # Tone[ms]", "*和#音[毫秒]"}, &DtmfStarHashTimeList, &OptFeatRec::DtmfStarHashTime},
    };
    return table[std::clamp(which, 0, kDtmfTimings - 1)];
}

QStringList DtmfDCodeAssignList(int language)
{
    const bool zh = language == Chinese;
    QStringList l{zh ? QString::fromUtf8("D 码") : QStringLiteral("D Code")};
    for (int i = 1; i <= 16; ++i)
        l << QString::number(i) + (zh ? QString::fromUtf8("秒") : QStringLiteral("s"));
    return l;
}

int DtmfTimingIndex(const DtmfTimingList& list, int stored)
{
    const int i = list.entries.indexOf(QString::number(stored * list.scale));
    return i < 0 ? 0 : i;
}

int DtmfTimingValue(const DtmfTimingList& list, int index)
{
    const QString text = ListTextAt(list.entries, index);
    return int(NumberOr(text, 0)) / list.scale;
}

}  // namespace kt
