// The radio's data model: channel records, the option-feature record and the
// data record that holds everything but the channel table.  The layout of these
// records in the radio image and in the data file is described by the tables in
// ImageLayout.cpp and DataFileLayout.cpp; here they are plain C++ records.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <cstdint>
#include <vector>

namespace kt {

constexpr int kImageSize = 23745;       // 0x0000-0x5CC0
constexpr int kBands = 2;
constexpr int kMaxGroups = 17;          // groups are 1-based: index 0 unused
constexpr int kMaxSlots = 99;           // slots are 1-based: index 0 unused
constexpr int kDataFileSize = 1699;
constexpr int kChannelRecordSize = 64;
constexpr int kDtmfCodes = 16;          // codes are 1-based: index 0 unused
constexpr int kRbPatterns = 8;
constexpr int kRbTones = 14;

// Number of groups per band (17 / 14) and per-group sizes.
int GroupsOfBand(int band);               // 17 or 14
int MemoryGroupOf(int band);              // 16 or 13 ("MEM")
int VfoGroupOf(int band);                 // 17 or 14 ("VFO")
int LetteredGroupsOf(int band);           // 15 or 12
int GroupSize(int band, int group);       // 40, 99 or 1

// A text of fixed length N, as the data file stores it: padded with spaces,
// never terminated.  Bytes are kept as they are (ANSI in the file).
template <int N>
struct FixedText {
    std::array<char, N> b;
    FixedText() { b.fill(' '); }
    // Pads with spaces or cuts to N.
    void set(const QByteArray& s) {
        for (int i = 0; i < N; ++i) b[i] = i < s.size() ? s[i] : ' ';
    }
    QByteArray bytes() const { return QByteArray(b.data(), N); }
    QByteArrayView view() const { return QByteArrayView(b.data(), N); }
    bool operator==(const FixedText& o) const { return b == o.b; }
};

// Array indexed (band 0-1, group 1-17); element [b][0] unused.
using BandGroupI16 = std::array<std::array<int16_t, kMaxGroups + 1>, kBands>;

struct ChannelRec {
    int16_t ChNo = 0;        // channel number within the group; 0 = empty slot
    int16_t Used = 0;
    int16_t Scan = 0;
    FixedText<8> Freq;       // 8 digits without a point
    FixedText<8> TxFreq;     // second frequency text; not in the radio image
    int16_t W19 = 0;         // Int16 number 19; kept, not in the image
    int16_t W20 = 0;         // Int16 number 20; kept, not in the image
    int16_t TxToneType = 0;
    int16_t TxCtcss = 0;
    int16_t TxDcs = 0;
    int16_t W24 = 0;         // Int16 number 24; compared by the modified test
    int16_t Mode = 0;
    int16_t HiCut = 0;
    int16_t NbAnl = 0;
    int16_t Echo = 0;
    int16_t Add10K = 0;
    int16_t BusyLock = 0;
    int16_t RogerBeep = 0;
    int16_t RepShift = 0;
    int16_t PublicCh = 0;
    int16_t BotCode = 0;
    int16_t EotCode = 0;
    int16_t CallCode = 0;
    int16_t RxToneType = 0;
    int16_t RxCtcss = 0;
    int16_t RxDcs = 0;
};

// Channel table indexed (band 0-1, slot 1-99, group 1-17).
class ChannelTable {
public:
    ChannelTable() : recs_(kBands * (kMaxSlots + 1) * (kMaxGroups + 1)) {}
    ChannelRec& operator()(int band, int slot, int group) { return recs_[index(band, slot, group)]; }
    const ChannelRec& operator()(int band, int slot, int group) const { return recs_[index(band, slot, group)]; }
private:
    static int index(int band, int slot, int group) {
        return (band * (kMaxSlots + 1) + slot) * (kMaxGroups + 1) + group;
    }
    std::vector<ChannelRec> recs_;
};

struct ModelInfoRec {
    FixedText<7> MiModel;
    int16_t MiTag = 0;
    int16_t MiBandClass = 0;
    FixedText<8> MiDate;
    FixedText<5> MiVersion;
    FixedText<6> MiModelShort;
    int16_t MiBandClass2 = 0;
    int16_t MiLetter = 0;
};

struct OptFeatRec {
    BandGroupI16 GroupEnable{};
    std::array<std::array<FixedText<4>, kMaxGroups + 1>, kBands> GroupName;
    BandGroupI16 EmgCh1{}, EmgCh2{};
    int16_t Opt4804H = 0, Spare342 = 0, HfWorkGroup = 0, HamWorkGroup = 0, Spare348 = 0,
            ChannelMode = 0, Opt4807B1 = 0;
    BandGroupI16 GrpByte{};
    BandGroupI16 EmgMode1{}, EmgMode2{};
    BandGroupI16 Opt558{};   // element (0,1) is Opt4808, (1,1) is Opt4809
    int16_t PublicBotCode = 0, PublicEotCode = 0, PublicCallCode = 0, Spare632 = 0, Spare634 = 0,
            PublicHiCut = 0, PublicNbAnl = 0, PublicEcho = 0, Public10K = 0, PublicBusy = 0,
            PublicRogerBeep = 0, BeepLevel = 0, TxIndicator = 0, MicGain = 0, NogLevel = 0,
            TotTime = 0, SwrProtect = 0, BattProtect = 0, ScanMode = 0, FinMode = 0,
            BacklightColor = 0, MenuPage = 0, BattMin = 0, BattMax = 0, SwrMax = 0,
            PublicMode = 0, FmEnabled = 0, AmEnabled = 0, UsbEnabled = 0, LsbEnabled = 0,
            CwEnabled = 0, PaEnabled = 0, DtmfSendTime = 0, DtmfFirstDigitTime = 0,
            DtmfFirstDigitDelay = 0, DtmfStarHashTime = 0, DtmfDCodeAssign = 0, DtmfDisplay = 0;
    std::array<FixedText<16>, kDtmfCodes + 1> DtmfCode;   // 1-16
    int16_t FmDeviation = 0, SsbTone = 0, PfKey = 0, LongKey = 0;

    int16_t& Opt4808() { return Opt558[0][1]; }
    int16_t& Opt4809() { return Opt558[1][1]; }
};

struct RbPatternRec {
    int16_t RbTone[2][kRbTones] = {};   // (0, i) frequency code, (1, i) length code
    int16_t RbRecycle = 0;
    int16_t RbInterTime = 0;
};

// Everything of the model but the channel table, as the data file holds it.
// The option values that the radio keeps outside the option-feature record
// live here too, so one record describes a whole job.
struct DataRecord {
    FixedText<4> Version;
    int16_t BandType = 0;
    int16_t CurGroup[kBands] = {};
    BandGroupI16 CurRow{};
    BandGroupI16 ChannelCount{};
    ModelInfoRec ModelInfo;
    OptFeatRec OptFeat;
    RbPatternRec RbPattern[kRbPatterns];
    int32_t TxOffset = 0;
    int16_t FreqChMode = 0;
    int16_t AsqLevel = 0;
    int16_t OptTable12[12] = {};
    uint8_t MicType = 0, VoxLevel = 0, VoxDelay = 0, RxNr = 0, TxNr = 0, OptExtra1 = 0,
            VolPath = 0, EchoVol = 0, EchoTime = 0, EmgMode = 0, VoxOn = 0, VfoStep = 0,
            AmNpc = 0, VfoOn = 0, HfDwBand = 0, HfDwChan = 0, HfDwMode = 0, HamDwBand = 0,
            HamDwChan = 0, HamDwMode = 0, VolDisplay = 0, SqlDisplay = 0, PowDisplay = 0,
            RfgDisplay = 0, FinRange = 0;
    int16_t HfPublicAll = 0, HamPublicAll = 0;
    uint8_t CwFreq = 0, CwBeep = 0, DimLevel = 0, OptExtra4 = 0, VoxSpk = 0, AgcSpeed = 0,
            ComChanRb = 0, CwRx = 0, CwBkin = 0, CwOffset = 0, RxColor = 0, TxColor = 0;
};

}  // namespace kt
