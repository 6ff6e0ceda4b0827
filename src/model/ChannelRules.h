// Channel numbering, names and the rules that create and delete channels.
#pragma once

#include "model/Workspace.h"

#include <functional>

namespace kt {

QString GroupLetter(int band, int number);          // "A".."O", "MEM", "VFO"; "A" when out of range
int GroupNumber(int band, const QString& text);     // 0 when unknown
QString GetCHName(int rCHID, int rGroup = 0);       // 41 -> "M1"
int GetCHID(const QByteArray& rCHName);             // "M1" -> 41; 0 when neither
QString ModeText(int code);                         // 0 "FM" ... 5 "CW"; others "FM"
int ModeCode(const QString& text);                  // unknown text -> 0

// Digits -> "27.18500"; empty for "" or "FFFFFFFF".  A non-numeric text calls
// the "Not IsNumeric" notice through ws and gives the lower band limit.
QString DigitsToFreqText(Workspace& ws, const QByteArray& digits);
QByteArray FreqToDigits(const Workspace& ws, const QString& text);

void InsertChannel(Workspace& ws, int chNo, int band, int group, const QString& freqText);
void DeleteChannelSlot(Workspace& ws, int slot, int band, int group);
// Deletes the channel in slot with the last-channel guards; false when nothing changed.
bool ClearChannel(Workspace& ws, int slot, int band, int group);
void RepointChannelRefs(Workspace& ws, int band, int group);
int CountRegularChannels(const Workspace& ws, int band, int group);
int CountOtherChannels(const Workspace& ws, int band, int group, int chNo);
// Whether a slot holds a channel to show: one with a frequency.  A slot
// without one (an empty text, eight "F", or all zeros, as the erased records
// of a radio read) is an empty row in the grid and the report; the record
// stays as the radio holds it, so a write gives the same image back.
bool SlotShowsChannel(const ChannelRec& rec, int band, int group);
// The VFO channel with frequency 0: a radio cleared holds zeros there until
// the VFO is tuned.  Shown as an empty row, exported as an empty frequency.
bool VfoNotSet(const ChannelRec& rec, int band, int group);
// Slot of the channel chNo in the group, 0 when none.
int FindSlot(const Workspace& ws, int band, int group, int chNo);
// Every channel of groups 1-10 of both bands: the channels that carry DTMF and
// roger-beep references.
void ForEachReferencingChannel(Workspace& ws, const std::function<void(ChannelRec&)>& visit);

}  // namespace kt
