// Filling a group's channels from a band plan: a start frequency and a step
// over the chosen rows, or the 40-channel CB raster of one 450 kHz segment.
// The frequencies are worked out and checked first; only when every one of
// them fits the band does anything change, as one undo step.
#pragma once

#include "base/Texts.h"
#include "model/Workspace.h"

#include <QString>
#include <utility>
#include <vector>

namespace kt {

namespace filltxt {
inline constexpr Bi Step{"Fill Channels", "填充信道"};
inline constexpr Bi NotEditable{"Group %1 cannot be filled: its channels are not edited here.",
                                "组 %1 不能填充：此处不编辑它的信道。"};
inline constexpr Bi NoRows{"No channel to fill.", "没有要填充的信道。"};
inline constexpr Bi NotInGroup{"Channel %1 is not a row of group %2.", "信道 %1 不是组 %2 的一行。"};
inline constexpr Bi NotInPlan{"%1 is not one of the 40 channels of the CB plan.",
                              "%1 不属于 40 信道 CB 频率表。"};
inline constexpr Bi NoSegment{"Group %1 has no default CB segment; give the frequency of channel 1.",
                              "组 %1 没有默认的 CB 频段；请输入信道 1 的频率。"};
inline constexpr Bi OutOfBand{"%1 would get %2 MHz, outside the band (%3); nothing was changed.",
                              "%1 将得到 %2 MHz，超出频段范围（%3）；未作任何更改。"};
inline constexpr Bi OffRaster{"%1 would get %2 MHz, which is not on the band's 10 Hz raster; nothing was changed.",
                              "%1 将得到 %2 MHz，不在频段的 10 Hz 步进上；未作任何更改。"};
inline constexpr Bi NoRoom{"Group %1 has no free slot for %2 new channels; nothing was changed.",
                           "组 %1 没有足够的存储位置容纳 %2 个新信道；未作任何更改。"};
inline constexpr Bi BadNumber{"\"%1\" is not a frequency in MHz (such as 27.185).",
                              "“%1”不是以 MHz 表示的频率（例如 27.185）。"};
}  // namespace filltxt

enum class FillPlan { StartStep, Cb40 };

struct FillRequest {
    int band = 0;
    int group = 1;
    // Channel numbers (rows) to fill; empty: every row of the group (rows
    // 1-40 for the CB plan).
    std::vector<int> channels;
    FillPlan plan = FillPlan::StartStep;
    long long startHz = 0;        // start and step: the first row's frequency
    long long stepHz = 10000;     // and the step between rows, in channel order
    long long segmentHz = 0;      // CB plan: channel 1 on the "5" grid; 0 = the group's default
    int grid = 5;                 // CB plan: 5, or 0 for every channel 5 kHz lower
};

enum class FillError { None, NotEditable, NoRows, NotInGroup, NotInPlan, NoSegment, OutOfBand, OffRaster, NoRoom };

struct FillOutcome {
    FillError error = FillError::None;
    int channel = 0;              // the channel the error names
    long long hz = 0;             // the frequency it would have got
    int count = 0;                // NoRoom: the new channels needed
    std::vector<std::pair<int, long long>> planned;   // (channel, hertz), in channel order
    int added = 0;                // rows that became channels
    int changed = 0;              // channels that got another frequency
    bool ok() const { return error == FillError::None; }
};

// Offset of channel 1-40 from channel 1 in the CB plan, in kHz; -1 otherwise.
int Cb40OffsetKHz(int channel);
// Channel 1 of the default segment of a group: lettered groups A-L of band 0
// (24.715 MHz for A, 450 kHz up per letter); 0 for every other group.
long long DefaultCbSegmentHz(int band, int group);

// The frequencies the fill would give, checked against the band; changes nothing.
FillOutcome PlanFill(const Workspace& ws, const FillRequest& request);
// Plans and, when the plan holds, stores it as one undo step: a row without a
// channel becomes one with the values a typed frequency gives it; a channel
// there keeps every value but its frequency.
FillOutcome FillChannels(Workspace& ws, const FillRequest& request);
// What went wrong, in the language, naming the channel ("CH F23").
QString FillErrorText(const FillOutcome& outcome, const FillRequest& request, int language);

// A frequency typed in MHz ("27.185", "28") as hertz; false for anything else
// (letters, two points, finer than a hertz).
bool ParseMhz(const QString& text, long long& hz);
// "27.18500": hertz in the five-decimal form the grid shows.
QString HzText(long long hz);
// "1-40", "1,3,5-7" -> channel numbers; false for anything else.
bool ParseChannelList(const QString& text, std::vector<int>& channels);

}  // namespace kt
