#include <cstdint>

#include "GfxFixture.h"

namespace kuvtest {
namespace {

class BitmapTest : public GfxTest {
protected:
    ComPtr<ID2D1Bitmap> MakeBitmap(D2D1_SIZE_U size, const void* pixels, UINT32 pitch, D2D1_PIXEL_FORMAT format)
    {
        ComPtr<ID2D1Bitmap> bitmap;
        EXPECT_EQ(m_Target->CreateBitmap(size, pixels, pitch, { format, D2D1_DEFAULT_DPI, D2D1_DEFAULT_DPI },
                      bitmap.ReleaseAndGetAddressOf()),
            S_OK);
        return bitmap;
    }

    // 4 x 4 coverage: the left half opaque, the right half at 50%.
    ComPtr<ID2D1Bitmap> HalfMask()
    {
        std::uint8_t alpha[4 * 8] = {};
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                alpha[y * 8 + x] = x < 2 ? 255 : 128;
        return MakeBitmap({ 4, 4 }, alpha, 8, { DXGI_FORMAT_A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED });
    }

    ComPtr<ID2D1BitmapRenderTarget> Compatible(
        ID2D1RenderTarget* parent, const D2D1_SIZE_F* size, const D2D1_PIXEL_FORMAT* format)
    {
        ComPtr<ID2D1BitmapRenderTarget> offscreen;
        EXPECT_EQ(parent->CreateCompatibleRenderTarget(size, nullptr, format,
                      D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS_NONE, offscreen.ReleaseAndGetAddressOf()),
            S_OK);
        return offscreen;
    }
};

constexpr Rgba HalfMaskRed { 255, 127, 127, 255 };
constexpr Rgba HalfRed { 255, 128, 128, 255 };

TEST_F(BitmapTest, SourceRectanglesPickPixelsAndBadRectanglesDrawNothing)
{
    // 2 x 2 pixels: red, green / blue, white.
    const std::uint32_t pixels[4] = { 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu };
    const auto bitmap = MakeBitmap({ 2, 2 }, pixels, 8, { DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED });
    const D2D1_RECT_F greenOnly = { 1, 0, 2, 1 }, greenArea = { 50, 50, 70, 70 };
    const D2D1_RECT_F reversed = { 30, 10, 10, 30 }, nan = { kNaN, 0, 10, 10 }, empty = { 0, 0, 0, 0 };
    Draw([&] {
        m_Target->DrawBitmap(
            bitmap.Get(), &greenArea, 1.f, D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR, &greenOnly);
        m_Target->DrawBitmap(bitmap.Get(), &reversed);
        m_Target->DrawBitmap(bitmap.Get(), &nan);
        m_Target->DrawBitmap(bitmap.Get(), nullptr, 1.f, D2D1_BITMAP_INTERPOLATION_MODE_LINEAR, &empty);
        m_Target->DrawBitmap(bitmap.Get(), nullptr, kNaN);
    });
    EXPECT_TRUE(PixelsNear(m_Target.Get(),
        { { 50, 50, Green }, { 69, 69, Green }, { 70, 60, White }, { 20, 20, White }, { 0, 0, White } }));
}

TEST_F(BitmapTest, OpacityMaskPaintsTheBrushThroughCoverageInAliasedModeOnly)
{
    const auto mask = HalfMask();
    const auto red = Solid(kRed);
    const D2D1_RECT_F dest = { 20, 20, 28, 28 };
    Draw(
        [&] {
            m_Target->FillOpacityMask(mask.Get(), red.Get(), D2D1_OPACITY_MASK_CONTENT_GRAPHICS, &dest);
            m_Target->SetTransform(D2D1::Translation(40, 40));
            m_Target->FillOpacityMask(mask.Get(), red.Get(), D2D1_OPACITY_MASK_CONTENT_GRAPHICS);
        },
        D2D1_ANTIALIAS_MODE_ALIASED);
    EXPECT_TRUE(PixelsNear(m_Target.Get(),
        { { 21, 21, Red }, { 26, 21, HalfMaskRed }, { 29, 21, White }, { 19, 21, White }, { 40, 40, Red },
            { 43, 43, HalfMaskRed }, { 44, 40, White }, { 39, 40, White } }));

    const D2D1_COLOR_F white = { 1, 1, 1, 1 };
    m_Target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
    m_Target->SetTransform(D2D1::IdentityMatrix());
    m_Target->BeginDraw();
    m_Target->Clear(&white);
    m_Target->FillOpacityMask(mask.Get(), red.Get(), D2D1_OPACITY_MASK_CONTENT_GRAPHICS);
    EXPECT_EQ(m_Target->EndDraw(), D2DERR_WRONG_STATE);
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 0, 0, White } }, 0));
    m_Target->BeginDraw();
    EXPECT_EQ(m_Target->EndDraw(), S_OK);
}

TEST_F(BitmapTest, CompatibleA8TargetMakesAnAntialiasedCoverageMask)
{
    // As the mask cache does: a target a little larger than the shape, drawn antialiased and then
    // painted back through FillOpacityMask at the shape's place.
    const D2D1_SIZE_F size = { 4.f, 4.f };
    const D2D1_PIXEL_FORMAT a8 = { DXGI_FORMAT_A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED };
    const auto offscreen = Compatible(m_Target.Get(), &size, &a8);
    ASSERT_TRUE(offscreen);
    ComPtr<ID2D1SolidColorBrush> black;
    ASSERT_EQ(offscreen->CreateSolidColorBrush({ 0, 0, 0, 1 }, nullptr, black.ReleaseAndGetAddressOf()), S_OK);
    const auto shape = Rect(60.5f, 30, 62, 32);
    const D2D1_COLOR_F clear = { 0, 0, 0, 0 };
    offscreen->BeginDraw();
    offscreen->Clear(&clear);
    offscreen->SetTransform(D2D1::Translation(-59, -29));
    offscreen->FillGeometry(shape.Get(), black.Get());
    ASSERT_EQ(offscreen->EndDraw(), S_OK);
    ComPtr<ID2D1Bitmap> mask;
    ASSERT_EQ(offscreen->GetBitmap(mask.ReleaseAndGetAddressOf()), S_OK);

    const auto red = Solid(kRed);
    Draw(
        [&] {
            m_Target->SetTransform(D2D1::Translation(59, 29));
            m_Target->FillOpacityMask(mask.Get(), red.Get(), D2D1_OPACITY_MASK_CONTENT_GRAPHICS);
        },
        D2D1_ANTIALIAS_MODE_ALIASED);
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 60, 30, HalfRed }, { 61, 31, Red }, { 62, 30, White } }));
}

TEST_F(BitmapTest, CompatibleTargetSizesRoundUpToWholePixels)
{
    const auto target = MakeTarget(120.f);
    const D2D1_SIZE_F size = { 2.f, 0.f };
    const auto offscreen = Compatible(target.Get(), &size, nullptr);
    ASSERT_TRUE(offscreen);
    EXPECT_EQ(offscreen->GetPixelSize().width, 3u);
    EXPECT_EQ(offscreen->GetPixelSize().height, 1u);
}

} // namespace
} // namespace kuvtest
