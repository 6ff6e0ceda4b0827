#include "rules/channels/ChannelTables.h"
#include "model/ChannelRules.h"
#include "base/ListHelpers.h"
#include "rules/dtmf/DtmfRules.h"
#include "rules/rogerbeep/RbRules.h"

#include <QLocale>
#include <algorithm>

namespace kt {

namespace {

constexpr double kCtcss[kCtcssCount] = {
    67.0,  71.9,  74.4,  77.0,  79.7,  82.5,  85.4,  88.5,  91.5,  94.8,
    97.4,  100.0, 103.5, 107.2, 110.9, 114.8, 118.8, 123.0, 127.3, 131.8,
    136.5, 141.3, 146.2, 151.4, 156.7, 162.2, 167.9, 173.8, 179.9, 186.2,
    192.8, 203.5, 210.7, 218.1, 225.7, 233.6, 241.8, 250.3};

constexpr const char* kDcs[kDcsCount] = {
    "023", "025", "026", "031", "032", "036", "043", "047", "051", "053", "054", "065", "071",
    "072", "073", "074", "114", "115", "116", "122", "125", "131", "132", "134", "143", "145",
    "152", "155", "156", "162", "165", "172", "174", "205", "212", "223", "225", "226", "243",
    "244", "245", "246", "251", "252", "255", "261", "263", "265", "266", "271", "274", "306",
    "311", "315", "325", "331", "332", "343", "346", "351", "356", "364", "365", "371", "411",
    "412", "413", "423", "431", "432", "445", "446", "452", "454", "455", "462", "464", "465",
    "466", "503", "506", "516", "523", "526", "532", "546", "565", "606", "612", "624", "627",
    "631", "632", "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754"};

QString ThreeDigits(int n) { return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')); }

QStringList OffOn(int lang) { return {chtxt::Off.in(lang), chtxt::On.in(lang)}; }


bool IsReference(ChField f)
{
    return f == ChField::Bot || f == ChField::Eot || f == ChField::Call || f == ChField::Roger;
}

}  // namespace

int16_t& ChFieldRef(ChannelRec& r, ChField f)
{
    switch (f) {
    case ChField::Busy: return r.BusyLock;
    case ChField::Rep: return r.RepShift;
    case ChField::RxType: return r.RxToneType;
    case ChField::RxCtcss: return r.RxCtcss;
    case ChField::RxDcs: return r.RxDcs;
    case ChField::TxType: return r.TxToneType;
    case ChField::TxCtcss: return r.TxCtcss;
    case ChField::TxDcs: return r.TxDcs;
    case ChField::Scan: return r.Scan;
    case ChField::Public: return r.PublicCh;
    case ChField::Bot: return r.BotCode;
    case ChField::Eot: return r.EotCode;
    case ChField::Call: return r.CallCode;
    case ChField::HiCut: return r.HiCut;
    case ChField::NbAnl: return r.NbAnl;
    case ChField::Echo: return r.Echo;
    case ChField::Add10K: return r.Add10K;
    case ChField::Roger: return r.RogerBeep;
    case ChField::Mode: return r.Mode;
    }
    return r.BusyLock;
}

double CtcssTone(int index) { return index >= 0 && index < kCtcssCount ? kCtcss[index] : 0.0; }

QString DcsCode(int index)
{
    return index >= 0 && index < kDcsCount ? QString::fromLatin1(kDcs[index]) : QString();
}

QStringList CtcssList()
{
    QStringList l;
    l.reserve(kCtcssCount);
    for (int i = 0; i < kCtcssCount; ++i)
        l << QStringLiteral("C_") + ThreeDigits(i + 1) + "(" + QLocale::c().toString(kCtcss[i], 'f', 1) + "Hz)";
    return l;
}

QStringList DcsList()
{
    QStringList l;
    l.reserve(kDcsCount);
    for (int i = 0; i < kDcsCount; ++i)
        l << QStringLiteral("D_") + ThreeDigits(i + 1) + "(" + QString::fromLatin1(kDcs[i]) + "N)";
    return l;
}

QString BandRangeText(int band)
{
    if (band == 0) return kBandRange0;
    if (band == 1) return kBandRange1;
    return kBandRangeOther;
}

QStringList BandSelectorTexts()
{
    return {QStringLiteral("HF -- 24.7150 - 30.1050 MHz"), QStringLiteral("HAM -- 28.0000 - 29.7000 MHz")};
}

QStringList FullGroupTexts(int band)
{
    QStringList l;
    for (int g = 1; g <= GroupsOfBand(band); ++g) l << GroupLetter(band, g);
    return l;
}

QStringList GroupSelectorTexts(int band, bool extendedHf)
{
    QStringList l = FullGroupTexts(band);
    if (band == 0 && !extendedHf) l.remove(12, 3);   // "M", "N", "O"
    return l;
}

QStringList WorkGroupTexts(int band, bool extendedHf)
{
    QStringList l = GroupSelectorTexts(band, extendedHf);
    l.removeLast();
    l.removeLast();
    return l;
}

bool IsMemoryGroup(int band, int group) { return group == MemoryGroupOf(band); }
bool IsVfoGroup(int band, int group) { return group == VfoGroupOf(band); }
bool GroupEditable(int band, int group) { return band == 0 || IsMemoryGroup(band, group); }

QString RowHeaderText(int band, int group, int row)
{
    return IsMemoryGroup(band, group) ? QStringLiteral("M%1").arg(row) : QString::number(row);
}

QStringList FillModeList(const Workspace& ws, bool isMemoryGroup)
{
    const OptFeatRec& o = ws.WorkRecord.OptFeat;
    QStringList l;
    if (o.FmEnabled > 0) l << "FM";
    if (o.AmEnabled > 0) l << "AM";
    if (o.UsbEnabled > 0) l << "USB";
    if (o.LsbEnabled > 0) l << "LSB";
    if (o.PaEnabled > 0 && !isMemoryGroup) l << "PA";
    if (o.CwEnabled > 0) l << "CW";
    return l;
}

QStringList EmgModeList() { return {"FM", "AM", "USB", "LSB"}; }

QStringList DtmfRefList(const Workspace& ws)
{
    QStringList l{chtxt::Off.in(ws.CurrentLanguage)};
    for (int k = 1; k <= kDtmfCodes; ++k)
        if (DtmfCodeIsUsed(ws, k)) l << QString::number(k);
    return l;
}

QStringList RogerRefList(const Workspace& ws)
{
    QStringList l{chtxt::Off.in(ws.CurrentLanguage)};
    for (int n = 1; n <= kRbPatterns; ++n)
        if (PatternIsDefined(ws, n) != 0) l << QString::number(n);
    return l;
}

QStringList EmgChannelList(const Workspace& ws, int band, int group)
{
    QList<int> nums;
    for (int s = 1; s <= std::min<int>(ws.ChannelCount(band, group), kMaxSlots); ++s) {
        const int n = ws.Channels(band, s, group).ChNo;
        if (n >= 1 && n <= 40 && !nums.contains(n)) nums << n;
    }
    std::sort(nums.begin(), nums.end());
    QStringList l;
    for (int n : nums) l << QString::number(n);
    return l;
}

QString ChFieldLabel(ChField f, int lang)
{
    switch (f) {
    case ChField::Busy: return "BUSY";
    case ChField::Rep: return "REP";
    case ChField::RxType: return "RXCTC";
    case ChField::TxType: return "TXCTC";
    case ChField::RxCtcss:
    case ChField::RxDcs:
    case ChField::TxCtcss:
    case ChField::TxDcs: return "CTC/DCS";
    case ChField::Scan: return Bi{"Scan", "扫描"}.in(lang);
    case ChField::Public: return "Public";
    case ChField::Bot: return "BOT";
    case ChField::Eot: return "EOT";
    case ChField::Call: return "Call";
    case ChField::HiCut: return "HI-CUT";
    case ChField::NbAnl: return "NB/ANL";
    case ChField::Echo: return "ECHO";
    case ChField::Add10K: return "+10KHz";
    case ChField::Roger: return "Roger";
    case ChField::Mode: return "Mode";
    }
    return {};
}

QStringList ChFieldList(const Workspace& ws, ChField f, bool isMemoryGroup)
{
    const int lang = ws.CurrentLanguage;
    switch (f) {
    case ChField::Busy:
    case ChField::Public:
    case ChField::HiCut:
    case ChField::Echo:
    case ChField::Add10K: return OffOn(lang);
    case ChField::Rep: return {chtxt::Off.in(lang), "+", "-"};
    case ChField::RxType:
    case ChField::TxType: return {"Off", "CTCSS", "DCS"};
    case ChField::RxCtcss:
    case ChField::TxCtcss: return CtcssList();
    case ChField::RxDcs:
    case ChField::TxDcs: return DcsList();
    case ChField::Scan: return {Bi{"Del", "删除"}.in(lang), Bi{"Add", "添加"}.in(lang)};
    case ChField::Bot:
    case ChField::Eot:
    case ChField::Call: return DtmfRefList(ws);
    case ChField::NbAnl: return {chtxt::Off.in(lang), "NB", "ANL", "NB/ANL"};
    case ChField::Roger: return RogerRefList(ws);
    case ChField::Mode: return FillModeList(ws, isMemoryGroup);
    }
    return {};
}

QString ChFieldText(const Workspace& ws, const ChannelRec& rec, ChField f, bool isMemoryGroup)
{
    const QStringList list = ChFieldList(ws, f, isMemoryGroup);
    const int v = ChFieldRef(const_cast<ChannelRec&>(rec), f);
    if (IsReference(f)) return ListTextMatching(list, v == 0 ? QString() : QString::number(v));
    if (f == ChField::Mode) return ListTextMatching(list, ModeText(v));
    return ListTextAt(list, v);
}

void StoreChField(ChannelRec& rec, ChField f, const QString& text, int index)
{
    int16_t& v = ChFieldRef(rec, f);
    if (IsReference(f)) {
        bool ok = false;
        const int n = text.toInt(&ok);
        v = ok ? int16_t(n) : int16_t(0);   // "OFF" stores 0
    } else if (f == ChField::Mode) {
        v = int16_t(ModeCode(text));
    } else {
        v = int16_t(std::max(index, 0));
    }
}

bool LockedByPublic(ChField f)
{
    switch (f) {
    case ChField::HiCut:
    case ChField::NbAnl:
    case ChField::Echo:
    case ChField::Add10K:
    case ChField::Bot:
    case ChField::Eot:
    case ChField::Call:
    case ChField::Roger:
    case ChField::Mode: return true;
    default: return false;
    }
}

}  // namespace kt
