// Finding channels across the job, and sorting a group's channels by
// frequency.  A query is what the user types in the find box or the filter:
// a frequency ("27.185", "27185" or a prefix such as "27.1"), a tone ("67.0",
// "D023") or a mode ("USB").  A channel matches when any of them fits.
#pragma once

#include "base/Texts.h"
#include "model/Workspace.h"

#include <QString>
#include <vector>

namespace kt {

namespace findtxt {
inline constexpr Bi SortStep{"Sort by Frequency", "按频率排序"};
inline constexpr Bi NotFound{"No channel matches \"%1\".", "没有与“%1”匹配的信道。"};
inline constexpr Bi Found{"Match %1 of %2 for \"%3\".", "“%3”的第 %1 个匹配，共 %2 个。"};
inline constexpr Bi NothingToSort{"Fewer than two channels to sort.", "要排序的信道少于两个。"};
}  // namespace findtxt

class ChannelQuery {
public:
    explicit ChannelQuery(const QString& text);
    bool IsEmpty() const { return text_.isEmpty(); }
    bool Matches(const ChannelRec& rec) const;

private:
    QString text_;
    QString pointed_;    // a frequency prefix with its point ("27.1")
    QString digits_;     // a frequency prefix without a point ("27185")
    int ctcss_ = -1;     // the CTCSS index the text names
    int dcs_ = -1;       // the DCS index the text names
    int mode_ = -1;      // the mode the text names
};

struct ChannelPlace {
    int band = 0, group = 0, channel = 0;
    bool operator==(const ChannelPlace& o) const { return band == o.band && group == o.group && channel == o.channel; }
};

// Every channel that matches, in the order the window walks them: band 0
// then band 1, the groups the group selector offers in their order, channel
// numbers ascending.
std::vector<ChannelPlace> FindChannels(const Workspace& ws, const ChannelQuery& query);
// The match after (or before) from, wrapping around; -1 when there is none.
int NextMatch(const std::vector<ChannelPlace>& matches, const ChannelPlace& from, bool forward);

// Whether the grid row for channel number `channel` of a group shows a
// channel the query matches; an empty query matches every row.
bool RowMatches(const Workspace& ws, int band, int group, int channel, const ChannelQuery& query);
// Rows 0..rowCount-1 of a group's grid in the order a click on a column
// header shows them: by frequency when byFrequency (rows without a channel
// last either way), else by row; descending when down.  Equal keys keep
// their order.
std::vector<int> SortedRows(const Workspace& ws, int band, int group, int rowCount, bool byFrequency, bool down);

// Puts the channels of the given rows (every row of the group when empty)
// on the same channel numbers in ascending frequency order, with all their
// values, as one undo step; the group's emergency channels and its memory
// channel follow their channels.  Returns how many channels changed number.
int SortChannelsByFrequency(Workspace& ws, int band, int group, const std::vector<int>& rows);

}  // namespace kt
