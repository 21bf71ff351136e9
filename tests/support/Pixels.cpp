#include "support/Pixels.h"

#include <cairo.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace kuvtest {

namespace {

std::uint8_t Unpremultiply(std::uint32_t channel, std::uint32_t alpha)
{
    if (alpha == 0) return 0;
    return static_cast<std::uint8_t>((channel * 255 + alpha / 2) / alpha);
}

std::uint8_t Premultiply(std::uint32_t channel, std::uint32_t alpha)
{
    return static_cast<std::uint8_t>((channel * alpha + 127) / 255);
}

// Reads one pixel of premultiplied native-endian ARGB (cairo ARGB32 and our BGRA targets alike).
Rgba FromArgb(std::uint32_t argb)
{
    const std::uint32_t a = argb >> 24;
    return { Unpremultiply((argb >> 16) & 0xFF, a), Unpremultiply((argb >> 8) & 0xFF, a), Unpremultiply(argb & 0xFF, a),
        static_cast<std::uint8_t>(a) };
}

std::uint32_t ToArgb(Rgba p)
{
    return (std::uint32_t { p.a } << 24) | (std::uint32_t { Premultiply(p.r, p.a) } << 16)
        | (std::uint32_t { Premultiply(p.g, p.a) } << 8) | Premultiply(p.b, p.a);
}

std::string OutputDir()
{
    if (const char* dir = std::getenv("KUV_TEST_OUTPUT_DIR")) return dir;
    return KUV_TEST_OUTPUT_DIR;
}

std::string CurrentTestName()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (info == nullptr) return "frame";
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
        if (c == '/') c = '_';
    return name;
}

std::string Describe(Rgba p)
{
    std::ostringstream out;
    out << "(" << int { p.r } << ", " << int { p.g } << ", " << int { p.b } << ", " << int { p.a } << ")";
    return out.str();
}

bool Near(Rgba a, Rgba b, int tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance
        && std::abs(a.a - b.a) <= tolerance;
}

} // namespace

Image Image::FromTarget(ID2D1ImageRenderTarget* target)
{
    Image image;
    UINT32 stride = 0;
    const BYTE* pixels = target->GetPixels(&stride);
    const D2D1_SIZE_U size = target->GetPixelSize();
    if (pixels == nullptr) return image;
    image.m_Width = static_cast<int>(size.width);
    image.m_Height = static_cast<int>(size.height);
    image.m_Pixels.reserve(static_cast<std::size_t>(image.m_Width) * image.m_Height);
    for (int y = 0; y < image.m_Height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(pixels + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < image.m_Width; ++x)
            image.m_Pixels.push_back(FromArgb(row[x]));
    }
    return image;
}

Image Image::FromPng(const std::string& path)
{
    Image image;
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(surface);
        const cairo_format_t format = cairo_image_surface_get_format(surface);
        image.m_Width = cairo_image_surface_get_width(surface);
        image.m_Height = cairo_image_surface_get_height(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        for (int y = 0; y < image.m_Height; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
            for (int x = 0; x < image.m_Width; ++x)
                image.m_Pixels.push_back(FromArgb(format == CAIRO_FORMAT_RGB24 ? row[x] | 0xFF000000u : row[x]));
        }
    }
    cairo_surface_destroy(surface);
    return image;
}

Rgba Image::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_Width || y >= m_Height) return { 0, 0, 0, 0 };
    return m_Pixels[static_cast<std::size_t>(y) * m_Width + x];
}

std::string Image::Save(const std::string& name) const
{
    const std::filesystem::path dir = OutputDir();
    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    const std::string path = (dir / (name + ".png")).string();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, m_Width, m_Height);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < m_Height && data != nullptr; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < m_Width; ++x)
            row[x] = ToArgb(At(x, y));
    }
    cairo_surface_mark_dirty(surface);
    cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
    return path;
}

::testing::AssertionResult PixelsNear(
    const Image& image, const std::vector<PixelExpectation>& expectations, int tolerance)
{
    for (const PixelExpectation& e : expectations) {
        const Rgba actual = image.At(e.x, e.y);
        const bool inside = e.x >= 0 && e.y >= 0 && e.x < image.Width() && e.y < image.Height();
        if (inside && Near(actual, e.expected, tolerance)) continue;
        const std::string saved = image.Save(CurrentTestName());
        auto failure = ::testing::AssertionFailure();
        failure << "pixel (" << e.x << ", " << e.y << ") of the " << image.Width() << "x" << image.Height()
                << " frame ";
        if (!inside) return failure << "lies outside the frame; frame saved to " << saved;
        return failure << "is " << Describe(actual) << ", expected " << Describe(e.expected) << " within " << tolerance
                       << "; frame saved to " << saved;
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult PixelsNear(
    ID2D1ImageRenderTarget* target, const std::vector<PixelExpectation>& expectations, int tolerance)
{
    if (target == nullptr) return ::testing::AssertionFailure() << "no render target";
    return PixelsNear(Image::FromTarget(target), expectations, tolerance);
}

PixelDifference LargestDifference(const Image& a, const Image& b)
{
    PixelDifference d;
    for (int y = 0; y < std::min(a.Height(), b.Height()); ++y)
        for (int x = 0; x < std::min(a.Width(), b.Width()); ++x) {
            const Rgba p = a.At(x, y), q = b.At(x, y);
            const int most
                = std::max({ std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b), std::abs(p.a - q.a) });
            if (most > d.largest) d = { most, x, y };
        }
    return d;
}

} // namespace kuvtest
