// A new user's first read from the simulated radio: it holds the program's
// own defaults for its band class, as a radio fresh from the factory does.
#include "LinkTestUtil.h"
#include "link/SimRadio.h"
#include "link/Transfer.h"
#include "model/Defaults.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kt::test {
namespace {

TEST(SimFactory, FirstReadGivesTheNewDocumentDefaultsOfEachBandClass)
{
    for (int bandClass : {0, 1}) {
        SCOPED_TRACE(bandClass);
        Workspace want;
        BuildTemplateData(want, bandClass);

        LinkFixtureWs f;
        Workspace& ws = *f.ws;
        SimOptions opt;
        opt.bandClass = bandClass;
        SimRadio sim(opt);
        ASSERT_TRUE(sim.Start()) << sim.ErrorText().toStdString();
        Transfer t(ws);
        t.SetSimulator(&sim);
        ws.comPort = kSimulatedPortKey;
        f.asker.answers = {Answer::Ok};
        ASSERT_TRUE(t.Read());

        // What looked broken with erased memory: band, battery limits,
        // transmit offset, roger-beep tones, the groups' first channels.
        const DataRecord& got = ws.WorkRecord;
        EXPECT_EQ(ws.BandRange, want.BandRange);
        EXPECT_EQ(got.BandType, want.WorkRecord.BandType);
        EXPECT_EQ(got.OptFeat.BattMin, want.WorkRecord.OptFeat.BattMin);
        EXPECT_EQ(got.OptFeat.BattMax, want.WorkRecord.OptFeat.BattMax);
        EXPECT_EQ(got.TxOffset, want.WorkRecord.TxOffset);
        for (int p = 0; p < kRbPatterns; ++p)
            for (int i = 0; i < kRbTones; ++i) {
                EXPECT_EQ(got.RbPattern[p].RbTone[0][i], want.WorkRecord.RbPattern[p].RbTone[0][i]) << p << "/" << i;
                EXPECT_EQ(got.RbPattern[p].RbTone[1][i], want.WorkRecord.RbPattern[p].RbTone[1][i]) << p << "/" << i;
            }
        for (int band = 0; band < kBands; ++band) {
            EXPECT_EQ(got.OptFeat.GroupEnable[band][1], 1);
            EXPECT_GE(ws.ChannelCount(band, 1), 1);
            EXPECT_EQ(ws.Channels(band, 1, 1).Freq.bytes(), want.Channels(band, 1, 1).Freq.bytes());
        }
    }
}

TEST(SimFactory, BlankRadioStaysErased)
{
    SimOptions opt;
    opt.bandClass = -1;
    SimRadio sim(opt);
    EXPECT_TRUE(std::all_of(sim.Memory().begin(), sim.Memory().end(), [](uint8_t b) { return b == 0xFF; }));
    EXPECT_NE(SimRadio::FactoryImage(0), SimRadio::FactoryImage(1));
}

}  // namespace
}  // namespace kt::test
