#include <algorithm>
#include <cmath>

#include "Gfx/cairo/Affine.h"
#include "Gfx/cairo/Bitmap.h"
#include "Gfx/cairo/Brushes.h"
#include "Gfx/cairo/DrawingContext.h"

namespace CairoGfx {

namespace {

bool WellOrdered(const D2D1_RECT_F& r)
{
    return IsFinite(r) && r.left <= r.right && r.top <= r.bottom;
}

// Maps user space so that source (in the bitmap's DIPs) lands on destination, in bitmap pixels.
bool SourceMapping(
    const Bitmap& bitmap, const D2D1_RECT_F& destination, const D2D1_RECT_F& source, cairo_matrix_t* userToPixels)
{
    const double kx = bitmap.DpiX() / 96.0, ky = bitmap.DpiY() / 96.0;
    const double sx = (source.right - source.left) * kx / (double(destination.right) - destination.left);
    const double sy = (source.bottom - source.top) * ky / (double(destination.bottom) - destination.top);
    cairo_matrix_init(
        userToPixels, sx, 0, 0, sy, source.left * kx - destination.left * sx, source.top * ky - destination.top * sy);
    return IsUsable(*userToPixels);
}

void AddRectangle(cairo_t* cr, const D2D1_RECT_F& r)
{
    cairo_new_path(cr);
    cairo_rectangle(cr, r.left, r.top, double(r.right) - r.left, double(r.bottom) - r.top);
}

} // namespace

// Settles the destination area and points the bitmap's pattern at it; false when nothing shows.
bool DrawingContext::PlaceBitmap(
    Bitmap* bitmap, const D2D1_RECT_F* destination, const D2D1_RECT_F* source, D2D1_RECT_F* area)
{
    const D2D1_SIZE_F size = bitmap->GetSize();
    const D2D1_RECT_F src = source != nullptr ? *source : D2D1_RECT_F { 0, 0, size.width, size.height };
    if (!WellOrdered(src)) return false;
    *area = destination != nullptr ? *destination : D2D1_RECT_F { 0, 0, src.right - src.left, src.bottom - src.top };
    cairo_matrix_t userToPixels;
    if (!WellOrdered(*area) || !SourceMapping(*bitmap, *area, src, &userToPixels)) return false;
    cairo_pattern_set_matrix(bitmap->Pattern(), &userToPixels);
    return true;
}

void DrawingContext::DrawBitmap(ID2D1Bitmap* bitmap, const D2D1_RECT_F* destination, float opacity,
    D2D1_BITMAP_INTERPOLATION_MODE mode, const D2D1_RECT_F* source)
{
    Bitmap* image = BitmapOf(bitmap);
    D2D1_RECT_F area;
    if (image == nullptr || !std::isfinite(opacity) || !BeginPrimitive()) return;
    if (!PlaceBitmap(image, destination, source, &area)) return;
    cairo_pattern_t* pattern = image->Pattern();
    cairo_pattern_set_filter(pattern,
        mode == D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_BILINEAR);
    // Samples past the bitmap's edge repeat the edge, as Direct2D's clamped sampling does.
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_set_source(m_Cr, pattern);
    AddRectangle(m_Cr, area);
    if (opacity >= 1.f)
        cairo_fill(m_Cr);
    else
        PaintClipped(nullptr, std::max(0.f, opacity));
    EndPrimitive();
}

void DrawingContext::FillOpacityMask(
    ID2D1Bitmap* mask, ID2D1Brush* brush, const D2D1_RECT_F* destination, const D2D1_RECT_F* source)
{
    // Direct2D refuses opacity masks outside aliased mode and reports it at EndDraw.
    if (m_Drawing && m_Antialias != D2D1_ANTIALIAS_MODE_ALIASED) return Record(D2DERR_WRONG_STATE);
    Bitmap* image = BitmapOf(mask);
    D2D1_RECT_F area;
    if (image == nullptr || !BeginPrimitive() || !PlaceBitmap(image, destination, source, &area)) return;
    cairo_pattern_t* paint = PatternOf(brush);
    if (paint == nullptr) return;
    cairo_pattern_t* coverage = image->Pattern();
    cairo_pattern_set_filter(coverage, CAIRO_FILTER_BILINEAR);
    cairo_pattern_set_extend(coverage, CAIRO_EXTEND_NONE);
    cairo_set_source(m_Cr, paint);
    if (destination == nullptr && source == nullptr) {
        cairo_mask(m_Cr, coverage);
    } else {
        // Filtering must not spill coverage past the destination.
        AddRectangle(m_Cr, area);
        PaintClipped(coverage, 1.0);
    }
    EndPrimitive();
}

// Paints the source inside the current path, through mask when given, else at alpha.
void DrawingContext::PaintClipped(cairo_pattern_t* mask, double alpha)
{
    cairo_save(m_Cr);
    cairo_clip(m_Cr);
    if (mask != nullptr)
        cairo_mask(m_Cr, mask);
    else
        cairo_paint_with_alpha(m_Cr, alpha);
    cairo_restore(m_Cr);
}

} // namespace CairoGfx
