// The score reader: the header, the section table, voices, patterns and the arrangement, and every fault
// reported with its line.
#include <gtest/gtest.h>

#include <sstream>

#include "Synth/Arrangement.h"
#include "Synth/Pitch.h"
#include "Synth/Score.h"

using namespace KUV::Synth;

namespace {

const char* const Valid = R"(# a small score
tempo 120
metre 3/4
key A minor
seed 7

section a 0 2
section b 2 1

voice k kick gain -3 pan 0.5
voice p pad octave 4 reverb 0.4 duck 0.3
voice l lead delay 0.2 decay 2

pattern k beat
  X...x...x-.. | x.*6
end
pattern p chords
  Am:12 | Fmaj7:6 C#:6
end
pattern l tune
  [A4:2 r:1 C#5:1]*2 Bb3:4 |
  G#4:12 # a sharp before a comment
end

arrange a
  k beat
  p chords bars 1-2 gain -6 bright 1.5
  fadein 0-1
end
arrange b
  l tune transpose 12
  fadeout 0-1
end
)";

std::optional<Score> Read(const std::string& text, std::string& error)
{
    std::istringstream in(text);
    return ReadScore(in, "t.score", error);
}

TEST(ScoreTest, ReadsHeaderSectionsAndVoices)
{
    std::string error;
    const auto score = Read(Valid, error);
    ASSERT_TRUE(score) << error;
    EXPECT_EQ(score->bpm, 120);
    EXPECT_EQ(score->beatsPerBar, 3);
    EXPECT_EQ(score->key, "A minor");
    EXPECT_EQ(score->seed, 7u);
    EXPECT_DOUBLE_EQ(score->MsPerBar(), 1500);
    ASSERT_EQ(score->sections.size(), 2u);
    EXPECT_EQ(score->sections[1].name, "b");
    EXPECT_EQ(score->sections[1].startBar, 2);
    EXPECT_EQ(score->sections[1].bars, 1);
    EXPECT_EQ(score->SectionStartMs(1), 3000);
    EXPECT_EQ(score->TotalBars(), 3);
    const Voice* pad = score->FindVoice("p");
    ASSERT_TRUE(pad);
    EXPECT_EQ(pad->instrument, Instrument::Pad);
    EXPECT_EQ(pad->octave, 4);
    EXPECT_DOUBLE_EQ(pad->reverbSend, 0.4);
    EXPECT_DOUBLE_EQ(pad->duck, 0.3);
    EXPECT_DOUBLE_EQ(score->FindVoice("k")->gainDb, -3);
    EXPECT_DOUBLE_EQ(score->FindVoice("l")->decay, 2);
}

TEST(ScoreTest, ReadsGridsNotesChordsAndRepeats)
{
    std::string error;
    const auto score = Read(Valid, error);
    ASSERT_TRUE(score) << error;
    const Pattern* beat = score->FindPattern("k", "beat");
    ASSERT_TRUE(beat);
    EXPECT_EQ(beat->steps, 24);
    ASSERT_EQ(beat->events.size(), 9u);
    EXPECT_EQ(beat->events[1].step, 4);
    EXPECT_DOUBLE_EQ(beat->events[0].velocity, 1.0);
    EXPECT_LT(beat->events[1].velocity, 1.0);
    EXPECT_EQ(beat->events[3].step, 12);

    const Pattern* chords = score->FindPattern("p", "chords");
    ASSERT_EQ(chords->events.size(), 3u);
    EXPECT_EQ(chords->events[0].chordRoot, 9);
    EXPECT_EQ(chords->events[0].chordIntervals, (std::vector<int> { 0, 3, 7 }));
    EXPECT_EQ(chords->events[1].chordIntervals, (std::vector<int> { 0, 4, 7, 11 }));
    EXPECT_EQ(chords->events[2].chordRoot, 1);
    EXPECT_EQ(chords->events[2].step, 18);

    const Pattern* tune = score->FindPattern("l", "tune");
    ASSERT_EQ(tune->steps, 24);
    ASSERT_EQ(tune->events.size(), 6u);
    EXPECT_EQ(tune->events[0].pitches, std::vector<int> { 69 });
    EXPECT_EQ(tune->events[1].pitches, std::vector<int> { 73 });
    EXPECT_EQ(tune->events[2].step, 4);
    EXPECT_EQ(tune->events[4].pitches, std::vector<int> { 58 });
    EXPECT_EQ(tune->events[5].pitches, std::vector<int> { 68 });
    EXPECT_EQ(tune->events[5].length, 12);
}

TEST(ScoreTest, ReadsTheArrangement)
{
    std::string error;
    const auto score = Read(Valid, error);
    ASSERT_TRUE(score) << error;
    ASSERT_EQ(score->parts.size(), 3u);
    EXPECT_EQ(score->parts[0].fromBar, 0);
    EXPECT_EQ(score->parts[0].toBar, 2);
    EXPECT_EQ(score->parts[1].fromBar, 1);
    EXPECT_DOUBLE_EQ(score->parts[1].gainDb, -6);
    EXPECT_DOUBLE_EQ(score->parts[1].bright, 1.5);
    EXPECT_EQ(score->parts[2].section, 1u);
    EXPECT_EQ(score->parts[2].transpose, 12);
    ASSERT_EQ(score->fades.size(), 2u);
    EXPECT_TRUE(score->fades[0].fadeIn);
    EXPECT_EQ(score->fades[1].startBar, 2);
    EXPECT_EQ(score->fades[1].endBar, 3);
}

// Replaces the first occurrence of what in the valid score.
std::string Broken(const std::string& what, const std::string& with)
{
    std::string text = Valid;
    text.replace(text.find(what), what.size(), with);
    return text;
}

// Each voice option lands in its own field, whole numbers as whole numbers.
TEST(ScoreTest, EveryVoiceOptionSetsItsOwnField)
{
    std::string error;
    const auto score = Read(Broken("voice l lead delay 0.2 decay 2",
                                "voice l lead gain -7 pan -0.25 delay 0.125 reverb 0.375 decay 3.5 duck 0.625 "
                                "octave 5 arpeggio 3"),
        error);
    ASSERT_TRUE(score) << error;
    const Voice* lead = score->FindVoice("l");
    ASSERT_TRUE(lead);
    EXPECT_DOUBLE_EQ(lead->gainDb, -7);
    EXPECT_DOUBLE_EQ(lead->pan, -0.25);
    EXPECT_DOUBLE_EQ(lead->delaySend, 0.125);
    EXPECT_DOUBLE_EQ(lead->reverbSend, 0.375);
    EXPECT_DOUBLE_EQ(lead->decay, 3.5);
    EXPECT_DOUBLE_EQ(lead->duck, 0.625);
    EXPECT_EQ(lead->octave, 5);
    EXPECT_EQ(lead->arpeggio, 3);
    EXPECT_FALSE(Read(Broken("decay 2", "arpeggio 1.5"), error));
    EXPECT_EQ(error, "t.score:12: the arpeggio must be a whole number, not \"1.5\"");
}

TEST(ScoreTest, ReportsEveryFaultWithItsLine)
{
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        { Broken("tempo 120", "tempo fast"), "t.score:2: the tempo must be a number from 20 to 400, not \"fast\"" },
        { Broken("tempo 120", "tempo"), "t.score:2: \"tempo\" is written tempo BPM" },
        { Broken("metre 3/4", "metre 6/8"), "t.score:3: the metre is written BEATS/4, e.g. 4/4, not \"6/8\"" },
        { Broken("seed 7", "sed 7"), "t.score:5: unknown statement \"sed\"" },
        { Broken("section b 2 1", "section b 3 1"),
            "t.score:8: section \"b\" starts at bar 3, but the previous section ends at bar 2" },
        { Broken("section b 2 1", "section a 2 1"), "t.score:8: section \"a\" is defined twice" },
        { Broken("section b 2 1", "section b 2 1.5"),
            "t.score:8: the number of bars must be a whole number, not \"1.5\"" },
        { Broken("kick gain", "kazoo gain"), "t.score:10: unknown instrument \"kazoo\"" },
        { Broken("pan 0.5", "pan 2"), "t.score:10: the pan must be a number from -1 to 1, not \"2\"" },
        { Broken("pan 0.5", "width 2"), "t.score:10: unknown voice option \"width\"" },
        { Broken("voice l lead", "voice k lead"), "t.score:12: voice \"k\" is defined twice" },
        { Broken("pattern k beat", "pattern q beat"), "t.score:14: pattern for unknown voice \"q\"" },
        { Broken("x-..", "xo.."), "t.score:15: bad step 'o' in \"X...x...xo..\" (X, x, . or -)" },
        { Broken("X...x...x-.. |", "X...x...x-. |"),
            "t.score:15: bar line after 11 sixteenths is not on a bar (12 each)" },
        { Broken("| x.*6", "| x.*0"), "t.score:15: bad repeat count \"0\" (1 to 256)" },
        { Broken("Am:12", "Hm:12"), "t.score:18: \"Hm\" is neither a note (A4, C#5) nor a chord (Am, Fmaj7) nor r" },
        { Broken("Am:12", "Am"), "t.score:18: \"Am\" needs a length, e.g. A4:4" },
        { Broken("Am:12", "Am:0"), "t.score:18: bad length \"0\" (sixteenths, 1 to 1024)" },
        { Broken("C#:6", "C#:5"),
            "t.score:17: pattern \"chords\" is 23 sixteenths long, not a whole number of bars (12 each)" },
        { Broken("[A4:2 r:1 C#5:1]*2", "[A4:2 r:1 C#5:1*2"), "t.score:21: \"[\" is not closed on its line" },
        { Broken("  k beat\n", "  k groove\n"), "t.score:26: voice \"k\" has no pattern \"groove\"" },
        { Broken("  k beat\n", "  z beat\n"), "t.score:26: unknown voice \"z\"" },
        { Broken("bars 1-2", "bars 1-3"), "t.score:27: bars 1-3 do not lie inside section \"a\" (bars 0-2)" },
        { Broken("bars 1-2", "bars 2-1"), "t.score:27: bars 2-1 do not lie inside section \"a\" (bars 0-2)" },
        { Broken("bars 1-2", "bars 1"), "t.score:27: bars are written FROM-TO, e.g. 0-4, not \"1\"" },
        { Broken("bright 1.5", "loud 1.5"), "t.score:27: unknown arrangement option \"loud\"" },
        { Broken("arrange b", "arrange c"), "t.score:30: arrangement for unknown section \"c\"" },
        { Broken("  fadeout 0-1\nend\n", "  fadeout 0-1\n"), "t.score:30: arrangement of \"b\" has no \"end\"" },
        { Broken("tempo 120", ""), "t.score:33: the score has no \"tempo\"" },
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(Read(c.text, error)) << c.error;
        EXPECT_EQ(error, c.error);
    }
}

TEST(ScoreTest, PatternsNeedTheMetreAndScoresStayBounded)
{
    std::string error;
    EXPECT_FALSE(Read("tempo 100\nvoice k kick\npattern k a\nX...\nend\n", error));
    EXPECT_EQ(error, "t.score:3: the metre must come before the first pattern");
    EXPECT_FALSE(Read("tempo 100\nmetre 4/4\n", error));
    EXPECT_EQ(error, "t.score:2: the score has no sections");
    EXPECT_FALSE(Read("tempo 20\nmetre 4/4\nsection a 0 101\n", error));
    EXPECT_EQ(error, "t.score:3: the sections last 101 bars, more than 20 minutes");
    EXPECT_FALSE(Read("metre 4/4\nvoice k kick\npattern k a\n  [[x*256]*256]*256\nend\n", error));
    EXPECT_EQ(error, "t.score:4: groups do not nest");
    EXPECT_FALSE(Read("metre 4/4\nvoice k kick\npattern k a\n  [x*256 x*256]*256\nend\n", error));
    EXPECT_EQ(error, "t.score:4: the line repeats to more than 65536 words");
}

TEST(ScoreTest, ReadsFilesAndNamesTheOneItCannotOpen)
{
    std::string error;
    EXPECT_FALSE(ReadScoreFile("/nonexistent/x.score", error));
    EXPECT_EQ(error, "/nonexistent/x.score: cannot open the score");
}

// The production's section table, as the picture is timed to it.
TEST(ScoreTest, TheProductionScoreHoldsTheSectionTable)
{
    std::string error;
    const auto score = ReadScoreFile(KUV_TEST_SOURCE_DIR "/../data/music/vantrel.score", error);
    ASSERT_TRUE(score) << error;
    EXPECT_EQ(score->bpm, 125);
    EXPECT_EQ(score->beatsPerBar, 4);
    const struct {
        const char* name;
        std::int64_t startMs;
    } table[] = { { "intro", 0 }, { "build", 15360 }, { "theme", 30720 }, { "break", 61440 }, { "climax", 76800 },
        { "reprise", 107520 }, { "outro", 122880 } };
    ASSERT_EQ(score->sections.size(), std::size(table));
    for (size_t i = 0; i < std::size(table); ++i) {
        EXPECT_EQ(score->sections[i].name, table[i].name);
        EXPECT_EQ(score->SectionStartMs(i), table[i].startMs) << table[i].name;
    }
    EXPECT_DOUBLE_EQ(ScoreSeconds(*score), 153.6);
}

TEST(PitchTest, ReadsNotesAndChords)
{
    EXPECT_EQ(ParseNote("A4"), 69);
    EXPECT_EQ(ParseNote("C4"), 60);
    EXPECT_EQ(ParseNote("Bb3"), 58);
    EXPECT_EQ(ParseNote("B#3"), 60);
    EXPECT_EQ(ParseNote("Cb4"), 59);
    EXPECT_FALSE(ParseNote("A9"));
    EXPECT_FALSE(ParseNote("H4"));
    EXPECT_FALSE(ParseNote("A44"));
    EXPECT_EQ(ParseChord("Esus4")->intervals, (std::vector<int> { 0, 5, 7 }));
    EXPECT_EQ(ParseChord("Bbm7")->root, 10);
    EXPECT_FALSE(ParseChord("Amaj9"));
    EXPECT_NEAR(MidiToHz(57), 220.0, 1e-9);
}

TEST(PitchTest, ChordsAreVoicedNearTheMiddleOfTheirOctave)
{
    // Octave 3 centres chords on C4: A minor as A3 C4 E4, F major as A3 C4 F4, so neighbours move little.
    EXPECT_EQ(VoiceChord(9, { 0, 3, 7 }, 3), (std::vector<int> { 57, 60, 64 }));
    EXPECT_EQ(VoiceChord(5, { 0, 4, 7 }, 3), (std::vector<int> { 57, 60, 65 }));
    for (int root = 0; root < 12; ++root) {
        const auto tones = VoiceChord(root, { 0, 4, 7 }, 3);
        EXPECT_GE(tones.front(), 53) << root;
        EXPECT_LE(tones.back(), 67) << root;
    }
}

} // namespace
