// The layout of the radio's memory image as tables: the address map of the
// channel areas, the 16-byte channel record, the settings bytes 0x4800-0x4865
// with the per-group values around them, the option bytes 0x4A00-0x4A3C, the
// DTMF code memories and the roger-beep patterns.  The codec walks these tables;
// no other code knows an image address.
#pragma once

#include "model/Model.h"

#include <cstdint>
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

std::span<const ZeroedRange> ZeroedRanges();
std::span<const ChannelArea> ChannelAreas();
std::span<const ChannelEntry> ChannelRecord();
std::span<const SettingEntry> Settings();      // 0x4800-0x4865 single values
std::span<const GroupEntry> GroupValues();     // per-group pairs and bytes
std::span<const GroupMaskEntry> GroupMasks();  // GroupEnableBits
std::span<const SettingEntry> Options();       // 0x4A00-0x4A3C
const DtmfArea& Dtmf();
std::span<const RbEntry> RbPattern();
const RbArea& RbPatterns();

// The area holding (band, group), or null.
const ChannelArea* AreaOf(int band, int group);
// Image address of channel chNo of a group (may lie outside the group for numbers above its size).
int ChannelAddress(const ChannelArea& area, int group, int chNo);
int EnableMaskAddress(const ChannelArea& area, int group);
int ScanMaskAddress(const ChannelArea& area, int group);
int RbPatternAddress(int pattern);

}  // namespace kt::layout
