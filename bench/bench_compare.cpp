// Comparing two full jobs: every channel of both bands filled, every option,
// group, DTMF and roger-beep value differing; once as two data files, once as
// two images.  The ...ChannelsDiffer cases also give every channel another
// frequency and mode (about 3,000 differences).
#include "model/Codec.h"
#include "model/Defaults.h"
#include "model/ImageLayout.h"
#include "rules/compare/Compare.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kt;

void Fill(Workspace& ws, int salt, bool channelsDiffer)
{
    const int ch = channelsDiffer ? salt : 0;
    InitDefaults(ws, false);
    for (int band = 0; band < kBands; ++band)
        for (int group = 1; group <= GroupsOfBand(band); ++group) {
            const int size = GroupSize(band, group);
            for (int c = 1; c <= size; ++c) {
                ChannelRec& rec = ws.Channels(band, c, group);
                rec = ChannelRec{};
                rec.ChNo = int16_t(c);
                rec.Used = 1;
                rec.Freq.set(QByteArray::number(28000000 + (group * 100 + c) * 100 + ch * 10));
                rec.Mode = int16_t((c + ch) % 4);
            }
            ws.ChannelCount(band, group) = int16_t(size);
        }
    // Every single setting, group value, code and pattern differs.
    DataRecord& r = ws.WorkRecord;
    for (auto table : {layout::Settings(), layout::Options()})
        for (const layout::SettingEntry& e : table)
            if (e.field.set && e.rule != layout::Rule::ReadOnly && std::string_view(e.field.name) != "BandType")
                e.field.set(r, salt + 1);
    for (int band = 0; band < kBands; ++band)
        for (int g = 1; g <= GroupsOfBand(band); ++g) {
            r.OptFeat.EmgCh1[band][g] = r.OptFeat.EmgCh2[band][g] = int16_t(salt + 1);
            r.OptFeat.EmgMode1[band][g] = r.OptFeat.EmgMode2[band][g] = int16_t(salt);
            r.OptFeat.GroupEnable[band][g] = int16_t(salt);
        }
    for (int k = 1; k <= kDtmfCodes; ++k) r.OptFeat.DtmfCode[k].set(QByteArray::number(salt * 11 + k));
    for (RbPatternRec& p : r.RbPattern) {
        p.RbRecycle = int16_t(salt + 1);
        for (int i = 0; i < kRbTones; ++i) p.RbTone[0][i] = p.RbTone[1][i] = int16_t(40 + salt + i);
    }
}

struct Pair {
    Workspace a, b;
    explicit Pair(bool channelsDiffer) { Fill(a, 0, channelsDiffer); Fill(b, 1, channelsDiffer); }
};

void BM_CompareFullJobs(benchmark::State& state)
{
    static Pair pairs[2] = {Pair(false), Pair(true)};
    const Pair& pair = pairs[state.range(0)];
    const cmp::Document a = cmp::FromWorkspace(pair.a, "a"), b = cmp::FromWorkspace(pair.b, "b");
    size_t n = 0;
    for (auto _ : state) n = cmp::Compare(a, b).items.size();
    state.counters["differences"] = double(n);
}
BENCHMARK(BM_CompareFullJobs)->ArgName("channelsDiffer")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_CompareFullImages(benchmark::State& state)
{
    static Pair pairs[2] = {Pair(false), Pair(true)};
    const Pair& pair = pairs[state.range(0)];
    auto image = [](Workspace ws) {
        ClearImage(ws);
        EncodeImage(ws);
        return ws.MemImage;
    };
    const cmp::Document a = cmp::FromImage(pair.a, image(pair.a), "a");
    const cmp::Document b = cmp::FromImage(pair.b, image(pair.b), "b");
    size_t n = 0;
    for (auto _ : state) n = cmp::Compare(a, b).items.size();
    state.counters["differences"] = double(n);
}
BENCHMARK(BM_CompareFullImages)->ArgName("channelsDiffer")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

#ifdef KT_WITH_GUI
#include "BenchMain.h"
#include "GuiTestHost.h"
#include "gui/compare/FrmDifferences.h"

#include <QApplication>
#include <QTreeWidget>

namespace {

// The differences window showing 2,000 differences: built, filled and painted once.
void BM_DifferencesWindow2000(benchmark::State& state)
{
    bench::EnsureApp();
    static Pair pair(true);
    cmp::Result r = cmp::Compare(cmp::FromWorkspace(pair.a, "a"), cmp::FromWorkspace(pair.b, "b"));
    r.items.resize(2000);
    Workspace ws;
    test::GuiTestHost host(ws);
    for (auto _ : state) {
        FrmDifferences w(host, r, "a", "b");
        w.show();
        w.repaint();
        QApplication::processEvents();
        benchmark::DoNotOptimize(w.List()->topLevelItemCount());
    }
}
BENCHMARK(BM_DifferencesWindow2000)->Unit(benchmark::kMillisecond);

}  // namespace
#endif
