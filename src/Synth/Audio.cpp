#include "Synth/Audio.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>

namespace KUV::Synth {

void AddPanned(Audio& to, size_t start, const std::vector<float>& samples, double pan, double gain)
{
    const double angle = (std::clamp(pan, -1.0, 1.0) + 1) * std::numbers::pi / 4;
    const auto left = static_cast<float>(std::cos(angle) * gain);
    const auto right = static_cast<float>(std::sin(angle) * gain);
    const size_t end = std::min(to.Frames(), start + samples.size());
    for (size_t i = start; i < end; ++i) {
        to.left[i] += samples[i - start] * left;
        to.right[i] += samples[i - start] * right;
    }
}

double Peak(const Audio& audio)
{
    float peak = 0;
    for (size_t i = 0; i < audio.Frames(); ++i)
        peak = std::max({ peak, std::fabs(audio.left[i]), std::fabs(audio.right[i]) });
    return peak;
}

double PeakDbfs(const Audio& audio)
{
    return 20 * std::log10(std::max(Peak(audio), 1e-10));
}

void NormalisePeak(Audio& audio, double dbfs)
{
    const double peak = Peak(audio);
    if (peak <= 0) return;
    const auto gain = static_cast<float>(std::pow(10.0, dbfs / 20) / peak);
    for (size_t i = 0; i < audio.Frames(); ++i) {
        audio.left[i] *= gain;
        audio.right[i] *= gain;
    }
}

void Limit(Audio& audio, double headroomDb)
{
    NormalisePeak(audio, headroomDb);
    const size_t frames = audio.Frames();
    if (frames == 0) return;
    std::vector<float> gain(frames);
    for (size_t i = 0; i < frames; ++i)
        gain[i] = 1.0f / std::max({ 1.0f, std::fabs(audio.left[i]), std::fabs(audio.right[i]) });
    const float attack = 1.0f / (0.002f * SampleRate), release = 1.0f / (0.12f * SampleRate);
    for (size_t i = frames - 1; i-- > 0;)
        gain[i] = std::min(gain[i], gain[i + 1] + attack);
    for (size_t i = 1; i < frames; ++i)
        gain[i] = std::min(gain[i], gain[i - 1] + release);
    for (size_t i = 0; i < frames; ++i) {
        audio.left[i] *= gain[i];
        audio.right[i] *= gain[i];
    }
}

namespace {

void Put(std::vector<std::uint8_t>& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutText(std::vector<std::uint8_t>& bytes, const char* text)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(text[i]));
}

std::int16_t ToPcm(float sample)
{
    return static_cast<std::int16_t>(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f));
}

} // namespace

namespace {

// The RIFF header of 16-bit stereo PCM at the sample rate, for dataBytes of samples.
void PutHeader(std::vector<std::uint8_t>& bytes, std::uint32_t dataBytes)
{
    PutText(bytes, "RIFF");
    Put(bytes, 36 + dataBytes, 4);
    PutText(bytes, "WAVE");
    PutText(bytes, "fmt ");
    Put(bytes, 16, 4);
    Put(bytes, 1, 2); // PCM
    Put(bytes, 2, 2);
    Put(bytes, SampleRate, 4);
    Put(bytes, SampleRate * 4, 4);
    Put(bytes, 4, 2);
    Put(bytes, 16, 2);
    PutText(bytes, "data");
    Put(bytes, dataBytes, 4);
}

} // namespace

std::vector<std::uint8_t> EncodeWav(const Audio& audio)
{
    const auto dataBytes = static_cast<std::uint32_t>(audio.Frames() * 4);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(44 + dataBytes);
    PutHeader(bytes, dataBytes);
    for (size_t i = 0; i < audio.Frames(); ++i) {
        Put(bytes, static_cast<std::uint16_t>(ToPcm(audio.left[i])), 2);
        Put(bytes, static_cast<std::uint16_t>(ToPcm(audio.right[i])), 2);
    }
    return bytes;
}

bool WriteWav(const Audio& audio, const std::string& path, std::string& error)
{
    const auto bytes = EncodeWav(audio);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        error = path + ": cannot write the sound file";
        return false;
    }
    return true;
}

} // namespace KUV::Synth
