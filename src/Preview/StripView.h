// The part of the run the timeline strip shows, and where each tick falls on it: the
// mapping between the strip's pixels and ticks, zooming around a point and panning.
#pragma once

#include <cstdint>

namespace KUV::Preview {

class StripView {
public:
    // A view of the whole run, 0 to length ms, over width pixels.
    StripView(std::int64_t length, int width);

    // The run grew or shrank (the scene was reloaded); the view stays where it can.
    void SetLength(std::int64_t length);
    void SetWidth(int width);

    // The pixel column (from the strip's left) where tick falls; off the strip for ticks out of view.
    double XOf(std::int64_t tick) const;
    // The tick under pixel column x, rounded to the millisecond and kept within the run.
    std::int64_t TickAt(double x) const;

    // Zooms by factor (above 1 shows less time) keeping the tick under x where it is.
    void ZoomAt(double x, double factor);
    // Moves the shown time so that what was under column x is under x + dx.
    void PanBy(double dx);

    double First() const { return m_First; }
    double Span() const { return m_Span; }
    std::int64_t Length() const { return m_Length; }
    int Width() const { return m_Width; }

    // The shortest time the strip shows across its width.
    static constexpr double MinSpan = 250;

private:
    void Keep();

    std::int64_t m_Length;
    int m_Width;
    double m_First = 0; // the tick at the left edge
    double m_Span; // the ticks across the width
};

} // namespace KUV::Preview
