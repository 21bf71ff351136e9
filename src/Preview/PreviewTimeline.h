// Where the preview is in the show: the current tick, pausing, seeking, and a loop
// between two marks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Preview/PreviewKeys.h"

namespace KUV::Preview {

inline constexpr std::int64_t PreviewFrameMs = 16;
// Scenes take their time as a signed 32-bit tick count.
inline constexpr std::int64_t PreviewMaxTick = 2147483647;

class PreviewTimeline {
public:
    explicit PreviewTimeline(std::int64_t startTick);

    std::int64_t Tick() const { return m_Tick; }
    bool Paused() const { return m_Paused; }
    bool Looping() const { return m_Looping; }
    std::optional<std::int64_t> MarkIn() const { return m_In; }
    std::optional<std::int64_t> MarkOut() const { return m_Out; }

    // Plays elapsedMs on (nothing while paused). Looping, reaching the end mark goes back to
    // the start mark. True when the tick went back: the scene must be brought there anew.
    bool Play(std::int64_t elapsedMs);
    // Carries out a timeline command (the others change nothing). True when it moved the tick.
    bool Apply(PreviewCommand command);

    // "paused", "loop 1.000-3.000 s", "marks [1.000 ]-": the state in a few words, for the overlay.
    std::string StateText() const;

private:
    bool MoveTo(std::int64_t tick);
    bool MoveBy(std::int64_t delta) { return MoveTo(m_Tick + delta); }
    bool SetMark(std::optional<std::int64_t>& mark);
    bool ToggleLoop();
    bool LoopValid() const { return m_In && m_Out && *m_In < *m_Out; }

    std::int64_t m_Tick;
    bool m_Paused = false;
    bool m_Looping = false;
    std::optional<std::int64_t> m_In;
    std::optional<std::int64_t> m_Out;
};

// A tick as seconds with milliseconds: "12.345".
std::string SecondsText(std::int64_t tick);

} // namespace KUV::Preview
