#include "rules/rogerbeep/RbPlayer.h"

#include <QTimer>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace kt {

// ---- silent sink -----------------------------------------------------------

struct SilentToneSink::Impl {
    QTimer timer;
    std::function<void()> done;
};

SilentToneSink::SilentToneSink() : d_(new Impl)
{
    d_->timer.setSingleShot(true);
    d_->timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&d_->timer, &QTimer::timeout, [this] {
        auto done = std::move(d_->done);
        d_->done = nullptr;
        if (done) done();
    });
}

SilentToneSink::~SilentToneSink() { delete d_; }

void SilentToneSink::Play(const RbStep& step, std::function<void()> done)
{
    d_->done = std::move(done);
    d_->timer.start(std::max(step.ms, 0));
}

void SilentToneSink::Cancel()
{
    d_->timer.stop();
    d_->done = nullptr;
}

// ---- sequence --------------------------------------------------------------

bool RbSequence::PreparePlayback(const RbPatternRec& p)
{
    stopRequested_ = false;
    runs_ = std::clamp<int>(p.RbRecycle, 0, 255);
    pauseMs_ = std::max<int>(p.RbInterTime, 0) * 10;
    totalMs_ = 0;
    for (int i = 0; i < kRbTones; ++i) totalMs_ += std::max<int>(p.RbTone[1][i], 0) * 10;
    finished_ = true;
    return totalMs_ > 4;
}

void RbSequence::Begin(PatternSource source)
{
    source_ = std::move(source);
    runsDone_ = 0;
    tone_ = 0;
    finished_ = runs_ == 0;
}

std::optional<RbStep> RbSequence::Next()
{
    if (finished_ || stopRequested_ || !source_) {
        finished_ = true;
        return std::nullopt;
    }
    while (tone_ < kRbTones) {
        const int i = tone_++;
        const RbPatternRec p = source_();
        const int ms = p.RbTone[1][i] * 10;
        if (ms <= 4) continue;
        const int hz = p.RbTone[0][i] * 10;
        if (hz > 48) return RbStep{RbStep::Tone, hz, ms};
        return RbStep{RbStep::Rest, 0, ms};
    }
    // The run is over: its pause follows, then the next run starts.
    tone_ = 0;
    ++runsDone_;
    if (runsDone_ >= runs_) finished_ = true;
    return RbStep{RbStep::Pause, 0, pauseMs_};
}

// ---- player ----------------------------------------------------------------

RbPlayer::~RbPlayer()
{
    if (playing_) sink_->Cancel();
}

void RbPlayer::SetSink(ToneSink& sink)
{
    if (playing_) {
        sink_->Cancel();
        playing_ = false;
    }
    sink_ = &sink;
}

bool RbPlayer::Start(const RbPatternRec& p, RbSequence::PatternSource source, std::function<void()> finished)
{
    if (playing_) return false;
    if (!seq_.PreparePlayback(p)) {
        seq_.RequestStop();
        return false;
    }
    finished_ = std::move(finished);
    playing_ = true;
    seq_.Begin(std::move(source));
    Advance();
    return true;
}

void RbPlayer::Advance()
{
    stepRunning_ = false;
    const auto step = seq_.Next();
    if (!step) {
        Finish();
        return;
    }
    stepRunning_ = true;
    currentKind_ = step->kind;
    sink_->Play(*step, [this] { Advance(); });
}

void RbPlayer::StopPlayback()
{
    seq_.RequestStop();
    if (!playing_) return;
    // A sounding tone is finished; a rest or pause has nothing to finish.
    if (!stepRunning_ || currentKind_ != RbStep::Tone) {
        sink_->Cancel();
        Finish();
    }
}

void RbPlayer::Finish()
{
    if (!playing_) return;
    playing_ = false;
    stepRunning_ = false;
    seq_.RequestStop();
    auto finished = std::move(finished_);
    finished_ = nullptr;
    if (finished) finished();
}

// ---- synthesis -------------------------------------------------------------

int SamplesFor(int ms, int sampleRate) { return int((int64_t(std::max(ms, 0)) * sampleRate + 500) / 1000); }

QByteArray SynthesizeTone(int freqHz, int ms, int sampleRate, double amplitude)
{
    const int n = SamplesFor(ms, sampleRate);
    QByteArray pcm(n * 2, Qt::Uninitialized);
    // Fades of 5 ms, shorter for very short tones, shaped as half a cosine.
    const int fade = std::max(1, std::min(SamplesFor(5, sampleRate), n / 4));
    const double step = 2.0 * std::numbers::pi * freqHz / sampleRate;
    const double peak = std::clamp(amplitude, 0.0, 1.0) * 32767.0;
    auto* out = reinterpret_cast<uchar*>(pcm.data());
    // The sine by rotation, restarted from the exact value every block so
    // rounding cannot build up; a minute of tone costs a few milliseconds.
    const double c = std::cos(step), s = std::sin(step);
    double re = 1.0, im = 0.0;
    for (int k = 0; k < n; ++k) {
        if ((k & 1023) == 0) {
            re = std::cos(step * k);
            im = std::sin(step * k);
        }
        double gain = 1.0;
        if (k < fade) gain = 0.5 - 0.5 * std::cos(std::numbers::pi * k / fade);
        else if (k >= n - fade) gain = 0.5 - 0.5 * std::cos(std::numbers::pi * (n - 1 - k) / fade);
        const double v = peak * gain * im;
        qToLittleEndian<qint16>(qint16(v >= 0 ? int(v + 0.5) : -int(-v + 0.5)), out + 2 * k);
        const double r = re * c - im * s;
        im = re * s + im * c;
        re = r;
    }
    return pcm;
}

QByteArray SynthesizeSilence(int ms, int sampleRate) { return QByteArray(SamplesFor(ms, sampleRate) * 2, '\0'); }

}  // namespace kt
