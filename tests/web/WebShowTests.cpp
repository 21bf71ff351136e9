#include <utility>

#include <gtest/gtest.h>

#include "Web/WebShow.h"
#include "support/Scenes.h"

using KUV::Web::ShowLengthMs;
using KUV::Web::WebShow;

namespace {

// A red square on the white page; the scene text is its only file.
std::string RedSquare(const kuvtest::TempDir& dir)
{
    const std::string scene = kuvtest::SceneText()
                                  .Geometry("Box", "Rectangle{ x 2 y 2 w 4 h 4 hitTest 0 }")
                                  .Brush("Red", "SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }")
                                  .Executable("Draw", "Procedure{ noOfCommands 1 Fill{ Box Red } }")
                                  .MainAnim("Draw")
                                  .Str();
    return dir.Write("square.tvs", scene);
}

std::vector<std::uint8_t> PixelAt(const WebShow& show, int width, int x, int y)
{
    const std::uint8_t* p = show.Rgba() + (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4u;
    return { p[0], p[1], p[2], p[3] };
}

} // namespace

TEST(WebShow, TheFirstFrameIsDrawnInCanvasOrder)
{
    kuvtest::TempDir dir;
    WebShow show(8, 8);
    ASSERT_TRUE(show.Load(RedSquare(dir))) << show.ErrorText();
    ASSERT_TRUE(show.Frame(0.0)) << show.ErrorText();
    EXPECT_EQ(PixelAt(show, 8, 3, 3), (std::vector<std::uint8_t> { 255, 0, 0, 255 }));
    EXPECT_EQ(PixelAt(show, 8, 0, 0), (std::vector<std::uint8_t> { 255, 255, 255, 255 }));
    EXPECT_EQ(show.State().tick, 0);
    EXPECT_EQ(show.State().animation, "MainAnim");
}

TEST(WebShow, FramesFollowTheAudioSeeksGoBackAndTheShowEnds)
{
    kuvtest::TempDir dir;
    WebShow show(8, 8);
    ASSERT_TRUE(show.Load(RedSquare(dir))) << show.ErrorText();
    ASSERT_TRUE(show.Frame(1000.7));
    EXPECT_EQ(show.State().tick, 1000);
    ASSERT_TRUE(show.Seek(40));
    EXPECT_EQ(show.State().tick, 40);
    ASSERT_TRUE(show.Frame(ShowLengthMs + 1.0));
    EXPECT_TRUE(show.State().ended);
    EXPECT_EQ(show.State().tick, ShowLengthMs);
    EXPECT_EQ(PixelAt(show, 8, 3, 3), (std::vector<std::uint8_t> { 255, 0, 0, 255 }));
}

TEST(WebShow, AResizedShowDrawsTheSameSceneScaledToItsPixelsAtTheSameTick)
{
    kuvtest::TempDir dir;
    WebShow show(8, 8);
    ASSERT_TRUE(show.Resize(16, 16)); // before loading: the size the first target is made at
    ASSERT_TRUE(show.Load(RedSquare(dir))) << show.ErrorText();
    ASSERT_TRUE(show.Frame(1000.0)) << show.ErrorText();
    ASSERT_EQ(show.PixelWidth(), 16);
    EXPECT_EQ(PixelAt(show, 16, 4, 4), (std::vector<std::uint8_t> { 255, 0, 0, 255 }));
    EXPECT_EQ(PixelAt(show, 16, 11, 11), (std::vector<std::uint8_t> { 255, 0, 0, 255 }));
    EXPECT_EQ(PixelAt(show, 16, 3, 3), (std::vector<std::uint8_t> { 255, 255, 255, 255 }));
    EXPECT_EQ(PixelAt(show, 16, 12, 12), (std::vector<std::uint8_t> { 255, 255, 255, 255 }));

    // Back to the show's own size while it plays: loaded again, at the same tick, and drawn.
    ASSERT_TRUE(show.Resize(8, 8)) << show.ErrorText();
    EXPECT_EQ(show.State().tick, 1000);
    EXPECT_EQ(PixelAt(show, 8, 2, 2), (std::vector<std::uint8_t> { 255, 0, 0, 255 }));
    EXPECT_EQ(PixelAt(show, 8, 6, 6), (std::vector<std::uint8_t> { 255, 255, 255, 255 }));
    ASSERT_TRUE(show.Frame(1016.0));
    EXPECT_EQ(show.State().tick, 1016);
}

TEST(WebShow, ASizeWithNoPixelsOrTooManyIsRefusedAndTheShowKeepsItsFrame)
{
    kuvtest::TempDir dir;
    WebShow show(8, 8);
    ASSERT_TRUE(show.Load(RedSquare(dir))) << show.ErrorText();
    for (const auto& [width, height] : { std::pair { 0, 8 }, { 8, -1 }, { 8193, 8 } }) {
        EXPECT_FALSE(show.Resize(width, height)) << width << "x" << height;
        EXPECT_EQ(show.ErrorText(), "unable to create render target");
    }
    EXPECT_EQ(show.PixelWidth(), 8);
    ASSERT_TRUE(show.Frame(16.0)) << show.ErrorText();
    EXPECT_EQ(PixelAt(show, 8, 3, 3), (std::vector<std::uint8_t> { 255, 0, 0, 255 }));
}

TEST(WebShow, AFailedLoadGivesThePlayersTextAndDrawsNothing)
{
    kuvtest::TempDir dir;
    WebShow show(8, 8);
    EXPECT_FALSE(show.Load(dir.Path() + "/missing.tvs"));
    EXPECT_NE(show.ErrorText().find("missing.tvs"), std::string::npos) << show.ErrorText();
    EXPECT_FALSE(show.Frame(16.0));

    const std::string cut = dir.Write("cut.tvs", "Tavisk{\nnoOfGeometries 1\n  Box Rectangle{ x 1 y 2 w 3 h\n");
    EXPECT_FALSE(show.Load(cut));
    EXPECT_EQ(show.ErrorText().rfind("Parse Error:::", 0), 0u) << show.ErrorText();
}
