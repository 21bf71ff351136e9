// "Combined{" geometries: what each mode paints, parse errors, and how a
// combination follows its inputs.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Core/GeometryBase.h"
#include "ProgramFixtures.h"
#include "support/Pixels.h"

namespace kuvtest {
namespace {

using KUV::ResultOk;

// Two 40 x 40 squares overlapping in a 20 x 20 square: A at (10, 10), B at (30, 30).
SceneText Squares(const std::string& mode, int hitTest = 0)
{
    return SceneText()
        .Geometry("a", "Rectangle{ x 10 y 10 w 40 h 40 hitTest 0 }")
        .Geometry("b", "Rectangle{ x 30 y 30 w 40 h 40 hitTest 0 }")
        .Geometry("c", "Combined{ geometry1 a geometry2 b mode " + mode + " hitTest " + std::to_string(hitTest) + " }")
        .Brush("red", RedBrush);
}

class CombinedGeometryTest : public ProgramTest { };

TEST_F(CombinedGeometryTest, EachModePaintsItsPartOfTwoOverlappingSquares)
{
    struct Case {
        const char* mode;
        bool onlyA, overlap, onlyB;
    };
    for (const Case& c : std::vector<Case> { { "Union", true, true, true }, { "Intersect", false, true, false },
             { "Xor", true, false, true }, { "Exclude", true, false, false } }) {
        SCOPED_TRACE(c.mode);
        Load(Squares(c.mode).Executable("draw", Commands("Fill{ c red }", 1)).MainAnim("draw"));
        ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
        const auto paint = [](bool filled) { return filled ? Red : White; };
        EXPECT_TRUE(PixelsNear(canvas.target.Get(),
            { { 15, 15, paint(c.onlyA) }, { 45, 20, paint(c.onlyA) }, { 40, 40, paint(c.overlap) },
                { 65, 65, paint(c.onlyB) }, { 35, 60, paint(c.onlyB) }, { 60, 15, White }, { 15, 60, White },
                { 90, 90, White } }));
    }
}

TEST_F(CombinedGeometryTest, ExcludingAGeometryFromItselfDrawsNothing)
{
    // A constant combination and one that follows a variable: neither paints anything, in any frame.
    Load(SceneText()
             .Geometry("a", "Rectangle{ x 10 y 10 w 80 h 80 hitTest 0 }")
             .Geometry("moving", "Rectangle{ x $x y 10 w 80 h 80 hitTest 0 }")
             .Geometry("none", "Combined{ geometry1 a geometry2 a mode Exclude hitTest 1 }")
             .Geometry("gone", "Combined{ geometry1 moving geometry2 moving mode Exclude hitTest 1 }")
             .Brush("red", RedBrush)
             .Executable(
                 "draw", Commands("Fill{ none red } Stroke{ none red 4 } Fill{ gone red } Stroke{ gone red 4 }", 4))
             .MainAnim("draw"));
    for (int frame = 0; frame < 2; ++frame) {
        ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
        EXPECT_TRUE(PixelsNear(canvas.target.Get(), { { 10, 10, White }, { 50, 50, White }, { 89, 50, White } }, 0));
    }
    bool hit = true;
    EXPECT_EQ(Scene().HitTest(50, 50, &hit), ResultOk);
    EXPECT_FALSE(hit);
}

TEST_F(CombinedGeometryTest, EachInputKeepsItsOwnFillRule)
{
    // Two squares written as figures of one path overlap; a path fills with the winding
    // rule, so their common part stays filled after the union with a far-away square.
    const std::string twoFigures
        = "Path{ noOfFigures 2 "
          "Figure{ startPoint Point{ 10 10 } closed 1 noOfSegments 3 Line{ to Point{ 50 10 } } "
          "Line{ to Point{ 50 50 } } Line{ to Point{ 10 50 } } } "
          "Figure{ startPoint Point{ 30 30 } closed 1 noOfSegments 3 Line{ to Point{ 70 30 } } "
          "Line{ to Point{ 70 70 } } Line{ to Point{ 30 70 } } } hitTest 0 }";
    Load(SceneText()
             .Geometry("p", twoFigures)
             .Geometry("far", "Rectangle{ x 80 y 80 w 15 h 15 hitTest 0 }")
             .Geometry("u", "Combined{ geometry1 p geometry2 far mode Union hitTest 0 }")
             .Brush("red", RedBrush)
             .Executable("draw", Commands("Fill{ u red }", 1))
             .MainAnim("draw"));
    ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
    EXPECT_TRUE(PixelsNear(canvas.target.Get(),
        { { 15, 15, Red }, { 40, 40, Red }, { 65, 65, Red }, { 87, 87, Red }, { 75, 15, White } }));
}

TEST_F(CombinedGeometryTest, InputsAreCombinedInTheirOwnCoordinates)
{
    // A combination of a combination: an ellipse cut out of the union of the squares.
    Load(Squares("Union")
             .Geometry("hole", "Ellipse{ center Point{ 40 40 } radiusX 8 radiusY 8 hitTest 0 }")
             .Geometry("ring", "Combined{ geometry1 c geometry2 hole mode Exclude hitTest 0 }")
             .Executable("draw", Commands("Fill{ ring red }", 1))
             .MainAnim("draw"));
    ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
    EXPECT_TRUE(
        PixelsNear(canvas.target.Get(), { { 40, 40, White }, { 40, 30, Red }, { 25, 25, Red }, { 60, 60, Red } }));
}

TEST_F(CombinedGeometryTest, ACombinationOverAVariableInputFollowsItEveryFrame)
{
    Load(SceneText()
             .Geometry("moving", "Rectangle{ x $x y 0 w 20 h 100 hitTest 0 }")
             .Geometry("band", "Rectangle{ x 0 y 40 w 100 h 20 hitTest 0 }")
             .Geometry("cross", "Combined{ geometry1 band geometry2 moving mode Intersect hitTest 0 }")
             .Brush("red", RedBrush)
             .Executable("draw", Commands("Fill{ cross red }", 1))
             .MainAnim("draw"));
    EXPECT_TRUE(Scene().FindGeometry("cross")->m_Dynamic);
    for (float x : { 0.f, 60.f, 30.f }) {
        SCOPED_TRACE(x);
        ASSERT_EQ(Scene().WriteVariable("$x", x), ResultOk);
        ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
        const int inside = int(x) + 10;
        EXPECT_TRUE(PixelsNear(canvas.target.Get(),
            { { inside, 50, Red }, { inside, 30, White }, { inside, 70, White }, { (inside + 50) % 100, 50, White } }));
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
    const auto dynamic = [&](const char* name) { return Scene().FindGeometry(name)->m_Dynamic; };
    EXPECT_FALSE(dynamic("ff"));
    EXPECT_TRUE(dynamic("fv"));
    EXPECT_TRUE(dynamic("vf"));
    EXPECT_TRUE(dynamic("nested"));
    EXPECT_FALSE(dynamic("after")) << "the flag of the previous record does not carry over";
}

TEST_F(CombinedGeometryTest, HitTestingSeesTheCombinedArea)
{
    Load(Squares("Xor", 1).Executable("draw", Commands("", 0)).MainAnim("draw"));
    const auto hits = [&](int x, int y) {
        bool hit = false;
        EXPECT_EQ(Scene().HitTest(x, y, &hit), ResultOk);
        return hit;
    };
    EXPECT_TRUE(hits(15, 15));
    EXPECT_TRUE(hits(65, 65));
    EXPECT_FALSE(hits(40, 40)) << "the overlap is outside an exclusive or";
    EXPECT_FALSE(hits(90, 10));
}

TEST_F(CombinedGeometryTest, ModeTokensAreExactAndCheckedBeforeTheNames)
{
    for (const char* mode : { "union", "UNION", "Or", "0" }) {
        EXPECT_EQ(LoadError(Squares(mode)), Framed(5, "Unknown combine mode \"" + std::string(mode) + "\""));
    }
    EXPECT_EQ(LoadError(SceneText().Geometry("c", "Combined{ geometry1 x geometry2 y mode Unite hitTest 0 }")),
        Framed(3, "Unknown combine mode \"Unite\""));
}

TEST_F(CombinedGeometryTest, MissingNamesAreReportedFirstNameFirst)
{
    const auto withNames = [](const std::string& first, const std::string& second) {
        return SceneText()
            .Geometry("a", "Rectangle{ x 0 y 0 w 1 h 1 hitTest 0 }")
            .Geometry("c", "Combined{ geometry1 " + first + " geometry2 " + second + " mode Union hitTest 0 }")
            .Geometry("later", "Rectangle{ x 0 y 0 w 1 h 1 hitTest 0 }");
    };
    EXPECT_EQ(LoadError(withNames("x", "y")), Framed(4, "a geometry with name \"x\" does not exist"));
    EXPECT_EQ(LoadError(withNames("a", "y")), Framed(4, "a geometry with name \"y\" does not exist"));
    EXPECT_EQ(LoadError(withNames("later", "a")), Framed(4, "a geometry with name \"later\" does not exist"))
        << "only geometries listed earlier can be named";
    EXPECT_EQ(LoadError(withNames("A", "a")), Framed(4, "a geometry with name \"A\" does not exist"));
    EXPECT_EQ(LoadError(SceneText().Geometry("c", "Combined{ geometry1 a geometry 2 mode Union hitTest 0 }")),
        Framed(3, "expecting \"geometry2\" got \"geometry\""));
}

} // namespace
} // namespace kuvtest
