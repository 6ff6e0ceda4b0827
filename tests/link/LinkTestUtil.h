// Shared pieces of the link tests: an event loop for the core tests and a
// workspace wired to a scripted asker and the installation's version registry.
#pragma once

#include "TestSupport.h"
#include "base/Versions.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <functional>

namespace kt::test {

inline void EnsureApp()
{
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "test_link";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// Runs the event loop until done() holds or ms have passed; returns done().
inline bool SpinUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

struct LinkFixtureWs {
    TempInstall install;
    std::unique_ptr<Workspace> ws = install.workspace();
    ScriptedAsker asker;
    LinkFixtureWs()
    {
        EnsureApp();
        ws->asker = &asker;
        ws->Versions = LoadVersionTable(ws->InstallRoot);
    }
};

}  // namespace kt::test
