// The full CSV layout and the parts both layouts share.
#include "rules/channels/ChannelCsvParts.h"

#include "base/BoundedRead.h"
#include "model/ChannelRules.h"
#include "model/DataFileLayout.h"
#include "rules/channels/ChannelTables.h"
#include "rules/dtmf/DtmfRules.h"
#include "rules/rogerbeep/RbRules.h"

#include <QLocale>
#include <memory>
#include <algorithm>
#include <cstdint>

namespace kt {

namespace csvparts {

QString T(const Workspace& ws, const Bi& b) { return b.in(ws.CurrentLanguage); }

int NthSlot(const Workspace& ws, int band, int group, int channel, int occurrence)
{
    const int count = std::min<int>(ws.ChannelCount(band, group), kMaxSlots);
    for (int s = 1; s <= count; ++s)
        if (ws.Channels(band, s, group).ChNo == channel && occurrence-- == 0) return s;
    return 0;
}

ChannelRec StartRecord(const Workspace& ws, int band, int group, int channel, const QByteArray& digits, int occurrence)
{
    const int slot = NthSlot(ws, band, group, channel, occurrence);
    if (slot > 0) {
        ChannelRec rec = ws.Channels(band, slot, group);
        long long a = 0, b = 0;
        bool sa = false, sb = false;
        // The same frequency keeps the digits it was stored with.
        const bool same = DigitsToHz(rec.Freq.bytes(), a, sa) && DigitsToHz(digits, b, sb) && a == b && !sa;
        if (!same) rec.Freq.set(digits);
        return rec;
    }
    ChannelRec rec;
    rec.ChNo = int16_t(channel);
    rec.Used = 1;
    rec.Scan = 1;
    rec.NbAnl = 1;
    rec.Freq.set(digits);
    rec.TxFreq.set(digits);
    return rec;
}

void Commit(Workspace& ws, const Stage& stage, CsvImport& result)
{
    for (auto it = stage.groups.begin(); it != stage.groups.end(); ++it) {
        const int band = it.key().first, group = it.key().second;
        const QVector<ChannelRec>& recs = it.value();
        QList<int> before, after;
        for (int s = 1; s <= std::min<int>(ws.ChannelCount(band, group), kMaxSlots); ++s)
            before << ws.Channels(band, s, group).ChNo;
        for (const ChannelRec& r : recs) after << r.ChNo;
        std::sort(before.begin(), before.end());
        std::sort(after.begin(), after.end());
        for (int s = 1; s <= kMaxSlots; ++s)
            ws.Channels(band, s, group) = s <= recs.size() ? recs[s - 1] : ChannelRec{};
        ws.ChannelCount(band, group) = int16_t(recs.size());
        // As typing does: references are re-pointed when channels came or went.
        if (before != after) RepointChannelRefs(ws, band, group);
        result.groups.append(it.key());
        result.channels += int(recs.size());
    }
}

}  // namespace csvparts

using namespace csvparts;

namespace {

// The "More Information" fields in the order of their columns.
constexpr ChField kFields[] = {
    ChField::Busy, ChField::Rep, ChField::RxType, ChField::TxType, ChField::Scan, ChField::Public,
    ChField::Bot, ChField::Eot, ChField::Call, ChField::HiCut, ChField::NbAnl, ChField::Echo,
    ChField::Add10K, ChField::Roger, ChField::Mode};
constexpr int kFieldCount = int(std::size(kFields));
constexpr int kFirstField = 4;   // after Band, Group, Channel, Frequency

QStringList FullHeader()
{
    QStringList h{"Band", "Group", "Channel", "Frequency"};
    for (ChField f : kFields) h << ChFieldLabel(f, English);
    return h;
}

bool IsRef(ChField f) { return f == ChField::Bot || f == ChField::Eot || f == ChField::Call || f == ChField::Roger; }
bool IsTone(ChField f) { return f == ChField::RxType || f == ChField::TxType; }

// "Off", a CTCSS entry "C_008(88.5Hz)" or a DCS entry "D_012(065N)"; a value
// outside the tables as its number so that an import names it.
QString ToneText(int type, int ctcss, int dcs)
{
    static const QStringList kCtcss = CtcssList(), kDcs = DcsList();
    if (type == 0) return QStringLiteral("Off");
    if (type == 1) return ctcss >= 0 && ctcss < kCtcssCount ? kCtcss[ctcss] : QStringLiteral("C?%1").arg(ctcss);
    if (type == 2) return dcs >= 0 && dcs < kDcsCount ? kDcs[dcs] : QStringLiteral("D?%1").arg(dcs);
    return QString::number(type);
}

// The lists of a field in both languages, made once per import.
struct FieldLists {
    QStringList en, zh;
};

struct FullImporter {
    Workspace& ws;
    CsvImport& result;
    Stage stage;
    BandLimits limits[kBands];
    QMap<int, FieldLists> lists[2];   // [isMemoryGroup][field]
    QStringList ctcss = CtcssList(), dcs = DcsList();
    QStringList header;
    QList<CsvChannelRow> passed;   // every row that passed, in the order read

    FullImporter(Workspace& w, CsvImport& r, const QStringList& h) : ws(w), result(r), header(h)
    {
        for (int b = 0; b < kBands; ++b) limits[b] = LimitsOfBand(b, ws.ExtendedHf);
        const int lang = ws.CurrentLanguage;
        for (int mem = 0; mem < 2; ++mem)
            for (ChField f : kFields) {
                ws.CurrentLanguage = English;
                FieldLists fl{ChFieldList(ws, f, mem == 1), {}};
                ws.CurrentLanguage = Chinese;
                fl.zh = ChFieldList(ws, f, mem == 1);
                lists[mem][int(f)] = fl;
            }
        ws.CurrentLanguage = lang;
    }

    CsvIssue issue(int line, int column, const QString& value, const QString& reason) const
    {
        return CsvIssue{line, column, column > 0 ? header.value(column - 1).trimmed() : QString(), value, reason};
    }
    void error(int line, int column, const QString& value, const QString& reason)
    {
        result.errors.add(issue(line, column, value, reason));
    }
    // A value the radio holds though the grid would not offer it: stored as it is.
    void held(int line, int column, const QString& value, const QString& why)
    {
        result.warnings.add(issue(line, column, value, T(ws, csvtxt::Kept).arg(why)));
    }

    static int IndexIn(const QStringList& l, const QString& text)
    {
        for (int i = 0; i < l.size(); ++i)
            if (l[i].compare(text, Qt::CaseInsensitive) == 0) return i;
        return -1;
    }

    // Whether the radio holds v in field f of a channel of the group: the
    // channel file's ranges decide, as they do when a job is opened.
    static bool Holdable(ChField f, long long v, int band, int group)
    {
        if (v < INT16_MIN || v > INT16_MAX) return false;
        ChannelRec probe;
        probe.ChNo = 1;
        ChFieldRef(probe, f) = int16_t(v);
        return layout::ChannelRecordHoldable(probe, band, group);
    }

    // A number that is no entry of the grid's list: kept when the radio holds it.
    bool number(int line, int col, ChField f, int band, int group, const QString& cell, const QString& shown,
                ChannelRec& rec)
    {
        bool ok = false;
        const long long n = cell.trimmed().toLongLong(&ok);
        if (!ok) {
            error(line, col, cell, T(ws, csvtxt::NotInList).arg(shown));
            return false;
        }
        if (!Holdable(f, n, band, group)) {
            error(line, col, cell, T(ws, csvtxt::Unsupported));
            return false;
        }
        held(line, col, cell, T(ws, csvtxt::NotInList).arg(shown));
        ChFieldRef(rec, f) = int16_t(n);
        return true;
    }

    // Parses one field cell into rec; false (and an error) when the radio cannot hold it.
    bool field(int line, int col, ChField f, int band, int group, const QString& cell, ChannelRec& rec)
    {
        const bool mem = IsMemoryGroup(band, group);
        const QString text = cell.trimmed();
        const FieldLists& fl = lists[mem ? 1 : 0][int(f)];
        const QString shown = fl.en.join(", ");
        if (IsTone(f)) {
            const bool rx = f == ChField::RxType;
            int16_t& type = rx ? rec.RxToneType : rec.TxToneType;
            if (text.compare("Off", Qt::CaseInsensitive) == 0 || text == chtxt::Off.in(Chinese)) {
                type = 0;
                return true;
            }
            QString t = text;
            if (t.endsWith("Hz", Qt::CaseInsensitive)) t.chop(2);
            int i = IndexIn(ctcss, text);
            for (int k = 0; i < 0 && k < kCtcssCount; ++k)
                if (IsNumber(t) && std::abs(t.toDouble() - CtcssTone(k)) < 0.05) i = k;
            if (i >= 0) {
                type = 1;
                (rx ? rec.RxCtcss : rec.TxCtcss) = int16_t(i);
                return true;
            }
            QString d = text.toUpper();
            if (d.startsWith('D') && !d.startsWith("D_") && !d.startsWith("D?")) d.remove(0, 1);
            if (d.endsWith('N')) d.chop(1);
            i = IndexIn(dcs, text);
            for (int k = 0; i < 0 && k < kDcsCount; ++k)
                if (d.size() == 3 && d == DcsCode(k)) i = k;
            if (i >= 0) {
                type = 2;
                (rx ? rec.RxDcs : rec.TxDcs) = int16_t(i);
                return true;
            }
            // A tone index past the tables ("C?45", "D?200") or a tone type
            // past DCS, as the export writes what the radio holds.
            const QString all = QStringLiteral("Off, C_001(67.0Hz) ... C_038(250.3Hz), D_001(023N) ... D_104(754N)");
            const bool c = text.startsWith("C?", Qt::CaseInsensitive), dq = text.startsWith("D?", Qt::CaseInsensitive);
            if (c || dq) {
                const ChField index = c ? (rx ? ChField::RxCtcss : ChField::TxCtcss) : (rx ? ChField::RxDcs : ChField::TxDcs);
                if (!number(line, col, index, band, group, text.mid(2), all, rec)) return false;
                type = int16_t(c ? 1 : 2);
                return true;
            }
            return number(line, col, f, band, group, text, all, rec);
        }
        if (IsRef(f)) {
            if (text.compare(chtxt::Off.en, Qt::CaseInsensitive) == 0 || text == chtxt::Off.in(Chinese)) {
                ChFieldRef(rec, f) = 0;
                return true;
            }
            const bool roger = f == ChField::Roger;
            bool ok = false;
            const int n = text.toInt(&ok);
            if (ok && n >= 1 && n <= (roger ? kRbPatterns : kDtmfCodes)) {
                ChFieldRef(rec, f) = int16_t(n);
                // A reference to a code or a pattern that holds nothing is what
                // the radio may hold; the grid would not offer it.
                if (roger ? PatternIsDefined(ws, n) == 0 : !DtmfCodeIsUsed(ws, n))
                    held(line, col, cell, T(ws, roger ? csvtxt::NoRoger : csvtxt::EmptyDtmf).arg(n));
                return true;
            }
            return number(line, col, f, band, group, text, shown, rec);
        }
        int i = IndexIn(fl.en, text);
        if (i < 0) i = IndexIn(fl.zh, text);
        if (i >= 0) {
            ChFieldRef(rec, f) = int16_t(f == ChField::Mode ? ModeCode(fl.en[i]) : i);
            return true;
        }
        if (f == ChField::Mode && IndexIn({"FM", "AM", "USB", "LSB", "PA", "CW"}, text) >= 0) {
            ChFieldRef(rec, f) = int16_t(ModeCode(text.toUpper()));
            held(line, col, cell, T(ws, csvtxt::ModeOff).arg(text.toUpper()));
            return true;
        }
        return number(line, col, f, band, group, text, shown, rec);
    }

    static bool IsNumber(const QString& t)
    {
        bool ok = false;
        t.toDouble(&ok);
        return ok && !t.isEmpty();
    }

    void row(const CsvRow& r, const QVector<int>& at)   // at[column of the layout] = cell index
    {
        const int before = result.errors.total();
        auto cell = [&](int c) { return r.cells.value(at[c]).trimmed(); };
        auto col = [&](int c) { return at[c] + 1; };
        const QString bandText = cell(0);
        int band = -1;
        if (bandText.compare("HF", Qt::CaseInsensitive) == 0 || bandText == "0") band = 0;
        if (bandText.compare("HAM", Qt::CaseInsensitive) == 0 || bandText == "1") band = 1;
        if (band < 0) return error(r.line, col(0), bandText, T(ws, csvtxt::NoBand));
        const int group = GroupNumber(band, cell(1).toUpper());
        if (group == 0) return error(r.line, col(1), cell(1), T(ws, csvtxt::NoGroup).arg(BandName(band)));
        const bool mem = IsMemoryGroup(band, group);
        QString chText = cell(2);
        if (mem && chText.startsWith('M', Qt::CaseInsensitive)) chText.remove(0, 1);
        int ch = 0;
        const bool ok = PlainNumber(chText, ch);
        // The numbers a job can hold; past the rows the grid shows, a channel
        // is kept with a warning.
        const int most = layout::GroupCapacity(band, group), rows = GroupSize(band, group);
        if (!ok) return error(r.line, col(2), cell(2), T(ws, csvtxt::NotChannel));
        if (ch < 1 || ch > most)
            return error(r.line, col(2), cell(2), T(ws, csvtxt::NoChannel).arg(ch).arg(GroupLetter(band, group)).arg(most));
        if (ch > rows) held(r.line, col(2), cell(2), T(ws, csvtxt::PastRows).arg(rows));
        const QPair<int, int> key{band, group};
        // What a group cannot hold is not staged, so a flood of rows costs
        // no more than a full group.
        if (stage.lineOf[key].size() >= most || stage.groups[key].size() >= most)
            return error(r.line, col(2), cell(2), T(ws, csvtxt::GroupFull).arg(GroupLetter(band, group)).arg(most));
        // A number twice in a group is what a job may hold: the n-th row of a
        // number restores the n-th channel of that number.
        QList<int>& lines = stage.lineOf[key][ch];
        const int occurrence = int(lines.size());
        if (occurrence > 0)
            held(r.line, col(2), cell(2), T(ws, csvtxt::Twice).arg(ch).arg(GroupLetter(band, group)).arg(lines.first()));
        lines.append(r.line);

        const int slot = NthSlot(ws, band, group, ch, occurrence);
        const ChannelRec* base = slot > 0 ? &ws.Channels(band, slot, group) : nullptr;
        QByteArray digits;
        QString reason;
        // An empty VFO frequency is the VFO not set: the zeros a cleared radio
        // holds, or the channel's own zeros kept as they are.
        const bool ownText = base && cell(3) == FreqCellText(base->Freq.bytes()).trimmed();
        const bool vfoUnset = cell(3).isEmpty() && group == VfoGroupOf(band) && !ownText;
        if (vfoUnset) digits = base && VfoNotSet(*base, band, group) ? base->Freq.bytes() : QByteArray(8, '0');
        // A bad frequency does not stop the row: its other cells are checked too.
        switch (vfoUnset ? CellVerdict::Ok : JudgeFreqCell(ws, cell(3), limits[band], base, digits, reason)) {
        case CellVerdict::Ok: break;
        case CellVerdict::Warning: result.warnings.add(issue(r.line, col(3), cell(3), reason)); break;
        case CellVerdict::Error: error(r.line, col(3), cell(3), reason); break;
        }

        const ChannelRec start = StartRecord(ws, band, group, ch, digits, occurrence);
        ChannelRec rec = start;
        for (int i = 0; i < kFieldCount; ++i)
            field(r.line, col(kFirstField + i), kFields[i], band, group, r.cells.value(at[kFirstField + i]), rec);
        // The grid locks a public channel's values; a file may still restore them.
        if (start.PublicCh == 1 && rec.PublicCh == 1 && result.errors.total() == before) {
            ChannelRec s = start;
            for (int i = 0; i < kFieldCount; ++i)
                if (LockedByPublic(kFields[i]) && ChFieldRef(s, kFields[i]) != ChFieldRef(rec, kFields[i]))
                    held(r.line, col(kFirstField + i), r.cells.value(at[kFirstField + i]),
                         T(ws, csvtxt::Locked).arg(ChFieldText(ws, start, kFields[i], mem)));
        }
        if (result.errors.total() == before) {
            stage.groups[key].append(rec);
            passed.append(CsvChannelRow{r.line, band, group, rec});
        }
    }
};

// Reads the rows of the full layout after its header (rows[0], or the
// layout's own columns when headerless) by the import's rules; staged in imp.
void ReadFullRows(Workspace& ws, const CsvTable& table, CsvImport& result, bool headerless,
                  std::unique_ptr<FullImporter>& imp)
{
    const QStringList want = FullHeader();
    const QStringList header = headerless ? want : table.rows[0].cells;
    // The columns by name, in any order; each once, none unknown.
    QVector<int> at(want.size(), -1);
    if (headerless) {
        for (int j = 0; j < want.size(); ++j) at[j] = j;
    } else {
        const int headerLine = table.rows[0].line;
        for (int i = 0; i < header.size(); ++i) {
            int k = -1;
            for (int j = 0; j < want.size(); ++j)
                if (want[j].compare(header[i].trimmed(), Qt::CaseInsensitive) == 0) k = j;
            if (k < 0) {
                result.errors.add(CsvIssue{headerLine, i + 1, header[i], header[i],
                                           i == 0 ? T(ws, csvtxt::UnknownHeader).arg(want.join(',')) : T(ws, csvtxt::UnknownColumn)});
            } else if (at[k] >= 0) {
                result.errors.add(CsvIssue{headerLine, i + 1, header[i], header[i], T(ws, csvtxt::TwiceColumn)});
            } else {
                at[k] = i;
            }
        }
        for (int j = 0; j < want.size() && result.errors.isEmpty(); ++j)
            if (at[j] < 0) result.errors.add(CsvIssue{headerLine, 0, {}, {}, T(ws, csvtxt::MissingColumn).arg(want[j])});
        if (!result.errors.isEmpty()) return;
    }
    imp = std::make_unique<FullImporter>(ws, result, header);
    for (int i = headerless ? 0 : 1; i < table.rows.size(); ++i) {
        const CsvRow& r = table.rows[i];
        if (r.cells.size() != header.size()) {
            result.errors.add(CsvIssue{r.line, 0, {}, {}, T(ws, csvtxt::CellCount).arg(r.cells.size()).arg(header.size())});
            continue;
        }
        imp->row(r, at);
    }
}

}  // namespace

namespace {

// One channel's cells of the full layout; lists holds the group's English lists.
QStringList FullCells(int band, int group, const ChannelRec& c, const QMap<int, QStringList>& lists)
{
    const QString freq = VfoNotSet(c, band, group) ? QString() : FreqCellText(c.Freq.bytes());
    QStringList cells{BandName(band), GroupLetter(band, group), QString::number(c.ChNo), freq};
    for (ChField f : kFields) {
        const int v = ChFieldRef(const_cast<ChannelRec&>(c), f);
        if (f == ChField::RxType) cells << ToneText(c.RxToneType, c.RxCtcss, c.RxDcs);
        else if (f == ChField::TxType) cells << ToneText(c.TxToneType, c.TxCtcss, c.TxDcs);
        else if (IsRef(f)) cells << (v == 0 ? chtxt::Off.en : QString::number(v));
        else if (f == ChField::Mode) cells << (v >= 0 && v <= 5 ? ModeText(v) : QString::number(v));
        else {
            const QStringList& l = lists[int(f)];
            cells << (v >= 0 && v < l.size() ? l[v] : QString::number(v));
        }
    }
    return cells;
}

}  // namespace

QList<QStringList> FullLayoutCells(Workspace& ws, int band, int group, const QList<ChannelRec>& recs)
{
    const int lang = ws.CurrentLanguage;
    ws.CurrentLanguage = English;
    QMap<int, QStringList> lists;
    for (ChField f : kFields) lists[int(f)] = ChFieldList(ws, f, IsMemoryGroup(band, group));
    ws.CurrentLanguage = lang;
    QList<QStringList> out;
    for (const ChannelRec& c : recs) out << FullCells(band, group, c, lists);
    return out;
}

CsvExport ExportChannelsCsv(Workspace& ws)
{
    CsvExport out;
    out.bytes = CsvLine(FullHeader());
    const int lang = ws.CurrentLanguage;
    ws.CurrentLanguage = English;   // the file is always written in English
    for (int band = 0; band < kBands; ++band)
        for (int group = 1; group <= GroupsOfBand(band); ++group) {
            const bool mem = IsMemoryGroup(band, group);
            QMap<int, QStringList> lists;
            for (ChField f : kFields) lists[int(f)] = ChFieldList(ws, f, mem);
            const int count = std::min<int>(ws.ChannelCount(band, group), kMaxSlots);
            for (int s = 1; s <= count; ++s) {
                const QStringList cells = FullCells(band, group, ws.Channels(band, s, group), lists);
                out.bytes += CsvLine(cells);
                ++out.channels;
            }
        }
    ws.CurrentLanguage = lang;
    return out;
}

CsvImport ImportInterchange(Workspace& ws, const CsvTable& table, const CsvImportOptions& options);

CsvImport ImportChannelsCsv(Workspace& ws, const QByteArray& bytes, const CsvImportOptions& options)
{
    CsvImport result;
    const CsvTable table = ReadCsv(bytes, ws.CurrentLanguage);
    if (!table.error.isEmpty()) {
        result.errors.add(CsvIssue{table.errorLine, 0, {}, {}, table.error});
        return result;
    }
    if (table.rows.isEmpty()) {
        result.errors.add(CsvIssue{0, 0, {}, {}, T(ws, csvtxt::Empty)});
        return result;
    }
    // A header alone would empty the groups it names, or write a blank job.
    if (table.rows.size() == 1) {
        result.errors.add(CsvIssue{0, 0, {}, {}, T(ws, csvtxt::NoRows)});
        return result;
    }
    const QStringList& header = table.rows[0].cells;
    if (options.forceInterchange || header.value(0).trimmed().compare("Location", Qt::CaseInsensitive) == 0) {
        result = ImportInterchange(ws, table, options);
        result.layout = CsvLayout::Interchange;
        return result;
    }
    std::unique_ptr<FullImporter> imp;
    ReadFullRows(ws, table, result, false, imp);
    if (imp && result.ok()) Commit(ws, imp->stage, result);
    return result;
}

CsvRowsRead ReadFullLayoutRows(Workspace& ws, const CsvTable& table)
{
    CsvRowsRead out;
    if (table.rows.isEmpty()) {
        out.check.errors.add(CsvIssue{0, 0, {}, {}, T(ws, csvtxt::Empty)});
        return out;
    }
    const bool headerless = table.rows[0].cells.value(0).trimmed().compare("Band", Qt::CaseInsensitive) != 0;
    if (!headerless && table.rows.size() == 1) {
        out.check.errors.add(CsvIssue{0, 0, {}, {}, T(ws, csvtxt::NoRows)});
        return out;
    }
    std::unique_ptr<FullImporter> imp;
    ReadFullRows(ws, table, out.check, headerless, imp);
    if (imp && out.check.ok()) out.rows = imp->passed;
    out.check.channels = int(out.rows.size());
    return out;
}

QStringList FullLayoutHeader() { return FullHeader(); }


QString DescribeIssue(const Workspace& ws, const CsvIssue& i)
{
    QString s;
    if (i.line > 0) s = T(ws, csvtxt::Line).arg(i.line);
    if (i.column > 0) {
        s += (s.isEmpty() ? "" : ", ") + T(ws, csvtxt::Column).arg(i.column);
        if (!i.columnName.isEmpty()) s += " (" + i.columnName + ")";
    }
    if (!i.value.isEmpty() || i.column > 0) s += " \"" + i.value + "\"";
    return s.isEmpty() ? i.reason : s + ": " + i.reason;
}

void CsvIssues::add(const CsvIssue& issue)
{
    const auto before = [](const CsvIssue& a, const CsvIssue& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    };
    auto place = [&] { return std::upper_bound(first.begin(), first.end(), issue, before) - first.begin(); };
    qsizetype at = place();
    if (first.size() >= kKept) {
        ++leftOut;
        if (at >= kKept) return;
        first.removeLast();
        at = place();
    }
    first.insert(at, issue);
}

QStringList DescribeIssues(const Workspace& ws, const CsvIssues& issues)
{
    QStringList lines;
    for (const CsvIssue& i : issues.first) lines << DescribeIssue(ws, i);
    if (issues.leftOut > 0) lines << T(ws, csvtxt::MoreProblems).arg(Grouped(issues.leftOut));
    return lines;
}

QString NotGridGroupsNote(const Workspace& ws, const CsvImport& result)
{
    QStringList names;
    for (const auto& g : result.groups)
        if (!GroupEditable(g.first, g.second)) names << BandName(g.first) + " " + GroupLetter(g.first, g.second);
    return names.isEmpty() ? QString() : T(ws, csvtxt::NotGridGroups).arg(names.join(", "));
}

int PlaceGroup(const CsvPlace& place) { return place.group == 0 ? MemoryGroupOf(place.band) : place.group; }

}  // namespace kt
