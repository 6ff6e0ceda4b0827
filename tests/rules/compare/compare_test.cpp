// The comparison against plants made straight into the bytes of an image and
// into the members of a data file, addressed from the radio's memory map as
// written down here (not from the codec's tables): every planted difference is
// reported exactly once, at its place, with the value as the editors show it.
#include "rules/compare/Compare.h"

#include "model/Codec.h"
#include "model/Defaults.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace kt::cmp {
namespace {

using Bytes = std::vector<uint8_t>;

// Every channel of both bands filled; lettered groups with their 40 channels,
// or, with memoryChannels, also 41-46 (M1-M6), which only a data file holds.
void FillJob(Workspace& ws, bool memoryChannels)
{
    InitDefaults(ws, false);
    for (int band = 0; band < kBands; ++band)
        for (int group = 1; group <= GroupsOfBand(band); ++group) {
            const int size = GroupSize(band, group);
            const int count = memoryChannels && size == 40 ? 46 : size;
            for (int c = 1; c <= count; ++c) {
                ChannelRec& rec = ws.Channels(band, c, group);
                rec = ChannelRec{};
                rec.ChNo = int16_t(c);
                rec.Used = 1;
                rec.Freq.set(QByteArray::number(28000000 + (group * 100 + c) * 100 + band * 10));
                rec.Mode = int16_t(c % 4);
            }
            ws.ChannelCount(band, group) = int16_t(count);
        }
}

Bytes ImageOf(Workspace ws)
{
    ClearImage(ws);
    EncodeImage(ws);
    return ws.MemImage;
}

// What a planted change should be reported as.
struct Expect {
    PlaceKind kind;
    int band = -1, group = 0, channel = 0, index = 0;
    int address = -1;              // Bytes: an address inside the range
    QString b;                     // the value B shows; empty: not checked
    Change change = Change::Changed;
};

bool Matches(const Difference& d, const Expect& e)
{
    const Place& p = d.place;
    if (p.kind != e.kind || d.change != e.change) return false;
    if (e.kind == PlaceKind::Bytes) return p.address <= e.address && e.address <= p.lastAddress;
    if (e.kind == PlaceKind::Channel && (p.band != e.band || p.group != e.group || p.channel != e.channel)) return false;
    if ((e.kind == PlaceKind::Dtmf || e.kind == PlaceKind::RogerBeep) && p.index != e.index) return false;
    return e.b.isEmpty() || d.b == e.b;
}

QString DtmfText(const Bytes& img, int k)
{
    QString s;
    for (int j = 0; j < 16 && img[0x4480 + (k - 1) * 16 + j] <= 15; ++j)
        s += QLatin1Char("0123456789ABCD*#"[img[0x4480 + (k - 1) * 16 + j]]);
    return s;
}

// Plants up to n changes into y, one byte each, no two noise bytes side by side.
std::vector<Expect> Plant(Bytes& y, std::mt19937& rng, int n)
{
    std::vector<Expect> out;
    std::set<int> used;
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto take = [&](int address, bool noise) {
        if (used.count(address) || (noise && (used.count(address - 1) || used.count(address + 1)))) return false;
        used.insert(address);
        if (noise) used.insert(address - 1), used.insert(address + 1);
        return true;
    };
    while (int(out.size()) < n) {
        const int kind = pick(0, 7);
        // A channel of band 0 group g (1-15), channel c (1-40): record and enable bit.
        const int g = pick(1, 15), c = pick(1, 40);
        const int rec = (g - 1) * 40 * 16 + (c - 1) * 16;
        const int enable = 0x4600 + (g - 1) * 5 + (c - 1) / 8;
        const int enableGroupBits = 1000000 + enable;   // one plant per mask byte
        switch (kind) {
        case 0: {   // a byte-wide channel field, outside every list
            static const int bytes[] = {4, 5, 6, 7, 8, 10, 12, 13, 14};
            const int at = rec + bytes[pick(0, 8)];
            if (used.count(enableGroupBits) || !take(at, false)) break;
            used.insert(rec);   // the channel stays there
            y[at] = uint8_t(pick(200, 250));
            out.push_back({PlaceKind::Channel, 0, g, c, 0, -1, QString::number(y[at])});
            break;
        }
        case 1: {   // a new frequency
            if (used.count(enableGroupBits) || !take(rec, false)) break;
            for (int i = 1; i < 4; ++i) used.insert(rec + i);
            const int digits = 27000000 + pick(0, 999999);
            const QByteArray d = QByteArray::number(digits);
            for (int i = 0; i < 4; ++i) y[rec + i] = uint8_t(((d[2 * i] - '0') << 4) | (d[2 * i + 1] - '0'));
            if (QByteArray::number(digits) == QByteArray::number(28000000)) break;
            out.push_back({PlaceKind::Channel, 0, g, c, 0, -1, QString::fromLatin1(d.left(2) + "." + d.mid(2))});
            break;
        }
        case 2: {   // a channel removed: its enable bit cleared
            bool touched = false;
            for (int i = 0; i < 16; ++i) touched |= used.count(rec + i) > 0;
            if (touched || !take(enableGroupBits, false)) break;
            for (int i = 0; i < 16; ++i) used.insert(rec + i);
            used.insert(enable);
            y[enable] &= uint8_t(~(1 << ((c - 1) % 8)));
            out.push_back({PlaceKind::Channel, 0, g, c, 0, -1, {}, Change::Removed});
            break;
        }
        case 3: {   // noise in byte 15 of a channel record, which no field holds
            if (!take(rec + 15, true)) break;
            y[rec + 15] ^= uint8_t(pick(1, 255));
            out.push_back({PlaceKind::Bytes, -1, 0, 0, 0, rec + 15});
            break;
        }
        case 4: {   // noise in a byte the option area leaves unused
            const int at = pick(0, 1) ? 0x4A16 : 0x4A33;
            if (!take(at, true)) break;
            y[at] ^= uint8_t(pick(1, 255));
            out.push_back({PlaceKind::Bytes, -1, 0, 0, 0, at});
            break;
        }
        case 5: {   // a DTMF code: its first character
            const int k = pick(1, 16);
            const int at = 0x4480 + (k - 1) * 16;
            if (!take(at, false)) break;
            for (int j = 1; j < 16; ++j) used.insert(at + j);
            y[at] = uint8_t((y[at] + pick(1, 9)) % 10);
            out.push_back({PlaceKind::Dtmf, -1, 0, 0, k, -1, DtmfText(y, k)});
            break;
        }
        case 6: {   // a roger-beep tone frequency
            const int p = pick(0, 7), i = pick(0, 13);
            const int at = 0x4900 + (p / 2) * 64 + (p % 2) * 30 + 2 + i;
            if (!take(at, false)) break;
            y[at] = uint8_t(y[at] ^ pick(1, 255));
            out.push_back({PlaceKind::RogerBeep, -1, 0, 0, p + 1});
            break;
        }
        case 7: {   // an option byte, value outside its list
            const int at = pick(0x4A0C, 0x4A15);
            if (!take(at, false)) break;
            y[at] = uint8_t(y[at] ^ pick(1, 255));
            out.push_back({PlaceKind::Option});
            break;
        }
        }
    }
    return out;
}

TEST(Compare, EveryPlantedDifferenceIsReportedOnceAtItsPlace)
{
    Workspace job;
    FillJob(job, false);
    const Bytes x = ImageOf(job);
    std::mt19937 rng(6383);
    for (int round = 0; round < 40; ++round) {
        Bytes y = x;
        const std::vector<Expect> planted = Plant(y, rng, 12);
        const Result r = Compare(FromImage(job, x, "x"), FromImage(job, y, "y"));
        std::vector<bool> claimed(r.items.size(), false);
        for (const Expect& e : planted) {
            int hits = 0;
            for (size_t i = 0; i < r.items.size(); ++i)
                if (!claimed[i] && Matches(r.items[i], e)) {
                    claimed[i] = true;
                    ++hits;
                    break;
                }
            EXPECT_EQ(hits, 1) << "round " << round << ": plant of kind " << int(e.kind) << " at group " << e.group
                               << " channel " << e.channel << " address " << e.address << " value " << e.b.toStdString();
        }
        // Nothing reported twice or without a plant.
        ASSERT_EQ(r.items.size(), planted.size()) << "round " << round << "\n"
                                                  << CsvText(r, English).toStdString();
    }
}

TEST(Compare, AJobAndItsImageDifferOnlyInTheMemoryChannels)
{
    Workspace job;
    FillJob(job, true);
    const Bytes img = ImageOf(job);
    for (bool jobFirst : {true, false}) {
        const Document a = jobFirst ? FromWorkspace(job, "job") : FromImage(job, img, "img");
        const Document b = jobFirst ? FromImage(job, img, "img") : FromWorkspace(job, "job");
        const Result r = Compare(a, b);
        // 6 channels in each of the 15 + 12 lettered groups.
        ASSERT_EQ(r.items.size(), size_t(6 * (15 + 12)));
        for (const Difference& d : r.items) {
            EXPECT_EQ(d.change, Change::NotHeld);
            EXPECT_EQ(d.place.kind, PlaceKind::Channel);
            EXPECT_GE(d.place.channel, 41);
            EXPECT_LE(d.place.channel, 46);
            EXPECT_FALSE((jobFirst ? d.a : d.b).isEmpty()) << "the channel's frequency is shown";
        }
    }
    // The data file's own fields count between two data files only.
    Workspace other = job;
    other.WorkRecord.ModelInfo.MiModel.set("XY-1");
    other.WorkRecord.OptFeat.GroupName[0][3].set("FIRE");
    other.Channels(0, 5, 2).W24 = 7;
    const Result files = Compare(FromWorkspace(job, "a"), FromWorkspace(other, "b"));
    ASSERT_EQ(files.items.size(), 3u) << CsvText(files, English).toStdString();
    EXPECT_EQ(files.items[0].place, (Place{PlaceKind::Channel, 0, 2, 5}));
    EXPECT_EQ(files.items[1].place, (Place{PlaceKind::Group, 0, 3}));
    EXPECT_EQ(files.items[1].b, "FIRE");
    EXPECT_EQ(files.items[2].place.kind, PlaceKind::Other);
    EXPECT_EQ(Compare(FromWorkspace(other, "b"), FromImage(job, img, "img")).items.size(), size_t(6 * 27));
}

TEST(Compare, DifferentBandsSayItFirstAndTheSummaryCountsByPlace)
{
    Workspace a;
    FillJob(a, false);
    Workspace b = a;
    b.WorkRecord.BandType = 1;
    b.BandRange = kBandRange1;
    for (int c : {3, 9}) b.Channels(0, c, 1).Mode = 4;
    b.Channels(0, 2, 3).Mode = 4;
    b.WorkRecord.OptFeat.MicGain ^= 1;
    b.WorkRecord.OptFeat.TotTime += 3;
    b.WorkRecord.OptFeat.DtmfCode[3].set("123");
    const Result r = Compare(FromImage(a, ImageOf(a), "a"), FromImage(b, ImageOf(b), "b"));
    ASSERT_FALSE(r.items.empty());
    EXPECT_EQ(r.items[0].change, Change::Note);
    EXPECT_EQ(SummaryText(r, English),
              "the band, 3 channels in groups A and C, 2 option features and DTMF code 3");
    EXPECT_EQ(SummaryText(Result{}, English), "nothing");
}

}  // namespace
}  // namespace kt::cmp
