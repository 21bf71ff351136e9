#include "Preview/Waveform.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include <mpg123.h>

#include "Core/FilePath.h"

namespace KUV::Preview {
namespace {

constexpr double EnvelopeBucketMs = 10;
// The strip shows peaks, not sound: decoding at a quarter of the rate is four times faster.
constexpr long QuarterRate = 2;

using Decoder = std::unique_ptr<mpg123_handle, void (*)(mpg123_handle*)>;

void CloseDecoder(mpg123_handle* handle)
{
    mpg123_close(handle);
    mpg123_delete(handle);
}

// A decoder that gives 16-bit samples at a quarter of the file's rate, in the file's channels.
Decoder OpenDecoder(const std::string& path, std::string* error)
{
    int status = MPG123_OK;
    Decoder decoder(mpg123_new(nullptr, &status), &CloseDecoder);
    if (!decoder) return (*error = "cannot start the MP3 decoder"), std::move(decoder);
    mpg123_param(decoder.get(), MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    mpg123_param(decoder.get(), MPG123_DOWN_SAMPLE, QuarterRate, 0);
    mpg123_format_none(decoder.get());
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i)
        mpg123_format(decoder.get(), rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open(decoder.get(), KUV::ResolvePath(path).c_str()) != MPG123_OK) {
        *error = "cannot open the music \"" + path + "\": " + mpg123_strerror(decoder.get());
        decoder.reset();
    }
    return decoder;
}

} // namespace

float Envelope::PeakBetween(double fromMs, double toMs) const
{
    if (peaks.empty() || bucketMs <= 0) return 0;
    const auto bucket = [&](double ms) { return static_cast<long long>(std::floor(ms / bucketMs)); };
    const long long first = std::max(bucket(fromMs), 0LL);
    const long long last = std::min(std::max(bucket(toMs), first), static_cast<long long>(peaks.size()) - 1);
    if (first > last) return 0;
    return *std::max_element(peaks.begin() + first, peaks.begin() + last + 1);
}

EnvelopeBuilder::EnvelopeBuilder(int channels, long rate, double bucketMs)
    : m_Channels(std::max(channels, 1))
    , m_FramesPerBucket(std::max(bucketMs * static_cast<double>(rate) / 1000.0, 1.0))
{
    m_Envelope.bucketMs = bucketMs;
}

void EnvelopeBuilder::Add(const std::int16_t* samples, std::size_t frames)
{
    std::vector<float>& peaks = m_Envelope.peaks;
    for (std::size_t i = 0; i < frames; ++i, ++m_Frames) {
        const auto bucket = static_cast<std::size_t>(static_cast<double>(m_Frames) / m_FramesPerBucket);
        if (bucket >= peaks.size()) peaks.resize(bucket + 1, 0.f);
        for (int c = 0; c < m_Channels; ++c)
            peaks[bucket] = std::max(peaks[bucket], std::abs(samples[i * m_Channels + c] / 32768.f));
    }
}

std::optional<Envelope> DecodeEnvelope(const std::string& path, std::string* error)
{
    const Decoder decoder = OpenDecoder(path, error);
    if (!decoder) return std::nullopt;
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(decoder.get(), &rate, &channels, &encoding) != MPG123_OK) {
        *error = "cannot read the music \"" + path + "\"";
        return std::nullopt;
    }
    EnvelopeBuilder builder(channels, rate, EnvelopeBucketMs);
    std::vector<unsigned char> block(1 << 16);
    for (int status = MPG123_OK; status != MPG123_DONE;) {
        size_t done = 0;
        status = mpg123_read(decoder.get(), block.data(), block.size(), &done);
        if (status != MPG123_OK && status != MPG123_DONE) {
            *error = "cannot decode the music \"" + path + "\": " + mpg123_plain_strerror(status);
            return std::nullopt;
        }
        builder.Add(reinterpret_cast<const std::int16_t*>(block.data()), done / sizeof(std::int16_t) / channels);
    }
    return builder.Take();
}

EnvelopeLoader::EnvelopeLoader(std::string path)
    : m_Thread([this, path = std::move(path)] {
        m_Envelope = DecodeEnvelope(path, &m_Error);
        m_Done = true;
    })
{
}

EnvelopeLoader::~EnvelopeLoader()
{
    m_Thread.join();
}

const Envelope* EnvelopeLoader::Result() const
{
    return m_Done && m_Envelope ? &*m_Envelope : nullptr;
}

std::string EnvelopeLoader::Error() const
{
    return m_Done ? m_Error : std::string();
}

} // namespace KUV::Preview
