// File > Print and Export PDF, Model > Model Information (after an
// information read from the simulated radio) and Help > Help Topics in the
// real main window, offscreen, with scripted file dialogs.
#include "gui/FrmModelInfo.h"
#include "gui/help/FrmHelp.h"
#include "gui/link/GuiTransfers.h"
#include "link/SimRadio.h"
#include "link/Transfer.h"
#include "gui/frmMain.h"
#include "shell/Shell.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <gtest/gtest.h>

namespace kt {
namespace {

struct PaperFixture : ::testing::Test {
    test::TempInstall inst;
    Workspace ws;
    ScriptedAsker asker;
    std::unique_ptr<QSettings> store;
    std::unique_ptr<frmMain> main;
    QTemporaryDir out;

    void SetUp() override
    {
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
    void TearDown() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != main.get() && w->isVisible()) w->close();
        main.reset();
    }
    void SetLanguage(int language)
    {
        ws.CurrentLanguage = language;
        main->Change_Language();
    }
    template <class W>
    QList<W*> Open() const
    {
        QList<W*> found;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* t = qobject_cast<W*>(w); t && t->isVisible()) found << t;
        return found;
    }
    static QStringList Texts(QWidget* w)
    {
        QCoreApplication::processEvents();   // rows added to a shown window appear once events run
        QStringList l;
        for (QLabel* label : w->findChildren<QLabel*>())
            if (label->isVisible()) l << label->text();
        return l;
    }
    QStringList OutFiles() const { return QDir(out.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries); }
};

int CountMatches(const QString& text, const QRegularExpression& re)
{
    int n = 0;
    for (auto it = re.globalMatch(text); it.hasNext(); it.next()) ++n;
    return n;
}

TEST_F(PaperFixture, ExportPdfWritesTheReportAndTheToolBarPrintPreviewsIt)
{
    for (const char* item : {"mnuFilePrint", "mnuFileExportPdf"})
        EXPECT_TRUE(main->menuAction(item)->isEnabled()) << item;

    asker.fileNames = {out.filePath("plan")};   // the suffix is added
    main->menuAction("mnuFileExportPdf")->trigger();
    ASSERT_EQ(asker.asked.size(), 1);
    EXPECT_TRUE(asker.asked[0].contains(out.filePath("plan.pdf"))) << asker.asked[0].toStdString();
    const QByteArray pdf = test::ReadFile(out.filePath("plan.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
    EXPECT_GT(pdf.size(), 20000);
    const int pages = CountMatches(QString::fromLatin1(pdf), QRegularExpression("/Type\\s*/Page(?!s)"));
    EXPECT_GE(pages, 2);
    EXPECT_EQ(OutFiles(), QStringList{"plan.pdf"});   // no temporary file left beside it

    // Tool bar button 5 runs File > Print: a preview of the same report.
    QAction* print = main->toolButton(QString::fromUtf8("打印"));
    ASSERT_TRUE(print->isEnabled());
    print->trigger();
    const auto previews = Open<QPrintPreviewDialog>();
    ASSERT_EQ(previews.size(), 1);
    auto* preview = previews[0]->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview->pageCount() > 0; }, 5000));
    EXPECT_EQ(preview->pageCount(), pages);
    EXPECT_EQ(previews[0]->windowModality(), Qt::WindowModal);
}

TEST_F(PaperFixture, ExportPdfToAnUnwritablePathSaysSoAndLeavesNoFile)
{
    QDir(out.path()).mkdir("taken.pdf");   // a folder where the file would go
    const QString cases[] = {out.filePath("no/such/folder/plan.pdf"), out.filePath("taken.pdf")};
    for (const QString& path : cases) {
        asker.asked.clear();
        asker.fileNames = {path};
        main->menuAction("mnuFileExportPdf")->trigger();
        ASSERT_EQ(asker.asked.size(), 1) << path.toStdString();
        EXPECT_TRUE(asker.asked[0].contains("could not be written")) << asker.asked[0].toStdString();
        EXPECT_TRUE(asker.asked[0].contains(path)) << asker.asked[0].toStdString();
        EXPECT_EQ(OutFiles(), QStringList{"taken.pdf"}) << path.toStdString();
        EXPECT_TRUE(QFileInfo(out.filePath("taken.pdf")).isDir());
    }
}

TEST_F(PaperFixture, ModelInformationShowsTheRadioAnInformationReadIdentified)
{
    main->menuAction("mnuModelInfo")->trigger();
    ASSERT_EQ(Open<FrmModelInfo>().size(), 1);
    FrmModelInfo* info = Open<FrmModelInfo>()[0];
    QStringList texts = Texts(info);
    EXPECT_TRUE(texts.contains("No radio identified yet.")) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains("RU6383R"));                          // the program's own model code
    EXPECT_TRUE(texts.contains("KT-6383 Pro " KT_VERSION_TEXT));
    EXPECT_FALSE(texts.contains("V200"));
    // Fixed size, no minimise or maximise button.
    EXPECT_EQ(info->minimumSize(), info->maximumSize());
    EXPECT_FALSE(info->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    info->close();

    // Radio Information from the simulated radio (an extended one) opens the
    // window with what the radio said of itself.
    ws.comPort = kSimulatedPortKey;
    main->transfers()->Simulator().Options().extendedFlag = 1;
    main->menuAction("mnuRadioInfo")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Open<FrmModelInfo>().size() == 1; }, 10000));
    info = Open<FrmModelInfo>()[0];
    texts = Texts(info);
    for (const char* shown : {"V200", "Yes", "(known after a read)"})
        EXPECT_TRUE(texts.contains(shown)) << shown << " in " << texts.join('|').toStdString();
    EXPECT_FALSE(texts.contains("No radio identified yet."));
    EXPECT_EQ(texts.count("RU6383R"), 2);   // the radio's and the program's
    EXPECT_EQ(info->minimumSize(), info->maximumSize());

    // The open window follows a change of language; a second click keeps one window.
    SetLanguage(Chinese);
    main->menuAction("mnuModelInfo")->trigger();
    ASSERT_EQ(Open<FrmModelInfo>().size(), 1);
    texts = Texts(Open<FrmModelInfo>()[0]);
    EXPECT_EQ(Open<FrmModelInfo>()[0]->windowTitle(), QString::fromUtf8("机型信息"));
    for (const char* shown : {"最近识别的对讲机", "是", "V200"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(shown))) << shown << " in " << texts.join('|').toStdString();
}

// The names of kt6383's commands, from its own --help.
QStringList ToolCommands()
{
    QProcess p;
    p.start(test::BuildBinDir() + "/kt6383", {"--help"});
    if (!p.waitForFinished(20000)) return {};
    QStringList names;
    static const QRegularExpression line(QStringLiteral("^  ([a-z]+)  "), QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(QString::fromUtf8(p.readAllStandardOutput())); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

TEST_F(PaperFixture, HelpTopicsOpensTheManualOfTheLanguageAndNamesEveryToolCommand)
{
    const QStringList commands = ToolCommands();
    ASSERT_GE(commands.size(), 5) << "kt6383 --help gave no command list";
    // F1 is Help Topics.
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    QTest::keyClick(main->mdiArea(), Qt::Key_F1);
    ASSERT_EQ(Open<FrmHelp>().size(), 1);
    FrmHelp* help = Open<FrmHelp>()[0];
    struct Case {
        int language;
        const char* page;
        const char* title;
        const char* heading;
    };
    const Case cases[] = {
        {English, "qrc:/help/manual_en.html", "KT-6383 Pro Help", "Serial port permissions on Linux"},
        {Chinese, "qrc:/help/manual_zh.html", "KT-6383 Pro 帮助", "Linux 下的串口权限"},
    };
    for (const Case& c : cases) {
        SetLanguage(c.language);
        main->menuAction("mnuHelpTopic")->trigger();
        ASSERT_EQ(Open<FrmHelp>().size(), 1);
        EXPECT_EQ(help->browser()->source(), QUrl(c.page));
        EXPECT_EQ(help->windowTitle(), QString::fromUtf8(c.title));
        const QString text = help->browser()->toPlainText();
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.heading))) << c.page;
        EXPECT_TRUE(text.contains("dialout")) << c.page;
        EXPECT_TRUE(text.contains(".fre")) << c.page;
        for (const QString& cmd : commands)
            EXPECT_TRUE(text.contains(QRegularExpression("\\b" + cmd + "\\b"))) << cmd.toStdString() << " in " << c.page;
    }
}

}  // namespace
}  // namespace kt
