// kt6383 show FILE: a readable summary of a data file pair or a memory image.
#include "cli/Cli.h"

#include "model/ChannelRules.h"
#include "rules/dtmf/DtmfRules.h"
#include "rules/options/OptionTables.h"
#include "rules/rogerbeep/RbRules.h"
#include "model/Codec.h"

#include <QLocale>
#include <algorithm>

namespace kt::cli {

namespace {

QString OnOff(int v) { return v ? QStringLiteral("ON") : QStringLiteral("OFF"); }

QString Pick(const QStringList& names, int v)
{
    return v >= 0 && v < names.size() ? names[v] : QStringLiteral("?%1").arg(v);
}

QString Three(int n) { return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')); }

// "Off", "C_006" (CTCSS table entry 6) or "D_012" (DCS table entry 12).
QString Tone(int type, int ctcss, int dcs)
{
    switch (type) {
    case 0: return QStringLiteral("Off");
    case 1: return QStringLiteral("C_") + Three(ctcss + 1);
    case 2: return QStringLiteral("D_") + Three(dcs + 1);
    default: return QStringLiteral("?%1").arg(type);
    }
}

QString Ref(int v) { return v == 0 ? QStringLiteral("OFF") : QString::number(v); }

// The stored digits as a frequency; a text that is no frequency is shown as it is.
QString Frequency(Workspace& ws, const FixedText<8>& freq)
{
    QByteArray d = freq.bytes();
    const int nul = d.indexOf('\0');
    if (nul >= 0) d.truncate(nul);
    d = d.trimmed();
    if (d.isEmpty() || d == "FFFFFFFF") return QStringLiteral("(none)");
    if (!std::all_of(d.begin(), d.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return QStringLiteral("\"") + QString::fromLatin1(d) + QStringLiteral("\" (not a number)");
    return DigitsToFreqText(ws, d);
}

QString GroupNameText(const FixedText<4>& name)
{
    QByteArray n = name.bytes();
    const int nul = n.indexOf('\0');
    if (nul >= 0) n.truncate(nul);
    return QString::fromLatin1(n.trimmed());
}

void ShowChannels(QTextStream& s, Workspace& ws, int band, int group)
{
    std::vector<const ChannelRec*> list;
    for (int slot = 1; slot <= std::min<int>(ws.ChannelCount(band, group), kMaxSlots); ++slot)
        list.push_back(&ws.Channels(band, slot, group));
    std::sort(list.begin(), list.end(), [](auto* a, auto* b) { return a->ChNo < b->ChNo; });
    if (list.empty()) return;
    const QStringList nb{"OFF", "NB", "ANL", "NB/ANL"}, rep{"OFF", "+", "-"};
    s << "    CH   Frequency Mode Scan RXCTC TXCTC BUSY REP Public HI-CUT NB/ANL ECHO +10KHz Roger BOT EOT Call\n";
    for (const ChannelRec* c : list) {
        const QString ch = group == MemoryGroupOf(band) ? QStringLiteral("M%1").arg(c->ChNo) : QString::number(c->ChNo);
        s << "    " << ch.leftJustified(4) << " " << Frequency(ws, c->Freq).rightJustified(9) << " "
          << ModeText(c->Mode).leftJustified(4) << " " << (c->Scan ? "Add " : "Del ") << " "
          << Tone(c->RxToneType, c->RxCtcss, c->RxDcs).leftJustified(5) << " "
          << Tone(c->TxToneType, c->TxCtcss, c->TxDcs).leftJustified(5) << " " << OnOff(c->BusyLock).leftJustified(4)
          << " " << Pick(rep, c->RepShift).leftJustified(3) << " " << OnOff(c->PublicCh).leftJustified(6) << " "
          << OnOff(c->HiCut).leftJustified(6) << " " << Pick(nb, c->NbAnl).leftJustified(6) << " "
          << OnOff(c->Echo).leftJustified(4) << " " << OnOff(c->Add10K).leftJustified(6) << " "
          << Ref(c->RogerBeep).leftJustified(5) << " " << Ref(c->BotCode).leftJustified(3) << " "
          << Ref(c->EotCode).leftJustified(3) << " " << Ref(c->CallCode) << "\n";
    }
}

void ShowBand(QTextStream& s, Workspace& ws, int band)
{
    const OptFeatRec& of = ws.WorkRecord.OptFeat;
    const QStringList emgModes{"FM", "AM", "USB", "LSB"};
    s << "\nBand " << band << (band == 0 ? " (HF)" : " (HAM)") << ", work group "
      << GroupLetter(band, band == 0 ? of.HfWorkGroup : of.HamWorkGroup) << "\n";
    for (int g = 1; g <= GroupsOfBand(band); ++g) {
        s << "  Group " << GroupLetter(band, g).leftJustified(3) << "  name \"" << GroupNameText(of.GroupName[band][g])
          << "\"  valid " << OnOff(of.GroupEnable[band][g]) << "  channels " << ws.ChannelCount(band, g);
        if (g <= LetteredGroupsOf(band))
            s << "  emergency " << GetCHName(of.EmgCh1[band][g]) << " " << Pick(emgModes, of.EmgMode1[band][g]) << ", "
              << GetCHName(of.EmgCh2[band][g]) << " " << Pick(emgModes, of.EmgMode2[band][g]) << "  group byte "
              << of.GrpByte[band][g];
        s << "\n";
        ShowChannels(s, ws, band, g);
    }
}

QString Label(const Bi& b)
{
    QString t = QString::fromUtf8(b.en);
    t.remove('&');
    return t;
}

void ShowOptions(QTextStream& s, Workspace& ws)
{
    s << "\nOptions\n";
    for (const opt::ListSetting& l : opt::ListSettings()) {
        const QStringList entries = opt::EntriesOf(l.id, English, ws);
        const int stored = opt::GetField(ws.WorkRecord, l.field);
        s << "  " << (Label(l.label) + ":").leftJustified(24) << opt::ShownText(l, entries, stored) << "  (stored "
          << stored << ")\n";
    }
    for (const opt::CheckSetting& c : opt::CheckSettings())
        s << "  " << (Label(c.caption) + ":").leftJustified(24) << OnOff(opt::GetField(ws.WorkRecord, c.field)) << "\n";
    for (const opt::NumberSetting& n : opt::NumberSettings())
        s << "  " << (QString::fromUtf8(n.label) + ":").leftJustified(24)
          << opt::NumberText(n, opt::GetField(ws.WorkRecord, n.field)) << "\n";
}

void ShowDtmf(QTextStream& s, Workspace& ws)
{
    const OptFeatRec& of = ws.WorkRecord.OptFeat;
    s << "\nDTMF codes (stored timing: send " << of.DtmfSendTime << ", first digit " << of.DtmfFirstDigitTime
      << ", first digit delay " << of.DtmfFirstDigitDelay << ", * and # " << of.DtmfStarHashTime << ", D code "
      << of.DtmfDCodeAssign << ", display " << of.DtmfDisplay << ")\n";
    for (int k = 1; k <= kDtmfCodes; ++k) {
        const QByteArray code = DtmfCodeText(ws, k);
        s << "  " << QString::number(k).rightJustified(2) << ": " << (code.isEmpty() ? QStringLiteral("(empty)") : QString::fromLatin1(code))
          << "\n";
    }
}

void ShowRogerBeeps(QTextStream& s, Workspace& ws)
{
    s << "\nRoger-beep patterns (tones as frequency code/length code)\n";
    for (int p = 0; p < kRbPatterns; ++p) {
        const RbPatternRec& rb = ws.WorkRecord.RbPattern[p];
        s << "  " << p + 1 << ": " << (PatternIsDefined(rb) ? "" : "(not defined) ") << "recycle " << rb.RbRecycle
          << ", interval " << rb.RbInterTime << ", tones";
        int last = kRbTones - 1;
        while (last >= 0 && rb.RbTone[0][last] == 0 && rb.RbTone[1][last] == 0) --last;
        if (last < 0) s << " none";
        for (int i = 0; i <= last; ++i) s << " " << rb.RbTone[0][i] << "/" << rb.RbTone[1][i];
        s << "\n";
    }
}

int RunShow(const QStringList& args)
{
    const ParsedArgs p = ParseArgs(args, {"--root"});
    if (p.help) return ShowHelp(kShow);
    if (!p.error.isEmpty()) return UsageError(kShow, p.error);
    if (p.positional.size() != 1) return UsageError(kShow, QStringLiteral("give exactly one file"));
    const QString file = p.positional[0];

    ToolAsker asker;
    auto ws = MakeWorkspace(p.options.value("--root"), asker);
    QString error;
    if (!LoadInput(*ws, file, error)) return BadInput(file, error);

    QTextStream& s = Out();
    const DataRecord& r = ws->WorkRecord;
    s << "File: " << file << (IsImagePath(file) ? "  (memory image)" : "  (data file pair)") << "\n";
    s << "Model: " << QString::fromLatin1(ws->ModelCode) << "  data version "
      << QString::fromLatin1(r.Version.bytes()).trimmed() << "\n";
    s << "Band type: " << r.BandType << "  band range: " << ws->BandRange << "\n";
    for (int band = 0; band < kBands; ++band) ShowBand(s, *ws, band);
    ShowOptions(s, *ws);
    ShowDtmf(s, *ws);
    ShowRogerBeeps(s, *ws);
    s.flush();
    return kExitOk;
}

}  // namespace

const Command kShow{
    "show", "print a readable summary of a data file pair or a memory image",
    "usage: kt6383 show FILE [--root DIR]\n"
    "  FILE is a data file (.dat, with its .fre beside it) or a memory image (.img,\n"
    "  23745 bytes).  Prints the band, every group and channel, the option values,\n"
    "  the DTMF codes and the roger-beep patterns.\n"
    "  --root DIR   installation root (default: the parent of the program's folder)\n",
    &RunShow};

}  // namespace kt::cli
