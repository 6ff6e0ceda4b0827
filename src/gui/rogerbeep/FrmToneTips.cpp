#include "gui/rogerbeep/FrmToneTips.h"
#include "gui/FitWindow.h"
#include "model/EditStep.h"

#include "base/ListHelpers.h"
#include "gui/MainHost.h"
#include "gui/rogerbeep/GuiToneSink.h"
#include "rules/rogerbeep/RbRules.h"
#include "rules/rogerbeep/RbWav.h"
#include "model/Workspace.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QTabBar>
#include <QVBoxLayout>

namespace kt {

namespace {

namespace t {
constexpr Bi Caption{"Roger Beep", "RB音"};                 // 29000
constexpr Bi RbTone{"RB Tone", "RB音"};                     // 29001
constexpr Bi Recycle{"Recycle Times", "循环次数"};          // 29002
constexpr Bi InterTime{"Inter Time[ms]", "间隔时间[ms]"};   // 29003
constexpr Bi Frequency{"Frequency[Hz]", "频率[Hz]"};        // 29004
constexpr Bi ToneLong{"Tone Long[ms]", "音长[ms]"};         // 29005
constexpr Bi Play{"&Play", "播放(&P)"};                     // 29006
constexpr Bi Stop{"&Stop", "停止(&S)"};                     // 29007
constexpr Bi ExportWav{"E&xport WAV…", "导出 WAV(&X)…"};
constexpr Bi ExportTitle{"Export WAV", "导出 WAV"};
constexpr Bi WavFilter{"WAV files (*.wav);;All files (*)", "WAV 文件 (*.wav);;所有文件 (*)"};
constexpr Bi NothingToPlay{"RB Tone %1 has no tone to play; give a tone a length and switch Recycle Times on.",
                           "RB音 %1 没有可播放的音；请设置音长并打开循环次数。"};
constexpr Bi WavNotWritten{"The sound file could not be written:\n%1\n%2", "无法写入声音文件：\n%1\n%2"};
constexpr Bi Tones[kRbTones] = {                            // 29100-29113
    {"First Tone", "第一个音"},       {"Second Tone", "第二个音"},
    {"Third Tone", "第三个音"},       {"Fourth Tone", "第四个音"},
    {"Fifth Tone", "第五个音"},       {"Sixth Tone", "第六个音"},
    {"Seventh Tone", "第七个音"},     {"Eighth Tone", "第八个音"},
    {"Ninth Tone", "第九个音"},       {"Tenth Tone", "第十个音"},
    {"Eleventh Tone", "第十一个音"},  {"Twelfth Tone", "第十二个音"},
    {"Thirteenth Tone", "第十三个音"}, {"Fourteenth Tone", "第十四个音"},
};
}  // namespace t

constexpr int kTwipsPerPixel = 15;

// The picture of the shown pattern: one bar per tone, drawn in twips.
class PatternPicture : public QWidget {
public:
    explicit PatternPicture(std::function<RbPatternRec()> pattern, QWidget* parent)
        : QWidget(parent), pattern_(std::move(pattern))
    {
        setObjectName("Picture1");
        setFixedSize(8295 / kTwipsPerPixel, 1575 / kTwipsPerPixel);
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::white);
        setPalette(pal);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setPen(Qt::NoPen);
        p.scale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
        const int w = width() * kTwipsPerPixel, h = height() * kTwipsPerPixel;
        for (const RbBar& bar : PatternBars(pattern_(), w, h)) {
            p.setBrush(bar.red ? QColor(255, 0, 0) : QColor(0, 0, 255));
            p.drawRect(QRect(bar.x, bar.y, bar.w, bar.h));
        }
    }

private:
    std::function<RbPatternRec()> pattern_;
};

QLabel* RightLabel(QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QComboBox* List(QWidget* parent, const QString& name)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(false);
    c->setMaxVisibleItems(16);
    return c;
}

}  // namespace

FrmToneTips::FrmToneTips(MainHost& host, QWidget* parent)
    : QWidget(parent), host_(host), speaker_(std::make_unique<GuiToneSink>()), player_(*speaker_)
{
    setObjectName("FrmToneTips");
    BuildControls();
    // Opening: the selected tab, captions, lists, then the pattern.
    currentPattern_ = tabs_->currentIndex() + 1;
    ApplyToneLanguage();
    connect(&ws().Events(), &DocumentEvents::documentRestored, this, [this] { ShowPattern(false); });
}

FrmToneTips::~FrmToneTips()
{
    // The player lets go of the sink before either is gone.
    player_.SetSink(*speaker_);
}

Workspace& FrmToneTips::ws() { return host_.ws(); }

RbPatternRec& FrmToneTips::Shown() { return Pattern(ws(), currentPattern_); }

StepName FrmToneTips::PatternStep() const
{
    return Named(steptxt::RogerBeep, Plain(QString::number(currentPattern_)));
}

void FrmToneTips::BuildControls()
{
    tabs_ = new QTabBar(this);
    tabs_->setObjectName("TabStrip1");
    tabs_->setUsesScrollButtons(false);   // all eight tabs stay in sight
    tabs_->setElideMode(Qt::ElideNone);
    tabs_->setExpanding(true);
    for (int n = 1; n <= kRbPatterns; ++n) tabs_->addTab(QString());
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
        currentPattern_ = index + 1;
        ShowPattern();
    });

    auto* top = new QHBoxLayout;
    top->setSpacing(7);   // labels end 100 twips left of their list
    recycleLabel_ = RightLabel(this);
    recycle_ = List(this, "cboRecycle");
    interLabel_ = RightLabel(this);
    interTime_ = List(this, "cboInterTime");
    top->addWidget(recycleLabel_);
    top->addWidget(recycle_);
    top->addSpacing(30);
    top->addWidget(interLabel_);
    top->addWidget(interTime_);
    top->addStretch(1);
    connect(recycle_, &QComboBox::currentIndexChanged, this, [this](int i) { OnRecycle(i); });
    connect(interTime_, &QComboBox::currentIndexChanged, this, [this](int i) { OnInterTime(i); });

    auto* tones = new QGridLayout;
    tones->setHorizontalSpacing(7);
    for (int col = 0; col < 2; ++col) {
        freqHeader_[col] = new QLabel(this);
        durHeader_[col] = new QLabel(this);
        tones->addWidget(freqHeader_[col], 0, col * 4 + 1, Qt::AlignCenter);
        tones->addWidget(durHeader_[col], 0, col * 4 + 2, Qt::AlignCenter);
    }
    tones->setColumnMinimumWidth(3, 20);
    for (int i = 0; i < kRbTones; ++i) {
        const int col = i / 7, row = i % 7 + 1;
        toneLabel_[i] = RightLabel(this);
        freq_[i] = List(this, QStringLiteral("cboFreq%1").arg(i + 1));
        dur_[i] = List(this, QStringLiteral("cboDur%1").arg(i + 1));
        tones->addWidget(toneLabel_[i], row, col * 4);
        tones->addWidget(freq_[i], row, col * 4 + 1);
        tones->addWidget(dur_[i], row, col * 4 + 2);
        connect(freq_[i], &QComboBox::currentIndexChanged, this, [this, i](int index) { OnFreq(i, index); });
        connect(dur_[i], &QComboBox::currentIndexChanged, this, [this, i](int index) { OnDur(i, index); });
    }

    picture_ = new PatternPicture([this] { return Shown(); }, this);
    play_ = new QPushButton(this);
    play_->setObjectName("cmdPlay");
    stop_ = new QPushButton(this);
    stop_->setObjectName("cmdStop");
    close_ = new QPushButton(this);
    close_->setObjectName("cmdClose");
    connect(play_, &QPushButton::clicked, this, [this] { PlayPattern(); });
    connect(stop_, &QPushButton::clicked, this, [this] { StopPlayback(); });
    exportWav_ = new QPushButton(this);
    exportWav_->setObjectName("cmdExportWav");
    connect(exportWav_, &QPushButton::clicked, this, [this] { ExportWav(); });
    connect(close_, &QPushButton::clicked, this, [this] {
        StopPlayback();
        QMetaObject::invokeMethod(this, [this] { host_.CloseChild(Child::ToneTips); }, Qt::QueuedConnection);
    });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(picture_);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(play_);
    buttons->addWidget(stop_);
    buttons->addWidget(exportWav_);
    buttons->addStretch(1);
    bottom->addLayout(buttons);
    bottom->addStretch(1);

    // On a small or scaled screen the controls scroll; Close stays in view.
    auto* body = new QWidget(this);
    auto* v = new QVBoxLayout(body);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(tabs_);
    v->addLayout(top);
    v->addLayout(tones);
    v->addLayout(bottom);
    v->addStretch(1);
    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch(1);
    closeRow->addWidget(close_);
    auto* window = new QVBoxLayout(this);
    window->addWidget(ScrollingBody(body));
    window->addLayout(closeRow);
}

void FrmToneTips::ApplyToneLanguage()
{
    setWindowTitle(ws().T(t::Caption));
    for (int n = 1; n <= kRbPatterns; ++n) tabs_->setTabText(n - 1, ws().T(t::RbTone) + " " + QString::number(n));
    recycleLabel_->setText(ws().T(t::Recycle));
    interLabel_->setText(ws().T(t::InterTime));
    for (int col = 0; col < 2; ++col) {
        freqHeader_[col]->setText(ws().T(t::Frequency));
        durHeader_[col]->setText(ws().T(t::ToneLong));
    }
    for (int i = 0; i < kRbTones; ++i) toneLabel_[i]->setText(ws().T(t::Tones[i]));
    play_->setText(ws().T(t::Play));
    stop_->setText(ws().T(t::Stop));
    exportWav_->setText(ws().T(t::ExportWav));
    close_->setText(ws().T(txt::Close));
    FillToneLists();
    ShowPattern();
}

void FrmToneTips::FillToneLists()
{
    const int lang = ws().CurrentLanguage;
    const QStringList times = RbTimeList();
    const QStringList freqs = RbFreqList(lang);
    auto fill = [](QComboBox* c, const QStringList& entries) {
        const QSignalBlocker block(c);
        c->clear();
        c->addItems(entries);
    };
    fill(recycle_, RbRecycleList(lang));
    fill(interTime_, times);
    for (int i = 0; i < kRbTones; ++i) {
        fill(freq_[i], freqs);
        fill(dur_[i], times);
    }
}

void FrmToneTips::SetShown(QComboBox* box, int index)
{
    const QSignalBlocker block(box);
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : 0);
}

void FrmToneTips::ShowPattern(bool writeBack)
{
    // What showing writes back (a value without an entry) is no step.
    const EditStep shown = EditStep::Absorbing(ws());
    const RbPatternRec p = Shown();
    SetShown(recycle_, p.RbRecycle);
    SetShown(interTime_, p.RbInterTime);
    for (int i = 0; i < kRbTones; ++i) {
        SetShown(freq_[i], RbFreqIndex(p.RbTone[0][i]));
        SetShown(dur_[i], p.RbTone[1][i]);
    }
    picture_->update();
    if (!writeBack) return;
    // What is shown is what is kept: a value without an entry takes the
    // value of the entry shown, by the same rules as a choice of the user.
    OnRecycle(recycle_->currentIndex());
    OnInterTime(interTime_->currentIndex());
    for (int i = 0; i < kRbTones; ++i) {
        OnFreq(i, freq_[i]->currentIndex());
        OnDur(i, dur_[i]->currentIndex());
    }
    picture_->update();
    UpdateExportButton();
}

void FrmToneTips::OnRecycle(int index)
{
    RbPatternRec& p = Shown();
    if (index < 0 || index == p.RbRecycle) return;
    EditStep step(ws(), PatternStep());
    if (index == 0 && CountDefinedPatterns(ws()) == 1) {
        // The last defined pattern stays on.
        SetShown(recycle_, p.RbRecycle);
        return;
    }
    p.RbRecycle = int16_t(index);
    RefreshRbReferences();
    UpdateExportButton();
}

void FrmToneTips::OnInterTime(int index)
{
    RbPatternRec& p = Shown();
    if (index < 0 || index == p.RbInterTime) return;
    EditStep step(ws(), PatternStep());
    p.RbInterTime = int16_t(index);
}

void FrmToneTips::OnFreq(int tone, int index)
{
    RbPatternRec& p = Shown();
    const int code = RbFreqCodeAt(index);
    if (index < 0 || code == p.RbTone[0][tone]) return;
    EditStep step(ws(), PatternStep());
    p.RbTone[0][tone] = int16_t(code);
    picture_->update();
}

void FrmToneTips::OnDur(int tone, int index)
{
    RbPatternRec& p = Shown();
    if (index < 0 || index == p.RbTone[1][tone]) return;
    if (CountDefinedPatterns(ws()) == 1) {
        bool allZero = true;
        for (int i = 0; i < kRbTones; ++i)
            if ((i == tone ? index : dur_[i]->currentIndex()) != 0) allZero = false;
        if (allZero) {
            // The last defined pattern keeps a tone.
            SetShown(dur_[tone], p.RbTone[1][tone]);
            return;
        }
    }
    EditStep step(ws(), PatternStep());
    p.RbTone[1][tone] = int16_t(index);
    picture_->update();
    RefreshRbReferences();
    UpdateExportButton();
}

void FrmToneTips::UpdateExportButton()
{
    exportWav_->setEnabled(PatternIsDefined(Shown()));
}

void FrmToneTips::ExportWav()
{
    Workspace& w = ws();
    const RbPatternRec p = Shown();
    if (!PatternIsDefined(p)) {
        w.Ask(w.T(t::NothingToPlay).arg(currentPattern_), Buttons::Ok, Icon::Information);
        return;
    }
    if (!w.asker) return;
    const QString preset = QStringLiteral("%1-rb%2.wav").arg(QFileInfo(w.CurrentFile).completeBaseName()).arg(currentPattern_);
    QString path = w.asker->saveFileName(w.T(t::ExportTitle), w.T(t::WavFilter), preset);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += ".wav";
    QString error;
    if (!SavePatternWav(path, p, 0, error)) w.Ask(w.T(t::WavNotWritten).arg(path, error), Buttons::Ok, Icon::Warning);
}

void FrmToneTips::RefreshRbReferences()
{
    ClearUndefinedRbReferences(ws());
    emit ws().Events().rogerBeepsChanged();
}

void FrmToneTips::PlayPattern()
{
    if (player_.Playing()) return;
    play_->setEnabled(false);
    const bool started = player_.Start(
        Shown(), [this] { return Shown(); }, [this] { play_->setEnabled(true); });
    if (!started) play_->setEnabled(true);
}

void FrmToneTips::StopPlayback()
{
    player_.StopPlayback();
    if (!player_.Playing()) play_->setEnabled(true);
}

void FrmToneTips::SetToneSink(ToneSink* sink)
{
    player_.SetSink(sink ? *sink : static_cast<ToneSink&>(*speaker_));
    play_->setEnabled(true);
}

void FrmToneTips::closeEvent(QCloseEvent* event)
{
    StopPlayback();
    QWidget::closeEvent(event);
}

}  // namespace kt
