#include "Host/PreviewMusic.h"

#include <cmath>

#include <SDL_mixer.h>

#include "Core/FilePath.h"
#include "Host/PreviewTimeline.h"

namespace Host {
namespace {

constexpr int OutputFrequency = 44100;
constexpr int PlayOnce = 0;

} // namespace

double MusicClock::Estimate(double reportedMs, double nowMs)
{
    if (!m_Anchored || reportedMs != m_ReportedMs) {
        m_Anchored = true;
        m_ReportedMs = reportedMs;
        m_AnchorNowMs = nowMs;
    }
    return m_ReportedMs + (nowMs - m_AnchorNowMs);
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
    if (!m_Output.OpenOutput(OutputFrequency, warning)) {
        m_Error = m_Output.Error();
        return false;
    }
    m_Music = Mix_LoadMUS(KUV::ResolvePath(path).c_str());
    if (!m_Music) {
        m_Error = "cannot open the music \"" + path + "\": " + Mix_GetError();
        return false;
    }
    m_LengthMs = Mix_MusicDuration(m_Music) * 1000.0;
    return true;
}

void PreviewMusic::Jumped()
{
    if (m_Music && m_Started) Mix_PauseMusic();
    m_Started = false;
}

void PreviewMusic::PlayFrom(std::int64_t tick)
{
    if (!m_Started) {
        Mix_PlayMusic(m_Music, PlayOnce);
        m_Started = true;
    }
    Mix_SetMusicPosition(static_cast<double>(tick) / 1000.0);
    Mix_ResumeMusic();
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
    const double position = m_Clock.Estimate(Mix_GetMusicPosition(m_Music) * 1000.0, nowMs);
    if (MusicDrifted(position, tick)) PlayFrom(tick);
}

} // namespace Host
