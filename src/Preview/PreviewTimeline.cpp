#include "Preview/PreviewTimeline.h"

#include <algorithm>
#include <cstdio>

namespace KUV::Preview {
namespace {

struct Seek {
    PreviewCommand command;
    std::int64_t deltaMs;
};

constexpr Seek Seeks[] = {
    { PreviewCommand::Back1s, -1000 },
    { PreviewCommand::Forward1s, 1000 },
    { PreviewCommand::Back10s, -10000 },
    { PreviewCommand::Forward10s, 10000 },
};

std::optional<std::int64_t> SeekDelta(PreviewCommand command)
{
    for (const Seek& seek : Seeks)
        if (seek.command == command) return seek.deltaMs;
    return std::nullopt;
}

} // namespace

PreviewTimeline::PreviewTimeline(std::int64_t startTick)
    : m_Tick(std::clamp<std::int64_t>(startTick, 0, PreviewMaxTick))
{
}

bool PreviewTimeline::Play(std::int64_t elapsedMs)
{
    if (m_Paused || elapsedMs <= 0) return false;
    const std::int64_t next = std::min(m_Tick + elapsedMs, PreviewMaxTick);
    // Only a pass over the end mark loops: a seek beyond it plays on from there.
    if (m_Looping && m_Tick < *m_Out && next >= *m_Out) {
        m_Tick = *m_In;
        return true;
    }
    m_Tick = next;
    return false;
}

bool PreviewTimeline::Apply(PreviewCommand command)
{
    if (const std::optional<std::int64_t> delta = SeekDelta(command)) return MoveBy(*delta);
    switch (command) {
    case PreviewCommand::TogglePause:
        m_Paused = !m_Paused;
        return false;
    case PreviewCommand::Home:
        return MoveTo(0);
    case PreviewCommand::StepBack:
        return m_Paused && MoveBy(-PreviewFrameMs);
    case PreviewCommand::StepForward:
        return m_Paused && MoveBy(PreviewFrameMs);
    case PreviewCommand::MarkIn:
        return SetMark(m_In);
    case PreviewCommand::MarkOut:
        return SetMark(m_Out);
    case PreviewCommand::ToggleLoop:
        return ToggleLoop();
    default:
        return false;
    }
}

bool PreviewTimeline::MoveTo(std::int64_t tick)
{
    const std::int64_t clamped = std::clamp<std::int64_t>(tick, 0, PreviewMaxTick);
    if (clamped == m_Tick) return false;
    m_Tick = clamped;
    return true;
}

// Marks that no longer enclose a passage end the loop.
bool PreviewTimeline::SetMark(std::optional<std::int64_t>& mark)
{
    mark = m_Tick;
    if (!LoopValid()) m_Looping = false;
    return false;
}

// Starting a loop from outside its passage goes to the start mark at once.
bool PreviewTimeline::ToggleLoop()
{
    if (m_Looping || !LoopValid()) {
        m_Looping = false;
        return false;
    }
    m_Looping = true;
    if (m_Tick >= *m_In && m_Tick < *m_Out) return false;
    return MoveTo(*m_In);
}

std::string SecondsText(std::int64_t tick)
{
    char text[32];
    std::snprintf(
        text, sizeof text, "%lld.%03lld", static_cast<long long>(tick / 1000), static_cast<long long>(tick % 1000));
    return text;
}

std::string PreviewTimeline::StateText() const
{
    std::string text = m_Paused ? "paused" : "playing";
    if (!m_In && !m_Out) return text;
    const std::string in = m_In ? SecondsText(*m_In) : " ";
    const std::string out = m_Out ? SecondsText(*m_Out) : " ";
    text += m_Looping ? "  loop " + in + "-" + out + " s" : "  marks [" + in + " " + out + "]";
    return text;
}

} // namespace KUV::Preview
