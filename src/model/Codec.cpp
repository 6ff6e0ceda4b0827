// Model <-> radio memory image.  The codec knows no address of its own: it
// walks the tables of ImageLayout.h and ImageLayout.cpp.
#include "model/Codec.h"
#include "base/ByteText.h"

#include "model/FreqRules.h"
#include "model/ImageLayout.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>
#include <utility>

namespace kt {

using namespace layout;

namespace {

constexpr uint8_t kNoFreq = 0xFF;

void EnsureSize(Workspace& ws)
{
    if (int(ws.MemImage.size()) != kImageSize) ws.MemImage.resize(kImageSize, 0xFF);
}

int Get(const std::vector<uint8_t>& img, int address, Bits bits)
{
    if (bits.width == 16) return img[address] | (img[address + 1] << 8);
    return (img[address] >> bits.low) & ((1 << bits.width) - 1);
}

// Writes value into the bits, leaving the other bits of the byte alone.
// Values wider than the bits are cut to them.
void Put(std::vector<uint8_t>& img, int address, Bits bits, int value)
{
    if (bits.width == 16) {
        img[address] = uint8_t(value & 0xFF);
        img[address + 1] = uint8_t((value >> 8) & 0xFF);
        return;
    }
    const int mask = ((1 << bits.width) - 1) << bits.low;
    img[address] = uint8_t((img[address] & ~mask) | ((value << bits.low) & mask));
}

inline int GetBits(uint8_t byte, Bits bits)
{
    return (byte >> bits.low) & ((1 << bits.width) - 1);
}

inline void PutBits(uint8_t& byte, Bits bits, int value)
{
    const int mask = ((1 << bits.width) - 1) << bits.low;
    byte = uint8_t((byte & ~mask) | ((value << bits.low) & mask));
}

int ImageValue(Rule rule, int delta, int value)
{
    switch (rule) {
    case Rule::Offset: return value - delta;
    case Rule::AsIs: return value;
    default: return 0;
    }
}

int ModelValue(Rule rule, int delta, int bits)
{
    return rule == Rule::Offset ? bits + delta : bits;
}

void EncodeSettings(std::span<const SettingEntry> table, Workspace& ws)
{
    for (const SettingEntry& e : table) {
        if (e.rule == Rule::ReadOnly) continue;
        const int v = e.field.get ? e.field.get(ws.WorkRecord) : 0;
        Put(ws.MemImage, e.address, e.bits, ImageValue(e.rule, e.delta, v));
    }
}

void DecodeSettings(std::span<const SettingEntry> table, Workspace& ws)
{
    for (const SettingEntry& e : table) {
        if (e.rule == Rule::Zero || !e.field.set) continue;
        e.field.set(ws.WorkRecord, ModelValue(e.rule, e.delta, Get(ws.MemImage, e.address, e.bits)));
    }
}

void SetMaskBit(std::vector<uint8_t>& img, int mask, int index, int value)
{
    img[mask + index / 8] |= uint8_t((value & 1) << (index % 8));
}

bool MaskBit(const std::vector<uint8_t>& img, int mask, int index)
{
    return (img[mask + index / 8] >> (index % 8)) & 1;
}




// Frequency text -> 4 packed BCD bytes; 0xFF 0xFF 0xFF 0xFF when there is none.
// The text is cut at its first NUL, stripped of trailing spaces and padded with
// "0" on the right to 8 digits.
void EncodeFreq(uint8_t* out, const FixedText<8>& freq)
{
    const char* d = freq.b.data();
    char padded[8];
    if (!AllDigits(QByteArrayView(d, 8))) {   // a short text: cut, strip and pad
        std::copy(d, d + 8, padded);
        d = padded;
        int n = 0;
        while (n < 8 && padded[n] != '\0') ++n;
        while (n > 0 && padded[n - 1] == ' ') --n;
        std::fill(padded + n, padded + 8, '0');
        if (n == 0 || !AllDigits(QByteArrayView(d, 8))) {
            std::fill(out, out + 4, kNoFreq);
            return;
        }
    }
    for (int i = 0; i < 4; ++i) out[i] = uint8_t(((d[2 * i] - '0') << 4) | (d[2 * i + 1] - '0'));
}

// 4 BCD bytes -> 8 digits; false (and digits untouched) when a nibble is above 9,
// as in the 0xFF bytes of a record without a frequency.
bool DecodeFreq(const uint8_t* in, char* digits)
{
    const uint64_t v = uint64_t(in[0]) << 24 | uint64_t(in[1]) << 16 | uint64_t(in[2]) << 8 | in[3];
    // Adding 6 to a nibble carries out of it exactly when the nibble is above 9.
    constexpr uint64_t six = 0x66666666;
    if (((v + six) ^ v ^ six) & 0x111111110ULL) return false;
    for (int i = 0; i < 4; ++i) {
        digits[2 * i] = char('0' + (in[i] >> 4));
        digits[2 * i + 1] = char('0' + (in[i] & 0xF));
    }
    return true;
}

// One row of the channel record table, chosen at compile time.
template <size_t I>
inline void EncodeRecordField(uint8_t* out, const ChannelRec& rec)
{
    constexpr const ChannelEntry& e = kChannelRecord[I];
    if constexpr (e.rule == Rule::Bcd) EncodeFreq(out + e.byte, rec.Freq);
    else if constexpr (e.rule == Rule::ToneFlag) PutBits(out[e.byte], e.bits, rec.TxToneType > 0 || rec.RxToneType > 0);
    else if constexpr (e.rule == Rule::Zero) PutBits(out[e.byte], e.bits, 0);
    else {
        static_assert(e.rule == Rule::AsIs && e.member, "channel fields are stored as they are");
        PutBits(out[e.byte], e.bits, rec.*e.member);
    }
}

template <size_t... I>
inline void EncodeRecordFields(uint8_t* out, const ChannelRec& rec, std::index_sequence<I...>)
{
    (EncodeRecordField<I>(out, rec), ...);
}

template <size_t I>
inline void DecodeRecordField(const uint8_t* in, ChannelRec& rec)
{
    constexpr const ChannelEntry& e = kChannelRecord[I];
    if constexpr (e.rule == Rule::AsIs) rec.*e.member = int16_t(GetBits(in[e.byte], e.bits));
}

template <size_t... I>
inline void DecodeRecordFields(const uint8_t* in, ChannelRec& rec, std::index_sequence<I...>)
{
    (DecodeRecordField<I>(in, rec), ...);
}

int DtmfValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'D') return c - 'A' + 10;
    if (c == '*') return 14;
    if (c == '#') return 15;
    return 16;
}

char DtmfChar(int v)
{
    static const char chars[] = "0123456789ABCD*#";
    return chars[v];
}

void EncodeDtmf(Workspace& ws)
{
    const DtmfArea& a = Dtmf();
    for (int k = 1; k <= a.codes; ++k) {
        const QByteArray code = FieldText(ws.WorkRecord.OptFeat.DtmfCode[k].bytes());
        uint8_t* out = &ws.MemImage[a.base + (k - 1) * a.bytesPerCode];
        for (int j = 0; j < a.bytesPerCode; ++j)
            out[j] = uint8_t(j < code.size() ? DtmfValue(code[j]) : a.endMarker);
    }
}

void DecodeDtmf(Workspace& ws)
{
    const DtmfArea& a = Dtmf();
    for (int k = 1; k <= a.codes; ++k) {
        const uint8_t* in = &ws.MemImage[a.base + (k - 1) * a.bytesPerCode];
        QByteArray code;
        for (int j = 0; j < a.bytesPerCode; ++j) {
            if (in[j] > 15) {
                code.append('\0');
                break;
            }
            code.append(DtmfChar(in[j]));
        }
        ws.WorkRecord.OptFeat.DtmfCode[k].set(code);
    }
}

void EncodeGroupValues(Workspace& ws)
{
    OptFeatRec& of = ws.WorkRecord.OptFeat;
    for (int band = 0; band < kBands; ++band) {
        const int groups = LetteredGroupsOf(band);
        for (const GroupMaskEntry& m : GroupMasks()) {
            const int bytes = MaskBytes(groups);
            for (int i = 0; i < bytes; ++i) ws.MemImage[m.base[band] + i] = 0;
            for (int g = 1; g <= groups; ++g) SetMaskBit(ws.MemImage, m.base[band], g - 1, (of.*m.member)[band][g]);
        }
        for (const GroupEntry& e : GroupValues())
            for (int g = 1; g <= groups; ++g)
                Put(ws.MemImage, e.base[band] + (g - 1) * e.stride, {0, 8},
                    ImageValue(e.rule, e.delta, (of.*e.member)[band][g]));
    }
}

void DecodeGroupValues(Workspace& ws)
{
    OptFeatRec& of = ws.WorkRecord.OptFeat;
    for (int band = 0; band < kBands; ++band) {
        const int groups = LetteredGroupsOf(band);
        for (const GroupMaskEntry& m : GroupMasks())
            for (int g = 1; g <= groups; ++g) (of.*m.member)[band][g] = MaskBit(ws.MemImage, m.base[band], g - 1);
        for (const GroupEntry& e : GroupValues())
            for (int g = 1; g <= groups; ++g)
                (of.*e.member)[band][g] =
                    int16_t(ModelValue(e.rule, e.delta, ws.MemImage[e.base[band] + (g - 1) * e.stride]));
    }
}

void EncodeRogerBeeps(Workspace& ws)
{
    for (int p = 0; p < kRbPatterns; ++p) {
        const int base = RbPatternAddress(p);
        for (const RbEntry& e : RbPattern())
            for (int i = 0; i < e.count; ++i)
                ws.MemImage[base + e.byte + i] = uint8_t(e.ref(ws.WorkRecord.RbPattern[p], i) & 0xFF);
    }
}

void DecodeRogerBeeps(Workspace& ws)
{
    for (int p = 0; p < kRbPatterns; ++p) {
        const int base = RbPatternAddress(p);
        for (const RbEntry& e : RbPattern())
            for (int i = 0; i < e.count; ++i) e.ref(ws.WorkRecord.RbPattern[p], i) = ws.MemImage[base + e.byte + i];
    }
}

QString BandRangeText(int bandType)
{
    if (bandType == 0) return kBandRange0;
    if (bandType == 1) return kBandRange1;
    return kBandRangeOther;
}

}  // namespace

bool IsFreqDigits(const QByteArray& digits)
{
    return digits.size() == 8 && AllDigits(digits);
}

void SetModelCode(Workspace& ws)
{
    ws.ModelCode = kModelCode;
}

void ClearImage(Workspace& ws)
{
    ws.MemImage.assign(kImageSize, 0xFF);
    for (const ZeroedRange& r : ZeroedRanges())
        std::fill(ws.MemImage.begin() + r.first, ws.MemImage.begin() + r.last + 1, 0);
}

namespace {

// Where one group's channels and masks are, worked out once per group.
struct GroupPlace {
    int records;   // record of channel 1
    int enable;    // ChEnableBits
    int scan;      // ChScanBits
    int size;
    bool alwaysPresent;
};

GroupPlace PlaceOf(const ChannelArea& area, int group)
{
    return {ChannelAddress(area, group, 1), EnableMaskAddress(area, group), ScanMaskAddress(area, group), area.size,
            area.alwaysPresent};
}

// A channel into its record and its mask bits.
void PlaceChannel(uint8_t* img, const GroupPlace& at, const ChannelRec& rec)
{
    if (rec.ChNo < 1) return;   // an empty slot
    const int a = rec.ChNo - 1;
    const int base = at.records + a * kRecordBytes;
    // A number beyond the group lands in the records after it, as the radio's
    // layout has it; one beyond the image has nowhere to go.
    if (base + kRecordBytes > kImageSize) return;
    // Built in a local copy, so that the fields are combined in registers.
    uint8_t out[kRecordBytes];
    std::memcpy(out, img + base, kRecordBytes);
    EncodeRecordFields(out, rec, std::make_index_sequence<std::size(kChannelRecord)>{});
    std::memcpy(img + base, out, kRecordBytes);
    if (a < at.size) {
        img[at.enable + a / 8] |= uint8_t(1 << (a % 8));
        img[at.scan + a / 8] |= uint8_t((rec.Scan & 1) << (a % 8));
    }
}

// Channel c of the group into the group's next slot, unless it is absent or
// has no frequency.
void TakeChannel(Workspace& ws, const GroupPlace& at, int band, int group, int c)
{
    const uint8_t* img = ws.MemImage.data();
    const int a = c - 1;
    if (!at.alwaysPresent && !((img[at.enable + a / 8] >> (a % 8)) & 1)) return;
    int16_t& count = ws.ChannelCount(band, group);
    if (count < 0 || count >= kMaxSlots) return;
    const uint8_t* in = img + at.records + a * kRecordBytes;
    char digits[8];
    if (!DecodeFreq(in, digits)) return;   // not a frequency: the channel is dropped
    ++count;
    ChannelRec& rec = ws.Channels(band, count, group);
    static const ChannelRec kEmpty{};
    rec = kEmpty;
    rec.Used = 1;
    rec.ChNo = int16_t(c);
    rec.Scan = (img[at.scan + a / 8] >> (a % 8)) & 1;
    std::copy(digits, digits + 8, rec.Freq.b.begin());
    DecodeRecordFields(in, rec, std::make_index_sequence<std::size(kChannelRecord)>{});
}

// Every group of both bands that has a place in the image, with that place;
// GroupCount follows the band being walked.
void ForEachGroupPlace(Workspace& ws, const std::function<void(int band, int group, const GroupPlace&)>& visit)
{
    for (int band = 0; band < kBands; ++band) {
        ws.GroupCount = GroupsOfBand(band);
        for (int group = 1; group <= ws.GroupCount; ++group)
            if (const ChannelArea* area = AreaOf(band, group)) visit(band, group, PlaceOf(*area, group));
    }
}

}  // namespace

void EncodeChannel(Workspace& ws, const ChannelRec& rec, int band, int group)
{
    EnsureSize(ws);
    if (const ChannelArea* area = AreaOf(band, group)) PlaceChannel(ws.MemImage.data(), PlaceOf(*area, group), rec);
}

void EncodeImage(Workspace& ws)
{
    EnsureSize(ws);
    ForEachGroupPlace(ws, [&](int band, int group, const GroupPlace& at) {
        const int count = std::clamp<int>(ws.ChannelCount(band, group), 0, kMaxSlots);
        for (int slot = 1; slot <= count; ++slot) PlaceChannel(ws.MemImage.data(), at, ws.Channels(band, slot, group));
    });
    EncodeGroupValues(ws);
    EncodeSettings(Settings(), ws);
    EncodeSettings(Options(), ws);
    EncodeDtmf(ws);
    EncodeRogerBeeps(ws);
}

void DecodeChannel(Workspace& ws, int band, int channel, int group)
{
    EnsureSize(ws);
    const ChannelArea* area = AreaOf(band, group);
    if (!area || channel < 1 || channel > area->size) return;
    TakeChannel(ws, PlaceOf(*area, group), band, group, channel);
}

void DecodeImage(Workspace& ws)
{
    EnsureSize(ws);
    ws.ChannelsUnread = 0;   // an image holds every channel the radio has
    for (int band = 0; band < kBands; ++band)
        for (int group = 1; group <= kMaxGroups; ++group) {
            ws.ChannelCount(band, group) = 0;
            for (int slot = 1; slot <= kMaxSlots; ++slot) ws.Channels(band, slot, group).ChNo = 0;
        }

    DecodeGroupValues(ws);
    DecodeSettings(Settings(), ws);
    ws.BandRange = BandRangeText(ws.WorkRecord.BandType);
    ParseBandRange(ws);   // the frequency limits follow the band read, as after Open
    DecodeSettings(Options(), ws);
    DecodeDtmf(ws);

    ForEachGroupPlace(ws, [&](int band, int group, const GroupPlace& at) {
        for (int c = 1; c <= at.size; ++c) TakeChannel(ws, at, band, group, c);
    });
    DecodeRogerBeeps(ws);
}

}  // namespace kt
