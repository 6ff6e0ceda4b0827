// Many rows of the channel grid at once, as a user works them in the main
// window: rows picked with Shift+arrows, one field set on all of them as one
// undo step, spreadsheet rows pasted from the clipboard, and bad ones
// refused with the row and column named and the document unchanged.
#include "MainWindowTest.h"
#include "model/ChannelRules.h"

#include <QClipboard>
#include <QGroupBox>
#include <QHeaderView>
#include <QMimeData>
#include <QPushButton>

namespace kt {
namespace {

class RowsTest : public MainWindowTest {
protected:
    void Show(int band, const QString& group)
    {
        In<QComboBox>(Channels(), "cboBand")->setCurrentIndex(band);
        auto* c = In<QComboBox>(Channels(), "cboGroup");
        c->setCurrentIndex(c->findText(group));
    }
    const ChannelRec* Channel(int band, int group, int ch)
    {
        const int slot = FindSlot(*ws, band, group, ch);
        return slot ? &ws->Channels(band, slot, group) : nullptr;
    }
    QComboBox* Detail(const char* name) { return In<QComboBox>(Channels(), name); }
    // A tab-separated spreadsheet row of the full layout: a copied row with
    // its channel, frequency and mode replaced.
    QString Row(int ch, const QString& freq, const QString& mode = "FM")
    {
        QStringList cells = templ.split('\t');
        cells[2] = QString::number(ch);
        cells[3] = freq;
        cells.last() = mode;
        return cells.join('\t');
    }
    QString templ;
    // A plain click's selection, whatever modifier the last key left behind.
    void Pick(int row)
    {
        Grid()->selectionModel()->setCurrentIndex(Grid()->model()->index(row - 1, 1),
                                                  QItemSelectionModel::ClearAndSelect);
    }
    void PasteText(const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(Grid(), Qt::Key_V, Qt::ControlModifier);
    }
};

TEST_F(RowsTest, KeyboardSelectionEditsEveryChannelAsOneStep)
{
    Show(0, "A");
    const char* freqs[] = {"27.015", "27.025", "27.035", "27.045", "27.055"};
    for (int r = 1; r <= 5; ++r) Type(r, freqs[r - 1]);
    SelectRow(3);
    Choose(Detail("cboMode"), Detail("cboMode")->findText("USB"));
    const int modeUsb = ModeCode("USB"), modeAm = ModeCode("AM");

    SelectRow(1);
    Grid()->setFocus();
    for (int i = 0; i < 4; ++i) QTest::keyClick(Grid(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Channels()->SelectedRows(), QList<int>({1, 2, 3, 4, 5}));
    EXPECT_EQ(In<QGroupBox>(Channels(), "fraDetail")->title(), "More Information -- 5 channels");
    EXPECT_EQ(Detail("cboMode")->currentText(), "") << "the modes differ: no entry shown";
    EXPECT_EQ(Channel(0, 1, 3)->Mode, modeUsb);

    const QByteArray before = test::DocumentBytes(*ws);
    const int steps = main->History().Steps();
    Choose(Detail("cboMode"), Detail("cboMode")->findText("AM"));
    for (int r = 1; r <= 5; ++r) EXPECT_EQ(Channel(0, 1, r)->Mode, modeAm) << r;
    EXPECT_EQ(main->History().Steps(), steps + 1);
    EXPECT_EQ(main->menuAction("mnuEditUndo")->text().remove('&'), "Undo Mode of 5 channels");

    Menu("mnuEditUndo");
    EXPECT_TRUE(test::DocumentBytes(*ws) == before) << "one undo puts every channel back";
    Menu("mnuEditRedo");
    for (int r = 1; r <= 5; ++r) EXPECT_EQ(Channel(0, 1, r)->Mode, modeAm) << r;

    // Ctrl+A, then Delete of every row is refused whole when the band would lose its last channel.
    Show(0, "C");
    Grid()->setFocus();
    QTest::keyClick(Grid(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Channels()->SelectedRows().size(), 40);
}

TEST_F(RowsTest, SpreadsheetRowsPasteAndBadOnesChangeNothing)
{
    Show(0, "A");
    Type(1, "27.015");
    Type(2, "27.025");
    SelectRow(1);
    Grid()->setFocus();
    QTest::keyClick(Grid(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(Grid(), Qt::Key_C, Qt::ControlModifier);
    const QStringList copied = QGuiApplication::clipboard()->text().split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(copied.size(), 3);
    EXPECT_TRUE(copied[0].startsWith("Band\tGroup\tChannel\tFrequency\tBUSY")) << copied[0].toStdString();
    EXPECT_TRUE(copied[2].startsWith("HF\tA\t2\t27.02500\t")) << copied[2].toStdString();
    templ = copied[1];
    EXPECT_EQ(templ.split('\t').size(), 19);

    // Good rows from a spreadsheet: no header, the frequency short or long, the spacing kept.
    Pick(20);
    const int steps = main->History().Steps();
    PasteText(Row(7, "27.185") + "\n" + Row(9, "27.20500", "AM") + "\n");
    EXPECT_EQ(Cell(20), "27.18500");
    EXPECT_EQ(Cell(21), "");
    EXPECT_EQ(Cell(22), "27.20500");
    ASSERT_NE(Channel(0, 1, 22), nullptr);
    EXPECT_EQ(Channel(0, 1, 22)->Mode, ModeCode("AM"));
    EXPECT_EQ(main->History().Steps(), steps + 1);

    // Bad ones: each named by row (and column), the document unchanged.
    struct Bad { QString text; const char* named; };
    const Bad bads[] = {
        {Row(1, "27.185") + "\n" + Row(2, "27.1x5") + "\n", "row 2, column 4 (Frequency) \"27.1x5\""},
        {"HF\tA\t1\t27.185\n", "row 1: the row has 4 columns, the header 19"},
        {Row(1, "31.000") + "\n", "31.00000\" outside the band's range"},
        {Row(1, "27.185") + "\n" + Row(30, "27.195") + "\n", "row 2: lands on channel 49, past the group's 40 rows"},
    };
    Pick(20);
    for (const Bad& b : bads) {
        SCOPED_TRACE(b.named);
        const QByteArray before = test::DocumentBytes(*ws);
        const int stepsBefore = main->History().Steps();
        asker.asked.clear();
        PasteText(b.text);
        ASSERT_EQ(asker.asked.size(), 1);
        EXPECT_TRUE(asker.asked[0].startsWith("Nothing was pasted")) << asker.asked[0].toStdString();
        EXPECT_TRUE(asker.asked[0].contains(QString::fromUtf8(b.named))) << asker.asked[0].toStdString();
        EXPECT_TRUE(test::DocumentBytes(*ws) == before);
        EXPECT_EQ(main->History().Steps(), stepsBefore);
    }

    // In Chinese the reason is given in Chinese.
    ws->CurrentLanguage = Chinese;
    main->ApplyLanguage();
    asker.asked.clear();
    PasteText("HF\tA\t1\t27.185\n");
    ASSERT_EQ(asker.asked.size(), 1);
    EXPECT_TRUE(asker.asked[0].contains(QString::fromUtf8("第 1 行"))) << asker.asked[0].toStdString();
}

TEST_F(RowsTest, WideViewEditsFieldsInPlaceAndFillsDown)
{
    Show(0, "B");
    for (int r = 1; r <= 3; ++r) Type(r, QString("27.%1").arg(r * 10 + 5, 3, 10, QChar('0')));
    In<QPushButton>(Channels(), "cmdAllFields")->click();
    ASSERT_TRUE(Channels()->AllFieldsShown());
    EXPECT_EQ(store->value("ChannelGrid/AllFields").toBool(), true);
    const int modeCol = Grid()->model()->columnCount() - 1;
    EXPECT_EQ(Grid()->model()->headerData(modeCol, Qt::Horizontal).toString(), "Mode");

    // A pick in the cell's list is stored like the panel's.
    Grid()->setCurrentIndex(Grid()->model()->index(0, modeCol));
    QTest::keyClick(Grid(), Qt::Key_F2);
    auto* list = Channels()->findChild<QComboBox*>("cboCell");
    ASSERT_NE(list, nullptr);
    list->setCurrentIndex(list->findText("LSB"));
    emit list->activated(list->currentIndex());
    EXPECT_EQ(Channel(0, 2, 1)->Mode, ModeCode("LSB"));

    // Ctrl+D: the first row's value down the selection, one step.
    const int steps = main->History().Steps();
    Grid()->setFocus();
    QTest::keyClick(Grid(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(Grid(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(Grid(), Qt::Key_D, Qt::ControlModifier);
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(Channel(0, 2, r)->Mode, ModeCode("LSB")) << r;
    EXPECT_EQ(main->History().Steps(), steps + 1);
}

}  // namespace
}  // namespace kt
