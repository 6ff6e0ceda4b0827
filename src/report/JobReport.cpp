#include "report/JobReport.h"

#include "model/ChannelRules.h"
#include "rules/channels/ChannelTables.h"
#include "rules/dtmf/DtmfRules.h"
#include "rules/options/OptionTables.h"
#include "rules/rogerbeep/RbRules.h"

#include <QAbstractTextDocumentLayout>
#include <QDateTime>
#include <QFileInfo>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>

namespace kt {

namespace {

namespace t {
constexpr Bi Title{"KT-6383 Pro Job Report", "KT-6383 Pro 数据报告"};
constexpr Bi Program{"Program", "程序"};
constexpr Bi ModelCode{"Model Code", "机型代码"};
constexpr Bi BandRange{"Band Range", "频段范围"};
constexpr Bi Date{"Date", "日期"};
constexpr Bi Channels{"Channels", "信道"};
constexpr Bi NoChannels{"Groups without channels: %1", "无信道的组：%1"};
constexpr Bi Options{"Option Features", "选项功能"};
constexpr Bi Dtmf{"DTMF", "DTMF(双音多频)"};
constexpr Bi DtmfCodes{"Autodial Memory", "自动拨号存储器"};
constexpr Bi No{"No.", "编号"};
constexpr Bi Code{"Code", "码"};
constexpr Bi SendTime{"DTMF Send Time[ms]", "DTMF 发送时间[毫秒]"};
constexpr Bi FirstDigitTime{"First Digit Time[ms]", "首位数码时间[毫秒]"};
constexpr Bi FirstDigitDelay{"First Digit Delay[ms]", "首位数码延迟[毫秒]"};
constexpr Bi StarHash{"* and # Tone[ms]", "*和#音[毫秒]"};
constexpr Bi DCode{"D Code Assignment", "D键设定"};
constexpr Bi DtmfDisplay{"DTMF DISP", "DTMF 显示"};
constexpr Bi RogerBeep{"Roger Beep", "RB音"};
constexpr Bi RbTone{"RB Tone", "RB音"};
constexpr Bi NoPatterns{"No roger-beep pattern is defined.", "没有已定义的RB音。"};
constexpr Bi Recycle{"Recycle Times", "循环次数"};
constexpr Bi InterTime{"Inter Time[ms]", "间隔时间[ms]"};
constexpr Bi Tone{"Tone", "音"};
constexpr Bi Frequency{"Frequency[Hz]", "频率[Hz]"};
constexpr Bi ToneLong{"Tone Long[ms]", "音长[ms]"};
constexpr Bi Page{"Page %1 of %2", "第 %1 页，共 %2 页"};
constexpr Bi Untitled{"(untitled)", "(未命名)"};
}  // namespace t

QString H(const QString& s) { return s.toHtmlEscaped(); }

QString Pick(const QStringList& l, int i) { return i >= 0 && i < l.size() ? l[i] : QString::number(i); }

// The stored digits as the grid shows them; a text that is no frequency as it is.
QString FrequencyText(Workspace& ws, const FixedText<8>& f)
{
    QByteArray d = f.bytes();
    const int nul = d.indexOf('\0');
    if (nul >= 0) d.truncate(nul);
    d = d.trimmed();
    if (d.isEmpty() || d == "FFFFFFFF") return {};
    if (!std::all_of(d.begin(), d.end(), [](char c) { return c >= '0' && c <= '9'; })) return QString::fromLatin1(d);
    return DigitsToFreqText(ws, d);
}

QString GroupNameText(const FixedText<4>& name)
{
    QByteArray n = name.bytes();
    const int nul = n.indexOf('\0');
    if (nul >= 0) n.truncate(nul);
    return QString::fromLatin1(n.trimmed());
}

QString Label(const Bi& b, int lang)
{
    QString s = b.in(lang);
    s.remove(QRegularExpression(QStringLiteral("\\(&.\\)"))).remove('&');
    return s;
}

// Label/value pairs, two pairs to a row.
QString PairTable(const QList<QPair<QString, QString>>& pairs)
{
    QString h = QStringLiteral("<table class='grid' cellspacing='0' cellpadding='3' width='100%'>");
    for (int i = 0; i < pairs.size(); i += 2) {
        h += "<tr>";
        for (int j = i; j < i + 2; ++j) {
            if (j < pairs.size()) h += "<td class='label'>" + H(pairs[j].first) + "</td><td>" + H(pairs[j].second) + "</td>";
            else h += "<td></td><td></td>";
        }
        h += "</tr>";
    }
    return h + "</table>";
}

class ReportWriter {
public:
    ReportWriter(Workspace& ws, QTextDocument& doc) : ws_(ws), doc_(doc), lang_(ws.CurrentLanguage) {}

    QString Html(const QString& fileName)
    {
        QString h = QStringLiteral(
            "<html><head><style>"
            "h1 { font-size: 14pt; } h2 { font-size: 12pt; margin-top: 12px; } h3 { font-size: 10pt; margin-top: 8px; }"
            "table.grid { border-collapse: collapse; border: 1px solid #808080; }"
            "table.grid td, table.grid th { border: 1px solid #808080; }"
            "th { background-color: #e8e8e8; font-weight: bold; } td.label { background-color: #f4f4f4; }"
            "</style></head><body>");
        h += Header(fileName);
        for (int band = 0; band < kBands; ++band) h += Band(band);
        h += Options();
        h += Dtmf();
        h += RogerBeeps();
        return h + "</body></html>";
    }

private:
    QString T(const Bi& b) const { return b.in(lang_); }

    QString Header(const QString& fileName)
    {
        const QString name = fileName.isEmpty() ? T(t::Untitled) : QFileInfo(fileName).fileName();
        return "<h1>" + H(T(t::Title)) + "</h1>" +
               PairTable({{T(t::Program), QStringLiteral("KT-6383 Pro " KT_VERSION_TEXT)},
                          {T(t::ModelCode), QString::fromLatin1(ws_.ModelCode)},
                          {T(t::BandRange), ws_.BandRange},
                          {T(txt::FileName), name},
                          {T(t::Date), QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm"))}});
    }

    QString Band(int band)
    {
        const OptFeatRec& of = ws_.WorkRecord.OptFeat;
        QString h = "<h2>" + H(Pick(BandSelectorTexts(), band)) + "</h2><p>" + H(T(chtxt::WorkGroup)) + ": " +
                    H(GroupLetter(band, band == 0 ? of.HfWorkGroup : of.HamWorkGroup)) + "</p>";
        QStringList empty;
        for (int g = 1; g <= GroupsOfBand(band); ++g) {
            if (ws_.ChannelCount(band, g) <= 0) {
                empty << GroupLetter(band, g);
                continue;
            }
            h += Group(band, g);
        }
        if (!empty.isEmpty()) h += "<p>" + H(T(t::NoChannels).arg(empty.join(QStringLiteral(", ")))) + "</p>";
        return h;
    }

    QString Group(int band, int g)
    {
        const OptFeatRec& of = ws_.WorkRecord.OptFeat;
        const QStringList onOff = opt::OffOnPair(lang_);
        QString h = "<h3>" + H(T(chtxt::Group)) + " " + H(GroupLetter(band, g)) + "</h3>";
        QList<QPair<QString, QString>> settings{{T(chtxt::GroupName), GroupNameText(of.GroupName[band][g])},
                                                {T(chtxt::GroupValid), Pick(onOff, of.GroupEnable[band][g] ? 1 : 0)}};
        if (g <= LetteredGroupsOf(band)) {
            settings.append({T(chtxt::EmgCh) + " 1", GetCHName(of.EmgCh1[band][g])});
            settings.append({T(chtxt::EmgMode1), Pick(EmgModeList(), of.EmgMode1[band][g])});
            settings.append({T(chtxt::EmgCh) + " 2", GetCHName(of.EmgCh2[band][g])});
            settings.append({T(chtxt::EmgMode2), Pick(EmgModeList(), of.EmgMode2[band][g])});
        }
        h += PairTable(settings);
        h += "<br>" + ChannelTable(band, g);
        return h;
    }

    QString ChannelTable(int band, int g)
    {
        static constexpr ChField kColumns[] = {
            ChField::Mode, ChField::RxType, ChField::RxCtcss, ChField::TxType, ChField::TxCtcss, ChField::Scan,
            ChField::Busy, ChField::Rep, ChField::Public, ChField::Bot, ChField::Eot, ChField::Call,
            ChField::HiCut, ChField::NbAnl, ChField::Echo, ChField::Add10K, ChField::Roger};
        const bool mem = IsMemoryGroup(band, g);
        std::vector<const ChannelRec*> list;
        for (int slot = 1; slot <= std::min<int>(ws_.ChannelCount(band, g), kMaxSlots); ++slot)
            list.push_back(&ws_.Channels(band, slot, g));
        std::sort(list.begin(), list.end(), [](auto* a, auto* b) { return a->ChNo < b->ChNo; });

        QString h = QStringLiteral("<table class='grid' cellspacing='0' cellpadding='2' width='100%'><thead><tr>");
        h += "<th>" + H(T(chtxt::ChNoHeader)) + "</th><th>" + H(T(chtxt::FreqHeader)) + "</th>";
        for (ChField f : kColumns) h += "<th>" + H(ChFieldLabel(f, lang_)) + "</th>";
        h += "</tr></thead><tbody>";
        for (const ChannelRec* c : list) {
            h += "<tr><td>" + H(RowHeaderText(band, g, c->ChNo)) + "</td><td>" + H(FrequencyText(ws_, c->Freq)) + "</td>";
            for (ChField f : kColumns) h += "<td>" + H(FieldText(*c, f, mem)) + "</td>";
            h += "</tr>";
        }
        return h + "</tbody></table>";
    }

    // The tone columns show the CTCSS or DCS entry the tone type chooses.
    QString FieldText(const ChannelRec& c, ChField f, bool mem)
    {
        if (f == ChField::RxCtcss || f == ChField::TxCtcss) {
            const bool rx = f == ChField::RxCtcss;
            const int type = rx ? c.RxToneType : c.TxToneType;
            if (type == 1) return ChFieldText(ws_, c, f, mem);
            if (type == 2) return ChFieldText(ws_, c, rx ? ChField::RxDcs : ChField::TxDcs, mem);
            return {};
        }
        return ChFieldText(ws_, c, f, mem);
    }

    QString Options()
    {
        QList<QPair<QString, QString>> pairs;
        for (const opt::ListSetting& l : opt::ListSettings())
            pairs.append({Label(l.label, lang_),
                          opt::ShownText(l, opt::EntriesOf(l.id, lang_, ws_), opt::GetField(ws_.WorkRecord, l.field))});
        const QStringList onOff = opt::OffOnPair(lang_);
        for (const opt::CheckSetting& c : opt::CheckSettings())
            pairs.append({Label(c.caption, lang_), Pick(onOff, opt::GetField(ws_.WorkRecord, c.field) ? 1 : 0)});
        for (const opt::NumberSetting& n : opt::NumberSettings())
            pairs.append({QString::fromUtf8(n.label), opt::NumberText(n, opt::GetField(ws_.WorkRecord, n.field))});
        return "<h2>" + H(T(t::Options)) + "</h2>" + PairTable(pairs);
    }

    QString Dtmf()
    {
        const OptFeatRec& of = ws_.WorkRecord.OptFeat;
        auto timing = [](const DtmfTimingList& l, int stored) { return Pick(l.entries, DtmfTimingIndex(l, stored)); };
        QString h = "<h2>" + H(T(t::Dtmf)) + "</h2>";
        h += PairTable({{T(t::SendTime), timing(DtmfSendTimeList(), of.DtmfSendTime)},
                        {T(t::FirstDigitTime), timing(DtmfFirstDigitTimeList(), of.DtmfFirstDigitTime)},
                        {T(t::FirstDigitDelay), timing(DtmfFirstDigitDelayList(), of.DtmfFirstDigitDelay)},
                        {T(t::StarHash), timing(DtmfStarHashTimeList(), of.DtmfStarHashTime)},
                        {T(t::DCode), Pick(DtmfDCodeAssignList(lang_), of.DtmfDCodeAssign)},
                        {T(t::DtmfDisplay), Pick(opt::OffOnPair(lang_), of.DtmfDisplay ? 1 : 0)}});
        h += "<h3>" + H(T(t::DtmfCodes)) + "</h3>";
        QList<QPair<QString, QString>> codes;
        for (int k = 1; k <= kDtmfCodes; ++k)
            codes.append({T(t::No) + " " + QString::number(k), QString::fromLatin1(DtmfCodeText(ws_, k))});
        return h + PairTable(codes);
    }

    QString RogerBeeps()
    {
        QString h = "<h2>" + H(T(t::RogerBeep)) + "</h2>";
        if (CountDefinedPatterns(ws_) == 0) return h + "<p>" + H(T(t::NoPatterns)) + "</p>";
        for (int n = 1; n <= kRbPatterns; ++n) {
            if (!PatternIsDefined(ws_, n)) continue;
            const RbPatternRec& p = Pattern(ws_, n);
            h += "<h3>" + H(T(t::RbTone)) + " " + QString::number(n) + "</h3>";
            h += "<p>" + H(T(t::Recycle)) + ": " + H(Pick(RbRecycleList(lang_), p.RbRecycle)) + " &nbsp; " +
                 H(T(t::InterTime)) + ": " + QString::number(p.RbInterTime * 10) + "</p>";
            const QString url = QStringLiteral("rb://%1").arg(n);
            doc_.addResource(QTextDocument::ImageResource, QUrl(url), PatternImage(p));
            h += "<p><img src='" + url + "' width='553' height='105'></p>";
            h += QStringLiteral("<table class='grid' cellspacing='0' cellpadding='2'><thead><tr><th>") + H(T(t::Tone)) +
                 "</th><th>" + H(T(t::Frequency)) + "</th><th>" + H(T(t::ToneLong)) + "</th></tr></thead><tbody>";
            for (int i = 0; i < kRbTones; ++i) {
                if (p.RbTone[1][i] == 0) continue;
                h += "<tr><td>" + QString::number(i + 1) + "</td><td>" +
                     H(Pick(RbFreqList(lang_), RbFreqIndex(p.RbTone[0][i]))) + "</td><td>" +
                     QString::number(p.RbTone[1][i] * 10) + "</td></tr>";
            }
            h += "</tbody></table>";
        }
        return h;
    }

    // The bars of the pattern window's picture, at twice its size on screen.
    static QImage PatternImage(const RbPatternRec& p)
    {
        constexpr int kW = 8295, kH = 1575;   // twips, as in the window
        QImage img(1106, 210, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter painter(&img);
        painter.setPen(Qt::NoPen);
        painter.scale(img.width() / double(kW), img.height() / double(kH));
        for (const RbBar& bar : PatternBars(p, kW, kH)) {
            painter.setBrush(bar.red ? QColor(255, 0, 0) : QColor(0, 0, 255));
            painter.drawRect(QRect(bar.x, bar.y, bar.w, bar.h));
        }
        painter.resetTransform();
        painter.setPen(QColor(128, 128, 128));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(img.rect().adjusted(0, 0, -1, -1));
        return img;
    }

    Workspace& ws_;
    QTextDocument& doc_;
    int lang_;
};

// Room at the foot of each page for its number.
double FooterHeight(const QPagedPaintDevice& device) { return device.logicalDpiY() * 0.3; }

}  // namespace

void SetUpReportPage(QPagedPaintDevice& device, Paper paper)
{
    device.setPageLayout(QPageLayout(QPageSize(paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4),
                                     QPageLayout::Landscape, QMarginsF(12, 12, 12, 10), QPageLayout::Millimeter));
}

std::unique_ptr<QTextDocument> BuildReport(Workspace& ws, const QString& fileName, QPagedPaintDevice& device)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(&device);
    QFont font(ws.CurrentLanguage == Chinese ? QStringLiteral("Noto Sans CJK SC") : QStringLiteral("Noto Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(7.5);
    doc->setDefaultFont(font);
    const QRectF body = device.pageLayout().paintRectPixels(device.logicalDpiX());
    doc->setPageSize(QSizeF(body.width(), body.height() - FooterHeight(device)));
    ReportWriter writer(ws, *doc);
    doc->setHtml(writer.Html(fileName));
    return doc;
}

bool PaintReport(QTextDocument& doc, QPagedPaintDevice& device, int language)
{
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const QSizeF page = doc.pageSize();
    const int pages = std::max(1, doc.pageCount());
    QFont footFont = doc.defaultFont();
    footFont.setPointSizeF(7.5);
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !device.newPage()) return false;
        painter.save();
        painter.translate(0, -i * page.height());
        doc.drawContents(&painter, QRectF(0, i * page.height(), page.width(), page.height()));
        painter.restore();
        painter.setFont(footFont);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, page.height(), page.width(), FooterHeight(device)), Qt::AlignCenter,
                         t::Page.in(language).arg(i + 1).arg(pages));
    }
    return painter.end();
}

bool ExportReportPdf(Workspace& ws, const QString& fileName, const QString& pdfPath, Paper paper, QString& error)
{
    QSaveFile file(pdfPath);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(300);
        writer.setCreator(QStringLiteral("KT-6383 Pro"));
        writer.setTitle(t::Title.in(ws.CurrentLanguage));
        SetUpReportPage(writer, paper);
        auto doc = BuildReport(ws, fileName, writer);
        if (!PaintReport(*doc, writer, ws.CurrentLanguage)) {
            file.cancelWriting();
            error = QStringLiteral("the report could not be drawn");
            return false;
        }
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace kt
