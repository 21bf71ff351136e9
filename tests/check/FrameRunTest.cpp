// The flash check's frame run: the frames it measures, and the exit code and text of a scene that
// fails, as tvs-render gives them.
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "Authoring/FlashRun.h"
#include "support/Scenes.h"

namespace KUV::Authoring {
namespace {

using kuvtest::SceneText;

struct Measured {
    int code;
    std::vector<std::int64_t> ticks;
    double firstLuminance;
    std::string err;
};

Measured Measure(const std::string& scene, std::int64_t from, std::int64_t until)
{
    kuvtest::TempDir dir;
    std::vector<FrameMeasure> frames;
    std::ostringstream err;
    const int code = MeasureFrames({ dir.Write("s.tvs", scene), 32, 24, from, until }, frames, err);
    Measured measured { code, {}, frames.empty() ? -1 : frames.front().meanLuminance, err.str() };
    for (const FrameMeasure& frame : frames)
        measured.ticks.push_back(frame.tick);
    return measured;
}

// The whole frame black.
std::string Black()
{
    return SceneText()
        .Geometry("box", "Rectangle{ x 0 y 0 w 2000 h 2000 hitTest 0 }")
        .Brush("ink", "SolidColorBrush{ Color{ 0 0 0 1 } opacity 1 }")
        .Executable("draw", "Procedure{ noOfCommands 1 Fill{ box ink } }")
        .MainAnim("draw")
        .Str();
}

TEST(FrameRun, MeasuresTheDrawnFramesOfTheUpdateGridFromFromToUntil)
{
    const Measured run = Measure(Black(), 20, 100);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.ticks, (std::vector<std::int64_t> { 32, 48, 64, 80, 96 }));
    EXPECT_DOUBLE_EQ(run.firstLuminance, 0) << "the scene's picture, not the white it is drawn on";
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Measure(Black(), 0, 0).ticks, (std::vector<std::int64_t> { 0 }));
    EXPECT_TRUE(Measure(Black(), 50, 40).ticks.empty());
}

TEST(FrameRun, AFailingSceneGivesTvsRendersExitCodeAndText)
{
    const Measured missing = Measure("", 0, 100);
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err.rfind("Parse Error:::", 0), 0u) << missing.err;
    EXPECT_TRUE(missing.ticks.empty());

    const Measured noMain = Measure(SceneText().Str(), 0, 100);
    EXPECT_EQ(noMain.code, 13);
    EXPECT_EQ(noMain.err, "MainAnim animation does not exist\n");

    const std::string pop
        = SceneText().Executable("draw", "Procedure{ noOfCommands 1 PopTransform{ } }").MainAnim("draw").Str();
    const Measured popped = Measure(pop, 100, 200);
    EXPECT_EQ(popped.code, 14);
    EXPECT_EQ(
        popped.err, "Tavisk Runtime Blocking Error:::trying to run PopTransform while transform stack is empty\n");
    EXPECT_TRUE(popped.ticks.empty());
    EXPECT_EQ(Measure(pop, 300, 200).code, 0) << "the frames before from are updated, not drawn";
}

} // namespace
} // namespace KUV::Authoring
