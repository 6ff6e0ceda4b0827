// The full CSV layout and the parts both layouts share.
#include "rules/channels/ChannelCsvParts.h"

#include "model/ChannelRules.h"
#include "rules/channels/ChannelTables.h"
#include "rules/dtmf/DtmfRules.h"
#include "rules/rogerbeep/RbRules.h"

#include <QLocale>
#include <algorithm>

namespace kt {

namespace csvparts {

QString T(const Workspace& ws, const Bi& b) { return b.in(ws.CurrentLanguage); }

bool ParseFreqCell(const Workspace& ws, const QString& raw, const BandLimits& limits, long long& hz,
                   QByteArray& digits, QString& reason)
{
    const QString text = raw.trimmed();
    if (text.isEmpty()) {
        reason = T(ws, csvtxt::NoFreq);
        return false;
    }
    const int point = int(text.indexOf('.'));
    const QString whole = point < 0 ? text : text.left(point);
    QString fraction = point < 0 ? QString() : text.mid(point + 1);
    auto digitsOnly = [](const QString& s) {
        for (QChar c : s)
            if (c < '0' || c > '9') return false;
        return true;
    };
    if (whole.isEmpty() || whole.size() > 4 || !digitsOnly(whole) || !digitsOnly(fraction)) {
        reason = T(ws, csvtxt::NotFreq);
        return false;
    }
    bool subHz = false;
    for (int i = 6; i < fraction.size(); ++i)
        if (fraction[i] != '0') subHz = true;
    const bool six = fraction.size() >= 6;
    fraction = fraction.left(6);
    hz = whole.toLongLong() * 1000000 + fraction.leftJustified(6, '0').toLongLong();
    const FreqVerdict v = JudgeHz(limits, hz);
    if (v == FreqVerdict::OutOfRange) {
        reason = T(ws, csvtxt::OutOfRange).arg(LimitsText(limits));
        return false;
    }
    if (v == FreqVerdict::OffRaster || subHz) {
        reason = T(ws, csvtxt::OffRaster);
        return false;
    }
    const QString mhz = whole.rightJustified(2, '0');
    digits = (mhz + fraction.leftJustified(six ? 6 : 5, '0')).toLatin1();
    return true;
}

QString FreqCellText(const QByteArray& raw)
{
    QByteArray d = raw;
    const int nul = d.indexOf('\0');
    if (nul >= 0) d.truncate(nul);
    d = d.trimmed();
    long long hz = 0;
    bool subHz = false;
    if (d == "FFFFFFFF" || !DigitsToHz(d, hz, subHz)) return QString::fromLatin1(d);
    return QString::fromLatin1(d.left(2)) + '.' + QString::fromLatin1(d.mid(2)).leftJustified(5, '0');
}

ChannelRec StartRecord(const Workspace& ws, int band, int group, int channel, const QByteArray& digits)
{
    const int slot = FindSlot(ws, band, group, channel);
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

    void error(int line, int column, const QString& value, const QString& reason)
    {
        result.errors.append(CsvIssue{line, column, column > 0 ? header.value(column - 1).trimmed() : QString(), value, reason});
    }

    static int IndexIn(const QStringList& l, const QString& text)
    {
        for (int i = 0; i < l.size(); ++i)
            if (l[i].compare(text, Qt::CaseInsensitive) == 0) return i;
        return -1;
    }

    // Parses one field cell into rec; false (and an error) when it cannot be held.
    bool field(int line, int col, ChField f, bool mem, const QString& cell, ChannelRec& rec)
    {
        const QString text = cell.trimmed();
        const FieldLists& fl = lists[mem ? 1 : 0][int(f)];
        const QString shown = fl.en.join(", ");
        if (IsTone(f)) {
            int16_t& type = f == ChField::RxType ? rec.RxToneType : rec.TxToneType;
            int16_t& ct = f == ChField::RxType ? rec.RxCtcss : rec.TxCtcss;
            int16_t& dc = f == ChField::RxType ? rec.RxDcs : rec.TxDcs;
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
                ct = int16_t(i);
                return true;
            }
            QString d = text.toUpper();
            if (d.startsWith('D') && !d.startsWith("D_")) d.remove(0, 1);
            if (d.endsWith('N')) d.chop(1);
            i = IndexIn(dcs, text);
            for (int k = 0; i < 0 && k < kDcsCount; ++k)
                if (d.size() == 3 && d == DcsCode(k)) i = k;
            if (i >= 0) {
                type = 2;
                dc = int16_t(i);
                return true;
            }
            error(line, col, cell, T(ws, csvtxt::NotInList).arg("Off, C_001(67.0Hz) ... C_038(250.3Hz), D_001(023N) ... D_104(754N)"));
            return false;
        }
        if (IsRef(f)) {
            if (text.compare(chtxt::Off.en, Qt::CaseInsensitive) == 0 || text == chtxt::Off.in(Chinese)) {
                ChFieldRef(rec, f) = 0;
                return true;
            }
            bool ok = false;
            const int n = text.toInt(&ok);
            const bool roger = f == ChField::Roger;
            if (!ok || n < 1 || n > (roger ? kRbPatterns : kDtmfCodes)) {
                error(line, col, cell, T(ws, csvtxt::NotInList).arg(shown));
                return false;
            }
            if (roger ? PatternIsDefined(ws, n) == 0 : !DtmfCodeIsUsed(ws, n)) {
                error(line, col, cell, T(ws, roger ? csvtxt::NoRoger : csvtxt::EmptyDtmf).arg(n));
                return false;
            }
            ChFieldRef(rec, f) = int16_t(n);
            return true;
        }
        int i = IndexIn(fl.en, text);
        if (i < 0) i = IndexIn(fl.zh, text);
        if (i < 0) {
            if (f == ChField::Mode && IndexIn({"FM", "AM", "USB", "LSB", "PA", "CW"}, text) >= 0)
                error(line, col, cell, T(ws, csvtxt::ModeOff).arg(text.toUpper()));
            else
                error(line, col, cell, T(ws, csvtxt::NotInList).arg(shown));
            return false;
        }
        ChFieldRef(rec, f) = int16_t(f == ChField::Mode ? ModeCode(fl.en[i]) : i);
        return true;
    }

    static bool IsNumber(const QString& t)
    {
        bool ok = false;
        t.toDouble(&ok);
        return ok && !t.isEmpty();
    }

    void row(const CsvRow& r, const QVector<int>& at)   // at[column of the layout] = cell index
    {
        const int before = int(result.errors.size());
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
        bool ok = false;
        const int ch = chText.toInt(&ok);
        // Lettered groups keep the channels 41-46 the templates give them.
        const int most = mem || IsVfoGroup(band, group) ? GroupSize(band, group) : 46;
        if (!ok) return error(r.line, col(2), cell(2), T(ws, csvtxt::NotChannel));
        if (ch < 1 || ch > most)
            return error(r.line, col(2), cell(2), T(ws, csvtxt::NoChannel).arg(ch).arg(GroupLetter(band, group)).arg(most));
        const QPair<int, int> key{band, group};
        if (stage.lineOf[key].contains(ch))
            return error(r.line, col(2), cell(2),
                         T(ws, csvtxt::Twice).arg(ch).arg(GroupLetter(band, group)).arg(stage.lineOf[key][ch]));
        stage.lineOf[key][ch] = r.line;
        long long hz = 0;
        QByteArray digits;
        QString reason;
        // A bad frequency does not stop the row: its other cells are checked too.
        if (!ParseFreqCell(ws, cell(3), limits[band], hz, digits, reason)) error(r.line, col(3), cell(3), reason);

        const ChannelRec start = StartRecord(ws, band, group, ch, digits);
        ChannelRec rec = start;
        for (int i = 0; i < kFieldCount; ++i)
            field(r.line, col(kFirstField + i), kFields[i], mem, r.cells.value(at[kFirstField + i]), rec);
        // A public channel's locked values can only change once Public is OFF.
        if (start.PublicCh == 1 && rec.PublicCh == 1 && result.errors.size() == before) {
            ChannelRec s = start;
            for (int i = 0; i < kFieldCount; ++i)
                if (LockedByPublic(kFields[i]) && ChFieldRef(s, kFields[i]) != ChFieldRef(rec, kFields[i]))
                    error(r.line, col(kFirstField + i), r.cells.value(at[kFirstField + i]),
                          T(ws, csvtxt::Locked).arg(ChFieldText(ws, start, kFields[i], mem)));
        }
        if (result.errors.size() == before) stage.groups[key].append(rec);
    }
};

}  // namespace

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
                ChannelRec c = ws.Channels(band, s, group);
                QStringList cells{BandName(band), GroupLetter(band, group), QString::number(c.ChNo), FreqCellText(c.Freq.bytes())};
                for (ChField f : kFields) {
                    const int v = ChFieldRef(c, f);
                    if (f == ChField::RxType) cells << ToneText(c.RxToneType, c.RxCtcss, c.RxDcs);
                    else if (f == ChField::TxType) cells << ToneText(c.TxToneType, c.TxCtcss, c.TxDcs);
                    else if (IsRef(f)) cells << (v == 0 ? chtxt::Off.en : QString::number(v));
                    else if (f == ChField::Mode) cells << (v >= 0 && v <= 5 ? ModeText(v) : QString::number(v));
                    else {
                        const QStringList& l = lists[int(f)];
                        cells << (v >= 0 && v < l.size() ? l[v] : QString::number(v));
                    }
                }
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
    const CsvTable table = ReadCsv(bytes);
    if (!table.error.isEmpty()) {
        result.errors.append(CsvIssue{table.errorLine, 0, {}, {}, table.error});
        return result;
    }
    if (table.rows.isEmpty()) {
        result.errors.append(CsvIssue{0, 0, {}, {}, T(ws, csvtxt::Empty)});
        return result;
    }
    const QStringList& header = table.rows[0].cells;
    if (options.forceInterchange || header.value(0).trimmed().compare("Location", Qt::CaseInsensitive) == 0) {
        result = ImportInterchange(ws, table, options);
        result.layout = CsvLayout::Interchange;
        return result;
    }
    // The columns by name, in any order; each once, none unknown.
    const QStringList want = FullHeader();
    QVector<int> at(want.size(), -1);
    const int headerLine = table.rows[0].line;
    for (int i = 0; i < header.size(); ++i) {
        int k = -1;
        for (int j = 0; j < want.size(); ++j)
            if (want[j].compare(header[i].trimmed(), Qt::CaseInsensitive) == 0) k = j;
        if (k < 0) {
            result.errors.append(CsvIssue{headerLine, i + 1, header[i], header[i],
                                          i == 0 ? T(ws, csvtxt::UnknownHeader).arg(want.join(',')) : T(ws, csvtxt::UnknownColumn)});
        } else if (at[k] >= 0) {
            result.errors.append(CsvIssue{headerLine, i + 1, header[i], header[i], T(ws, csvtxt::TwiceColumn)});
        } else {
            at[k] = i;
        }
    }
    for (int j = 0; j < want.size() && result.errors.isEmpty(); ++j)
        if (at[j] < 0) result.errors.append(CsvIssue{headerLine, 0, {}, {}, T(ws, csvtxt::MissingColumn).arg(want[j])});
    if (!result.errors.isEmpty()) return result;

    FullImporter imp(ws, result, header);
    for (int i = 1; i < table.rows.size(); ++i) {
        const CsvRow& r = table.rows[i];
        if (r.cells.size() != header.size()) {
            result.errors.append(CsvIssue{r.line, 0, {}, {}, T(ws, csvtxt::CellCount).arg(r.cells.size()).arg(header.size())});
            continue;
        }
        imp.row(r, at);
    }
    if (result.ok()) Commit(ws, imp.stage, result);
    return result;
}

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

int PlaceGroup(const CsvPlace& place) { return place.group == 0 ? MemoryGroupOf(place.band) : place.group; }

}  // namespace kt
