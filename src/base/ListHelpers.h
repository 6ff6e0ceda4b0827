// Small helpers the editors use to show model values in lists.
#pragma once

#include <QString>
#include <QStringList>

namespace kt {

// The entry at index; the first entry when index is out of range; "" for an empty list.
QString ListTextAt(const QStringList& list, int index);
// The entry equal to text; the first entry when none is; "" for an empty list.
QString ListTextMatching(const QStringList& list, const QString& text);
// A numeric text (with "." as decimal separator) as a number, else fallback.
double NumberOr(const QString& text, double fallback);
// True when text is a number in "." notation (no exponent, no thousands separator).
bool IsNumericText(const QString& text);

}  // namespace kt
