// The production's soundtrack, streamed from a file and played once through SDL_mixer.
#pragma once

#include <string>

struct _Mix_Music;

namespace KUV::Host {

class Soundtrack {
public:
    Soundtrack() = default;
    Soundtrack(const Soundtrack&) = delete;
    Soundtrack& operator=(const Soundtrack&) = delete;
    ~Soundtrack() { Stop(); }

    // Opens audio output at frequency Hz. When the machine's output cannot be opened, opens
    // SDL's silent dummy output instead and describes the fallback in *warning. False (with
    // Error set) when not even the silent output opens.
    bool OpenOutput(int frequency, std::string* warning);
    // Streams the file at writtenPath (Windows-style paths allowed) and starts playing it once
    // from the beginning. False (with Error naming the path as written) on any failure.
    bool Play(const std::string& writtenPath);
    // Halts playback and closes the output; safe to call more than once.
    void Stop();

    // What failed, as one line.
    const std::string& Error() const { return m_Error; }

private:
    bool TryOpenOutput(int frequency);
    bool Fail(const std::string& message);

    _Mix_Music* m_Music = nullptr;
    bool m_OutputOpen = false;
    std::string m_Error;
};

} // namespace KUV::Host
