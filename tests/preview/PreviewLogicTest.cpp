// The preview's key table, timeline, loop marks, command line, file watching and music clock.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Preview/PreviewKeys.h"
#include "Preview/PreviewMusic.h"
#include "Preview/PreviewOptions.h"
#include "Preview/PreviewTimeline.h"
#include "Preview/PreviewWatch.h"
#include "support/Scenes.h"

using KUV::Preview::PreviewCommand;

namespace {

TEST(PreviewKeysTest, EveryKeyHasItsCommandAndShiftOnlyLengthensTheSeeks)
{
    struct Case {
        SDL_Keycode key;
        Uint16 modifiers;
        PreviewCommand command;
    };
    const Case cases[] = {
        { SDLK_SPACE, 0, PreviewCommand::TogglePause },
        { SDLK_LEFT, 0, PreviewCommand::Back1s },
        { SDLK_RIGHT, 0, PreviewCommand::Forward1s },
        { SDLK_LEFT, KMOD_LSHIFT, PreviewCommand::Back10s },
        { SDLK_RIGHT, KMOD_RSHIFT, PreviewCommand::Forward10s },
        { SDLK_HOME, 0, PreviewCommand::Home },
        { SDLK_COMMA, 0, PreviewCommand::StepBack },
        { SDLK_PERIOD, 0, PreviewCommand::StepForward },
        { SDLK_LEFTBRACKET, 0, PreviewCommand::MarkIn },
        { SDLK_RIGHTBRACKET, 0, PreviewCommand::MarkOut },
        { SDLK_l, 0, PreviewCommand::ToggleLoop },
        { SDLK_l, KMOD_LSHIFT, PreviewCommand::ToggleLoop },
        { SDLK_r, 0, PreviewCommand::Reload },
        { SDLK_f, 0, PreviewCommand::ToggleFullScreen },
        { SDLK_o, 0, PreviewCommand::ToggleOverlay },
        { SDLK_h, KMOD_CAPS, PreviewCommand::ToggleHelp },
        { SDLK_ESCAPE, 0, PreviewCommand::Quit },
        { SDLK_q, 0, PreviewCommand::None },
        { SDLK_RETURN, 0, PreviewCommand::None },
    };
    for (const Case& c : cases)
        EXPECT_EQ(KUV::Preview::CommandForKey(c.key, c.modifiers), c.command)
            << SDL_GetKeyName(c.key) << " " << c.modifiers;
    EXPECT_EQ(KUV::Preview::KeyHelpLines().size(), 11u);
}

TEST(PreviewKeysTest, HeldKeysRepeatOnlyTheSeeksAndSteps)
{
    int repeating = 0;
    for (int c = static_cast<int>(PreviewCommand::None); c <= static_cast<int>(PreviewCommand::Quit); ++c)
        repeating += KUV::Preview::RepeatsWhenHeld(static_cast<PreviewCommand>(c));
    EXPECT_EQ(repeating, 6);
    EXPECT_TRUE(KUV::Preview::RepeatsWhenHeld(PreviewCommand::Forward10s));
    EXPECT_TRUE(KUV::Preview::RepeatsWhenHeld(PreviewCommand::StepBack));
    EXPECT_FALSE(KUV::Preview::RepeatsWhenHeld(PreviewCommand::TogglePause));
    EXPECT_FALSE(KUV::Preview::RepeatsWhenHeld(PreviewCommand::ToggleFullScreen));
}

TEST(PreviewTimelineTest, SeeksAndStepsStayWithinTheTicksAScenesTakes)
{
    struct Case {
        std::int64_t start;
        bool paused;
        PreviewCommand command;
        std::int64_t tick;
        bool moved;
    };
    const Case cases[] = {
        { 5000, false, PreviewCommand::Back1s, 4000, true },
        { 5000, false, PreviewCommand::Forward1s, 6000, true },
        { 5000, false, PreviewCommand::Back10s, 0, true },
        { 0, false, PreviewCommand::Back1s, 0, false },
        { 5000, false, PreviewCommand::Forward10s, 15000, true },
        { KUV::Preview::PreviewMaxTick - 5, false, PreviewCommand::Forward1s, KUV::Preview::PreviewMaxTick, true },
        { 5000, false, PreviewCommand::Home, 0, true },
        { 5000, false, PreviewCommand::StepForward, 5000, false },
        { 5000, true, PreviewCommand::StepForward, 5016, true },
        { 5000, true, PreviewCommand::StepBack, 4984, true },
        { 10, true, PreviewCommand::StepBack, 0, true },
        { 5000, false, PreviewCommand::Reload, 5000, false },
    };
    for (const Case& c : cases) {
        KUV::Preview::PreviewTimeline timeline(c.start);
        if (c.paused) timeline.Apply(PreviewCommand::TogglePause);
        EXPECT_EQ(timeline.Apply(c.command), c.moved) << c.start << " " << static_cast<int>(c.command);
        EXPECT_EQ(timeline.Tick(), c.tick) << c.start << " " << static_cast<int>(c.command);
    }
}

TEST(PreviewTimelineTest, PlayingStopsWhilePaused)
{
    KUV::Preview::PreviewTimeline timeline(-20);
    EXPECT_EQ(timeline.Tick(), 0);
    EXPECT_FALSE(timeline.Play(40));
    EXPECT_EQ(timeline.Tick(), 40);
    timeline.Apply(PreviewCommand::TogglePause);
    timeline.Play(500);
    EXPECT_EQ(timeline.Tick(), 40);
    EXPECT_EQ(timeline.StateText(), "paused");
}

TEST(PreviewTimelineTest, ALoopPlaysBetweenItsMarksAndEndsWhenTheMarksNoLongerEncloseAPassage)
{
    KUV::Preview::PreviewTimeline timeline(1000);
    EXPECT_FALSE(timeline.Apply(PreviewCommand::ToggleLoop)) << "no marks, no loop";
    EXPECT_FALSE(timeline.Looping());
    timeline.Apply(PreviewCommand::MarkIn);
    timeline.Play(2000);
    timeline.Apply(PreviewCommand::MarkOut);
    EXPECT_EQ(timeline.StateText(), "playing  marks [1.000 3.000]");
    timeline.Play(500);

    EXPECT_TRUE(timeline.Apply(PreviewCommand::ToggleLoop)) << "from outside the passage to its start";
    EXPECT_EQ(timeline.Tick(), 1000);
    EXPECT_EQ(timeline.StateText(), "playing  loop 1.000-3.000 s");
    EXPECT_FALSE(timeline.Play(1999));
    EXPECT_TRUE(timeline.Play(1)) << "reaching the end mark goes back";
    EXPECT_EQ(timeline.Tick(), 1000);

    timeline.Apply(PreviewCommand::Forward10s);
    EXPECT_FALSE(timeline.Play(100)) << "beyond the end mark after a seek, it plays on";
    EXPECT_EQ(timeline.Tick(), 11100);
    EXPECT_TRUE(timeline.Looping());

    timeline.Apply(PreviewCommand::Home);
    timeline.Apply(PreviewCommand::MarkOut);
    EXPECT_FALSE(timeline.Looping()) << "an end mark before the start mark";
    EXPECT_FALSE(timeline.Apply(PreviewCommand::ToggleLoop));
    EXPECT_FALSE(timeline.Looping());
}

TEST(PreviewOptionsTest, TheCommandLine)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string error; // empty: parses
    };
    const Case cases[] = {
        { { "a.tvs" }, "" },
        { { "a.tvs", "--music", "m.mp3", "--at", "150000", "--size", "640x480" }, "" },
        { { "--help" }, "" },
        { {}, "no scene given" },
        { { "a.tvs", "b.tvs" }, "more than one scene given" },
        { { "a.tvs", "--at" }, "missing value for --at" },
        { { "a.tvs", "--at", "-1" }, "bad value for --at: \"-1\"" },
        { { "a.tvs", "--at", "2147483648" }, "bad value for --at: \"2147483648\"" },
        { { "a.tvs", "--at", "1s" }, "bad value for --at: \"1s\"" },
        { { "a.tvs", "--size", "800" }, "bad value for --size: \"800\"" },
        { { "a.tvs", "--size", "0x600" }, "bad value for --size: \"0x600\"" },
        { { "a.tvs", "--size", "800x600x2" }, "bad value for --size: \"800x600x2\"" },
        { { "a.tvs", "--music", "" }, "bad value for --music: \"\"" },
        { { "a.tvs", "--loop" }, "missing value for --loop" },
        { { "a.tvs", "--loop", "1" }, "unknown option --loop" },
    };
    for (const Case& c : cases) {
        std::string error;
        const auto options = KUV::Preview::ParsePreviewOptions(c.arguments, error);
        EXPECT_EQ(options.has_value(), c.error.empty()) << c.error;
        EXPECT_EQ(error, c.error);
    }
    std::string error;
    const auto options = KUV::Preview::ParsePreviewOptions(
        { "a.tvs", "--music", "m.mp3", "--at", "1500", "--size", "640x480" }, error);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->scene, "a.tvs");
    EXPECT_EQ(options->music, "m.mp3");
    EXPECT_EQ(options->at, 1500);
    EXPECT_EQ(options->width, 640);
    EXPECT_EQ(options->height, 480);
    EXPECT_NE(KUV::Preview::PreviewHelpText().find("Shift"), std::string::npos);
}

TEST(PreviewWatchTest, ChangesRenamesAndRemovalsAreNoticedOnce)
{
    kuvtest::TempDir dir;
    const std::string a = dir.Write("a.tvs", "one");
    const std::string b = dir.Write("b.tvs", "two");
    const std::string later = dir.Path() + "/later.tvs";
    KUV::Preview::FileWatcher watcher;
    watcher.Watch({ a, b, later });
    EXPECT_FALSE(watcher.Changed());

    dir.Write("a.tvs", "one!");
    EXPECT_TRUE(watcher.Changed());
    EXPECT_FALSE(watcher.Changed()) << "noticed once";

    // Saved the way many editors do: a new file renamed over the old one, same size.
    dir.Write("b.new", "TWO");
    std::filesystem::rename(dir.Path() + "/b.new", b);
    EXPECT_TRUE(watcher.Changed());

    dir.Write("later.tvs", "now");
    EXPECT_TRUE(watcher.Changed()) << "a file that appears";
    std::filesystem::remove(a);
    EXPECT_TRUE(watcher.Changed()) << "a file that goes";
    EXPECT_FALSE(watcher.Changed());
}

TEST(PreviewWatchTest, ANewListKeepsTheStampsOfTheFilesItKeeps)
{
    kuvtest::TempDir dir;
    const std::string a = dir.Write("a.tvs", "one");
    KUV::Preview::FileWatcher watcher;
    watcher.Watch({ a });
    dir.Write("a.tvs", "changed while a reload ran");
    const std::string b = dir.Write("b.tvs", "two");
    watcher.Watch({ b, a });
    EXPECT_EQ(watcher.Files(), (std::vector<std::string> { b, a }));
    EXPECT_TRUE(watcher.Changed()) << "the change made meanwhile";
    EXPECT_FALSE(watcher.Changed());
}

TEST(PreviewMusicTest, TheClockTakesTheBestOffsetOfTheLastBlocksAndDriftBeyondOneFrameCounts)
{
    KUV::Preview::MusicClock clock(46);
    EXPECT_FALSE(clock.Estimate(5000, 0)) << "the seek's own position, before any block";
    EXPECT_FALSE(clock.Estimate(5000, 10));
    EXPECT_FALSE(clock.Estimate(5046, 16)) << "one block plays from about when it was seen (offset 4984)";
    EXPECT_FALSE(clock.Estimate(5092, 48)) << "one seen sooner tells a better offset (4998)";
    EXPECT_DOUBLE_EQ(*clock.Estimate(5138, 104), 5102) << "one seen late (4988) does not spoil it";
    EXPECT_DOUBLE_EQ(*clock.Estimate(5138, 120), 5118) << "between reports the wall clock runs on";
    for (int block = 4; block < 7; ++block) {
        const double reported = 5000 + 46 * block;
        clock.Estimate(reported, reported - 46 - 4990);
    }
    EXPECT_DOUBLE_EQ(*clock.Estimate(5000 + 46 * 6, 300), 5290) << "only the last four blocks count";
    clock.Reset();
    EXPECT_FALSE(clock.Estimate(9000, 300));

    EXPECT_FALSE(KUV::Preview::MusicDrifted(1016, 1000));
    EXPECT_FALSE(KUV::Preview::MusicDrifted(984, 1000));
    EXPECT_TRUE(KUV::Preview::MusicDrifted(1016.5, 1000));
    EXPECT_TRUE(KUV::Preview::MusicDrifted(983, 1000));
}

} // namespace
