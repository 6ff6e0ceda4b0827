// The roger-beep window driven as a user would, with a recording tone sink
// (and once with the real speaker, which is silent on a machine without audio).
#include "GuiTestHost.h"
#include "gui/rogerbeep/FrmToneTips.h"
#include "rules/options/OptionTables.h"
#include "rules/rogerbeep/RbRules.h"
#include "rules/rogerbeep/RbWav.h"
#include "TestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QElapsedTimer>
#include <QImage>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kt;

namespace {

// Records every step; each step ends on a timer (at once, or after its real
// length), and a hook can act while a step is under way.
struct RecordingSink : ToneSink {
    std::vector<RbStep> steps;
    std::function<void(size_t)> during;   // called with the step's number (1-based) before it ends
    bool realTime = false;
    int cancels = 0;
    QTimer timer;
    std::function<void()> pending;

    RecordingSink() {
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (during) during(steps.size());
            auto d = std::move(pending);
            pending = nullptr;
            if (d) d();
        });
    }
    void Play(const RbStep& s, std::function<void()> done) override {
        steps.push_back(s);
        pending = std::move(done);
        timer.start(realTime ? s.ms : 0);
    }
    void Cancel() override { ++cancels; timer.stop(); pending = nullptr; }
};

const RbStep kTone1000{RbStep::Tone, 1000, 200};
const RbStep kRest100{RbStep::Rest, 0, 100};
const RbStep kPause500{RbStep::Pause, 0, 500};

struct ToneWindow : ::testing::Test {
    Workspace ws;
    test::GuiTestHost host{ws};
    RecordingSink sink;

    void SetExample(int n) {
        RbPatternRec& p = Pattern(ws, n);
        p = RbPatternRec{};
        p.RbRecycle = 2;
        p.RbInterTime = 50;
        p.RbTone[0][0] = 100; p.RbTone[1][0] = 20;
        p.RbTone[0][1] = 0;   p.RbTone[1][1] = 10;
    }
    void Define(int n, int freq = 100, int dur = 20) {
        RbPatternRec& p = Pattern(ws, n);
        p = RbPatternRec{};
        p.RbRecycle = 1;
        p.RbTone[0][0] = int16_t(freq);
        p.RbTone[1][0] = int16_t(dur);
    }
    FrmToneTips* Open(bool record = true) {
        host.ShowChild(Child::ToneTips);
        FrmToneTips* w = host.ToneTipsWindow();
        if (record) w->SetToneSink(&sink);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        return w;
    }
    FrmToneTips* W() { return host.ToneTipsWindow(); }
    QComboBox* Combo(const QString& name) { return W()->findChild<QComboBox*>(name); }
    QPushButton* Button(const char* name) { return W()->findChild<QPushButton*>(name); }
    QTabBar* Tabs() { return W()->findChild<QTabBar*>("TabStrip1"); }
    void Choose(const QString& combo, const QString& entry) {
        QComboBox* c = Combo(combo);
        ASSERT_NE(c, nullptr) << combo.toStdString();
        const int i = c->findText(entry);
        ASSERT_GE(i, 0) << entry.toStdString();
        c->setCurrentIndex(i);
    }
    bool WaitUntilStopped(int ms = 10000) {
        return QTest::qWaitFor([&] { return !W()->IsPlaying(); }, ms);
    }
    ChannelRec& AddChannel(int band, int group, int chNo) {
        int16_t& count = ws.ChannelCount(band, group);
        ChannelRec& ch = ws.Channels(band, ++count, group);
        ch.ChNo = int16_t(chNo);
        return ch;
    }
};

}  // namespace

TEST_F(ToneWindow, ExamplePatternPlaysToneRestPauseTwice)
{
    SetExample(1);
    Open();
    QTest::mouseClick(Button("cmdPlay"), Qt::LeftButton);
    EXPECT_FALSE(Button("cmdPlay")->isEnabled());
    ASSERT_TRUE(WaitUntilStopped());
    const std::vector<RbStep> expected{kTone1000, kRest100, kPause500, kTone1000, kRest100, kPause500};
    EXPECT_EQ(sink.steps, expected);
    EXPECT_TRUE(Button("cmdPlay")->isEnabled());
}

TEST_F(ToneWindow, ZeroLengthTonesAreSkippedAndNothingToPlayDoesNotStart)
{
    RbPatternRec& p = Pattern(ws, 1);
    p.RbRecycle = 1;
    p.RbTone[0][0] = 150; p.RbTone[1][0] = 0;
    p.RbTone[0][1] = 60;  p.RbTone[1][1] = 5;
    p.RbTone[0][2] = 80;  p.RbTone[1][2] = 0;
    Open();
    W()->PlayPattern();
    ASSERT_TRUE(WaitUntilStopped());
    const std::vector<RbStep> expected{{RbStep::Tone, 600, 50}, {RbStep::Pause, 0, 0}};
    EXPECT_EQ(sink.steps, expected);

    sink.steps.clear();
    Tabs()->setCurrentIndex(1);              // pattern 2 has no length at all
    QTest::mouseClick(Button("cmdPlay"), Qt::LeftButton);
    EXPECT_FALSE(W()->IsPlaying());
    EXPECT_TRUE(Button("cmdPlay")->isEnabled());
    EXPECT_TRUE(sink.steps.empty());
}

TEST_F(ToneWindow, StopEndsBeforeTheNextTone)
{
    SetExample(1);
    Open();
    sink.during = [&](size_t n) {
        if (n == 1) QTest::mouseClick(Button("cmdStop"), Qt::LeftButton);
    };
    QTest::mouseClick(Button("cmdPlay"), Qt::LeftButton);
    ASSERT_TRUE(WaitUntilStopped());
    const std::vector<RbStep> expected{kTone1000};
    EXPECT_EQ(sink.steps, expected);
    EXPECT_TRUE(Button("cmdPlay")->isEnabled());

    // Playing again after a stop starts from the beginning.
    sink.steps.clear();
    sink.during = nullptr;
    QTest::mouseClick(Button("cmdPlay"), Qt::LeftButton);
    ASSERT_TRUE(WaitUntilStopped());
    EXPECT_EQ(sink.steps.size(), 6u);
}

TEST_F(ToneWindow, SwitchingTabsWhilePlayingGoesOnWithTheNewPattern)
{
    SetExample(1);
    RbPatternRec& two = Pattern(ws, 2);
    two.RbRecycle = 7;
    two.RbInterTime = 3;
    two.RbTone[0][0] = 200; two.RbTone[1][0] = 1;
    two.RbTone[0][1] = 250; two.RbTone[1][1] = 2;
    Open();
    sink.during = [&](size_t n) {
        if (n == 1) Tabs()->setCurrentIndex(1);
    };
    QTest::mouseClick(Button("cmdPlay"), Qt::LeftButton);
    ASSERT_TRUE(WaitUntilStopped());
    // Run count and pause stay those of pattern 1; the tones are pattern 2's
    // from the second tone on.
    const std::vector<RbStep> expected{
        kTone1000, {RbStep::Tone, 2500, 20}, kPause500,
        {RbStep::Tone, 2000, 10}, {RbStep::Tone, 2500, 20}, kPause500};
    EXPECT_EQ(sink.steps, expected);
    EXPECT_EQ(W()->CurrentPattern(), 2);
}

TEST_F(ToneWindow, ClosingTheWindowStopsPlaying)
{
    SetExample(1);
    Open();
    sink.during = [&](size_t n) {
        if (n == 2) W()->close();
    };
    W()->PlayPattern();
    ASSERT_TRUE(WaitUntilStopped());
    EXPECT_EQ(sink.steps.size(), 2u);
    host.CloseChild(Child::ToneTips);        // unloading while idle is clean
    EXPECT_EQ(host.ToneTipsWindow(), nullptr);
}

TEST_F(ToneWindow, UnloadingWhilePlayingLeavesNothingRunning)
{
    SetExample(1);
    Open();
    sink.realTime = true;
    W()->PlayPattern();
    QTest::qWait(50);
    host.CloseChild(Child::ToneTips);
    EXPECT_FALSE(sink.timer.isActive());
    EXPECT_FALSE(bool(sink.pending));
    QTest::qWait(300);
    EXPECT_EQ(sink.steps.size(), 1u);
}

TEST_F(ToneWindow, TheLastDefinedPatternCannotBeSwitchedOff)
{
    Define(3);
    Pattern(ws, 1).RbRecycle = 4;             // runs, but has no tone: undefined
    Open();
    Tabs()->setCurrentIndex(2);
    Choose("cboRecycle", "Off");
    EXPECT_EQ(Combo("cboRecycle")->currentText(), "1");
    EXPECT_EQ(Pattern(ws, 3).RbRecycle, 1);
    Choose("cboDur1", "0");
    EXPECT_EQ(Combo("cboDur1")->currentText(), "200");
    EXPECT_EQ(Pattern(ws, 3).RbTone[1][0], 20);

    // On another tab, too.
    Tabs()->setCurrentIndex(0);
    Choose("cboRecycle", "Off");
    EXPECT_EQ(Combo("cboRecycle")->currentText(), "4");
    EXPECT_EQ(Pattern(ws, 1).RbRecycle, 4);

    // With a second pattern defined the first may go.
    Choose("cboDur5", "30");
    EXPECT_EQ(CountDefinedPatterns(ws), 2);
    Tabs()->setCurrentIndex(2);
    Choose("cboRecycle", "Off");
    EXPECT_EQ(Pattern(ws, 3).RbRecycle, 0);
    EXPECT_EQ(PatternIsDefined(ws, 3), 0);
}

TEST_F(ToneWindow, SwitchingAPatternOffClearsItsReferences)
{
    Define(3);
    Define(5);
    ChannelRec& a = AddChannel(0, 1, 1);   a.RogerBeep = 5;
    ChannelRec& b = AddChannel(1, 10, 2);  b.RogerBeep = 5;
    ChannelRec& c = AddChannel(0, 2, 3);   c.RogerBeep = 3;
    ChannelRec& d = AddChannel(0, 15, 4);  d.RogerBeep = 5;
    ws.OptFeat().PublicRogerBeep = 5;
    ws.WorkRecord.ComChanRb = 5;
    host.ShowChild(Child::ChannelInfo);
    host.ShowChild(Child::OptFeatures);
    ASSERT_GE(host.ChannelWindow()->findChild<QComboBox*>("cboRoger")->findText("5"), 0);
    Open();
    Tabs()->setCurrentIndex(4);
    Choose("cboRecycle", "Off");
    EXPECT_EQ(Pattern(ws, 5).RbRecycle, 0);
    EXPECT_EQ(a.RogerBeep, 0);
    EXPECT_EQ(b.RogerBeep, 0);
    EXPECT_EQ(c.RogerBeep, 3);
    EXPECT_EQ(d.RogerBeep, 5);             // groups past 10 are not walked
    EXPECT_EQ(ws.OptFeat().PublicRogerBeep, 0);
    EXPECT_EQ(ws.WorkRecord.ComChanRb, 0);
    // The option page's "Roger" list offers OFF and 3.
    auto* roger = host.OptionsWindow()->findChild<QComboBox*>(QStringLiteral("Combo1_%1").arg(opt::id::Roger));
    ASSERT_NE(roger, nullptr);
    QStringList entries;
    for (int i = 0; i < roger->count(); ++i) entries << roger->itemText(i);
    EXPECT_EQ(entries, QStringList({"OFF", "3"}));
    EXPECT_EQ(roger->currentText(), "OFF");
    // So does the channel editor's.
    auto* chRoger = host.ChannelWindow()->findChild<QComboBox*>("cboRoger");
    ASSERT_NE(chRoger, nullptr);
    EXPECT_EQ(chRoger->findText("5"), -1);
    EXPECT_GE(chRoger->findText("3"), 0);
}

TEST_F(ToneWindow, ShowingAPatternKeepsWhatTheListsShow)
{
    RbPatternRec& p = Pattern(ws, 2);
    p.RbRecycle = 12;                      // past "10": shown and kept as Off
    p.RbInterTime = 300;                   // past "2550": shown and kept as 0
    p.RbTone[0][0] = 30;  p.RbTone[1][0] = 7;    // 300 Hz has no entry
    p.RbTone[0][1] = 41;  p.RbTone[1][1] = 400;  // length past the list
    Define(6);
    Open();
    Tabs()->setCurrentIndex(1);
    EXPECT_EQ(Combo("cboFreq1")->currentText(), "None");
    EXPECT_EQ(Combo("cboFreq2")->currentText(), "410");
    EXPECT_EQ(Combo("cboDur1")->currentText(), "70");
    EXPECT_EQ(Combo("cboDur2")->currentText(), "0");
    EXPECT_EQ(Combo("cboRecycle")->currentText(), "Off");
    EXPECT_EQ(p.RbTone[0][0], 0);
    EXPECT_EQ(p.RbTone[0][1], 41);
    EXPECT_EQ(p.RbTone[1][1], 0);
    EXPECT_EQ(p.RbRecycle, 0);
    EXPECT_EQ(p.RbInterTime, 0);
}

TEST_F(ToneWindow, ChoicesAreStoredAsCodes)
{
    Define(1);
    Open();
    Choose("cboFreq14", "2550");
    Choose("cboDur14", "1230");
    Choose("cboInterTime", "2550");
    Choose("cboRecycle", "10");
    Choose("cboFreq1", "None");
    const RbPatternRec& p = Pattern(ws, 1);
    EXPECT_EQ(p.RbTone[0][13], 255);
    EXPECT_EQ(p.RbTone[1][13], 123);
    EXPECT_EQ(p.RbInterTime, 255);
    EXPECT_EQ(p.RbRecycle, 10);
    EXPECT_EQ(p.RbTone[0][0], 0);
}

TEST_F(ToneWindow, DrawingFollowsEveryChange)
{
    RbPatternRec& p = Pattern(ws, 1);
    p.RbRecycle = 1;
    p.RbTone[0][0] = 255; p.RbTone[1][0] = 10;   // tone 1: red, full height
    p.RbTone[0][1] = 128; p.RbTone[1][1] = 10;   // tone 2: blue, half height
    Open();
    QWidget* pic = W()->findChild<QWidget*>("Picture1");
    ASSERT_NE(pic, nullptr);
    auto colourAt = [&](double fx, double fy) {
        const QImage img = pic->grab().toImage();
        return img.pixelColor(int(fx * img.width()), int(fy * img.height()));
    };
    EXPECT_EQ(colourAt(0.25, 0.5), QColor(255, 0, 0));
    EXPECT_EQ(colourAt(0.75, 0.8), QColor(0, 0, 255));
    EXPECT_EQ(colourAt(0.75, 0.2), QColor(Qt::white));   // above the half-height bar

    Choose("cboFreq2", "2550");
    EXPECT_EQ(colourAt(0.75, 0.2), QColor(0, 0, 255));
    Choose("cboDur1", "0");                          // tone 2 takes the whole width
    EXPECT_EQ(colourAt(0.25, 0.5), QColor(0, 0, 255));
}

TEST_F(ToneWindow, CaptionsInBothLanguages)
{
    ws.CurrentLanguage = Chinese;
    Open();
    EXPECT_EQ(W()->windowTitle(), QString::fromUtf8("RB音"));
    EXPECT_EQ(Tabs()->count(), 8);
    EXPECT_EQ(Tabs()->tabText(7), QString::fromUtf8("RB音 8"));
    EXPECT_EQ(Button("cmdPlay")->text(), QString::fromUtf8("播放(&P)"));
    EXPECT_EQ(Combo("cboRecycle")->itemText(0), QString::fromUtf8("关"));
    EXPECT_EQ(Combo("cboFreq3")->itemText(0), QString::fromUtf8("无"));

    ws.CurrentLanguage = English;
    W()->ApplyToneLanguage();
    EXPECT_EQ(Tabs()->tabText(0), "RB Tone 1");
    EXPECT_EQ(Button("cmdStop")->text(), "&Stop");
    EXPECT_EQ(Combo("cboFreq3")->itemText(0), "None");
    EXPECT_EQ(Combo("cboFreq3")->count(), 217);
    EXPECT_EQ(Combo("cboDur3")->count(), 256);
}

TEST_F(ToneWindow, RealSpeakerKeepsTheTimingAndTheWindowResponsive)
{
    SetExample(1);
    Open(false);
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(Button("cmdPlay"), Qt::LeftButton);
    EXPECT_TRUE(W()->IsPlaying());
    ASSERT_TRUE(WaitUntilStopped());
    const qint64 ms = clock.elapsed();
    // 2 x (200 + 100 + 500) ms; generous upper bound for a busy machine.
    EXPECT_GE(ms, 1400);    // an audio output takes samples a little ahead
    EXPECT_LT(ms, 4000);

    // Stop during the long pause ends playing well before the run would.
    RbPatternRec& p = Pattern(ws, 1);
    p.RbInterTime = 255;
    clock.restart();
    W()->PlayPattern();
    QTest::qWait(600);                       // inside the 2550 ms pause
    EXPECT_TRUE(W()->IsPlaying());
    QTest::mouseClick(Button("cmdStop"), Qt::LeftButton);
    ASSERT_TRUE(WaitUntilStopped(1000));
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_TRUE(Button("cmdPlay")->isEnabled());
}

// Export WAV saves the pattern on the shown tab, as the player plays it, in a
// well-formed 48 kHz 16-bit mono RIFF file.
TEST_F(ToneWindow, ExportWavWritesTheShownPattern)
{
    SetExample(1);
    Define(3, 200, 30);   // 2000 Hz for 300 ms, once
    Open();
    Tabs()->setCurrentIndex(2);
    ASSERT_TRUE(Button("cmdExportWav")->isEnabled());
    QTemporaryDir dir;
    host.asker.fileNames = {dir.filePath("beep3")};   // the suffix is added
    QTest::mouseClick(Button("cmdExportWav"), Qt::LeftButton);
    EXPECT_TRUE(host.asker.asked.isEmpty()) << host.asker.asked.join('|').toStdString();

    const QByteArray wav = test::ReadFile(dir.filePath("beep3.wav"));
    ASSERT_GE(wav.size(), 44);
    const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
    const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(wav.constData() + at); };
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(u32(4), quint32(wav.size() - 8));
    EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(u16(20), 1);        // PCM
    EXPECT_EQ(u16(22), 1);        // mono
    EXPECT_EQ(u32(24), 48000u);
    EXPECT_EQ(u16(34), 16);
    EXPECT_EQ(wav.mid(36, 4), "data");
    EXPECT_EQ(u32(40), quint32(wav.size() - 44));
    // At least the 300 ms tone, not the example pattern's two runs of tones and pauses.
    const double seconds = (wav.size() - 44) / 2.0 / 48000.0;
    EXPECT_GE(seconds, 0.3);
    EXPECT_LT(seconds, 0.5);
    EXPECT_EQ(wav, PatternWav(Pattern(ws, 3)));
    EXPECT_NE(wav, PatternWav(Pattern(ws, 1)));
}

TEST_F(ToneWindow, ExportWavOfAnEmptyPatternOrToAnUnwritablePathWritesNothing)
{
    SetExample(1);
    Open();
    QTemporaryDir dir;
    // Pattern 2 has no tone of any length: the button is off, and the command
    // itself says why without asking for a file.
    Tabs()->setCurrentIndex(1);
    EXPECT_FALSE(Button("cmdExportWav")->isEnabled());
    host.asker.fileNames = {dir.filePath("empty.wav")};
    W()->ExportWav();
    ASSERT_EQ(host.asker.asked.size(), 1);
    EXPECT_EQ(host.asker.fileNames.size(), 1);
    // Giving a tone a length turns the button on.
    Choose("cboDur1", "100");
    Choose("cboRecycle", "1");
    EXPECT_TRUE(Button("cmdExportWav")->isEnabled());

    host.asker.asked.clear();
    host.asker.fileNames = {dir.filePath("missing/folder/beep.wav")};
    W()->ExportWav();
    ASSERT_EQ(host.asker.asked.size(), 1);
    EXPECT_TRUE(host.asker.asked[0].contains("missing/folder/beep.wav"));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}
