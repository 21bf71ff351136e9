// Frames drawn on several threads, band by band, against the same frames drawn on one:
// every channel of every pixel within 1.
#include <string>

#include <gtest/gtest.h>

#include "Gfx/DrawingThreads.h"
#include "support/ImageFiles.h"
#include "support/Pixels.h"
#include "support/ProgramFixtures.h"

namespace kuvtest {
namespace {

// Wide enough for the frame to be split into bands; 150 is a band edge for two threads.
constexpr int Width = 400;
constexpr int Height = 300;

std::string Stops(int extendMode)
{
    return "GradientStopCollection{ noOfGradientStops 3 GradientStop{ 0 Color{ 1 0 0 1 } }"
           " GradientStop{ 0.5 Color{ 0 1 0 0.5 } } GradientStop{ 1 Color{ 0 0 1 1 } } extendMode "
        + std::to_string(extendMode) + " }";
}

std::string Linear(int extendMode)
{
    return "LinearGradientBrush{ start Point{ 10 20 } end Point{ 70 60 } " + Stops(extendMode) + " opacity 1 }";
}

std::string Radial(int extendMode)
{
    return "RadialGradientBrush{ center Point{ 200 150 } originOffset Point{ 20 10 } radiusX 50 radiusY 40 "
        + Stops(extendMode) + " opacity 0.8 }";
}

// Gradients of every extend mode, strokes and fills across the band edges, a transformed
// pass, a bitmap scaled and at half opacity, text, and geometries small enough to be
// painted through cached masks.
SceneText VariedScene(const std::string& picture)
{
    SceneText text;
    text.Geometry("all", "Rectangle{ x 0 y 0 w 400 h 300 hitTest 0 }")
        .Geometry("big", "Ellipse{ center Point{ 200 150 } radiusX 190 radiusY 140 hitTest 0 }")
        .Geometry("bar", "Rectangle{ x 10 y 140 w 380 h 20 hitTest 0 }")
        .Geometry("wave",
            "Path{ noOfFigures 1 Figure{ startPoint Point{ 0 10 } closed 0 noOfSegments 2"
            " Bezier{ p1 Point{ 150 400 } p2 Point{ 250 -100 } p3 Point{ 400 290 } }"
            " Line{ to Point{ 20 150.5 } } } hitTest 0 }")
        .Geometry("words", "Text{ text Velorine font Arial size 48 x 50 y 110 w 300 h 80 hitTest 0 }")
        .Geometry("dot", "Rectangle{ x 200 y 149.5 w 0 h 0 hitTest 0 }");
    for (int mode = 0; mode < 3; ++mode)
        text.Brush("lin" + std::to_string(mode), Linear(mode)).Brush("rad" + std::to_string(mode), Radial(mode));
    text.Brush("ink", "SolidColorBrush{ Color{ 0 0 0.5 1 } opacity 0.7 }")
        .Image("pic", "BitmapFromFile{ " + picture + " }")
        .Transform("turn", "Rotation{ t 17 }")
        .Transform("grow", "Scale{ x 1.3 y 0.8 }");
    const std::string commands = "Fill{ all lin1 } Fill{ big rad2 } Stroke{ big lin2 12 } Fill{ bar rad0 }"
                                 " Stroke{ wave ink 7 } PushTransform{ turn } PushTransform{ grow }"
                                 " Fill{ bar lin0 } Stroke{ big rad1 3 } PopTransform{ } PopTransform{ }"
                                 " DrawImage{ source pic destRect Rect{ 100 100 300 250 } opacity 0.6"
                                 " srcRect Rect{ 0 0 16 8 } }"
                                 " DrawImage{ source pic destRect Rect{ 150 130 171 171 } opacity 1"
                                 " srcRect Rect{ 2 1 14 7 } }"
                                 " Fill{ words ink } Stroke{ words lin1 1 } Fill{ dot rad0 } Stroke{ dot ink 2 }";
    return text.Executable("draw", Commands(commands, 17)).MainAnim("draw");
}

class BandedDrawingTest : public ::testing::Test {
protected:
    void TearDown() override { SetDrawingThreads(0); }

    Image Render(const SceneText& text, unsigned threads)
    {
        SetDrawingThreads(threads);
        Canvas canvas(Width, Height);
        LoadedScene loaded = LoadSceneText(canvas, m_Dir, text.Str());
        EXPECT_EQ(loaded.status, 0) << loaded.errorText;
        if (loaded.status == 0) {
            EXPECT_EQ(loaded.RenderFrame(canvas), KUV::ResultOk);
        }
        return Image::FromTarget(canvas.target.Get());
    }

    TempDir m_Dir;
};

TEST_F(BandedDrawingTest, BandsGiveThePixelsOfOneThread)
{
    const std::string picture = m_Dir.Path() + "/pic.png";
    WritePng(picture, 16, 8, Red, Blue);
    const SceneText scene = VariedScene(picture);
    const Image whole = Render(scene, 1);
    ASSERT_EQ(whole.Width(), Width);
    for (unsigned threads : { 2u, 3u, 7u }) {
        const Image banded = Render(scene, threads);
        EXPECT_TRUE(ImagesNear(whole, banded, 1)) << threads << " threads against one";
    }
}

} // namespace
} // namespace kuvtest
