// Many channels at once with the main window and every editor open on a full
// HF job: one field set on the 480 channels of groups A-L, Ctrl+A, Copy and
// Paste of a group's 40 rows, and undo/redo of each, every one with the
// repaint that follows.
#ifdef KT_WITH_GUI
#include "BenchMain.h"
#include "gui/channels/frmCommChInfo.h"
#include "gui/frmMain.h"
#include "model/ChannelRules.h"
#include "model/EditStep.h"
#include "model/FreqRules.h"
#include "rules/channels/ChannelEdit.h"
#include "rules/channels/ChannelRows.h"
#include "shell/DocumentHistory.h"
#include "shell/Shell.h"

#include <QApplication>
#include <QComboBox>
#include <QSettings>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace kt;

struct FullJob : bench::FullMain {
    frmCommChInfo* w = main->ChannelWindow();

    void ShowGroup(const QString& letter) { w->findChild<QComboBox*>("cboGroup")->setCurrentText(letter); }
    // Group A's 40 rows on the clipboard, group B shown.
    void CopyAShowB()
    {
        w->LESelectAll();
        w->LECopy();
        ShowGroup("B");
        QCoreApplication::processEvents();
    }
    // Mode on every channel of groups A-L as one step, then the windows show it.
    void SetModeOnAL(const QString& mode)
    {
        QList<int> rows;
        for (int r = 1; r <= 40; ++r) rows << r;
        {
            EditStep step(ws, RowsStepName(ChField::Mode, 480));
            for (int g = 1; g <= 12; ++g) SetFieldOnRows(ws, 0, g, rows, ChField::Mode, mode, 0);
        }
        emit ws.Events().channelsChanged(0, 1);
        QCoreApplication::processEvents();
    }
};

void BM_SetFieldOn480Channels(benchmark::State& state)
{
    FullJob f;
    bool am = false;
    for (auto _ : state) {
        am = !am;
        f.SetModeOnAL(am ? "AM" : "FM");
    }
}
BENCHMARK(BM_SetFieldOn480Channels)->Unit(benchmark::kMillisecond)->Iterations(50);

// The panel's way: the whole group selected, one pick in the Mode list.
void BM_PanelPickOn40Channels(benchmark::State& state)
{
    FullJob f;
    f.w->LESelectAll();
    auto* mode = f.w->findChild<QComboBox*>("cboMode");
    int i = 0;
    for (auto _ : state) {
        i = i == 1 ? 2 : 1;
        mode->setCurrentIndex(i);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_PanelPickOn40Channels)->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_UndoRedoSetFieldOn480Channels(benchmark::State& state)
{
    FullJob f;
    f.SetModeOnAL("AM");
    bench::RunUndoRedo(state, f);
}
BENCHMARK(BM_UndoRedoSetFieldOn480Channels)->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_SelectAll40Rows(benchmark::State& state)
{
    FullJob f;
    for (auto _ : state) {
        f.w->LESelectAll();
        QCoreApplication::processEvents();
        f.w->SelectedRows();
    }
}
BENCHMARK(BM_SelectAll40Rows)->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_Copy40Rows(benchmark::State& state)
{
    FullJob f;
    f.w->LESelectAll();
    for (auto _ : state) {
        f.w->LECopy();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_Copy40Rows)->Unit(benchmark::kMillisecond)->Iterations(50);

// Group A's 40 rows over group B's, each one step with the repaint.
void BM_Paste40Rows(benchmark::State& state)
{
    FullJob f;
    f.CopyAShowB();
    for (auto _ : state) {
        f.w->LEPaste();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_Paste40Rows)->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_UndoRedoPaste40Rows(benchmark::State& state)
{
    FullJob f;
    f.CopyAShowB();
    f.w->LEPaste();
    QCoreApplication::processEvents();
    bench::RunUndoRedo(state, f);
}
BENCHMARK(BM_UndoRedoPaste40Rows)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace
#endif
