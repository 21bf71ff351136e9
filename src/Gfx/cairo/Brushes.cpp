#include "Gfx/cairo/Brushes.h"

#include <algorithm>
#include <cmath>

#include "Gfx/cairo/Affine.h"
#include "Gfx/cairo/GradientStops.h"
#include "Gfx/cairo/PathData.h"

namespace KUV::Gfx::Cairo {

namespace {

// How close to the ellipse edge a focal point may come: on or beyond the edge cairo would leave
// pixels unpainted, where Direct2D paints them all.
constexpr double kMaxFocalDistance = 0.999;

cairo_pattern_t* SolidPattern(const D2D1_COLOR_F& c, double opacity)
{
    if (!IsFinite(c)) return nullptr;
    return cairo_pattern_create_rgba(std::clamp(c.r, 0.f, 1.f), std::clamp(c.g, 0.f, 1.f), std::clamp(c.b, 0.f, 1.f),
        std::clamp(c.a, 0.f, 1.f) * opacity);
}

// The focal point in unit-circle space, moved just inside the circle when on or beyond it.
Point FocalPoint(double x, double y)
{
    const double distance = std::hypot(x, y);
    if (distance <= kMaxFocalDistance) return { x, y };
    return { x * kMaxFocalDistance / distance, y * kMaxFocalDistance / distance };
}

class SolidBrush : public Brush<ID2D1SolidColorBrush> {
public:
    SolidBrush(ID2D1Factory* factory, const D2D1_COLOR_F& color, const D2D1_BRUSH_PROPERTIES* properties)
        : Brush(factory, properties)
        , m_Color(color)
    {
    }
    D2D1_COLOR_F GetColor() const override { return m_Color; }

private:
    cairo_pattern_t* Build(double opacity, cairo_matrix_t*) const override { return SolidPattern(m_Color, opacity); }

    D2D1_COLOR_F m_Color;
};

// A gradient brush keeps its shape and shares its stop collection with whoever else uses it.
template <class Interface, class Gradient> class GradientBrush : public Brush<Interface> {
public:
    GradientBrush(
        ID2D1Factory* factory, const Gradient& gradient, const D2D1_BRUSH_PROPERTIES* properties, GradientStops* stops)
        : Brush<Interface>(factory, properties)
        , m_Gradient(gradient)
        , m_Stops(Retain(stops))
    {
    }

protected:
    const Gradient m_Gradient;
    const ComPtr<GradientStops> m_Stops;
};

class LinearBrush : public GradientBrush<ID2D1LinearGradientBrush, D2D1_LINEAR_GRADIENT_BRUSH_PROPERTIES> {
public:
    using GradientBrush::GradientBrush;

private:
    cairo_pattern_t* Build(double opacity, cairo_matrix_t*) const override
    {
        const D2D1_POINT_2F a = m_Gradient.startPoint, b = m_Gradient.endPoint;
        if (m_Stops->Empty() || !std::isfinite(double(a.x) + a.y + b.x + b.y)) return nullptr;
        // With no direction to spread along, the gradient shows its final colour.
        if (a.x == b.x && a.y == b.y) return SolidPattern(m_Stops->LastColor(), opacity);
        cairo_pattern_t* pattern = cairo_pattern_create_linear(a.x, a.y, b.x, b.y);
        m_Stops->AddTo(pattern, opacity);
        return pattern;
    }
};

class RadialBrush : public GradientBrush<ID2D1RadialGradientBrush, D2D1_RADIAL_GRADIENT_BRUSH_PROPERTIES> {
public:
    using GradientBrush::GradientBrush;

private:
    // Drawn as a circle of radius rx about the origin, the y axis scaled to make the ellipse
    // one. Keeping the pattern near the scale of user space keeps the fixed-point matrix cairo
    // hands to pixman precise, so that a gradient comes out the same whichever part of the
    // target a draw covers.
    cairo_pattern_t* Build(double opacity, cairo_matrix_t* brushToPattern) const override
    {
        const auto& g = m_Gradient;
        const double rx = std::abs(g.radiusX), ry = std::abs(g.radiusY);
        const D2D1_POINT_2F offset = g.gradientOriginOffset;
        if (m_Stops->Empty() || !std::isfinite(g.center.x + g.center.y + rx + ry + offset.x + offset.y)) return nullptr;
        if (rx == 0 || ry == 0) return SolidPattern(m_Stops->LastColor(), opacity);
        const Point focus = FocalPoint(offset.x / rx, offset.y / ry);
        cairo_matrix_init(brushToPattern, 1, 0, 0, rx / ry, -g.center.x, -g.center.y * rx / ry);
        cairo_pattern_t* pattern = cairo_pattern_create_radial(focus.x * rx, focus.y * rx, 0, 0, 0, rx);
        m_Stops->AddTo(pattern, opacity);
        return pattern;
    }
};

// A new gradient brush of kind Made; E_INVALIDARG for stops that this layer did not make.
template <class Made, class Gradient, class Interface>
HRESULT CreateGradientBrush(ID2D1Factory* factory, const Gradient& gradient, const D2D1_BRUSH_PROPERTIES* properties,
    ID2D1GradientStopCollection* stops, Interface** brush)
{
    if (brush == nullptr) return E_POINTER;
    *brush = nullptr;
    GradientStops* collection = GradientStopsOf(stops);
    if (collection == nullptr) return E_INVALIDARG;
    *brush = new Made(factory, gradient, properties, collection);
    return S_OK;
}

} // namespace

HRESULT CreateSolidBrush(ID2D1Factory* factory, const D2D1_COLOR_F& color, const D2D1_BRUSH_PROPERTIES* properties,
    ID2D1SolidColorBrush** brush)
{
    if (brush == nullptr) return E_POINTER;
    *brush = new SolidBrush(factory, color, properties);
    return S_OK;
}

HRESULT CreateLinearBrush(ID2D1Factory* factory, const D2D1_LINEAR_GRADIENT_BRUSH_PROPERTIES& gradient,
    const D2D1_BRUSH_PROPERTIES* properties, ID2D1GradientStopCollection* stops, ID2D1LinearGradientBrush** brush)
{
    return CreateGradientBrush<LinearBrush>(factory, gradient, properties, stops, brush);
}

HRESULT CreateRadialBrush(ID2D1Factory* factory, const D2D1_RADIAL_GRADIENT_BRUSH_PROPERTIES& gradient,
    const D2D1_BRUSH_PROPERTIES* properties, ID2D1GradientStopCollection* stops, ID2D1RadialGradientBrush** brush)
{
    return CreateGradientBrush<RadialBrush>(factory, gradient, properties, stops, brush);
}

} // namespace KUV::Gfx::Cairo
