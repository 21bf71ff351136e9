#include "ImageTestFiles.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <stdexcept>

#include <jpeglib.h>
#include <png.h>

namespace imagetest {

namespace fs = std::filesystem;

ScratchDir::ScratchDir()
{
    std::random_device random;
    m_Root = fs::temp_directory_path() / ("kuv-image-test-" + std::to_string(random()));
    fs::create_directories(m_Root);
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    fs::remove_all(m_Root, ignored);
}

namespace {

void AppendToBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) { }

void WritePngHeader(png_structp png, png_infop info, const PngPicture& picture)
{
    png_set_IHDR(png, info, picture.width, picture.height, picture.bitDepth, picture.colorType,
        picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    if (!picture.palette.empty())
        png_set_PLTE(
            png, info, reinterpret_cast<png_const_colorp>(picture.palette.data()), int(picture.palette.size() / 3));
    if (!picture.paletteAlpha.empty())
        png_set_tRNS(png, info, picture.paletteAlpha.data(), int(picture.paletteAlpha.size()), nullptr);
    if (picture.transparentGrey >= 0) {
        png_color_16 grey {};
        grey.gray = png_uint_16(picture.transparentGrey);
        png_set_tRNS(png, info, nullptr, 0, &grey);
    }
    png_write_info(png, info);
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t length, std::uint32_t crc = 0)
{
    crc = ~crc;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void AppendBigEndian(Bytes& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(std::uint8_t(value >> shift));
}

Bytes Chunk(const std::string& type, const Bytes& data)
{
    Bytes chunk;
    AppendBigEndian(chunk, std::uint32_t(data.size()));
    chunk.insert(chunk.end(), type.begin(), type.end());
    chunk.insert(chunk.end(), data.begin(), data.end());
    AppendBigEndian(chunk, Crc32(chunk.data() + 4, chunk.size() - 4));
    return chunk;
}

} // namespace

Bytes EncodePng(const PngPicture& picture)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, AppendToBytes, NoFlush);
    WritePngHeader(png, info, picture);
    const std::size_t stride = png_get_rowbytes(png, info);
    std::vector<png_bytep> rows;
    for (int y = 0; y < picture.height; ++y)
        rows.push_back(const_cast<png_bytep>(picture.rows.data() + stride * y));
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes EncodeJpeg(int width, int height, JpegColor color, const Bytes& samples, int quality)
{
    jpeg_compress_struct cinfo {};
    jpeg_error_mgr errors {};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = color == JpegColor::Rgb ? 3 : color == JpegColor::Grey ? 1 : 4;
    cinfo.in_color_space = color == JpegColor::Rgb ? JCS_RGB : color == JpegColor::Grey ? JCS_GRAYSCALE : JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const std::size_t stride = std::size_t(width) * cinfo.input_components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + stride * cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

Bytes PngHeaderOnly(std::uint32_t width, std::uint32_t height)
{
    Bytes out { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    Bytes ihdr;
    AppendBigEndian(ihdr, width);
    AppendBigEndian(ihdr, height);
    ihdr.insert(ihdr.end(), { 8, 6, 0, 0, 0 }); // 8-bit RGBA, deflate, no filter, no interlace
    const Bytes chunk = Chunk("IHDR", ihdr);
    out.insert(out.end(), chunk.begin(), chunk.end());
    return out;
}

Bytes InsertPngChunk(const Bytes& png, const std::string& before, const std::string& type, const Bytes& data)
{
    std::size_t pos = 8;
    while (pos + 8 <= png.size() && std::string(png.begin() + pos + 4, png.begin() + pos + 8) != before) {
        const std::uint32_t length
            = std::uint32_t(png[pos]) << 24 | png[pos + 1] << 16 | png[pos + 2] << 8 | png[pos + 3];
        pos += 12 + length;
    }
    if (pos + 8 > png.size()) throw std::runtime_error("no " + before + " chunk");
    Bytes out(png.begin(), png.begin() + pos);
    const Bytes chunk = Chunk(type, data);
    out.insert(out.end(), chunk.begin(), chunk.end());
    out.insert(out.end(), png.begin() + pos, png.end());
    return out;
}

Bytes PatchJpegSize(Bytes jpeg, std::uint16_t width, std::uint16_t height)
{
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = std::uint8_t(height >> 8), jpeg[i + 6] = std::uint8_t(height);
            jpeg[i + 7] = std::uint8_t(width >> 8), jpeg[i + 8] = std::uint8_t(width);
            return jpeg;
        }
    }
    throw std::runtime_error("no SOF0 marker");
}

void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::u16string Utf16(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

} // namespace imagetest
