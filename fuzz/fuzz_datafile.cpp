// Feeds arbitrary data file pairs to the reader: the first 1699 bytes of the
// input (or all of it, when shorter) are the data file, the rest the channel
// file.  Whatever the bytes, opening must not crash, and a pair that opens
// must leave working data that equal their snapshot and fit the channel table.
#include "model/DataFile.h"
#include "model/DataFileLayout.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace kt;

namespace {

bool Write(const QString& path, const char* data, qsizetype size)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data, size) == size;
}

void Require(bool ok)
{
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const QString dat = dir.path() + "/f.dat";

    const auto* bytes = reinterpret_cast<const char*>(data);
    const qsizetype datSize = qsizetype(size < size_t(kDataFileSize) ? size : size_t(kDataFileSize));
    Require(Write(dat, bytes, datSize));
    Require(Write(ChannelFileOf(dat), bytes + datSize, qsizetype(size) - datSize));

    // Kept between runs: building a workspace costs more than reading a pair.
    static Workspace ws, t;
    ws.Versions.VersionPairs = {VersionPair{"V200", "V200"}};
    ws.CurrentFile = dat;
    ws.IsUntitled = true;
    const FileResult r = OpenDataFile(ws);
    if (r.kind == FileResult::Done) {
        Require(IsUnchanged(ws));
        for (int b = 0; b < kBands; ++b)
            for (int g = 1; g <= GroupsOfBand(b); ++g) {
                const int count = ws.ChannelCount(b, g);
                Require(count >= 0 && count <= layout::GroupCapacity(b, g));
                for (int s = 1; s <= count; ++s) Require(layout::ChannelRecordHoldable(ws.Channels(b, s, g), b, g));
            }
    } else {
        Require(!r.message.isEmpty());
        Require(ws.IsUntitled);
    }

    // The template loader takes the same bytes without checks and must cope too.
    LoadTemplate(t, dat);
    return 0;
}
