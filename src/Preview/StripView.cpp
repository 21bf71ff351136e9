#include "Preview/StripView.h"

#include <algorithm>
#include <cmath>

namespace KUV::Preview {

StripView::StripView(std::int64_t length, int width)
    : m_Length(std::max<std::int64_t>(length, 1))
    , m_Width(std::max(width, 1))
    , m_Span(static_cast<double>(m_Length))
{
}

void StripView::SetLength(std::int64_t length)
{
    const bool whole = m_First <= 0 && m_Span >= static_cast<double>(m_Length);
    m_Length = std::max<std::int64_t>(length, 1);
    if (whole) m_Span = static_cast<double>(m_Length);
    Keep();
}

void StripView::SetWidth(int width)
{
    m_Width = std::max(width, 1);
}

double StripView::XOf(std::int64_t tick) const
{
    return (static_cast<double>(tick) - m_First) * m_Width / m_Span;
}

std::int64_t StripView::TickAt(double x) const
{
    const double tick = m_First + x * m_Span / m_Width;
    return std::clamp<std::int64_t>(std::llround(tick), 0, m_Length);
}

void StripView::ZoomAt(double x, double factor)
{
    if (!(factor > 0)) return;
    const double anchor = m_First + x * m_Span / m_Width;
    m_Span
        = std::clamp(m_Span / factor, std::min(MinSpan, static_cast<double>(m_Length)), static_cast<double>(m_Length));
    m_First = anchor - x * m_Span / m_Width;
    Keep();
}

void StripView::PanBy(double dx)
{
    m_First -= dx * m_Span / m_Width;
    Keep();
}

// The view never shows time before 0 or after the run's end.
void StripView::Keep()
{
    m_Span = std::min(m_Span, static_cast<double>(m_Length));
    m_First = std::clamp(m_First, 0.0, static_cast<double>(m_Length) - m_Span);
}

} // namespace KUV::Preview
