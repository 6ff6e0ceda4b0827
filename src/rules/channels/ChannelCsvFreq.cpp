// The frequency and channel-number cells of both CSV layouts.
#include "rules/channels/ChannelCsvParts.h"

namespace kt::csvparts {

namespace {

bool DigitsOnly(const QString& s)
{
    for (QChar c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// A frequency in MHz written as digits with at most one ".": its whole
// megahertz by value, as the grid reads a number ("0028.015" is 28.015), and
// the digits of its fraction.  A value past any band stays past it.
bool SplitMhz(const QString& text, long long& mhz, QString& fraction)
{
    const int point = int(text.indexOf('.'));
    QString whole = point < 0 ? text : text.left(point);
    fraction = point < 0 ? QString() : text.mid(point + 1);
    if (whole.isEmpty() || !DigitsOnly(whole) || !DigitsOnly(fraction)) return false;
    while (whole.size() > 1 && whole.front() == '0') whole.remove(0, 1);
    mhz = whole.size() > 6 ? 999999 : whole.toLongLong();
    return true;
}

}  // namespace

bool PlainNumber(const QString& text, int& n)
{
    if (text.isEmpty() || text.size() > 9 || !DigitsOnly(text)) return false;
    n = text.toInt();
    return true;
}

bool ParseFreqCell(const Workspace& ws, const QString& raw, const BandLimits& limits, long long& hz,
                   QByteArray& digits, QString& reason)
{
    const QString text = raw.trimmed();
    if (text.isEmpty()) {
        reason = T(ws, csvtxt::NoFreq);
        return false;
    }
    long long mhz = 0;
    QString fraction;
    if (!SplitMhz(text, mhz, fraction)) {
        reason = T(ws, csvtxt::NotFreq);
        return false;
    }
    bool subHz = false;
    for (int i = 6; i < fraction.size(); ++i)
        if (fraction[i] != '0') subHz = true;
    const bool six = fraction.size() >= 6;
    fraction = fraction.left(6);
    hz = mhz * 1000000 + fraction.leftJustified(6, '0').toLongLong();
    const FreqVerdict v = JudgeHz(limits, hz);
    if (v == FreqVerdict::OutOfRange) {
        reason = T(ws, csvtxt::OutOfRange).arg(LimitsText(limits));
        return false;
    }
    if (v == FreqVerdict::OffRaster || subHz) {
        reason = T(ws, csvtxt::OffRaster);
        return false;
    }
    digits = (QString::number(mhz).rightJustified(2, '0') + fraction.leftJustified(six ? 6 : 5, '0')).toLatin1();
    return true;
}

CellVerdict JudgeFreqCell(const Workspace& ws, const QString& raw, const BandLimits& limits, const ChannelRec* base,
                          QByteArray& digits, QString& reason)
{
    const QString text = raw.trimmed();
    auto held = [&](const QString& why) {
        reason = T(ws, csvtxt::Kept).arg(why);
        return CellVerdict::Warning;
    };
    // The channel's own text: its bytes as they are stored, whatever they are.
    if (base && text == FreqCellText(base->Freq.bytes()).trimmed()) {
        digits = base->Freq.bytes();
        switch (JudgeDigits(limits, digits)) {
        case FreqVerdict::Ok: return CellVerdict::Ok;
        case FreqVerdict::NoFrequency: return held(T(ws, csvtxt::NoFreq));
        case FreqVerdict::NotNumber: return held(T(ws, csvtxt::NotFreq));
        case FreqVerdict::OutOfRange: return held(T(ws, csvtxt::OutOfRange).arg(LimitsText(limits)));
        case FreqVerdict::OffRaster: return held(T(ws, csvtxt::OffRaster));
        }
    }
    if (text.isEmpty()) {
        reason = T(ws, csvtxt::NoFreq);
        return CellVerdict::Error;
    }
    long long mhz = 0;
    QString fraction;
    if (!SplitMhz(text, mhz, fraction)) {
        reason = T(ws, csvtxt::NotFreq);
        return CellVerdict::Error;
    }
    // Two digits of megahertz and six of the fraction are all a channel holds.
    if (mhz > 99) {
        reason = T(ws, csvtxt::Unsupported);
        return CellVerdict::Error;
    }
    for (int i = 6; i < fraction.size(); ++i)
        if (fraction[i] != '0') {
            reason = T(ws, csvtxt::TooFine);
            return CellVerdict::Error;
        }
    const bool six = fraction.size() >= 6;
    fraction = fraction.left(6);
    digits = (QString::number(mhz).rightJustified(2, '0') + fraction.leftJustified(six ? 6 : 5, '0')).toLatin1();
    const long long hz = mhz * 1000000 + fraction.leftJustified(6, '0').toLongLong();
    switch (JudgeHz(limits, hz)) {
    case FreqVerdict::OutOfRange: return held(T(ws, csvtxt::OutOfRange).arg(LimitsText(limits)));
    case FreqVerdict::OffRaster: return held(T(ws, csvtxt::OffRaster));
    default: return CellVerdict::Ok;
    }
}

QString FreqCellText(const QByteArray& raw)
{
    QByteArray d = raw;
    const int nul = d.indexOf('\0');
    if (nul >= 0) d.truncate(nul);
    d = d.trimmed();
    long long hz = 0;
    bool subHz = false;
    if (d == "FFFFFFFF" || !DigitsToHz(d, hz, subHz)) return QString::fromLatin1(d);
    return QString::fromLatin1(d.left(2)) + '.' + QString::fromLatin1(d.mid(2)).leftJustified(5, '0');
}

}  // namespace kt::csvparts
