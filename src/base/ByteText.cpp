#include "base/ByteText.h"

namespace kt {

bool AllDigits(QByteArrayView s)
{
    if (s.isEmpty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

namespace {

QByteArray CutAtNul(QByteArray t)
{
    const int nul = int(t.indexOf('\0'));
    if (nul >= 0) t.truncate(nul);
    return t;
}

QByteArray StripTrailingSpaces(QByteArray t)
{
    while (!t.isEmpty() && t.back() == ' ') t.chop(1);
    return t;
}

}  // namespace

QByteArray FieldText(const QByteArray& field) { return StripTrailingSpaces(CutAtNul(field)); }
QByteArray CleanText(const QByteArray& text) { return CutAtNul(StripTrailingSpaces(text)); }

QByteArrayView CleanTextView(QByteArrayView text)
{
    while (!text.isEmpty() && text.back() == ' ') text.chop(1);
    const qsizetype nul = text.indexOf('\0');
    return nul >= 0 ? text.first(nul) : text;
}

}  // namespace kt
