#include "Synth/Instrument.h"

#include "Synth/Drums.h"
#include "Synth/Subtractive.h"

namespace KUV::Synth {

std::unique_ptr<InstrumentBase> MakeInstrument(const Voice& voice, std::uint32_t seed)
{
    switch (voice.instrument) {
    case Instrument::Kick:
        return std::make_unique<Kick>(voice.pan, voice.decay, seed);
    case Instrument::Snare:
        return std::make_unique<Snare>(voice.pan, voice.decay, seed);
    case Instrument::Hat:
        return std::make_unique<Hat>(voice.pan, voice.decay, seed);
    default:
        break;
    }
    SubtractivePatch patch = PatchFor(voice.instrument);
    patch.amp.decay *= voice.decay;
    patch.amp.release *= voice.decay;
    patch.cutoffDecay *= voice.decay;
    return std::make_unique<Subtractive>(patch, voice.pan, seed);
}

} // namespace KUV::Synth
