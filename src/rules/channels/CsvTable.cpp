#include "rules/channels/CsvTable.h"

#include "base/BoundedRead.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <csv.h>

namespace kt {

namespace {

namespace tabletxt {
inline constexpr Bi NotText{"this is not a text file (it holds NUL bytes)", "这不是文本文件（含有 NUL 字节）"};
inline constexpr Bi Utf16{"the file is UTF-16; save it as UTF-8", "文件是 UTF-16 编码；请另存为 UTF-8"};
inline constexpr Bi NotUtf8{"the text is not UTF-8", "文本不是 UTF-8 编码"};
inline constexpr Bi BadQuote{"badly quoted field (a quote inside a field must be doubled, and every quoted field closed)",
                             "引号有误（字段内的引号须成对，每个加引号的字段须闭合）"};
// %1 the separator found, %2 the decimal mark found.
inline constexpr Bi Separators{"the file has %1 between columns and %2 as the decimal mark; expected \",\" (or \";\") "
                               "between columns and \".\" as the decimal mark",
                               "文件以 %1 分隔各列、以 %2 作小数点；应以“,”（或“;”）分隔各列、以“.”作小数点"};
inline constexpr Bi Tabs{"tabs", "制表符"};
inline constexpr Bi TooLarge{"the file is larger than 16 MB; a job's channels fit in under 200 kB",
                             "文件大于 16 MB；一个任务的信道不到 200 kB"};
}  // namespace tabletxt

// UTF-16 with or without its byte-order mark: text of this kind has a NUL
// in every other byte.
bool LooksUtf16(QByteArrayView text)
{
    if (text.startsWith("\xFF\xFE") || text.startsWith("\xFE\xFF")) return true;
    const qsizetype n = std::min<qsizetype>(text.size(), 256) & ~qsizetype(1);
    int even = 0, odd = 0;
    for (qsizetype i = 0; i < n; i += 2) {
        even += text[i] == '\0';
        odd += text[i + 1] == '\0';
    }
    return n >= 4 && std::max(even, odd) * 2 >= n / 2 && std::min(even, odd) == 0;
}

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

// The separator of the header line: whichever of ",", ";" and a tab it holds
// most of outside quotes.
char DetectSeparator(QByteArrayView text)
{
    int commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (char ch : text) {
        if (ch == '"') quoted = !quoted;
        else if (!quoted && (ch == '\n' || ch == '\r')) break;
        else if (!quoted && ch == ',') ++commas;
        else if (!quoted && ch == ';') ++semicolons;
        else if (!quoted && ch == '\t') ++tabs;
    }
    if (tabs > commas && tabs > semicolons) return '\t';
    return semicolons > commas ? ';' : ',';
}

// "," when a cell of the rows holds a number with a decimal comma ("28,015000").
char DecimalMark(const CsvTable& table)
{
    static const QRegularExpression comma(QStringLiteral("^\\s*\\d+,\\d+\\s*$"));
    for (qsizetype i = 1; i < table.rows.size(); ++i)
        for (const QString& cell : table.rows[i].cells)
            if (comma.match(cell).hasMatch()) return ',';
    return '.';
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

namespace {

CsvTable ReadTable(const QByteArray& bytes, int language, char forced)
{
    CsvTable table;
    QByteArrayView text(bytes);
    if (text.startsWith("\xEF\xBB\xBF")) text = text.sliced(3);
    if (LooksUtf16(text)) {
        table.error = tabletxt::Utf16.in(language);
        return table;
    }
    if (text.contains('\0')) {
        table.error = tabletxt::NotText.in(language);
        table.errorLine = 1;
        return table;
    }
    table.separator = forced ? forced : DetectSeparator(text);

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
                          ? tabletxt::BadQuote.in(language)
                          : QString::fromLatin1(csv_strerror(csv_error(&p)));
        table.errorLine = c.startLine ? c.startLine : c.currentLine;
    } else if (c.badText) {
        table.error = tabletxt::NotUtf8.in(language);
        table.errorLine = c.badTextLine;
    }
    csv_free(&p);
    // One line for a whole file in a spreadsheet's other form, not one per row.
    if (table.error.isEmpty() && table.separator != ',' && !forced) {
        const char mark = DecimalMark(table);
        if (table.separator == '\t' || mark == ',') {
            const QString sep = table.separator == '\t' ? tabletxt::Tabs.in(language) : QStringLiteral("\";\"");
            table.error = tabletxt::Separators.in(language).arg(sep, QStringLiteral("\"%1\"").arg(QChar(mark)));
            table.errorLine = 0;
            table.rows.clear();
        }
    }
    return table;
}

}  // namespace

CsvTable ReadCsv(const QByteArray& bytes, int language) { return ReadTable(bytes, language, 0); }

CsvTable ReadTabSeparated(const QByteArray& bytes, int language) { return ReadTable(bytes, language, '\t'); }

bool ReadCsvFile(const QString& path, int language, QByteArray& bytes, QString& error)
{
    BoundedRead r = ReadBounded(path, kMaxCsvBytes, true);
    if (!r.ok()) {
        error = r.status == BoundedRead::TooLarge ? tabletxt::TooLarge.in(language) : r.why(language, kMaxCsvBytes);
        return false;
    }
    bytes = std::move(r.bytes);
    return true;
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
