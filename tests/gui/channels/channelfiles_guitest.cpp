// Export Channels, Import Channels, the check report and Check Radio Band in
// the real main window.
#include "shell/Shell.h"
#include "gui/frmMain.h"
#include "gui/channels/FrmCheckReport.h"
#include "gui/channels/frmCommChInfo.h"
#include "gui/link/GuiTransfers.h"
#include "link/Transfer.h"
#include "model/ChannelRules.h"
#include "model/DataFile.h"
#include "TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace kt {
namespace {

struct MainFixture : ::testing::Test {
    test::TempInstall inst;
    Workspace ws;
    ScriptedAsker asker;
    std::unique_ptr<QSettings> store;
    std::unique_ptr<frmMain> main;

    void SetUp() override {
        StartOptions opt;
        opt.programDir = inst.bin();
        opt.root = inst.root();
        StartUp(ws, opt);
        ws.asker = &asker;
        store = std::make_unique<QSettings>(inst.path("geometry.ini"), QSettings::IniFormat);
        main = std::make_unique<frmMain>(ws, store.get());
        main->show();
        QCoreApplication::processEvents();
    }
    FrmCheckReport* Report() const {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* r = qobject_cast<FrmCheckReport*>(w); r && r->isVisible()) return r;
        return nullptr;
    }
};

TEST_F(MainFixture, ReportListsFindingsAndDoubleClickSelectsTheChannel)
{
    const int slot = FindSlot(ws, 0, 3, 1);
    ASSERT_GT(slot, 0);
    ws.Channels(0, slot, 3).Freq.set("31000000");
    main->CloseAllChildren();
    QSignalSpy selected(&ws.Events(), &DocumentEvents::channelSelected);
    main->menuAction("MnuFrequencyCheck")->trigger();
    FrmCheckReport* r = Report();
    ASSERT_NE(r, nullptr);
    ASSERT_EQ(CountErrors(r->findings()), 1);
    int row = -1;
    for (int i = 0; i < r->findings().size(); ++i)
        if (r->findings()[i].severity == Severity::Error) row = i;
    auto* model = static_cast<QStandardItemModel*>(r->table()->model());
    EXPECT_EQ(model->item(row, 0)->text(), "error");
    EXPECT_EQ(model->item(row, 2)->text(), "C");
    EXPECT_EQ(model->item(row, 3)->text(), "1");

    r->table()->scrollTo(model->index(row, 4));
    const QRect cell = r->table()->visualRect(model->index(row, 4));
    QTest::mouseClick(r->table()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(r->table()->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0], (QList<QVariant>{0, 3, 1}));
    EXPECT_NE(main->ChannelWindow(), nullptr);

    // The same menu item again refreshes the one report; the language follows.
    ws.Channels(0, slot, 3).Freq.set("27185000");
    main->menuAction("MnuFrequencyCheck")->trigger();
    EXPECT_EQ(Report(), r);
    EXPECT_EQ(CountErrors(r->findings()), 0);
    EXPECT_TRUE(asker.asked.isEmpty()) << asker.asked.join('|').toStdString();
    r->close();
}

TEST_F(MainFixture, ExportThenImportReplacesTheChannelsAndMarksTheDocumentModified)
{
    const QString csv = inst.path("plan.csv");
    asker.fileNames = {csv};
    main->menuAction("mnuFileExportChannels")->trigger();
    QByteArray bytes = test::ReadFile(csv);
    ASSERT_TRUE(bytes.startsWith("Band,Group,Channel,Frequency,BUSY")) << bytes.left(80).constData();
    EXPECT_FALSE(IsModified(ws));

    bytes.replace("HF,B,1,28.145000", "HF,B,1,27.55500");
    ASSERT_TRUE(test::WriteFile(csv, bytes));
    QSignalSpy replaced(&ws.Events(), &DocumentEvents::documentReplaced);
    asker.fileNames = {csv};
    main->menuAction("mnuFileImportChannels")->trigger();
    EXPECT_EQ(replaced.size(), 1);
    EXPECT_EQ(ws.Channels(0, FindSlot(ws, 0, 2, 1), 2).Freq.bytes(), QByteArray("2755500 "));
    EXPECT_TRUE(IsModified(ws));

    // A frequency the radio holds outside the band is kept with a warning; the
    // summary names the HAM groups the grid does not edit.
    bytes.replace("HF,B,1,27.55500", "HF,B,1,35.0");
    ASSERT_TRUE(test::WriteFile(csv, bytes));
    asker.fileNames = {csv};
    asker.asked.clear();
    main->menuAction("mnuFileImportChannels")->trigger();
    ASSERT_EQ(asker.asked.size(), 1);
    EXPECT_TRUE(asker.asked[0].contains("Changed group(s) the channel grid does not edit: HAM A")) << asker.asked[0].toStdString();
    EXPECT_TRUE(asker.asked[0].contains("column 4 (Frequency) \"35.0\": outside the band's range")) << asker.asked[0].toStdString();
    EXPECT_EQ(ws.Channels(0, FindSlot(ws, 0, 2, 1), 2).Freq.bytes(), QByteArray("3500000 "));

    // A bad file: the user is told line and column, nothing changes.
    const QByteArray before = SerializeChannelRecord(ws.Channels(0, 1, 2));
    bytes.replace("HF,B,1,35.0", "HF,B,1,135.0");
    ASSERT_TRUE(test::WriteFile(csv, bytes));
    asker.fileNames = {csv};
    asker.asked.clear();
    main->menuAction("mnuFileImportChannels")->trigger();
    ASSERT_FALSE(asker.asked.isEmpty());
    EXPECT_TRUE(asker.asked.last().contains("column 4 (Frequency) \"135.0\": cannot be held")) << asker.asked.last().toStdString();
    EXPECT_EQ(SerializeChannelRecord(ws.Channels(0, 1, 2)), before);

    // An export that cannot be written says so and leaves no file.
    asker.fileNames = {inst.path("missing/plan.csv")};
    asker.asked.clear();
    main->menuAction("mnuFileExportChannels")->trigger();
    ASSERT_EQ(asker.asked.size(), 1);
    EXPECT_TRUE(asker.asked[0].startsWith("The file could not be written")) << asker.asked[0].toStdString();
    EXPECT_FALSE(QFile::exists(inst.path("missing/plan.csv")));
}

// The channel window's button and the Band menu's item run the same check;
// with no radio it offers Radio Information, which identifies the radio; the
// band is named once the radio has been read.
TEST_F(MainFixture, CheckRadioBandNamesBothBandsAndOffersRadioInformation)
{
    ws.comPort = kSimulatedPortKey;
    main->ShowChild(Child::ChannelInfo);
    const auto button = [&] { return main->ChannelWindow()->findChild<QPushButton*>("cmdCheckBand"); };
    ASSERT_NE(button(), nullptr);

    asker.answers = {Answer::No};
    button()->click();
    ASSERT_EQ(asker.asked.size(), 1);
    EXPECT_TRUE(asker.asked[0].startsWith("No radio has been identified yet")) << asker.asked[0].toStdString();
    EXPECT_TRUE(asker.asked[0].endsWith("Open Radio Information to identify the radio now?"));
    EXPECT_FALSE(ws.LastRadio.known);

    asker.answers = {Answer::Yes};
    main->menuAction("MnuCheckRadioBand")->trigger();
    QElapsedTimer t;
    t.start();
    while (!ws.LastRadio.known && t.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(ws.LastRadio.known) << asker.asked.join("|").toStdString();
    EXPECT_EQ(ws.LastRadio.model, QByteArray("RU6383R"));

    asker.asked.clear();
    button()->click();
    ASSERT_EQ(asker.asked.size(), 1);
    EXPECT_TRUE(asker.asked[0].contains("RU6383R V200 has been identified, but its band is known only once it has "
                                        "been read")) << asker.asked[0].toStdString();

    main->transfers()->ReadFromRadio();
    ASSERT_TRUE(main->transfers()->LastSuccess());
    asker.asked.clear();
    button()->click();
    main->menuAction("MnuCheckRadioBand")->trigger();
    const QString match = QString("Radio's band: HAM (28.0000 - 29.6950 MHz)\n"
                                  "Document's band: HAM (28.0000 - 29.6950 MHz)\nThe bands match.");
    EXPECT_EQ(asker.asked, (QStringList{match, match}));
}

}  // namespace
}  // namespace kt
