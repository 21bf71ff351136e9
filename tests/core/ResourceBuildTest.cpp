// What resources build from their values, and how often they build it.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "Core/BrushBase.h"
#include "Core/GeometryBase.h"
#include "Core/LinearGradientBrush.h"
#include "ResourceFixtures.h"

namespace kuvtest {
namespace {

const std::string Red = "SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }";

D2D1_RECT_F BoundsOf(KUV::GeometryBase& geometry)
{
    D2D1_RECT_F bounds {};
    EXPECT_EQ(geometry.GetResource()->GetBounds(nullptr, &bounds), S_OK);
    return bounds;
}

void ExpectRectNear(const D2D1_RECT_F& actual, const D2D1_RECT_F& expected, float tolerance = 0.01f)
{
    EXPECT_NEAR(actual.left, expected.left, tolerance);
    EXPECT_NEAR(actual.top, expected.top, tolerance);
    EXPECT_NEAR(actual.right, expected.right, tolerance);
    EXPECT_NEAR(actual.bottom, expected.bottom, tolerance);
}

void ExpectMatrixNear(const D2D_MATRIX_3X2_F& actual, const D2D_MATRIX_3X2_F& expected, float tolerance = 1e-4f)
{
    EXPECT_NEAR(actual._11, expected._11, tolerance);
    EXPECT_NEAR(actual._12, expected._12, tolerance);
    EXPECT_NEAR(actual._21, expected._21, tolerance);
    EXPECT_NEAR(actual._22, expected._22, tolerance);
    EXPECT_NEAR(actual._31, expected._31, tolerance);
    EXPECT_NEAR(actual._32, expected._32, tolerance);
}

TEST(GeometryBuild, ShapesCoverWhatTheirRecordsDescribe)
{
    SceneUnderTest t(SceneText()
                         .Geometry("rect", "Rectangle{ x 10 y 20 w 30 h 40 hitTest 0 }")
                         .Geometry("ellipse", "Ellipse{ center Point{ 50 40 } radiusX 20 radiusY 10 hitTest 0 }")
                         .Geometry("path",
                             "Path{ noOfFigures 2 Figure{ startPoint Point{ 5 5 } closed 1 noOfSegments 2 "
                             "Line{ to Point{ 25 5 } } Line{ to Point{ 25 15 } } } "
                             "Figure{ startPoint Point{ 30 0 } closed 0 noOfSegments 1 "
                             "Bezier{ p1 Point{ 30 10 } p2 Point{ 40 10 } p3 Point{ 40 0 } } } hitTest 0 }")
                         .Geometry("empty", "Path{ noOfFigures 0 hitTest 0 }")
                         .Geometry("negative", "Path{ noOfFigures -3 hitTest 0 }"));
    ASSERT_EQ(t.loaded.status, 0) << t.loaded.errorText;
    KUV::Tavisk& scene = t.Scene();
    ExpectRectNear(BoundsOf(*scene.FindGeometry("rect")), { 10, 20, 40, 60 });
    ExpectRectNear(BoundsOf(*scene.FindGeometry("ellipse")), { 30, 30, 70, 50 });
    // The curve's extreme is at its middle: 0.75 of its control points' height.
    ExpectRectNear(BoundsOf(*scene.FindGeometry("path")), { 5, 0, 40, 15 }, 0.05f);
    for (const char* name : { "empty", "negative" }) {
        const D2D1_RECT_F bounds = BoundsOf(*scene.FindGeometry(name));
        EXPECT_GT(bounds.left, bounds.right) << name << " should be empty";
    }
}

TEST(GeometryBuild, PathsFillWithTheWindingRuleAndFillOpenFigures)
{
    // Two squares drawn in the same direction, one inside the other, and an open triangle.
    const std::string square = "Line{ to Point{ %R 0 } } Line{ to Point{ %R %R } } Line{ to Point{ 0 %R } }";
    auto squareOf = [&](int size) {
        std::string s = square;
        for (size_t at; (at = s.find("%R")) != std::string::npos;)
            s.replace(at, 2, std::to_string(size));
        return "Figure{ startPoint Point{ 0 0 } closed 1 noOfSegments 3 " + s + " }";
    };
    SceneUnderTest t(
        SceneText()
            .Geometry("nested", "Path{ noOfFigures 2 " + squareOf(40) + " " + squareOf(20) + " hitTest 0 }")
            .Geometry("open",
                "Path{ noOfFigures 1 Figure{ startPoint Point{ 0 0 } closed 0 noOfSegments 2 "
                "Line{ to Point{ 40 0 } } Line{ to Point{ 0 40 } } } hitTest 0 }"));
    ASSERT_EQ(t.loaded.status, 0) << t.loaded.errorText;
    const auto contains = [&](const char* name, float x, float y) {
        BOOL inside = FALSE;
        EXPECT_EQ(
            t.Scene().FindGeometry(name)->GetResource()->FillContainsPoint({ x, y }, nullptr, 0.25f, &inside), S_OK);
        return inside != FALSE;
    };
    EXPECT_TRUE(contains("nested", 10, 10)) << "the inner square is no hole under the winding rule";
    EXPECT_TRUE(contains("nested", 30, 30));
    EXPECT_TRUE(contains("open", 10, 10)) << "an open figure is still filled";
    EXPECT_FALSE(contains("open", 30, 30));
}

TEST(TransformBuild, EachKindBuildsItsMatrix)
{
    SceneUnderTest t(SceneText()
                         .Transform("move", "Translation{ x 10 y 20 }")
                         .Transform("turn", "Rotation{ t 90 }")
                         .Transform("orbit", "PolarTranslation{ r 10 t 3.14159 }")
                         .Transform("radians", "PolarTranslation{ r 1 t 90 }")
                         .Transform("mirror", "Scale{ x 2 y -1 }"));
    ASSERT_EQ(t.loaded.status, 0) << t.loaded.errorText;
    const auto matrix = [&](const char* name) { return *t.Scene().FindTransform(name)->GetResource(); };
    EXPECT_EQ(matrix("move"), (D2D_MATRIX_3X2_F { 1, 0, 0, 1, 10, 20 }));
    ExpectMatrixNear(matrix("turn"), { 0, 1, -1, 0, 0, 0 });
    const D2D1_POINT_2F turned = TransformPoint(matrix("turn"), { 1, 0 });
    EXPECT_NEAR(turned.x, 0.f, 1e-5f);
    EXPECT_NEAR(turned.y, 1.f, 1e-5f);
    ExpectMatrixNear(matrix("orbit"), { 1, 0, 0, 1, -10, 0 }, 1e-3f);
    // 90 is an angle in radians here, not a quarter turn.
    ExpectMatrixNear(matrix("radians"),
        { 1, 0, 0, 1, static_cast<float>(std::cos(90.0)), static_cast<float>(std::sin(90.0)) }, 1e-6f);
    EXPECT_EQ(matrix("mirror"), (D2D_MATRIX_3X2_F { 2, 0, 0, -1, 0, 0 }));
}

TEST(TransformBuild, ADynamicTransformFollowsItsVariableFrameByFrame)
{
    SceneUnderTest t(SceneText()
                         .Geometry("dot", "Rectangle{ x 0 y 0 w 1 h 1 hitTest 0 }")
                         .Brush("red", Red)
                         .Transform("grow", "Scale{ x $s y 3 }")
                         .Transform("move", "Translation{ x 1 y 2 }")
                         .Executable("draw",
                             ProcedureOf("PushTransform{ grow } PushTransform{ move } Fill{ dot red } "
                                         "PopTransform{ } PopTransform{ }",
                                 5))
                         .MainAnim("draw"));
    ASSERT_EQ(t.loaded.status, 0) << t.loaded.errorText;
    auto grow = t.Scene().FindTransform("grow");
    auto move = t.Scene().FindTransform("move");
    for (float s : { 2.f, 5.f }) {
        t.Write("$s", s);
        ASSERT_EQ(t.Render(), KUV::ResultOk) << t.Scene().GetErrorText();
        EXPECT_EQ(grow->m_Resource, nullptr) << "a dynamic matrix is dropped after each render";
        EXPECT_EQ(*grow->GetResource(), (D2D_MATRIX_3X2_F { s, 0, 0, 3, 0, 0 }));
    }
    ASSERT_NE(move->m_Resource, nullptr) << "a constant matrix is kept";
}

TEST(ResourceBuildCount, DynamicGeometriesBuildOncePerFrameAndStaticOnesOnce)
{
    SceneUnderTest t(SceneText()
                         .Geometry("dynamic", "Ellipse{ center Point{ 50 50 } radiusX $r radiusY 10 hitTest 0 }")
                         .Geometry("static", "Rectangle{ x 0 y 0 w 10 h 10 hitTest 0 }")
                         .Geometry("unused", "Ellipse{ center Point{ 50 50 } radiusX $r radiusY 5 hitTest 0 }")
                         .Brush("red", Red)
                         .Executable("draw",
                             ProcedureOf("Fill{ dynamic red } Fill{ static red } Fill{ dynamic red } "
                                         "Stroke{ dynamic red 2 } Fill{ static red }",
                                 5))
                         .MainAnim("draw"));
    ASSERT_EQ(t.loaded.status, 0) << t.loaded.errorText;
    ComPtr<CountingFactory> counter(new CountingFactory(t.canvas.factory.Get()));
    for (const char* name : { "dynamic", "static", "unused" })
        t.Scene().FindGeometry(name)->m_Factory = counter.Get();

    for (int frame = 1; frame <= 3; ++frame) {
        ASSERT_EQ(t.Render(), KUV::ResultOk) << t.Scene().GetErrorText();
        EXPECT_EQ(counter->ellipses, frame) << "the drawn dynamic ellipse is built once per frame, the unused never";
        EXPECT_EQ(counter->rectangles, 1) << "the static rectangle is built once";
    }
}

TEST(ResourceBuildCount, StaticBrushesAreKeptAndDynamicOnesDropped)
{
    SceneUnderTest t(SceneText()
                         .Geometry("box", "Rectangle{ x 0 y 0 w 10 h 10 hitTest 0 }")
                         .Brush("static", Red)
                         .Brush("dynamic", "SolidColorBrush{ Color{ $c 0 0 1 } opacity 1 }")
                         .Executable("draw", ProcedureOf("Fill{ box static } Fill{ box dynamic }", 2))
                         .MainAnim("draw"));
    ASSERT_EQ(t.loaded.status, 0) << t.loaded.errorText;
    auto fixed = t.Scene().FindBrush("static");
    auto dynamic = t.Scene().FindBrush("dynamic");
    ASSERT_EQ(t.Render(), KUV::ResultOk) << t.Scene().GetErrorText();
    const std::shared_ptr<ID2D1Brush> first = fixed->m_Resource;
    ASSERT_NE(first, nullptr);
    for (int frame = 0; frame < 3; ++frame) {
        ASSERT_EQ(t.Render(), KUV::ResultOk) << t.Scene().GetErrorText();
        EXPECT_EQ(fixed->m_Resource, first);
        EXPECT_EQ(dynamic->m_Resource, nullptr);
    }
}

TEST(ResourceBuildCount, AGradientKeepsTheStopsOfItsFirstBuild)
{
    SceneUnderTest t(SceneText()
                         .Geometry("box", "Rectangle{ x 0 y 0 w 10 h 10 hitTest 0 }")
                         .Brush("fade",
                             "LinearGradientBrush{ start Point{ 0 0 } end Point{ 10 0 } "
                             "GradientStopCollection{ noOfGradientStops 1 GradientStop{ 0 Color{ $c 0 0 1 } } "
                             "extendMode 1 } opacity $o }")
                         .Executable("draw", ProcedureOf("Fill{ box fade }", 1))
                         .MainAnim("draw"));
    ASSERT_EQ(t.loaded.status, 0) << t.loaded.errorText;
    auto brush = std::dynamic_pointer_cast<KUV::LinearGradientBrush>(t.Scene().FindBrush("fade"));
    ASSERT_NE(brush, nullptr);
    ASSERT_TRUE(brush->m_Dynamic);
    ASSERT_EQ(t.Render(), KUV::ResultOk) << t.Scene().GetErrorText();
    const std::shared_ptr<ID2D1GradientStopCollection> stops = brush->m_Stops->m_Resource;
    ASSERT_NE(stops, nullptr);
    EXPECT_EQ(stops->GetGradientStopCount(), 1u);
    EXPECT_EQ(stops->GetExtendMode(), D2D1_EXTEND_MODE_WRAP);
    for (float opacity : { 0.25f, 0.75f }) {
        t.Write("$o", opacity);
        t.Write("$c", opacity);
        ASSERT_EQ(t.Render(), KUV::ResultOk) << t.Scene().GetErrorText();
        EXPECT_EQ(brush->m_Stops->m_Resource, stops) << "the collection is not rebuilt";
        EXPECT_FLOAT_EQ(brush->GetResource()->GetOpacity(), opacity) << "the opacity follows its variable";
    }
}

TEST(ResourceBuild, BrushesCarryTheirOpacityAndNoTransform)
{
    SceneUnderTest t(SceneText()
                         .Brush("half", "SolidColorBrush{ Color{ 1 0 0 1 } opacity 0.5 }")
                         .Brush("radial",
                             "RadialGradientBrush{ center Point{ 5 5 } originOffset Point{ 0 0 } "
                             "radiusX 5 radiusY 5 GradientStopCollection{ noOfGradientStops 0 "
                             "extendMode 2 } opacity 0.25 }"));
    ASSERT_EQ(t.loaded.status, 0) << t.loaded.errorText;
    auto half = t.Scene().FindBrush("half")->GetResource();
    EXPECT_FLOAT_EQ(half->GetOpacity(), 0.5f);
    D2D1_MATRIX_3X2_F transform {};
    half->GetTransform(&transform);
    EXPECT_EQ(transform, D2D1::IdentityMatrix());
    auto solid = static_cast<ID2D1SolidColorBrush*>(half.get());
    EXPECT_FLOAT_EQ(solid->GetColor().r, 1.f);
    EXPECT_FLOAT_EQ(solid->GetColor().a, 1.f);
    EXPECT_FLOAT_EQ(t.Scene().FindBrush("radial")->GetResource()->GetOpacity(), 0.25f);
}

} // namespace
} // namespace kuvtest
