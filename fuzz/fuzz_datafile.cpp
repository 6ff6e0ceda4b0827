// Feeds arbitrary data file pairs to the reader.  One input is one pair: its
// first 1699 bytes (or all of it, when shorter) are the data file, the rest
// the channel file, so a data file followed by its channel file is an input
// that opens.  The seeds are made that way from the templates and from saved
// built-in defaults.
//
// Whatever the bytes, opening must not crash.  A pair that opens must leave
// working data that equal their snapshot, fit the channel table and keep
// every byte of both files (the counts cut to the records the channel file
// has); saved and opened again it must give the same data.  A pair that is
// refused must leave the workspace as it was.  The template loader takes the
// same bytes without the version test and must keep them as well when it
// takes them.
#include "ReusedWorkspace.h"
#include "Require.h"
#include "model/DataFile.h"
#include "model/DataFileLayout.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <fcntl.h>
#include <unistd.h>

using namespace kt;

namespace {

// One file of the pair under test.  It is written with straight system
// calls (the input's files are the harness's, not the program's), and only
// when its bytes differ from the last input's: a mutation mostly changes one
// of the two files, and the reader never writes to them (a check that it
// does not is below).
class InputFile {
public:
    explicit InputFile(QString path) : path_(QFile::encodeName(path)) {}

    bool Put(const char* data, qsizetype size)
    {
        const QByteArrayView now(data, size);
        if (written_ && now == QByteArrayView(last_)) return true;
        written_ = false;
        const int fd = ::open(path_.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0) return false;
        const bool ok = ::write(fd, data, size_t(size)) == ssize_t(size);
        if (::close(fd) != 0 || !ok) return false;
        last_.resize(size);   // keeps its capacity: no allocation per input
        if (size > 0) std::memcpy(last_.data(), data, size_t(size));   // an empty input may have no buffer
        written_ = true;
        return true;
    }

    // The file still holds what was put: the reader left it alone.
    bool Unchanged() const
    {
        QFile f(QFile::decodeName(path_));
        return f.open(QIODevice::ReadOnly) && f.readAll() == last_;
    }

private:
    QByteArray path_, last_;
    bool written_ = false;
};

// The pair lives in memory when the machine has a memory file system: on a
// disk every rewrite of a truncated file makes the kernel write it out, and
// the fuzzer then spends its time waiting for the disk.  A memory file
// system that cannot be written to (a container's) gives way to the
// temporary folder; a scratch folder that cannot be made at all stops the
// run with its reason instead of failing the first input.
QTemporaryDir& Scratch()
{
    static std::optional<QTemporaryDir> dir;
    if (!dir) {
        dir.emplace(QStringLiteral("/dev/shm/kt-fuzz-XXXXXX"));
        if (!dir->isValid()) dir.emplace(QDir::tempPath() + QStringLiteral("/kt-fuzz-XXXXXX"));
        if (!dir->isValid()) {
            std::fprintf(stderr, "fuzz_datafile: no scratch folder: %s\n", qPrintable(dir->errorString()));
            std::exit(2);
        }
    }
    return *dir;
}

int ChannelCountOffset()
{
    for (const auto& f : layout::DataFileFields())
        if (QByteArray(f.member).startsWith("ChannelCount")) return f.offset;
    std::abort();
}

// The records are compared as the file holds them, in buffers of the
// harness's own: a copy per record would make the allocator, not the reader,
// the thing measured.
bool SameRecordBytes(const ChannelRec& ch, const char* bytes)
{
    char out[kChannelRecordSize];
    layout::PutChannelRecord(ch, out);
    return std::memcmp(out, bytes, kChannelRecordSize) == 0;
}

bool SameRecords(const ChannelRec& a, const ChannelRec& b)
{
    char out[kChannelRecordSize];
    layout::PutChannelRecord(b, out);
    return SameRecordBytes(a, out);
}

// The snapshot keeps every byte of the pair.  The counts are the file's,
// each cut to the records left in the channel file; the channels, walked in
// file order, are the channel file's records from its start, byte for byte,
// and each fits its group.
void RequireKeptPair(const Workspace& ws, const QByteArray& dat, const char* fre, qsizetype freSize)
{
    static const int countsAt = ChannelCountOffset();
    static DataRecord file;
    static QByteArray expected(kDataFileSize, '\0'), kept(kDataFileSize, '\0');
    KT_REQUIRE(ParseDataRecord(dat, file));
    std::memcpy(expected.data(), dat.constData(), kDataFileSize);
    qsizetype left = freSize / kChannelRecordSize, at = 0;
    for (int b = 0; b < kBands; ++b)
        for (int g = 1; g <= GroupsOfBand(b); ++g) {
            const int count = ws.FileRecord.ChannelCount[b][g];
            KT_REQUIRE(count == std::min<qsizetype>(file.ChannelCount[b][g], left));
            KT_REQUIRE(count <= layout::GroupCapacity(b, g));
            left -= count;
            const int byte = countsAt + 2 * (b + kBands * (g - 1));   // the file keeps group by group
            expected[byte] = char(count & 0xFF);
            expected[byte + 1] = char((count >> 8) & 0xFF);
            for (int s = 1; s <= count; ++s) {
                const ChannelRec& ch = ws.FileChannels(b, s, g);
                KT_REQUIRE(layout::ChannelRecordHoldable(ch, b, g));
                KT_REQUIRE(SameRecordBytes(ch, fre + at));
                at += kChannelRecordSize;
            }
        }
    layout::PutDataRecord(ws.FileRecord, kept.data());
    KT_REQUIRE(kept == expected);
}

bool SameSnapshot(const Workspace& a, const Workspace& b)
{
    if (SerializeDataRecord(a.FileRecord) != SerializeDataRecord(b.FileRecord)) return false;
    for (int band = 0; band < kBands; ++band)
        for (int g = 1; g <= GroupsOfBand(band); ++g)
            for (int s = 1; s <= a.FileRecord.ChannelCount[band][g]; ++s)
                if (!SameRecords(a.FileChannels(band, s, g), b.FileChannels(band, s, g))) return false;
    return true;
}

void AcceptVersion(Workspace& ws) { ws.Versions.VersionPairs = {VersionPair{"V200", "V200"}}; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir& dir = Scratch();
    static const QString dat = dir.path() + "/f.dat", saved = dir.path() + "/s.dat";
    static fuzz::ReusedWorkspace reader, reopener, loader;
    static const QByteArray blankRecord = SerializeDataRecord(reader.Blank().WorkRecord);

    const auto* bytes = reinterpret_cast<const char*>(data);
    const qsizetype datSize = qsizetype(size < size_t(kDataFileSize) ? size : size_t(kDataFileSize));
    const char* fre = bytes + datSize;
    const qsizetype freSize = qsizetype(size) - datSize;
    static InputFile datFile(dat), freFile(ChannelFileOf(dat));
    KT_REQUIRE(datFile.Put(bytes, datSize));
    KT_REQUIRE(freFile.Put(fre, freSize));
    const QByteArray datBytes = QByteArray::fromRawData(bytes, datSize);

    Workspace& ws = reader.Fresh();
    AcceptVersion(ws);
    ws.CurrentFile = dat;
    const FileResult r = OpenDataFile(ws);
    if (r.kind == FileResult::Done) {
        KT_REQUIRE(!ws.IsUntitled);
        KT_REQUIRE(IsUnchanged(ws));
        RequireKeptPair(ws, datBytes, fre, freSize);

        ws.CurrentFile = saved;
        KT_REQUIRE(SaveDataFile(ws).kind == FileResult::Done);
        Workspace& back = reopener.Fresh();
        AcceptVersion(back);
        back.CurrentFile = saved;
        KT_REQUIRE(OpenDataFile(back).kind == FileResult::Done);
        KT_REQUIRE(SameSnapshot(back, ws));
    } else {
        KT_REQUIRE(!r.message.isEmpty());
        KT_REQUIRE(ws.IsUntitled);
        static QByteArray now(kDataFileSize, '\0');
        layout::PutDataRecord(ws.WorkRecord, now.data());
        KT_REQUIRE(now == blankRecord);
        layout::PutDataRecord(ws.FileRecord, now.data());
        KT_REQUIRE(now == blankRecord);
        if (r.kind == FileResult::AskLaunch) KT_REQUIRE(r.launchVersion.toLatin1() == datBytes.left(4));
    }

    Workspace& t = loader.Fresh();
    if (LoadTemplate(t, dat)) {
        RequireKeptPair(t, datBytes, fre, freSize);
    }
    static long inputs = 0;
    if (++inputs % 256 == 0) KT_REQUIRE(datFile.Unchanged() && freFile.Unchanged());
    return 0;
}
