// What a failed pixel check tells and leaves behind: the first wrong pixel in its message,
// and the expected, actual, difference and side-by-side pictures under a stem of its own.
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "support/PixelReport.h"
#include "support/Pixels.h"
#include "support/Scenes.h"

namespace kuvtest {
namespace {

namespace fs = std::filesystem;

constexpr Rgba Clear { 0, 0, 0, 0 };

// The pictures a failure message names, by part ("expected", "actual", ...): every word
// of the message that ends in ".<part>.png".
std::map<std::string, std::string> SavedParts(const ::testing::AssertionResult& result)
{
    std::map<std::string, std::string> parts;
    std::istringstream words(result.message());
    for (std::string word; words >> word;) {
        while (!word.empty() && (word.back() == ')' || word.back() == ';'))
            word.pop_back();
        const std::size_t suffix = word.rfind(".png");
        if (suffix == std::string::npos || suffix + 4 != word.size()) continue;
        const std::size_t dot = word.rfind('.', suffix - 1);
        if (dot != std::string::npos) parts[word.substr(dot + 1, suffix - dot - 1)] = word;
    }
    return parts;
}

::testing::AssertionResult MessageBegins(const ::testing::AssertionResult& result, const std::string& start)
{
    const std::string text = result.message();
    if (text.rfind(start, 0) == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the message is: " << text;
}

// The pictures of a check that must fail with a message beginning with start.
std::map<std::string, std::string> FailureParts(const ::testing::AssertionResult& result, const std::string& start)
{
    EXPECT_FALSE(result);
    EXPECT_TRUE(MessageBegins(result, start));
    return SavedParts(result);
}

std::string Size(const Image& image)
{
    return std::to_string(image.Width()) + "x" + std::to_string(image.Height());
}

// A white frame with a red square from (10, 10) to (20, 20).
Image Frame(int width, int height)
{
    Image frame(width, height, White);
    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 20; ++x)
            frame.Set(x, y, Red);
    return frame;
}

// Points the test output folder at a fresh folder of its own, removed after the test.
class PixelReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* dir = std::getenv("KUV_TEST_OUTPUT_DIR")) m_Previous = dir;
        setenv("KUV_TEST_OUTPUT_DIR", m_Dir.Path().c_str(), 1);
    }
    void TearDown() override
    {
        if (m_Previous)
            setenv("KUV_TEST_OUTPUT_DIR", m_Previous->c_str(), 1);
        else
            unsetenv("KUV_TEST_OUTPUT_DIR");
    }

    bool NothingSaved() const { return fs::is_empty(m_Dir.Path()); }

    TempDir m_Dir;
    std::optional<std::string> m_Previous;
};

TEST_F(PixelReportTest, AWrongProbeIsNamedAndTheProbesFrameAndMarksAreSavedSideBySide)
{
    const auto parts = FailureParts(PixelsNear(Frame(40, 30), { { 5, 5, White }, { 15, 15, Blue }, { 25, 25, Black } }),
        "pixel (15, 15) of the 40x30 frame is (255, 0, 0, 255), expected (0, 0, 255, 255) within 8 (2 of 3 probes "
        "wrong); saved\n  ");
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(fs::path(parts.at("actual")).parent_path(), fs::path(m_Dir.Path()));
    // The test's own name, the thread count where one is set, the test's first failure.
    const std::string file = fs::path(parts.at("actual")).filename().string();
    EXPECT_TRUE(file.starts_with("PixelReportTest.AWrongProbeIsNamedAndTheProbesFrameAndMarksAreSavedSideBySide."))
        << file;
    EXPECT_TRUE(file.ends_with(".1.actual.png")) << file;

    const Image expected = Image::FromPng(parts.at("expected"));
    const Image difference = Image::FromPng(parts.at("difference"));
    const Image joined = Image::FromPng(parts.at("side-by-side"));
    EXPECT_EQ(Size(Image::FromPng(parts.at("actual"))), "40x30");
    EXPECT_EQ(Size(difference), "40x30");
    EXPECT_EQ(Size(joined), std::to_string(3 * 40 + 2 * SideBySideGutter) + "x30");
    // Each probe a 5 x 5 block of what it expects, nothing elsewhere.
    EXPECT_TRUE(PixelsNear(expected, { { 13, 13, Blue }, { 17, 17, Blue }, { 27, 27, Black }, { 12, 12, Clear } }, 0));
    // The wrong probes red, the right one green, the frame behind them dimmed.
    EXPECT_TRUE(PixelsNear(difference, { { 15, 15, Red }, { 25, 25, Red }, { 5, 5, { 0, 200, 0, 255 } } }, 0));
    EXPECT_LT(difference.At(35, 5).r, 80);
    // The actual frame in the middle pane; the gutter before it.
    EXPECT_TRUE(PixelsNear(joined, { { 40 + SideBySideGutter + 15, 15, Red }, { 41, 0, { 32, 32, 32, 255 } } }, 0));
}

TEST_F(PixelReportTest, AnImageCheckNamesTheFirstWrongPixelInReadingOrderAndTheLargestDifference)
{
    const Image expected(20, 10, White);
    Image actual = expected;
    actual.Set(15, 1, { 255, 254, 255, 255 }); // within the tolerance
    actual.Set(7, 4, { 255, 250, 255, 255 });
    actual.Set(2, 6, Red);
    const auto parts = FailureParts(ImagesNear(expected, actual, 1),
        "pixel (7, 4) of the 20x10 image is (255, 250, 255, 255), expected (255, 255, 255, 255) within 1; 2 pixels are "
        "off by more than 1, the most by 255 at (2, 6); saved\n  ");
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(Size(Image::FromPng(parts.at("expected"))), "20x10");
    EXPECT_EQ(Size(Image::FromPng(parts.at("actual"))), "20x10");
    EXPECT_EQ(Size(Image::FromPng(parts.at("side-by-side"))), std::to_string(3 * 20 + 2 * SideBySideGutter) + "x10");
    // Black where alike, dim within the tolerance, bright beyond it.
    const Image difference = Image::FromPng(parts.at("difference"));
    EXPECT_TRUE(PixelsNear(difference,
        { { 0, 0, Black }, { 15, 1, { 0, 64, 0, 255 } }, { 7, 4, { 0, 165, 0, 255 } }, { 2, 6, { 0, 255, 255, 255 } } },
        0));
}

TEST_F(PixelReportTest, ImagesOfDifferentSizesFailAndAreSavedSideBySide)
{
    const auto parts = FailureParts(ImagesNear(Image(20, 10, White), Image(10, 20, White), 255),
        "the expected image is 20x10 but the actual one is 10x20; saved\n  ");
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(Size(Image::FromPng(parts.at("side-by-side"))), std::to_string(30 + SideBySideGutter) + "x20");
}

TEST_F(PixelReportTest, TwoFailuresOfOneTestKeepTheirOwnFiles)
{
    const auto first = SavedParts(PixelsNear(Frame(40, 30), { { 15, 15, Blue } }));
    const auto second = SavedParts(PixelsNear(Frame(30, 20), { { 15, 15, Blue } }));
    ASSERT_EQ(first.size(), 4u);
    ASSERT_EQ(second.size(), 4u);
    for (const auto& [part, path] : first)
        EXPECT_NE(path, second.at(part));
    EXPECT_EQ(Size(Image::FromPng(first.at("actual"))), "40x30");
    EXPECT_EQ(Size(Image::FromPng(second.at("actual"))), "30x20");
}

TEST_F(PixelReportTest, PassingChecksSaveNothing)
{
    const Image frame = Frame(40, 30);
    Image near = frame;
    near.Set(0, 0, { 250, 255, 255, 255 });
    EXPECT_TRUE(PixelsNear(frame, { { 5, 5, White }, { 15, 15, { 250, 5, 0, 255 } } }));
    EXPECT_TRUE(ImagesNear(frame, near, 5));
    EXPECT_TRUE(NothingSaved());
}

TEST_F(PixelReportTest, AProbeOutsideTheFrameIsNamed)
{
    FailureParts(PixelsNear(Frame(40, 30), { { 5, 5, White }, { 40, 3, White } }),
        "pixel (40, 3) of the 40x30 frame lies outside the frame (1 of 2 probes wrong); saved\n  ");
}

} // namespace
} // namespace kuvtest
