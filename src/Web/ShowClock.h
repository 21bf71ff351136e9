// The show's time in the browser. The scene's tick follows the soundtrack's position (the audio
// clock), so that picture and music stay together however frames are scheduled; the show ends,
// as the player's run does, once more than the run's length has passed, on the frame of its last
// millisecond. Seeking backwards means loading the scene again: its controllers only run forward.
#pragma once

#include <cstdint>
#include <vector>

namespace KUV::Web {

// The production's length, as the player's run.
inline constexpr std::int32_t ShowLengthMs = 154000;
// The update step of a catch-up, as tvs-render's default, so that a frame reached by seeking is the
// frame tvs-render draws at the same tick.
inline constexpr std::int32_t CatchUpStepMs = 16;

// How to bring a scene to a tick: load it again first or not, then update it at these ticks.
struct SeekPlan {
    bool reload = false;
    std::vector<std::int32_t> updates;
};

// The updates that bring a scene from tick `from` (already updated there; -1 for a scene just
// loaded at 0 and never updated) to tick `to`: every CatchUpStepMs after `from`, then `to`.
std::vector<std::int32_t> CatchUpTicks(std::int32_t from, std::int32_t to);

class ShowClock {
public:
    // The tick of the frame to draw when the soundtrack is at audioMs (ms since its start): the
    // position, never before the last frame's tick, never past the show's end.
    std::int32_t FrameTick(double audioMs);

    // Whether the show has ended: the audio went past ShowLengthMs.
    bool Ended() const { return m_Ended; }
    std::int32_t Tick() const { return m_Tick; }

    // Moves the show to ms (clamped to the show): the plan that brings the scene there.
    SeekPlan Seek(std::int32_t ms);

private:
    std::int32_t m_Tick = -1; // the tick the scene was last updated at; -1 before the first
    bool m_Ended = false;
};

} // namespace KUV::Web
