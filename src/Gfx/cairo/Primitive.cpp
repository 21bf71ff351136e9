#include "Gfx/cairo/Primitive.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "Gfx/cairo/Affine.h"
#include "Gfx/cairo/Bounds.h"

namespace KUV::Gfx::Cairo {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Antialiased edges and filtered bitmaps reach into the next pixel.
constexpr double kSpare = 2.0;

DeviceBox Everywhere()
{
    return { -kInfinity, -kInfinity, kInfinity, kInfinity };
}

void Include(DeviceBox& box, Point p)
{
    box.x0 = std::min(box.x0, p.x);
    box.y0 = std::min(box.y0, p.y);
    box.x1 = std::max(box.x1, p.x);
    box.y1 = std::max(box.y1, p.y);
}

DeviceBox Grown(DeviceBox box, double by)
{
    return { box.x0 - by, box.y0 - by, box.x1 + by, box.y1 + by };
}

void AddRectangle(cairo_t* cr, const D2D1_RECT_F& r)
{
    cairo_new_path(cr);
    cairo_rectangle(cr, r.left, r.top, double(r.right) - r.left, double(r.bottom) - r.top);
}

} // namespace

Primitive::Primitive(Primitive&& other) noexcept
{
    *this = std::move(other);
}

Primitive& Primitive::operator=(Primitive&& other) noexcept
{
    if (this == &other) return *this;
    Release();
    m_Kind = other.m_Kind;
    m_Antialias = other.m_Antialias;
    m_Device = other.m_Device;
    m_Source = std::exchange(other.m_Source, nullptr);
    m_Mask = std::exchange(other.m_Mask, nullptr);
    m_Geometry = std::exchange(other.m_Geometry, nullptr);
    m_Path = other.m_Path;
    m_FillRule = other.m_FillRule;
    m_LineWidth = other.m_LineWidth;
    m_Area = other.m_Area;
    m_Alpha = other.m_Alpha;
    m_Reads = other.m_Reads;
    return *this;
}

Primitive::~Primitive()
{
    Release();
}

void Primitive::Release()
{
    if (m_Source != nullptr) cairo_pattern_destroy(m_Source);
    if (m_Mask != nullptr) cairo_pattern_destroy(m_Mask);
    if (m_Geometry != nullptr) m_Geometry->Release();
    m_Source = m_Mask = nullptr;
    m_Geometry = nullptr;
}

void Primitive::SetPaint(cairo_pattern_t* source, cairo_pattern_t* mask)
{
    if (m_Source != nullptr) cairo_pattern_destroy(m_Source);
    if (m_Mask != nullptr) cairo_pattern_destroy(m_Mask);
    m_Source = source;
    m_Mask = mask;
}

void Primitive::SetPlacement(const cairo_matrix_t& device, D2D1_ANTIALIAS_MODE antialias)
{
    m_Device = device;
    m_Antialias = antialias == D2D1_ANTIALIAS_MODE_ALIASED ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_DEFAULT;
}

void Primitive::SetPath(ID2D1Geometry* geometry, const cairo_path_t& path, cairo_fill_rule_t rule)
{
    geometry->AddRef();
    if (m_Geometry != nullptr) m_Geometry->Release();
    m_Geometry = geometry;
    m_Path = path;
    m_FillRule = rule;
}

void Primitive::SetArea(const D2D1_RECT_F& area, double alpha)
{
    m_Area = area;
    m_Alpha = alpha;
}

// The control points of every element bound the curves through them. Points that overflow
// into no number at all leave the extent unknown.
DeviceBox Primitive::PathBox() const
{
    DeviceBox box { kInfinity, kInfinity, -kInfinity, -kInfinity };
    for (int i = 0; i < m_Path.num_data; i += m_Path.data[i].header.length)
        for (int k = 1; k < m_Path.data[i].header.length; ++k) {
            const Point p = Apply(m_Device, { m_Path.data[i + k].point.x, m_Path.data[i + k].point.y });
            if (std::isnan(p.x) || std::isnan(p.y)) return Everywhere();
            Include(box, p);
        }
    return box;
}

DeviceBox Primitive::Bounds() const
{
    if (m_Kind == Kind::Clear) return Everywhere();
    if (m_Kind == Kind::Fill) return Grown(PathBox(), kSpare);
    // Miter joins reach out at most the miter limit times half the width.
    if (m_Kind == Kind::Stroke)
        return Grown(PathBox(), m_LineWidth / 2 * kCairoMiterLimit * MaxStretch(m_Device) + kSpare);
    DeviceBox box { kInfinity, kInfinity, -kInfinity, -kInfinity };
    Include(box, Apply(m_Device, { m_Area.left, m_Area.top }));
    Include(box, Apply(m_Device, { m_Area.right, m_Area.top }));
    Include(box, Apply(m_Device, { m_Area.left, m_Area.bottom }));
    Include(box, Apply(m_Device, { m_Area.right, m_Area.bottom }));
    return Grown(box, kSpare);
}

void Primitive::Paint(cairo_t* cr) const
{
    cairo_set_antialias(cr, m_Antialias);
    if (m_Kind == Kind::Clear) {
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source(cr, m_Source);
        cairo_paint(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        return;
    }
    // The source locks to the user space in effect when it is set.
    cairo_set_matrix(cr, &m_Device);
    cairo_set_source(cr, m_Source);
    PaintInside(cr);
}

void Primitive::PaintInside(cairo_t* cr) const
{
    switch (m_Kind) {
    case Kind::Fill:
        cairo_new_path(cr);
        cairo_append_path(cr, &m_Path);
        cairo_set_fill_rule(cr, m_FillRule);
        break;
    case Kind::Stroke:
        cairo_set_line_width(cr, m_LineWidth);
        cairo_new_path(cr);
        cairo_append_path(cr, &m_Path);
        return cairo_stroke(cr);
    case Kind::Area:
        AddRectangle(cr, m_Area);
        break;
    default:
        return cairo_mask(cr, m_Mask);
    }
    if (m_Mask == nullptr && m_Alpha >= 1) return cairo_fill(cr);
    cairo_save(cr);
    cairo_clip(cr);
    if (m_Mask != nullptr)
        cairo_mask(cr, m_Mask);
    else
        cairo_paint_with_alpha(cr, m_Alpha);
    cairo_restore(cr);
}

cairo_t* NewDrawingContext(cairo_surface_t* surface)
{
    cairo_t* cr = cairo_create(surface);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_set_miter_limit(cr, kCairoMiterLimit);
    return cr;
}

} // namespace KUV::Gfx::Cairo
