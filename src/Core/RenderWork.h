// What one render may cost, and what each command costs: a deterministic measure of the
// work a frame gives the drawing layer, so that a scene that is cheap to write but ruinous
// to draw fails the same way on every machine instead of running for minutes.
#pragma once

#include <cstdint>

#include "Gfx/D2D1.h"

namespace KUV {

// Units are calibrated so that one unit is roughly a nanosecond of drawing on a modest
// machine; only their proportions matter.
struct RenderWork {
    // The most one render, child renders included, may cost.
    static constexpr std::uint64_t Budget = 2'000'000'000;
    // Every command run: a render of nothing but calls stops after 10,000,000 of them.
    static constexpr std::uint64_t PerCommand = Budget / 10'000'000;
    // Every draw, on top of its command: setting up the paint and the primitive.
    static constexpr std::uint64_t PerDraw = 1'500;
    // Every element of the outline filled, twice for a geometry rebuilt for this frame;
    // stroking an element, curves flattened and joined, costs far more.
    static constexpr std::uint64_t PerFilledSegment = 60;
    static constexpr std::uint64_t PerStrokedSegment = 2'500;
    // Every component a scene's render visits to release what it built.
    static constexpr std::uint64_t PerComponent = 20;
    // Pixels covered (DIPs of the picture, as at 96 DPI), per 16: painted with a solid colour,
    // with a gradient, and of bitmaps.
    static constexpr std::uint64_t PerSolidPixels16 = 40;
    static constexpr std::uint64_t PerGradientPixels16 = 200;
    static constexpr std::uint64_t PerBitmapPixels16 = 120;
};

// How a geometry is drawn: stroked at a width or filled (null), rebuilt for this frame, its paint.
struct GeometryDraw {
    const float* strokeWidth;
    bool rebuilt;
    bool gradient;
};

// The cost of drawing geometry under the target's transform.
std::uint64_t GeometryWork(ID2D1RenderTarget& target, ID2D1Geometry& geometry, const GeometryDraw& draw);
// The cost of painting a bitmap into destination under the target's transform.
std::uint64_t BitmapWork(ID2D1RenderTarget& target, const D2D1_RECT_F& destination);

} // namespace KUV
