// Image files made on the fly for the bitmap tests, and a watch that counts
// how often a file is opened.
#pragma once

#include <cstdint>
#include <string>

#include "support/Pixels.h"

namespace kuvtest {

// A PNG of width x height whose left half is left and right half is right (straight alpha).
void WritePng(const std::string& path, int width, int height, Rgba left, Rgba right);

// An opaque JPEG (quality 95) of width x height whose left half is left and right half is right.
void WriteJpeg(const std::string& path, int width, int height, Rgba left, Rgba right);

// A PNG signature and a valid IHDR chunk declaring the size, and nothing else.
std::string PngHeaderOnly(std::uint32_t width, std::uint32_t height);

std::string ReadBytes(const std::string& path);

// Counts the opens of one file from construction on.
class OpenCounter {
public:
    explicit OpenCounter(const std::string& path);
    ~OpenCounter();
    OpenCounter(const OpenCounter&) = delete;
    OpenCounter& operator=(const OpenCounter&) = delete;

    // The opens seen so far.
    int Opens();

private:
    int m_Fd = -1;
    int m_Opens = 0;
};

} // namespace kuvtest
