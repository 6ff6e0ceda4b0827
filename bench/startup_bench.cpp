// Start-up of the desktop program: process start to the main window shown
// (offscreen), and the program's peak resident memory.
#include "TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_StartupToMainWindow(benchmark::State& state)
{
    const QString program = kt::test::BuildBinDir() + "/kt6383pro";
    if (!QFileInfo(program).isExecutable()) {
        state.SkipWithError("kt6383pro not built");
        return;
    }
    kt::test::TempInstall inst;
    QTemporaryDir config;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", config.path());

    double peakKb = 0;
    for (auto _ : state) {
        QProcess p;
        p.setProcessEnvironment(env);
        QElapsedTimer t;
        t.start();
        p.start(program, {"--root", inst.root(), "--quit-after-show"});
        // The program prints its peak memory once the window is shown.
        while (!p.canReadLine() && p.state() != QProcess::NotRunning) p.waitForReadyRead(5000);
        const double shownMs = double(t.nsecsElapsed()) / 1e6;
        p.waitForFinished(10000);
        const QByteArray line = p.readAll().trimmed();   // "VmHWM: 30148 kB"
        const QList<QByteArray> parts = line.simplified().split(' ');
        if (parts.size() < 2 || p.exitCode() != 0) {
            state.SkipWithError("program did not report");
            return;
        }
        peakKb = std::max(peakKb, parts[1].toDouble());
        state.SetIterationTime(shownMs / 1000.0);
    }
    state.counters["peak_rss_MB"] = peakKb / 1024.0;
}
BENCHMARK(BM_StartupToMainWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
