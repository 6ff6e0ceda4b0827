// The layout of the radio's memory image as tables: the address map of the
// channel areas, the 16-byte channel record, the settings bytes 0x4800-0x4865
// with the per-group values around them, the option bytes 0x4A00-0x4A3C, the
// DTMF code memories and the roger-beep patterns.  The codec walks these tables;
// no other code knows an image address.
#pragma once

#include "model/Model.h"

#include <array>
#include <cstdint>
#include <iterator>
#include <span>

namespace kt::layout {

enum class Rule : uint8_t {
    AsIs,        // the bits hold the value
    Offset,      // value = bits + delta when read, bits = value - delta when written
    DecodeOnly,  // read into the field, always written 0
    ReadOnly,    // read into the field, never written (another entry writes these bits)
    Zero,        // no field: written 0, not read
    ToneFlag,    // channel byte 11 bit 6: 1 when a transmit or receive tone is set; not read
    Bcd,         // the frequency: 8 decimal digits as 4 packed BCD bytes, first pair first
};

// Bits [low, low + width) of a byte; width 16 is a little-endian word at the address.
struct Bits {
    uint8_t low;
    uint8_t width;
};

// One value of the data record that lives outside the channel table.
struct RecordField {
    const char* name;
    int (*get)(const DataRecord&);
    void (*set)(DataRecord&, int);
};

// A single value of the settings and option-feature bytes.
struct SettingEntry {
    uint16_t address;
    Bits bits;
    RecordField field;   // name is null for Rule::Zero
    Rule rule;
    int8_t delta;        // Rule::Offset only
};

// A field of the 16-byte channel record.
struct ChannelEntry {
    uint8_t byte;
    Bits bits;
    const char* name;
    int16_t ChannelRec::*member;   // null for Rule::Zero, Rule::ToneFlag and Rule::Bcd
    Rule rule;
};

// A per-group value: group g of a band at base[band] + (g - 1) * stride.
struct GroupEntry {
    uint16_t base[kBands];
    uint8_t stride;
    const char* name;
    BandGroupI16 OptFeatRec::*member;
    Rule rule;
    int8_t delta;
};

// A bit per group (bit g - 1 from base[band]) for the lettered groups.
struct GroupMaskEntry {
    uint16_t base[kBands];
    const char* name;
    BandGroupI16 OptFeatRec::*member;
};

// Where the channels of a run of groups live.  Group g (first..last) has its
// records at records + (g - first) * size * 16 and its masks at
// enableMask / scanMask + (g - first) * MaskBytes(size).
struct ChannelArea {
    uint8_t band;
    uint8_t firstGroup;
    uint8_t lastGroup;
    uint16_t records;
    uint8_t size;
    uint16_t enableMask;
    uint16_t scanMask;
    bool alwaysPresent;   // the VFO channel is read whatever its enable bit says
};

// The DTMF code memories and the roger-beep patterns.
struct DtmfArea {
    uint16_t base;
    uint8_t codes;
    uint8_t bytesPerCode;
    uint8_t endMarker;    // written after the last character; any byte above 15 ends a code
};

struct RbEntry {
    uint8_t byte;         // offset in the pattern
    uint8_t count;        // consecutive bytes
    const char* name;
    int16_t& (*ref)(RbPatternRec&, int i);
};

struct RbArea {
    uint16_t base;
    uint8_t lineBytes;    // two patterns share one line
    uint8_t patternBytes;
};

// A run of bytes (inclusive) that starts at 0 instead of 0xFF before an encode:
// the encoder only ever sets mask bits.
struct ZeroedRange {
    uint16_t first;
    uint16_t last;
};

constexpr int kRecordBytes = 16;
constexpr int MaskBytes(int size) { return (size + 7) / 8; }

// The channel area map and the channel record are compile-time tables: the
// codec walks them once per channel, and the compiler turns that walk into
// straight-line code.  The other tables are in ImageLayout.cpp.
// Where the channels live.
//  band  groups   records  size  ChEnableBits  ChScanBits  always present
inline constexpr ChannelArea kChannelAreas[] = {
    {0, 1, 15, 0x0000, 40, 0x4600, 0x4700, false},   // A-O
    {0, 16, 16, 0x5000, 99, 0x5C80, 0x5CA0, false},  // MEM
    {0, 17, 17, 0x4810, 1, 0x4650, 0x4750, true},    // VFO
    {1, 1, 12, 0x2580, 40, 0x4680, 0x4780, false},   // A-L
    {1, 13, 13, 0x5640, 99, 0x5C90, 0x5CB0, false},  // MEM
    {1, 14, 14, 0x4820, 1, 0x46C1, 0x47C1, true},    // VFO
};

// The 16-byte channel record.  Byte 15 is not used and keeps 0xFF.
//  byte  bits    model field                          rule
inline constexpr ChannelEntry kChannelRecord[] = {
    {0, {0, 8}, "Freq", nullptr, Rule::Bcd},               // bytes 0-3
    {4, {0, 8}, "RxCtcss", &ChannelRec::RxCtcss, Rule::AsIs},
    {5, {0, 8}, "RxDcs", &ChannelRec::RxDcs, Rule::AsIs},
    {6, {0, 8}, "Mode", &ChannelRec::Mode, Rule::AsIs},
    {7, {0, 8}, "TxCtcss", &ChannelRec::TxCtcss, Rule::AsIs},
    {8, {0, 8}, "TxDcs", &ChannelRec::TxDcs, Rule::AsIs},
    {9, {0, 1}, "HiCut", &ChannelRec::HiCut, Rule::AsIs},
    {9, {1, 1}, nullptr, nullptr, Rule::Zero},
    {9, {2, 1}, "Echo", &ChannelRec::Echo, Rule::AsIs},
    {9, {3, 1}, "Add10K", &ChannelRec::Add10K, Rule::AsIs},
    {9, {4, 1}, "BusyLock", &ChannelRec::BusyLock, Rule::AsIs},
    {9, {5, 2}, "NbAnl", &ChannelRec::NbAnl, Rule::AsIs},
    {9, {7, 1}, nullptr, nullptr, Rule::Zero},
    {10, {0, 8}, "RogerBeep", &ChannelRec::RogerBeep, Rule::AsIs},
    {11, {0, 2}, "RepShift", &ChannelRec::RepShift, Rule::AsIs},
    {11, {2, 2}, "TxToneType", &ChannelRec::TxToneType, Rule::AsIs},
    {11, {4, 2}, "RxToneType", &ChannelRec::RxToneType, Rule::AsIs},
    {11, {6, 1}, "tone flag", nullptr, Rule::ToneFlag},
    {11, {7, 1}, "PublicCh", &ChannelRec::PublicCh, Rule::AsIs},
    {12, {0, 8}, "BotCode", &ChannelRec::BotCode, Rule::AsIs},
    {13, {0, 8}, "EotCode", &ChannelRec::EotCode, Rule::AsIs},
    {14, {0, 8}, "CallCode", &ChannelRec::CallCode, Rule::AsIs},
};

std::span<const ZeroedRange> ZeroedRanges();
std::span<const SettingEntry> Settings();      // 0x4800-0x4865 single values
std::span<const GroupEntry> GroupValues();     // per-group pairs and bytes
std::span<const GroupMaskEntry> GroupMasks();  // GroupEnableBits
std::span<const SettingEntry> Options();       // 0x4A00-0x4A3C
const DtmfArea& Dtmf();
std::span<const RbEntry> RbPattern();
const RbArea& RbPatterns();
int RbPatternAddress(int pattern);

// Index into kChannelAreas by (band, group); -1 where there is no group.
inline constexpr auto kAreaIndex = [] {
    std::array<std::array<int8_t, kMaxGroups + 1>, kBands> index{};
    for (auto& band : index) band.fill(-1);
    for (int i = 0; i < int(std::size(kChannelAreas)); ++i)
        for (int g = kChannelAreas[i].firstGroup; g <= kChannelAreas[i].lastGroup; ++g)
            index[kChannelAreas[i].band][g] = int8_t(i);
    return index;
}();

// The area holding (band, group), or null.
constexpr const ChannelArea* AreaOf(int band, int group)
{
    if (band < 0 || band >= kBands || group < 0 || group > kMaxGroups) return nullptr;
    const int i = kAreaIndex[band][group];
    return i < 0 ? nullptr : &kChannelAreas[i];
}

// Image address of channel chNo of a group (beyond the group for numbers above its size).
constexpr int ChannelAddress(const ChannelArea& area, int group, int chNo)
{
    return area.records + ((group - area.firstGroup) * area.size + (chNo - 1)) * kRecordBytes;
}

constexpr int EnableMaskAddress(const ChannelArea& area, int group)
{
    return area.enableMask + (group - area.firstGroup) * MaskBytes(area.size);
}

constexpr int ScanMaskAddress(const ChannelArea& area, int group)
{
    return area.scanMask + (group - area.firstGroup) * MaskBytes(area.size);
}

}  // namespace kt::layout
