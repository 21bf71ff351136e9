// The soundtrack of the preview: follows the show's tick through pauses and seeks, and
// is put back in step when it drifts from the picture by more than one frame.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Host/Soundtrack.h"

struct _Mix_Music;

namespace KUV::Preview {

inline constexpr int MusicFrequency = 44100;
// The block the soundtrack output decodes at a time: 2048 sample frames.
inline constexpr double MusicBlockMs = 2048 * 1000.0 / MusicFrequency;

// The music's position as heard. The mixer reports the end of the block it decoded last,
// which plays from about when the report changes: heard = wall clock + an offset, and each
// change seen tells a lower bound of that offset (it is seen up to a frame late). The best
// of the last few bounds is the estimate.
class MusicClock {
public:
    explicit MusicClock(double blockMs)
        : m_BlockMs(blockMs)
    {
    }
    // The estimated position at nowMs given the mixer's reportedMs; none until three blocks
    // were decoded since the last Reset (one bound alone can be a frame off, and the first
    // report after a seek is the seek's own position).
    std::optional<double> Estimate(double reportedMs, double nowMs);
    // Forgets the reports before a seek.
    void Reset();

private:
    static constexpr int Bounds = 4;
    static constexpr int MinBounds = 3;
    double m_BlockMs;
    bool m_Seen = false;
    double m_ReportedMs = 0;
    double m_Offsets[Bounds] {};
    int m_OffsetCount = 0;
};

// Whether music at musicMs is out of step with the picture at sceneMs by more than a frame.
bool MusicDrifted(double musicMs, std::int64_t sceneMs);

class PreviewMusic {
public:
    PreviewMusic() = default;
    PreviewMusic(const PreviewMusic&) = delete;
    PreviewMusic& operator=(const PreviewMusic&) = delete;
    ~PreviewMusic();

    // Opens the output (silent when the machine has none, said in *warning) and the file.
    // False with Error set when either fails.
    bool Open(const std::string& path, std::string* warning);
    // Keeps the music at tick: playing when the show plays (until the music ends), paused
    // otherwise, moved when it drifted. nowMs is the wall clock.
    void Follow(std::int64_t tick, bool playing, double nowMs);
    // The show jumped: the music starts over at the next Follow.
    void Jumped();

    const std::string& Error() const { return m_Error; }
    // How often the music was moved to the picture, seeks included.
    int Resyncs() const { return m_Resyncs; }

private:
    void PlayFrom(std::int64_t tick);

    Host::Soundtrack m_Output;
    _Mix_Music* m_Music = nullptr;
    double m_LengthMs = 0;
    bool m_Started = false;
    MusicClock m_Clock { MusicBlockMs };
    int m_Resyncs = 0;
    std::string m_Error;
};

} // namespace KUV::Preview
