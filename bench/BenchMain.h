// What the window benchmarks share: one offscreen application, and the main
// window with every editor open on a job whose groups are all full.
#pragma once

namespace kt::bench {

// One offscreen application for every case of the executable (a widget one
// where the program has windows): the first case to run makes it, whichever
// that is, so every case must ask for it here.
void EnsureApp();

}  // namespace kt::bench

#ifdef KT_WITH_GUI
#include "TestSupport.h"
#include "gui/frmMain.h"
#include "shell/DocumentHistory.h"

#include <QSettings>
#include <benchmark/benchmark.h>
#include <memory>

namespace kt::bench {

// Every group of band 0 (bands == 1) or of both bands (bands == 2) full.
void FillGroups(Workspace& ws, int bands);

// The main window on band 0 with every editor open, the channel window last
// (on group A), the undo history empty.
struct FullMain {
    test::TempInstall inst;
    Workspace ws;
    ScriptedAsker asker;
    std::unique_ptr<QSettings> store;
    std::unique_ptr<frmMain> main;

    explicit FullMain(int bands = 1);
    DocumentHistory& History() { return main->History(); }
};

// Each iteration is one undo or one redo of the last step of f, with the
// repaint after it.
void RunUndoRedo(benchmark::State& state, FullMain& f);

}  // namespace kt::bench
#endif
