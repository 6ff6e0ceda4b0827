// The speaker of the roger-beep player: synthesised tones played through the
// default audio output as one continuous stream, so tones, rests and pauses
// keep their lengths to the sample.  Without an audio output (or when the
// output fails) the same steps only take their time, in silence.
#pragma once

#include "rules/rogerbeep/RbPlayer.h"

#include <QAudioFormat>
#include <QIODevice>
#include <QTimer>
#include <memory>

class QAudioSink;

namespace kt {

class ToneStream;

class GuiToneSink : public QObject, public ToneSink {
    Q_OBJECT
public:
    explicit GuiToneSink(QObject* parent = nullptr);
    ~GuiToneSink() override;

    void Play(const RbStep& step, std::function<void()> done) override;
    void Cancel() override;
    // True while tones go to an audio output (false: silent timing).
    bool HasAudio() const { return !silent_; }

private:
    bool OpenOutput();
    void CloseOutput();
    void FallBackToSilence();

    bool silent_ = false;
    bool triedOutput_ = false;
    QAudioFormat format_;
    QAudioSink* output_ = nullptr;
    ToneStream* stream_ = nullptr;
    SilentToneSink timing_;
    QTimer watchdog_;
    QTimer release_;
    QTimer idleClose_;
};

}  // namespace kt
