// The undo history with the main window and all four editors open on a full
// document: undo and redo of the largest steps (HF Public over a band, an
// Insert&Paste that moves every channel of a full group), each with the
// windows showing the state put back, and the memory 1,000 steps hold.
#ifdef KT_WITH_GUI
#include "BenchMain.h"
#include "gui/frmMain.h"
#include "gui/channels/frmCommChInfo.h"
#include "model/ChannelRules.h"
#include "model/EditStep.h"
#include "model/FreqRules.h"
#include "rules/channels/ChannelEdit.h"
#include "rules/options/OptionTables.h"
#include "shell/DocumentHistory.h"
#include "shell/Shell.h"

#include <QApplication>
#include <QComboBox>
#include <QSettings>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <memory>

namespace {

using namespace kt;

using bench::FullMain;

using bench::RunUndoRedo;

void BM_UndoRedoHfPublic(benchmark::State& state)
{
    FullMain f;
    {
        EditStep step(f.ws, Named(steptxt::Option));
        opt::SetPublicAcrossBand(f.ws, 0, 1);
        opt::SetField(f.ws.WorkRecord, opt::Field::HfPublicAll, 1);
    }
    RunUndoRedo(state, f);
}
BENCHMARK(BM_UndoRedoHfPublic)->Unit(benchmark::kMillisecond);

void BM_UndoRedoInsertPasteFullGroup(benchmark::State& state)
{
    FullMain f;
    frmCommChInfo* w = f.main->ChannelWindow();
    w->findChild<QComboBox*>("cboGroup")->setCurrentText("MEM");   // 99 channels move
    LineCopy(f.ws, 0, 16, 50);
    {
        EditStep step(f.ws, Named(steptxt::InsertPaste));
        LineInsertPaste(f.ws, 0, 16, 1);
    }
    RunUndoRedo(state, f);
}
BENCHMARK(BM_UndoRedoInsertPasteFullGroup)->Unit(benchmark::kMillisecond);

// 1,000 steps as a user makes them: typed frequencies and pastes in the
// groups (0); with an HF Public over the whole band every tenth step (1); and
// the worst case, nothing but HF Public (2).
// Counters: the heap the history holds (MB) and per step (kB).
void BM_ThousandStepsMemory(benchmark::State& state)
{
    const int publicEvery = state.range(0) == 0 ? 0 : state.range(0) == 1 ? 10 : 1;
    for (auto _ : state) {
        state.PauseTiming();
        FullMain f;
        state.ResumeTiming();
        const size_t before = mallinfo2().uordblks;
        // An edit that changes nothing is no step, so the loop runs until 1,000 are kept.
        for (int i = 0; f.History().Steps() < 1000; ++i) {
            const int group = 1 + i % 15, row = 1 + (i * 7) % 40;
            if (publicEvery && i % publicEvery == publicEvery - 1) {
                EditStep step(f.ws, Named(steptxt::Option));
                opt::SetPublicAcrossBand(f.ws, 0, (i / publicEvery) % 2);
            } else if (i % 3 == 0) {
                EditStep step(f.ws, Named(steptxt::Paste));
                LineCopy(f.ws, 0, group, row);
                LinePaste(f.ws, 0, group, 1 + (row + 3) % 40);
            } else {
                EditStep step(f.ws, Named(steptxt::Frequency));
                SaveFreqCell(f.ws, 0, group, row, 1, QString::number(28.0 + (i % 1500) * 0.001, 'f', 3));
            }
        }
        const double bytes = double(mallinfo2().uordblks - before);
        state.counters["steps"] = f.History().Steps();
        state.counters["MB"] = bytes / (1024.0 * 1024.0);
        state.counters["kB_per_step"] = bytes / 1024.0 / std::max(1, f.History().Steps());
    }
}
BENCHMARK(BM_ThousandStepsMemory)->Arg(0)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
#endif
