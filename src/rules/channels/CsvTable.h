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

// Parses the whole text; on error `error` and `errorLine` say what and where
// and `rows` holds what came before it.
CsvTable ReadCsv(const QByteArray& bytes);

// One row of output: cells quoted where they must be, ended by CRLF.
QByteArray CsvLine(const QStringList& cells, char separator = ',');

}  // namespace kt
