#include "ImageFiles.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>

#include <cairo.h>
#include <jpeglib.h>

namespace kuvtest {

namespace {

std::uint32_t PremultipliedArgb(Rgba p)
{
    const auto scale = [&](std::uint8_t c) { return std::uint32_t((c * p.a + 127) / 255); };
    return std::uint32_t(p.a) << 24 | scale(p.r) << 16 | scale(p.g) << 8 | scale(p.b);
}

std::uint32_t Crc32(const std::string& bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string BigEndian(std::uint32_t value)
{
    return { char(value >> 24), char(value >> 16), char(value >> 8), char(value) };
}

} // namespace

void WritePng(const std::string& path, int width, int height, Rgba left, Rgba right)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + std::size_t(y) * stride);
        for (int x = 0; x < width; ++x)
            row[x] = PremultipliedArgb(x < width / 2 ? left : right);
    }
    cairo_surface_mark_dirty(surface);
    EXPECT_EQ(cairo_surface_write_to_png(surface, path.c_str()), CAIRO_STATUS_SUCCESS) << path;
    cairo_surface_destroy(surface);
}

void WriteJpeg(const std::string& path, int width, int height, Rgba left, Rgba right)
{
    std::vector<JSAMPLE> samples;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgba p = x < width / 2 ? left : right;
            samples.insert(samples.end(), { p.r, p.g, p.b });
        }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    jpeg_compress_struct compress {};
    jpeg_error_mgr errors {};
    compress.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compress);
    jpeg_stdio_dest(&compress, file);
    compress.image_width = JDIMENSION(width);
    compress.image_height = JDIMENSION(height);
    compress.input_components = 3;
    compress.in_color_space = JCS_RGB;
    jpeg_set_defaults(&compress);
    jpeg_set_quality(&compress, 95, TRUE);
    jpeg_start_compress(&compress, TRUE);
    while (compress.next_scanline < compress.image_height) {
        JSAMPROW row = samples.data() + std::size_t(compress.next_scanline) * width * 3;
        jpeg_write_scanlines(&compress, &row, 1);
    }
    jpeg_finish_compress(&compress);
    jpeg_destroy_compress(&compress);
    std::fclose(file);
}

std::string PngHeaderOnly(std::uint32_t width, std::uint32_t height)
{
    // 8-bit RGBA, deflate, adaptive filtering, no interlace.
    const std::string body = "IHDR" + BigEndian(width) + BigEndian(height) + std::string("\x08\x06\x00\x00\x00", 5);
    return std::string("\x89PNG\r\n\x1A\n", 8) + BigEndian(13) + body + BigEndian(Crc32(body));
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
