// The report of a job: every channel in its group's table in both languages,
// tables broken between rows with their header repeated, no empty pages, and
// a PDF that is written whole or not at all.
#include "report/JobReport.h"
#include "report/ReportApp.h"

#include "TestSupport.h"
#include "model/ChannelRules.h"
#include "model/Defaults.h"
#include "rules/channels/ChannelTables.h"
#include "rules/rogerbeep/RbRules.h"

#include <QBuffer>
#include <QDir>
#include <QPdfWriter>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace kt;

namespace {

class GuiApp : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "test_report";
        static char* argv[] = {name, nullptr};
        app_ = MakeToolApplication(argc, argv, true);
    }
    void TearDown() override { app_.reset(); }
private:
    std::unique_ptr<QCoreApplication> app_;
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new GuiApp);

using Plan = std::map<std::pair<QString, QString>, std::set<QString>>;   // (band, group) -> frequencies

// Every third group empty, the others with channels of frequencies no other
// channel has; the returned plan is what the report must show.  An empty
// lettered or memory group holds a slot at frequency 0, as a radio's erased
// record reads: it is no channel of the report.
Plan FillJob(Workspace& ws)
{
    InitDefaults(ws, false);
    Plan plan;
    int n = 0;
    for (int b = 0; b < kBands; ++b)
        for (int g = 1; g <= GroupsOfBand(b); ++g) {
            ws.ChannelCount(b, g) = 0;
            if (g % 3 == 0) {
                if (g == VfoGroupOf(b)) continue;
                ChannelRec& erased = ws.Channels(b, ++ws.ChannelCount(b, g), g);
                erased = ChannelRec{};
                erased.ChNo = erased.Used = 1;
                erased.Freq.set("00000000");
                continue;
            }
            const int count = std::min(GroupSize(b, g), 5 + 7 * (g % 4));
            for (int s = 1; s <= count; ++s) {
                const int hz = 28000000 + 10 * ++n;
                ChannelRec& c = ws.Channels(b, s, g);
                c = ChannelRec{};
                c.ChNo = int16_t(count + 1 - s);   // stored out of order
                c.Used = 1;
                c.Freq.set(QByteArray::number(hz));
                plan[{BandSelectorTexts()[b], GroupLetter(b, g)}].insert(QString::number(hz / 1e6, 'f', 5));
            }
            ws.ChannelCount(b, g) = int16_t(count);
        }
    return plan;
}

// Reads the plan back from the blocks: the group heading before each channel table.
Plan PlanOf(const std::vector<ReportBlock>& blocks, int language)
{
    Plan plan;
    QString band, group;
    const QString groupWord = chtxt::Group.in(language) + " ";
    for (const ReportBlock& b : blocks) {
        if (b.kind == ReportBlock::Section) band = b.text, group.clear();
        if (b.kind == ReportBlock::Sub && b.text.startsWith(groupWord)) group = b.text.mid(groupWord.size());
        if (b.kind == ReportBlock::Grid && b.header.value(0) == chtxt::ChNoHeader.in(language)) {
            EXPECT_FALSE(group.isEmpty());
            EXPECT_EQ(b.header.value(1), chtxt::FreqHeader.in(language));
            auto& set = plan[{band, group}];
            int lastCh = 0;
            for (const QStringList& row : b.rows) {
                set.insert(row.value(1));
                EXPECT_GT(row.value(0).remove('M').toInt(), lastCh) << "rows by channel number";
                lastCh = row.value(0).toInt();
            }
        }
    }
    return plan;
}

int PdfPages(const QByteArray& pdf) { return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page ") + pdf.count("/Type /Page/")); }

}  // namespace

TEST(Report, EveryChannelIsInItsGroupsTableOnPagesThatRepeatTheHeader)
{
    test::TempInstall install(false, false);
    auto ws = install.workspace();
    const Plan expected = FillJob(*ws);
    for (int language : {English, Chinese}) {
        SCOPED_TRACE(language);
        ws->CurrentLanguage = language;
        const std::vector<ReportBlock> blocks = BuildReport(*ws, "job.dat");
        EXPECT_EQ(PlanOf(blocks, language), expected);

        QBuffer sink;
        sink.open(QIODevice::WriteOnly);
        QPdfWriter writer(&sink);
        writer.setResolution(300);
        SetUpReportPage(writer, Paper::Letter);
        const QRectF page = writer.pageLayout().paintRectPixels(300);
        const auto pages = FlowReport(blocks, writer, page.width(), page.height() * 0.9);
        ASSERT_GT(pages.size(), 3u);
        std::map<int, std::vector<bool>> seen;   // grid block -> rows placed
        for (const ReportPage& p : pages) {
            ASSERT_FALSE(p.empty());
            for (size_t k = 0; k < p.size(); ++k) {
                const ReportBlock& b = blocks[size_t(p[k].block)];
                if (b.kind != ReportBlock::Grid) continue;
                EXPECT_TRUE(p[k].header) << "a table piece without its header";
                auto& rows = seen[p[k].block];
                rows.resize(b.rows.size());
                for (int r = p[k].firstRow; r < p[k].endRow; ++r) {
                    EXPECT_FALSE(rows[size_t(r)]) << "row placed twice";
                    rows[size_t(r)] = true;
                }
            }
        }
        int continued = 0;
        for (size_t i = 1; i < pages.size(); ++i)
            if (pages[i].front().firstRow > 0) ++continued;
        EXPECT_GT(continued, 0) << "no table ran over a page";
        for (const auto& [block, rows] : seen)
            EXPECT_EQ(std::count(rows.begin(), rows.end(), true), long(rows.size()));
    }
}

TEST(Report, EmptyJobPrintsWithoutEmptyPagesAndAFailedExportLeavesNothing)
{
    test::TempInstall install(false, false);
    auto ws = install.workspace();
    FillJob(*ws);
    for (int b = 0; b < kBands; ++b)
        for (int g = 1; g <= GroupsOfBand(b); ++g) ws->ChannelCount(b, g) = 0;
    for (auto& p : ws->WorkRecord.RbPattern) p = RbPatternRec{};
    ws->CurrentLanguage = Chinese;
    const auto blocks = BuildReport(*ws, {});
    for (const ReportBlock& b : blocks) EXPECT_NE(b.kind, ReportBlock::Picture);
    EXPECT_TRUE(std::any_of(blocks.begin(), blocks.end(),
                            [](const ReportBlock& b) { return b.text == QString::fromUtf8("没有已定义的RB音。"); }));

    QString error;
    const QString pdf = install.path("empty.pdf");
    ASSERT_TRUE(ExportReportPdf(*ws, {}, pdf, Paper::A4, error)) << error.toStdString();
    const QByteArray bytes = test::ReadFile(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_TRUE(bytes.contains("/MediaBox [0 0 841") || bytes.contains("/MediaBox [0 0 842")) << "A4 landscape";
    // Header, option, DTMF and beep sections only: no empty page among them.
    QPdfWriter probe(install.path("probe.pdf"));
    SetUpReportPage(probe, Paper::A4);
    const QRectF page = probe.pageLayout().paintRectPixels(probe.logicalDpiX());
    const auto pages = FlowReport(blocks, probe, page.width(), page.height() - probe.logicalDpiY() * 0.3);
    EXPECT_LE(pages.size(), 3u);
    for (const ReportPage& p : pages) EXPECT_FALSE(p.empty());
    EXPECT_EQ(PdfPages(bytes), int(pages.size()));

    ASSERT_TRUE(QDir(install.root()).mkdir("taken.pdf"));
    const QStringList before = QDir(install.root()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    EXPECT_FALSE(ExportReportPdf(*ws, {}, install.path("taken.pdf"), Paper::A4, error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(QDir(install.root()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), before);
}
