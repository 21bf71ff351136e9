#include "Preview/PreviewMusic.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <SDL_mixer.h>

#include "Core/FilePath.h"
#include "Preview/PreviewTimeline.h"

namespace KUV::Preview {
namespace {

constexpr int PlayOnce = 0;

} // namespace

std::optional<double> MusicClock::Estimate(double reportedMs, double nowMs)
{
    if (!m_Seen) {
        m_Seen = true;
        m_ReportedMs = reportedMs;
    } else if (reportedMs != m_ReportedMs) {
        m_ReportedMs = reportedMs;
        m_Offsets[m_OffsetCount++ % Bounds] = reportedMs - m_BlockMs - nowMs;
    }
    if (m_OffsetCount < MinBounds) return std::nullopt;
    const int count = std::min(m_OffsetCount, Bounds);
    return nowMs + *std::max_element(m_Offsets, m_Offsets + count);
}

void MusicClock::Reset()
{
    m_Seen = false;
    m_OffsetCount = 0;
}

bool MusicDrifted(double musicMs, std::int64_t sceneMs)
{
    return std::fabs(musicMs - static_cast<double>(sceneMs)) > static_cast<double>(PreviewFrameMs);
}

PreviewMusic::~PreviewMusic()
{
    if (m_Music) {
        Mix_HaltMusic();
        Mix_FreeMusic(m_Music);
    }
    m_Output.Stop();
}

bool PreviewMusic::Open(const std::string& path, std::string* warning)
{
    if (!m_Output.OpenOutput(MusicFrequency, warning)) {
        m_Error = m_Output.Error();
        return false;
    }
    m_Music = Mix_LoadMUS(KUV::ResolvePath(path).c_str());
    if (!m_Music) {
        m_Error = "cannot open the music \"" + path + "\": " + Mix_GetError();
        return false;
    }
    const double seconds = Mix_MusicDuration(m_Music);
    // A length the decoder cannot tell is taken as endless: the mixer stops at the real end.
    m_LengthMs = seconds > 0 ? seconds * 1000.0 : std::numeric_limits<double>::infinity();
    return true;
}

void PreviewMusic::Jumped()
{
    if (m_Music && m_Started) Mix_PauseMusic();
    m_Started = false;
}

// A stopped or paused stream starts at the position itself, so no block of the old position is heard.
void PreviewMusic::PlayFrom(std::int64_t tick)
{
    const double seconds = static_cast<double>(tick) / 1000.0;
    if (m_Started && !Mix_PausedMusic() && Mix_PlayingMusic())
        Mix_SetMusicPosition(seconds);
    else
        Mix_FadeInMusicPos(m_Music, PlayOnce, 0, seconds);
    m_Started = true;
    m_Clock.Reset();
    ++m_Resyncs;
}

void PreviewMusic::Follow(std::int64_t tick, bool playing, double nowMs)
{
    if (!m_Music) return;
    const bool audible = playing && static_cast<double>(tick) < m_LengthMs;
    if (!audible) {
        if (m_Started && !Mix_PausedMusic()) Mix_PauseMusic();
        return;
    }
    if (!m_Started || Mix_PausedMusic() || !Mix_PlayingMusic()) {
        PlayFrom(tick);
        return;
    }
    const std::optional<double> heard = m_Clock.Estimate(Mix_GetMusicPosition(m_Music) * 1000.0, nowMs);
    if (heard && MusicDrifted(*heard, tick)) PlayFrom(tick);
}

} // namespace KUV::Preview
