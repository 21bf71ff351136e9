#include "Web/ShowClock.h"

#include <algorithm>
#include <cmath>

namespace KUV::Web {

std::vector<std::int32_t> CatchUpTicks(std::int32_t from, std::int32_t to)
{
    std::vector<std::int32_t> ticks;
    if (to <= from) return ticks;
    const std::int32_t firstStep = from < 0 ? 0 : (from / CatchUpStepMs + 1) * CatchUpStepMs;
    for (std::int32_t tick = firstStep; tick < to; tick += CatchUpStepMs)
        ticks.push_back(tick);
    ticks.push_back(to);
    return ticks;
}

std::int32_t ShowClock::FrameTick(double audioMs)
{
    if (!std::isfinite(audioMs)) audioMs = 0.0;
    if (audioMs > double(ShowLengthMs)) m_Ended = true;
    const double clamped = std::clamp(std::floor(audioMs), 0.0, double(ShowLengthMs));
    m_Tick = std::max(m_Tick, std::int32_t(clamped));
    return m_Tick;
}

SeekPlan ShowClock::Seek(std::int32_t ms)
{
    const std::int32_t to = std::clamp(ms, 0, ShowLengthMs);
    SeekPlan plan;
    plan.reload = to < m_Tick;
    plan.updates = CatchUpTicks(plan.reload ? -1 : m_Tick, to);
    m_Tick = to;
    m_Ended = false;
    return plan;
}

} // namespace KUV::Web
