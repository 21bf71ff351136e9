#include <cmath>

#include "GfxFixture.h"

namespace kuvtest {
namespace {

using GeometryTest = GfxTest;

void ExpectRect(const D2D1_RECT_F& r, float left, float top, float right, float bottom, float tolerance = 1e-3f)
{
    EXPECT_NEAR(r.left, left, tolerance);
    EXPECT_NEAR(r.top, top, tolerance);
    EXPECT_NEAR(r.right, right, tolerance);
    EXPECT_NEAR(r.bottom, bottom, tolerance);
}

// Scale by 2, then a quarter turn: (x, y) lands on (-2y, 2x).
D2D1_MATRIX_3X2_F ScaleAndRotate()
{
    D2D1_MATRIX_3X2_F rotate;
    D2D1MakeRotateMatrix(90.f, { 0, 0 }, &rotate);
    return D2D1_MATRIX_3X2_F { 2, 0, 0, 2, 0, 0 } * rotate;
}

bool Contains(ID2D1Geometry* g, float x, float y, const D2D1_MATRIX_3X2_F* world = nullptr)
{
    BOOL inside = FALSE;
    EXPECT_EQ(g->FillContainsPoint({ x, y }, world, 0.25f, &inside), S_OK);
    return inside == TRUE;
}

D2D1_RECT_F Bounds(ID2D1Geometry* g, const D2D1_MATRIX_3X2_F* world = nullptr)
{
    D2D1_RECT_F r {};
    EXPECT_EQ(g->GetBounds(world, &r), S_OK);
    return r;
}

TEST_F(GeometryTest, BoundsAreTightUnderWorldTransforms)
{
    const auto rect = Rect(10, 20, 40, 60);
    ExpectRect(Bounds(rect.Get()), 10, 20, 40, 60);
    const D2D1_MATRIX_3X2_F world = ScaleAndRotate();
    ExpectRect(Bounds(rect.Get(), &world), -120, 20, -40, 80);
    ExpectRect(Bounds(Ellipse(50, 50, 30, 20).Get()), 20, 30, 80, 70);

    D2D1_MATRIX_3X2_F turn;
    D2D1MakeRotateMatrix(45.f, { 50, 50 }, &turn);
    const float half = std::sqrt(30.f * 30.f / 2 + 20.f * 20.f / 2);
    ExpectRect(Bounds(Ellipse(50, 50, 30, 20).Get(), &turn), 50 - half, 50 - half, 50 + half, 50 + half, 0.05f);
}

TEST_F(GeometryTest, CurveBoundsFollowTheCurveNotItsControlPoints)
{
    ComPtr<ID2D1PathGeometry> path;
    ASSERT_EQ(m_Factory->CreatePathGeometry(path.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<ID2D1GeometrySink> sink;
    ASSERT_EQ(path->Open(sink.ReleaseAndGetAddressOf()), S_OK);
    sink->BeginFigure({ 0, 0 }, D2D1_FIGURE_BEGIN_FILLED);
    sink->AddBezier({ { 0, 100 }, { 100, 100 }, { 100, 0 } });
    sink->EndFigure(D2D1_FIGURE_END_OPEN);
    ASSERT_EQ(sink->Close(), S_OK);
    ExpectRect(Bounds(path.Get()), 0, 0, 100, 75);
}

TEST_F(GeometryTest, EmptyGeometriesHaveInvertedBounds)
{
    const auto empty = Path({});
    const D2D1_RECT_F r = Bounds(empty.Get());
    EXPECT_GT(r.left, r.right);
    EXPECT_GT(r.top, r.bottom);
    D2D1_RECT_F widened {};
    EXPECT_EQ(empty->GetWidenedBounds(2.f, nullptr, nullptr, 0.25f, &widened), S_OK);
    EXPECT_GT(widened.left, widened.right);
    EXPECT_FALSE(Contains(empty.Get(), 0, 0));
}

TEST_F(GeometryTest, WidenedBoundsAddHalfTheStrokeAndMiterTips)
{
    const auto rect = Rect(10, 20, 40, 60);
    D2D1_RECT_F r {};
    ASSERT_EQ(rect->GetWidenedBounds(2.f, nullptr, nullptr, 0.25f, &r), S_OK);
    ExpectRect(r, 9, 19, 41, 61);
    const D2D1_MATRIX_3X2_F world = ScaleAndRotate();
    ASSERT_EQ(rect->GetWidenedBounds(2.f, nullptr, &world, 0.25f, &r), S_OK);
    ExpectRect(r, -122, 18, -38, 82);

    // An open right angle: flat caps add nothing along the line, the miter reaches the corner.
    const auto corner = Path({ { { 20, 20 }, { { 80, 20 }, { 80, 80 } }, false } });
    ASSERT_EQ(corner->GetWidenedBounds(10.f, nullptr, nullptr, 0.25f, &r), S_OK);
    ExpectRect(r, 20, 15, 85, 80);
}

TEST_F(GeometryTest, MitersReachUpToTenHalfWidthsAndAreCutOffBeyond)
{
    // An inner angle of about 13.7 degrees: the miter reaches 8.4 half-widths past the vertex.
    const auto sharp = Path({ { { 0, 0 }, { { 100, 12 }, { 0, 24 } }, false } });
    D2D1_RECT_F r {};
    ASSERT_EQ(sharp->GetWidenedBounds(2.f, nullptr, nullptr, 0.25f, &r), S_OK);
    EXPECT_NEAR(r.right, 108.4f, 0.05f);

    // A turn of about 174 degrees: its miter would reach about 19 half-widths past the vertex.
    const auto spike = Path({ { { 0, 0 }, { { 100, 5 }, { 0, 10 } }, false } });
    ASSERT_EQ(spike->GetWidenedBounds(2.f, nullptr, nullptr, 0.25f, &r), S_OK);
    EXPECT_LT(r.right, 101.5f);
    EXPECT_GT(r.right, 100.f);
}

TEST_F(GeometryTest, FillContainsPointUnderWorldTransform)
{
    const auto rect = Rect(10, 20, 40, 60);
    const D2D1_MATRIX_3X2_F world = ScaleAndRotate();
    EXPECT_TRUE(Contains(rect.Get(), -80, 50, &world));
    EXPECT_FALSE(Contains(rect.Get(), -80, 85, &world));
    EXPECT_FALSE(Contains(rect.Get(), 25, 40, &world));
    // Within the flattening tolerance of the edge counts as inside.
    EXPECT_TRUE(Contains(rect.Get(), -80, 80.2f, &world));
    EXPECT_FALSE(Contains(rect.Get(), -80, 81.f, &world));

    const auto ellipse = Ellipse(50, 50, 30, 20);
    EXPECT_TRUE(Contains(ellipse.Get(), 78, 50));
    EXPECT_FALSE(Contains(ellipse.Get(), 75, 66));
}

TEST_F(GeometryTest, FillContainsPointHonoursTheFillRule)
{
    const auto winding = Path({ Square(10, 10, 90, 90), Square(30, 30, 70, 70) }, D2D1_FILL_MODE_WINDING);
    const auto alternate = Path({ Square(10, 10, 90, 90), Square(30, 30, 70, 70) }, D2D1_FILL_MODE_ALTERNATE);
    const auto opposed = Path({ Square(10, 10, 90, 90), Square(30, 30, 70, 70, true) }, D2D1_FILL_MODE_WINDING);
    EXPECT_TRUE(Contains(winding.Get(), 50, 50));
    EXPECT_FALSE(Contains(alternate.Get(), 50, 50));
    EXPECT_FALSE(Contains(opposed.Get(), 50, 50));
    EXPECT_TRUE(Contains(alternate.Get(), 20, 50));
    // Open figures are filled as if closed; hollow ones not at all.
    const auto open = Path({ { { 10, 10 }, { { 40, 10 }, { 10, 40 } }, false } });
    EXPECT_TRUE(Contains(open.Get(), 15, 15));
    Figure hollow = Square(10, 10, 90, 90);
    hollow.begin = D2D1_FIGURE_BEGIN_HOLLOW;
    EXPECT_FALSE(Contains(Path({ hollow }).Get(), 50, 50));
}

TEST_F(GeometryTest, NonFiniteInputsAreRefusedWithoutCrashing)
{
    const auto broken = Rect(kNaN, 0, 10, 10);
    D2D1_RECT_F r {};
    EXPECT_EQ(broken->GetBounds(nullptr, &r), D2DERR_BAD_NUMBER);
    EXPECT_GT(r.left, r.right);
    EXPECT_EQ(broken->GetWidenedBounds(1.f, nullptr, nullptr, 0.25f, &r), D2DERR_BAD_NUMBER);
    BOOL inside = TRUE;
    EXPECT_EQ(broken->FillContainsPoint({ 5, 5 }, nullptr, 0.25f, &inside), D2DERR_BAD_NUMBER);
    EXPECT_EQ(inside, FALSE);
    const auto rect = Rect(0, 0, 10, 10);
    inside = TRUE;
    EXPECT_EQ(rect->FillContainsPoint({ kNaN, 5 }, nullptr, 0.25f, &inside), D2DERR_BAD_NUMBER);
    EXPECT_EQ(inside, FALSE);
    const D2D1_MATRIX_3X2_F nanWorld = { kNaN, 0, 0, 1, 0, 0 };
    EXPECT_EQ(rect->GetBounds(&nanWorld, &r), D2DERR_BAD_NUMBER);
    EXPECT_EQ(rect->GetWidenedBounds(kInf, nullptr, nullptr, 0.25f, &r), D2DERR_BAD_NUMBER);
}

TEST_F(GeometryTest, TransformedGeometryMapsItsSource)
{
    ComPtr<ID2D1TransformedGeometry> moved;
    const auto rect = Rect(10, 20, 40, 60);
    ASSERT_EQ(m_Factory->CreateTransformedGeometry(rect.Get(), ScaleAndRotate(), moved.ReleaseAndGetAddressOf()), S_OK);
    ExpectRect(Bounds(moved.Get()), -120, 20, -40, 80);
    EXPECT_TRUE(Contains(moved.Get(), -80, 50));
    EXPECT_EQ(
        m_Factory->CreateTransformedGeometry(nullptr, ScaleAndRotate(), moved.ReleaseAndGetAddressOf()), E_INVALIDARG);
}

TEST_F(GeometryTest, SinkRefusesMisuse)
{
    ComPtr<ID2D1PathGeometry> path;
    ASSERT_EQ(m_Factory->CreatePathGeometry(path.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<ID2D1GeometrySink> sink, second;
    ASSERT_EQ(path->Open(sink.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(path->Open(second.ReleaseAndGetAddressOf()), D2DERR_WRONG_STATE);
    EXPECT_FALSE(second);
    sink->BeginFigure({ 0, 0 }, D2D1_FIGURE_BEGIN_FILLED);
    sink->AddLine({ 10, 0 });
    EXPECT_EQ(sink->Close(), D2DERR_WRONG_STATE);
    EXPECT_EQ(sink->Close(), D2DERR_WRONG_STATE);

    ComPtr<ID2D1PathGeometry> early;
    ASSERT_EQ(m_Factory->CreatePathGeometry(early.ReleaseAndGetAddressOf()), S_OK);
    ASSERT_EQ(early->Open(sink.ReleaseAndGetAddressOf()), S_OK);
    sink->AddLine({ 10, 0 });
    EXPECT_EQ(sink->Close(), D2DERR_WRONG_STATE);
    const D2D1_RECT_F r = Bounds(early.Get());
    EXPECT_GT(r.left, r.right);
}

TEST_F(GeometryTest, GetFactoryHandsOutTheCreator)
{
    ComPtr<ID2D1Factory> factory;
    Rect(0, 0, 1, 1)->GetFactory(factory.ReleaseAndGetAddressOf());
    EXPECT_EQ(factory.Get(), m_Factory.Get());
    m_Target->GetFactory(factory.ReleaseAndGetAddressOf());
    EXPECT_EQ(factory.Get(), m_Factory.Get());
}

} // namespace
} // namespace kuvtest
