// Pixel checks on rendered frames. A failed check names the first wrong pixel and saves
// what was expected, what was drawn, their difference and the three side by side under
// the test output folder (see support/FailureFiles.h for the names).
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
    Image() = default;
    Image(int width, int height, Rgba fill);
    static Image FromTarget(ID2D1ImageRenderTarget* target);
    // Loads a PNG file; an empty image (0 x 0) when it cannot be read.
    static Image FromPng(const std::string& path);

    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_Width && y < m_Height; }
    // Transparent black outside the image.
    Rgba At(int x, int y) const;
    // Does nothing outside the image.
    void Set(int x, int y, Rgba p);
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

// Checks that two images have one size and every channel of every pixel agrees within tolerance.
::testing::AssertionResult ImagesNear(const Image& expected, const Image& actual, int tolerance);

// The largest difference of any channel between two pixels.
int Difference(Rgba a, Rgba b);

constexpr Rgba White { 255, 255, 255, 255 };
constexpr Rgba Black { 0, 0, 0, 255 };
constexpr Rgba Red { 255, 0, 0, 255 };
constexpr Rgba Green { 0, 255, 0, 255 };
constexpr Rgba Blue { 0, 0, 255, 255 };

} // namespace kuvtest
