#include "rules/channels/ChannelCheck.h"

#include "model/ChannelRules.h"
#include "model/FreqRules.h"
#include "rules/channels/ChannelTables.h"
#include "rules/dtmf/DtmfRules.h"
#include "rules/rogerbeep/RbRules.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace kt {

namespace ckt {
inline constexpr Bi Error{"error", "错误"};
inline constexpr Bi Note{"note", "提示"};
inline constexpr Bi NoFreq{"the channel has no frequency", "信道没有频率"};
inline constexpr Bi NotNumber{"the frequency \"%1\" is not a number", "频率“%1”不是数字"};
inline constexpr Bi OutOfRange{"frequency %1 is outside the band's range %2", "频率 %1 超出频段范围 %2"};
inline constexpr Bi OffRaster{"frequency %1 is not on the 10 Hz raster", "频率 %1 不在 10 Hz 步进上"};
inline constexpr Bi PastRows{"channel %1 is past the group's %2 rows; the radio does not keep it",
                             "信道 %1 超出本组的 %2 行，机器不保存它"};
inline constexpr Bi EmptyDtmf{"%1 names DTMF code %2, which is empty", "%1 指向空的 DTMF 码 %2"};
inline constexpr Bi NoRoger{"Roger names roger-beep pattern %1, which holds no tones",
                            "Roger 指向没有音调的尾音 %1"};
inline constexpr Bi VfoNotSet{"VFO not set (frequency 0)", "VFO 未设置（频率为 0）"};
inline constexpr Bi EnabledEmpty{"the group is valid but holds no channel", "本组有效但没有信道"};
inline constexpr Bi Duplicate{"same frequency %1 as channel %2", "与信道 %2 的频率 %1 相同"};
inline constexpr Bi EmgEmpty{"emergency channel %1 is channel %2, which is empty", "紧急信道 %1 指向空信道 %2"};
// %1 a band with its range, as "HF (24.7150 - 30.1050 MHz)"; %2 the radio's model and firmware.
inline constexpr Bi NoRadio{"No radio has been identified yet, so the radio's band is not known.",
                            "尚未识别机器，因此不知道机器的频段。"};
inline constexpr Bi BandNotRead{"The radio %2 has been identified, but its band is known only once it has been "
                                "read: read the radio first.",
                                "已识别机器 %2，但只有读取机器后才知道它的频段：请先读取机器。"};
inline constexpr Bi RadioBand{"Radio's band: %1", "机器频段：%1"};
inline constexpr Bi DocumentBand{"Document's band: %1", "文档频段：%1"};
inline constexpr Bi BandsMatch{"The bands match.", "频段一致。"};
inline constexpr Bi BandsDiffer{"The bands do not match: the radio cannot use this document's channels.",
                                "频段不一致：机器无法使用本文档的信道。"};
}  // namespace ckt

namespace {

long long MhzToHz(double mhz) { return std::llround(mhz * 1000000.0); }

QString HzText(long long hz)
{
    // Five decimals as the grid shows them; six when the hertz need them.
    const int decimals = hz % 10 == 0 ? 5 : 6;
    return QLocale::c().toString(double(hz) / 1000000.0, 'f', decimals);
}

QString ChannelText(int band, int group, int ch) { return RowHeaderText(band, group, ch); }

struct Checker {
    const Workspace& ws;
    QList<Finding> out;

    void add(Severity s, int band, int group, int ch, const QString& reason)
    {
        out.append(Finding{s, band, group, ch, reason});
    }
    QString T(const Bi& b) const { return b.in(ws.CurrentLanguage); }

    void checkGroup(int band, int group, const BandLimits& limits)
    {
        const int count = std::min<int>(ws.ChannelCount(band, group), kMaxSlots);
        const int rows = GroupSize(band, group);
        const bool lettered = group <= LetteredGroupsOf(band);
        QList<QPair<int, long long>> kept;   // channel, hertz of the channels the radio keeps
        bool anyKept = false;
        for (int s = 1; s <= count; ++s) {
            const ChannelRec& c = ws.Channels(band, s, group);
            // An empty row: the radio's erased record, kept for the write.
            if (!SlotShowsChannel(c, band, group)) {
                if (VfoNotSet(c, band, group)) add(Severity::Note, band, group, c.ChNo, T(ckt::VfoNotSet));
                continue;
            }
            const int ch = c.ChNo;
            const QString name = ChannelText(band, group, ch);
            long long hz = 0;
            bool subHz = false;
            const QByteArray digits = c.Freq.bytes();
            const bool numeric = DigitsToHz(digits, hz, subHz);
            switch (JudgeDigits(limits, digits)) {
            case FreqVerdict::Ok: break;
            case FreqVerdict::NoFrequency: add(Severity::Error, band, group, ch, T(ckt::NoFreq)); break;
            case FreqVerdict::NotNumber:
                add(Severity::Error, band, group, ch,
                    T(ckt::NotNumber).arg(QString::fromLatin1(digits).trimmed()));
                break;
            case FreqVerdict::OutOfRange:
                add(Severity::Error, band, group, ch, T(ckt::OutOfRange).arg(HzText(hz), LimitsText(limits)));
                break;
            case FreqVerdict::OffRaster:
                add(Severity::Error, band, group, ch,
                    T(ckt::OffRaster).arg(subHz ? QString::fromLatin1(digits).trimmed() : HzText(hz)));
                break;
            }
            const struct { const char* label; int v; } refs[] = {
                {"BOT", c.BotCode}, {"EOT", c.EotCode}, {"Call", c.CallCode}};
            for (const auto& r : refs)
                if (r.v != 0 && DtmfCodeNumberIfUsed(ws, r.v) == 0)
                    add(Severity::Error, band, group, ch, T(ckt::EmptyDtmf).arg(QLatin1String(r.label)).arg(r.v));
            if (c.RogerBeep != 0 && PatternIsDefined(ws, c.RogerBeep) == 0)
                add(Severity::Error, band, group, ch, T(ckt::NoRoger).arg(c.RogerBeep));
            if (ch > rows) {
                add(Severity::Note, band, group, ch, T(ckt::PastRows).arg(name).arg(rows));
                continue;
            }
            anyKept = true;
            if (numeric && !subHz) {
                for (const auto& k : kept)
                    if (k.second == hz) {
                        add(Severity::Note, band, group, ch,
                            T(ckt::Duplicate).arg(HzText(hz), ChannelText(band, group, k.first)));
                        break;
                    }
                kept.append({ch, hz});
            }
        }
        if (!lettered) return;
        // A group the radio keeps nothing of gets one note; its emergency
        // channels have nothing to point at.
        if (!anyKept) {
            if (ws.WorkRecord.OptFeat.GroupEnable[band][group] == 1)
                add(Severity::Note, band, group, 0, T(ckt::EnabledEmpty));
            return;
        }
        const int16_t emg[] = {ws.WorkRecord.OptFeat.EmgCh1[band][group], ws.WorkRecord.OptFeat.EmgCh2[band][group]};
        for (int i = 0; i < 2; ++i)
            if (emg[i] != 0 && FindSlot(ws, band, group, emg[i]) == 0)
                add(Severity::Error, band, group, 0, T(ckt::EmgEmpty).arg(i + 1).arg(GetCHName(emg[i])));
    }
};

}  // namespace

BandLimits LimitsOfBand(int band, bool extendedHf)
{
    // The limits come from the band's range text as the grid reads it.
    Workspace scratch;
    scratch.BandRange = BandRangeText(band);
    ParseBandRange(scratch);
    BandLimits l;
    l.minHz = MhzToHz(scratch.BandMin);
    l.maxHz = MhzToHz(scratch.BandMax);
    l.alt = band == 0 && extendedHf;
    l.altMinHz = MhzToHz(scratch.AltBandMin);
    l.altMaxHz = MhzToHz(scratch.AltBandMax);
    return l;
}

FreqVerdict JudgeHz(const BandLimits& l, long long hz)
{
    const bool inMain = l.minHz <= hz && hz <= l.maxHz;
    const bool inAlt = l.alt && l.altMinHz <= hz && hz <= l.altMaxHz;
    if (!inMain && !inAlt) return FreqVerdict::OutOfRange;
    long long r = (hz - l.minHz) % 10;
    if (r < 0) r += 10;
    return r == 0 ? FreqVerdict::Ok : FreqVerdict::OffRaster;
}

bool DigitsToHz(const QByteArray& raw, long long& hz, bool& subHz)
{
    QByteArray d = raw;
    const int nul = d.indexOf('\0');
    if (nul >= 0) d.truncate(nul);
    d = d.trimmed();
    subHz = false;
    if (d.isEmpty() || d.size() < 2) return false;
    for (char c : d)
        if (c < '0' || c > '9') return false;
    // Two digits of megahertz, then the fraction.
    long long fraction = 0;
    for (int i = 0; i < 6; ++i) fraction = fraction * 10 + (i + 2 < d.size() ? d[i + 2] - '0' : 0);
    for (int i = 8; i < d.size(); ++i)
        if (d[i] != '0') subHz = true;
    hz = d.left(2).toLongLong() * 1000000 + fraction;
    return true;
}

FreqVerdict JudgeDigits(const BandLimits& limits, const QByteArray& digits)
{
    QByteArray d = digits;
    const int nul = d.indexOf('\0');
    if (nul >= 0) d.truncate(nul);
    d = d.trimmed();
    if (d.isEmpty() || d == "FFFFFFFF") return FreqVerdict::NoFrequency;
    long long hz = 0;
    bool subHz = false;
    if (!DigitsToHz(d, hz, subHz)) return FreqVerdict::NotNumber;
    const FreqVerdict v = JudgeHz(limits, hz);
    return v == FreqVerdict::Ok && subHz ? FreqVerdict::OffRaster : v;
}

QString LimitsText(const BandLimits& l)
{
    QString t = HzText(l.minHz) + " - " + HzText(l.maxHz) + " MHz";
    if (l.alt) t += ", " + HzText(l.altMinHz) + " - " + HzText(l.altMaxHz) + " MHz";
    return t;
}

QList<Finding> CheckChannels(const Workspace& ws)
{
    Checker c{ws, {}};
    for (int band = 0; band < kBands; ++band) {
        const BandLimits limits = LimitsOfBand(band, ws.ExtendedHf);
        for (int group = 1; group <= GroupsOfBand(band); ++group) c.checkGroup(band, group, limits);
    }
    return c.out;
}

int CountErrors(const QList<Finding>& findings)
{
    return int(std::count_if(findings.begin(), findings.end(), [](const Finding& f) { return f.severity == Severity::Error; }));
}

QString SeverityText(const Workspace& ws, Severity s) { return ws.T(s == Severity::Error ? ckt::Error : ckt::Note); }

QString BandName(int band) { return band == 0 ? QStringLiteral("HF") : QStringLiteral("HAM"); }

QString DescribeFinding(const Workspace& ws, const Finding& f)
{
    const QString ch = f.channel == 0 ? QStringLiteral("-") : RowHeaderText(f.band, f.group, f.channel);
    return SeverityText(ws, f.severity) + "\t" + BandName(f.band) + "\t" + GroupLetter(f.band, f.group) + "\t" + ch
           + "\t" + f.reason;
}

RadioBandCheck CheckRadioBand(const Workspace& ws)
{
    RadioBandCheck r;
    r.documentBand = ws.WorkRecord.BandType == 0 ? 0 : 1;
    const QString docLine = ws.T(ckt::DocumentBand)
                                .arg(BandName(r.documentBand) + " ("
                                     + (r.documentBand == 0 ? kBandRange0 : kBandRange1) + ")");
    r.radioIdentified = ws.LastRadio.known;
    if (!r.radioIdentified) {
        r.text = ws.T(ckt::NoRadio) + "\n" + docLine;
        return r;
    }
    // The band of a radio is known once it has been read.
    if (ws.LastRadio.bandRange.isEmpty()) {
        const QString radio = QString::fromLatin1(ws.LastRadio.model + " " + ws.LastRadio.firmware).trimmed();
        r.text = ws.T(ckt::BandNotRead).arg(radio) + "\n" + docLine;
        return r;
    }
    r.radioBand = ws.LastRadio.bandRange == kBandRange0 ? 0 : 1;
    r.radioKnown = true;
    r.agrees = r.radioBand == r.documentBand;
    r.text = ws.T(ckt::RadioBand).arg(BandName(r.radioBand) + " (" + ws.LastRadio.bandRange + ")") + "\n" + docLine
             + "\n" + ws.T(r.agrees ? ckt::BandsMatch : ckt::BandsDiffer);
    return r;
}

}  // namespace kt
