// Reading geometry, brush and transform records: exact parse errors, the
// hit-test flag, and which components follow scene variables.
#include <string>

#include <gtest/gtest.h>

#include "Core/BrushBase.h"
#include "Core/GeometryBase.h"
#include "Core/LinearGradientBrush.h"
#include "support/ProgramFixtures.h"

namespace kuvtest {
namespace {

using ResourceRecords = ProgramTest;

TEST_F(ResourceRecords, ParseErrorsNameTheTokenTheFileAndTheLine)
{
    // One-record documents: a geometry is on line 3, a brush on line 4, a transform on line 6.
    const auto G = [](const std::string& record) { return SceneText().Geometry("g", record).Str(); };
    const auto B = [](const std::string& record) { return SceneText().Brush("b", record).Str(); };
    const auto T = [](const std::string& record) { return SceneText().Transform("t", record).Str(); };
    const std::string included = dir.Write("shape.tvs", "\n\nBlob{ hitTest 0 }\n");
    const std::string figure = "Figure{ startPoint Point{ 0 0 } closed 0 noOfSegments 1 ";
    const std::string stops = "GradientStopCollection{ noOfGradientStops 0 extendMode 0 }";
    struct Case {
        std::string text;
        int line;
        std::string message;
        std::string file = "";
    };
    const Case cases[] = {
        { G("Triangle{ hitTest 0 }"), 3, "Unknown geometry type \"Triangle{\"" },
        { G("rectangle{ x 0 y 0 w 1 h 1 hitTest 0 }"), 3, "Unknown geometry type \"rectangle{\"" },
        { B("Pattern{ opacity 1 }"), 4, "Unknown brush type \"Pattern{\"" },
        { T("Skew{ x 1 }"), 6, "Unknown transform type \"Skew{\"" },
        { G("Path{ noOfFigures 1\n" + figure + "\nArc{ to Point{ 2 2 } } } hitTest 0 }"), 5,
            "Unknown segment type \"Arc{\"" },
        { G("Source{ " + included + " hitTest 0 }"), 3, "Unknown geometry type \"Blob{\"", included },
        // The text ends after "w 1": the missing "h" is looked for on the line after the last one.
        { "Tavisk{\nnoOfGeometries 1\n g Rectangle{ x 0 y 0 w 1\n", 4, "expecting \"h\" got \"\"" },
        { G("Rectangle{ x 0 y 0 w 1 h 1 }"), 3, "expecting \"hitTest\" got \"}\"" },
        { G("Path{ noOfFigures 1 Figure{ closed 0 startPoint Point{ 0 0 } noOfSegments 0 } }"), 3,
            "expecting \"startPoint\" got \"closed\"" },
        { G("Path{ noOfFigures 1 " + figure + "Bezier{ p1 Point{ 0 0 } p3 Point{ 1 1 } p2 Point{ 2 2 } } } }"), 3,
            "expecting \"p2\" got \"p3\"" },
        { B("SolidColorBrush{ Color{ 1 0 0 1 } }"), 4, "expecting \"opacity\" got \"}\"" },
        { T("Rotation{ angle 90 }"), 6, "expecting \"t\" got \"angle\"" },
        { T("PolarTranslation{ r 1 t 2 extra }"), 6, "expecting \"}\" got \"extra\"" },
        // A stop's position takes no keyword: the word is read as the value and the colour opener is missing.
        { B("LinearGradientBrush{ start Point{ 0 0 } end Point{ 1 0 } GradientStopCollection{ noOfGradientStops 1 "
            "GradientStop{ position 0 Color{ 1 0 0 1 } } extendMode 0 } opacity 1 }"),
            4, "expecting \"Color{\" got \"0\"" },
        { B("RadialGradientBrush{ center Point{ 0 0 } originOffset Point{ 0 0 } radiusX 1 radiusY 1 "
            "GradientStopCollection{ noOfGradientStops 0 } opacity 1 }"),
            4, "expecting \"extendMode\" got \"}\"" },
        { B("LinearGradientBrush{ " + stops + " start Point{ 0 0 } end Point{ 1 0 } opacity 1 }"), 4,
            "expecting \"start\" got \"GradientStopCollection{\"" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const LoadedScene failed = LoadSceneText(canvas, dir, c.text);
        EXPECT_EQ(failed.status, 1);
        EXPECT_EQ(failed.scene, nullptr);
        const std::string file = c.file.empty() ? dir.Path() + "/scene.tvs" : c.file;
        EXPECT_EQ(failed.errorText, "Parse Error:::" + file + " : " + std::to_string(c.line) + " : " + c.message);
    }
}

TEST_F(ResourceRecords, AVariableAnywhereInARecordMakesItDynamicAndANonZeroHitTestMarksIt)
{
    const std::string dynamic = dir.Write("dyn.tvs", "Ellipse{ center Point{ 1 1 } radiusX $r radiusY 1 hitTest 0 }");
    const std::string fixed = dir.Write("fixed.tvs", "Path{ noOfFigures 0 hitTest 3 }");
    const std::string nested = dir.Write("nested.tvs", "Source{ " + dynamic + " hitTest 0 }");
    const std::string rect = "Rectangle{ x 0 y 0 w 1 h 1 hitTest ";
    Load(SceneText()
             .Geometry("static", rect + "0 }")
             .Geometry("dynRect", "Rectangle{ x 0 y 0 w $w h 1 hitTest 0 }")
             .Geometry("afterDyn", rect + "0 }")
             .Geometry("dynPath",
                 "Path{ noOfFigures 2 Figure{ startPoint Point{ 0 0 } closed 0 noOfSegments 0 } "
                 "Figure{ startPoint Point{ 0 0 } closed 1 noOfSegments 1 "
                 "Bezier{ p1 Point{ 0 0 } p2 Point{ 1 1 } p3 Point{ 2 $y } } } hitTest 0 }")
             .Geometry("hit5", rect + "5 }")
             .Geometry("hitNeg", rect + "-1 }")
             .Geometry("dynOuterHit", "Source{ " + dynamic + " hitTest 1 }")
             .Geometry("staticInnerHit", "Source{ " + fixed + " hitTest 0 }")
             .Geometry("nested", "Source{ " + nested + " hitTest 0 }")
             .Geometry("both", "Combined{ geometry1 static geometry2 dynRect mode Union hitTest 0 }")
             .Geometry("neither", "Combined{ geometry1 static geometry2 hit5 mode Xor hitTest 0 }")
             .Brush("solid", RedBrush)
             .Brush("solidVar", "SolidColorBrush{ Color{ 1 $g 0 1 } opacity 1 }")
             .Brush("afterVar", RedBrush)
             .Brush("linearStop",
                 "LinearGradientBrush{ start Point{ 0 0 } end Point{ 1 0 } GradientStopCollection{ noOfGradientStops 1 "
                 "GradientStop{ $p Color{ 1 0 0 1 } } extendMode 0 } opacity 1 }")
             .Brush("radialOpacity",
                 "RadialGradientBrush{ center Point{ 0 0 } originOffset Point{ 0 0 } radiusX 1 radiusY 1 "
                 "GradientStopCollection{ noOfGradientStops 0 extendMode 2 } opacity $o }")
             .Transform("move", "Translation{ x 1 y 2 }")
             .Transform("grow", "Scale{ x $s y 1 }")
             .Transform("turn", "Rotation{ t 0 }")
             .Transform("orbit", "PolarTranslation{ r 1 t $a }"));
    struct Flags {
        const char* name;
        bool dynamic;
        bool hitTest = false;
    };
    for (const Flags f : { Flags { "static", false, false }, { "dynRect", true, false }, { "afterDyn", false, false },
             { "dynPath", true, false }, { "hit5", false, true }, { "hitNeg", false, true },
             { "dynOuterHit", true, true }, { "staticInnerHit", false, true }, { "nested", true, false },
             { "both", true, false }, { "neither", false, false } }) {
        EXPECT_EQ(Scene().Find<KUV::GeometryBase>(f.name)->m_Dynamic, f.dynamic) << f.name;
        EXPECT_EQ(Scene().Find<KUV::GeometryBase>(f.name)->m_HitTest, f.hitTest) << f.name;
    }
    for (const Flags f : { Flags { "solid", false }, { "solidVar", true }, { "afterVar", false },
             { "linearStop", true }, { "radialOpacity", true } })
        EXPECT_EQ(Scene().Find<KUV::BrushBase>(f.name)->m_Dynamic, f.dynamic) << f.name;
    for (const Flags f : { Flags { "move", false }, { "grow", true }, { "turn", false }, { "orbit", true } })
        EXPECT_EQ(Scene().Find<KUV::TransformResource>(f.name)->m_Dynamic, f.dynamic) << f.name;
    auto linear = std::dynamic_pointer_cast<KUV::LinearGradientBrush>(Scene().Find<KUV::BrushBase>("linearStop"));
    ASSERT_NE(linear, nullptr);
    EXPECT_FALSE(linear->m_Stops->m_Dynamic) << "the stop collection itself never follows variables";
}

} // namespace
} // namespace kuvtest
