// The differences as text: places, the readable table, CSV, JSON and the
// one-line summary a write's question carries.
#include "rules/compare/Compare.h"

#include "model/ChannelRules.h"
#include "rules/channels/ChannelTables.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSet>

namespace kt::cmp {

namespace {

namespace t {
constexpr Bi Group{"%1 group %2", "%1 %2 组"};
constexpr Bi Band{"%1 band", "%1 频段"};
constexpr Bi Documents{"Documents", "文档"};
constexpr Bi Options{"Option features", "选项功能"};
constexpr Bi DtmfSettings{"DTMF", "DTMF"};
constexpr Bi DtmfCode{"DTMF code %1", "DTMF 码 %1"};
constexpr Bi Pattern{"Roger beep pattern %1", "RB 音 %1"};
constexpr Bi Other{"Other stored values", "其他存储值"};
constexpr Bi Memory{"Memory %1", "存储器 %1"};
constexpr Bi Channel{"CH %1", "信道 %1"};
constexpr Bi Changed{"changed", "已更改"};
constexpr Bi Added{"added", "新增"};
constexpr Bi Removed{"removed", "删除"};
constexpr Bi NotHeld{"not held by the image", "映像无法保存"};
constexpr Bi Note{"note", "说明"};
constexpr Bi Equal{"No differences.", "没有差异。"};
constexpr Bi Heading{"A: %1\nB: %2\n%3 difference(s)\n", "A：%1\nB：%2\n%3 处差异\n"};
// Summary pieces.
constexpr Bi Nothing{"nothing", "没有任何内容"};
constexpr Bi Channels{"%n channel(s) in %1", "%n 个信道（%1）"};
constexpr Bi ChannelsGroups{"groups %1", "%1 组"};
constexpr Bi ChannelsGroup{"group %1", "%1 组"};
constexpr Bi GroupSettings{"the settings of %1", "%1 的组设置"};
constexpr Bi OptionCount{"%n option feature(s)", "%n 项选项功能"};
constexpr Bi DtmfCodes{"DTMF code %1", "DTMF 码 %1"};
constexpr Bi DtmfCodesMany{"DTMF codes %1", "DTMF 码 %1"};
constexpr Bi DtmfTimes{"the DTMF settings", "DTMF 设置"};
constexpr Bi Patterns{"roger beep pattern %1", "RB 音 %1"};
constexpr Bi PatternsMany{"roger beep patterns %1", "RB 音 %1"};
constexpr Bi WorkGroups{"the work group", "工作组"};
constexpr Bi Others{"%n other stored value(s)", "%n 个其他存储值"};
constexpr Bi ByteRanges{"%n range(s) of memory bytes", "%n 段存储器字节"};
constexpr Bi BandsDiffer{"the band", "频段"};
}  // namespace t

QString Counted(const Bi& b, int language, int n)
{
    QString s = b.in(language);
    if (language == English) s.replace(QLatin1String("(s)"), n == 1 ? QString() : QStringLiteral("s"));
    return s.replace(QLatin1String("%n"), QString::number(n));
}

// "A", "A and C", "A, B and C" / "A、B 和 C".
QString JoinAnd(const QStringList& items, int language)
{
    if (items.size() <= 1) return items.value(0);
    const QString sep = language == Chinese ? QStringLiteral("、") : QStringLiteral(", ");
    const QString last = language == Chinese ? QStringLiteral("和") : QStringLiteral(" and ");
    return QStringList(items.mid(0, items.size() - 1)).join(sep) + last + items.last();
}

QString Hex(int a) { return QStringLiteral("0x%1").arg(a, 4, 16, QChar('0')).toUpper().replace(QLatin1String("0X"), QLatin1String("0x")); }

QString GroupName(int band, int group) { return GroupLetter(band, group); }

QString CsvCell(const QString& s)
{
    if (!s.contains(',') && !s.contains('"') && !s.contains('\n') && !s.contains('\r')) return s;
    QString q = s;
    q.replace('"', QLatin1String("\"\""));
    return '"' + q + '"';
}

const char* KindName(PlaceKind k)
{
    switch (k) {
    case PlaceKind::Document: return "document";
    case PlaceKind::Band: return "band";
    case PlaceKind::Group: return "group";
    case PlaceKind::Channel: return "channel";
    case PlaceKind::Option: return "option";
    case PlaceKind::Dtmf: return "dtmf";
    case PlaceKind::RogerBeep: return "rogerbeep";
    case PlaceKind::Other: return "other";
    case PlaceKind::Bytes: return "bytes";
    }
    return "";
}

const char* ChangeName(Change c)
{
    switch (c) {
    case Change::Changed: return "changed";
    case Change::Added: return "added";
    case Change::Removed: return "removed";
    case Change::NotHeld: return "not-held";
    case Change::Note: return "note";
    }
    return "";
}

}  // namespace

QString BandName(int band) { return band == 0 ? QStringLiteral("HF") : QStringLiteral("HAM"); }

QString PlaceGroupText(const Place& p, int language)
{
    switch (p.kind) {
    case PlaceKind::Document: return t::Documents.in(language);
    case PlaceKind::Band: return t::Band.in(language).arg(BandName(p.band));
    case PlaceKind::Group:
    case PlaceKind::Channel: return t::Group.in(language).arg(BandName(p.band), GroupName(p.band, p.group));
    case PlaceKind::Option: return t::Options.in(language);
    case PlaceKind::Dtmf: return p.index ? t::DtmfCode.in(language).arg(p.index) : t::DtmfSettings.in(language);
    case PlaceKind::RogerBeep: return t::Pattern.in(language).arg(p.index);
    case PlaceKind::Other: return t::Other.in(language);
    case PlaceKind::Bytes:
        return t::Memory.in(language).arg(p.address == p.lastAddress ? Hex(p.address)
                                                                     : Hex(p.address) + '-' + Hex(p.lastAddress));
    }
    return {};
}

QString PlaceItemText(const Place& p, int language)
{
    if (p.kind != PlaceKind::Channel) return {};
    const QString number = IsMemoryGroup(p.band, p.group) ? RowHeaderText(p.band, p.group, p.channel)
                                                           : GetCHName(p.channel);
    return t::Channel.in(language).arg(number);
}

QString ChangeText(Change c, int language)
{
    switch (c) {
    case Change::Changed: return t::Changed.in(language);
    case Change::Added: return t::Added.in(language);
    case Change::Removed: return t::Removed.in(language);
    case Change::NotHeld: return t::NotHeld.in(language);
    case Change::Note: return t::Note.in(language);
    }
    return {};
}

QString TableText(const Result& r, int language, const QString& nameA, const QString& nameB)
{
    QString out = t::Heading.in(language).arg(nameA, nameB).arg(r.items.size());
    if (r.equal()) return out + t::Equal.in(language) + '\n';
    // Places in the order their first difference came, each with its count.
    QStringList order;
    QMap<QString, QList<const Difference*>> byPlace;
    for (const Difference& d : r.items) {
        const QString place = PlaceGroupText(d.place, language);
        if (!byPlace.contains(place)) order << place;
        byPlace[place] << &d;
    }
    for (const QString& place : order) {
        const auto& list = byPlace[place];
        out += QStringLiteral("\n%1 (%2)\n").arg(place).arg(list.size());
        for (const Difference* d : list) {
            QString line = QStringLiteral("  ");
            const QString item = PlaceItemText(d->place, language);
            if (!item.isEmpty()) line += item.leftJustified(9) + ' ';
            line += d->label(language);
            if (d->change == Change::Changed || d->change == Change::Note)
                line += QStringLiteral(": %1 -> %2").arg(d->valueA(language), d->valueB(language));
            else
                line += QStringLiteral(" %1: %2").arg(ChangeText(d->change, language),
                                                      d->valueA(language).isEmpty() ? d->valueB(language)
                                                                                    : d->valueA(language));
            out += line + '\n';
        }
    }
    return out;
}

QString CsvText(const Result& r, int language)
{
    QString out = QStringLiteral("kind,band,group,channel,index,address,place,item,field,change,a,b\n");
    for (const Difference& d : r.items) {
        const Place& p = d.place;
        QStringList row{QString::fromLatin1(KindName(p.kind)),
                        p.band >= 0 ? BandName(p.band) : QString(),
                        p.group > 0 ? GroupName(p.band, p.group) : QString(),
                        p.channel > 0 ? QString::number(p.channel) : QString(),
                        p.index > 0 ? QString::number(p.index) : QString(),
                        p.address >= 0 ? Hex(p.address) + (p.lastAddress != p.address ? '-' + Hex(p.lastAddress) : QString())
                                       : QString(),
                        PlaceGroupText(p, language),
                        PlaceItemText(p, language),
                        d.label(language),
                        QString::fromLatin1(ChangeName(d.change)),
                        d.valueA(language),
                        d.valueB(language)};
        for (QString& c : row) c = CsvCell(c);
        out += row.join(',') + '\n';
    }
    return out;
}

QString JsonText(const Result& r, int language, const QString& nameA, const QString& nameB)
{
    QJsonArray list;
    for (const Difference& d : r.items) {
        const Place& p = d.place;
        QJsonObject o{{"kind", KindName(p.kind)},
                      {"place", PlaceGroupText(p, language)},
                      {"field", d.label(language)},
                      {"change", ChangeName(d.change)},
                      {"a", d.valueA(language)},
                      {"b", d.valueB(language)}};
        if (p.band >= 0) o.insert("band", BandName(p.band));
        if (p.group > 0) o.insert("group", GroupName(p.band, p.group));
        if (p.channel > 0) {
            o.insert("channel", p.channel);
            o.insert("item", PlaceItemText(p, language));
        }
        if (p.index > 0) o.insert("index", p.index);
        if (p.address >= 0) {
            o.insert("address", p.address);
            o.insert("lastAddress", p.lastAddress);
        }
        list.append(o);
    }
    const QJsonObject root{{"a", nameA}, {"b", nameB}, {"equal", r.equal()}, {"differences", list}};
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented));
}

QString SummaryText(const Result& r, int language)
{
    if (r.equal()) return t::Nothing.in(language);
    QSet<QString> channels, options, others;
    QStringList groups, groupSettings, codes, patterns;
    bool bands = false, dtmfTimes = false, workGroup = false;
    int ranges = 0;
    QSet<int> bandsOfChannels;
    for (const Difference& d : r.items)
        if (d.place.kind == PlaceKind::Channel) bandsOfChannels.insert(d.place.band);
    auto groupText = [&](const Place& p) {
        return bandsOfChannels.size() > 1 || p.kind == PlaceKind::Group
                   ? BandName(p.band) + ' ' + GroupName(p.band, p.group)
                   : GroupName(p.band, p.group);
    };
    for (const Difference& d : r.items) {
        const Place& p = d.place;
        switch (p.kind) {
        case PlaceKind::Document: bands = true; break;
        case PlaceKind::Band: workGroup = true; break;
        case PlaceKind::Group:
            if (!groupSettings.contains(groupText(p))) groupSettings << groupText(p);
            break;
        case PlaceKind::Channel:
            channels.insert(QStringLiteral("%1/%2/%3").arg(p.band).arg(p.group).arg(p.channel));
            if (!groups.contains(groupText(p))) groups << groupText(p);
            break;
        case PlaceKind::Option: options.insert(d.labelEn); break;
        case PlaceKind::Dtmf:
            if (p.index == 0) dtmfTimes = true;
            else if (!codes.contains(QString::number(p.index))) codes << QString::number(p.index);
            break;
        case PlaceKind::RogerBeep:
            if (!patterns.contains(QString::number(p.index))) patterns << QString::number(p.index);
            break;
        case PlaceKind::Other: others.insert(d.labelEn); break;
        case PlaceKind::Bytes: ++ranges; break;
        }
    }
    QStringList parts;
    if (bands) parts << t::BandsDiffer.in(language);
    if (!channels.isEmpty())
        parts << Counted(t::Channels, language, int(channels.size()))
                     .arg((groups.size() == 1 ? t::ChannelsGroup : t::ChannelsGroups).in(language).arg(JoinAnd(groups, language)));
    if (!groupSettings.isEmpty()) parts << t::GroupSettings.in(language).arg(JoinAnd(groupSettings, language));
    if (workGroup) parts << t::WorkGroups.in(language);
    if (!options.isEmpty()) parts << Counted(t::OptionCount, language, int(options.size()));
    if (dtmfTimes) parts << t::DtmfTimes.in(language);
    if (!codes.isEmpty()) parts << (codes.size() == 1 ? t::DtmfCodes : t::DtmfCodesMany).in(language).arg(JoinAnd(codes, language));
    if (!patterns.isEmpty())
        parts << (patterns.size() == 1 ? t::Patterns : t::PatternsMany).in(language).arg(JoinAnd(patterns, language));
    if (!others.isEmpty()) parts << Counted(t::Others, language, int(others.size()));
    if (ranges) parts << Counted(t::ByteRanges, language, ranges);
    return JoinAnd(parts, language);
}

}  // namespace kt::cmp
