#include "Web/CanvasPixels.h"

namespace KUV::Web {

namespace {

// A premultiplied channel back to straight, rounded to nearest; alpha 0 has no colour.
std::uint8_t Unpremultiply(std::uint8_t channel, std::uint8_t alpha)
{
    if (alpha == 255) return channel;
    if (alpha == 0) return 0;
    const unsigned value = (unsigned(channel) * 255u + alpha / 2u) / alpha;
    return std::uint8_t(value > 255u ? 255u : value);
}

} // namespace

void ToCanvasRgba(const std::uint8_t* bgra, std::uint32_t stride, int width, int height, std::uint8_t* rgba)
{
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = bgra + std::size_t(y) * stride;
        std::uint8_t* out = rgba + std::size_t(y) * std::size_t(width) * 4u;
        for (int x = 0; x < width; ++x, in += 4, out += 4) {
            const std::uint8_t alpha = in[3];
            out[0] = Unpremultiply(in[2], alpha);
            out[1] = Unpremultiply(in[1], alpha);
            out[2] = Unpremultiply(in[0], alpha);
            out[3] = alpha;
        }
    }
}

} // namespace KUV::Web
