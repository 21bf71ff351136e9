// Controllers: windows, loops, finishing, the kinds' values, triggers and records.
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "Core/ControllerBase.h"
#include "support/ProgramFixtures.h"

using namespace KUV;
using namespace kuvtest;

namespace {

using ControllerTest = ProgramTest;

TEST_F(ControllerTest, WindowsLoopsAndKindsWriteTheirValues)
{
    // After writing `written` when given, an update at time (none for the first step); then $v and $y.
    struct Step {
        std::uint32_t time;
        float v;
        float y = 0;
        float written = NAN;
    };
    struct Case {
        const char* record;
        std::uint32_t start;
        std::vector<Step> steps;
        ControllerBase::State state;
    };
    const std::uint32_t nearWrap = 0x7fffff00u; // 256 ms before the signed range ends
    const Case cases[] = {
        { "Linear{ target $v begin 0 end 1000 loops 0 beginValue 0 endValue 100 noOfChildren 0 }", 5000,
            { { 0, 0 }, { 5500, 50 }, { 5999, 99.9f }, { 6000, 100 }, { 7000, -1, 0, -1 } }, ControllerBase::Finished },
        // Each restart writes relative time 0; a late update catches up one period only (7000 at 8600, 8000 at 8700).
        { "Linear{ target $v begin 0 end 1000 loops 1 beginValue 0 endValue 100 noOfChildren 0 }", 5000,
            { { 0, 0 }, { 5900, 90 }, { 6000, 0 }, { 6250, 25 }, { 8600, 0 }, { 8700, 0 }, { 8800, 80 } },
            ControllerBase::Running },
        { "Linear{ target $v begin 500 end 1000 loops 0 beginValue 3 endValue 4 noOfChildren 0 }", 0,
            { { 0, 0 }, { 400, 0 }, { 1200, 0 }, { 5000, 0 } }, ControllerBase::Idle },
        { "Linear{ target $v begin 1000 end 1000 loops 0 beginValue 3 endValue 4 noOfChildren 0 }", 0,
            { { 0, 0 }, { 1000, 0 }, { 3000, 0 } }, ControllerBase::Idle },
        { "Linear{ target $v begin 0 end 1000 loops 0 beginValue 0 endValue 100 noOfChildren 0 }", nearWrap,
            { { 0, 0 }, { nearWrap + 500u, 50 } }, ControllerBase::Running },
        // The phase is in degrees and the frequency counts periods per window.
        { "Sinusoidal{ target $v begin 0 end 1000 loops 0 dc 10 amplitude 5 frequency 1 phase 90 noOfChildren 0 }", 100,
            { { 0, 15 }, { 350, 10 }, { 600, 5 } }, ControllerBase::Running },
        { "Addition{ target $v begin 0 end 1000 loops 0 noOfChildren 2 "
          "Const{ target null begin 0 end 1 loops 0 value 2 noOfChildren 0 } "
          "Const{ target null begin 5000 end 6000 loops 0 value 3 noOfChildren 0 } }",
            0, { { 0, 5 }, { 700, 5 } }, ControllerBase::Running },
        { "Linear2d{ target $v begin 0 end 1000 loops 0 targetY $y beginValue 0 10 endValue 100 20 noOfChildren 0 }", 0,
            { { 0, 0, 10 }, { 500, 50, 15 } }, ControllerBase::Running },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        // A finished controller hands over to a missing animation, which keeps it in place without an error.
        SceneText text;
        Load(Declare(text, { "$v", "$y" }).Controller("c", c.record).MainAnim("null", "c", "nowhere"), c.start);
        for (const Step& step : c.steps) {
            SCOPED_TRACE(step.time);
            if (!std::isnan(step.written)) Write("$v", step.written);
            EXPECT_EQ(&step == &c.steps.front() ? ResultOk : Update(static_cast<int>(step.time)), ResultOk);
            EXPECT_NEAR(Var("$v"), step.v, 1e-4f);
            EXPECT_NEAR(Var("$y"), step.y, 1e-4f);
        }
        EXPECT_EQ(Scene().Find<ControllerBase>("c")->m_State, c.state);
    }
}

TEST_F(ControllerTest, ANullTargetStillDrivesChildrenAndEndsItsAnimation)
{
    SceneText text;
    Load(Declare(text, { "$c" })
             .Controller("c",
                 "Linear{ target null begin 0 end 1000 loops 0 beginValue 0 endValue 1 noOfChildren 1 "
                 "Linear{ target $c begin 0 end 1000 loops 0 beginValue 0 endValue 10 noOfChildren 0 } }")
             .MainAnim("null", "c"));
    Update(500);
    EXPECT_EQ(Var("$c"), 5.f);
    EXPECT_EQ(Update(1000), 4) << "a blocking runtime error";
    EXPECT_EQ(Var("$c"), 10.f) << "the children finish with their parent";
    EXPECT_EQ(Scene().GetErrorText(),
        "Tavisk Runtime Blocking Error:::MainAnim is not a looping animation but it has a null transition target");
}

TEST_F(ControllerTest, TriggersStartTheChildAnimationOnceAtTheirScheduledTick)
{
    // The child's "Go" animation counts milliseconds since its start into $t, from 42.
    SceneText child;
    Declare(child, { "$t" })
        .Controller(
            "count", "Linear{ target $t begin 0 end 100000 loops 0 beginValue 42 endValue 100042 noOfChildren 0 }")
        .MainAnim("null")
        .Animation("Go", "Animation{ renderFunction null controller count transitionTarget null }");
    const std::string kid = "Tavisk{ " + dir.Write("child.tvs", child.Str()) + " noOfArgs 0 }";
    SceneText text;
    Load(text.ChildKuv("early", kid)
             .ChildKuv("late", kid)
             .Controller("c",
                 "Const{ target null begin 0 end 100000 loops 0 value 0 noOfChildren 2 "
                 "Trigger{ begin 0 targetKuv early targetAnimation Go noOfChildren 0 } "
                 "Trigger{ begin 3000 targetKuv late targetAnimation Go noOfChildren 0 } }")
             .MainAnim("null", "c"),
        10000);
    const auto time = [&](const char* name) {
        float t = -1.f;
        EXPECT_EQ(Scene().Find<ITavisk>(name)->ReadVariable("$t", &t), ResultOk);
        return t;
    };
    EXPECT_EQ(time("early"), 42.f) << "Go was started inside the parent's start";
    Update(12999);
    EXPECT_EQ(time("late"), 0.f);
    Update(13500);
    EXPECT_EQ(time("late"), 542.f) << "started at 13000, then updated to 13500";
    EXPECT_EQ(time("early"), 3542.f) << "a trigger at 0 is not undone by the rewind of the parent's start";
    Scene().Find<ITavisk>("late")->StartAnimation("MainAnim", 14000);
    Update(20000);
    EXPECT_EQ(time("late"), 542.f) << "a trigger fires once per start";
}

TEST_F(ControllerTest, NonFiniteValuesFromEmptyWindowsDrawNothingAndLaterFramesDraw)
{
    SceneText text;
    Load(
        Declare(text, { "$v" })
            .Geometry("box", "Rectangle{ x 10 y 10 w $v h 20 hitTest 0 }")
            .Brush("red", RedBrush)
            .Executable("draw", Commands("Fill{ box red } Stroke{ box red $v }", 2))
            .Controller("c",
                "Addition{ target $v begin 0 end 1000 loops 0 noOfChildren 2 "
                "Linear{ target null begin 500 end 500 loops 0 beginValue 0 endValue 1 noOfChildren 0 } "
                "Sinusoidal{ target null begin 9 end 9 loops 0 dc 0 amplitude 1 frequency 1 phase 0 noOfChildren 0 } }")
            .MainAnim("draw", "c"));
    EXPECT_TRUE(std::isnan(Var("$v")));
    ExpectRendered({ { 20, 20, White } });
    Write("$v", 20.f);
    ExpectRendered({ { 20, 20, Red }, { 50, 50, White } });
}

TEST_F(ControllerTest, RecordErrorsNameTheOffendingToken)
{
    std::string deep = "Const{ target null begin 0 end 1 loops 0 value 0 noOfChildren 0 }";
    for (int i = 0; i < 300; ++i)
        deep = "Addition{ target null begin 0 end 1 loops 0 noOfChildren 1 " + deep + " }";
    const std::pair<std::string, std::string> cases[] = {
        { "Cubic{ target $v }", "Unknown controller type \"Cubic{\"" },
        { "Const{ target $v begin 0 end 1 loop 0 value 1 noOfChildren 0 }", "expecting \"loops\" got \"loop\"" },
        { "Trigger{ begin 0 targetKuv nobody targetAnimation Go noOfChildren 0 }",
            "a child kuv with name \"nobody\" does not exist" },
        { "Addition{ target $v begin 0 end 1 loops 0 noOfChildren 1 Const{ } }", "expecting \"target\" got \"}\"" },
        { deep, "controller records nested more than 256 deep" },
    };
    for (const auto& [record, message] : cases)
        EXPECT_EQ(LoadError(SceneText().Controller("c", record)), Framed(9, message));
}

} // namespace
