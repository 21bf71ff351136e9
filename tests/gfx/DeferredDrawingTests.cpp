// Image targets that keep a frame's drawing until its pixels are needed and then draw it
// on several threads: what they show equals drawing every call as it is made.
#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "Gfx/D2D1.h"
#include "Gfx/DrawingThreads.h"
#include "support/Pixels.h"

namespace kuvtest {
namespace {

constexpr D2D1_COLOR_F White { 1, 1, 1, 1 };
constexpr D2D1_COLOR_F Red { 1, 0, 0, 1 };
constexpr D2D1_COLOR_F Blue { 0, 0, 1, 1 };

class DeferredDrawingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, m_Factory.ReleaseAndGetAddressOf()), S_OK);
    }
    void TearDown() override { SetDrawingThreads(0); }

    // A fresh 400 x 300 target on threads, where body draws between BeginDraw and EndDraw.
    Image Render(unsigned threads, const std::function<void(ID2D1ImageRenderTarget*)>& body)
    {
        SetDrawingThreads(threads);
        const D2D1_RENDER_TARGET_PROPERTIES properties { { DXGI_FORMAT_UNKNOWN, D2D1_ALPHA_MODE_UNKNOWN }, 96, 96 };
        EXPECT_EQ(
            m_Factory->CreateImageRenderTarget(properties, { 400, 300 }, m_Target.ReleaseAndGetAddressOf()), S_OK);
        m_Target->BeginDraw();
        m_Target->Clear(&White);
        body(m_Target.Get());
        EXPECT_EQ(m_Target->EndDraw(), S_OK);
        return Image::FromTarget(m_Target.Get());
    }

    // body drawn on one thread and on two: the same pixels, give or take 1.
    void ExpectAlike(const std::string& name, const std::function<void(ID2D1ImageRenderTarget*)>& body)
    {
        const Image whole = Render(1, body);
        const Image banded = Render(2, body);
        EXPECT_TRUE(ImagesNear(whole, banded, 1)) << name << " on two threads against one";
    }

    ComPtr<ID2D1Geometry> Ellipse(float x, float y, float rx, float ry)
    {
        ComPtr<ID2D1EllipseGeometry> geometry;
        EXPECT_EQ(m_Factory->CreateEllipseGeometry({ { x, y }, rx, ry }, geometry.ReleaseAndGetAddressOf()), S_OK);
        return ComPtr<ID2D1Geometry>(geometry.Detach());
    }

    static ComPtr<ID2D1Brush> Solid(ID2D1RenderTarget* target, D2D1_COLOR_F color)
    {
        ComPtr<ID2D1SolidColorBrush> brush;
        EXPECT_EQ(target->CreateSolidColorBrush(color, nullptr, brush.ReleaseAndGetAddressOf()), S_OK);
        return ComPtr<ID2D1Brush>(brush.Detach());
    }

    static ComPtr<ID2D1Brush> Gradient(ID2D1RenderTarget* target, D2D1_EXTEND_MODE mode)
    {
        const D2D1_GRADIENT_STOP stops[] = { { 0, Red }, { 1, { 0, 0.8f, 0, 0.5f } } };
        ComPtr<ID2D1GradientStopCollection> collection;
        EXPECT_EQ(
            target->CreateGradientStopCollection(stops, 2, D2D1_GAMMA_2_2, mode, collection.ReleaseAndGetAddressOf()),
            S_OK);
        ComPtr<ID2D1LinearGradientBrush> brush;
        EXPECT_EQ(target->CreateLinearGradientBrush(
                      { { 0, 0 }, { 40, 30 } }, nullptr, collection.Get(), brush.ReleaseAndGetAddressOf()),
            S_OK);
        return ComPtr<ID2D1Brush>(brush.Detach());
    }

    // An A8 bitmap target with an ellipse of coverage drawn on it.
    static ComPtr<ID2D1BitmapRenderTarget> Coverage(ID2D1RenderTarget* target, ID2D1Geometry* shape)
    {
        const D2D1_SIZE_F size { 200, 200 };
        const D2D1_PIXEL_FORMAT a8 { DXGI_FORMAT_A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED };
        ComPtr<ID2D1BitmapRenderTarget> mask;
        EXPECT_EQ(target->CreateCompatibleRenderTarget(
                      &size, nullptr, &a8, D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS_NONE, mask.ReleaseAndGetAddressOf()),
            S_OK);
        mask->BeginDraw();
        mask->FillGeometry(shape, Solid(mask.Get(), { 0, 0, 0, 1 }).Get());
        EXPECT_EQ(mask->EndDraw(), S_OK);
        return mask;
    }

    static ComPtr<ID2D1Bitmap> BitmapOf(ID2D1BitmapRenderTarget* target)
    {
        ComPtr<ID2D1Bitmap> bitmap;
        EXPECT_EQ(target->GetBitmap(bitmap.ReleaseAndGetAddressOf()), S_OK);
        return bitmap;
    }

    ComPtr<ID2D1Factory> m_Factory;
    ComPtr<ID2D1ImageRenderTarget> m_Target;
};

// What the engine cannot reach through its scene files: opacity brushes, opacity masks with
// and without a destination, nearest-neighbour bitmaps, brushes changed between draws,
// geometries released before EndDraw and primitives that must draw nothing.
TEST_F(DeferredDrawingTest, CallsBeyondScenesGiveThePixelsOfOneThread)
{
    const auto big = Ellipse(200, 150, 180, 130);
    ExpectAlike("opacity_brush", [&](ID2D1ImageRenderTarget* t) {
        t->FillGeometry(
            big.Get(), Gradient(t, D2D1_EXTEND_MODE_MIRROR).Get(), Gradient(t, D2D1_EXTEND_MODE_WRAP).Get());
    });
    ExpectAlike("opacity_masks", [&](ID2D1ImageRenderTarget* t) {
        const auto mask = Coverage(t, Ellipse(100, 100, 95, 60).Get());
        const D2D1_RECT_F destination { 20, 40, 390, 290 }, source { 10, 10, 190, 190 };
        t->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
        t->FillOpacityMask(
            BitmapOf(mask.Get()).Get(), Gradient(t, D2D1_EXTEND_MODE_CLAMP).Get(), D2D1_OPACITY_MASK_CONTENT_GRAPHICS);
        t->FillOpacityMask(BitmapOf(mask.Get()).Get(), Solid(t, Blue).Get(), D2D1_OPACITY_MASK_CONTENT_GRAPHICS,
            &destination, &source);
    });
    ExpectAlike("nearest_bitmap", [&](ID2D1ImageRenderTarget* t) {
        const auto mask = Coverage(t, Ellipse(100, 100, 60, 95).Get());
        const D2D1_RECT_F destination { 0, 0, 400, 300 };
        t->DrawBitmap(BitmapOf(mask.Get()).Get(), &destination, 0.7f, D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR);
    });
    ExpectAlike("changed_brush", [&](ID2D1ImageRenderTarget* t) {
        const auto brush = Gradient(t, D2D1_EXTEND_MODE_WRAP);
        t->FillGeometry(Ellipse(100, 100, 90, 90).Get(), brush.Get());
        brush->SetTransform(D2D1::Translation(13, 7));
        t->FillGeometry(Ellipse(300, 150, 90, 140).Get(), brush.Get());
        brush->SetOpacity(0.4f);
        t->DrawGeometry(big.Get(), brush.Get(), 25.f);
    });
    ExpectAlike("turned_wrapped_gradients", [&](ID2D1ImageRenderTarget* t) {
        // Every period of a wrapped gradient ends in a hard seam, where any drift of a sample
        // flips a pixel from one end colour to the other.
        for (float turn : { 0.f, 0.3f, 1.1f, 2.6f }) {
            const float c = std::cos(turn) * 1.09f, s = std::sin(turn) * 1.09f;
            t->SetTransform({ c, s, -s, c, 200.f + 9 * turn, 150.f - 5 * turn });
            t->FillGeometry(Ellipse(0, 0, 170, 60).Get(), Gradient(t, D2D1_EXTEND_MODE_WRAP).Get());
            t->DrawGeometry(Ellipse(0, 0, 120, 120).Get(), Gradient(t, D2D1_EXTEND_MODE_MIRROR).Get(), 15.f);
        }
    });
    ExpectAlike("released_geometry_and_faults", [&](ID2D1ImageRenderTarget* t) {
        t->FillGeometry(Ellipse(200, 150, 50, 140).Get(), Solid(t, Red).Get());
        const float nan = std::numeric_limits<float>::quiet_NaN();
        t->SetTransform({ nan, 0, 0, 1, 0, 0 });
        t->FillGeometry(big.Get(), Solid(t, Blue).Get());
        t->SetTransform(D2D1::IdentityMatrix());
        t->DrawGeometry(big.Get(), Solid(t, Blue).Get(), 1e30f);
        t->DrawGeometry(Ellipse(200, 150, 100, 40).Get(), Solid(t, Blue).Get(), 9.f);
    });
}

// A bitmap target's bitmap drawn and then drawn over before the frame ends: the frame shows
// the bitmap as it was when it was drawn.
TEST_F(DeferredDrawingTest, PendingDrawsOfABitmapShowItAsItWasThen)
{
    for (unsigned threads : { 1u, 2u }) {
        const Image frame = Render(threads, [&](ID2D1ImageRenderTarget* t) {
            const D2D1_SIZE_F size { 4, 4 };
            ComPtr<ID2D1BitmapRenderTarget> source;
            ASSERT_EQ(t->CreateCompatibleRenderTarget(&size, nullptr, nullptr,
                          D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS_NONE, source.ReleaseAndGetAddressOf()),
                S_OK);
            const D2D1_RECT_F left { 0, 0, 200, 300 }, right { 200, 0, 400, 300 };
            source->BeginDraw();
            source->Clear(&Red);
            source->EndDraw();
            t->DrawBitmap(BitmapOf(source.Get()).Get(), &left);
            source->BeginDraw();
            source->Clear(&Blue);
            source->EndDraw();
            t->DrawBitmap(BitmapOf(source.Get()).Get(), &right);
        });
        EXPECT_TRUE(PixelsNear(frame, { { 100, 150, kuvtest::Red }, { 300, 150, kuvtest::Blue } }, 0)) << threads;
    }
}

// Pixels read before EndDraw show everything drawn so far.
TEST_F(DeferredDrawingTest, PixelsReadBeforeEndDrawShowWhatWasDrawn)
{
    for (unsigned threads : { 1u, 2u }) {
        Render(threads, [&](ID2D1ImageRenderTarget* t) {
            t->FillGeometry(Ellipse(200, 150, 150, 100).Get(), Solid(t, Red).Get());
            EXPECT_TRUE(PixelsNear(t, { { 200, 150, kuvtest::Red }, { 5, 5, kuvtest::White } }, 0)) << threads;
            t->FillGeometry(Ellipse(200, 150, 50, 50).Get(), Solid(t, Blue).Get());
        });
        EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 200, 150, kuvtest::Blue }, { 300, 150, kuvtest::Red } }, 0))
            << threads;
    }
}

} // namespace
} // namespace kuvtest
