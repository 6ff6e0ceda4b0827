// Channels through both CSV layouts: one round trip over every field value
// of both bands, one table of bad files with the line and column each must
// name, and hand-written interchange files.
#include "rules/channels/ChannelCsv.h"
#include "rules/channels/ChannelTables.h"
#include "rules/dtmf/DtmfRules.h"
#include "rules/rogerbeep/RbRules.h"
#include "model/ChannelRules.h"
#include "model/DataFile.h"
#include "model/Defaults.h"

#include <gtest/gtest.h>

namespace kt {
namespace {

// A template job with DTMF codes 2 and 5 and CW offered, so that every list
// has more than its first entry.
std::unique_ptr<Workspace> Base(int bandClass = 0)
{
    auto ws = std::make_unique<Workspace>();
    BuildTemplateData(*ws, bandClass);
    StoreDtmfCode(*ws, 2, "123");
    StoreDtmfCode(*ws, 5, "A#");
    ws->OptFeat().CwEnabled = 1;
    return ws;
}

QByteArray ChannelBytes(const Workspace& ws)
{
    QByteArray out;
    for (int b = 0; b < kBands; ++b)
        for (int g = 1; g <= GroupsOfBand(b); ++g) {
            out += QByteArray::number(ws.ChannelCount(b, g)) + ":";
            for (int s = 1; s <= ws.ChannelCount(b, g); ++s) out += SerializeChannelRecord(ws.Channels(b, s, g));
        }
    return out;
}

// Every value of every field turns up on some channel: channel n of a group
// takes value n mod the size of each list.
void Vary(Workspace& ws)
{
    int n = 0;
    for (int b = 0; b < kBands; ++b)
        for (int g : {1, 5, MemoryGroupOf(b), VfoGroupOf(b)}) {
            const bool mem = IsMemoryGroup(b, g);
            const int count = IsVfoGroup(b, g) ? 1 : 40;
            for (int ch = 1; ch <= count; ++ch, ++n) {
                const QString f = QStringLiteral("28.%1").arg(100 + ch * 7 + g, 5, 10, QChar('0'));
                int slot = FindSlot(ws, b, g, ch);
                if (slot == 0) {   // as typing into the grid does
                    InsertChannel(ws, ch, b, g, f);
                    RepointChannelRefs(ws, b, g);
                    slot = ws.ChannelCount(b, g);
                }
                ChannelRec& c = ws.Channels(b, slot, g);
                c.BusyLock = int16_t(n % 2);
                c.RepShift = int16_t(n % 3);
                c.RxToneType = int16_t(n % 3);
                c.RxCtcss = int16_t(c.RxToneType == 1 ? n % kCtcssCount : 0);
                c.RxDcs = int16_t(c.RxToneType == 2 ? (n * 7) % kDcsCount : 0);
                c.TxToneType = int16_t((n / 3) % 3);
                c.TxCtcss = int16_t(c.TxToneType == 1 ? (n * 5) % kCtcssCount : 0);
                c.TxDcs = int16_t(c.TxToneType == 2 ? n % kDcsCount : 0);
                c.Scan = int16_t((n / 2) % 2);
                c.PublicCh = int16_t((n / 5) % 2);
                const int16_t refs[] = {0, 2, 5};
                c.BotCode = refs[n % 3];
                c.EotCode = refs[(n / 3) % 3];
                c.CallCode = refs[(n / 9) % 3];
                c.HiCut = int16_t((n / 4) % 2);
                c.NbAnl = int16_t(n % 4);
                c.Echo = int16_t((n / 7) % 2);
                c.Add10K = int16_t((n / 6) % 2);
                QList<int16_t> rogers{0};
                for (int k = 1; k <= kRbPatterns; ++k)
                    if (PatternIsDefined(ws, k)) rogers << int16_t(k);
                c.RogerBeep = rogers[n % rogers.size()];
                const int modes[] = {0, 1, 2, 3, 4, 5};
                c.Mode = int16_t(modes[n % 6] == 4 && mem ? 5 : modes[n % 6]);
            }
        }
}

TEST(ChannelCsv, FullLayoutRoundTripKeepsEveryChannelByteForByte)
{
    auto job = Base();
    Vary(*job);
    const CsvExport e = ExportChannelsCsv(*job);
    ASSERT_TRUE(e.errors.isEmpty());
    for (int lang : {English, Chinese}) {
        auto into = Base();
        into->CurrentLanguage = lang;   // the file is English whatever the language
        const CsvImport r = ImportChannelsCsv(*into, e.bytes);
        ASSERT_TRUE(r.ok()) << DescribeIssue(*into, r.errors.value(0)).toStdString();
        EXPECT_EQ(r.channels, e.channels);
        EXPECT_EQ(ChannelBytes(*into), ChannelBytes(*job));
        // Group settings come from the base and were already valid.
        EXPECT_EQ(SerializeDataRecord(into->WorkRecord), SerializeDataRecord(job->WorkRecord));
    }
    // Chinese list texts are read as well as English ones.
    QByteArray zh = e.bytes;
    zh.replace(",OFF,", ",\xE5\x85\xB3,").replace(",Add,", ",\xE6\xB7\xBB\xE5\x8A\xA0,");
    auto into = Base();
    const CsvImport r = ImportChannelsCsv(*into, zh);
    ASSERT_TRUE(r.ok()) << DescribeIssue(*into, r.errors.value(0)).toStdString();
    EXPECT_EQ(ChannelBytes(*into), ChannelBytes(*job));
}

TEST(ChannelCsv, SeparatorsLineEndsAndBomAreAllRead)
{
    auto job = Base();
    Vary(*job);
    const QByteArray comma = ExportChannelsCsv(*job).bytes;
    QByteArray semi = comma;
    semi.replace(',', ';');
    for (QByteArray bytes : {comma, QByteArray(comma).replace("\r\n", "\n"), "\xEF\xBB\xBF" + semi}) {
        auto into = Base();
        ASSERT_TRUE(ImportChannelsCsv(*into, bytes).ok());
        EXPECT_EQ(ChannelBytes(*into), ChannelBytes(*job));
    }
}

struct RowCase {
    const char* row;          // after the full header; several rows split by \n
    bool refused;             // true: an error, nothing changes; false: kept with a warning
    int line, column;
    const char* reason;       // part of the reason
};

// What the radio cannot hold is refused and names its line and column; what
// it holds though the grid would not offer it is stored with a warning.
TEST(ChannelCsv, RowsTheRadioCannotHoldAreRefusedOthersKeptWithAWarning)
{
    const QByteArray header = "Band,Group,Channel,Frequency,BUSY,REP,RXCTC,TXCTC,Scan,Public,BOT,EOT,Call,HI-CUT,NB/ANL,ECHO,+10KHz,Roger,Mode\n";
    const QByteArray ok = ",OFF,OFF,Off,Off,Add,OFF,OFF,OFF,OFF,OFF,NB,OFF,OFF,OFF,FM";
    auto row = [&](const char* head, const char* tail = nullptr) {
        return QByteArray(head) + (tail ? QByteArray(tail) : ok);
    };
    const QByteArray rows[] = {
        row("HF,A,1,30.2"), row("HF,A,1,27.185005"), row("HF,A,1,27.1x5"), row("HF,A,1,"),
        row("HF,A,1,127.185"), row("HF,A,1,27.1850001"),
        row("HF,Q,1,27.185"), row("XX,A,1,27.185"), row("HF,A,41x,27.185"), row("HF,A,47,27.185"),
        row("HF,A,100,27.185"), row("HAM,MEM,100,28.1"), row("HF,VFO,2,27.185"), row("HF,VFO,1,00.000000"),
        row("HF,A,1,27.185") + "\n" + row("HF,A,1,27.195"),
        row("HF,A,1,27.185", ",OFF,OFF,Off,Off,Add,OFF,3,OFF,OFF,OFF,NB,OFF,OFF,OFF,FM"),
        row("HF,A,1,27.185", ",OFF,OFF,Off,Off,Add,OFF,256,OFF,OFF,OFF,NB,OFF,OFF,OFF,FM"),
        row("HF,A,1,27.185", ",OFF,OFF,C_039(1.0Hz),Off,Add,OFF,OFF,OFF,OFF,OFF,NB,OFF,OFF,OFF,FM"),
        row("HF,A,1,27.185", ",OFF,OFF,C?200,D?7,Add,OFF,OFF,OFF,OFF,OFF,NB,OFF,OFF,OFF,FM"),
        row("HF,A,1,27.185", ",OFF,OFF,3,Off,Add,OFF,OFF,OFF,OFF,OFF,NB,OFF,OFF,OFF,FM"),
        row("HF,A,1,27.185", ",OFF,OFF,4,Off,Add,OFF,OFF,OFF,OFF,OFF,NB,OFF,OFF,OFF,FM"),
        row("HF,A,1,27.185", ",OFF,OFF,Off,Off,Add,OFF,OFF,OFF,OFF,OFF,NB,OFF,OFF,OFF,CW"),
        row("HF,MEM,1,27.185", ",OFF,OFF,Off,Off,Add,OFF,OFF,OFF,OFF,OFF,NB,OFF,OFF,OFF,PA"),
        row("HF,A,1,27.185", ",OFF,OFF,Off,Off,Add,OFF,OFF,OFF,OFF,OFF,NB,OFF,OFF,OFF,200"),
        row("HF,A,1,27.185", ",OFF,OFF,Off,Off,Maybe,OFF,OFF,OFF,OFF,OFF,NB,OFF,OFF,OFF,FM"),
        row("HF,A,1,27.185", ",OFF,OFF,Off,Off,2,OFF,OFF,OFF,OFF,OFF,NB,OFF,OFF,OFF,FM"),
        row("HF,A,1,27.185", ",OFF,3,Off,Off,Add,OFF,OFF,OFF,OFF,OFF,NB,OFF,OFF,OFF,FM"),
        row("HF,A,1,27.185", ",OFF,OFF,Off,Off,Add,OFF,OFF,OFF,OFF,OFF,NB,OFF,OFF,9,FM"),
        row("HF,A,1,27.185", ",OFF,OFF,Off,Off,Add,OFF,OFF,OFF,OFF,OFF,NB,OFF,OFF,-1,FM"),
        "HF,A,1,27.185,OFF", "HF,A,1,27.185,\"OFF" + ok,
    };
    const RowCase want[] = {
        {"", false, 2, 4, "outside the band's range"}, {"", false, 2, 4, "10 Hz raster"},
        {"", true, 2, 4, "not a frequency"}, {"", true, 2, 4, "needs a frequency"},
        {"", true, 2, 4, "cannot be held"}, {"", true, 2, 4, "1 Hz"},
        {"", true, 2, 2, "no such group"}, {"", true, 2, 1, "no such band"},
        {"", true, 2, 3, "not a channel number"}, {"", false, 2, 3, "past the group's 40 rows"},
        {"", true, 2, 3, "no channel 100"}, {"", true, 2, 3, "no channel 100"},
        {"", true, 2, 3, "no channel 2"}, {"", false, 2, 4, "outside the band's range"},
        {"", false, 3, 3, "already on line 2"}, {"", false, 2, 11, "DTMF code 3 is empty"},
        {"", true, 2, 11, "cannot be held"}, {"", true, 2, 7, "not in the list"},
        {"", false, 2, 7, "not in the list"}, {"", false, 2, 7, "not in the list"},
        {"", true, 2, 7, "cannot be held"}, {"", false, 2, 19, "does not offer CW"},
        {"", false, 2, 19, "does not offer PA"}, {"", false, 2, 19, "not in the list"},
        {"", true, 2, 9, "not in the list"}, {"", true, 2, 9, "cannot be held"},
        {"", false, 2, 6, "not in the list"}, {"", false, 2, 18, "not in the list"},
        {"", true, 2, 18, "cannot be held"},
        {"", true, 2, 0, "5 columns, the header 19"}, {"", true, 2, 0, "badly quoted"},
    };
    static_assert(std::size(rows) == std::size(want));
    for (size_t i = 0; i < std::size(rows); ++i) {
        auto ws = Base();
        ws->OptFeat().CwEnabled = 0;
        const QByteArray before = ChannelBytes(*ws);
        const CsvImport r = ImportChannelsCsv(*ws, header + rows[i] + "\n");
        const QList<CsvIssue>& issues = want[i].refused ? r.errors.first : r.warnings.first;
        EXPECT_EQ(r.ok(), !want[i].refused) << rows[i].constData();
        ASSERT_FALSE(issues.isEmpty()) << rows[i].constData();
        EXPECT_EQ(issues[0].line, want[i].line) << rows[i].constData();
        EXPECT_EQ(issues[0].column, want[i].column) << rows[i].constData();
        EXPECT_TRUE(issues[0].reason.contains(want[i].reason))
            << rows[i].constData() << " -> " << issues[0].reason.toStdString();
        if (want[i].refused) {
            EXPECT_EQ(ChannelBytes(*ws), before) << rows[i].constData();
        } else {
            EXPECT_TRUE(issues[0].reason.endsWith("kept as it is")) << issues[0].reason.toStdString();
            EXPECT_NE(ChannelBytes(*ws), before) << rows[i].constData();
        }
    }
    // The values kept are the ones written, not the grid's nearest choice.
    auto ws = Base();
    ASSERT_TRUE(ImportChannelsCsv(*ws, header + row("HF,A,1,00.000000", ",OFF,3,C?200,D?7,Add,OFF,11,OFF,OFF,OFF,NB,OFF,OFF,9,PA") + "\n").ok());
    const ChannelRec& c = ws->Channels(0, FindSlot(*ws, 0, 1, 1), 1);
    EXPECT_EQ(c.Freq.bytes(), "00000000");
    EXPECT_EQ(std::vector<int>({c.RepShift, c.RxToneType, c.RxCtcss, c.TxToneType, c.TxDcs, c.BotCode, c.RogerBeep, c.Mode}),
              std::vector<int>({3, 1, 200, 2, 7, 11, 9, 4}));
    // Files that are no channel table at all.
    for (const QByteArray& bytes : {QByteArray("Name,Freq\nx,1\n"), QByteArray("\x01\x00\x02", 3), QByteArray()}) {
        auto ws = Base();
        EXPECT_FALSE(ImportChannelsCsv(*ws, bytes).ok());
    }
}

TEST(ChannelCsv, PublicChannelsLockedValuesAreKeptWithAWarning)
{
    auto ws = Base();
    ws->Channels(0, FindSlot(*ws, 0, 1, 1), 1).PublicCh = 1;
    const QByteArray head = "Band,Group,Channel,Frequency,BUSY,REP,RXCTC,TXCTC,Scan,Public,BOT,EOT,Call,HI-CUT,NB/ANL,ECHO,+10KHz,Roger,Mode\n";
    // BUSY may change; Mode is locked while Public stays ON, but a file restores it.
    const CsvImport busy = ImportChannelsCsv(*ws, head + "HF,A,1,28.015,ON,OFF,Off,Off,Add,ON,OFF,OFF,OFF,OFF,NB,OFF,OFF,OFF,FM\n");
    EXPECT_TRUE(busy.ok() && busy.warnings.isEmpty());
    const CsvImport locked = ImportChannelsCsv(*ws, head + "HF,A,1,28.015,ON,OFF,Off,Off,Add,ON,OFF,OFF,OFF,OFF,NB,OFF,OFF,OFF,AM\n");
    ASSERT_TRUE(locked.ok());
    ASSERT_EQ(locked.warnings.size(), 1);
    EXPECT_EQ(locked.warnings[0].column, 19);
    EXPECT_EQ(ws->Channels(0, FindSlot(*ws, 0, 1, 1), 1).Mode, 1);
}

TEST(ChannelCsv, InterchangeFileWrittenByHandFillsTheGroup)
{
    const QByteArray file =
        "\xEF\xBB\xBFLocation;Name;Frequency;Duplex;Offset;Tone;rToneFreq;cToneFreq;DtcsCode;DtcsPolarity;RxDtcsCode;CrossMode;Mode;TStep;Skip;Power;Comment\r\n"
        "4;d;27,5;;0;;88.5;88.5;023;NN;023;Tone->Tone;FM;5.00;;50W;\r\n"   // line 2: a decimal comma is no frequency
        "2;b;27.015000;+;0.010000;TSQL;88.5;100.0;023;NN;023;Tone->Tone;AM;5.00;S;50W;\r\n"
        "1;a;27.005000;;0.000000;Tone;67.0;88.5;023;NN;023;Tone->Tone;USB;5.00;;50W;x\r\n"
        "3;c;27.025000;;0.000000;DTCS-R;88.5;88.5;754;NN;023;Tone->Tone;CW;5.00;;50W;\r\n";
    CsvImportOptions opt;
    opt.place = {0, 0};
    auto ws = Base();
    CsvImport r = ImportChannelsCsv(*ws, file, opt);
    // A decimal comma refuses the file as a whole, in one issue that names the marks.
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errors.total(), 1);
    EXPECT_EQ(r.errors[0].line, 0);
    EXPECT_TRUE(r.errors[0].reason.contains("\",\" as the decimal mark")) << r.errors[0].reason.toStdString();

    QByteArray fixed = file;
    fixed.replace("27,5", "27.5");
    r = ImportChannelsCsv(*ws, fixed, opt);
    ASSERT_TRUE(r.ok()) << DescribeIssue(*ws, r.errors.value(0)).toStdString();
    EXPECT_EQ(r.layout, CsvLayout::Interchange);
    const int mem = MemoryGroupOf(0);
    ASSERT_EQ(ws->ChannelCount(0, mem), 4);
    struct Want { int ch, rxType, rxIdx, txType, txIdx, mode, scan, rep; };
    const Want want[] = {{1, 0, 0, 1, 0, 2, 1, 0}, {2, 1, 11, 1, 11, 1, 0, 1}, {3, 2, 103, 0, 0, 5, 1, 0}, {4, 0, 0, 0, 0, 0, 1, 0}};
    for (int s = 1; s <= 4; ++s) {   // slots in Location order
        const ChannelRec& c = ws->Channels(0, s, mem);
        const Want& w = want[s - 1];
        EXPECT_EQ(c.ChNo, w.ch);
        EXPECT_EQ(c.RxToneType, w.rxType) << s;
        EXPECT_EQ(c.RxToneType == 2 ? c.RxDcs : c.RxCtcss, w.rxIdx) << s;
        EXPECT_EQ(c.TxToneType, w.txType) << s;
        EXPECT_EQ(c.TxToneType == 2 ? c.TxDcs : c.TxCtcss, w.txIdx) << s;
        EXPECT_EQ(c.Mode, w.mode) << s;
        EXPECT_EQ(c.Scan, w.scan) << s;
        EXPECT_EQ(c.RepShift, w.rep) << s;
    }
    // And out again: the same values in the same layout.
    const CsvExport e = ExportInterchangeCsv(*ws, {0, 0}, false);
    ASSERT_TRUE(e.errors.isEmpty());
    auto again = Base();
    ASSERT_TRUE(ImportChannelsCsv(*again, e.bytes, opt).ok());
    EXPECT_EQ(ExportInterchangeCsv(*again, {0, 0}, false).bytes, e.bytes);
}

TEST(ChannelCsv, InterchangeValuesTheRadioCannotHoldAreErrorsOrDroppedWithAWarning)
{
    const QByteArray file =
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment\n"
        "1,,28.005000,split,27.5,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,,\n"
        "2,,28.015000,,0,Tone,69.3,88.5,023,NN,023,Tone->Tone,FM,5.00,,,\n"
        "3,,28.025000,,0,Cross,88.5,88.5,023,NN,023,Tone->DTCS,FM,5.00,,,\n"
        "4,,28.035000,,0,DTCS,88.5,88.5,023,RN,023,Tone->Tone,FM,5.00,,,\n"
        "5,,28.045000,,0,,88.5,88.5,023,NN,023,Tone->Tone,WFM,5.00,P,,\n";
    const QList<QPair<int, int>> where{{2, 4}, {3, 7}, {4, 6}, {5, 10}, {6, 13}, {6, 15}};
    CsvImportOptions opt;
    opt.place = {1, 0};
    auto ws = Base(1);
    const QByteArray before = ChannelBytes(*ws);
    const CsvImport refused = ImportChannelsCsv(*ws, file, opt);
    QList<QPair<int, int>> got;
    for (const CsvIssue& i : refused.errors) got << qMakePair(i.line, i.column);
    EXPECT_EQ(got, where);
    EXPECT_EQ(ChannelBytes(*ws), before);

    opt.dropUnsupported = true;
    const CsvImport dropped = ImportChannelsCsv(*ws, file, opt);
    ASSERT_TRUE(dropped.ok());
    got.clear();
    for (const CsvIssue& i : dropped.warnings) got << qMakePair(i.line, i.column);
    EXPECT_EQ(got, where);
    const int mem = MemoryGroupOf(1);
    EXPECT_EQ(ws->ChannelCount(1, mem), 5);
    for (int s = 1; s <= 5; ++s) {   // each kept without the value: a new channel's defaults
        EXPECT_EQ(ws->Channels(1, s, mem).RxToneType + ws->Channels(1, s, mem).TxToneType, 0) << s;
        EXPECT_EQ(ws->Channels(1, s, mem).Scan, 1) << s;
    }
}

}  // namespace
}  // namespace kt
