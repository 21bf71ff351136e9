// Image files made on the fly for the image tests, and a watch that counts how
// often a file is opened.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/Pixels.h"

namespace kuvtest {

using Bytes = std::vector<std::uint8_t>;

struct PngPicture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int colorType = 0; // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    Bytes rows = {}; // packed rows as libpng expects them (16-bit samples big-endian); none: the header alone
    Bytes palette = {}; // r,g,b triples
    Bytes paletteAlpha = {}; // tRNS
};

// The PNG file of picture; without rows it ends after the header chunks.
Bytes EncodePng(const PngPicture& picture);
// An 8-bit RGBA PNG that declares its size and holds no pixel data.
Bytes PngHeaderOnly(std::uint32_t width, std::uint32_t height);

enum class JpegColor { Rgb, Grey, AdobeCmyk };

// A JPEG at quality 95; samples hold 3, 1 or 4 bytes a pixel according to color.
Bytes EncodeJpeg(int width, int height, JpegColor color, const Bytes& samples);

// The 8-bit samples of a picture whose left half is left and right half is right: RGBA with
// straight alpha, or RGB without alpha.
Bytes Halves(int width, int height, Rgba left, Rgba right, bool withAlpha);
// Such a picture as an RGBA PNG file, and as an opaque JPEG file.
void WritePng(const std::string& path, int width, int height, Rgba left, Rgba right);
void WriteJpeg(const std::string& path, int width, int height, Rgba left, Rgba right);

void WriteFile(const std::string& path, const Bytes& bytes);

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
