#include "Check/FlashPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <utility>

#include <cairo.h>

#include "Authoring/Colour.h"

namespace KUV::Check {
namespace {

using Authoring::Colour;
using Authoring::FlashKind;
using Authoring::FrameMeasure;
using Authoring::SetColour;

constexpr int PlotWidth = 1400;
constexpr int PlotHeight = 620;
constexpr double Left = 70, Right = 20, Top = 40, PanelGap = 34, PanelHeight = 150;

const Colour Ink { 0.15, 0.15, 0.18 };
const Colour Grid { 0.85, 0.86, 0.88 };
const Colour LuminanceInk { 0.35, 0.38, 0.45 };
const Colour RedInk { 0.85, 0.08, 0.08 };
const Colour GeneralInk { 0.10, 0.30, 0.75 };
const Colour Failing { 1.0, 0.2, 0.2, 0.18 };

using Cairo = std::unique_ptr<cairo_t, void (*)(cairo_t*)>;

void Text(cairo_t* cr, double x, double y, const std::string& text, double size = 12, bool right = false)
{
    cairo_set_font_size(cr, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    cairo_move_to(cr, right ? x - extents.x_advance : x, y);
    cairo_show_text(cr, text.c_str());
}

// One panel: a frame of time across, a value from 0 to top upwards.
class Panel {
public:
    Panel(cairo_t* cr, double y, std::int64_t first, std::int64_t last, double top)
        : m_Cr(cr)
        , m_Y(y)
        , m_First(first)
        , m_Span(std::max<double>(static_cast<double>(last - first), 1))
        , m_Top(top)
    {
    }
    double X(std::int64_t tick) const { return Left + (tick - m_First) * (PlotWidth - Left - Right) / m_Span; }
    double Y(double value) const { return m_Y + PanelHeight * (1 - std::clamp(value / m_Top, 0.0, 1.0)); }
    double Bottom() const { return m_Y + PanelHeight; }

    void Frame(const std::string& label, const std::string& unit, double step) const
    {
        cairo_set_line_width(m_Cr, 1);
        SetColour(m_Cr, Grid);
        for (double v = 0; v <= m_Top + 1e-9; v += step) {
            cairo_move_to(m_Cr, Left, Y(v));
            cairo_line_to(m_Cr, PlotWidth - Right, Y(v));
        }
        cairo_stroke(m_Cr);
        SetColour(m_Cr, Ink);
        char text[32];
        for (double v = 0; v <= m_Top + 1e-9; v += step) {
            std::snprintf(text, sizeof text, "%g%s", v, unit.c_str());
            Text(m_Cr, Left - 6, Y(v) + 4, text, 11, true);
        }
        Text(m_Cr, Left, m_Y - 6, label, 13);
    }

    // A line through value(frame) of every frame, the highest of the frames in each column.
    void Line(const std::vector<FrameMeasure>& frames, const std::function<double(const FrameMeasure&)>& value,
        const Colour& colour) const
    {
        SetColour(m_Cr, colour);
        cairo_set_line_width(m_Cr, 1.2);
        cairo_new_path(m_Cr);
        int column = -1;
        double highest = 0;
        for (std::size_t i = 0; i <= frames.size(); ++i) {
            const int at = i < frames.size() ? static_cast<int>(X(frames[i].tick)) : -2;
            if (at != column && column >= 0) cairo_line_to(m_Cr, column, Y(highest));
            if (at != column) highest = 0, column = at;
            if (i < frames.size()) highest = std::max(highest, value(frames[i]));
        }
        cairo_stroke(m_Cr);
    }

    void Limit(double value, const Colour& colour) const
    {
        const double dashes[] = { 6, 4 };
        cairo_set_dash(m_Cr, dashes, 2, 0);
        SetColour(m_Cr, colour);
        cairo_move_to(m_Cr, Left, Y(value));
        cairo_line_to(m_Cr, PlotWidth - Right, Y(value));
        cairo_stroke(m_Cr);
        cairo_set_dash(m_Cr, nullptr, 0, 0);
    }

private:
    cairo_t* m_Cr;
    double m_Y;
    std::int64_t m_First;
    double m_Span;
    double m_Top;
};

// The frames' mean luminance and mean red, every frame's value joined to the next: a flicker fills
// a band between its extremes.
void Measures(cairo_t* cr, const Panel& panel, const std::vector<FrameMeasure>& frames)
{
    cairo_set_line_width(cr, 1);
    for (const auto& [value, colour] :
        { std::pair { &FrameMeasure::meanLuminance, LuminanceInk }, std::pair { &FrameMeasure::meanRed, RedInk } }) {
        SetColour(cr, colour);
        cairo_new_path(cr);
        for (const FrameMeasure& frame : frames)
            cairo_line_to(cr, panel.X(frame.tick), panel.Y(frame.*value));
        cairo_stroke(cr);
    }
}

void TimeAxis(cairo_t* cr, const Panel& panel, std::int64_t first, std::int64_t last)
{
    const double seconds = static_cast<double>(last - first) / 1000;
    const std::int64_t step = seconds > 120 ? 10000 : seconds > 30 ? 5000 : seconds > 6 ? 1000 : 200;
    SetColour(cr, Ink);
    char text[32];
    for (std::int64_t tick = (first + step - 1) / step * step; tick <= last; tick += step) {
        std::snprintf(text, sizeof text, "%g s", static_cast<double>(tick) / 1000);
        Text(cr, panel.X(tick) - 10, panel.Bottom() + 16, text, 11);
    }
}

void Draw(cairo_t* cr, const std::string& title, const std::vector<FrameMeasure>& frames,
    const std::vector<Authoring::FlashStretch>& stretches)
{
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    const std::int64_t first = frames.empty() ? 0 : frames.front().tick;
    const std::int64_t last = frames.empty() ? 1 : frames.back().tick;
    double rateTop = 5;
    for (const FrameMeasure& f : frames)
        rateTop = std::max({ rateTop, std::ceil(f.general.rate), std::ceil(f.red.rate) });
    const Panel light(cr, Top + 10, first, last, 1);
    const Panel rate(cr, light.Bottom() + PanelGap, first, last, rateTop);
    const Panel area(cr, rate.Bottom() + PanelGap, first, last, 100);
    SetColour(cr, Failing);
    for (const auto& s : stretches)
        cairo_rectangle(
            cr, light.X(s.first), Top, std::max(light.X(s.last) - light.X(s.first), 2.0), area.Bottom() - Top);
    cairo_fill(cr);
    SetColour(cr, Ink);
    Text(cr, Left, 20, title, 15);
    light.Frame("mean relative luminance (grey) and mean red measure (red) of the frame", "", 0.25);
    Measures(cr, light, frames);
    rate.Frame(
        "flashes a second over an area that counts (blue: general, red: red); limit 3", "", rateTop > 10 ? 5 : 1);
    rate.Limit(3, Ink);
    rate.Line(
        frames, [](const FrameMeasure& f) { return f.general.rate; }, GeneralInk);
    rate.Line(
        frames, [](const FrameMeasure& f) { return f.red.rate; }, RedInk);
    area.Frame("fullest 10-degree field flashing more than 3 a second; limit 25 %", " %", 25);
    area.Limit(25, Ink);
    area.Line(
        frames, [](const FrameMeasure& f) { return 100 * f.general.fieldShare; }, GeneralInk);
    area.Line(
        frames, [](const FrameMeasure& f) { return 100 * f.red.fieldShare; }, RedInk);
    TimeAxis(cr, area, first, last);
}

} // namespace

bool WriteFlashPlot(const std::string& path, const std::string& title, const std::vector<FrameMeasure>& frames,
    const std::vector<Authoring::FlashStretch>& stretches, std::string* error)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, PlotWidth, PlotHeight);
    {
        const Cairo cr(cairo_create(surface), &cairo_destroy);
        Draw(cr.get(), title, frames, stretches);
    }
    const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
    if (status == CAIRO_STATUS_SUCCESS) return true;
    *error = "could not write \"" + path + "\": " + cairo_status_to_string(status);
    return false;
}

} // namespace KUV::Check
