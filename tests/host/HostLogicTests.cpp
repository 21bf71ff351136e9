// What the player and the preview decide alike without a display: the window's size, whether there is a display.
#include <gtest/gtest.h>

#include <limits>

#include "Host/Display.h"
#include "Host/WindowSize.h"

namespace {

TEST(WindowSize, IsEightHundredBySixHundredDipsTruncatedPerAxis)
{
    struct Case {
        float dpiX, dpiY;
        int width, height;
    };
    for (const Case c : { Case { 96, 96, 800, 600 }, Case { 120, 120, 1000, 750 }, Case { 144, 144, 1200, 900 },
             Case { 100, 100, 833, 625 }, Case { 120, 144, 1000, 900 } }) {
        const KUV::Host::WindowSize size = KUV::Host::ScaledWindowSize(c.dpiX, c.dpiY);
        EXPECT_EQ(size.width, c.width) << "at " << c.dpiX << " DPI";
        EXPECT_EQ(size.height, c.height) << "at " << c.dpiY << " DPI";
    }
}

TEST(WindowSize, UsesNinetySixDpiWhenTheDisplayDoesNotSayOrSaysNonsense)
{
    for (const float dpi :
        { 0.f, -5.f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 1e9f })
        EXPECT_EQ(KUV::Host::UsableDpi(0, dpi), 96.f) << dpi;
    EXPECT_EQ(KUV::Host::UsableDpi(-1, 120.f), 96.f) << "a failed query";
    EXPECT_EQ(KUV::Host::UsableDpi(0, 144.f), 144.f);
}

TEST(Display, OnlyAnInvisibleDriverThatNobodyAskedForMeansThereIsNoDisplay)
{
    EXPECT_TRUE(KUV::Host::LacksDisplay("offscreen", nullptr));
    EXPECT_TRUE(KUV::Host::LacksDisplay("dummy", ""));
    EXPECT_TRUE(KUV::Host::LacksDisplay(nullptr, nullptr));
    EXPECT_FALSE(KUV::Host::LacksDisplay("x11", nullptr));
    EXPECT_FALSE(KUV::Host::LacksDisplay("wayland", ""));
    EXPECT_FALSE(KUV::Host::LacksDisplay("dummy", "dummy"));
}

} // namespace
