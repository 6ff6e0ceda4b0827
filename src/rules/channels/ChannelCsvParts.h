// Pieces the two CSV layouts share: the texts of their reasons, the frequency
// cell, and the staging of replaced groups that an import commits only when
// every row passed.
#pragma once

#include "rules/channels/ChannelCheck.h"
#include "rules/channels/ChannelCsv.h"
#include "rules/channels/CsvTable.h"

#include <QMap>
#include <QVector>

namespace kt::csvparts {

namespace csvtxt {
inline constexpr Bi Line{"line %1", "第 %1 行"};
inline constexpr Bi Column{"column %1", "第 %1 列"};
inline constexpr Bi Empty{"the file is empty", "文件是空的"};
inline constexpr Bi NoRows{"the file has no channel rows; nothing was written", "文件没有信道行；未写入任何内容"};
inline constexpr Bi UnknownHeader{"unknown header: expected %1", "未知的表头：应为 %1"};
inline constexpr Bi UnknownColumn{"unknown column", "未知的列"};
inline constexpr Bi TwiceColumn{"the column appears twice", "该列出现了两次"};
inline constexpr Bi MissingColumn{"the header lacks the column %1", "表头缺少列 %1"};
inline constexpr Bi CellCount{"the row has %1 columns, the header %2", "该行有 %1 列，表头有 %2 列"};
inline constexpr Bi NotInterchange{"the header is not the interchange layout (it starts with Location)",
                                   "表头不是交换格式（应以 Location 开头）"};
inline constexpr Bi NoFreq{"a channel needs a frequency", "信道需要频率"};
inline constexpr Bi NotFreq{"not a frequency in MHz (digits and one \".\")", "不是以 MHz 表示的频率（数字和一个“.”）"};
inline constexpr Bi OutOfRange{"outside the band's range %1", "超出频段范围 %1"};
inline constexpr Bi OffRaster{"not on the 10 Hz raster", "不在 10 Hz 步进上"};
inline constexpr Bi NoBand{"no such band: HF or HAM", "没有这个频段：HF 或 HAM"};
inline constexpr Bi NoGroup{"no such group in band %1", "频段 %1 没有这个组"};
inline constexpr Bi NoChannel{"no channel %1 in group %2 (1 to %3)", "组 %2 没有信道 %1（1 到 %3）"};
inline constexpr Bi NotChannel{"not a channel number", "不是信道号"};
inline constexpr Bi GroupFull{"group %1 holds at most %2 channels", "组 %1 最多保存 %2 个信道"};
inline constexpr Bi MoreProblems{"… and %1 more problems", "……另有 %1 个问题"};
inline constexpr Bi Twice{"channel %1 of group %2 is already on line %3", "组 %2 的信道 %1 已在第 %3 行"};
inline constexpr Bi NotInList{"not in the list: %1", "不在列表中：%1"};
inline constexpr Bi EmptyDtmf{"DTMF code %1 is empty", "DTMF 码 %1 是空的"};
inline constexpr Bi NoRoger{"roger-beep pattern %1 holds no tones", "尾音 %1 没有音调"};
inline constexpr Bi Locked{"locked while Public is ON (the channel's value is %1)", "公共信道开启时锁定（信道的值为 %1）"};
inline constexpr Bi Unsupported{"cannot be held by this radio", "本机无法保存"};
inline constexpr Bi Dropped{"left out", "已略去"};
inline constexpr Bi NoTone{"not a tone of the table", "不在音调表中"};
inline constexpr Bi ModeOff{"the radio does not offer %1 here", "本机此处不提供 %1"};
inline constexpr Bi Offset{"offset %1 MHz is not the radio's repeater offset %2 MHz", "偏移 %1 MHz 不是本机的中继偏移 %2 MHz"};
inline constexpr Bi ExportPa{"the mode PA has no equivalent in the interchange layout", "PA 模式在交换格式中没有对应"};
inline constexpr Bi Kept{"%1; kept as it is", "%1；按原样保留"};
inline constexpr Bi TooFine{"finer than the 1 Hz the radio's 8 digits hold", "超出机器 8 位数字所能保存的 1 Hz 精度"};
inline constexpr Bi PastRows{"past the group's %1 rows that the grid shows", "超出表格显示的本组 %1 行"};
inline constexpr Bi NotGridGroups{"Changed group(s) the channel grid does not edit: %1",
                                  "修改了信道表格不编辑的组：%1"};
inline constexpr Bi ExportTones{"these RX/TX tones have no tone mode of the interchange layout", "这些收发音调在交换格式中没有对应的音调模式"};
}  // namespace csvtxt

QString T(const Workspace& ws, const Bi& b);

// A channel number as digits only: "+5", " 5" or "5.0" is no channel number.
bool PlainNumber(const QString& text, int& n);

// A frequency cell: hertz and the digits to store.  The digits keep five
// decimals as the grid does, six when six are written; the issue is set on error.
bool ParseFreqCell(const Workspace& ws, const QString& text, const BandLimits& limits, long long& hz,
                   QByteArray& digits, QString& reason);
// The frequency cell of a row of the full layout, which may restore what a
// radio holds.  base is the channel the row starts from (null for a new one):
// its own cell text keeps its stored bytes.  Warning: the radio holds the
// value though the grid would not take it (out of the band, off the raster,
// no frequency); Error: 8 digits cannot hold it.
enum class CellVerdict { Ok, Warning, Error };
CellVerdict JudgeFreqCell(const Workspace& ws, const QString& text, const BandLimits& limits, const ChannelRec* base,
                          QByteArray& digits, QString& reason);

// The stored digits as the cell shows them ("27.18500", or "28.015000" for
// digits in the radio's 8-digit form); a text that is no number as it is.
QString FreqCellText(const QByteArray& digits);

// The groups an import replaces, in the order their rows came.
struct Stage {
    QMap<QPair<int, int>, QVector<ChannelRec>> groups;
    QMap<QPair<int, int>, QMap<int, QList<int>>> lineOf;   // channel -> its lines, to find doubles
};

// The slot of the occurrence-th (0: first) channel of that number in the
// group, 0 when there is none.
int NthSlot(const Workspace& ws, int band, int group, int channel, int occurrence);

// The record a row starts from: the base's channel of that number (the
// occurrence-th one, so what the file does not say stays as it was), else a
// new channel as InsertChannel makes it.
ChannelRec StartRecord(const Workspace& ws, int band, int group, int channel, const QByteArray& digits,
                       int occurrence = 0);

// Replaces the staged groups and re-points their channel references.
void Commit(Workspace& ws, const Stage& stage, CsvImport& result);

}  // namespace kt::csvparts
