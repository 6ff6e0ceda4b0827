#include "report/JobReport.h"

#include "model/ChannelRules.h"
#include "rules/channels/ChannelTables.h"
#include "rules/dtmf/DtmfRules.h"
#include "rules/options/OptionTables.h"
#include "rules/rogerbeep/RbRules.h"

#include <QFontMetricsF>
#include <QHash>
#include <QDateTime>
#include <QFileInfo>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
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

ReportBlock Block(ReportBlock::Kind kind, const QString& text = {})
{
    ReportBlock b;
    b.kind = kind;
    b.text = text;
    return b;
}

ReportBlock PairBlock(const QList<QPair<QString, QString>>& pairs)
{
    ReportBlock b = Block(ReportBlock::Pairs);
    for (const auto& p : pairs) b.rows.push_back({p.first, p.second});
    return b;
}

class ReportWriter {
public:
    explicit ReportWriter(Workspace& ws) : ws_(ws), lang_(ws.CurrentLanguage) {}

    std::vector<ReportBlock> Build(const QString& fileName)
    {
        Header(fileName);
        for (int band = 0; band < kBands; ++band) Band(band);
        Options();
        Dtmf();
        RogerBeeps();
        return std::move(out_);
    }

private:
    QString T(const Bi& b) const { return b.in(lang_); }
    void Add(ReportBlock b) { out_.push_back(std::move(b)); }

    void Header(const QString& fileName)
    {
        const QString name = fileName.isEmpty() ? T(t::Untitled) : QFileInfo(fileName).fileName();
        Add(Block(ReportBlock::Title, T(t::Title)));
        Add(PairBlock({{T(t::Program), QStringLiteral("KT-6383 Pro " KT_VERSION_TEXT)},
                       {T(t::ModelCode), QString::fromLatin1(ws_.ModelCode)},
                       {T(t::BandRange), ws_.BandRange},
                       {T(txt::FileName), name},
                       {T(t::Date), QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm"))}}));
    }

    void Band(int band)
    {
        const OptFeatRec& of = ws_.WorkRecord.OptFeat;
        Add(Block(ReportBlock::Section, Pick(BandSelectorTexts(), band)));
        Add(Block(ReportBlock::Text, T(chtxt::WorkGroup) + ": " +
                                         GroupLetter(band, band == 0 ? of.HfWorkGroup : of.HamWorkGroup)));
        QStringList empty;
        for (int g = 1; g <= GroupsOfBand(band); ++g) {
            if (Shown(band, g).empty()) empty << GroupLetter(band, g);
            else Group(band, g);
        }
        if (!empty.isEmpty()) Add(Block(ReportBlock::Text, T(t::NoChannels).arg(empty.join(QStringLiteral(", ")))));
    }

    void Group(int band, int g)
    {
        const OptFeatRec& of = ws_.WorkRecord.OptFeat;
        const QStringList onOff = opt::OffOnPair(lang_);
        Add(Block(ReportBlock::Sub, T(chtxt::Group) + " " + GroupLetter(band, g)));
        QList<QPair<QString, QString>> settings{{T(chtxt::GroupName), GroupNameText(of.GroupName[band][g])},
                                                {T(chtxt::GroupValid), Pick(onOff, of.GroupEnable[band][g] ? 1 : 0)}};
        if (g <= LetteredGroupsOf(band)) {
            settings.append({T(chtxt::EmgCh) + " 1", GetCHName(of.EmgCh1[band][g])});
            settings.append({T(chtxt::EmgMode1), Pick(EmgModeList(), of.EmgMode1[band][g])});
            settings.append({T(chtxt::EmgCh) + " 2", GetCHName(of.EmgCh2[band][g])});
            settings.append({T(chtxt::EmgMode2), Pick(EmgModeList(), of.EmgMode2[band][g])});
        }
        Add(PairBlock(settings));
        Add(ChannelTable(band, g));
    }

    // The group's channels in number order; a slot without a frequency is no row.
    std::vector<const ChannelRec*> Shown(int band, int g) const
    {
        std::vector<const ChannelRec*> list;
        for (int slot = 1; slot <= std::min<int>(ws_.ChannelCount(band, g), kMaxSlots); ++slot)
            if (SlotShowsChannel(ws_.Channels(band, slot, g), band, g)) list.push_back(&ws_.Channels(band, slot, g));
        std::sort(list.begin(), list.end(), [](auto* a, auto* b) { return a->ChNo < b->ChNo; });
        return list;
    }

    ReportBlock ChannelTable(int band, int g)
    {
        static constexpr ChField kColumns[] = {
            ChField::Mode, ChField::RxType, ChField::RxCtcss, ChField::TxType, ChField::TxCtcss, ChField::Scan,
            ChField::Busy, ChField::Rep, ChField::Public, ChField::Bot, ChField::Eot, ChField::Call,
            ChField::HiCut, ChField::NbAnl, ChField::Echo, ChField::Add10K, ChField::Roger};
        const bool mem = IsMemoryGroup(band, g);
        const std::vector<const ChannelRec*> list = Shown(band, g);

        ReportBlock b = Block(ReportBlock::Grid);
        b.header << T(chtxt::ChNoHeader) << T(chtxt::FreqHeader);
        for (ChField f : kColumns) b.header << ChFieldLabel(f, lang_);
        for (const ChannelRec* c : list) {
            QStringList row{RowHeaderText(band, g, c->ChNo), FrequencyText(ws_, c->Freq)};
            for (ChField f : kColumns) row << FieldText(*c, f, mem);
            b.rows.push_back(row);
        }
        return b;
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

    void Options()
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
        Add(Block(ReportBlock::Section, T(t::Options)));
        Add(PairBlock(pairs));
    }

    void Dtmf()
    {
        const OptFeatRec& of = ws_.WorkRecord.OptFeat;
        QList<QPair<QString, QString>> settings;
        for (int i = 0; i < kDtmfTimings; ++i) {
            const DtmfTimingSetting& s = DtmfTiming(i);
            const DtmfTimingList list = s.list();
            settings.append({T(s.caption), Pick(list.entries, DtmfTimingIndex(list, of.*s.field))});
        }
        settings.append({T(dtmftxt::DCode), Pick(DtmfDCodeAssignList(lang_), of.DtmfDCodeAssign)});
        settings.append({T(dtmftxt::Display), Pick(opt::OffOnPair(lang_), of.DtmfDisplay ? 1 : 0)});
        Add(Block(ReportBlock::Section, T(dtmftxt::Caption)));
        Add(PairBlock(settings));
        Add(Block(ReportBlock::Sub, T(dtmftxt::Autodial)));
        QList<QPair<QString, QString>> codes;
        for (int k = 1; k <= kDtmfCodes; ++k)
            codes.append({T(dtmftxt::No) + " " + QString::number(k), QString::fromLatin1(DtmfCodeText(ws_, k))});
        Add(PairBlock(codes));
    }

    void RogerBeeps()
    {
        Add(Block(ReportBlock::Section, T(t::RogerBeep)));
        if (CountDefinedPatterns(ws_) == 0) {
            Add(Block(ReportBlock::Text, T(t::NoPatterns)));
            return;
        }
        for (int n = 1; n <= kRbPatterns; ++n) {
            if (!PatternIsDefined(ws_, n)) continue;
            const RbPatternRec& p = Pattern(ws_, n);
            Add(Block(ReportBlock::Sub, T(t::RbTone) + " " + QString::number(n)));
            Add(Block(ReportBlock::Text, T(t::Recycle) + ": " + Pick(RbRecycleList(lang_), p.RbRecycle) + "    " +
                                             T(t::InterTime) + ": " + QString::number(p.RbInterTime * 10)));
            ReportBlock pic = Block(ReportBlock::Picture);
            pic.picture = PatternImage(p);
            Add(pic);
            ReportBlock tones = Block(ReportBlock::Grid);
            tones.header << T(t::Tone) << T(t::Frequency) << T(t::ToneLong);
            for (int i = 0; i < kRbTones; ++i)
                if (p.RbTone[1][i] != 0)
                    tones.rows.push_back({QString::number(i + 1), Pick(RbFreqList(lang_), RbFreqIndex(p.RbTone[0][i])),
                                          QString::number(p.RbTone[1][i] * 10)});
            Add(tones);
        }
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
    int lang_;
    std::vector<ReportBlock> out_;
};

// ---- flowing and painting --------------------------------------------------

// Fonts and measures of the report on one device, in its units.
struct Style {
    explicit Style(QPaintDevice& device) : dpi(device.logicalDpiY()), device_(&device)
    {
        // The CJK face carries Latin letters as well, so both languages look alike.
        body = QFont(QStringLiteral("Noto Sans CJK SC"));
        body.setStyleHint(QFont::SansSerif);
        body.setPointSizeF(7.5);
        bold = body;
        bold.setBold(true);
        title = bold;
        title.setPointSizeF(14);
        section = bold;
        section.setPointSizeF(11);
        sub = bold;
        sub.setPointSizeF(9);
        pad = dpi * 0.025;
        row = QFontMetricsF(body, &device).height() + 2 * pad;
        gap = row * 0.6;
    }
    double Width(const QString& s, bool isBold = false)
    {
        auto& cache = isBold ? boldWidths_ : widths_;
        auto it = cache.constFind(s);
        if (it != cache.constEnd()) return *it;
        const double w = QFontMetricsF(isBold ? bold : body, device_).horizontalAdvance(s);
        cache.insert(s, w);
        return w;
    }
    double LineOf(const QFont& f) const { return QFontMetricsF(f, device_).height(); }
    double Footer() const { return dpi * 0.3; }

    double dpi, pad, row, gap;
    QFont body, bold, title, section, sub;

private:
    QPaintDevice* device_;
    QHash<QString, double> widths_, boldWidths_;
};

int VisualRows(const ReportBlock& b) { return b.kind == ReportBlock::Pairs ? int(b.rows.size() + 1) / 2 : int(b.rows.size()); }

// Height of a block that is not split, gap below included.
double PlainHeight(const ReportBlock& b, Style& st, double width)
{
    switch (b.kind) {
    case ReportBlock::Title: return st.LineOf(st.title) * 1.5;
    case ReportBlock::Section: return st.LineOf(st.section) * 1.8;
    case ReportBlock::Sub: return st.LineOf(st.sub) * 1.6;
    case ReportBlock::Text: return st.row + st.gap * 0.5;
    case ReportBlock::Picture: return std::min(width, b.picture.width() / 2.0 / 96.0 * st.dpi) * b.picture.height() / b.picture.width() + st.gap;
    default: return 0;
    }
}

std::vector<ReportPage> Flow(const std::vector<ReportBlock>& blocks, Style& st, double width, double height)
{
    std::vector<ReportPage> pages(1);
    double y = 0;
    auto newPage = [&] {
        pages.emplace_back();
        y = 0;
    };
    for (int i = 0; i < int(blocks.size()); ++i) {
        const ReportBlock& b = blocks[size_t(i)];
        const bool table = b.kind == ReportBlock::Grid || b.kind == ReportBlock::Pairs;
        if (!table) {
            double need = PlainHeight(b, st, width);
            // A heading keeps its first lines with it.
            if (b.kind == ReportBlock::Title || b.kind == ReportBlock::Section || b.kind == ReportBlock::Sub)
                need += 4 * st.row;
            if (y + need > height && !pages.back().empty()) newPage();
            pages.back().push_back({i, 0, 0, false, y});
            y += PlainHeight(b, st, width);
            continue;
        }
        const int rows = VisualRows(b);
        if (rows == 0) continue;
        const double head = b.kind == ReportBlock::Grid ? st.row : 0;
        int r = 0;
        while (r < rows) {
            if (y + head + st.row > height && !pages.back().empty()) newPage();
            ReportPiece piece{i, r, r, b.kind == ReportBlock::Grid, y};
            y += head;
            do {
                ++piece.endRow;
                y += st.row;
            } while (piece.endRow < rows && y + st.row <= height);
            r = piece.endRow;
            pages.back().push_back(piece);
            if (r < rows) newPage();
        }
        y += st.gap;
    }
    if (pages.back().empty() && pages.size() > 1) pages.pop_back();
    return pages;
}

// Column widths of a grid: as wide as their widest text; a wide table fills the page.
std::vector<double> GridColumns(const ReportBlock& b, Style& st, double width)
{
    std::vector<double> w(size_t(b.header.size()), 0.0);
    for (int c = 0; c < b.header.size(); ++c) w[size_t(c)] = st.Width(b.header[c], true);
    for (const QStringList& row : b.rows)
        for (int c = 0; c < row.size() && c < int(w.size()); ++c) w[size_t(c)] = std::max(w[size_t(c)], st.Width(row[c]));
    double total = 0;
    for (double& x : w) total += (x += 2 * st.pad);
    if (total > width || b.header.size() > 6) {
        const double extra = (width - total) / double(w.size());
        if (total > width) for (double& x : w) x *= width / total;
        else for (double& x : w) x += extra;
    }
    return w;
}

void PaintPiece(QPainter& p, const ReportBlock& b, const ReportPiece& piece, Style& st, double width)
{
    const QPen line(QColor(128, 128, 128), st.dpi / 200.0);
    p.setPen(Qt::black);
    auto text = [&](double x, double top, const QString& s, const QFont& f) {
        p.setFont(f);
        p.drawText(QPointF(x, top + st.pad + QFontMetricsF(f, p.device()).ascent()), s);
    };
    switch (b.kind) {
    case ReportBlock::Title: text(0, piece.y, b.text, st.title); return;
    case ReportBlock::Section: text(0, piece.y + st.LineOf(st.section) * 0.5, b.text, st.section); return;
    case ReportBlock::Sub: text(0, piece.y + st.LineOf(st.sub) * 0.4, b.text, st.sub); return;
    case ReportBlock::Text: text(0, piece.y, b.text, st.body); return;
    case ReportBlock::Picture: {
        const double h = PlainHeight(b, st, width) - st.gap;
        p.drawImage(QRectF(0, piece.y, h * b.picture.width() / b.picture.height(), h), b.picture);
        return;
    }
    case ReportBlock::Pairs: {
        const double half = width / 2;
        double labelW = 0;
        for (const QStringList& r : b.rows) labelW = std::max(labelW, st.Width(r[0]));
        labelW = std::min(labelW + 2 * st.pad, half * 0.6);
        const double top = piece.y, bottom = top + (piece.endRow - piece.firstRow) * st.row;
        p.fillRect(QRectF(0, top, labelW, bottom - top), QColor(240, 240, 240));
        p.fillRect(QRectF(half, top, labelW, bottom - top), QColor(240, 240, 240));
        p.setPen(Qt::black);
        for (int r = piece.firstRow; r < piece.endRow; ++r) {
            const double y = top + (r - piece.firstRow) * st.row;
            for (int k = 0; k < 2; ++k) {
                const size_t at = size_t(2 * r + k);
                if (at >= b.rows.size()) break;
                text(k * half + st.pad, y, b.rows[at][0], st.body);
                text(k * half + labelW + st.pad, y, b.rows[at][1], st.body);
            }
        }
        p.setPen(line);
        for (int r = 0; r <= piece.endRow - piece.firstRow; ++r) p.drawLine(QLineF(0, top + r * st.row, width, top + r * st.row));
        for (double x : {0.0, labelW, half, half + labelW, width}) p.drawLine(QLineF(x, top, x, bottom));
        return;
    }
    case ReportBlock::Grid: {
        const std::vector<double> cols = GridColumns(b, st, width);
        double tableW = 0;
        for (double c : cols) tableW += c;
        double y = piece.y;
        if (piece.header) {
            p.fillRect(QRectF(0, y, tableW, st.row), QColor(225, 225, 225));
            p.setPen(Qt::black);
            double x = 0;
            for (int c = 0; c < b.header.size(); ++c) {
                text(x + st.pad, y, b.header[c], st.bold);
                x += cols[size_t(c)];
            }
            y += st.row;
        }
        p.setPen(Qt::black);
        for (int r = piece.firstRow; r < piece.endRow; ++r, y += st.row) {
            double x = 0;
            const QStringList& row = b.rows[size_t(r)];
            for (int c = 0; c < row.size() && c < int(cols.size()); ++c) {
                if (!row[c].isEmpty()) text(x + st.pad, y, row[c], st.body);
                x += cols[size_t(c)];
            }
        }
        p.setPen(line);
        for (double ly = piece.y; ly <= y + 1; ly += st.row) p.drawLine(QLineF(0, ly, tableW, ly));
        double x = 0;
        p.drawLine(QLineF(0, piece.y, 0, y));
        for (double c : cols) {
            x += c;
            p.drawLine(QLineF(x, piece.y, x, y));
        }
        return;
    }
    }
}

QRectF Body(QPagedPaintDevice& device, const Style& st)
{
    const QRectF r = device.pageLayout().paintRectPixels(device.logicalDpiX());
    return QRectF(0, 0, r.width(), r.height() - st.Footer());
}

}  // namespace

std::vector<ReportBlock> BuildReport(Workspace& ws, const QString& fileName) { return ReportWriter(ws).Build(fileName); }

std::vector<ReportPage> FlowReport(const std::vector<ReportBlock>& blocks, QPaintDevice& device, double width, double height)
{
    Style st(device);
    return Flow(blocks, st, width, height);
}

void SetUpReportPage(QPagedPaintDevice& device, Paper paper)
{
    device.setPageLayout(QPageLayout(QPageSize(paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4),
                                     QPageLayout::Landscape, QMarginsF(12, 12, 12, 10), QPageLayout::Millimeter));
}

bool PaintReport(const std::vector<ReportBlock>& blocks, QPagedPaintDevice& device, int language)
{
    Style st(device);
    const QRectF body = Body(device, st);
    const std::vector<ReportPage> pages = Flow(blocks, st, body.width(), body.height());
    QPainter painter;
    if (!painter.begin(&device)) return false;
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage()) return false;
        for (const ReportPiece& piece : pages[i]) PaintPiece(painter, blocks[size_t(piece.block)], piece, st, body.width());
        painter.setPen(Qt::black);
        painter.setFont(st.body);
        painter.drawText(QRectF(0, body.height(), body.width(), st.Footer()), Qt::AlignCenter,
                         t::Page.in(language).arg(i + 1).arg(pages.size()));
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
        if (!PaintReport(BuildReport(ws, fileName), writer, ws.CurrentLanguage)) {
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
