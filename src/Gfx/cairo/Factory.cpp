#include "Gfx/cairo/Factory.h"

#include <cmath>

#include "Gfx/cairo/PathGeometry.h"

namespace KUV::Gfx::Cairo {

namespace {

template <class Interface> HRESULT MakeGeometry(ID2D1Factory* factory, PathData data, Interface** geometry)
{
    if (geometry == nullptr) return E_POINTER;
    *geometry = new Geometry<Interface>(factory, std::move(data));
    return S_OK;
}

} // namespace

HRESULT Factory::CreateRectangleGeometry(const D2D1_RECT_F& rectangle, ID2D1RectangleGeometry** geometry)
{
    return MakeGeometry(this, RectanglePath(rectangle), geometry);
}

HRESULT Factory::CreateEllipseGeometry(const D2D1_ELLIPSE& ellipse, ID2D1EllipseGeometry** geometry)
{
    return MakeGeometry(this, EllipsePath(ellipse), geometry);
}

HRESULT Factory::CreatePathGeometry(ID2D1PathGeometry** geometry)
{
    if (geometry == nullptr) return E_POINTER;
    *geometry = new PathGeometry(this);
    return S_OK;
}

HRESULT Factory::CreateTransformedGeometry(
    ID2D1Geometry* source, const D2D1_MATRIX_3X2_F& transform, ID2D1TransformedGeometry** geometry)
{
    if (geometry == nullptr) return E_POINTER;
    *geometry = nullptr;
    const PathData* data = PathDataOf(source);
    if (data == nullptr) return E_INVALIDARG;
    return MakeGeometry(this, data->Transformed(transform), geometry);
}

HRESULT Factory::CreateImageRenderTarget(
    const D2D1_RENDER_TARGET_PROPERTIES& properties, D2D1_SIZE_U pixelSize, ID2D1ImageRenderTarget** target)
{
    return CreateImageTarget(this, properties, m_DesktopDpi, pixelSize, target);
}

void Factory::GetDesktopDpi(float* dpiX, float* dpiY)
{
    if (dpiX != nullptr) *dpiX = m_DesktopDpi;
    if (dpiY != nullptr) *dpiY = m_DesktopDpi;
}

} // namespace KUV::Gfx::Cairo

HRESULT D2D1CreateFactory(D2D1_FACTORY_TYPE type, ID2D1Factory** factory, float desktopDpi)
{
    if (factory == nullptr) return E_POINTER;
    *factory = nullptr;
    if (type != D2D1_FACTORY_TYPE_SINGLE_THREADED) return E_INVALIDARG;
    const bool usable = desktopDpi > 0.f && std::isfinite(desktopDpi);
    *factory = new KUV::Gfx::Cairo::Factory(usable ? desktopDpi : D2D1_DEFAULT_DPI);
    return S_OK;
}
