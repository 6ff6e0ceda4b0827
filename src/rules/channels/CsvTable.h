// Reading and writing comma-separated tables: RFC 4180 quoting (libcsv does
// the parsing), UTF-8 with or without a byte-order mark, CRLF or LF, and ","
// or ";" as the separator (spreadsheets with a decimal comma write ";").
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace kt {

struct CsvRow {
    int line = 0;          // line of the file the row starts on (1-based)
    QStringList cells;
};

struct CsvTable {
    QList<CsvRow> rows;    // the header is rows[0]; blank lines are left out
    char separator = ',';
    QString error;         // set when the bytes are not a CSV table
    int errorLine = 0;
};

// Parses the whole text; on error `error` (in language) and `errorLine` say
// what and where and `rows` holds what came before it.  A file in UTF-16, one
// with tabs between its columns, or one with ";" between columns and decimal
// commas is refused as a whole, naming what was found and what is expected.
CsvTable ReadCsv(const QByteArray& bytes, int language = 1);

// Tab-separated text as a spreadsheet puts it on the clipboard: the same
// quoting and text rules, a tab between the columns.
CsvTable ReadTabSeparated(const QByteArray& bytes, int language = 1);

// A CSV file holds a job's channels in well under 200 kB; a larger one is
// refused before it is parsed.
inline constexpr qint64 kMaxCsvBytes = 16 * 1024 * 1024;
// The whole of path (a regular file), or of standard input for "-", up to
// kMaxCsvBytes.  False with error set in language.
bool ReadCsvFile(const QString& path, int language, QByteArray& bytes, QString& error);

// One row of output: cells quoted where they must be, ended by CRLF.
QByteArray CsvLine(const QStringList& cells, char separator = ',');

}  // namespace kt
