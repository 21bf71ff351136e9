#include <cmath>

#include "Gfx/cairo/Affine.h"
#include "Gfx/cairo/RenderTarget.h"

namespace KUV::Gfx::Cairo {

namespace {

class BitmapRenderTarget : public RenderTarget<ID2D1BitmapRenderTarget> {
public:
    BitmapRenderTarget(
        ID2D1Factory* factory, cairo_surface_t* surface, D2D1_PIXEL_FORMAT format, float dpiX, float dpiY)
        : RenderTarget(factory, surface, dpiX, dpiY)
        , m_Format(format)
    {
    }

    HRESULT GetBitmap(ID2D1Bitmap** bitmap) override
    {
        if (bitmap == nullptr) return E_POINTER;
        // The bitmap shares the target's pixels, so it shows whatever is drawn later too.
        if (!m_Bitmap)
            m_Bitmap = ComPtr<Bitmap>(new Bitmap(
                Factory(), cairo_surface_reference(m_Context.Surface()), m_Format, m_Context.DpiX(), m_Context.DpiY()));
        HandOut(m_Bitmap.Get(), bitmap);
        return S_OK;
    }

private:
    D2D1_PIXEL_FORMAT m_Format;
    ComPtr<Bitmap> m_Bitmap;
};

HRESULT PixelSide(float dips, float dpi, UINT32* pixels)
{
    if (!std::isfinite(dips) || dips < 0.f) return E_INVALIDARG;
    const double side = std::ceil(double(dips) * dpi / D2D1_DEFAULT_DPI);
    if (side > kMaxTextureSide) return D2DERR_MAX_TEXTURE_SIZE_EXCEEDED;
    *pixels = std::max<UINT32>(1, static_cast<UINT32>(side));
    return S_OK;
}

// Settles the pixel size and DPI of a compatible target from what was asked.
HRESULT CompatibleSize(const DrawingContext& parent, const D2D1_SIZE_F* size, const D2D1_SIZE_U* pixelSize,
    D2D1_SIZE_U* pixels, float* dpiX, float* dpiY)
{
    *dpiX = parent.DpiX();
    *dpiY = parent.DpiY();
    if (pixelSize != nullptr) {
        *pixels = { std::max<UINT32>(1, pixelSize->width), std::max<UINT32>(1, pixelSize->height) };
        if (size != nullptr && size->width > 0.f && size->height > 0.f && std::isfinite(size->width + size->height)) {
            *dpiX = pixels->width * D2D1_DEFAULT_DPI / size->width;
            *dpiY = pixels->height * D2D1_DEFAULT_DPI / size->height;
        }
        return S_OK;
    }
    const D2D1_SIZE_F dips = size != nullptr ? *size : parent.Size();
    const HRESULT hr = PixelSide(dips.width, *dpiX, &pixels->width);
    return FAILED(hr) ? hr : PixelSide(dips.height, *dpiY, &pixels->height);
}

} // namespace

HRESULT CreateStopCollection(ID2D1Factory* factory, const D2D1_GRADIENT_STOP* stops, UINT32 count,
    D2D1_EXTEND_MODE extendMode, ID2D1GradientStopCollection** collection)
{
    if (collection == nullptr) return E_POINTER;
    *collection = nullptr;
    if (stops == nullptr && count > 0) return E_INVALIDARG;
    *collection = new GradientStops(factory, stops, count, extendMode);
    return S_OK;
}

HRESULT CreateCompatibleTarget(ID2D1Factory* factory, const DrawingContext& parent, const D2D1_SIZE_F* desiredSize,
    const D2D1_SIZE_U* desiredPixelSize, const D2D1_PIXEL_FORMAT* desiredFormat, ID2D1BitmapRenderTarget** target)
{
    if (target == nullptr) return E_POINTER;
    *target = nullptr;
    D2D1_PIXEL_FORMAT format = desiredFormat != nullptr ? *desiredFormat : D2D1_PIXEL_FORMAT {};
    cairo_format_t cairoFormat;
    D2D1_SIZE_U pixels;
    float dpiX, dpiY;
    cairo_surface_t* surface;
    HRESULT hr = ResolvePixelFormat(&format, &cairoFormat);
    if (SUCCEEDED(hr)) hr = CompatibleSize(parent, desiredSize, desiredPixelSize, &pixels, &dpiX, &dpiY);
    if (SUCCEEDED(hr)) hr = CreateSurface(pixels, cairoFormat, &surface);
    if (FAILED(hr)) return hr;
    *target = new BitmapRenderTarget(factory, surface, format, dpiX, dpiY);
    return S_OK;
}

} // namespace KUV::Gfx::Cairo
