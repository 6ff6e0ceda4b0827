// Several rows of one group at once: a detail field set on every selected
// channel, and rows copied, cut, deleted and pasted together -- into any group
// of either band, each pasted channel checked against the group it lands in.
// All or nothing: an action that cannot place or remove every row changes
// nothing and says which rows and why.
#pragma once

#include "model/EditStep.h"
#include "rules/channels/ChannelCsv.h"
#include "rules/channels/ChannelEdit.h"
#include "rules/channels/ChannelTables.h"

#include <QList>

namespace kt {

namespace rowtxt {
inline constexpr Bi Caption{"More Information -- %1 channels", "更多信息 -- %1 个信道"};
inline constexpr Bi StepOf{"%1 of %2 channels", "%2 个信道的%1"};
inline constexpr Bi Row{"row %1", "第 %1 行"};
inline constexpr Bi Column{"column %1", "第 %1 列"};
inline constexpr Bi PastGroup{"lands on channel %1, past the group's %2 rows", "落在信道 %1，超出本组的 %2 行"};
inline constexpr Bi SameRow{"lands on channel %1 as another pasted row does", "与另一粘贴行落在同一信道 %1"};
inline constexpr Bi NotHeld{"the target group cannot hold this channel's values", "目标组无法保存本信道的值"};
inline constexpr Bi NoRoom{"every slot of the group is taken", "本组的存储位置已满"};
inline constexpr Bi NotPlaced{"Nothing was pasted; these rows cannot be placed:", "未粘贴任何内容；以下各行无法放置："};
inline constexpr Bi BadText{"Nothing was pasted; the tab-separated rows have these problems:",
                            "未粘贴任何内容；制表符分隔的各行有以下问题："};
inline constexpr Bi LastChannel{"Nothing was removed: the band's last channel would go with them.",
                                "未删除任何信道：频段的最后一个信道会随之删除。"};
}  // namespace rowtxt

// The channel numbers among rows whose channel the grid shows, ascending.
QList<int> HeldRows(const Workspace& ws, int band, int group, const QList<int>& rows);

// The entry the detail panel shows for f over the channels of rows: their
// common entry, or empty when they differ.
QString CommonFieldText(const Workspace& ws, int band, int group, const QList<int>& rows, ChField f);
// The tone type the channels share, -1 when they differ.
int CommonToneType(const Workspace& ws, int band, int group, const QList<int>& rows, bool rx);
bool AnyPublic(const Workspace& ws, int band, int group, const QList<int>& rows);
// Sets the entry on every channel of rows; a field a public channel locks is
// left alone on such a channel.  The number of channels changed.
int SetFieldOnRows(Workspace& ws, int band, int group, const QList<int>& rows, ChField f, const QString& text,
                   int index);
// "Mode of 12 channels"
StepName RowsStepName(ChField f, int count);

// Rows copied from a group or read from tab-separated text.
struct RowClip {
    int band = 0, group = 0;   // where copied rows came from
    QList<int> offsets;        // each channel's number less the first one's
    QList<ChannelRec> recs;
    QList<int> lines;          // rows read from text: the line of each; empty for copied rows
    bool isEmpty() const { return recs.isEmpty(); }
};
RowClip CopyRows(const Workspace& ws, int band, int group, const QList<int>& rows);
// The program's own clipboard form, and back (false for anything else).
QByteArray EncodeRowClip(const RowClip& clip);
bool DecodeRowClip(const QByteArray& bytes, RowClip& clip);
// Tab-separated text: the full CSV layout's header, then one line per channel.
QByteArray RowClipText(Workspace& ws, const RowClip& clip);
// Rows of tab-separated text (header optional) by the CSV import's rules.
// Problems name the line and column; clip is filled only when there are none.
QStringList ReadRowClipText(Workspace& ws, const QByteArray& text, RowClip& clip);

struct RowsPaste {
    PasteResult result = PasteResult::Nothing;
    QStringList problems;      // rows that cannot be placed, and why
    int placed = 0;
    bool ok() const { return result == PasteResult::Pasted; }
};
// Places the clip's channels from row on (keeping their spacing).  Insert
// first moves the channels from row on up by the clip's span; refused when
// that would push a channel out of the group.  Every pasted frequency passes
// the target band's range and raster check; DTMF and roger-beep references
// the job does not hold become OFF.
RowsPaste PasteRows(Workspace& ws, int band, int group, int row, const RowClip& clip, bool insert);

// Removes the channels of rows; when the band's last channel would go too,
// nothing is removed (LastChannel).
RemoveResult RemoveRows(Workspace& ws, int band, int group, const QList<int>& rows);

}  // namespace kt
