// The soundtrack's shape for the timeline strip: the file decoded once into the peak
// level of every few milliseconds, in the background so that the window draws meanwhile.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace KUV::Preview {

struct Envelope {
    double bucketMs = 10;
    std::vector<float> peaks; // 0 to 1, one per bucket

    double LengthMs() const { return bucketMs * static_cast<double>(peaks.size()); }
    // The highest peak from fromMs to toMs (at least the bucket there); 0 outside the sound.
    float PeakBetween(double fromMs, double toMs) const;
};

// Builds an envelope from interleaved 16-bit samples of channels channels at rate samples a
// second, given block by block.
class EnvelopeBuilder {
public:
    EnvelopeBuilder(int channels, long rate, double bucketMs);
    void Add(const std::int16_t* samples, std::size_t frames);
    Envelope Take() { return std::move(m_Envelope); }

private:
    int m_Channels;
    double m_FramesPerBucket;
    std::size_t m_Frames = 0;
    Envelope m_Envelope;
};
// Decodes an MP3 file (a path as the player takes it); nullopt with a reason in *error.
std::optional<Envelope> DecodeEnvelope(const std::string& path, std::string* error);

// Decodes on a thread of its own from construction on.
class EnvelopeLoader {
public:
    explicit EnvelopeLoader(std::string path);
    ~EnvelopeLoader();
    EnvelopeLoader(const EnvelopeLoader&) = delete;
    EnvelopeLoader& operator=(const EnvelopeLoader&) = delete;

    // The envelope once decoded (nullptr before, or when decoding failed).
    const Envelope* Result() const;
    // Why decoding failed, once it has.
    std::string Error() const;

private:
    std::optional<Envelope> m_Envelope;
    std::string m_Error;
    std::atomic<bool> m_Done { false };
    std::thread m_Thread;
};

} // namespace KUV::Preview
