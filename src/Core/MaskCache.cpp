#include "Core/MaskCache.h"

#include <cmath>
#include <sstream>
#include <string>

#include "Core/Factory.h"
#include "Core/GeometryBase.h"

namespace KUV {

namespace {

// A geometry whose stroke width keeps changing would otherwise add cache entries
// every frame for as long as the scene runs.
constexpr std::size_t MaxStrokeWidthsPerGeometry = 256;

// A mask covers the geometry's bounds grown by MaskMargin on every side, so that antialiased
// edges are not cut off.
constexpr float MaskMargin = 1.f;
// The largest side of those grown bounds that gets a mask. Growing adds 2 * MaskMargin to each
// axis, so this admits exactly the geometries whose own bounds are a single point (an empty
// rectangle, an ellipse of radius 0): they get a 2 x 2 mask, and every geometry with any extent
// is drawn directly with per-primitive antialiasing. The production's scenes were made to look
// as this rule draws them, so a larger limit would change their pictures.
constexpr float MaxMaskSide = 2.f * MaskMargin;

// Scene file paths never contain a NUL, so the scope part of a key cannot run into
// the name part: same-named geometries of different files never share a mask.
std::string KeyPrefix(const GeometryBase& geometry)
{
    return geometry.m_MaskScope + std::string(1, '\0') + geometry.m_Name;
}

std::string FillKey(const GeometryBase& geometry)
{
    return KeyPrefix(geometry) + "_fill";
}

std::string StrokeKey(const GeometryBase& geometry, float width)
{
    std::ostringstream key;
    key << KeyPrefix(geometry) << "_stroke_" << width;
    return key.str();
}

std::shared_ptr<MaskData> FindShared(const GeometryBase& geometry, const std::string& key)
{
    return geometry.m_Loader ? geometry.m_Loader->FindMask(key) : nullptr;
}

void StoreShared(const GeometryBase& geometry, const std::string& key, const std::shared_ptr<MaskData>& mask)
{
    if (geometry.m_Loader) geometry.m_Loader->StoreMask(key, mask);
}

// The bounds of what a mask would cover, grown by MaskMargin on every side; false when the
// geometry is empty, has any extent (see MaxMaskSide), or is not finite.
bool MaskBounds(ID2D1Geometry* geometry, const float* strokeWidth, D2D1_RECT_F& bounds)
{
    bounds = { 0.f, 0.f, -1.f, -1.f };
    const D2D1_MATRIX_3X2_F identity = D2D1::IdentityMatrix();
    if (strokeWidth)
        geometry->GetWidenedBounds(*strokeWidth, nullptr, nullptr, D2D1_DEFAULT_FLATTENING_TOLERANCE, &bounds);
    else
        geometry->GetBounds(&identity, &bounds);
    if (!(bounds.right >= bounds.left)) return false;
    bounds
        = { bounds.left - MaskMargin, bounds.top - MaskMargin, bounds.right + MaskMargin, bounds.bottom + MaskMargin };
    return bounds.right - bounds.left <= MaxMaskSide && bounds.bottom - bounds.top <= MaxMaskSide;
}

std::shared_ptr<ID2D1BitmapRenderTarget> CreateMaskTarget(ID2D1RenderTarget* renderTarget, const D2D1_RECT_F& bounds)
{
    const D2D1_SIZE_F size { bounds.right - bounds.left, bounds.bottom - bounds.top };
    const D2D1_PIXEL_FORMAT format { DXGI_FORMAT_A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED };
    return CreateChecked([&](ID2D1BitmapRenderTarget** out) {
        return renderTarget->CreateCompatibleRenderTarget(
            &size, nullptr, &format, D2D1_COMPATIBLE_RENDER_TARGET_OPTIONS_NONE, out);
    });
}

std::shared_ptr<ID2D1SolidColorBrush> CreateBlackBrush(ID2D1RenderTarget* target)
{
    return CreateChecked([&](ID2D1SolidColorBrush** out) {
        return target->CreateSolidColorBrush(D2D1::ColorF(0.f, 0.f, 0.f, 1.f), nullptr, out);
    });
}

void DrawCoverage(
    ID2D1BitmapRenderTarget* target, ID2D1Geometry* geometry, const float* strokeWidth, const D2D1_RECT_F& bounds)
{
    const std::shared_ptr<ID2D1SolidColorBrush> black = CreateBlackBrush(target);
    const D2D1_COLOR_F transparent { 0.f, 0.f, 0.f, 0.f };
    target->BeginDraw();
    target->Clear(&transparent);
    target->SetTransform(D2D1::Translation(-bounds.left, -bounds.top));
    if (strokeWidth)
        target->DrawGeometry(geometry, black.get(), *strokeWidth, nullptr);
    else
        target->FillGeometry(geometry, black.get(), nullptr);
    CheckD2DResult(target->EndDraw());
}

std::shared_ptr<ID2D1Bitmap> TakeBitmap(ID2D1BitmapRenderTarget* target)
{
    return CreateChecked([&](ID2D1Bitmap** out) { return target->GetBitmap(out); });
}

// Rasterises the fill (or, given a width, the stroke) once with antialiasing; null when
// the geometry gets no mask.
std::shared_ptr<MaskData> MakeMask(GeometryBase& geometry, ID2D1RenderTarget* renderTarget, const float* strokeWidth)
{
    const std::shared_ptr<ID2D1Geometry> shape = geometry.GetResource();
    D2D1_RECT_F bounds;
    if (!MaskBounds(shape.get(), strokeWidth, bounds)) return nullptr;
    const std::shared_ptr<ID2D1BitmapRenderTarget> target = CreateMaskTarget(renderTarget, bounds);
    DrawCoverage(target.get(), shape.get(), strokeWidth, bounds);
    auto mask = std::make_shared<MaskData>();
    mask->bitmap = TakeBitmap(target.get());
    mask->placement = D2D1::Translation(bounds.left, bounds.top);
    return mask;
}

} // namespace

std::shared_ptr<ID2D1Bitmap> GetFillMask(GeometryBase& geometry, ID2D1RenderTarget* renderTarget)
{
    if (!geometry.m_FillMask) {
        const std::string key = FillKey(geometry);
        geometry.m_FillMask = FindShared(geometry, key);
        if (!geometry.m_FillMask) {
            geometry.m_FillMask = MakeMask(geometry, renderTarget, nullptr);
            StoreShared(geometry, key, geometry.m_FillMask);
        }
    }
    return geometry.m_FillMask ? geometry.m_FillMask->bitmap : nullptr;
}

std::shared_ptr<ID2D1Bitmap> GetStrokeMask(GeometryBase& geometry, ID2D1RenderTarget* renderTarget, float width)
{
    if (std::isnan(width)) return nullptr; // NaN keys would break the ordering of the width map
    auto entry = geometry.m_StrokeMasks.find(width);
    if (entry == geometry.m_StrokeMasks.end()) {
        if (geometry.m_StrokeMasks.size() >= MaxStrokeWidthsPerGeometry) return nullptr;
        const std::string key = StrokeKey(geometry, width);
        std::shared_ptr<MaskData> mask = FindShared(geometry, key);
        if (!mask) {
            mask = MakeMask(geometry, renderTarget, &width);
            StoreShared(geometry, key, mask);
        }
        entry = geometry.m_StrokeMasks.emplace(width, mask).first;
    }
    return entry->second ? entry->second->bitmap : nullptr;
}

D2D_MATRIX_3X2_F GetFillMaskPlacement(const GeometryBase& geometry)
{
    return geometry.m_FillMask ? geometry.m_FillMask->placement : D2D1::IdentityMatrix();
}

D2D_MATRIX_3X2_F GetStrokeMaskPlacement(const GeometryBase& geometry, float width)
{
    if (std::isnan(width)) return D2D1::IdentityMatrix();
    const auto entry = geometry.m_StrokeMasks.find(width);
    if (entry == geometry.m_StrokeMasks.end() || !entry->second) return D2D1::IdentityMatrix();
    return entry->second->placement;
}

MaskPlacementScope::MaskPlacementScope(
    ID2D1RenderTarget* renderTarget, ID2D1Brush* brush, const D2D_MATRIX_3X2_F& placement)
    : m_RT(renderTarget)
    , m_Brush(brush)
{
    m_RT->GetTransform(&m_SavedTarget);
    m_Brush->GetTransform(&m_SavedBrush);
    D2D_MATRIX_3X2_F inverse = placement;
    D2D1InvertMatrix(&inverse);
    m_RT->SetTransform(placement * m_SavedTarget);
    // The brush maps its own space into the target's user space; undoing the placement
    // after it keeps every device pixel painted with the colour it had without the mask.
    m_Brush->SetTransform(m_SavedBrush * inverse);
}

MaskPlacementScope::~MaskPlacementScope()
{
    m_RT->SetTransform(m_SavedTarget);
    m_Brush->SetTransform(m_SavedBrush);
}

} // namespace KUV
