#include "Gfx/cairo/GradientStops.h"

#include <algorithm>
#include <cmath>

#include "Gfx/cairo/Affine.h"

namespace KUV::Gfx::Cairo {

namespace {

float Clamp01(float v)
{
    return std::clamp(v, 0.f, 1.f);
}

D2D1_COLOR_F Mix(const D2D1_COLOR_F& a, const D2D1_COLOR_F& b, float t)
{
    return { a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t };
}

// The colour at position t of stops sorted by position, as the gradient interpolates it.
D2D1_COLOR_F ColorAt(const std::vector<D2D1_GRADIENT_STOP>& stops, float t)
{
    if (t <= stops.front().position) return stops.front().color;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        const D2D1_GRADIENT_STOP &a = stops[i - 1], &b = stops[i];
        if (t <= b.position)
            return b.position > a.position ? Mix(a.color, b.color, (t - a.position) / (b.position - a.position))
                                           : b.color;
    }
    return stops.back().color;
}

std::vector<D2D1_GRADIENT_STOP> UsableSorted(const D2D1_GRADIENT_STOP* stops, UINT32 count)
{
    std::vector<D2D1_GRADIENT_STOP> sorted;
    for (UINT32 i = 0; stops != nullptr && i < count; ++i) {
        D2D1_GRADIENT_STOP stop = stops[i];
        if (!std::isfinite(stop.position) || !IsFinite(stop.color)) continue;
        stop.color = { Clamp01(stop.color.r), Clamp01(stop.color.g), Clamp01(stop.color.b), Clamp01(stop.color.a) };
        sorted.push_back(stop);
    }
    std::stable_sort(sorted.begin(), sorted.end(),
        [](const D2D1_GRADIENT_STOP& a, const D2D1_GRADIENT_STOP& b) { return a.position < b.position; });
    return sorted;
}

// Stops outside [0, 1] still shape the gradient inside it: replace them by the colours at the ends.
std::vector<D2D1_GRADIENT_STOP> WithinUnitRange(const std::vector<D2D1_GRADIENT_STOP>& sorted)
{
    if (sorted.empty()) return sorted;
    std::vector<D2D1_GRADIENT_STOP> result;
    if (sorted.front().position < 0.f) result.push_back({ 0.f, ColorAt(sorted, 0.f) });
    for (const D2D1_GRADIENT_STOP& stop : sorted)
        if (stop.position >= 0.f && stop.position <= 1.f) result.push_back(stop);
    if (sorted.back().position > 1.f) result.push_back({ 1.f, ColorAt(sorted, 1.f) });
    return result;
}

cairo_extend_t ToCairo(D2D1_EXTEND_MODE mode)
{
    if (mode == D2D1_EXTEND_MODE_WRAP) return CAIRO_EXTEND_REPEAT;
    if (mode == D2D1_EXTEND_MODE_MIRROR) return CAIRO_EXTEND_REFLECT;
    return CAIRO_EXTEND_PAD;
}

} // namespace

GradientStops::GradientStops(
    ID2D1Factory* factory, const D2D1_GRADIENT_STOP* stops, UINT32 count, D2D1_EXTEND_MODE extendMode)
    : Resource(factory)
    , m_Stops(WithinUnitRange(UsableSorted(stops, count)))
    , m_Count(count)
    , m_ExtendMode(extendMode)
{
}

void GradientStops::AddTo(cairo_pattern_t* pattern, double opacity) const
{
    for (const D2D1_GRADIENT_STOP& stop : m_Stops)
        cairo_pattern_add_color_stop_rgba(
            pattern, stop.position, stop.color.r, stop.color.g, stop.color.b, stop.color.a * opacity);
    cairo_pattern_set_extend(pattern, ToCairo(m_ExtendMode));
}

GradientStops* GradientStopsOf(ID2D1GradientStopCollection* collection)
{
    return dynamic_cast<GradientStops*>(collection);
}

} // namespace KUV::Gfx::Cairo
