#include "GfxFixture.h"

namespace kuvtest {
namespace {

class BrushTest : public GfxTest {
protected:
    ComPtr<ID2D1Brush> Linear(
        D2D1_POINT_2F start, D2D1_POINT_2F end, ID2D1GradientStopCollection* stops, float opacity = 1.f)
    {
        const D2D1_BRUSH_PROPERTIES properties = { opacity, D2D1::IdentityMatrix() };
        ComPtr<ID2D1LinearGradientBrush> brush;
        EXPECT_EQ(
            m_Target->CreateLinearGradientBrush({ start, end }, &properties, stops, brush.ReleaseAndGetAddressOf()),
            S_OK);
        return ComPtr<ID2D1Brush>(brush.Detach());
    }

    ComPtr<ID2D1Brush> Radial(
        D2D1_POINT_2F center, D2D1_POINT_2F offset, float rx, float ry, ID2D1GradientStopCollection* stops)
    {
        ComPtr<ID2D1RadialGradientBrush> brush;
        EXPECT_EQ(m_Target->CreateRadialGradientBrush(
                      { center, offset, rx, ry }, nullptr, stops, brush.ReleaseAndGetAddressOf()),
            S_OK);
        return ComPtr<ID2D1Brush>(brush.Detach());
    }

    void Paint(ID2D1Brush* brush)
    {
        const auto all = Rect(0, 0, 100, 100);
        Draw([&] { m_Target->FillGeometry(all.Get(), brush); });
    }

    ComPtr<ID2D1GradientStopCollection> BlackToWhite(D2D1_EXTEND_MODE mode = D2D1_EXTEND_MODE_CLAMP)
    {
        return Stops({ { 0.f, { 0, 0, 0, 1 } }, { 1.f, { 1, 1, 1, 1 } } }, mode);
    }
};

Rgba Grey(std::uint8_t v)
{
    return { v, v, v, 255 };
}

TEST_F(BrushTest, LinearGradientInterpolatesEncodedValues)
{
    Paint(Linear({ 0, 0 }, { 100, 0 }, BlackToWhite().Get()).Get());
    // Gamma 2.2 blends the sRGB values as given: the middle is 50% grey, not 74%.
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 10, Grey(129) }, { 0, 10, Grey(1) }, { 99, 90, Grey(254) } }, 3));
}

TEST_F(BrushTest, ExtendModesClampWrapAndMirror)
{
    Paint(Linear({ 25, 0 }, { 75, 0 }, BlackToWhite(D2D1_EXTEND_MODE_CLAMP).Get()).Get());
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 10, 50, Grey(0) }, { 90, 50, Grey(255) }, { 50, 50, Grey(130) } }, 4));
    Paint(Linear({ 25, 0 }, { 75, 0 }, BlackToWhite(D2D1_EXTEND_MODE_WRAP).Get()).Get());
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 10, 50, Grey(181) }, { 90, 50, Grey(79) } }, 4));
    Paint(Linear({ 25, 0 }, { 75, 0 }, BlackToWhite(D2D1_EXTEND_MODE_MIRROR).Get()).Get());
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 10, 50, Grey(74) }, { 90, 50, Grey(176) } }, 4));
}

TEST_F(BrushTest, StopsNeedNoOrderAndMayLieOutsideTheUnitRange)
{
    Paint(Linear({ 0, 0 }, { 100, 0 }, Stops({ { 1.f, { 1, 1, 1, 1 } }, { 0.f, { 0, 0, 0, 1 } } }).Get()).Get());
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 0, 10, Grey(1) }, { 99, 10, Grey(254) } }, 3));
    Paint(Linear({ 0, 0 }, { 100, 0 }, Stops({ { -1.f, { 0, 0, 0, 1 } }, { 2.f, { 1, 1, 1, 1 } } }).Get()).Get());
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 0, 10, Grey(85) }, { 50, 10, Grey(128) }, { 99, 10, Grey(169) } }, 3));
}

TEST_F(BrushTest, DegenerateGradientsDoNotBreak)
{
    const auto stops = Stops({ { 0.f, { 0, 0, 0, 1 } }, { 1.f, { 1, 0, 0, 1 } } });
    // With no length to spread along, the last colour shows.
    Paint(Linear({ 50, 50 }, { 50, 50 }, stops.Get()).Get());
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 10, 10, Red }, { 90, 90, Red } }));
    Paint(Radial({ 50, 50 }, { 0, 0 }, 0, 0, stops.Get()).Get());
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 10, 10, Red }, { 50, 50, Red } }));
    // No stops at all paints nothing.
    Paint(Linear({ 0, 0 }, { 100, 0 }, Stops({}).Get()).Get());
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 50, White } }, 0));
    Paint(Linear({ kNaN, 0 }, { 100, 0 }, stops.Get()).Get());
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 50, White } }, 0));
    EXPECT_EQ(Stops({})->GetGradientStopCount(), 0u);
}

TEST_F(BrushTest, RadialGradientRunsFromTheOriginToTheEllipseEdge)
{
    Paint(Radial({ 50, 50 }, { 0, 0 }, 40, 20, BlackToWhite().Get()).Get());
    EXPECT_TRUE(PixelsNear(m_Target.Get(),
        { { 50, 50, Grey(5) }, { 70, 50, Grey(132) }, { 50, 60, Grey(134) }, { 95, 50, Grey(255) },
            { 50, 75, Grey(255) } },
        6));
    // Moving the origin moves where the gradient starts, not the ellipse.
    Paint(Radial({ 50, 50 }, { 20, 0 }, 40, 40, BlackToWhite().Get()).Get());
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 70, 50, Grey(5) }, { 30, 50, Grey(168) }, { 95, 50, Grey(255) } }, 6));
}

TEST_F(BrushTest, FocalPointOutsideTheEllipseStillPaintsEveryPixel)
{
    const auto stops = Stops({ { 0.f, { 1, 0, 0, 1 } }, { 1.f, { 0, 0, 1, 1 } } });
    Paint(Radial({ 50, 50 }, { 60, 0 }, 40, 40, stops.Get()).Get());
    const Image image = Image::FromTarget(m_Target.Get());
    std::vector<PixelExpectation> unpainted;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            if (image.At(x, y).g > 8 && unpainted.empty()) unpainted.push_back({ x, y, { 0, 0, 255, 255 } });
    EXPECT_TRUE(PixelsNear(image, unpainted));
    EXPECT_TRUE(PixelsNear(image, { { 5, 50, Blue }, { 95, 95, Blue } }));
}

TEST_F(BrushTest, BrushTransformMovesThePattern)
{
    const auto brush = Linear({ 0, 0 }, { 100, 0 }, BlackToWhite().Get());
    brush->SetTransform(D2D1::Translation(50, 0));
    D2D1_MATRIX_3X2_F read {};
    brush->GetTransform(&read);
    EXPECT_TRUE(read == D2D1::Translation(50, 0));
    Paint(brush.Get());
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 25, 50, Grey(0) }, { 50, 50, Grey(1) }, { 99, 50, Grey(126) } }, 3));
    // The brush lives in user space, under the render-target transform.
    const auto all = Rect(0, 0, 50, 100);
    Draw([&] {
        m_Target->SetTransform({ 2, 0, 0, 1, 0, 0 });
        m_Target->FillGeometry(all.Get(), brush.Get());
    });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 99, 50, Grey(0) } }, 3));
}

TEST_F(BrushTest, OpacityFadesGradients)
{
    const auto brush
        = Linear({ 0, 0 }, { 100, 0 }, Stops({ { 0.f, { 0, 0, 0, 1 } }, { 1.f, { 0, 0, 0, 1 } } }).Get(), 0.5f);
    Paint(brush.Get());
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 50, Grey(128) } }, 2));
    brush->SetOpacity(1.f);
    Paint(brush.Get());
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 50, Grey(0) } }, 2));
}

TEST_F(BrushTest, NonFiniteBrushValuesPaintNothing)
{
    const auto nanColor = Solid({ kNaN, 0, 0, 1 });
    const auto nanOpacity = Solid({ 1, 0, 0, 1 }, kNaN);
    const auto singular = Linear({ 0, 0 }, { 100, 0 }, BlackToWhite().Get());
    singular->SetTransform({ 0, 0, 0, 0, 0, 0 });
    for (ID2D1Brush* brush :
        { static_cast<ID2D1Brush*>(nanColor.Get()), static_cast<ID2D1Brush*>(nanOpacity.Get()), singular.Get() })
        Paint(brush);
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 50, White } }, 0));
    const auto red = Solid({ 1, 0, 0, 1 });
    Paint(red.Get());
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 50, Red } }, 0));
}

TEST_F(BrushTest, GradientCreationChecksItsArguments)
{
    ComPtr<ID2D1LinearGradientBrush> brush;
    EXPECT_EQ(
        m_Target->CreateLinearGradientBrush({ { 0, 0 }, { 1, 0 } }, nullptr, nullptr, brush.ReleaseAndGetAddressOf()),
        E_INVALIDARG);
    ComPtr<ID2D1GradientStopCollection> stops;
    EXPECT_EQ(m_Target->CreateGradientStopCollection(
                  nullptr, 2, D2D1_GAMMA_2_2, D2D1_EXTEND_MODE_CLAMP, stops.ReleaseAndGetAddressOf()),
        E_INVALIDARG);
    const auto three = Stops(
        { { 0.f, { 0, 0, 0, 1 } }, { 0.5f, { 0, 0, 0, 1 } }, { 1.f, { 0, 0, 0, 1 } } }, D2D1_EXTEND_MODE_MIRROR);
    EXPECT_EQ(three->GetGradientStopCount(), 3u);
    EXPECT_EQ(three->GetExtendMode(), D2D1_EXTEND_MODE_MIRROR);
}

} // namespace
} // namespace kuvtest
