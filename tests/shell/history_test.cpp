// The undo history against seeded random runs of the editors' changes, undos,
// redos and saves.  A model of the stack (which states it holds, where it
// stands) is kept beside it; every state must come back exactly, and at the
// end the pair saved from the undone-and-redone document must equal the pair
// saved by a second workspace that made only the surviving changes, without
// any undo.
#include "shell/DocumentHistory.h"
#include "shell/FileCommands.h"
#include "model/ChannelRules.h"
#include "model/DataFile.h"
#include "model/Defaults.h"
#include "rules/channels/ChannelEdit.h"
#include "rules/dtmf/DtmfRules.h"
#include "rules/options/OptionTables.h"
#include "rules/rogerbeep/RbRules.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <random>

namespace kt {
namespace {

using test::DocumentBytes;

enum class OpKind { Freq, CopyPaste, CopyInsert, Cut, Delete, Valid, Name, Public, Option, Dtmf, Rb, Band, New, Initial };

struct Op {
    OpKind kind;
    int band = 0, group = 1, row = 1, row2 = 1, value = 0;
    QString text;
};

// The change as the window makes it: inside one step.
void Apply(Workspace& ws, const Op& op)
{
    const StepName where = ChannelStepDetail(op.band, op.group, op.row);
    switch (op.kind) {
    case OpKind::Freq: {
        EditStep step(ws, Named(steptxt::Frequency, where));
        SaveFreqCell(ws, op.band, op.group, op.row, 1, op.text);
        break;
    }
    case OpKind::CopyPaste:
    case OpKind::CopyInsert: {
        EditStep step(ws, Named(steptxt::Paste, where));
        LineCopy(ws, op.band, op.group, op.row2);
        if (op.kind == OpKind::CopyPaste) LinePaste(ws, op.band, op.group, op.row);
        else LineInsertPaste(ws, op.band, op.group, op.row);
        break;
    }
    case OpKind::Cut: {
        EditStep step(ws, Named(steptxt::Cut, where));
        LineCut(ws, op.band, op.group, op.row);
        break;
    }
    case OpKind::Delete: {
        EditStep step(ws, Named(steptxt::DeleteChannel, where));
        LineDelete(ws, op.band, op.group, op.row);
        break;
    }
    case OpKind::Valid: {
        EditStep step(ws, Named(steptxt::GroupValid));
        SetGroupValid(ws, op.band, op.group, op.value != 0);
        break;
    }
    case OpKind::Name: {
        EditStep step(ws, Named(steptxt::GroupName), stepkey::GroupName(op.band, op.group));
        StoreGroupName(ws, op.band, op.group, op.text);
        break;
    }
    case OpKind::Public: {
        EditStep step(ws, Named(steptxt::Option));
        opt::SetPublicAcrossBand(ws, op.band, op.value);
        opt::SetField(ws.WorkRecord, op.band == 0 ? opt::Field::HfPublicAll : opt::Field::HamPublicAll, op.value);
        break;
    }
    case OpKind::Option: {
        EditStep step(ws, Named(steptxt::Option));
        opt::SetField(ws.WorkRecord, static_cast<opt::Field>(op.row), op.value);
        break;
    }
    case OpKind::Dtmf: {
        EditStep step(ws, Named(steptxt::DtmfCode), stepkey::DtmfCode(op.row));
        StoreDtmfCode(ws, op.row, op.text.toLatin1());
        ClearEmptyDtmfReferences(ws);
        break;
    }
    case OpKind::Rb: {
        EditStep step(ws, Named(steptxt::RogerBeep));
        Pattern(ws, op.row).RbTone[1][op.row2] = int16_t(op.value);
        ClearUndefinedRbReferences(ws);
        break;
    }
    case OpKind::Band: {
        EditStep step(ws, Named(steptxt::Band));
        ChangeBand(ws, op.band);
        break;
    }
    case OpKind::New:
    case OpKind::Initial: {
        EditStep step(ws, Named(op.kind == OpKind::New ? steptxt::New : steptxt::InitialSetting));
        if (op.kind == OpKind::New) LoadNewTemplate(ws);
        else LoadInitialTemplate(ws);
        break;
    }
    }
}

Op RandomOp(std::mt19937& rng, const Workspace& ws)
{
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Op op;
    const int k = pick(0, 99);
    // Mostly the channel grid of band 0, where frequencies are typed.
    op.band = 0;
    op.group = pick(1, 10) == 1 ? MemoryGroupOf(0) : pick(1, 4);
    op.row = pick(1, std::min(GroupSize(0, op.group), 12));
    op.row2 = pick(1, std::min(GroupSize(0, op.group), 12));
    if (k < 30) {
        op.kind = OpKind::Freq;
        const int v = pick(0, 9);
        op.text = v == 0 ? QString() : v == 1 ? QStringLiteral("99.5")
                                              : QString::number(28.0 + pick(0, 300) * 0.005, 'f', 3);
    } else if (k < 40) op.kind = OpKind::CopyPaste;
    else if (k < 46) op.kind = OpKind::CopyInsert;
    else if (k < 50) op.kind = OpKind::Cut;
    else if (k < 55) op.kind = OpKind::Delete;
    else if (k < 59) {
        op.kind = OpKind::Valid;
        op.group = pick(1, 6);
        op.value = pick(0, 1);
    } else if (k < 66) {
        op.kind = OpKind::Name;
        op.group = pick(1, 3);
        op.text = QStringLiteral("ABCD").left(pick(0, 4));
    } else if (k < 70) {
        op.kind = OpKind::Public;
        op.band = pick(0, 1);
        op.value = pick(0, 1);
    } else if (k < 78) {
        op.kind = OpKind::Option;
        op.row = int(opt::Field::BeepLevel) + pick(0, 3);
        op.value = pick(0, 5);
    } else if (k < 86) {
        op.kind = OpKind::Dtmf;
        op.row = pick(1, 3);
        op.text = QStringLiteral("12A#").left(pick(0, 4));
    } else if (k < 92) {
        op.kind = OpKind::Rb;
        op.row = pick(1, 3);
        op.row2 = pick(0, 2);
        op.value = pick(0, 3);
    } else if (k < 96) {
        op.kind = OpKind::Band;
        op.band = pick(0, 1);
    } else {
        op.kind = pick(0, 1) ? OpKind::New : OpKind::Initial;
    }
    (void)ws;
    return op;
}

struct Entry {
    QByteArray state;
    std::vector<Op> ops;   // the changes the step holds (several when merged)
};

class HistoryRun : public ::testing::TestWithParam<unsigned> {
protected:
    test::TempInstall inst;
    ScriptedAsker asker;

    std::unique_ptr<Workspace> Fresh()
    {
        auto ws = inst.workspace();
        ws->asker = &asker;
        InitDefaults(*ws);
        return ws;
    }
    // The pair saved from ws, with where the channel window stood left out.
    std::pair<QByteArray, QByteArray> Saved(Workspace& ws, const QString& name)
    {
        ws.CurrentFile = inst.path(name + ".dat");
        EXPECT_TRUE(SaveCurrentFile(ws));
        QByteArray dat = test::ReadFile(inst.path(name + ".dat"));
        dat.replace(6, 72, QByteArray(72, '\0'));   // CurGroup and CurRow
        return {dat, test::ReadFile(inst.path(name + ".fre"))};
    }
};

TEST_P(HistoryRun, EveryStateComesBackAndTheSavedPairEqualsOneMadeWithoutUndo)
{
    std::mt19937 rng(GetParam());
    auto ws = Fresh();
    DocumentHistory history(*ws);
    std::vector<Entry> timeline{{DocumentBytes(*ws), {}}};
    int at = 0, savedAt = -1;

    for (int i = 0; i < 400; ++i) {
        const int r = std::uniform_int_distribution<int>(0, 99)(rng);
        if (r < 14 && at > 0) {
            history.Undo();
            --at;
        } else if (r < 24 && at + 1 < int(timeline.size())) {
            history.Redo();
            ++at;
        } else if (r < 27) {
            Saved(*ws, "job");
            timeline[at].state = DocumentBytes(*ws);   // the save's model identification belongs to it
            savedAt = at;
            EXPECT_TRUE(history.Stack().isClean());
        } else {
            const Op op = RandomOp(rng, *ws);
            const int before = history.Stack().index();
            Apply(*ws, op);
            const int after = history.Stack().index();
            const QByteArray state = DocumentBytes(*ws);
            if (after == before + 1) {
                timeline.resize(at + 1);
                timeline.push_back({state, {op}});
                ++at;
            } else if (after == before && state != timeline[at].state) {
                ASSERT_GT(at, 0) << "a change without a step at " << i;
                timeline.resize(at + 1);
                timeline[at].ops.push_back(op);   // merged into the step before
                timeline[at].state = state;
            } else if (after == before - 1) {      // typed back: the merged step is gone
                timeline.resize(at);
                --at;
            } else {
                ASSERT_EQ(after, before) << "op " << i;
            }
            if (savedAt >= int(timeline.size()) || (savedAt == at && after != before)) savedAt = -1;
        }
        ASSERT_EQ(history.Stack().count() + 1, int(timeline.size())) << "after op " << i;
        ASSERT_EQ(history.Stack().index(), at) << "after op " << i;
        ASSERT_TRUE(DocumentBytes(*ws) == timeline[at].state) << "state " << at << " after op " << i;
        if (at == savedAt) {
            EXPECT_FALSE(IsModified(*ws)) << "back at the save, op " << i;
        }
    }

    // The same surviving changes, made once, without a history.
    auto plain = Fresh();
    for (int e = 1; e <= at; ++e)
        for (const Op& op : timeline[e].ops) Apply(*plain, op);
    const auto undone = Saved(*ws, "undone");
    const auto direct = Saved(*plain, "direct");
    // Saved, both carry the same model identification.
    EXPECT_TRUE(DocumentBytes(*plain) == DocumentBytes(*ws));
    EXPECT_TRUE(undone.first == direct.first);
    EXPECT_TRUE(undone.second == direct.second);

    while (history.CanUndo()) history.Undo();
    EXPECT_TRUE(DocumentBytes(*ws) == timeline.front().state);
    while (history.CanRedo()) history.Redo();
    EXPECT_TRUE(DocumentBytes(*ws) == timeline.back().state);
}

INSTANTIATE_TEST_SUITE_P(Seeds, HistoryRun, ::testing::Values(1u, 7u, 42u, 2024u, 65535u));

// Undo back to what was saved, across a New that replaced the document: the
// snapshot and the name come back with the data, so nothing counts as modified.
TEST(History, UndoToTheSavedStateAcrossANewIsUnmodified)
{
    test::TempInstall inst;
    ScriptedAsker asker;
    auto ws = inst.workspace();
    ws->asker = &asker;
    InitDefaults(*ws);
    DocumentHistory history(*ws);

    Apply(*ws, {OpKind::Freq, 0, 1, 5, 1, 0, QStringLiteral("28.005")});
    ws->CurrentFile = inst.path("saved.dat");
    ASSERT_TRUE(SaveCurrentFile(*ws));
    EXPECT_FALSE(IsModified(*ws));

    Apply(*ws, {OpKind::Freq, 0, 1, 6, 1, 0, QStringLiteral("28.015")});
    EXPECT_TRUE(IsModified(*ws));
    Apply(*ws, {OpKind::New, 0, 1, 1, 1, 0, {}});
    ws->CurrentFile = QStringLiteral("new.dat");   // as a read from the radio names it
    Apply(*ws, {OpKind::Option, 0, 1, int(opt::Field::BeepLevel), 1, 3, {}});
    EXPECT_EQ(history.Steps(), 4);
    EXPECT_EQ(history.UndoName(), QStringLiteral("Option"));

    history.Undo();   // the option
    history.Undo();   // New
    EXPECT_EQ(ws->CurrentFile, inst.path("saved.dat"));
    EXPECT_FALSE(ws->IsUntitled);
    EXPECT_TRUE(IsModified(*ws));   // channel 6 is not in the file
    history.Undo();
    EXPECT_FALSE(IsModified(*ws));
    EXPECT_TRUE(history.Stack().isClean());
    EXPECT_EQ(history.RedoName(), QStringLiteral("Frequency CH A6"));

    ws->CurrentLanguage = Chinese;
    history.Retranslate();
    EXPECT_EQ(history.RedoName(), QStringLiteral("频率 信道 A6"));

    // A change made outside any step still becomes a step before the next undo.
    const int32_t offset = ws->WorkRecord.TxOffset;
    ws->WorkRecord.TxOffset = offset + 9;
    history.Undo();
    EXPECT_EQ(ws->WorkRecord.TxOffset, offset);
    EXPECT_EQ(history.RedoName(), QStringLiteral("编辑"));
}

}  // namespace
}  // namespace kt
