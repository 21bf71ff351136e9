#include "Web/CanvasPixels.h"

#include <bit>
#include <cstring>

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

static_assert(std::endian::native == std::endian::little, "pixels are read as little-endian words");

// A played frame is opaque (drawn on white): its pixels need only red and blue swapped, done on the
// whole word. The rest are unpremultiplied channel by channel.
void ConvertRow(const std::uint8_t* in, int width, std::uint8_t* out)
{
    for (int x = 0; x < width; ++x, in += 4, out += 4) {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, in, 4);
        if ((pixel >> 24) == 0xFFu) {
            const std::uint32_t swapped = (pixel & 0xFF00FF00u) | ((pixel >> 16) & 0xFFu) | ((pixel & 0xFFu) << 16);
            std::memcpy(out, &swapped, 4);
            continue;
        }
        const std::uint8_t alpha = in[3];
        out[0] = Unpremultiply(in[2], alpha);
        out[1] = Unpremultiply(in[1], alpha);
        out[2] = Unpremultiply(in[0], alpha);
        out[3] = alpha;
    }
}

} // namespace

void ToCanvasRgba(const std::uint8_t* bgra, std::uint32_t stride, int width, int height, std::uint8_t* rgba)
{
    for (int y = 0; y < height; ++y)
        ConvertRow(bgra + std::size_t(y) * stride, width, rgba + std::size_t(y) * std::size_t(width) * 4u);
}

} // namespace KUV::Web
