// Save and open of a data file pair holding every channel of both bands, and open alone.
#include "model/DataFile.h"
#include "model/Defaults.h"
#include "TestSupport.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace kt;

void FillEveryChannel(Workspace& ws)
{
    InitDefaults(ws, false);
    for (int b = 0; b < kBands; ++b)
        for (int g = 1; g <= GroupsOfBand(b); ++g) {
            const int n = GroupSize(b, g);
            ws.ChannelCount(b, g) = int16_t(n);
            for (int s = 1; s <= n; ++s) {
                ChannelRec& c = ws.Channels(b, s, g);
                c = ChannelRec{};
                c.ChNo = int16_t(s);
                c.Used = 1;
                c.Scan = s & 1;
                c.Freq.set(QByteArray::number(28000000 + 100 * s));
                c.TxFreq = c.Freq;
                c.Mode = int16_t(s % 6);
                c.BotCode = int16_t(s % 17);
            }
        }
}

// A job with every channel, named full.dat in the installation.
std::unique_ptr<Workspace> FullJob(const test::TempInstall& inst)
{
    auto ws = inst.workspace();
    ws->Versions = LoadVersionTable(inst.root());
    FillEveryChannel(*ws);
    ws->CurrentFile = inst.path("full.dat");
    return ws;
}

void BM_SaveAndOpenFullPair(benchmark::State& state)
{
    test::TempInstall inst(false, true);
    auto ws = FullJob(inst);
    for (auto _ : state) {
        if (SaveDataFile(*ws).kind != FileResult::Done || OpenDataFile(*ws).kind != FileResult::Done) {
            state.SkipWithError("save or open failed");
            break;
        }
    }
    int channels = 0;
    for (int b = 0; b < kBands; ++b)
        for (int g = 1; g <= GroupsOfBand(b); ++g) channels += ws->ChannelCount(b, g);
    state.counters["channels"] = channels;
}
BENCHMARK(BM_SaveAndOpenFullPair)->Unit(benchmark::kMicrosecond);

// Open alone: what File > Open and the recent-files list cost once the pair is on disk.
void BM_OpenFullPair(benchmark::State& state)
{
    test::TempInstall inst(false, true);
    auto ws = FullJob(inst);
    if (SaveDataFile(*ws).kind != FileResult::Done) {
        state.SkipWithError("save failed");
        return;
    }
    for (auto _ : state) {
        if (OpenDataFile(*ws).kind != FileResult::Done) {
            state.SkipWithError("open failed");
            break;
        }
    }
}
BENCHMARK(BM_OpenFullPair)->Unit(benchmark::kMicrosecond);

}  // namespace
