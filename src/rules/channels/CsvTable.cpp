#include "rules/channels/CsvTable.h"

#include <QStringDecoder>
#include <csv.h>

namespace kt {

namespace {

struct Collect {
    CsvTable* table;
    QStringList cells;
    int startLine = 0;      // line where the row being read began; 0 between rows
    int currentLine = 0;
    bool badText = false;
    int badTextLine = 0;
};

QString DecodeCell(Collect& c, const char* s, size_t len)
{
    QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = dec.decode(QByteArrayView(s, qsizetype(len)));
    if (dec.hasError() && !c.badText) {
        c.badText = true;
        c.badTextLine = c.startLine ? c.startLine : c.currentLine;
    }
    return text;
}

void OnField(void* s, size_t len, void* data)
{
    auto& c = *static_cast<Collect*>(data);
    if (c.startLine == 0) c.startLine = c.currentLine;
    c.cells << DecodeCell(c, static_cast<const char*>(s), len);
}

void OnRow(int, void* data)
{
    auto& c = *static_cast<Collect*>(data);
    c.table->rows.append(CsvRow{c.startLine ? c.startLine : c.currentLine, c.cells});
    c.cells.clear();
    c.startLine = 0;
}

// The separator of the header line: whichever of "," and ";" it holds more
// of outside quotes.
char DetectSeparator(QByteArrayView text)
{
    int commas = 0, semicolons = 0;
    bool quoted = false;
    for (char ch : text) {
        if (ch == '"') quoted = !quoted;
        else if (!quoted && (ch == '\n' || ch == '\r')) break;
        else if (!quoted && ch == ',') ++commas;
        else if (!quoted && ch == ';') ++semicolons;
    }
    return semicolons > commas ? ';' : ',';
}

bool NeedsQuotes(const QString& cell, char separator)
{
    if (cell.isEmpty()) return false;
    if (cell.front().isSpace() || cell.back().isSpace()) return true;
    for (QChar ch : cell)
        if (ch == QLatin1Char(separator) || ch == '"' || ch == '\n' || ch == '\r') return true;
    return false;
}

}  // namespace

CsvTable ReadCsv(const QByteArray& bytes)
{
    CsvTable table;
    QByteArrayView text(bytes);
    if (text.startsWith("\xEF\xBB\xBF")) text = text.sliced(3);
    if (text.contains('\0')) {
        table.error = QStringLiteral("this is not a text file (it holds NUL bytes)");
        table.errorLine = 1;
        return table;
    }
    table.separator = DetectSeparator(text);

    csv_parser p;
    if (csv_init(&p, CSV_STRICT | CSV_STRICT_FINI) != 0) {
        table.error = QStringLiteral("out of memory");
        return table;
    }
    csv_set_delim(&p, static_cast<unsigned char>(table.separator));
    Collect c{&table, {}, 0, 0, false, 0};
    // Fed line by line so that each row knows the line it starts on.
    qsizetype pos = 0;
    bool failed = false;
    while (pos < text.size() && !failed) {
        qsizetype end = text.indexOf('\n', pos);
        end = end < 0 ? text.size() : end + 1;
        ++c.currentLine;
        const size_t len = size_t(end - pos);
        if (csv_parse(&p, text.data() + pos, len, OnField, OnRow, &c) != len) failed = true;
        pos = end;
    }
    if (!failed && csv_fini(&p, OnField, OnRow, &c) != 0) failed = true;
    if (failed) {
        table.error = csv_error(&p) == CSV_EPARSE
                          ? QStringLiteral("badly quoted field (a quote inside a field must be doubled, and every quoted field closed)")
                          : QString::fromLatin1(csv_strerror(csv_error(&p)));
        table.errorLine = c.startLine ? c.startLine : c.currentLine;
    } else if (c.badText) {
        table.error = QStringLiteral("the text is not UTF-8");
        table.errorLine = c.badTextLine;
    }
    csv_free(&p);
    return table;
}

QByteArray CsvLine(const QStringList& cells, char separator)
{
    QByteArray out;
    for (int i = 0; i < cells.size(); ++i) {
        if (i) out += separator;
        const QString& cell = cells[i];
        if (NeedsQuotes(cell, separator)) {
            QString q = cell;
            q.replace('"', QStringLiteral("\"\""));
            out += '"' + q.toUtf8() + '"';
        } else {
            out += cell.toUtf8();
        }
    }
    out += "\r\n";
    return out;
}

}  // namespace kt
