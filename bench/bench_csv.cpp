// A full job's channels (1,280 rows: every lettered group of both bands with
// 40 channels, both memory groups with 99, the VFO channels) through a CSV
// import, and the whole-job check.  Both must stay well under 100 ms.
#include "model/ChannelRules.h"
#include "model/Defaults.h"
#include "rules/channels/ChannelCheck.h"
#include "rules/channels/ChannelCsv.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace kt;

std::unique_ptr<Workspace> FullJob()
{
    auto ws = std::make_unique<Workspace>();
    BuildTemplateData(*ws, 0);
    for (int b = 0; b < kBands; ++b)
        for (int g = 1; g <= GroupsOfBand(b); ++g) {
            for (int s = 1; s <= kMaxSlots; ++s) ws->Channels(b, s, g) = ChannelRec{};
            ws->ChannelCount(b, g) = 0;
            for (int ch = 1; ch <= GroupSize(b, g); ++ch)
                InsertChannel(*ws, ch, b, g, QStringLiteral("28.%1").arg(ch * 1000 + g * 10, 5, 10, QChar('0')));
        }
    return ws;
}

void BM_ImportFullJobCsv(benchmark::State& state)
{
    auto job = FullJob();
    const QByteArray csv = ExportChannelsCsv(*job).bytes;
    Workspace base;
    BuildTemplateData(base, 0);
    for (auto _ : state) {
        state.PauseTiming();
        auto ws = std::make_unique<Workspace>(base);
        state.ResumeTiming();
        const CsvImport r = ImportChannelsCsv(*ws, csv);
        if (!r.ok() || r.channels < 1280) state.SkipWithError("import refused");
        benchmark::DoNotOptimize(r.channels);
    }
    state.counters["rows"] = double(ExportChannelsCsv(*job).channels);
}
BENCHMARK(BM_ImportFullJobCsv)->Unit(benchmark::kMillisecond);

void BM_CheckFullJob(benchmark::State& state)
{
    auto job = FullJob();
    for (auto _ : state) {
        const QList<Finding> f = CheckChannels(*job);
        benchmark::DoNotOptimize(f.size());
    }
}
BENCHMARK(BM_CheckFullJob)->Unit(benchmark::kMillisecond);

}  // namespace
