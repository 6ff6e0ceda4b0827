// What keeping the work for recovery costs the window: every group of both
// bands full (the largest document there is), one copy taken for the writer
// per iteration.  The write itself runs in the writer's thread and is
// measured apart, as the time a copy takes to reach the disk.
#include "BenchMain.h"
#include "TestSupport.h"
#include "model/ChannelRules.h"
#include "model/DataFile.h"
#include "model/FreqRules.h"
#include "model/Recovery.h"
#include "rules/channels/ChannelEdit.h"
#include "shell/Autosave.h"
#include "shell/Shell.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace kt;

void EnsureCoreApp() { bench::EnsureApp(); }

struct FullDocument {
    test::TempInstall inst;
    Workspace ws;
    FullDocument()
    {
        StartOptions opt;
        opt.programDir = inst.bin();
        opt.root = inst.root();
        StartUp(ws, opt);
        for (int band = 0; band < kBands; ++band) {
            ChangeBand(ws, band);
            ws.OptFeat().FmEnabled = 1;
            for (int g = 1; g <= GroupsOfBand(band); ++g) {
                ws.OptFeat().GroupEnable[band][g] = 1;
                for (int ch = 1; ch <= GroupSize(band, g); ++ch)
                    if (FindSlot(ws, band, g, ch) == 0)
                        InsertChannel(ws, ch, band, g, QString("28.%1").arg(ch * 100, 5, 10, QChar('0')));
            }
        }
    }
};

// The part the window waits for: the modified test and the copy of the pair.
void BM_AutosaveTakeInWindowThread(benchmark::State& state)
{
    EnsureCoreApp();
    FullDocument d;
    QTemporaryDir base;
    Autosave keeper(d.ws, base.path(), nullptr);
    qint64 worst = 0;
    for (auto _ : state) {
        keeper.Tick();
        worst = std::max(worst, keeper.LastTakeMicros());
        // The writer keeps up with one copy a minute; here it is waited for
        // outside the measured time, so copies do not pile up.
        state.PauseTiming();
        keeper.Flush();
        state.ResumeTiming();
    }
    keeper.Flush();
    state.counters["worst_us"] = double(worst);
    state.counters["bytes"] = double(WorkingChannelBytes(d.ws).size() + WorkingDataBytes(d.ws).size());
}
BENCHMARK(BM_AutosaveTakeInWindowThread)->Unit(benchmark::kMicrosecond);

// The writer's part: the pair, the index and the old pair removed.
void BM_AutosaveWriteInWriterThread(benchmark::State& state)
{
    FullDocument d;
    QTemporaryDir base;
    RecoveryFolder folder(base.filePath("run"));
    const RecoveryCopy copy = TakeRecoveryCopy(d.ws);
    for (auto _ : state) folder.Write(copy);
}
BENCHMARK(BM_AutosaveWriteInWriterThread)->Unit(benchmark::kMicrosecond);

}  // namespace
