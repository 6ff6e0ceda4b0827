// A full read and a full write through a pseudo-terminal against the
// simulated radio: unpaced (the program's own cost per block) and paced at
// 9600 baud (time over the wire-time bound: every byte both ways at 960 bytes
// per second).
#include "link/SimRadio.h"
#include "link/Transfer.h"
#include "model/Codec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

namespace {

void EnsureApp()
{
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "kt6383_bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// Bytes on the line in both directions, from the radio's log.
qint64 WireBytes(const kt::SimRadio& sim)
{
    qint64 n = 0;
    for (const auto& f : sim.Log()) n += f.bytes.size();
    return n;
}

void RunTransfer(benchmark::State& state, bool write, int baud)
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
    t.SetSimulator(&sim);
    t.SetConfirm(false);
    ws.comPort = kt::kSimulatedPortKey;
    double seconds = 0, bound = 0;
    for (auto _ : state) {
        sim.ClearLog();
        QElapsedTimer clock;
        clock.start();
        const bool ok = write ? t.Write() : t.Read();
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

BENCHMARK(BM_ReadUnpaced)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WriteUnpaced)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ReadPaced9600)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_WritePaced9600)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
