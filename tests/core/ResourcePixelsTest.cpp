// Whole scenes drawn offscreen: what the resources paint.
#include <string>

#include <gtest/gtest.h>

#include "ResourceFixtures.h"
#include "support/Pixels.h"

namespace kuvtest {
namespace {

constexpr Rgba HalfRed { 255, 128, 128, 255 };

// A scene that runs the given commands as MainAnim's procedure.
SceneText Drawing(SceneText text, const std::string& commands, int count)
{
    return text.Executable("draw", ProcedureOf(commands, count)).MainAnim("draw");
}

void RenderOk(SceneUnderTest& t)
{
    ASSERT_EQ(t.loaded.status, 0) << t.loaded.errorText;
    ASSERT_EQ(t.Render(), KUV::ResultOk) << t.Scene().GetErrorText();
}

std::string LinearFade(int extendMode)
{
    return "LinearGradientBrush{ start Point{ 0 0 } end Point{ 50 0 } GradientStopCollection{ noOfGradientStops 2 "
           "GradientStop{ 0 Color{ 1 0 0 1 } } GradientStop{ 1 Color{ 0 0 1 1 } } extendMode "
        + std::to_string(extendMode) + " } opacity 1 }";
}

const std::string RedBrush = "SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }";

TEST(ShapePixels, ARectangleCoversItsCornerAndSize)
{
    SceneUnderTest t(
        Drawing(SceneText().Geometry("box", "Rectangle{ x 10 y 20 w 30 h 40 hitTest 0 }").Brush("red", RedBrush),
            "Fill{ box red }", 1));
    RenderOk(t);
    EXPECT_TRUE(PixelsNear(t.canvas.target.Get(),
        { { 11, 21, Red }, { 38, 58, Red }, { 25, 40, Red }, { 8, 40, White }, { 42, 40, White }, { 25, 18, White },
            { 25, 62, White } }));
}

TEST(ShapePixels, AnEllipseFillsAroundItsCentre)
{
    SceneUnderTest t(Drawing(SceneText()
                                 .Geometry("oval", "Ellipse{ center Point{ 50 50 } radiusX 30 radiusY 15 hitTest 0 }")
                                 .Brush("red", RedBrush),
        "Fill{ oval red }", 1));
    RenderOk(t);
    EXPECT_TRUE(PixelsNear(t.canvas.target.Get(),
        { { 50, 50, Red }, { 23, 50, Red }, { 76, 50, Red }, { 50, 37, Red }, { 50, 31, White }, { 23, 37, White },
            { 76, 62, White } }));
}

TEST(ShapePixels, OnlyAClosedFigureStrokesItsClosingEdge)
{
    const auto triangle = [](int closed) {
        return "Path{ noOfFigures 1 Figure{ startPoint Point{ 10 10 } closed " + std::to_string(closed)
            + " noOfSegments 2 Line{ to Point{ 90 10 } } Line{ to Point{ 10 90 } } } hitTest 0 }";
    };
    for (int closed : { 0, 1 }) {
        SceneUnderTest t(
            Drawing(SceneText().Geometry("tri", triangle(closed)).Brush("red", RedBrush), "Stroke{ tri red 4 }", 1));
        RenderOk(t);
        EXPECT_TRUE(PixelsNear(t.canvas.target.Get(),
            { { 50, 10, Red }, { 50, 50, Red }, { 30, 30, White }, { 10, 50, closed ? Red : White } }))
            << "closed " << closed;
    }
}

TEST(ShapePixels, ADynamicShapeFollowsItsVariable)
{
    SceneUnderTest t(Drawing(SceneText()
                                 .Geometry("dot", "Ellipse{ center Point{ 50 50 } radiusX $r radiusY $r hitTest 0 }")
                                 .Brush("red", RedBrush),
        "Fill{ dot red }", 1));
    t.Write("$r", 10);
    RenderOk(t);
    EXPECT_TRUE(PixelsNear(t.canvas.target.Get(), { { 50, 50, Red }, { 65, 50, White } }));
    t.Write("$r", 30);
    RenderOk(t);
    EXPECT_TRUE(PixelsNear(t.canvas.target.Get(), { { 50, 50, Red }, { 65, 50, Red }, { 50, 85, White } }));
}

TEST(BrushPixels, OpacityHalfPaintsHalfTransparentRed)
{
    SceneUnderTest t(Drawing(SceneText()
                                 .Geometry("box", "Rectangle{ x 0 y 0 w 50 h 50 hitTest 0 }")
                                 .Brush("half", "SolidColorBrush{ Color{ 1 0 0 1 } opacity 0.5 }"),
        "Fill{ box half }", 1));
    RenderOk(t);
    EXPECT_TRUE(PixelsNear(t.canvas.target.Get(), { { 25, 25, HalfRed }, { 75, 75, White } }));
}

TEST(BrushPixels, LinearGradientsClampWrapAndMirrorBeyondTheirEnds)
{
    const Rgba nearRed { 247, 0, 8, 255 };
    const Rgba nearBlue { 8, 0, 247, 255 };
    // Pixel centres 1.5, 48.5, 51.5 and 98.5 lie at 0.03, 0.97, 1.03 and 1.97 of the gradient line.
    const Rgba expected[3][2] = { { nearBlue, nearBlue }, { nearRed, nearBlue }, { nearBlue, nearRed } };
    for (int mode = 0; mode < 3; ++mode) {
        SceneUnderTest t(Drawing(
            SceneText().Geometry("band", "Rectangle{ x 0 y 0 w 100 h 20 hitTest 0 }").Brush("fade", LinearFade(mode)),
            "Fill{ band fade }", 1));
        RenderOk(t);
        EXPECT_TRUE(PixelsNear(t.canvas.target.Get(),
            { { 1, 10, nearRed }, { 48, 10, nearBlue }, { 51, 10, expected[mode][0] }, { 98, 10, expected[mode][1] },
                { 50, 30, White } },
            12))
            << "extendMode " << mode;
    }
}

TEST(BrushPixels, RadialGradientsUseBothRadiiAndTheOriginOffset)
{
    const std::string stops = "GradientStopCollection{ noOfGradientStops 2 GradientStop{ 0 Color{ 1 0 0 1 } } "
                              "GradientStop{ 1 Color{ 0 0 1 1 } } extendMode 0 }";
    const auto radial = [&](int offsetX) {
        return "RadialGradientBrush{ center Point{ 50 50 } originOffset Point{ " + std::to_string(offsetX)
            + " 0 } radiusX 40 radiusY 20 " + stops + " opacity 1 }";
    };
    const std::string everywhere = "Rectangle{ x 0 y 0 w 100 h 100 hitTest 0 }";
    SceneUnderTest centred(
        Drawing(SceneText().Geometry("all", everywhere).Brush("glow", radial(0)), "Fill{ all glow }", 1));
    RenderOk(centred);
    EXPECT_TRUE(PixelsNear(centred.canvas.target.Get(),
        { { 50, 50, { 250, 0, 5, 255 } }, { 50, 69, { 8, 0, 247, 255 } }, { 50, 5, Blue }, { 95, 50, Blue },
            { 5, 5, Blue } },
        12));

    SceneUnderTest shifted(
        Drawing(SceneText().Geometry("all", everywhere).Brush("glow", radial(-30)), "Fill{ all glow }", 1));
    RenderOk(shifted);
    EXPECT_TRUE(PixelsNear(
        shifted.canvas.target.Get(), { { 20, 50, { 250, 0, 5, 255 } }, { 88, 50, { 8, 0, 247, 255 } } }, 16));
}

TEST(BrushPixels, ADynamicGradientKeepsItsFirstStopsWhileItsOpacityFollows)
{
    SceneUnderTest t(Drawing(SceneText()
                                 .Geometry("box", "Rectangle{ x 0 y 0 w 50 h 50 hitTest 0 }")
                                 .Brush("fade",
                                     "LinearGradientBrush{ start Point{ 0 0 } end Point{ 50 0 } "
                                     "GradientStopCollection{ noOfGradientStops 1 "
                                     "GradientStop{ 0 Color{ $c 0 0 1 } } extendMode 0 } opacity $o }"),
        "Fill{ box fade }", 1));
    t.Write("$c", 1);
    t.Write("$o", 1);
    RenderOk(t);
    EXPECT_TRUE(PixelsNear(t.canvas.target.Get(), { { 25, 25, Red } }));
    t.Write("$c", 0);
    t.Write("$o", 0.5f);
    RenderOk(t);
    EXPECT_TRUE(PixelsNear(t.canvas.target.Get(), { { 25, 25, HalfRed } }))
        << "stop colour of the first build, new opacity";
}

TEST(TransformPixels, EachKindMovesTheDrawing)
{
    struct Case {
        const char* record;
        std::vector<PixelExpectation> pixels;
    };
    // The bar spans (0, 0) to (30, 10) and is drawn under Translation{ 50 50 } and then the transform.
    const Case cases[] = {
        { "Translation{ x 10 y 20 }", { { 75, 75, Red }, { 65, 65, White } } },
        { "Rotation{ t 90 }", { { 45, 65, Red }, { 65, 55, White } } },
        { "PolarTranslation{ r 20 t 1.5707964 }", { { 65, 75, Red }, { 65, 55, White } } },
        { "Scale{ x 2 y -1 }", { { 75, 45, Red }, { 65, 55, White } } },
    };
    for (const Case& c : cases) {
        SceneUnderTest t(Drawing(SceneText()
                                     .Geometry("bar", "Rectangle{ x 0 y 0 w 30 h 10 hitTest 0 }")
                                     .Brush("red", RedBrush)
                                     .Transform("centre", "Translation{ x 50 y 50 }")
                                     .Transform("t", c.record),
            "PushTransform{ centre } PushTransform{ t } Fill{ bar red } PopTransform{ } PopTransform{ }", 5));
        RenderOk(t);
        EXPECT_TRUE(PixelsNear(t.canvas.target.Get(), c.pixels)) << c.record;
    }
}

} // namespace
} // namespace kuvtest
