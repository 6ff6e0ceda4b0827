#include "model/DataFile.h"
#include "base/ByteText.h"

#include "model/FreqRules.h"
#include "model/DataFileLayout.h"
#include "base/BoundedRead.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace kt {

namespace {

int ClampCount(int count) { return count < 0 ? 0 : count > kMaxSlots ? kMaxSlots : count; }

// The channel records of a table in file order: band 0 groups 1-17, then
// band 1 groups 1-14, slots 1 to the group's count.
QByteArray ChannelFileBytes(const ChannelTable& channels, const BandGroupI16& counts)
{
    int total = 0;
    for (int b = 0; b < kBands; ++b)
        for (int g = 1; g <= GroupsOfBand(b); ++g) total += ClampCount(counts[b][g]);
    QByteArray out(total * kChannelRecordSize, '\0');
    char* p = out.data();
    for (int b = 0; b < kBands; ++b)
        for (int g = 1; g <= GroupsOfBand(b); ++g)
            for (int s = 1; s <= ClampCount(counts[b][g]); ++s) {
                layout::PutChannelRecord(channels(b, s, g), p);
                p += kChannelRecordSize;
            }
    return out;
}

// The most a channel file can hold for the given counts; anything after it is not read.
qint64 ChannelBytesWanted(const BandGroupI16& counts)
{
    qint64 total = 0;
    for (int b = 0; b < kBands; ++b)
        for (int g = 1; g <= GroupsOfBand(b); ++g) total += ClampCount(counts[b][g]);
    return total * kChannelRecordSize;
}

// The channel records of a pair as read from its channel file, kept apart
// from the workspace until the pair is known to open: the counts, each cut
// to the records the file still had for its group, and those records in file
// order.  holdable turns false when a record read cannot be held by its group.
struct ChannelsRead {
    BandGroupI16 counts{};
    std::vector<ChannelRec> records;
    bool holdable = true;
};

// Slots past the end of the bytes are not counted, so the table never counts
// a slot that holds no channel.
ChannelsRead ChannelsFromBytes(const QByteArray& bytes, const BandGroupI16& counts)
{
    ChannelsRead read;
    read.counts = counts;
    const qsizetype records = bytes.size() / kChannelRecordSize;
    read.records.reserve(size_t(std::min<qint64>(records, ChannelBytesWanted(counts) / kChannelRecordSize)));
    qsizetype next = 0;
    for (int b = 0; b < kBands; ++b)
        for (int g = 1; g <= GroupsOfBand(b); ++g) {
            const int wanted = ClampCount(counts[b][g]);
            int got = 0;
            for (; got < wanted && next < records; ++got, ++next) {
                ChannelRec& ch = read.records.emplace_back();
                layout::GetChannelRecord(ch, bytes.constData() + next * kChannelRecordSize);
                if (!layout::ChannelRecordHoldable(ch, b, g)) {
                    read.holdable = false;   // the pair is refused; the rest need not be read
                    return read;
                }
            }
            read.counts[b][g] = int16_t(got);
        }
    return read;
}

// Puts the records read into the snapshot's table and their counts into the
// snapshot's record.  The table holds a record only in the slots its counts
// reach (every function here keeps it so), so emptying what the old counts
// reached leaves the table as a new one filled with these records would be.
void PutFileChannels(Workspace& ws, const ChannelsRead& read)
{
    const ChannelRec* next = read.records.data();
    for (int b = 0; b < kBands; ++b)
        for (int g = 1; g <= GroupsOfBand(b); ++g) {
            const int now = read.counts[b][g], before = ClampCount(ws.FileRecord.ChannelCount[b][g]);
            for (int s = 1; s <= now; ++s) ws.FileChannels(b, s, g) = *next++;
            for (int s = now + 1; s <= before; ++s) ws.FileChannels(b, s, g) = ChannelRec{};
            ws.FileRecord.ChannelCount[b][g] = int16_t(now);
        }
}

// The most bytes a channel file can hold: every slot of every group.
constexpr qint64 kMostChannelBytes = qint64(kBands) * kMaxGroups * kMaxSlots * kChannelRecordSize;

// A file of a pair, read with the bound of its kind; ok is false when it
// could not be read (missing, not a file, unreadable).  A channel file may be
// longer than its counts ask for: the rest is not read.
QByteArray ReadWholeFile(const QString& path, bool& ok, qint64 maxBytes = kMostChannelBytes)
{
    BoundedRead r = ReadBounded(path, maxBytes);
    ok = r.ok() || r.status == BoundedRead::TooLarge;
    if (r.status == BoundedRead::TooLarge) r.bytes.truncate(qsizetype(maxBytes));
    return std::move(r.bytes);
}

// "file error." and what is wrong with path.
FileResult PairFileError(const Workspace& ws, const QString& path, const BoundedRead& r, qint64 maxBytes)
{
    // A file that cannot be opened is named with the system's reason.
    const QString why = r.systemError.isEmpty() ? r.why(ws.CurrentLanguage, maxBytes) : r.systemError;
    return {FileResult::Failed, ws.T(msg::FileError) + "\n" + path + ": " + why, {}};
}

// The data version must look like "V" and three digits.
bool IsVersionForm(const QByteArray& v)
{
    return v.size() == 4 && v[0] == 'V' && AllDigits(v.mid(1));
}

// Bytes as a person can read them in a message: printable ASCII as it is,
// anything else as \xNN.
QString Printable(const QByteArray& bytes)
{
    QString out;
    for (const char ch : bytes) {
        const auto b = uint8_t(ch);
        out += b >= 0x20 && b < 0x7F ? QString(QChar(b)) : QStringLiteral("\\x%1").arg(b, 2, 16, QChar('0'));
    }
    return out;
}

FileResult Failed(const QString& message) { return {FileResult::Failed, message, {}}; }

// Writes both files of a pair to temporary files and only then puts them in
// place, so a failed save leaves the previous pair as it was.
bool WritePair(const QString& dataPath, const QByteArray& data, const QByteArray& channels, QString& why)
{
    // The system's reason, taken before anything else can change errno.
    const auto fail = [&why](const QString& path) {
        why = path + ": " + QString::fromLocal8Bit(std::strerror(errno ? errno : EIO));
        return false;
    };
    errno = 0;
    const QString channelPath = ChannelFileOf(dataPath);
    // A data file named like its own channel file ("x.fre") would be
    // overwritten by the channel records.
    if (channelPath == dataPath) {
        errno = EINVAL;
        return fail(dataPath);
    }
    QSaveFile dat(dataPath), fre(channelPath);
    if (!dat.open(QIODevice::WriteOnly) || dat.write(data) != data.size()) return fail(dataPath);
    if (!fre.open(QIODevice::WriteOnly) || fre.write(channels) != channels.size()) {
        fail(channelPath);
        dat.cancelWriting();
        return false;
    }
    // The channel file goes first; if the data file then cannot be put in
    // place, the previous channel file is put back.
    bool hadOld = false;
    const QByteArray oldChannels = ReadWholeFile(channelPath, hadOld);
    if (!fre.commit()) {
        fail(channelPath);
        dat.cancelWriting();
        return false;
    }
    if (!dat.commit()) {
        fail(dataPath);
        if (hadOld) {
            QSaveFile back(channelPath);
            if (back.open(QIODevice::WriteOnly) && back.write(oldChannels) == oldChannels.size()) back.commit();
        } else {
            QFile::remove(channelPath);
        }
        return false;
    }
    return true;
}

}  // namespace

QString BandTextOf(int code)
{
    switch (code) {
    case 0: return kBandRange0;
    case 1: return kBandRange1;
    default: return kBandRangeOther;
    }
}

int BandClassOf(const QString& bandRange)
{
    return bandRange == kBandRange0 ? 0 : 1;
}


namespace {

void PutModelInfo(const Workspace& ws, ModelInfoRec& mi)
{
    const QByteArray code = ws.ModelCode + QByteArray(1, '\0');
    mi.MiModel.set(code.left(7));
    mi.MiModelShort.set(code.left(6));
    mi.MiBandClass = int16_t(BandClassOf(ws.BandRange));
    mi.MiTag = 248;
}

}  // namespace

void SetModelInfo(Workspace& ws) { PutModelInfo(ws, ws.WorkRecord.ModelInfo); }

QByteArray WorkingDataBytes(const Workspace& ws)
{
    DataRecord rec = ws.WorkRecord;
    PutModelInfo(ws, rec.ModelInfo);
    rec.Version.set(kDataVersion);
    return SerializeDataRecord(rec);
}

QByteArray WorkingChannelBytes(const Workspace& ws) { return ChannelFileBytes(ws.Channels, ws.WorkRecord.ChannelCount); }

void TakeSnapshot(Workspace& ws)
{
    SetModelInfo(ws);
    ws.WorkRecord.Version.set(kDataVersion);
    const BandGroupI16 before = ws.FileRecord.ChannelCount;
    ws.FileRecord = ws.WorkRecord;
    for (int b = 0; b < kBands; ++b) {
        ws.GroupCount = GroupsOfBand(b);
        for (int g = 1; g <= ws.GroupCount; ++g) {
            const int now = ClampCount(ws.WorkRecord.ChannelCount[b][g]);
            for (int s = 1; s <= now; ++s) ws.FileChannels(b, s, g) = ws.Channels(b, s, g);
            // A group that lost channels keeps no record past its count.
            for (int s = now + 1; s <= ClampCount(before[b][g]); ++s) ws.FileChannels(b, s, g) = ChannelRec{};
        }
    }
}

void ApplySnapshot(Workspace& ws)
{
    ws.WorkRecord = ws.FileRecord;
    ws.RadioVersion = ws.WorkRecord.Version.bytes();
    ws.ModelCode = kModelCode;
    ws.BandRange = BandTextOf(ws.WorkRecord.BandType);
    ParseBandRange(ws);
    ws.TitleChanged();
    for (int b = 0; b < kBands; ++b) {
        ws.GroupCount = GroupsOfBand(b);
        for (int g = 1; g <= ws.GroupCount; ++g)
            for (int s = 1; s <= ClampCount(ws.FileRecord.ChannelCount[b][g]); ++s)
                ws.Channels(b, s, g) = ws.FileChannels(b, s, g);
    }
}

namespace {

// Channel members whose change makes the data count as modified.
constexpr int16_t ChannelRec::*kComparedChannelWords[] = {
    &ChannelRec::ChNo, &ChannelRec::Used, &ChannelRec::Scan, &ChannelRec::Mode, &ChannelRec::TxCtcss,
    &ChannelRec::HiCut, &ChannelRec::NbAnl, &ChannelRec::Echo, &ChannelRec::Add10K, &ChannelRec::BusyLock,
    &ChannelRec::RepShift, &ChannelRec::PublicCh, &ChannelRec::BotCode, &ChannelRec::EotCode,
    &ChannelRec::CallCode, &ChannelRec::W24,
};

// Option-feature members per (band, group) that are compared.
constexpr BandGroupI16 OptFeatRec::*kComparedGroupArrays[] = {
    &OptFeatRec::GroupEnable, &OptFeatRec::EmgCh1, &OptFeatRec::EmgCh2, &OptFeatRec::GrpByte,
    &OptFeatRec::EmgMode1, &OptFeatRec::EmgMode2, &OptFeatRec::Opt558,
};

// Single option-feature members that are compared.  PublicRogerBeep, CwEnabled,
// FmDeviation, SsbTone, PfKey, LongKey and the spares at 632 and 634 are not.
constexpr int16_t OptFeatRec::*kComparedOptions[] = {
    &OptFeatRec::Opt4804H, &OptFeatRec::HfWorkGroup, &OptFeatRec::HamWorkGroup, &OptFeatRec::ChannelMode,
    &OptFeatRec::Opt4807B1, &OptFeatRec::Spare342, &OptFeatRec::Spare348, &OptFeatRec::PublicBotCode,
    &OptFeatRec::PublicEotCode, &OptFeatRec::PublicCallCode, &OptFeatRec::PublicHiCut, &OptFeatRec::PublicEcho,
    &OptFeatRec::Public10K, &OptFeatRec::PublicBusy, &OptFeatRec::PublicNbAnl, &OptFeatRec::BeepLevel,
    &OptFeatRec::TxIndicator, &OptFeatRec::MicGain, &OptFeatRec::NogLevel, &OptFeatRec::TotTime,
    &OptFeatRec::SwrProtect, &OptFeatRec::BattProtect, &OptFeatRec::ScanMode, &OptFeatRec::FinMode,
    &OptFeatRec::BacklightColor, &OptFeatRec::MenuPage, &OptFeatRec::BattMin, &OptFeatRec::BattMax,
    &OptFeatRec::SwrMax, &OptFeatRec::PublicMode, &OptFeatRec::FmEnabled, &OptFeatRec::AmEnabled,
    &OptFeatRec::UsbEnabled, &OptFeatRec::LsbEnabled, &OptFeatRec::PaEnabled, &OptFeatRec::DtmfSendTime,
    &OptFeatRec::DtmfFirstDigitTime, &OptFeatRec::DtmfFirstDigitDelay, &OptFeatRec::DtmfStarHashTime,
    &OptFeatRec::DtmfDCodeAssign, &OptFeatRec::DtmfDisplay,
};

bool SameChannel(const ChannelRec& a, const ChannelRec& b)
{
    for (auto m : kComparedChannelWords)
        if (a.*m != b.*m) return false;
    return a.Freq == b.Freq;
}

bool SameChannels(const Workspace& ws)
{
    for (int b = 0; b < kBands; ++b)
        for (int g = 1; g <= GroupsOfBand(b); ++g) {
            const int count = ws.WorkRecord.ChannelCount[b][g];
            if (count != ws.FileRecord.ChannelCount[b][g]) return false;
            const int n = ClampCount(count);
            for (int s = 1; s <= n; ++s) {
                const ChannelRec& fr = ws.FileChannels(b, s, g);
                const ChannelRec* wr = &ws.Channels(b, s, g);
                if (wr->ChNo != fr.ChNo) {
                    wr = nullptr;
                    for (int t = 1; t <= n && !wr; ++t)
                        if (ws.Channels(b, t, g).ChNo == fr.ChNo) wr = &ws.Channels(b, t, g);
                    if (!wr) return false;
                }
                if (!SameChannel(*wr, fr)) return false;
            }
        }
    return true;
}

bool SameModelInfo(const ModelInfoRec& a, const ModelInfoRec& b)
{
    return a.MiModel == b.MiModel && a.MiVersion == b.MiVersion && a.MiDate == b.MiDate &&
           a.MiModelShort == b.MiModelShort && a.MiTag == b.MiTag && a.MiBandClass == b.MiBandClass &&
           a.MiBandClass2 == b.MiBandClass2 && a.MiLetter == b.MiLetter;
}

bool SameOptFeat(const OptFeatRec& a, const OptFeatRec& b)
{
    for (int band = 0; band < kBands; ++band)
        for (int g = 1; g <= GroupsOfBand(band); ++g) {
            if (CleanTextView(a.GroupName[band][g].view()) != CleanTextView(b.GroupName[band][g].view())) return false;
            for (auto m : kComparedGroupArrays)
                if ((a.*m)[band][g] != (b.*m)[band][g]) return false;
        }
    for (auto m : kComparedOptions)
        if (a.*m != b.*m) return false;
    for (int k = 1; k <= kDtmfCodes; ++k)
        if (CleanTextView(a.DtmfCode[k].view()) != CleanTextView(b.DtmfCode[k].view())) return false;
    return true;
}

bool SameOptionValues(const DataRecord& a, const DataRecord& b)
{
    if (a.TxOffset != b.TxOffset || a.FreqChMode != b.FreqChMode || a.AsqLevel != b.AsqLevel) return false;
    for (int i = 0; i < 12; ++i)
        if (a.OptTable12[i] != b.OptTable12[i]) return false;
    for (int p = 0; p < kRbPatterns; ++p) {
        const RbPatternRec &x = a.RbPattern[p], &y = b.RbPattern[p];
        if (x.RbRecycle != y.RbRecycle || x.RbInterTime != y.RbInterTime) return false;
        for (int k = 0; k < 2; ++k)
            for (int i = 0; i < kRbTones; ++i)
                if (x.RbTone[k][i] != y.RbTone[k][i]) return false;
    }
    return true;
}

}  // namespace

bool IsUnchanged(const Workspace& ws)
{
    return SameChannels(ws) && SameModelInfo(ws.WorkRecord.ModelInfo, ws.FileRecord.ModelInfo) &&
           SameOptFeat(ws.WorkRecord.OptFeat, ws.FileRecord.OptFeat) &&
           SameOptionValues(ws.WorkRecord, ws.FileRecord);
}

QString ChannelFileOf(const QString& dataFile)
{
    QString p = dataFile;
    p.chop(3);
    return p + QStringLiteral("fre");
}

QByteArray SerializeDataRecord(const DataRecord& rec)
{
    QByteArray out(kDataFileSize, '\0');
    layout::PutDataRecord(rec, out.data());
    return out;
}

bool ParseDataRecord(const QByteArray& bytes, DataRecord& rec)
{
    if (bytes.size() != kDataFileSize) return false;
    layout::GetDataRecord(rec, bytes.constData());
    return true;
}

QByteArray SerializeChannelRecord(const ChannelRec& ch)
{
    QByteArray out(kChannelRecordSize, '\0');
    layout::PutChannelRecord(ch, out.data());
    return out;
}

ChannelRec ParseChannelRecord(const char* bytes64)
{
    ChannelRec ch;
    layout::GetChannelRecord(ch, bytes64);
    return ch;
}

bool WriteChannelFile(Workspace& ws, const QString& path)
{
    const QByteArray bytes = ChannelFileBytes(ws.FileChannels, ws.FileRecord.ChannelCount);
    QSaveFile f(ChannelFileOf(path));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return false;
    return f.commit();
}

void ReadChannelFile(Workspace& ws, const QString& path)
{
    bool ok = false;
    const QByteArray bytes =
        ReadWholeFile(ChannelFileOf(path), ok, ChannelBytesWanted(ws.FileRecord.ChannelCount));
    PutFileChannels(ws, ChannelsFromBytes(bytes, ws.FileRecord.ChannelCount));
}

FileResult SaveDataFile(Workspace& ws)
{
    // The files are made from the working data as the snapshot would hold
    // them; the snapshot itself is renewed only once both files are in place,
    // so after a failed save the data count as modified as they did before.
    SetModelInfo(ws);
    ws.WorkRecord.Version.set(kDataVersion);
    const QByteArray data = SerializeDataRecord(ws.WorkRecord);
    const QByteArray channels = ChannelFileBytes(ws.Channels, ws.WorkRecord.ChannelCount);
    QString why;
    if (!WritePair(ws.CurrentFile, data, channels, why)) return Failed(ws.T(msg::FileError) + "\n" + why);
    TakeSnapshot(ws);
    ws.IsUntitled = false;
    ws.ChannelsUnread = 0;   // the pair on disk is now what the document holds
    ws.TitleChanged();
    return {};
}

FileResult OpenDataFile(Workspace& ws)
{
    // One read: a byte more than a data file holds tells a longer file.
    const BoundedRead data = ReadBounded(ws.CurrentFile, kDataFileSize);
    if (!data.ok() && data.status != BoundedRead::TooLarge) return PairFileError(ws, ws.CurrentFile, data, kDataFileSize);
    const QByteArray& bytes = data.bytes;

    const QByteArray version = CleanText(bytes.left(4));
    if (!IsVersionForm(version))
        return Failed(ws.T(vtxt::UnknownDataVersion) + "\n"
                      + ws.T(vtxt::VersionFound).arg(ws.CurrentFile, Printable(version)));

    const QString fileVersion = QString::fromLatin1(version);
    if (!IsCompatible(ws.Versions, QString::fromLatin1(kDataVersion), fileVersion))
        return {FileResult::AskLaunch,
                IncompatibleMessage(QString::fromLatin1(kDataVersion), fileVersion, 1, ws.CurrentLanguage),
                fileVersion};

    if (!data.ok() || bytes.size() != kDataFileSize)
        return Failed(ws.T(msg::FileError) + "\n" + ws.T(msg::DataFileLength)
                          .arg(ws.CurrentFile, Grouped(data.ok() ? bytes.size() : QFileInfo(ws.CurrentFile).size()),
                               Grouped(kDataFileSize)));

    DataRecord record;
    if (!ParseDataRecord(bytes, record)) return Failed(ws.T(msg::FileError));
    record.Version.set(kDataVersion);

    // Everything is read and checked before the workspace is touched: a pair
    // the radio cannot hold changes nothing.
    const layout::FieldAt bad = layout::FirstUnholdable(record);
    if (bad.member)
        return Failed(ws.T(msg::FileError) + "\n"
                      + ws.T(msg::FieldOutOfRange).arg(ws.CurrentFile, QString::fromLatin1(bad.member)).arg(bad.offset));
    bool ok = false;
    const QString channelPath = ChannelFileOf(ws.CurrentFile);
    const qint64 wanted = ChannelBytesWanted(record.ChannelCount);
    // A FIFO, a device or a folder in the channel file's place is refused;
    // a missing channel file is told below.
    const BoundedRead channelRead = ReadBounded(channelPath, wanted);
    if (channelRead.status == BoundedRead::NotAFile || channelRead.status == BoundedRead::Failed)
        return PairFileError(ws, channelPath, channelRead, wanted);
    QByteArray channelBytes = channelRead.bytes;
    channelBytes.truncate(qsizetype(wanted));
    ok = channelRead.status != BoundedRead::Missing;
    const ChannelsRead read = ChannelsFromBytes(channelBytes, record.ChannelCount);
    if (!read.holdable) return Failed(ws.T(msg::FileError));

    PutFileChannels(ws, read);
    record.ChannelCount = read.counts;
    ws.FileRecord = record;
    ApplySnapshot(ws);
    ws.IsUntitled = false;
    const int unread = int((wanted - channelBytes.size() / kChannelRecordSize * kChannelRecordSize) / kChannelRecordSize);
    ws.ChannelsUnread = std::max(unread, 0);
    emit ws.Events().documentReplaced();
    // The job still opens (its slots empty, its counts trimmed), but a Save
    // would make the loss permanent, so the user hears of it now.
    FileResult done;
    if (unread > 0) {
        const QString name = QFileInfo(channelPath).fileName();
        if (ok) done.notice = ws.T(msg::ChannelFileShort).arg(name).arg(unread).arg(wanted / kChannelRecordSize);
        else done.notice = ws.T(msg::ChannelFileMissing).arg(name).arg(unread);
    }
    return done;
}

bool LoadTemplate(Workspace& ws, const QString& path)
{
    ws.ChannelsUnread = 0;
    bool ok = false;
    const QByteArray bytes = ReadWholeFile(path, ok, kDataFileSize + 1);
    DataRecord record;
    if (!ok || !ParseDataRecord(bytes, record) || !layout::DataRecordHoldable(record)) {
        TakeSnapshot(ws);
        return false;
    }
    bool channelsOk = false;
    const QByteArray channelBytes =
        ReadWholeFile(ChannelFileOf(path), channelsOk, ChannelBytesWanted(record.ChannelCount));
    const ChannelsRead read = ChannelsFromBytes(channelBytes, record.ChannelCount);
    if (!read.holdable) {
        TakeSnapshot(ws);
        return false;
    }
    PutFileChannels(ws, read);
    record.ChannelCount = read.counts;
    ws.FileRecord = record;
    ApplySnapshot(ws);
    emit ws.Events().documentReplaced();
    return true;
}

}  // namespace kt
