// The byte layout of the data file (.dat) and of the channel records of the
// channel file (.fre), as tables: one row per member, in file order, with its
// offset, its size and the values the radio can hold for it.
#pragma once

#include "model/Model.h"

#include <span>

namespace kt::layout {

// One member of a record in the file.
template <class Rec>
struct Field {
    int offset;
    int size;
    const char* member;
    void (*put)(const Rec&, char* out);
    void (*get)(Rec&, const char* in);
    // Whether every value of the member lies in lo..hi; null when any value will do.
    // Arrays indexed (band, group) are checked over the groups the radio has.
    bool (*within)(const Rec&, int lo, int hi);
    int lo;
    int hi;
    int typeSize;   // bytes the member's type takes; equals size in a sound table
};

std::span<const Field<DataRecord>> DataFileFields();
std::span<const Field<ModelInfoRec>> ModelInfoFields();
std::span<const Field<OptFeatRec>> OptFeatFields();
std::span<const Field<RbPatternRec>> RbPatternFields();
std::span<const Field<ChannelRec>> ChannelRecordFields();

// Sizes the tables add up to.
constexpr int kModelInfoSize = 34;
constexpr int kOptFeatSize = 966;
constexpr int kRbPatternSize = 60;

// Whole records to and from bytes (out / in hold at least the record's size).
void PutDataRecord(const DataRecord& rec, char* out);
void GetDataRecord(DataRecord& rec, const char* in);
void PutChannelRecord(const ChannelRec& ch, char* out);
void GetChannelRecord(ChannelRec& ch, const char* in);

// True when every member with a range holds a value the radio can take.
bool DataRecordHoldable(const DataRecord& rec);
// The first member, in file order, whose value the radio cannot take, and its
// offset in the data file (a member of a nested record by its own name);
// member is null when every member can be held.
struct FieldAt {
    const char* member = nullptr;
    int offset = 0;
};
FieldAt FirstUnholdable(const DataRecord& rec);
// The most channels a group can hold, and the highest channel number in it: the
// VFO group has its one channel; every other group has 99 slots, since a
// lettered group keeps its memory channels M1-M6 (numbers 41-46) beside 1-40.
int GroupCapacity(int band, int group);
// The same for one channel record of the group (ChNo 1..capacity).
bool ChannelRecordHoldable(const ChannelRec& ch, int band, int group);

}  // namespace kt::layout
