// What image and bitmap render targets share: resource creation and drawing,
// all done by a DrawingContext over their surface.
#pragma once

#include "Gfx/cairo/Bitmap.h"
#include "Gfx/cairo/Brushes.h"
#include "Gfx/cairo/DrawingContext.h"
#include "Gfx/cairo/GradientStops.h"

namespace KUV::Gfx::Cairo {

HRESULT CreateStopCollection(ID2D1Factory* factory, const D2D1_GRADIENT_STOP* stops, UINT32 count,
    D2D1_EXTEND_MODE extendMode, ID2D1GradientStopCollection** collection);

// An offscreen target sized in the parent's DIPs (or pixels), with the parent's DPI.
HRESULT CreateCompatibleTarget(ID2D1Factory* factory, const DrawingContext& parent, const D2D1_SIZE_F* desiredSize,
    const D2D1_SIZE_U* desiredPixelSize, const D2D1_PIXEL_FORMAT* desiredFormat, ID2D1BitmapRenderTarget** target);

template <class Interface> class RenderTarget : public Resource<Interface> {
public:
    // Takes over the reference to surface.
    RenderTarget(ID2D1Factory* factory, cairo_surface_t* surface, float dpiX, float dpiY)
        : Resource<Interface>(factory)
        , m_Context(surface, dpiX, dpiY)
    {
    }

    HRESULT CreateSolidColorBrush(
        const D2D1_COLOR_F& color, const D2D1_BRUSH_PROPERTIES* properties, ID2D1SolidColorBrush** brush) override
    {
        return CreateSolidBrush(this->Factory(), color, properties, brush);
    }
    HRESULT CreateGradientStopCollection(const D2D1_GRADIENT_STOP* stops, UINT32 count, D2D1_GAMMA,
        D2D1_EXTEND_MODE extendMode, ID2D1GradientStopCollection** collection) override
    {
        return CreateStopCollection(this->Factory(), stops, count, extendMode, collection);
    }
    HRESULT CreateLinearGradientBrush(const D2D1_LINEAR_GRADIENT_BRUSH_PROPERTIES& gradient,
        const D2D1_BRUSH_PROPERTIES* properties, ID2D1GradientStopCollection* stops,
        ID2D1LinearGradientBrush** brush) override
    {
        return CreateLinearBrush(this->Factory(), gradient, properties, stops, brush);
    }
    HRESULT CreateRadialGradientBrush(const D2D1_RADIAL_GRADIENT_BRUSH_PROPERTIES& gradient,
        const D2D1_BRUSH_PROPERTIES* properties, ID2D1GradientStopCollection* stops,
        ID2D1RadialGradientBrush** brush) override
    {
        return CreateRadialBrush(this->Factory(), gradient, properties, stops, brush);
    }
    HRESULT CreateBitmap(D2D1_SIZE_U size, const void* pixels, UINT32 pitch, const D2D1_BITMAP_PROPERTIES& properties,
        ID2D1Bitmap** bitmap) override
    {
        return CreateBitmapFromMemory(this->Factory(), size, pixels, pitch, properties, bitmap);
    }
    HRESULT CreateCompatibleRenderTarget(const D2D1_SIZE_F* desiredSize, const D2D1_SIZE_U* desiredPixelSize,
        const D2D1_PIXEL_FORMAT* desiredFormat, D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS,
        ID2D1BitmapRenderTarget** target) override
    {
        return CreateCompatibleTarget(this->Factory(), m_Context, desiredSize, desiredPixelSize, desiredFormat, target);
    }

    void FillGeometry(ID2D1Geometry* geometry, ID2D1Brush* brush, ID2D1Brush* opacityBrush) override
    {
        m_Context.FillGeometry(geometry, brush, opacityBrush);
    }
    void DrawGeometry(ID2D1Geometry* geometry, ID2D1Brush* brush, float strokeWidth, ID2D1StrokeStyle*) override
    {
        m_Context.DrawGeometry(geometry, brush, strokeWidth);
    }
    void FillOpacityMask(ID2D1Bitmap* mask, ID2D1Brush* brush, D2D1_OPACITY_MASK_CONTENT,
        const D2D1_RECT_F* destination, const D2D1_RECT_F* source) override
    {
        m_Context.FillOpacityMask(mask, brush, destination, source);
    }
    void DrawBitmap(ID2D1Bitmap* bitmap, const D2D1_RECT_F* destination, float opacity,
        D2D1_BITMAP_INTERPOLATION_MODE mode, const D2D1_RECT_F* source) override
    {
        m_Context.DrawBitmap(bitmap, destination, opacity, mode, source);
    }
    void Clear(const D2D1_COLOR_F* color) override { m_Context.Clear(color); }

    void SetTransform(const D2D1_MATRIX_3X2_F& transform) override { m_Context.SetTransform(transform); }
    void GetTransform(D2D1_MATRIX_3X2_F* transform) const override
    {
        if (transform != nullptr) *transform = m_Context.Transform();
    }
    void SetAntialiasMode(D2D1_ANTIALIAS_MODE mode) override { m_Context.SetAntialiasMode(mode); }
    D2D1_ANTIALIAS_MODE GetAntialiasMode() const override { return m_Context.AntialiasMode(); }

    void BeginDraw() override { m_Context.BeginDraw(); }
    HRESULT EndDraw() override { return m_Context.EndDraw(); }

    D2D1_SIZE_F GetSize() const override { return m_Context.Size(); }
    D2D1_SIZE_U GetPixelSize() const override { return m_Context.PixelSize(); }

protected:
    DrawingContext m_Context;
};

} // namespace KUV::Gfx::Cairo
