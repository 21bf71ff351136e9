// Rendering: the same score gives the same samples, the sounds land where the score puts them, fades reach
// silence, levels are normalised and limited as asked, and WAV files carry the samples.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "Synth/Arrangement.h"
#include "Synth/Audio.h"
#include "Synth/Filter.h"
#include "Synth/Renderer.h"
#include "Synth/Score.h"

using namespace KUV::Synth;

namespace {

// Two bars at 125 BPM (1920 ms each) with the given voices, patterns and arrangement of section "s".
Score Tiny(const std::string& body)
{
    std::istringstream in("tempo 125\nmetre 4/4\nseed 3\nsection s 0 2\n" + body);
    std::string error;
    auto score = ReadScore(in, "tiny.score", error);
    EXPECT_TRUE(score) << error;
    return score ? *score : Score {};
}

const char* const Band = R"(
voice k kick
voice h hat pan 0.4
voice b bass duck 0.5
voice p pad reverb 0.5
voice a pluck arpeggio 2 delay 0.4
voice l lead delay 0.3 reverb 0.3
pattern k four
  X...X...X...X...
end
pattern h off
  ..x...x...x...x.
end
pattern b line
  A2:4*4 | F2:8 G2:8
end
pattern p chords
  Am:16 | F:8 G:8
end
pattern a chords
  Am:16 | F:8 G:8
end
pattern l tune
  A4:4 C5:4 E5:8 | D5:16
end
arrange s
  k four
  h off
  b line
  p chords
  a chords
  l tune
  fadeout 1-2
end
)";

// Mean square of the left channel over [from, to) seconds after a low-pass at 150 Hz.
double LowEnergy(const Audio& audio, double from, double to)
{
    Filter low(Filter::Mode::LowPass, 150);
    double sum = 0;
    const auto a = static_cast<size_t>(from * SampleRate), b = static_cast<size_t>(to * SampleRate);
    for (size_t i = 0; i < b; ++i) {
        const double value = low.Process(audio.left[i]);
        if (i >= a) sum += value * value;
    }
    return sum / static_cast<double>(b - a);
}

TEST(RenderTest, TheSameScoreGivesTheSameSamples)
{
    const Score score = Tiny(Band);
    auto first = RenderScore(score);
    auto second = RenderScore(score);
    EXPECT_EQ(first.Frames(), static_cast<size_t>(3.84 * SampleRate));
    EXPECT_GT(Peak(first), 0.01);
    NormalisePeak(first, -1.5);
    NormalisePeak(second, -1.5);
    EXPECT_EQ(EncodeWav(first), EncodeWav(second));
}

TEST(RenderTest, AKickOnTheSecondBeatPutsLowEnergyThere)
{
    const Audio audio
        = RenderScore(Tiny("voice k kick\npattern k one\n  ....X...........\nend\narrange s\n  k one\nend\n"));
    const double beat = 0.48;
    const double before = LowEnergy(audio, 0, beat), on = LowEnergy(audio, beat, 2 * beat);
    EXPECT_EQ(before, 0);
    EXPECT_GT(on, 1e-3);
    EXPECT_GT(on, 10 * LowEnergy(audio, 2 * beat, 3 * beat));
}

TEST(RenderTest, TheFinalFadeReachesSilence)
{
    const Audio audio = RenderScore(Tiny(Band));
    const size_t frames = audio.Frames();
    double early = 0, late = 0;
    for (size_t i = frames / 4; i < frames / 2; ++i)
        early = std::max(early, static_cast<double>(std::fabs(audio.left[i])));
    for (size_t i = frames - SampleRate / 100; i < frames; ++i)
        late = std::max(
            { late, static_cast<double>(std::fabs(audio.left[i])), static_cast<double>(std::fabs(audio.right[i])) });
    EXPECT_GT(early, 0.05);
    EXPECT_LT(late, early * 1e-4);
    EXPECT_LT(std::fabs(audio.left.back()), 0.5f / 32768); // zero as a 16-bit sample
    EXPECT_DOUBLE_EQ(FadeLevel(Tiny(Band), 1.92 + 0.96), 0.25);
}

TEST(RenderTest, PeaksAreNormalisedAndLimited)
{
    Audio audio(1000);
    for (size_t i = 0; i < audio.Frames(); ++i) {
        audio.left[i] = 0.1f * std::sin(i * 0.05f);
        audio.right[i] = -audio.left[i];
    }
    audio.left[500] = 0.8f; // one transient, 18 dB above the rest
    Audio limited = audio;
    NormalisePeak(audio, -1.5);
    EXPECT_NEAR(PeakDbfs(audio), -1.5, 1e-4);
    Limit(limited, 6);
    EXPECT_LE(Peak(limited), 1.0);
    // Away from the transient the gain is the full 6 dB raise.
    EXPECT_NEAR(limited.right[100] / -0.1f / std::sin(100 * 0.05f), std::pow(10.0, 0.3) / 0.8, 1e-3);
    EXPECT_NEAR(limited.left[500], 1.0f, 1e-6);

    Audio silence(100);
    NormalisePeak(silence, -1.5);
    EXPECT_EQ(Peak(silence), 0);
}

TEST(RenderTest, ArpeggiosClimbAndFallThroughTheChord)
{
    const Score score = Tiny("voice a pluck arpeggio 1\npattern a c\n  Am:32\nend\narrange s\n  a c bars 1-2\nend\n");
    const auto notes = VoiceNotes(score, score.voices[0]);
    ASSERT_EQ(notes.size(), 16u); // the pattern's second bar only
    EXPECT_DOUBLE_EQ(notes[0].start, 1.92);
    const int expected[] = { 57, 60, 64, 69, 72, 76, 72, 69, 64, 60, 57, 60 };
    for (size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(notes[i].midi, expected[i]) << i;
}

TEST(RenderTest, WavFilesCarryTheSamples)
{
    Audio audio(3);
    audio.left = { 0.5f, -1.5f, 0 };
    audio.right = { 0, 1, -0.25f };
    const auto bytes = EncodeWav(audio);
    ASSERT_EQ(bytes.size(), 44u + 12);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), "WAVE");
    EXPECT_EQ(bytes[24] | bytes[25] << 8 | bytes[26] << 16, SampleRate);
    const auto sample
        = [&](size_t index) { return static_cast<std::int16_t>(bytes[44 + 2 * index] | bytes[45 + 2 * index] << 8); };
    EXPECT_EQ(sample(0), 16384);
    EXPECT_EQ(sample(2), -32767); // clamped
    EXPECT_EQ(sample(3), 32767);
    EXPECT_EQ(sample(5), -8192);
    std::string error;
    EXPECT_FALSE(WriteWav(audio, "/nonexistent/x.wav", error));
    EXPECT_EQ(error, "/nonexistent/x.wav: cannot write the sound file");
}

} // namespace
