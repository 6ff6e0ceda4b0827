// The frequency and channel cells of a CSV import read as the grid reads a
// number, and the VFO at frequency 0 ("not set") through check, grid, export
// and import without a byte changed.
#include "rules/channels/ChannelCheck.h"
#include "rules/channels/ChannelCsv.h"
#include "rules/channels/ChannelGridModel.h"
#include "model/ChannelRules.h"
#include "model/Codec.h"
#include "model/DataFile.h"
#include "model/Defaults.h"

#include <gtest/gtest.h>

namespace kt {
namespace {

const QByteArray kFull =
    "Band,Group,Channel,Frequency,BUSY,REP,RXCTC,TXCTC,Scan,Public,BOT,EOT,Call,HI-CUT,NB/ANL,ECHO,+10KHz,Roger,Mode\n";
QByteArray FullRow(const QByteArray& ch, const QByteArray& freq)
{
    return "HF,MEM," + ch + "," + freq + ",OFF,OFF,Off,Off,Add,OFF,OFF,OFF,OFF,OFF,NB,OFF,OFF,OFF,FM\n";
}

std::unique_ptr<Workspace> Job(int bandClass = 0)
{
    auto ws = std::make_unique<Workspace>();
    BuildTemplateData(*ws, bandClass);
    return ws;
}

// Hertz of channel ch of HF MEM, -1 when there is no such channel.
long long HzOf(const Workspace& ws, int ch)
{
    const int slot = FindSlot(ws, 0, MemoryGroupOf(0), ch);
    long long hz = -1;
    bool subHz = false;
    if (slot == 0 || !DigitsToHz(ws.Channels(0, slot, MemoryGroupOf(0)).Freq.bytes(), hz, subHz)) return -1;
    return hz;
}

TEST(CsvCells, FrequencyIsReadByItsValueAndChannelNumbersAreDigitsOnly)
{
    const struct {
        QByteArray freq;
        long long hz;   // -1: refused
    } freqs[] = {
        {"0028.015", 28015000}, {"028.0150", 28015000}, {"27.185", 27185000},
        {"00027.18500", 27185000}, {"0000000000029.5", 29500000}, {"280.15", -1}, {".5", -1}, {"28,015", -1},
    };
    for (const auto& f : freqs) {
        for (bool interchange : {false, true}) {
            auto ws = Job();
            const QByteArray csv = interchange ? "Location,Frequency\n7," + f.freq + "\n" : kFull + FullRow("7", f.freq);
            const CsvImport r = ImportChannelsCsv(*ws, csv);
            EXPECT_EQ(r.ok(), f.hz >= 0) << f.freq.constData() << " interchange " << interchange;
            if (f.hz >= 0) EXPECT_EQ(HzOf(*ws, 7), f.hz) << f.freq.constData() << " interchange " << interchange;
        }
    }
    for (const QByteArray ch : {"+5", "5.0", "0x5", "-5"}) {
        auto ws = Job();
        const CsvImport full = ImportChannelsCsv(*ws, kFull + FullRow(ch, "27.185"));
        const CsvImport inter = ImportChannelsCsv(*ws, "Location,Frequency\n" + ch + ",27.185\n");
        for (const CsvImport* r : {&full, &inter}) {
            ASSERT_EQ(r->errors.total(), 1) << ch.constData();
            EXPECT_EQ(r->errors[0].value, QString::fromLatin1(ch));
        }
        EXPECT_EQ(HzOf(*ws, 5), -1);
    }
}

// As a read leaves a job: the VFO channel of each band holds zeros.
TEST(CsvCells, AVfoAtZeroIsNotSetAndComesBackUnchanged)
{
    for (int cls : {0, 1}) {
        auto ws = Job(cls);
        for (int b = 0; b < kBands; ++b) {
            if (ws->ChannelCount(b, VfoGroupOf(b)) == 0) InsertChannel(*ws, 1, b, VfoGroupOf(b), "28.5");
            ASSERT_EQ(ws->ChannelCount(b, VfoGroupOf(b)), 1);
            ws->Channels(b, 1, VfoGroupOf(b)).Freq.set("00000000");
        }
        TakeSnapshot(*ws);

        int notes = 0;
        for (const Finding& f : CheckChannels(*ws))
            if (f.group == VfoGroupOf(f.band)) {
                EXPECT_EQ(f.severity, Severity::Note) << f.reason.toStdString();
                ++notes;
            }
        EXPECT_EQ(notes, 2);
        EXPECT_EQ(CountErrors(CheckChannels(*ws)), 0);

        ChannelGridModel grid(*ws);
        for (int b = 0; b < kBands; ++b) {
            grid.ShowGroup(b, VfoGroupOf(b));
            EXPECT_EQ(grid.FreqText(1), QString()) << b;
        }

        const CsvExport e = ExportChannelsCsv(*ws);
        EXPECT_TRUE(e.bytes.contains("\r\nHF,VFO,1,,") && e.bytes.contains("\r\nHAM,VFO,1,,")) << e.bytes.constData();
        ClearImage(*ws);
        EncodeImage(*ws);
        const auto image = ws->MemImage;
        const QByteArray dat = SerializeDataRecord(ws->WorkRecord);

        const CsvImport r = ImportChannelsCsv(*ws, e.bytes);
        ASSERT_TRUE(r.ok()) << DescribeIssue(*ws, r.errors.value(0)).toStdString();
        EXPECT_TRUE(r.warnings.isEmpty()) << DescribeIssue(*ws, r.warnings.value(0)).toStdString();
        EXPECT_TRUE(IsUnchanged(*ws));
        EXPECT_EQ(SerializeDataRecord(ws->WorkRecord), dat);
        for (int b = 0; b < kBands; ++b)
            EXPECT_EQ(ws->Channels(b, 1, VfoGroupOf(b)).Freq.bytes(), QByteArray("00000000"));
        ClearImage(*ws);
        EncodeImage(*ws);
        EXPECT_EQ(ws->MemImage, image);
    }
}

// An empty VFO frequency in a file for a job whose VFO is tuned sets it to 0.
TEST(CsvCells, AnEmptyVfoFrequencyClearsATunedVfo)
{
    auto ws = Job();
    const QByteArray csv = QByteArray(kFull).append("HF,VFO,1,,OFF,OFF,Off,Off,Add,OFF,OFF,OFF,OFF,OFF,NB,OFF,OFF,OFF,FM\n");
    if (ws->ChannelCount(0, VfoGroupOf(0)) == 0) InsertChannel(*ws, 1, 0, VfoGroupOf(0), "27.185");
    ASSERT_FALSE(VfoNotSet(ws->Channels(0, 1, VfoGroupOf(0)), 0, VfoGroupOf(0)));
    const CsvImport r = ImportChannelsCsv(*ws, csv);
    ASSERT_TRUE(r.ok()) << DescribeIssue(*ws, r.errors.value(0)).toStdString();
    EXPECT_TRUE(VfoNotSet(ws->Channels(0, 1, VfoGroupOf(0)), 0, VfoGroupOf(0)));
}

}  // namespace
}  // namespace kt
