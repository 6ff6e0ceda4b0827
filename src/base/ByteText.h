// Texts as the radio and the data file keep them: fixed-size byte fields,
// padded with spaces, ended early by NUL.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace kt {

// True when s is not empty and every byte is a decimal digit.
bool AllDigits(QByteArrayView s);

// The two orders differ for a field such as "12 \0  ": a field shown or sent
// to the radio ends at its NUL and loses the padding before it ("12"), while
// a text compared or stored as the data file holds it loses only its trailing
// padding before the cut, so the space in front of the NUL stays ("12 ").
QByteArray FieldText(const QByteArray& field);   // cut at the first NUL, then strip trailing spaces
QByteArray CleanText(const QByteArray& text);    // strip trailing spaces, then cut at the first NUL
QByteArrayView CleanTextView(QByteArrayView text);   // the same, without a copy, for comparing

}  // namespace kt
