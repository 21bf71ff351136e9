// Small image files written on the fly for the decoder tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace imagetest {

using Bytes = std::vector<std::uint8_t>;

// A fresh directory removed again at the end of the test.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string Path(const std::string& name) const { return (m_Root / name).string(); }

private:
    std::filesystem::path m_Root;
};

struct PngPicture {
    int width = 0;
    int height = 0;
    int colorType = 0; // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    Bytes rows; // packed rows as libpng expects them (16-bit samples big-endian)
    Bytes palette; // r,g,b triples
    Bytes paletteAlpha; // tRNS for palette images
    int transparentGrey = -1; // tRNS for grey images
};

Bytes EncodePng(const PngPicture& picture);

enum class JpegColor { Rgb, Grey, AdobeCmyk };
// samples: 3, 1 or 4 bytes per pixel according to color.
Bytes EncodeJpeg(int width, int height, JpegColor color, const Bytes& samples, int quality = 95);

// A PNG of just its signature and an IHDR chunk: it declares a size but holds no pixels.
Bytes PngHeaderOnly(std::uint32_t width, std::uint32_t height);

// The PNG with chunk inserted right before the chunk named before (e.g. "IDAT").
Bytes InsertPngChunk(const Bytes& png, const std::string& before, const std::string& type, const Bytes& data);

// Overwrites the height and width of the first SOF0 marker of a JPEG.
Bytes PatchJpegSize(Bytes jpeg, std::uint16_t width, std::uint16_t height);

void WriteFile(const std::string& path, const Bytes& bytes);

std::u16string Utf16(const std::string& ascii);

} // namespace imagetest
