#include "rules/options/OptionTables.h"

#include "base/ListHelpers.h"
#include "rules/dtmf/DtmfRules.h"
#include "rules/rogerbeep/RbRules.h"

#include <QLocale>
#include <cmath>

namespace kt::opt {

int GetField(const DataRecord& r, Field f)
{
    const OptFeatRec& o = r.OptFeat;
    switch (f) {
    case Field::TxIndicator: return o.TxIndicator;
    case Field::MicGain: return o.MicGain;
    case Field::NogLevel: return o.NogLevel;
    case Field::TotTime: return o.TotTime;
    case Field::ScanMode: return o.ScanMode;
    case Field::FinMode: return o.FinMode;
    case Field::FinRange: return r.FinRange;
    case Field::BacklightColor: return o.BacklightColor;
    case Field::TxColor: return r.TxColor;
    case Field::BeepLevel: return o.BeepLevel;
    case Field::DimLevel: return r.DimLevel;
    case Field::AsqLevel: return r.AsqLevel;
    case Field::RxNr: return r.RxNr;
    case Field::TxNr: return r.TxNr;
    case Field::MicType: return r.MicType;
    case Field::VoxOn: return r.VoxOn;
    case Field::VoxLevel: return r.VoxLevel;
    case Field::VoxDelay: return r.VoxDelay;
    case Field::VoxSpk: return r.VoxSpk;
    case Field::VolPath: return r.VolPath;
    case Field::EchoVol: return r.EchoVol;
    case Field::EchoTime: return r.EchoTime;
    case Field::EmgMode: return r.EmgMode;
    case Field::VfoOn: return r.VfoOn;
    case Field::VfoStep: return r.VfoStep;
    case Field::AmNpc: return r.AmNpc;
    case Field::FmDeviation: return o.FmDeviation;
    case Field::SsbTone: return o.SsbTone;
    case Field::AgcSpeed: return r.AgcSpeed;
    case Field::PfKey: return o.PfKey;
    case Field::CwFreq: return r.CwFreq;
    case Field::CwBeep: return r.CwBeep;
    case Field::CwRx: return r.CwRx;
    case Field::CwBkin: return r.CwBkin;
    case Field::CwOffset: return r.CwOffset;
    case Field::HfDwBand: return r.HfDwBand;
    case Field::HfDwChan: return r.HfDwChan;
    case Field::HfDwMode: return r.HfDwMode;
    case Field::HamDwBand: return r.HamDwBand;
    case Field::HamDwChan: return r.HamDwChan;
    case Field::HamDwMode: return r.HamDwMode;
    case Field::HfPublicAll: return r.HfPublicAll;
    case Field::HamPublicAll: return r.HamPublicAll;
    case Field::PublicHiCut: return o.PublicHiCut;
    case Field::PublicNbAnl: return o.PublicNbAnl;
    case Field::PublicEcho: return o.PublicEcho;
    case Field::Public10K: return o.Public10K;
    case Field::ComChanRb: return r.ComChanRb;
    case Field::PublicMode: return o.PublicMode;
    case Field::PublicBotCode: return o.PublicBotCode;
    case Field::PublicEotCode: return o.PublicEotCode;
    case Field::PublicCallCode: return o.PublicCallCode;
    case Field::VolDisplay: return r.VolDisplay;
    case Field::SqlDisplay: return r.SqlDisplay;
    case Field::PowDisplay: return r.PowDisplay;
    case Field::RfgDisplay: return r.RfgDisplay;
    case Field::SwrProtect: return o.SwrProtect;
    case Field::BattProtect: return o.BattProtect;
    case Field::FmEnabled: return o.FmEnabled;
    case Field::AmEnabled: return o.AmEnabled;
    case Field::UsbEnabled: return o.UsbEnabled;
    case Field::LsbEnabled: return o.LsbEnabled;
    case Field::PaEnabled: return o.PaEnabled;
    case Field::CwEnabled: return o.CwEnabled;
    case Field::SwrMax: return o.SwrMax;
    case Field::BattMin: return o.BattMin;
    case Field::BattMax: return o.BattMax;
    case Field::TxOffset: return r.TxOffset;
    }
    return 0;
}

namespace {
// Stored values come from the lists and the clamped number boxes, so they fit
// their fields; the casts below only narrow to the width the record keeps.
template <typename T> void put(T& field, int v) { field = static_cast<T>(v); }
}  // namespace

void SetField(DataRecord& r, Field f, int v)
{
    OptFeatRec& o = r.OptFeat;
    switch (f) {
    case Field::TxIndicator: put(o.TxIndicator, v); break;
    case Field::MicGain: put(o.MicGain, v); break;
    case Field::NogLevel: put(o.NogLevel, v); break;
    case Field::TotTime: put(o.TotTime, v); break;
    case Field::ScanMode: put(o.ScanMode, v); break;
    case Field::FinMode: put(o.FinMode, v); break;
    case Field::FinRange: put(r.FinRange, v); break;
    case Field::BacklightColor: put(o.BacklightColor, v); break;
    case Field::TxColor: put(r.TxColor, v); break;
    case Field::BeepLevel: put(o.BeepLevel, v); break;
    case Field::DimLevel: put(r.DimLevel, v); break;
    case Field::AsqLevel: put(r.AsqLevel, v); break;
    case Field::RxNr: put(r.RxNr, v); break;
    case Field::TxNr: put(r.TxNr, v); break;
    case Field::MicType: put(r.MicType, v); break;
    case Field::VoxOn: put(r.VoxOn, v); break;
    case Field::VoxLevel: put(r.VoxLevel, v); break;
    case Field::VoxDelay: put(r.VoxDelay, v); break;
    case Field::VoxSpk: put(r.VoxSpk, v); break;
    case Field::VolPath: put(r.VolPath, v); break;
    case Field::EchoVol: put(r.EchoVol, v); break;
    case Field::EchoTime: put(r.EchoTime, v); break;
    case Field::EmgMode: put(r.EmgMode, v); break;
    case Field::VfoOn: put(r.VfoOn, v); break;
    case Field::VfoStep: put(r.VfoStep, v); break;
    case Field::AmNpc: put(r.AmNpc, v); break;
    case Field::FmDeviation: put(o.FmDeviation, v); break;
    case Field::SsbTone: put(o.SsbTone, v); break;
    case Field::AgcSpeed: put(r.AgcSpeed, v); break;
    case Field::PfKey: put(o.PfKey, v); break;
    case Field::CwFreq: put(r.CwFreq, v); break;
    case Field::CwBeep: put(r.CwBeep, v); break;
    case Field::CwRx: put(r.CwRx, v); break;
    case Field::CwBkin: put(r.CwBkin, v); break;
    case Field::CwOffset: put(r.CwOffset, v); break;
    case Field::HfDwBand: put(r.HfDwBand, v); break;
    case Field::HfDwChan: put(r.HfDwChan, v); break;
    case Field::HfDwMode: put(r.HfDwMode, v); break;
    case Field::HamDwBand: put(r.HamDwBand, v); break;
    case Field::HamDwChan: put(r.HamDwChan, v); break;
    case Field::HamDwMode: put(r.HamDwMode, v); break;
    case Field::HfPublicAll: put(r.HfPublicAll, v); break;
    case Field::HamPublicAll: put(r.HamPublicAll, v); break;
    case Field::PublicHiCut: put(o.PublicHiCut, v); break;
    case Field::PublicNbAnl: put(o.PublicNbAnl, v); break;
    case Field::PublicEcho: put(o.PublicEcho, v); break;
    case Field::Public10K: put(o.Public10K, v); break;
    case Field::ComChanRb: put(r.ComChanRb, v); break;
    case Field::PublicMode: put(o.PublicMode, v); break;
    case Field::PublicBotCode: put(o.PublicBotCode, v); break;
    case Field::PublicEotCode: put(o.PublicEotCode, v); break;
    case Field::PublicCallCode: put(o.PublicCallCode, v); break;
    case Field::VolDisplay: put(r.VolDisplay, v); break;
    case Field::SqlDisplay: put(r.SqlDisplay, v); break;
    case Field::PowDisplay: put(r.PowDisplay, v); break;
    case Field::RfgDisplay: put(r.RfgDisplay, v); break;
    case Field::SwrProtect: put(o.SwrProtect, v); break;
    case Field::BattProtect: put(o.BattProtect, v); break;
    case Field::FmEnabled: put(o.FmEnabled, v); break;
    case Field::AmEnabled: put(o.AmEnabled, v); break;
    case Field::UsbEnabled: put(o.UsbEnabled, v); break;
    case Field::LsbEnabled: put(o.LsbEnabled, v); break;
    case Field::PaEnabled: put(o.PaEnabled, v); break;
    case Field::CwEnabled: put(o.CwEnabled, v); break;
    case Field::SwrMax: put(o.SwrMax, v); break;
    case Field::BattMin: put(o.BattMin, v); break;
    case Field::BattMax: put(o.BattMax, v); break;
    case Field::TxOffset: put(r.TxOffset, v); break;
    }
}

// ---- the tables ---------------------------------------------------------

const std::vector<ListSetting>& ListSettings()
{
    static const std::vector<ListSetting> t{
        {id::Tot, {"TOT", "TOT"}, Field::TotTime, Rule::Tot},
        {id::Indic, {"INDIC", "发射时LCD显示"}, Field::TxIndicator, Rule::Index},
        {id::Mic, {"MIC", "MIC"}, Field::MicGain, Rule::Number},
        {id::Asq, {"ASQ Level", "ASQ等级"}, Field::AsqLevel, Rule::Number},
        {id::Nog, {"NOG", "NOG"}, Field::NogLevel, Rule::Index},
        {id::Scm, {"SCM", "SCM"}, Field::ScanMode, Rule::Index},
        {id::Fin, {"Fin", "Fin"}, Field::FinMode, Rule::Index},
        {id::Vox, {"VOX", "VOX"}, Field::VoxOn, Rule::Index},
        {id::VoxLevel, {"VOX Level", "声控等级"}, Field::VoxLevel, Rule::Index},
        {id::VoxDelay, {"VOX Delay", "声控延时"}, Field::VoxDelay, Rule::Index},
        {id::VoxSpk, {"VOX Spk", "VOX Spk"}, Field::VoxSpk, Rule::Index},
        {id::MicType, {"MicType", "MIC类型"}, Field::MicType, Rule::Index},
        {id::RxNr, {"Rx NR", "接收NR"}, Field::RxNr, Rule::Nr},
        {id::TxNr, {"Tx NR", "发射NR"}, Field::TxNr, Rule::Nr},
        {id::Emg, {"EMG", "EMG"}, Field::EmgMode, Rule::Index},
        {id::VolPath, {"VOL Path", "音量通道"}, Field::VolPath, Rule::Index},
        {id::EchoVol, {"Echo VOL", "Echo VOL"}, Field::EchoVol, Rule::Index},
        {id::EchoTime, {"Echo Time", "Echo Time"}, Field::EchoTime, Rule::Index},
        {id::AmNpc, {"AM NPC", "AM NPC"}, Field::AmNpc, Rule::Index},
        {id::CwFreq, {"CW Freq", "CW Freq"}, Field::CwFreq, Rule::CwFreq},
        {id::CwBeep, {"CW BEEP", "CW BEEP"}, Field::CwBeep, Rule::Index},
        {id::CwRx, {"Cw Rx", "Cw Rx"}, Field::CwRx, Rule::Index},
        {id::CwBkin, {"Cw Bkin", "Cw Bkin"}, Field::CwBkin, Rule::Index},
        {id::CwOffset, {"Cw OffSet", "Cw OffSet"}, Field::CwOffset, Rule::Index},

        {id::Beep, {"Beep", "提示音"}, Field::BeepLevel, Rule::Index},
        {id::FmDeviation, {"FM Deviation", "FM调制范围"}, Field::FmDeviation, Rule::Index},
        {id::SsbTone, {"SSB Tone", "SSB调制范围"}, Field::SsbTone, Rule::Index},
        {id::PfKey, {"PF Key", "按键"}, Field::PfKey, Rule::Index},
        {id::FinRange, {"Fin Range", "Fin Range"}, Field::FinRange, Rule::Index},
        {id::Agc, {"AGC", "AGC"}, Field::AgcSpeed, Rule::Index},
        {id::TxColor, {"Tx Color", "Tx Color"}, Field::TxColor, Rule::Index},
        {id::Color, {"Color", "背光灯颜色"}, Field::BacklightColor, Rule::Index},

        {id::HfDwBand, {"HF DW Band", "HF DW Band"}, Field::HfDwBand, Rule::Index},
        {id::HfDwChan, {"HF DW Chan", "HF DW Chan"}, Field::HfDwChan, Rule::Index},
        {id::HfDwMode, {"HF DW Mode", "HF DW Mode"}, Field::HfDwMode, Rule::Index},
        {id::HamDwBand, {"Ham DW Band", "Ham DW Band"}, Field::HamDwBand, Rule::Index},
        {id::HamDwChan, {"HAM DW Chan", "HAM DW Chan"}, Field::HamDwChan, Rule::Index},
        {id::HamDwMode, {"HAM DW Mode", "HAM DW Mode"}, Field::HamDwMode, Rule::Index},
        {id::HfPublic, {"HF Public", "HF Public"}, Field::HfPublicAll, Rule::Index},
        {id::HamPublic, {"Ham Public", "Ham Public"}, Field::HamPublicAll, Rule::Index},
        {id::Vfo, {"VFO", "VFO"}, Field::VfoOn, Rule::Index},
        {id::VfoStep, {"VFO Step", "VFO步进"}, Field::VfoStep, Rule::Index},
        {id::Dim, {"Dim", "Dim"}, Field::DimLevel, Rule::Index},

        {id::PubBot, {"BOT", "BOT"}, Field::PublicBotCode, Rule::Number},
        {id::PubEot, {"EOT", "EOT"}, Field::PublicEotCode, Rule::Number},
        {id::PubCall, {"CALL", "CALL"}, Field::PublicCallCode, Rule::Number},
        {id::PubHiCut, {"HI-CUT", "HI-CUT"}, Field::PublicHiCut, Rule::Index},
        {id::PubNbAnl, {"NB/ANL", "NB/ANL"}, Field::PublicNbAnl, Rule::Index},
        {id::PubEcho, {"ECHO", "ECHO"}, Field::PublicEcho, Rule::Index},
        {id::Pub10K, {"+10KHz", "+10KHz"}, Field::Public10K, Rule::Index},
        {id::Roger, {"Roger", "Roger"}, Field::ComChanRb, Rule::Number},
        {id::Mode, {"Mode", "Mode"}, Field::PublicMode, Rule::PublicMode},
    };
    return t;
}

const std::vector<CheckSetting>& CheckSettings()
{
    static const std::vector<CheckSetting> t{
        {id::VolDisplay, {"Vol Display", "Vol Display"}, Field::VolDisplay},
        {id::SqlDisplay, {"SQL Display", "SQL Display"}, Field::SqlDisplay},
        {id::PowDisplay, {"POW Display", "POW Display"}, Field::PowDisplay},
        {id::RfgDisplay, {"RFG Display", "RFG Display"}, Field::RfgDisplay},
        {id::SwrProtect, {"SWR Protect", "驻波保护"}, Field::SwrProtect},
        {id::BattProtect, {"Battery Voltage Protect", "电池电压保护"}, Field::BattProtect},
        {id::FmEnable, {"FM Enable", "FM Enable"}, Field::FmEnabled},
        {id::AmEnable, {"AM Enable", "AM Enable"}, Field::AmEnabled},
        {id::UsbEnable, {"USB Enable", "USB Enable"}, Field::UsbEnabled},
        {id::LsbEnable, {"LSB Enable", "LSB Enable"}, Field::LsbEnabled},
        {id::PaEnable, {"PA Enable", "PA Enable"}, Field::PaEnabled},
        {id::CwEnable, {"CW Enable", "CW Enable"}, Field::CwEnabled},
    };
    return t;
}

const std::vector<NumberSetting>& NumberSettings()
{
    static const std::vector<NumberSetting> t{
        {id::SwrMax, "Max", Field::SwrMax, 1.2, 20.0, 20.0, 1, 10},
        {id::BattMin, "Min[V]", Field::BattMin, 9.0, 17.0, 9.0, 1, 10},
        {id::BattMax, "Max[V]", Field::BattMax, 9.0, 17.0, 9.0, 1, 10},
        {id::TxOffset, "Tx Offset", Field::TxOffset, 0.0001, 5.0, 5.0, 4, 10000},
    };
    return t;
}

const ListSetting* FindList(int id)
{
    for (const auto& s : ListSettings())
        if (s.id == id) return &s;
    return nullptr;
}

const CheckSetting* FindCheck(int id)
{
    for (const auto& s : CheckSettings())
        if (s.id == id) return &s;
    return nullptr;
}

const NumberSetting* FindNumber(int id)
{
    for (const auto& s : NumberSettings())
        if (s.id == id) return &s;
    return nullptr;
}

bool IsModeEnableBox(int id) { return id >= id::FmEnable && id <= id::CwEnable; }

// ---- entries ------------------------------------------------------------

QString OffText(int language) { return Bi{"Off", "关"}.in(language); }

QStringList OffOnPair(int language)
{
    return {Bi{"OFF", "关"}.in(language), Bi{"ON", "开"}.in(language)};
}

QStringList KeyFunctionList()
{
    return {"NULL", "VOX", "VFO", "NB.ANL", "10K", "ECHO", "HI-CUT", "CALL", "C-CDT", "ASQ",
            "MIC.GAIN", "AM.NPC", "RXNR", "TXNR", "FM.DEV", "TONE", "INDIC", "CH.PUSH",
            "AGC.SET", "Scan"};
}

QStringList PublicModeNames() { return {"FM", "AM", "USB", "LSB", "PA"}; }

namespace {

// first, then from..to in steps, each followed by suffix.
QStringList numbers(int from, int to, int step = 1, const QString& suffix = {})
{
    QStringList l;
    for (int n = from; n <= to; n += step) l << QString::number(n) + suffix;
    return l;
}

QStringList pick(int language, const QStringList& en, const QStringList& zh)
{
    return language == Chinese ? zh : en;
}

QStringList dwBands() { return {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "L"}; }
QStringList dwModes() { return {"FM", "AM", "USB", "LSB"}; }
QStringList colors() { return {"Off", "White", "Blue", "Green", "Red", "Yellow", "Purple", "Cyan"}; }

}  // namespace

QStringList RogerEntries(int language, const Workspace& ws)
{
    QStringList l{OffOnPair(language).first()};
    for (int n = 1; n <= kRbPatterns; ++n)
        if (PatternIsDefined(ws, n)) l << QString::number(n);
    return l;
}

QStringList DtmfCodeEntries(int language, const Workspace& ws)
{
    QStringList l{OffOnPair(language).first()};
    for (int k = 1; k <= kDtmfCodes; ++k)
        if (DtmfCodeIsUsed(ws, k)) l << QString::number(k);
    return l;
}

QStringList PublicModeList(const OptFeatRec& o)
{
    const int16_t enabled[] = {o.FmEnabled, o.AmEnabled, o.UsbEnabled, o.LsbEnabled, o.PaEnabled};
    const QStringList names = PublicModeNames();
    QStringList l;
    for (int i = 0; i < names.size(); ++i)
        if (enabled[i] > 0) l << names[i];
    return l;
}

QStringList EntriesOf(int id, int lang, const Workspace& ws)
{
    const QString off = OffText(lang);
    const QStringList offOn = OffOnPair(lang);
    const QString OFF = offOn.first();
    switch (id) {
    case id::Indic:
        return pick(lang,
                    {"Tx Frequency Display", "SWR LCD Display", "TOT Remain Time Display",
                     "Battery Voltage Display"},
                    {"发射频率显示", "SWR驻波LCD显示", "TOT剩余时间显示", "电池电压显示"});
    case id::Mic: return numbers(1, 45);
    case id::Nog: return QStringList{off} + numbers(1, 32);
    case id::Tot: return QStringList{off} + numbers(30, 600, 30, "s");
    case id::Scm: return pick(lang, {"Squelch Scan", "Time Scan"}, {"静噪扫描", "时间扫描"});
    case id::Fin: return {off, "R", "T", "RT"};
    case id::FinRange: return {"500Hz", "5KHz"};
    case id::Color:
        return pick(lang, colors(), {"Off", "白", "蓝", "绿", "红", "黄", "紫", "青"});
    case id::TxColor: return colors();
    case id::Beep:
    case id::Dim:
    case id::RxNr:
    case id::TxNr: return QStringList{OFF} + numbers(1, 5);
    case id::Asq: return QStringList{OFF} + numbers(1, 9);
    case id::MicType: return {"EL", "DY"};
    case id::Vox:
    case id::VoxSpk:
    case id::Vfo:
    case id::AmNpc:
    case id::CwOffset:
    case id::HfPublic:
    case id::HamPublic:
    case id::PubHiCut:
    case id::PubEcho:
    case id::Pub10K: return offOn;
    case id::VoxLevel:
    case id::VoxDelay: return numbers(1, 9);
    case id::VolPath: return {"MAIN", "MIC.JACK", "BOTH"};
    case id::EchoVol:
    case id::EchoTime: return numbers(1, 32);
    case id::Emg: return {OFF, "EMG 1", "EMG 2"};
    case id::VfoStep: return {"10Hz", "100Hz", "1K", "5K", "10K", "100K", "1M"};
    case id::FmDeviation: return {"2K", "4K"};
    case id::SsbTone: return {"Hi", "Lo"};
    case id::Agc: return {"SLOW", "FAST"};
    case id::PfKey: return KeyFunctionList();
    // The model keeps one byte for the CW tone (Hz / 10), so 2550 Hz is the top.
    case id::CwFreq: return numbers(300, 2550, 10);
    case id::CwBeep: return QStringList{OFF} + numbers(1, 63);
    case id::CwRx: return {"CW-U", "CW-L"};
    case id::CwBkin: return QStringList{"Off"} + numbers(10, 1000, 10, "ms");
    case id::HfDwBand:
    case id::HamDwBand: return dwBands();
    case id::HfDwChan:
    case id::HamDwChan: return numbers(1, 40);
    case id::HfDwMode:
    case id::HamDwMode: return dwModes();
    case id::PubNbAnl: return {OFF, "NB", "ANL", "NB/ANL"};
    case id::Roger: return RogerEntries(lang, ws);
    case id::Mode: return PublicModeList(ws.WorkRecord.OptFeat);
    case id::PubBot:
    case id::PubEot:
    case id::PubCall: return DtmfCodeEntries(lang, ws);
    }
    return {};
}

QString ShownText(const ListSetting& s, const QStringList& entries, int v)
{
    switch (s.rule) {
    case Rule::Index: return ListTextAt(entries, v);
    case Rule::Number: return ListTextMatching(entries, QString::number(v));
    // Integer division, so a value between two steps shows the lower one.
    case Rule::Tot: return ListTextAt(entries, v / 3);
    case Rule::Nr: return ListTextAt(entries, v == 0 ? 0 : v - 127);
    case Rule::CwFreq: return ListTextAt(entries, v - 30);
    case Rule::PublicMode:
        return ListTextMatching(entries, ListTextAt(PublicModeNames(), v));
    }
    return {};
}

int StoredValueOf(const ListSetting& s, const QStringList& entries, const QString& chosen)
{
    const int i = entries.indexOf(chosen);
    if (i < 0) return -1;
    switch (s.rule) {
    case Rule::Index: return i;
    case Rule::Number: return static_cast<int>(NumberOr(chosen, 0));
    case Rule::Tot: return i * 3;
    case Rule::Nr: return i == 0 ? 0 : i + 127;
    case Rule::CwFreq: return i + 30;
    case Rule::PublicMode: return PublicModeNames().indexOf(chosen);
    }
    return -1;
}

// ---- number boxes -------------------------------------------------------

QString NumberText(const NumberSetting& s, int stored)
{
    return QLocale::c().toString(static_cast<double>(stored) / s.scale, 'f', s.decimals);
}

QString CheckedNumberText(const NumberSetting& s, const QString& typed)
{
    double v = NumberOr(typed, s.fallback);
    if (v < s.min) v = s.min;
    if (v > s.max) v = s.max;
    return QLocale::c().toString(v, 'f', s.decimals);
}

int StoredNumberOf(const NumberSetting& s, const QString& checkedText)
{
    return static_cast<int>(std::lround(NumberOr(checkedText, s.fallback) * s.scale));
}

void OrderBatteryTexts(QString& minText, QString& maxText)
{
    if (NumberOr(maxText, 0) < NumberOr(minText, 0)) std::swap(minText, maxText);
}

// ---- channel rules ------------------------------------------------------

void SetPublicAcrossBand(Workspace& ws, int band, int value)
{
    for (int g = 1; g <= GroupsOfBand(band); ++g)
        for (int slot = 1; slot <= GroupSize(band, g); ++slot)
            ws.Channels(band, slot, g).PublicCh = static_cast<int16_t>(value);
}

int AlignChannelModes(Workspace& ws)
{
    const OptFeatRec& o = ws.OptFeat();
    const int16_t enabled[] = {o.FmEnabled, o.AmEnabled, o.UsbEnabled, o.LsbEnabled, o.PaEnabled};
    int first = 0;   // FM when none of the five is offered
    for (int m = 4; m >= 0; --m)
        if (enabled[m] > 0) first = m;
    constexpr int kCw = 5;
    int changed = 0;
    for (int band = 0; band < kBands; ++band)
        for (int g = 1; g <= 10; ++g) {
            const int count = std::min<int>(ws.ChannelCount(band, g), kMaxSlots);
            for (int slot = 1; slot <= count; ++slot) {
                ChannelRec& ch = ws.Channels(band, slot, g);
                if (ch.ChNo == 0) continue;
                const int m = ch.Mode;
                const bool offered = (m >= 0 && m < 5 && enabled[m] > 0) ||
                                     (m == kCw && o.CwEnabled > 0);
                if (offered) continue;
                ch.Mode = static_cast<int16_t>(first);
                ++changed;
            }
        }
    return changed;
}

}  // namespace kt::opt
