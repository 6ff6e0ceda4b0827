// The option features as the user sees them: for every setting its label in
// both languages, the entries it offers and how a chosen entry becomes the
// number the radio stores (and back).  The option-features window builds its
// page from these tables; everything here works on the model alone.
#pragma once

#include "base/Texts.h"
#include "model/Workspace.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kt::opt {

// The model fields the option page shows, wherever the record keeps them.
enum class Field {
    TxIndicator, MicGain, NogLevel, TotTime, ScanMode, FinMode, FinRange, BacklightColor,
    TxColor, BeepLevel, DimLevel, AsqLevel, RxNr, TxNr, MicType, VoxOn, VoxLevel, VoxDelay,
    VoxSpk, VolPath, EchoVol, EchoTime, EmgMode, VfoOn, VfoStep, AmNpc, FmDeviation, SsbTone,
    AgcSpeed, PfKey, CwFreq, CwBeep, CwRx, CwBkin, CwOffset, HfDwBand, HfDwChan, HfDwMode,
    HamDwBand, HamDwChan, HamDwMode, HfPublicAll, HamPublicAll,
    PublicHiCut, PublicNbAnl, PublicEcho, Public10K, ComChanRb, PublicMode, PublicBotCode,
    PublicEotCode, PublicCallCode,
    VolDisplay, SqlDisplay, PowDisplay, RfgDisplay, SwrProtect, BattProtect,
    FmEnabled, AmEnabled, UsbEnabled, LsbEnabled, PaEnabled, CwEnabled,
    SwrMax, BattMin, BattMax, TxOffset,
};

int GetField(const DataRecord& rec, Field f);
void SetField(DataRecord& rec, Field f, int value);

// How a chosen entry becomes the stored number.
enum class Rule {
    Index,       // the 0-based position of the entry
    Number,      // the number the entry shows; an entry that is no number (OFF) stores 0
    Tot,         // position times 3 (seconds divided by 10)
    Nr,          // 0 for OFF, entry n stored as n + 127
    CwFreq,      // position + 30 (Hz divided by 10)
    PublicMode,  // position of the mode name in "FM", "AM", "USB", "LSB", "PA"
};

// Control numbers of the option page.  Lists keep the numbers 0-58, check
// boxes 100 + n, the lists of the public channel 200 + n; the display boxes
// and the number boxes have numbers of their own above those.
namespace id {
enum : int {
    HamDwMode = 0, Indic = 2, Mic = 3, Nog = 8, Tot = 9, Scm = 10, Fin = 11, HfDwBand = 12,
    HfDwChan = 13, HfDwMode = 14, HamDwBand = 15, HamDwChan = 16, Color = 17, Mode = 18,
    Asq = 24, RxNr = 25, TxNr = 26, VoxLevel = 27, VoxDelay = 28, MicType = 29, VolPath = 31,
    EchoVol = 32, EchoTime = 33, Emg = 34, Vox = 35, VfoStep = 36, AmNpc = 37, Vfo = 38,
    Beep = 39, FmDeviation = 40, SsbTone = 41, PfKey = 42, FinRange = 44, HfPublic = 45,
    HamPublic = 46, CwFreq = 47, CwBeep = 48, Dim = 49, VoxSpk = 51, Agc = 52, Roger = 53,
    CwRx = 54, CwBkin = 55, CwOffset = 56, TxColor = 58,
    SwrProtect = 103, BattProtect = 104, FmEnable = 105, AmEnable = 106, UsbEnable = 107,
    LsbEnable = 108, PaEnable = 109, CwEnable = 110,
    VolDisplay = 111, SqlDisplay = 112, PowDisplay = 113, RfgDisplay = 114,
    PubHiCut = 200, PubNbAnl = 201, PubEcho = 202, Pub10K = 203, PubBot = 206, PubEot = 207,
    PubCall = 208,
    SwrMax = 300, BattMin = 301, BattMax = 302, TxOffset = 303,
};
}  // namespace id

struct ListSetting {
    int id;
    Bi label;      // the same text twice where the label has one language only
    Field field;
    Rule rule;
};

struct CheckSetting {
    int id;
    Bi caption;
    Field field;
};

struct NumberSetting {
    int id;
    const char* label;   // the same in both languages
    Field field;
    double min, max;
    double fallback;     // what a text that is no number becomes
    int decimals;
    int scale;           // stored value = shown value times scale, rounded
};

const std::vector<ListSetting>& ListSettings();     // every list of the page
const std::vector<CheckSetting>& CheckSettings();   // every check box
const std::vector<NumberSetting>& NumberSettings(); // the four number boxes
const ListSetting* FindList(int id);
const CheckSetting* FindCheck(int id);
const NumberSetting* FindNumber(int id);
bool IsModeEnableBox(int id);

// Shared texts.
QString OffText(int language);           // "Off" / "关"
QStringList OffOnPair(int language);     // "OFF", "ON" / "关", "开"
QStringList KeyFunctionList();
QStringList PublicModeNames();           // "FM", "AM", "USB", "LSB", "PA"

// The entries of a list in a language.  The lists of the public channel
// ("Roger", "Mode", "BOT", "EOT", "CALL") depend on the model.
QStringList EntriesOf(int id, int language, const Workspace& ws);
// The entry that shows the stored value of a list ("" only for an empty list).
QString ShownText(const ListSetting& s, const QStringList& entries, int stored);
// The value a chosen entry stores; -1 when the entry is not in the list.
int StoredValueOf(const ListSetting& s, const QStringList& entries, const QString& chosen);

// "OFF" and the numbers of the defined roger-beep patterns, ascending.
QStringList RogerEntries(int language, const Workspace& ws);
// "OFF" and the numbers of the DTMF codes that are not empty, ascending.
QStringList DtmfCodeEntries(int language, const Workspace& ws);
// The modes offered for the public channel, in the order of PublicModeNames
// (CW has no stored value there, so it is never offered).
QStringList PublicModeList(const OptFeatRec& opt);

// Number boxes: the text that shows a stored value, the checked form of a
// typed text (no number -> fallback, then clamped and formatted) and the value
// a checked text stores.
QString NumberText(const NumberSetting& s, int stored);
QString CheckedNumberText(const NumberSetting& s, const QString& typed);
int StoredNumberOf(const NumberSetting& s, const QString& checkedText);
// Orders the battery pair: when max is below min the two texts change places.
void OrderBatteryTexts(QString& minText, QString& maxText);

// "HF Public" / "Ham Public": PublicCh of every slot of the band, empty ones too.
void SetPublicAcrossBand(Workspace& ws, int band, int value);
// Channels of groups 1-10 of both bands whose mode is not offered get the first
// offered mode of FM, AM, USB, LSB, PA (FM when none); CW channels stay while
// CW is enabled.  Returns the number of channels changed.
int AlignChannelModes(Workspace& ws);

}  // namespace kt::opt
