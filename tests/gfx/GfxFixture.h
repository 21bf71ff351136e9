// A white 100 x 100 offscreen target and shortcuts for building what the tests draw.
#pragma once

#include <functional>
#include <initializer_list>
#include <limits>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "Gfx/D2D1.h"
#include "support/Pixels.h"

namespace kuvtest {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr D2D1_COLOR_F kRed = { 1, 0, 0, 1 };

struct Figure {
    D2D1_POINT_2F start;
    std::vector<D2D1_POINT_2F> lines;
    bool closed = true;
    D2D1_FIGURE_BEGIN begin = D2D1_FIGURE_BEGIN_FILLED;
};

class GfxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, m_Factory.ReleaseAndGetAddressOf()), S_OK);
        m_Target = MakeTarget(0.f);
        ASSERT_TRUE(m_Target);
    }

    // A 100 x 100 pixel target; dpi 0 means the desktop's.
    ComPtr<ID2D1ImageRenderTarget> MakeTarget(float dpi)
    {
        const D2D1_RENDER_TARGET_PROPERTIES properties = { { DXGI_FORMAT_UNKNOWN, D2D1_ALPHA_MODE_UNKNOWN }, dpi, dpi };
        ComPtr<ID2D1ImageRenderTarget> target;
        EXPECT_EQ(m_Factory->CreateImageRenderTarget(properties, { 100, 100 }, target.ReleaseAndGetAddressOf()), S_OK);
        return target;
    }

    // Runs body between BeginDraw and EndDraw on a white target; EndDraw must succeed.
    void Draw(const std::function<void()>& body, D2D1_ANTIALIAS_MODE mode = D2D1_ANTIALIAS_MODE_PER_PRIMITIVE)
    {
        const D2D1_COLOR_F white = { 1, 1, 1, 1 };
        m_Target->SetAntialiasMode(mode);
        m_Target->BeginDraw();
        m_Target->Clear(&white);
        body();
        EXPECT_EQ(m_Target->EndDraw(), S_OK);
    }

    ComPtr<ID2D1Brush> Solid(D2D1_COLOR_F color, float opacity = 1.f)
    {
        const D2D1_BRUSH_PROPERTIES properties = { opacity, D2D1::IdentityMatrix() };
        ComPtr<ID2D1SolidColorBrush> brush;
        EXPECT_EQ(m_Target->CreateSolidColorBrush(color, &properties, brush.ReleaseAndGetAddressOf()), S_OK);
        return ComPtr<ID2D1Brush>(brush.Detach());
    }

    ComPtr<ID2D1Geometry> Rect(float left, float top, float right, float bottom)
    {
        ComPtr<ID2D1RectangleGeometry> geometry;
        EXPECT_EQ(
            m_Factory->CreateRectangleGeometry({ left, top, right, bottom }, geometry.ReleaseAndGetAddressOf()), S_OK);
        return ComPtr<ID2D1Geometry>(geometry.Detach());
    }

    ComPtr<ID2D1Geometry> Ellipse(float x, float y, float rx, float ry)
    {
        ComPtr<ID2D1EllipseGeometry> geometry;
        EXPECT_EQ(m_Factory->CreateEllipseGeometry({ { x, y }, rx, ry }, geometry.ReleaseAndGetAddressOf()), S_OK);
        return ComPtr<ID2D1Geometry>(geometry.Detach());
    }

    // Without a fill mode the sink keeps its default.
    ComPtr<ID2D1Geometry> Path(
        std::initializer_list<Figure> figures, std::optional<D2D1_FILL_MODE> mode = D2D1_FILL_MODE_WINDING)
    {
        ComPtr<ID2D1PathGeometry> path;
        EXPECT_EQ(m_Factory->CreatePathGeometry(path.ReleaseAndGetAddressOf()), S_OK);
        ComPtr<ID2D1GeometrySink> sink;
        EXPECT_EQ(path->Open(sink.ReleaseAndGetAddressOf()), S_OK);
        if (mode) sink->SetFillMode(*mode);
        for (const Figure& f : figures) {
            sink->BeginFigure(f.start, f.begin);
            sink->AddLines(f.lines.data(), UINT32(f.lines.size()));
            sink->EndFigure(f.closed ? D2D1_FIGURE_END_CLOSED : D2D1_FIGURE_END_OPEN);
        }
        EXPECT_EQ(sink->Close(), S_OK);
        return ComPtr<ID2D1Geometry>(path.Detach());
    }

    ComPtr<ID2D1Factory> m_Factory;
    ComPtr<ID2D1ImageRenderTarget> m_Target;
};

// A square figure from (x0, y0) to (x1, y1); clockwise on screen unless reversed.
inline Figure Square(float x0, float y0, float x1, float y1, bool reversed = false)
{
    if (reversed) return { { x0, y0 }, { { x0, y1 }, { x1, y1 }, { x1, y0 } } };
    return { { x0, y0 }, { { x1, y0 }, { x1, y1 }, { x0, y1 } } };
}

} // namespace kuvtest
