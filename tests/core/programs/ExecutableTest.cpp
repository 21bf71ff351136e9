// Procedures and commands: records, the transform stack, hit-test capture, calls,
// child scenes, and the limits that keep hostile scenes from hanging or crashing.
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "Core/RenderWork.h"
#include "support/ImageFiles.h"
#include "support/ProgramFixtures.h"

using namespace KUV;
using namespace kuvtest;

namespace {

class ExecutableTest : public ProgramTest {
protected:
    // box, all, red, green, the transforms a (move by 10, 20), b (scale by 2, 3) and move (by 50, 50), and the
    // executable "fill"; a further executable's record is on line 16.
    static SceneText Base()
    {
        SceneText text;
        text.Geometry("box", "Rectangle{ x 0 y 0 w 10 h 10 hitTest 1 }")
            .Geometry("all", "Rectangle{ x 0 y 0 w 100 h 100 hitTest 0 }")
            .Brush("red", RedBrush)
            .Brush("green", GreenBrush)
            .Transform("a", "Translation{ x 10 y 20 }")
            .Transform("b", "Scale{ x 2 y 3 }")
            .Transform("move", "Translation{ x 50 y 50 }")
            .Executable("fill", "Fill{ box red }");
        return text;
    }
    // Base with a child scene "kid" that draws commands in green over the geometry "box".
    SceneText WithChild(const std::string& geometry, const std::string& commands, int count)
    {
        SceneText child;
        child.Geometry("box", geometry).Brush("green", GreenBrush).Executable("draw", Commands(commands, count));
        return Base().ChildKuv(
            "kid", "Tavisk{ " + dir.Write("child.tvs", child.MainAnim("draw").Str()) + " noOfArgs 0 }");
    }
    // Renders under base; the final top of the stack, or the failure text.
    int RenderUnder(const D2D1_MATRIX_3X2_F& base, D2D1_MATRIX_3X2_F* top)
    {
        canvas.target->BeginDraw();
        const int result = loaded.scene->Render(&base, top);
        EXPECT_EQ(canvas.target->EndDraw(), S_OK);
        return result;
    }
};

TEST_F(ExecutableTest, RecordErrorsNameTheOffendingToken)
{
    std::string deep = "Procedure{ noOfCommands 0 }";
    for (int i = 0; i < 300; ++i)
        deep = "Procedure{ noOfCommands 1 " + deep + " }";
    const std::pair<std::string, std::string> cases[] = {
        { "Paint{ box red }", "Unknown executable type \"Paint{\"" },
        { "Fill{ nobox nored }", "a geometry with name \"nobox\" does not exist" },
        { "Stroke{ box nored 1 }", "a brush with name \"nored\" does not exist" },
        { "Fill{ box red extra }", "expecting \"}\" got \"extra\"" },
        { "DrawImage{ source pic destRect Rect{ 0 0 1 1 } opacity 1 srcRect Rect{ 0 0 1 1 } }",
            "a bitmap with name \"pic\" does not exist" },
        { "DrawImage{ src pic }", "expecting \"source\" got \"src\"" },
        { "PushTransform{ c }", "a transform with name \"c\" does not exist" },
        { "PopTransform{ a }", "expecting \"}\" got \"a\"" },
        { "Call{ later }", "an executable with name \"later\" does not exist" },
        { "Call{ fill }", "fill is not a procedure, and can not be used with Call" },
        { "RenderKuv{ kid }", "a child kuv with name \"kid\" does not exist" },
        { "SetKuvVar{ kid $x 1 }", "a child kuv with name \"kid\" does not exist" },
        { deep, "executable records nested more than 256 deep" },
    };
    for (const auto& [record, message] : cases)
        EXPECT_EQ(LoadError(Base().Executable("e", record)), Framed(16, message));
}

TEST_F(ExecutableTest, NestedAndCalledProceduresRunInPlaceAndACalledPushMovesTheCallersDrawing)
{
    LoadDrawing(Base()
                    .Executable("none", "Procedure{ noOfCommands -2 }")
                    .Executable("shift", Commands("PushTransform{ move }", 1)),
        "Call{ none } Procedure{ noOfCommands 1 Fill{ all red } } Call{ shift } Fill{ box green }", 4);
    ExpectRendered({ { 5, 5, Red }, { 55, 55, Green }, { 65, 65, Red } });
    EXPECT_EQ(canvas.target->GetAntialiasMode(), D2D1_ANTIALIAS_MODE_ALIASED);
}

TEST_F(ExecutableTest, DrawImagePaintsTheSourcePartIntoTheDestination)
{
    WritePng(dir.Path() + "/pic.png", 4, 4, Red, Blue);
    LoadDrawing(Base().Image("pic", "BitmapFromFile{ " + dir.Path() + "/pic.png }"),
        "DrawImage{ source pic destRect Rect{ 10 10 50 50 } opacity 1 srcRect Rect{ 0 0 2 4 } }", 1);
    ExpectRendered({ { 20, 30, Red }, { 35, 30, Red }, { 5, 5, White }, { 55, 30, White } });
    EXPECT_EQ(canvas.target->GetAntialiasMode(), D2D1_ANTIALIAS_MODE_ALIASED);
}

TEST_F(ExecutableTest, PushesComposeInTheLocalSpaceOfTheTopAndPopsUnwind)
{
    Load(Base()
             .Executable("two", Commands("PushTransform{ a } PushTransform{ b }", 2))
             .Executable("one", Commands("Call{ two } PopTransform{ }", 2))
             .Executable("none", Commands("Call{ one } PopTransform{ }", 2))
             .Executable("under", Commands("Call{ none } PopTransform{ }", 2))
             .MainAnim("two")
             .Animation("One", "Animation{ renderFunction one controller null transitionTarget null }")
             .Animation("None", "Animation{ renderFunction none controller null transitionTarget null }")
             .Animation("Under", "Animation{ renderFunction under controller null transitionTarget null }"));
    const D2D1_MATRIX_3X2_F base = D2D1::Translation(5.f, 7.f);
    const D2D1_MATRIX_3X2_F a = D2D1::Translation(10.f, 20.f);
    const D2D1_MATRIX_3X2_F b { 2.f, 0.f, 0.f, 3.f, 0.f, 0.f };
    D2D1_MATRIX_3X2_F top {}, onTarget {};
    ASSERT_EQ(RenderUnder(base, &top), ResultOk);
    ExpectMatrix(top, b * a * base);
    canvas.target->GetTransform(&onTarget);
    ExpectMatrix(onTarget, b * a * base);
    for (const auto& [animation, expected] : { std::pair { "One", a * base }, std::pair { "None", base } }) {
        Scene().StartAnimation(animation, 0);
        ASSERT_EQ(RenderUnder(base, &top), ResultOk);
        ExpectMatrix(top, expected);
    }
    Scene().StartAnimation("Under", 0);
    EXPECT_EQ(RenderUnder(base, &top), ResultRuntimeError);
    EXPECT_EQ(Scene().GetErrorText(),
        "Tavisk Runtime Blocking Error:::trying to run PopTransform while transform stack is empty");
    canvas.target->GetTransform(&onTarget);
    ExpectMatrix(onTarget, base);
}

TEST_F(ExecutableTest, HitTestsSeeThroughTheCapturedTransform)
{
    LoadDrawing(Base(),
        "PushTransform{ move } CaptureHitTestTransform{ } PushTransform{ move } PopTransform{ } PopTransform{ }", 5);
    EXPECT_TRUE(Hits(5, 5)) << "identity before any capture";
    ASSERT_EQ(Render(), ResultOk);
    EXPECT_TRUE(Hits(55, 55));
    EXPECT_FALSE(Hits(5, 5));
    EXPECT_FALSE(Hits(105, 105)) << "later pushes are not captured";
}

TEST_F(ExecutableTest, ACallTreeThatDoublesItsCommandsStopsAtTenMillionOfThem)
{
    SceneText text = Base();
    text.Executable("p0", Commands("", 0));
    for (int k = 1; k <= 30; ++k) {
        const std::string callee = "Call{ " + Numbered("p", k - 1) + " } ";
        text.Executable(Numbered("p", k), Commands(callee + callee, 2));
    }
    Load(text.MainAnim("p30"));
    EXPECT_EQ(Render(), ResultRuntimeError);
    const std::string& error = Scene().GetErrorText();
    EXPECT_EQ(error.rfind("Tavisk Runtime Blocking Error:::", 0), 0u) << error;
    EXPECT_NE(error.find("more than its budget of 2000000000 work units"), std::string::npos) << error;
    EXPECT_EQ(Tavisk::WorkOfLastRender() / RenderWork::PerCommand, 10'000'000u)
        << "the 10,000,000th command stops it (the scene's components cost a little too)";
}

TEST_F(ExecutableTest, DeepCallChainsStopBeforeTheStackRunsOut)
{
    SceneText text = Base();
    text.Executable("c0", Commands("Fill{ box red }", 1));
    for (int k = 1; k <= 1100; ++k)
        text.Executable(Numbered("c", k), Commands("Call{ " + Numbered("c", k - 1) + " }", 1));
    Load(text.MainAnim("c1100").Animation(
        "Shallow", "Animation{ renderFunction c1000 controller null transitionTarget null }"));
    EXPECT_EQ(Render(), ResultRuntimeError);
    EXPECT_EQ(Scene().GetErrorText(),
        "Tavisk Runtime Blocking Error:::procedures called inside one another more than 1024 levels deep");
    Scene().StartAnimation("Shallow", 0);
    ExpectRendered({ { 5, 5, Red } });
}

TEST_F(ExecutableTest, AFailingChildKeepsItsErrorWhileTheParentFrameCompletes)
{
    LoadDrawing(WithChild("Rectangle{ x 0 y 0 w 10 h 10 hitTest 0 }",
                    "Fill{ box green } PopTransform{ } Stroke{ box green 60 }", 3)
                    .Geometry("side", "Rectangle{ x 20 y 0 w 10 h 10 hitTest 0 }"),
        "PushTransform{ move } RenderKuv{ kid } Fill{ side red }", 3);
    ExpectRendered({ { 55, 55, Green }, { 75, 55, Red }, { 85, 85, White }, { 5, 5, White } });
    EXPECT_EQ(Scene().Find<ITavisk>("kid")->GetErrorText(),
        "Tavisk Runtime Blocking Error:::trying to run PopTransform while transform stack is empty");
    EXPECT_EQ(canvas.target->GetAntialiasMode(), D2D1_ANTIALIAS_MODE_ALIASED);
}

TEST_F(ExecutableTest, TheParentWritesChildVariablesFromItsOwnValuesAndSkipsMissingOnes)
{
    SceneText parent = WithChild("Rectangle{ x 0 y 0 w $w h 10 hitTest 0 }", "Fill{ box green }", 1);
    Load(Declare(parent, { "$pw" })
             .Executable("draw", Commands("SetKuvVar{ kid $w $pw } SetKuvVar{ kid $missing 1 } RenderKuv{ kid }", 3))
             .Controller("c", "Const{ target $pw begin 0 end 1000 loops 1 value 30 noOfChildren 0 }")
             .MainAnim("draw", "c"));
    ExpectRendered({ { 25, 5, Green }, { 35, 5, White } });
    EXPECT_EQ(Scene().Find<ITavisk>("kid")->GetErrorText(), "trying to write non-existing variable");
    float w = 0.f;
    Scene().Find<ITavisk>("kid")->ReadVariable("$w", &w);
    EXPECT_EQ(w, 30.f) << "the write outlives the frame";
}

} // namespace
