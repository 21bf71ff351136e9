#include "Core/RenderWork.h"

#include <algorithm>
#include <cmath>

namespace KUV {

namespace {

// The area, in DIPs, of the part of bounds that lies on the target; bounds that are not
// finite count as the whole target. DIPs rather than device pixels: a scene must fail the
// same way in a window and on any full screen, whatever the screen's resolution.
double CoveredPixels(ID2D1RenderTarget& target, D2D1_RECT_F bounds)
{
    const D2D1_SIZE_F size = target.GetSize();
    if (!(size.width > 0.f) || !(size.height > 0.f)) return 0.0;
    const bool finite = std::isfinite(bounds.left) && std::isfinite(bounds.top) && std::isfinite(bounds.right)
        && std::isfinite(bounds.bottom);
    if (!finite) bounds = { 0.f, 0.f, size.width, size.height };
    const double width = std::min<double>(bounds.right, size.width) - std::max<double>(bounds.left, 0.0);
    const double height = std::min<double>(bounds.bottom, size.height) - std::max<double>(bounds.top, 0.0);
    if (!(width > 0.0) || !(height > 0.0)) return 0.0;
    return width * height;
}

std::uint64_t PixelWork(double pixels, std::uint64_t per16)
{
    return static_cast<std::uint64_t>(std::ceil(pixels / 16.0)) * per16;
}

// The bounds of rect mapped through m.
D2D1_RECT_F MappedBounds(const D2D1_RECT_F& rect, const D2D1_MATRIX_3X2_F& m)
{
    const D2D1_POINT_2F corners[] = { { rect.left, rect.top }, { rect.right, rect.top }, { rect.left, rect.bottom },
        { rect.right, rect.bottom } };
    D2D1_RECT_F bounds { INFINITY, INFINITY, -INFINITY, -INFINITY };
    for (const D2D1_POINT_2F& p : corners) {
        const float x = p.x * m._11 + p.y * m._21 + m._31, y = p.x * m._12 + p.y * m._22 + m._32;
        bounds = { std::min(bounds.left, x), std::min(bounds.top, y), std::max(bounds.right, x),
            std::max(bounds.bottom, y) };
    }
    return bounds;
}

} // namespace

std::uint64_t GeometryWork(ID2D1RenderTarget& target, ID2D1Geometry& geometry, const GeometryDraw& draw)
{
    D2D1_MATRIX_3X2_F world;
    target.GetTransform(&world);
    UINT32 segments = 0;
    geometry.GetSegmentCount(&segments);
    D2D1_RECT_F bounds { 0.f, 0.f, -1.f, -1.f };
    const HRESULT hr = draw.strokeWidth
        ? geometry.GetWidenedBounds(*draw.strokeWidth, nullptr, &world, D2D1_DEFAULT_FLATTENING_TOLERANCE, &bounds)
        : geometry.GetBounds(&world, &bounds);
    // Bounds that cannot be measured count as the whole target.
    if (FAILED(hr)) bounds = { -INFINITY, -INFINITY, INFINITY, INFINITY };
    const std::uint64_t perSegment = draw.strokeWidth ? RenderWork::PerStrokedSegment : RenderWork::PerFilledSegment;
    const std::uint64_t outline
        = std::uint64_t(segments) * (perSegment + (draw.rebuilt ? RenderWork::PerFilledSegment : 0));
    const std::uint64_t perPixels = draw.gradient ? RenderWork::PerGradientPixels16 : RenderWork::PerSolidPixels16;
    return RenderWork::PerDraw + outline + PixelWork(CoveredPixels(target, bounds), perPixels);
}

std::uint64_t BitmapWork(ID2D1RenderTarget& target, const D2D1_RECT_F& destination)
{
    D2D1_MATRIX_3X2_F world;
    target.GetTransform(&world);
    const D2D1_RECT_F ordered { std::min(destination.left, destination.right),
        std::min(destination.top, destination.bottom), std::max(destination.left, destination.right),
        std::max(destination.top, destination.bottom) };
    return RenderWork::PerDraw
        + PixelWork(CoveredPixels(target, MappedBounds(ordered, world)), RenderWork::PerBitmapPixels16);
}

} // namespace KUV
