// The state machine alone: frames, reply recognition, time-outs and the
// multi-radio rules, driven by hand without a port or a timer.
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

struct FakeUi : TransferUi {
    QList<int> percents;
    QList<int> radioNumbers;
    int closes = 0;
    QList<QPair<int, bool>> finished;
    QStringList incompatible;
    void ShowPercent(int p) override { percents << p; }
    void ShowRadioNumber(int n) override { radioNumbers << n; }
    void CloseProgress() override { ++closes; }
    void Finished(int kind, bool ok) override { finished << qMakePair(kind, ok); }
    void IncompatibleFirmware(const QString& v) override { incompatible << v; }
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

const QByteArray kAck(1, 0x06);
const QByteArray kYF("YF\x06", 3);

class MachineTest : public ::testing::Test {
protected:
    LinkFixtureWs f;
    Workspace& ws = *f.ws;
    FakeIo io;
    FakeUi ui;
    LinkMachine m{ws, io, ui};

    void Start(int kind)
    {
        ws.TransferKind = kind;
        m.InitTransfer();
        m.StartHandshake();
    }
    // Handshake and identification answered: the machine is at its first block.
    void ToBlocks(int kind)
    {
        Start(kind);
        m.OnReply(kYF);
        m.OnReply(Ident());
    }
};

TEST(LinkFrames, BytesOnTheWire)
{
    EXPECT_EQ(HandshakeFrame(), QByteArray("PROGRAM"));
    EXPECT_EQ(IdentRequestFrame(), QByteArray(1, 0x02));
    EXPECT_EQ(EndFrame(), QByteArray("END"));
    EXPECT_EQ(ReadRequestFrame(0x0120), QByteArray("\x52\x01\x20\x10", 4));
    EXPECT_EQ(ReadRequestFrame(0x5CB0), QByteArray("\x52\x5C\xB0\x10", 4));
    uint8_t data[16] = {0x27, 0x18, 0x50};
    const QByteArray f = DataFrame(0x0000, data);
    ASSERT_EQ(f.size(), 22);
    EXPECT_EQ(f.left(4), QByteArray("\x57\x00\x00\x10", 4));
    EXPECT_EQ(uint8_t(f[20]), 0x9F);
    EXPECT_EQ(uint8_t(f[21]), 0x06);
    // The checksum wraps modulo 256 and counts the address bytes.
    uint8_t ff[16];
    std::fill(ff, ff + 16, 0xFF);
    EXPECT_EQ(uint8_t(DataFrame(0x5CB0, ff)[20]), uint8_t(0x5C + 0xB0 + 0x10 + 16 * 0xFF));
}

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
    while (m.ReadStep == kStepReadBlocks) {
        const int addr = m.BlockAddr;
        ASSERT_EQ(io.sent.last(), ReadRequestFrame(addr));
        ASSERT_EQ(io.replyLens.last(), 22);
        m.OnReply(DataReply(addr, uint8_t(addr >> 4)));
        ++blocks;
    }
    EXPECT_EQ(blocks, 1484);
    EXPECT_EQ(io.sent[io.sent.size() - 2], ReadRequestFrame(0x5CB0));
    EXPECT_EQ(io.sent.last(), EndFrame());
    EXPECT_EQ(m.ReadStep, kStepEnd);
    EXPECT_EQ(ws.MemImage[0x10], 0x01);
    EXPECT_EQ(ws.MemImage[0x5CBF], uint8_t(0x5CB0 >> 4));
    EXPECT_EQ(ws.MemImage[0x5CC0], 0xFF);   // the last byte is never transferred
    EXPECT_EQ(ui.percents.last(), 100);
    // Percent shown once per step, rising.
    for (int i = 1; i < ui.percents.size(); ++i) EXPECT_EQ(ui.percents[i], ui.percents[i - 1] + 1);
    m.OnReply(kAck);
    ASSERT_EQ(ui.finished.size(), 1);
    EXPECT_EQ(ui.finished[0], qMakePair(int(kRead), true));
    EXPECT_EQ(ws.TransferKind, 0);
    EXPECT_EQ(io.closes, 1);
}

TEST_F(MachineTest, MalformedRepliesAreDropped)
{
    ToBlocks(kRead);
    const int addr = m.BlockAddr;
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
        EXPECT_EQ(m.BlockAddr, addr) << b.toHex().constData();
        EXPECT_EQ(m.ReadStep, kStepReadBlocks);
    }
    EXPECT_EQ(ws.MemImage[addr], 0xFF);
    m.OnReply(DataReply(addr));
    EXPECT_EQ(m.BlockAddr, addr + 16);
    EXPECT_EQ(ws.MemImage[addr], 0x5A);
}

TEST_F(MachineTest, AnyRecognisedReplyAnswersTheHandshake)
{
    for (const QByteArray& reply : {kAck, kYF, Ident()}) {
        io.sent.clear();
        Start(kRead);
        m.OnReply(reply);
        EXPECT_EQ(m.ReadStep, kStepIdent) << reply.toHex().constData();
        EXPECT_EQ(io.sent.last(), IdentRequestFrame());
        ws.TransferKind = 0;
    }
}

TEST_F(MachineTest, IdentificationSetsRadioValues)
{
    Start(kWrite);
    m.OnReply(kYF);
    m.OnReply(Ident("RU6383R", 1, "V200"));
    EXPECT_EQ(m.RadioModel, QByteArray("RU6383R"));
    EXPECT_EQ(m.RadioVersion, QByteArray("V200"));
    EXPECT_TRUE(ws.ExtendedHf);
    EXPECT_EQ(m.WriteStep, kStepWriteBlocks);
    EXPECT_EQ(io.sent.last(), DataFrame(0, ws.MemImage.data()));
    EXPECT_EQ(io.replyLens.last(), 1);
}

TEST_F(MachineTest, EveryIdentificationIsKeptForModelInformation)
{
    EXPECT_FALSE(ws.LastRadio.known);
    Start(kWrite);
    m.OnReply(kYF);
    m.OnReply(Ident("RU6383R", 1, "V200"));
    EXPECT_TRUE(ws.LastRadio.known);
    EXPECT_EQ(ws.LastRadio.firmware, QByteArray("V200"));
    EXPECT_TRUE(ws.LastRadio.extendedHf);
    ws.TransferKind = 0;
    // A second radio with other firmware and flag replaces the first, even when refused.
    Start(kRead);
    m.OnReply(kYF);
    m.OnReply(Ident("RU6000X", 0, "V100"));
    EXPECT_EQ(ws.LastRadio.model, QByteArray("RU6000X"));
    EXPECT_EQ(ws.LastRadio.firmware, QByteArray("V100"));
    EXPECT_FALSE(ws.LastRadio.extendedHf);
    EXPECT_TRUE(ws.LastRadio.bandRange.isEmpty());
}

TEST_F(MachineTest, WrongModelSendsEndAndQueuesTheNotice)
{
    Start(kRead);
    m.OnReply(kYF);
    m.OnReply(Ident("RU6000X"));
    EXPECT_EQ(m.ReadStep, kStepEndAfterBadIdent);
    EXPECT_EQ(io.sent.last(), EndFrame());
    EXPECT_TRUE(f.asker.asked.isEmpty());   // not before the end
    m.OnReply(kAck);
    ASSERT_EQ(ui.finished.size(), 1);
    EXPECT_FALSE(ui.finished[0].second);
    ASSERT_EQ(f.asker.asked.size(), 1);
    EXPECT_EQ(f.asker.asked[0], QString("Model type is wrong."));
    EXPECT_EQ(ui.closes, 1);
}

TEST_F(MachineTest, IncompatibleFirmwareIsToldToTheUiAndEndStillGoesOut)
{
    Start(kRead);
    m.OnReply(kYF);
    m.OnReply(Ident("RU6383R", 0, "V999"));
    EXPECT_EQ(ui.incompatible, QStringList{"V999"});
    EXPECT_TRUE(f.asker.asked.isEmpty());
    EXPECT_EQ(m.ReadStep, kStepEndAfterBadIdent);
    EXPECT_EQ(io.sent.last(), EndFrame());
    EXPECT_EQ(io.closes, 0);   // End goes out on the open port
    m.OnTimeout();             // End not acknowledged after a failed check: over, without success
    EXPECT_EQ(ws.TransferKind, 0);
    EXPECT_FALSE(ui.finished.last().second);
}

TEST_F(MachineTest, LostHandshakeRepeatsOnceThenAsks)
{
    f.asker.answers = {Answer::Retry, Answer::Cancel};
    Start(kRead);
    m.OnTimeout();
    EXPECT_EQ(io.sent.size(), 2);
    EXPECT_TRUE(f.asker.asked.isEmpty());
    m.OnTimeout();                       // question A: Retry
    EXPECT_EQ(f.asker.asked.size(), 1);
    EXPECT_EQ(io.sent.size(), 3);
    EXPECT_EQ(io.sent.last(), HandshakeFrame());
    m.OnTimeout();
    m.OnTimeout();                       // question A: Cancel
    EXPECT_EQ(f.asker.asked.size(), 2);
    EXPECT_EQ(io.sent.size(), 4);
    EXPECT_EQ(ws.TransferKind, 0);
    ASSERT_EQ(ui.finished.size(), 1);
    EXPECT_FALSE(ui.finished[0].second);
}

TEST_F(MachineTest, LostIdentificationRepeatsOnceThenAsks)
{
    f.asker.answers = {Answer::Retry};
    Start(kWrite);
    m.OnReply(kYF);
    m.OnTimeout();
    EXPECT_EQ(io.sent.last(), IdentRequestFrame());
    m.OnTimeout();
    EXPECT_EQ(f.asker.asked.size(), 1);
    EXPECT_EQ(io.sent.last(), HandshakeFrame());   // Retry starts from the handshake
    EXPECT_EQ(m.WriteStep, kStepHandshake);
}

TEST_F(MachineTest, LostBlockRepeatsThreeTimesThenRestartsOnOk)
{
    ToBlocks(kWrite);
    m.OnReply(kAck);
    m.OnReply(kAck);
    const int addr = m.BlockAddr;
    const QByteArray frame = io.sent.last();
    ui.percents.clear();
    for (int i = 0; i < kBlockRepeats; ++i) {
        m.OnTimeout();
        EXPECT_EQ(io.sent.last(), frame);
        EXPECT_EQ(m.BlockAddr, addr);
    }
    EXPECT_TRUE(f.asker.asked.isEmpty());
    m.OnTimeout();   // question B: OK
    ASSERT_EQ(f.asker.asked.size(), 1);
    EXPECT_EQ(io.sent.last(), HandshakeFrame());
    EXPECT_EQ(m.BlockAddr, -16);
    EXPECT_EQ(ui.percents, QList<int>{0});
    m.OnReply(kYF);
    m.OnReply(Ident());
    EXPECT_EQ(m.BlockAddr, 0);
    // A block that is answered resets the count of repeats.
    m.OnTimeout();
    m.OnReply(kAck);
    for (int i = 0; i < kBlockRepeats; ++i) m.OnTimeout();
    EXPECT_EQ(f.asker.asked.size(), 1);
}

TEST_F(MachineTest, LostBlockCancelEndsWithoutSuccess)
{
    f.asker.answers = {Answer::Cancel};
    ToBlocks(kRead);
    for (int i = 0; i <= kBlockRepeats; ++i) m.OnTimeout();
    EXPECT_EQ(ws.TransferKind, 0);
    ASSERT_EQ(ui.finished.size(), 1);
    EXPECT_FALSE(ui.finished[0].second);
}

TEST_F(MachineTest, MissingEndAcknowledgeCountsAsSuccess)
{
    ToBlocks(kWrite);
    while (m.WriteStep == kStepWriteBlocks) m.OnReply(kAck);
    EXPECT_EQ(io.sent.last(), EndFrame());
    m.OnTimeout();
    ASSERT_EQ(ui.finished.size(), 1);
    EXPECT_TRUE(ui.finished[0].second);
}

TEST_F(MachineTest, InformationReadEndsAtTheFirstReplyAndIgnoresTimeouts)
{
    Start(kInfoRead);
    m.OnTimeout();
    m.OnTimeout();
    EXPECT_EQ(io.sent.size(), 1);
    EXPECT_TRUE(f.asker.asked.isEmpty());
    EXPECT_EQ(ws.TransferKind, kInfoRead);
    m.OnReply(kYF);
    EXPECT_EQ(ws.TransferKind, 0);
    EXPECT_FALSE(ui.finished[0].second);
}

// --- multi-radio write -----------------------------------------------------

class MultiTest : public MachineTest {
protected:
    void WriteAllBlocks()
    {
        m.OnReply(kYF);
        m.OnReply(Ident("XXXXXXX", 0, "V999"));   // no identification check here
        ASSERT_EQ(m.WriteStep, kStepWriteBlocks);
        while (m.WriteStep == kStepWriteBlocks) m.OnReply(kAck);
        m.OnReply(kAck);   // End acknowledged
    }
    int IdentRequests() const { return int(io.sent.count(IdentRequestFrame())); }
};

TEST_F(MultiTest, ARadioLeftConnectedIsNotWrittenTwice)
{
    ws.TransferKind = kWrite;
    m.BeginMultiWrite(2);
    m.InitTransfer();
    m.StartHandshake();
    WriteAllBlocks();
    EXPECT_EQ(m.RadiosDone, 1);
    EXPECT_EQ(ui.radioNumbers, QList<int>{2});
    EXPECT_EQ(ws.TransferKind, kWrite);
    EXPECT_EQ(io.closes, 0);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(io.sent.last(), HandshakeFrame());
        m.OnReply(kYF);
    }
    EXPECT_EQ(IdentRequests(), 1);
    EXPECT_TRUE(f.asker.asked.isEmpty());
}

TEST_F(MultiTest, ASwappedRadioNeedsSilenceThenThreeAnsweredHandshakes)
{
    ws.TransferKind = kWrite;
    m.BeginMultiWrite(2);
    m.InitTransfer();
    m.StartHandshake();
    WriteAllBlocks();
    // Unplugged: four time-outs (about 1.2 s) without any question.
    for (int i = 0; i < 4; ++i) m.OnTimeout();
    EXPECT_EQ(m.SilentTimeouts, 2);
    EXPECT_TRUE(f.asker.asked.isEmpty());
    m.OnReply(kYF);
    m.OnReply(kYF);
    EXPECT_EQ(IdentRequests(), 1);
    m.OnReply(kYF);
    EXPECT_EQ(IdentRequests(), 2);
    EXPECT_EQ(io.sent.last(), IdentRequestFrame());
    WriteAllBlocks();
    // Both radios written: the run ends as a write does.
    EXPECT_EQ(ws.TransferKind, 0);
    ASSERT_EQ(ui.finished.size(), 1);
    EXPECT_TRUE(ui.finished[0].second);
    EXPECT_FALSE(m.MultiWrite);
}

TEST_F(MultiTest, ShortSilenceDoesNotCountAsASwap)
{
    ws.TransferKind = kWrite;
    m.BeginMultiWrite(3);
    m.InitTransfer();
    m.StartHandshake();
    WriteAllBlocks();
    m.OnTimeout();
    m.OnTimeout();   // one pair of time-outs: SilentTimeouts 1
    for (int i = 0; i < 5; ++i) m.OnReply(kYF);
    EXPECT_EQ(IdentRequests(), 1);
}

TEST_F(MultiTest, FirstRadioAbsentAsksAndClosingTheWindowEnds)
{
    f.asker.answers = {Answer::Retry};
    ws.TransferKind = kWrite;
    m.BeginMultiWrite(2);
    m.InitTransfer();
    m.StartHandshake();
    m.OnTimeout();
    m.OnTimeout();
    EXPECT_EQ(f.asker.asked.size(), 1);
    EXPECT_EQ(io.sent.last(), HandshakeFrame());
    m.OnMultiWindowClosed();
    EXPECT_EQ(ws.TransferKind, 0);
    ASSERT_EQ(ui.finished.size(), 1);
    EXPECT_FALSE(ui.finished[0].second);
    m.OnMultiWindowClosed();   // a second close does nothing more
    EXPECT_EQ(ui.finished.size(), 1);
}

}  // namespace
}  // namespace kt::test
