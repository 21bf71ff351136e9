// Animations: records, hand-over to transition targets, and what each one draws.
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "support/ProgramFixtures.h"

using namespace KUV;
using namespace kuvtest;

namespace {

using AnimationTest = ProgramTest;

std::string AnimationRecord(const std::string& draw, const std::string& controller, const std::string& next)
{
    return "Animation{ renderFunction " + draw + " controller " + controller + " transitionTarget " + next + " }";
}

std::string Ramp(const std::string& variable, int end, int endValue)
{
    return "Linear{ target " + variable + " begin 0 end " + std::to_string(end) + " loops 0 beginValue 0 endValue "
        + std::to_string(endValue) + " noOfChildren 0 }";
}

TEST_F(AnimationTest, AChainHandsOverAtTheUpdateThatNoticesTheEndAndLoopsBack)
{
    // MainAnim (red, 1000 ms) -> B (green, 500 ms) -> C (blue, 2000 ms) -> MainAnim.
    SceneText text;
    Load(Declare(text, { "$a", "$b", "$c" })
             .Geometry("all", "Rectangle{ x 0 y 0 w 100 h 100 hitTest 0 }")
             .Brush("red", RedBrush)
             .Brush("green", GreenBrush)
             .Brush("blue", BlueBrush)
             .Executable("drawA", Commands("Fill{ all red }", 1))
             .Executable("drawB", Commands("Fill{ all green }", 1))
             .Executable("drawC", Commands("Fill{ all blue }", 1))
             .Controller("a", Ramp("$a", 1000, 100))
             .Controller("b", Ramp("$b", 500, 50))
             .Controller("c", Ramp("$c", 2000, 20))
             .Animation("MainAnim", AnimationRecord("drawA", "a", "B"))
             .Animation("B", AnimationRecord("drawB", "b", "C"))
             .Animation("C", AnimationRecord("drawC", "c", "MainAnim")));
    ExpectRendered({ { 50, 50, Red } });
    EXPECT_EQ(Update(999), ResultOk);
    ExpectRendered({ { 50, 50, Red } });
    EXPECT_EQ(Update(1020), ResultOk);
    EXPECT_EQ(Var("$a"), 100.f);
    EXPECT_EQ(Var("$b"), 0.f);
    ExpectRendered({ { 50, 50, Green } });
    Update(1270);
    EXPECT_EQ(Var("$b"), 25.f) << "B started at 1020, not at 1000";
    Update(1520);
    ExpectRendered({ { 50, 50, Blue } });
    Update(3520);
    EXPECT_EQ(Var("$a"), 0.f);
    Update(4020);
    EXPECT_EQ(Var("$a"), 50.f);
    ExpectRendered({ { 50, 50, Red } });
}

TEST_F(AnimationTest, AMissingTargetKeepsTheFinishedAnimationOnScreenAndRetries)
{
    SceneText text;
    Load(Declare(text, { "$a" })
             .Geometry("all", "Rectangle{ x 0 y 0 w 100 h 100 hitTest 0 }")
             .Brush("red", RedBrush)
             .Executable("draw", Commands("Fill{ all red }", 1))
             .Controller("a", Ramp("$a", 100, 1))
             .MainAnim("draw", "a", "Sequel"));
    for (int t = 100; t < 400; t += 100)
        EXPECT_EQ(Update(t), ResultOk);
    EXPECT_EQ(Scene().GetErrorText(), "Sequel animation does not exist");
    ExpectRendered({ { 50, 50, Red } });
}

TEST_F(AnimationTest, RecordsNameWhatIsMissing)
{
    const std::pair<SceneText, std::string> cases[] = {
        { SceneText().MainAnim("draw"), "an executable with name \"draw\" does not exist" },
        { SceneText().Animation("A", "Animation{ render null controller null transitionTarget x }"),
            "expecting \"renderFunction\" got \"render\"" },
        { SceneText().Animation("A", "Animation{ renderFunction null controller null target x }"),
            "expecting \"transitionTarget\" got \"target\"" },
    };
    for (const auto& [text, message] : cases)
        EXPECT_EQ(LoadError(text), Framed(10, message));
    EXPECT_EQ(LoadError(SceneText().Executable("draw", Commands("", 0)).MainAnim("draw", "c")),
        Framed(11, "a controller with name \"c\" does not exist"));
}

} // namespace
