// File > Compare in the real main window: the document against an image of
// itself with one channel changed; the differences window lists it under its
// group, a double-click opens the channel in the channel window, Copy puts
// the list on the clipboard, and the window follows the language switch.
#include "MainWindowTest.h"

#include "gui/compare/CompareCommands.h"
#include "gui/compare/FrmDifferences.h"
#include "model/ChannelRules.h"
#include "model/Codec.h"

#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>

namespace kt {
namespace {

using CompareWindow = MainWindowTest;

TEST_F(CompareWindow, DoubleClickOpensTheChannelAndTheListFollowsTheLanguage)
{
    // An image of the document with channel 1 of group C on another frequency.
    const int slot = FindSlot(*ws, 0, 3, 1);
    ASSERT_GT(slot, 0);
    Workspace other = *ws;
    other.Channels(0, slot, 3).Freq.set("27123450");
    ClearImage(other);
    EncodeImage(other);
    const QString path = inst.path("other.img");
    ASSERT_TRUE(test::WriteFile(path, QByteArray(reinterpret_cast<const char*>(other.MemImage.data()), kImageSize)));
    const QByteArray before = test::DocumentBytes(*ws);

    main->CloseAllChildren();
    asker.fileNames = {path};
    CompareChoiceQuestion() = [](MainHost&) { return 0; };   // "A File..."
    main->menuAction("mnuFileCompare")->trigger();
    CompareChoiceQuestion() = nullptr;
    FrmDifferences* w = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<FrmDifferences*>(top); d && d->isVisible()) w = d;
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(test::DocumentBytes(*ws), before) << "a comparison changes neither side";

    QTreeWidget* list = w->List();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    QTreeWidgetItem* group = list->topLevelItem(0);
    EXPECT_EQ(group->text(0), "HF group C (1)");
    ASSERT_EQ(group->childCount(), 1);
    QTreeWidgetItem* row = group->child(0);
    EXPECT_EQ(row->text(0), "CH 1");
    EXPECT_EQ(row->text(1), "Frequency");
    EXPECT_EQ(row->text(3), "27.123450");

    QSignalSpy selected(&ws->Events(), &DocumentEvents::channelSelected);
    list->scrollToItem(row);
    const QRect cell = list->visualItemRect(row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0], (QList<QVariant>{0, 3, 1}));
    ASSERT_NE(Channels(), nullptr);
    EXPECT_EQ(Grid()->currentIndex().row(), 0) << "the channel's row is selected";

    w->CopyButton()->click();
    EXPECT_TRUE(QApplication::clipboard()->text().contains("HF group C (1)"));

    ws->CurrentLanguage = Chinese;
    emit ws->Events().languageChanged();
    EXPECT_EQ(w->List()->topLevelItem(0)->text(0), "HF C 组 (1)");
    EXPECT_EQ(w->List()->topLevelItem(0)->child(0)->text(1), "频率");
    w->close();
}

}  // namespace
}  // namespace kt

namespace kt {
namespace {

// A read, then a write of the document changed in two places: the write's
// question says what the write changes against the image read, and with
// Verify after Writing the radio is read back and found to hold the write.
TEST_F(CompareWindow, WriteQuestionSaysWhatChangesAndVerifyReadsBack)
{
    main->menuAction("mnuReadFromRadio")->trigger();
    ASSERT_TRUE(SpinUntil([&] { return asker.asked.contains("Read Data Completed."); }, 20000));
    ws->WorkRecord.OptFeat.MicGain = int16_t(ws->WorkRecord.OptFeat.MicGain == 20 ? 21 : 20);
    ws->WorkRecord.OptFeat.DtmfCode[3].set("123");
    store->setValue("Settings/VerifyAfterWrite", true);
    asker.asked.clear();
    main->menuAction("mnuWriteToRadio")->trigger();
    ASSERT_TRUE(SpinUntil([&] { return asker.asked.contains("Write Data Completed."); }, 20000));
    ASSERT_FALSE(asker.asked.isEmpty());
    EXPECT_TRUE(asker.asked[0].contains("Writing changes 1 option feature and DTMF code 3 (compared with the radio's "
                                        "image read on "))
        << asker.asked[0].toStdString();
    auto verified = [&] {
        for (QLabel* l : main->findChildren<QLabel*>())
            if (l->text().startsWith("Verify after writing: the radio holds what was written.")) return true;
        return false;
    };
    EXPECT_TRUE(SpinUntil(verified, 20000));
    for (const QString& q : asker.asked) EXPECT_FALSE(q.contains("failed")) << q.toStdString();
}

}  // namespace
}  // namespace kt
