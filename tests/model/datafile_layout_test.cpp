#include "model/DataFile.h"
#include "model/DataFileLayout.h"

#include <gtest/gtest.h>

namespace kt {
namespace {

template <class Rec>
void ExpectContiguous(std::span<const layout::Field<Rec>> fields, int total)
{
    int at = 0;
    for (const auto& f : fields) {
        EXPECT_EQ(f.offset, at) << f.member;
        EXPECT_EQ(f.size, f.typeSize) << f.member;
        at = f.offset + f.size;
    }
    EXPECT_EQ(at, total);
}

TEST(DataFileLayout, TablesCoverEveryByteOnce)
{
    ExpectContiguous(layout::DataFileFields(), kDataFileSize);
    ExpectContiguous(layout::ModelInfoFields(), layout::kModelInfoSize);
    ExpectContiguous(layout::OptFeatFields(), layout::kOptFeatSize);
    ExpectContiguous(layout::RbPatternFields(), layout::kRbPatternSize);
    ExpectContiguous(layout::ChannelRecordFields(), kChannelRecordSize);
}

int16_t I16(const QByteArray& b, int at) { return int16_t(uint8_t(b[at]) | (uint8_t(b[at + 1]) << 8)); }

// A record with a distinct value in the members that sit at the edges of the layout.
DataRecord Marked()
{
    DataRecord r;
    r.Version.set("V200");
    r.BandType = -2;
    r.CurGroup[1] = 0x1234;
    r.CurRow[1][2] = 7;
    r.ChannelCount[0][17] = 1;
    r.ModelInfo.MiModel.set("RU6383R");
    r.ModelInfo.MiTag = 248;
    r.ModelInfo.MiDate.set("20240102");
    r.ModelInfo.MiLetter = 67;
    r.OptFeat.GroupEnable[1][1] = 1;
    r.OptFeat.GroupName[0][2].set("B");
    r.OptFeat.EmgCh2[1][3] = 9;
    r.OptFeat.Opt4804H = 2;
    r.OptFeat.GrpByte[0][1] = 5;
    r.OptFeat.Opt4809() = 0x55;
    r.OptFeat.PublicBotCode = 3;
    r.OptFeat.DtmfDisplay = 4;
    r.OptFeat.DtmfCode[16].set("123#");
    r.OptFeat.LongKey = -1;
    r.RbPattern[7].RbTone[1][13] = 200;
    r.RbPattern[7].RbTone[0][13] = 100;
    r.RbPattern[7].RbInterTime = 6;
    r.TxOffset = 0x01020304;
    r.OptTable12[11] = 35;
    r.MicType = 0xAB;
    r.OptExtra1 = 0x11;
    r.HfPublicAll = 0x2233;
    r.CwFreq = 0x44;
    r.TxColor = 0x99;
    return r;
}

TEST(DataFileLayout, MembersLandAtTheirOffsets)
{
    const QByteArray b = SerializeDataRecord(Marked());
    ASSERT_EQ(b.size(), 1699);
    EXPECT_EQ(b.left(4), "V200");
    struct Word { int offset; int16_t value; } words[] = {
        {4, -2}, {8, 0x1234}, {10 + 2 * (1 + 2 * 1), 7}, {78 + 2 * (0 + 2 * 16), 1},
        {146 + 7, 248}, {146 + 32, 67}, {180 + 2 * (1 + 0), 1}, {180 + 204 + 2 * (1 + 2 * 2 + 34), 9},
        {180 + 340, 2}, {180 + 354, 5}, {180 + 558 + 2, 0x55}, {180 + 626, 3}, {180 + 700, 4},
        {180 + 964, -1}, {1146 + 7 * 60 + 2 * (2 * 13), 100}, {1146 + 7 * 60 + 2 * (2 * 13 + 1), 200},
        {1146 + 7 * 60 + 58, 6}, {1626, 0x0304}, {1628, 0x0102}, {1634 + 22, 35}, {1683, 0x2233},
    };
    for (const auto& w : words) EXPECT_EQ(I16(b, w.offset), w.value) << "offset " << w.offset;
    EXPECT_EQ(b.mid(146, 7), "RU6383R");
    EXPECT_EQ(b.mid(146 + 11, 8), "20240102");
    EXPECT_EQ(b.mid(180 + 68 + 4 * (0 + 2 * 1), 4), "B   ");
    EXPECT_EQ(b.mid(180 + 702 + 16 * 15, 16), "123#            ");
    struct Byte { int offset; uint8_t value; } bytes[] = {
        {1658, 0xAB}, {1663, 0x11}, {1687, 0x44}, {1698, 0x99}};
    for (const auto& x : bytes) EXPECT_EQ(uint8_t(b[x.offset]), x.value) << "offset " << x.offset;

    DataRecord back;
    ASSERT_TRUE(ParseDataRecord(b, back));
    EXPECT_EQ(SerializeDataRecord(back), b);
    EXPECT_EQ(back.OptFeat.EmgCh2[1][3], 9);
    EXPECT_EQ(back.RbPattern[7].RbTone[1][13], 200);
    EXPECT_EQ(back.TxOffset, 0x01020304);
}

TEST(DataFileLayout, ParseRefusesOtherLengths)
{
    DataRecord r = Marked();
    for (int n : {0, 1698, 1700}) {
        EXPECT_FALSE(ParseDataRecord(QByteArray(n, '\x7f'), r));
        EXPECT_EQ(r.TxOffset, 0x01020304);
    }
}

TEST(DataFileLayout, ChannelRecordOffsets)
{
    QByteArray b(64, '\0');
    auto put = [&](int at, int16_t v) { b[at] = char(v & 0xFF); b[at + 1] = char((v >> 8) & 0xFF); };
    put(0, 41); put(2, 1); put(4, 1);
    b.replace(6, 8, "28015000");
    b.replace(14, 8, "27185000");
    put(22, -19); put(24, 20); put(26, 2); put(28, 0x12); put(30, 0x34); put(32, 24); put(34, 3);
    put(36, 1); put(38, 3); put(46, 8); put(48, 2); put(50, 1); put(52, 16); put(56, 15); put(58, 1);
    put(60, 0x56); put(62, 0x78);
    const ChannelRec c = ParseChannelRecord(b.constData());
    EXPECT_EQ(c.ChNo, 41);
    EXPECT_EQ(c.Freq.bytes(), "28015000");
    EXPECT_EQ(c.TxFreq.bytes(), "27185000");
    EXPECT_EQ(c.W19, -19);
    EXPECT_EQ(c.W20, 20);
    EXPECT_EQ(c.TxToneType, 2);
    EXPECT_EQ(c.TxCtcss, 0x12);
    EXPECT_EQ(c.TxDcs, 0x34);
    EXPECT_EQ(c.W24, 24);
    EXPECT_EQ(c.Mode, 3);
    EXPECT_EQ(c.NbAnl, 3);
    EXPECT_EQ(c.RogerBeep, 8);
    EXPECT_EQ(c.RepShift, 2);
    EXPECT_EQ(c.BotCode, 16);
    EXPECT_EQ(c.CallCode, 15);
    EXPECT_EQ(c.RxToneType, 1);
    EXPECT_EQ(c.RxCtcss, 0x56);
    EXPECT_EQ(c.RxDcs, 0x78);
    EXPECT_EQ(SerializeChannelRecord(c), b);
}

TEST(DataFileLayout, TextAndBandHelpers)
{
    struct Clean { QByteArray in, out; } cleans[] = {
        {"V200", "V200"}, {"A   ", "A"}, {QByteArray("A\0  ", 4), "A"},
        {QByteArray("AB\0C", 4), "AB"}, {"    ", ""}, {QByteArray("A \0 ", 4), "A "},
    };
    for (const auto& c : cleans) {
        EXPECT_EQ(CleanText(c.in), c.out) << c.in.toHex().constData();
        EXPECT_EQ(CleanTextView(c.in), c.out) << c.in.toHex().constData();
    }

    EXPECT_EQ(BandTextOf(0), "24.7150 - 30.1050 MHz");
    EXPECT_EQ(BandTextOf(1), "28.0000 - 29.6950 MHz");
    EXPECT_EQ(BandTextOf(2), "28.0000 - 29.6990 MHz");
    EXPECT_EQ(BandTextOf(-1), "28.0000 - 29.6990 MHz");
    EXPECT_EQ(BandClassOf("24.7150 - 30.1050 MHz"), 0);
    EXPECT_EQ(BandClassOf("28.0000 - 29.6950 MHz"), 1);
    EXPECT_EQ(BandClassOf("28.0000 - 29.6990 MHz"), 1);
    EXPECT_EQ(BandClassOf(""), 1);
    EXPECT_EQ(ChannelFileOf("/a/x.dat"), "/a/x.fre");
    EXPECT_EQ(ChannelFileOf("YF6383.DAT"), "YF6383.fre");
}

}  // namespace
}  // namespace kt
