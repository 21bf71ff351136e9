#include "support/PixelReport.h"

#include <algorithm>
#include <cstdlib>

#include "support/FailureFiles.h"

namespace kuvtest {

namespace {

constexpr int ProbeRadius = 2; // a probe shows as a block of 2 * 2 + 1 pixels a side
constexpr Rgba WrongMark { 255, 0, 0, 255 };
constexpr Rgba RightMark { 0, 200, 0, 255 };
constexpr Rgba Gutter { 32, 32, 32, 255 }; // darker than the chequerboard and a dimmed white

void Block(Image& image, int x, int y, Rgba colour)
{
    for (int dy = -ProbeRadius; dy <= ProbeRadius; ++dy)
        for (int dx = -ProbeRadius; dx <= ProbeRadius; ++dx)
            image.Set(x + dx, y + dy, colour);
}

// A grey at a quarter of the pixel's luminance, so marks drawn over it stand out.
Rgba Dimmed(Rgba p)
{
    const int grey = (p.r * 299 + p.g * 587 + p.b * 114) * p.a / (1000 * 255 * 4);
    const auto level = static_cast<std::uint8_t>(grey);
    return { level, level, level, 255 };
}

std::uint8_t Level(int difference, int tolerance)
{
    if (difference == 0) return 0;
    return static_cast<std::uint8_t>(difference <= tolerance ? 64 : std::min(255, 160 + difference));
}

// Each colour channel's difference, or the alpha's when that is larger, made visible.
Rgba Amplified(Rgba e, Rgba a, int tolerance)
{
    const int alpha = std::abs(e.a - a.a);
    const auto level = [&](int p, int q) { return Level(std::max(std::abs(p - q), alpha), tolerance); };
    return { level(e.r, a.r), level(e.g, a.g), level(e.b, a.b), 255 };
}

// One channel of p laid over q with p's alpha.
std::uint8_t Over(std::uint8_t p, std::uint8_t q, std::uint8_t alpha)
{
    return static_cast<std::uint8_t>((p * alpha + q * (255 - alpha) + 127) / 255);
}

Rgba OverChequer(Rgba p, int x, int y)
{
    const std::uint8_t level = ((x / 8 + y / 8) % 2 == 0) ? 96 : 160;
    return { Over(p.r, level, p.a), Over(p.g, level, p.a), Over(p.b, level, p.a), 255 };
}

void Paste(Image& target, const Image& pane, int left)
{
    for (int y = 0; y < pane.Height(); ++y)
        for (int x = 0; x < pane.Width(); ++x)
            target.Set(left + x, y, OverChequer(pane.At(x, y), x, y));
}

} // namespace

Image ProbePicture(const std::vector<PixelExpectation>& probes, int width, int height)
{
    Image picture(width, height, { 0, 0, 0, 0 });
    for (const PixelExpectation& probe : probes)
        Block(picture, probe.x, probe.y, probe.expected);
    return picture;
}

Image ProbeMarks(const Image& frame, const std::vector<PixelExpectation>& probes, int tolerance)
{
    Image marks(frame.Width(), frame.Height(), { 0, 0, 0, 255 });
    for (int y = 0; y < frame.Height(); ++y)
        for (int x = 0; x < frame.Width(); ++x)
            marks.Set(x, y, Dimmed(frame.At(x, y)));
    // The wrong ones last, so that a right neighbour never hides one.
    for (const bool wrong : { false, true })
        for (const PixelExpectation& probe : probes)
            if ((Difference(frame.At(probe.x, probe.y), probe.expected) > tolerance) == wrong)
                Block(marks, probe.x, probe.y, wrong ? WrongMark : RightMark);
    return marks;
}

Image DifferencePicture(const Image& expected, const Image& actual, int tolerance)
{
    Image difference(actual.Width(), actual.Height(), { 0, 0, 0, 255 });
    for (int y = 0; y < actual.Height(); ++y)
        for (int x = 0; x < actual.Width(); ++x)
            difference.Set(x, y, Amplified(expected.At(x, y), actual.At(x, y), tolerance));
    return difference;
}

Image SideBySide(const std::vector<const Image*>& panes)
{
    int width = SideBySideGutter * (static_cast<int>(panes.size()) - 1), height = 0;
    for (const Image* pane : panes) {
        width += pane->Width();
        height = std::max(height, pane->Height());
    }
    Image joined(std::max(width, 0), height, Gutter);
    int left = 0;
    for (const Image* pane : panes) {
        Paste(joined, *pane, left);
        left += pane->Width() + SideBySideGutter;
    }
    return joined;
}

std::string SaveFailurePictures(const Image& expected, const Image& actual, const Image& difference)
{
    FailureFiles files;
    files.Save(expected, "expected");
    files.Save(actual, "actual");
    files.Save(difference, "difference");
    files.Save(SideBySide({ &expected, &actual, &difference }), "side-by-side");
    return files.List();
}

} // namespace kuvtest
