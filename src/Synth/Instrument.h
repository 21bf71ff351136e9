// The sound sources: each turns one note into samples added to a stereo buffer.
#pragma once

#include <cstdint>
#include <memory>

#include "Synth/Audio.h"
#include "Synth/Score.h"

namespace KUV::Synth {

struct Note {
    double start = 0; // seconds
    double length = 0; // seconds the note is held
    double midi = 69; // pitch; drums ignore it
    double velocity = 1;
    double bright = 1; // scales the filter opening
};

class InstrumentBase {
public:
    virtual ~InstrumentBase() = default;
    // Adds the note, its release tail included, into out at the voice's pan; a tail past the end is dropped.
    virtual void Play(const Note& note, Audio& out) = 0;
};

// The instrument of a voice, its noise seeded with seed.
std::unique_ptr<InstrumentBase> MakeInstrument(const Voice& voice, std::uint32_t seed);

} // namespace KUV::Synth
