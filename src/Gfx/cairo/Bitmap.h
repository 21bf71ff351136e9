// Bitmaps: cairo image surfaces with a size in device-independent pixels.
#pragma once

#include <cairo.h>

#include "Gfx/cairo/Resource.h"

namespace KUV::Gfx::Cairo {

class Bitmap : public Resource<ID2D1Bitmap> {
public:
    // Takes over the reference to surface.
    Bitmap(ID2D1Factory* factory, cairo_surface_t* surface, D2D1_PIXEL_FORMAT format, float dpiX, float dpiY);
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    D2D1_SIZE_F GetSize() const override;
    D2D1_SIZE_U GetPixelSize() const override;
    D2D1_PIXEL_FORMAT GetPixelFormat() const override { return m_Format; }

    float DpiX() const { return m_DpiX; }
    float DpiY() const { return m_DpiY; }
    cairo_surface_t* Surface() const { return m_Surface; }
    // A new pattern over the pixels, with userToPixels as its matrix.
    cairo_pattern_t* NewPattern(const cairo_matrix_t& userToPixels, cairo_filter_t filter, cairo_extend_t extend) const;

protected:
    ~Bitmap() override;

private:
    cairo_surface_t* m_Surface;
    D2D1_PIXEL_FORMAT m_Format;
    float m_DpiX;
    float m_DpiY;
};

// The bitmap behind an interface pointer, or null when it is not one of this layer's bitmaps.
Bitmap* BitmapOf(ID2D1Bitmap* bitmap);

// Settles unknown parts of a pixel format (B8G8R8A8, premultiplied) and finds its cairo format;
// D2DERR_UNSUPPORTED_PIXEL_FORMAT when there is none.
HRESULT ResolvePixelFormat(D2D1_PIXEL_FORMAT* format, cairo_format_t* cairoFormat);

// A cleared image surface, or an error for sizes beyond the texture limit or failed allocations.
HRESULT CreateSurface(D2D1_SIZE_U size, cairo_format_t format, cairo_surface_t** surface);

// DPI of a new bitmap or target: both zero means fallback; otherwise both must be positive and finite.
HRESULT ResolveDpi(float dpiX, float dpiY, float fallback, float* outX, float* outY);

HRESULT CreateBitmapFromMemory(ID2D1Factory* factory, D2D1_SIZE_U size, const void* pixels, UINT32 pitch,
    const D2D1_BITMAP_PROPERTIES& properties, ID2D1Bitmap** bitmap);

} // namespace KUV::Gfx::Cairo
