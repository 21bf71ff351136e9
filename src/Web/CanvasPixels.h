// A frame's pixels as a canvas takes them (ImageData): the drawing layer's rows of premultiplied
// B, G, R, A bytes become tightly packed straight R, G, B, A.
#pragma once

#include <cstddef>
#include <cstdint>

namespace KUV::Web {

// Converts width x height pixels from bgra (rows of stride bytes) into rgba (width * 4 bytes a row).
void ToCanvasRgba(const std::uint8_t* bgra, std::uint32_t stride, int width, int height, std::uint8_t* rgba);

} // namespace KUV::Web
