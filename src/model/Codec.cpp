// Model <-> radio memory image.  The codec knows no address of its own: it
// walks the tables of ImageLayout.cpp.
#include "model/Codec.h"

#include "model/ImageLayout.h"

#include <algorithm>

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
void EncodeFreq(uint8_t* out, const FixedText<8>& freq)
{
    QByteArray d = freq.bytes();
    const int nul = d.indexOf('\0');
    if (nul >= 0) d.truncate(nul);
    while (d.endsWith(' ')) d.chop(1);
    if (!d.isEmpty()) d = d.leftJustified(8, '0', true);
    if (!IsFreqDigits(d)) {
        std::fill(out, out + 4, kNoFreq);
        return;
    }
    for (int i = 0; i < 4; ++i) out[i] = uint8_t(((d[2 * i] - '0') << 4) | (d[2 * i + 1] - '0'));
}

QByteArray DecodeFreq(const uint8_t* in)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray d(8, '0');
    for (int i = 0; i < 4; ++i) {
        d[2 * i] = hex[in[i] >> 4];
        d[2 * i + 1] = hex[in[i] & 0xF];
    }
    return d;
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
        QByteArray code = ws.WorkRecord.OptFeat.DtmfCode[k].bytes();
        const int nul = code.indexOf('\0');
        if (nul >= 0) code.truncate(nul);
        while (code.endsWith(' ')) code.chop(1);
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
    if (digits.size() != 8) return false;
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
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

void EncodeChannel(Workspace& ws, const ChannelRec& rec, int band, int group)
{
    EnsureSize(ws);
    const ChannelArea* area = AreaOf(band, group);
    if (!area || rec.ChNo < 1) return;
    const int base = ChannelAddress(*area, group, rec.ChNo);
    // A number beyond the group lands in the records after it, as the radio's
    // layout has it; one beyond the image has nowhere to go.
    if (base < 0 || base + kRecordBytes > kImageSize) return;
    for (const ChannelEntry& e : ChannelRecord()) {
        switch (e.rule) {
        case Rule::Bcd: EncodeFreq(&ws.MemImage[base + e.byte], rec.Freq); break;
        case Rule::ToneFlag:
            Put(ws.MemImage, base + e.byte, e.bits, rec.TxToneType > 0 || rec.RxToneType > 0);
            break;
        case Rule::Zero: Put(ws.MemImage, base + e.byte, e.bits, 0); break;
        default: Put(ws.MemImage, base + e.byte, e.bits, rec.*e.member); break;
        }
    }
    const int a = rec.ChNo - 1;
    if (a < area->size) {
        SetMaskBit(ws.MemImage, EnableMaskAddress(*area, group), a, 1);
        SetMaskBit(ws.MemImage, ScanMaskAddress(*area, group), a, rec.Scan);
    }
}

void EncodeImage(Workspace& ws)
{
    EnsureSize(ws);
    for (int band = 0; band < kBands; ++band) {
        ws.GroupCount = GroupsOfBand(band);
        for (int group = 1; group <= ws.GroupCount; ++group) {
            const int count = std::clamp<int>(ws.ChannelCount(band, group), 0, kMaxSlots);
            for (int slot = 1; slot <= count; ++slot) EncodeChannel(ws, ws.Channels(band, slot, group), band, group);
        }
    }
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
    const int a = channel - 1;
    if (!area->alwaysPresent && !MaskBit(ws.MemImage, EnableMaskAddress(*area, group), a)) return;
    int16_t& count = ws.ChannelCount(band, group);
    if (count < 0 || count >= kMaxSlots) return;
    const int base = ChannelAddress(*area, group, channel);
    const QByteArray digits = DecodeFreq(&ws.MemImage[base]);
    if (!IsFreqDigits(digits)) return;   // not a frequency: the channel is dropped
    ++count;
    ChannelRec& rec = ws.Channels(band, count, group);
    rec = ChannelRec{};
    rec.Used = 1;
    rec.ChNo = int16_t(channel);
    rec.Scan = MaskBit(ws.MemImage, ScanMaskAddress(*area, group), a);
    rec.Freq.set(digits);
    for (const ChannelEntry& e : ChannelRecord())
        if (e.member && e.rule == Rule::AsIs) rec.*e.member = int16_t(Get(ws.MemImage, base + e.byte, e.bits));
}

void DecodeImage(Workspace& ws)
{
    EnsureSize(ws);
    for (int band = 0; band < kBands; ++band)
        for (int group = 1; group <= kMaxGroups; ++group) {
            ws.ChannelCount(band, group) = 0;
            for (int slot = 1; slot <= kMaxSlots; ++slot) ws.Channels(band, slot, group) = ChannelRec{};
        }

    DecodeGroupValues(ws);
    DecodeSettings(Settings(), ws);
    ws.BandRange = BandRangeText(ws.WorkRecord.BandType);
    DecodeSettings(Options(), ws);
    DecodeDtmf(ws);

    for (int band = 0; band < kBands; ++band) {
        ws.GroupCount = GroupsOfBand(band);
        for (int group = 1; group <= ws.GroupCount; ++group) {
            const ChannelArea* area = AreaOf(band, group);
            for (int c = 1; area && c <= area->size; ++c) DecodeChannel(ws, band, c, group);
        }
    }
    DecodeRogerBeeps(ws);
}

}  // namespace kt
