#include <cmath>

#include "GfxFixture.h"

namespace kuvtest {
namespace {

class GeometryTest : public GfxTest {
protected:
    // The combination of a and b written into a fresh path.
    ComPtr<ID2D1Geometry> Combine(ID2D1Geometry* a, ID2D1Geometry* b, D2D1_COMBINE_MODE mode,
        const D2D1_MATRIX_3X2_F* inputTransform = nullptr, HRESULT expected = S_OK)
    {
        ComPtr<ID2D1PathGeometry> path;
        EXPECT_EQ(m_Factory->CreatePathGeometry(path.ReleaseAndGetAddressOf()), S_OK);
        ComPtr<ID2D1GeometrySink> sink;
        EXPECT_EQ(path->Open(sink.ReleaseAndGetAddressOf()), S_OK);
        EXPECT_EQ(
            a->CombineWithGeometry(b, mode, inputTransform, D2D1_DEFAULT_FLATTENING_TOLERANCE, sink.Get()), expected);
        EXPECT_EQ(sink->Close(), S_OK);
        return ComPtr<ID2D1Geometry>(path.Detach());
    }
};

// Bounds with left > right stand for "empty"; NaN edges are not checked.
constexpr D2D1_RECT_F kEmpty = { 1, 1, 0, 0 };

void ExpectRect(const D2D1_RECT_F& r, const D2D1_RECT_F& expected, float tolerance = 1e-3f)
{
    if (expected.left > expected.right) {
        EXPECT_GT(r.left, r.right);
        EXPECT_GT(r.top, r.bottom);
        return;
    }
    const float actual[] = { r.left, r.top, r.right, r.bottom };
    const float wanted[] = { expected.left, expected.top, expected.right, expected.bottom };
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(std::isnan(wanted[i]) || std::abs(actual[i] - wanted[i]) <= tolerance)
            << "edge " << i << " is " << actual[i] << ", expected " << wanted[i] << " +- " << tolerance;
}

// Scale by 2, then a quarter turn: (x, y) lands on (-2y, 2x).
constexpr D2D1_MATRIX_3X2_F kScaleAndRotate = { 0, 2, -2, 0, 0, 0 };

bool Contains(ID2D1Geometry* g, D2D1_POINT_2F p, const D2D1_MATRIX_3X2_F* world = nullptr,
    float tolerance = D2D1_DEFAULT_FLATTENING_TOLERANCE)
{
    BOOL inside = FALSE;
    EXPECT_EQ(g->FillContainsPoint(p, world, tolerance, &inside), S_OK);
    return inside == TRUE;
}

D2D1_RECT_F Bounds(ID2D1Geometry* g, const D2D1_MATRIX_3X2_F* world = nullptr)
{
    D2D1_RECT_F r {};
    EXPECT_EQ(g->GetBounds(world, &r), S_OK);
    return r;
}

TEST(Matrix, InversesUndoTheMatrixAndSingularOnesAreLeftAlone)
{
    D2D1_MATRIX_3X2_F m;
    D2D1MakeRotateMatrix(33.f, { 7, -3 }, &m);
    m = m * D2D1_MATRIX_3X2_F { 2, 0, 0, 0.5f, 4, 9 };
    D2D1_MATRIX_3X2_F inverse = m;
    ASSERT_TRUE(D2D1InvertMatrix(&inverse));
    const D2D1_POINT_2F back = TransformPoint(inverse, TransformPoint(m, { 12, -5 }));
    EXPECT_NEAR(back.x, 12, 1e-4f);
    EXPECT_NEAR(back.y, -5, 1e-4f);

    D2D1_MATRIX_3X2_F zero = { 0, 0, 0, 0, 5, 5 }, broken = { kNaN, 0, 0, 1, 0, 0 };
    EXPECT_FALSE(D2D1InvertMatrix(&zero));
    EXPECT_TRUE((zero == D2D1_MATRIX_3X2_F { 0, 0, 0, 0, 5, 5 })) << "a singular matrix is left unchanged";
    EXPECT_FALSE(D2D1InvertMatrix(&broken));
}

TEST_F(GeometryTest, BoundsAreTightUnderWorldTransformsAndWidenedByTheStroke)
{
    const auto rect = Rect(10, 20, 40, 60);
    const auto ellipse = Ellipse(50, 50, 30, 20);
    const D2D1_MATRIX_3X2_F world = kScaleAndRotate;
    D2D1_MATRIX_3X2_F turn;
    D2D1MakeRotateMatrix(45.f, { 50, 50 }, &turn);
    const float half = std::sqrt(30.f * 30.f / 2 + 20.f * 20.f / 2);
    const struct {
        const char* name;
        ComPtr<ID2D1Geometry> geometry;
        const D2D1_MATRIX_3X2_F* world;
        float strokeWidth; // 0: plain bounds
        D2D1_RECT_F expected;
        float tolerance = 1e-3f;
    } cases[] = {
        { "rectangle scaled and turned", rect, &world, 0, { -120, 20, -40, 80 } },
        { "ellipse turned", ellipse, &turn, 0, { 50 - half, 50 - half, 50 + half, 50 + half }, 0.05f },
        { "empty path", Path({}), nullptr, 0, kEmpty },
        { "widened rectangle scaled and turned", rect, &world, 2, { -122, 18, -38, 82 } },
        // An open right angle: flat caps add nothing along the line, the miter reaches the corner.
        { "widened open corner", Path({ { { 20, 20 }, { { 80, 20 }, { 80, 80 } }, false } }), nullptr, 10,
            { 20, 15, 85, 80 } },
        // Miters reach up to ten half-widths: a 13.7 degree inner angle reaches 8.4 of them past its vertex, while a
        // turn of 174 degrees, which would reach 19, is cut off.
        { "sharp miter", Path({ { { 0, 0 }, { { 100, 12 }, { 0, 24 } }, false } }), nullptr, 2,
            { kNaN, kNaN, 108.4f, kNaN }, 0.05f },
        { "miter beyond the limit", Path({ { { 0, 0 }, { { 100, 5 }, { 0, 10 } }, false } }), nullptr, 2,
            { kNaN, kNaN, 100.75f, kNaN }, 0.75f },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        D2D1_RECT_F r {};
        if (c.strokeWidth > 0)
            ASSERT_EQ(
                c.geometry->GetWidenedBounds(c.strokeWidth, nullptr, c.world, D2D1_DEFAULT_FLATTENING_TOLERANCE, &r),
                S_OK);
        else
            r = Bounds(c.geometry.Get(), c.world);
        ExpectRect(r, c.expected, c.tolerance);
    }
}

TEST_F(GeometryTest, FillContainsPointHonoursTransformsAndFillRules)
{
    const auto rect = Rect(10, 20, 40, 60);
    const auto ellipse = Ellipse(50, 50, 30, 20);
    const auto winding = Path({ Square(10, 10, 90, 90), Square(30, 30, 70, 70) }, D2D1_FILL_MODE_WINDING);
    const auto alternate = Path({ Square(10, 10, 90, 90), Square(30, 30, 70, 70) }, D2D1_FILL_MODE_ALTERNATE);
    const auto opposed = Path({ Square(10, 10, 90, 90), Square(30, 30, 70, 70, true) }, D2D1_FILL_MODE_WINDING);
    Figure hollow = Square(10, 10, 90, 90);
    hollow.begin = D2D1_FIGURE_BEGIN_HOLLOW;
    const D2D1_MATRIX_3X2_F world = kScaleAndRotate;
    const struct {
        const char* name;
        ComPtr<ID2D1Geometry> geometry;
        D2D1_POINT_2F point;
        bool inside;
        const D2D1_MATRIX_3X2_F* world = nullptr;
    } cases[] = {
        { "inside the turned rectangle", rect, { -80, 50 }, true, &world },
        { "within the tolerance of the edge", rect, { -80, 80.2f }, true, &world },
        { "beyond the tolerance of the edge", rect, { -80, 81 }, false, &world },
        { "outside the ellipse, inside its bounds", ellipse, { 75, 66 }, false },
        { "winding centre", winding, { 50, 50 }, true },
        { "alternate centre", alternate, { 50, 50 }, false },
        { "opposed winding centre", opposed, { 50, 50 }, false },
        { "open figure is filled as if closed", Path({ { { 10, 10 }, { { 40, 10 }, { 10, 40 } }, false } }), { 15, 15 },
            true },
        { "hollow figure", Path({ hollow }), { 50, 50 }, false },
        { "empty path", Path({}), { 0, 0 }, false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Contains(c.geometry.Get(), c.point, c.world), c.inside) << c.name;
}

TEST_F(GeometryTest, CombineModes)
{
    const auto a = Rect(0, 0, 10, 10);
    const auto ellipse = Ellipse(50, 50, 20, 10);
    const auto ring = Path({ Square(0, 0, 30, 30), Square(10, 10, 20, 20) }, D2D1_FILL_MODE_ALTERNATE);
    const auto solid = Path({ Square(0, 0, 30, 30), Square(10, 10, 20, 20) }, D2D1_FILL_MODE_WINDING);
    const auto square = Rect(0, 0, 30, 30);
    const D2D1_MATRIX_3X2_F shift = D2D1::Translation(5, 0);
    const float diagonal = 50 + 39.5f * 0.7071f;
    const auto intersect = D2D1_COMBINE_MODE_INTERSECT;
    const struct {
        const char* name;
        ComPtr<ID2D1Geometry> first, second;
        D2D1_COMBINE_MODE mode;
        D2D1_RECT_F bounds;
        std::vector<D2D1_POINT_2F> inside, outside;
        const D2D1_MATRIX_3X2_F* inputTransform = nullptr;
        float tolerance = 1e-3f;
    } cases[] = {
        { "exclude a geometry from itself", ellipse, ellipse, D2D1_COMBINE_MODE_EXCLUDE, kEmpty, {}, { { 50, 50 } } },
        { "input transform moves the second", a, a, intersect, { 5, 0, 10, 10 }, {}, {}, &shift },
        // Each input keeps its own fill rule: the alternate ring keeps its hole.
        { "alternate ring", ring, square, intersect, { 0, 0, 30, 30 }, { { 5, 5 } }, { { 15, 15 } } },
        { "winding ring", solid, square, intersect, { 0, 0, 30, 30 }, { { 5, 5 }, { 15, 15 } }, {} },
        { "curves followed closely", Ellipse(50, 50, 40, 40), Rect(0, 0, 100, 100), intersect, { 10, 10, 90, 90 },
            { { diagonal, diagonal } }, {}, nullptr, 0.26f },
        // Coordinates far beyond the integer range are clamped, not refused.
        { "huge input", Rect(-1e30f, -1e30f, 1e30f, 1e30f), a, intersect, { 0, 0, 10, 10 }, { { 5, 5 } }, {} },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = Combine(c.first.Get(), c.second.Get(), c.mode, c.inputTransform);
        ExpectRect(Bounds(result.Get()), c.bounds, c.tolerance);
        for (D2D1_POINT_2F p : c.inside)
            EXPECT_TRUE(Contains(result.Get(), p, nullptr, 0.01f)) << p.x << "," << p.y;
        for (D2D1_POINT_2F p : c.outside)
            EXPECT_FALSE(Contains(result.Get(), p, nullptr, 0.01f)) << p.x << "," << p.y;
    }
}

TEST_F(GeometryTest, NonFiniteInputsAreRefusedWithoutCrashing)
{
    const auto broken = Rect(kNaN, 0, 10, 10), rect = Rect(0, 0, 10, 10);
    D2D1_RECT_F r {};
    EXPECT_EQ(broken->GetBounds(nullptr, &r), D2DERR_BAD_NUMBER);
    EXPECT_GT(r.left, r.right);
    EXPECT_EQ(rect->GetWidenedBounds(kInf, nullptr, nullptr, D2D1_DEFAULT_FLATTENING_TOLERANCE, &r), D2DERR_BAD_NUMBER);
    BOOL inside = TRUE;
    EXPECT_EQ(
        rect->FillContainsPoint({ kNaN, 5 }, nullptr, D2D1_DEFAULT_FLATTENING_TOLERANCE, &inside), D2DERR_BAD_NUMBER);
    EXPECT_EQ(inside, FALSE);
    Combine(broken.Get(), rect.Get(), D2D1_COMBINE_MODE_UNION, nullptr, D2DERR_BAD_NUMBER);
}

} // namespace
} // namespace kuvtest
