// Every window of the program, for the tests that walk them all: the
// editors, the main window, and the windows that stand on their own
// (dialogs, the find, help, history and report windows) made as the
// program makes them.
#pragma once

#include "MainWindowTest.h"
#include "gui/EditorRegistry.h"
#include "gui/FrmHistory.h"
#include "gui/FrmModelInfo.h"
#include "gui/FrmSetLanguage.h"
#include "gui/ReportCommands.h"
#include "gui/channels/FrmCheckReport.h"
#include "gui/channels/FrmFillChannels.h"
#include "gui/compare/FrmDifferences.h"
#include "gui/frmAbout.h"
#include "gui/help/FrmHelp.h"
#include "gui/link/FrmComSet.h"
#include "gui/link/FrmLinkTrace.h"
#include "gui/link/FrmProgress.h"
#include "gui/link/FrmRestoreBackup.h"
#include "gui/link/FrmSeveralRadios.h"
#include "gui/link/frmMProgress.h"
#include "link/LinkTrace.h"
#include "rules/compare/Compare.h"

#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

namespace kt {

struct OwnWindows {
    LinkTrace trace;
    std::vector<std::unique_ptr<QWidget>> windows;
    QPointer<QWidget> find;      // the find window, which the main window owns
    QPointer<QWidget> preview;   // the report's print preview, which deletes itself
    // Closed for good, so that the next ones are new.
    ~OwnWindows()
    {
        if (find) find->close();
        if (preview) preview->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// Shows every window that stands on its own, in the document's language.
inline void ShowOwnWindows(frmMain& main, Workspace& ws, const QString& backups, OwnWindows& out)
{
    out.trace.Begin("read");
    const int language = ws.CurrentLanguage;
    auto& w = out.windows;
    w.emplace_back(new FrmSetLanguage(ws, &main));
    w.emplace_back(new frmAbout(ws, &main));
    w.emplace_back(new FrmModelInfo(main, &main));
    w.emplace_back(new FrmHistory(ws, main.History(), &main));
    w.emplace_back(new FrmCheckReport(main, &main));
    w.emplace_back(new FrmFillChannels(ws, 0, 0, {}, &main));
    w.emplace_back(new FrmDifferences(main, cmp::Result{}, "a.dat", "b.dat", &main));
    w.emplace_back(new FrmHelp(main, &main));
    w.emplace_back(new FrmComSet(ws, {}, &main));
    w.emplace_back(new FrmLinkTrace(ws, out.trace, &main));
    w.emplace_back(new FrmProgress(1, language, &main));
    w.emplace_back(new frmMProgress(3, language, &main));
    w.emplace_back(new FrmRestoreBackup(ws, backups, &main));
    w.emplace_back(new FrmSeveralRadios(ws, {}, &main));
    for (auto& each : w) each->show();
    out.preview = PrintReportCommand(main);
    main.menuAction("mnuChannelFind")->trigger();
    for (QWidget* t : QApplication::topLevelWidgets())
        if (t->isVisible() && qobject_cast<QDialog*>(t) && t->objectName() == "FrmFindChannel")
            out.find = t;
    QCoreApplication::processEvents();
}

// Calls check(window, caption, isEditor) for each editor the registry
// opens, the main window and each window of its own, in each language.
inline void WalkEveryWindow(frmMain& main, Workspace& ws, const QString& backups,
                            const std::function<void(QWidget*, const QString&, bool)>& check)
{
    for (int language : {English, Chinese}) {
        ws.CurrentLanguage = language;
        main.ApplyLanguage();
        for (const EditorEntry& e : StandardEditors().Entries()) {
            main.ShowChild(e.id);
            QWidget* w = main.Editor(e.id);
            ASSERT_NE(w, nullptr) << e.menuName;
            check(w, QStringLiteral("%1 (%2)").arg(QString::fromLatin1(e.menuName)).arg(language), true);
        }
        main.CloseAllChildren();
        check(&main, QStringLiteral("main (%1)").arg(language), false);
        OwnWindows own;
        ShowOwnWindows(main, ws, backups, own);
        ASSERT_NE(own.find, nullptr);
        ASSERT_NE(own.preview, nullptr);
        for (auto& w : own.windows) check(w.get(), QStringLiteral("%1 (%2)").arg(w->metaObject()->className()).arg(language), false);
        check(own.find, QStringLiteral("find (%1)").arg(language), false);
        check(own.preview, QStringLiteral("report preview (%1)").arg(language), false);
    }
}

}  // namespace kt
