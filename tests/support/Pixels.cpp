#include "support/Pixels.h"

#include <cairo.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/FailureFiles.h"
#include "support/PixelReport.h"

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

std::string Describe(Rgba p)
{
    std::ostringstream out;
    out << "(" << int { p.r } << ", " << int { p.g } << ", " << int { p.b } << ", " << int { p.a } << ")";
    return out.str();
}

// Where two images of one size first differ beyond a tolerance, and most.
struct Comparison {
    int wrong = 0; // pixels beyond the tolerance
    int firstX = -1, firstY = -1;
    int largest = 0, largestX = -1, largestY = -1;
};

void Note(Comparison& c, int difference, int x, int y, int tolerance)
{
    if (difference > tolerance && c.wrong++ == 0) {
        c.firstX = x;
        c.firstY = y;
    }
    if (difference > c.largest) {
        c.largest = difference;
        c.largestX = x;
        c.largestY = y;
    }
}

Comparison Compare(const Image& expected, const Image& actual, int tolerance)
{
    Comparison c;
    for (int y = 0; y < actual.Height(); ++y)
        for (int x = 0; x < actual.Width(); ++x)
            Note(c, Difference(expected.At(x, y), actual.At(x, y)), x, y, tolerance);
    return c;
}

std::string Size(const Image& image)
{
    return std::to_string(image.Width()) + "x" + std::to_string(image.Height());
}

::testing::AssertionResult SizesDiffer(const Image& expected, const Image& actual)
{
    FailureFiles files;
    files.Save(expected, "expected");
    files.Save(actual, "actual");
    files.Save(SideBySide({ &expected, &actual }), "side-by-side");
    return ::testing::AssertionFailure() << "the expected image is " << Size(expected) << " but the actual one is "
                                         << Size(actual) << "; saved" << files.List();
}

std::string WhatIsWrong(const Image& image, const PixelExpectation& e, int tolerance)
{
    std::ostringstream out;
    out << "pixel (" << e.x << ", " << e.y << ") of the " << Size(image) << " frame ";
    if (!image.Contains(e.x, e.y)) return out.str() + "lies outside the frame";
    out << "is " << Describe(image.At(e.x, e.y)) << ", expected " << Describe(e.expected) << " within " << tolerance;
    return out.str();
}

} // namespace

Image::Image(int width, int height, Rgba fill)
    : m_Width(std::max(width, 0))
    , m_Height(std::max(height, 0))
    , m_Pixels(static_cast<std::size_t>(m_Width) * m_Height, fill)
{
}

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
    if (!Contains(x, y)) return { 0, 0, 0, 0 };
    return m_Pixels[static_cast<std::size_t>(y) * m_Width + x];
}

void Image::Set(int x, int y, Rgba p)
{
    if (Contains(x, y)) m_Pixels[static_cast<std::size_t>(y) * m_Width + x] = p;
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

int Difference(Rgba a, Rgba b)
{
    return std::max({ std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b), std::abs(a.a - b.a) });
}

::testing::AssertionResult PixelsNear(
    const Image& image, const std::vector<PixelExpectation>& expectations, int tolerance)
{
    const auto wrong = [&](const PixelExpectation& e) {
        return !image.Contains(e.x, e.y) || Difference(image.At(e.x, e.y), e.expected) > tolerance;
    };
    const auto first = std::find_if(expectations.begin(), expectations.end(), wrong);
    if (first == expectations.end()) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure() << WhatIsWrong(image, *first, tolerance);
    failure << " (" << std::count_if(expectations.begin(), expectations.end(), wrong) << " of " << expectations.size()
            << " probes wrong); saved";
    return failure << SaveFailurePictures(ProbePicture(expectations, image.Width(), image.Height()), image,
               ProbeMarks(image, expectations, tolerance));
}

::testing::AssertionResult PixelsNear(
    ID2D1ImageRenderTarget* target, const std::vector<PixelExpectation>& expectations, int tolerance)
{
    if (target == nullptr) return ::testing::AssertionFailure() << "no render target";
    return PixelsNear(Image::FromTarget(target), expectations, tolerance);
}

::testing::AssertionResult ImagesNear(const Image& expected, const Image& actual, int tolerance)
{
    if (expected.Width() != actual.Width() || expected.Height() != actual.Height())
        return SizesDiffer(expected, actual);
    const Comparison c = Compare(expected, actual, tolerance);
    if (c.wrong == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << c.firstX << ", " << c.firstY << ") of the " << Size(actual)
                                         << " image is " << Describe(actual.At(c.firstX, c.firstY)) << ", expected "
                                         << Describe(expected.At(c.firstX, c.firstY)) << " within " << tolerance << "; "
                                         << c.wrong << " pixels are off by more than " << tolerance << ", the most by "
                                         << c.largest << " at (" << c.largestX << ", " << c.largestY << "); saved"
                                         << SaveFailurePictures(
                                                expected, actual, DifferencePicture(expected, actual, tolerance));
}

} // namespace kuvtest
