// The player's decisions that need no display: title, run length, window size.
#include <gtest/gtest.h>

#include <limits>

#include "Host/Display.h"
#include "Host/FrameRate.h"
#include "Host/RunClock.h"
#include "Host/WindowSize.h"

namespace {

TEST(FrameRateTitle, WritesTheRateAsADefaultStreamWritesADouble)
{
    EXPECT_EQ(Host::FrameRateTitle(16), "Velorine: Current Frame Rate (fps) = 62.5");
    EXPECT_EQ(Host::FrameRateTitle(15), "Velorine: Current Frame Rate (fps) = 66.6667");
    EXPECT_EQ(Host::FrameRateTitle(3), "Velorine: Current Frame Rate (fps) = 333.333");
    EXPECT_EQ(Host::FrameRateTitle(1), "Velorine: Current Frame Rate (fps) = 1000");
}

TEST(FrameRateTitle, AFrameOfNoMillisecondsIsInfinitelyFast)
{
    EXPECT_EQ(Host::FrameRateTitle(0), "Velorine: Current Frame Rate (fps) = inf");
}

TEST(FrameRateTitle, SlowFramesKeepSixSignificantDigits)
{
    EXPECT_EQ(Host::FrameRateText(7), "142.857");
    EXPECT_EQ(Host::FrameRateText(3000), "0.333333");
}

TEST(RunClock, TheRunGoesOnAtExactlyItsLengthAndEndsOneMillisecondLater)
{
    EXPECT_FALSE(Host::RunLengthExceeded(1000u + 154000u, 1000u));
    EXPECT_TRUE(Host::RunLengthExceeded(1000u + 154001u, 1000u));
    EXPECT_FALSE(Host::RunLengthExceeded(1000u, 1000u));
}

TEST(RunClock, TickCountsThatWrapAroundStillMeasureTheRun)
{
    const std::uint32_t start = std::numeric_limits<std::uint32_t>::max() - 1000u;
    EXPECT_FALSE(Host::RunLengthExceeded(start + 154000u, start));
    EXPECT_TRUE(Host::RunLengthExceeded(start + 154001u, start));
    EXPECT_LT(start + 154001u, start) << "the test must cross the wrap";
}

TEST(RunClock, ATickBeforeTheStartIsAVeryLongRun)
{
    EXPECT_TRUE(Host::RunLengthExceeded(999u, 1000u));
}

TEST(WindowSize, IsEightHundredBySixHundredDipsTruncated)
{
    struct Case {
        float dpi;
        int width;
        int height;
    };
    for (const Case c :
        { Case { 96.f, 800, 600 }, Case { 120.f, 1000, 750 }, Case { 144.f, 1200, 900 }, Case { 100.f, 833, 625 } }) {
        const Host::WindowSize size = Host::ScaledWindowSize(c.dpi, c.dpi);
        EXPECT_EQ(size.width, c.width) << "at " << c.dpi << " DPI";
        EXPECT_EQ(size.height, c.height) << "at " << c.dpi << " DPI";
    }
}

TEST(WindowSize, ScalesEachAxisByItsOwnDpi)
{
    const Host::WindowSize size = Host::ScaledWindowSize(120.f, 144.f);
    EXPECT_EQ(size.width, 1000);
    EXPECT_EQ(size.height, 900);
}

TEST(WindowSize, UsesNinetySixDpiWhenTheDisplayDoesNotSay)
{
    EXPECT_EQ(Host::UsableDpi(-1, 120.f), 96.f);
    EXPECT_EQ(Host::UsableDpi(0, 0.f), 96.f);
    EXPECT_EQ(Host::UsableDpi(0, -5.f), 96.f);
    EXPECT_EQ(Host::UsableDpi(0, std::numeric_limits<float>::quiet_NaN()), 96.f);
    EXPECT_EQ(Host::UsableDpi(0, std::numeric_limits<float>::infinity()), 96.f);
    EXPECT_EQ(Host::UsableDpi(0, 1e9f), 96.f);
    EXPECT_EQ(Host::UsableDpi(0, 144.f), 144.f);
}

} // namespace

namespace {

TEST(Display, FallingBackToAnInvisibleDriverMeansThereIsNoDisplay)
{
    EXPECT_TRUE(Host::LacksDisplay("offscreen", nullptr));
    EXPECT_TRUE(Host::LacksDisplay("dummy", ""));
    EXPECT_TRUE(Host::LacksDisplay(nullptr, nullptr));
    EXPECT_FALSE(Host::LacksDisplay("x11", nullptr));
    EXPECT_FALSE(Host::LacksDisplay("wayland", ""));
    EXPECT_FALSE(Host::LacksDisplay("KMSDRM", nullptr));
}

TEST(Display, AnInvisibleDriverThatWasAskedForIsHonoured)
{
    EXPECT_FALSE(Host::LacksDisplay("offscreen", "offscreen"));
    EXPECT_FALSE(Host::LacksDisplay("dummy", "dummy"));
}

} // namespace
