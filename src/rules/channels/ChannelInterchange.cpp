// The interchange layout: one group, Location = channel number.  Only what
// has a meaning on this radio is mapped; a value it cannot hold is an error
// of its line and column, or, when the caller allows it, left out with a
// warning.  Name, Comment, TStep and Power have no per-channel meaning here
// and are not read.
#include "rules/channels/ChannelCsvParts.h"

#include "model/ChannelRules.h"
#include "rules/channels/ChannelTables.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace kt {

using namespace csvparts;

namespace {

const QStringList kColumns{"Location", "Name", "Frequency", "Duplex", "Offset", "Tone", "rToneFreq", "cToneFreq",
                           "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode", "TStep", "Skip", "Power",
                           "Comment"};
enum Col { Location, Name, Frequency, Duplex, Offset, Tone, RTone, CTone, Dtcs, DtcsPol, RxDtcs, Cross, Mode, TStep,
           Skip, Power, Comment };

QString Mhz6(long long hz) { return QLocale::c().toString(double(hz) / 1000000.0, 'f', 6); }
QString ToneHz(int index) { return QLocale::c().toString(CtcssTone(index), 'f', 1); }

int CtcssIndex(const QString& text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok) return -1;
    for (int i = 0; i < kCtcssCount; ++i)
        if (std::abs(CtcssTone(i) - v) < 0.05) return i;
    return -1;
}

int DcsIndex(const QString& text)
{
    const QString t = text.trimmed().rightJustified(3, '0');
    for (int i = 0; i < kDcsCount; ++i)
        if (DcsCode(i) == t) return i;
    return -1;
}

struct Importer {
    Workspace& ws;
    const CsvImportOptions& opt;
    CsvImport& result;
    QStringList header;
    QVector<int> at;          // at[Col] = cell index, -1 when the file has no such column
    QList<int> extra;         // cell indexes of columns this layout does not know
    int band, group;
    BandLimits limits;
    Stage stage;

    QString cell(const CsvRow& r, int c) const { return at[c] < 0 ? QString() : r.cells.value(at[c]).trimmed(); }

    void error(int line, int index, const QString& value, const QString& reason)
    {
        result.errors.add(CsvIssue{line, index + 1, header.value(index).trimmed(), value, reason});
    }
    // A value the radio cannot hold: an error, or left out with a warning.
    // Returns true when the row goes on without it.
    bool unsupported(int line, int index, const QString& value, const QString& reason)
    {
        if (!opt.dropUnsupported) {
            error(line, index, value, reason);
            return false;
        }
        result.warnings.add(CsvIssue{line, index + 1, header.value(index).trimmed(), value,
                                        reason + " - " + T(ws, csvtxt::Dropped)});
        return true;
    }

    void tones(const CsvRow& r, ChannelRec& rec)
    {
        const QString mode = cell(r, Tone);
        const int line = r.line;
        auto ctcss = [&](int c, int16_t& type, int16_t& index) {
            const int i = CtcssIndex(cell(r, c));
            if (i < 0) return unsupported(line, at[c], cell(r, c), T(ws, csvtxt::NoTone)) && false;
            type = 1;
            index = int16_t(i);
            return true;
        };
        auto dcs = [&](int16_t& type, int16_t& index) {
            const QString pol = cell(r, DtcsPol);
            if (!pol.isEmpty() && pol.compare("NN", Qt::CaseInsensitive) != 0)
                return unsupported(line, at[DtcsPol], pol, T(ws, csvtxt::Unsupported)) && false;
            const int i = DcsIndex(cell(r, Dtcs));
            if (i < 0) return unsupported(line, at[Dtcs], cell(r, Dtcs), T(ws, csvtxt::NoTone)) && false;
            type = 2;
            index = int16_t(i);
            return true;
        };
        ChannelRec t = rec;
        bool ok = true;
        if (mode.isEmpty()) {
            t.RxToneType = t.TxToneType = 0;
        } else if (mode == "Tone") {
            t.RxToneType = 0;
            ok = ctcss(RTone, t.TxToneType, t.TxCtcss);
        } else if (mode == "TSQL") {
            ok = ctcss(CTone, t.TxToneType, t.TxCtcss) && ctcss(CTone, t.RxToneType, t.RxCtcss);
        } else if (mode == "TSQL-R") {
            t.TxToneType = 0;
            ok = ctcss(CTone, t.RxToneType, t.RxCtcss);
        } else if (mode == "DTCS") {
            ok = dcs(t.TxToneType, t.TxDcs) && dcs(t.RxToneType, t.RxDcs);
        } else if (mode == "DTCS-R") {
            t.TxToneType = 0;
            ok = dcs(t.RxToneType, t.RxDcs);
        } else {
            unsupported(line, at[Tone], mode, T(ws, csvtxt::Unsupported));
            ok = false;
        }
        if (ok) rec = t;   // a tone mode left out leaves the channel's tones as they were
    }

    void row(const CsvRow& r)
    {
        const int before = result.errors.total();
        int ch = 0;
        const bool okNum = PlainNumber(cell(r, Location), ch);
        const int rows = GroupSize(band, group);
        if (!okNum) return error(r.line, at[Location], cell(r, Location), T(ws, csvtxt::NotChannel));
        if (ch < 1 || ch > rows)
            return error(r.line, at[Location], cell(r, Location),
                         T(ws, csvtxt::NoChannel).arg(ch).arg(GroupLetter(band, group)).arg(rows));
        const QPair<int, int> key{band, group};
        if (stage.lineOf[key].contains(ch))
            return error(r.line, at[Location], cell(r, Location),
                         T(ws, csvtxt::Twice).arg(ch).arg(GroupLetter(band, group)).arg(stage.lineOf[key][ch].first()));
        stage.lineOf[key][ch].append(r.line);
        long long hz = 0;
        QByteArray digits;
        QString reason;
        if (!ParseFreqCell(ws, cell(r, Frequency), limits, hz, digits, reason))
            error(r.line, at[Frequency], cell(r, Frequency), reason);
        const ChannelRec start = StartRecord(ws, band, group, ch, digits);
        ChannelRec rec = start;

        const QString duplex = cell(r, Duplex);
        if (duplex.isEmpty()) {
            rec.RepShift = 0;
        } else if (duplex == "+" || duplex == "-") {
            const QString off = cell(r, Offset);
            bool ok = false;
            const long long offHz = std::llround(off.toDouble(&ok) * 1000000.0);
            const long long radioHz = (long long)ws.WorkRecord.TxOffset * 100;   // stored in 0.1 kHz
            if (ok && offHz == radioHz) rec.RepShift = duplex == "+" ? 1 : 2;
            else unsupported(r.line, at[Offset], off, T(ws, csvtxt::Offset).arg(off, Mhz6(radioHz)));
        } else {
            unsupported(r.line, at[Duplex], duplex, T(ws, csvtxt::Unsupported));
        }

        tones(r, rec);

        const QString mode = cell(r, Mode).toUpper();
        if (!mode.isEmpty()) {
            const QStringList offered = FillModeList(ws, IsMemoryGroup(band, group));
            if (!QStringList{"FM", "AM", "USB", "LSB", "CW"}.contains(mode))
                unsupported(r.line, at[Mode], cell(r, Mode), T(ws, csvtxt::Unsupported));
            else if (!offered.contains(mode))
                unsupported(r.line, at[Mode], cell(r, Mode), T(ws, csvtxt::ModeOff).arg(mode));
            else
                rec.Mode = int16_t(ModeCode(mode));
        }

        const QString skip = cell(r, Skip);
        if (skip.isEmpty()) rec.Scan = 1;
        else if (skip.compare("S", Qt::CaseInsensitive) == 0) rec.Scan = 0;
        else unsupported(r.line, at[Skip], skip, T(ws, csvtxt::Unsupported));

        for (int i : extra)
            if (!r.cells.value(i).trimmed().isEmpty())
                unsupported(r.line, i, r.cells.value(i).trimmed(), T(ws, csvtxt::Unsupported));

        if (start.PublicCh == 1 && rec.PublicCh == 1 && rec.Mode != start.Mode)
            error(r.line, at[Mode], cell(r, Mode), T(ws, csvtxt::Locked).arg(ModeText(start.Mode)));
        if (result.errors.total() == before) stage.groups[key].append(rec);
    }
};

}  // namespace

CsvImport ImportInterchange(Workspace& ws, const CsvTable& table, const CsvImportOptions& options)
{
    CsvImport result;
    const CsvRow& head = table.rows[0];
    Importer imp{ws, options, result, head.cells, QVector<int>(kColumns.size(), -1), {},
                 options.place.band, PlaceGroup(options.place), LimitsOfBand(options.place.band, ws.ExtendedHf), {}};
    if (head.cells.value(0).trimmed().compare("Location", Qt::CaseInsensitive) != 0) {
        result.errors.add(CsvIssue{head.line, 1, {}, head.cells.value(0), T(ws, csvtxt::NotInterchange)});
        return result;
    }
    for (int i = 0; i < head.cells.size(); ++i) {
        const QString name = head.cells[i].trimmed();
        int k = -1;
        for (int j = 0; j < kColumns.size(); ++j)
            if (kColumns[j].compare(name, Qt::CaseInsensitive) == 0) k = j;
        if (k < 0) imp.extra << i;
        else if (imp.at[k] >= 0) imp.error(head.line, i, name, T(ws, csvtxt::TwiceColumn));
        else imp.at[k] = i;
    }
    if (imp.at[Frequency] < 0)
        result.errors.add(CsvIssue{head.line, 0, {}, {}, T(ws, csvtxt::MissingColumn).arg("Frequency")});
    if (!result.ok()) return result;

    // Rows in Location order, so the group's slots come in channel order.
    QList<CsvRow> rows;
    for (int i = 1; i < table.rows.size(); ++i) {
        const CsvRow& r = table.rows[i];
        if (r.cells.size() != head.cells.size())
            result.errors.add(CsvIssue{r.line, 0, {}, {}, T(ws, csvtxt::CellCount).arg(r.cells.size()).arg(head.cells.size())});
        else
            rows << r;
    }
    std::stable_sort(rows.begin(), rows.end(), [&](const CsvRow& a, const CsvRow& b) {
        return imp.cell(a, Location).toInt() < imp.cell(b, Location).toInt();
    });
    for (const CsvRow& r : rows) imp.row(r);
    if (result.ok()) {
        imp.stage.groups[{imp.band, imp.group}];
        Commit(ws, imp.stage, result);
    }
    return result;
}

CsvExport ExportInterchangeCsv(Workspace& ws, CsvPlace place, bool dropUnsupported)
{
    CsvExport out;
    out.bytes = CsvLine(kColumns);
    const int band = place.band, group = PlaceGroup(place);
    std::vector<const ChannelRec*> list;
    for (int s = 1; s <= std::min<int>(ws.ChannelCount(band, group), kMaxSlots); ++s)
        list.push_back(&ws.Channels(band, s, group));
    std::stable_sort(list.begin(), list.end(), [](auto* a, auto* b) { return a->ChNo < b->ChNo; });
    int line = 1;
    for (const ChannelRec* c : list) {
        ++line;
        auto problem = [&](int col, const QString& value, const QString& reason) {
            CsvIssue i{line, col + 1, kColumns[col], value, reason};
            if (dropUnsupported) {
                i.reason += " - " + T(ws, csvtxt::Dropped);
                out.warnings << i;
            } else {
                out.errors << i;
            }
        };
        QStringList cells{QString::number(c->ChNo), "", "", "", "0.000000", "", "88.5", "88.5", "023", "NN", "023",
                          "Tone->Tone", "FM", "5.00", c->Scan ? "" : "S", "", ""};
        long long hz = 0;
        bool subHz = false;
        cells[Frequency] = DigitsToHz(c->Freq.bytes(), hz, subHz) ? Mhz6(hz) : FreqCellText(c->Freq.bytes());
        if (c->RepShift == 1 || c->RepShift == 2) {
            cells[Duplex] = c->RepShift == 1 ? "+" : "-";
            cells[Offset] = Mhz6((long long)ws.WorkRecord.TxOffset * 100);
        } else if (c->RepShift != 0) {
            problem(Duplex, QString::number(c->RepShift), T(ws, csvtxt::Unsupported));
        }
        const int rx = c->RxToneType, tx = c->TxToneType;
        const bool rxC = rx == 1 && c->RxCtcss >= 0 && c->RxCtcss < kCtcssCount;
        const bool txC = tx == 1 && c->TxCtcss >= 0 && c->TxCtcss < kCtcssCount;
        const bool rxD = rx == 2 && c->RxDcs >= 0 && c->RxDcs < kDcsCount;
        const bool txD = tx == 2 && c->TxDcs >= 0 && c->TxDcs < kDcsCount;
        if (rx == 0 && tx == 0) {
        } else if (rx == 0 && txC) {
            cells[Tone] = "Tone";
            cells[RTone] = ToneHz(c->TxCtcss);
        } else if (rxC && txC && c->RxCtcss == c->TxCtcss) {
            cells[Tone] = "TSQL";
            cells[RTone] = cells[CTone] = ToneHz(c->RxCtcss);
        } else if (rxC && tx == 0) {
            cells[Tone] = "TSQL-R";
            cells[CTone] = ToneHz(c->RxCtcss);
        } else if (rxD && txD && c->RxDcs == c->TxDcs) {
            cells[Tone] = "DTCS";
            cells[Dtcs] = cells[RxDtcs] = DcsCode(c->RxDcs);
        } else if (rxD && tx == 0) {
            cells[Tone] = "DTCS-R";
            cells[Dtcs] = cells[RxDtcs] = DcsCode(c->RxDcs);
        } else {
            problem(Tone, QStringLiteral("RX %1/%2 TX %3/%4").arg(rx).arg(rx == 2 ? c->RxDcs : c->RxCtcss).arg(tx).arg(tx == 2 ? c->TxDcs : c->TxCtcss),
                    T(ws, csvtxt::ExportTones));
        }
        if (c->Mode == 4) problem(Mode, "PA", T(ws, csvtxt::ExportPa));
        else if (c->Mode >= 0 && c->Mode <= 5) cells[Mode] = ModeText(c->Mode);
        else problem(Mode, QString::number(c->Mode), T(ws, csvtxt::Unsupported));
        out.bytes += CsvLine(cells);
        ++out.channels;
    }
    if (!out.errors.isEmpty()) out.bytes.clear();
    return out;
}

}  // namespace kt
