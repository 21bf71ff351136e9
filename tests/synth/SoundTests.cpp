// The sound units: pitches, envelopes, panning, ducking and the echo, each measured on a few samples.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>

#include "Synth/Arrangement.h"
#include "Synth/Effects.h"
#include "Synth/Envelope.h"
#include "Synth/Instrument.h"
#include "Synth/Renderer.h"

using namespace KUV::Synth;

namespace {

Score OneBar(const std::string& body)
{
    std::istringstream in("tempo 125\nmetre 4/4\nsection s 0 1\n" + body);
    std::string error;
    auto score = ReadScore(in, "bar.score", error);
    EXPECT_TRUE(score) << error;
    return score ? *score : Score {};
}

// The strength of the frequency hz in samples [from, to) of the left channel (Goertzel).
double Strength(const Audio& audio, double hz, size_t from, size_t to)
{
    const double coefficient = 2 * std::cos(2 * std::numbers::pi * hz / SampleRate);
    double s1 = 0, s2 = 0;
    for (size_t i = from; i < to; ++i) {
        const double s0 = audio.left[i] + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return std::sqrt(s1 * s1 + s2 * s2 - coefficient * s1 * s2) / static_cast<double>(to - from);
}

double Rms(const std::vector<float>& samples, size_t from, size_t to)
{
    double sum = 0;
    for (size_t i = from; i < to; ++i)
        sum += samples[i] * samples[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

TEST(SoundTest, TonalInstrumentsSoundTheirNotesPitch)
{
    for (const char* instrument : { "lead", "bass", "pad", "pluck" }) {
        Voice voice;
        voice.instrument = OneBar(std::string("voice v ") + instrument + "\n").voices[0].instrument;
        Audio audio(SampleRate);
        MakeInstrument(voice, 1)->Play({ 0, 0.5, 57, 1, 1 }, audio); // A3, 220 Hz
        const double on = Strength(audio, 220, 2000, 12000);
        EXPECT_GT(on, 5 * Strength(audio, 233.1, 2000, 12000)) << instrument;
        EXPECT_GT(on, 5 * Strength(audio, 207.7, 2000, 12000)) << instrument;
    }
}

TEST(SoundTest, EnvelopesRiseHoldAndReleaseToZero)
{
    const Envelope envelope({ 0.01, 0.1, 0.5, 0.2 }, 1.0);
    EXPECT_DOUBLE_EQ(envelope.At(-0.1), 0);
    EXPECT_DOUBLE_EQ(envelope.At(0.005), 0.5);
    EXPECT_NEAR(envelope.At(0.9), 0.5, 1e-6);
    EXPECT_NEAR(envelope.At(1.1), 0.25, 1e-6);
    EXPECT_NEAR(envelope.At(1.2), 0, 1e-12);
    EXPECT_DOUBLE_EQ(envelope.At(1.21), 0);
    EXPECT_DOUBLE_EQ(envelope.Length(), 1.2);
}

TEST(SoundTest, PanPutsAVoiceOnItsSide)
{
    const Audio audio
        = RenderScore(OneBar("voice h hat pan -1\npattern h a\n  X...............\nend\narrange s\n  h a\nend\n"));
    EXPECT_GT(Rms(audio.left, 0, 4000), 0.01);
    EXPECT_LT(Rms(audio.right, 0, 4000), 1e-6);
}

TEST(SoundTest, ADuckedVoiceDipsUnderEveryKick)
{
    const Score score = OneBar("voice k kick\nvoice p pad duck 0.8\npattern k a\n  ....X...........\nend\n"
                               "pattern p a\n  Am:16\nend\narrange s\n  p a\n  k a\nend\n");
    Score padOnly = score;
    padOnly.voices[0].gainDb = -200; // the kick still ducks, but is not heard
    const Audio audio = RenderScore(padOnly);
    const auto kick = static_cast<size_t>(0.48 * SampleRate);
    const double before = Rms(audio.left, kick - 1500, kick), after = Rms(audio.left, kick + 200, kick + 1700);
    EXPECT_LT(after, before * 0.5);
}

TEST(SoundTest, TransposeMovesNotesAndChords)
{
    const Score score = OneBar("voice l lead\nvoice p pad\npattern l a\n  A4:16\nend\npattern p a\n  Am:16\nend\n"
                               "arrange s\n  l a transpose -12\n  p a transpose 7\nend\n");
    EXPECT_EQ(VoiceNotes(score, score.voices[0])[0].midi, 57);
    const auto chord = VoiceNotes(score, score.voices[1]);
    ASSERT_EQ(chord.size(), 3u);
    EXPECT_EQ(chord[0].midi, 57 + 7);
}

TEST(SoundTest, TheEchoRepeatsOnTheOtherSideDarkerEachTime)
{
    std::vector<float> send(1000, 0);
    send[0] = 1;
    const Audio wet = PingPongDelay(100.0 / SampleRate, 0.5, 0).Process(send);
    EXPECT_FLOAT_EQ(wet.left[100], 1);
    EXPECT_FLOAT_EQ(wet.right[100], 0);
    EXPECT_FLOAT_EQ(wet.right[200], 0.5);
    EXPECT_FLOAT_EQ(wet.left[300], 0.25);
    EXPECT_FLOAT_EQ(wet.left[150], 0);
}

} // namespace
