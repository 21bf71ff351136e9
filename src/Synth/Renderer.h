// Renders a whole score: every voice through its instrument, the echo and room sends, the master fades.
#pragma once

#include "Synth/Audio.h"
#include "Synth/Score.h"

namespace KUV::Synth {

// The score as a stereo buffer exactly as long as its sections, not yet normalised. Deterministic: the
// same score gives the same samples.
Audio RenderScore(const Score& score);

} // namespace KUV::Synth
