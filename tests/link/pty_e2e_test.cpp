// Whole transfers through the real serial port code over a pseudo-terminal,
// against the simulated radio, with the questions answered from a script.
#include "LinkTestUtil.h"
#include "link/SimRadio.h"
#include "link/Transfer.h"
#include "model/Codec.h"
#include "model/Defaults.h"
#include "model/FreqRules.h"
#include "rules/channels/ChannelEdit.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

namespace kt::test {
namespace {

const QString kRetryText = QStringLiteral("Check Connection. Retry or Cancel?");

class PtyTest : public ::testing::Test {
protected:
    LinkFixtureWs f;
    Workspace& ws = *f.ws;
    SimRadio sim;
    std::unique_ptr<Transfer> t;

    void SetUp() override
    {
        ASSERT_TRUE(sim.Start()) << sim.ErrorText().toStdString();
        for (int i = 0; i < SimRadio::kMemorySize; ++i) sim.Memory()[i] = uint8_t(i * 31 + (i >> 8));
        t = std::make_unique<Transfer>(ws);
        t->SetSimulator(&sim);
        ws.comPort = kSimulatedPortKey;
    }
    int Count(const QByteArray& frame) const { return int(sim.Received().count(frame)); }
    int AskedCount(const QString& text) const { return int(f.asker.asked.count(text)); }
};

TEST_F(PtyTest, FullReadCopiesTheRadiosMemory)
{
    ASSERT_TRUE(t->Read());
    EXPECT_FALSE(t->IsPortOpen());
    EXPECT_EQ(t->Kind(), 0);
    for (int i = 0; i < 0x5CC0; ++i) ASSERT_EQ(ws.MemImage[i], sim.Memory()[i]) << "at " << i;
    EXPECT_EQ(ws.MemImage[0x5CC0], 0xFF);
    EXPECT_EQ(f.asker.asked.first(), QString("Read data from radio.\r\nDo you wish continue?"));
    EXPECT_EQ(f.asker.asked.last(), QString("Read Data Completed."));
    EXPECT_EQ(ws.CurrentFile, QString("new.dat"));
    EXPECT_TRUE(ws.IsUntitled);
    const auto rx = sim.Received();
    ASSERT_EQ(rx.size(), 1 + 1 + 1484 + 1);
    EXPECT_EQ(rx.first(), QByteArray("PROGRAM"));
    EXPECT_EQ(rx[1], QByteArray(1, 0x02));
    EXPECT_EQ(rx[rx.size() - 2], QByteArray("\x52\x5C\xB0\x10", 4));
    EXPECT_EQ(rx.last(), QByteArray("END"));
}

// The limits of a read follow the radio's band, whatever the document before it was.
TEST_F(PtyTest, ReadOfTheOtherBandBringsItsFrequencyLimits)
{
    // own: inside the radio's band but outside the document's before (except
    // for the HF radio's foreign one, outside both: the HAM band lies inside HF).
    struct Case { int docBand, radioBand; const char* own; const char* foreign; };
    for (const Case c : {Case{1, 0, "27.18500", "30.50000"}, Case{0, 1, "28.10000", "27.18500"}}) {
        Workspace radio;
        BuildTemplateData(radio, c.radioBand);
        EncodeImage(radio);
        sim.Memory() = radio.MemImage;
        BuildTemplateData(ws, c.docBand);
        ParseBandRange(ws);
        f.asker.asked.clear();
        ASSERT_TRUE(t->Read()) << c.radioBand;
        EXPECT_EQ(ws.WorkRecord.BandType, c.radioBand);
        EXPECT_EQ(SaveFreqCell(ws, c.radioBand, 1, 2, 1, c.own), FreqCellResult::Inserted) << c.own;
        EXPECT_EQ(SaveFreqCell(ws, c.radioBand, 1, 3, 1, c.foreign), FreqCellResult::Nothing) << c.foreign;
        EXPECT_FALSE(f.asker.asked.filter("Frequency is out of range.").isEmpty()) << c.foreign;
    }
}

TEST_F(PtyTest, FullWriteFillsTheRadiosMemory)
{
    sim.FillMemory(0x00);
    ASSERT_TRUE(t->Write());
    std::vector<uint8_t> image = ws.MemImage;
    for (int i = 0; i < 0x5CC0; ++i) ASSERT_EQ(sim.Memory()[i], image[i]) << "at " << i;
    EXPECT_EQ(sim.Memory()[0x5CC0], 0x00);   // never sent
    EXPECT_EQ(sim.BlocksWritten(), 1484);
    EXPECT_EQ(f.asker.asked.last(), QString("Write Data Completed."));
}

TEST_F(PtyTest, FragmentedRepliesAreGathered)
{
    sim.Options().chunk = 5;
    ASSERT_TRUE(t->Read());
    EXPECT_EQ(ws.MemImage[0x1234], sim.Memory()[0x1234]);
    EXPECT_EQ(Count("PROGRAM"), 1);
    EXPECT_EQ(Count(ReadRequestFrame(0)), 1);   // no block needed a repeat
}

TEST_F(PtyTest, SilentRadioGetsTwoHandshakesThenTheQuestion)
{
    sim.Options().silent = true;
    f.asker.answers = {Answer::Ok, Answer::Retry, Answer::Cancel};
    EXPECT_FALSE(t->Read());
    const QList<qint64> times = sim.TimesOf("PROGRAM");
    ASSERT_EQ(times.size(), 4);   // two, Retry, two more, Cancel
    for (int i : {1, 3}) {
        EXPECT_GE(times[i] - times[i - 1], 280);
        EXPECT_LE(times[i] - times[i - 1], 900);
    }
    EXPECT_EQ(AskedCount(kRetryText), 2);
    EXPECT_EQ(Count("END"), 0);
    EXPECT_EQ(t->Kind(), 0);
    EXPECT_FALSE(t->IsPortOpen());
}

TEST_F(PtyTest, HandshakeAnsweredWithAcknowledgeOnly)
{
    sim.Options().ackOnlyHandshake = true;
    ASSERT_TRUE(t->Read());
    EXPECT_EQ(Count("PROGRAM"), 1);
    EXPECT_EQ(ws.MemImage[0x100], sim.Memory()[0x100]);
}

TEST_F(PtyTest, OneBadChecksumIsRepeatedAndTheReadCompletes)
{
    sim.Options().corruptChecksumAt = 0x0400;
    ASSERT_TRUE(t->Read());
    EXPECT_EQ(Count(ReadRequestFrame(0x0400)), 2);
    EXPECT_EQ(AskedCount(kRetryText), 0);
    for (int i = 0x400; i < 0x410; ++i) EXPECT_EQ(ws.MemImage[i], sim.Memory()[i]);
}

TEST_F(PtyTest, ABlockLostForGoodAsksAndOkRestartsFromBlockZero)
{
    sim.Options().dropBlockAt = 0x0040;
    sim.Options().dropCount = 1 + kBlockRepeats;   // every automatic repeat lost too
    ASSERT_TRUE(t->Write());
    EXPECT_EQ(AskedCount(kRetryText), 1);
    EXPECT_EQ(Count("PROGRAM"), 2);
    EXPECT_EQ(Count(DataFrame(0, ws.MemImage.data())), 2);   // block 0 written again
    EXPECT_EQ(sim.Memory()[0x45], ws.MemImage[0x45]);
    EXPECT_EQ(f.asker.asked.last(), QString("Write Data Completed."));
}

TEST_F(PtyTest, WrongModelEndsAfterIdentificationAndLeavesTheModel)
{
    sim.Options().model = "XY1234Z";
    ws.WorkRecord.BandType = 7;
    const QString file = ws.CurrentFile = QStringLiteral("/tmp/job.dat");
    ws.IsUntitled = false;
    EXPECT_FALSE(t->Read());
    EXPECT_EQ(sim.Received(), (QList<QByteArray>{"PROGRAM", QByteArray(1, 0x02), "END"}));
    EXPECT_EQ(f.asker.asked.last(), QString("Model type is wrong."));
    EXPECT_EQ(ws.WorkRecord.BandType, 7);
    EXPECT_EQ(ws.CurrentFile, file);
    EXPECT_FALSE(ws.IsUntitled);
}

// The trace holds the last transfer only, frame for frame what the radio
// saw and sent, and the lines as asked even where the port refuses them.
TEST_F(PtyTest, TraceHoldsTheLastTransferOnlyFrameForFrame)
{
    ASSERT_TRUE(t->Read());
    sim.ClearLog();
    ws.portDtr = true;
    ASSERT_TRUE(t->Write());
    QStringList sent;
    for (const SimRadio::Frame& fr : sim.Log())
        sent << (fr.fromProgram ? "->  " : "<-  ") + QString::fromLatin1(fr.bytes.toHex(' ').toUpper()) + " | ";
    const QString text = t->Trace().Text();
    QStringList traced;
    for (const QString& line : text.split('\n')) {
        const qsizetype at = line.indexOf("-> ") >= 0 ? line.indexOf("-> ") : line.indexOf("<- ");
        if (at > 0 && line.contains(" | ")) traced << line.mid(at, line.indexOf(" | ") - at + 3);
    }
    EXPECT_EQ(traced, sent);
    EXPECT_EQ(t->Trace().FrameCount(), 2 * (1 + 1 + 1484 + 1));
    EXPECT_TRUE(text.contains("transfer: write\n"));
    EXPECT_FALSE(text.contains("| read of"));
    EXPECT_TRUE(text.contains("DTR: on, refused")) << text.left(600).toStdString();
    EXPECT_TRUE(text.contains("RTS: off, refused"));
}

// Yes or No: when no other program takes over, the radio still gets End and
// leaves programming mode.
TEST_F(PtyTest, IncompatibleFirmwareAsksTheVersionQuestionAndEndsTheLink)
{
    sim.Options().firmware = "V100";
    for (Answer a : {Answer::No, Answer::Yes}) {
        sim.ClearLog();
        f.asker.asked.clear();
        f.asker.answers = {Answer::Ok, a};
        EXPECT_FALSE(t->Write());
        ASSERT_EQ(f.asker.asked.size(), 2);
        EXPECT_TRUE(f.asker.asked[1].contains("V1.00")) << f.asker.asked[1].toStdString();
        EXPECT_EQ(Count("END"), 1) << (a == Answer::Yes ? "yes" : "no");
        EXPECT_FALSE(t->IsPortOpen());
    }
    EXPECT_EQ(sim.BlocksWritten(), 0);
}

TEST_F(PtyTest, CancelAtTheConfirmationLeavesTheLinkClean)
{
    f.asker.answers = {Answer::Cancel};
    EXPECT_FALSE(t->Read());
    EXPECT_FALSE(t->IsPortOpen());
    EXPECT_EQ(t->Kind(), 0);
    EXPECT_TRUE(sim.Received().isEmpty());
    ASSERT_TRUE(t->Read());
    EXPECT_EQ(sim.Received().first(), QByteArray("PROGRAM"));
}

TEST_F(PtyTest, RadioSilentMidTransferEndsInTheLostBlockQuestion)
{
    // The cable pulled at block 0x0800 and never put back.
    sim.Options().silentFromAddr = 0x0800;
    f.asker.answers = {Answer::Ok, Answer::Cancel};
    EXPECT_FALSE(t->Read());
    EXPECT_EQ(AskedCount(kRetryText), 1);
    EXPECT_EQ(Count(ReadRequestFrame(0x0800)), 1 + kBlockRepeats);
    EXPECT_EQ(t->Kind(), 0);
}

// The port going away ends the transfer at once with a message that says
// why it may have gone, not with questions about a radio that cannot answer.
TEST_F(PtyTest, CablePulledMidTransferEndsItSayingWhy)
{
    sim.Options().hangUpAt = 0x0800;
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(t->Read());
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_TRUE(t->PortLost());
    EXPECT_EQ(AskedCount(kRetryText), 0);
    ASSERT_EQ(f.asker.asked.size(), 2);
    const QString said = f.asker.asked[1];
    EXPECT_TRUE(said.startsWith("The port " + sim.DevicePath() + " went away during the transfer")) << said.toStdString();
    for (const char* cause : {"systemctl status brltty", "systemctl status ModemManager"})
        EXPECT_TRUE(said.contains(cause)) << cause;
    EXPECT_TRUE(t->Trace().Text().contains("port lost")) << t->Trace().Text().toStdString();
    EXPECT_TRUE(t->Trace().Text().contains("end: the port went away"));
    EXPECT_EQ(t->Kind(), 0);
    EXPECT_FALSE(t->IsPortOpen());
    // The next transfer on a port that is back starts afresh.
    sim.Options().hangUpAt = -1;
    ASSERT_TRUE(sim.Start());
    f.asker.asked.clear();
    EXPECT_TRUE(t->Read());
    EXPECT_FALSE(t->PortLost());
}

TEST_F(PtyTest, StoppingTheTimersDuringATransferCannotStallIt)
{
    // The main window is resized just as a block goes missing.
    sim.Options().dropBlockAt = 0x0100;
    QObject::connect(&sim, &SimRadio::FrameReceived, [&](const QByteArray& fr) {
        if (fr == ReadRequestFrame(0x0100)) t->StopTimers();
    });
    bool stalled = false;
    QTimer::singleShot(8000, t.get(), [&] {   // not past this test
        if (t->Kind() == 0) return;
        stalled = true;
        t->Machine().EndTransfer(false);
    });
    EXPECT_TRUE(t->Read());
    EXPECT_FALSE(stalled);
    EXPECT_EQ(Count(ReadRequestFrame(0x0100)), 2);
}

TEST_F(PtyTest, PortThatCannotBeOpenedSaysWhy)
{
    t->SetPortOverride(QDir::tempPath() + "/no-such-tty");
    EXPECT_FALSE(t->Read());
    ASSERT_EQ(f.asker.asked.size(), 1);
    EXPECT_TRUE(f.asker.asked[0].startsWith("Cannot Open Communication Port.\r\n"));
    EXPECT_TRUE(f.asker.asked[0].contains("no-such-tty"));
    EXPECT_EQ(t->Kind(), 0);
}

TEST_F(PtyTest, MultiRadioWriteOverTwoRadiosWithASwap)
{
    // The first radio answers nothing for 2 s after End, then comes back as
    // another radio with a fresh memory.
    sim.Options().silentAfterEnd = 2.0;
    sim.Options().freshAfterSilence = true;
    ASSERT_TRUE(t->WriteGroup(2));
    EXPECT_EQ(sim.RadiosSeen(), 2);
    EXPECT_EQ(sim.BlocksWritten(), 2 * 1484);
    EXPECT_EQ(Count(QByteArray(1, 0x02)), 2);
    for (int i = 0; i < 0x5CC0; i += 97) ASSERT_EQ(sim.Memory()[i], ws.MemImage[i]);
    EXPECT_EQ(AskedCount(kRetryText), 0);
    EXPECT_EQ(f.asker.asked.last(), QString("Write Data Completed."));
}

TEST_F(PtyTest, MultiRadioWriteDoesNotRewriteARadioLeftConnected)
{
    bool windowClosed = false;
    // Close the window (end the run) once the radio has been polled a while.
    QObject::connect(&sim, &SimRadio::FrameReceived, [&](const QByteArray& fr) {
        if (!windowClosed && sim.EndsReceived() == 1 && sim.TimesOf("PROGRAM").size() >= 15) {
            windowClosed = true;
            t->Machine().OnMultiWindowClosed();
        }
    });
    EXPECT_FALSE(t->WriteGroup(2));
    EXPECT_TRUE(windowClosed);
    EXPECT_EQ(sim.BlocksWritten(), 1484);
    EXPECT_EQ(Count(QByteArray(1, 0x02)), 1);
    EXPECT_FALSE(t->IsPortOpen());
}

}  // namespace
}  // namespace kt::test
