#include "Gfx/cairo/Brushes.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Gfx/cairo/Affine.h"

namespace KUV::Gfx::Cairo {

BrushSource::BrushSource(const D2D1_BRUSH_PROPERTIES* properties)
    : m_Opacity(properties != nullptr ? properties->opacity : 1.f)
    , m_Transform(properties != nullptr ? properties->transform : D2D1::IdentityMatrix())
{
    cairo_matrix_init_identity(&m_BrushToPattern);
}

BrushSource::~BrushSource()
{
    if (m_Pattern != nullptr) cairo_pattern_destroy(m_Pattern);
}

void BrushSource::ChangeOpacity(float opacity)
{
    if (opacity == m_Opacity) return;
    m_Opacity = opacity;
    m_PatternStale = true;
}

void BrushSource::ChangeTransform(const D2D1_MATRIX_3X2_F& transform)
{
    m_Transform = transform;
    m_PlacementStale = true;
}

cairo_pattern_t* BrushSource::Pattern()
{
    if (m_PatternStale || (m_PlacementStale && Shared())) Rebuild();
    if (m_PlacementStale) PlacePattern();
    return m_Usable ? m_Pattern : nullptr;
}

// Drawing still to be done may hold the pattern: it must keep the placement it was given.
bool BrushSource::Shared() const
{
    return m_Pattern != nullptr && cairo_pattern_get_type(m_Pattern) != CAIRO_PATTERN_TYPE_SOLID
        && cairo_pattern_get_reference_count(m_Pattern) > 1;
}

void BrushSource::Rebuild()
{
    if (m_Pattern != nullptr) cairo_pattern_destroy(m_Pattern);
    m_Pattern = nullptr;
    cairo_matrix_init_identity(&m_BrushToPattern);
    // Brush opacity scales coverage, as scaling every colour's alpha does.
    if (std::isfinite(m_Opacity)) m_Pattern = Build(std::clamp(m_Opacity, 0.f, 1.f), &m_BrushToPattern);
    if (m_Pattern != nullptr && cairo_pattern_status(m_Pattern) != CAIRO_STATUS_SUCCESS) {
        cairo_pattern_destroy(m_Pattern);
        m_Pattern = nullptr;
    }
    m_PatternStale = false;
    m_PlacementStale = true;
}

void BrushSource::PlacePattern()
{
    m_PlacementStale = false;
    m_Usable = m_Pattern != nullptr;
    if (!m_Usable || cairo_pattern_get_type(m_Pattern) == CAIRO_PATTERN_TYPE_SOLID) return;
    cairo_matrix_t userToPattern = ToCairo(m_Transform);
    m_Usable = IsUsable(userToPattern) && cairo_matrix_invert(&userToPattern) == CAIRO_STATUS_SUCCESS;
    if (!m_Usable) return;
    cairo_matrix_multiply(&userToPattern, &userToPattern, &m_BrushToPattern);
    m_Usable = IsUsable(userToPattern);
    m_UserToPattern = userToPattern;
    if (m_Usable) cairo_pattern_set_matrix(m_Pattern, &userToPattern);
}

cairo_pattern_t* BrushSource::PatternOn(const cairo_matrix_t& device)
{
    cairo_pattern_t* pattern = Pattern();
    if (pattern == nullptr || cairo_pattern_get_type(pattern) == CAIRO_PATTERN_TYPE_SOLID) return pattern;
    const cairo_matrix_t exact = ExactOnDevice(m_UserToPattern, device);
    cairo_matrix_t current;
    cairo_pattern_get_matrix(pattern, &current);
    if (std::memcmp(&current, &exact, sizeof exact) == 0) return pattern;
    if (Shared()) {
        Rebuild();
        PlacePattern();
        if (!m_Usable) return nullptr;
    }
    cairo_pattern_set_matrix(m_Pattern, &exact);
    return m_Pattern;
}

cairo_pattern_t* PatternOf(ID2D1Brush* brush, const cairo_matrix_t& device)
{
    auto* source = dynamic_cast<BrushSource*>(brush);
    return source != nullptr ? source->PatternOn(device) : nullptr;
}

} // namespace KUV::Gfx::Cairo
