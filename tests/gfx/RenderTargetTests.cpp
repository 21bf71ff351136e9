#include <chrono>
#include <cstdio>

#include "GfxFixture.h"

namespace kuvtest {
namespace {

using RenderTargetTest = GfxTest;

constexpr D2D1_COLOR_F kRed = { 1, 0, 0, 1 };

TEST_F(RenderTargetTest, EndDrawNeedsBeginDraw)
{
    EXPECT_EQ(m_Target->EndDraw(), D2DERR_WRONG_STATE);
    m_Target->BeginDraw();
    EXPECT_EQ(m_Target->EndDraw(), S_OK);
    EXPECT_EQ(m_Target->EndDraw(), D2DERR_WRONG_STATE);
}

TEST_F(RenderTargetTest, DrawingOutsideABatchIsIgnored)
{
    const auto red = Solid(kRed);
    Draw([] {});
    m_Target->FillGeometry(Rect(0, 0, 100, 100).Get(), red.Get());
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 50, White } }, 0));
}

TEST_F(RenderTargetTest, UnusableTransformsSkipPrimitivesAndLeaveTheTargetWorking)
{
    const auto rect = Rect(10, 10, 30, 30);
    const auto red = Solid(kRed);
    for (const D2D1_MATRIX_3X2_F& bad :
        { D2D1_MATRIX_3X2_F { 0, 0, 0, 0, 0, 0 }, D2D1_MATRIX_3X2_F { kNaN, 0, 0, 1, 0, 0 },
            D2D1_MATRIX_3X2_F { 1, 0, 0, 1, kInf, 0 }, D2D1_MATRIX_3X2_F { 1e-30f, 0, 0, 1e-30f, 0, 0 } }) {
        Draw([&] {
            m_Target->SetTransform(bad);
            m_Target->FillGeometry(rect.Get(), red.Get());
            m_Target->DrawGeometry(rect.Get(), red.Get(), 3.f);
            m_Target->SetTransform(D2D1::Translation(50, 50));
            m_Target->FillGeometry(rect.Get(), red.Get());
        });
        EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 70, 70, Red }, { 20, 20, White } }, 0));
        m_Target->SetTransform(D2D1::IdentityMatrix());
        Draw([&] { m_Target->FillGeometry(rect.Get(), red.Get()); });
        EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 20, 20, Red }, { 70, 70, White } }, 0));
    }
}

TEST_F(RenderTargetTest, NonFiniteGeometryDrawsNothing)
{
    const auto broken = Rect(kNaN, 0, 50, 50);
    const auto rect = Rect(60, 60, 70, 70);
    const auto red = Solid(kRed);
    Draw([&] {
        m_Target->FillGeometry(broken.Get(), red.Get());
        m_Target->DrawGeometry(broken.Get(), red.Get(), 2.f);
        m_Target->FillGeometry(rect.Get(), red.Get());
    });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 20, 20, White }, { 65, 65, Red } }, 0));
}

TEST_F(RenderTargetTest, HugeCoordinatesDoNotHang)
{
    const auto huge = Rect(-1e30f, -1e30f, 1e30f, 1e30f);
    const auto curve = Ellipse(0, 0, 1e12f, 1e12f);
    const auto red = Solid(kRed);
    const auto start = std::chrono::steady_clock::now();
    Draw([&] {
        m_Target->FillGeometry(huge.Get(), red.Get());
        m_Target->DrawGeometry(curve.Get(), red.Get(), 1e10f);
        m_Target->SetTransform({ 1e30f, 0, 0, 1e30f, 0, 0 });
        m_Target->FillGeometry(curve.Get(), red.Get());
    });
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(RenderTargetTest, ClearIgnoresTheTransformAndDefaultsToTransparent)
{
    const D2D1_COLOR_F blue = { 0, 0, 1, 1 };
    m_Target->SetTransform({ 0.1f, 0, 0, 0.1f, 0, 0 });
    m_Target->BeginDraw();
    m_Target->Clear(&blue);
    EXPECT_EQ(m_Target->EndDraw(), S_OK);
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 99, 99, Blue } }, 0));
    m_Target->BeginDraw();
    m_Target->Clear();
    EXPECT_EQ(m_Target->EndDraw(), S_OK);
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 99, 99, { 0, 0, 0, 0 } } }, 0));
}

TEST_F(RenderTargetTest, StateAccessors)
{
    EXPECT_EQ(m_Target->GetAntialiasMode(), D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
    m_Target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
    EXPECT_EQ(m_Target->GetAntialiasMode(), D2D1_ANTIALIAS_MODE_ALIASED);
    const D2D1_MATRIX_3X2_F m = { 1, 2, 3, 4, 5, 6 };
    m_Target->SetTransform(m);
    D2D1_MATRIX_3X2_F read {};
    m_Target->GetTransform(&read);
    EXPECT_TRUE(read == m);
    EXPECT_EQ(m_Target->GetPixelSize().width, 100u);
    EXPECT_FLOAT_EQ(m_Target->GetSize().height, 100.f);
}

TEST_F(RenderTargetTest, ZeroDpiMeansTheDesktopDpi)
{
    ComPtr<ID2D1Factory> factory;
    ASSERT_EQ(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, factory.ReleaseAndGetAddressOf(), 144.f), S_OK);
    float dpiX = 0, dpiY = 0;
    factory->GetDesktopDpi(&dpiX, &dpiY);
    EXPECT_FLOAT_EQ(dpiX, 144.f);
    ComPtr<ID2D1ImageRenderTarget> target;
    const D2D1_RENDER_TARGET_PROPERTIES properties = { { DXGI_FORMAT_UNKNOWN, D2D1_ALPHA_MODE_PREMULTIPLIED }, 0, 0 };
    ASSERT_EQ(factory->CreateImageRenderTarget(properties, { 300, 150 }, target.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_FLOAT_EQ(target->GetSize().width, 200.f);
    EXPECT_FLOAT_EQ(target->GetSize().height, 100.f);
    const D2D1_RENDER_TARGET_PROPERTIES a8 = { { DXGI_FORMAT_A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED }, 0, 0 };
    EXPECT_EQ(factory->CreateImageRenderTarget(a8, { 1, 1 }, target.ReleaseAndGetAddressOf()),
        D2DERR_UNSUPPORTED_PIXEL_FORMAT);
    const D2D1_RENDER_TARGET_PROPERTIES negative = { { DXGI_FORMAT_UNKNOWN, D2D1_ALPHA_MODE_UNKNOWN }, -1, -1 };
    EXPECT_EQ(factory->CreateImageRenderTarget(negative, { 1, 1 }, target.ReleaseAndGetAddressOf()), E_INVALIDARG);
}

TEST_F(RenderTargetTest, ResizeClearsAndMinimisedTargetsStillWork)
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

TEST_F(RenderTargetTest, SaveToPngWritesThePixels)
{
    const auto red = Solid(kRed);
    const auto rect = Rect(10, 20, 40, 60);
    Draw([&] { m_Target->FillGeometry(rect.Get(), red.Get()); });
    const std::string path = ::testing::TempDir() + "gfx_save_to_png.png";
    ASSERT_EQ(m_Target->SaveToPng(path.c_str()), S_OK);
    const Image image = Image::FromPng(path);
    EXPECT_EQ(image.Width(), 100);
    EXPECT_TRUE(PixelsNear(image, { { 20, 30, Red }, { 5, 5, White } }, 0));
    std::remove(path.c_str());
    EXPECT_EQ(m_Target->SaveToPng("/nonexistent-folder/x.png"), E_FAIL);
    EXPECT_EQ(Image::FromPng("/nonexistent-folder/x.png").Width(), 0);
}

} // namespace
} // namespace kuvtest
