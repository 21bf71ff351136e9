// The overlay's status line and the bands it draws with the engine's text layer.
#include <string>

#include <gtest/gtest.h>

#include "Core/Factory.h"
#include "Preview/PreviewOverlay.h"
#include "support/FailureFiles.h"
#include "support/Pixels.h"
#include "support/Scenes.h"

using namespace kuvtest;

namespace {

TEST(PreviewOverlayTest, TheStatusLineTellsTimeAnimationsRateAndCosts)
{
    KUV::Preview::OverlayStatus status { 150042, { { "", "MainAnim" }, { "kid", "Go" }, { "kid/inner", "Idle" } },
        59.94, 0.214, 3.4, "paused  loop 1.000-3.000 s" };
    EXPECT_EQ(KUV::Preview::StatusLineText(status),
        "150042 ms  150.042 s | MainAnim | kid: Go | kid/inner: Idle | 59.9 fps | update 0.21 ms  render 3.40 ms | "
        "paused  loop 1.000-3.000 s");
    EXPECT_EQ(KUV::Preview::HelpText().substr(0, 31), "tvs-preview keys (H hides this)");
}

int BrightPixels(const Image& image, int top, int bottom)
{
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (image.At(x, y).r > 200 && image.At(x, y).g > 200) ++count;
    return count;
}

TEST(PreviewOverlayTest, AnErrorBandAtTheBottomHoldsItsWrappedTextAndLeavesThePictureAboveAlone)
{
    Canvas canvas(400, 300);
    KUV::Preview::OverlayPainter painter(*KUV::GetSceneFactory(), canvas.target.Get());
    const D2D1_COLOR_F black { 0.f, 0.f, 0.f, 1.f };
    const D2D1_COLOR_F white { 1.f, 1.f, 1.f, 1.f };
    const D2D1_COLOR_F red { 0.5f, 0.f, 0.f, 1.f };
    canvas.target->BeginDraw();
    canvas.target->Clear(&black);
    const std::string text = "Parse Error:::data/tessik/postprocess.tvs : 12 : expecting \"}\" got \"Fill{\" and a "
                             "long tail that has to wrap onto a second line";
    EXPECT_TRUE(painter.DrawBand(text, KUV::Preview::BandPlace::Bottom, white, red));
    EXPECT_EQ(canvas.target->EndDraw(), S_OK);
    const Image frame = Image::FromTarget(canvas.target.Get());

    int bandTop = frame.Height();
    while (bandTop > 0 && frame.At(5, bandTop - 1).r == 128)
        --bandTop;
    EXPECT_GT(frame.Height() - bandTop, 40) << "two lines of text and padding";
    EXPECT_LT(frame.Height() - bandTop, 80);
    EXPECT_EQ(frame.At(200, 20).r, 0) << "nothing drawn above the band";
    const int halfway = (bandTop + frame.Height()) / 2;
    EXPECT_GT(BrightPixels(frame, bandTop, halfway), 100) << "the first line: " << SaveFailedFrame(frame);
    EXPECT_GT(BrightPixels(frame, halfway, frame.Height()), 50) << "the wrapped line: " << SaveFailedFrame(frame);
    EXPECT_EQ(canvas.target->GetAntialiasMode(), D2D1_ANTIALIAS_MODE_ALIASED) << "the target rests aliased again";
}

} // namespace
