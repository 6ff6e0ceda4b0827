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

template <class Block>
bool BlockEquals(const ChannelTable& table, int band, int group, const Block& block)
{
    for (int slot = 1; slot <= kMaxSlots; ++slot) {
        const ChannelRec& kept = slot <= int(block.size()) ? block[size_t(slot - 1)] : kEmptyRec;
        if (std::memcmp(&table(band, slot, group), &kept, sizeof(ChannelRec)) != 0) return false;
    }
    return true;
}

template <class Block>
std::shared_ptr<const Block> TakeBlock(const ChannelTable& table, int band, int group,
                                       const std::shared_ptr<const Block>& like)
{
    if (like && BlockEquals(table, band, group, *like)) return like;
    int used = kMaxSlots;
    while (used > 0 && IsEmptyRec(table(band, used, group))) --used;
    auto block = std::make_shared<Block>(size_t(used));
    for (int slot = 1; slot <= used; ++slot) (*block)[size_t(slot - 1)] = table(band, slot, group);
    return block;
}

template <class Block>
bool PutBlock(ChannelTable& table, int band, int group, const Block& block)
{
    if (BlockEquals(table, band, group, block)) return false;
    for (int slot = 1; slot <= kMaxSlots; ++slot)
        table(band, slot, group) = slot <= int(block.size()) ? block[size_t(slot - 1)] : kEmptyRec;
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
        for (int g = 1; g <= kMaxGroups; ++g)
            if (a[band][g] != b[band][g] &&
                !(a[band][g] && b[band][g] && a[band][g]->size() == b[band][g]->size() &&
                  std::memcmp(a[band][g]->data(), b[band][g]->data(), a[band][g]->size() * sizeof(ChannelRec)) == 0))
                return false;
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
