// Round trips through the image: a well-formed random image decodes and
// encodes back to itself, bit for bit, wherever the radio keeps something; a
// random model encodes and decodes back to itself.
#include "model/Codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace kt {
namespace {

using Bytes = std::vector<uint8_t>;

// The bits the program keeps, written out from the radio's memory map (not from
// the codec's own tables).  Left out: bit 0 of 0x4807, bits 1 and 7 of channel
// byte 9, 0x4A16, 0x4A33 and all bytes and bits the program does not use.
Bytes KeptBits(const Bytes& image)
{
    Bytes kept(kImageSize, 0);
    auto range = [&](int first, int last, uint8_t mask = 0xFF) {
        for (int a = first; a <= last; ++a) kept[a] = mask;
    };
    struct Area { int records, size, groups, enable, scan; };
    const Area areas[] = {
        {0x0000, 40, 15, 0x4600, 0x4700}, {0x2580, 40, 12, 0x4680, 0x4780},
        {0x5000, 99, 1, 0x5C80, 0x5CA0}, {0x5640, 99, 1, 0x5C90, 0x5CB0},
        {0x4810, 1, 1, 0x4650, 0x4750}, {0x4820, 1, 1, 0x46C1, 0x47C1},
    };
    for (const Area& a : areas) {
        const int maskBytes = (a.size + 7) / 8;
        for (int g = 0; g < a.groups; ++g) {
            for (int c = 0; c < a.size; ++c) {
                const int byte = g * maskBytes + c / 8;
                const uint8_t bit = uint8_t(1 << (c % 8));
                kept[a.enable + byte] |= bit;
                const bool present = a.size == 1 || (image[a.enable + byte] & bit);
                if (!present) continue;
                kept[a.scan + byte] |= bit;   // a scan bit counts only for a channel that is there
                const int rec = a.records + (g * a.size + c) * 16;
                range(rec, rec + 14);
                kept[rec + 9] = 0x7D;
            }
        }
    }
    range(0x4480, 0x457F);                      // DTMF
    range(0x4580, 0x459D); range(0x45A0, 0x45B7);
    range(0x45C0, 0x45DD); range(0x45E0, 0x45F7);
    kept[0x4800] = 0xFF; kept[0x4801] = 0x7F;   // groups 1-15
    kept[0x4802] = 0xFF; kept[0x4803] = 0x0F;   // groups 1-12
    range(0x4804, 0x4806);
    kept[0x4807] = 0x1E;
    range(0x4808, 0x4809);
    range(0x4840, 0x484E); range(0x4850, 0x485B); range(0x4860, 0x4865);
    for (int p = 0; p < 8; ++p) {
        const int base = 0x4900 + (p / 2) * 64 + (p % 2) * 30;
        range(base, base + 29);
    }
    range(0x4A00, 0x4A3C);
    kept[0x4A06] = 0x3F;
    kept[0x4A07] = 0x7D;
    kept[0x4A16] = 0;
    kept[0x4A19] = 0x01;
    kept[0x4A30] = 0x0F;
    kept[0x4A33] = 0;
    return kept;
}

// Random bytes everywhere, made well-formed where the radio's own data would be:
// present channels carry decimal frequencies and a tone flag that matches their
// tone types, DTMF codes end with the end marker.
Bytes RandomImage(std::mt19937& rng)
{
    std::uniform_int_distribution<int> byte(0, 255), digit(0, 9), len(0, 16), dtmf(0, 15);
    Bytes img(kImageSize);
    for (uint8_t& b : img) b = uint8_t(byte(rng));
    auto fixRecord = [&](int rec) {
        for (int i = 0; i < 4; ++i) img[rec + i] = uint8_t(digit(rng) << 4 | digit(rng));
        const uint8_t b11 = img[rec + 11];
        const bool tone = (b11 & 0x0C) || (b11 & 0x30);
        img[rec + 11] = uint8_t((b11 & ~0x40) | (tone ? 0x40 : 0));
    };
    struct Area { int records, size, groups, enable; };
    const Area areas[] = {{0x0000, 40, 15, 0x4600}, {0x2580, 40, 12, 0x4680}, {0x5000, 99, 1, 0x5C80},
                          {0x5640, 99, 1, 0x5C90}};
    for (const Area& a : areas)
        for (int g = 0; g < a.groups; ++g)
            for (int c = 0; c < a.size; ++c)
                if ((img[a.enable + g * ((a.size + 7) / 8) + c / 8] >> (c % 8)) & 1) fixRecord(a.records + (g * a.size + c) * 16);
    // The VFO channels are always there.
    fixRecord(0x4810);
    fixRecord(0x4820);
    img[0x4650] |= 0x01;
    img[0x46C1] |= 0x01;
    for (int k = 0; k < 16; ++k) {
        const int n = len(rng);
        for (int j = 0; j < 16; ++j) img[0x4480 + k * 16 + j] = uint8_t(j < n ? dtmf(rng) : 16);
    }
    return img;
}

TEST(CodecRoundTrip, DecodedImageEncodesBackToItself)
{
    std::mt19937 rng(6383);
    for (int run = 0; run < 20; ++run) {
        const Bytes original = RandomImage(rng);
        Workspace ws;
        ws.MemImage = original;
        DecodeImage(ws);
        int channels = 0;
        for (int g = 1; g <= 17; ++g) channels += ws.ChannelCount(0, g);
        EXPECT_GT(channels, 200);   // a rich model, not an empty one
        ClearImage(ws);
        EncodeImage(ws);
        const Bytes kept = KeptBits(original);
        int differences = 0;
        for (int a = 0; a < kImageSize; ++a) {
            if ((original[a] & kept[a]) == (ws.MemImage[a] & kept[a])) continue;
            if (++differences <= 5)
                ADD_FAILURE() << "run " << run << " address 0x" << std::hex << a << ": 0x" << int(original[a])
                              << " became 0x" << int(ws.MemImage[a]);
        }
        EXPECT_EQ(differences, 0) << "run " << run;
    }
}

ChannelRec RandomChannel(std::mt19937& rng, int chNo)
{
    std::uniform_int_distribution<int> byte(0, 255), two(0, 3), one(0, 1), digit(0, 9), len(1, 8);
    ChannelRec c;
    c.ChNo = int16_t(chNo);
    c.Used = 1;
    c.Scan = int16_t(one(rng));
    QByteArray f;
    for (int i = len(rng); i > 0; --i) f.append(char('0' + digit(rng)));
    c.Freq.set(f);
    for (int16_t* v : {&c.RxCtcss, &c.RxDcs, &c.Mode, &c.TxCtcss, &c.TxDcs, &c.RogerBeep, &c.BotCode, &c.EotCode,
                       &c.CallCode})
        *v = int16_t(byte(rng));
    for (int16_t* v : {&c.HiCut, &c.Echo, &c.Add10K, &c.BusyLock, &c.PublicCh}) *v = int16_t(one(rng));
    for (int16_t* v : {&c.NbAnl, &c.RepShift, &c.TxToneType, &c.RxToneType}) *v = int16_t(two(rng));
    return c;
}

TEST(CodecRoundTrip, RandomModelComesBackFromTheImage)
{
    std::mt19937 rng(42);
    Workspace ws;
    for (int band = 0; band < 2; ++band)
        for (int g = 1; g <= GroupsOfBand(band); ++g) {
            std::vector<int> numbers(GroupSize(band, g));
            std::iota(numbers.begin(), numbers.end(), 1);
            std::shuffle(numbers.begin(), numbers.end(), rng);
            numbers.resize(std::uniform_int_distribution<size_t>(1, numbers.size())(rng));
            for (int ch : numbers) {   // slots in a random order
                int16_t& n = ws.ChannelCount(band, g);
                ws.Channels(band, ++n, g) = RandomChannel(rng, ch);
            }
        }
    ClearImage(ws);
    EncodeImage(ws);
    Workspace back;
    back.MemImage = ws.MemImage;
    DecodeImage(back);

    for (int band = 0; band < 2; ++band)
        for (int g = 1; g <= GroupsOfBand(band); ++g) {
            ASSERT_EQ(back.ChannelCount(band, g), ws.ChannelCount(band, g)) << band << "/" << g;
            std::vector<ChannelRec> sent;
            for (int s = 1; s <= ws.ChannelCount(band, g); ++s) sent.push_back(ws.Channels(band, s, g));
            std::sort(sent.begin(), sent.end(), [](auto& a, auto& b) { return a.ChNo < b.ChNo; });
            for (int s = 1; s <= back.ChannelCount(band, g); ++s) {
                const ChannelRec& e = sent[s - 1];
                const ChannelRec& d = back.Channels(band, s, g);
                EXPECT_EQ(d.ChNo, e.ChNo);
                EXPECT_EQ(d.Scan, e.Scan);
                QByteArray digits = e.Freq.bytes().trimmed();
                EXPECT_EQ(d.Freq.bytes(), digits.leftJustified(8, '0'));
                auto fields = [](const ChannelRec& c) {
                    return std::vector<int>{c.RxCtcss, c.RxDcs, c.Mode, c.TxCtcss, c.TxDcs, c.RogerBeep,
                                            c.BotCode, c.EotCode, c.CallCode, c.HiCut, c.Echo, c.Add10K,
                                            c.BusyLock, c.PublicCh, c.NbAnl, c.RepShift, c.TxToneType, c.RxToneType};
                };
                EXPECT_EQ(fields(d), fields(e)) << band << "/" << g << "/" << e.ChNo;
            }
        }

    // The image the decoded model gives is the same image.
    ClearImage(back);
    EncodeImage(back);
    EXPECT_TRUE(back.MemImage == ws.MemImage);
}

}  // namespace
}  // namespace kt
