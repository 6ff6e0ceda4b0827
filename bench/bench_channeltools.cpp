// Find over both bands, a CB fill of a 40-channel group and its undo and redo
// with the main window and every editor open, and the memory 1,000 undo steps
// hold when each of them changes all 480 channels of groups A-L.
#ifdef KT_WITH_GUI
#include "BenchMain.h"
#include "gui/frmMain.h"
#include "model/ChannelRules.h"
#include "model/EditStep.h"
#include "model/FreqRules.h"
#include "rules/channels/ChannelEdit.h"
#include "rules/channels/ChannelFill.h"
#include "rules/channels/ChannelFind.h"
#include "shell/DocumentHistory.h"
#include "shell/Shell.h"

#include <QApplication>
#include <QSettings>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <memory>

namespace {

using namespace kt;

using bench::FullMain;

// Every group of both bands full.
void FillJob(Workspace& ws) { bench::FillGroups(ws, kBands); }

void BM_FindBothBands(benchmark::State& state)
{
    Workspace ws;
    FillJob(ws);
    size_t found = 0;
    for (auto _ : state) {
        const auto m = FindChannels(ws, ChannelQuery(QStringLiteral("28.02")));
        found = m.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["matches"] = double(found);
}
BENCHMARK(BM_FindBothBands)->Unit(benchmark::kMillisecond);

// Group A shown in the channel window; the fill alternates between the two
// grids so that every run changes all 40 channels, with the repaint after it.
void BM_FillCbGroupShown(benchmark::State& state)
{
    FullMain f(kBands);
    int grid = 5;
    for (auto _ : state) {
        FillRequest r;
        r.group = 1;
        r.plan = FillPlan::Cb40;
        r.grid = grid = grid == 5 ? 0 : 5;
        if (grid == 0) r.segmentHz = 24725000;   // A's default less 5 kHz would leave the band
        if (!FillChannels(f.ws, r).ok()) state.SkipWithError("fill refused");
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_FillCbGroupShown)->Unit(benchmark::kMillisecond);

void BM_UndoRedoFill(benchmark::State& state)
{
    FullMain f(kBands);
    FillRequest r;
    r.group = 1;
    r.plan = FillPlan::Cb40;
    if (!FillChannels(f.ws, r).ok()) state.SkipWithError("fill refused");
    bench::RunUndoRedo(state, f);
}
BENCHMARK(BM_UndoRedoFill)->Unit(benchmark::kMillisecond);

// 1,000 steps, each a fill of all 40 channels of every group A-L (480
// channels) with frequencies no step had before.  Counter: the heap the
// history holds.
void BM_ThousandStepsOf480Channels(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto ws = std::make_unique<Workspace>();
        ws->WorkRecord.BandType = 0;
        ws->BandRange = kBandRange0;
        ParseBandRange(*ws);
        FillJob(*ws);
        auto history = std::make_unique<DocumentHistory>(*ws);
        state.ResumeTiming();
        const size_t before = mallinfo2().uordblks;
        for (int i = 0; history->Steps() < 1000; ++i) {
            EditStep step(*ws, Named(filltxt::Step));
            for (int g = 1; g <= 12; ++g) {
                FillRequest r;
                r.group = g;
                r.startHz = 25000000 + 10LL * (i % 50000);
                r.stepHz = 10000;
                FillChannels(*ws, r);
            }
        }
        const double bytes = double(mallinfo2().uordblks - before);
        state.counters["steps"] = history->Steps();
        state.counters["MB"] = bytes / (1024.0 * 1024.0);
        state.counters["kB_per_step"] = bytes / 1024.0 / std::max(1, history->Steps());
    }
}
BENCHMARK(BM_ThousandStepsOf480Channels)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
#endif
