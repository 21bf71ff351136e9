// tvs-check --flashes on small scenes drawn by the engine: what fails, what passes, the
// stretch, the plot and the command line.
#include <cairo.h>
#include <gtest/gtest.h>

#include "support/Scenes.h"

using kuvtest::SceneText;

namespace {

// Two animations that hand over to each other every halfMs (at the first update past it): the
// first fills square (a Rectangle{ } record) with on, the second with off; the frame is white.
std::string Flicker(int halfMs, const std::string& on, const std::string& off = "0 0 0",
    const std::string& square = "x 0 y 0 w 2000 h 2000")
{
    const std::string half = std::to_string(halfMs);
    return SceneText()
        .Geometry("box", "Rectangle{ " + square + " hitTest 0 }")
        .Brush("on", "SolidColorBrush{ Color{ " + on + " 1 } opacity 1 }")
        .Brush("off", "SolidColorBrush{ Color{ " + off + " 1 } opacity 1 }")
        .Executable("lit", "Procedure{ noOfCommands 1 Fill{ box on } }")
        .Executable("dark", "Procedure{ noOfCommands 1 Fill{ box off } }")
        .Controller("a", "Const{ target null begin 0 end " + half + " loops 0 value 0 noOfChildren 0 }")
        .Controller("b", "Const{ target null begin 0 end " + half + " loops 0 value 0 noOfChildren 0 }")
        .MainAnim("lit", "a", "Dark")
        .Animation("Dark", "Animation{ renderFunction dark controller b transitionTarget MainAnim }")
        .Str();
}

class FlashCheckToolTest : public ::testing::Test {
protected:
    kuvtest::ToolRun Check(const std::string& scene, std::vector<std::string> more = {})
    {
        dir.Write("s.tvs", scene);
        std::vector<std::string> arguments { "--flashes", "--size", "160x120", "--until", "3000" };
        arguments.insert(arguments.end(), more.begin(), more.end());
        arguments.push_back("s.tvs");
        return kuvtest::RunTvsCheck(arguments, dir.Path());
    }

    kuvtest::TempDir dir;
};

TEST_F(FlashCheckToolTest, AFullFrameFlickerAtFourHertzFailsOverItsExactStretch)
{
    // White turns black at 128, and back every 128 ms: the last change before 3000 is at 2944.
    const auto run = Check(Flicker(125, "1 1 1"));
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.out,
        "s.tvs: warning: general flashes from 128 to 2944 ms: 4.0 a second over 100.0 % of the frame\n"
        "188 frames from 0 to 2992 ms, 1 failing stretch; general at most 4.0 a second, 100.0 % of the frame above 3; "
        "red at most 0.0 a second, 0.0 % of the frame above 3\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Check(Flicker(125, "1 1 1"), { "--no-fail" }).exitCode, 0);
}

TEST_F(FlashCheckToolTest, SlowerSmallerAndGradualChangesPass)
{
    EXPECT_EQ(Check(Flicker(250, "1 1 1")).exitCode, 0) << "two flashes a second";
    // 20 x 20 of 160 x 120 covers a fifth of a 53 x 40 field.
    const auto small = Check(Flicker(125, "1 1 1", "0 0 0", "x 60 y 40 w 20 h 20"));
    EXPECT_EQ(small.exitCode, 0) << small.out;
    const auto fade
        = SceneText()
              .Geometry("box", "Rectangle{ x 0 y 0 w 2000 h 2000 hitTest 0 }")
              .Brush("grey", "SolidColorBrush{ Color{ $v $v $v 1 } opacity 1 }")
              .Executable("draw", "Procedure{ noOfCommands 1 Fill{ box grey } }")
              .Controller("c", "Linear{ target $v begin 0 end 2500 loops 1 beginValue 0 endValue 1 noOfChildren 0 }")
              .MainAnim("draw", "c")
              .Str();
    EXPECT_EQ(Check(fade).exitCode, 0);
}

TEST_F(FlashCheckToolTest, ASaturatedRedFlickerFailsAsRed)
{
    // Linear red 0.40 moves the luminance by less than 0.1: only the red rule sees it.
    const auto run = Check(Flicker(125, "0.667 0 0"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(
        run.out.rfind("s.tvs: warning: red flashes from 128 to 2944 ms: 4.0 a second over 100.0 % of the frame\n", 0),
        0u)
        << run.out;
}

TEST_F(FlashCheckToolTest, ThePlotIsAPicture)
{
    const auto run = Check(Flicker(125, "1 1 1"), { "--from", "1000", "--plot", "plot.png" });
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.out.find("125 frames from 1008 to 2992 ms"), std::string::npos) << run.out;
    cairo_surface_t* plot = cairo_image_surface_create_from_png((dir.Path() + "/plot.png").c_str());
    EXPECT_EQ(cairo_surface_status(plot), CAIRO_STATUS_SUCCESS) << "no plot";
    EXPECT_GT(cairo_image_surface_get_width(plot), 1000);
    cairo_surface_destroy(plot);
    const auto unwritable = Check(Flicker(125, "1 1 1"), { "--plot", dir.Path() + "/no/such/dir/plot.png" });
    EXPECT_EQ(unwritable.exitCode, 73);
}

TEST_F(FlashCheckToolTest, BadCommandLinesExit64)
{
    for (const std::vector<std::string>& arguments :
        std::vector<std::vector<std::string>> { { "--flashes", "a.tvs", "b.tvs" },
            { "--flashes", "--timeline", "a.tvs" }, { "--flashes", "--size", "0x10", "a.tvs" },
            { "--flashes", "--from", "5", "--until", "4", "a.tvs" }, { "--flashes", "--plot" } }) {
        const auto run = kuvtest::RunTvsCheck(arguments, dir.Path());
        EXPECT_EQ(run.exitCode, 64) << ::testing::PrintToString(arguments);
        EXPECT_NE(run.err.find("usage: tvs-check"), std::string::npos);
    }
}

} // namespace
