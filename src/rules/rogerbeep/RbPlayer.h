// The roger-beep player: walks a pattern run by run and tone by tone and hands
// every step to a tone sink, which sounds it (or stays silent for its length)
// and reports back when the step's time is over.  The player never blocks: the
// window's event loop keeps running between and during the steps, so "Stop",
// the tabs and closing the window stay usable while a pattern plays.
#pragma once

#include "model/Model.h"

#include <QByteArray>
#include <functional>
#include <optional>

namespace kt {

// One step of playing.  Rests and pauses are silent for their length.
struct RbStep {
    enum Kind { Tone, Rest, Pause };
    Kind kind = Tone;
    int freqHz = 0;
    int ms = 0;
    bool operator==(const RbStep&) const = default;
};

// Sounds steps.  Play starts one step and calls done once its length is over
// (never from inside Play itself); Cancel forgets a pending done.
class ToneSink {
public:
    virtual ~ToneSink() = default;
    virtual void Play(const RbStep& step, std::function<void()> done) = 0;
    virtual void Cancel() = 0;
};

// A sink without sound: every step only takes its time.
class SilentToneSink : public ToneSink {
public:
    SilentToneSink();
    ~SilentToneSink() override;
    void Play(const RbStep& step, std::function<void()> done) override;
    void Cancel() override;
private:
    struct Impl;
    Impl* d_;
};

// The step sequence of one playing.  The run count and the pause are taken
// when playing starts; the tones are read from the pattern source as they are
// reached, so switching the shown pattern while playing goes on with the tones
// of the new one.
class RbSequence {
public:
    using PatternSource = std::function<RbPatternRec()>;

    // Takes the run count and pause of p; false when p has nothing to play
    // (its tones add up to 4 ms or less).
    bool PreparePlayback(const RbPatternRec& p);
    void Begin(PatternSource source);
    // The next step, or nothing when playing has ended.  A stop request ends
    // playing before the next step; a step that has started is not cut.
    std::optional<RbStep> Next();
    void RequestStop() { stopRequested_ = true; }
    bool StopRequested() const { return stopRequested_; }

    int Runs() const { return runs_; }
    int PauseMs() const { return pauseMs_; }
    int PatternTotalTime() const { return totalMs_; }

private:
    PatternSource source_;
    bool stopRequested_ = true;
    int runs_ = 0, pauseMs_ = 0, totalMs_ = 0;
    int runsDone_ = 0, tone_ = 0;
    bool finished_ = true;
};

// Plays a sequence through a sink.  finished runs once when playing has
// ended, by itself or after a stop.
class RbPlayer {
public:
    explicit RbPlayer(ToneSink& sink) : sink_(&sink) {}
    ~RbPlayer();
    void SetSink(ToneSink& sink);

    // True when playing started (false for a pattern with nothing to play).
    bool Start(const RbPatternRec& p, RbSequence::PatternSource source, std::function<void()> finished);
    void StopPlayback();
    bool Playing() const { return playing_; }
    const RbSequence& Sequence() const { return seq_; }

private:
    void Advance();
    void Finish();
    ToneSink* sink_;
    RbSequence seq_;
    std::function<void()> finished_;
    bool playing_ = false;
    bool stepRunning_ = false;
    RbStep::Kind currentKind_ = RbStep::Tone;
};

// PCM of tones: signed 16-bit little-endian mono samples.
constexpr int kToneSampleRate = 48000;
// A sine of freqHz lasting exactly ms, faded in and out over a few
// milliseconds so it starts and ends without a click.
QByteArray SynthesizeTone(int freqHz, int ms, int sampleRate = kToneSampleRate, double amplitude = 0.5);
// Silence of ms.
QByteArray SynthesizeSilence(int ms, int sampleRate = kToneSampleRate);
int SamplesFor(int ms, int sampleRate);

}  // namespace kt
