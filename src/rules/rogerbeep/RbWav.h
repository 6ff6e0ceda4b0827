// A roger-beep pattern as a sound file: the steps the player plays (tones,
// rests, the pause after each run, every run), synthesised by the player's own
// tone synthesis and laid end to end as the player's stream lays them.
#pragma once

#include "rules/rogerbeep/RbPlayer.h"

#include <QByteArray>
#include <QString>

namespace kt {

// The PCM of one playing of p: signed 16-bit little-endian mono at
// sampleRate.  runs > 0 replaces the pattern's recycle count.  Empty when the
// pattern has nothing to play.
QByteArray PatternPcm(const RbPatternRec& p, int runs = 0, int sampleRate = kToneSampleRate);

// A complete RIFF/WAVE file (PCM, 16 bits, one channel) around pcm.
QByteArray WavFile(const QByteArray& pcm, int sampleRate = kToneSampleRate);

// The WAV file of one playing of p (48 kHz), built in one buffer; empty when
// the pattern has nothing to play.
QByteArray PatternWav(const RbPatternRec& p, int runs = 0);

// Writes the WAV file of p to path through a temporary file renamed at the
// end, so a failed write leaves no partial file and an earlier file intact.
// On failure returns false with what went wrong in error.
bool SavePatternWav(const QString& path, const RbPatternRec& p, int runs, QString& error);

}  // namespace kt
