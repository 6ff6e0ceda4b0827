// Roger-beep patterns: when a pattern counts as defined, the references to
// patterns, the value lists of the pattern editor and the bar drawing.
#pragma once

#include "model/Workspace.h"

#include <QStringList>
#include <vector>

namespace kt {

// Number n (1-8) when pattern n is defined (plays at least once and has a
// tone of some length), else 0; 0 also for any n outside 1-8.
int PatternIsDefined(const Workspace& ws, int n);
bool PatternIsDefined(const RbPatternRec& p);
int CountDefinedPatterns(const Workspace& ws);

// Pattern n (1-8) of the working data.
RbPatternRec& Pattern(Workspace& ws, int n);

// Sets every reference to an undefined pattern to 0: the roger beep of every
// filled slot of groups 1-10 of both bands, the public channel's, and the
// copy that goes to the radio (ComChanRb).
void ClearUndefinedRbReferences(Workspace& ws);

// Value lists.  The list index is the stored value, except for the
// frequency list whose first entry "None" stands for 0 and entry i for the
// code i + 39 (400 Hz .. 2550 Hz).
QStringList RbRecycleList(int language);   // "Off", "1".."10"
QStringList RbTimeList();                  // "0".."2550" in steps of 10
QStringList RbFreqList(int language);      // "None", "400".."2550"
int RbFreqIndex(int code);                 // 0 for 0 and codes without an entry
int RbFreqCodeAt(int index);

// One bar of the pattern drawing, in the picture's own units (twips), top
// left corner and size; odd tones are red, even ones blue.
struct RbBar {
    int tone;       // 1-14
    int x, y, w, h;
    bool red;
};
// Bars for a picture of width by height: lengths share width - 100, heights
// rise with frequency up to height - 100, standing on the line height - 50.
std::vector<RbBar> PatternBars(const RbPatternRec& p, int width, int height);

}  // namespace kt
