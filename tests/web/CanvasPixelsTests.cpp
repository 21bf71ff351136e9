#include <array>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "Web/CanvasPixels.h"

using KUV::Web::ToCanvasRgba;

TEST(WebCanvasPixels, OpaquePixelsOnlyChangeChannelOrderAndRowPaddingIsDropped)
{
    // Two rows of two pixels, each row padded to 12 bytes.
    const std::vector<std::uint8_t> bgra { 10, 20, 30, 255, 0, 0, 255, 255, 0xEE, 0xEE, 0xEE, 0xEE, //
        255, 255, 255, 255, 1, 2, 3, 255, 0xEE, 0xEE, 0xEE, 0xEE };
    std::array<std::uint8_t, 16> rgba {};
    ToCanvasRgba(bgra.data(), 12, 2, 2, rgba.data());
    EXPECT_EQ(
        rgba, (std::array<std::uint8_t, 16> { 30, 20, 10, 255, 255, 0, 0, 255, 255, 255, 255, 255, 3, 2, 1, 255 }));
}

TEST(WebCanvasPixels, TranslucentPixelsAreUnpremultipliedAndClearOnesHaveNoColour)
{
    const std::vector<std::uint8_t> bgra { 64, 0, 128, 128, 9, 9, 9, 0, 1, 1, 1, 1 };
    std::array<std::uint8_t, 12> rgba {};
    ToCanvasRgba(bgra.data(), 12, 3, 1, rgba.data());
    EXPECT_EQ(rgba, (std::array<std::uint8_t, 12> { 255, 0, 128, 128, 0, 0, 0, 0, 255, 255, 255, 1 }));
}
