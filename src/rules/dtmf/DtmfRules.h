// DTMF code memories and encoder settings: what a code is, which channels
// refer to it, the key filter of the code editor and the timing lists.
#pragma once

#include "model/Workspace.h"

#include <QByteArray>
#include <QStringList>

namespace kt {

constexpr int kDtmfCodeLength = 16;

// The code k (1-16) as the user sees it: cut at the first NUL, trailing
// spaces removed.  Empty for a number outside 1-16.
QByteArray DtmfCodeText(const Workspace& ws, int k);
// True when code k (1-16) is not empty.
bool DtmfCodeIsUsed(const Workspace& ws, int k);
// k when code k is not empty, else 0 (also for k outside 1-16).
int DtmfCodeNumberIfUsed(const Workspace& ws, int k);

// Stores an edited code: trailing spaces removed, cut at the first NUL, one
// NUL appended (dropped again when the code fills all 16 places), padded with
// spaces.  Anything past 16 characters is cut off.
void StoreDtmfCode(Workspace& ws, int k, const QByteArray& typed);

// Sets every reference to an empty code to 0: BOT/EOT/Call codes of every
// filled slot of groups 1-10 of both bands, and the public channel's three.
void ClearEmptyDtmfReferences(Workspace& ws);

// Key filter of the code edit box.  Returns the character to let through
// (a-d turned into A-D), or 0 when the key is dropped.  Control characters
// below 32 and Delete pass; Ctrl+C, Ctrl+V, Ctrl+X (3, 22, 24) and Enter (13)
// are dropped here (the editor moves on with Enter itself).
int FilterDtmfKey(int ch);

// The encoder timing lists.  Each shows the entry whose text is the stored
// value times its scale; the chosen entry's number divided by the scale is
// stored.
struct DtmfTimingList {
    int scale;              // 10 or 100
    QStringList entries;
};
DtmfTimingList DtmfSendTimeList();         // "10".."500"
DtmfTimingList DtmfFirstDigitTimeList();   // "0".."1000"
DtmfTimingList DtmfFirstDigitDelayList();  // "100".."2500"
DtmfTimingList DtmfStarHashTimeList();     // "0", "100", "500", "1000"
// "D Code", then "1s".."16s" (Chinese "D 码", "1秒".."16秒").
QStringList DtmfDCodeAssignList(int language);

// The encoder settings' captions, as the DTMF window and the printed report
// show them.
namespace dtmftxt {
inline constexpr Bi Caption{"DTMF", "DTMF(双音多频)"};
inline constexpr Bi Autodial{"Autodial Memory", "自动拨号存储器"};
inline constexpr Bi No{"No.", "编号"};
inline constexpr Bi DCode{"D Code Assignment", "D键设定"};
inline constexpr Bi Display{"DTMF DISP", "DTMF 显示"};
}  // namespace dtmftxt

// The four timing settings in the order of the encoder page: caption, the
// value list and the option field that keeps the stored value.
struct DtmfTimingSetting {
    Bi caption;
    DtmfTimingList (*list)();
    int16_t OptFeatRec::*field;
};
constexpr int kDtmfTimings = 4;
const DtmfTimingSetting& DtmfTiming(int which);   // 0-3

// Index of the entry that shows a stored value (0 when none matches).
int DtmfTimingIndex(const DtmfTimingList& list, int stored);
// Value stored for the entry at index (the first entry's for a bad index).
int DtmfTimingValue(const DtmfTimingList& list, int index);

}  // namespace kt
