// The data file and the channel record, member by member.  Each table below
// reads like the file: offset, size, member, and for members that reach the
// radio the values it can hold (a file holding anything else is refused).
// Integers are little-endian; arrays indexed (band, group) keep element (b, g)
// at 2 * (b + 2 * (g - 1)), i.e. the first index varies fastest.
#include "model/DataFileLayout.h"

#include <cstring>

namespace kt::layout {

namespace {

// ---- how one member type is laid out -------------------------------------

template <class T> struct Codec;

template <> struct Codec<int16_t> {
    static constexpr int size = 2;
    static void put(const int16_t& v, char* o)
    {
        const auto u = uint16_t(v);
        o[0] = char(u & 0xFF);
        o[1] = char(u >> 8);
    }
    static void get(int16_t& v, const char* i) { v = int16_t(uint8_t(i[0]) | (uint16_t(uint8_t(i[1])) << 8)); }
    static bool within(const int16_t& v, int lo, int hi) { return v >= lo && v <= hi; }
};

template <> struct Codec<int32_t> {
    static constexpr int size = 4;
    static void put(const int32_t& v, char* o)
    {
        const auto u = uint32_t(v);
        for (int k = 0; k < 4; ++k) o[k] = char((u >> (8 * k)) & 0xFF);
    }
    static void get(int32_t& v, const char* i)
    {
        uint32_t u = 0;
        for (int k = 0; k < 4; ++k) u |= uint32_t(uint8_t(i[k])) << (8 * k);
        v = int32_t(u);
    }
    static bool within(const int32_t& v, int lo, int hi) { return v >= lo && v <= hi; }
};

template <> struct Codec<uint8_t> {
    static constexpr int size = 1;
    static void put(const uint8_t& v, char* o) { o[0] = char(v); }
    static void get(uint8_t& v, const char* i) { v = uint8_t(i[0]); }
    static bool within(const uint8_t& v, int lo, int hi) { return v >= lo && v <= hi; }
};

template <int N> struct Codec<FixedText<N>> {
    static constexpr int size = N;
    static void put(const FixedText<N>& t, char* o) { std::memcpy(o, t.b.data(), N); }
    static void get(FixedText<N>& t, const char* i) { std::memcpy(t.b.data(), i, N); }
    static bool within(const FixedText<N>&, int, int) { return true; }
};

// Plain arrays: elements one after another.
template <class T, std::size_t N> struct Codec<T[N]> {
    static constexpr int size = int(N) * Codec<T>::size;
    static void put(const T (&a)[N], char* o)
    {
        for (std::size_t k = 0; k < N; ++k) Codec<T>::put(a[k], o + k * Codec<T>::size);
    }
    static void get(T (&a)[N], const char* i)
    {
        for (std::size_t k = 0; k < N; ++k) Codec<T>::get(a[k], i + k * Codec<T>::size);
    }
    static bool within(const T (&a)[N], int lo, int hi)
    {
        for (const T& e : a)
            if (!Codec<T>::within(e, lo, hi)) return false;
        return true;
    }
};

// The tones of a roger-beep pattern, (0-1, 0-13): first index fastest, so each
// tone's frequency code and length code stand side by side.
template <> struct Codec<int16_t[2][kRbTones]> {
    using A = int16_t[2][kRbTones];
    static constexpr int size = 2 * kRbTones * 2;
    static void put(const A& a, char* o)
    {
        for (int i = 0; i < kRbTones; ++i)
            for (int k = 0; k < 2; ++k) Codec<int16_t>::put(a[k][i], o + 2 * (k + 2 * i));
    }
    static void get(A& a, const char* in)
    {
        for (int i = 0; i < kRbTones; ++i)
            for (int k = 0; k < 2; ++k) Codec<int16_t>::get(a[k][i], in + 2 * (k + 2 * i));
    }
    static bool within(const A& a, int lo, int hi)
    {
        for (const auto& row : a)
            for (int16_t v : row)
                if (v < lo || v > hi) return false;
        return true;
    }
};

// (band 0-1, group 1-17) of Int16.  A range applies to the groups the radio
// keeps these values for: the lettered groups of each band.
template <> struct Codec<BandGroupI16> {
    static constexpr int size = kBands * kMaxGroups * 2;
    static int at(int b, int g) { return 2 * (b + kBands * (g - 1)); }
    static void put(const BandGroupI16& a, char* o)
    {
        for (int b = 0; b < kBands; ++b)
            for (int g = 1; g <= kMaxGroups; ++g) Codec<int16_t>::put(a[b][g], o + at(b, g));
    }
    static void get(BandGroupI16& a, const char* i)
    {
        for (int b = 0; b < kBands; ++b)
            for (int g = 1; g <= kMaxGroups; ++g) Codec<int16_t>::get(a[b][g], i + at(b, g));
    }
    static bool within(const BandGroupI16& a, int lo, int hi)
    {
        for (int b = 0; b < kBands; ++b)
            for (int g = 1; g <= LetteredGroupsOf(b); ++g)
                if (a[b][g] < lo || a[b][g] > hi) return false;
        return true;
    }
};

// (band 0-1, group 1-17) of texts of 4: the group names.
using BandGroupText4 = std::array<std::array<FixedText<4>, kMaxGroups + 1>, kBands>;
template <> struct Codec<BandGroupText4> {
    static constexpr int size = kBands * kMaxGroups * 4;
    static int at(int b, int g) { return 4 * (b + kBands * (g - 1)); }
    static void put(const BandGroupText4& a, char* o)
    {
        for (int b = 0; b < kBands; ++b)
            for (int g = 1; g <= kMaxGroups; ++g) Codec<FixedText<4>>::put(a[b][g], o + at(b, g));
    }
    static void get(BandGroupText4& a, const char* i)
    {
        for (int b = 0; b < kBands; ++b)
            for (int g = 1; g <= kMaxGroups; ++g) Codec<FixedText<4>>::get(a[b][g], i + at(b, g));
    }
    static bool within(const BandGroupText4&, int, int) { return true; }
};

// DTMF codes 1-16, one after another.
using DtmfCodes = std::array<FixedText<16>, kDtmfCodes + 1>;
template <> struct Codec<DtmfCodes> {
    static constexpr int size = kDtmfCodes * 16;
    static void put(const DtmfCodes& a, char* o)
    {
        for (int k = 1; k <= kDtmfCodes; ++k) Codec<FixedText<16>>::put(a[k], o + 16 * (k - 1));
    }
    static void get(DtmfCodes& a, const char* i)
    {
        for (int k = 1; k <= kDtmfCodes; ++k) Codec<FixedText<16>>::get(a[k], i + 16 * (k - 1));
    }
    static bool within(const DtmfCodes&, int, int) { return true; }
};

// Records nested in the data file follow their own tables (below).
template <class Rec> std::span<const Field<Rec>> TableOf();
template <> std::span<const Field<ModelInfoRec>> TableOf<ModelInfoRec>() { return ModelInfoFields(); }
template <> std::span<const Field<OptFeatRec>> TableOf<OptFeatRec>() { return OptFeatFields(); }
template <> std::span<const Field<RbPatternRec>> TableOf<RbPatternRec>() { return RbPatternFields(); }

template <class Rec> void PutByTable(const Rec& r, char* o)
{
    for (const Field<Rec>& f : TableOf<Rec>()) f.put(r, o + f.offset);
}
template <class Rec> void GetByTable(Rec& r, const char* i)
{
    for (const Field<Rec>& f : TableOf<Rec>()) f.get(r, i + f.offset);
}
template <class Rec> bool HoldableByTable(const Rec& r)
{
    for (const Field<Rec>& f : TableOf<Rec>())
        if (f.within && !f.within(r, f.lo, f.hi)) return false;
    return true;
}

template <> struct Codec<ModelInfoRec> {
    static constexpr int size = kModelInfoSize;
    static void put(const ModelInfoRec& r, char* o) { PutByTable(r, o); }
    static void get(ModelInfoRec& r, const char* i) { GetByTable(r, i); }
    static bool within(const ModelInfoRec& r, int, int) { return HoldableByTable(r); }
};
template <> struct Codec<OptFeatRec> {
    static constexpr int size = kOptFeatSize;
    static void put(const OptFeatRec& r, char* o) { PutByTable(r, o); }
    static void get(OptFeatRec& r, const char* i) { GetByTable(r, i); }
    static bool within(const OptFeatRec& r, int, int) { return HoldableByTable(r); }
};
template <> struct Codec<RbPatternRec> {
    static constexpr int size = kRbPatternSize;
    static void put(const RbPatternRec& r, char* o) { PutByTable(r, o); }
    static void get(RbPatternRec& r, const char* i) { GetByTable(r, i); }
    static bool within(const RbPatternRec& r, int, int) { return HoldableByTable(r); }
};

// ---- rows ----------------------------------------------------------------

template <class M> struct MemberOf;
template <class R, class T> struct MemberOf<T R::*> {
    using Rec = R;
    using Type = T;
};

template <auto M> using RecOf = typename MemberOf<decltype(M)>::Rec;
template <auto M> using TypeOf = typename MemberOf<decltype(M)>::Type;

template <auto M> void PutMember(const RecOf<M>& r, char* o) { Codec<TypeOf<M>>::put(r.*M, o); }
template <auto M> void GetMember(RecOf<M>& r, const char* i) { Codec<TypeOf<M>>::get(r.*M, i); }
template <auto M> bool MemberWithin(const RecOf<M>& r, int lo, int hi) { return Codec<TypeOf<M>>::within(r.*M, lo, hi); }

constexpr int kAny = 1;   // marker: no range

// A member kept as it is, whatever its value.
template <auto M> Field<RecOf<M>> Keep(int offset, int size, const char* member)
{
    return {offset, size, member, &PutMember<M>, &GetMember<M>, nullptr, 0, kAny, Codec<TypeOf<M>>::size};
}
// A member the radio holds in lo..hi (nested records: their own tables decide).
template <auto M> Field<RecOf<M>> Hold(int offset, int size, const char* member, int lo = 0, int hi = 0)
{
    return {offset, size, member, &PutMember<M>, &GetMember<M>, &MemberWithin<M>, lo, hi, Codec<TypeOf<M>>::size};
}
// A member with a check of its own.
template <auto M> Field<RecOf<M>> Check(int offset, int size, const char* member,
                                        bool (*within)(const RecOf<M>&, int, int))
{
    return {offset, size, member, &PutMember<M>, &GetMember<M>, within, 0, 0, Codec<TypeOf<M>>::size};
}

// Counts must fit their group's slots; the groups a band does not have hold none.
bool CountsFit(const DataRecord& r, int, int)
{
    for (int b = 0; b < kBands; ++b)
        for (int g = 1; g <= kMaxGroups; ++g) {
            const int most = g <= GroupsOfBand(b) ? GroupCapacity(b, g) : 0;
            if (r.ChannelCount[b][g] < 0 || r.ChannelCount[b][g] > most) return false;
        }
    return true;
}

// Of the (band, group) array at 558 only Opt4808 and Opt4809 reach the radio.
bool Opt558Fits(const OptFeatRec& r, int, int)
{
    return r.Opt558[0][1] >= 0 && r.Opt558[0][1] <= 255 && r.Opt558[1][1] >= 0 && r.Opt558[1][1] <= 255;
}

// Values the radio keeps as a byte minus one (channel numbers, work groups).
constexpr int kByte = 255, kBytePlusOne = 256;

using D = DataRecord;
using MI = ModelInfoRec;
using O = OptFeatRec;
using RB = RbPatternRec;
using C = ChannelRec;

const Field<D> kDataFile[] = {
    Keep<&D::Version>           (   0,   4, "Version"),
    Hold<&D::BandType>          (   4,   2, "BandType", 0, 15),
    Keep<&D::CurGroup>          (   6,   4, "CurGroup (band 0-1)"),
    Keep<&D::CurRow>            (  10,  68, "CurRow (band, group)"),
    Check<&D::ChannelCount>     (  78,  68, "ChannelCount (band, group)", &CountsFit),
    Hold<&D::ModelInfo>         ( 146,  34, "ModelInfo"),
    Hold<&D::OptFeat>           ( 180, 966, "OptFeat"),
    Hold<&D::RbPattern>         (1146, 480, "RbPattern (0-7)"),
    Hold<&D::TxOffset>          (1626,   4, "TxOffset", 0, 65535),
    Hold<&D::FreqChMode>        (1630,   2, "FreqChMode", 0, 1),
    Hold<&D::AsqLevel>          (1632,   2, "AsqLevel", 0, kByte),
    Keep<&D::OptTable12>        (1634,  24, "OptTable12 (0-11)"),
    Keep<&D::MicType>           (1658,   1, "MicType"),
    Keep<&D::VoxLevel>          (1659,   1, "VoxLevel"),
    Keep<&D::VoxDelay>          (1660,   1, "VoxDelay"),
    Keep<&D::RxNr>              (1661,   1, "RxNr"),
    Keep<&D::TxNr>              (1662,   1, "TxNr"),
    Keep<&D::OptExtra1>         (1663,   1, "OptExtra1"),
    Keep<&D::VolPath>           (1664,   1, "VolPath"),
    Keep<&D::EchoVol>           (1665,   1, "EchoVol"),
    Keep<&D::EchoTime>          (1666,   1, "EchoTime"),
    Keep<&D::EmgMode>           (1667,   1, "EmgMode"),
    Keep<&D::VoxOn>             (1668,   1, "VoxOn"),
    Keep<&D::VfoStep>           (1669,   1, "VfoStep"),
    Keep<&D::AmNpc>             (1670,   1, "AmNpc"),
    Keep<&D::VfoOn>             (1671,   1, "VfoOn"),
    Keep<&D::HfDwBand>          (1672,   1, "HfDwBand"),
    Keep<&D::HfDwChan>          (1673,   1, "HfDwChan"),
    Keep<&D::HfDwMode>          (1674,   1, "HfDwMode"),
    Keep<&D::HamDwBand>         (1675,   1, "HamDwBand"),
    Keep<&D::HamDwChan>         (1676,   1, "HamDwChan"),
    Keep<&D::HamDwMode>         (1677,   1, "HamDwMode"),
    Keep<&D::VolDisplay>        (1678,   1, "VolDisplay"),
    Keep<&D::SqlDisplay>        (1679,   1, "SqlDisplay"),
    Keep<&D::PowDisplay>        (1680,   1, "PowDisplay"),
    Keep<&D::RfgDisplay>        (1681,   1, "RfgDisplay"),
    Keep<&D::FinRange>          (1682,   1, "FinRange"),
    Keep<&D::HfPublicAll>       (1683,   2, "HfPublicAll"),
    Keep<&D::HamPublicAll>      (1685,   2, "HamPublicAll"),
    Keep<&D::CwFreq>            (1687,   1, "CwFreq"),
    Keep<&D::CwBeep>            (1688,   1, "CwBeep"),
    Keep<&D::DimLevel>          (1689,   1, "DimLevel"),
    Keep<&D::OptExtra4>         (1690,   1, "OptExtra4"),
    Keep<&D::VoxSpk>            (1691,   1, "VoxSpk"),
    Keep<&D::AgcSpeed>          (1692,   1, "AgcSpeed"),
    Keep<&D::ComChanRb>         (1693,   1, "ComChanRb"),
    Keep<&D::CwRx>              (1694,   1, "CwRx"),
    Keep<&D::CwBkin>            (1695,   1, "CwBkin"),
    Keep<&D::CwOffset>          (1696,   1, "CwOffset"),
    Keep<&D::RxColor>           (1697,   1, "RxColor"),
    Keep<&D::TxColor>           (1698,   1, "TxColor"),
};

// Offsets relative to the start of ModelInfo (146).
const Field<MI> kModelInfo[] = {
    Keep<&MI::MiModel>          (   0,   7, "MiModel"),
    Keep<&MI::MiTag>            (   7,   2, "MiTag"),
    Keep<&MI::MiBandClass>      (   9,   2, "MiBandClass"),
    Keep<&MI::MiDate>           (  11,   8, "MiDate"),
    Keep<&MI::MiVersion>        (  19,   5, "MiVersion"),
    Keep<&MI::MiModelShort>     (  24,   6, "MiModelShort"),
    Keep<&MI::MiBandClass2>     (  30,   2, "MiBandClass2"),
    Keep<&MI::MiLetter>         (  32,   2, "MiLetter"),
};

// Offsets relative to the start of OptFeat (180).
const Field<O> kOptFeat[] = {
    Hold<&O::GroupEnable>        (   0,  68, "GroupEnable (band, group)", 0, 1),
    Keep<&O::GroupName>          (  68, 136, "GroupName (band, group)"),
    Hold<&O::EmgCh1>             ( 204,  68, "EmgCh1 (band, group)", 0, kBytePlusOne),
    Hold<&O::EmgCh2>             ( 272,  68, "EmgCh2 (band, group)", 0, kBytePlusOne),
    Hold<&O::Opt4804H>           ( 340,   2, "Opt4804H", -1, 14),
    Keep<&O::Spare342>           ( 342,   2, "spare"),
    Hold<&O::HfWorkGroup>        ( 344,   2, "HfWorkGroup", 0, kBytePlusOne),
    Hold<&O::HamWorkGroup>       ( 346,   2, "HamWorkGroup", 0, kBytePlusOne),
    Keep<&O::Spare348>           ( 348,   2, "spare"),
    Hold<&O::ChannelMode>        ( 350,   2, "ChannelMode", 0, 1),
    Hold<&O::Opt4807B1>          ( 352,   2, "Opt4807B1", 0, 1),
    Hold<&O::GrpByte>            ( 354,  68, "GrpByte (band, group)", 0, kBytePlusOne),
    Hold<&O::EmgMode1>           ( 422,  68, "EmgMode1 (band, group)", 0, kByte),
    Hold<&O::EmgMode2>           ( 490,  68, "EmgMode2 (band, group)", 0, kByte),
    Check<&O::Opt558>            ( 558,  68, "(band, group): Opt4808 at (0, 1), Opt4809 at (1, 1)", &Opt558Fits),
    Hold<&O::PublicBotCode>      ( 626,   2, "PublicBotCode", 0, kByte),
    Hold<&O::PublicEotCode>      ( 628,   2, "PublicEotCode", 0, kByte),
    Hold<&O::PublicCallCode>     ( 630,   2, "PublicCallCode", 0, kByte),
    Keep<&O::Spare632>           ( 632,   2, "spare"),
    Keep<&O::Spare634>           ( 634,   2, "spare"),
    Hold<&O::PublicHiCut>        ( 636,   2, "PublicHiCut", 0, 1),
    Hold<&O::PublicNbAnl>        ( 638,   2, "PublicNbAnl", 0, 3),
    Hold<&O::PublicEcho>         ( 640,   2, "PublicEcho", 0, 1),
    Hold<&O::Public10K>          ( 642,   2, "Public10K", 0, 1),
    Hold<&O::PublicBusy>         ( 644,   2, "PublicBusy", 0, 1),
    Hold<&O::PublicRogerBeep>    ( 646,   2, "PublicRogerBeep", 0, kByte),
    Hold<&O::BeepLevel>          ( 648,   2, "BeepLevel", 0, kByte),
    Hold<&O::TxIndicator>        ( 650,   2, "TxIndicator", 0, kByte),
    Hold<&O::MicGain>            ( 652,   2, "MicGain", 0, kByte),
    Hold<&O::NogLevel>           ( 654,   2, "NogLevel", 0, kByte),
    Hold<&O::TotTime>            ( 656,   2, "TotTime", 0, kByte),
    Hold<&O::SwrProtect>         ( 658,   2, "SwrProtect", 0, kByte),
    Hold<&O::BattProtect>        ( 660,   2, "BattProtect", 0, kByte),
    Hold<&O::ScanMode>           ( 662,   2, "ScanMode", 0, kByte),
    Hold<&O::FinMode>            ( 664,   2, "FinMode", 0, kByte),
    Hold<&O::BacklightColor>     ( 666,   2, "BacklightColor", 0, kByte),
    Hold<&O::MenuPage>           ( 668,   2, "MenuPage", 0, kByte),
    Keep<&O::BattMin>            ( 670,   2, "BattMin"),
    Keep<&O::BattMax>            ( 672,   2, "BattMax"),
    Hold<&O::SwrMax>             ( 674,   2, "SwrMax", 0, kByte),
    Hold<&O::PublicMode>         ( 676,   2, "PublicMode", 0, kByte),
    Hold<&O::FmEnabled>          ( 678,   2, "FmEnabled", 0, 1),
    Hold<&O::AmEnabled>          ( 680,   2, "AmEnabled", 0, 1),
    Hold<&O::UsbEnabled>         ( 682,   2, "UsbEnabled", 0, 1),
    Hold<&O::LsbEnabled>         ( 684,   2, "LsbEnabled", 0, 1),
    Hold<&O::CwEnabled>          ( 686,   2, "CwEnabled", 0, 1),
    Hold<&O::PaEnabled>          ( 688,   2, "PaEnabled", 0, 1),
    Hold<&O::DtmfSendTime>       ( 690,   2, "DtmfSendTime", 0, kByte),
    Hold<&O::DtmfFirstDigitTime> ( 692,   2, "DtmfFirstDigitTime", 0, kByte),
    Hold<&O::DtmfFirstDigitDelay>( 694,   2, "DtmfFirstDigitDelay", 0, kByte),
    Hold<&O::DtmfStarHashTime>   ( 696,   2, "DtmfStarHashTime", 0, kByte),
    Hold<&O::DtmfDCodeAssign>    ( 698,   2, "DtmfDCodeAssign", 0, kByte),
    Hold<&O::DtmfDisplay>        ( 700,   2, "DtmfDisplay", 0, kByte),
    Keep<&O::DtmfCode>           ( 702, 256, "DtmfCode (1-16)"),
    Hold<&O::FmDeviation>        ( 958,   2, "FmDeviation", 0, kByte),
    Hold<&O::SsbTone>            ( 960,   2, "SsbTone", 0, kByte),
    Hold<&O::PfKey>              ( 962,   2, "PfKey", 0, kByte),
    Keep<&O::LongKey>            ( 964,   2, "LongKey"),
};

// One roger-beep pattern; pattern p starts at 1146 + 60p.
const Field<RB> kRbPattern[] = {
    Hold<&RB::RbTone>            (   0,  56, "RbTone (0-1, 0-13)", 0, kByte),
    Hold<&RB::RbRecycle>         (  56,   2, "RbRecycle", 0, kByte),
    Hold<&RB::RbInterTime>       (  58,   2, "RbInterTime", 0, kByte),
};

// One 64-byte record of the channel file.  ChNo is checked against its group's capacity.
const Field<C> kChannelRecord[] = {
    Keep<&C::ChNo>               (   0,   2, "ChNo"),
    Keep<&C::Used>               (   2,   2, "Used"),
    Hold<&C::Scan>               (   4,   2, "Scan", 0, 1),
    Keep<&C::Freq>               (   6,   8, "Freq"),
    Keep<&C::TxFreq>             (  14,   8, "second frequency text"),
    Keep<&C::W19>                (  22,   2, "Int16 number 19"),
    Keep<&C::W20>                (  24,   2, "Int16 number 20"),
    Hold<&C::TxToneType>         (  26,   2, "TxToneType", 0, 3),
    Hold<&C::TxCtcss>            (  28,   2, "TxCtcss", 0, kByte),
    Hold<&C::TxDcs>              (  30,   2, "TxDcs", 0, kByte),
    Keep<&C::W24>                (  32,   2, "Int16 number 24"),
    Hold<&C::Mode>               (  34,   2, "Mode", 0, kByte),
    Hold<&C::HiCut>              (  36,   2, "HiCut", 0, 1),
    Hold<&C::NbAnl>              (  38,   2, "NbAnl", 0, 3),
    Hold<&C::Echo>               (  40,   2, "Echo", 0, 1),
    Hold<&C::Add10K>             (  42,   2, "Add10K", 0, 1),
    Hold<&C::BusyLock>           (  44,   2, "BusyLock", 0, 1),
    Hold<&C::RogerBeep>          (  46,   2, "RogerBeep", 0, kByte),
    Hold<&C::RepShift>           (  48,   2, "RepShift", 0, 3),
    Hold<&C::PublicCh>           (  50,   2, "PublicCh", 0, 1),
    Hold<&C::BotCode>            (  52,   2, "BotCode", 0, kByte),
    Hold<&C::EotCode>            (  54,   2, "EotCode", 0, kByte),
    Hold<&C::CallCode>           (  56,   2, "CallCode", 0, kByte),
    Hold<&C::RxToneType>         (  58,   2, "RxToneType", 0, 3),
    Hold<&C::RxCtcss>            (  60,   2, "RxCtcss", 0, kByte),
    Hold<&C::RxDcs>              (  62,   2, "RxDcs", 0, kByte),
};

}  // namespace

std::span<const Field<DataRecord>> DataFileFields() { return kDataFile; }
std::span<const Field<ModelInfoRec>> ModelInfoFields() { return kModelInfo; }
std::span<const Field<OptFeatRec>> OptFeatFields() { return kOptFeat; }
std::span<const Field<RbPatternRec>> RbPatternFields() { return kRbPattern; }
std::span<const Field<ChannelRec>> ChannelRecordFields() { return kChannelRecord; }

void PutDataRecord(const DataRecord& rec, char* out)
{
    for (const auto& f : kDataFile) f.put(rec, out + f.offset);
}

void GetDataRecord(DataRecord& rec, const char* in)
{
    for (const auto& f : kDataFile) f.get(rec, in + f.offset);
}

void PutChannelRecord(const ChannelRec& ch, char* out)
{
    for (const auto& f : kChannelRecord) f.put(ch, out + f.offset);
}

void GetChannelRecord(ChannelRec& ch, const char* in)
{
    for (const auto& f : kChannelRecord) f.get(ch, in + f.offset);
}

bool DataRecordHoldable(const DataRecord& rec)
{
    for (const auto& f : kDataFile)
        if (f.within && !f.within(rec, f.lo, f.hi)) return false;
    return true;
}

namespace {

// The first member of a nested record out of range, at base + its offset.
template <class Rec> FieldAt FirstOutside(const Rec& r, int base)
{
    for (const Field<Rec>& f : TableOf<Rec>())
        if (f.within && !f.within(r, f.lo, f.hi)) return {f.member, base + f.offset};
    return {};
}

}  // namespace

FieldAt FirstUnholdable(const DataRecord& rec)
{
    for (const auto& f : kDataFile) {
        if (!f.within || f.within(rec, f.lo, f.hi)) continue;
        // The nested records (rows ModelInfo, OptFeat, RbPattern of the table
        // above) name their own member.
        FieldAt at;
        if (f.offset == 146) at = FirstOutside(rec.ModelInfo, f.offset);
        else if (f.offset == 180) at = FirstOutside(rec.OptFeat, f.offset);
        for (int p = 0; f.offset == 1146 && p < kRbPatterns && !at.member; ++p)
            at = FirstOutside(rec.RbPattern[p], f.offset + p * kRbPatternSize);
        return at.member ? at : FieldAt{f.member, f.offset};
    }
    return {};
}

int GroupCapacity(int band, int group)
{
    return GroupSize(band, group) == 1 ? 1 : kMaxSlots;
}

bool ChannelRecordHoldable(const ChannelRec& ch, int band, int group)
{
    if (ch.ChNo < 1 || ch.ChNo > GroupCapacity(band, group)) return false;
    for (const auto& f : kChannelRecord)
        if (f.within && !f.within(ch, f.lo, f.hi)) return false;
    return true;
}

}  // namespace kt::layout
