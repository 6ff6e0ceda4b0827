// Band limits and the frequency check.
#pragma once

#include "model/Workspace.h"

namespace kt {

void ParseBandRange(Workspace& ws);
double SnapFreq(const Workspace& ws, double f);
// "Frequency is out of range." with the band's valid ranges on a second line.
QString FreqOutText(const Workspace& ws);
// Accepted (snapped) value, or 0; warns through ws when warn is set.
double CheckFreq(Workspace& ws, double f, bool warn);
// "#0.00000" text, empty when rejected.
QString FormatFreqInput(Workspace& ws, const QString& text, bool warn);
// Formats with five decimals and "." whatever the locale.
QString FormatFreq(double f);

}  // namespace kt
