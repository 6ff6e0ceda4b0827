// One workspace kept for the whole fuzz process and put back, before every
// input, into the state of a newly built one.  Building a workspace means
// allocating and clearing its two channel tables (7,200 records); doing that
// for every input costs more than the decode or the file read under test.
//
// Everything but the two channel tables is assigned from a blank workspace,
// so it cannot keep anything from an earlier input.  Of the tables only the
// slots the counts of the data record and of the snapshot reach are cleared:
// the codec and the file reader write channel records only into counted slots
// (and empty records anywhere).  That claim is checked: every VerifyEvery-th
// reset (every one when KT_FUZZ_VERIFY_EVERY=1) compares all slots of both
// tables, index 0 included, with an empty record and aborts on a difference,
// so a write past the counts cannot stay hidden behind the reuse.
#pragma once

#include "model/Workspace.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <utility>

namespace kt::fuzz {

class ReusedWorkspace {
public:
    ReusedWorkspace()
    {
        // The blank keeps no channel tables: they are never copied, only moved.
        ChannelTable dropChannels = std::move(blank_.Channels);
        ChannelTable dropFileChannels = std::move(blank_.FileChannels);
        if (const char* every = std::getenv("KT_FUZZ_VERIFY_EVERY")) verifyEvery_ = std::max(1, std::atoi(every));
    }

    // The workspace, as a new one would be.
    Workspace& Fresh()
    {
        ClearCounted(ws_.Channels, ws_.WorkRecord.ChannelCount);
        ClearCounted(ws_.FileChannels, ws_.FileRecord.ChannelCount);
        ChannelTable channels = std::move(ws_.Channels), fileChannels = std::move(ws_.FileChannels);
        ws_ = blank_;
        ws_.Channels = std::move(channels);
        ws_.FileChannels = std::move(fileChannels);
        if (++resets_ % verifyEvery_ == 0) {
            VerifyEmpty(ws_.Channels, "Channels");
            VerifyEmpty(ws_.FileChannels, "FileChannels");
        }
        return ws_;
    }

    // A new workspace without channel tables, to compare against.
    const Workspace& Blank() const { return blank_; }

private:
    static int Clamped(int count) { return count < 0 ? 0 : count > kMaxSlots ? kMaxSlots : count; }

    static void ClearCounted(ChannelTable& t, const BandGroupI16& counts)
    {
        for (int b = 0; b < kBands; ++b)
            for (int g = 1; g <= kMaxGroups; ++g)
                for (int s = 1; s <= Clamped(counts[b][g]); ++s) t(b, s, g) = ChannelRec{};
    }

    static void VerifyEmpty(const ChannelTable& t, const char* name)
    {
        static const ChannelRec kEmpty{};
        for (int b = 0; b < kBands; ++b)
            for (int s = 0; s <= kMaxSlots; ++s)
                for (int g = 0; g <= kMaxGroups; ++g)
                    if (std::memcmp(&t(b, s, g), &kEmpty, sizeof kEmpty) != 0) {
                        std::fprintf(stderr,
                                     "%s(band %d, slot %d, group %d) still holds a record of an earlier input: "
                                     "a channel was written past its group's count\n",
                                     name, b, s, g);
                        std::abort();
                    }
    }

    Workspace ws_;
    Workspace blank_;
    long resets_ = 0;
    long verifyEvery_ = 256;
};

static_assert(std::has_unique_object_representations_v<ChannelRec>,
              "the reset check compares channel records byte by byte");

}  // namespace kt::fuzz
