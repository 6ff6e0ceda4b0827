// What the channel editor does to the model: storing a typed frequency, the
// band switch, the "Group Valid" rule, the group name and the line-edit
// commands (Copy, Cut, Paste, Insert&Paste, Delete) with the line clipboard.
// The window calls these and then shows the model again.
#pragma once

#include "model/Workspace.h"

namespace kt {

enum class FreqCellResult {
    Nothing,    // empty row left empty, or not a frequency cell
    Inserted,   // a new channel was created
    Changed,    // the channel's frequency was replaced
    Deleted,    // the cell was emptied and the channel removed
    Kept,       // out-of-range value over an existing channel: channel and frequency kept
    Refused,    // emptied, but it is the last channel of the band: nothing changed
    NoRoom,     // a new channel, but every slot of the group is taken: nothing changed
};

// Stores the edited cell (row = channel number, column 1 = frequency) of the
// given band and group.  A rejected value is warned about through ws.
FreqCellResult SaveFreqCell(Workspace& ws, int band, int group, int row, int column, const QString& text);

// Switches the band in use: BandType, BandRange, the limits and the title.
// False when band is already in use (nothing changes).
bool ChangeBand(Workspace& ws, int band);

enum class GroupValidResult { Refused, Accepted, AcceptedWithDefaultChannel };
// "OFF" needs another valid lettered group in the band; "ON" for a group that
// was off and holds no channels 1-40 gives it its default channel 1.
GroupValidResult SetGroupValid(Workspace& ws, int band, int group, bool on);

// Group names are kept as the bytes the data file holds (Windows-1252 in
// English, GBK in Chinese), at most 4 of them.
QString GroupNameText(const Workspace& ws, int band, int group);
void StoreGroupName(Workspace& ws, int band, int group, const QString& text);

// Line-edit commands on channel row of the group.
bool LineClipboardFilled(const Workspace& ws);
void LineCopy(Workspace& ws, int band, int group, int row);
enum class RemoveResult { Nothing, Removed, LastChannel };
RemoveResult LineCut(Workspace& ws, int band, int group, int row);
RemoveResult LineDelete(Workspace& ws, int band, int group, int row);
enum class PasteResult {
    Pasted,          // the group's channels changed
    Nothing,         // not a row of an editable group: nothing to do
    ClipboardEmpty,  // nothing copied yet: nothing changed
    NoRoom,          // a new channel is needed but every slot is taken: nothing changed
    PushedOut,       // Insert&Paste would push the channel on the group's last row out: nothing changed
};
PasteResult LinePaste(Workspace& ws, int band, int group, int row);
// Moves the channels from row on one number up and pastes on row; refused
// (PushedOut) while the group's last row holds a channel, which would be lost.
PasteResult LineInsertPaste(Workspace& ws, int band, int group, int row);
// "CH A40", "CH MEM M99": the channel a refused Insert&Paste would push out.
QString PushedOutChannel(int band, int group, int language);

}  // namespace kt
