// Conversions between Direct2D matrices and cairo's, and the checks that keep
// cairo contexts out of their permanent error states.
#pragma once

#include <cairo.h>

#include "Gfx/D2D1.h"
#include "Gfx/cairo/PathData.h"

namespace KUV::Gfx::Cairo {

// The largest bitmap or target side accepted, as on common Direct2D hardware.
constexpr UINT32 kMaxTextureSide = 16384;

cairo_matrix_t ToCairo(const D2D1_MATRIX_3X2_F& m);
// m followed by a scale of the result.
cairo_matrix_t ToCairo(const D2D1_MATRIX_3X2_F& m, double scaleX, double scaleY);
// A null matrix stands for the identity.
cairo_matrix_t ToCairoOrIdentity(const D2D1_MATRIX_3X2_F* m);

// Device pixels per DIP at dpi, in the double precision cairo's matrices take.
inline double PixelsPerDip(float dpi)
{
    return double(dpi) / D2D1_DEFAULT_DPI;
}
// The size in DIPs of pixels at the given resolution.
inline D2D1_SIZE_F DipSize(D2D1_SIZE_U pixels, float dpiX, float dpiY)
{
    return { pixels.width * D2D1_DEFAULT_DPI / dpiX, pixels.height * D2D1_DEFAULT_DPI / dpiY };
}

// Finite and invertible: cairo accepts it without entering an error state.
bool IsUsable(const cairo_matrix_t& m);
bool IsFinite(const cairo_matrix_t& m);
// The largest factor by which m stretches any length.
double MaxStretch(const cairo_matrix_t& m);

inline Point Apply(const cairo_matrix_t& m, Point p)
{
    return { m.xx * p.x + m.xy * p.y + m.x0, m.yx * p.x + m.yy * p.y + m.y0 };
}

// userToPattern changed by at most a 2^-15 part of each entry so that, drawn under device,
// the device-to-pattern mapping is one pixman holds exactly: bitmaps then sample alike
// wherever on the target a draw is clipped. Unchanged when that mapping would be singular.
cairo_matrix_t ExactOnDevice(const cairo_matrix_t& userToPattern, const cairo_matrix_t& device);

// The tolerance to flatten with: the given one when positive and finite, else the default.
double ToleranceOrDefault(float tolerance);
bool IsFinite(const D2D1_COLOR_F& color);
bool IsFinite(const D2D1_RECT_F& rect);

// Bounds that contain nothing: left > right and top > bottom.
D2D1_RECT_F EmptyBounds();

} // namespace KUV::Gfx::Cairo
