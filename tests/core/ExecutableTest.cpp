// Procedures and commands: records, the transform stack, hit-test capture,
// calls, and the limits that keep hostile scenes from hanging or crashing.
#include <stdexcept>

#include <cairo.h>

#include <gtest/gtest.h>

#include "Core/BrushBase.h"
#include "Core/DrawCommands.h"
#include "Core/GeometryBase.h"
#include "Core/Image.h"
#include "ProgramFixtures.h"
#include "support/Pixels.h"

using namespace KUV;
using namespace kuvtest;

namespace {

class ExecutableTest : public ProgramTest {
protected:
    // box, all, red, green and the transforms a (move by 10, 20) and b (scale by 2, 3); the record is on line 14.
    SceneText Base() const
    {
        SceneText text;
        text.Geometry("box", "Rectangle{ x 0 y 0 w 10 h 10 hitTest 1 }")
            .Geometry("all", "Rectangle{ x 0 y 0 w 100 h 100 hitTest 0 }")
            .Brush("red", RedBrush)
            .Brush("green", GreenBrush)
            .Transform("a", "Translation{ x 10 y 20 }")
            .Transform("b", "Scale{ x 2 y 3 }");
        return text;
    }
    std::string RecordError(const std::string& record) { return LoadError(Base().Executable("e", record)); }
    // Renders under base; the final top of the stack, or the failure text.
    int RenderUnder(const D2D1_MATRIX_3X2_F& base, D2D1_MATRIX_3X2_F* top)
    {
        canvas.target->BeginDraw();
        const int result = loaded.scene->Render(&base, top);
        EXPECT_EQ(canvas.target->EndDraw(), S_OK);
        return result;
    }
    void ExpectMatrix(const D2D1_MATRIX_3X2_F& actual, const D2D1_MATRIX_3X2_F& expected)
    {
        const float a[] = { actual._11, actual._12, actual._21, actual._22, actual._31, actual._32 };
        const float e[] = { expected._11, expected._12, expected._21, expected._22, expected._31, expected._32 };
        for (int i = 0; i < 6; ++i)
            EXPECT_FLOAT_EQ(a[i], e[i]) << "entry " << i;
    }
};

TEST_F(ExecutableTest, RecordErrorsNameTheOffendingToken)
{
    EXPECT_EQ(RecordError("Paint{ box red }"), Framed(14, "Unknown executable type \"Paint{\""));
    EXPECT_EQ(RecordError("Fill{ nobox nored }"), Framed(14, "a geometry with name \"nobox\" does not exist"));
    EXPECT_EQ(RecordError("Stroke{ box nored 1 }"), Framed(14, "a brush with name \"nored\" does not exist"));
    EXPECT_EQ(RecordError("Fill{ box red extra }"), Framed(14, "expecting \"}\" got \"extra\""));
    EXPECT_EQ(RecordError("DrawImage{ source pic destRect Rect{ 0 0 1 1 } opacity 1 srcRect Rect{ 0 0 1 1 } }"),
        Framed(14, "a bitmap with name \"pic\" does not exist"));
    EXPECT_EQ(RecordError("DrawImage{ src pic }"), Framed(14, "expecting \"source\" got \"src\""));
    EXPECT_EQ(RecordError("PushTransform{ c }"), Framed(14, "a transform with name \"c\" does not exist"));
    EXPECT_EQ(RecordError("PopTransform{ a }"), Framed(14, "expecting \"}\" got \"a\""));
    EXPECT_EQ(RecordError("Call{ later }"), Framed(14, "an executable with name \"later\" does not exist"));
    EXPECT_EQ(RecordError("RenderKuv{ kid }"), Framed(14, "a child kuv with name \"kid\" does not exist"));
    EXPECT_EQ(RecordError("SetKuvVar{ kid $x 1 }"), Framed(14, "a child kuv with name \"kid\" does not exist"));
}

TEST_F(ExecutableTest, OnlyProceduresCanBeCalled)
{
    const std::string error = LoadError(Base().Executable("fill", "Fill{ box red }").Executable("e", "Call{ fill }"));
    EXPECT_EQ(error, Framed(15, "fill is not a procedure, and can not be used with Call"));
}

TEST_F(ExecutableTest, NestedProceduresRunInPlaceAndEmptyOnesAreValid)
{
    Load(Base()
             .Executable("none", "Procedure{ noOfCommands -2 }")
             .Executable(
                 "draw", Commands("Call{ none } Procedure{ noOfCommands 1 Fill{ all red } } Fill{ box green }", 3))
             .MainAnim("draw"));
    ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
    EXPECT_TRUE(PixelsNear(canvas.target.Get(), { { 5, 5, Green }, { 50, 50, Red } }));
    EXPECT_EQ(canvas.target->GetAntialiasMode(), D2D1_ANTIALIAS_MODE_ALIASED);
}

TEST_F(ExecutableTest, DrawImagePaintsTheSourcePartIntoTheDestination)
{
    cairo_surface_t* png = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 4);
    cairo_t* cr = cairo_create(png);
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_rectangle(cr, 0, 0, 2, 4);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0, 0, 1);
    cairo_rectangle(cr, 2, 0, 2, 4);
    cairo_fill(cr);
    cairo_destroy(cr);
    const std::string path = dir.Path() + "/pic.png";
    ASSERT_EQ(cairo_surface_write_to_png(png, path.c_str()), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(png);
    Load(Base()
             .Image("pic", "BitmapFromFile{ " + path + " }")
             .Executable("draw",
                 Commands("DrawImage{ source pic destRect Rect{ 10 10 50 50 } opacity 1 srcRect Rect{ 0 0 2 4 } }", 1))
             .MainAnim("draw"));
    ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
    EXPECT_TRUE(
        PixelsNear(canvas.target.Get(), { { 20, 30, Red }, { 35, 30, Red }, { 5, 5, White }, { 55, 30, White } }));
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
    D2D1_MATRIX_3X2_F top {};
    ASSERT_EQ(RenderUnder(base, &top), ResultOk);
    ExpectMatrix(top, b * a * base);
    D2D1_MATRIX_3X2_F onTarget {};
    canvas.target->GetTransform(&onTarget);
    ExpectMatrix(onTarget, b * a * base);

    Scene().StartAnimation("One", 0);
    ASSERT_EQ(RenderUnder(base, &top), ResultOk);
    ExpectMatrix(top, a * base);
    Scene().StartAnimation("None", 0);
    ASSERT_EQ(RenderUnder(base, &top), ResultOk);
    ExpectMatrix(top, base);
    Scene().StartAnimation("Under", 0);
    EXPECT_EQ(RenderUnder(base, &top), ResultRuntimeError);
    EXPECT_EQ(Scene().GetErrorText(),
        "Tavisk Runtime Blocking Error:::trying to run PopTransform while transform stack is empty");
    canvas.target->GetTransform(&onTarget);
    ExpectMatrix(onTarget, base);
}

TEST_F(ExecutableTest, ACalledPushMovesTheCallersLaterDrawing)
{
    Load(Base()
             .Transform("move", "Translation{ x 50 y 50 }")
             .Executable("shift", Commands("PushTransform{ move }", 1))
             .Executable("draw", Commands("Call{ shift } Fill{ box red }", 2))
             .MainAnim("draw"));
    ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
    EXPECT_TRUE(PixelsNear(canvas.target.Get(), { { 55, 55, Red }, { 5, 5, White } }));
}

TEST_F(ExecutableTest, HitTestsSeeThroughTheCapturedTransform)
{
    Load(Base()
             .Transform("move", "Translation{ x 50 y 50 }")
             .Executable("draw",
                 Commands("PushTransform{ move } CaptureHitTestTransform{ } PushTransform{ move } "
                          "PopTransform{ } PopTransform{ }",
                     5))
             .MainAnim("draw"));
    bool hit = false;
    ASSERT_EQ(loaded.scene->HitTest(5, 5, &hit), ResultOk);
    EXPECT_TRUE(hit) << "identity before any capture";
    ASSERT_EQ(Render(), ResultOk);
    loaded.scene->HitTest(55, 55, &hit);
    EXPECT_TRUE(hit);
    loaded.scene->HitTest(5, 5, &hit);
    EXPECT_FALSE(hit);
    loaded.scene->HitTest(105, 105, &hit);
    EXPECT_FALSE(hit) << "later pushes are not captured";
}

TEST_F(ExecutableTest, ACallTreeThatDoublesItsWorkStopsAtTheCommandBudget)
{
    SceneText text = Base();
    text.Executable("p0", Commands("", 0));
    for (int k = 1; k <= 30; ++k) {
        const std::string callee = "Call{ p" + std::to_string(k - 1) + " } ";
        text.Executable("p" + std::to_string(k), Commands(callee + callee, 2));
    }
    Load(text.MainAnim("p30"));
    EXPECT_EQ(Render(), ResultRuntimeError);
    const std::string& error = Scene().GetErrorText();
    EXPECT_EQ(error.rfind("Tavisk Runtime Blocking Error:::", 0), 0u) << error;
    EXPECT_NE(error.find("more than 10000000 commands"), std::string::npos) << error;
}

TEST_F(ExecutableTest, DeepCallChainsStopBeforeTheStackRunsOut)
{
    SceneText text = Base();
    text.Executable("c0", Commands("Fill{ box red }", 1));
    for (int k = 1; k <= 1100; ++k)
        text.Executable("c" + std::to_string(k), Commands("Call{ c" + std::to_string(k - 1) + " }", 1));
    Load(text.MainAnim("c1100").Animation(
        "Shallow", "Animation{ renderFunction c1000 controller null transitionTarget null }"));
    EXPECT_EQ(Render(), ResultRuntimeError);
    EXPECT_EQ(Scene().GetErrorText(),
        "Tavisk Runtime Blocking Error:::procedures called inside one another more than 1024 levels deep");
    Scene().StartAnimation("Shallow", 0);
    EXPECT_EQ(Render(), ResultOk);
    EXPECT_TRUE(PixelsNear(canvas.target.Get(), { { 5, 5, Red } }));
}

TEST_F(ExecutableTest, HostileRecordNestingIsAParseError)
{
    std::string nested = "Procedure{ noOfCommands 0 }";
    for (int i = 0; i < 300; ++i)
        nested = "Procedure{ noOfCommands 1 " + nested + " }";
    EXPECT_EQ(RecordError(nested), Framed(14, "executable records nested more than 256 deep"));
}

// Components whose build fails, to check that draws undo their antialiasing change.
struct FailingGeometry : GeometryBase {
    std::shared_ptr<ID2D1Geometry> CreateResource() override { throw std::runtime_error("no shape"); }
};
struct FailingImage : KUV::Image {
    std::shared_ptr<ID2D1Bitmap> CreateResource() override { throw std::runtime_error("no pixels"); }
    void OnUpdate() override { }
};
struct RedSolidBrush : BrushBase {
    std::shared_ptr<ID2D1Brush> CreateResource() override
    {
        ID2D1SolidColorBrush* brush = nullptr;
        CheckD2DResult(m_RT->CreateSolidColorBrush(D2D1::ColorF(1.f, 0.f, 0.f), nullptr, &brush));
        return AdoptInterface<ID2D1Brush>(brush);
    }
};

TEST(DrawCommandScopes, AFailingDrawLeavesTheTargetAliased)
{
    Canvas canvas;
    auto geometry = std::make_shared<FailingGeometry>();
    geometry->m_Dynamic = true;
    auto brush = std::make_shared<RedSolidBrush>();
    brush->m_RT = canvas.target.Get();
    StrokeCommand stroke;
    stroke.m_RT = canvas.target.Get();
    stroke.m_Geometry = geometry;
    stroke.m_Brush = brush;
    stroke.m_Width = ValueD(2.f);
    EXPECT_THROW(stroke.Execute(), std::runtime_error);
    EXPECT_EQ(canvas.target->GetAntialiasMode(), D2D1_ANTIALIAS_MODE_ALIASED);
    DrawImageCommand image;
    image.m_RT = canvas.target.Get();
    image.m_Image = std::make_shared<FailingImage>();
    EXPECT_THROW(image.Execute(), std::runtime_error);
    EXPECT_EQ(canvas.target->GetAntialiasMode(), D2D1_ANTIALIAS_MODE_ALIASED);
}

} // namespace
