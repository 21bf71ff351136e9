// Full screen: the largest picture of the 4:3 shape on any screen, and the DPI that fills it.
#include <gtest/gtest.h>

#include "Host/Letterbox.h"

namespace {

TEST(Letterbox, TheWholePictureAsLargeAsTheScreenAllows)
{
    const struct {
        int screenWidth, screenHeight;
        int width, height;
    } cases[] = {
        { 1280, 1024, 1280, 960 }, // bars above and below
        { 1920, 1080, 1440, 1080 }, // bars left and right
        { 800, 600, 800, 600 },
        { 1024, 768, 1024, 768 },
        { 833, 625, 833, 625 }, // 100 DPI's own size: within a pixel of 4:3
        { 1366, 768, 1024, 768 },
        { 640, 480, 640, 480 },
        { 3, 1, 1, 1 },
        { 0, 600, 0, 0 }, // no screen: no picture
        { 800, -1, 0, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.screenWidth) + " x " + std::to_string(c.screenHeight));
        const KUV::Host::Letterbox box = KUV::Host::FitPicture(c.screenWidth, c.screenHeight);
        EXPECT_EQ(box.width, c.width);
        EXPECT_EQ(box.height, c.height);
        if (box.width > 0) {
            EXPECT_FLOAT_EQ(box.dpiX * 800.f / 96.f, float(c.width)) << "800 DIPs span the picture";
            EXPECT_FLOAT_EQ(box.dpiY * 600.f / 96.f, float(c.height));
        }
    }
}

} // namespace
