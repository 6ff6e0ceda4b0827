// A radio's erased records (enable bit set, frequency 0) in lettered and
// memory groups are empty rows of the grid and no finding of the check, while
// the VFO's channel at frequency 0 is shown; a write gives the same image back.
#include "rules/channels/ChannelCheck.h"
#include "rules/channels/ChannelGridModel.h"
#include "model/ChannelRules.h"
#include "model/Codec.h"
#include "model/Defaults.h"
#include "model/ImageLayout.h"

#include <gtest/gtest.h>

namespace kt {
namespace {

// Marks channel ch of the group present; zero: with a record of zeros (byte
// 15 of a record is not used and stays as it was).
void MarkPresent(std::vector<uint8_t>& img, int band, int group, int ch, bool zero)
{
    const layout::ChannelArea* area = layout::AreaOf(band, group);
    ASSERT_NE(area, nullptr);
    const int rec = layout::ChannelAddress(*area, group, ch);
    if (zero) std::fill(img.begin() + rec, img.begin() + rec + 15, uint8_t(0));
    img[layout::EnableMaskAddress(*area, group) + (ch - 1) / 8] |= uint8_t(1 << ((ch - 1) % 8));
}

TEST(EmptySlots, ErasedRecordsAreEmptyRowsAndWriteBackUnchanged)
{
    Workspace job;
    BuildTemplateData(job, 0);   // HF groups A-J hold channel 1
    ClearImage(job);
    EncodeImage(job);
    std::vector<uint8_t> image = job.MemImage;
    struct Place { int band, group, ch; };
    const Place erased[] = {{0, 11, 1}, {0, 11, 7}, {0, MemoryGroupOf(0), 1}, {1, MemoryGroupOf(1), 99}};
    for (const Place& p : erased) MarkPresent(image, p.band, p.group, p.ch, true);
    // The VFO record is cleared to 0 before a write; a radio written by the
    // program holds it at frequency 0 with its enable bit set.
    for (int band = 0; band < kBands; ++band) MarkPresent(image, band, VfoGroupOf(band), 1, false);

    Workspace ws;
    InitDefaults(ws, false);
    ws.MemImage = image;
    DecodeImage(ws);

    ChannelGridModel grid(ws);
    for (const Place& p : erased) {
        grid.ShowGroup(p.band, p.group);
        EXPECT_EQ(grid.FreqText(p.ch), QString()) << p.band << "/" << p.group << "/" << p.ch;
        grid.ReloadRow(p.ch);
        EXPECT_EQ(grid.FreqText(p.ch), QString()) << "reloaded " << p.band << "/" << p.group << "/" << p.ch;
    }
    grid.ShowGroup(0, 1);
    EXPECT_EQ(grid.FreqText(1), "28.01500");
    for (int band = 0; band < kBands; ++band) {
        grid.ShowGroup(band, VfoGroupOf(band));
        EXPECT_EQ(grid.FreqText(1), QString()) << band;   // the VFO at 0: not set, an empty row
    }

    for (const Finding& f : CheckChannels(ws))
        for (const Place& p : erased)
            EXPECT_FALSE(f.band == p.band && f.group == p.group && f.channel == p.ch) << DescribeFinding(ws, f).toStdString();

    ClearImage(ws);
    EncodeImage(ws);
    EXPECT_TRUE(ws.MemImage == image);
}

}  // namespace
}  // namespace kt
