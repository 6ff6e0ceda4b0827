// Channel numbering and names, the frequency text forms, and the rules that
// create, delete and re-point channels of a group.
#include "model/ChannelRules.h"
#include "base/ByteText.h"

#include "base/ListHelpers.h"

#include <QLocale>

namespace kt {

namespace {

const char* const kModeNames[] = {"FM", "AM", "USB", "LSB", "PA", "CW"};
constexpr int kModeCount = 6;

bool ValidBandGroup(int band, int group)
{
    return band >= 0 && band < kBands && group >= 1 && group <= GroupsOfBand(band);
}

}  // namespace

QString GroupLetter(int band, int number)
{
    if (band < 0 || band >= kBands || number < 1 || number > GroupsOfBand(band))
        return QStringLiteral("A");
    if (number == MemoryGroupOf(band)) return QStringLiteral("MEM");
    if (number == VfoGroupOf(band)) return QStringLiteral("VFO");
    return QString(QChar('A' + number - 1));
}

int GroupNumber(int band, const QString& text)
{
    if (band < 0 || band >= kBands) return 0;
    for (int g = 1; g <= GroupsOfBand(band); ++g)
        if (GroupLetter(band, g) == text) return g;
    return 0;
}

QString GetCHName(int rCHID, int /*rGroup*/)
{
    if (rCHID <= 40) return QString::number(rCHID);
    return QStringLiteral("M") + QString::number(rCHID - 40);
}

int GetCHID(const QByteArray& rCHName)
{
    const QByteArray name = FieldText(rCHName);
    if (name.startsWith('M')) {
        const QByteArray rest = name.mid(1);
        // "M" followed by anything but a channel number names no channel.
        return AllDigits(rest) && rest.size() <= 4 ? rest.toInt() + 40 : 0;
    }
    return AllDigits(name) && name.size() <= 4 ? name.toInt() : 0;
}

QString ModeText(int code)
{
    if (code < 0 || code >= kModeCount) return QStringLiteral("FM");
    return QString::fromLatin1(kModeNames[code]);
}

int ModeCode(const QString& text)
{
    for (int i = 0; i < kModeCount; ++i)
        if (text == QLatin1String(kModeNames[i])) return i;
    return 0;
}

QString DigitsToFreqText(Workspace& ws, const QByteArray& digits)
{
    const QByteArray d = FieldText(digits);
    if (d.isEmpty() || d == "FFFFFFFF") return {};
    if (!AllDigits(d)) {
        ws.Ask(QStringLiteral("Not IsNumeric"), Buttons::Ok, Icon::None, /*withTitle*/ false);
        return QLocale::c().toString(ws.BandMin, 'g', 10);
    }
    const QString text = QString::fromLatin1(d.left(2)) + '.' + QString::fromLatin1(d.mid(2));
    return QLocale::c().toString(QLocale::c().toDouble(text), 'f', 5);
}

QByteArray FreqToDigits(const Workspace& ws, const QString& input)
{
    QString text = input.trimmed();
    if (text.isEmpty()) return {};
    if (!IsNumericText(text)) text = QLocale::c().toString(ws.BandMin, 'g', 10);
    int p = int(text.indexOf('.')) + 1;   // 1-based; 0 when there is no point
    if (p == 0) return text.toLatin1();
    // Fewer than two megahertz digits: pad on the left so that the first two
    // characters are always the megahertz ("7.5" -> "075").
    while (p <= 2) {
        text.prepend('0');
        ++p;
    }
    return (text.left(2) + text.right(text.size() - p)).toLatin1();
}

void InsertChannel(Workspace& ws, int chNo, int band, int group, const QString& freqText)
{
    if (!ValidBandGroup(band, group)) return;
    int16_t& count = ws.ChannelCount(band, group);
    if (count < 0 || count >= kMaxSlots) return;   // the group's slots are full
    ++count;
    ChannelRec rec;
    rec.ChNo = int16_t(chNo);
    rec.Used = 1;
    rec.Scan = 1;
    rec.Mode = 0;
    rec.NbAnl = 1;
    const QByteArray digits = FreqToDigits(ws, freqText);
    rec.Freq.set(digits);
    rec.TxFreq.set(digits);
    ws.Channels(band, count, group) = rec;
}

void DeleteChannelSlot(Workspace& ws, int slot, int band, int group)
{
    if (!ValidBandGroup(band, group)) return;
    int16_t& count = ws.ChannelCount(band, group);
    if (slot < 1 || slot > count || count > kMaxSlots) return;
    --count;
    for (int i = slot; i <= count; ++i) ws.Channels(band, i, group) = ws.Channels(band, i + 1, group);
    ws.Channels(band, count + 1, group) = ChannelRec{};
}

bool ClearChannel(Workspace& ws, int slot, int band, int group)
{
    if (!ValidBandGroup(band, group)) return false;
    if (slot < 1 || slot > ws.ChannelCount(band, group)) return false;
    const int chNo = ws.Channels(band, slot, group).ChNo;
    if (CountRegularChannels(ws, band, group) < 2) {
        // The last regular channel of the group: the group goes off, unless it
        // is the last channel of the band, which stays.
        if (CountOtherChannels(ws, band, group, chNo) <= 0) return false;
        ws.OptFeat().GroupEnable[band][group] = 0;
        DeleteChannelSlot(ws, slot, band, group);
        return true;
    }
    DeleteChannelSlot(ws, slot, band, group);
    RepointChannelRefs(ws, band, group);
    return true;
}

void RepointChannelRefs(Workspace& ws, int band, int group)
{
    if (!ValidBandGroup(band, group)) return;
    const int count = std::min<int>(ws.ChannelCount(band, group), kMaxSlots);
    OptFeatRec& of = ws.OptFeat();
    // Emergency modes are list indexes, not channel numbers: they are left alone.
    for (int16_t* ref : {&of.EmgCh1[band][group], &of.EmgCh2[band][group], &of.GrpByte[band][group]}) {
        const int r = *ref;
        bool found = false;
        for (int s = 1; s <= count && !found; ++s) found = ws.Channels(band, s, group).ChNo == r;
        if (found) continue;
        const bool regular = r <= 40;
        int16_t replacement = 0;
        for (int s = 1; s <= count; ++s) {
            const int ch = ws.Channels(band, s, group).ChNo;
            if ((ch <= 40) == regular) {
                replacement = int16_t(ch);
                break;
            }
        }
        *ref = replacement;
    }
    emit ws.Events().channelRefsChanged(band, group);
}

int CountRegularChannels(const Workspace& ws, int band, int group)
{
    if (!ValidBandGroup(band, group)) return 0;
    const int count = std::min<int>(ws.ChannelCount(band, group), kMaxSlots);
    int n = 0;
    for (int s = 1; s <= count; ++s)
        if (ws.Channels(band, s, group).ChNo <= 40) ++n;
    return n;
}

int CountOtherChannels(const Workspace& ws, int band, int group, int chNo)
{
    if (band < 0 || band >= kBands) return 0;
    int n = 0;
    for (int g = 1; g <= LetteredGroupsOf(band); ++g) {
        if (ws.WorkRecord.OptFeat.GroupEnable[band][g] != 1) continue;
        const int count = std::min<int>(ws.ChannelCount(band, g), kMaxSlots);
        for (int s = 1; s <= count; ++s) {
            const int ch = ws.Channels(band, s, g).ChNo;
            if (ch < 1 || ch > 40) continue;
            if (g == group && ch == chNo) continue;
            ++n;
        }
    }
    return n;
}

namespace {

bool AllZeros(const ChannelRec& rec)
{
    QByteArray d = rec.Freq.bytes();
    const int nul = d.indexOf('\0');
    if (nul >= 0) d.truncate(nul);
    d = d.trimmed();
    return !d.isEmpty() && std::all_of(d.begin(), d.end(), [](char c) { return c == '0'; });
}

}  // namespace

bool SlotShowsChannel(const ChannelRec& rec, int, int)
{
    QByteArray d = rec.Freq.bytes();
    const int nul = d.indexOf('\0');
    if (nul >= 0) d.truncate(nul);
    d = d.trimmed();
    if (d.isEmpty() || d == "FFFFFFFF") return false;
    return !AllZeros(rec);
}

bool VfoNotSet(const ChannelRec& rec, int band, int group)
{
    return group == VfoGroupOf(band) && AllZeros(rec);
}

int FindSlot(const Workspace& ws, int band, int group, int chNo)
{
    if (!ValidBandGroup(band, group)) return 0;
    const int count = std::min<int>(ws.ChannelCount(band, group), kMaxSlots);
    for (int s = 1; s <= count; ++s)
        if (ws.Channels(band, s, group).ChNo == chNo) return s;
    return 0;
}

void ForEachReferencingChannel(Workspace& ws, const std::function<void(ChannelRec&)>& visit)
{
    for (int band = 0; band < kBands; ++band)
        for (int group = 1; group <= 10; ++group) {
            const int count = std::min<int>(ws.ChannelCount(band, group), kMaxSlots);
            for (int slot = 1; slot <= count; ++slot) {
                ChannelRec& ch = ws.Channels(band, slot, group);
                if (ch.ChNo != 0) visit(ch);
            }
        }
}

}  // namespace kt
