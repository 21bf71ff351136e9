#include "Gfx/cairo/DrawingContext.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Gfx/DrawingThreads.h"
#include "Gfx/cairo/Affine.h"
#include "Gfx/cairo/Bounds.h"
#include "Gfx/cairo/Brushes.h"
#include "Gfx/cairo/Geometry.h"

namespace KUV::Gfx::Cairo {

namespace {

// Wider device-space strokes cover nothing more on any target we make, yet would make cairo
// build pens with millions of vertices.
constexpr double kMaxDeviceStrokeWidth = 1e6;
// More primitives than a frame of any scene we know draws; beyond it they are drawn at once.
constexpr size_t kMaxPending = 1 << 16;

} // namespace

// The contexts of this thread that hold primitives not yet drawn.
thread_local std::vector<const DrawingContext*> t_Deferring;

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
    StopDeferring();
    cairo_destroy(m_Cr);
    cairo_surface_destroy(m_Surface);
}

void DrawingContext::ResetContext()
{
    if (m_Cr != nullptr) cairo_destroy(m_Cr);
    m_Cr = NewDrawingContext(m_Surface);
    cairo_set_antialias(
        m_Cr, m_Antialias == D2D1_ANTIALIAS_MODE_ALIASED ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_DEFAULT);
}

void DrawingContext::ReplaceSurface(cairo_surface_t* surface)
{
    // What was pending would land on pixels that are about to go.
    if (m_Recording) m_Recording->Clear();
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
    // Primitives pending elsewhere that show these pixels must show them as they are now.
    DrawPendingReadersOf(m_Surface);
    if (m_Drawing) Record(D2DERR_WRONG_STATE);
    m_Drawing = true;
    if (!m_Deferring && m_MayDefer) StartDeferring(GetDrawingThreads());
}

HRESULT DrawingContext::EndDraw()
{
    if (!m_Drawing) return D2DERR_WRONG_STATE;
    DrawPending();
    StopDeferring();
    m_Drawing = false;
    cairo_surface_flush(m_Surface);
    const HRESULT hr = m_Error;
    m_Error = S_OK;
    return hr;
}

void DrawingContext::StartDeferring(unsigned threads)
{
    if (threads <= 1) return;
    if (!m_Recording) m_Recording = std::make_unique<Recording>();
    m_Threads = threads;
    m_Deferring = true;
    t_Deferring.push_back(this);
}

void DrawingContext::StopDeferring()
{
    if (!m_Deferring) return;
    m_Deferring = false;
    std::erase(t_Deferring, this);
}

void DrawingContext::DrawPending() const
{
    if (m_Deferring && !m_Recording->Empty()) m_Recording->Replay(m_Cr, m_Threads);
}

void DrawingContext::DrawPendingReadersOf(cairo_surface_t* surface)
{
    for (const DrawingContext* context : t_Deferring)
        if (context->m_Recording->Reads(surface)) context->DrawPending();
}

void DrawingContext::SetTransform(const D2D1_MATRIX_3X2_F& transform)
{
    m_Transform = transform;
    m_Device = ToCairo(transform, PixelsPerDip(m_DpiX), PixelsPerDip(m_DpiY));
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
    return DipSize(PixelSize(), m_DpiX, m_DpiY);
}

bool DrawingContext::MayDraw() const
{
    return m_Drawing && m_TransformUsable;
}

Primitive DrawingContext::Placed(Primitive::Kind kind) const
{
    Primitive p(kind);
    p.SetPlacement(m_Device, m_Antialias);
    return p;
}

void DrawingContext::Submit(Primitive p)
{
    if (m_Deferring) {
        m_Recording->Add(
            std::move(p), cairo_image_surface_get_width(m_Surface), cairo_image_surface_get_height(m_Surface));
        // A caller that never ends its batch must not hold ever more memory.
        if (m_Recording->Size() >= kMaxPending) DrawPending();
        return;
    }
    p.Paint(m_Cr);
    // A primitive that still drove cairo into an error state gets a fresh context.
    if (cairo_status(m_Cr) != CAIRO_STATUS_SUCCESS) ResetContext();
}

void DrawingContext::Clear(const D2D1_COLOR_F* color)
{
    const D2D1_COLOR_F c = color != nullptr ? *color : D2D1_COLOR_F { 0, 0, 0, 0 };
    if (!m_Drawing || !IsFinite(c)) return;
    Primitive p = Placed(Primitive::Kind::Clear);
    p.SetPaint(cairo_pattern_create_rgba(std::clamp(c.r, 0.f, 1.f), std::clamp(c.g, 0.f, 1.f),
                   std::clamp(c.b, 0.f, 1.f), std::clamp(c.a, 0.f, 1.f)),
        nullptr);
    Submit(std::move(p));
}

void DrawingContext::FillGeometry(ID2D1Geometry* geometry, ID2D1Brush* brush, ID2D1Brush* opacityBrush)
{
    const PathData* data = PathDataOf(geometry);
    if (data == nullptr || !data->HasFigures() || !data->IsFinite() || !MayDraw()) return;
    cairo_pattern_t* paint = PatternOf(brush, m_Device);
    cairo_pattern_t* opacity = opacityBrush != nullptr ? PatternOf(opacityBrush, m_Device) : nullptr;
    if (paint == nullptr || (opacityBrush != nullptr && opacity == nullptr)) return;
    Primitive p = Placed(Primitive::Kind::Fill);
    p.SetPaint(cairo_pattern_reference(paint), opacity != nullptr ? cairo_pattern_reference(opacity) : nullptr);
    p.SetPath(geometry, data->FillPath(), data->FillRule());
    Submit(std::move(p));
}

void DrawingContext::DrawGeometry(ID2D1Geometry* geometry, ID2D1Brush* brush, float strokeWidth)
{
    const PathData* data = PathDataOf(geometry);
    if (data == nullptr || !data->HasFigures() || !data->IsFinite()) return;
    if (!(strokeWidth > 0.f) || !std::isfinite(strokeWidth) || !MayDraw()) return;
    cairo_pattern_t* paint = PatternOf(brush, m_Device);
    if (paint == nullptr) return;
    Primitive p = Placed(Primitive::Kind::Stroke);
    p.SetPaint(cairo_pattern_reference(paint), nullptr);
    p.SetLineWidth(std::min<double>(strokeWidth, kMaxDeviceStrokeWidth / MaxStretch(m_Device)));
    p.SetPath(geometry, data->StrokePath(), data->FillRule());
    Submit(std::move(p));
}

} // namespace KUV::Gfx::Cairo
