#include "Gfx/cairo/PathData.h"

#include <cmath>

namespace KUV::Gfx::Cairo {

cairo_fill_rule_t PathData::FillRule() const
{
    return m_FillMode == D2D1_FILL_MODE_WINDING ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD;
}

void PathData::AddHeader(cairo_path_data_type_t type, int length)
{
    cairo_path_data_t element;
    element.header.type = type;
    element.header.length = length;
    m_Stroke.push_back(element);
    ++m_Segments;
}

void PathData::AddPoint(Point p)
{
    cairo_path_data_t element;
    element.point.x = p.x;
    element.point.y = p.y;
    m_Finite = m_Finite && std::isfinite(p.x) && std::isfinite(p.y);
    m_Stroke.push_back(element);
}

void PathData::BeginFigure(Point start, bool filled)
{
    if (m_InFigure) EndFigure(false);
    m_Figures.push_back({ m_Stroke.size(), m_Stroke.size(), filled, false });
    m_HasHollow = m_HasHollow || !filled;
    m_InFigure = true;
    AddHeader(CAIRO_PATH_MOVE_TO, 2);
    AddPoint(start);
}

void PathData::LineTo(Point p)
{
    if (!m_InFigure) return;
    AddHeader(CAIRO_PATH_LINE_TO, 2);
    AddPoint(p);
}

void PathData::CurveTo(Point c1, Point c2, Point end)
{
    if (!m_InFigure) return;
    AddHeader(CAIRO_PATH_CURVE_TO, 4);
    AddPoint(c1);
    AddPoint(c2);
    AddPoint(end);
}

void PathData::EndFigure(bool closed)
{
    if (!m_InFigure) return;
    if (closed) AddHeader(CAIRO_PATH_CLOSE_PATH, 1);
    m_Figures.back().end = m_Stroke.size();
    m_Figures.back().closed = closed;
    m_InFigure = false;
}

void PathData::Finish()
{
    if (m_InFigure) EndFigure(false);
    m_Fill.clear();
    if (!m_HasHollow) return;
    for (const FigureSpan& figure : m_Figures)
        if (figure.filled) m_Fill.insert(m_Fill.end(), m_Stroke.begin() + figure.begin, m_Stroke.begin() + figure.end);
}

cairo_path_t PathData::View(const std::vector<cairo_path_data_t>& elements)
{
    // cairo only reads appended paths; its path type simply lacks const.
    return { CAIRO_STATUS_SUCCESS, const_cast<cairo_path_data_t*>(elements.data()), static_cast<int>(elements.size()) };
}

PathData PathData::Transformed(const D2D1_MATRIX_3X2_F& m) const
{
    PathData result = *this;
    result.m_Finite = true;
    auto map = [&](std::vector<cairo_path_data_t>& elements) {
        for (std::size_t i = 0; i < elements.size(); i += static_cast<std::size_t>(elements[i].header.length)) {
            for (int k = 1; k < elements[i].header.length; ++k) {
                cairo_path_data_t& e = elements[i + static_cast<std::size_t>(k)];
                const double x = e.point.x, y = e.point.y;
                e.point.x = x * m._11 + y * m._21 + m._31;
                e.point.y = x * m._12 + y * m._22 + m._32;
                result.m_Finite = result.m_Finite && std::isfinite(e.point.x) && std::isfinite(e.point.y);
            }
        }
    };
    map(result.m_Stroke);
    map(result.m_Fill);
    return result;
}

} // namespace KUV::Gfx::Cairo
