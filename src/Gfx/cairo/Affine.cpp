#include "Gfx/cairo/Affine.h"

#include <cmath>
#include <limits>

namespace KUV::Gfx::Cairo {

cairo_matrix_t ToCairo(const D2D1_MATRIX_3X2_F& m)
{
    cairo_matrix_t c;
    cairo_matrix_init(&c, m._11, m._12, m._21, m._22, m._31, m._32);
    return c;
}

cairo_matrix_t ToCairo(const D2D1_MATRIX_3X2_F& m, double scaleX, double scaleY)
{
    cairo_matrix_t c;
    cairo_matrix_init(
        &c, m._11 * scaleX, m._12 * scaleY, m._21 * scaleX, m._22 * scaleY, m._31 * scaleX, m._32 * scaleY);
    return c;
}

cairo_matrix_t ToCairoOrIdentity(const D2D1_MATRIX_3X2_F* m)
{
    if (m != nullptr) return ToCairo(*m);
    cairo_matrix_t c;
    cairo_matrix_init_identity(&c);
    return c;
}

bool IsFinite(const cairo_matrix_t& m)
{
    return std::isfinite(m.xx) && std::isfinite(m.yx) && std::isfinite(m.xy) && std::isfinite(m.yy)
        && std::isfinite(m.x0) && std::isfinite(m.y0);
}

bool IsUsable(const cairo_matrix_t& m)
{
    if (!IsFinite(m)) return false;
    const double det = m.xx * m.yy - m.yx * m.xy;
    if (det == 0.0 || !std::isfinite(det)) return false;
    // cairo derives the inverse while drawing; it must be finite too.
    return std::isfinite(1.0 / det) && std::isfinite(m.yy / det) && std::isfinite(m.xx / det)
        && std::isfinite(m.xy / det) && std::isfinite(m.yx / det);
}

double MaxStretch(const cairo_matrix_t& m)
{
    // The largest singular value of the linear part.
    const double a = m.xx * m.xx + m.yx * m.yx, b = m.xx * m.xy + m.yx * m.yy, d = m.xy * m.xy + m.yy * m.yy;
    const double mean = (a + d) / 2, spread = std::sqrt(((a - d) / 2) * ((a - d) / 2) + b * b);
    return std::sqrt(mean + spread);
}

namespace {

double Snapped(double value, double step)
{
    return std::round(value / step) * step;
}

} // namespace

cairo_matrix_t ExactOnDevice(const cairo_matrix_t& userToPattern, const cairo_matrix_t& device)
{
    // cairo fixes pixman's rounded matrix at the centre of each draw's clipped extents; with
    // linear entries on a grid of 2^-15 and offsets on one of 2^-16, every half-pixel centre
    // maps exactly and the fix-up is the same everywhere.
    cairo_matrix_t deviceToUser = device, deviceToPattern;
    if (cairo_matrix_invert(&deviceToUser) != CAIRO_STATUS_SUCCESS) return userToPattern;
    cairo_matrix_multiply(&deviceToPattern, &deviceToUser, &userToPattern);
    constexpr double linear = 1.0 / 32768, offset = 1.0 / 65536;
    cairo_matrix_t exact;
    cairo_matrix_init(&exact, Snapped(deviceToPattern.xx, linear), Snapped(deviceToPattern.yx, linear),
        Snapped(deviceToPattern.xy, linear), Snapped(deviceToPattern.yy, linear), Snapped(deviceToPattern.x0, offset),
        Snapped(deviceToPattern.y0, offset));
    if (!IsUsable(exact)) return userToPattern;
    cairo_matrix_t result;
    cairo_matrix_multiply(&result, &device, &exact);
    return IsUsable(result) ? result : userToPattern;
}

double ToleranceOrDefault(float tolerance)
{
    return tolerance > 0.f && std::isfinite(tolerance) ? tolerance : D2D1_DEFAULT_FLATTENING_TOLERANCE;
}

bool IsFinite(const D2D1_COLOR_F& color)
{
    return std::isfinite(color.r) && std::isfinite(color.g) && std::isfinite(color.b) && std::isfinite(color.a);
}

bool IsFinite(const D2D1_RECT_F& rect)
{
    return std::isfinite(rect.left) && std::isfinite(rect.top) && std::isfinite(rect.right)
        && std::isfinite(rect.bottom);
}

D2D1_RECT_F EmptyBounds()
{
    const float inf = std::numeric_limits<float>::infinity();
    return { inf, inf, -inf, -inf };
}

} // namespace KUV::Gfx::Cairo
