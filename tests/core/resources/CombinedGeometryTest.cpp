// "Combined{" geometries: what each mode paints, parse errors, and how a
// combination follows its inputs.
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "Core/GeometryBase.h"
#include "support/Pixels.h"
#include "support/ProgramFixtures.h"

namespace kuvtest {
namespace {

using KUV::ResultOk;

// Two squares written as figures of one path overlap; a path fills with the winding rule,
// so their common part stays filled when the path is combined.
const std::string TwoFigures = "Path{ noOfFigures 2 "
                               "Figure{ startPoint Point{ 10 10 } closed 1 noOfSegments 3 Line{ to Point{ 50 10 } } "
                               "Line{ to Point{ 50 50 } } Line{ to Point{ 10 50 } } } "
                               "Figure{ startPoint Point{ 30 30 } closed 1 noOfSegments 3 Line{ to Point{ 70 30 } } "
                               "Line{ to Point{ 70 70 } } Line{ to Point{ 30 70 } } } hitTest 0 }";

// Two 40 x 40 squares overlapping in a 20 x 20 square, A at (10, 10) and B at (30, 30), the same
// as the path "p", and "c", the hit-testable combination of first and second in mode.
SceneText Squares(const std::string& first, const std::string& mode, const std::string& second)
{
    return SceneText()
        .Geometry("a", "Rectangle{ x 10 y 10 w 40 h 40 hitTest 0 }")
        .Geometry("b", "Rectangle{ x 30 y 30 w 40 h 40 hitTest 0 }")
        .Geometry("p", TwoFigures)
        .Geometry("corner", "Rectangle{ x 0 y 90 w 10 h 10 hitTest 0 }")
        .Geometry("hole", "Ellipse{ center Point{ 40 40 } radiusX 8 radiusY 8 hitTest 0 }")
        .Geometry("ab", "Combined{ geometry1 a geometry2 b mode Union hitTest 0 }")
        .Geometry("c", "Combined{ geometry1 " + first + " geometry2 " + second + " mode " + mode + " hitTest 1 }")
        .Brush("red", RedBrush);
}

class CombinedGeometryTest : public ProgramTest { };

TEST_F(CombinedGeometryTest, EachModePaintsAndHitTestsItsPartOfTwoSquares)
{
    // The inputs and the mode, then whether the part only in A, the overlap and the part only in B are
    // covered. The last two take a combination as an input, and a path that keeps its own fill rule.
    using Case = std::tuple<const char*, const char*, const char*, bool, bool, bool>;
    for (const auto& [first, mode, second, onlyA, overlap, onlyB] : { Case { "a", "Union", "b", true, true, true },
             Case { "a", "Intersect", "b", false, true, false }, Case { "a", "Xor", "b", true, false, true },
             Case { "a", "Exclude", "b", true, false, false }, Case { "a", "Union", "a", true, true, false },
             Case { "a", "Intersect", "a", true, true, false }, Case { "a", "Exclude", "a", false, false, false },
             Case { "ab", "Exclude", "hole", true, false, true }, Case { "p", "Union", "corner", true, true, true } }) {
        SCOPED_TRACE(std::string(first) + " " + mode + " " + second);
        LoadDrawing(Squares(first, mode, second), "Fill{ c red } Stroke{ c red 4 }", 2);
        std::vector<PixelExpectation> pixels;
        for (const auto& [x, y, in] : { std::tuple { 15, 15, onlyA }, std::tuple { 40, 40, overlap },
                 std::tuple { 65, 65, onlyB }, std::tuple { 60, 15, false }, std::tuple { 90, 90, false } }) {
            pixels.push_back({ x, y, in ? Red : White });
            EXPECT_EQ(Hits(x, y), in) << "at " << x << ", " << y;
        }
        ExpectRendered(pixels);
    }
}

TEST_F(CombinedGeometryTest, ACombinationOverAVariableInputFollowsItEveryFrame)
{
    // "gone", a varying geometry excluded from itself, stays empty in every frame.
    LoadDrawing(SceneText()
                    .Geometry("moving", "Rectangle{ x $x y 0 w 20 h 100 hitTest 0 }")
                    .Geometry("band", "Rectangle{ x 0 y 40 w 100 h 20 hitTest 0 }")
                    .Geometry("cross", "Combined{ geometry1 band geometry2 moving mode Intersect hitTest 0 }")
                    .Geometry("gone", "Combined{ geometry1 moving geometry2 moving mode Exclude hitTest 1 }")
                    .Brush("red", RedBrush),
        "Fill{ cross red } Fill{ gone red } Stroke{ gone red 4 }", 3);
    for (float x : { 0.f, 60.f, 30.f }) {
        SCOPED_TRACE(x);
        ASSERT_EQ(Scene().WriteVariable("$x", x), ResultOk);
        const int inside = int(x) + 10;
        ExpectRendered(
            { { inside, 50, Red }, { inside, 30, White }, { inside, 70, White }, { (inside + 50) % 100, 50, White } });
        EXPECT_FALSE(Hits(inside, 30)) << "a hit test between frames must not keep this frame's shapes";
    }
}

TEST_F(CombinedGeometryTest, CombiningTwoEmptyGeometriesDrawsNothing)
{
    for (const char* mode : { "Union", "Intersect", "Xor", "Exclude" }) {
        SCOPED_TRACE(mode);
        LoadDrawing(
            SceneText()
                .Geometry("none", "Rectangle{ x 10 y 10 w 0 h 0 hitTest 0 }")
                .Geometry("c", std::string("Combined{ geometry1 none geometry2 none mode ") + mode + " hitTest 1 }")
                .Brush("red", RedBrush),
            "Fill{ c red } Stroke{ c red 4 }", 2);
        ExpectRendered({ { 10, 10, White }, { 50, 50, White } });
        EXPECT_FALSE(Hits(10, 10));
    }
}

TEST_F(CombinedGeometryTest, TheDynamicFlagIsTheOrOfTheInputs)
{
    Load(SceneText()
             .Geometry("fixed", "Rectangle{ x 0 y 0 w 1 h 1 hitTest 0 }")
             .Geometry("varying", "Ellipse{ center Point{ 0 $y } radiusX 1 radiusY 1 hitTest 0 }")
             .Geometry("ff", "Combined{ geometry1 fixed geometry2 fixed mode Union hitTest 0 }")
             .Geometry("fv", "Combined{ geometry1 fixed geometry2 varying mode Xor hitTest 0 }")
             .Geometry("vf", "Combined{ geometry1 varying geometry2 fixed mode Exclude hitTest 0 }")
             .Geometry("nested", "Combined{ geometry1 ff geometry2 vf mode Intersect hitTest 0 }")
             .Geometry("after", "Combined{ geometry1 ff geometry2 ff mode Union hitTest 0 }"));
    // "after" shows that the flag of the previous record does not carry over.
    for (const auto& [name, dynamic] : { std::pair { "ff", false }, std::pair { "fv", true }, std::pair { "vf", true },
             std::pair { "nested", true }, std::pair { "after", false } })
        EXPECT_EQ(Scene().Find<KUV::GeometryBase>(name)->m_Dynamic, dynamic) << name;
}

TEST_F(CombinedGeometryTest, TheModeTokenIsCheckedFirstAndThenTheNamesInOrder)
{
    const std::pair<std::string, std::string> cases[] = {
        { "geometry1 a geometry2 a mode union", "Unknown combine mode \"union\"" },
        { "geometry1 a geometry2 a mode Or", "Unknown combine mode \"Or\"" },
        { "geometry1 a geometry2 a mode 0", "Unknown combine mode \"0\"" },
        { "geometry1 x geometry2 y mode Unite", "Unknown combine mode \"Unite\"" },
        { "geometry1 x geometry2 y mode Union", "a geometry with name \"x\" does not exist" },
        { "geometry1 a geometry2 y mode Union", "a geometry with name \"y\" does not exist" },
        // Only geometries listed earlier can be named.
        { "geometry1 later geometry2 a mode Union", "a geometry with name \"later\" does not exist" },
        { "geometry1 A geometry2 a mode Union", "a geometry with name \"A\" does not exist" },
        { "geometry1 a geometry 2 mode Union", "expecting \"geometry2\" got \"geometry\"" },
    };
    for (const auto& [fields, message] : cases) {
        SCOPED_TRACE(fields);
        EXPECT_EQ(LoadError(SceneText()
                                .Geometry("a", "Rectangle{ x 0 y 0 w 1 h 1 hitTest 0 }")
                                .Geometry("c", "Combined{ " + fields + " hitTest 0 }")
                                .Geometry("later", "Rectangle{ x 0 y 0 w 1 h 1 hitTest 0 }")),
            Framed(4, message));
    }
}

} // namespace
} // namespace kuvtest
