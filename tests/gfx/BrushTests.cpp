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

    ComPtr<ID2D1GradientStopCollection> BlackToWhite(D2D1_EXTEND_MODE mode = D2D1_EXTEND_MODE_CLAMP)
    {
        return Stops({ { 0.f, { 0, 0, 0, 1 } }, { 1.f, { 1, 1, 1, 1 } } }, mode);
    }
};

Rgba Grey(std::uint8_t v)
{
    return { v, v, v, 255 };
}

TEST_F(BrushTest, GradientsPaintTheExpectedColours)
{
    const auto clamp = BlackToWhite(D2D1_EXTEND_MODE_CLAMP), wrap = BlackToWhite(D2D1_EXTEND_MODE_WRAP),
               mirror = BlackToWhite(D2D1_EXTEND_MODE_MIRROR);
    const auto blackToRed = Stops({ { 0.f, { 0, 0, 0, 1 } }, { 1.f, { 1, 0, 0, 1 } } });
    const auto black = Stops({ { 0.f, { 0, 0, 0, 1 } }, { 1.f, { 0, 0, 0, 1 } } });
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
        { "linear clamp", Linear({ 25, 0 }, { 75, 0 }, clamp.Get()),
            { { 10, 50, Grey(0) }, { 90, 50, Grey(255) }, { 50, 50, Grey(130) } }, 4 },
        { "linear wrap", Linear({ 25, 0 }, { 75, 0 }, wrap.Get()), { { 10, 50, Grey(181) }, { 90, 50, Grey(79) } }, 4 },
        { "linear mirror", Linear({ 25, 0 }, { 75, 0 }, mirror.Get()), { { 10, 50, Grey(74) }, { 90, 50, Grey(176) } },
            4 },
        { "stops out of order",
            Linear({ 0, 0 }, { 100, 0 }, Stops({ { 1.f, { 1, 1, 1, 1 } }, { 0.f, { 0, 0, 0, 1 } } }).Get()),
            { { 0, 10, Grey(1) }, { 99, 10, Grey(254) } }, 3 },
        { "stops outside the unit range",
            Linear({ 0, 0 }, { 100, 0 }, Stops({ { -1.f, { 0, 0, 0, 1 } }, { 2.f, { 1, 1, 1, 1 } } }).Get()),
            { { 0, 10, Grey(85) }, { 50, 10, Grey(128) }, { 99, 10, Grey(169) } }, 3 },
        { "radial", Radial({ 50, 50 }, { 0, 0 }, 40, 20, clamp.Get()),
            { { 50, 50, Grey(5) }, { 70, 50, Grey(132) }, { 50, 60, Grey(134) }, { 95, 50, Grey(255) },
                { 50, 75, Grey(255) } },
            6 },
        { "radial wrap", Radial({ 50, 50 }, { 0, 0 }, 20, 20, wrap.Get()), { { 75, 50, Grey(64) } }, 6 },
        { "radial mirror", Radial({ 50, 50 }, { 0, 0 }, 20, 20, mirror.Get()), { { 75, 50, Grey(191) } }, 6 },
        // Moving the origin moves where the gradient starts, not the ellipse.
        { "radial origin offset", Radial({ 50, 50 }, { 20, 0 }, 40, 40, clamp.Get()),
            { { 70, 50, Grey(5) }, { 30, 50, Grey(168) }, { 95, 50, Grey(255) } }, 6 },
        // With no length to spread along, the last colour shows.
        { "zero-length linear", Linear({ 50, 50 }, { 50, 50 }, blackToRed.Get()), { { 10, 10, Red }, { 90, 90, Red } },
            8 },
        { "zero-radius radial", Radial({ 50, 50 }, { 0, 0 }, 0, 0, blackToRed.Get()),
            { { 10, 10, Red }, { 50, 50, Red } }, 8 },
        { "no stops", Linear({ 0, 0 }, { 100, 0 }, Stops({}).Get()), nothing, 0 },
        { "NaN start point", Linear({ kNaN, 0 }, { 100, 0 }, blackToRed.Get()), nothing, 0 },
        { "NaN colour", Solid({ kNaN, 0, 0, 1 }), nothing, 0 },
        { "NaN opacity", Solid(kRed, kNaN), nothing, 0 },
        { "singular brush transform", Transformed(Linear({ 0, 0 }, { 100, 0 }, clamp.Get()), singular), nothing, 0 },
        { "half opacity", Linear({ 0, 0 }, { 100, 0 }, black.Get(), 0.5f), { { 50, 50, Grey(128) } }, 2 },
        { "brush transform", Transformed(Linear({ 0, 0 }, { 100, 0 }, clamp.Get()), D2D1::Translation(50, 0)),
            { { 25, 50, Grey(0) }, { 50, 50, Grey(1) }, { 99, 50, Grey(126) } }, 3 },
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
