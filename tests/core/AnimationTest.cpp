// Animations: records, hand-over to transition targets, and what each one draws.
#include <gtest/gtest.h>

#include "Core/ControllerBase.h"
#include "ProgramFixtures.h"
#include "support/Pixels.h"

using namespace KUV;
using namespace kuvtest;

namespace {

std::string AnimationRecord(const std::string& draw, const std::string& controller, const std::string& next)
{
    return "Animation{ renderFunction " + draw + " controller " + controller + " transitionTarget " + next + " }";
}

class AnimationTest : public ProgramTest {
protected:
    // MainAnim (red, 1000 ms) -> B (green, 500 ms) -> C (blue, 2000 ms) -> MainAnim.
    void LoadChain()
    {
        SceneText text;
        Declare(text, { "$a", "$b", "$c" })
            .Geometry("all", "Rectangle{ x 0 y 0 w 100 h 100 hitTest 0 }")
            .Brush("red", RedBrush)
            .Brush("green", GreenBrush)
            .Brush("blue", BlueBrush)
            .Executable("drawA", Commands("Fill{ all red }", 1))
            .Executable("drawB", Commands("Fill{ all green }", 1))
            .Executable("drawC", Commands("Fill{ all blue }", 1))
            .Controller("a", "Linear{ target $a begin 0 end 1000 loops 0 beginValue 0 endValue 100 noOfChildren 0 }")
            .Controller("b", "Linear{ target $b begin 0 end 500 loops 0 beginValue 0 endValue 50 noOfChildren 0 }")
            .Controller("c", "Linear{ target $c begin 0 end 2000 loops 0 beginValue 0 endValue 20 noOfChildren 0 }")
            .Animation("MainAnim", AnimationRecord("drawA", "a", "B"))
            .Animation("B", AnimationRecord("drawB", "b", "C"))
            .Animation("C", AnimationRecord("drawC", "c", "MainAnim"));
        Load(text);
    }
    void ExpectFrame(Rgba colour)
    {
        ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
        EXPECT_TRUE(PixelsNear(canvas.target.Get(), { { 50, 50, colour } }));
    }
};

TEST_F(AnimationTest, AChainHandsOverAtTheUpdateThatNoticesTheEndAndLoopsBack)
{
    LoadChain();
    ExpectFrame(Red);
    EXPECT_EQ(Update(999), ResultOk);
    ExpectFrame(Red);
    EXPECT_EQ(Update(1020), ResultOk);
    EXPECT_EQ(Var("$a"), 100.f);
    EXPECT_EQ(Var("$b"), 0.f);
    ExpectFrame(Green);
    Update(1270);
    EXPECT_EQ(Var("$b"), 25.f) << "B started at 1020, not at 1000";
    Update(1520);
    ExpectFrame(Blue);
    Update(3520);
    EXPECT_EQ(Var("$a"), 0.f);
    Update(4020);
    EXPECT_EQ(Var("$a"), 50.f);
    ExpectFrame(Red);
}

TEST_F(AnimationTest, AMissingTargetKeepsTheFinishedAnimationOnScreenAndRetries)
{
    SceneText text;
    Declare(text, { "$a" })
        .Geometry("all", "Rectangle{ x 0 y 0 w 100 h 100 hitTest 0 }")
        .Brush("red", RedBrush)
        .Executable("draw", Commands("Fill{ all red }", 1))
        .Controller("a", "Linear{ target $a begin 0 end 100 loops 0 beginValue 0 endValue 1 noOfChildren 0 }")
        .MainAnim("draw", "a", "Sequel");
    Load(text);
    for (int t = 100; t < 400; t += 100)
        EXPECT_EQ(Update(t), ResultOk);
    EXPECT_EQ(Scene().GetErrorText(), "Sequel animation does not exist");
    ExpectFrame(Red);
}

TEST_F(AnimationTest, ASelfTransitionRestartsAtTheNoticingUpdate)
{
    SceneText text;
    Declare(text, { "$a" })
        .Controller("a", "Linear{ target $a begin 0 end 100 loops 0 beginValue 0 endValue 100 noOfChildren 0 }")
        .MainAnim("null", "a", "MainAnim");
    Load(text);
    Update(130);
    EXPECT_EQ(Var("$a"), 0.f);
    Update(180);
    EXPECT_EQ(Var("$a"), 50.f);
}

TEST_F(AnimationTest, WithoutControllerAndProcedureItDrawsNothingAndNeverEnds)
{
    Load(SceneText().MainAnim("null"));
    for (int t = 0; t < 100000; t += 25000)
        EXPECT_EQ(Update(t), ResultOk);
    ExpectFrame(White);
}

TEST_F(AnimationTest, RecordsNameWhatIsMissing)
{
    EXPECT_EQ(LoadError(SceneText().MainAnim("draw")), Framed(10, "an executable with name \"draw\" does not exist"));
    EXPECT_EQ(LoadError(SceneText().Executable("draw", Commands("", 0)).MainAnim("draw", "c")),
        Framed(11, "a controller with name \"c\" does not exist"));
    EXPECT_EQ(LoadError(SceneText().Animation("A", "Animation{ render null controller null transitionTarget x }")),
        Framed(10, "expecting \"renderFunction\" got \"render\""));
    EXPECT_EQ(LoadError(SceneText().Animation("A", "Animation{ renderFunction null controller null target x }")),
        Framed(10, "expecting \"transitionTarget\" got \"target\""));
}

} // namespace
