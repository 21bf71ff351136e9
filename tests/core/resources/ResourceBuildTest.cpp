// What resources build from their values, how often they build it, and what they paint.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Core/BrushBase.h"
#include "Core/GeometryBase.h"
#include "Core/LinearGradientBrush.h"
#include "Gfx/cairo/Factory.h"
#include "support/ProgramFixtures.h"

namespace kuvtest {
namespace {

using ResourceBuild = ProgramTest;

// The drawing factory, counting the rectangles and ellipses built through it.
struct CountingFactory final : KUV::Gfx::Cairo::Factory {
    CountingFactory()
        : Factory(D2D1_DEFAULT_DPI)
    {
    }
    HRESULT CreateRectangleGeometry(const D2D1_RECT_F& rectangle, ID2D1RectangleGeometry** geometry) override
    {
        ++rectangles;
        return Factory::CreateRectangleGeometry(rectangle, geometry);
    }
    HRESULT CreateEllipseGeometry(const D2D1_ELLIPSE& ellipse, ID2D1EllipseGeometry** geometry) override
    {
        ++ellipses;
        return Factory::CreateEllipseGeometry(ellipse, geometry);
    }
    int rectangles = 0;
    int ellipses = 0;
};

TEST_F(ResourceBuild, EachTransformKindBuildsItsMatrix)
{
    const struct {
        const char* record;
        D2D1_MATRIX_3X2_F matrix;
    } cases[] = {
        { "Translation{ x 10 y 20 }", { 1, 0, 0, 1, 10, 20 } },
        { "Rotation{ t 90 }", { 0, 1, -1, 0, 0, 0 } },
        { "PolarTranslation{ r 10 t 3.14159 }", { 1, 0, 0, 1, -10, 0 } },
        // 90 is an angle in radians here, not a quarter turn.
        { "PolarTranslation{ r 1 t 90 }",
            { 1, 0, 0, 1, static_cast<float>(std::cos(90.0)), static_cast<float>(std::sin(90.0)) } },
        { "Scale{ x 2 y -1 }", { 2, 0, 0, -1, 0, 0 } },
    };
    SceneText text;
    for (const auto& c : cases)
        text.Transform(Numbered("t", &c - cases), c.record);
    Load(text);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record);
        ExpectMatrix(*Scene().Find<KUV::TransformResource>(Numbered("t", &c - cases))->GetResource(), c.matrix, 1e-3f);
    }
}

TEST_F(ResourceBuild, DynamicResourcesAreBuiltOncePerFrameAndStaticOnesOnce)
{
    LoadDrawing(SceneText()
                    .Geometry("dynamic", "Ellipse{ center Point{ 50 50 } radiusX $r radiusY 10 hitTest 0 }")
                    .Geometry("static", "Rectangle{ x 0 y 0 w 10 h 10 hitTest 0 }")
                    .Geometry("unused", "Ellipse{ center Point{ 50 50 } radiusX $r radiusY 5 hitTest 0 }")
                    .Brush("red", RedBrush)
                    .Brush("var", "SolidColorBrush{ Color{ $c 0 0 1 } opacity 1 }")
                    .Transform("grow", "Scale{ x $s y 3 }")
                    .Transform("move", "Translation{ x 1 y 2 }"),
        "PushTransform{ grow } PushTransform{ move } Fill{ dynamic red } Fill{ static var } Fill{ dynamic red } "
        "Stroke{ dynamic red 2 } Fill{ static red } PopTransform{ } PopTransform{ }",
        9);
    ComPtr<CountingFactory> counter(new CountingFactory);
    for (const char* name : { "dynamic", "static", "unused" })
        Scene().Find<KUV::GeometryBase>(name)->m_Factory = counter.Get();
    const auto red = Scene().Find<KUV::BrushBase>("red");
    const auto grow = Scene().Find<KUV::TransformResource>("grow");
    std::shared_ptr<ID2D1Brush> firstRed;
    for (int frame = 1; frame <= 3; ++frame) {
        Write("$s", static_cast<float>(frame));
        ASSERT_EQ(Render(), KUV::ResultOk) << Scene().GetErrorText();
        EXPECT_EQ(counter->ellipses, frame) << "the drawn dynamic ellipse is built once per frame, the unused never";
        EXPECT_EQ(counter->rectangles, 1) << "the static rectangle is built once";
        if (frame == 1) firstRed = red->m_Resource;
        EXPECT_NE(red->m_Resource, nullptr);
        EXPECT_EQ(red->m_Resource, firstRed) << "a static brush is kept";
        EXPECT_EQ(Scene().Find<KUV::BrushBase>("var")->m_Resource, nullptr)
            << "a dynamic brush is dropped after each render";
        EXPECT_NE(Scene().Find<KUV::TransformResource>("move")->m_Resource, nullptr);
        EXPECT_EQ(grow->m_Resource, nullptr);
        EXPECT_EQ(*grow->GetResource(), (D2D_MATRIX_3X2_F { static_cast<float>(frame), 0, 0, 3, 0, 0 }));
    }
}

TEST_F(ResourceBuild, AGradientKeepsTheStopsOfItsFirstBuildWhileItsOpacityFollows)
{
    LoadDrawing(SceneText()
                    .Geometry("box", "Rectangle{ x 0 y 0 w 50 h 50 hitTest 0 }")
                    .Brush("fade",
                        "LinearGradientBrush{ start Point{ 0 0 } end Point{ 50 0 } GradientStopCollection{ "
                        "noOfGradientStops 1 GradientStop{ 0 Color{ $c 0 0 1 } } extendMode 1 } opacity $o }"),
        "Fill{ box fade }", 1);
    auto brush = std::dynamic_pointer_cast<KUV::LinearGradientBrush>(Scene().Find<KUV::BrushBase>("fade"));
    ASSERT_NE(brush, nullptr);
    Write("$c", 1);
    Write("$o", 1);
    ExpectRendered({ { 25, 25, Red } });
    const std::shared_ptr<ID2D1GradientStopCollection> stops = brush->m_Stops->m_Resource;
    ASSERT_NE(stops, nullptr);
    EXPECT_EQ(stops->GetExtendMode(), D2D1_EXTEND_MODE_WRAP);
    Write("$c", 0);
    Write("$o", 0.5f);
    ExpectRendered({ { 25, 25, { 255, 128, 128, 255 } } }); // the first build's stop colour at half opacity
    EXPECT_EQ(brush->m_Stops->m_Resource, stops) << "the collection is not rebuilt";
}

std::string Square(int size)
{
    const std::string s = std::to_string(size);
    return "Figure{ startPoint Point{ 0 0 } closed 1 noOfSegments 3 Line{ to Point{ " + s + " 0 } } Line{ to Point{ "
        + s + " " + s + " } } Line{ to Point{ 0 " + s + " } } }";
}

std::string Triangle(int closed, int size)
{
    return "Path{ noOfFigures 1 Figure{ startPoint Point{ 10 10 } closed " + std::to_string(closed)
        + " noOfSegments 2 Line{ to Point{ " + std::to_string(size) + " 10 } } Line{ to Point{ 10 "
        + std::to_string(size) + " } } } hitTest 0 }";
}

const std::string Stops = "GradientStopCollection{ noOfGradientStops 2 GradientStop{ 0 Color{ 1 0 0 1 } } "
                          "GradientStop{ 1 Color{ 0 0 1 1 } } extendMode ";

std::string Linear(int extendMode)
{
    return "LinearGradientBrush{ start Point{ 0 0 } end Point{ 50 0 } " + Stops + std::to_string(extendMode)
        + " } opacity 1 }";
}

std::string Radial(int offsetX)
{
    return "RadialGradientBrush{ center Point{ 50 50 } originOffset Point{ " + std::to_string(offsetX)
        + " 0 } radiusX 40 radiusY 20 " + Stops + "0 } opacity 1 }";
}

TEST_F(ResourceBuild, ShapesBrushesAndTransformsPaintWhatTheirRecordsDescribe)
{
    const std::string fill = "Fill{ g b }";
    // The bar spans (0, 0) to (30, 10) and is drawn under Translation{ 50 50 } and then the transform t.
    const std::string centred
        = "PushTransform{ centre } PushTransform{ t } Fill{ g b } PopTransform{ } PopTransform{ }";
    const std::string bar = "Rectangle{ x 0 y 0 w 30 h 10 hitTest 0 }";
    const std::string band = "Rectangle{ x 0 y 0 w 100 h 20 hitTest 0 }";
    const std::string all = "Rectangle{ x 0 y 0 w 100 h 100 hitTest 0 }";
    const Rgba nearRed { 247, 0, 8, 255 };
    const Rgba nearBlue { 8, 0, 247, 255 };
    struct Painting {
        const char* what;
        std::string geometry;
        std::string brush;
        std::string draw;
        std::vector<PixelExpectation> pixels;
        int tolerance = 8;
        std::string transform = "Translation{ x 0 y 0 }";
    };
    const Painting paintings[] = {
        { "rectangle", "Rectangle{ x 10 y 20 w 30 h 40 hitTest 0 }", RedBrush, fill,
            { { 11, 21, Red }, { 38, 58, Red }, { 8, 40, White }, { 42, 40, White }, { 25, 18, White },
                { 25, 62, White } } },
        { "ellipse", "Ellipse{ center Point{ 50 50 } radiusX 30 radiusY 15 hitTest 0 }", RedBrush, fill,
            { { 50, 50, Red }, { 23, 50, Red }, { 76, 50, Red }, { 50, 37, Red }, { 50, 31, White }, { 23, 37, White },
                { 76, 62, White } } },
        { "open stroke", Triangle(0, 90), RedBrush, "Stroke{ g b 4 }",
            { { 50, 10, Red }, { 50, 50, Red }, { 30, 30, White }, { 10, 50, White } } },
        { "closed stroke", Triangle(1, 90), RedBrush, "Stroke{ g b 4 }",
            { { 50, 10, Red }, { 50, 50, Red }, { 30, 30, White }, { 10, 50, Red } } },
        { "winding rule: the inner square is no hole",
            "Path{ noOfFigures 2 " + Square(40) + " " + Square(20) + " hitTest 0 }", RedBrush, fill,
            { { 10, 10, Red }, { 30, 30, Red }, { 45, 45, White } } },
        { "an open figure is still filled", Triangle(0, 50), RedBrush, fill, { { 20, 20, Red }, { 40, 40, White } } },
        // The curve's extreme is at its middle: 0.75 of its control points' height.
        { "curve",
            "Path{ noOfFigures 1 Figure{ startPoint Point{ 10 10 } closed 1 noOfSegments 1 Bezier{ p1 Point{ 10 90 } "
            "p2 Point{ 90 90 } p3 Point{ 90 10 } } } hitTest 0 }",
            RedBrush, fill, { { 50, 12, Red }, { 50, 68, Red }, { 50, 72, White }, { 50, 8, White } } },
        { "no figures", "Path{ noOfFigures -3 hitTest 0 }", RedBrush, fill, { { 50, 50, White } } },
        { "half-transparent red", "Rectangle{ x 0 y 0 w 50 h 50 hitTest 0 }",
            "SolidColorBrush{ Color{ 1 0 0 1 } opacity 0.5 }", fill,
            { { 25, 25, { 255, 128, 128, 255 } }, { 75, 75, White } } },
        // Pixel centres 1.5, 48.5, 51.5 and 98.5 lie at 0.03, 0.97, 1.03 and 1.97 of the gradient line.
        { "linear clamp", band, Linear(0), fill,
            { { 1, 10, nearRed }, { 48, 10, nearBlue }, { 51, 10, nearBlue }, { 98, 10, nearBlue }, { 50, 30, White } },
            12 },
        { "linear wrap", band, Linear(1), fill,
            { { 1, 10, nearRed }, { 48, 10, nearBlue }, { 51, 10, nearRed }, { 98, 10, nearBlue } }, 12 },
        { "linear mirror", band, Linear(2), fill,
            { { 1, 10, nearRed }, { 48, 10, nearBlue }, { 51, 10, nearBlue }, { 98, 10, nearRed } }, 12 },
        { "radial over both radii", all, Radial(0), fill,
            { { 50, 50, { 250, 0, 5, 255 } }, { 50, 69, nearBlue }, { 50, 5, Blue }, { 95, 50, Blue }, { 5, 5, Blue } },
            12 },
        { "radial origin offset", all, Radial(-30), fill, { { 20, 50, { 250, 0, 5, 255 } }, { 88, 50, nearBlue } },
            16 },
        { "rotation", bar, RedBrush, centred, { { 45, 65, Red }, { 65, 55, White } }, 8, "Rotation{ t 90 }" },
        { "scale", bar, RedBrush, centred, { { 75, 45, Red }, { 65, 55, White } }, 8, "Scale{ x 2 y -1 }" },
    };
    for (const Painting& p : paintings) {
        SCOPED_TRACE(p.what);
        // Each command is one record without nested ones.
        const int commands = static_cast<int>(std::count(p.draw.begin(), p.draw.end(), '{'));
        SceneText text;
        text.Geometry("g", p.geometry)
            .Brush("b", p.brush)
            .Transform("centre", "Translation{ x 50 y 50 }")
            .Transform("t", p.transform)
            .Executable("draw", Commands(p.draw, commands))
            .MainAnim("draw");
        // Masks are kept per file and name: each scene gets a file of its own.
        const TempDir own;
        loaded = LoadSceneText(canvas, own, text.Str());
        ASSERT_EQ(loaded.status, 0) << loaded.errorText;
        ExpectRendered(p.pixels, p.tolerance);
    }
}

} // namespace
} // namespace kuvtest
