#include "Gfx/cairo/Bitmap.h"

#include <cmath>
#include <cstring>

#include "Gfx/cairo/Affine.h"

namespace KUV::Gfx::Cairo {

Bitmap::Bitmap(ID2D1Factory* factory, cairo_surface_t* surface, D2D1_PIXEL_FORMAT format, float dpiX, float dpiY)
    : Resource(factory)
    , m_Surface(surface)
    , m_Format(format)
    , m_DpiX(dpiX)
    , m_DpiY(dpiY)
{
}

Bitmap::~Bitmap()
{
    cairo_surface_destroy(m_Surface);
}

cairo_pattern_t* Bitmap::NewPattern(
    const cairo_matrix_t& userToPixels, cairo_filter_t filter, cairo_extend_t extend) const
{
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(m_Surface);
    cairo_pattern_set_matrix(pattern, &userToPixels);
    cairo_pattern_set_filter(pattern, filter);
    cairo_pattern_set_extend(pattern, extend);
    return pattern;
}

D2D1_SIZE_U Bitmap::GetPixelSize() const
{
    return { static_cast<UINT32>(cairo_image_surface_get_width(m_Surface)),
        static_cast<UINT32>(cairo_image_surface_get_height(m_Surface)) };
}

D2D1_SIZE_F Bitmap::GetSize() const
{
    return DipSize(GetPixelSize(), m_DpiX, m_DpiY);
}

Bitmap* BitmapOf(ID2D1Bitmap* bitmap)
{
    return dynamic_cast<Bitmap*>(bitmap);
}

HRESULT ResolvePixelFormat(D2D1_PIXEL_FORMAT* format, cairo_format_t* cairoFormat)
{
    if (format->format == DXGI_FORMAT_UNKNOWN) format->format = DXGI_FORMAT_B8G8R8A8_UNORM;
    if (format->alphaMode == D2D1_ALPHA_MODE_UNKNOWN) format->alphaMode = D2D1_ALPHA_MODE_PREMULTIPLIED;
    const D2D1_ALPHA_MODE alpha = format->alphaMode;
    if (format->format == DXGI_FORMAT_A8_UNORM && alpha != D2D1_ALPHA_MODE_IGNORE) {
        *cairoFormat = CAIRO_FORMAT_A8;
        return S_OK;
    }
    if (format->format == DXGI_FORMAT_B8G8R8A8_UNORM && alpha == D2D1_ALPHA_MODE_PREMULTIPLIED) {
        *cairoFormat = CAIRO_FORMAT_ARGB32;
        return S_OK;
    }
    if (format->format == DXGI_FORMAT_B8G8R8A8_UNORM && alpha == D2D1_ALPHA_MODE_IGNORE) {
        *cairoFormat = CAIRO_FORMAT_RGB24;
        return S_OK;
    }
    return D2DERR_UNSUPPORTED_PIXEL_FORMAT;
}

HRESULT CreateSurface(D2D1_SIZE_U size, cairo_format_t format, cairo_surface_t** surface)
{
    *surface = nullptr;
    if (size.width > kMaxTextureSide || size.height > kMaxTextureSide) return D2DERR_MAX_TEXTURE_SIZE_EXCEEDED;
    cairo_surface_t* created = cairo_image_surface_create(format, int(size.width), int(size.height));
    if (cairo_surface_status(created) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(created);
        return E_OUTOFMEMORY;
    }
    *surface = created;
    return S_OK;
}

HRESULT ResolveDpi(float dpiX, float dpiY, float fallback, float* outX, float* outY)
{
    if (dpiX == 0.f && dpiY == 0.f) {
        *outX = *outY = fallback;
        return S_OK;
    }
    if (!(dpiX > 0.f) || !(dpiY > 0.f) || !std::isfinite(dpiX) || !std::isfinite(dpiY)) return E_INVALIDARG;
    *outX = dpiX;
    *outY = dpiY;
    return S_OK;
}

namespace {

int BytesPerPixel(cairo_format_t format)
{
    return format == CAIRO_FORMAT_A8 ? 1 : 4;
}

void CopyRows(cairo_surface_t* surface, const void* pixels, UINT32 pitch, cairo_format_t format)
{
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const int height = cairo_image_surface_get_height(surface);
    const std::size_t rowBytes = std::size_t(cairo_image_surface_get_width(surface)) * BytesPerPixel(format);
    for (int y = 0; y < height && rowBytes > 0; ++y)
        std::memcpy(
            data + std::size_t(y) * stride, static_cast<const BYTE*>(pixels) + std::size_t(y) * pitch, rowBytes);
    cairo_surface_mark_dirty(surface);
}

} // namespace

HRESULT CreateBitmapFromMemory(ID2D1Factory* factory, D2D1_SIZE_U size, const void* pixels, UINT32 pitch,
    const D2D1_BITMAP_PROPERTIES& properties, ID2D1Bitmap** bitmap)
{
    if (bitmap == nullptr) return E_POINTER;
    *bitmap = nullptr;
    D2D1_PIXEL_FORMAT format = properties.pixelFormat;
    cairo_format_t cairoFormat;
    float dpiX, dpiY;
    HRESULT hr = ResolvePixelFormat(&format, &cairoFormat);
    if (SUCCEEDED(hr)) hr = ResolveDpi(properties.dpiX, properties.dpiY, D2D1_DEFAULT_DPI, &dpiX, &dpiY);
    if (FAILED(hr)) return hr;
    if (pixels != nullptr && pitch < std::uint64_t(size.width) * BytesPerPixel(cairoFormat)) return E_INVALIDARG;
    cairo_surface_t* surface;
    if (FAILED(hr = CreateSurface(size, cairoFormat, &surface))) return hr;
    if (pixels != nullptr) CopyRows(surface, pixels, pitch, cairoFormat);
    *bitmap = new Bitmap(factory, surface, format, dpiX, dpiY);
    return S_OK;
}

} // namespace KUV::Gfx::Cairo
