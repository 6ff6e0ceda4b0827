#include "model/ChannelRules.h"
#include "model/DataFile.h"
#include "model/Defaults.h"
#include "TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

#include <QRegularExpression>

#include <cstring>
#include <type_traits>

namespace kt {
namespace {

using test::ReadFile;
using test::TempInstall;
using test::WriteFile;

struct CountingEvents {
    int titles = 0;
};

// A workspace in a temporary installation holding the built-in defaults.
struct Fixture {
    TempInstall inst{false, true};
    std::unique_ptr<Workspace> ws = inst.workspace();
    CountingEvents events;
    Fixture()
    {
        ws->Versions = LoadVersionTable(inst.root());
        QObject::connect(&ws->Events(), &DocumentEvents::titleChanged, [this] { ++events.titles; });
        InitDefaults(*ws, false);
    }
    QString file(const QString& name) const { return inst.path(name); }
    FileResult saveAs(const QString& name)
    {
        ws->CurrentFile = file(name);
        return SaveDataFile(*ws);
    }
    FileResult open(const QString& name)
    {
        ws->CurrentFile = file(name);
        return OpenDataFile(*ws);
    }
    // The working data and the snapshot as bytes, to see that a command changed nothing.
    QByteArray state() const
    {
        QByteArray s = SerializeDataRecord(ws->WorkRecord) + SerializeDataRecord(ws->FileRecord);
        for (int b = 0; b < kBands; ++b)
            for (int g = 1; g <= GroupsOfBand(b); ++g)
                for (int slot = 1; slot <= 6; ++slot)
                    s += SerializeChannelRecord(ws->Channels(b, slot, g)) + SerializeChannelRecord(ws->FileChannels(b, slot, g));
        return s;
    }
};

void SetI16(QByteArray& b, int at, int16_t v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}

TEST(DataFile, SaveWritesThePairInBandGroupSlotOrder)
{
    Fixture f;
    Workspace& ws = *f.ws;
    InsertChannel(ws, 5, 0, 3, "28.5");
    ws.Channels(0, 2, 3).RxDcs = 77;   // band 0 group 3, slot 2
    ASSERT_EQ(f.saveAs("x.dat").kind, FileResult::Done);
    EXPECT_FALSE(ws.IsUntitled);
    EXPECT_GE(f.events.titles, 1);

    const QByteArray dat = ReadFile(f.file("x.dat"));
    const QByteArray fre = ReadFile(f.file("x.fre"));
    ASSERT_EQ(dat.size(), 1699);
    EXPECT_EQ(dat.left(4), "V200");
    // 10 groups of one channel in each band, and the second channel of HF group C.
    ASSERT_EQ(fre.size(), (2 * 10 + 1) * 64);
    const ChannelRec first = ParseChannelRecord(fre.constData());
    EXPECT_EQ(first.ChNo, 1);
    EXPECT_EQ(first.Freq.bytes(), "28015000");
    EXPECT_EQ(ParseChannelRecord(fre.constData() + 3 * 64).RxDcs, 77);
    // The first record of band 1 follows the last of band 0.
    EXPECT_EQ(ParseChannelRecord(fre.constData() + 11 * 64).Freq.bytes(), "28015000");

    Fixture g;
    ws.CurrentFile = f.file("x.dat");
    g.ws->CurrentFile = ws.CurrentFile;
    ASSERT_EQ(OpenDataFile(*g.ws).kind, FileResult::Done);
    EXPECT_EQ(g.ws->Channels(0, 2, 3).RxDcs, 77);
    EXPECT_TRUE(IsUnchanged(*g.ws));
    EXPECT_EQ(SerializeDataRecord(g.ws->WorkRecord), dat);
}

TEST(DataFile, EmptyGroupsHaveNoRecords)
{
    Fixture f;
    for (int b = 0; b < kBands; ++b)
        for (int g = 1; g <= kMaxGroups; ++g) f.ws->ChannelCount(b, g) = 0;
    ASSERT_EQ(f.saveAs("empty.dat").kind, FileResult::Done);
    EXPECT_TRUE(QFile::exists(f.file("empty.fre")));
    EXPECT_EQ(ReadFile(f.file("empty.fre")).size(), 0);
}

TEST(DataFile, OpenMessages)
{
    Fixture f;
    ASSERT_EQ(f.saveAs("good.dat").kind, FileResult::Done);
    const QByteArray good = ReadFile(f.file("good.dat"));
    auto variant = [&](const QByteArray& head, int extra = 0) {
        QByteArray b = good;
        b.replace(0, head.size(), head);
        return b + QByteArray(extra, '\0');
    };
    // The text as it stands, then the file and the version text found there.
    const auto unknown = [&](const char* found) {
        return "Unknown version Of DataFile!\n" + f.file("t.dat") + ": version text found \"" + found + "\"";
    };
    struct Case { const char* name; QByteArray bytes; FileResult::Kind kind; QString message; } cases[] = {
        {"appended", variant("V200", 1), FileResult::Failed,
         "file error.\n" + f.file("t.dat") + ": the file has 1,700 bytes; a data file has 1,699 bytes."},
        {"truncated", good.left(1000), FileResult::Failed,
         "file error.\n" + f.file("t.dat") + ": the file has 1,000 bytes; a data file has 1,699 bytes."},
        {"lowercase", variant("v200"), FileResult::Failed, unknown("v200")},
        {"letters", variant("VABC"), FileResult::Failed, unknown("VABC")},
        {"short version", variant("V20 "), FileResult::Failed, unknown("V20")},
        {"sign", variant("V+20"), FileResult::Failed, unknown("V+20")},
        {"tiny", "V2", FileResult::Failed, unknown("V2")},
        {"empty", "", FileResult::Failed, unknown("")},
        {"control byte", variant("V\x01" "00"), FileResult::Failed, unknown("V\\x0100")},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFile(f.file("t.dat"), c.bytes));
        const QByteArray before = f.state();
        const FileResult r = f.open("t.dat");
        EXPECT_EQ(r.kind, c.kind) << c.name;
        EXPECT_EQ(r.message, c.message) << c.name;
        EXPECT_EQ(f.state(), before) << c.name;
    }

    EXPECT_EQ(f.open("missing.dat").message, "file error.\n" + f.file("missing.dat") + ": No such file or directory");
    EXPECT_FALSE(QFile::exists(f.file("missing.dat")));
    ASSERT_TRUE(QDir().mkdir(f.file("folder.dat")));
    EXPECT_EQ(f.open("folder.dat").kind, FileResult::Failed);
    f.ws->CurrentLanguage = Chinese;
    EXPECT_EQ(f.open("missing.dat").message.section('\n', 0, 0), QString::fromUtf8("文件错误。"));
}

// The empty input both fuzz targets start with: an empty pair is no template
// and leaves the working data as they were (now also the snapshot).
TEST(DataFile, AnEmptyPairIsNoTemplate)
{
    Fixture f;
    f.ws->Channels(0, 1, 1).BotCode = 5;
    const QByteArray work = SerializeDataRecord(f.ws->WorkRecord) + SerializeChannelRecord(f.ws->Channels(0, 1, 1));
    ASSERT_TRUE(WriteFile(f.file("e.dat"), {}));
    ASSERT_TRUE(WriteFile(f.file("e.fre"), {}));
    EXPECT_FALSE(LoadTemplate(*f.ws, f.file("e.dat")));
    EXPECT_EQ(SerializeDataRecord(f.ws->WorkRecord) + SerializeChannelRecord(f.ws->Channels(0, 1, 1)), work);
    EXPECT_TRUE(IsUnchanged(*f.ws));
}

TEST(DataFile, IncompatibleVersionAsksToLaunch)
{
    Fixture f;
    ASSERT_EQ(f.saveAs("old.dat").kind, FileResult::Done);
    QByteArray b = ReadFile(f.file("old.dat"));
    b.replace(0, 4, "V100");
    ASSERT_TRUE(WriteFile(f.file("old.dat"), b + "x"));   // the length is checked after the version
    f.ws->Channels(0, 1, 1).BotCode = 5;
    const QByteArray before = f.state();
    const FileResult r = f.open("old.dat");
    EXPECT_EQ(r.kind, FileResult::AskLaunch);
    EXPECT_EQ(r.launchVersion, "V100");
    EXPECT_EQ(r.message, IncompatibleMessage("V200", "V100", 1, English));
    EXPECT_EQ(f.state(), before);
}

TEST(DataFile, UnholdablePairIsRefusedAndChangesNothing)
{
    Fixture f;
    ASSERT_EQ(f.saveAs("p.dat").kind, FileResult::Done);
    const QByteArray dat = ReadFile(f.file("p.dat"));
    const QByteArray fre = ReadFile(f.file("p.fre"));
    const int count00 = 78, optFeat = 180;
    const int slot2 = 64;   // second record: band 0 group 1 slot 2
    struct Case { const char* name; int datAt; int freAt; int16_t value; } cases[] = {
        {"count above the slots", count00 + 2 * (1 + 2 * 12), -1, 100},
        {"count above the VFO group", count00 + 2 * (2 * 16), -1, 2},
        {"negative count", count00, -1, -1},
        {"count in a group band 1 lacks", count00 + 2 * (1 + 2 * 15), -1, 1},
        {"group enable not a bit", optFeat, -1, 2},
        {"mic gain above a byte", optFeat + 652, -1, 256},
        {"emergency channel below a byte", optFeat + 204, -1, -1},
        {"tx offset above 16 bits", 1628, -1, 1},
        {"roger-beep tone above a byte", 1146 + 4, -1, 300},
        {"ChNo 0", -1, slot2 + 0, 0},
        {"ChNo beyond the slots", -1, slot2 + 0, 100},
        {"mode above a byte", -1, slot2 + 34, 256},
        {"NbAnl wider than two bits", -1, slot2 + 38, 4},
        {"scan not a bit", -1, slot2 + 4, 2},
        {"negative CTCSS", -1, slot2 + 60, -1},
    };
    f.ws->Channels(1, 1, 1).Mode = 2;   // working data that must survive
    for (const auto& c : cases) {
        QByteArray d = dat, r = fre;
        if (c.datAt >= 0) SetI16(d, c.datAt, c.value);
        if (c.freAt >= 0) SetI16(r, c.freAt, c.value);
        ASSERT_TRUE(WriteFile(f.file("bad.dat"), d));
        ASSERT_TRUE(WriteFile(f.file("bad.fre"), r));
        const QByteArray before = f.state();
        const FileResult res = f.open("bad.dat");
        EXPECT_EQ(res.kind, FileResult::Failed) << c.name;
        // The first line as it stands; the second names what is out of range and where.
        EXPECT_TRUE(c.datAt < 0 ? res.message == "file error." : res.message.startsWith("file error.\n")) << c.name;
        if (c.datAt >= 0) {   // the member holding the changed bytes: it starts at most one array before them
            const int at = QRegularExpression(" at offset (\\d+) ").match(res.message).captured(1).toInt();
            EXPECT_TRUE(at <= c.datAt && at > c.datAt - 137) << c.name << ": " << res.message.toStdString();
        }
        EXPECT_EQ(f.state(), before) << c.name;
    }
    EXPECT_EQ(f.ws->Channels(1, 1, 1).Mode, 2);
}

TEST(DataFile, GroupCapacityFollowsTheSlotsNotTheGridRows)
{
    Fixture f;
    Workspace& ws = *f.ws;
    // A lettered group with channels 1-40 beside the memory channels 41-46.
    for (int ch = 2; ch <= 46; ++ch) {
        ChannelRec& c = ws.Channels(0, ++ws.ChannelCount(0, 4), 4);
        c = ws.Channels(0, 1, 4);
        c.ChNo = int16_t(ch);
    }
    ASSERT_EQ(ws.ChannelCount(0, 4), 46);
    ASSERT_EQ(f.saveAs("full.dat").kind, FileResult::Done);
    ASSERT_EQ(f.open("full.dat").kind, FileResult::Done);
    EXPECT_EQ(ws.ChannelCount(0, 4), 46);

    // The VFO group holds its one channel, numbered 1.
    for (int16_t chNo : {int16_t(1), int16_t(2)}) {
        ws.ChannelCount(0, 17) = 1;
        ws.Channels(0, 1, 17) = ws.Channels(0, 1, 1);
        ws.Channels(0, 1, 17).ChNo = chNo;
        ASSERT_EQ(f.saveAs("vfo.dat").kind, FileResult::Done);
        EXPECT_EQ(f.open("vfo.dat").kind, chNo == 1 ? FileResult::Done : FileResult::Failed) << chNo;
    }
}

TEST(DataFile, MissingOrShortChannelFileGivesEmptySlots)
{
    Fixture f;
    for (int ch = 2; ch <= 4; ++ch) InsertChannel(*f.ws, ch, 0, 2, "28.5");
    ASSERT_EQ(f.saveAs("c.dat").kind, FileResult::Done);
    const QByteArray fre = ReadFile(f.file("c.fre"));
    ASSERT_TRUE(WriteFile(f.file("c.fre"), fre.left(64 * 3 + 10)));   // group 1 whole, group 2 two channels
    const int total = int(fre.size() / 64);
    FileResult r = f.open("c.dat");
    ASSERT_EQ(r.kind, FileResult::Done);
    EXPECT_TRUE(r.notice.startsWith(QString("The channel file c.fre is short: %1 of %2 channels could not be read.")
                                        .arg(total - 3).arg(total)))
        << r.notice.toStdString();
    EXPECT_EQ(f.ws->ChannelCount(0, 1), 1);
    EXPECT_EQ(f.ws->ChannelCount(0, 2), 2);
    EXPECT_EQ(f.ws->ChannelCount(0, 3), 0);
    EXPECT_EQ(f.ws->FileChannels(0, 3, 2).ChNo, 0);
    EXPECT_TRUE(IsUnchanged(*f.ws));

    ASSERT_TRUE(QFile::remove(f.file("c.fre")));
    f.ws->CurrentLanguage = Chinese;
    r = f.open("c.dat");
    ASSERT_EQ(r.kind, FileResult::Done);
    EXPECT_TRUE(r.notice.startsWith(QString::fromUtf8("信道文件 c.fre 不存在：有 %1 个信道无法读取。").arg(total)))
        << r.notice.toStdString();
    EXPECT_FALSE(QFile::exists(f.file("c.fre")));
    EXPECT_EQ(f.ws->ChannelCount(1, 13), 0);
    EXPECT_EQ(f.ws->ChannelCount(0, 1), 0);
    EXPECT_EQ(f.ws->FileChannels(0, 1, 1).ChNo, 0);
}


// Open and Save refill the snapshot's table in place.  After each, the table
// must be the one a workspace that never held another document would have:
// the counted records, and every other slot (slot 0 and group 0 included)
// empty, not a channel left over from a larger document.
TEST(DataFile, SnapshotTableHoldsNothingPastTheCounts)
{
    static_assert(std::has_unique_object_representations_v<ChannelRec>);
    const auto sameTable = [](const Workspace& a, const Workspace& b) {
        for (int band = 0; band < kBands; ++band)
            for (int s = 0; s <= kMaxSlots; ++s)
                for (int g = 0; g <= kMaxGroups; ++g)
                    if (std::memcmp(&a.FileChannels(band, s, g), &b.FileChannels(band, s, g), sizeof(ChannelRec)) != 0)
                        return testing::AssertionFailure() << "band " << band << " slot " << s << " group " << g;
        return testing::AssertionSuccess();
    };
    const auto openedAlone = [&](Fixture& f, const QString& name) {
        auto fresh = f.inst.workspace();
        fresh->Versions = f.ws->Versions;
        fresh->CurrentFile = f.file(name);
        EXPECT_EQ(OpenDataFile(*fresh).kind, FileResult::Done);
        return fresh;
    };

    Fixture f;
    Workspace& ws = *f.ws;
    for (int s = 2; s <= 46; ++s) {   // group 2 of band 0 far past its default: channels 2-46
        ws.Channels(0, s, 2) = ws.Channels(0, 1, 2);
        ws.Channels(0, s, 2).ChNo = int16_t(s);
    }
    ws.ChannelCount(0, 2) = 46;
    ASSERT_EQ(f.saveAs("big.dat").kind, FileResult::Done);

    // Save after the group lost channels.
    ws.ChannelCount(0, 2) = 3;
    ws.ChannelCount(1, 1) = 0;
    ASSERT_EQ(f.saveAs("small.dat").kind, FileResult::Done);
    EXPECT_TRUE(sameTable(ws, *openedAlone(f, "small.dat")));

    // Open of a smaller pair after a larger one, also when the channel file is short.
    ASSERT_EQ(f.open("big.dat").kind, FileResult::Done);
    ASSERT_EQ(ws.ChannelCount(0, 2), 46);
    ASSERT_EQ(f.open("small.dat").kind, FileResult::Done);
    EXPECT_TRUE(sameTable(ws, *openedAlone(f, "small.dat")));
    ASSERT_EQ(f.open("big.dat").kind, FileResult::Done);
    const QByteArray fre = ReadFile(f.file("big.fre"));
    ASSERT_TRUE(WriteFile(f.file("big.fre"), fre.left(64 * (1 + 20))));   // group 1, then 20 of group 2
    ASSERT_EQ(f.open("big.dat").kind, FileResult::Done);
    EXPECT_EQ(ws.ChannelCount(0, 2), 20);
    EXPECT_TRUE(sameTable(ws, *openedAlone(f, "big.dat")));
}
TEST(DataFile, FailedSaveKeepsThePreviousPairAndTheModifiedState)
{
    Fixture f;
    Workspace& ws = *f.ws;
    ASSERT_EQ(f.saveAs("keep.dat").kind, FileResult::Done);
    const QByteArray oldDat = ReadFile(f.file("keep.dat"));
    const QByteArray oldFre = ReadFile(f.file("keep.fre"));

    // The channel file's place is taken by a folder, so the pair cannot be written.
    ASSERT_TRUE(QFile::remove(f.file("keep.fre")));
    ASSERT_TRUE(QDir().mkdir(f.file("keep.fre")));
    ws.Channels(0, 1, 1).BotCode = 9;
    ws.WorkRecord.OptFeat.MicGain = 12;
    ws.IsUntitled = true;
    const int titles = f.events.titles;
    ASSERT_TRUE(IsModified(ws));

    const FileResult r = SaveDataFile(ws);
    EXPECT_EQ(r.kind, FileResult::Failed);
    // The text of the message, then the file and the system's reason.
    EXPECT_EQ(r.message.section('\n', 0, 0), "file error.");
    // The channel file's place is the one that could not be taken.
    const QString fre = ChannelFileOf(ws.CurrentFile);
    EXPECT_TRUE(r.message.section('\n', 1).startsWith(fre + ": ")) << r.message.toStdString();
    EXPECT_GT(r.message.section('\n', 1).size(), fre.size() + 2);
    EXPECT_EQ(ReadFile(f.file("keep.dat")), oldDat);
    EXPECT_TRUE(IsModified(ws));
    EXPECT_TRUE(ws.IsUntitled);
    EXPECT_EQ(f.events.titles, titles);

    // Into a folder that does not exist: nothing is created.
    ws.CurrentFile = f.file("nowhere/y.dat");
    EXPECT_EQ(SaveDataFile(ws).kind, FileResult::Failed);
    EXPECT_FALSE(QFile::exists(f.file("nowhere")));
    EXPECT_TRUE(IsModified(ws));

    // A data file that would be its own channel file.
    ws.CurrentFile = f.file("x.fre");
    EXPECT_EQ(SaveDataFile(ws).kind, FileResult::Failed);
    EXPECT_FALSE(QFile::exists(f.file("x.fre")));

    // Once the place is free again the save goes through.
    ASSERT_TRUE(QDir().rmdir(f.file("keep.fre")));
    ASSERT_EQ(f.saveAs("keep.dat").kind, FileResult::Done);
    EXPECT_FALSE(IsModified(ws));
    EXPECT_NE(ReadFile(f.file("keep.fre")), oldFre);
}

TEST(DataFile, WhatCountsAsModified)
{
    struct Case { const char* name; void (*change)(Workspace&); bool modified; } cases[] = {
        {"RxCtcss", [](Workspace& w) { w.Channels(0, 1, 1).RxCtcss = 9; }, false},
        {"TxDcs", [](Workspace& w) { w.Channels(0, 1, 1).TxDcs = 9; }, false},
        {"RogerBeep", [](Workspace& w) { w.Channels(0, 1, 1).RogerBeep = 2; }, false},
        {"BotCode", [](Workspace& w) { w.Channels(0, 1, 1).BotCode = 1; }, true},
        {"Freq", [](Workspace& w) { w.Channels(1, 1, 3).Freq.set("28025010"); }, true},
        {"Int16 number 24", [](Workspace& w) { w.Channels(0, 1, 1).W24 = 1; }, true},
        {"slots swapped", [](Workspace& w) { std::swap(w.Channels(0, 1, 2), w.Channels(0, 2, 2)); }, false},
        {"count", [](Workspace& w) { w.ChannelCount(0, 5) -= 1; }, true},
        {"VFO group of band 0", [](Workspace& w) { w.OptFeat().GroupEnable[0][17] = 1; }, true},
        {"group name padding", [](Workspace& w) { w.OptFeat().GroupName[0][1].set("A"); }, false},
        {"group name", [](Workspace& w) { w.OptFeat().GroupName[1][14].set("X"); }, true},
        {"MicGain", [](Workspace& w) { w.OptFeat().MicGain = 1; }, true},
        {"spare at 342", [](Workspace& w) { w.OptFeat().Spare342 = 5; }, true},
        {"PublicRogerBeep", [](Workspace& w) { w.OptFeat().PublicRogerBeep = 3; }, false},
        {"LongKey", [](Workspace& w) { w.OptFeat().LongKey = 3; }, false},
        {"DTMF code", [](Workspace& w) { w.OptFeat().DtmfCode[16].set("1"); }, true},
        {"OptTable12", [](Workspace& w) { w.WorkRecord.OptTable12[11] = 1; }, true},
        {"roger-beep tone", [](Workspace& w) { w.WorkRecord.RbPattern[7].RbTone[1][13] = 1; }, true},
        {"MiDate", [](Workspace& w) { w.WorkRecord.ModelInfo.MiDate.set("19990101"); }, true},
        {"BandType", [](Workspace& w) { w.WorkRecord.BandType = 1; }, false},
        {"CurRow", [](Workspace& w) { w.WorkRecord.CurRow[0][1] = 5; }, false},
        {"VfoStep", [](Workspace& w) { w.WorkRecord.VfoStep = 5; }, false},
    };
    for (const auto& c : cases) {
        Workspace ws;
        InitDefaults(ws, false);
        InsertChannel(ws, 2, 0, 2, "28.5");   // two slots to swap
        TakeSnapshot(ws);
        ASSERT_TRUE(IsUnchanged(ws));
        c.change(ws);
        EXPECT_EQ(IsModified(ws), c.modified) << c.name;
    }
}

TEST(DataFile, ApplySnapshotSetsTheBandAndVersion)
{
    Fixture f;
    Workspace& ws = *f.ws;
    ws.FileRecord.BandType = 0;
    ws.FileRecord.Version.set("V201");
    ws.ModelCode = "XX";
    const int titles = f.events.titles;
    ApplySnapshot(ws);
    EXPECT_EQ(ws.BandRange, "24.7150 - 30.1050 MHz");
    EXPECT_EQ(ws.RadioVersion, "V201");
    EXPECT_EQ(ws.ModelCode, "RU6383R");
    EXPECT_EQ(f.events.titles, titles + 1);

    TakeSnapshot(ws);
    EXPECT_EQ(ws.FileRecord.Version.bytes(), "V200");
    EXPECT_EQ(ws.FileRecord.ModelInfo.MiModel.bytes(), "RU6383R");
    EXPECT_EQ(ws.FileRecord.ModelInfo.MiModelShort.bytes(), "RU6383");
    EXPECT_EQ(ws.FileRecord.ModelInfo.MiBandClass, 0);
    EXPECT_EQ(ws.FileRecord.ModelInfo.MiTag, 248);
    EXPECT_EQ(ws.GroupCount, 14);
}

}  // namespace
}  // namespace kt
