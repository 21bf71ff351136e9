// Reading geometry, brush and transform records: exact parse errors, the
// hit-test flag, and which components follow scene variables.
#include <string>

#include <gtest/gtest.h>

#include "Core/BrushBase.h"
#include "Core/GeometryBase.h"
#include "Core/LinearGradientBrush.h"
#include "ResourceFixtures.h"

namespace kuvtest {
namespace {

const std::string Rect = "Rectangle{ x 0 y 0 w 1 h 1 hitTest 0 }";
const std::string Red = "SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }";

void ExpectParseError(const SceneText& text, int line, const std::string& message)
{
    SceneUnderTest t(text);
    EXPECT_EQ(t.loaded.status, 1);
    EXPECT_EQ(t.loaded.errorText, "Parse Error:::" + t.FilePath() + " : " + std::to_string(line) + " : " + message);
    EXPECT_EQ(t.loaded.scene, nullptr);
}

TEST(ResourceParseErrors, UnknownTypesNameTheTokenAndItsLine)
{
    ExpectParseError(SceneText().Geometry("g", "Triangle{ hitTest 0 }"), 3, "Unknown geometry type \"Triangle{\"");
    ExpectParseError(
        SceneText().Geometry("g", "rectangle{ x 0 y 0 w 1 h 1 hitTest 0 }"), 3, "Unknown geometry type \"rectangle{\"");
    ExpectParseError(SceneText().Brush("b", "Pattern{ opacity 1 }"), 4, "Unknown brush type \"Pattern{\"");
    ExpectParseError(SceneText().Transform("t", "Skew{ x 1 }"), 6, "Unknown transform type \"Skew{\"");
}

TEST(ResourceParseErrors, UnknownSegmentIsReportedOnTheLineItIsOn)
{
    const std::string path = "Path{ noOfFigures 1\n"
                             "  Figure{ startPoint Point{ 0 0 } closed 1 noOfSegments 2\n"
                             "    Line{ to Point{ 1 1 } }\n"
                             "    Arc{ to Point{ 2 2 } } }\n"
                             "  hitTest 0 }";
    ExpectParseError(SceneText().Geometry("p", path), 6, "Unknown segment type \"Arc{\"");
}

TEST(ResourceParseErrors, EndOfInputInsideARecordCountsTheFailedLine)
{
    // The text ends after "w 1": the missing "h" is looked for on the line after the last one.
    const std::string text = "Tavisk{\nnoOfGeometries 1\n g Rectangle{ x 0 y 0 w 1\n";
    Canvas canvas;
    TempDir dir;
    const LoadedScene loaded = LoadSceneText(canvas, dir, text);
    EXPECT_EQ(loaded.status, 1);
    EXPECT_EQ(loaded.errorText, "Parse Error:::" + dir.Path() + "/scene.tvs : 4 : expecting \"h\" got \"\"");
}

TEST(ResourceParseErrors, KeysMustAppearInTheirOrder)
{
    ExpectParseError(SceneText().Geometry("g", "Rectangle{ x 0 y 0 w 1 h 1 }"), 3, "expecting \"hitTest\" got \"}\"");
    ExpectParseError(SceneText().Geometry("g", "Ellipse{ center Point{ 5 5 } radiusY 1 radiusX 2 hitTest 0 }"), 3,
        "expecting \"radiusX\" got \"radiusY\"");
    ExpectParseError(
        SceneText().Geometry("g", "Path{ noOfFigures 1 Figure{ closed 0 startPoint Point{ 0 0 } noOfSegments 0 } }"), 3,
        "expecting \"startPoint\" got \"closed\"");
    ExpectParseError(SceneText().Geometry("g",
                         "Path{ noOfFigures 1 Figure{ startPoint Point{ 0 0 } closed 0 noOfSegments 1 "
                         "Bezier{ p1 Point{ 0 0 } p3 Point{ 1 1 } p2 Point{ 2 2 } } } hitTest 0 }"),
        3, "expecting \"p2\" got \"p3\"");
    ExpectParseError(
        SceneText().Brush("b", "SolidColorBrush{ Color{ 1 0 0 1 } }"), 4, "expecting \"opacity\" got \"}\"");
    ExpectParseError(SceneText().Transform("t", "Rotation{ angle 90 }"), 6, "expecting \"t\" got \"angle\"");
    ExpectParseError(SceneText().Transform("t", "Translation{ y 1 x 2 }"), 6, "expecting \"x\" got \"y\"");
    ExpectParseError(
        SceneText().Transform("t", "PolarTranslation{ r 1 t 2 extra }"), 6, "expecting \"}\" got \"extra\"");
}

TEST(ResourceParseErrors, GradientRecordsFollowTheirGrammar)
{
    const std::string keyedStop = "LinearGradientBrush{ start Point{ 0 0 } end Point{ 1 0 } GradientStopCollection{ "
                                  "noOfGradientStops 1 GradientStop{ position 0 Color{ 1 0 0 1 } } extendMode 0 } "
                                  "opacity 1 }";
    // The position takes no keyword: the word is read as the value and the colour opener is missing.
    ExpectParseError(SceneText().Brush("b", keyedStop), 4, "expecting \"Color{\" got \"0\"");

    const std::string noExtend = "RadialGradientBrush{ center Point{ 0 0 } originOffset Point{ 0 0 } radiusX 1 "
                                 "radiusY 1 GradientStopCollection{ noOfGradientStops 0 } opacity 1 }";
    ExpectParseError(SceneText().Brush("b", noExtend), 4, "expecting \"extendMode\" got \"}\"");

    const std::string collectionFirst = "LinearGradientBrush{ GradientStopCollection{ noOfGradientStops 0 "
                                        "extendMode 0 } start Point{ 0 0 } end Point{ 1 0 } opacity 1 }";
    ExpectParseError(SceneText().Brush("b", collectionFirst), 4, "expecting \"start\" got \"GradientStopCollection{\"");
}

TEST(ResourceParseErrors, AnErrorInAnIncludedRecordNamesTheIncludedFile)
{
    TempDir includes;
    const std::string included = includes.Write("shape.tvs", "\n\nBlob{ hitTest 0 }\n");
    SceneUnderTest bad(SceneText().Geometry("g", "Source{ " + included + " hitTest 0 }"));
    EXPECT_EQ(bad.loaded.status, 1);
    EXPECT_EQ(bad.loaded.errorText, "Parse Error:::" + included + " : 3 : Unknown geometry type \"Blob{\"");
}

// Flags read from one document that mixes static and variable records.
class ResourceFlags : public ::testing::Test {
protected:
    static SceneText Document()
    {
        const std::string stops = "GradientStopCollection{ noOfGradientStops 2 GradientStop{ $p Color{ 1 0 0 1 } } "
                                  "GradientStop{ 1 Color{ 0 0 1 1 } } extendMode 0 }";
        return SceneText()
            .Geometry("static", Rect)
            .Geometry("dynRect", "Rectangle{ x 0 y 0 w $w h 1 hitTest 0 }")
            .Geometry("afterDyn", "Ellipse{ center Point{ 1 1 } radiusX 1 radiusY 1 hitTest 0 }")
            .Geometry("dynPath",
                "Path{ noOfFigures 2 Figure{ startPoint Point{ 0 0 } closed 0 noOfSegments 0 } "
                "Figure{ startPoint Point{ 0 0 } closed 1 noOfSegments 1 "
                "Bezier{ p1 Point{ 0 0 } p2 Point{ 1 1 } p3 Point{ 2 $y } } } hitTest 0 }")
            .Geometry("hit5", "Rectangle{ x 0 y 0 w 1 h 1 hitTest 5 }")
            .Geometry("hitNeg", "Rectangle{ x 0 y 0 w 1 h 1 hitTest -1 }")
            .Brush("solid", Red)
            .Brush("solidVar", "SolidColorBrush{ Color{ 1 $g 0 1 } opacity 1 }")
            .Brush("afterVar", "SolidColorBrush{ Color{ 0 0 1 1 } opacity 0.5 }")
            .Brush("linearStop", "LinearGradientBrush{ start Point{ 0 0 } end Point{ 1 0 } " + stops + " opacity 1 }")
            .Brush("radialOpacity",
                "RadialGradientBrush{ center Point{ 0 0 } originOffset Point{ 0 0 } radiusX 1 radiusY 1 "
                "GradientStopCollection{ noOfGradientStops 0 extendMode 2 } opacity $o }")
            .Transform("move", "Translation{ x 1 y 2 }")
            .Transform("grow", "Scale{ x $s y 1 }")
            .Transform("turn", "Rotation{ t 0 }")
            .Transform("orbit", "PolarTranslation{ r 1 t $a }");
    }

    void SetUp() override { ASSERT_EQ(t.loaded.status, 0) << t.loaded.errorText; }

    bool GeometryDynamic(const std::string& name) const { return t.Scene().FindGeometry(name)->m_Dynamic; }
    bool BrushDynamic(const std::string& name) const { return t.Scene().FindBrush(name)->m_Dynamic; }
    bool TransformDynamic(const std::string& name) const { return t.Scene().FindTransform(name)->m_Dynamic; }

    SceneUnderTest t { Document() };
};

TEST_F(ResourceFlags, AVariableAnywhereInAGeometryRecordMakesItDynamic)
{
    EXPECT_FALSE(GeometryDynamic("static"));
    EXPECT_TRUE(GeometryDynamic("dynRect"));
    EXPECT_FALSE(GeometryDynamic("afterDyn")) << "each record starts with a cleared flag";
    EXPECT_TRUE(GeometryDynamic("dynPath")) << "a variable inside a segment's point counts";
    for (const char* name : { "$w", "$y" })
        EXPECT_EQ(t.Scene().Variables().count(name), 1u) << name;
}

TEST_F(ResourceFlags, AVariableAnywhereInABrushRecordMakesTheBrushDynamic)
{
    EXPECT_FALSE(BrushDynamic("solid"));
    EXPECT_TRUE(BrushDynamic("solidVar")) << "a variable channel of the nested colour counts";
    EXPECT_FALSE(BrushDynamic("afterVar"));
    EXPECT_TRUE(BrushDynamic("linearStop")) << "a variable stop position marks the brush";
    EXPECT_TRUE(BrushDynamic("radialOpacity"));
    auto linear = std::dynamic_pointer_cast<KUV::LinearGradientBrush>(t.Scene().FindBrush("linearStop"));
    ASSERT_NE(linear, nullptr);
    EXPECT_FALSE(linear->m_Stops->m_Dynamic) << "the stop collection itself never follows variables";
    EXPECT_EQ(linear->m_Stops->m_Owner, nullptr);
    EXPECT_EQ(linear->m_Stops->m_RT, t.canvas.target.Get());
    EXPECT_EQ(linear->m_Stops->m_Stops.size(), 2u);
}

TEST_F(ResourceFlags, AVariableInATransformRecordMakesItDynamic)
{
    EXPECT_FALSE(TransformDynamic("move"));
    EXPECT_TRUE(TransformDynamic("grow"));
    EXPECT_FALSE(TransformDynamic("turn"));
    EXPECT_TRUE(TransformDynamic("orbit"));
}

TEST_F(ResourceFlags, EveryComponentBelongsToItsScene)
{
    for (const char* name : { "static", "dynPath", "hit5" })
        EXPECT_EQ(t.Scene().FindGeometry(name)->m_Owner, &t.Scene());
    for (const char* name : { "solid", "linearStop" })
        EXPECT_EQ(t.Scene().FindBrush(name)->m_Owner, &t.Scene());
    for (const char* name : { "move", "orbit" })
        EXPECT_EQ(t.Scene().FindTransform(name)->m_Owner, &t.Scene());
}

TEST_F(ResourceFlags, ANonZeroHitTestMarksTheGeometry)
{
    EXPECT_FALSE(t.Scene().FindGeometry("static")->m_HitTest);
    EXPECT_TRUE(t.Scene().FindGeometry("hit5")->m_HitTest);
    EXPECT_TRUE(t.Scene().FindGeometry("hitNeg")->m_HitTest);
}

TEST(ResourceSourceFlags, AnIncludedRecordKeepsItsOwnDynamicFlagAndEitherHitTestCounts)
{
    TempDir includes;
    const std::string dynamic
        = includes.Write("dyn.tvs", "Ellipse{ center Point{ 1 1 } radiusX $r radiusY 1 hitTest 0 }");
    const std::string fixed = includes.Write("fixed.tvs", "Path{ noOfFigures 0 hitTest 3 }");
    const std::string nested = includes.Write("nested.tvs", "Source{ " + dynamic + " hitTest 0 }");
    SceneUnderTest t(SceneText()
                         .Geometry("dynOuterHit", "Source{ " + dynamic + " hitTest 1 }")
                         .Geometry("staticInnerHit", "Source{ " + fixed + " hitTest 0 }")
                         .Geometry("nested", "Source{ " + nested + " hitTest 0 }")
                         .Geometry("after", Rect));
    ASSERT_EQ(t.loaded.status, 0) << t.loaded.errorText;
    const auto geometry = [&](const char* name) { return t.Scene().FindGeometry(name); };
    EXPECT_TRUE(geometry("dynOuterHit")->m_Dynamic);
    EXPECT_TRUE(geometry("dynOuterHit")->m_HitTest);
    EXPECT_FALSE(geometry("staticInnerHit")->m_Dynamic);
    EXPECT_TRUE(geometry("staticInnerHit")->m_HitTest);
    EXPECT_TRUE(geometry("nested")->m_Dynamic);
    EXPECT_FALSE(geometry("nested")->m_HitTest);
    EXPECT_FALSE(geometry("after")->m_Dynamic);
    EXPECT_EQ(geometry("nested")->m_Owner, &t.Scene());
}

TEST(ResourceSourceFlags, ACombinationKeepsTheFlagOfItsInputs)
{
    SceneUnderTest t(SceneText()
                         .Geometry("grow", "Rectangle{ x 0 y 0 w $w h 1 hitTest 0 }")
                         .Geometry("fixed", Rect)
                         .Geometry("both", "Combined{ geometry1 fixed geometry2 grow mode Union hitTest 0 }")
                         .Geometry("neither", "Combined{ geometry1 fixed geometry2 fixed mode Xor hitTest 0 }"));
    ASSERT_EQ(t.loaded.status, 0) << t.loaded.errorText;
    EXPECT_TRUE(t.Scene().FindGeometry("both")->m_Dynamic);
    EXPECT_FALSE(t.Scene().FindGeometry("neither")->m_Dynamic);
}

} // namespace
} // namespace kuvtest
