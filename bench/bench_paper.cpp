// The paper and sound exports: the PDF report of a job with every channel of
// both bands filled and every pattern defined, and the WAV of the longest
// roger-beep pattern (fourteen 2550 ms tones, 2550 ms pause, ten runs).
#include "model/Defaults.h"
#include "report/JobReport.h"
#include "rules/rogerbeep/RbRules.h"
#include "rules/rogerbeep/RbWav.h"
#include "BenchMain.h"
#include "TestSupport.h"

#ifdef KT_WITH_GUI
#include <QApplication>
#else
#include <QGuiApplication>
#endif
#include <benchmark/benchmark.h>

namespace {

using namespace kt;

using bench::EnsureApp;

void FillJob(Workspace& ws)
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
                c.Freq.set(QByteArray::number(28000000 + 100 * s));
                c.Mode = int16_t(s % 5);
                c.RxToneType = int16_t(s % 3);
                c.RxCtcss = int16_t(s % 38);
                c.RxDcs = int16_t(s % 104);
            }
        }
    for (int n = 1; n <= kRbPatterns; ++n) {
        RbPatternRec& p = Pattern(ws, n);
        p.RbRecycle = 2;
        for (int i = 0; i < kRbTones; ++i) {
            p.RbTone[0][i] = int16_t(40 + 15 * i);
            p.RbTone[1][i] = int16_t(5 + n);
        }
    }
}

void BM_ReportPdfOfFullJob(benchmark::State& state)
{
    EnsureApp();
    test::TempInstall inst(false, true);
    auto ws = inst.workspace();
    FillJob(*ws);
    ws->CurrentLanguage = int(state.range(0));
    QString error;
    for (auto _ : state)
        if (!ExportReportPdf(*ws, "full.dat", inst.path("full.pdf"), Paper::A4, error)) state.SkipWithError("export failed");
}
BENCHMARK(BM_ReportPdfOfFullJob)->Arg(English)->Arg(Chinese)->Unit(benchmark::kMillisecond);

void BM_WavOfLongestPattern(benchmark::State& state)
{
    RbPatternRec p;
    p.RbRecycle = 10;
    p.RbInterTime = 255;
    for (int i = 0; i < kRbTones; ++i) {
        p.RbTone[0][i] = int16_t(40 + 15 * i);
        p.RbTone[1][i] = 255;
    }
    for (auto _ : state) benchmark::DoNotOptimize(PatternWav(p));
}
BENCHMARK(BM_WavOfLongestPattern)->Unit(benchmark::kMillisecond);

}  // namespace
