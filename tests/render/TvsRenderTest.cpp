// The command-line contract of tvs-render: options, exit codes, error texts
// and what it writes.
#include <filesystem>

#include <gtest/gtest.h>

#include "support/Pixels.h"
#include "support/Scenes.h"

using kuvtest::RunTvsRender;
using kuvtest::SceneText;
using kuvtest::TempDir;

namespace {

class TvsRenderTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(TvsRenderTest, BadCommandLinesExitWithUsage)
{
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>> { {},
             { "a.tvs", "--size", "0x5" }, { "a.tvs", "--step", "0" }, { "a.tvs", "--at", "1,,2" },
             { "a.tvs", "--bogus", "1" }, { "a.tvs", "b.tvs" }, { "a.tvs", "--hit", "3" }, { "a.tvs", "--until" },
             { "a.tvs", "--fps", "30" }, { "a.tvs", "--video", "a.mp4", "--until", "9", "--at", "0" },
             { "a.tvs", "--video", "a.gif", "--until", "9", "--audio", "a.wav" },
             { "a.tvs", "--video", "a.mp4", "--from", "9", "--until", "9" } }) {
        const auto run = RunTvsRender(arguments, dir.Path());
        EXPECT_EQ(run.exitCode, 64) << ::testing::PrintToString(arguments);
        EXPECT_NE(run.err.find("usage: tvs-render SCENE"), std::string::npos);
    }
}

TEST_F(TvsRenderTest, HelpPrintsTheUsageOnStandardOutput)
{
    const auto run = RunTvsRender({ "--help" }, dir.Path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind("usage: tvs-render SCENE", 0), 0u);
    EXPECT_NE(run.out.find("--video FILE"), std::string::npos);
    EXPECT_EQ(run.err, "");
}

TEST_F(TvsRenderTest, ALoadFailureExitsWithItsStatusAndText)
{
    const auto run = RunTvsRender({ "data\\missing.tvs" }, dir.Path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Parse Error:::data\\missing.tvs : 0 : could not open the file \"data\\missing.tvs\"\n");
    EXPECT_EQ(run.out, "");
}

TEST_F(TvsRenderTest, AFailedUpdateExitsWithTenPlusItsResult)
{
    dir.Write("empty.tvs", SceneText().Str());
    const auto run = RunTvsRender({ "empty.tvs" }, dir.Path());
    EXPECT_EQ(run.exitCode, 13);
    EXPECT_EQ(run.err, "MainAnim animation does not exist\n");
}

TEST_F(TvsRenderTest, AFailedRenderExitsWithTenPlusItsResult)
{
    dir.Write("pop.tvs",
        SceneText().Executable("draw", "Procedure{ noOfCommands 1 PopTransform{ } }").MainAnim("draw").Str());
    const auto run = RunTvsRender({ "pop.tvs", "--at", "0" }, dir.Path());
    EXPECT_EQ(run.exitCode, 14);
    EXPECT_EQ(run.err, "Tavisk Runtime Blocking Error:::trying to run PopTransform while transform stack is empty\n");
}

TEST_F(TvsRenderTest, FramesAreWrittenForEveryAtTick)
{
    dir.Write("blank.tvs", SceneText().Executable("draw", "Procedure{ noOfCommands 0 }").MainAnim("draw").Str());
    const auto run = RunTvsRender({ "blank.tvs", "--size", "40x30", "--at", "32,0", "--out", "frames" }, dir.Path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* name : { "/frames/0.png", "/frames/32.png" }) {
        const auto frame = kuvtest::Image::FromPng(dir.Path() + name);
        ASSERT_EQ(frame.Width(), 40) << name;
        ASSERT_EQ(frame.Height(), 30);
        EXPECT_TRUE(kuvtest::PixelsNear(frame, { { 0, 0, kuvtest::White }, { 39, 29, kuvtest::White } }, 0));
    }
    EXPECT_FALSE(std::filesystem::exists(dir.Path() + "/frames/16.png")) << "only --at ticks are drawn";
}

TEST_F(TvsRenderTest, VariablesArePrintedInNameOrderAfterEachAtUpdate)
{
    dir.Write("vars.tvs",
        SceneText()
            .Geometry("g", "Rectangle{ x $b y 0 w 10 h 10 hitTest 1 }")
            .Geometry("h", "Rectangle{ x $c y $a w 1 h 1 hitTest 0 }")
            .Executable("draw", "Procedure{ noOfCommands 0 }")
            .Controller("move", "Linear{ target $b begin 0 end 1000 loops 0 beginValue 0 endValue 100 noOfChildren 0 }")
            .MainAnim("draw", "move")
            .Str());
    const auto run = RunTvsRender({ "vars.tvs", "--at", "0,500,999", "--vars", "--hit", "55,5" }, dir.Path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
        "@0 $a=0 $b=0 $c=0\n@0 hit 0\n"
        "@500 $a=0 $b=50 $c=0\n@500 hit 1\n"
        "@999 $a=0 $b=99.9 $c=0\n@999 hit 0\n");
}

TEST_F(TvsRenderTest, TicksBetweenStepsAreVisitedOnlyWhenAsked)
{
    // A trigger-free way to see which ticks were updated: a looping controller restarts
    // only when an update lands at or past its end.
    dir.Write("loop.tvs",
        SceneText()
            .Geometry("g", "Rectangle{ x $v y 0 w 1 h 1 hitTest 0 }")
            .Executable("draw", "Procedure{ noOfCommands 0 }")
            .Controller("c", "Linear{ target $v begin 0 end 100 loops 1 beginValue 0 endValue 100 noOfChildren 0 }")
            .MainAnim("draw", "c")
            .Str());
    const auto stepped = RunTvsRender({ "loop.tvs", "--step", "60", "--at", "150", "--vars" }, dir.Path());
    EXPECT_EQ(stepped.out, "@150 $v=50\n") << "updates at 0, 60, 120 (restart at 100), 150";
    const auto direct = RunTvsRender({ "loop.tvs", "--step", "1000", "--at", "150", "--vars" }, dir.Path());
    EXPECT_EQ(direct.out, "@150 $v=0\n") << "updates at 0 and 150: the period ending writes the next start";
}

} // namespace
