#include "rules/channels/ChannelFill.h"

#include "model/ChannelRules.h"
#include "model/EditStep.h"
#include "rules/channels/ChannelCheck.h"
#include "rules/channels/ChannelTables.h"

#include <QRegularExpression>
#include <algorithm>
#include <cstdlib>

namespace kt {

namespace {

// Channel 23 lies above 24 and 25 in the plan.
constexpr int kCb40KHz[40] = {0,   10,  20,  40,  50,  60,  70,  90,  100, 110, 120, 140, 150, 160,
                              170, 190, 200, 210, 220, 240, 250, 260, 290, 270, 280, 300, 310, 320,
                              330, 340, 350, 360, 370, 380, 390, 400, 410, 420, 430, 440};

constexpr long long kFirstSegmentHz = 24715000;
constexpr long long kSegmentHz = 450000;
constexpr int kDefaultSegments = 12;   // A-L cover the HF band exactly

bool FillableGroup(int band, int group)
{
    return (band == 0 || band == 1) && group >= 1 && group <= GroupsOfBand(band) && GroupEditable(band, group) &&
           !IsVfoGroup(band, group);
}

QString Where(int band, int group, int channel, int language)
{
    return ChannelStepDetail(band, group, channel).in(language);
}

QString GroupName(int band, int group) { return GroupStepDetail(band, group).en; }

}  // namespace

int Cb40OffsetKHz(int channel) { return channel >= 1 && channel <= 40 ? kCb40KHz[channel - 1] : -1; }

long long DefaultCbSegmentHz(int band, int group)
{
    if (band != 0 || group < 1 || group > kDefaultSegments) return 0;
    return kFirstSegmentHz + (group - 1) * kSegmentHz;
}

FillOutcome PlanFill(const Workspace& ws, const FillRequest& r)
{
    FillOutcome o;
    auto fail = [&](FillError e, int channel = 0, long long hz = 0) {
        o.error = e;
        o.channel = channel;
        o.hz = hz;
        o.planned.clear();
        return o;
    };
    if (!FillableGroup(r.band, r.group)) return fail(FillError::NotEditable);
    const bool cb = r.plan == FillPlan::Cb40;
    std::vector<int> rows = r.channels;
    if (rows.empty()) {
        const int last = cb ? std::min(40, GroupSize(r.band, r.group)) : GroupSize(r.band, r.group);
        for (int ch = 1; ch <= last; ++ch) rows.push_back(ch);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty()) return fail(FillError::NoRows);
    for (int ch : rows) {
        if (ch < 1 || ch > GroupSize(r.band, r.group)) return fail(FillError::NotInGroup, ch);
        if (cb && Cb40OffsetKHz(ch) < 0) return fail(FillError::NotInPlan, ch);
    }
    long long segment = r.segmentHz;
    if (cb && segment == 0) segment = DefaultCbSegmentHz(r.band, r.group);
    if (cb && segment == 0) return fail(FillError::NoSegment);
    if (cb && r.grid == 0) segment -= 5000;

    const BandLimits limits = LimitsOfBand(r.band, ws.ExtendedHf);
    int newRows = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const int ch = rows[i];
        const long long hz = cb ? segment + 1000LL * Cb40OffsetKHz(ch) : r.startHz + r.stepHz * (long long)i;
        const FreqVerdict v = JudgeHz(limits, hz);
        if (v == FreqVerdict::OutOfRange) return fail(FillError::OutOfBand, ch, hz);
        if (v != FreqVerdict::Ok) return fail(FillError::OffRaster, ch, hz);
        const int slot = FindSlot(ws, r.band, r.group, ch);
        if (slot == 0) ++newRows;
        o.planned.emplace_back(ch, hz);
    }
    const int count = ws.ChannelCount(r.band, r.group);
    if (count < 0 || count + newRows > kMaxSlots) {
        FillOutcome f = fail(FillError::NoRoom);
        f.count = newRows;
        return f;
    }
    return o;
}

FillOutcome FillChannels(Workspace& ws, const FillRequest& r)
{
    FillOutcome o = PlanFill(ws, r);
    if (!o.ok()) return o;
    EditStep step(ws, Named(filltxt::Step, GroupStepDetail(r.band, r.group)));
    for (const auto& [ch, hz] : o.planned) {
        const QString text = HzText(hz);
        const int slot = FindSlot(ws, r.band, r.group, ch);
        if (slot == 0) {
            InsertChannel(ws, ch, r.band, r.group, text);
            ++o.added;
            continue;
        }
        ChannelRec& rec = ws.Channels(r.band, slot, r.group);
        const QByteArray digits = FreqToDigits(ws, text);
        FixedText<8> next;
        next.set(digits);
        if (next == rec.Freq) continue;
        rec.Freq = next;
        ++o.changed;
    }
    if (o.added > 0) RepointChannelRefs(ws, r.band, r.group);
    emit ws.Events().channelsChanged(r.band, r.group);
    return o;
}

QString FillErrorText(const FillOutcome& o, const FillRequest& r, int L)
{
    const QString group = GroupName(r.band, r.group);
    switch (o.error) {
    case FillError::None: return {};
    case FillError::NotEditable: return filltxt::NotEditable.in(L).arg(group);
    case FillError::NoRows: return filltxt::NoRows.in(L);
    case FillError::NotInGroup: return filltxt::NotInGroup.in(L).arg(o.channel).arg(group);
    case FillError::NotInPlan: return filltxt::NotInPlan.in(L).arg(Where(r.band, r.group, o.channel, L));
    case FillError::NoSegment: return filltxt::NoSegment.in(L).arg(group);
    case FillError::OutOfBand:
        return filltxt::OutOfBand.in(L)
            .arg(Where(r.band, r.group, o.channel, L), HzText(o.hz), LimitsText(LimitsOfBand(r.band, false)));
    case FillError::OffRaster:
        return filltxt::OffRaster.in(L).arg(Where(r.band, r.group, o.channel, L), HzText(o.hz));
    case FillError::NoRoom: return filltxt::NoRoom.in(L).arg(group).arg(o.count);
    }
    return {};
}

bool ParseMhz(const QString& text, long long& hz)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,3})(?:\\.(\\d*))?\\s*$"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch()) return false;
    QString fraction = m.captured(2);
    while (fraction.size() > 6 && fraction.endsWith('0')) fraction.chop(1);
    if (fraction.size() > 6) return false;
    fraction = fraction.leftJustified(6, '0');
    hz = m.captured(1).toLongLong() * 1000000 + fraction.toLongLong();
    return true;
}

QString HzText(long long hz)
{
    const QString sign = hz < 0 ? QStringLiteral("-") : QString();
    const long long a = std::llabs(hz);
    // Five decimals as the grid shows them; six when the hertz matter.
    const QString fraction = a % 10 == 0 ? QStringLiteral("%1").arg((a % 1000000) / 10, 5, 10, QChar('0'))
                                         : QStringLiteral("%1").arg(a % 1000000, 6, 10, QChar('0'));
    return sign + QString::number(a / 1000000) + '.' + fraction;
}

bool ParseChannelList(const QString& text, std::vector<int>& channels)
{
    channels.clear();
    static const QRegularExpression part(QStringLiteral("^\\s*(\\d{1,3})\\s*(?:-\\s*(\\d{1,3})\\s*)?$"));
    for (const QString& p : text.split(',')) {
        const QRegularExpressionMatch m = part.match(p);
        if (!m.hasMatch()) return false;
        const int from = m.captured(1).toInt();
        const int to = m.captured(2).isEmpty() ? from : m.captured(2).toInt();
        if (from < 1 || to < from) return false;
        for (int ch = from; ch <= to; ++ch) channels.push_back(ch);
    }
    return !channels.empty();
}

}  // namespace kt
