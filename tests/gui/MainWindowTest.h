// The main window offscreen in a temporary installation, with scripted
// answers, its backups in that installation and the simulated radio on its
// port; helpers to reach the channel grid and the menus as a user does.
#pragma once

#include "gui/channels/frmCommChInfo.h"
#include "gui/frmMain.h"
#include "gui/link/GuiTransfers.h"
#include "link/Transfer.h"
#include "shell/DocumentHistory.h"
#include "shell/Shell.h"
#include "TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSettings>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace kt {

inline bool SpinUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        store = std::make_unique<QSettings>(inst.path("user.ini"), QSettings::IniFormat);
        Start();
    }
    // The program as it starts: a new workspace and main window.
    void Start()
    {
        main.reset();
        ws = std::make_unique<Workspace>();
        StartOptions opt;
        opt.programDir = inst.bin();
        opt.root = inst.root();
        StartUp(*ws, opt);
        ws->asker = &asker;
        ws->comPort = kSimulatedPortKey;
        main = std::make_unique<frmMain>(*ws, store.get());
        main->transfers()->backupFolder = inst.path("backups");
        main->show();
    }
    void TearDown() override
    {
        main->hide();
        main.reset();
    }
    frmCommChInfo* Channels() { return main->ChannelWindow(); }
    template <class T> T* In(QWidget* w, const char* name)
    {
        T* c = w ? w->findChild<T*>(name) : nullptr;
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QTableView* Grid() { return In<QTableView>(Channels(), "MSFlexGrid1"); }
    void SelectRow(int row) { Grid()->setCurrentIndex(Grid()->model()->index(row - 1, 1)); }
    QString Cell(int row) { return Grid()->model()->index(row - 1, 1).data().toString(); }
    // Types a frequency into a row of the grid, as the user does.
    void Type(int row, const QString& text)
    {
        SelectRow(row);
        QTest::keyClick(Grid(), Qt::Key_Return);
        QLineEdit* e = In<QLineEdit>(Channels(), "Text1");
        ASSERT_TRUE(e && e->isVisible());
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Return);
    }
    void Menu(const char* name) { main->menuAction(name)->trigger(); }
    void UndoAll()
    {
        while (main->menuAction("mnuEditUndo")->isEnabled()) Menu("mnuEditUndo");
    }
    void RedoAll()
    {
        while (main->menuAction("mnuEditRedo")->isEnabled()) Menu("mnuEditRedo");
    }
    QStringList StepNames()
    {
        QStringList l;
        for (int i = 0; i < main->History().Stack().count(); ++i) l << main->History().Stack().text(i);
        return l;
    }
    // Opens the options list as a pick from its drop-down.
    void Choose(QComboBox* c, int index)
    {
        c->setCurrentIndex(index);
        emit c->activated(index);
    }
    QStringList BackupNames(const QString& folder)
    {
        return QDir(folder).entryList({"*.img"}, QDir::Files, QDir::Name);   // the traces beside them aside
    }
    QByteArray Bytes(const std::vector<uint8_t>& v) { return QByteArray(reinterpret_cast<const char*>(v.data()), int(v.size())); }

    test::TempInstall inst;
    std::unique_ptr<Workspace> ws;
    ScriptedAsker asker;
    std::unique_ptr<QSettings> store;
    std::unique_ptr<frmMain> main;
};

}  // namespace kt
