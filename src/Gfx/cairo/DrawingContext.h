// The drawing state of a render target over one cairo image surface.
#pragma once

#include <cairo.h>

#include <memory>

#include "Gfx/D2D1.h"
#include "Gfx/cairo/Primitive.h"
#include "Gfx/cairo/Recording.h"

namespace KUV::Gfx::Cairo {

class Bitmap;
class PathData;

class DrawingContext {
public:
    // Takes over the reference to surface.
    DrawingContext(cairo_surface_t* surface, float dpiX, float dpiY);
    ~DrawingContext();
    DrawingContext(const DrawingContext&) = delete;
    DrawingContext& operator=(const DrawingContext&) = delete;

    void BeginDraw();
    HRESULT EndDraw();
    void Clear(const D2D1_COLOR_F* color);
    void FillGeometry(ID2D1Geometry* geometry, ID2D1Brush* brush, ID2D1Brush* opacityBrush);
    void DrawGeometry(ID2D1Geometry* geometry, ID2D1Brush* brush, float strokeWidth);
    void FillOpacityMask(
        ID2D1Bitmap* mask, ID2D1Brush* brush, const D2D1_RECT_F* destination, const D2D1_RECT_F* source);
    void DrawBitmap(ID2D1Bitmap* bitmap, const D2D1_RECT_F* destination, float opacity,
        D2D1_BITMAP_INTERPOLATION_MODE mode, const D2D1_RECT_F* source);

    void SetTransform(const D2D1_MATRIX_3X2_F& transform);
    const D2D1_MATRIX_3X2_F& Transform() const { return m_Transform; }
    void SetAntialiasMode(D2D1_ANTIALIAS_MODE mode);
    D2D1_ANTIALIAS_MODE AntialiasMode() const { return m_Antialias; }

    D2D1_SIZE_F Size() const;
    D2D1_SIZE_U PixelSize() const;
    float DpiX() const { return m_DpiX; }
    float DpiY() const { return m_DpiY; }
    cairo_surface_t* Surface() const { return m_Surface; }
    // Draws into surface from now on (taking over its reference); the old one is released.
    void ReplaceSurface(cairo_surface_t* surface);

    // From the next BeginDraw on, primitives wait until the pixels are needed and are then
    // drawn on as many threads as the drawing-thread count says.
    void AllowDeferring() { m_MayDefer = true; }
    // Draws what is pending, so that the surface shows everything asked for so far.
    void DrawPending() const;

private:
    // Whether a primitive may draw now.
    bool MayDraw() const;
    // A primitive placed with the current transform and antialias mode.
    Primitive Placed(Primitive::Kind kind) const;
    // Draws p now, or keeps it for later while deferring.
    void Submit(Primitive p);
    void ResetContext();
    void Record(HRESULT hr);
    void StartDeferring(unsigned threads);
    void StopDeferring();
    static void DrawPendingReadersOf(cairo_surface_t* surface);

    cairo_surface_t* m_Surface;
    // Drawing what is pending may leave a fresh context here.
    mutable cairo_t* m_Cr = nullptr;
    D2D1_MATRIX_3X2_F m_Transform = D2D1::IdentityMatrix();
    cairo_matrix_t m_Device;
    bool m_TransformUsable = true;
    D2D1_ANTIALIAS_MODE m_Antialias = D2D1_ANTIALIAS_MODE_PER_PRIMITIVE;
    bool m_Drawing = false;
    HRESULT m_Error = S_OK;
    float m_DpiX;
    float m_DpiY;
    bool m_MayDefer = false;
    bool m_Deferring = false;
    unsigned m_Threads = 1;
    std::unique_ptr<Recording> m_Recording;
};

} // namespace KUV::Gfx::Cairo
