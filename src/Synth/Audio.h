// Stereo sample buffers and the whole-buffer operations on them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace KUV::Synth {

constexpr int SampleRate = 44100;

struct Audio {
    std::vector<float> left;
    std::vector<float> right;

    explicit Audio(size_t frames = 0)
        : left(frames, 0.0f)
        , right(frames, 0.0f)
    {
    }
    size_t Frames() const { return left.size(); }
    double Seconds() const { return static_cast<double>(Frames()) / SampleRate; }
};

// Adds mono samples from frame start on with an equal-power pan (-1 left .. 1 right); clips at the end.
void AddPanned(Audio& to, size_t start, const std::vector<float>& samples, double pan, double gain = 1);

// The largest absolute sample of either channel.
double Peak(const Audio& audio);
double PeakDbfs(const Audio& audio);
// Scales the whole buffer so its peak is at dbfs; silence stays silence.
void NormalisePeak(Audio& audio, double dbfs);

// Raises the peak headroomDb above full scale, then turns the gain down just around every sample that would
// pass full scale: smooth ramps, a short one before the peak and a longer one after, so the loudest drum
// transients lose up to headroomDb without the waveform being clipped. Afterwards the peak is at most 1.
void Limit(Audio& audio, double headroomDb);

// 16-bit PCM stereo RIFF WAVE bytes.
std::vector<std::uint8_t> EncodeWav(const Audio& audio);
bool WriteWav(const Audio& audio, const std::string& path, std::string& error);

} // namespace KUV::Synth
