// The image codec against byte vectors worked out by hand from the radio's
// memory layout.
#include "model/Codec.h"
#include "model/ImageLayout.h"

#include <gtest/gtest.h>

#include <map>

namespace kt {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes At(const Workspace& ws, int address, int n)
{
    return Bytes(ws.MemImage.begin() + address, ws.MemImage.begin() + address + n);
}

ChannelRec Channel(int chNo, const QByteArray& freq)
{
    ChannelRec c;
    c.ChNo = int16_t(chNo);
    c.Used = 1;
    c.Freq.set(freq);
    return c;
}

// A model with exactly one channel, encoded into a fresh image.
struct CodecFixture : ::testing::Test {
    Workspace ws;
    void Add(int band, int group, const ChannelRec& c) {
        int16_t& n = ws.ChannelCount(band, group);
        ws.Channels(band, ++n, group) = c;
    }
    void Encode() {
        ClearImage(ws);
        EncodeImage(ws);
    }
};

TEST(ImageLayoutTables, EveryWrittenBitHasExactlyOneRow)
{
    std::map<int, int> covered;   // address -> bits claimed
    auto claim = [&](int address, layout::Bits bits, const char* what) {
        const int mask = bits.width == 16 ? 0xFF : ((1 << bits.width) - 1) << bits.low;
        const int n = bits.width == 16 ? 2 : 1;
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(covered[address + i] & mask, 0) << std::hex << address + i << " " << (what ? what : "zero");
            covered[address + i] |= mask;
        }
    };
    for (auto table : {layout::Settings(), layout::Options()})
        for (const layout::SettingEntry& e : table)
            if (e.rule != layout::Rule::ReadOnly) claim(e.address, e.bits, e.field.name);
    for (int a = 0x4A00; a <= 0x4A3C; ++a) EXPECT_EQ(covered[a], 0xFF) << std::hex << a;
    for (int a : {0x4804, 0x4805, 0x4806, 0x4807, 0x4808, 0x4809, 0x4860, 0x4861, 0x4862, 0x4863, 0x4864, 0x4865})
        EXPECT_EQ(covered[a], 0xFF) << std::hex << a;
    EXPECT_EQ(covered.size(), 0x3Du + 12u);

    covered.clear();
    for (const layout::ChannelEntry& e : layout::kChannelRecord) {
        if (e.rule == layout::Rule::Bcd)
            for (int i = 0; i < 4; ++i) claim(e.byte + i, {0, 8}, e.name);
        else
            claim(e.byte, e.bits, e.name);
    }
    for (int b = 0; b <= 14; ++b) EXPECT_EQ(covered[b], 0xFF) << b;
    EXPECT_EQ(covered.count(15), 0u);
}

TEST(ClearImage, FFEverywhereButTheMasks)
{
    Workspace ws;
    ws.MemImage.assign(kImageSize, 0x55);
    ClearImage(ws);
    ASSERT_EQ(ws.MemImage.size(), size_t(kImageSize));
    std::map<int, uint8_t> expected = {
        {0x0000, 0xFF}, {0x45FF, 0xFF}, {0x4600, 0x00}, {0x4810, 0x00}, {0x4900, 0x00}, {0x4901, 0xFF},
        {0x5C7F, 0xFF}, {0x5C80, 0x00}, {0x5C8F, 0x00}, {0x5C9C, 0x00}, {0x5C9D, 0xFF},
        {0x5CA0, 0x00}, {0x5CBC, 0x00}, {0x5CBD, 0xFF}, {0x5CC0, 0xFF},
    };
    for (auto [a, v] : expected) EXPECT_EQ(ws.MemImage[a], v) << std::hex << a;
    int zeros = 0;
    for (uint8_t b : ws.MemImage) zeros += b == 0;
    EXPECT_EQ(zeros, (0x4900 - 0x4600 + 1) + 29 + 29);
}

TEST_F(CodecFixture, ChannelRecordBytes)
{
    ChannelRec c = Channel(3, "27185000");
    c.Scan = 1;
    c.RxCtcss = 5; c.RxDcs = 6; c.Mode = 2; c.TxCtcss = 7; c.TxDcs = 8;
    c.HiCut = 1; c.Echo = 1; c.BusyLock = 1; c.NbAnl = 2;
    c.RogerBeep = 3; c.RepShift = 2; c.TxToneType = 1; c.PublicCh = 1;
    c.BotCode = 4; c.EotCode = 5; c.CallCode = 255;
    Add(0, 2, c);
    Encode();
    const Bytes rec = {0x27, 0x18, 0x50, 0x00, 5, 6, 2, 7, 8, 0x55, 3, 0xC6, 4, 5, 255, 0xFF};
    EXPECT_EQ(At(ws, 0x2A0, 16), rec);   // band 0, group B, channel 3
    EXPECT_EQ(ws.MemImage[0x4605], 0x04);
    EXPECT_EQ(ws.MemImage[0x4705], 0x04);

    Workspace back;
    back.MemImage = ws.MemImage;
    DecodeImage(back);
    ASSERT_EQ(back.ChannelCount(0, 2), 1);
    const ChannelRec& d = back.Channels(0, 1, 2);
    EXPECT_EQ(d.ChNo, 3);
    EXPECT_EQ(d.Used, 1);
    EXPECT_EQ(d.Scan, 1);
    EXPECT_EQ(d.Freq.bytes(), "27185000");
    EXPECT_EQ(std::vector<int>({d.RxCtcss, d.RxDcs, d.Mode, d.TxCtcss, d.TxDcs, d.HiCut, d.Echo, d.Add10K,
                                d.BusyLock, d.NbAnl, d.RogerBeep, d.RepShift, d.TxToneType, d.RxToneType,
                                d.PublicCh, d.BotCode, d.EotCode, d.CallCode}),
              std::vector<int>({5, 6, 2, 7, 8, 1, 1, 0, 1, 2, 3, 2, 1, 0, 1, 4, 5, 255}));
}

TEST_F(CodecFixture, ByteNineAndElevenBits)
{
    struct Case { int hiCut, echo, add10k, busy, nbAnl, rep, tx, rx, pub; uint8_t b9, b11; };
    const Case cases[] = {
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x00},
        {1, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0x00},
        {0, 1, 0, 0, 0, 0, 0, 0, 0, 0x04, 0x00},
        {0, 0, 1, 0, 0, 0, 0, 0, 0, 0x08, 0x00},
        {0, 0, 0, 1, 0, 0, 0, 0, 0, 0x10, 0x00},
        {0, 0, 0, 0, 3, 0, 0, 0, 0, 0x60, 0x00},
        {0, 0, 0, 0, 0, 3, 0, 0, 0, 0x00, 0x03},
        {0, 0, 0, 0, 0, 0, 2, 0, 0, 0x00, 0x48},   // a transmit tone sets bit 6
        {0, 0, 0, 0, 0, 0, 0, 1, 0, 0x00, 0x50},   // so does a receive tone
        {0, 0, 0, 0, 0, 0, 3, 3, 1, 0x00, 0xFC},
        {0, 0, 0, 0, 0, 0, 0, 0, 1, 0x00, 0x80},
    };
    for (const Case& k : cases) {
        ChannelRec c = Channel(1, "28000000");
        c.HiCut = int16_t(k.hiCut); c.Echo = int16_t(k.echo); c.Add10K = int16_t(k.add10k);
        c.BusyLock = int16_t(k.busy); c.NbAnl = int16_t(k.nbAnl); c.RepShift = int16_t(k.rep);
        c.TxToneType = int16_t(k.tx); c.RxToneType = int16_t(k.rx); c.PublicCh = int16_t(k.pub);
        ClearImage(ws);
        EncodeChannel(ws, c, 0, 1);
        EXPECT_EQ(ws.MemImage[9], k.b9) << k.b9;
        EXPECT_EQ(ws.MemImage[11], k.b11) << k.b11;
    }
    // Bits 1 and 7 of byte 9 and bit 6 of byte 11 are not read back.
    ClearImage(ws);
    EncodeChannel(ws, Channel(1, "28000000"), 0, 1);
    ws.MemImage[9] = 0x82;
    ws.MemImage[11] = 0x40;
    DecodeImage(ws);
    const ChannelRec& d = ws.Channels(0, 1, 1);
    EXPECT_EQ(d.HiCut + d.Echo + d.Add10K + d.BusyLock + d.NbAnl + d.TxToneType + d.RxToneType + d.PublicCh, 0);
}

TEST_F(CodecFixture, WhereEachGroupsChannelsGo)
{
    struct Case { int band, group, ch, record, enable, scan; uint8_t bit; };
    const Case cases[] = {
        {0, 1, 1, 0x0000, 0x4600, 0x4700, 0x01},
        {0, 1, 40, 0x0270, 0x4604, 0x4704, 0x80},
        {0, 15, 40, 0x2570, 0x464A, 0x474A, 0x80},
        {0, 16, 1, 0x5000, 0x5C80, 0x5CA0, 0x01},
        {0, 16, 99, 0x5620, 0x5C8C, 0x5CAC, 0x04},
        {0, 17, 1, 0x4810, 0x4650, 0x4750, 0x01},
        {1, 1, 1, 0x2580, 0x4680, 0x4780, 0x01},
        {1, 12, 40, 0x4370, 0x46BB, 0x47BB, 0x80},
        {1, 13, 1, 0x5640, 0x5C90, 0x5CB0, 0x01},
        {1, 13, 99, 0x5C60, 0x5C9C, 0x5CBC, 0x04},
        {1, 14, 1, 0x4820, 0x46C1, 0x47C1, 0x01},
    };
    for (const Case& k : cases) {
        Workspace w;
        ChannelRec c = Channel(k.ch, "29123400");
        c.Scan = 1;
        w.ChannelCount(k.band, k.group) = 1;
        w.Channels(k.band, 1, k.group) = c;
        ClearImage(w);
        EncodeImage(w);
        EXPECT_EQ(At(w, k.record, 4), Bytes({0x29, 0x12, 0x34, 0x00})) << k.band << "/" << k.group << "/" << k.ch;
        EXPECT_EQ(w.MemImage[k.enable], k.bit) << k.band << "/" << k.group << "/" << k.ch;
        EXPECT_EQ(w.MemImage[k.scan], k.bit) << k.band << "/" << k.group << "/" << k.ch;

        Workspace back;
        back.MemImage = w.MemImage;
        DecodeImage(back);
        EXPECT_EQ(back.ChannelCount(k.band, k.group), 1);
        EXPECT_EQ(back.Channels(k.band, 1, k.group).ChNo, k.ch);
        EXPECT_EQ(back.Channels(k.band, 1, k.group).Scan, 1);
    }
}

TEST_F(CodecFixture, ScanBitFollowsTheChannel)
{
    ChannelRec a = Channel(3, "27000000"), b = Channel(7, "27000000");
    a.Scan = 1;
    b.Scan = 0;
    Add(1, 5, b);   // slot order does not matter
    Add(1, 5, a);
    Encode();
    const int enable = 0x4680 + 4 * 5, scan = 0x4780 + 4 * 5;
    EXPECT_EQ(ws.MemImage[enable], 0x44);
    EXPECT_EQ(ws.MemImage[scan], 0x04);
    const int g5 = 0x2580 + 4 * 40 * 16;
    EXPECT_EQ(ws.MemImage[g5 + 2 * 16], 0x27);
    EXPECT_EQ(ws.MemImage[g5 + 6 * 16], 0x27);
    EXPECT_EQ(ws.MemImage[g5 + 0 * 16], 0xFF);

    DecodeImage(ws);
    ASSERT_EQ(ws.ChannelCount(1, 5), 2);
    EXPECT_EQ(ws.Channels(1, 1, 5).ChNo, 3);
    EXPECT_EQ(ws.Channels(1, 2, 5).ChNo, 7);
    EXPECT_EQ(ws.Channels(1, 1, 5).Scan, 1);
    EXPECT_EQ(ws.Channels(1, 2, 5).Scan, 0);
}

TEST_F(CodecFixture, FrequencyTexts)
{
    struct Case { QByteArray freq; Bytes bcd; };
    const Case cases[] = {
        {"27185000", {0x27, 0x18, 0x50, 0x00}},
        {"2718500", {0x27, 0x18, 0x50, 0x00}},        // padded with zeros on the right
        {"27185", {0x27, 0x18, 0x50, 0x00}},
        {QByteArray("29\0" "12345", 8), {0x29, 0x00, 0x00, 0x00}},   // cut at the NUL
        {"", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"FFFFFFFF", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"27.185", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"2E7", {0xFF, 0xFF, 0xFF, 0xFF}},            // no exponent forms
        {" 2718500", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"-2718500", {0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const Case& k : cases) {
        ClearImage(ws);
        EncodeChannel(ws, Channel(1, k.freq), 0, 1);
        EXPECT_EQ(At(ws, 0, 4), k.bcd) << k.freq.constData();
        EXPECT_EQ(ws.MemImage[0x4600], 0x01);   // present all the same
    }
}

TEST_F(CodecFixture, ChannelsThatCannotBePlacedAreSkipped)
{
    ClearImage(ws);
    const Bytes before = ws.MemImage;
    EncodeChannel(ws, Channel(0, "27000000"), 0, 1);      // an empty slot
    EncodeChannel(ws, Channel(-5, "27000000"), 0, 1);
    EncodeChannel(ws, Channel(2000, "27000000"), 1, 13);  // beyond the image
    EncodeChannel(ws, Channel(1, "27000000"), 0, 18);     // no such group
    EncodeChannel(ws, Channel(1, "27000000"), 1, 15);
    EXPECT_EQ(ws.MemImage, before);

    // A number beyond a lettered group is written after it, without an enable bit.
    EncodeChannel(ws, Channel(41, "27000000"), 0, 1);
    EXPECT_EQ(ws.MemImage[40 * 16], 0x27);
    EXPECT_EQ(ws.MemImage[0x4605], 0x00);
}

TEST(DecodeImage, EmptyImageGivesAnEmptyTable)
{
    Workspace ws;
    ws.ChannelCount(0, 3) = 2;
    ws.Channels(0, 1, 3) = Channel(5, "27000000");
    ws.MemImage.assign(kImageSize, 0xFF);
    for (int a = 0x4600; a <= 0x47FF; ++a) ws.MemImage[a] = 0;
    for (int a = 0x5C80; a <= 0x5CBC; ++a) ws.MemImage[a] = 0;
    DecodeImage(ws);
    for (int band = 0; band < 2; ++band)
        for (int g = 1; g <= 17; ++g) {
            EXPECT_EQ(ws.ChannelCount(band, g), 0) << band << "/" << g;
            EXPECT_EQ(ws.Channels(band, 1, g).ChNo, 0);
        }
    EXPECT_EQ(ws.GroupCount, 14);
}

TEST(DecodeImage, VfoChannelIsReadWithoutItsEnableBit)
{
    Workspace ws;
    ClearImage(ws);
    const Bytes freq = {0x28, 0x01, 0x50, 0x00};
    std::copy(freq.begin(), freq.end(), ws.MemImage.begin() + 0x4820);
    DecodeImage(ws);
    ASSERT_EQ(ws.ChannelCount(1, 14), 1);
    EXPECT_EQ(ws.Channels(1, 1, 14).Freq.bytes(), "28015000");
    // Cleared records of band 0's VFO read as the frequency 0.
    EXPECT_EQ(ws.ChannelCount(0, 17), 1);
    EXPECT_EQ(ws.Channels(0, 1, 17).Freq.bytes(), "00000000");
}

TEST(DecodeImage, ChannelWithoutADigitFrequencyIsDropped)
{
    Workspace ws;
    ClearImage(ws);
    ws.MemImage[0x4600] = 0x07;   // channels 1, 2, 3 of band 0 group A
    const Bytes recs[] = {{0x27, 0x00, 0x00, 0x00}, {0x2A, 0x00, 0x00, 0x00}, {0x27, 0x05, 0x00, 0x0F}};
    for (int i = 0; i < 3; ++i) std::copy(recs[i].begin(), recs[i].end(), ws.MemImage.begin() + i * 16);
    ws.MemImage[2 * 16 + 4] = 9;     // the channel that was dropped must not leave its values
    ws.MemImage[0 * 16 + 4] = 1;
    DecodeImage(ws);
    // Channel 3's frequency ends in 0x0F: dropped too.
    ASSERT_EQ(ws.ChannelCount(0, 1), 1);
    EXPECT_EQ(ws.Channels(0, 1, 1).ChNo, 1);
    EXPECT_EQ(ws.Channels(0, 1, 1).RxCtcss, 1);
    EXPECT_EQ(ws.Channels(0, 2, 1).ChNo, 0);

    // The next good channel takes the slot.
    ws.MemImage[2 * 16 + 3] = 0x00;
    DecodeImage(ws);
    ASSERT_EQ(ws.ChannelCount(0, 1), 2);
    EXPECT_EQ(ws.Channels(0, 2, 1).ChNo, 3);
    EXPECT_EQ(ws.Channels(0, 2, 1).RxCtcss, 9);
}

TEST_F(CodecFixture, SettingsBytes)
{
    DataRecord& r = ws.WorkRecord;
    OptFeatRec& of = r.OptFeat;
    r.BandType = 1;
    of.Opt4804H = 2;
    of.HfWorkGroup = 1;
    of.HamWorkGroup = 3;
    of.ChannelMode = 1;        // read but always written 0
    of.Opt4807B1 = 1;
    r.EmgMode = 3;
    r.VfoOn = 1;
    of.Opt4808() = 0xA5;
    of.Opt4809() = 0x5A;
    for (int g : {1, 9, 15}) of.GroupEnable[0][g] = 1;
    of.GroupEnable[1][12] = 1;
    of.EmgCh1[0][2] = 5;
    of.EmgCh2[1][12] = 41;
    of.EmgMode1[1][1] = 3;
    of.EmgMode2[0][15] = 2;
    of.GrpByte[0][15] = 7;
    of.GrpByte[1][1] = 1;
    r.HfDwBand = 1; r.HfDwChan = 2; r.HfDwMode = 3; r.HamDwBand = 4; r.HamDwChan = 5; r.HamDwMode = 6;
    Encode();

    EXPECT_EQ(At(ws, 0x4800, 10), Bytes({0x01, 0x41, 0x00, 0x08, 0x31, 0x00, 0x02, 0x1E, 0xA5, 0x5A}));
    EXPECT_EQ(ws.MemImage[0x4582], 4);
    EXPECT_EQ(ws.MemImage[0x45B7], 40);
    EXPECT_EQ(ws.MemImage[0x45E0], 3);
    EXPECT_EQ(ws.MemImage[0x45DD], 2);
    EXPECT_EQ(ws.MemImage[0x484E], 6);
    EXPECT_EQ(ws.MemImage[0x4850], 0);
    EXPECT_EQ(ws.MemImage[0x4580], 0xFF);   // EmgCh1 0 is written as 0 - 1
    EXPECT_EQ(At(ws, 0x4860, 6), Bytes({1, 2, 3, 4, 5, 6}));

    Workspace back;
    back.MemImage = ws.MemImage;
    back.MemImage[0x4807] |= 0x01;
    DecodeImage(back);
    const DataRecord& d = back.WorkRecord;
    EXPECT_EQ(d.BandType, 1);
    EXPECT_EQ(back.BandRange, kBandRange1);
    EXPECT_EQ(d.OptFeat.Opt4804H, 2);
    EXPECT_EQ(d.OptFeat.HfWorkGroup, 1);
    EXPECT_EQ(d.OptFeat.HamWorkGroup, 3);
    EXPECT_EQ(d.OptFeat.ChannelMode, 1);
    EXPECT_EQ(d.OptFeat.Opt4807B1, 1);
    EXPECT_EQ(d.EmgMode, 3);
    EXPECT_EQ(d.VfoOn, 1);
    EXPECT_EQ(d.OptFeat.Opt558[0][1], 0xA5);
    EXPECT_EQ(d.OptFeat.Opt558[1][1], 0x5A);
    EXPECT_EQ(d.OptFeat.GroupEnable[0][9], 1);
    EXPECT_EQ(d.OptFeat.GroupEnable[0][8], 0);
    EXPECT_EQ(d.OptFeat.GroupEnable[1][12], 1);
    EXPECT_EQ(d.OptFeat.EmgCh1[0][2], 5);
    EXPECT_EQ(d.OptFeat.EmgCh2[1][12], 41);
    EXPECT_EQ(d.OptFeat.EmgCh1[0][1], 256);
    EXPECT_EQ(d.OptFeat.GrpByte[0][15], 7);
    EXPECT_EQ(d.HamDwMode, 6);
}

TEST(DecodeImage, BandTypeNibbles)
{
    struct Case { uint8_t byte; int bandType, high; QString range; };
    const Case cases[] = {
        {0x10, 0, 0, kBandRange0}, {0x31, 1, 2, kBandRange1}, {0x05, 5, -1, kBandRangeOther},
        {0xF2, 2, 14, kBandRangeOther},
    };
    for (const Case& k : cases) {
        Workspace ws;
        ClearImage(ws);
        ws.MemImage[0x4804] = k.byte;
        DecodeImage(ws);
        EXPECT_EQ(ws.WorkRecord.BandType, k.bandType);
        EXPECT_EQ(ws.WorkRecord.OptFeat.Opt4804H, k.high);
        EXPECT_EQ(ws.BandRange, k.range);
        ClearImage(ws);
        EncodeImage(ws);
        EXPECT_EQ(ws.MemImage[0x4804], k.byte);
    }
}

TEST_F(CodecFixture, OptionBytes)
{
    DataRecord& r = ws.WorkRecord;
    OptFeatRec& of = r.OptFeat;
    of.BattMax = 0x1234; of.BattMin = 97; of.SwrMax = 160; of.PublicMode = 1;
    of.FmEnabled = 1; of.UsbEnabled = 1; of.CwEnabled = 1;
    of.PublicHiCut = 1; of.PublicBusy = 1; of.PublicNbAnl = 3;
    r.ComChanRb = 5; of.PublicRogerBeep = 2;   // the global is the one written
    of.PublicBotCode = 9; of.PublicEotCode = 10; of.PublicCallCode = 11;
    of.BeepLevel = 1; of.BacklightColor = 4;
    r.TxOffset = 65535; r.FreqChMode = 1; r.AsqLevel = 5;
    of.DtmfSendTime = 1; of.DtmfDisplay = 2; of.MenuPage = 3;
    r.MicType = 7; r.TxNr = 8; r.VoxOn = 1; r.AmNpc = 2;
    of.FmDeviation = 3; of.SsbTone = 4; of.PfKey = 5;
    r.SqlDisplay = 1; r.RfgDisplay = 1; r.FinRange = 6;
    r.CwFreq = 200; r.CwBeep = 1; r.AgcSpeed = 2; r.CwRx = 3; r.CwOffset = 4; r.RxColor = 5; r.TxColor = 6;
    Encode();
    const Bytes expected = {
        0x34, 0x12, 97, 0, 160, 1, 0x25, 0x71, 5, 9, 10, 11,   // 0x4A00-0x4A0B
        1, 0, 0, 0, 0, 0, 0, 0, 0, 4,                         // 0x4A0C-0x4A15
        0, 0xFF, 0xFF, 1, 5,                                  // 0x4A16-0x4A1A
        1, 0, 0, 0, 0, 2, 3,                                  // 0x4A1B-0x4A21
        7, 0, 0, 0, 8, 1, 0, 0, 0, 0, 2,                      // 0x4A22-0x4A2C
        3, 4, 5, 0x0A, 6, 200, 0,                             // 0x4A2D-0x4A33
        1, 0, 0, 2, 3, 0, 4, 5, 6,                            // 0x4A34-0x4A3C
    };
    EXPECT_EQ(At(ws, 0x4A00, 0x3D), expected);
    EXPECT_EQ(ws.MemImage[0x4A3D], 0xFF);
}

TEST(DecodeImage, OptionBytesReadBack)
{
    Workspace ws;
    ClearImage(ws);
    ws.MemImage[0x4A06] = 0xFF;
    ws.MemImage[0x4A07] = 0xFF;
    ws.MemImage[0x4A08] = 7;
    ws.MemImage[0x4A16] = 0x99;
    ws.MemImage[0x4A17] = 0x34;
    ws.MemImage[0x4A18] = 0x12;
    ws.MemImage[0x4A19] = 0xFE;
    ws.MemImage[0x4A30] = 0xF5;
    ws.MemImage[0x4A32] = 0x10;
    ws.MemImage[0x4A33] = 0x01;   // a CW frequency above 255: the low byte is kept
    DecodeImage(ws);
    const DataRecord& r = ws.WorkRecord;
    const OptFeatRec& of = r.OptFeat;
    EXPECT_EQ(of.FmEnabled + of.AmEnabled + of.UsbEnabled + of.LsbEnabled + of.PaEnabled + of.CwEnabled, 6);
    EXPECT_EQ(of.PublicHiCut + of.PublicEcho + of.Public10K + of.PublicBusy, 4);
    EXPECT_EQ(of.PublicNbAnl, 3);
    EXPECT_EQ(of.PublicRogerBeep, 7);
    EXPECT_EQ(r.ComChanRb, 7);
    EXPECT_EQ(r.TxOffset, 0x1234);
    EXPECT_EQ(r.FreqChMode, 0);
    EXPECT_EQ(std::vector<int>({r.VolDisplay, r.SqlDisplay, r.PowDisplay, r.RfgDisplay}), std::vector<int>({1, 0, 1, 0}));
    EXPECT_EQ(r.CwFreq, 0x10);

    ClearImage(ws);
    EncodeImage(ws);
    EXPECT_EQ(At(ws, 0x4A06, 3), Bytes({0x3F, 0x7D, 7}));
    EXPECT_EQ(ws.MemImage[0x4A16], 0);
    EXPECT_EQ(ws.MemImage[0x4A19], 0);
    EXPECT_EQ(ws.MemImage[0x4A30], 0x05);
    EXPECT_EQ(At(ws, 0x4A32, 2), Bytes({0x10, 0x00}));
}

TEST_F(CodecFixture, DtmfCodesAndEndMarkers)
{
    struct Case { QByteArray code; Bytes bytes; QByteArray back; };
    const Case cases[] = {
        {"0123456789ABCD*#", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, "0123456789ABCD*#"},
        {"", Bytes(16, 16), QByteArray("\0", 1)},
        {QByteArray("\0", 1), Bytes(16, 16), QByteArray("\0", 1)},
        {"12*#", {1, 2, 14, 15, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16}, QByteArray("12*#\0", 5)},
        {"1a E", {1, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16}, QByteArray("1\0", 2)},
    };
    for (int i = 0; i < 5; ++i) ws.WorkRecord.OptFeat.DtmfCode[i + 1].set(cases[i].code);
    Encode();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(At(ws, 0x4480 + i * 16, 16), cases[i].bytes) << i;
    EXPECT_EQ(At(ws, 0x4480 + 15 * 16, 16), Bytes(16, 16));

    DecodeImage(ws);
    for (int i = 0; i < 5; ++i) {
        FixedText<16> expected;
        expected.set(cases[i].back);
        EXPECT_EQ(ws.WorkRecord.OptFeat.DtmfCode[i + 1].bytes(), expected.bytes()) << i;
    }
    // Any byte above 15 ends a code.
    ws.MemImage[0x4480 + 2] = 0x80;
    DecodeImage(ws);
    EXPECT_EQ(ws.WorkRecord.OptFeat.DtmfCode[1].bytes(), QByteArray("01\0             ", 16));
}

TEST_F(CodecFixture, RogerBeepPatternAddresses)
{
    const int starts[8] = {0x4900, 0x491E, 0x4940, 0x495E, 0x4980, 0x499E, 0x49C0, 0x49DE};
    for (int p = 0; p < 8; ++p) {
        RbPatternRec& rb = ws.WorkRecord.RbPattern[p];
        rb.RbRecycle = int16_t(p + 1);
        rb.RbInterTime = int16_t(p + 100);
        for (int i = 0; i < 14; ++i) {
            rb.RbTone[0][i] = int16_t(200 + i);
            rb.RbTone[1][i] = int16_t(p * 14 + i);
        }
    }
    Encode();
    for (int p = 0; p < 8; ++p) {
        Bytes expected = {uint8_t(p + 1), uint8_t(p + 100)};
        for (int i = 0; i < 14; ++i) expected.push_back(uint8_t(200 + i));
        for (int i = 0; i < 14; ++i) expected.push_back(uint8_t(p * 14 + i));
        EXPECT_EQ(At(ws, starts[p], 30), expected) << p;
    }
    for (int line = 0; line < 4; ++line) EXPECT_EQ(At(ws, 0x4900 + line * 64 + 60, 4), Bytes(4, 0xFF)) << line;

    Workspace back;
    back.MemImage = ws.MemImage;
    DecodeImage(back);
    EXPECT_EQ(back.WorkRecord.RbPattern[5].RbInterTime, 105);
    EXPECT_EQ(back.WorkRecord.RbPattern[7].RbTone[1][13], 7 * 14 + 13);
    EXPECT_EQ(back.WorkRecord.RbPattern[0].RbTone[0][0], 200);
}

TEST(ModelCode, IsTheRadiosCode)
{
    Workspace ws;
    ws.ModelCode = "XX";
    SetModelCode(ws);
    EXPECT_EQ(ws.ModelCode, "RU6383R");
}

TEST(FreqDigits, OnlyEightDecimalDigits)
{
    EXPECT_TRUE(IsFreqDigits("27185000"));
    EXPECT_TRUE(IsFreqDigits("00000000"));
    for (const char* bad : {"2718500", "271850000", "FFFFFFFF", "2718500 ", "27.18500", "2718E500", "+2718500", ""})
        EXPECT_FALSE(IsFreqDigits(bad)) << bad;
}

}  // namespace
}  // namespace kt
