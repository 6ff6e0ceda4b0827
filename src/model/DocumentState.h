// The document at one moment, as the undo history keeps it: the working
// data and channels, and the snapshot with the document's name (what the
// document was last loaded from or saved to).  States share what they have
// in common: the records of a group that did not change between two states
// are held once, so a thousand steps cost what they changed, not a thousand
// copies of the channel table.
//
// The data record is kept as the data file holds it (1699 bytes), so a state
// put back is always one the data file can hold.  Which group and row the
// channel window last showed (CurGroup, CurRow) is where the user looks, not
// what the document says: it is neither compared nor put back.
#pragma once

#include "model/Model.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <memory>
#include <utility>
#include <vector>

namespace kt {

struct Workspace;

class DocumentState {
public:
    DocumentState() = default;
    // The state of ws now; parts equal to those of like share its storage.
    static DocumentState Take(const Workspace& ws, const DocumentState* like = nullptr);

    // What putting a state back changed in the workspace.
    struct Changes {
        std::vector<std::pair<int, int>> groups;   // (band, group) of the working channels
        bool data = false;                         // the data record (options, DTMF, roger beep, groups)
        bool band = false;                         // the band range (title, limits)
        bool file = false;                         // the snapshot or the document's name
        bool any() const { return data || band || file || !groups.empty(); }
        void Add(const Changes& o);
    };
    // Puts the working part back into ws (and the snapshot with the name when
    // withFile); only what differs from ws is written.
    Changes PutInto(Workspace& ws, bool withFile) const;

    bool SameWork(const DocumentState& o) const;
    bool SameFile(const DocumentState& o) const;
    // This state with the working part of o (or the snapshot part of o).
    DocumentState WithWorkOf(const DocumentState& o) const;
    DocumentState WithFileOf(const DocumentState& o) const;

    bool IsEmpty() const { return work_.data.isEmpty(); }

private:
    // Slots 1-n of one group; the slots after n hold empty records (most of a
    // group of 40 channels is never used, so it is not kept either).
    using Block = std::vector<ChannelRec>;
    using Blocks = std::array<std::array<std::shared_ptr<const Block>, kMaxGroups + 1>, kBands>;
    struct Part {
        QByteArray data;   // the data record as the data file holds it
        Blocks groups;
    };
    Part work_;
    Part file_;
    QString bandRange_;
    QString currentFile_, previousFile_;
    bool isUntitled_ = true;
};

}  // namespace kt
