// Undo and redo in the main window with every editor open, the document
// replaced by New, a read and a restored backup, the backups a read and a
// write leave, and the recent files of the File menu.
#include "base/Messages.h"
#include "gui/frmMain.h"
#include "gui/FrmHistory.h"
#include "gui/channels/frmCommChInfo.h"
#include "gui/dtmf/FrmDTMF.h"
#include "gui/link/FrmRestoreBackup.h"
#include "gui/link/GuiTransfers.h"
#include "gui/options/FrmOptFeatures.h"
#include "gui/rogerbeep/FrmToneTips.h"
#include "link/Backups.h"
#include "link/SimRadio.h"
#include "link/Transfer.h"
#include "model/ChannelRules.h"
#include "model/Codec.h"
#include "model/DataFile.h"
#include "rules/dtmf/DtmfRules.h"
#include "rules/options/OptionTables.h"
#include "rules/rogerbeep/RbRules.h"
#include "shell/DocumentHistory.h"
#include "shell/FileCommands.h"
#include "shell/MainTexts.h"
#include "MainWindowTest.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QUndoView>
#include <gtest/gtest.h>

namespace kt {
namespace {

using test::DocumentBytes;

// The main window with the simulated radio on its port.
class UndoTest : public MainWindowTest {};

TEST_F(UndoTest, EditsInEveryWindowUndoToTheStartAndRedoToTheSavedPair)
{
    for (Child c : {Child::OptFeatures, Child::Dtmf, Child::ToneTips, Child::ChannelInfo}) main->ShowChild(c);
    EXPECT_EQ(main->History().Steps(), 0) << "opening the windows is no step";
    EXPECT_FALSE(main->menuAction("mnuEditUndo")->isEnabled());
    EXPECT_FALSE(main->toolButton("Undo")->isEnabled());
    const QByteArray start = DocumentBytes(*ws);

    // The channel window: the band, a typed channel, a paste, a detail, a group name.
    In<QComboBox>(Channels(), "cboBand")->setCurrentIndex(0);
    In<QComboBox>(Channels(), "cboGroup")->setCurrentText("A");
    Type(30, "28.305");
    SelectRow(30);
    Menu("MnuLECopy");
    SelectRow(31);
    Menu("MnuLEPaste");
    In<QComboBox>(Channels(), "cboRxType")->setCurrentIndex(1);
    QTest::keyClicks(In<QLineEdit>(Channels(), "txtGroupName"), "NET");
    // The options: a list, and HF Public, which touches every channel of the band.
    QComboBox* beep = In<QComboBox>(main->OptionsWindow(), "Combo1_39");
    Choose(beep, beep->currentIndex() == 0 ? 1 : 0);
    QComboBox* hfPublic = In<QComboBox>(main->OptionsWindow(), "Combo1_45");
    Choose(hfPublic, hfPublic->findText("ON"));
    // A DTMF code typed letter by letter, a roger-beep tone.
    auto* codes = In<QTableWidget>(main->DtmfWindow(), "MSFlexGrid1");
    codes->setCurrentCell(1, 1);
    QLineEdit* code = In<QLineEdit>(main->DtmfWindow(), "Text1");
    code->selectAll();
    QTest::keyClicks(code, "12A");
    QComboBox* tone = In<QComboBox>(main->ToneTipsWindow(), "cboFreq1");
    tone->setCurrentIndex(tone->currentIndex() == 5 ? 6 : 5);

    const QStringList names = StepNames();
    EXPECT_TRUE(names.contains("New Channel CH A30")) << names.join(", ").toStdString();
    EXPECT_TRUE(names.contains("Paste CH A31"));
    EXPECT_TRUE(names.contains("Group Name A"));   // three letters, one step
    EXPECT_TRUE(names.contains("HF Public"));
    EXPECT_TRUE(names.contains("DTMF Code 2"));
    EXPECT_TRUE(names.contains("Roger Beep 1"));
    EXPECT_EQ(main->menuAction("mnuEditUndo")->text(), "&Undo Roger Beep 1");
    const int steps = main->History().Steps();

    ws->CurrentFile = inst.path("direct.dat");
    ASSERT_TRUE(SaveCurrentFile(*ws));
    const QByteArray end = DocumentBytes(*ws);

    UndoAll();
    EXPECT_TRUE(DocumentBytes(*ws) == start);
    EXPECT_TRUE(IsModified(*ws));
    // The open windows show the state put back.
    EXPECT_TRUE(Cell(30).isEmpty());
    EXPECT_EQ(In<QTableWidget>(main->DtmfWindow(), "MSFlexGrid1")->item(1, 1)->text(),
              QString::fromLatin1(DtmfCodeText(*ws, 2)));
    EXPECT_EQ(In<QComboBox>(main->ToneTipsWindow(), "cboFreq1")->currentIndex(),
              RbFreqIndex(ws->WorkRecord.RbPattern[0].RbTone[0][0]));
    const opt::ListSetting* beepSetting = opt::FindList(opt::id::Beep);
    QComboBox* beepNow = In<QComboBox>(main->OptionsWindow(), "Combo1_39");
    QStringList entries;
    for (int i = 0; i < beepNow->count(); ++i) entries << beepNow->itemText(i);
    EXPECT_EQ(beepNow->currentText(), ShownText(*beepSetting, entries, opt::GetField(ws->WorkRecord, beepSetting->field)));

    RedoAll();
    EXPECT_TRUE(DocumentBytes(*ws) == end);
    EXPECT_EQ(main->History().Steps(), steps) << "showing a state wrote no step of its own";
    EXPECT_FALSE(IsModified(*ws));
    EXPECT_EQ(Cell(30), QString("28.30500"));

    ws->CurrentFile = inst.path("redone.dat");
    ASSERT_TRUE(SaveCurrentFile(*ws));
    EXPECT_TRUE(test::ReadFile(inst.path("redone.dat")) == test::ReadFile(inst.path("direct.dat")));
    EXPECT_TRUE(test::ReadFile(inst.path("redone.fre")) == test::ReadFile(inst.path("direct.fre")));

    // The history window lists the steps and the start.
    Menu("mnuEditHistory");
    ASSERT_NE(main->HistoryWindow(), nullptr);
    EXPECT_EQ(main->HistoryWindow()->View()->model()->rowCount(), steps + 1);
}

TEST_F(UndoTest, UndoBackToTheSavedStateAsksNothingAtExit)
{
    ws->CurrentFile = inst.path("job.dat");
    ASSERT_TRUE(SaveCurrentFile(*ws));
    In<QComboBox>(Channels(), "cboBand")->setCurrentIndex(0);
    In<QComboBox>(Channels(), "cboGroup")->setCurrentText("B");
    Type(33, "28.405");
    EXPECT_EQ(main->menuAction("mnuEditUndo")->text(), "&Undo New Channel CH B33");
    EXPECT_EQ(main->toolButton("Undo")->toolTip(), "Undo New Channel CH B33");
    ws->CurrentLanguage = Chinese;
    main->Change_Language();
    EXPECT_EQ(main->menuAction("mnuEditUndo")->text(), QString::fromUtf8("撤销 新建信道 信道 B33(&U)"));
    EXPECT_TRUE(main->menuAction("mnuEditRedo")->shortcuts().contains(QKeySequence("Ctrl+Y")));
    ws->CurrentLanguage = English;
    main->Change_Language();

    EXPECT_TRUE(IsModified(*ws));
    main->ToolBarClick("Undo");
    main->ToolBarClick("Undo");   // and the band
    EXPECT_FALSE(IsModified(*ws));
    asker.asked.clear();
    EXPECT_TRUE(main->close());
    EXPECT_TRUE(asker.asked.isEmpty()) << asker.asked.join("|").toStdString();
}

TEST_F(UndoTest, NewAReadAndARestoredBackupAreStepsAndTheTransfersLeaveBackups)
{
    SimRadio& sim = main->transfers()->Simulator();
    sim.Memory() = SimRadio::FactoryImage(0);
    for (int i = 0x100; i < 0x400; ++i) sim.Memory()[size_t(i)] ^= uint8_t(i);   // something of its own
    ws->CurrentFile = inst.path("job.dat");
    ASSERT_TRUE(SaveCurrentFile(*ws));
    const QByteArray saved = DocumentBytes(*ws);

    // The tool bar's New asks nothing, and is a step.
    main->ToolBarClick(QString::fromUtf8("新建"));
    EXPECT_EQ(main->History().UndoName(), "New");
    Menu("mnuEditUndo");
    EXPECT_TRUE(DocumentBytes(*ws) == saved);

    // A read: the image kept first, byte for byte, under its name.
    const QString folder = main->transfers()->backupFolder;
    main->transfers()->ReadFromRadio();
    ASSERT_TRUE(main->transfers()->LastSuccess());
    const QStringList afterRead = BackupNames(folder);
    ASSERT_EQ(afterRead.size(), 1);
    EXPECT_TRUE(QRegularExpression("^\\d{8}-\\d{6}-RU6383R-V200-sim-read\\.img$").match(afterRead[0]).hasMatch())
        << afterRead[0].toStdString();
    EXPECT_EQ(test::ReadFile(folder + "/" + afterRead[0]), Bytes(sim.Memory()));
    EXPECT_EQ(ws->CurrentFile, QString("new.dat"));
    const QByteArray read = DocumentBytes(*ws);
    EXPECT_EQ(main->History().UndoName(), "Read from Radio");
    Menu("mnuEditUndo");
    EXPECT_TRUE(DocumentBytes(*ws) == saved);
    EXPECT_EQ(ws->CurrentFile, inst.path("job.dat"));
    EXPECT_FALSE(ws->IsUntitled);
    EXPECT_FALSE(IsModified(*ws));
    Menu("mnuEditRedo");
    EXPECT_TRUE(DocumentBytes(*ws) == read);

    // A write: the image sent, which is what the radio then holds.
    bool ended = false;
    QObject::connect(main->transfers(), &Transfers::TransferEnded, [&](int, bool) { ended = true; });
    Menu("mnuWriteToRadio");
    ASSERT_TRUE(SpinUntil([&] { return ended; }, 30000));
    ASSERT_TRUE(main->transfers()->LastSuccess());
    QString written;
    for (const QString& n : BackupNames(folder))
        if (n.endsWith("-write.img")) written = n;
    ASSERT_FALSE(written.isEmpty()) << BackupNames(folder).join(" ").toStdString();
    EXPECT_EQ(test::ReadFile(folder + "/" + written).left(0x5CC0), Bytes(sim.Memory()).left(0x5CC0));

    // A folder that cannot be made: said, and the read still done.
    ASSERT_TRUE(test::WriteFile(inst.path("blocked"), "a file"));
    main->transfers()->backupFolder = inst.path("blocked/backups");
    asker.asked.clear();
    main->transfers()->ReadFromRadio();
    EXPECT_TRUE(main->transfers()->LastSuccess());
    ASSERT_EQ(asker.asked.size(), 3) << asker.asked.join("|").toStdString();   // the confirmation first
    EXPECT_TRUE(asker.asked[1].startsWith("The radio's memory was not backed up"));
    EXPECT_EQ(asker.asked[2], "Read Data Completed.");
    main->transfers()->backupFolder = folder;

    // Restore: a corrupt file is listed, never opened; the read one opens with its channels.
    ASSERT_TRUE(test::WriteFile(folder + "/20200101-000000-RU6383R-V200-read.img", "short"));
    Type(5, "28.125");   // something to come back to
    const QByteArray beforeRestore = DocumentBytes(*ws);
    QStringList kinds, ports;
    main->transfers()->execRestoreDialog = [&](FrmRestoreBackup& d) {
        kinds.clear();
        ports.clear();
        for (int i = 0; i < d.Backups().size(); ++i) {
            d.SelectRow(i);
            kinds << (d.OpenButton()->isEnabled() ? "open" : "closed");
            ports << d.Table()->model()->index(i, 4).data().toString();
        }
        d.SelectRow(d.Backups().size() - 1);   // the oldest: the corrupt one
        EXPECT_FALSE(d.OpenButton()->isEnabled());
        EXPECT_TRUE(d.Preview()->text().contains("5 bytes")) << d.Preview()->text().toStdString();
        for (int i = 0; i < d.Backups().size(); ++i)
            if (d.Backups()[i].fileName == afterRead[0]) d.SelectRow(i);
        EXPECT_TRUE(d.Preview()->text().contains("HF channels:"));
        return int(QDialog::Accepted);
    };
    // The document was modified: the save question first, and Cancel stays.
    asker.asked.clear();
    asker.answers = {Answer::Cancel};
    Menu("mnuFileRestoreBackup");
    ASSERT_EQ(asker.asked.size(), 1);
    EXPECT_EQ(asker.asked[0], ws->T(msg::SaveModified));
    EXPECT_TRUE(DocumentBytes(*ws) == beforeRestore);
    EXPECT_FALSE(main->History().UndoName().startsWith("Restore Backup"));
    // No goes on without saving.
    asker.answers = {Answer::No};
    Menu("mnuFileRestoreBackup");
    EXPECT_EQ(kinds, (QStringList{"open", "open", "closed"}));   // write, read, corrupt
    EXPECT_EQ(ports, (QStringList{"sim", "sim", ""}));            // the old-style name says no port
    EXPECT_TRUE(ws->IsUntitled);
    Workspace decoded;
    decoded.MemImage = sim.Memory();
    std::vector<uint8_t> kept;
    ASSERT_TRUE(BackupStore::Load(folder + "/" + afterRead[0], kept, nullptr, English));
    decoded.MemImage = kept;
    DecodeImage(decoded);
    for (int band = 0; band < kBands; ++band)
        for (int g = 1; g <= GroupsOfBand(band); ++g) {
            ASSERT_EQ(ws->ChannelCount(band, g), decoded.ChannelCount(band, g)) << band << " " << g;
            for (int s = 1; s <= decoded.ChannelCount(band, g); ++s)
                EXPECT_EQ(ws->Channels(band, s, g).Freq.bytes(), decoded.Channels(band, s, g).Freq.bytes());
        }
    EXPECT_TRUE(main->History().UndoName().startsWith("Restore Backup"));
    Menu("mnuEditUndo");
    EXPECT_TRUE(DocumentBytes(*ws) == beforeRestore);
}

TEST_F(UndoTest, RecentFilesNewestFirstAndAMissingOneLeavesTheList)
{
    for (const char* name : {"one.dat", "two.dat"}) {
        ws->CurrentFile = inst.path(name);
        ASSERT_TRUE(SaveCurrentFile(*ws));
    }
    QList<QAction*> recent = main->RecentActions();
    ASSERT_EQ(recent.size(), 2);
    EXPECT_EQ(recent[0]->text(), "&1 two.dat");
    EXPECT_EQ(recent[1]->text(), "&2 one.dat");
    EXPECT_EQ(main->Recent().LastFolder(), QFileInfo(inst.path("two.dat")).absolutePath());

    QFile::remove(inst.path("two.dat"));
    asker.asked.clear();
    recent[0]->trigger();
    ASSERT_EQ(asker.asked.size(), 1);
    EXPECT_TRUE(asker.asked[0].contains("two.dat") && asker.asked[0].contains("no longer there"));
    ASSERT_EQ(main->RecentActions().size(), 1);

    In<QComboBox>(Channels(), "cboBand")->setCurrentIndex(0);
    Type(7, "28.205");
    main->RecentActions()[0]->trigger();   // the save question (Yes), then one.dat
    EXPECT_EQ(QFileInfo(ws->CurrentFile).fileName(), "one.dat");
    EXPECT_EQ(main->History().Steps(), 0) << "an opened file starts its own history";
}

}  // namespace
}  // namespace kt
