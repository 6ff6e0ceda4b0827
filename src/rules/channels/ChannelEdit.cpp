#include "rules/channels/ChannelEdit.h"
#include "base/ByteText.h"
#include "model/ChannelRules.h"
#include "rules/channels/ChannelTables.h"
#include "model/FreqRules.h"
#include "model/Defaults.h"
#include "model/EditStep.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace kt {

namespace {

bool RowInGroup(int band, int group, int row) { return row >= 1 && row <= GroupSize(band, group); }

bool ValidPlace(int band, int group)
{
    return (band == 0 || band == 1) && group >= 1 && group <= GroupsOfBand(band);
}

const char* AnsiCodec(int language) { return language == Chinese ? "GBK" : "windows-1252"; }

// Removes the channel of the row with the last-channel guard.
RemoveResult RemoveChannel(Workspace& ws, int band, int group, int row)
{
    const int slot = FindSlot(ws, band, group, row);
    if (slot == 0) return RemoveResult::Nothing;
    return ClearChannel(ws, slot, band, group) ? RemoveResult::Removed : RemoveResult::LastChannel;
}

bool SlotFree(const Workspace& ws, int band, int group)
{
    const int count = ws.ChannelCount(band, group);
    return count >= 0 && count < kMaxSlots;
}

}  // namespace

FreqCellResult SaveFreqCell(Workspace& ws, int band, int group, int row, int column, const QString& text)
{
    if (!ValidPlace(band, group) || column != 1 || !RowInGroup(band, group, row))
        return FreqCellResult::Nothing;

    const bool emptied = text.trimmed().isEmpty();
    QString value;
    if (!emptied) value = FormatFreqInput(ws, text.trimmed(), /*warn*/ true);
    const bool rejected = !emptied && value.isEmpty();

    if (ws.WorkRecord.CurGroup[band] == 0) ws.WorkRecord.CurGroup[band] = 1;

    const int slot = FindSlot(ws, band, group, row);
    if (slot > 0) {
        if (emptied)
            return ClearChannel(ws, slot, band, group) ? FreqCellResult::Deleted : FreqCellResult::Refused;
        // A value that failed the check leaves the channel as it was.
        if (rejected) return FreqCellResult::Kept;
        ws.Channels(band, slot, group).Freq.set(FreqToDigits(ws, value));
        return FreqCellResult::Changed;
    }
    if (emptied || rejected) return FreqCellResult::Nothing;
    // The row is free; only the group's slots can be full (channels 41-46 of a
    // lettered group live in slots too, so the channel count is no measure).
    if (!SlotFree(ws, band, group)) return FreqCellResult::NoRoom;
    InsertChannel(ws, row, band, group, value);
    RepointChannelRefs(ws, band, group);
    return FreqCellResult::Inserted;
}

bool ChangeBand(Workspace& ws, int band)
{
    if (band != 0 && band != 1) return false;
    if (ws.WorkRecord.BandType == band && ws.BandRange == BandRangeText(band)) return false;
    ws.WorkRecord.BandType = int16_t(band);
    ws.BandRange = BandRangeText(band);
    ParseBandRange(ws);
    ws.TitleChanged();
    return true;
}

GroupValidResult SetGroupValid(Workspace& ws, int band, int group, bool on)
{
    if (!ValidPlace(band, group)) return GroupValidResult::Refused;
    auto& enable = ws.OptFeat().GroupEnable[band];
    if (!on) {
        bool another = false;
        for (int g = 1; g <= LetteredGroupsOf(band); ++g)
            if (g != group && enable[g] != 0) another = true;
        if (!another) return GroupValidResult::Refused;
        enable[group] = 0;
        return GroupValidResult::Accepted;
    }
    const bool wasOff = enable[group] == 0;
    enable[group] = 1;
    if (wasOff && CountRegularChannels(ws, band, group) == 0) {
        const int before = ws.ChannelCount(band, group);
        AddDefaultChannel(ws, band, group);
        if (ws.ChannelCount(band, group) != before) return GroupValidResult::AcceptedWithDefaultChannel;
    }
    return GroupValidResult::Accepted;
}

QString GroupNameText(const Workspace& ws, int band, int group)
{
    if (!ValidPlace(band, group)) return {};
    const QByteArray b = FieldText(ws.WorkRecord.OptFeat.GroupName[band][group].bytes());
    QStringDecoder dec(AnsiCodec(ws.CurrentLanguage));
    if (!dec.isValid()) return QString::fromLatin1(b);
    return dec.decode(b);
}

void StoreGroupName(Workspace& ws, int band, int group, const QString& text)
{
    if (!ValidPlace(band, group)) return;
    QString t = text;
    QByteArray b;
    for (;;) {
        QStringEncoder enc(AnsiCodec(ws.CurrentLanguage));
        b = enc.isValid() ? QByteArray(enc.encode(t)) : t.toLatin1();
        if (b.size() <= 4 || t.isEmpty()) break;
        t.chop(1);   // never cut a two-byte character in half
    }
    ws.OptFeat().GroupName[band][group].set(b);
}

bool LineClipboardFilled(const Workspace& ws) { return ws.LineClipFilled && ws.LineClip.Used >= 1; }

void LineCopy(Workspace& ws, int band, int group, int row)
{
    if (!ValidPlace(band, group)) return;
    const int slot = FindSlot(ws, band, group, row);
    ws.LineClip = slot > 0 ? ws.Channels(band, slot, group) : ChannelRec{};
    ws.LineClipFilled = true;
}

RemoveResult LineCut(Workspace& ws, int band, int group, int row)
{
    if (!ValidPlace(band, group) || IsVfoGroup(band, group)) return RemoveResult::Nothing;
    LineCopy(ws, band, group, row);
    if (!RowInGroup(band, group, row)) return RemoveResult::Nothing;
    return RemoveChannel(ws, band, group, row);
}

RemoveResult LineDelete(Workspace& ws, int band, int group, int row)
{
    if (!ValidPlace(band, group) || IsVfoGroup(band, group) || !RowInGroup(band, group, row))
        return RemoveResult::Nothing;
    return RemoveChannel(ws, band, group, row);
}

PasteResult LinePaste(Workspace& ws, int band, int group, int row)
{
    if (!ValidPlace(band, group) || !RowInGroup(band, group, row)) return PasteResult::Nothing;
    if (!LineClipboardFilled(ws)) return PasteResult::ClipboardEmpty;
    int slot = FindSlot(ws, band, group, row);
    const bool created = slot == 0;
    if (created) {
        if (!SlotFree(ws, band, group)) return PasteResult::NoRoom;
        slot = ++ws.ChannelCount(band, group);
    }
    ChannelRec rec = ws.LineClip;
    rec.ChNo = int16_t(row);
    ws.Channels(band, slot, group) = rec;
    if (created) RepointChannelRefs(ws, band, group);
    return PasteResult::Pasted;
}

PasteResult LineInsertPaste(Workspace& ws, int band, int group, int row)
{
    if (!ValidPlace(band, group) || IsVfoGroup(band, group) || !RowInGroup(band, group, row))
        return PasteResult::Nothing;
    // Without a channel to paste, shifting the group would only lose its last channel.
    if (!LineClipboardFilled(ws)) return PasteResult::ClipboardEmpty;
    const int size = GroupSize(band, group);
    // A channel on the last row would have nowhere to go; the user moves or
    // deletes it first.  Checked before anything moves.
    if (FindSlot(ws, band, group, size) > 0) return PasteResult::PushedOut;
    if (!SlotFree(ws, band, group)) return PasteResult::NoRoom;
    for (int s = 1; s <= ws.ChannelCount(band, group); ++s) {
        ChannelRec& c = ws.Channels(band, s, group);
        if (c.ChNo >= row && c.ChNo <= size - 1) ++c.ChNo;
    }
    LinePaste(ws, band, group, row);
    RepointChannelRefs(ws, band, group);
    return PasteResult::Pasted;
}

QString PushedOutChannel(int band, int group, int language)
{
    return ChannelStepDetail(band, group, GroupSize(band, group)).in(language);
}

}  // namespace kt
