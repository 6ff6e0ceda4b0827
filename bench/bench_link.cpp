// A full read and a full write through a pseudo-terminal against the
// simulated radio: unpaced (the program's own cost per block) and paced at
// 9600 baud (time over the wire-time bound: every byte both ways at 960 bytes
// per second).
#include "link/SimRadio.h"
#include "link/Transfer.h"
#include "model/Codec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include "BenchMain.h"

#include <benchmark/benchmark.h>
#include <time.h>

namespace {

using kt::bench::EnsureApp;

// Bytes on the line in both directions, from the radio's log.
qint64 WireBytes(const kt::SimRadio& sim)
{
    qint64 n = 0;
    for (const auto& f : sim.Log()) n += f.bytes.size();
    return n;
}

void RunTransfer(benchmark::State& state, bool write, int baud, bool trace = true)
{
    EnsureApp();
    kt::ScriptedAsker asker;
    kt::Workspace ws;
    ws.asker = &asker;
    ws.Versions.VersionPairs.append(kt::VersionPair{QStringLiteral("V200"), QStringLiteral("V200")});
    kt::SimOptions opt;
    opt.baud = baud;
    kt::SimRadio sim(opt);
    if (!sim.Start()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    kt::Transfer t(ws);
    t.SetTracing(trace);
    t.SetSimulator(&sim);
    t.SetConfirm(false);
    ws.comPort = kt::kSimulatedPortKey;
    double seconds = 0, bound = 0;
    for (auto _ : state) {
        sim.ClearLog();
        QElapsedTimer clock;
        clock.start();
        const bool ok = write ? t.Write() : t.Read();
        // With the trace, its text as a backup or --trace would write it.
        if (trace) benchmark::DoNotOptimize(t.Trace().Text());
        seconds += clock.nsecsElapsed() / 1e9;
        bound += WireBytes(sim) / 960.0;
        if (!ok) {
            state.SkipWithError("transfer failed");
            return;
        }
    }
    state.counters["seconds"] = benchmark::Counter(seconds, benchmark::Counter::kAvgIterations);
    state.counters["us_per_block"] = benchmark::Counter(seconds * 1e6 / 1484, benchmark::Counter::kAvgIterations);
    if (baud > 0) {
        state.counters["bound_s"] = benchmark::Counter(bound, benchmark::Counter::kAvgIterations);
        state.counters["ratio"] = seconds / bound;
    }
}

void BM_ReadUnpaced(benchmark::State& s) { RunTransfer(s, false, 0); }
void BM_WriteUnpaced(benchmark::State& s) { RunTransfer(s, true, 0); }
void BM_ReadPaced9600(benchmark::State& s) { RunTransfer(s, false, 9600); }
void BM_WritePaced9600(benchmark::State& s) { RunTransfer(s, true, 9600); }
// The same paced read without the link trace, run beside the one with it.
void BM_ReadPaced9600NoTrace(benchmark::State& s) { RunTransfer(s, false, 9600, false); }
void BM_ReadUnpacedNoTrace(benchmark::State& s) { RunTransfer(s, false, 0, false); }

double ThreadCpu()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + ts.tv_nsec / 1e9;
}

// What the trace costs a paced read: reads with and without it in the order
// with, without, without, with (so that a machine getting busier or quieter
// weighs on both alike), wall and CPU time of each, and the trace's share.
void BM_ReadPaced9600TraceCost(benchmark::State& state)
{
    EnsureApp();
    kt::ScriptedAsker asker;
    kt::Workspace ws;
    ws.asker = &asker;
    ws.Versions.VersionPairs.append(kt::VersionPair{QStringLiteral("V200"), QStringLiteral("V200")});
    kt::SimOptions opt;
    opt.baud = 9600;
    kt::SimRadio sim(opt);
    if (!sim.Start()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    kt::Transfer t(ws);
    t.SetSimulator(&sim);
    t.SetConfirm(false);
    ws.comPort = kt::kSimulatedPortKey;
    double wall[2] = {0, 0}, cpu[2] = {0, 0}, bound = 0;
    for (auto _ : state) {
        for (const bool trace : {true, false, false, true}) {
            t.SetTracing(trace);
            sim.ClearLog();
            QElapsedTimer clock;
            clock.start();
            const double cpu0 = ThreadCpu();
            const bool ok = t.Read();
            if (trace) benchmark::DoNotOptimize(t.Trace().Text());
            cpu[trace] += ThreadCpu() - cpu0;
            wall[trace] += clock.nsecsElapsed() / 1e9;
            bound += WireBytes(sim) / 960.0;
            if (!ok) {
                state.SkipWithError("transfer failed");
                return;
            }
        }
    }
    const double runs = 2.0 * double(state.iterations());
    state.counters["with_s"] = wall[1] / runs;
    state.counters["without_s"] = wall[0] / runs;
    state.counters["wall_pct"] = 100.0 * (wall[1] - wall[0]) / wall[0];
    state.counters["cpu_with_ms"] = 1e3 * cpu[1] / runs;
    state.counters["cpu_without_ms"] = 1e3 * cpu[0] / runs;
    // The trace's own work as a share of the read: an upper bound of what it adds.
    state.counters["cpu_pct_of_read"] = 100.0 * (cpu[1] - cpu[0]) / wall[0];
    state.counters["ratio_with"] = wall[1] / (bound / 2);
    state.counters["ratio_without"] = wall[0] / (bound / 2);
}

BENCHMARK(BM_ReadUnpaced)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WriteUnpaced)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ReadUnpacedNoTrace)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ReadPaced9600)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_ReadPaced9600NoTrace)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_ReadPaced9600TraceCost)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_WritePaced9600)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

// ---------------------------------------------------------------------------
// Several radios paced at 9600 baud written at once.  The simulated radios
// live in a thread of their own, so that their work does not count as the
// program's and their replies leave on time whatever the program does.

#include "link/RadioBatch.h"

#include <QThread>
#include <algorithm>
#include <time.h>

namespace {

double ThreadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + ts.tv_nsec / 1e9;
}

// The program's turnaround: from a reply's last byte to the next frame, in
// microseconds, from the radios' own frame times.
void Turnarounds(const kt::SimRadio& sim, std::vector<double>& out)
{
    qint64 replyDone = -1;
    for (const auto& f : sim.Log()) {
        if (!f.fromProgram) replyDone = f.ns;
        else if (replyDone >= 0) {
            out.push_back((f.ns - replyDone) / 1e3);
            replyDone = -1;
        }
    }
}

double Percentile(std::vector<double> v, double p)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5))];
}

double g_singleSeconds = 0;

void BM_ParallelWritePaced9600(benchmark::State& state)
{
    EnsureApp();
    const int n = int(state.range(0));
    QThread radios;
    radios.start();
    QObject home;
    home.moveToThread(&radios);
    std::vector<std::unique_ptr<kt::SimRadio>> sims;
    QMetaObject::invokeMethod(&home, [&] {
        for (int i = 0; i < n; ++i) {
            kt::SimOptions opt;
            opt.baud = 9600;
            sims.push_back(std::make_unique<kt::SimRadio>(opt));
            sims.back()->Start();
        }
    }, Qt::BlockingQueuedConnection);
    kt::RadioBatch batch;
    kt::Workspace ws;
    ws.Versions.VersionPairs.append(kt::VersionPair{QStringLiteral("V200"), QStringLiteral("V200")});
    batch.SetVersions(ws.Versions);
    for (auto& s : sims) batch.AddPort(s->DevicePath());
    kt::BatchOptions o;
    o.image = kt::SimRadio::FactoryImage(0);
    o.askQuestions = false;
    double wall = 0, cpu = 0;
    for (auto _ : state) {
        bool done = false;
        QObject::connect(&batch, &kt::RadioBatch::finished, [&] { done = true; });
        QElapsedTimer clock;
        clock.start();
        const double cpu0 = ThreadCpuSeconds();
        batch.Start(o);
        while (!done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        cpu += ThreadCpuSeconds() - cpu0;
        wall += clock.nsecsElapsed() / 1e9;
    }
    int ok = 0;
    for (int i = 0; i < batch.RowCount(); ++i) ok += batch.Row(i).state == kt::PortState::Done;
    std::vector<double> turns;
    QMetaObject::invokeMethod(&home, [&] {
        for (auto& s : sims) Turnarounds(*s, turns);
        sims.clear();
    }, Qt::BlockingQueuedConnection);
    radios.quit();
    radios.wait();
    if (ok != n) {
        state.SkipWithError("a radio was not written");
        return;
    }
    const double perRun = wall / double(state.iterations());
    if (n == 1) g_singleSeconds = perRun;
    state.counters["seconds"] = perRun;
    if (g_singleSeconds > 0) state.counters["over_single"] = perRun / g_singleSeconds;
    state.counters["cpu_pct"] = 100.0 * cpu / wall;
    state.counters["turn_med_us"] = Percentile(turns, 0.5);
    state.counters["turn_p99_us"] = Percentile(turns, 0.99);
}

BENCHMARK(BM_ParallelWritePaced9600)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
