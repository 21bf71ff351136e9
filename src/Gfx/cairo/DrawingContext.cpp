#include "Gfx/cairo/DrawingContext.h"

#include <algorithm>
#include <cmath>

#include "Gfx/cairo/Affine.h"
#include "Gfx/cairo/Bounds.h"
#include "Gfx/cairo/Brushes.h"
#include "Gfx/cairo/Geometry.h"

namespace CairoGfx {

namespace {

// Wider device-space strokes cover nothing more on any target we make, yet would make cairo
// build pens with millions of vertices.
constexpr double kMaxDeviceStrokeWidth = 1e6;

} // namespace

DrawingContext::DrawingContext(cairo_surface_t* surface, float dpiX, float dpiY)
    : m_Surface(surface)
    , m_DpiX(dpiX)
    , m_DpiY(dpiY)
{
    SetTransform(D2D1::IdentityMatrix());
    ResetContext();
}

DrawingContext::~DrawingContext()
{
    cairo_destroy(m_Cr);
    cairo_surface_destroy(m_Surface);
}

void DrawingContext::ResetContext()
{
    if (m_Cr != nullptr) cairo_destroy(m_Cr);
    m_Cr = cairo_create(m_Surface);
    cairo_set_antialias(
        m_Cr, m_Antialias == D2D1_ANTIALIAS_MODE_ALIASED ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_DEFAULT);
    cairo_set_line_cap(m_Cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(m_Cr, CAIRO_LINE_JOIN_MITER);
    cairo_set_miter_limit(m_Cr, kCairoMiterLimit);
}

void DrawingContext::ReplaceSurface(cairo_surface_t* surface)
{
    cairo_destroy(m_Cr);
    m_Cr = nullptr;
    cairo_surface_destroy(m_Surface);
    m_Surface = surface;
    ResetContext();
}

void DrawingContext::Record(HRESULT hr)
{
    if (SUCCEEDED(m_Error)) m_Error = hr;
}

void DrawingContext::BeginDraw()
{
    if (m_Drawing) Record(D2DERR_WRONG_STATE);
    m_Drawing = true;
}

HRESULT DrawingContext::EndDraw()
{
    if (!m_Drawing) return D2DERR_WRONG_STATE;
    m_Drawing = false;
    cairo_surface_flush(m_Surface);
    const HRESULT hr = m_Error;
    m_Error = S_OK;
    return hr;
}

void DrawingContext::SetTransform(const D2D1_MATRIX_3X2_F& transform)
{
    m_Transform = transform;
    m_Device = ToCairo(transform, m_DpiX / 96.0, m_DpiY / 96.0);
    // A singular or non-finite matrix would put cairo in a permanent error state: such
    // primitives are skipped instead.
    m_TransformUsable = IsUsable(m_Device);
}

void DrawingContext::SetAntialiasMode(D2D1_ANTIALIAS_MODE mode)
{
    m_Antialias = mode == D2D1_ANTIALIAS_MODE_ALIASED ? mode : D2D1_ANTIALIAS_MODE_PER_PRIMITIVE;
    cairo_set_antialias(
        m_Cr, m_Antialias == D2D1_ANTIALIAS_MODE_ALIASED ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_DEFAULT);
}

D2D1_SIZE_U DrawingContext::PixelSize() const
{
    return { static_cast<UINT32>(cairo_image_surface_get_width(m_Surface)),
        static_cast<UINT32>(cairo_image_surface_get_height(m_Surface)) };
}

D2D1_SIZE_F DrawingContext::Size() const
{
    const D2D1_SIZE_U pixels = PixelSize();
    return { pixels.width * 96.f / m_DpiX, pixels.height * 96.f / m_DpiY };
}

bool DrawingContext::BeginPrimitive()
{
    if (!m_Drawing || !m_TransformUsable) return false;
    cairo_set_matrix(m_Cr, &m_Device);
    return true;
}

void DrawingContext::EndPrimitive()
{
    if (cairo_status(m_Cr) != CAIRO_STATUS_SUCCESS) ResetContext();
}

void DrawingContext::AppendPath(const cairo_path_t& path)
{
    cairo_new_path(m_Cr);
    cairo_append_path(m_Cr, &path);
}

void DrawingContext::Clear(const D2D1_COLOR_F* color)
{
    const D2D1_COLOR_F c = color != nullptr ? *color : D2D1_COLOR_F { 0, 0, 0, 0 };
    if (!m_Drawing || !IsFinite(c)) return;
    cairo_set_operator(m_Cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(m_Cr, std::clamp(c.r, 0.f, 1.f), std::clamp(c.g, 0.f, 1.f), std::clamp(c.b, 0.f, 1.f),
        std::clamp(c.a, 0.f, 1.f));
    cairo_paint(m_Cr);
    cairo_set_operator(m_Cr, CAIRO_OPERATOR_OVER);
    EndPrimitive();
}

void DrawingContext::FillGeometry(ID2D1Geometry* geometry, ID2D1Brush* brush, ID2D1Brush* opacityBrush)
{
    const PathData* data = PathDataOf(geometry);
    if (data == nullptr || !data->HasFigures() || !data->IsFinite() || !BeginPrimitive()) return;
    cairo_pattern_t* paint = PatternOf(brush);
    cairo_pattern_t* opacity = opacityBrush != nullptr ? PatternOf(opacityBrush) : nullptr;
    if (paint == nullptr || (opacityBrush != nullptr && opacity == nullptr)) return;
    cairo_set_source(m_Cr, paint);
    AppendPath(data->FillPath());
    cairo_set_fill_rule(m_Cr, data->FillRule());
    if (opacity == nullptr)
        cairo_fill(m_Cr);
    else
        PaintClipped(opacity, 1.0);
    EndPrimitive();
}

void DrawingContext::DrawGeometry(ID2D1Geometry* geometry, ID2D1Brush* brush, float strokeWidth)
{
    const PathData* data = PathDataOf(geometry);
    if (data == nullptr || !data->HasFigures() || !data->IsFinite()) return;
    if (!(strokeWidth > 0.f) || !std::isfinite(strokeWidth) || !BeginPrimitive()) return;
    cairo_pattern_t* paint = PatternOf(brush);
    if (paint == nullptr) return;
    cairo_set_source(m_Cr, paint);
    cairo_set_line_width(m_Cr, std::min<double>(strokeWidth, kMaxDeviceStrokeWidth / MaxStretch(m_Device)));
    AppendPath(data->StrokePath());
    cairo_stroke(m_Cr);
    EndPrimitive();
}

} // namespace CairoGfx
