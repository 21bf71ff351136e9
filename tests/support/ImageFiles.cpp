#include "support/ImageFiles.h"

#include <cstdlib>
#include <fstream>
#include <sys/inotify.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>

namespace kuvtest {

namespace {

void AppendToBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) { }

void WritePngHeader(png_structp png, png_infop info, const PngPicture& picture)
{
    // Header-only pictures may declare sizes far beyond what libpng writes by default.
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_set_IHDR(png, info, picture.width, picture.height, picture.bitDepth, picture.colorType,
        picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    if (!picture.palette.empty())
        png_set_PLTE(
            png, info, reinterpret_cast<png_const_colorp>(picture.palette.data()), int(picture.palette.size() / 3));
    if (!picture.paletteAlpha.empty())
        png_set_tRNS(png, info, picture.paletteAlpha.data(), int(picture.paletteAlpha.size()), nullptr);
    png_write_info(png, info);
}

} // namespace

Bytes EncodePng(const PngPicture& picture)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, AppendToBytes, NoFlush);
    WritePngHeader(png, info, picture);
    if (!picture.rows.empty()) {
        const std::size_t stride = png_get_rowbytes(png, info);
        std::vector<png_bytep> rows;
        for (std::uint32_t y = 0; y < picture.height; ++y)
            rows.push_back(const_cast<png_bytep>(picture.rows.data() + stride * y));
        png_write_image(png, rows.data());
        png_write_end(png, info);
    }
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes PngHeaderOnly(std::uint32_t width, std::uint32_t height)
{
    return EncodePng({ width, height, PNG_COLOR_TYPE_RGB_ALPHA });
}

Bytes EncodeJpeg(int width, int height, JpegColor color, const Bytes& samples)
{
    jpeg_compress_struct cinfo {};
    jpeg_error_mgr errors {};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = color == JpegColor::Rgb ? 3 : color == JpegColor::Grey ? 1 : 4;
    cinfo.in_color_space = color == JpegColor::Rgb ? JCS_RGB : color == JpegColor::Grey ? JCS_GRAYSCALE : JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
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

Bytes Halves(int width, int height, Rgba left, Rgba right, bool withAlpha)
{
    Bytes samples;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgba p = x < width / 2 ? left : right;
            samples.insert(samples.end(), { p.r, p.g, p.b });
            if (withAlpha) samples.push_back(p.a);
        }
    return samples;
}

void WritePng(const std::string& path, int width, int height, Rgba left, Rgba right)
{
    WriteFile(path,
        EncodePng({ std::uint32_t(width), std::uint32_t(height), PNG_COLOR_TYPE_RGB_ALPHA, 8, false,
            Halves(width, height, left, right, true) }));
}

void WriteJpeg(const std::string& path, int width, int height, Rgba left, Rgba right)
{
    WriteFile(path, EncodeJpeg(width, height, JpegColor::Rgb, Halves(width, height, left, right, false)));
}

void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    EXPECT_TRUE(out.good()) << "cannot write " << path;
}

OpenCounter::OpenCounter(const std::string& path)
    : m_Fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    EXPECT_GE(m_Fd, 0);
    if (m_Fd >= 0) {
        EXPECT_GE(inotify_add_watch(m_Fd, path.c_str(), IN_OPEN), 0) << path;
    }
}

OpenCounter::~OpenCounter()
{
    if (m_Fd >= 0) close(m_Fd);
}

int OpenCounter::Opens()
{
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = m_Fd >= 0 ? read(m_Fd, buffer, sizeof buffer) : -1;
        if (got <= 0) return m_Opens;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->mask & IN_OPEN) ++m_Opens;
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
}

} // namespace kuvtest
