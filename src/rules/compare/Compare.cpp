// The comparison walks the same tables the codec and the data file walk: the
// channel record, the settings and option bytes, the per-group values, the
// DTMF memories and the roger-beep patterns.  Labels and value texts come from
// the editors' tables; what no editor shows is still compared, by the name the
// data file layout gives it, or, between two images, as address ranges.
#include "rules/compare/Compare.h"
#include "rules/compare/CompareParts.h"

#include "base/ByteText.h"
#include "model/ChannelRules.h"
#include "model/Codec.h"
#include "model/DataFileLayout.h"
#include "model/Defaults.h"
#include "model/ImageLayout.h"
#include "rules/channels/ChannelTables.h"
#include "rules/dtmf/DtmfRules.h"
#include "rules/options/OptionTables.h"
#include "rules/rogerbeep/RbRules.h"

#include <QtEndian>
#include <array>
#include <cstring>

namespace kt::cmp {

namespace L = kt::layout;

Document FromWorkspace(const Workspace& ws, const QString& name)
{
    Document d;
    d.ws = std::make_unique<Workspace>(ws);
    d.ws->asker = nullptr;
    d.isImage = false;
    d.name = name;
    return d;
}

Document FromImage(const Workspace& base, const std::vector<uint8_t>& image, const QString& name)
{
    Document d;
    d.ws = std::make_unique<Workspace>();
    Workspace& ws = *d.ws;
    ws.ProgramDir = base.ProgramDir;
    ws.InstallRoot = base.InstallRoot;
    ws.Versions = base.Versions;
    ws.CurrentLanguage = base.CurrentLanguage;
    InitDefaults(ws, false);
    ws.MemImage = image;
    ws.MemImage.resize(kImageSize, 0xFF);
    DecodeImage(ws);
    d.isImage = true;
    d.name = name;
    return d;
}

namespace {

enum class Mode { Files, Mixed, Images };

// The 8 digits an encode writes for a frequency text, empty when it writes none.
QByteArray EncodedDigits(const FixedText<8>& f)
{
    QByteArray d = f.bytes();
    if (AllDigits(d)) return d;
    const int nul = d.indexOf('\0');
    if (nul >= 0) d.truncate(nul);
    while (!d.isEmpty() && d.endsWith(' ')) d.chop(1);
    if (d.isEmpty()) return {};
    d = d.leftJustified(8, '0');
    return AllDigits(d) ? d : QByteArray();
}

// Which editor field shows a channel record member.
int ChFieldOf(int16_t ChannelRec::*member)
{
    static ChannelRec probe;
    for (int i = 0; i < int(std::size(kAllChFields)); ++i)
        if (&ChFieldRef(probe, kAllChFields[i]) == &(probe.*member)) return i;
    return -1;
}

class Comparer {
public:
    // In a mixed comparison the data file side comes as the image an encode
    // makes of it (what a write would put into the radio); original is the
    // data file itself, for the channels no image can hold.
    Comparer(const Document& a, const Document& b, const Workspace* original, bool originalIsA)
        : a_(*a.ws), b_(*b.ws), mode_(original ? Mode::Mixed : a.isImage ? Mode::Images : Mode::Files),
          original_(original), originalIsA_(originalIsA), fmtA_(*a.ws), fmtB_(*b.ws)
    {
        if (mode_ != Mode::Files) explained_.assign(kImageSize, 0);
        rest_ = b_.WorkRecord;
    }

    Result Run()
    {
        out_.items.reserve(256);
        Bands();
        Channels();
        Settings(L::Settings());
        Settings(L::Options());
        GroupValues();
        DtmfCodes();
        RogerBeeps();
        if (mode_ == Mode::Files) RestOfDataRecord();
        if (mode_ == Mode::Images) UnheldBytes();   // a data file holds none of them
        return std::move(out_);
    }

private:
    const Workspace& a_;
    const Workspace& b_;
    Mode mode_;
    const Workspace* original_;   // Mixed: the data file
    bool originalIsA_;
    Formatter fmtA_, fmtB_;
    std::vector<uint8_t> explained_;   // Images: bits of the differences reported
    DataRecord rest_;                  // Files: B with every value compared above taken from A
    Result out_;

    bool images() const { return mode_ != Mode::Files; }

    void Mark(int address, uint8_t mask)
    {
        if (images() && address >= 0 && address < kImageSize) explained_[address] |= mask;
    }
    void MarkBits(int address, L::Bits bits)
    {
        if (bits.width == 16) {
            Mark(address, 0xFF);
            Mark(address + 1, 0xFF);
        } else {
            Mark(address, uint8_t(((1 << bits.width) - 1) << bits.low));
        }
    }

    void Add(const Place& p, Change c, const Label& label, const Values& va, const Values& vb)
    {
        Difference d;
        d.place = p;
        d.change = c;
        d.labelEn = label.en;
        d.labelZh = label.zh;
        d.a = va.en;
        d.b = vb.en;
        d.aZh = va.zh;
        d.bZh = vb.zh;
        out_.items.push_back(std::move(d));
    }

    // ---- the documents as a whole ----------------------------------------

    void Bands()
    {
        if (a_.WorkRecord.BandType == b_.WorkRecord.BandType) return;
        Add(Place{}, Change::Note, texts::DifferentBands, Values::Same(a_.BandRange), Values::Same(b_.BandRange));
        for (const L::SettingEntry& e : L::Settings())
            if (e.field.name && std::strcmp(e.field.name, "BandType") == 0) MarkBits(e.address, e.bits);
        rest_.BandType = a_.WorkRecord.BandType;
    }

    // ---- channels -----------------------------------------------------------

    using ByNumber = std::array<const ChannelRec*, kMaxSlots + 1>;

    // The channels of a group by number.  In an image a channel counts when
    // the channel grid shows it (a record of zeros is an empty row).
    void Collect(const Workspace& ws, bool shownOnly, int band, int group, ByNumber& out) const
    {
        out.fill(nullptr);
        const int count = std::clamp<int>(ws.ChannelCount(band, group), 0, kMaxSlots);
        for (int slot = 1; slot <= count; ++slot) {
            const ChannelRec& rec = ws.Channels(band, slot, group);
            if (rec.ChNo < 1 || rec.ChNo > kMaxSlots || out[rec.ChNo]) continue;
            if (shownOnly && !SlotShowsChannel(rec, band, group)) continue;
            out[rec.ChNo] = &rec;
        }
    }

    void Channels()
    {
        ByNumber inA, inB, inFile;
        for (int band = 0; band < kBands; ++band)
            for (int group = 1; group <= GroupsOfBand(band); ++group) {
                const L::ChannelArea* area = L::AreaOf(band, group);
                Collect(a_, images(), band, group, inA);
                Collect(b_, images(), band, group, inB);
                if (original_) Collect(*original_, false, band, group, inFile);
                for (int c = 1; c <= kMaxSlots; ++c) {
                    const Place p{PlaceKind::Channel, band, group, c};
                    if (original_ && c > area->size && inFile[c] && !EncodedDigits(inFile[c]->Freq).isEmpty()) {
                        // The data file's channel past the group's records (M1-M6).
                        const Values f = Values::Same(FreqText(inFile[c]->Freq));
                        Add(p, Change::NotHeld, texts::ChannelWord, originalIsA_ ? f : Values{},
                            originalIsA_ ? Values{} : f);
                        continue;
                    }
                    if (!inA[c] && !inB[c]) continue;
                    if (inA[c] && inB[c]) {
                        Channel(p, *area, *inA[c], *inB[c]);
                        continue;
                    }
                    const ChannelRec& rec = inA[c] ? *inA[c] : *inB[c];
                    const Values f = Values::Same(FreqText(rec.Freq));
                    Add(p, inA[c] ? Change::Removed : Change::Added, texts::ChannelWord, inA[c] ? f : Values{},
                        inB[c] ? f : Values{});
                    MarkWholeChannel(*area, group, c);
                }
            }
    }

    void MarkWholeChannel(const L::ChannelArea& area, int group, int c)
    {
        if (!images()) return;
        const int base = L::ChannelAddress(area, group, c);
        for (int i = 0; i < L::kRecordBytes; ++i) Mark(base + i, 0xFF);
        const int a = c - 1;
        Mark(L::EnableMaskAddress(area, group) + a / 8, uint8_t(1 << (a % 8)));
        Mark(L::ScanMaskAddress(area, group) + a / 8, uint8_t(1 << (a % 8)));
    }

    void Channel(const Place& p, const L::ChannelArea& area, const ChannelRec& ra, const ChannelRec& rb)
    {
        const int base = L::ChannelAddress(area, p.group, p.channel);
        const bool mem = IsMemoryGroup(p.band, p.group);
        const bool freqDiffers = mode_ == Mode::Files ? !(ra.Freq == rb.Freq)
                                                     : EncodedDigits(ra.Freq) != EncodedDigits(rb.Freq);
        if (freqDiffers) {
            Add(p, Change::Changed, Label::Of(chtxt::FreqHeader), Values::Same(FreqText(ra.Freq)),
                Values::Same(FreqText(rb.Freq)));
            for (int i = 0; i < 4; ++i) Mark(base + i, 0xFF);
        }
        if (ra.Scan != rb.Scan) {
            Add(p, Change::Changed, fmtA_.ChLabel(ChField::Scan), fmtA_.Ch(ra, ChField::Scan, mem),
                fmtB_.Ch(rb, ChField::Scan, mem));
            const int a = p.channel - 1;
            Mark(L::ScanMaskAddress(area, p.group) + a / 8, uint8_t(1 << (a % 8)));
        }
        bool toneDiffers = false;
        for (const L::ChannelEntry& e : L::kChannelRecord) {
            if (!e.member || ra.*e.member == rb.*e.member) continue;
            const int f = ChFieldOf(e.member);
            if (f >= 0) {
                const ChField cf = kAllChFields[f];
                Add(p, Change::Changed, fmtA_.ChLabel(cf), fmtA_.Ch(ra, cf, mem), fmtB_.Ch(rb, cf, mem));
            } else {
                Add(p, Change::Changed, Label::Stored(e.name), Values::Number(ra.*e.member),
                    Values::Number(rb.*e.member));
            }
            MarkBits(base + e.byte, e.bits);
            if (e.member == &ChannelRec::TxToneType || e.member == &ChannelRec::RxToneType) toneDiffers = true;
        }
        if (toneDiffers)
            for (const L::ChannelEntry& e : L::kChannelRecord)
                if (e.rule == L::Rule::ToneFlag) MarkBits(base + e.byte, e.bits);
        if (mode_ == Mode::Files) RestOfChannel(p, ra, rb);
    }

    // Two data files: the members of the channel record no editor shows.
    void RestOfChannel(const Place& p, const ChannelRec& ra, const ChannelRec& rb)
    {
        ChannelRec rest = rb;
        rest.ChNo = ra.ChNo;
        rest.Freq = ra.Freq;
        rest.Scan = ra.Scan;
        for (const L::ChannelEntry& e : L::kChannelRecord)
            if (e.member) rest.*e.member = ra.*e.member;
        char x[kChannelRecordSize], y[kChannelRecordSize];
        L::PutChannelRecord(ra, x);
        L::PutChannelRecord(rest, y);
        DiffFields(L::ChannelRecordFields(), x, y, 0, p);
    }

    // ---- single settings ---------------------------------------------------

    void Settings(std::span<const L::SettingEntry> table)
    {
        for (const L::SettingEntry& e : table) {
            if (e.rule == L::Rule::Zero || !e.field.get) continue;
            if (e.rule == L::Rule::ReadOnly && images()) continue;   // its twin compares the bits
            if (std::strcmp(e.field.name, "BandType") == 0) continue;            // the first line
            const int va = e.field.get(a_.WorkRecord);
            const int vb = e.field.get(b_.WorkRecord);
            e.field.set(rest_, va);
            if (va == vb) continue;
            const SettingInfo& info = InfoOf(e);
            Add(info.place, Change::Changed, info.label, fmtA_.Setting(info, va), fmtB_.Setting(info, vb));
            MarkBits(e.address, e.bits);
        }
    }

    // ---- per-group values ----------------------------------------------------

    void GroupValues()
    {
        const OptFeatRec& oa = a_.WorkRecord.OptFeat;
        const OptFeatRec& ob = b_.WorkRecord.OptFeat;
        for (int band = 0; band < kBands; ++band) {
            const int lettered = LetteredGroupsOf(band);
            const int groups = mode_ == Mode::Files ? GroupsOfBand(band) : lettered;
            for (int g = 1; g <= groups; ++g) {
                const Place p{PlaceKind::Group, band, g};
                for (const L::GroupMaskEntry& m : L::GroupMasks()) {
                    const int va = (oa.*m.member)[band][g], vb = (ob.*m.member)[band][g];
                    (rest_.OptFeat.*m.member)[band][g] = int16_t(va);
                    if (va == vb) continue;
                    Add(p, Change::Changed, Label::Of(chtxt::GroupValid), Formatter::OnOff(va), Formatter::OnOff(vb));
                    if (g <= lettered) Mark(m.base[band] + (g - 1) / 8, uint8_t(1 << ((g - 1) % 8)));
                }
                for (const L::GroupEntry& e : L::GroupValues()) {
                    const int va = (oa.*e.member)[band][g], vb = (ob.*e.member)[band][g];
                    (rest_.OptFeat.*e.member)[band][g] = int16_t(va);
                    if (va == vb) continue;
                    const GroupValueKind kind = GroupValueKindOf(e.member);
                    Add(p, Change::Changed, GroupValueLabel(kind, e.name), GroupValueText(kind, va),
                        GroupValueText(kind, vb));
                    if (g <= lettered) Mark(e.base[band] + (g - 1) * e.stride, 0xFF);
                }
                if (mode_ == Mode::Files) {
                    rest_.OptFeat.GroupName[band][g] = oa.GroupName[band][g];
                    if (!(oa.GroupName[band][g] == ob.GroupName[band][g]))
                        Add(p, Change::Changed, Label::Of(chtxt::GroupName),
                            Values::Same(TrimmedText(oa.GroupName[band][g].bytes())),
                            Values::Same(TrimmedText(ob.GroupName[band][g].bytes())));
                }
            }
        }
    }

    // ---- DTMF code memories ----------------------------------------------------

    // Characters of code k in an image before its end (a byte above 15).
    static int CodeLength(const Workspace& ws, int k)
    {
        const L::DtmfArea& d = L::Dtmf();
        const uint8_t* in = &ws.MemImage[d.base + (k - 1) * d.bytesPerCode];
        int n = 0;
        while (n < d.bytesPerCode && in[n] <= 15) ++n;
        return n;
    }

    void DtmfCodes()
    {
        const L::DtmfArea& d = L::Dtmf();
        for (int k = 1; k <= kDtmfCodes; ++k) {
            rest_.OptFeat.DtmfCode[k] = a_.WorkRecord.OptFeat.DtmfCode[k];
            const QByteArray ca = DtmfCodeText(a_, k), cb = DtmfCodeText(b_, k);
            if (ca == cb) continue;
            Add(Place{PlaceKind::Dtmf, -1, 0, 0, k}, Change::Changed, Label::Of(dtmftxt::Autodial),
                Values::Same(QString::fromLatin1(ca)), Values::Same(QString::fromLatin1(cb)));
            if (images()) {
                // The characters and the end of the longer code.
                const int last = std::min<int>(std::max(CodeLength(a_, k), CodeLength(b_, k)), d.bytesPerCode - 1);
                for (int j = 0; j <= last; ++j) Mark(d.base + (k - 1) * d.bytesPerCode + j, 0xFF);
            }
        }
    }

    // ---- roger-beep patterns ------------------------------------------------

    void RogerBeeps()
    {
        for (int pat = 0; pat < kRbPatterns; ++pat) {
            RbPatternRec& pa = const_cast<RbPatternRec&>(a_.WorkRecord.RbPattern[pat]);
            RbPatternRec& pb = const_cast<RbPatternRec&>(b_.WorkRecord.RbPattern[pat]);
            rest_.RbPattern[pat] = pa;
            const Place p{PlaceKind::RogerBeep, -1, 0, 0, pat + 1};
            const int base = L::RbPatternAddress(pat);
            for (const L::RbEntry& e : L::RbPattern())
                for (int i = 0; i < e.count; ++i) {
                    const int va = e.ref(pa, i), vb = e.ref(pb, i);
                    if (va == vb) continue;
                    const RbValueKind kind = RbValueKindOf(e.byte);
                    Add(p, Change::Changed, RbLabel(kind, i), fmtA_.Rb(kind, va), fmtB_.Rb(kind, vb));
                    Mark(base + e.byte + i, 0xFF);
                }
        }
    }

    // ---- what the data file holds beyond the editors (two data files) ------

    void RestOfDataRecord()
    {
        rest_.ChannelCount = a_.WorkRecord.ChannelCount;   // the channels are compared one by one
        QByteArray x(kDataFileSize, '\0'), y(kDataFileSize, '\0');
        L::PutDataRecord(a_.WorkRecord, x.data());
        L::PutDataRecord(rest_, y.data());
        if (x == y) return;
        const Place p{PlaceKind::Other};
        for (const auto& f : L::DataFileFields()) {
            if (std::memcmp(x.constData() + f.offset, y.constData() + f.offset, f.size) == 0) continue;
            const QByteArray name(f.member);
            if (name == "ModelInfo") DiffFields(L::ModelInfoFields(), x.constData(), y.constData(), f.offset, p);
            else if (name == "OptFeat") DiffFields(L::OptFeatFields(), x.constData(), y.constData(), f.offset, p);
            else if (name.startsWith("RbPattern"))
                for (int i = 0; i < kRbPatterns; ++i)
                    DiffFields(L::RbPatternFields(), x.constData(), y.constData(), f.offset + i * L::kRbPatternSize, p);
            else DiffBytes(f.member, f.size, x.constData() + f.offset, y.constData() + f.offset, p);
        }
    }

    template <class Rec>
    void DiffFields(std::span<const L::Field<Rec>> fields, const char* x, const char* y, int at, const Place& p)
    {
        for (const L::Field<Rec>& f : fields)
            if (std::memcmp(x + at + f.offset, y + at + f.offset, f.size) != 0)
                DiffBytes(f.member, f.size, x + at + f.offset, y + at + f.offset, p);
    }

    // A member by its name: a number, a text, or an array of numbers element by element.
    void DiffBytes(const char* member, int size, const char* x, const char* y, const Place& p)
    {
        const QByteArray name(member);
        if (IsTextMember(name)) {
            Add(p, Change::Changed, Label::Stored(member), Values::Same(RawText(x, size)),
                Values::Same(RawText(y, size)));
            return;
        }
        if (size <= 4) {
            Add(p, Change::Changed, Label::Stored(member), Values::Number(LittleEndian(x, size)),
                Values::Number(LittleEndian(y, size)));
            return;
        }
        const QByteArray base = name.left(name.indexOf(' ')).trimmed();
        for (int i = 0; i + 1 < size; i += 2) {
            const int va = LittleEndian(x + i, 2), vb = LittleEndian(y + i, 2);
            if (va != vb)
                Add(p, Change::Changed, Label::Stored(base + '[' + QByteArray::number(i / 2) + ']'), Values::Number(va),
                    Values::Number(vb));
        }
    }

    // ---- image bytes no field holds (two images) -----------------------------

    void UnheldBytes()
    {
        const std::vector<uint8_t>& x = a_.MemImage;
        const std::vector<uint8_t>& y = b_.MemImage;
        int first = -1;
        auto close = [&](int last) {
            Place p{PlaceKind::Bytes};
            p.address = first;
            p.lastAddress = last;
            Add(p, Change::Changed, texts::Bytes, Values::Same(HexBytes(x, first, last)),
                Values::Same(HexBytes(y, first, last)));
            first = -1;
        };
        for (int i = 0; i < kImageSize; ++i) {
            const bool differs = ((x[i] ^ y[i]) & ~explained_[i]) != 0;
            if (differs && first < 0) first = i;
            if (!differs && first >= 0) close(i - 1);
        }
        if (first >= 0) close(kImageSize - 1);
    }
};

}  // namespace

Result Compare(const Document& a, const Document& b)
{
    if (a.isImage == b.isImage) return Comparer(a, b, nullptr, false).Run();
    // A data file against an image: the data file as its image, so that what
    // the image cannot hold, and values the encode changes, are seen as a
    // write would leave them.
    const Document& file = a.isImage ? b : a;
    Workspace encoded(*file.ws);
    encoded.asker = nullptr;
    ClearImage(encoded);
    EncodeImage(encoded);
    const Document asImage = FromImage(*file.ws, encoded.MemImage, file.name);
    return a.isImage ? Comparer(a, asImage, b.ws.get(), false).Run() : Comparer(asImage, b, a.ws.get(), true).Run();
}

}  // namespace kt::cmp
