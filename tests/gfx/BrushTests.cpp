#include "GfxFixture.h"

namespace kuvtest {
namespace {

class BrushTest : public GfxTest {
protected:
    ComPtr<ID2D1Brush> Linear(D2D1_POINT_2F start, D2D1_POINT_2F end, ID2D1GradientStopCollection* stops)
    {
        ComPtr<ID2D1LinearGradientBrush> brush;
        EXPECT_EQ(
            m_Target->CreateLinearGradientBrush({ start, end }, nullptr, stops, brush.ReleaseAndGetAddressOf()), S_OK);
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

    ComPtr<ID2D1Brush> Transformed(ComPtr<ID2D1Brush> brush, const D2D1_MATRIX_3X2_F& transform)
    {
        brush->SetTransform(transform);
        return brush;
    }

    // Fills the whole target with brush under the given render-target transform.
    void Paint(ID2D1Brush* brush, const D2D1_MATRIX_3X2_F& transform = D2D1::IdentityMatrix())
    {
        const auto all = Rect(0, 0, 100, 100);
        Draw([&] {
            m_Target->SetTransform(transform);
            m_Target->FillGeometry(all.Get(), brush);
        });
    }

    ComPtr<ID2D1GradientStopCollection> Stops(std::vector<D2D1_GRADIENT_STOP> stops)
    {
        ComPtr<ID2D1GradientStopCollection> collection;
        EXPECT_EQ(m_Target->CreateGradientStopCollection(stops.data(), UINT32(stops.size()), D2D1_GAMMA_2_2,
                      D2D1_EXTEND_MODE_CLAMP, collection.ReleaseAndGetAddressOf()),
            S_OK);
        return collection;
    }
};

Rgba Grey(std::uint8_t v)
{
    return { v, v, v, 255 };
}

TEST_F(BrushTest, GradientsPaintTheExpectedColours)
{
    const auto clamp = Stops({ { 0.f, { 0, 0, 0, 1 } }, { 1.f, { 1, 1, 1, 1 } } });
    const auto blackToRed = Stops({ { 0.f, { 0, 0, 0, 1 } }, { 1.f, { 1, 0, 0, 1 } } });
    const std::vector<PixelExpectation> nothing = { { 50, 50, White } };
    const D2D1_MATRIX_3X2_F singular = { 0, 0, 0, 0, 0, 0 };
    const struct {
        const char* name;
        ComPtr<ID2D1Brush> brush;
        std::vector<PixelExpectation> pixels;
        int tolerance;
        D2D1_MATRIX_3X2_F targetTransform = D2D1::IdentityMatrix();
    } cases[] = {
        // Gamma 2.2 blends the sRGB values as given: the middle is 50% grey, not 74%.
        { "linear", Linear({ 0, 0 }, { 100, 0 }, clamp.Get()),
            { { 50, 10, Grey(129) }, { 0, 10, Grey(1) }, { 99, 90, Grey(254) } }, 3 },
        { "stops out of order",
            Linear({ 0, 0 }, { 100, 0 }, Stops({ { 1.f, { 1, 1, 1, 1 } }, { 0.f, { 0, 0, 0, 1 } } }).Get()),
            { { 0, 10, Grey(1) }, { 99, 10, Grey(254) } }, 3 },
        { "stops outside the unit range",
            Linear({ 0, 0 }, { 100, 0 }, Stops({ { -1.f, { 0, 0, 0, 1 } }, { 2.f, { 1, 1, 1, 1 } } }).Get()),
            { { 0, 10, Grey(85) }, { 50, 10, Grey(128) }, { 99, 10, Grey(169) } }, 3 },
        // With no length to spread along, the last colour shows.
        { "zero-length linear", Linear({ 50, 50 }, { 50, 50 }, blackToRed.Get()), { { 10, 10, Red }, { 90, 90, Red } },
            8 },
        { "no stops", Linear({ 0, 0 }, { 100, 0 }, Stops({}).Get()), nothing, 0 },
        { "NaN start point", Linear({ kNaN, 0 }, { 100, 0 }, blackToRed.Get()), nothing, 0 },
        { "NaN colour", Solid({ kNaN, 0, 0, 1 }), nothing, 0 },
        { "NaN opacity", Solid(kRed, kNaN), nothing, 0 },
        { "singular brush transform", Transformed(Linear({ 0, 0 }, { 100, 0 }, clamp.Get()), singular), nothing, 0 },
        // The brush lives in user space, under the render-target transform.
        { "brush under the target transform",
            Transformed(Linear({ 0, 0 }, { 100, 0 }, clamp.Get()), D2D1::Translation(50, 0)), { { 99, 50, Grey(0) } },
            3, { 2, 0, 0, 1, 0, 0 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Paint(c.brush.Get(), c.targetTransform);
        EXPECT_TRUE(PixelsNear(m_Target.Get(), c.pixels, c.tolerance));
    }
}

TEST_F(BrushTest, FocalPointOutsideTheEllipseStillPaintsEveryPixel)
{
    const auto stops = Stops({ { 0.f, { 1, 0, 0, 1 } }, { 1.f, { 0, 0, 1, 1 } } });
    Paint(Radial({ 50, 50 }, { 60, 0 }, 40, 40, stops.Get()).Get());
    const Image image = Image::FromTarget(m_Target.Get());
    std::vector<PixelExpectation> unpainted;
    for (int y = 0; y < 100 && unpainted.empty(); ++y)
        for (int x = 0; x < 100 && unpainted.empty(); ++x)
            if (image.At(x, y).g > 8) unpainted.push_back({ x, y, Blue });
    EXPECT_TRUE(PixelsNear(image, unpainted));
    EXPECT_TRUE(PixelsNear(image, { { 5, 50, Blue }, { 95, 95, Blue } }));
}

} // namespace
} // namespace kuvtest
