// Imported drawings rendered through the engine: what a browser would show.
#include <sstream>

#include <gtest/gtest.h>

#include "ImportSvg/ImportSvg.h"
#include "ImportSvg/SceneWriter.h"
#include "support/Pixels.h"
#include "support/Scenes.h"

namespace {

using namespace KUV::ImportSvg;
using kuvtest::PixelsNear;
using kuvtest::Rgba;

constexpr Rgba Yellow { 255, 255, 0, 255 };

std::string SceneOf(const std::string& svg, double width)
{
    Diagnostics diagnostics("d.svg");
    ImportOptions options;
    options.width = width;
    std::ostringstream out;
    WriteScene(ImportDrawing(svg, options, diagnostics), out);
    EXPECT_TRUE(diagnostics.Warnings().empty()) << diagnostics.Warnings()[0];
    return out.str();
}

struct Drawn {
    kuvtest::Canvas canvas;
    kuvtest::TempDir dir;
    kuvtest::LoadedScene scene;
};

void Draw(Drawn& d, const std::string& svg)
{
    d.scene = kuvtest::LoadSceneText(d.canvas, d.dir, SceneOf(svg, 100));
    ASSERT_EQ(d.scene.status, 0) << d.scene.errorText;
    ASSERT_EQ(d.scene.RenderFrame(d.canvas), 0);
}

const char* const Header
    = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"50\" height=\"50\" viewBox=\"0 0 100 100\">";

TEST(ImportPixels, ShapesGroupsAndTransformsLandWhereABrowserPutsThem)
{
    Drawn d;
    Draw(d,
        std::string(Header)
            + "<rect x=\"0\" y=\"0\" width=\"50\" height=\"50\" fill=\"red\"/>"
              "<g transform=\"translate(50 0)\"><circle cx=\"25\" cy=\"25\" r=\"20\" fill=\"#0000ff\"/></g>"
              "<path d=\"M0 60 h40 v40 z\" fill=\"lime\" transform=\"skewX(10)\"/></svg>");
    EXPECT_TRUE(PixelsNear(d.canvas.target.Get(),
        { { 10, 10, kuvtest::Red }, { 75, 25, kuvtest::Blue }, { 52, 3, kuvtest::White }, { 54, 95, kuvtest::Green },
            { 5, 95, kuvtest::White }, { 90, 90, kuvtest::White } }));
}

TEST(ImportPixels, GradientsSpreadAndTransformed)
{
    Drawn d;
    Draw(d,
        std::string(Header)
            + "<linearGradient id=\"g\" x2=\"0.5\" spreadMethod=\"reflect\">"
              "<stop offset=\"0\" stop-color=\"red\"/><stop offset=\"1\" stop-color=\"yellow\"/></linearGradient>"
              "<radialGradient id=\"r\" gradientTransform=\"rotate(45 0.5 0.5) scale(1 0.5)\">"
              "<stop offset=\"0\" stop-color=\"blue\"/><stop offset=\"1\" stop-color=\"blue\" stop-opacity=\"0\"/>"
              "</radialGradient>"
              "<rect width=\"100\" height=\"50\" fill=\"url(#g)\"/><rect y=\"50\" width=\"100\" height=\"50\" "
              "fill=\"url(#r)\"/></svg>");
    EXPECT_TRUE(PixelsNear(d.canvas.target.Get(),
        { { 1, 10, kuvtest::Red }, { 49, 10, Yellow }, { 98, 10, kuvtest::Red }, { 68, 66, kuvtest::Blue },
            { 2, 98, kuvtest::White } },
        24));
}

TEST(ImportPixels, RoundCapsAndDashesAreOutlined)
{
    Drawn d;
    Draw(d,
        std::string(Header)
            + "<path d=\"M20 20 H80\" stroke=\"black\" stroke-width=\"20\" "
              "stroke-linecap=\"round\"/><path d=\"M10 70 H90\" stroke=\"black\" stroke-width=\"10\" "
              "stroke-dasharray=\"20 20\"/></svg>");
    EXPECT_TRUE(PixelsNear(d.canvas.target.Get(),
        { { 12, 20, kuvtest::Black }, { 88, 20, kuvtest::Black }, { 20, 70, kuvtest::Black },
            { 40, 70, kuvtest::White }, { 60, 70, kuvtest::Black }, { 5, 5, kuvtest::White } }));
}

TEST(ImportPixels, EvenOddLeavesAHole)
{
    Drawn d;
    Draw(
        d, std::string(Header) + "<path fill-rule=\"evenodd\" d=\"M10 10 H90 V90 H10 Z M30 30 H70 V70 H30 Z\"/></svg>");
    EXPECT_TRUE(PixelsNear(
        d.canvas.target.Get(), { { 15, 15, kuvtest::Black }, { 50, 50, kuvtest::White }, { 80, 80, kuvtest::Black } }));
}

TEST(ImportPixels, UseAndSymbolsDrawTheirTargets)
{
    Drawn d;
    Draw(d,
        std::string(Header)
            + "<defs><symbol id=\"s\" viewBox=\"0 0 10 10\"><rect width=\"10\" height=\"10\" "
              "fill=\"red\"/></symbol></defs><use href=\"#s\" x=\"50\" y=\"50\" width=\"50\" height=\"50\"/>"
              "<rect id=\"b\" width=\"20\" height=\"20\" fill=\"blue\"/><use href=\"#b\" x=\"20\" y=\"20\"/></svg>");
    EXPECT_TRUE(PixelsNear(d.canvas.target.Get(),
        { { 75, 75, kuvtest::Red }, { 10, 10, kuvtest::Blue }, { 30, 30, kuvtest::Blue },
            { 45, 45, kuvtest::White } }));
}

TEST(ImportPixels, TheOutputPassesTheChecker)
{
    kuvtest::TempDir dir;
    dir.Write("drawing.tvs",
        SceneOf(std::string(Header)
                + "<g id=\"a\" opacity=\"0.5\"><rect width=\"10\" height=\"10\" fill=\"none\" "
                  "stroke=\"red\" stroke-linejoin=\"round\"/></g></svg>",
            100));
    const kuvtest::ToolRun run = kuvtest::RunTvsCheck({ "drawing.tvs" }, dir.Path());
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(run.out, "1 file, 0 warnings\n");
}

} // namespace
