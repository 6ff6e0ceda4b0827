#include "model/DocumentState.h"
#include "model/DataFile.h"
#include "model/FreqRules.h"
#include "model/Workspace.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace kt {

// Records are compared as bytes: every byte of a channel record is a value.
static_assert(std::has_unique_object_representations_v<ChannelRec>);

namespace {

const ChannelRec kEmptyRec{};

bool IsEmptyRec(const ChannelRec& r) { return std::memcmp(&r, &kEmptyRec, sizeof(ChannelRec)) == 0; }

// A block is a vector of shared runs of records (std::array); these read it.
template <class Block>
using RunOf = std::remove_const_t<typename Block::value_type::element_type>;

template <class Block>
const ChannelRec& Kept(const Block& block, int slot)
{
    constexpr size_t n = std::tuple_size_v<RunOf<Block>>;
    const size_t i = size_t(slot - 1);
    return i / n < block.size() ? (*block[i / n])[i % n] : kEmptyRec;
}

template <class Run>
bool SameRun(const std::shared_ptr<const Run>& a, const std::shared_ptr<const Run>& b)
{
    return a == b || std::memcmp(a->data(), b->data(), sizeof(Run)) == 0;
}

template <class Block>
bool BlockEquals(const ChannelTable& table, int band, int group, const Block& block)
{
    for (int slot = 1; slot <= kMaxSlots; ++slot)
        if (std::memcmp(&table(band, slot, group), &Kept(block, slot), sizeof(ChannelRec)) != 0) return false;
    return true;
}

template <class Block>
std::shared_ptr<const Block> TakeBlock(const ChannelTable& table, int band, int group,
                                       const std::shared_ptr<const Block>& like)
{
    if (like && BlockEquals(table, band, group, *like)) return like;
    using Run = RunOf<Block>;
    constexpr int n = int(std::tuple_size_v<Run>);
    int used = kMaxSlots;
    while (used > 0 && IsEmptyRec(table(band, used, group))) --used;
    const int runs = (used + n - 1) / n;
    auto block = std::make_shared<Block>(size_t(runs));
    for (int r = 0; r < runs; ++r) {
        auto run = std::make_shared<Run>();
        for (int k = 0; k < n; ++k) {
            const int slot = r * n + k + 1;
            (*run)[size_t(k)] = slot <= kMaxSlots ? table(band, slot, group) : kEmptyRec;
        }
        std::shared_ptr<const Run> kept = std::move(run);
        // A run the state before holds as it is now is shared with it.
        if (like && size_t(r) < like->size() && SameRun((*like)[size_t(r)], kept)) kept = (*like)[size_t(r)];
        (*block)[size_t(r)] = std::move(kept);
    }
    return block;
}

template <class Block>
bool PutBlock(ChannelTable& table, int band, int group, const Block& block)
{
    if (BlockEquals(table, band, group, block)) return false;
    for (int slot = 1; slot <= kMaxSlots; ++slot) table(band, slot, group) = Kept(block, slot);
    return true;
}

// The working record as the document holds it: without where the channel
// window stood.
QByteArray WorkBytes(const DataRecord& rec)
{
    DataRecord r = rec;
    for (auto& g : r.CurGroup) g = 0;
    r.CurRow = BandGroupI16{};
    return SerializeDataRecord(r);
}

QByteArray Shared(QByteArray bytes, const QByteArray* like)
{
    if (like && *like == bytes) return *like;
    return bytes;
}

template <class Blocks>
bool SameBlocks(const Blocks& a, const Blocks& b)
{
    for (int band = 0; band < kBands; ++band)
        for (int g = 1; g <= kMaxGroups; ++g) {
            const auto& x = a[band][g];
            const auto& y = b[band][g];
            if (x == y) continue;
            if (!x || !y || x->size() != y->size()) return false;
            for (size_t r = 0; r < x->size(); ++r)
                if (!SameRun((*x)[r], (*y)[r])) return false;
        }
    return true;
}

}  // namespace

void DocumentState::Changes::Add(const Changes& o)
{
    for (const auto& g : o.groups)
        if (std::find(groups.begin(), groups.end(), g) == groups.end()) groups.push_back(g);
    data = data || o.data;
    band = band || o.band;
    file = file || o.file;
}

DocumentState DocumentState::Take(const Workspace& ws, const DocumentState* like)
{
    DocumentState s;
    s.work_.data = Shared(WorkBytes(ws.WorkRecord), like ? &like->work_.data : nullptr);
    s.file_.data = Shared(SerializeDataRecord(ws.FileRecord), like ? &like->file_.data : nullptr);
    for (int band = 0; band < kBands; ++band)
        for (int g = 1; g <= kMaxGroups; ++g) {
            s.work_.groups[band][g] = TakeBlock<Block>(ws.Channels, band, g, like ? like->work_.groups[band][g] : nullptr);
            s.file_.groups[band][g] = TakeBlock<Block>(ws.FileChannels, band, g, like ? like->file_.groups[band][g] : nullptr);
        }
    s.bandRange_ = ws.BandRange;
    s.currentFile_ = ws.CurrentFile;
    s.previousFile_ = ws.PreviousFile;
    s.isUntitled_ = ws.IsUntitled;
    return s;
}

DocumentState::Changes DocumentState::PutInto(Workspace& ws, bool withFile) const
{
    Changes c;
    if (IsEmpty()) return c;
    for (int band = 0; band < kBands; ++band)
        for (int g = 1; g <= kMaxGroups; ++g)
            if (PutBlock(ws.Channels, band, g, *work_.groups[band][g])) c.groups.emplace_back(band, g);
    if (WorkBytes(ws.WorkRecord) != work_.data) {
        DataRecord rec;
        if (ParseDataRecord(work_.data, rec)) {
            std::copy(std::begin(ws.WorkRecord.CurGroup), std::end(ws.WorkRecord.CurGroup), std::begin(rec.CurGroup));
            rec.CurRow = ws.WorkRecord.CurRow;
            ws.WorkRecord = rec;
            c.data = true;
        }
    }
    if (ws.BandRange != bandRange_) {
        ws.BandRange = bandRange_;
        ParseBandRange(ws);
        c.band = true;
    }
    if (!withFile) return c;
    if (SerializeDataRecord(ws.FileRecord) != file_.data) {
        DataRecord rec;
        if (ParseDataRecord(file_.data, rec)) {
            ws.FileRecord = rec;
            c.file = true;
        }
    }
    for (int band = 0; band < kBands; ++band)
        for (int g = 1; g <= kMaxGroups; ++g)
            if (PutBlock(ws.FileChannels, band, g, *file_.groups[band][g])) c.file = true;
    if (ws.CurrentFile != currentFile_ || ws.PreviousFile != previousFile_ || ws.IsUntitled != isUntitled_) {
        ws.CurrentFile = currentFile_;
        ws.PreviousFile = previousFile_;
        ws.IsUntitled = isUntitled_;
        c.file = true;
    }
    return c;
}

bool DocumentState::SameWork(const DocumentState& o) const
{
    return work_.data == o.work_.data && bandRange_ == o.bandRange_ && SameBlocks(work_.groups, o.work_.groups);
}

bool DocumentState::SameFile(const DocumentState& o) const
{
    return file_.data == o.file_.data && currentFile_ == o.currentFile_ && previousFile_ == o.previousFile_ &&
           isUntitled_ == o.isUntitled_ && SameBlocks(file_.groups, o.file_.groups);
}

DocumentState DocumentState::WithWorkOf(const DocumentState& o) const
{
    DocumentState s = *this;
    s.work_ = o.work_;
    s.bandRange_ = o.bandRange_;
    return s;
}

DocumentState DocumentState::WithFileOf(const DocumentState& o) const
{
    DocumentState s = *this;
    s.file_ = o.file_;
    s.currentFile_ = o.currentFile_;
    s.previousFile_ = o.previousFile_;
    s.isUntitled_ = o.isUntitled_;
    return s;
}

}  // namespace kt
