#include "Render/FrameTimings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace KUV::Render {

namespace {

// Milliseconds with three decimals, so that tenths of a microsecond never clutter a column.
std::string Ms(double milliseconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", milliseconds);
    return text;
}

void PrintSummary(std::ostream& out, const char* what, const TimeSummary& s)
{
    out << what << " median " << Ms(s.median) << " p95 " << Ms(s.p95) << " worst " << Ms(s.worst) << " ms\n";
}

} // namespace

TimeSummary Summarize(std::vector<double> milliseconds)
{
    if (milliseconds.empty()) return {};
    std::sort(milliseconds.begin(), milliseconds.end());
    const size_t n = milliseconds.size();
    const double median = n % 2 == 1 ? milliseconds[n / 2] : (milliseconds[n / 2 - 1] + milliseconds[n / 2]) / 2;
    const size_t rank = static_cast<size_t>(std::ceil(0.95 * static_cast<double>(n)));
    return { median, milliseconds[std::max<size_t>(rank, 1) - 1], milliseconds.back() };
}

void FrameTimings::Add(std::int64_t tick, double updateMilliseconds, double renderMilliseconds)
{
    m_Frames.push_back({ tick, updateMilliseconds, renderMilliseconds });
}

void FrameTimings::Print(std::ostream& out, unsigned threads) const
{
    out << "load " << Ms(m_Load) << " ms threads " << threads << "\n";
    std::vector<double> updates, renders;
    for (const Frame& f : m_Frames) {
        out << "@" << f.tick << " update " << Ms(f.update) << " ms render " << Ms(f.render) << " ms\n";
        updates.push_back(f.update);
        renders.push_back(f.render);
    }
    PrintSummary(out, "update", Summarize(updates));
    PrintSummary(out, "render", Summarize(renders));
}

} // namespace KUV::Render
