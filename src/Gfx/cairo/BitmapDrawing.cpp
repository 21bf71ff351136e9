#include <algorithm>
#include <cmath>

#include "Gfx/cairo/Affine.h"
#include "Gfx/cairo/Bitmap.h"
#include "Gfx/cairo/Brushes.h"
#include "Gfx/cairo/DrawingContext.h"

namespace KUV::Gfx::Cairo {

namespace {

bool WellOrdered(const D2D1_RECT_F& r)
{
    return IsFinite(r) && r.left <= r.right && r.top <= r.bottom;
}

// Maps user space so that source (in the bitmap's DIPs) lands on destination, in bitmap pixels.
bool SourceMapping(
    const Bitmap& bitmap, const D2D1_RECT_F& destination, const D2D1_RECT_F& source, cairo_matrix_t* userToPixels)
{
    const double kx = PixelsPerDip(bitmap.DpiX()), ky = PixelsPerDip(bitmap.DpiY());
    const double sx = (source.right - source.left) * kx / (double(destination.right) - destination.left);
    const double sy = (source.bottom - source.top) * ky / (double(destination.bottom) - destination.top);
    cairo_matrix_init(
        userToPixels, sx, 0, 0, sy, source.left * kx - destination.left * sx, source.top * ky - destination.top * sy);
    return IsUsable(*userToPixels);
}

// Settles the destination area and the mapping of the bitmap's pixels onto it; false when
// nothing shows.
bool PlaceBitmap(const Bitmap& bitmap, const D2D1_RECT_F* destination, const D2D1_RECT_F* source, D2D1_RECT_F* area,
    cairo_matrix_t* userToPixels)
{
    const D2D1_SIZE_F size = bitmap.GetSize();
    const D2D1_RECT_F src = source != nullptr ? *source : D2D1_RECT_F { 0, 0, size.width, size.height };
    if (!WellOrdered(src)) return false;
    *area = destination != nullptr ? *destination : D2D1_RECT_F { 0, 0, src.right - src.left, src.bottom - src.top };
    return WellOrdered(*area) && SourceMapping(bitmap, *area, src, userToPixels);
}

} // namespace

void DrawingContext::DrawBitmap(ID2D1Bitmap* bitmap, const D2D1_RECT_F* destination, float opacity,
    D2D1_BITMAP_INTERPOLATION_MODE mode, const D2D1_RECT_F* source)
{
    Bitmap* image = BitmapOf(bitmap);
    D2D1_RECT_F area;
    cairo_matrix_t userToPixels;
    if (image == nullptr || !std::isfinite(opacity) || !MayDraw()) return;
    if (!PlaceBitmap(*image, destination, source, &area, &userToPixels)) return;
    userToPixels = ExactOnDevice(userToPixels, m_Device);
    // Samples past the bitmap's edge repeat the edge, as Direct2D's clamped sampling does.
    cairo_pattern_t* pattern = image->NewPattern(userToPixels,
        mode == D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_BILINEAR,
        CAIRO_EXTEND_PAD);
    Primitive p = Placed(Primitive::Kind::Area);
    p.SetPaint(pattern, nullptr);
    p.SetArea(area, opacity >= 1.f ? 1.0 : std::max(0.f, opacity));
    p.SetReads(image->Surface());
    Submit(std::move(p));
}

void DrawingContext::FillOpacityMask(
    ID2D1Bitmap* mask, ID2D1Brush* brush, const D2D1_RECT_F* destination, const D2D1_RECT_F* source)
{
    // Direct2D refuses opacity masks outside aliased mode and reports it at EndDraw.
    if (m_Drawing && m_Antialias != D2D1_ANTIALIAS_MODE_ALIASED) return Record(D2DERR_WRONG_STATE);
    Bitmap* image = BitmapOf(mask);
    D2D1_RECT_F area;
    cairo_matrix_t userToPixels;
    if (image == nullptr || !MayDraw() || !PlaceBitmap(*image, destination, source, &area, &userToPixels)) return;
    cairo_pattern_t* paint = PatternOf(brush, m_Device);
    if (paint == nullptr) return;
    userToPixels = ExactOnDevice(userToPixels, m_Device);
    // Without a destination the coverage ends where the mask does; with one, filtering must
    // not spill coverage past it.
    const bool whole = destination == nullptr && source == nullptr;
    Primitive p = Placed(whole ? Primitive::Kind::Mask : Primitive::Kind::Area);
    p.SetPaint(
        cairo_pattern_reference(paint), image->NewPattern(userToPixels, CAIRO_FILTER_BILINEAR, CAIRO_EXTEND_NONE));
    p.SetArea(area, 1.0);
    p.SetReads(image->Surface());
    Submit(std::move(p));
}

} // namespace KUV::Gfx::Cairo
