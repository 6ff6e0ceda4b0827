// Value tables of the channel editor: the lists and labels of every channel
// field in both languages, the tone tables, the mode list, the group and band
// texts, and the "Public" lock.  No widgets here; the window only shows what
// these functions give.
#pragma once

#include "base/Texts.h"
#include "model/Workspace.h"

#include <QStringList>

namespace kt {

// Texts of the channel window.
namespace chtxt {
inline constexpr Bi Window{"Channel Information", "信道信息"};
inline constexpr Bi SelectBand{"Select HF/HAM", "模式选择"};
inline constexpr Bi CheckBand{"Check Radio &Band", "检查机器频段(&B)"};
inline constexpr Bi Group{"Band", "组"};
inline constexpr Bi WorkGroup{"Work Group", "工作组"};
inline constexpr Bi EmgCh{"EMG CHX", "紧急信道"};
inline constexpr Bi EmgMode1{"EMG Mode 1", "EMG Mode 1"};
inline constexpr Bi EmgMode2{"EMG Mode 2", "EMG Mode 2"};
inline constexpr Bi DwAfm{"DW AFM State", "DW AFM State"};
inline constexpr Bi MemCh{"MEM CHX", "当前MEM信道"};
inline constexpr Bi GroupValid{"Group Valid", "组有效"};
inline constexpr Bi GroupName{"Group Name", "组名称"};
inline constexpr Bi ChNoHeader{"CH No.", "信道"};
inline constexpr Bi FreqHeader{"Frequency", "频率"};
inline constexpr Bi MoreInfo{"More Information -- CH ", "More Information -- CH "};
inline constexpr Bi EditButton{"Channel", "信道编辑"};
inline constexpr Bi Off{"OFF", "关"};
inline constexpr Bi On{"ON", "开"};
// The lettered groups and VFO of the HAM band show what the radio holds but
// are not edited.
inline constexpr Bi ReadOnlyGroup{"In the HAM band only the MEM group is edited; this group is read-only.",
                                  "HAM 频段只能编辑 MEM 组；本组为只读。"};
}  // namespace chtxt

// The fields of the detail panel, top to bottom.  RxCtcss/RxDcs share the
// fourth row and TxCtcss/TxDcs the sixth; only the one matching the tone
// type is shown.
enum class ChField {
    Busy, Rep, RxType, RxCtcss, RxDcs, TxType, TxCtcss, TxDcs, Scan, Public,
    Bot, Eot, Call, HiCut, NbAnl, Echo, Add10K, Roger, Mode
};
inline constexpr ChField kAllChFields[] = {
    ChField::Busy, ChField::Rep, ChField::RxType, ChField::RxCtcss, ChField::RxDcs,
    ChField::TxType, ChField::TxCtcss, ChField::TxDcs, ChField::Scan, ChField::Public,
    ChField::Bot, ChField::Eot, ChField::Call, ChField::HiCut, ChField::NbAnl,
    ChField::Echo, ChField::Add10K, ChField::Roger, ChField::Mode};

// Tone tables.
constexpr int kCtcssCount = 38;
constexpr int kDcsCount = 104;
double CtcssTone(int index);           // Hz; 0 outside 0-37
QString DcsCode(int index);            // "023" ...; "" outside 0-103
QStringList CtcssList();               // "C_001(67.0Hz)" ...
QStringList DcsList();                 // "D_001(023N)" ...

// Band and group texts.
QString BandRangeText(int band);       // the range text kept in BandRange
QStringList BandSelectorTexts();       // "HF -- 24.7150 - 30.1050 MHz", "HAM -- ..."
// Groups offered by the group selector: band 0 lists "M" to "O" only with ExtendedHf.
QStringList GroupSelectorTexts(int band, bool extendedHf);
QStringList FullGroupTexts(int band);  // every group of the band
QStringList WorkGroupTexts(int band, bool extendedHf);   // selector less "MEM", "VFO"
bool IsMemoryGroup(int band, int group);
bool IsVfoGroup(int band, int group);
// Frequencies can be typed in band 0, and in band 1 only in "MEM".
bool GroupEditable(int band, int group);
// Grid row header of a row: "12", or "M12" in the memory group.
QString RowHeaderText(int band, int group, int row);

// Mode list from the enabled modes; "PA" never in the memory group.
QStringList FillModeList(const Workspace& ws, bool isMemoryGroup);
QStringList EmgModeList();             // "FM", "AM", "USB", "LSB"

// Reference lists: "OFF" followed by the numbers of the non-empty DTMF codes /
// of the roger-beep patterns that hold tones.
QStringList DtmfRefList(const Workspace& ws);
QStringList RogerRefList(const Workspace& ws);

// Emergency-channel list of a group: the numbers of its channels 1-40, ascending.
QStringList EmgChannelList(const Workspace& ws, int band, int group);

// Detail panel: label, list and the value stored for each field.
QString ChFieldLabel(ChField f, int language);
QStringList ChFieldList(const Workspace& ws, ChField f, bool isMemoryGroup);
// The entry shown for the record's value (the first entry when nothing matches).
QString ChFieldText(const Workspace& ws, const ChannelRec& rec, ChField f, bool isMemoryGroup);
// The value a field holds in the record, by reference so it can be stored too.
int16_t& ChFieldRef(ChannelRec& rec, ChField f);
// Stores the chosen entry into the record.
void StoreChField(ChannelRec& rec, ChField f, const QString& text, int index);
// Fields that a channel with "Public" on shows but does not let change.
bool LockedByPublic(ChField f);

}  // namespace kt
