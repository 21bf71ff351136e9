#include "Gfx/cairo/Factory.h"
#include "Gfx/cairo/RenderTarget.h"

namespace KUV::Gfx::Cairo {

namespace {

class ImageRenderTarget : public RenderTarget<ID2D1ImageRenderTarget> {
public:
    ImageRenderTarget(ID2D1Factory* factory, cairo_surface_t* surface, cairo_format_t format, float dpiX, float dpiY)
        : RenderTarget(factory, surface, dpiX, dpiY)
        , m_Format(format)
    {
        m_Context.AllowDeferring();
    }

    HRESULT Resize(D2D1_SIZE_U pixelSize) override
    {
        cairo_surface_t* surface;
        const HRESULT hr = CreateSurface(pixelSize, m_Format, &surface);
        if (SUCCEEDED(hr)) m_Context.ReplaceSurface(surface);
        return hr;
    }

    const BYTE* GetPixels(UINT32* stride) const override
    {
        m_Context.DrawPending();
        cairo_surface_t* surface = m_Context.Surface();
        cairo_surface_flush(surface);
        if (stride != nullptr) *stride = static_cast<UINT32>(cairo_image_surface_get_stride(surface));
        return cairo_image_surface_get_data(surface);
    }

    HRESULT SaveToPng(const char* path) const override
    {
        if (path == nullptr) return E_POINTER;
        m_Context.DrawPending();
        const cairo_status_t status = cairo_surface_write_to_png(m_Context.Surface(), path);
        if (status == CAIRO_STATUS_SUCCESS) return S_OK;
        return status == CAIRO_STATUS_NO_MEMORY ? E_OUTOFMEMORY : E_FAIL;
    }

private:
    cairo_format_t m_Format;
};

} // namespace

HRESULT CreateImageTarget(ID2D1Factory* factory, const D2D1_RENDER_TARGET_PROPERTIES& properties, float desktopDpi,
    D2D1_SIZE_U pixelSize, ID2D1ImageRenderTarget** target)
{
    if (target == nullptr) return E_POINTER;
    *target = nullptr;
    D2D1_PIXEL_FORMAT format = properties.pixelFormat;
    cairo_format_t cairoFormat;
    float dpiX, dpiY;
    cairo_surface_t* surface;
    HRESULT hr = ResolvePixelFormat(&format, &cairoFormat);
    if (SUCCEEDED(hr) && cairoFormat == CAIRO_FORMAT_A8) hr = D2DERR_UNSUPPORTED_PIXEL_FORMAT;
    if (SUCCEEDED(hr)) hr = ResolveDpi(properties.dpiX, properties.dpiY, desktopDpi, &dpiX, &dpiY);
    if (SUCCEEDED(hr)) hr = CreateSurface(pixelSize, cairoFormat, &surface);
    if (FAILED(hr)) return hr;
    *target = new ImageRenderTarget(factory, surface, cairoFormat, dpiX, dpiY);
    return S_OK;
}

} // namespace KUV::Gfx::Cairo
