// The radio's memory image, table by table.  Addresses are image addresses in
// hexadecimal; a two-byte value is little-endian.  Every bit of every byte the
// program writes appears in exactly one row (a "written 0" row where the radio
// keeps nothing), so the tables can be checked for gaps and overlaps.
#include "model/ImageLayout.h"

#include <type_traits>

namespace kt::layout {

namespace {

#define KT_FIELD_NAMED(label, expr)                                                          \
    RecordField{label, [](const DataRecord& r) -> int { return int(r.expr); },               \
                [](DataRecord& r, int v) {                                                   \
                    r.expr = static_cast<std::remove_reference_t<decltype(r.expr)>>(v);      \
                }}
#define F(expr) KT_FIELD_NAMED(#expr, expr)
#define NONE RecordField{nullptr, nullptr, nullptr}

using R = Rule;

// Cleared to 0 before an encode; everything else starts at 0xFF.
const ZeroedRange kZeroedRanges[] = {
    {0x4600, 0x4900},   // masks of the 40- and 1-channel groups, GroupEnableBits and the
                        // settings bytes between them, which the encoder rewrites
    {0x5C80, 0x5C9C},   // ChEnableBits of the two MEM groups
    {0x5CA0, 0x5CBC},   // ChScanBits of the two MEM groups
};

// Settings bytes 0x4804-0x4809 and 0x4860-0x4865.
//  address  bits    model field                                   rule          delta
const SettingEntry kSettings[] = {
    {0x4804, {0, 4}, F(BandType), R::AsIs, 0},
    {0x4804, {4, 4}, F(OptFeat.Opt4804H), R::Offset, -1},
    {0x4805, {0, 8}, F(OptFeat.HfWorkGroup), R::Offset, +1},
    {0x4806, {0, 8}, F(OptFeat.HamWorkGroup), R::Offset, +1},
    {0x4807, {0, 1}, F(OptFeat.ChannelMode), R::DecodeOnly, 0},
    {0x4807, {1, 1}, F(OptFeat.Opt4807B1), R::AsIs, 0},
    {0x4807, {2, 2}, F(EmgMode), R::AsIs, 0},
    {0x4807, {4, 1}, F(VfoOn), R::AsIs, 0},
    {0x4807, {5, 3}, NONE, R::Zero, 0},
    {0x4808, {0, 8}, KT_FIELD_NAMED("OptFeat.Opt4808", OptFeat.Opt558[0][1]), R::AsIs, 0},
    {0x4809, {0, 8}, KT_FIELD_NAMED("OptFeat.Opt4809", OptFeat.Opt558[1][1]), R::AsIs, 0},
    {0x4860, {0, 8}, F(HfDwBand), R::AsIs, 0},
    {0x4861, {0, 8}, F(HfDwChan), R::AsIs, 0},
    {0x4862, {0, 8}, F(HfDwMode), R::AsIs, 0},
    {0x4863, {0, 8}, F(HamDwBand), R::AsIs, 0},
    {0x4864, {0, 8}, F(HamDwChan), R::AsIs, 0},
    {0x4865, {0, 8}, F(HamDwMode), R::AsIs, 0},
};

// Per-group values of the lettered groups (15 in band 0, 12 in band 1).
//  band 0  band 1  stride  model field  rule  delta
const GroupEntry kGroupValues[] = {
    {{0x4580, 0x45A0}, 2, "EmgCh1", &OptFeatRec::EmgCh1, R::Offset, +1},
    {{0x4581, 0x45A1}, 2, "EmgCh2", &OptFeatRec::EmgCh2, R::Offset, +1},
    {{0x45C0, 0x45E0}, 2, "EmgMode1", &OptFeatRec::EmgMode1, R::AsIs, 0},
    {{0x45C1, 0x45E1}, 2, "EmgMode2", &OptFeatRec::EmgMode2, R::AsIs, 0},
    {{0x4840, 0x4850}, 1, "GrpByte", &OptFeatRec::GrpByte, R::Offset, +1},
};

// GroupEnableBits: bit g - 1 for lettered group g.
const GroupMaskEntry kGroupMasks[] = {
    {{0x4800, 0x4802}, "GroupEnable", &OptFeatRec::GroupEnable},
};

// Option-feature bytes 0x4A00-0x4A3C.
//  address  bits     model field                      rule            delta
const SettingEntry kOptions[] = {
    {0x4A00, {0, 16}, F(OptFeat.BattMax), R::AsIs, 0},
    {0x4A02, {0, 16}, F(OptFeat.BattMin), R::AsIs, 0},
    {0x4A04, {0, 8}, F(OptFeat.SwrMax), R::AsIs, 0},
    {0x4A05, {0, 8}, F(OptFeat.PublicMode), R::AsIs, 0},
    {0x4A06, {0, 1}, F(OptFeat.FmEnabled), R::AsIs, 0},
    {0x4A06, {1, 1}, F(OptFeat.AmEnabled), R::AsIs, 0},
    {0x4A06, {2, 1}, F(OptFeat.UsbEnabled), R::AsIs, 0},
    {0x4A06, {3, 1}, F(OptFeat.LsbEnabled), R::AsIs, 0},
    {0x4A06, {4, 1}, F(OptFeat.PaEnabled), R::AsIs, 0},
    {0x4A06, {5, 1}, F(OptFeat.CwEnabled), R::AsIs, 0},
    {0x4A06, {6, 2}, NONE, R::Zero, 0},
    {0x4A07, {0, 1}, F(OptFeat.PublicHiCut), R::AsIs, 0},
    {0x4A07, {1, 1}, NONE, R::Zero, 0},
    {0x4A07, {2, 1}, F(OptFeat.PublicEcho), R::AsIs, 0},
    {0x4A07, {3, 1}, F(OptFeat.Public10K), R::AsIs, 0},
    {0x4A07, {4, 1}, F(OptFeat.PublicBusy), R::AsIs, 0},
    {0x4A07, {5, 2}, F(OptFeat.PublicNbAnl), R::AsIs, 0},
    {0x4A07, {7, 1}, NONE, R::Zero, 0},
    // The public roger beep is read into both values; ComChanRb is the one written.
    {0x4A08, {0, 8}, F(OptFeat.PublicRogerBeep), R::ReadOnly, 0},
    {0x4A08, {0, 8}, F(ComChanRb), R::AsIs, 0},
    {0x4A09, {0, 8}, F(OptFeat.PublicBotCode), R::AsIs, 0},
    {0x4A0A, {0, 8}, F(OptFeat.PublicEotCode), R::AsIs, 0},
    {0x4A0B, {0, 8}, F(OptFeat.PublicCallCode), R::AsIs, 0},
    {0x4A0C, {0, 8}, F(OptFeat.BeepLevel), R::AsIs, 0},
    {0x4A0D, {0, 8}, F(OptFeat.TxIndicator), R::AsIs, 0},
    {0x4A0E, {0, 8}, F(OptFeat.MicGain), R::AsIs, 0},
    {0x4A0F, {0, 8}, F(OptFeat.NogLevel), R::AsIs, 0},
    {0x4A10, {0, 8}, F(OptFeat.TotTime), R::AsIs, 0},
    {0x4A11, {0, 8}, F(OptFeat.SwrProtect), R::AsIs, 0},
    {0x4A12, {0, 8}, F(OptFeat.BattProtect), R::AsIs, 0},
    {0x4A13, {0, 8}, F(OptFeat.ScanMode), R::AsIs, 0},
    {0x4A14, {0, 8}, F(OptFeat.FinMode), R::AsIs, 0},
    {0x4A15, {0, 8}, F(OptFeat.BacklightColor), R::AsIs, 0},
    {0x4A16, {0, 8}, NONE, R::Zero, 0},
    {0x4A17, {0, 16}, F(TxOffset), R::AsIs, 0},
    {0x4A19, {0, 1}, F(FreqChMode), R::AsIs, 0},
    {0x4A19, {1, 7}, NONE, R::Zero, 0},
    {0x4A1A, {0, 8}, F(AsqLevel), R::AsIs, 0},
    {0x4A1B, {0, 8}, F(OptFeat.DtmfSendTime), R::AsIs, 0},
    {0x4A1C, {0, 8}, F(OptFeat.DtmfFirstDigitTime), R::AsIs, 0},
    {0x4A1D, {0, 8}, F(OptFeat.DtmfFirstDigitDelay), R::AsIs, 0},
    {0x4A1E, {0, 8}, F(OptFeat.DtmfStarHashTime), R::AsIs, 0},
    {0x4A1F, {0, 8}, F(OptFeat.DtmfDCodeAssign), R::AsIs, 0},
    {0x4A20, {0, 8}, F(OptFeat.DtmfDisplay), R::AsIs, 0},
    {0x4A21, {0, 8}, F(OptFeat.MenuPage), R::AsIs, 0},
    {0x4A22, {0, 8}, F(MicType), R::AsIs, 0},
    {0x4A23, {0, 8}, F(VoxLevel), R::AsIs, 0},
    {0x4A24, {0, 8}, F(VoxDelay), R::AsIs, 0},
    {0x4A25, {0, 8}, F(RxNr), R::AsIs, 0},
    {0x4A26, {0, 8}, F(TxNr), R::AsIs, 0},
    {0x4A27, {0, 8}, F(VoxOn), R::AsIs, 0},
    {0x4A28, {0, 8}, F(VolPath), R::AsIs, 0},
    {0x4A29, {0, 8}, F(EchoVol), R::AsIs, 0},
    {0x4A2A, {0, 8}, F(EchoTime), R::AsIs, 0},
    {0x4A2B, {0, 8}, F(VfoStep), R::AsIs, 0},
    {0x4A2C, {0, 8}, F(AmNpc), R::AsIs, 0},
    {0x4A2D, {0, 8}, F(OptFeat.FmDeviation), R::AsIs, 0},
    {0x4A2E, {0, 8}, F(OptFeat.SsbTone), R::AsIs, 0},
    {0x4A2F, {0, 8}, F(OptFeat.PfKey), R::AsIs, 0},
    {0x4A30, {0, 1}, F(VolDisplay), R::AsIs, 0},
    {0x4A30, {1, 1}, F(SqlDisplay), R::AsIs, 0},
    {0x4A30, {2, 1}, F(PowDisplay), R::AsIs, 0},
    {0x4A30, {3, 1}, F(RfgDisplay), R::AsIs, 0},
    {0x4A30, {4, 4}, NONE, R::Zero, 0},
    {0x4A31, {0, 8}, F(FinRange), R::AsIs, 0},
    // CwFreq is one byte in the model; a high byte found in an image is not kept.
    {0x4A32, {0, 8}, F(CwFreq), R::AsIs, 0},
    {0x4A33, {0, 8}, NONE, R::Zero, 0},
    {0x4A34, {0, 8}, F(CwBeep), R::AsIs, 0},
    {0x4A35, {0, 8}, F(DimLevel), R::AsIs, 0},
    {0x4A36, {0, 8}, F(VoxSpk), R::AsIs, 0},
    {0x4A37, {0, 8}, F(AgcSpeed), R::AsIs, 0},
    {0x4A38, {0, 8}, F(CwRx), R::AsIs, 0},
    {0x4A39, {0, 8}, F(CwBkin), R::AsIs, 0},
    {0x4A3A, {0, 8}, F(CwOffset), R::AsIs, 0},
    {0x4A3B, {0, 8}, F(RxColor), R::AsIs, 0},
    {0x4A3C, {0, 8}, F(TxColor), R::AsIs, 0},
};

// DTMF code memories: 16 codes of 16 bytes, one character value (0-15) per byte.
const DtmfArea kDtmf{0x4480, kDtmfCodes, 16, 0x10};

// Roger-beep pattern p (0-7) at 0x4900 + (p div 2) * 64 + (p mod 2) * 30.
const RbArea kRbArea{0x4900, 64, 30};
//  byte  count  model field
const RbEntry kRbPattern[] = {
    {0, 1, "RbRecycle", [](RbPatternRec& p, int) -> int16_t& { return p.RbRecycle; }},
    {1, 1, "RbInterTime", [](RbPatternRec& p, int) -> int16_t& { return p.RbInterTime; }},
    {2, kRbTones, "RbTone(0, i)", [](RbPatternRec& p, int i) -> int16_t& { return p.RbTone[0][i]; }},
    {16, kRbTones, "RbTone(1, i)", [](RbPatternRec& p, int i) -> int16_t& { return p.RbTone[1][i]; }},
};

#undef F
#undef NONE
#undef KT_FIELD_NAMED

}  // namespace

std::span<const ZeroedRange> ZeroedRanges() { return kZeroedRanges; }
std::span<const SettingEntry> Settings() { return kSettings; }
std::span<const GroupEntry> GroupValues() { return kGroupValues; }
std::span<const GroupMaskEntry> GroupMasks() { return kGroupMasks; }
std::span<const SettingEntry> Options() { return kOptions; }
const DtmfArea& Dtmf() { return kDtmf; }
std::span<const RbEntry> RbPattern() { return kRbPattern; }
const RbArea& RbPatterns() { return kRbArea; }

int RbPatternAddress(int pattern)
{
    return kRbArea.base + (pattern / 2) * kRbArea.lineBytes + (pattern % 2) * kRbArea.patternBytes;
}

}  // namespace kt::layout
