// A job's own full-layout export imports back into it unchanged, byte for byte,
// for jobs made at random from every value a data file pair can hold (values
// past the grid's lists, frequencies outside the band or none at all, numbers
// twice in a group, references to empty DTMF codes and silent patterns).
#include "rules/channels/ChannelCsv.h"
#include "model/DataFile.h"
#include "model/Defaults.h"
#include "model/DataFileLayout.h"
#include "rules/dtmf/DtmfRules.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <random>

namespace kt {
namespace {

class Gen {
public:
    explicit Gen(unsigned seed) : rng_(seed) {}
    int In(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    QByteArray Freq()
    {
        switch (In(0, 7)) {
        case 0: return "00000000";   // the VFO record of a cleared image
        case 1: return "FFFFFFFF";
        case 2: return "        ";
        case 3: return QByteArray::number(In(10000000, 99999999));
        case 4: return QByteArray::number(In(2400000, 2999999)).leftJustified(8, ' ');
        case 5: {   // any printable text, NUL-cut
            QByteArray t;
            for (int i = 0; i < 8; ++i) t += char(In(0, 9) == 0 ? 0 : In(0x20, 0x7E));
            return t;
        }
        default: return QByteArray::number(In(2800000, 2969500) * 10);   // in both bands, on the raster
        }
    }

    ChannelRec Channel(int chNo)
    {
        ChannelRec c;
        c.ChNo = int16_t(chNo);
        c.Used = int16_t(In(-3, 3));
        c.Freq.set(Freq());
        c.TxFreq.set(Freq());
        for (int16_t* v : {&c.W19, &c.W20, &c.W24}) *v = int16_t(In(INT16_MIN, INT16_MAX));
        for (int16_t* v : {&c.TxCtcss, &c.TxDcs, &c.RxCtcss, &c.RxDcs, &c.Mode, &c.RogerBeep, &c.BotCode,
                           &c.EotCode, &c.CallCode})
            *v = int16_t(In(0, 3) == 0 ? In(0, 255) : In(0, 16));
        for (int16_t* v : {&c.Scan, &c.HiCut, &c.Echo, &c.Add10K, &c.BusyLock, &c.PublicCh}) *v = int16_t(In(0, 1));
        for (int16_t* v : {&c.TxToneType, &c.RxToneType, &c.NbAnl, &c.RepShift}) *v = int16_t(In(0, 3));
        return c;
    }

    void Job(Workspace& ws)
    {
        BuildTemplateData(ws, In(0, 1));
        for (int k = 1; k <= kDtmfCodes; ++k)
            if (In(0, 1)) StoreDtmfCode(ws, k, QByteArray::number(In(0, 99999)));
        for (int p = 0; p < kRbPatterns; ++p) ws.WorkRecord.RbPattern[p].RbTone[0][0] = int16_t(In(0, 1) * 100);
        OptFeatRec& of = ws.OptFeat();
        for (int16_t* m : {&of.FmEnabled, &of.AmEnabled, &of.UsbEnabled, &of.LsbEnabled, &of.PaEnabled, &of.CwEnabled})
            *m = int16_t(In(0, 1));
        for (int b = 0; b < kBands; ++b)
            for (int g = 1; g <= GroupsOfBand(b); ++g) {
                const int most = layout::GroupCapacity(b, g);
                const int count = In(0, 2) == 0 ? 0 : In(1, std::min(most, 30));
                for (int s = 1; s <= count; ++s) ws.Channels(b, s, g) = Channel(In(1, most));
                ws.ChannelCount(b, g) = int16_t(count);
            }
        TakeSnapshot(ws);
    }

private:
    std::mt19937 rng_;
};

std::unique_ptr<Workspace> Opened(const QString& dat)
{
    auto ws = std::make_unique<Workspace>();
    ws->Versions.VersionPairs = {VersionPair{"V200", "V200"}};
    ws->CurrentFile = dat;
    EXPECT_EQ(OpenDataFile(*ws).kind, FileResult::Done) << dat.toStdString();
    return ws;
}

TEST(CsvRoundTrip, GeneratedJobsImportTheirOwnExportUnchanged)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString job = dir.filePath("job.dat"), back = dir.filePath("back.dat");
    int warnings = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        Workspace made;
        Gen(seed).Job(made);
        made.CurrentFile = job;
        ASSERT_EQ(SaveDataFile(made).kind, FileResult::Done);

        const CsvExport e = ExportChannelsCsv(*Opened(job));
        ASSERT_TRUE(e.errors.isEmpty()) << seed;
        auto into = Opened(job);
        const CsvImport r = ImportChannelsCsv(*into, e.bytes);
        ASSERT_TRUE(r.ok()) << "seed " << seed << ": " << DescribeIssue(*into, r.errors.value(0)).toStdString();
        warnings += int(r.warnings.size());
        into->CurrentFile = back;
        ASSERT_EQ(SaveDataFile(*into).kind, FileResult::Done);
        EXPECT_EQ(test::ReadFile(back), test::ReadFile(job)) << "seed " << seed;
        EXPECT_EQ(test::ReadFile(ChannelFileOf(back)), test::ReadFile(ChannelFileOf(job))) << "seed " << seed;
    }
    EXPECT_GT(warnings, 100);   // the jobs held plenty the grid would not offer
}

// The grid edits the HAM band's MEM only; an import that restores its other
// groups says so in the summary, in the current language.
TEST(CsvRoundTrip, SummaryNamesTheGroupsTheGridDoesNotEdit)
{
    const QByteArray head = "Band,Group,Channel,Frequency,BUSY,REP,RXCTC,TXCTC,Scan,Public,BOT,EOT,Call,HI-CUT,NB/ANL,ECHO,+10KHz,Roger,Mode\n";
    const QByteArray tail = ",OFF,OFF,Off,Off,Add,OFF,OFF,OFF,OFF,OFF,NB,OFF,OFF,OFF,FM\n";
    struct Case { QByteArray rows; int lang; QString note; };
    const Case cases[] = {
        {"HF,A,1,27.185" + tail + "HF,VFO,1,27.185" + tail + "HAM,MEM,1,28.5" + tail, English, QString()},
        {"HAM,B,1,28.5" + tail + "HAM,VFO,1,28.5" + tail + "HAM,MEM,1,28.5" + tail, English,
         "Changed group(s) the channel grid does not edit: HAM B, HAM VFO"},
        {"HAM,A,1,28.5" + tail, Chinese, QString::fromUtf8("修改了信道表格不编辑的组：HAM A")},
    };
    for (const Case& c : cases) {
        Workspace ws;
        BuildTemplateData(ws, 1);
        ws.CurrentLanguage = c.lang;
        const CsvImport r = ImportChannelsCsv(ws, head + c.rows);
        ASSERT_TRUE(r.ok()) << c.rows.constData();
        EXPECT_EQ(NotGridGroupsNote(ws, r), c.note) << c.rows.constData();
    }
}

}  // namespace
}  // namespace kt
