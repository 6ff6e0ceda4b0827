// The whole-job check behind "Check All Channel Frequency" and `kt6383 check`:
// what the radio would get wrong (errors) and what is merely odd (notes).
// Findings are data; the report window and the tool decide how to show them.
#pragma once

#include "model/Workspace.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace kt {

// Frequency limits of a band in whole hertz; the raster counts from minHz.
struct BandLimits {
    long long minHz = 0, maxHz = 0;
    bool alt = false;               // band 0 with ExtendedHf: 21.0-21.5 MHz too
    long long altMinHz = 0, altMaxHz = 0;
};
BandLimits LimitsOfBand(int band, bool extendedHf);

enum class FreqVerdict { Ok, NoFrequency, NotNumber, OutOfRange, OffRaster };
FreqVerdict JudgeHz(const BandLimits& limits, long long hz);
// Stored digits ("2718500", "27185000") as hertz; subHz is set when digits
// go past the hertz.  False for an empty or non-numeric text.
bool DigitsToHz(const QByteArray& digits, long long& hz, bool& subHz);
// The verdict on a channel's stored frequency.
FreqVerdict JudgeDigits(const BandLimits& limits, const QByteArray& digits);
// "24.71500 - 30.10500 MHz" (and the second range when there is one).
QString LimitsText(const BandLimits& limits);

enum class Severity { Error, Note };

struct Finding {
    Severity severity = Severity::Error;
    int band = 0;
    int group = 0;
    int channel = 0;        // 0: the group as a whole
    QString reason;         // in the workspace's language
};

QList<Finding> CheckChannels(const Workspace& ws);
int CountErrors(const QList<Finding>& findings);

// "error", "note" in the workspace's language.
QString SeverityText(const Workspace& ws, Severity s);
// "HF", "HAM"
QString BandName(int band);
// "error  HF  A  12  frequency 31.00000 is out of the band's range ..."
QString DescribeFinding(const Workspace& ws, const Finding& f);

// "Check Radio Band": the document's band against the band class of the radio
// last read.  A radio only identified has no known band yet.
struct RadioBandCheck {
    bool radioIdentified = false;   // a radio answered since the program started
    bool radioKnown = false;        // and its band is known (it was read)
    bool agrees = true;
    int radioBand = -1;             // 0 HF, 1 HAM; -1 not known
    int documentBand = 0;
    QString text;           // what to tell the user: both bands and whether they match
};
RadioBandCheck CheckRadioBand(const Workspace& ws);

}  // namespace kt
