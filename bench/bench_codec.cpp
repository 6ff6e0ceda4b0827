// Encode and decode of a full image: every channel of both bands present.
#include "model/Codec.h"

#include <benchmark/benchmark.h>

namespace {

void FillEveryChannel(kt::Workspace& ws)
{
    for (int band = 0; band < kt::kBands; ++band)
        for (int g = 1; g <= kt::GroupsOfBand(band); ++g) {
            const int size = kt::GroupSize(band, g);
            ws.ChannelCount(band, g) = int16_t(size);
            for (int c = 1; c <= size; ++c) {
                kt::ChannelRec& r = ws.Channels(band, c, g);
                r.ChNo = int16_t(c);
                r.Used = 1;
                r.Scan = int16_t(c % 2);
                r.Freq.set(QByteArray::number(27000000 + c * 10000 + g * 10));
                r.TxToneType = int16_t(c % 3);
                r.NbAnl = 1;
            }
        }
}

void BM_EncodeDecodeFullImage(benchmark::State& state)
{
    kt::Workspace ws;
    FillEveryChannel(ws);
    for (auto _ : state) {
        kt::ClearImage(ws);
        kt::EncodeImage(ws);
        kt::DecodeImage(ws);
        benchmark::DoNotOptimize(ws.MemImage.data());
    }
    if (ws.ChannelCount(0, 16) != 99) state.SkipWithError("channels lost in the round trip");
}
BENCHMARK(BM_EncodeDecodeFullImage)->Unit(benchmark::kMicrosecond);

}  // namespace
