#include "gui/rogerbeep/GuiToneSink.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <cstring>

namespace kt {

// A pull device that hands the audio output one step after the other and
// silence between playings.  A step's done runs when its last sample has
// been handed over, and the next step it starts follows without a gap.
//
// An output that takes samples faster than it plays them (a file or pipe
// rather than a sound card) would rush the player; steps therefore also wait
// for the wall clock, allowing the output's own buffer as lead.
class ToneStream : public QIODevice {
public:
    ToneStream(int sampleRate, int channels, QObject* parent)
        : QIODevice(parent), rate_(sampleRate), channels_(channels)
    {
        // A moment of silence first, so a freshly opened output does not
        // swallow the start of the first tone.
        leadIn_ = Frames(kLeadInMs);
    }

    // Called with the time to wait when a finished step is held for the clock.
    std::function<void(int ms)> onHold;

    void Queue(const RbStep& step, std::function<void()> done)
    {
        if (!clock_.isValid() || idleBytes_ > 0) {
            // A new playing: its steps are timed from now.
            clock_.restart();
            scheduledMs_ = 0;
        }
        scheduledMs_ += std::max(step.ms, 0);
        QByteArray mono = step.kind == RbStep::Tone ? SynthesizeTone(step.freqHz, step.ms, rate_)
                                                    : SynthesizeSilence(step.ms, rate_);
        if (channels_ > 1) {
            QByteArray wide(mono.size() * channels_, Qt::Uninitialized);
            for (qsizetype s = 0; s < mono.size() / 2; ++s)
                for (int c = 0; c < channels_; ++c)
                    std::memcpy(wide.data() + (s * channels_ + c) * 2, mono.constData() + s * 2, 2);
            mono = wide;
        }
        pcm_ = mono;
        pos_ = 0;
        done_ = std::move(done);
        idleBytes_ = 0;
    }
    std::function<void()> TakeDone()
    {
        auto d = done_ ? std::move(done_) : std::move(held_);
        Drop();
        return d;
    }
    void Drop()
    {
        pcm_.clear();
        pos_ = 0;
        done_ = nullptr;
        held_ = nullptr;
    }
    // Lets a held step end (its time has come).
    void Release()
    {
        auto d = std::move(held_);
        held_ = nullptr;
        if (d) d();
    }
    bool Busy() const { return bool(done_) || bool(held_); }
    // Bytes of silence handed over since the last playing ended.
    qint64 IdleBytes() const { return idleBytes_; }
    qint64 BytesPerSecond() const { return qint64(rate_) * channels_ * 2; }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        // Always something to give: the output must keep pulling between steps.
        return QIODevice::bytesAvailable() + std::max<qint64>(pcm_.size() - pos_, 0) + BytesPerSecond() / 10;
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 frame = 2 * channels_;
        maxSize -= maxSize % frame;
        qint64 filled = 0;
        if (leadIn_ > 0) {
            const qint64 n = std::min(leadIn_, maxSize);
            std::memset(data, 0, size_t(n));
            leadIn_ -= n;
            filled = n;
        }
        while (filled < maxSize) {
            if (done_) {
                const qint64 n = std::min<qint64>(pcm_.size() - pos_, maxSize - filled);
                std::memcpy(data + filled, pcm_.constData() + pos_, size_t(n));
                pos_ += n;
                filled += n;
                if (pos_ >= pcm_.size()) {
                    auto done = std::move(done_);
                    done_ = nullptr;
                    pcm_.clear();
                    pos_ = 0;
                    const qint64 early = scheduledMs_ - kLeadMs - clock_.elapsed();
                    if (early > 0 && onHold) {
                        held_ = std::move(done);
                        onHold(int(early));
                    } else {
                        done();     // may queue the next step at once
                    }
                }
            } else {
                std::memset(data + filled, 0, size_t(maxSize - filled));
                if (!held_) idleBytes_ += maxSize - filled;
                filled = maxSize;
            }
        }
        return filled;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    static constexpr int kLeadInMs = 100;
    static constexpr int kLeadMs = 150;
    qint64 Frames(int ms) const { return qint64(SamplesFor(ms, rate_)) * channels_ * 2; }

    int rate_;
    int channels_;
    QByteArray pcm_;
    qint64 pos_ = 0;
    qint64 idleBytes_ = 0;
    qint64 leadIn_ = 0;
    qint64 scheduledMs_ = 0;
    QElapsedTimer clock_;
    std::function<void()> done_;
    std::function<void()> held_;
};

GuiToneSink::GuiToneSink(QObject* parent) : QObject(parent)
{
    release_.setSingleShot(true);
    release_.setTimerType(Qt::PreciseTimer);
    connect(&release_, &QTimer::timeout, this, [this] {
        if (stream_) stream_->Release();
    });
    watchdog_.setSingleShot(true);
    connect(&watchdog_, &QTimer::timeout, this, [this] {
        if (stream_ && stream_->Busy()) FallBackToSilence();
    });
    // The output is let go once it has played silence for a while.
    idleClose_.setInterval(500);
    connect(&idleClose_, &QTimer::timeout, this, [this] {
        if (stream_ && !stream_->Busy() && stream_->IdleBytes() > stream_->BytesPerSecond()) CloseOutput();
    });
}

GuiToneSink::~GuiToneSink()
{
    Cancel();
    CloseOutput();
}

bool GuiToneSink::OpenOutput()
{
    if (output_) return true;
    if (silent_) return false;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        silent_ = true;
        return false;
    }
    QAudioFormat f;
    f.setSampleFormat(QAudioFormat::Int16);
    f.setChannelCount(1);
    f.setSampleRate(kToneSampleRate);
    if (!device.isFormatSupported(f)) {
        f.setChannelCount(2);
        if (!device.isFormatSupported(f)) {
            f.setSampleRate(device.preferredFormat().sampleRate());
            f.setChannelCount(std::clamp(device.preferredFormat().channelCount(), 1, 2));
            if (!device.isFormatSupported(f)) {
                silent_ = true;
                return false;
            }
        }
    }
    format_ = f;
    stream_ = new ToneStream(f.sampleRate(), f.channelCount(), this);
    stream_->open(QIODevice::ReadOnly);
    stream_->onHold = [this](int ms) { release_.start(ms); };
    output_ = new QAudioSink(device, f, this);
    // A short buffer keeps the player close to what is heard, so a stop
    // takes effect at the next tone the user hears.
    output_->setBufferSize(int(stream_->BytesPerSecond() / 10));
    connect(output_, &QAudioSink::stateChanged, this, [this](QAudio::State s) {
        if (s == QAudio::StoppedState && output_ && output_->error() != QAudio::NoError)
            QMetaObject::invokeMethod(this, [this] { FallBackToSilence(); }, Qt::QueuedConnection);
    });
    output_->start(stream_);
    if (output_->error() != QAudio::NoError || output_->state() == QAudio::StoppedState) {
        CloseOutput();
        silent_ = true;
        return false;
    }
    idleClose_.start();
    return true;
}

void GuiToneSink::CloseOutput()
{
    idleClose_.stop();
    if (output_) {
        output_->disconnect(this);
        output_->stop();
        output_->deleteLater();
        output_ = nullptr;
    }
    if (stream_) {
        stream_->Drop();
        stream_->deleteLater();
        stream_ = nullptr;
    }
}

void GuiToneSink::Play(const RbStep& step, std::function<void()> done)
{
    if (!OpenOutput()) {
        timing_.Play(step, std::move(done));
        return;
    }
    stream_->Queue(step, std::move(done));
    // Should the output stop pulling, the player still goes on in silence.
    watchdog_.start(std::max(step.ms, 0) + 2000);
}

void GuiToneSink::Cancel()
{
    watchdog_.stop();
    release_.stop();
    timing_.Cancel();
    if (stream_) stream_->Drop();
}

void GuiToneSink::FallBackToSilence()
{
    watchdog_.stop();
    release_.stop();
    silent_ = true;
    std::function<void()> pending = stream_ ? stream_->TakeDone() : nullptr;
    CloseOutput();
    // The step that waited on the output ends now; the player goes on silently.
    if (pending) QTimer::singleShot(0, this, pending);
}

}  // namespace kt
