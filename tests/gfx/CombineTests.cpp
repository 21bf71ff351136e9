#include "GfxFixture.h"

namespace kuvtest {
namespace {

class CombineTest : public GfxTest {
protected:
    ComPtr<ID2D1Geometry> Combine(
        ID2D1Geometry* a, ID2D1Geometry* b, D2D1_COMBINE_MODE mode, const D2D1_MATRIX_3X2_F* inputTransform = nullptr)
    {
        ComPtr<ID2D1PathGeometry> path;
        EXPECT_EQ(m_Factory->CreatePathGeometry(path.ReleaseAndGetAddressOf()), S_OK);
        ComPtr<ID2D1GeometrySink> sink;
        EXPECT_EQ(path->Open(sink.ReleaseAndGetAddressOf()), S_OK);
        EXPECT_EQ(a->CombineWithGeometry(b, mode, inputTransform, 0.25f, sink.Get()), S_OK);
        EXPECT_EQ(sink->Close(), S_OK);
        return ComPtr<ID2D1Geometry>(path.Detach());
    }

    static D2D1_RECT_F Bounds(ID2D1Geometry* g)
    {
        D2D1_RECT_F r {};
        EXPECT_EQ(g->GetBounds(nullptr, &r), S_OK);
        return r;
    }

    static bool Contains(ID2D1Geometry* g, float x, float y)
    {
        BOOL inside = FALSE;
        EXPECT_EQ(g->FillContainsPoint({ x, y }, nullptr, 0.01f, &inside), S_OK);
        return inside == TRUE;
    }
};

void ExpectRect(const D2D1_RECT_F& r, float left, float top, float right, float bottom)
{
    EXPECT_NEAR(r.left, left, 1e-3f);
    EXPECT_NEAR(r.top, top, 1e-3f);
    EXPECT_NEAR(r.right, right, 1e-3f);
    EXPECT_NEAR(r.bottom, bottom, 1e-3f);
}

TEST_F(CombineTest, UnionIntersectXorAndExclude)
{
    const auto a = Rect(0, 0, 10, 10), b = Rect(5, 0, 15, 10);
    const auto both = Combine(a.Get(), b.Get(), D2D1_COMBINE_MODE_UNION);
    ExpectRect(Bounds(both.Get()), 0, 0, 15, 10);
    EXPECT_TRUE(Contains(both.Get(), 7, 5));
    EXPECT_TRUE(Contains(both.Get(), 12, 5));

    ExpectRect(Bounds(Combine(a.Get(), b.Get(), D2D1_COMBINE_MODE_INTERSECT).Get()), 5, 0, 10, 10);
    const auto either = Combine(a.Get(), b.Get(), D2D1_COMBINE_MODE_XOR);
    EXPECT_TRUE(Contains(either.Get(), 2, 5));
    EXPECT_TRUE(Contains(either.Get(), 12, 5));
    EXPECT_FALSE(Contains(either.Get(), 7, 5));
    const auto left = Combine(a.Get(), b.Get(), D2D1_COMBINE_MODE_EXCLUDE);
    ExpectRect(Bounds(left.Get()), 0, 0, 5, 10);
}

TEST_F(CombineTest, ExcludingAGeometryFromItselfLeavesNothing)
{
    const auto e = Ellipse(50, 50, 20, 10);
    const D2D1_RECT_F r = Bounds(Combine(e.Get(), e.Get(), D2D1_COMBINE_MODE_EXCLUDE).Get());
    EXPECT_GT(r.left, r.right);
}

TEST_F(CombineTest, InputTransformMovesTheSecondGeometry)
{
    const auto a = Rect(0, 0, 10, 10);
    const D2D1_MATRIX_3X2_F shift = D2D1::Translation(5, 0);
    ExpectRect(Bounds(Combine(a.Get(), a.Get(), D2D1_COMBINE_MODE_INTERSECT, &shift).Get()), 5, 0, 10, 10);
}

TEST_F(CombineTest, EachInputKeepsItsOwnFillRule)
{
    // Alternate leaves a hole in the ring; intersecting with a rectangle keeps the hole.
    const auto ring = Path({ Square(0, 0, 30, 30), Square(10, 10, 20, 20) }, D2D1_FILL_MODE_ALTERNATE);
    const auto result = Combine(ring.Get(), Rect(0, 0, 30, 30).Get(), D2D1_COMBINE_MODE_INTERSECT);
    EXPECT_TRUE(Contains(result.Get(), 5, 5));
    EXPECT_FALSE(Contains(result.Get(), 15, 15));
    const auto solid = Path({ Square(0, 0, 30, 30), Square(10, 10, 20, 20) }, D2D1_FILL_MODE_WINDING);
    EXPECT_TRUE(Contains(Combine(solid.Get(), Rect(0, 0, 30, 30).Get(), D2D1_COMBINE_MODE_INTERSECT).Get(), 15, 15));
}

TEST_F(CombineTest, CurvesAreFollowedClosely)
{
    const auto circle = Ellipse(50, 50, 40, 40);
    const auto result = Combine(circle.Get(), Rect(0, 0, 100, 100).Get(), D2D1_COMBINE_MODE_INTERSECT);
    const D2D1_RECT_F r = Bounds(result.Get());
    EXPECT_NEAR(r.left, 10, 0.26f);
    EXPECT_NEAR(r.bottom, 90, 0.26f);
    EXPECT_TRUE(Contains(result.Get(), 50 + 39.5f * 0.7071f, 50 + 39.5f * 0.7071f));
}

TEST_F(CombineTest, BadInputsFailCleanly)
{
    const auto a = Rect(0, 0, 10, 10);
    ComPtr<ID2D1PathGeometry> path;
    ASSERT_EQ(m_Factory->CreatePathGeometry(path.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<ID2D1GeometrySink> sink;
    ASSERT_EQ(path->Open(sink.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(a->CombineWithGeometry(nullptr, D2D1_COMBINE_MODE_UNION, nullptr, 0.25f, sink.Get()), E_INVALIDARG);
    EXPECT_EQ(a->CombineWithGeometry(a.Get(), D2D1_COMBINE_MODE(9), nullptr, 0.25f, sink.Get()), E_INVALIDARG);
    EXPECT_EQ(a->CombineWithGeometry(a.Get(), D2D1_COMBINE_MODE_UNION, nullptr, 0.25f, nullptr), E_POINTER);
    EXPECT_EQ(Rect(kNaN, 0, 1, 1)->CombineWithGeometry(a.Get(), D2D1_COMBINE_MODE_UNION, nullptr, 0.25f, sink.Get()),
        D2DERR_BAD_NUMBER);
    // Coordinates far beyond the integer range are clamped, not refused.
    const auto huge = Rect(-1e30f, -1e30f, 1e30f, 1e30f);
    EXPECT_EQ(huge->CombineWithGeometry(a.Get(), D2D1_COMBINE_MODE_INTERSECT, nullptr, 0.25f, sink.Get()), S_OK);
    EXPECT_EQ(sink->Close(), S_OK);
    const D2D1_RECT_F r = Bounds(path.Get());
    EXPECT_NEAR(r.left, 0, 1e-3f);
    EXPECT_NEAR(r.right, 10, 1e-3f);
}

} // namespace
} // namespace kuvtest
