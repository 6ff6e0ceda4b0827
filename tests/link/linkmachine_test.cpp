// The state machine alone: replies, time-outs, questions and the multi-radio
// rules, driven by hand without a port or a timer.
#include "LinkTestUtil.h"
#include "link/LinkMachine.h"

#include <gtest/gtest.h>

namespace kt::test {
namespace {

struct FakeIo : LinkIo {
    QList<QByteArray> sent;
    QList<int> replyLens;
    bool timerRunning = false;
    int closes = 0;
    void SendFrame(const QByteArray& f, int n) override { sent << f; replyLens << n; }
    void StartWaitTimer() override { timerRunning = true; }
    void StopWaitTimer() override { timerRunning = false; }
    void ClosePort() override { ++closes; }
};

// Questions A and B are answered from a script (Cancel when it runs out);
// events records the order of the ending.
struct FakeUi : TransferUi {
    QList<int> percents;
    QList<int> radioNumbers;
    int closes = 0;
    QList<QPair<int, bool>> finished;
    QStringList incompatible;
    QList<Answer> answers;
    QStringList asked;      // "A" or "B", in order
    QStringList notices;
    QStringList events;
    QList<RadioIdent> identified;
    void Identified(const RadioIdent& id) override { identified << id; }
    void ShowPercent(int p) override { percents << p; }
    void ShowRadioNumber(int n) override { radioNumbers << n; }
    void CloseProgress() override { ++closes; events << "close"; }
    Answer AskRetry() override { return Next("A"); }
    Answer AskLostBlock() override { return Next("B"); }
    void Notice(const QString& text) override { notices << text; events << "notice"; }
    void Finished(int kind, bool ok) override { finished << qMakePair(kind, ok); events << "finished"; }
    void IncompatibleFirmware(const QString& v) override { incompatible << v; }
    bool later = false;
    QList<LinkQuestion> pending;
    bool AnswersLater() const override { return later; }
    void QuestionPending(LinkQuestion q) override { pending << q; }
    Answer Next(const QString& which)
    {
        asked << which;
        return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
    }
};

QByteArray Ident(const QByteArray& model = "RU6383R", uint8_t flag = 0, const QByteArray& ver = "V200")
{
    QByteArray r(16, '\0');
    r[0] = 'I';
    for (int i = 0; i < 7; ++i) r[1 + i] = i < model.size() ? model[i] : ' ';
    r[8] = char(flag);
    for (int i = 0; i < 4; ++i) r[9 + i] = ver[i];
    return r;
}

QByteArray DataReply(int addr, uint8_t fill = 0x5A)
{
    uint8_t d[16];
    std::fill(d, d + 16, fill);
    return DataFrame(addr, d);
}

std::vector<uint8_t> Pattern()
{
    std::vector<uint8_t> image(kImageSize);
    for (int i = 0; i < kImageSize; ++i) image[i] = uint8_t(i * 13 + (i >> 8));
    return image;
}

const QByteArray kAck(1, 0x06);
const QByteArray kYF("YF\x06", 3);

class MachineTest : public ::testing::Test {
protected:
    LinkFixtureWs f;
    Workspace& ws = *f.ws;
    FakeIo io;
    FakeUi ui;
    LinkMachine m{ws, io, ui};

    // As Transfer starts one: Begin, the image of a write, then the handshake.
    void Begin(int kind, int radios = 0)
    {
        m.Begin(kind);
        if (kind == kWrite) m.SetImage(Pattern());
        if (radios > 0) m.BeginMultiWrite(radios);
        m.StartHandshake();
    }
    void Start(int kind) { Begin(kind); }
    // Handshake and identification answered: the machine is at its first block.
    void ToBlocks(int kind)
    {
        Start(kind);
        m.OnReply(kYF);
        m.OnReply(Ident());
    }
};

TEST(LinkFrames, ProgressRoundsHalvesToEven)
{
    struct { int addr, end, percent; } cases[] = {
        {0, 0x5CC0, 0}, {16, 0x5CC0, 0}, {0x5CB0, 0x5CC0, 100}, {11872, 23744, 50},
        {1, 200, 0},    // 0.5 -> 0
        {3, 200, 2},    // 1.5 -> 2
        {5, 200, 2},    // 2.5 -> 2
        {7, 200, 4},    // 3.5 -> 4
        {119, 23744, 1} // 0.501 -> 1
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgressPercent(c.addr, c.end), c.percent) << c.addr << "/" << c.end;
}

TEST_F(MachineTest, ReadWalksEveryBlockThenEnds)
{
    ToBlocks(kRead);
    ASSERT_EQ(io.sent.size(), 3);
    EXPECT_EQ(io.sent[1], IdentRequestFrame());
    EXPECT_EQ(io.replyLens[0], 3);
    EXPECT_EQ(io.replyLens[1], 16);
    int blocks = 0;
    while (m.ReadStep() == LinkStep::ReadBlocks) {
        const int addr = m.BlockAddr();
        ASSERT_EQ(io.sent.last(), ReadRequestFrame(addr));
        ASSERT_EQ(io.replyLens.last(), 22);
        m.OnReply(DataReply(addr, uint8_t(addr >> 4)));
        ++blocks;
    }
    EXPECT_EQ(blocks, 1484);
    EXPECT_EQ(io.sent[io.sent.size() - 2], ReadRequestFrame(0x5CB0));
    EXPECT_EQ(io.sent.last(), EndFrame());
    EXPECT_EQ(m.ReadStep(), LinkStep::End);
    EXPECT_EQ(m.Image()[0x10], 0x01);
    EXPECT_EQ(m.Image()[0x5CBF], uint8_t(0x5CB0 >> 4));
    EXPECT_EQ(m.Image()[0x5CC0], 0xFF);   // the last byte is never transferred
    ws.MemImage.assign(kImageSize, 0x00);
    const std::vector<uint8_t> read = m.Image();
    EXPECT_EQ(ui.percents.last(), 100);
    // Percent shown once per step, rising.
    for (int i = 1; i < ui.percents.size(); ++i) EXPECT_EQ(ui.percents[i], ui.percents[i - 1] + 1);
    m.OnReply(kAck);
    ASSERT_EQ(ui.finished.size(), 1);
    EXPECT_EQ(ui.finished[0], qMakePair(int(kRead), true));
    EXPECT_EQ(m.Kind(), 0);
    EXPECT_EQ(io.closes, 1);
    EXPECT_TRUE(m.Image() == read);   // still there for the decode
    EXPECT_EQ(ws.MemImage, std::vector<uint8_t>(kImageSize, 0x00));   // the workspace is the caller's
}

// What a read gathers is the transfer's own until it succeeds; a write sends
// the image it was given, not whatever the workspace holds meanwhile.
TEST_F(MachineTest, TheImageBelongsToTheTransfer)
{
    for (bool lost : {true, false}) {
        ws.MemImage.assign(kImageSize, 0x11);
        ToBlocks(kRead);
        m.OnReply(DataReply(0, 0x22));
        if (lost) {
            for (int i = 0; i <= kBlockRepeats; ++i) m.OnTimeout();   // question B: Cancel
            ASSERT_EQ(ui.finished.last(), qMakePair(int(kRead), false));
        } else {
            while (m.ReadStep() == LinkStep::ReadBlocks) m.OnReply(DataReply(m.BlockAddr(), 0x33));
            m.OnReply(kAck);
            ASSERT_EQ(ui.finished.last(), qMakePair(int(kRead), true));
        }
        EXPECT_EQ(ws.MemImage[0], 0x11) << lost;
        EXPECT_EQ(m.Image()[0x10], lost ? 0xFF : 0x33) << lost;
    }

    const std::vector<uint8_t> sent = Pattern();
    ToBlocks(kWrite);
    ws.MemImage.assign(kImageSize, 0x00);
    while (m.WriteStep() == LinkStep::WriteBlocks) {
        const int addr = m.BlockAddr();
        ASSERT_EQ(io.sent.last(), DataFrame(addr, sent.data() + addr)) << addr;
        m.OnReply(kAck);
    }
    EXPECT_EQ(io.sent.last(), EndFrame());
}

TEST_F(MachineTest, MalformedRepliesAreDropped)
{
    ToBlocks(kRead);
    const int addr = m.BlockAddr();
    QByteArray badSum = DataReply(addr);
    badSum[20] = char(badSum[20] ^ 1);
    QByteArray badTail = DataReply(addr);
    badTail[21] = 0x07;
    QByteArray badLenByte = DataReply(addr);
    badLenByte[3] = 0x0F;
    const QByteArray cases[] = {
        badSum, badTail, badLenByte, DataReply(addr + 16), DataReply(addr).left(21),
        DataReply(addr) + DataReply(addr),   // two frames joined
        QByteArray("YF"), QByteArray("\x06\x06", 2), QByteArray(),
        kAck, kYF, Ident(),                  // recognised, but not what a read request needs
    };
    for (const QByteArray& b : cases) {
        m.OnReply(b);
        EXPECT_EQ(m.BlockAddr(), addr) << b.toHex().constData();
        EXPECT_EQ(m.ReadStep(), LinkStep::ReadBlocks);
    }
    EXPECT_EQ(m.Image()[addr], 0xFF);
    m.OnReply(DataReply(addr));
    EXPECT_EQ(m.BlockAddr(), addr + 16);
    EXPECT_EQ(m.Image()[addr], 0x5A);
}

TEST_F(MachineTest, AnyRecognisedReplyAnswersTheHandshake)
{
    for (const QByteArray& reply : {kAck, kYF, Ident()}) {
        io.sent.clear();
        Start(kRead);
        m.OnReply(reply);
        EXPECT_EQ(m.ReadStep(), LinkStep::Ident) << reply.toHex().constData();
        EXPECT_EQ(io.sent.last(), IdentRequestFrame());
    }
}

TEST_F(MachineTest, IdentificationSetsRadioValues)
{
    Start(kWrite);
    m.OnReply(kYF);
    m.OnReply(Ident("RU6383R", 1, "V200"));
    EXPECT_EQ(m.RadioModel(), QByteArray("RU6383R"));
    EXPECT_EQ(m.RadioVersion(), QByteArray("V200"));
    ASSERT_EQ(ui.identified.size(), 1);
    EXPECT_TRUE(ui.identified[0].extendedHf);
    EXPECT_EQ(m.WriteStep(), LinkStep::WriteBlocks);
    EXPECT_EQ(io.sent.last(), DataFrame(0, Pattern().data()));
    EXPECT_EQ(io.replyLens.last(), 1);
}

TEST_F(MachineTest, EveryIdentificationIsReportedEvenWhenRefused)
{
    Start(kRead);
    m.OnReply(kYF);
    m.OnReply(Ident("RU6000X", 0, "V100"));
    ASSERT_EQ(ui.identified.size(), 1);
    EXPECT_EQ(ui.identified[0].model, QByteArray("RU6000X"));
    EXPECT_EQ(ui.identified[0].version, QByteArray("V100"));
    EXPECT_FALSE(ui.identified[0].extendedHf);
    EXPECT_EQ(m.ReadStep(), LinkStep::EndAfterBadIdent);
}

TEST_F(MachineTest, WrongModelSendsEndAndQueuesTheNotice)
{
    Start(kRead);
    m.OnReply(kYF);
    m.OnReply(Ident("RU6000X"));
    EXPECT_EQ(m.ReadStep(), LinkStep::EndAfterBadIdent);
    EXPECT_EQ(io.sent.last(), EndFrame());
    EXPECT_TRUE(ui.notices.isEmpty());   // not before the end
    m.OnReply(kAck);
    ASSERT_EQ(ui.finished.size(), 1);
    EXPECT_FALSE(ui.finished[0].second);
    EXPECT_EQ(ui.notices, QStringList{"Model type is wrong."});
    EXPECT_EQ(ui.events, (QStringList{"close", "notice", "finished"}));
    EXPECT_TRUE(f.asker.asked.isEmpty());   // the machine asks nothing itself
    // Given once: the next transfer starts without it.
    ToBlocks(kRead);
    m.OnReply(DataReply(0));
    for (int i = 0; i <= kBlockRepeats; ++i) m.OnTimeout();
    EXPECT_EQ(ui.notices.size(), 1);
}

TEST_F(MachineTest, IncompatibleFirmwareIsToldToTheUiAndEndStillGoesOut)
{
    Start(kRead);
    m.OnReply(kYF);
    m.OnReply(Ident("RU6383R", 0, "V999"));
    EXPECT_EQ(ui.incompatible, QStringList{"V999"});
    EXPECT_TRUE(ui.asked.isEmpty());
    EXPECT_EQ(m.ReadStep(), LinkStep::EndAfterBadIdent);
    EXPECT_EQ(io.sent.last(), EndFrame());
    EXPECT_EQ(io.closes, 0);   // End goes out on the open port
    m.OnTimeout();             // End not acknowledged after a failed check: over, without success
    EXPECT_EQ(m.Kind(), 0);
    EXPECT_FALSE(ui.finished.last().second);
}

TEST_F(MachineTest, LostHandshakeRepeatsOnceThenAsks)
{
    ui.answers = {Answer::Retry, Answer::Cancel};
    Start(kRead);
    m.OnTimeout();
    EXPECT_EQ(io.sent.size(), 2);
    EXPECT_TRUE(ui.asked.isEmpty());
    m.OnTimeout();                       // question A: Retry
    EXPECT_EQ(ui.asked, QStringList{"A"});
    EXPECT_EQ(io.sent.size(), 3);
    EXPECT_EQ(io.sent.last(), HandshakeFrame());
    m.OnTimeout();
    m.OnTimeout();                       // question A: Cancel
    EXPECT_EQ(ui.asked, (QStringList{"A", "A"}));
    EXPECT_EQ(io.sent.size(), 4);
    EXPECT_EQ(m.Kind(), 0);
    ASSERT_EQ(ui.finished.size(), 1);
    EXPECT_FALSE(ui.finished[0].second);
}

TEST_F(MachineTest, LostIdentificationRepeatsOnceThenAsks)
{
    ui.answers = {Answer::Retry};
    Start(kWrite);
    m.OnReply(kYF);
    m.OnTimeout();
    EXPECT_EQ(io.sent.last(), IdentRequestFrame());
    m.OnTimeout();
    EXPECT_EQ(ui.asked, QStringList{"A"});
    EXPECT_EQ(io.sent.last(), HandshakeFrame());   // Retry starts from the handshake
    EXPECT_EQ(m.WriteStep(), LinkStep::Handshake);
}

TEST_F(MachineTest, LostBlockRepeatsThreeTimesThenRestartsOnOk)
{
    ui.answers = {Answer::Ok};
    ToBlocks(kWrite);
    m.OnReply(kAck);
    m.OnReply(kAck);
    const int addr = m.BlockAddr();
    const QByteArray frame = io.sent.last();
    ui.percents.clear();
    for (int i = 0; i < kBlockRepeats; ++i) {
        m.OnTimeout();
        EXPECT_EQ(io.sent.last(), frame);
        EXPECT_EQ(m.BlockAddr(), addr);
    }
    EXPECT_TRUE(ui.asked.isEmpty());
    m.OnTimeout();   // question B: OK
    ASSERT_EQ(ui.asked, QStringList{"B"});
    EXPECT_EQ(io.sent.last(), HandshakeFrame());
    EXPECT_EQ(m.BlockAddr(), -16);
    EXPECT_EQ(ui.percents, QList<int>{0});
    m.OnReply(kYF);
    m.OnReply(Ident());
    EXPECT_EQ(m.BlockAddr(), 0);
    // A block that is answered resets the count of repeats.
    m.OnTimeout();
    m.OnReply(kAck);
    for (int i = 0; i < kBlockRepeats; ++i) m.OnTimeout();
    EXPECT_EQ(ui.asked.size(), 1);
}

TEST_F(MachineTest, LostBlockCancelEndsWithoutSuccess)
{
    ui.answers = {Answer::Cancel};
    ToBlocks(kRead);
    for (int i = 0; i <= kBlockRepeats; ++i) m.OnTimeout();
    EXPECT_EQ(ui.asked, QStringList{"B"});
    EXPECT_EQ(m.Kind(), 0);
    ASSERT_EQ(ui.finished.size(), 1);
    EXPECT_FALSE(ui.finished[0].second);
}

TEST_F(MachineTest, MissingEndAcknowledgeCountsAsSuccess)
{
    ToBlocks(kWrite);
    while (m.WriteStep() == LinkStep::WriteBlocks) m.OnReply(kAck);
    EXPECT_EQ(io.sent.last(), EndFrame());
    m.OnTimeout();
    ASSERT_EQ(ui.finished.size(), 1);
    EXPECT_TRUE(ui.finished[0].second);
}

TEST_F(MachineTest, InformationReadIdentifiesTheRadioAndEndsWithoutQuestions)
{
    Start(kInfoRead);
    m.OnReply(kYF);
    EXPECT_EQ(io.sent.last(), IdentRequestFrame());
    m.OnReply(Ident("RU6383R", 1, "V123"));
    EXPECT_EQ(io.sent.last(), EndFrame());
    ASSERT_EQ(ui.identified.size(), 1);
    EXPECT_EQ(ui.identified[0].version, QByteArray("V123"));
    m.OnTimeout();   // End not acknowledged: the radio was identified all the same
    ASSERT_EQ(ui.finished.size(), 1);
    EXPECT_EQ(ui.finished[0], qMakePair(int(kInfoRead), true));

    // A silent radio: no question (there is no window), the port is closed.
    Start(kInfoRead);
    const int closes = io.closes;
    m.OnTimeout();
    EXPECT_EQ(m.Kind(), 0);
    EXPECT_EQ(io.closes, closes + 1);
    EXPECT_TRUE(ui.asked.isEmpty());
    EXPECT_FALSE(ui.finished.last().second);
    EXPECT_EQ(ui.identified.size(), 1);
}

// A port among several: its questions wait for an answer given later, and
// nothing the port does meanwhile moves the machine.
TEST_F(MachineTest, QuestionsAnsweredLaterHoldTheMachineUntilAnswered)
{
    ui.later = true;
    Start(kWrite);
    m.OnTimeout();
    m.OnTimeout();
    ASSERT_EQ(ui.pending, QList<LinkQuestion>{LinkQuestion::Retry});
    const int sent = int(io.sent.size());
    m.OnReply(kYF);
    m.OnTimeout();
    EXPECT_EQ(io.sent.size(), sent);
    EXPECT_EQ(m.Pending(), LinkQuestion::Retry);
    m.AnswerQuestion(Answer::Retry);
    EXPECT_EQ(io.sent.last(), HandshakeFrame());
    m.OnReply(kYF);
    m.OnReply(Ident());
    for (int i = 0; i <= kBlockRepeats; ++i) m.OnTimeout();
    EXPECT_EQ(ui.pending.last(), LinkQuestion::LostBlock);
    EXPECT_TRUE(ui.finished.isEmpty());
    m.AnswerQuestion(Answer::Cancel);
    ASSERT_EQ(ui.finished.size(), 1);
    EXPECT_FALSE(ui.finished[0].second);
    EXPECT_TRUE(ui.asked.isEmpty());   // never asked in the modal way
}

// The next radio on a port: a radio left connected is polled, never written
// again; after a silence a new one is checked like a single write.
TEST_F(MachineTest, AfterSwapTheNextRadioIsWrittenOnlyOnceSwappedAndIsChecked)
{
    m.Begin(kWrite);
    m.SetImage(Pattern());
    m.SetCheckEveryRadio(true);
    m.BeginAfterSwap();
    m.StartHandshake();
    for (int i = 0; i < 10; ++i) m.OnReply(kYF);   // the old radio still there
    EXPECT_EQ(io.sent.count(IdentRequestFrame()), 0);
    for (int i = 0; i < 4; ++i) m.OnTimeout();      // unplugged
    for (int i = 0; i < 3; ++i) m.OnReply(kYF);     // another one answers
    EXPECT_EQ(io.sent.last(), IdentRequestFrame());
    m.OnReply(Ident("RU6000X"));
    EXPECT_EQ(io.sent.last(), EndFrame());          // another model: refused
    m.OnReply(kAck);
    ASSERT_EQ(ui.finished.size(), 1);
    EXPECT_FALSE(ui.finished[0].second);
    EXPECT_EQ(ui.notices, QStringList{"Model type is wrong."});
}

// --- multi-radio write -----------------------------------------------------

class MultiTest : public MachineTest {
protected:
    void WriteAllBlocks()
    {
        m.OnReply(kYF);
        m.OnReply(Ident("XXXXXXX", 0, "V999"));   // no identification check here
        ASSERT_EQ(m.WriteStep(), LinkStep::WriteBlocks);
        while (m.WriteStep() == LinkStep::WriteBlocks) m.OnReply(kAck);
        m.OnReply(kAck);   // End acknowledged
    }
    int IdentRequests() const { return int(io.sent.count(IdentRequestFrame())); }
};

TEST_F(MultiTest, ARadioLeftConnectedIsNotWrittenTwice)
{
    Begin(kWrite, 2);
    WriteAllBlocks();
    EXPECT_EQ(m.RadiosDone(), 1);
    EXPECT_EQ(ui.radioNumbers, QList<int>{2});
    EXPECT_EQ(m.Kind(), kWrite);
    EXPECT_EQ(io.closes, 0);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(io.sent.last(), HandshakeFrame());
        m.OnReply(kYF);
    }
    EXPECT_EQ(IdentRequests(), 1);
    EXPECT_TRUE(ui.asked.isEmpty());
}

TEST_F(MultiTest, ASwappedRadioNeedsSilenceThenThreeAnsweredHandshakes)
{
    Begin(kWrite, 2);
    WriteAllBlocks();
    // Unplugged: four time-outs (about 1.2 s) without any question.
    for (int i = 0; i < 4; ++i) m.OnTimeout();
    EXPECT_EQ(m.SilentTimeouts(), 2);
    EXPECT_TRUE(ui.asked.isEmpty());
    m.OnReply(kYF);
    m.OnReply(kYF);
    EXPECT_EQ(IdentRequests(), 1);
    m.OnReply(kYF);
    EXPECT_EQ(IdentRequests(), 2);
    EXPECT_EQ(io.sent.last(), IdentRequestFrame());
    WriteAllBlocks();
    // Both radios written: the run ends as a write does.
    EXPECT_EQ(m.Kind(), 0);
    ASSERT_EQ(ui.finished.size(), 1);
    EXPECT_TRUE(ui.finished[0].second);
    EXPECT_FALSE(m.MultiWrite());
}

TEST_F(MultiTest, ShortSilenceDoesNotCountAsASwap)
{
    Begin(kWrite, 3);
    WriteAllBlocks();
    m.OnTimeout();
    m.OnTimeout();   // one pair of time-outs: SilentTimeouts 1
    for (int i = 0; i < 5; ++i) m.OnReply(kYF);
    EXPECT_EQ(IdentRequests(), 1);
}

TEST_F(MultiTest, FirstRadioAbsentAsksAndClosingTheWindowEnds)
{
    ui.answers = {Answer::Retry};
    Begin(kWrite, 2);
    m.OnTimeout();
    m.OnTimeout();
    EXPECT_EQ(ui.asked, QStringList{"A"});
    EXPECT_EQ(io.sent.last(), HandshakeFrame());
    m.OnMultiWindowClosed();
    EXPECT_EQ(m.Kind(), 0);
    ASSERT_EQ(ui.finished.size(), 1);
    EXPECT_FALSE(ui.finished[0].second);
    m.OnMultiWindowClosed();   // a second close does nothing more
    EXPECT_EQ(ui.finished.size(), 1);
}

}  // namespace
}  // namespace kt::test
