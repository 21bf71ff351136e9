// The arrangement laid out in time: every part's pattern repeated over its bars, chords voiced and broken.
#pragma once

#include <vector>

#include "Synth/Instrument.h"
#include "Synth/Score.h"

namespace KUV::Synth {

// The notes the voice plays, in time order.
std::vector<Note> VoiceNotes(const Score& score, const Voice& voice);

// The chord's tones in the inversion and octave whose average pitch lies nearest the C above octave (C4 for 3),
// so that chords in a row move as little as possible.
std::vector<int> VoiceChord(int root, const std::vector<int>& intervals, int octave);

// The master level at t seconds, from the score's fades.
double FadeLevel(const Score& score, double t);

// Seconds from the first bar to the end of the last section.
double ScoreSeconds(const Score& score);

} // namespace KUV::Synth
