// The importer's mapping of SVG elements and attributes onto scene records, on small drawings.
#include <cmath>
#include <sstream>

#include <gtest/gtest.h>

#include "ImportSvg/Color.h"
#include "ImportSvg/ImportSvg.h"
#include "ImportSvg/PathData.h"
#include "ImportSvg/SceneWriter.h"
#include "ImportSvg/Transforms.h"

namespace {

using namespace KUV::ImportSvg;

std::string Svg(const std::string& body, const std::string& attributes = "width=\"100\" height=\"100\"")
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" " + attributes + ">\n" + body + "\n</svg>\n";
}

struct Imported {
    SceneModel scene;
    std::vector<std::string> warnings;
    std::string text;
};

// At its own width by default: a fitted drawing is cut to its viewport, which turns shapes at its edge to outlines.
Imported Import(const std::string& svg, ImportOptions options = { 100, "" })
{
    Diagnostics diagnostics("d.svg");
    Imported result { ImportDrawing(svg, options, diagnostics), diagnostics.Warnings(), {} };
    std::ostringstream out;
    WriteScene(result.scene, out);
    result.text = out.str();
    return result;
}

const GeometryRecord* FindGeometry(const SceneModel& s, const std::string& name)
{
    for (const GeometryRecord& g : s.geometries)
        if (g.name == name) return &g;
    return nullptr;
}

const BrushRecord* FindBrush(const SceneModel& s, const std::string& name)
{
    for (const BrushRecord& b : s.brushes)
        if (b.name == name) return &b;
    return nullptr;
}

TEST(ImportMapping, ShapesBecomeTheirRecords)
{
    const Imported i = Import(Svg("<rect id=\"r\" x=\"10\" y=\"20\" width=\"30\" height=\"40\"/>"
                                  "<circle id=\"c\" cx=\"50\" cy=\"50\" r=\"5\"/>"
                                  "<ellipse id=\"e\" cx=\"1\" cy=\"2\" rx=\"3\" ry=\"-1\"/>"
                                  "<rect id=\"rr\" width=\"10\" height=\"10\" rx=\"2\"/>"
                                  "<polygon id=\"pg\" points=\"0,0 10,0 5,5\"/>"));
    const GeometryRecord* r = FindGeometry(i.scene, "r");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->kind, GeometryRecord::Rectangle);
    EXPECT_EQ(r->w, 30);
    EXPECT_EQ(FindGeometry(i.scene, "c")->kind, GeometryRecord::Ellipse);
    // A negative radius counts as auto: the other one.
    EXPECT_EQ(FindGeometry(i.scene, "e")->h, 3);
    EXPECT_EQ(FindGeometry(i.scene, "rr")->kind, GeometryRecord::Path);
    ASSERT_EQ(FindGeometry(i.scene, "pg")->path.size(), 1u);
    EXPECT_TRUE(FindGeometry(i.scene, "pg")->path[0].closed);
    EXPECT_TRUE(i.warnings.empty());
}

TEST(ImportMapping, PathCommandsAbsoluteAndRelative)
{
    const ParsedPath p = ParsePathData("M10 10 h10 v10 H10 Z m 5 5 l 1 1 c 1 1 2 2 3 3 s 1 1 2 2 q 1 1 2 2 t 2 0 "
                                       "a 5 5 0 0 1 10 0");
    EXPECT_TRUE(p.error.empty());
    ASSERT_EQ(p.path.size(), 2u);
    EXPECT_TRUE(p.path[0].closed);
    EXPECT_EQ(p.path[0].segments.size(), 3u);
    // After Z the relative move starts from the figure's start point.
    EXPECT_EQ(p.path[1].start.x, 15);
    EXPECT_EQ(p.path[1].start.y, 15);
    // Quadratics and arcs are cubics.
    for (std::size_t k = 1; k < p.path[1].segments.size(); ++k) {
        EXPECT_TRUE(p.path[1].segments[k].cubic) << k;
    }
    EXPECT_NEAR(p.path[1].segments.back().to.x, 15 + 1 + 3 + 2 + 2 + 2 + 10, 1e-9);
}

TEST(ImportMapping, PathErrorsKeepWhatCameBefore)
{
    const ParsedPath p = ParsePathData("M 0 0 L 10 10 L 5 x");
    EXPECT_EQ(p.error, "bad arguments of 'L' at character 19");
    ASSERT_EQ(p.path.size(), 1u);
    EXPECT_EQ(p.path[0].segments.size(), 1u);
    EXPECT_FALSE(ParsePathData("L 1 1").error.empty());
}

TEST(ImportMapping, ArcsEndWhereTheyShould)
{
    Figure f;
    AppendArc(f, { 0, 0 }, 1, 1, 0, false, true, { 10, 0 }); // radii too small: scaled up to a half circle
    ASSERT_EQ(f.segments.size(), 2u);
    EXPECT_EQ(f.segments.back().to.x, 10);
    EXPECT_NEAR(f.segments[0].to.y, -5, 1e-9); // the sweep flag turns through negative y
}

TEST(ImportMapping, ColoursInEveryForm)
{
    auto near = [](std::optional<Rgba> c, double r, double g, double b, double a) {
        ASSERT_TRUE(c.has_value());
        EXPECT_NEAR(c->r, r, 1e-3);
        EXPECT_NEAR(c->g, g, 1e-3);
        EXPECT_NEAR(c->b, b, 1e-3);
        EXPECT_NEAR(c->a, a, 1e-3);
    };
    near(ParseColor("red"), 1, 0, 0, 1);
    near(ParseColor("#0f0"), 0, 1, 0, 1);
    near(ParseColor("#0000ff80"), 0, 0, 1, 128 / 255.0);
    near(ParseColor("rgb(255, 0, 0)"), 1, 0, 0, 1);
    near(ParseColor("rgb(100%, 50%, 0%)"), 1, 0.5, 0, 1);
    near(ParseColor("rgba(0, 0, 255, 0.5)"), 0, 0, 1, 0.5);
    near(ParseColor("hsl(120, 100%, 50%)"), 0, 1, 0, 1);
    near(ParseColor("RebeccaPurple"), 0x66 / 255.0, 0x33 / 255.0, 0x99 / 255.0, 1);
    EXPECT_FALSE(ParseColor("rgb(0, 50%, 0)").has_value()); // numbers and percentages mixed
    EXPECT_FALSE(ParseColor("#12").has_value());
    EXPECT_FALSE(ParseColor("notacolour").has_value());
}

TEST(ImportMapping, StyleBeatsPresentationAttributesAndSheetsBetweenThem)
{
    const Imported i = Import(Svg("<style>.a { fill: #00ff00 } #b { fill: blue }</style>"
                                  "<rect id=\"a\" class=\"a\" fill=\"red\" width=\"1\" height=\"1\"/>"
                                  "<rect id=\"b\" class=\"a\" width=\"1\" height=\"1\"/>"
                                  "<rect id=\"c\" class=\"a\" style=\"fill: white\" width=\"1\" height=\"1\"/>"
                                  "<g fill=\"yellow\"><rect id=\"d\" fill=\"bogus\" width=\"1\" height=\"1\"/></g>"));
    EXPECT_EQ(FindBrush(i.scene, "a")->color.g, 1);
    EXPECT_EQ(FindBrush(i.scene, "a")->color.r, 0);
    EXPECT_EQ(FindBrush(i.scene, "b")->color.b, 1);
    EXPECT_EQ(FindBrush(i.scene, "c")->color.r, 1);
    // An invalid value is ignored: the inherited one applies.
    EXPECT_EQ(FindBrush(i.scene, "d")->color.g, 1);
    EXPECT_EQ(FindBrush(i.scene, "d")->color.b, 0);
}

TEST(ImportMapping, OpacitiesGoToTheBrushes)
{
    const Imported i = Import(Svg("<rect id=\"r\" width=\"1\" height=\"1\" fill=\"red\" fill-opacity=\"0.5\" "
                                  "opacity=\"0.5\"/>"
                                  "<g opacity=\"0.5\"><rect id=\"s\" width=\"1\" height=\"1\"/></g>"));
    EXPECT_DOUBLE_EQ(FindBrush(i.scene, "r")->opacity, 0.25);
    EXPECT_DOUBLE_EQ(FindBrush(i.scene, "s")->opacity, 0.5);
    EXPECT_TRUE(i.warnings.empty()); // one child: nothing overlaps
}

TEST(ImportMapping, LengthUnitsAndPercentages)
{
    const Imported i = Import(Svg("<rect id=\"r\" x=\"1in\" y=\"10%\" width=\"3pt\" height=\"2em\"/>",
        "width=\"200\" height=\"100\" viewBox=\"0 0 200 100\""));
    const GeometryRecord* r = FindGeometry(i.scene, "r");
    EXPECT_DOUBLE_EQ(r->x, 96);
    EXPECT_DOUBLE_EQ(r->y, 10);
    EXPECT_DOUBLE_EQ(r->w, 4);
    EXPECT_DOUBLE_EQ(r->h, 32);
}

TEST(ImportMapping, LinearGradientsInBoundingBoxUnitsLandInUserSpace)
{
    const Imported i
        = Import(Svg("<linearGradient id=\"g\" x1=\"0\" y1=\"0\" x2=\"1\" y2=\"1\" spreadMethod=\"reflect\">"
                     "<stop offset=\"0\" stop-color=\"red\"/><stop offset=\"2\" stop-color=\"blue\"/>"
                     "</linearGradient>"
                     "<rect id=\"r\" x=\"0\" y=\"0\" width=\"20\" height=\"10\" fill=\"url(#g)\"/>"));
    const BrushRecord* b = FindBrush(i.scene, "r");
    ASSERT_EQ(b->kind, BrushRecord::Linear);
    EXPECT_EQ(b->extendMode, 2);
    EXPECT_EQ(b->stops.back().position, 1); // offsets are clamped
    // The gradient's isolines stay diagonal across the box, so its user-space direction is not (20, 10).
    EXPECT_NEAR(b->end.x, 8, 1e-9);
    EXPECT_NEAR(b->end.y, 16, 1e-9);
}

TEST(ImportMapping, RadialGradientsInheritThroughHref)
{
    const Imported i = Import(Svg("<radialGradient id=\"base\" fx=\"0.25\" spreadMethod=\"repeat\">"
                                  "<stop offset=\"0\" stop-color=\"red\"/><stop offset=\"1\" stop-color=\"blue\"/>"
                                  "</radialGradient><radialGradient id=\"g\" href=\"#base\" r=\"0.25\"/>"
                                  "<rect id=\"r\" width=\"100\" height=\"50\" fill=\"url(#g)\"/>"));
    const BrushRecord* b = FindBrush(i.scene, "r");
    ASSERT_EQ(b->kind, BrushRecord::Radial);
    EXPECT_EQ(b->extendMode, 1);
    EXPECT_EQ(b->stops.size(), 2u);
    EXPECT_DOUBLE_EQ(b->center.x, 50);
    EXPECT_DOUBLE_EQ(b->radiusX, 25);
    EXPECT_DOUBLE_EQ(b->radiusY, 12.5);
    EXPECT_DOUBLE_EQ(b->originOffset.x, -25);
}

TEST(ImportMapping, TransformsDecomposeExactly)
{
    for (const char* text : { "matrix(1 2 3 4 5 6)", "skewX(30)", "rotate(30 10 10) scale(2 -1)", "scale(-1)" }) {
        const Matrix m = *ParseTransform(text);
        const Matrix back = Compose(Decompose(m));
        EXPECT_NEAR(back.a, m.a, 1e-9) << text;
        EXPECT_NEAR(back.b, m.b, 1e-9) << text;
        EXPECT_NEAR(back.c, m.c, 1e-9) << text;
        EXPECT_NEAR(back.d, m.d, 1e-9) << text;
        EXPECT_NEAR(back.e, m.e, 1e-9) << text;
        EXPECT_NEAR(back.f, m.f, 1e-9) << text;
    }
    EXPECT_FALSE(ParseTransform("translate(1,").has_value());
    EXPECT_FALSE(ParseTransform("wobble(3)").has_value());
}

TEST(ImportMapping, GroupsAreProceduresWithTheirTransformPushed)
{
    const Imported i = Import(Svg("<g id=\"wing\" transform=\"translate(5 6)\"><rect width=\"1\" height=\"1\"/></g>"));
    EXPECT_NE(i.text.find("wing Translation{ x 5 y 6 }"), std::string::npos) << i.text;
    EXPECT_NE(i.text.find("wing Procedure{ noOfCommands 3\n    PushTransform{ wing }\n    Fill{ p1 p1 }\n    "
                          "PopTransform{ }\n  }\n  svg1 Procedure{ noOfCommands 1\n    Call{ wing }"),
        std::string::npos)
        << i.text;
}

TEST(ImportMapping, NamesAreTokensPrefixedAndUnique)
{
    ImportOptions options;
    options.prefix = "a.";
    options.width = 100;
    const Imported i = Import(Svg("<rect id=\"my rect{\" width=\"1\" height=\"1\"/>"
                                  "<rect id=\"my_rect_\" width=\"1\" height=\"1\"/>"),
        options);
    EXPECT_NE(FindGeometry(i.scene, "a.my_rect_"), nullptr);
    EXPECT_NE(FindGeometry(i.scene, "a.my_rect__2"), nullptr);
    EXPECT_NE(FindGeometry(i.scene, "a.background"), nullptr);
    EXPECT_EQ(i.scene.mainProcedure, "a.drawing");
}

TEST(ImportMapping, WidthScalesTheDrawing)
{
    ImportOptions options;
    options.width = 50;
    const Imported i = Import(Svg("<rect width=\"1\" height=\"1\"/>", "width=\"100\" height=\"40\""), options);
    EXPECT_EQ(FindGeometry(i.scene, "background")->w, 50);
    EXPECT_EQ(FindGeometry(i.scene, "background")->h, 20);
    EXPECT_NE(i.text.find("viewport Scale{ x 0.5 y 0.5 }"), std::string::npos) << i.text;
}

TEST(ImportMapping, AFittedDrawingIsCutToItsViewportInTheMargins)
{
    // 100 x 100 fitted into 800 x 600: margins left and right, none above or below.
    const Imported i = Import(Svg("<rect id=\"wide\" x=\"-50\" y=\"10\" width=\"200\" height=\"10\"/>"
                                  "<rect id=\"tall\" x=\"10\" y=\"-50\" width=\"10\" height=\"200\"/>"),
        ImportOptions {});
    EXPECT_EQ(FindGeometry(i.scene, "tall")->kind, GeometryRecord::Rectangle);
    const GeometryRecord* wide = FindGeometry(i.scene, "wide");
    ASSERT_EQ(wide->kind, GeometryRecord::Path);
    const Box box = Bounds(wide->path);
    EXPECT_NEAR(box.x0, 0, 1e-6);
    EXPECT_NEAR(box.x1, 100, 1e-6);
}

TEST(ImportMapping, StrokesTheFormatCannotDrawBecomeOutlines)
{
    const Imported i = Import(Svg("<path id=\"a\" d=\"M0 0 L10 0\" stroke=\"red\"/>"
                                  "<path id=\"b\" d=\"M0 0 L10 0\" stroke=\"red\" stroke-linecap=\"round\"/>"
                                  "<path id=\"c\" d=\"M0 0 L10 0 L10 10\" stroke=\"red\" stroke-dasharray=\"2\"/>"));
    EXPECT_NE(i.text.find("Stroke{ a a-stroke 1 }"), std::string::npos) << i.text;
    EXPECT_NE(FindGeometry(i.scene, "b-stroke"), nullptr);
    ASSERT_NE(FindGeometry(i.scene, "c-stroke"), nullptr);
    EXPECT_EQ(FindGeometry(i.scene, "c-stroke")->path.size(), 5u); // 20 units of dashes 2 on, 2 off
}

TEST(ImportMapping, EvenOddBecomesWindingOnlyWhereTheyDiffer)
{
    const Imported i = Import(Svg("<path id=\"same\" fill-rule=\"evenodd\" d=\"M0 0 H10 V10 H0 Z\"/>"
                                  "<path id=\"ring\" fill-rule=\"evenodd\" d=\"M0 0 H10 V10 H0 Z M2 2 H8 V8 H2 Z\"/>"));
    EXPECT_EQ(FindGeometry(i.scene, "same")->path[0].segments.size(), 3u);
    const GeometryRecord* ring = FindGeometry(i.scene, "ring");
    ASSERT_NE(ring, nullptr);
    EXPECT_EQ(ring->path.size(), 2u); // an outer figure and a hole turning the other way
}

} // namespace
