#include "Preview/StripPainter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include <cairo.h>

#include "Authoring/Colour.h"
#include "Core/Tavisk.h"
#include "Preview/Waveform.h"

namespace KUV::Preview {
namespace {

using Authoring::Colour;
using Authoring::SetColour;

const Colour Back { 0.11, 0.12, 0.14 };
const Colour RulerBack { 0.16, 0.17, 0.20 };
const Colour Label { 0.78, 0.80, 0.84 };
const Colour Faint { 0.30, 0.32, 0.36 };
const Colour Wave { 0.36, 0.62, 0.82 };
const Colour TriggerMark { 0.98, 0.80, 0.25 };
const Colour LoopMark { 0.35, 0.85, 0.45 };
const Colour LoopSpan { 0.35, 0.85, 0.45, 0.12 };
const Colour Unsafe { 0.95, 0.12, 0.12 };
const Colour UnsafeSpan { 0.95, 0.12, 0.12, 0.28 };
const Colour Bright { 1, 1, 1 };
const Colour HoverBack { 0.05, 0.05, 0.06, 0.9 };
const Colour HoverLine { 0.55, 0.80, 1.0, 0.8 };
// Spans take one of these by their animation's name, so that one name looks the same in every lane.
const Colour SpanColours[] = { { 0.27, 0.40, 0.62 }, { 0.45, 0.33, 0.58 }, { 0.26, 0.50, 0.44 }, { 0.58, 0.42, 0.25 },
    { 0.52, 0.30, 0.36 }, { 0.34, 0.46, 0.30 } };
const Colour IdleSpan { 0.20, 0.21, 0.24 };

const Colour& SpanColour(const std::string& animation)
{
    if (animation == MainAnimation || animation == "Rest") return IdleSpan;
    return SpanColours[std::hash<std::string> {}(animation) % std::size(SpanColours)];
}

// text at (x, baseline y), cut at maxWidth pixels; nothing when not even a letter fits.
void Text(cairo_t* cr, double x, double y, const std::string& text, double maxWidth)
{
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    if (extents.x_advance > maxWidth) {
        cairo_text_extents(cr, "M", &extents);
        if (extents.x_advance > maxWidth) return;
    }
    cairo_save(cr);
    cairo_rectangle(cr, x, y - 12, maxWidth, 16);
    cairo_clip(cr);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, text.c_str());
    cairo_restore(cr);
}

std::string SecondsLabel(double ms, bool fine)
{
    char text[32];
    std::snprintf(text, sizeof text, fine ? "%.3f s" : "%.0f s", ms / 1000);
    return text;
}

class Painter {
public:
    Painter(cairo_t* cr, int width, const StripLayout& layout, const StripView& view)
        : m_Cr(cr)
        , m_Width(width)
        , m_Layout(layout)
        , m_View(view)
    {
    }
    double X(std::int64_t tick) const { return StripLayout::Gutter + m_View.XOf(tick); }
    double XOf(double tick) const
    {
        return StripLayout::Gutter + (tick - m_View.First()) * m_View.Width() / m_View.Span();
    }

    void Ruler() const
    {
        SetColour(m_Cr, RulerBack);
        cairo_rectangle(m_Cr, 0, 0, m_Width, StripLayout::RulerHeight);
        cairo_fill(m_Cr);
        const double steps[] = { 100, 250, 500, 1000, 2000, 5000, 10000, 20000, 30000, 60000 };
        double step = steps[std::size(steps) - 1];
        for (double s : steps)
            if (s * m_View.Width() / m_View.Span() >= 70) {
                step = s;
                break;
            }
        for (double t = std::ceil(m_View.First() / step) * step; t <= m_View.First() + m_View.Span(); t += step) {
            SetColour(m_Cr, Faint);
            cairo_rectangle(m_Cr, std::floor(XOf(t)), 12, 1, StripLayout::RulerHeight - 12);
            cairo_fill(m_Cr);
            SetColour(m_Cr, Label);
            Text(m_Cr, XOf(t) + 3, 12, SecondsLabel(t, step < 1000), 66);
        }
    }

    void Waveform(const Envelope* envelope) const
    {
        if (m_Layout.waveTop == m_Layout.lanesTop) return;
        const double middle = m_Layout.waveTop + StripLayout::WaveHeight / 2.0;
        SetColour(m_Cr, Label);
        if (!envelope) return Text(m_Cr, 6, middle + 4, "music ...", StripLayout::Gutter - 8);
        Text(m_Cr, 6, middle + 4, "music", StripLayout::Gutter - 8);
        SetColour(m_Cr, Wave);
        const double msPerPixel = m_View.Span() / m_View.Width();
        for (int x = 0; x < m_View.Width(); ++x) {
            const double from = m_View.First() + x * msPerPixel;
            const double half = envelope->PeakBetween(from, from + msPerPixel) * (StripLayout::WaveHeight / 2.0 - 2);
            cairo_rectangle(m_Cr, StripLayout::Gutter + x, middle - half, 1, std::max(2 * half, 1.0));
        }
        cairo_fill(m_Cr);
    }

    void Lanes(const Authoring::ShowTimeline& show) const
    {
        for (std::size_t i = 0; i < show.lanes.size(); ++i) {
            const double top = m_Layout.lanesTop + static_cast<double>(i) * StripLayout::LaneHeight;
            for (const Authoring::AnimationSpan& span : show.lanes[i].spans)
                Span(span, top);
            SetColour(m_Cr, Back);
            cairo_rectangle(m_Cr, 0, top, StripLayout::Gutter, StripLayout::LaneHeight);
            cairo_fill(m_Cr);
            SetColour(m_Cr, Label);
            Text(m_Cr, 6, top + 11, show.lanes[i].name, StripLayout::Gutter - 8);
        }
    }

    void Triggers(const std::vector<std::int64_t>& ticks) const
    {
        SetColour(m_Cr, TriggerMark);
        for (std::int64_t tick : ticks) {
            const double x = std::floor(X(tick));
            if (x < StripLayout::Gutter || x > m_Width) continue;
            cairo_move_to(m_Cr, x - 4, StripLayout::RulerHeight - 6);
            cairo_line_to(m_Cr, x + 5, StripLayout::RulerHeight - 6);
            cairo_line_to(m_Cr, x + 0.5, StripLayout::RulerHeight);
            cairo_close_path(m_Cr);
            cairo_rectangle(m_Cr, x, m_Layout.lanesTop, 1, StripLayout::LaneHeight);
        }
        cairo_fill(m_Cr);
    }

    void Flashes(const std::vector<Authoring::FlashStretch>& flashes) const
    {
        for (const Authoring::FlashStretch& s : flashes) {
            const double left = std::max(X(s.first), double(StripLayout::Gutter));
            const double right = std::max(X(s.last) + 1, left + 2);
            if (right < StripLayout::Gutter || left > m_Width) continue;
            SetColour(m_Cr, UnsafeSpan);
            cairo_rectangle(m_Cr, left, 0, right - left, m_Layout.height);
            cairo_fill(m_Cr);
            SetColour(m_Cr, Unsafe);
            cairo_rectangle(m_Cr, left, StripLayout::RulerHeight - 4, right - left, 4);
            cairo_fill(m_Cr);
        }
    }

    void Loop(const StripMarks& marks) const
    {
        if (marks.looping && marks.markIn && marks.markOut) {
            SetColour(m_Cr, LoopSpan);
            cairo_rectangle(m_Cr, X(*marks.markIn), 0, X(*marks.markOut) - X(*marks.markIn), m_Layout.height);
            cairo_fill(m_Cr);
        }
        SetColour(m_Cr, LoopMark);
        for (const auto& mark : { marks.markIn, marks.markOut })
            if (mark && X(*mark) >= StripLayout::Gutter)
                cairo_rectangle(m_Cr, std::floor(X(*mark)), 0, 2, m_Layout.height);
        cairo_fill(m_Cr);
    }

    void Playhead(std::int64_t tick) const
    {
        const double x = std::floor(X(tick));
        if (x < StripLayout::Gutter - 1 || x > m_Width) return;
        SetColour(m_Cr, Bright);
        cairo_rectangle(m_Cr, x - 0.5, 0, 2, m_Layout.height);
        cairo_fill(m_Cr);
    }

    void Hover(double x) const
    {
        const double at = StripLayout::Gutter + x;
        SetColour(m_Cr, HoverLine);
        cairo_rectangle(m_Cr, std::floor(at), 0, 1, m_Layout.height);
        cairo_fill(m_Cr);
        const std::string text = SecondsLabel(static_cast<double>(m_View.TickAt(x)), true);
        cairo_text_extents_t extents;
        cairo_text_extents(m_Cr, text.c_str(), &extents);
        const double left = std::min(at + 4, m_Width - extents.x_advance - 8);
        SetColour(m_Cr, HoverBack);
        cairo_rectangle(m_Cr, left, 1, extents.x_advance + 6, 15);
        cairo_fill(m_Cr);
        SetColour(m_Cr, Bright);
        Text(m_Cr, left + 3, 12, text, extents.x_advance + 2);
    }

private:
    void Span(const Authoring::AnimationSpan& span, double top) const
    {
        const double left = std::max(X(span.begin), double(StripLayout::Gutter));
        const double right = std::min(X(span.end), double(m_Width));
        if (right <= left) return;
        SetColour(m_Cr, SpanColour(span.animation));
        cairo_rectangle(m_Cr, left, top + 1, std::max(right - left - 1, 1.0), StripLayout::LaneHeight - 2);
        cairo_fill(m_Cr);
        SetColour(m_Cr, Label);
        Text(m_Cr, left + 3, top + 11, span.animation, right - left - 5);
    }

    cairo_t* m_Cr;
    int m_Width;
    const StripLayout& m_Layout;
    const StripView& m_View;
};

} // namespace

StripLayout::StripLayout(std::size_t lanes, bool music)
    : waveTop(RulerHeight)
    , lanesTop(RulerHeight + (music ? WaveHeight : 0))
    , height(lanesTop + static_cast<int>(lanes) * LaneHeight + 3)
{
}

void StripPainter::DestroySurface::operator()(cairo_surface_t* surface) const
{
    cairo_surface_destroy(surface);
}

void StripPainter::Paint(int width, const StripLayout& layout, const StripView& view,
    const Authoring::ShowTimeline& show, const Envelope* envelope, const std::vector<Authoring::FlashStretch>& flashes,
    const StripMarks& marks)
{
    if (!m_Surface || cairo_image_surface_get_width(m_Surface.get()) != width
        || cairo_image_surface_get_height(m_Surface.get()) != layout.height) {
        m_Surface.reset();
        m_Surface.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, layout.height));
    }
    cairo_t* cr = cairo_create(m_Surface.get());
    SetColour(cr, Back);
    cairo_paint(cr);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 10);
    const Painter painter(cr, width, layout, view);
    painter.Ruler();
    painter.Waveform(envelope);
    painter.Lanes(show);
    painter.Triggers(show.triggers);
    painter.Flashes(flashes);
    painter.Loop(marks);
    painter.Playhead(marks.playhead);
    if (marks.hoverX) painter.Hover(*marks.hoverX);
    cairo_destroy(cr);
    cairo_surface_flush(m_Surface.get());
}

const unsigned char* StripPainter::Pixels() const
{
    return m_Surface ? cairo_image_surface_get_data(m_Surface.get()) : nullptr;
}

int StripPainter::Stride() const
{
    return m_Surface ? cairo_image_surface_get_stride(m_Surface.get()) : 0;
}

} // namespace KUV::Preview
