#include "GfxFixture.h"

namespace kuvtest {
namespace {

using DrawingTest = GfxTest;

TEST_F(DrawingTest, FillsCoverExactlyTheirShapes)
{
    const std::vector<PixelExpectation> rectangle = { { 10, 20, Red }, { 39, 59, Red }, { 25, 40, Red },
        { 9, 20, White }, { 10, 19, White }, { 40, 59, White }, { 39, 60, White } };
    const std::vector<PixelExpectation> ring = { { 50, 50, White }, { 20, 50, Red } };
    Figure hollow = Square(60, 60, 90, 90);
    hollow.begin = D2D1_FIGURE_BEGIN_HOLLOW;
    const auto aliased = D2D1_ANTIALIAS_MODE_ALIASED, smooth = D2D1_ANTIALIAS_MODE_PER_PRIMITIVE;
    const struct {
        const char* name;
        ComPtr<ID2D1Geometry> geometry;
        D2D1_ANTIALIAS_MODE mode;
        std::vector<PixelExpectation> pixels;
        int tolerance = 8;
    } cases[] = {
        { "aliased rectangle", Rect(10, 20, 40, 60), aliased, rectangle },
        { "antialiased rectangle", Rect(10, 20, 40, 60), smooth, rectangle },
        { "partly covered edges are shaded", Rect(10.25f, 20.5f, 40, 60), smooth,
            { { 10, 40, { 255, 64, 64, 255 } }, { 20, 20, HalfRed }, { 11, 40, Red } } },
        { "aliased edges are not", Rect(10.25f, 20.5f, 40, 60), aliased,
            { { 10, 40, Red }, { 11, 40, Red }, { 9, 40, White } }, 0 },
        { "ellipse", Ellipse(50, 50, 30, 20), smooth,
            { { 50, 50, Red }, { 78, 50, Red }, { 50, 31, Red }, { 81, 50, White }, { 50, 28, White },
                { 25, 35, White } } },
        { "open figures are filled, hollow ones not",
            Path({ { { 10, 10 }, { { 40, 10 }, { 10, 40 } }, false }, hollow }), smooth,
            { { 15, 15, Red }, { 35, 35, White }, { 75, 75, White }, { 60, 75, White } } },
        { "winding", Path({ Square(10, 10, 90, 90), Square(30, 30, 70, 70) }, D2D1_FILL_MODE_WINDING), smooth,
            { { 50, 50, Red }, { 20, 50, Red } } },
        { "alternate", Path({ Square(10, 10, 90, 90), Square(30, 30, 70, 70) }, D2D1_FILL_MODE_ALTERNATE), smooth,
            ring },
        { "winding, inner square reversed", Path({ Square(10, 10, 90, 90), Square(30, 30, 70, 70, true) }), smooth,
            ring },
        { "huge rectangle", Rect(-1e20f, -1e20f, 1e20f, 1e20f), smooth, { { 0, 0, Red }, { 99, 99, Red } }, 0 },
        { "rectangle far beyond float precision finishes", Rect(-1e30f, -1e30f, 1e30f, 1e30f), smooth, {} },
        { "paths default to alternate", Path({ Square(10, 10, 90, 90), Square(30, 30, 70, 70) }, std::nullopt), smooth,
            ring },
    };
    const auto red = Solid(kRed);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Draw([&] { m_Target->FillGeometry(c.geometry.Get(), red.Get()); }, c.mode);
        EXPECT_TRUE(PixelsNear(m_Target.Get(), c.pixels, c.tolerance));
    }
}

TEST_F(DrawingTest, StrokesAreCentredWithFlatCapsAndMiterJoins)
{
    const auto line = Path({ { { 20, 50 }, { { 80, 50 } }, false } });
    const auto corner = Path({ { { 20, 20 }, { { 80, 20 }, { 80, 80 } }, false } });
    Figure hollow = Square(20, 20, 80, 80);
    hollow.begin = D2D1_FIGURE_BEGIN_HOLLOW;
    const std::vector<PixelExpectation> nothing = { { 50, 50, White } };
    const struct {
        const char* name;
        ComPtr<ID2D1Geometry> geometry;
        float width;
        std::vector<PixelExpectation> pixels;
        int tolerance = 8;
        D2D1_MATRIX_3X2_F transform = D2D1::IdentityMatrix();
    } cases[] = {
        { "width 10, flat caps", line, 10.f,
            { { 50, 45, Red }, { 50, 54, Red }, { 50, 44, White }, { 50, 55, White }, { 20, 50, Red }, { 79, 50, Red },
                { 19, 50, White }, { 80, 50, White } } },
        { "width 1", Path({ { { 10, 30.5f }, { { 90, 30.5f } }, false } }), 1.f,
            { { 50, 30, Red }, { 50, 29, White }, { 50, 31, White } } },
        { "mitered corner", corner, 10.f, { { 84, 15, Red }, { 82, 17, Red }, { 18, 20, White }, { 80, 82, White } } },
        { "open figure has no join at its start",
            Path({ { { 20, 20 }, { { 80, 20 }, { 80, 80 }, { 20, 80 }, { 20, 20 } }, false } }), 10.f,
            { { 16, 16, White }, { 84, 84, Red }, { 50, 50, White } } },
        { "closed figure joins at its start", Path({ Square(20, 20, 80, 80) }), 10.f,
            { { 16, 16, Red }, { 84, 84, Red }, { 50, 50, White } } },
        { "hollow figure", Path({ hollow }), 4.f, { { 50, 20, Red }, { 50, 50, White } } },
        { "scaled by the transform", Path({ { { 10, 25 }, { { 40, 25 } }, false } }), 5.f,
            { { 50, 45, Red }, { 50, 54, Red }, { 50, 44, White }, { 50, 55, White } }, 8, { 2, 0, 0, 2, 0, 0 } },
        { "zero width", line, 0.f, nothing, 0 },
        { "negative width", line, -3.f, nothing, 0 },
        { "NaN width", line, kNaN, nothing, 0 },
        { "infinite width", line, kInf, nothing, 0 },
        { "huge width", line, 1e30f, { { 50, 0, Red }, { 50, 99, Red } } },
        { "huge curve", Ellipse(0, 0, 1e12f, 1e12f), 1e10f, nothing, 0 },
    };
    const auto red = Solid(kRed);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Draw([&] {
            m_Target->SetTransform(c.transform);
            m_Target->DrawGeometry(c.geometry.Get(), red.Get(), c.width);
        });
        EXPECT_TRUE(PixelsNear(m_Target.Get(), c.pixels, c.tolerance));
    }
}

TEST_F(DrawingTest, HalfTransparentRedOverWhite)
{
    const auto rect = Rect(10, 20, 40, 60);
    const auto byOpacity = Solid(kRed, 0.5f);
    const auto byAlpha = Solid({ 1, 0, 0, 0.5f });
    const auto red = Solid(kRed);
    const auto halfMask = Solid({ 0, 0, 0, 1 }, 0.5f);
    Draw([&] {
        m_Target->FillGeometry(rect.Get(), byOpacity.Get());
        m_Target->SetTransform(D2D1::Translation(50, 0));
        m_Target->FillGeometry(rect.Get(), byAlpha.Get());
        m_Target->SetTransform(D2D1::Translation(50, 40));
        m_Target->FillGeometry(rect.Get(), red.Get(), halfMask.Get());
    });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 25, 40, HalfRed }, { 75, 40, HalfRed }, { 75, 80, HalfRed } }, 2));
}

TEST_F(DrawingTest, TransformAndDesktopDpiScaleTheDrawing)
{
    ASSERT_EQ(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, m_Factory.ReleaseAndGetAddressOf(), 192.f), S_OK);
    m_Target = MakeTarget(0.f);
    EXPECT_FLOAT_EQ(m_Target->GetSize().width, 50.f);
    const auto rect = Rect(10, 10, 20, 20);
    const auto red = Solid(kRed);
    const auto body = [&] {
        m_Target->SetTransform(D2D1::Translation(5, 0));
        m_Target->FillGeometry(rect.Get(), red.Get());
    };
    Draw(body, D2D1_ANTIALIAS_MODE_ALIASED);
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 30, 20, Red }, { 49, 39, Red }, { 29, 20, White }, { 50, 39, White } }));
}

TEST_F(DrawingTest, UnusableTransformsAndGeometrySkipPrimitivesAndLeaveTheTargetWorking)
{
    const auto rect = Rect(10, 10, 30, 30);
    const auto broken = Rect(kNaN, 0, 50, 50);
    const auto red = Solid(kRed);
    for (const D2D1_MATRIX_3X2_F& bad :
        { D2D1_MATRIX_3X2_F { 0, 0, 0, 0, 0, 0 }, D2D1_MATRIX_3X2_F { kNaN, 0, 0, 1, 0, 0 },
            D2D1_MATRIX_3X2_F { 1, 0, 0, 1, kInf, 0 }, D2D1_MATRIX_3X2_F { 1e-30f, 0, 0, 1e-30f, 0, 0 } }) {
        SCOPED_TRACE(bad._11);
        Draw([&] {
            m_Target->SetTransform(bad);
            m_Target->FillGeometry(rect.Get(), red.Get());
            m_Target->DrawGeometry(rect.Get(), red.Get(), 3.f);
            m_Target->SetTransform(D2D1::Translation(50, 50));
            m_Target->FillGeometry(broken.Get(), red.Get());
            m_Target->DrawGeometry(broken.Get(), red.Get(), 2.f);
            m_Target->FillGeometry(rect.Get(), red.Get());
        });
        EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 70, 70, Red }, { 20, 20, White }, { 90, 90, White } }, 0));
        m_Target->SetTransform(D2D1::IdentityMatrix());
        Draw([&] { m_Target->FillGeometry(rect.Get(), red.Get()); });
        EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 20, 20, Red }, { 70, 70, White } }, 0));
    }
}

TEST_F(DrawingTest, ClearIgnoresTheTransform)
{
    Draw([] {});
    m_Target->SetTransform({ 0.1f, 0, 0, 0.1f, 0, 0 });
    m_Target->BeginDraw();
    m_Target->Clear();
    EXPECT_EQ(m_Target->EndDraw(), S_OK);
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 99, 99, { 0, 0, 0, 0 } } }, 0));
}

TEST_F(DrawingTest, ResizeClearsAndMinimisedTargetsStillWork)
{
    const auto red = Solid(kRed);
    const auto all = Rect(0, 0, 500, 500);
    ASSERT_EQ(m_Target->Resize({ 0, 0 }), S_OK);
    Draw([&] { m_Target->FillGeometry(all.Get(), red.Get()); });
    ASSERT_EQ(m_Target->Resize({ 30, 20 }), S_OK);
    EXPECT_EQ(m_Target->GetPixelSize().width, 30u);
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 29, 19, { 0, 0, 0, 0 } } }, 0));
    Draw([&] { m_Target->FillGeometry(all.Get(), red.Get()); });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 29, 19, Red } }, 0));
    EXPECT_EQ(m_Target->Resize({ 100000, 1 }), D2DERR_MAX_TEXTURE_SIZE_EXCEEDED);
    EXPECT_EQ(m_Target->GetPixelSize().width, 30u);
}

} // namespace
} // namespace kuvtest
