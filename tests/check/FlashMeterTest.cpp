// The flash rules on frames made here, pixel by pixel: rates, areas, red, fades and the
// stretch reported.
#include <functional>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "Authoring/FlashMeter.h"
#include "Authoring/FlashStretches.h"

namespace KUV::Authoring {
namespace {

constexpr int Width = 128;
constexpr int Height = 96;

struct Rgb {
    int r, g, b;
};
using Picture = std::function<Rgb(std::int64_t tick, int x, int y)>;

std::vector<FrameMeasure> Measure(const Picture& picture, std::int64_t until = 4000)
{
    FlashMeter meter(Width, Height);
    std::vector<FrameMeasure> frames;
    std::vector<std::uint32_t> pixels(Width * Height);
    for (std::int64_t tick = 0; tick <= until; tick += 16) {
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) {
                const Rgb c = picture(tick, x, y);
                pixels[y * Width + x] = 0xff000000u | c.r << 16 | c.g << 8 | c.b;
            }
        frames.push_back(meter.Add(tick, reinterpret_cast<const unsigned char*>(pixels.data()), Width * 4));
    }
    return frames;
}

// hz flashes a second (two changes each) between on and off from 1000 to 3000 ms, off elsewhere,
// over the square of side pixels at the top left (the whole frame by default).
Picture Flicker(double hz, Rgb on, Rgb off = { 0, 0, 0 }, int side = Width)
{
    return [=](std::int64_t tick, int x, int y) {
        const bool inside = x < side && y < side && tick >= 1000 && tick < 3000;
        const auto half = static_cast<std::int64_t>(500 / hz);
        return inside && (tick - 1000) / half % 2 == 0 ? on : off;
    };
}

const Rgb White { 255, 255, 255 };

TEST(FlashMeasures, FollowTheRelativeLuminanceAndTheSaturatedRed)
{
    EXPECT_DOUBLE_EQ(RelativeLuminance(0, 0, 0), 0);
    EXPECT_NEAR(RelativeLuminance(255, 255, 255), 1, 1e-6);
    EXPECT_NEAR(RelativeLuminance(128, 128, 128), 0.2159, 1e-3);
    EXPECT_NEAR(RelativeLuminance(0, 255, 0), 0.7152, 1e-6);
    EXPECT_NEAR(RedMeasure(255, 0, 0), 1, 1e-6);
    EXPECT_NEAR(RedMeasure(128, 0, 0), 0.2159, 1e-3);
    EXPECT_NEAR(RedMeasure(255, 128, 0), 0.7841, 1e-3) << "linear red is 0.82 of the sum";
    EXPECT_EQ(RedMeasure(255, 180, 0), 0) << "orange is not a saturated red";
    EXPECT_EQ(RedMeasure(255, 255, 255), 0);
}

TEST(FlashCheck, FullFrameFlickerAtFourHertzFailsOverTheExactStretch)
{
    const auto stretches = FailingStretches(Measure(Flicker(4, White)));
    ASSERT_EQ(stretches.size(), 1u);
    const FlashStretch& s = stretches[0];
    EXPECT_EQ(s.kind, FlashKind::General);
    // Black turns white in the first frame at or after 1000, and the last change, at 2875, shows at 2880.
    EXPECT_EQ(s.first, 1008);
    EXPECT_EQ(s.last, 2880);
    EXPECT_GE(s.rate, 4.0);
    EXPECT_LE(s.rate, 4.5);
    EXPECT_DOUBLE_EQ(s.share, 1.0);
    EXPECT_EQ(
        StretchLine("a.tvs", s), "a.tvs: warning: general flashes from 1008 to 2880 ms: " + [&] {
            std::ostringstream rate;
            rate.precision(1);
            rate << std::fixed << s.rate;
            return rate.str();
        }() + " a second over 100.0 % of the frame");
}

TEST(FlashCheck, SlowerOrSmallerFlickerPasses)
{
    EXPECT_TRUE(FailingStretches(Measure(Flicker(2, White))).empty()) << "two flashes a second";
    EXPECT_TRUE(FailingStretches(Measure(Flicker(4, White, { 0, 0, 0 }, 16))).empty())
        << "a square of 16 x 16 covers less than a quarter of a field (43 x 32 here)";
    const auto larger = FailingStretches(Measure(Flicker(4, White, { 0, 0, 0 }, 24)));
    ASSERT_EQ(larger.size(), 1u) << "a square of 24 x 24 covers more";
    EXPECT_NEAR(larger[0].share, 24.0 * 24 / (Width * Height), 1e-9);
}

TEST(FlashCheck, RedFlickerFailsAsRed)
{
    const auto bright = FailingStretches(Measure(Flicker(4, { 255, 0, 0 })));
    ASSERT_EQ(bright.size(), 2u) << "full red also changes the luminance by 0.21";
    EXPECT_EQ(bright[0].kind, FlashKind::General);
    EXPECT_EQ(bright[1].kind, FlashKind::Red);
    EXPECT_EQ(bright[1].first, 1008);
    EXPECT_EQ(bright[1].last, 2880);
    // Linear red 0.40: a luminance step of 0.085, below the general rule, but a red step of 129.
    const auto dark = FailingStretches(Measure(Flicker(4, { 170, 0, 0 })));
    ASSERT_EQ(dark.size(), 1u);
    EXPECT_EQ(dark[0].kind, FlashKind::Red);
    EXPECT_TRUE(FailingStretches(Measure(Flicker(4, { 255, 180, 0 }, { 255, 180, 40 }))).empty())
        << "orange is no saturated red, and the luminance barely moves";
}

TEST(FlashCheck, FadesAndBrightChangesAreNoFlashes)
{
    const Picture fade = [](std::int64_t tick, int, int) {
        const int v = static_cast<int>(std::min<std::int64_t>(tick, 2000) * 255 / 2000);
        return Rgb { v, v, v };
    };
    const auto frames = Measure(fade);
    EXPECT_TRUE(FailingStretches(frames).empty());
    for (const FrameMeasure& f : frames)
        EXPECT_LE(f.general.rate, 0.5) << "one transition at most, at " << f.tick;
    // Between light grey and white: the darker state is not below 0.80.
    EXPECT_TRUE(FailingStretches(Measure(Flicker(8, White, { 235, 235, 235 }))).empty());
}

TEST(FlashCheck, ABarSweepingOverTheFrameIsNoFlash)
{
    const Picture sweep = [](std::int64_t tick, int x, int) {
        const bool lit = x >= tick / 16 % Width && x < tick / 16 % Width + 32;
        return lit ? White : Rgb { 0, 0, 0 };
    };
    EXPECT_TRUE(FailingStretches(Measure(sweep, 2000)).empty());
}

TEST(FlashReport, LinesReadBackAsTheirStretches)
{
    const std::vector<FlashStretch> written { { FlashKind::General, 1008, 2880, 4.5, 1.0 },
        { FlashKind::Red, 16, 992, 3.5, 0.125 } };
    std::stringstream text;
    text << "x\n";
    for (const FlashStretch& s : written)
        text << StretchLine("data\\a b.tvs", s) << "\n";
    text << "2 stretches\nb.tvs:3: warning: something else\n";
    EXPECT_EQ(ReadStretches(text), written);
}

TEST(FlashReport, TheSummaryGivesTheHighestFigures)
{
    std::vector<FrameMeasure> frames(2);
    frames[0].tick = 0;
    frames[1].tick = 16;
    frames[1].general = { 0.5, 0.3, 4.5, 0.1 };
    frames[0].red.rate = 1.5;
    EXPECT_EQ(FlashSummary(frames, 1),
        "2 frames from 0 to 16 ms, 1 failing stretch; general at most 4.5 a second, 50.0 % of the frame above 3; "
        "red at most 1.5 a second, 0.0 % of the frame above 3");
}

} // namespace
} // namespace KUV::Authoring
