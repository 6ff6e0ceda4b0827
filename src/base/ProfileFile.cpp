#include "base/ProfileFile.h"

#include <QFile>
#include <QSaveFile>
#include <QList>

namespace kt {

namespace {

// A value is read into a buffer of 512 characters, terminator included.
constexpr int kValueBuffer = 512;

QByteArray Trimmed(const QByteArray& s) { return s.trimmed(); }

// "[name]" -> name; empty optional when the line is not a section header.
bool SectionName(const QByteArray& line, QByteArray& name)
{
    const QByteArray t = Trimmed(line);
    if (!t.startsWith('[')) return false;
    int close = t.indexOf(']');
    name = Trimmed(close < 0 ? t.mid(1) : t.mid(1, close - 1));
    return true;
}

bool IsComment(const QByteArray& trimmed)
{
    return trimmed.startsWith(';') || trimmed.startsWith('#');
}

// "key = value" -> key and value (both trimmed); false for lines without '='.
bool KeyValue(const QByteArray& line, QByteArray& key, QByteArray& value)
{
    const QByteArray t = Trimmed(line);
    if (t.isEmpty() || IsComment(t)) return false;
    int eq = t.indexOf('=');
    if (eq < 0) return false;
    key = Trimmed(t.left(eq));
    value = Trimmed(t.mid(eq + 1));
    return true;
}

bool SameName(const QByteArray& a, const QString& b)
{
    return QString::fromUtf8(a).compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// The file split into lines, remembering which line break it uses.
struct Document {
    QList<QByteArray> lines;
    QByteArray eol = "\r\n";
    bool endsWithEol = true;

    void parse(const QByteArray& bytes)
    {
        lines.clear();
        if (bytes.isEmpty()) return;
        int firstLf = bytes.indexOf('\n');
        eol = (firstLf > 0 && bytes[firstLf - 1] == '\r') || firstLf < 0 ? "\r\n" : "\n";
        int start = 0;
        while (start < bytes.size()) {
            int lf = bytes.indexOf('\n', start);
            if (lf < 0) {
                lines << bytes.mid(start);
                endsWithEol = false;
                break;
            }
            int end = lf;
            if (end > start && bytes[end - 1] == '\r') --end;
            lines << bytes.mid(start, end - start);
            start = lf + 1;
            endsWithEol = true;
        }
    }

    QByteArray join() const
    {
        QByteArray out;
        for (int i = 0; i < lines.size(); ++i) {
            out += lines[i];
            if (i + 1 < lines.size() || endsWithEol) out += eol;
        }
        return out;
    }

    // Index of the header of the first section with that name, -1 when none.
    int findSection(const QString& section) const
    {
        for (int i = 0; i < lines.size(); ++i) {
            QByteArray name;
            if (SectionName(lines[i], name) && SameName(name, section)) return i;
        }
        return -1;
    }

    // Index one past the last line of the section whose header is at h.
    int sectionEnd(int h) const
    {
        QByteArray name;
        int i = h + 1;
        while (i < lines.size() && !SectionName(lines[i], name)) ++i;
        return i;
    }

    int findKey(int h, const QString& key, QByteArray* value = nullptr) const
    {
        const int end = sectionEnd(h);
        for (int i = h + 1; i < end; ++i) {
            QByteArray k, v;
            if (KeyValue(lines[i], k, v) && SameName(k, key)) {
                if (value) *value = v;
                return i;
            }
        }
        return -1;
    }
};

bool LoadDocument(const QString& path, Document& doc)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    doc.parse(f.readAll());
    return true;
}

// Cut at the first NUL, drop trailing spaces, keep what fits the buffer.
QString CleanValue(QByteArray v)
{
    int nul = v.indexOf('\0');
    if (nul >= 0) v.truncate(nul);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    if (v.size() > kValueBuffer - 1) v.truncate(kValueBuffer - 1);
    while (!v.isEmpty() && v.back() == ' ') v.chop(1);
    return QString::fromUtf8(v);
}

// A value may not break the file into further lines.
QByteArray SingleLine(const QString& value)
{
    QByteArray v = value.toUtf8();
    for (char stop : {'\r', '\n', '\0'}) {
        int at = v.indexOf(stop);
        if (at >= 0) v.truncate(at);
    }
    return v;
}

}  // namespace

QString ReadProfileString(const QString& path, const QString& section, const QString& key,
                          const QString& defaultValue)
{
    Document doc;
    if (!LoadDocument(path, doc)) return defaultValue;
    int h = doc.findSection(section);
    if (h < 0) return defaultValue;
    QByteArray value;
    if (doc.findKey(h, key, &value) < 0) return defaultValue;
    return CleanValue(value);
}

bool WriteProfileString(const QString& path, const QString& section, const QString& key,
                        const QString& value)
{
    Document doc;
    if (QFile::exists(path) && !LoadDocument(path, doc)) return false;

    const QByteArray entry = SingleLine(key.trimmed()) + "=" + SingleLine(value);
    int h = doc.findSection(section);
    if (h < 0) {
        if (!doc.lines.isEmpty() && !Trimmed(doc.lines.back()).isEmpty()) doc.lines << QByteArray();
        doc.lines << "[" + SingleLine(section.trimmed()) + "]" << entry;
        doc.endsWithEol = true;
    } else if (int k = doc.findKey(h, key); k >= 0) {
        doc.lines[k] = entry;
    } else {
        // After the section's last non-blank line, so blank separators stay where they are.
        int at = doc.sectionEnd(h);
        while (at > h + 1 && Trimmed(doc.lines[at - 1]).isEmpty()) --at;
        doc.lines.insert(at, entry);
        if (at == doc.lines.size() - 1) doc.endsWithEol = true;
    }

    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = doc.join();
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

}  // namespace kt
