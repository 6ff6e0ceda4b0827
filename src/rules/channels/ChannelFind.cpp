#include "rules/channels/ChannelFind.h"

#include "model/ChannelRules.h"
#include "model/EditStep.h"
#include "rules/channels/ChannelCheck.h"
#include "rules/channels/ChannelFill.h"
#include "rules/channels/ChannelTables.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace kt {

namespace {

constexpr int kModeCount = 6;

bool FreqHz(const ChannelRec& rec, long long& hz)
{
    bool subHz = false;
    return DigitsToHz(rec.Freq.bytes(), hz, subHz);
}

auto Key(const ChannelPlace& p) { return std::make_tuple(p.band, p.group, p.channel); }

}  // namespace

ChannelQuery::ChannelQuery(const QString& text) : text_(text.trimmed().toUpper())
{
    if (text_.isEmpty()) return;
    static const QRegularExpression pointed(QStringLiteral("^\\d+\\.\\d*$"));
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    static const QRegularExpression dcs(QStringLiteral("^D_?(\\d{3})N?$"));
    if (pointed.match(text_).hasMatch()) pointed_ = text_;
    if (digits.match(text_).hasMatch()) digits_ = text_;
    if (const QRegularExpressionMatch m = dcs.match(text_); m.hasMatch())
        for (int i = 0; DcsCode(i).size() > 0; ++i)
            if (DcsCode(i) == m.captured(1)) dcs_ = i;
    bool number = false;
    const double v = text_.toDouble(&number);
    if (number)
        for (int i = 0; CtcssTone(i) > 0; ++i)
            if (std::fabs(CtcssTone(i) - v) < 0.05) ctcss_ = i;
    for (int m = 0; m < kModeCount; ++m)
        if (text_ == ModeText(m)) mode_ = m;
}

bool ChannelQuery::Matches(const ChannelRec& rec) const
{
    if (text_.isEmpty()) return true;
    if (mode_ >= 0 && rec.Mode == mode_) return true;
    if (ctcss_ >= 0 && ((rec.RxToneType == 1 && rec.RxCtcss == ctcss_) || (rec.TxToneType == 1 && rec.TxCtcss == ctcss_)))
        return true;
    if (dcs_ >= 0 && ((rec.RxToneType == 2 && rec.RxDcs == dcs_) || (rec.TxToneType == 2 && rec.TxDcs == dcs_)))
        return true;
    if (pointed_.isEmpty() && digits_.isEmpty()) return false;
    long long hz = 0;
    if (!FreqHz(rec, hz)) return false;
    const QString shown = HzText(hz);
    if (!pointed_.isEmpty()) return shown.startsWith(pointed_);
    QString plain = shown;
    plain.remove('.');
    return plain.startsWith(digits_);
}

std::vector<ChannelPlace> FindChannels(const Workspace& ws, const ChannelQuery& query)
{
    std::vector<ChannelPlace> out;
    for (int band = 0; band < kBands; ++band)
        for (const QString& letter : GroupSelectorTexts(band, ws.ExtendedHf)) {
            const int group = GroupNumber(band, letter);
            const size_t first = out.size();
            const int count = std::min<int>(ws.ChannelCount(band, group), kMaxSlots);
            for (int slot = 1; slot <= count; ++slot) {
                const ChannelRec& rec = ws.Channels(band, slot, group);
                if (rec.ChNo < 1 || !SlotShowsChannel(rec, band, group) || VfoNotSet(rec, band, group)) continue;
                if (query.Matches(rec)) out.push_back({band, group, rec.ChNo});
            }
            std::sort(out.begin() + long(first), out.end(),
                      [](const ChannelPlace& a, const ChannelPlace& b) { return a.channel < b.channel; });
        }
    return out;
}

int NextMatch(const std::vector<ChannelPlace>& matches, const ChannelPlace& from, bool forward)
{
    if (matches.empty()) return -1;
    const int n = int(matches.size());
    if (forward) {
        for (int i = 0; i < n; ++i)
            if (Key(matches[size_t(i)]) > Key(from)) return i;
        return 0;
    }
    for (int i = n - 1; i >= 0; --i)
        if (Key(matches[size_t(i)]) < Key(from)) return i;
    return n - 1;
}

bool RowMatches(const Workspace& ws, int band, int group, int channel, const ChannelQuery& query)
{
    if (query.IsEmpty()) return true;
    const int slot = FindSlot(ws, band, group, channel);
    return slot > 0 && SlotShowsChannel(ws.Channels(band, slot, group), band, group) &&
           query.Matches(ws.Channels(band, slot, group));
}

std::vector<int> SortedRows(const Workspace& ws, int band, int group, int rowCount, bool byFrequency, bool down)
{
    struct Row {
        int row;
        bool empty;
        long long key;
    };
    std::vector<Row> rows;
    for (int row = 0; row < rowCount; ++row) {
        Row r{row, false, row};
        if (byFrequency) {
            const int slot = FindSlot(ws, band, group, row + 1);
            long long hz = 0;
            r.empty = slot == 0 || !SlotShowsChannel(ws.Channels(band, slot, group), band, group) ||
                      !FreqHz(ws.Channels(band, slot, group), hz);
            r.key = hz;
        }
        rows.push_back(r);
    }
    std::stable_sort(rows.begin(), rows.end(), [down](const Row& a, const Row& b) {
        if (a.empty != b.empty) return b.empty;
        return down ? a.key > b.key : a.key < b.key;
    });
    std::vector<int> order;
    for (const Row& r : rows) order.push_back(r.row);
    return order;
}

int SortChannelsByFrequency(Workspace& ws, int band, int group, const std::vector<int>& rows)
{
    if (band < 0 || band >= kBands || group < 1 || group > GroupsOfBand(band)) return 0;
    struct Entry {
        int slot;
        long long hz;
        int number;
    };
    std::vector<Entry> entries;
    const int count = std::min<int>(ws.ChannelCount(band, group), kMaxSlots);
    for (int slot = 1; slot <= count; ++slot) {
        const ChannelRec& rec = ws.Channels(band, slot, group);
        if (!rows.empty() && std::find(rows.begin(), rows.end(), int(rec.ChNo)) == rows.end()) continue;
        long long hz = 0;
        if (rec.ChNo < 1 || !SlotShowsChannel(rec, band, group) || !FreqHz(rec, hz)) continue;
        entries.push_back({slot, hz, rec.ChNo});
    }
    if (entries.size() < 2) return 0;
    std::vector<int> numbers;
    for (const Entry& e : entries) numbers.push_back(e.number);
    std::sort(numbers.begin(), numbers.end());
    // Equal frequencies keep their order.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.hz != b.hz ? a.hz < b.hz : a.number < b.number;
    });
    std::map<int, int> moved;   // old number -> new number
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].number != numbers[i]) moved[entries[i].number] = numbers[i];
    if (moved.empty()) return 0;

    EditStep step(ws, Named(findtxt::SortStep, GroupStepDetail(band, group)));
    for (size_t i = 0; i < entries.size(); ++i) ws.Channels(band, entries[i].slot, group).ChNo = int16_t(numbers[i]);
    OptFeatRec& of = ws.OptFeat();
    for (int16_t* ref : {&of.EmgCh1[band][group], &of.EmgCh2[band][group], &of.GrpByte[band][group]})
        if (const auto it = moved.find(*ref); it != moved.end()) *ref = int16_t(it->second);
    emit ws.Events().channelsChanged(band, group);
    emit ws.Events().channelRefsChanged(band, group);
    return int(moved.size());
}

}  // namespace kt
