#include "GfxFixture.h"

namespace kuvtest {
namespace {

using FillTest = GfxTest;

constexpr D2D1_COLOR_F kRed = { 1, 0, 0, 1 };
constexpr Rgba HalfRed { 255, 128, 128, 255 };

TEST_F(FillTest, RectangleCoversExactlyItsPixels)
{
    const auto rect = Rect(10, 20, 40, 60);
    const auto red = Solid(kRed);
    for (D2D1_ANTIALIAS_MODE mode : { D2D1_ANTIALIAS_MODE_ALIASED, D2D1_ANTIALIAS_MODE_PER_PRIMITIVE }) {
        Draw([&] { m_Target->FillGeometry(rect.Get(), red.Get()); }, mode);
        EXPECT_TRUE(PixelsNear(m_Target.Get(),
            { { 10, 20, Red }, { 39, 59, Red }, { 25, 40, Red }, { 9, 20, White }, { 10, 19, White }, { 40, 59, White },
                { 39, 60, White } }));
    }
}

TEST_F(FillTest, AntialiasingShadesPartlyCoveredEdges)
{
    const auto rect = Rect(10.25f, 20.5f, 40, 60);
    const auto red = Solid(kRed);
    Draw([&] { m_Target->FillGeometry(rect.Get(), red.Get()); }, D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 10, 40, { 255, 64, 64, 255 } }, { 20, 20, HalfRed }, { 11, 40, Red } }));
    Draw([&] { m_Target->FillGeometry(rect.Get(), red.Get()); }, D2D1_ANTIALIAS_MODE_ALIASED);
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 10, 40, Red }, { 11, 40, Red }, { 9, 40, White } }, 0));
}

TEST_F(FillTest, EllipseFillsItsInterior)
{
    const auto ellipse = Ellipse(50, 50, 30, 20);
    const auto red = Solid(kRed);
    Draw([&] { m_Target->FillGeometry(ellipse.Get(), red.Get()); });
    EXPECT_TRUE(PixelsNear(m_Target.Get(),
        { { 50, 50, Red }, { 78, 50, Red }, { 50, 31, Red }, { 81, 50, White }, { 50, 28, White },
            { 25, 35, White } }));
}

TEST_F(FillTest, OpenFiguresAreFilledAndHollowOnesAreNot)
{
    Figure hollow = Square(60, 60, 90, 90);
    hollow.begin = D2D1_FIGURE_BEGIN_HOLLOW;
    const auto path = Path({ { { 10, 10 }, { { 40, 10 }, { 10, 40 } }, false }, hollow });
    const auto red = Solid(kRed);
    Draw([&] { m_Target->FillGeometry(path.Get(), red.Get()); });
    EXPECT_TRUE(
        PixelsNear(m_Target.Get(), { { 15, 15, Red }, { 35, 35, White }, { 75, 75, White }, { 60, 75, White } }));
}

TEST_F(FillTest, WindingAndAlternateRules)
{
    const auto red = Solid(kRed);
    const auto winding = Path({ Square(10, 10, 90, 90), Square(30, 30, 70, 70) }, D2D1_FILL_MODE_WINDING);
    Draw([&] { m_Target->FillGeometry(winding.Get(), red.Get()); });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 50, Red }, { 20, 50, Red } }));

    const auto alternate = Path({ Square(10, 10, 90, 90), Square(30, 30, 70, 70) }, D2D1_FILL_MODE_ALTERNATE);
    Draw([&] { m_Target->FillGeometry(alternate.Get(), red.Get()); });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 50, White }, { 20, 50, Red } }));

    const auto opposed = Path({ Square(10, 10, 90, 90), Square(30, 30, 70, 70, true) }, D2D1_FILL_MODE_WINDING);
    Draw([&] { m_Target->FillGeometry(opposed.Get(), red.Get()); });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 50, White }, { 20, 50, Red } }));
}

TEST_F(FillTest, PathsDefaultToTheAlternateRule)
{
    ComPtr<ID2D1PathGeometry> path;
    ASSERT_EQ(m_Factory->CreatePathGeometry(path.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<ID2D1GeometrySink> sink;
    ASSERT_EQ(path->Open(sink.ReleaseAndGetAddressOf()), S_OK);
    for (const Figure& f : { Square(10, 10, 90, 90), Square(30, 30, 70, 70) }) {
        sink->BeginFigure(f.start, D2D1_FIGURE_BEGIN_FILLED);
        sink->AddLines(f.lines.data(), UINT32(f.lines.size()));
        sink->EndFigure(D2D1_FIGURE_END_CLOSED);
    }
    ASSERT_EQ(sink->Close(), S_OK);
    const auto red = Solid(kRed);
    Draw([&] { m_Target->FillGeometry(path.Get(), red.Get()); });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 50, White }, { 20, 50, Red } }));
}

TEST_F(FillTest, HalfTransparentRedOverWhite)
{
    const auto rect = Rect(10, 20, 40, 60);
    const auto byOpacity = Solid(kRed, 0.5f);
    const auto byAlpha = Solid({ 1, 0, 0, 0.5f });
    Draw([&] {
        m_Target->FillGeometry(rect.Get(), byOpacity.Get());
        m_Target->SetTransform(D2D1::Translation(50, 0));
        m_Target->FillGeometry(rect.Get(), byAlpha.Get());
    });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 25, 40, HalfRed }, { 75, 40, HalfRed } }, 2));
    EXPECT_FLOAT_EQ(byOpacity->GetOpacity(), 0.5f);
}

TEST_F(FillTest, TransformAndDpiScaleTheDrawing)
{
    const auto target = MakeTarget(100, 100, 192.f);
    EXPECT_FLOAT_EQ(target->GetSize().width, 50.f);
    const auto rect = Rect(10, 10, 20, 20);
    ComPtr<ID2D1SolidColorBrush> red;
    ASSERT_EQ(target->CreateSolidColorBrush(kRed, nullptr, red.ReleaseAndGetAddressOf()), S_OK);
    DrawOn(
        target.Get(),
        [&] {
            target->SetTransform(D2D1::Translation(5, 0));
            target->FillGeometry(rect.Get(), red.Get());
        },
        D2D1_ANTIALIAS_MODE_ALIASED);
    EXPECT_TRUE(PixelsNear(target.Get(), { { 30, 20, Red }, { 49, 39, Red }, { 29, 20, White }, { 50, 39, White } }));
}

TEST_F(FillTest, OpacityBrushScalesCoverage)
{
    const auto rect = Rect(0, 0, 100, 100);
    const auto red = Solid(kRed);
    const auto half = Solid({ 0, 0, 0, 1 }, 0.5f);
    Draw([&] { m_Target->FillGeometry(rect.Get(), red.Get(), half.Get()); });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 50, HalfRed } }, 2));
}

} // namespace
} // namespace kuvtest
