#include "GfxFixture.h"

namespace kuvtest {
namespace {

using DrawingTest = GfxTest;

TEST_F(DrawingTest, FillRulesAndFigureKinds)
{
    const std::vector<PixelExpectation> ring = { { 50, 50, White }, { 20, 50, Red } };
    Figure hollow = Square(60, 60, 90, 90);
    hollow.begin = D2D1_FIGURE_BEGIN_HOLLOW;
    const struct {
        const char* name;
        ComPtr<ID2D1Geometry> geometry;
        std::vector<PixelExpectation> pixels;
    } cases[] = {
        { "open figures are filled, hollow ones not",
            Path({ { { 10, 10 }, { { 40, 10 }, { 10, 40 } }, false }, hollow }),
            { { 15, 15, Red }, { 35, 35, White }, { 75, 75, White } } },
        { "winding, inner square reversed", Path({ Square(10, 10, 90, 90), Square(30, 30, 70, 70, true) }), ring },
        { "paths default to alternate", Path({ Square(10, 10, 90, 90), Square(30, 30, 70, 70) }, std::nullopt), ring },
        { "rectangle far beyond float precision finishes", Rect(-1e30f, -1e30f, 1e30f, 1e30f), {} },
    };
    const auto red = Solid(kRed);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Draw([&] { m_Target->FillGeometry(c.geometry.Get(), red.Get()); });
        EXPECT_TRUE(PixelsNear(m_Target.Get(), c.pixels, 8));
    }
}

TEST_F(DrawingTest, UnusableStrokeWidthsDrawNothing)
{
    const auto line = Path({ { { 20, 50 }, { { 80, 50 } }, false } });
    const auto red = Solid(kRed);
    for (float width : { 0.f, -3.f, kNaN, kInf }) {
        Draw([&] { m_Target->DrawGeometry(line.Get(), red.Get(), width); });
        EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 50, White } }, 0)) << width;
    }
    const auto huge = Ellipse(0, 0, 1e12f, 1e12f);
    Draw([&] { m_Target->DrawGeometry(huge.Get(), red.Get(), 1e10f); });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 50, White } }, 0)) << "huge curve";
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
