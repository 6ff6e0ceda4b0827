#include "rules/channels/ChannelRows.h"

#include "model/ChannelRules.h"
#include "model/DataFileLayout.h"
#include "model/EditStep.h"
#include "rules/channels/ChannelCheck.h"
#include "rules/channels/ChannelCsvParts.h"
#include "rules/channels/CsvTable.h"
#include "rules/dtmf/DtmfRules.h"
#include "rules/rogerbeep/RbRules.h"

#include <QDataStream>
#include <QIODevice>
#include <QSet>
#include <algorithm>

namespace kt {

namespace {

QString T(const Workspace& ws, const Bi& b) { return b.in(ws.CurrentLanguage); }

// The shown channel of a row, null for an empty row.
const ChannelRec* ShownChannel(const Workspace& ws, int band, int group, int row)
{
    const int slot = FindSlot(ws, band, group, row);
    if (slot == 0) return nullptr;
    const ChannelRec& rec = ws.Channels(band, slot, group);
    return rec.Used == 1 && SlotShowsChannel(rec, band, group) ? &rec : nullptr;
}

constexpr quint32 kClipMagic = 0x4B543633;   // "KT63"
constexpr quint16 kClipVersion = 1;

void WriteRec(QDataStream& out, const ChannelRec& r)
{
    out << r.ChNo << r.Used << r.Scan << r.Freq.bytes() << r.TxFreq.bytes() << r.W19 << r.W20 << r.TxToneType
        << r.TxCtcss << r.TxDcs << r.W24 << r.Mode << r.HiCut << r.NbAnl << r.Echo << r.Add10K << r.BusyLock
        << r.RogerBeep << r.RepShift << r.PublicCh << r.BotCode << r.EotCode << r.CallCode << r.RxToneType
        << r.RxCtcss << r.RxDcs;
}

void ReadRec(QDataStream& in, ChannelRec& r)
{
    QByteArray freq, txFreq;
    in >> r.ChNo >> r.Used >> r.Scan >> freq >> txFreq >> r.W19 >> r.W20 >> r.TxToneType >> r.TxCtcss >> r.TxDcs >>
        r.W24 >> r.Mode >> r.HiCut >> r.NbAnl >> r.Echo >> r.Add10K >> r.BusyLock >> r.RogerBeep >> r.RepShift >>
        r.PublicCh >> r.BotCode >> r.EotCode >> r.CallCode >> r.RxToneType >> r.RxCtcss >> r.RxDcs;
    r.Freq.set(freq);
    r.TxFreq.set(txFreq);
}

// "CH A12" for a copied row, "row 3" for a row of pasted text.
QString RowWhere(const Workspace& ws, const RowClip& clip, int i)
{
    if (!clip.lines.isEmpty()) return T(ws, rowtxt::Row).arg(clip.lines.value(i));
    return ChannelStepDetail(clip.band, clip.group, clip.recs[i].ChNo).in(ws.CurrentLanguage);
}

// The channel the group's last rows would lose to an Insert&Paste of span rows from row on.
int PushedOutBy(const Workspace& ws, int band, int group, int row, int span)
{
    const int size = GroupSize(band, group);
    for (int ch = std::max(row, size - span + 1); ch <= size; ++ch)
        if (FindSlot(ws, band, group, ch) > 0) return ch;
    return 0;
}

}  // namespace

QList<int> HeldRows(const Workspace& ws, int band, int group, const QList<int>& rows)
{
    QList<int> out;
    for (int r : rows)
        if (ShownChannel(ws, band, group, r)) out << r;
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

QString CommonFieldText(const Workspace& ws, int band, int group, const QList<int>& rows, ChField f)
{
    // The stored values decide; the entry is looked up once, for the common one.
    const ChannelRec* common = nullptr;
    for (int r : rows) {
        const ChannelRec* rec = ShownChannel(ws, band, group, r);
        if (!rec) continue;
        if (!common) common = rec;
        else if (ChFieldRef(const_cast<ChannelRec&>(*rec), f) != ChFieldRef(const_cast<ChannelRec&>(*common), f))
            return {};
    }
    return common ? ChFieldText(ws, *common, f, IsMemoryGroup(band, group)) : QString();
}

int CommonToneType(const Workspace& ws, int band, int group, const QList<int>& rows, bool rx)
{
    int common = -2;
    for (int r : rows)
        if (const ChannelRec* rec = ShownChannel(ws, band, group, r)) {
            const int t = rx ? rec->RxToneType : rec->TxToneType;
            if (common == -2) common = t;
            else if (common != t) return -1;
        }
    return common == -2 ? -1 : common;
}

bool AnyPublic(const Workspace& ws, int band, int group, const QList<int>& rows)
{
    for (int r : rows)
        if (const ChannelRec* rec = ShownChannel(ws, band, group, r); rec && rec->PublicCh == 1) return true;
    return false;
}

int SetFieldOnRows(Workspace& ws, int band, int group, const QList<int>& rows, ChField f, const QString& text,
                   int index)
{
    int changed = 0;
    for (int r : rows) {
        if (!ShownChannel(ws, band, group, r)) continue;
        ChannelRec& rec = ws.Channels(band, FindSlot(ws, band, group, r), group);
        if (LockedByPublic(f) && rec.PublicCh == 1) continue;
        const int16_t before = ChFieldRef(rec, f);
        StoreChField(rec, f, text, index);
        if (ChFieldRef(rec, f) != before) ++changed;
    }
    return changed;
}

StepName RowsStepName(ChField f, int count)
{
    return {rowtxt::StepOf.in(English).arg(ChFieldLabel(f, English)).arg(count),
            rowtxt::StepOf.in(Chinese).arg(ChFieldLabel(f, Chinese)).arg(count)};
}

RowClip CopyRows(const Workspace& ws, int band, int group, const QList<int>& rows)
{
    RowClip clip;
    clip.band = band;
    clip.group = group;
    const QList<int> held = HeldRows(ws, band, group, rows);
    for (int r : held) {
        clip.offsets << r - held.first();
        clip.recs << *ShownChannel(ws, band, group, r);
    }
    return clip;
}

QByteArray EncodeRowClip(const RowClip& clip)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kClipMagic << kClipVersion << qint32(clip.band) << qint32(clip.group) << qint32(clip.recs.size());
    for (int i = 0; i < clip.recs.size(); ++i) {
        out << qint32(clip.offsets[i]);
        WriteRec(out, clip.recs[i]);
    }
    return bytes;
}

bool DecodeRowClip(const QByteArray& bytes, RowClip& clip)
{
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    quint16 version = 0;
    qint32 band = 0, group = 0, count = 0;
    in >> magic >> version >> band >> group >> count;
    if (in.status() != QDataStream::Ok || magic != kClipMagic || version != kClipVersion || count < 0 ||
        count > kMaxSlots || band < 0 || band >= kBands || group < 1 || group > GroupsOfBand(band))
        return false;
    RowClip c;
    c.band = band;
    c.group = group;
    for (int i = 0; i < count; ++i) {
        qint32 offset = 0;
        ChannelRec rec;
        in >> offset;
        ReadRec(in, rec);
        if (offset < 0 || offset >= kMaxSlots) return false;
        c.offsets << offset;
        c.recs << rec;
    }
    if (in.status() != QDataStream::Ok) return false;
    clip = c;
    return true;
}

QByteArray RowClipText(Workspace& ws, const RowClip& clip)
{
    QByteArray out = CsvLine(FullLayoutHeader(), '\t');
    for (const QStringList& cells : FullLayoutCells(ws, clip.band, clip.group, clip.recs)) out += CsvLine(cells, '\t');
    return out;
}

QStringList ReadRowClipText(Workspace& ws, const QByteArray& text, RowClip& clip)
{
    const CsvTable table = ReadTabSeparated(text, ws.CurrentLanguage);
    if (!table.error.isEmpty()) {
        const QString where = table.errorLine > 0 ? T(ws, rowtxt::Row).arg(table.errorLine) + ": " : QString();
        return {where + table.error};
    }
    const CsvRowsRead read = ReadFullLayoutRows(ws, table);
    QStringList problems;
    for (const CsvIssue& i : read.check.errors) {
        QString s;
        if (i.line > 0) s = T(ws, rowtxt::Row).arg(i.line);
        if (i.column > 0) {
            s += (s.isEmpty() ? "" : ", ") + T(ws, rowtxt::Column).arg(i.column);
            if (!i.columnName.isEmpty()) s += " (" + i.columnName + ")";
            s += " \"" + i.value + "\"";
        }
        problems << (s.isEmpty() ? i.reason : s + ": " + i.reason);
    }
    if (read.check.errors.leftOut > 0)
        problems << T(ws, csvparts::csvtxt::MoreProblems).arg(read.check.errors.leftOut);
    if (!problems.isEmpty()) return problems;
    RowClip c;
    if (!read.rows.isEmpty()) {
        c.band = read.rows.first().band;
        c.group = read.rows.first().group;
    }
    int first = INT_MAX;
    for (const CsvChannelRow& r : read.rows) first = std::min<int>(first, r.rec.ChNo);
    for (const CsvChannelRow& r : read.rows) {
        c.offsets << r.rec.ChNo - first;
        c.recs << r.rec;
        c.lines << r.line;
    }
    clip = c;
    return {};
}

RowsPaste PasteRows(Workspace& ws, int band, int group, int row, const RowClip& clip, bool insert)
{
    RowsPaste out;
    if (band < 0 || band >= kBands || group < 1 || group > GroupsOfBand(band)) return out;
    const int size = GroupSize(band, group);
    if (row < 1 || row > size) return out;
    if (insert && IsVfoGroup(band, group)) return out;
    if (clip.isEmpty()) {
        out.result = PasteResult::ClipboardEmpty;
        return out;
    }
    int span = 0;
    for (int o : clip.offsets) span = std::max(span, o + 1);
    if (insert) {
        if (const int lost = PushedOutBy(ws, band, group, row, span)) {
            out.result = PasteResult::PushedOut;
            out.problems << ChannelStepDetail(band, group, lost).in(ws.CurrentLanguage);
            return out;
        }
    }

    // Every row is checked against the group it lands in before anything changes.
    const BandLimits limits = LimitsOfBand(band, ws.ExtendedHf);
    const QStringList modes = FillModeList(ws, IsMemoryGroup(band, group));
    QList<ChannelRec> placed;
    QSet<int> taken;
    int created = 0;
    for (int i = 0; i < clip.recs.size(); ++i) {
        const QString where = RowWhere(ws, clip, i);
        auto refuse = [&](const QString& why) { out.problems << where + ": " + why; };
        const int ch = row + clip.offsets[i];
        if (ch > size) {
            refuse(T(ws, rowtxt::PastGroup).arg(ch).arg(size));
            continue;
        }
        if (taken.contains(ch)) {
            refuse(T(ws, rowtxt::SameRow).arg(ch));
            continue;
        }
        taken.insert(ch);
        ChannelRec rec = clip.recs[i];
        rec.ChNo = int16_t(ch);
        rec.Used = 1;
        const QString freq = csvparts::FreqCellText(rec.Freq.bytes());
        switch (JudgeDigits(limits, rec.Freq.bytes())) {
        case FreqVerdict::Ok: break;
        case FreqVerdict::OutOfRange:
            refuse("\"" + freq + "\" " + T(ws, csvparts::csvtxt::OutOfRange).arg(LimitsText(limits)));
            continue;
        case FreqVerdict::OffRaster:
            refuse("\"" + freq + "\" " + T(ws, csvparts::csvtxt::OffRaster));
            continue;
        default: refuse("\"" + freq + "\" " + T(ws, csvparts::csvtxt::NotFreq)); continue;
        }
        if (!modes.contains(ModeText(rec.Mode)) || ModeCode(ModeText(rec.Mode)) != rec.Mode) {
            refuse(T(ws, csvparts::csvtxt::ModeOff).arg(rec.Mode >= 0 && rec.Mode <= 5 ? ModeText(rec.Mode)
                                                                                       : QString::number(rec.Mode)));
            continue;
        }
        // References to DTMF codes and roger-beep patterns the job holds stay.
        for (int16_t* code : {&rec.BotCode, &rec.EotCode, &rec.CallCode})
            if (*code != 0 && !DtmfCodeIsUsed(ws, *code)) *code = 0;
        if (rec.RogerBeep != 0 && PatternIsDefined(ws, rec.RogerBeep) == 0) rec.RogerBeep = 0;
        if (!layout::ChannelRecordHoldable(rec, band, group)) {
            refuse(T(ws, rowtxt::NotHeld));
            continue;
        }
        placed << rec;
    }
    // Slots for the rows that land on empty rows (after an insert every landing row is empty).
    for (const ChannelRec& rec : placed)
        if (insert || FindSlot(ws, band, group, rec.ChNo) == 0) ++created;
    if (out.problems.isEmpty() && ws.ChannelCount(band, group) + created > kMaxSlots)
        out.problems << T(ws, rowtxt::NoRoom);
    if (!out.problems.isEmpty()) {
        out.result = PasteResult::NoRoom;
        return out;
    }

    if (insert)
        for (int s = 1; s <= ws.ChannelCount(band, group); ++s) {
            ChannelRec& c = ws.Channels(band, s, group);
            if (c.ChNo >= row && c.ChNo <= size) c.ChNo = int16_t(c.ChNo + span);
        }
    for (const ChannelRec& rec : placed) {
        int slot = FindSlot(ws, band, group, rec.ChNo);
        if (slot == 0) slot = ++ws.ChannelCount(band, group);
        ws.Channels(band, slot, group) = rec;
    }
    if (created > 0 || insert) RepointChannelRefs(ws, band, group);
    out.placed = int(placed.size());
    out.result = PasteResult::Pasted;
    return out;
}

RemoveResult RemoveRows(Workspace& ws, int band, int group, const QList<int>& rows)
{
    if (band < 0 || band >= kBands || group < 1 || group > GroupsOfBand(band) || IsVfoGroup(band, group))
        return RemoveResult::Nothing;
    const QList<int> held = HeldRows(ws, band, group, rows);
    if (held.isEmpty()) return RemoveResult::Nothing;
    // Kept to put back when the guard stops the removal part way.
    QVector<ChannelRec> before;
    for (int s = 1; s <= kMaxSlots; ++s) before << ws.Channels(band, s, group);
    const int16_t count = ws.ChannelCount(band, group);
    const OptFeatRec opt = ws.OptFeat();
    for (int r : held)
        if (!ClearChannel(ws, FindSlot(ws, band, group, r), band, group)) {
            for (int s = 1; s <= kMaxSlots; ++s) ws.Channels(band, s, group) = before[s - 1];
            ws.ChannelCount(band, group) = count;
            ws.OptFeat() = opt;
            return RemoveResult::LastChannel;
        }
    return RemoveResult::Removed;
}

}  // namespace kt
