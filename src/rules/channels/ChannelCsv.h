// Channels in and out of CSV files, in two layouts:
//   full:        Band,Group,Channel,Frequency and every "More Information"
//                field under its English label, values as the lists show them;
//   interchange: the column layout channel-plan spreadsheets and other radio
//                programs share (Location,Name,Frequency,Duplex,...), one group.
// An import is all-or-nothing: problems come back as data (line, column,
// value, reason in the workspace's language) and the workspace is changed only
// when there are none.  The full layout restores what a radio holds: a value
// the grid would not offer but the radio holds (a frequency outside the band,
// a reference to an empty DTMF code, a number past a list) is kept as it is
// with a warning; only what the radio cannot hold is an error.  So a job's own
// export imports back into it unchanged.  A group named in the file is replaced by the file's channels; the
// other groups, the group settings and the options stay as they are.
#pragma once

#include "model/Workspace.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace kt {

enum class CsvLayout { Full, Interchange };

struct CsvIssue {
    int line = 0;          // line of the file (1-based); 0: the file as a whole
    int column = 0;        // 1-based; 0: the row as a whole
    QString columnName;
    QString value;
    QString reason;
};

struct CsvPlace {           // the one group of the interchange layout
    int band = 0;
    int group = 0;          // 0: the memory group of the band
};

struct CsvExport {
    QByteArray bytes;
    QList<CsvIssue> errors;     // values the layout cannot hold: nothing to write
    QList<CsvIssue> warnings;   // values left out (dropUnsupported)
    int channels = 0;
};

// The first issues of a kind, in file order (line, then column), and how many
// more there were: a file of a million bad rows costs no more than fifty.
struct CsvIssues {
    static constexpr int kKept = 50;
    QList<CsvIssue> first;
    int leftOut = 0;
    void add(const CsvIssue& issue);
    int total() const { return int(first.size()) + leftOut; }
    bool isEmpty() const { return first.isEmpty(); }
    // The kept issues, as a list.
    qsizetype size() const { return first.size(); }
    const CsvIssue& operator[](qsizetype i) const { return first[i]; }
    CsvIssue value(qsizetype i) const { return first.value(i); }
    auto begin() const { return first.begin(); }
    auto end() const { return first.end(); }
};

struct CsvImport {
    CsvLayout layout = CsvLayout::Full;
    CsvIssues errors;     // any error: the workspace is unchanged
    CsvIssues warnings;   // values kept as they are, or left out (dropUnsupported)
    QList<QPair<int, int>> groups;   // (band, group) replaced
    int channels = 0;
    bool ok() const { return errors.isEmpty(); }
};

struct CsvImportOptions {
    bool forceInterchange = false;   // refuse a file that is not the interchange layout
    CsvPlace place;                  // interchange only
    bool dropUnsupported = false;    // interchange only: leave out what cannot be held, with a warning
};

// The full layout: every channel of every group of both bands, in slot order.
CsvExport ExportChannelsCsv(Workspace& ws);
// The interchange layout: the channels of one group in channel order.
CsvExport ExportInterchangeCsv(Workspace& ws, CsvPlace place, bool dropUnsupported);

// Detects the layout from the header.
CsvImport ImportChannelsCsv(Workspace& ws, const QByteArray& bytes, const CsvImportOptions& options = {});

// The full layout's header, and the cells of channels of a group as the
// export writes them.
QStringList FullLayoutHeader();
QList<QStringList> FullLayoutCells(Workspace& ws, int band, int group, const QList<ChannelRec>& recs);

// Rows of the full layout read by the import's rules, without storing them:
// each row's channel as an import would make it.  The header is optional:
// a table whose first cell is not "Band" is read in the layout's own column
// order.  No rows when there is any error.
struct CsvChannelRow {
    int line = 0;
    int band = 0;
    int group = 0;
    ChannelRec rec;
};
struct CsvTable;
struct CsvRowsRead {
    CsvImport check;
    QList<CsvChannelRow> rows;
};
CsvRowsRead ReadFullLayoutRows(Workspace& ws, const CsvTable& table);

// "line 3, column 4 (Frequency) \"31.0\": reason", in the workspace's language.
QString DescribeIssue(const Workspace& ws, const CsvIssue& issue);
// One line per issue kept, then "… and 676,847 more problems" when some were left out.
QStringList DescribeIssues(const Workspace& ws, const CsvIssues& issues);

// "Changed group(s) the channel grid does not edit: HAM A, HAM VFO" when the
// import replaced such groups (the grid edits the HAM band's MEM only); empty
// otherwise.  In the workspace's language.
QString NotGridGroupsNote(const Workspace& ws, const CsvImport& result);

// The group of an interchange place (0 resolved to the memory group).
int PlaceGroup(const CsvPlace& place);

}  // namespace kt
