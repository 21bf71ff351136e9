// What tvs-render --timings prints: how long loading took and, per rendered frame, its
// update and its render (BeginDraw to EndDraw), with a summary of each.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <vector>

namespace KUV::Render {

// Milliseconds since construction or the last Restart.
class Stopwatch {
public:
    Stopwatch()
        : m_Start(std::chrono::steady_clock::now())
    {
    }
    void Restart() { m_Start = std::chrono::steady_clock::now(); }
    double Milliseconds() const
    {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_Start).count();
    }

private:
    std::chrono::steady_clock::time_point m_Start;
};

// Median, 95th percentile (nearest rank) and largest of a set of times; all 0 when empty.
struct TimeSummary {
    double median = 0;
    double p95 = 0;
    double worst = 0;
};
TimeSummary Summarize(std::vector<double> milliseconds);

class FrameTimings {
public:
    void SetLoad(double milliseconds) { m_Load = milliseconds; }
    void Add(std::int64_t tick, double updateMilliseconds, double renderMilliseconds);
    // "load <ms> ms threads <n>", one "@<tick> update <ms> ms render <ms> ms" line per frame,
    // then "update median <ms> p95 <ms> worst <ms> ms" and the same for render.
    void Print(std::ostream& out, unsigned threads) const;

private:
    struct Frame {
        std::int64_t tick;
        double update;
        double render;
    };

    double m_Load = 0;
    std::vector<Frame> m_Frames;
};

} // namespace KUV::Render
