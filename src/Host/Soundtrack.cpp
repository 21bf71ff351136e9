#include "Host/Soundtrack.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "Core/FilePath.h"

namespace KUV::Host {
namespace {

constexpr int OutputChannels = 2;
constexpr int OutputChunkBytes = 2048;
// Mix_PlayMusic counts plays after the first: 0 plays the stream once and stops.
constexpr int PlayOnce = 0;

} // namespace

bool Soundtrack::OpenOutput(int frequency, std::string* warning)
{
    if (TryOpenOutput(frequency)) return true;
    const std::string reason = SDL_GetError();
    // The production runs on its own clock, so silence is better than not running at all.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    if (!TryOpenOutput(frequency)) return Fail(std::string("cannot open audio output: ") + SDL_GetError());
    if (warning) *warning = "no usable sound device (" + reason + "); the soundtrack plays on silent output";
    return true;
}

bool Soundtrack::TryOpenOutput(int frequency)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(frequency, MIX_DEFAULT_FORMAT, OutputChannels, OutputChunkBytes) != 0) {
        // Keep the reason: quitting the subsystem may overwrite it.
        const std::string reason = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        SDL_SetError("%s", reason.c_str());
        return false;
    }
    m_OutputOpen = true;
    return true;
}

bool Soundtrack::Play(const std::string& writtenPath)
{
    if (!m_OutputOpen) return Fail("cannot play the soundtrack \"" + writtenPath + "\": audio output is not open");
    m_Music = Mix_LoadMUS(KUV::ResolvePath(writtenPath).c_str());
    if (!m_Music) return Fail("cannot open the soundtrack \"" + writtenPath + "\": " + Mix_GetError());
    if (Mix_PlayMusic(m_Music, PlayOnce) != 0)
        return Fail("cannot play the soundtrack \"" + writtenPath + "\": " + Mix_GetError());
    return true;
}

void Soundtrack::Stop()
{
    if (m_Music) {
        Mix_HaltMusic();
        Mix_FreeMusic(m_Music);
        m_Music = nullptr;
    }
    if (m_OutputOpen) {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_OutputOpen = false;
    }
}

bool Soundtrack::Fail(const std::string& message)
{
    m_Error = message;
    return false;
}

} // namespace KUV::Host
