#include "Synth/Renderer.h"

#include <algorithm>
#include <cmath>

#include "Synth/Arrangement.h"
#include "Synth/Effects.h"

namespace KUV::Synth {

namespace {

struct Buses {
    explicit Buses(size_t frames)
        : mix(frames)
        , delay(frames, 0)
        , reverb(frames, 0)
    {
    }
    Audio mix;
    std::vector<float> delay;
    std::vector<float> reverb;
};

std::vector<double> KickTimes(const Score& score)
{
    std::vector<double> times;
    for (const auto& voice : score.voices)
        if (voice.instrument == Instrument::Kick)
            for (const auto& note : VoiceNotes(score, voice))
                times.push_back(note.start);
    std::sort(times.begin(), times.end());
    return times;
}

// The voice's level over time: it dips on every kick and comes back within a beat.
std::vector<float> DuckLevels(const std::vector<double>& kicks, double depth, size_t frames)
{
    std::vector<float> levels(frames, 1.0f);
    for (size_t k = 0; k < kicks.size(); ++k) {
        const auto from = static_cast<size_t>(kicks[k] * SampleRate);
        const size_t to = std::min(
            frames, k + 1 < kicks.size() ? static_cast<size_t>(kicks[k + 1] * SampleRate) : from + SampleRate);
        for (size_t i = from; i < to; ++i) {
            const double t = static_cast<double>(i - from) / SampleRate;
            const double dip = std::min(1.0, t / 0.004) * std::exp(-t / 0.11);
            levels[i] = static_cast<float>(1 - depth * dip);
        }
    }
    return levels;
}

void MixVoice(Buses& buses, const Score& score, size_t index, const std::vector<double>& kicks)
{
    const Voice& voice = score.voices[index];
    Audio dry(buses.mix.Frames());
    auto instrument = MakeInstrument(voice, score.seed * 2654435761u + static_cast<std::uint32_t>(index) * 40503u);
    for (const auto& note : VoiceNotes(score, voice))
        instrument->Play(note, dry);
    const auto gain = static_cast<float>(std::pow(10.0, voice.gainDb / 20));
    const auto ducks = voice.duck > 0 ? DuckLevels(kicks, voice.duck, dry.Frames()) : std::vector<float>();
    for (size_t i = 0; i < dry.Frames(); ++i) {
        const float level = gain * (ducks.empty() ? 1.0f : ducks[i]);
        const float left = dry.left[i] * level, right = dry.right[i] * level;
        buses.mix.left[i] += left;
        buses.mix.right[i] += right;
        buses.delay[i] += static_cast<float>((left + right) * 0.5 * voice.delaySend);
        buses.reverb[i] += static_cast<float>((left + right) * 0.5 * voice.reverbSend);
    }
}

void AddReturn(Audio& mix, const Audio& wet, float level)
{
    for (size_t i = 0; i < mix.Frames(); ++i) {
        mix.left[i] += wet.left[i] * level;
        mix.right[i] += wet.right[i] * level;
    }
}

void ApplyFades(Audio& mix, const Score& score)
{
    for (size_t i = 0; i < mix.Frames(); ++i) {
        const auto level = static_cast<float>(FadeLevel(score, static_cast<double>(i) / SampleRate));
        mix.left[i] *= level;
        mix.right[i] *= level;
    }
}

} // namespace

Audio RenderScore(const Score& score)
{
    Buses buses(static_cast<size_t>(std::llround(ScoreSeconds(score) * SampleRate)));
    const auto kicks = KickTimes(score);
    for (size_t index = 0; index < score.voices.size(); ++index)
        MixVoice(buses, score, index, kicks);
    const double beat = 60.0 / score.bpm;
    {
        const Audio echo = PingPongDelay(beat * 0.75, 0.42, 0.3).Process(buses.delay);
        AddReturn(buses.mix, echo, 0.55f);
        for (size_t i = 0; i < echo.Frames(); ++i)
            buses.reverb[i] += (echo.left[i] + echo.right[i]) * 0.15f;
    }
    AddReturn(buses.mix, Reverb(0.82, 0.35).Process(buses.reverb), 1.0f);
    ApplyFades(buses.mix, score);
    return std::move(buses.mix);
}

} // namespace KUV::Synth
