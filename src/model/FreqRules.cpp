// Band limits from the band range text, the 10 Hz raster and the frequency check.
#include "model/FreqRules.h"

#include "base/ListHelpers.h"
#include "base/Messages.h"

#include <QLocale>
#include <cmath>

namespace kt {

void ParseBandRange(Workspace& ws)
{
    const QString& range = ws.BandRange;
    const int dash = int(range.indexOf(QStringLiteral(" - ")));
    if (dash < 0) {
        ws.BandMin = 100.0;
        ws.BandMax = 500.0;
        return;
    }
    ws.BandMin = NumberOr(range.left(dash), 100.0);
    const int from = dash + 3;
    const int mhz = int(range.indexOf(QStringLiteral(" MHz"), from));
    const QString upper = mhz < 0 ? range.mid(from) : range.mid(from, mhz - from);
    ws.BandMax = NumberOr(upper, 500.0);
    ws.AltBandMin = 21.0;
    ws.AltBandMax = 21.5;
}

double SnapFreq(const Workspace& ws, double f)
{
    const long long m = std::llround(ws.BandMin * 1000000.0);
    const long long h = std::llround(f * 1000000.0);
    // Floored remainder: values below the lower limit (the second range) move down too.
    long long r = (h - m) % 10;
    if (r < 0) r += 10;
    return double(h - r) / 1000000.0;
}

namespace {
bool TwoRanges(const Workspace& ws) { return ws.WorkRecord.BandType == 0 && ws.ExtendedHf; }
}  // namespace

QString FreqOutText(const Workspace& ws)
{
    QString ranges = FormatFreq(ws.BandMin) + QStringLiteral(" - ") + FormatFreq(ws.BandMax);
    if (TwoRanges(ws))
        ranges += ws.T(msg::FreqRangeOr) + FormatFreq(ws.AltBandMin) + QStringLiteral(" - ") + FormatFreq(ws.AltBandMax);
    return ws.T(msg::FreqOut) + QStringLiteral("\r\n") + ws.T(msg::FreqValid).arg(ranges);
}

double CheckFreq(Workspace& ws, double f, bool warn)
{
    const bool inMain = ws.BandMin <= f && f <= ws.BandMax;
    const bool twoRanges = TwoRanges(ws);
    const bool inAlt = twoRanges && ws.AltBandMin <= f && f <= ws.AltBandMax;
    if (inMain || inAlt) return SnapFreq(ws, f);
    if (warn) ws.Ask(FreqOutText(ws), Buttons::Ok, Icon::Warning);
    return 0.0;
}

QString FormatFreqInput(Workspace& ws, const QString& text, bool warn)
{
    double v = 0.0;
    if (IsNumericText(text)) {
        v = CheckFreq(ws, NumberOr(text, 0.0), warn);
    } else if (warn) {
        ws.Ask(FreqOutText(ws), Buttons::Ok, Icon::Warning);
    }
    return v == 0.0 ? QString() : FormatFreq(v);
}

QString FormatFreq(double f)
{
    return QLocale::c().toString(f, 'f', 5);
}

}  // namespace kt
