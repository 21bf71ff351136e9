// Bitmaps from PNG and JPEG files: premultiplied pixels, lazy and once-only
// decoding, and the failures of broken files.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Core/Bitmap.h"
#include "ImageFiles.h"
#include "ProgramFixtures.h"
#include "support/Pixels.h"

namespace kuvtest {
namespace {

using KUV::ResultOk;
using KUV::ResultRuntimeError;

// A scene that fills the canvas with background and then draws image "pic" from path over all of it.
SceneText DrawOver(const std::string& background, const std::string& path, int width = 4, int height = 4)
{
    const std::string source = "Rect{ 0 0 " + std::to_string(width) + " " + std::to_string(height) + " }";
    return SceneText()
        .Geometry("all", "Rectangle{ x 0 y 0 w 100 h 100 hitTest 0 }")
        .Brush("back", background)
        .Image("pic", "BitmapFromFile{ " + path + " }")
        .Executable("draw",
            Commands("Fill{ all back } DrawImage{ source pic destRect Rect{ 0 0 100 100 } opacity 1 srcRect " + source
                    + " }",
                2))
        .MainAnim("draw");
}

class BitmapTest : public ProgramTest { };

TEST_F(BitmapTest, TranslucentPixelsArePremultipliedBeforeTheyAreDrawn)
{
    const Rgba halfRed { 255, 0, 0, 128 };
    WritePng(dir.Path() + "/half.png", 4, 4, halfRed, Red);
    Load(DrawOver("SolidColorBrush{ Color{ 1 1 1 1 } opacity 1 }", dir.Path() + "/half.png"));
    ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
    EXPECT_TRUE(PixelsNear(canvas.target.Get(), { { 20, 50, { 255, 128, 128, 255 } }, { 80, 50, Red } }, 3));

    Load(DrawOver(BlueBrush, dir.Path() + "/half.png"));
    ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
    EXPECT_TRUE(PixelsNear(canvas.target.Get(), { { 20, 50, { 128, 0, 127, 255 } }, { 80, 50, Red } }, 3));

    WritePng(dir.Path() + "/grey.png", 4, 4, { 128, 128, 128, 128 }, { 0, 0, 0, 0 });
    Load(DrawOver("SolidColorBrush{ Color{ 1 1 1 1 } opacity 1 }", dir.Path() + "/grey.png"));
    ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
    EXPECT_TRUE(PixelsNear(canvas.target.Get(), { { 20, 50, { 191, 191, 191, 255 } }, { 80, 50, White } }, 3));
}

TEST_F(BitmapTest, AJpegIsOpaqueWithItsColoursInPlace)
{
    WriteJpeg(dir.Path() + "/pic.jpg", 16, 8, Red, Blue);
    Load(DrawOver(GreenBrush, dir.Path() + "/pic.jpg", 16, 8));
    ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
    EXPECT_TRUE(PixelsNear(canvas.target.Get(), { { 15, 50, Red }, { 85, 50, Blue }, { 10, 10, Red } }, 12));
    auto bitmap = std::dynamic_pointer_cast<KUV::Bitmap>(Scene().FindImage("pic"));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->m_Width, 16u);
    EXPECT_EQ(bitmap->m_Height, 8u);
}

// The first line the tool wrote to standard error: sanitizer builds may add their own report after it.
std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find('\n') + 1);
}

TEST_F(BitmapTest, BrokenFilesFailTheFrameWithTheirCode)
{
    WritePng(dir.Path() + "/whole.png", 64, 64, { 10, 200, 30, 255 }, { 90, 20, 250, 100 });
    const std::string whole = ReadBytes(dir.Path() + "/whole.png");
    struct Case {
        const char* what;
        std::optional<std::string> bytes; // written as pic.png when present
        std::string code;
    };
    const std::vector<Case> cases {
        { "missing file", std::nullopt, "-2147024894" },
        { "truncated PNG", whole.substr(0, whole.size() / 2), "-2003292320" },
        { "garbage", "this is not an image at all\n", "-2003292336" },
        { "an empty file", "", "-2003292336" },
        { "a side over 16384", PngHeaderOnly(16385, 1), "-2003292346" },
        { "more than 256 MiB", PngHeaderOnly(10000, 10000), "-2003292346" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir run;
        if (c.bytes) run.Write("pic.png", *c.bytes);
        run.Write("scene.tvs", DrawOver(RedBrush, "pic.png").Str());
        const ToolRun result = RunTvsRender({ "scene.tvs", "--at", "0" }, run.Path());
        EXPECT_EQ(result.exitCode, 14);
        EXPECT_EQ(FirstLine(result.err), "Direct2D returned error: " + c.code + "\n") << result.err;
        EXPECT_EQ(result.out, "");
    }

    TempDir folder;
    std::filesystem::create_directories(folder.Path() + "/pic.png");
    folder.Write("scene.tvs", DrawOver(RedBrush, "pic.png").Str());
    const ToolRun directory = RunTvsRender({ "scene.tvs", "--at", "0" }, folder.Path());
    EXPECT_EQ(directory.exitCode, 14);
    EXPECT_EQ(FirstLine(directory.err), "Direct2D returned error: -2147024891\n")
        << "a folder is refused as access denied";
}

TEST_F(BitmapTest, AFailedDecodeIsTriedAgainAtTheNextDraw)
{
    const std::string path = dir.Path() + "/later.png";
    Load(DrawOver(GreenBrush, path));
    for (int frame = 0; frame < 2; ++frame) {
        EXPECT_EQ(Render(), ResultRuntimeError);
        EXPECT_EQ(Scene().GetErrorText(), "Direct2D returned error: -2147024894");
    }
    WritePng(path, 4, 4, Blue, Blue);
    ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
    EXPECT_TRUE(PixelsNear(canvas.target.Get(), { { 50, 50, Blue } }));
}

TEST_F(BitmapTest, AnImageThatIsNeverDrawnIsNeverRead)
{
    const std::string present = dir.Path() + "/present.png";
    WritePng(present, 4, 4, Red, Red);
    OpenCounter opens(present);
    Load(SceneText()
             .Image("gone", "BitmapFromFile{ " + dir.Path() + "/none.png }")
             .Image("idle", "BitmapFromFile{ " + present + " }")
             .Executable("draw", Commands("", 0))
             .MainAnim("draw"));
    for (int tick = 0; tick < 3; ++tick) {
        ASSERT_EQ(Update(tick * 16), ResultOk) << Scene().GetErrorText();
        ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
    }
    EXPECT_EQ(opens.Opens(), 0);
}

TEST_F(BitmapTest, AnImageDrawnByTwoCommandsIsDecodedOnce)
{
    const std::string path = dir.Path() + "/pic.png";
    WritePng(path, 4, 4, Red, Blue);
    OpenCounter opens(path);
    Load(SceneText()
             .Image("pic", "BitmapFromFile{ " + path + " }")
             .Executable("draw",
                 Commands("DrawImage{ source pic destRect Rect{ 0 0 50 50 } opacity 1 srcRect Rect{ 0 0 4 4 } } "
                          "DrawImage{ source pic destRect Rect{ 50 50 100 100 } opacity 0.5 srcRect Rect{ 0 0 2 4 } }",
                     2))
             .MainAnim("draw"));
    for (int frame = 0; frame < 3; ++frame) {
        ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
        EXPECT_TRUE(PixelsNear(canvas.target.Get(),
            { { 10, 25, Red }, { 40, 25, Blue }, { 75, 75, { 255, 128, 128, 255 } }, { 75, 25, White } }, 3));
    }
    EXPECT_EQ(opens.Opens(), 1);
}

} // namespace
} // namespace kuvtest
