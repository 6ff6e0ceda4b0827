// The link's windows: the port dialog's selection rules with a stand-in port
// list, and read / write / multi-radio write through the progress windows
// against the simulated radio.
#include "GuiTestHost.h"
#include "TestSupport.h"
#include "base/ProfileFile.h"
#include "shell/Settings.h"
#include "gui/link/FrmComSet.h"
#include "gui/link/FrmLinkTrace.h"
#include "gui/link/FrmProgress.h"
#include "gui/link/GuiTransfers.h"
#include "link/LinkMachine.h"
#include "link/SimRadio.h"
#include "link/Transfer.h"
#include "gui/link/frmMProgress.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace kt::test {
namespace {

bool SpinUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// Notes whether a progress window was still visible when each question came.
class WatchingAsker : public ScriptedAsker {
public:
    QList<bool> progressVisible;
    Answer ask(const QString& text, Buttons b, Icon i, bool t) override
    {
        bool visible = false;
        for (QWidget* w : QApplication::topLevelWidgets())
            if ((qobject_cast<FrmProgress*>(w) || qobject_cast<frmMProgress*>(w)) && w->isVisible()) visible = true;
        progressVisible << visible;
        return ScriptedAsker::ask(text, b, i, t);
    }
};

// --- port dialog -------------------------------------------------------------

class PortDialogTest : public ::testing::Test {
protected:
    TempInstall install;
    std::unique_ptr<Workspace> ws = install.workspace();
    QStringList ports;
    FrmComSet::PortLister lister = [this] { return ports; };
};

TEST_F(PortDialogTest, PreselectsTheConfiguredPortOrTheFirst)
{
    struct { QStringList present; QString key; QString selected; } cases[] = {
        {{"COM1", "COM12"}, "12", "COM12"},
        {{"COM1", "COM12"}, "COM12", "COM12"},
        {{"COM1", "COM12"}, "7", "COM1"},
        {{"ttyS0", "ttyUSB0", kSimulatedPortKey}, "ttyUSB0", "ttyUSB0"},
        {{"ttyS0", kSimulatedPortKey}, kSimulatedPortKey, kSimulatedPortKey},
    };
    for (const auto& c : cases) {
        ports = c.present;
        ws->comPort = c.key;
        FrmComSet dlg(*ws, lister);
        EXPECT_EQ(dlg.Combo1->count(), c.present.size());
        EXPECT_EQ(dlg.Combo1->currentData().toString(), c.selected) << c.key.toStdString();
        EXPECT_EQ(dlg.PortID, c.selected);
    }
}

TEST_F(PortDialogTest, OkStoresTheChoiceAndCancelChangesNothing)
{
    ports = {"COM1", "COM12"};
    ws->comPort = "7";
    {
        FrmComSet dlg(*ws, lister);
        dlg.CommandCancel->click();
        EXPECT_EQ(ws->comPort, QString("7"));
    }
    FrmComSet dlg(*ws, lister);
    dlg.CommandOK->click();
    EXPECT_EQ(ws->comPort, QString("COM1"));
    EXPECT_EQ(ReadProfileString(SettingsPath(*ws), "language", "comPort"), QString("COM1"));
    EXPECT_FALSE(dlg.ReShowComPortTimer->isActive());
}

TEST_F(PortDialogTest, NoPortMeansNoSelectionAndNoPortStored)
{
    ws->comPort = "3";
    FrmComSet dlg(*ws, lister);
    EXPECT_EQ(dlg.Combo1->currentIndex(), -1);
    EXPECT_TRUE(dlg.PortID.isEmpty());
    dlg.CommandOK->click();
    EXPECT_TRUE(ws->comPort.isEmpty());
    EXPECT_TRUE(ReadProfileString(SettingsPath(*ws), "language", "comPort").isEmpty());
}

TEST_F(PortDialogTest, RefreshShowsNewPortsAndKeepsTheChoiceWhileItExists)
{
    ports = {"COM1", "COM3"};
    ws->comPort = "1";
    FrmComSet dlg(*ws, lister);
    dlg.Combo1->setCurrentIndex(1);
    emit dlg.Combo1->activated(1);   // the user picks COM3
    ports = {"COM1", "COM3", "COM5"};
    ASSERT_TRUE(SpinUntil([&] { return dlg.Combo1->count() == 3; }, 2500));   // within a second or so
    EXPECT_EQ(dlg.Combo1->currentData().toString(), QString("COM3"));
    ports = {"COM5", "COM1"};   // COM3 unplugged: the first entry
    dlg.ReShowComPort();
    EXPECT_EQ(dlg.PortID, QString("COM5"));
    ports.clear();
    dlg.ReShowComPort();
    EXPECT_TRUE(dlg.PortID.isEmpty());
}

// The lines go with the port into the settings file and come back from it;
// Find my cable selects the port that went away and came back.
TEST_F(PortDialogTest, LinesAreStoredWithThePortAndFindMyCableSelectsIt)
{
    ports = {"ttyS0", "ttyUSB0", kSimulatedPortKey};
    ws->comPort = kSimulatedPortKey;
    {
        FrmComSet dlg(*ws, lister);
        EXPECT_FALSE(dlg.CheckDtr->isChecked());
        EXPECT_FALSE(dlg.CheckRts->isChecked());
        dlg.CommandFind->click();
        EXPECT_TRUE(dlg.FindTimer->isActive());
        ports = {"ttyS0", kSimulatedPortKey};   // unplugged
        dlg.FindTick();
        EXPECT_TRUE(dlg.LabelFind->text().contains("ttyUSB0")) << dlg.LabelFind->text().toStdString();
        EXPECT_EQ(dlg.PortID, kSimulatedPortKey);
        ports = {"ttyS0", "ttyUSB0", kSimulatedPortKey};   // plugged in again
        dlg.FindTick();
        EXPECT_FALSE(dlg.FindTimer->isActive());
        EXPECT_EQ(dlg.PortID, QString("ttyUSB0"));
        EXPECT_EQ(dlg.Combo1->currentData().toString(), QString("ttyUSB0"));
        EXPECT_EQ(dlg.LabelFind->text(), QString("Found: the cable is on ttyUSB0."));
        dlg.CheckRts->setChecked(true);
        dlg.CommandOK->click();
    }
    EXPECT_EQ(ws->comPort, QString("ttyUSB0"));
    EXPECT_FALSE(ws->portDtr);
    EXPECT_TRUE(ws->portRts);
    const QString path = SettingsPath(*ws);
    EXPECT_EQ(ReadProfileString(path, "language", "comDTR"), QString("0"));
    EXPECT_EQ(ReadProfileString(path, "language", "comRTS"), QString("1"));
    ws->portRts = false;
    LoadSettings(*ws, English);
    EXPECT_TRUE(ws->portRts);
    FrmComSet again(*ws, lister);
    EXPECT_TRUE(again.CheckRts->isChecked());
}

// --- transfers -----------------------------------------------------------------

class GuiTransferTest : public ::testing::Test {
protected:
    TempInstall install;
    std::unique_ptr<Workspace> ws = install.workspace();
    GuiTestHost host{*ws};
    WatchingAsker asker;
    Transfers transfers{host};
    QList<QPair<int, bool>> ended;
    QStringList captions;

    void SetUp() override
    {
        ws->asker = &asker;
        ws->Versions = LoadVersionTable(ws->InstallRoot);
        ws->comPort = kSimulatedPortKey;
        QObject::connect(&transfers, &Transfers::TransferEnded, [this](int k, bool ok) { ended << qMakePair(k, ok); });
        transfers.onProgressShown = [this](QDialog& w) {
            captions << w.windowTitle();
            if (auto* p = qobject_cast<FrmProgress*>(&w)) captions << p->Label1->text() << p->Label2->text();
        };
        SimRadio& sim = transfers.Simulator();
        for (int i = 0; i < SimRadio::kMemorySize; ++i) sim.Memory()[i] = uint8_t(i ^ (i >> 7));
    }
};

TEST_F(GuiTransferTest, ReadReopensTheChannelWindowAsAnUntitledDocument)
{
    ws->CurrentFile = "/tmp/old.dat";
    ws->IsUntitled = false;
    host.ShowChild(Child::OptFeatures);
    transfers.ReadFromRadio();
    ASSERT_EQ(ended.size(), 1);
    EXPECT_TRUE(ended[0].second);
    EXPECT_EQ(captions, (QStringList{"Read data from radio", "Completion percentage:", "0%"}));
    EXPECT_EQ(ws->CurrentFile, QString("new.dat"));
    EXPECT_TRUE(ws->IsUntitled);
    EXPECT_EQ(host.OptionsWindow(), nullptr);
    EXPECT_NE(host.ChannelWindow(), nullptr);
    EXPECT_GE(host.titleCount, 1);
    EXPECT_EQ(asker.asked.last(), QString("Read Data Completed."));
    EXPECT_FALSE(asker.progressVisible.last());
    EXPECT_EQ(ws->MemImage[0x2345], transfers.Simulator().Memory()[0x2345]);
    EXPECT_FALSE(transfers.IsPortOpen());
}

TEST_F(GuiTransferTest, WrongModelShowsItsNoticeAfterTheProgressWindowAndKeepsTheWindows)
{
    transfers.Simulator().Options().model = "ZZ0000Z";
    host.ShowChild(Child::OptFeatures);
    const int shows = host.showCount;
    transfers.ReadFromRadio();
    ASSERT_EQ(ended.size(), 1);
    EXPECT_FALSE(ended[0].second);
    EXPECT_EQ(asker.asked.last(), QString("Model type is wrong."));
    EXPECT_FALSE(asker.progressVisible.last());
    EXPECT_NE(host.OptionsWindow(), nullptr);
    EXPECT_EQ(host.showCount, shows);
    EXPECT_EQ(transfers.Simulator().EndsReceived(), 1);
}

// A read that fails offers its trace in its message; the trace saved holds
// the handshakes and their time-outs.  A file that cannot be written is said
// with its path; Program > Link Trace... shows the same trace, in Chinese too.
TEST_F(GuiTransferTest, AFailedReadOffersItsTraceAndTheTraceWindowShowsIt)
{
    transfers.Simulator().Options().silent = true;
    const QString saved = install.path("trace.txt");
    const QString blocked = install.path("no-such-folder/trace.txt");
    for (const QString& path : {saved, blocked}) {
        asker.asked.clear();
        asker.answers = {Answer::Ok, Answer::Cancel, Answer::Yes};   // confirm, question A: Cancel, Save Trace...
        asker.fileNames = {path};
        transfers.ReadFromRadio();
        ASSERT_FALSE(transfers.LastSuccess());
        ASSERT_GE(asker.asked.size(), 3);
        EXPECT_EQ(asker.asked[2], QString("The radio was not read.\r\n") +
                                      "The link trace shows what went over the cable; save it to send it with a report of the problem.");
    }
    const QString text = QString::fromUtf8(ReadFile(saved));
    EXPECT_EQ(text.count("| handshake\n") + text.count("| handshake, repeat\n"), 2) << text.toStdString();
    EXPECT_EQ(text.count("time-out: no reply within 300 ms"), 2);
    EXPECT_TRUE(text.contains("end: failed"));
    ASSERT_EQ(asker.asked.size(), 4);
    EXPECT_TRUE(asker.asked[3].startsWith("The link trace cannot be written to " + blocked + ": ")) << asker.asked[3].toStdString();
    EXPECT_FALSE(QFile::exists(blocked));

    for (int language : {English, Chinese}) {
        ws->CurrentLanguage = language;
        QString shown, title;
        transfers.execTraceWindow = [&](FrmLinkTrace& w) {
            shown = w.TextTrace->toPlainText();
            title = w.windowTitle();
            return 0;
        };
        transfers.ShowLinkTrace();
        // The last transfer's: the read whose trace could not be saved.
        EXPECT_TRUE(shown.startsWith("KT-6383 Pro link trace\ntransfer: read\n")) << shown.toStdString();
        EXPECT_EQ(shown.count("time-out: no reply within 300 ms"), 2);
        EXPECT_TRUE(shown.endsWith("end: failed\n"));
        EXPECT_EQ(title, language == English ? QString("Link Trace") : QString("通信记录"));
    }
}

TEST_F(GuiTransferTest, ProgressCaptionsFollowKindAndLanguage)
{
    struct { int kind; int language; const char* caption; const char* label; } cases[] = {
        {kRead, English, "Read data from radio", "Completion percentage:"},
        {kWrite, English, "Write data to radio", "Completion percentage:"},
        {kRead, Chinese, "从对讲机读取数据", "完成进度:"},
        {kWrite, Chinese, "向对讲机写入数据", "完成进度:"},
    };
    for (const auto& c : cases) {
        FrmProgress w(c.kind, c.language);
        EXPECT_EQ(w.windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(w.Label1->text(), QString::fromUtf8(c.label));
        w.SetProgressValue(37);
        EXPECT_EQ(w.Label2->text(), QString("37%"));
        w.reject();   // the user cannot close it
        EXPECT_EQ(w.result(), 0);
    }
}

TEST_F(GuiTransferTest, WriteStartsAfterTheWriteTimerAndChangesNothingElse)
{
    ws->CurrentFile = "/tmp/job.dat";
    ws->IsUntitled = false;
    transfers.WriteToRadio();
    EXPECT_TRUE(ended.isEmpty());   // the write waits for the pending edits
    ASSERT_TRUE(SpinUntil([&] { return !ended.isEmpty(); }, 20000));
    EXPECT_TRUE(ended[0].second);
    EXPECT_EQ(asker.asked.last(), QString("Write Data Completed."));
    EXPECT_EQ(ws->CurrentFile, QString("/tmp/job.dat"));
    EXPECT_FALSE(ws->IsUntitled);
    for (int i = 0; i < 0x5CC0; i += 61) ASSERT_EQ(transfers.Simulator().Memory()[i], ws->MemImage[i]);
}

TEST_F(GuiTransferTest, MultiRadioWriteAsksTheCountAndClosingTheWindowEndsIt)
{
    int asked = 0;
    transfers.askRadioCount = [&] { ++asked; return 3; };
    QPointer<QDialog> window;
    QString counterLabel;
    transfers.onProgressShown = [&](QDialog& w) {
        window = &w;
        auto* m = qobject_cast<frmMProgress*>(&w);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->ProgressBar2->maximum(), 3);
        counterLabel = m->Label4->text() + m->Label3->text();
    };
    // Close the window once the first radio is written and polled a while.
    QObject::connect(&transfers.Simulator(), &SimRadio::FrameReceived, [&](const QByteArray&) {
        if (window && transfers.Simulator().EndsReceived() == 1
            && transfers.Simulator().TimesOf("PROGRAM").size() >= 6)
            window->reject();
    });
    transfers.WriteToGroup();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(counterLabel, QString("WritingRadio's ID is:1"));
    EXPECT_EQ(transfers.Simulator().BlocksWritten(), 1484);
    EXPECT_EQ(transfers.Kind(), 0);
    EXPECT_FALSE(transfers.IsPortOpen());
    ASSERT_EQ(ended.size(), 1);
    EXPECT_FALSE(ended[0].second);
}

TEST_F(GuiTransferTest, InformationReadFillsTheLastRadioAndAnUnansweredOneClosesThePort)
{
    SimRadio& sim = transfers.Simulator();
    int identified = 0;
    QObject::connect(&transfers, &Transfers::RadioIdentified, [&] { ++identified; });
    transfers.RadioInformation();
    ASSERT_TRUE(SpinUntil([&] { return transfers.Kind() == 0; }, 3000));
    EXPECT_EQ(sim.Received(), (QList<QByteArray>{HandshakeFrame(), IdentRequestFrame(), EndFrame()}));
    EXPECT_FALSE(transfers.IsPortOpen());
    EXPECT_TRUE(ws->LastRadio.known);
    EXPECT_EQ(identified, 1);

    sim.Options().silent = true;
    transfers.RadioInformation();
    ASSERT_TRUE(SpinUntil([&] { return transfers.Kind() == 0; }, 3000));
    EXPECT_FALSE(transfers.IsPortOpen());
    EXPECT_EQ(identified, 1);
    ASSERT_EQ(asker.asked.size(), 1);
    EXPECT_TRUE(asker.asked[0].contains("did not answer"));
    asker.asked.clear();

    sim.Options().silent = false;
    transfers.ReadFromRadio();
    ASSERT_EQ(ended.size(), 1);
    EXPECT_TRUE(ended[0].second);
}

TEST_F(GuiTransferTest, RadioCountCancelledStartsNothing)
{
    transfers.askRadioCount = [] { return 0; };
    transfers.WriteToGroup();
    EXPECT_TRUE(asker.asked.isEmpty());
    EXPECT_TRUE(ended.isEmpty());
    EXPECT_FALSE(transfers.IsPortOpen());
}

}  // namespace
}  // namespace kt::test
