// Labels and value texts of the comparison.  A value an editor's list cannot
// show (a number outside the list) is shown as the number itself, so two such
// values never look alike.
#include "rules/compare/CompareParts.h"

#include "base/ListHelpers.h"
#include "model/ChannelRules.h"
#include "rules/channels/ChannelCsvParts.h"
#include "rules/dtmf/DtmfRules.h"
#include "rules/rogerbeep/RbRules.h"

#include <QRegularExpression>
#include <cstring>
#include <unordered_map>

namespace kt::cmp {

namespace L = kt::layout;

namespace {

QString Plain(QString s)
{
    static const QRegularExpression accel(QStringLiteral("\\(&.\\)"));
    s.remove(accel).remove('&');
    return s.trimmed();
}

constexpr Bi kRecycle{"Recycle Times", "循环次数"};
constexpr Bi kInterTime{"Inter Time[ms]", "间隔时间[ms]"};
constexpr Bi kToneFreq{"Tone %1: Frequency[Hz]", "音 %1：频率[Hz]"};
constexpr Bi kToneLong{"Tone %1: Tone Long[ms]", "音 %1：音长[ms]"};
constexpr Bi kStored{"Stored value %1", "存储值 %1"};

bool IsReferenceField(ChField f)
{
    return f == ChField::Bot || f == ChField::Eot || f == ChField::Call || f == ChField::Roger;
}

SettingInfo Classify(const L::SettingEntry& e)
{
    SettingInfo info;
    info.place.kind = PlaceKind::Option;
    const QByteArray name(e.field.name);
    const QByteArray bare = name.startsWith("OptFeat.") ? name.mid(8) : name;
    if (bare == "HfWorkGroup" || bare == "HamWorkGroup") {
        info.kind = SettingInfo::WorkGroup;
        info.place = Place{PlaceKind::Band, bare == "HfWorkGroup" ? 0 : 1};
        info.label = Label::Of(chtxt::WorkGroup);
        return info;
    }
    if (bare == "DtmfDCodeAssign" || bare == "DtmfDisplay") {
        info.kind = bare == "DtmfDisplay" ? SettingInfo::OnOff : SettingInfo::DCode;
        info.place = Place{PlaceKind::Dtmf};
        info.label = Label::Of(bare == "DtmfDisplay" ? dtmftxt::Display : dtmftxt::DCode);
        return info;
    }
    // Which editor value the entry holds: set it in an empty record and see
    // which value moves.
    DataRecord probe{};
    const DataRecord zero{};
    e.field.set(probe, 1);
    for (int i = 0; i < kDtmfTimings; ++i)
        if (probe.OptFeat.*DtmfTiming(i).field != zero.OptFeat.*DtmfTiming(i).field) {
            info.kind = SettingInfo::DtmfTiming;
            info.timing = i;
            info.place = Place{PlaceKind::Dtmf};
            info.label = Label::Of(DtmfTiming(i).caption);
            return info;
        }
    auto moved = [&](opt::Field f) { return opt::GetField(probe, f) != opt::GetField(zero, f); };
    for (const opt::ListSetting& l : opt::ListSettings())
        if (moved(l.field)) {
            info.kind = SettingInfo::List;
            info.list = &l;
            info.label = Label::Of(l.label);
            return info;
        }
    for (const opt::CheckSetting& c : opt::CheckSettings())
        if (moved(c.field)) {
            info.kind = SettingInfo::Check;
            info.label = Label::Of(c.caption);
            return info;
        }
    for (const opt::NumberSetting& n : opt::NumberSettings())
        if (moved(n.field)) {
            info.kind = SettingInfo::Number;
            info.number = &n;
            info.label = Label::Of(Bi{n.label, n.label});
            return info;
        }
    info.kind = SettingInfo::Plain;
    info.place = Place{PlaceKind::Other};
    info.label = Label::Stored(bare);
    return info;
}

}  // namespace

Label Label::Of(const Bi& b)
{
    // The editors' texts live as long as the program: one lookup per text.
    static QHash<QPair<const void*, const void*>, Label> cache;
    const QPair<const void*, const void*> key{b.en, b.zh};
    auto it = cache.constFind(key);
    if (it != cache.constEnd()) return *it;
    return *cache.insert(key, {Plain(QString::fromUtf8(b.en)), Plain(QString::fromUtf8(b.zh))});
}

Label Label::Stored(const QByteArray& name)
{
    const QString n = QString::fromLatin1(name);
    return {kStored.in(English).arg(n), kStored.in(Chinese).arg(n)};
}

const SettingInfo& InfoOf(const L::SettingEntry& e)
{
    static const auto infos = [] {
        std::unordered_map<const L::SettingEntry*, SettingInfo> m;
        for (auto table : {L::Settings(), L::Options()})
            for (const L::SettingEntry& s : table)
                if (s.field.set) m.emplace(&s, Classify(s));
        return m;
    }();
    return infos.at(&e);
}

GroupValueKind GroupValueKindOf(BandGroupI16 OptFeatRec::*member)
{
    if (member == &OptFeatRec::EmgCh1 || member == &OptFeatRec::EmgCh2) return GroupValueKind::EmgCh;
    if (member == &OptFeatRec::EmgMode1 || member == &OptFeatRec::EmgMode2) return GroupValueKind::EmgMode;
    return GroupValueKind::Plain;
}

Label GroupValueLabel(GroupValueKind kind, const char* name)
{
    const QByteArray n(name);
    if (n == "EmgMode1") return Label::Of(chtxt::EmgMode1);
    if (n == "EmgMode2") return Label::Of(chtxt::EmgMode2);
    if (kind == GroupValueKind::EmgCh) {
        Label l = Label::Of(chtxt::EmgCh);
        const QString suffix = n.endsWith('1') ? QStringLiteral(" 1") : QStringLiteral(" 2");
        return {l.en + suffix, l.zh + suffix};
    }
    return Label::Stored(n);
}

Values GroupValueText(GroupValueKind kind, int v)
{
    switch (kind) {
    case GroupValueKind::EmgCh: return Values::Same(v >= 1 ? GetCHName(v) : QString::number(v));
    case GroupValueKind::EmgMode: {
        const QStringList modes = EmgModeList();
        return Values::Same(v >= 0 && v < modes.size() ? modes[v] : QString::number(v));
    }
    case GroupValueKind::Plain: break;
    }
    return Values::Number(v);
}

RbValueKind RbValueKindOf(int byte)
{
    if (byte == 0) return RbValueKind::Recycle;
    if (byte == 1) return RbValueKind::InterTime;
    return byte < 16 ? RbValueKind::Frequency : RbValueKind::Length;
}

Label RbLabel(RbValueKind kind, int tone)
{
    switch (kind) {
    case RbValueKind::Recycle: return Label::Of(kRecycle);
    case RbValueKind::InterTime: return Label::Of(kInterTime);
    case RbValueKind::Frequency: return {kToneFreq.in(English).arg(tone + 1), kToneFreq.in(Chinese).arg(tone + 1)};
    case RbValueKind::Length: break;
    }
    return {kToneLong.in(English).arg(tone + 1), kToneLong.in(Chinese).arg(tone + 1)};
}

// ---- Formatter ------------------------------------------------------------

const QStringList& Formatter::ChList(ChField f, bool mem, int language)
{
    const int key = int(f) * 4 + (mem ? 2 : 0) + (language == Chinese ? 1 : 0);
    auto it = lists_.find(key);
    if (it != lists_.end()) return *it;
    const int was = ws_.CurrentLanguage;
    ws_.CurrentLanguage = language;
    QStringList list = ChFieldList(ws_, f, mem);
    ws_.CurrentLanguage = was;
    return *lists_.insert(key, list);
}

const QStringList& Formatter::OptList(int id, int language)
{
    const int key = 100000 + id * 2 + (language == Chinese ? 1 : 0);
    auto it = lists_.find(key);
    if (it != lists_.end()) return *it;
    return *lists_.insert(key, opt::EntriesOf(id, language, ws_));
}

Values Formatter::Ch(const ChannelRec& rec, ChField f, bool mem)
{
    const int v = ChFieldRef(const_cast<ChannelRec&>(rec), f);
    Values out;
    for (int language : {English, Chinese}) {
        const QStringList& list = ChList(f, mem, language);
        // The entry the channel editor shows for the value.
        QString text = IsReferenceField(f) ? ListTextMatching(list, v == 0 ? QString() : QString::number(v))
                       : f == ChField::Mode ? ListTextMatching(list, ModeText(v))
                                            : ListTextAt(list, v);
        ChannelRec back = rec;
        StoreChField(back, f, text, int(list.indexOf(text)));
        if (ChFieldRef(back, f) != v || text.isEmpty()) text = QString::number(v);
        (language == English ? out.en : out.zh) = text;
    }
    return out;
}

Label Formatter::ChLabel(ChField f)
{
    static std::array<Label, std::size(kAllChFields)> cache;
    Label& cached = cache[size_t(f)];
    if (!cached.en.isEmpty()) return cached;
    Label& l = cached;
    l = {ChFieldLabel(f, English), ChFieldLabel(f, Chinese)};
    // The tone rows share their label in the editor; the side tells them apart here.
    const char* side = f == ChField::RxCtcss || f == ChField::RxDcs   ? " (RX)"
                       : f == ChField::TxCtcss || f == ChField::TxDcs ? " (TX)"
                                                                      : "";
    l.en += QLatin1String(side);
    l.zh += QLatin1String(side);
    return l;
}

Values Formatter::OnOff(int v)
{
    if (v != 0 && v != 1) return Values::Number(v);
    return {opt::OffOnPair(English).at(v), opt::OffOnPair(Chinese).at(v)};
}

Values Formatter::Setting(const SettingInfo& info, int v)
{
    switch (info.kind) {
    case SettingInfo::List: {
        Values out;
        for (int language : {English, Chinese}) {
            const QStringList& entries = OptList(info.list->id, language);
            QString text = opt::ShownText(*info.list, entries, v);
            if (text.isEmpty() || opt::StoredValueOf(*info.list, entries, text) != v) text = QString::number(v);
            (language == English ? out.en : out.zh) = text;
        }
        return out;
    }
    case SettingInfo::Check:
    case SettingInfo::OnOff: return OnOff(v);
    case SettingInfo::Number: return Values::Same(opt::NumberText(*info.number, v));
    case SettingInfo::DtmfTiming: {
        static const DtmfTimingList lists[kDtmfTimings] = {DtmfTiming(0).list(), DtmfTiming(1).list(),
                                                           DtmfTiming(2).list(), DtmfTiming(3).list()};
        const DtmfTimingList& list = lists[info.timing];
        const int i = DtmfTimingIndex(list, v);
        return Values::Same(DtmfTimingValue(list, i) == v && i < list.entries.size() ? list.entries[i]
                                                                                      : QString::number(v));
    }
    case SettingInfo::DCode: {
        Values out;
        for (int language : {English, Chinese}) {
            const QStringList list = DtmfDCodeAssignList(language);
            (language == English ? out.en : out.zh) = v >= 0 && v < list.size() ? list[v] : QString::number(v);
        }
        return out;
    }
    case SettingInfo::WorkGroup:
        return Values::Same(v >= 1 && v <= GroupsOfBand(info.place.band) ? GroupLetter(info.place.band, v)
                                                                         : QString::number(v));
    case SettingInfo::Plain: break;
    }
    return Values::Number(v);
}

Values Formatter::Rb(RbValueKind kind, int v)
{
    switch (kind) {
    case RbValueKind::Recycle: {
        static const QStringList lists[2] = {RbRecycleList(English), RbRecycleList(Chinese)};
        if (v < 0 || v >= lists[0].size()) return Values::Number(v);
        return {lists[0][v], lists[1][v]};
    }
    case RbValueKind::Frequency: {
        static const QStringList lists[2] = {RbFreqList(English), RbFreqList(Chinese)};
        const int i = RbFreqIndex(v);
        if (RbFreqCodeAt(i) != v) return Values::Number(v);
        return {lists[0].value(i), lists[1].value(i)};
    }
    case RbValueKind::InterTime:
    case RbValueKind::Length: break;
    }
    return Values::Number(v * 10);
}

// ---- raw texts ------------------------------------------------------------

QString FreqText(const FixedText<8>& f)
{
    return csvparts::FreqCellText(f.bytes()).trimmed();
}

QString TrimmedText(const QByteArray& bytes)
{
    QByteArray b = bytes;
    const int nul = b.indexOf('\0');
    if (nul >= 0) b.truncate(nul);
    return QString::fromLatin1(b.trimmed());
}

QString RawText(const char* bytes, int size)
{
    QString out;
    for (int i = 0; i < size; ++i) {
        const uint8_t c = uint8_t(bytes[i]);
        if (c >= 0x20 && c < 0x7F && c != '\\') out += QChar(c);
        else out += QStringLiteral("\\x%1").arg(c, 2, 16, QChar('0')).toUpper().replace(QLatin1String("\\X"), QLatin1String("\\x"));
    }
    return out;
}

bool IsTextMember(const QByteArray& name)
{
    static const QList<QByteArray> texts{"Version", "MiModel", "MiDate", "MiVersion", "MiModelShort",
                                         "Freq", "second frequency text"};
    return texts.contains(name) || name.startsWith("GroupName") || name.startsWith("DtmfCode");
}

int LittleEndian(const char* bytes, int size)
{
    const auto* b = reinterpret_cast<const uint8_t*>(bytes);
    switch (size) {
    case 1: return b[0];
    case 2: return int16_t(b[0] | (b[1] << 8));
    case 4: return int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
    default: return 0;
    }
}

QString HexBytes(const std::vector<uint8_t>& image, int first, int last)
{
    constexpr int kShown = 16;
    QStringList parts;
    for (int i = first; i <= last && i < first + kShown; ++i)
        parts << QStringLiteral("%1").arg(image[i], 2, 16, QChar('0')).toUpper();
    QString s = parts.join(' ');
    if (last - first + 1 > kShown) s += QStringLiteral(" …");
    return s;
}

}  // namespace kt::cmp
