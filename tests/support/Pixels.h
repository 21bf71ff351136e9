// Pixel checks on rendered frames. On a failed check the actual frame is saved
// under the test output folder and the first wrong pixel is named.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Gfx/D2D1.h"

namespace kuvtest {

struct Rgba {
    std::uint8_t r, g, b, a;
};

struct PixelExpectation {
    int x;
    int y;
    Rgba expected;
};

// An unpremultiplied copy of an image's pixels.
class Image {
public:
    static Image FromTarget(ID2D1ImageRenderTarget* target);
    // Loads a PNG file; an empty image (0 x 0) when it cannot be read.
    static Image FromPng(const std::string& path);

    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    Rgba At(int x, int y) const;
    // Writes the image as PNG into the test output folder under name; returns the path.
    std::string Save(const std::string& name) const;

private:
    int m_Width = 0;
    int m_Height = 0;
    std::vector<Rgba> m_Pixels;
};

// Checks every expectation with a per-channel tolerance.
::testing::AssertionResult PixelsNear(
    const Image& image, const std::vector<PixelExpectation>& expectations, int tolerance = 8);
::testing::AssertionResult PixelsNear(
    ID2D1ImageRenderTarget* target, const std::vector<PixelExpectation>& expectations, int tolerance = 8);

// The largest difference of any channel of any pixel between two images of one size, and
// where it is (x and y are -1 when the images are alike).
struct PixelDifference {
    int largest = 0;
    int x = -1;
    int y = -1;
};
PixelDifference LargestDifference(const Image& a, const Image& b);

constexpr Rgba White { 255, 255, 255, 255 };
constexpr Rgba Black { 0, 0, 0, 255 };
constexpr Rgba Red { 255, 0, 0, 255 };
constexpr Rgba Green { 0, 255, 0, 255 };
constexpr Rgba Blue { 0, 0, 255, 255 };

} // namespace kuvtest
