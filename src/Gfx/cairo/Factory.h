// The factory: geometries and image render targets.
#pragma once

#include "Gfx/D2D1.h"

namespace KUV::Gfx::Cairo {

class Factory : public RefCounted<ID2D1Factory> {
public:
    explicit Factory(float desktopDpi)
        : m_DesktopDpi(desktopDpi)
    {
    }

    HRESULT CreateRectangleGeometry(const D2D1_RECT_F& rectangle, ID2D1RectangleGeometry** geometry) override;
    HRESULT CreateEllipseGeometry(const D2D1_ELLIPSE& ellipse, ID2D1EllipseGeometry** geometry) override;
    HRESULT CreatePathGeometry(ID2D1PathGeometry** geometry) override;
    HRESULT CreateTransformedGeometry(
        ID2D1Geometry* source, const D2D1_MATRIX_3X2_F& transform, ID2D1TransformedGeometry** geometry) override;
    HRESULT CreateImageRenderTarget(const D2D1_RENDER_TARGET_PROPERTIES& properties, D2D1_SIZE_U pixelSize,
        ID2D1ImageRenderTarget** target) override;
    void GetDesktopDpi(float* dpiX, float* dpiY) override;

private:
    float m_DesktopDpi;
};

// An image render target drawing into a fresh ARGB surface.
HRESULT CreateImageTarget(ID2D1Factory* factory, const D2D1_RENDER_TARGET_PROPERTIES& properties, float desktopDpi,
    D2D1_SIZE_U pixelSize, ID2D1ImageRenderTarget** target);

} // namespace KUV::Gfx::Cairo
