#include <cstdint>

#include "GfxFixture.h"

namespace kuvtest {
namespace {

class BitmapTest : public GfxTest {
protected:
    // 2 x 2 pixels: red, green / blue, white.
    ComPtr<ID2D1Bitmap> Quadrants()
    {
        const std::uint32_t pixels[4] = { 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu };
        return MakeBitmap({ 2, 2 }, pixels, 8, { DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED });
    }

    ComPtr<ID2D1Bitmap> MakeBitmap(D2D1_SIZE_U size, const void* pixels, UINT32 pitch, D2D1_PIXEL_FORMAT format)
    {
        ComPtr<ID2D1Bitmap> bitmap;
        EXPECT_EQ(
            m_Target->CreateBitmap(size, pixels, pitch, { format, 96.f, 96.f }, bitmap.ReleaseAndGetAddressOf()), S_OK);
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
};

constexpr D2D1_COLOR_F kRed = { 1, 0, 0, 1 };

TEST_F(BitmapTest, DrawBitmapMapsSourceOntoDestination)
{
    const auto bitmap = Quadrants();
    EXPECT_FLOAT_EQ(bitmap->GetSize().width, 2.f);
    const D2D1_RECT_F dest = { 10, 10, 30, 30 };
    const D2D1_RECT_F greenOnly = { 1, 0, 2, 1 }, greenArea = { 50, 50, 70, 70 };
    Draw([&] {
        m_Target->DrawBitmap(bitmap.Get(), &dest, 1.f, D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR);
        m_Target->DrawBitmap(
            bitmap.Get(), &greenArea, 1.f, D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR, &greenOnly);
        m_Target->DrawBitmap(bitmap.Get());
    });
    EXPECT_TRUE(PixelsNear(m_Target.Get(),
        { { 15, 15, Red }, { 25, 15, Green }, { 15, 25, Blue }, { 29, 29, White }, { 30, 15, White }, { 50, 50, Green },
            { 69, 69, Green }, { 70, 60, White }, { 0, 0, Red }, { 1, 0, Green }, { 0, 1, Blue }, { 2, 0, White } }));
}

TEST_F(BitmapTest, LinearInterpolationBlendsAndOpacityFades)
{
    const auto bitmap = Quadrants();
    const D2D1_RECT_F dest = { 0, 0, 40, 40 }, faded = { 50, 50, 90, 90 };
    Draw([&] {
        m_Target->DrawBitmap(bitmap.Get(), &dest, 1.f, D2D1_BITMAP_INTERPOLATION_MODE_LINEAR);
        m_Target->DrawBitmap(bitmap.Get(), &faded, 0.5f, D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR);
    });
    EXPECT_TRUE(PixelsNear(
        m_Target.Get(), { { 2, 2, Red }, { 20, 2, { 121, 134, 0, 255 } }, { 55, 55, { 255, 128, 128, 255 } } }));
}

TEST_F(BitmapTest, BadRectanglesDrawNothing)
{
    const auto bitmap = Quadrants();
    const D2D1_RECT_F reversed = { 30, 10, 10, 30 }, nan = { kNaN, 0, 10, 10 }, empty = { 0, 0, 0, 0 };
    Draw([&] {
        m_Target->DrawBitmap(bitmap.Get(), &reversed);
        m_Target->DrawBitmap(bitmap.Get(), &nan);
        m_Target->DrawBitmap(bitmap.Get(), nullptr, 1.f, D2D1_BITMAP_INTERPOLATION_MODE_LINEAR, &empty);
        m_Target->DrawBitmap(bitmap.Get(), nullptr, kNaN);
    });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 20, 20, White }, { 0, 0, White } }, 0));
}

TEST_F(BitmapTest, OpacityMaskPaintsTheBrushThroughCoverage)
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
        { { 21, 21, Red }, { 26, 21, { 255, 127, 127, 255 } }, { 29, 21, White }, { 19, 21, White }, { 40, 40, Red },
            { 43, 43, { 255, 127, 127, 255 } }, { 44, 40, White }, { 39, 40, White } }));
}

TEST_F(BitmapTest, OpacityMaskNeedsAliasedMode)
{
    const auto mask = HalfMask();
    const auto red = Solid(kRed);
    const D2D1_COLOR_F white = { 1, 1, 1, 1 };
    m_Target->BeginDraw();
    m_Target->Clear(&white);
    m_Target->FillOpacityMask(mask.Get(), red.Get(), D2D1_OPACITY_MASK_CONTENT_GRAPHICS);
    EXPECT_EQ(m_Target->EndDraw(), D2DERR_WRONG_STATE);
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 0, 0, White } }, 0));
    m_Target->BeginDraw();
    EXPECT_EQ(m_Target->EndDraw(), S_OK);
}

TEST_F(BitmapTest, CompatibleTargetMakesAnAntialiasedCoverageMask)
{
    // As the mask cache does: a target a little larger than the shape, drawn antialiased and then
    // painted back through FillOpacityMask at the shape's place.
    ComPtr<ID2D1BitmapRenderTarget> offscreen;
    const D2D1_SIZE_F size = { 4.f, 4.f };
    const D2D1_PIXEL_FORMAT a8 = { DXGI_FORMAT_A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED };
    ASSERT_EQ(m_Target->CreateCompatibleRenderTarget(
                  &size, nullptr, &a8, D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS_NONE, offscreen.ReleaseAndGetAddressOf()),
        S_OK);
    EXPECT_EQ(offscreen->GetAntialiasMode(), D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
    EXPECT_EQ(offscreen->GetPixelSize().width, 4u);
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
    EXPECT_EQ(mask->GetPixelFormat().format, DXGI_FORMAT_A8_UNORM);

    const auto red = Solid(kRed);
    Draw(
        [&] {
            m_Target->SetTransform(D2D1::Translation(59, 29));
            m_Target->FillOpacityMask(mask.Get(), red.Get(), D2D1_OPACITY_MASK_CONTENT_GRAPHICS);
        },
        D2D1_ANTIALIAS_MODE_ALIASED);
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 60, 30, { 255, 128, 128, 255 } }, { 61, 31, Red }, { 62, 30, White } }));
}

TEST_F(BitmapTest, CompatibleTargetSizes)
{
    const auto target = MakeTarget(100, 100, 120.f);
    ComPtr<ID2D1BitmapRenderTarget> offscreen;
    const D2D1_SIZE_F size = { 2.f, 0.f };
    ASSERT_EQ(target->CreateCompatibleRenderTarget(&size, nullptr, nullptr, D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS_NONE,
                  offscreen.ReleaseAndGetAddressOf()),
        S_OK);
    EXPECT_EQ(offscreen->GetPixelSize().width, 3u);
    EXPECT_EQ(offscreen->GetPixelSize().height, 1u);
    ComPtr<ID2D1Bitmap> bitmap;
    ASSERT_EQ(offscreen->GetBitmap(bitmap.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(bitmap->GetPixelFormat().format, DXGI_FORMAT_B8G8R8A8_UNORM);
    EXPECT_FLOAT_EQ(bitmap->GetSize().width, 2.4f);

    ASSERT_EQ(target->CreateCompatibleRenderTarget(nullptr, nullptr, nullptr,
                  D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS_NONE, offscreen.ReleaseAndGetAddressOf()),
        S_OK);
    EXPECT_EQ(offscreen->GetPixelSize().width, 100u);
    const D2D1_SIZE_F bad = { kNaN, 1.f }, huge = { 1e9f, 1.f };
    EXPECT_EQ(target->CreateCompatibleRenderTarget(&bad, nullptr, nullptr, D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS_NONE,
                  offscreen.ReleaseAndGetAddressOf()),
        E_INVALIDARG);
    EXPECT_EQ(target->CreateCompatibleRenderTarget(&huge, nullptr, nullptr, D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS_NONE,
                  offscreen.ReleaseAndGetAddressOf()),
        D2DERR_MAX_TEXTURE_SIZE_EXCEEDED);
}

TEST_F(BitmapTest, CreateBitmapChecksItsArguments)
{
    ComPtr<ID2D1Bitmap> bitmap;
    const std::uint32_t pixel = 0xFF000000u;
    const D2D1_BITMAP_PROPERTIES bgra = { { DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED }, 0.f, 0.f };
    EXPECT_EQ(m_Target->CreateBitmap({ 2, 1 }, &pixel, 4, bgra, bitmap.ReleaseAndGetAddressOf()), E_INVALIDARG);
    const D2D1_BITMAP_PROPERTIES straight = { { DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_STRAIGHT }, 0.f, 0.f };
    EXPECT_EQ(m_Target->CreateBitmap({ 1, 1 }, &pixel, 4, straight, bitmap.ReleaseAndGetAddressOf()),
        D2DERR_UNSUPPORTED_PIXEL_FORMAT);
    EXPECT_EQ(m_Target->CreateBitmap({ 20000, 1 }, nullptr, 0, bgra, bitmap.ReleaseAndGetAddressOf()),
        D2DERR_MAX_TEXTURE_SIZE_EXCEEDED);
    ASSERT_EQ(m_Target->CreateBitmap({ 3, 2 }, nullptr, 0, bgra, bitmap.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(bitmap->GetPixelSize().width, 3u);
    Draw([&] { m_Target->DrawBitmap(bitmap.Get()); });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 1, 1, White } }, 0));
}

} // namespace
} // namespace kuvtest
