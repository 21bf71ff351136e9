// Controllers: windows, loops, finishing, the kinds' values, triggers and records.
#include <climits>
#include <cmath>
#include <cstdint>

#include <gtest/gtest.h>

#include "Core/ControllerBase.h"
#include "Core/Controllers.h"
#include "ProgramFixtures.h"
#include "support/Pixels.h"

using namespace KUV;
using namespace kuvtest;

namespace {

class ControllerTest : public ProgramTest {
protected:
    // MainAnim driven by controller; a finished controller hands over to a missing
    // animation, so the scene keeps running it without a blocking error.
    void LoadDriven(const std::string& controller, std::uint32_t tick, std::initializer_list<std::string> variables)
    {
        SceneText text;
        Declare(text, variables).Controller("c", controller).MainAnim("null", "c", "nowhere");
        Load(text, tick);
    }
    int State() const { return Scene().FindController("c")->m_State; }
};

TEST_F(ControllerTest, LinearWindowWritesTheLineThenHoldsItsEndValue)
{
    LoadDriven("Linear{ target $v begin 0 end 1000 loops 0 beginValue 0 endValue 100 noOfChildren 0 }", 5000, { "$v" });
    EXPECT_EQ(Var("$v"), 0.f) << "the start evaluates at once";
    EXPECT_EQ(Update(5500), ResultOk);
    EXPECT_EQ(Var("$v"), 50.f);
    Update(5999);
    EXPECT_FLOAT_EQ(Var("$v"), 99.9f);
    EXPECT_EQ(State(), ControllerBase::Running);
    EXPECT_EQ(Update(6000), ResultOk);
    EXPECT_EQ(Var("$v"), 100.f);
    EXPECT_EQ(State(), ControllerBase::Finished);
    Scene().WriteVariable("$v", -1.f);
    EXPECT_EQ(Update(7000), ResultOk);
    EXPECT_EQ(Var("$v"), -1.f) << "a finished controller writes nothing";
    EXPECT_EQ(Scene().GetErrorText(), "nowhere animation does not exist");
}

TEST_F(ControllerTest, LoopsRestartAtThePeriodEndCatchingUpOnePeriodPerUpdate)
{
    LoadDriven("Linear{ target $v begin 0 end 1000 loops 1 beginValue 0 endValue 100 noOfChildren 0 }", 5000, { "$v" });
    Update(5900);
    Update(6000);
    EXPECT_EQ(Var("$v"), 0.f) << "the period's end writes relative time 0 of the next";
    Update(6250);
    EXPECT_EQ(Var("$v"), 25.f);
    Update(8600); // two periods late: restarts at 7000 only
    EXPECT_EQ(Var("$v"), 0.f);
    EXPECT_EQ(Scene().FindController("c")->m_StartTime, 7000);
    Update(8700);
    EXPECT_EQ(Scene().FindController("c")->m_StartTime, 8000);
    Update(8800);
    EXPECT_EQ(Var("$v"), 80.f);
    EXPECT_EQ(State(), ControllerBase::Running);
}

TEST_F(ControllerTest, AWindowThatNoUpdateFallsIntoIsNeverEntered)
{
    LoadDriven("Linear{ target $v begin 500 end 1000 loops 0 beginValue 0 endValue 100 noOfChildren 0 }", 0, { "$v" });
    Scene().WriteVariable("$v", 7.f);
    Update(400);
    Update(1200);
    Update(5000);
    EXPECT_EQ(Var("$v"), 7.f);
    EXPECT_EQ(State(), ControllerBase::Idle);
}

TEST_F(ControllerTest, AnEmptyWindowNeverWritesNorFinishes)
{
    LoadDriven("Linear{ target $v begin 1000 end 1000 loops 0 beginValue 3 endValue 4 noOfChildren 0 }", 0, { "$v" });
    for (int t = 0; t <= 3000; t += 500)
        EXPECT_EQ(Update(t), ResultOk);
    EXPECT_EQ(Var("$v"), 0.f);
    EXPECT_EQ(State(), ControllerBase::Idle);
}

TEST_F(ControllerTest, SinusoidalPhaseIsInDegreesAndFrequencyCountsPeriodsPerWindow)
{
    LoadDriven("Sinusoidal{ target $v begin 0 end 1000 loops 0 dc 10 amplitude 5 frequency 1 phase 90 "
               "noOfChildren 0 }",
        100, { "$v" });
    EXPECT_FLOAT_EQ(Var("$v"), 15.f);
    Update(350);
    EXPECT_NEAR(Var("$v"), 10.f, 1e-5);
    Update(600);
    EXPECT_FLOAT_EQ(Var("$v"), 5.f);
}

TEST_F(ControllerTest, AdditionSumsItsChildrenWhateverTheirWindows)
{
    LoadDriven("Addition{ target $v begin 0 end 1000 loops 0 noOfChildren 2 "
               "Const{ target null begin 0 end 1 loops 0 value 2 noOfChildren 0 } "
               "Const{ target null begin 5000 end 6000 loops 0 value 3 noOfChildren 0 } }",
        0, { "$v" });
    EXPECT_EQ(Var("$v"), 5.f);
    Update(700);
    EXPECT_EQ(Var("$v"), 5.f);
}

TEST_F(ControllerTest, ANullTargetStillDrivesChildrenAndEndsItsAnimation)
{
    SceneText text;
    Declare(text, { "$c" })
        .Controller("c",
            "Linear{ target null begin 0 end 1000 loops 0 beginValue 0 endValue 1 noOfChildren 1 "
            "Linear{ target $c begin 0 end 1000 loops 0 beginValue 0 endValue 10 noOfChildren 0 } }")
        .MainAnim("null", "c");
    Load(text);
    Update(500);
    EXPECT_EQ(Var("$c"), 5.f);
    EXPECT_EQ(Update(1000), ResultRuntimeError);
    EXPECT_EQ(Var("$c"), 10.f) << "the children finish with their parent";
    EXPECT_EQ(Scene().GetErrorText(),
        "Tavisk Runtime Blocking Error:::MainAnim is not a looping animation but it has a null transition target");
}

TEST_F(ControllerTest, Linear2dIsAConstantZeroOverTwoLines)
{
    LoadDriven("Linear2d{ target $x begin 0 end 1000 loops 0 targetY $y beginValue 0 10 endValue 100 20 "
               "noOfChildren 0 }",
        0, { "$x", "$y" });
    Update(500);
    EXPECT_EQ(Var("$x"), 50.f);
    EXPECT_EQ(Var("$y"), 15.f);
    const auto parent = std::dynamic_pointer_cast<ConstController>(Scene().FindController("c"));
    ASSERT_TRUE(parent);
    ASSERT_EQ(parent->m_Children.size(), 2u);
    EXPECT_EQ(parent->m_Target, "$x");
    EXPECT_EQ(parent->m_Children[1]->m_Target, "$y");
    EXPECT_EQ(parent->m_Children[1]->m_Owner, &Scene());
    EXPECT_TRUE(std::dynamic_pointer_cast<LinearController>(parent->m_Children[0]));
}

TEST_F(ControllerTest, TickCountsWrapAroundWithoutLosingTime)
{
    const std::uint32_t start = 0x7fffff00u; // 256 ms before the signed range ends
    LoadDriven(
        "Linear{ target $v begin 0 end 1000 loops 0 beginValue 0 endValue 100 noOfChildren 0 }", start, { "$v" });
    Update(static_cast<int>(start + 500u));
    EXPECT_EQ(Var("$v"), 50.f);
}

// A child whose "Go" animation counts milliseconds since its start into $t, from 42.
std::string CountingChild(const TempDir& dir)
{
    SceneText child;
    Declare(child, { "$t" })
        .Controller("count",
            "Linear{ target $t begin 0 end 100000 loops 0 beginValue 42 endValue 100042 "
            "noOfChildren 0 }")
        .MainAnim("null")
        .Animation("Go", "Animation{ renderFunction null controller count transitionTarget null }");
    return "Tavisk{ " + dir.Write("child.tvs", child.Str()) + " noOfArgs 0 }";
}

TEST_F(ControllerTest, ATriggerStartsTheChildAnimationAtItsScheduledTick)
{
    SceneText text;
    text.ChildKuv("kid", CountingChild(dir))
        .Controller("c",
            "Const{ target null begin 0 end 100000 loops 0 value 0 noOfChildren 1 "
            "Trigger{ begin 3000 targetKuv kid targetAnimation Go noOfChildren 0 } }")
        .MainAnim("null", "c");
    Load(text, 10000);
    ITavisk& kid = *Scene().FindChildKuv("kid");
    float t = -1.f;
    Update(12999);
    kid.ReadVariable("$t", &t);
    EXPECT_EQ(t, 0.f);
    Update(13500);
    kid.ReadVariable("$t", &t);
    EXPECT_EQ(t, 542.f) << "started at 13000, then updated to 13500";
    Scene().FindChildKuv("kid")->StartAnimation("MainAnim", 14000);
    Update(20000);
    kid.ReadVariable("$t", &t);
    EXPECT_EQ(t, 542.f) << "a trigger fires once per start";
}

TEST_F(ControllerTest, ATriggerAtZeroFiresInsideTheStartBeforeTheChildIsRewound)
{
    SceneText text;
    text.ChildKuv("kid", CountingChild(dir))
        .Controller("c", "Trigger{ begin 0 targetKuv kid targetAnimation Go noOfChildren 0 }")
        .MainAnim("null", "c", "MainAnim");
    Load(text, 10000);
    ITavisk& kid = *Scene().FindChildKuv("kid");
    float t = -1.f;
    kid.ReadVariable("$t", &t);
    EXPECT_EQ(t, 42.f) << "Go was started at the parent's start";
    EXPECT_EQ(Scene().FindController("c")->m_State, ControllerBase::Finished);
}

TEST_F(ControllerTest, EmptyWindowsUnderAnAdditionGiveNonFiniteValuesThatDrawNothing)
{
    SceneText text;
    Declare(text, { "$v", "$s" })
        .Geometry("box", "Rectangle{ x 10 y 10 w $v h 20 hitTest 0 }")
        .Brush("red", RedBrush)
        .Executable("draw", Commands("Fill{ box red } Stroke{ box red $s }", 2))
        .Controller("c",
            "Addition{ target $v begin 0 end 1000 loops 0 noOfChildren 1 "
            "Linear{ target null begin 500 end 500 loops 0 beginValue 0 endValue 1 noOfChildren 0 } }")
        .Controller("s",
            "Addition{ target $s begin 0 end 1000 loops 0 noOfChildren 1 "
            "Sinusoidal{ target null begin 9 end 9 loops 0 dc 0 amplitude 1 frequency 1 phase 0 "
            "noOfChildren 0 } }")
        .MainAnim("draw", "c")
        .Animation("Stroked", "Animation{ renderFunction draw controller s transitionTarget null }");
    Load(text);
    EXPECT_TRUE(std::isnan(Var("$v")));
    EXPECT_EQ(Scene().StartAnimation("Stroked", 0), ResultOk);
    EXPECT_TRUE(std::isnan(Var("$s")));
    EXPECT_EQ(Render(), ResultOk);
    EXPECT_TRUE(PixelsNear(canvas.target.Get(), { { 20, 20, White } }));
    Scene().WriteVariable("$v", 20.f);
    Scene().WriteVariable("$s", 2.f);
    EXPECT_EQ(Render(), ResultOk);
    EXPECT_TRUE(PixelsNear(canvas.target.Get(), { { 20, 20, Red }, { 50, 50, White } })) << "later frames draw";
}

TEST(ControllerValues, NonFiniteArithmeticStaysDefined)
{
    LinearController line;
    line.m_Begin = line.m_End = 500;
    line.m_BeginValue = ValueD(1.f);
    line.m_EndValue = ValueD(1.f);
    EXPECT_TRUE(std::isnan(line.Evaluate(500)));
    EXPECT_TRUE(std::isnan(line.Evaluate(INT_MIN)));
    line.m_EndValue = ValueD(3e38f);
    line.m_End = 501;
    EXPECT_EQ(line.Evaluate(502), INFINITY) << "beyond the float range";
    SinusoidalController wave;
    wave.m_Frequency = ValueD(1.f);
    EXPECT_TRUE(std::isnan(wave.Evaluate(0)));
}

class ControllerRecordTest : public ProgramTest {
protected:
    std::string Error(const std::string& record)
    {
        SceneText text;
        text.Controller("c", record);
        return LoadError(text);
    }
};

TEST_F(ControllerRecordTest, ErrorsNameTheOffendingToken)
{
    EXPECT_EQ(Error("Cubic{ target $v }"), Framed(9, "Unknown controller type \"Cubic{\""));
    EXPECT_EQ(Error("Const{ target $v begin 0 end 1 loop 0 value 1 noOfChildren 0 }"),
        Framed(9, "expecting \"loops\" got \"loop\""));
    EXPECT_EQ(Error("Trigger{ begin 0 targetKuv nobody targetAnimation Go noOfChildren 0 }"),
        Framed(9, "a child kuv with name \"nobody\" does not exist"));
    EXPECT_EQ(Error("Addition{ target $v begin 0 end 1 loops 0 noOfChildren 1 Const{ } }"),
        Framed(9, "expecting \"target\" got \"}\""));
}

TEST_F(ControllerRecordTest, HostileNestingIsAParseErrorNotACrash)
{
    std::string nested = "Const{ target null begin 0 end 1 loops 0 value 0 noOfChildren 0 }";
    for (int i = 0; i < 300; ++i)
        nested = "Addition{ target null begin 0 end 1 loops 0 noOfChildren 1 " + nested + " }";
    EXPECT_EQ(Error(nested), Framed(9, "controller records nested more than 256 deep"));
}

} // namespace
