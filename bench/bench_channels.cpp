// The channel window offscreen: showing a group (the 99-row "MEM" too) and
// switching groups and bands, each with the repaint that follows.
#ifdef KT_WITH_GUI
#include "BenchMain.h"
#include "GuiTestHost.h"
#include "model/ChannelRules.h"
#include "model/FreqRules.h"

#include <QApplication>
#include <QComboBox>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace kt;

using bench::EnsureApp;

// Every lettered group of both bands full, both memory groups full.
struct FullWindow {
    Workspace ws;
    std::unique_ptr<test::GuiTestHost> host;
    frmCommChInfo* w = nullptr;

    FullWindow() {
        EnsureApp();
        ws.WorkRecord.BandType = 0;
        ws.BandRange = kBandRange0;
        ParseBandRange(ws);
        auto& o = ws.OptFeat();
        o.FmEnabled = o.AmEnabled = o.UsbEnabled = o.LsbEnabled = o.PaEnabled = o.CwEnabled = 1;
        for (int band = 0; band < 2; ++band)
            for (int g = 1; g <= GroupsOfBand(band); ++g) {
                o.GroupEnable[band][g] = 1;
                for (int ch = 1; ch <= GroupSize(band, g); ++ch)
                    InsertChannel(ws, ch, band, g, QString("28.%1").arg(ch * 100, 5, 10, QChar('0')));
            }
        host = std::make_unique<test::GuiTestHost>(ws);
        host->ShowChild(Child::ChannelInfo);
        w = host->ChannelWindow();
        QCoreApplication::processEvents();
    }
    QComboBox* Combo(const char* name) { return w->findChild<QComboBox*>(name); }
};

void BM_ShowMemGroup(benchmark::State& state)
{
    FullWindow f;
    f.Combo("cboGroup")->setCurrentText("MEM");
    for (auto _ : state) {
        f.w->SetGridData();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_ShowMemGroup)->Unit(benchmark::kMillisecond);

void BM_ShowLetteredGroup(benchmark::State& state)
{
    FullWindow f;
    for (auto _ : state) {
        f.w->SetGridData();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_ShowLetteredGroup)->Unit(benchmark::kMillisecond);

// Each iteration is one switch: "A" -> "MEM" or "MEM" -> "A".
void BM_SwitchGroupAToMem(benchmark::State& state)
{
    FullWindow f;
    QComboBox* group = f.Combo("cboGroup");
    bool mem = false;
    for (auto _ : state) {
        mem = !mem;
        group->setCurrentText(mem ? "MEM" : "A");
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_SwitchGroupAToMem)->Unit(benchmark::kMillisecond);

// Each iteration is one band switch; band 1 opens on its "MEM" group.
void BM_SwitchBand(benchmark::State& state)
{
    FullWindow f;
    f.ws.WorkRecord.CurGroup[1] = 13;
    QComboBox* band = f.Combo("cboBand");
    int b = 0;
    for (auto _ : state) {
        b = 1 - b;
        band->setCurrentIndex(b);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_SwitchBand)->Unit(benchmark::kMillisecond);

}  // namespace
#endif
