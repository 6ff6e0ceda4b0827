// Writes the seed corpora of the fuzz targets:
//   OUT/datafile/  data file pairs, each as one input: the .dat followed by its .fre
//   OUT/image/     memory images of the same jobs, as the encoder writes them
// from the templates in INIT and from the built-in defaults of both band
// classes with a few variations (full groups, tones, DTMF codes, VFO
// channels, no channels).  Every pair is opened again before it is kept: a
// seed that the reader refuses would not get the fuzzer past the version test.
//
//   make_corpus INIT OUT
#include "model/Codec.h"
#include "model/DataFile.h"
#include "model/Defaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using namespace kt;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

[[noreturn]] void Fail(const QString& what)
{
    std::fprintf(stderr, "make_corpus: %s\n", qPrintable(what));
    std::exit(1);
}

// "28015000" style text for channel n of a group (8 digits, no point).
QByteArray FreqText(int n) { return QByteArray::number(28000000 + 5000 * n).rightJustified(8, '0'); }

void PutChannel(Workspace& ws, int band, int group, int slot, int chNo)
{
    ChannelRec ch;
    ch.ChNo = int16_t(chNo);
    ch.Used = 1;
    ch.Scan = int16_t(slot % 2);
    ch.Freq.set(FreqText(chNo));
    ch.TxFreq = ch.Freq;
    ch.NbAnl = 1;
    ws.Channels(band, slot, group) = ch;
    if (ws.ChannelCount(band, group) < slot) ws.ChannelCount(band, group) = int16_t(slot);
}

void FillGroup(Workspace& ws, int band, int group, int channels)
{
    ws.ChannelCount(band, group) = 0;
    for (int c = 1; c <= channels; ++c) PutChannel(ws, band, group, c, c);
}

// The variations on the built-in defaults.
struct Variation {
    const char* name;
    std::function<void(Workspace&)> apply;
};

const std::vector<Variation>& Variations()
{
    static const std::vector<Variation> v = {
        {"defaults", [](Workspace&) {}},
        {"full-memory", [](Workspace& ws) {
             for (int b = 0; b < kBands; ++b) FillGroup(ws, b, MemoryGroupOf(b), 99);
         }},
        {"full-lettered", [](Workspace& ws) {
             // Channels 1-40 and the memory channels M1-M6 (41-46) of the first groups.
             for (int b = 0; b < kBands; ++b) {
                 FillGroup(ws, b, 1, 46);
                 FillGroup(ws, b, LetteredGroupsOf(b), 46);
             }
         }},
        {"vfo", [](Workspace& ws) {
             for (int b = 0; b < kBands; ++b) FillGroup(ws, b, VfoGroupOf(b), 1);
         }},
        {"tones", [](Workspace& ws) {
             for (int s = 1; s <= ws.ChannelCount(0, 1); ++s) {
                 ChannelRec& ch = ws.Channels(0, s, 1);
                 ch.TxToneType = int16_t(s % 4);
                 ch.RxToneType = int16_t(3 - s % 4);
                 ch.TxCtcss = ch.RxCtcss = int16_t(10 + s);
                 ch.TxDcs = ch.RxDcs = int16_t(80 + s);
                 ch.Mode = int16_t(s % 5);
                 ch.HiCut = ch.Echo = ch.Add10K = ch.BusyLock = ch.PublicCh = 1;
                 ch.NbAnl = ch.RepShift = 3;
                 ch.RogerBeep = int16_t(s % 8);
                 ch.BotCode = ch.EotCode = ch.CallCode = int16_t(s % 17);
             }
         }},
        {"dtmf", [](Workspace& ws) {
             const QByteArray digits = "0123456789ABCD*#";
             for (int k = 1; k <= kDtmfCodes; ++k)
                 ws.OptFeat().DtmfCode[k].set((digits.mid(k - 1) + digits).left(k));
             ws.OptFeat().DtmfDisplay = 1;
             ws.OptFeat().DtmfDCodeAssign = 3;
         }},
        {"no-channels", [](Workspace& ws) {
             for (int b = 0; b < kBands; ++b)
                 for (int g = 1; g <= GroupsOfBand(b); ++g) {
                     ws.ChannelCount(b, g) = 0;
                     ws.OptFeat().GroupEnable[b][g] = 0;
                 }
         }},
    };
    return v;
}

class Writer {
public:
    Writer(const QString& out) : data_(out + "/datafile"), image_(out + "/image")
    {
        for (const QString& d : {data_, image_}) {
            QDir(d).removeRecursively();
            if (!QDir().mkpath(d)) Fail("cannot make " + d);
        }
        if (!scratch_.isValid()) Fail("no temporary folder");
    }

    // The pair of ws as the program saves it.
    void SavedPair(Workspace& ws, const QString& name)
    {
        ws.CurrentFile = scratch_.filePath(name + ".dat");
        if (SaveDataFile(ws).kind != FileResult::Done) Fail("cannot save " + ws.CurrentFile);
        Pair(ws.CurrentFile, name);
    }

    // A pair found on disk, kept only if it opens.
    void Pair(const QString& datPath, const QString& name)
    {
        const QByteArray dat = ReadAll(datPath), fre = ReadAll(ChannelFileOf(datPath));
        if (dat.size() != kDataFileSize) Fail(datPath + " is not a data file");
        auto check = std::make_unique<Workspace>();
        check->Versions.VersionPairs = {VersionPair{"V200", "V200"}};
        check->CurrentFile = datPath;
        const FileResult r = OpenDataFile(*check);
        if (r.kind != FileResult::Done) Fail(datPath + " does not open: " + r.message);
        Keep(data_, name, dat + fre);
    }

    void Image(Workspace& ws, const QString& name)
    {
        ClearImage(ws);
        EncodeImage(ws);
        Keep(image_, name + ".img", QByteArray(reinterpret_cast<const char*>(ws.MemImage.data()), kImageSize));
    }

    void Raw(const QString& name, const QByteArray& bytes) { Keep(image_, name, bytes); }

    int count() const { return count_; }

private:
    void Keep(const QString& dir, const QString& name, const QByteArray& bytes)
    {
        if (!WriteAll(dir + "/" + name, bytes)) Fail("cannot write " + dir + "/" + name);
        ++count_;
    }

    QString data_, image_;
    QTemporaryDir scratch_;
    int count_ = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_corpus INIT OUT\n");
        return 2;
    }
    const QString init = QString::fromLocal8Bit(argv[1]);
    Writer out(QString::fromLocal8Bit(argv[2]));

    const QStringList templates = QDir(init).entryList({"*.dat"}, QDir::Files, QDir::Name);
    if (templates.isEmpty()) Fail("no templates in " + init);
    for (const QString& t : templates) {
        const QString path = init + "/" + t, name = "template-" + QFileInfo(t).completeBaseName();
        out.Pair(path, name);
        auto ws = std::make_unique<Workspace>();
        if (!LoadTemplate(*ws, path)) Fail(path + " does not load");
        out.Image(*ws, name);
    }

    for (int bandClass = 0; bandClass <= 1; ++bandClass)
        for (const Variation& v : Variations()) {
            auto ws = std::make_unique<Workspace>();
            BuildTemplateData(*ws, bandClass);
            ws->WorkRecord.ModelInfo.MiDate.set("20260101");   // the same seeds every day
            v.apply(*ws);
            const QString name = QString::fromLatin1(v.name) + "-" + QString::number(bandClass);
            out.SavedPair(*ws, name);
            out.Image(*ws, name);
        }

    // A radio that was never programmed, and one whose memory reads all zero.
    out.Raw("blank.img", QByteArray(kImageSize, char(0xFF)));
    out.Raw("zero.img", QByteArray(kImageSize, '\0'));

    std::printf("make_corpus: %d seeds\n", out.count());
    return 0;
}
