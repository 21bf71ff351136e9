// Bitmaps from PNG and JPEG files: premultiplied pixels, lazy and once-only
// decoding, and the failures of broken files.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <png.h>

#include "Core/Factory.h"
#include "support/ImageFiles.h"
#include "support/Pixels.h"
#include "support/ProgramFixtures.h"

namespace kuvtest {
namespace {

using KUV::ResultOk;
using KUV::ResultRuntimeError;

const std::string WhiteBrush = "SolidColorBrush{ Color{ 1 1 1 1 } opacity 1 }";

// A scene that fills the canvas with background and then draws the 16 x 8 image "pic" from path over all of it.
SceneText DrawOver(const std::string& background, const std::string& path)
{
    return SceneText()
        .Geometry("all", "Rectangle{ x 0 y 0 w 100 h 100 hitTest 0 }")
        .Brush("back", background)
        .Image("pic", "BitmapFromFile{ " + path + " }")
        .Executable("draw",
            Commands("Fill{ all back } DrawImage{ source pic destRect Rect{ 0 0 100 100 } opacity 1 "
                     "srcRect Rect{ 0 0 16 8 } }",
                2))
        .MainAnim("draw");
}

class BitmapTest : public ProgramTest { };

TEST_F(BitmapTest, PngPixelsArePremultipliedAndJpegsAreOpaque)
{
    const struct {
        const std::string& background;
        const char* file;
        Rgba left, right, leftOver, rightOver;
        int tolerance;
    } cases[] = {
        { WhiteBrush, "half.png", { 255, 0, 0, 128 }, Red, { 255, 128, 128, 255 }, Red, 3 },
        { BlueBrush, "half.png", { 255, 0, 0, 128 }, Red, { 128, 0, 127, 255 }, Red, 3 },
        { WhiteBrush, "grey.png", { 128, 128, 128, 128 }, { 0, 0, 0, 0 }, { 191, 191, 191, 255 }, White, 3 },
        { GreenBrush, "pic.jpg", Red, Blue, Red, Blue, 12 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file + (" over " + c.background));
        const std::string path = dir.Path() + "/" + c.file;
        (path.ends_with(".jpg") ? WriteJpeg : WritePng)(path, 16, 8, c.left, c.right);
        Load(DrawOver(c.background, path));
        ExpectRendered({ { 20, 50, c.leftOver }, { 80, 50, c.rightOver } }, c.tolerance);
    }
}

TEST_F(BitmapTest, BrokenFilesFailTheFrameWithTheirCode)
{
    const Bytes whole = EncodePng({ 64, 64, PNG_COLOR_TYPE_RGB_ALPHA, 8, false,
        Halves(64, 64, { 10, 200, 30, 255 }, { 90, 20, 250, 100 }, true) });
    const struct {
        const char* what;
        std::optional<Bytes> bytes; // written as pic.png when present
        std::string code;
        bool folder = false; // pic.png is a folder
    } cases[] = {
        { "missing file", std::nullopt, "-2147024894" },
        { "a folder", std::nullopt, "-2147024891", true },
        { "truncated PNG", Bytes(whole.begin(), whole.begin() + whole.size() / 2), "-2003292320" },
        { "garbage", Bytes(100, 0x5A), "-2003292336" },
        { "more than 256 MiB", PngHeaderOnly(10000, 10000), "-2003292346" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir run;
        if (c.bytes) WriteFile(run.Path() + "/pic.png", *c.bytes);
        if (c.folder) std::filesystem::create_directories(run.Path() + "/pic.png");
        run.Write("scene.tvs", DrawOver(RedBrush, "pic.png").Str());
        const ToolRun result = RunTvsRender({ "scene.tvs", "--at", "0" }, run.Path());
        EXPECT_EQ(result.exitCode, 14);
        // Only the first line: sanitizer builds may add their own report after it.
        EXPECT_EQ(result.err.substr(0, result.err.find('\n') + 1), "Direct2D returned error: " + c.code + "\n")
            << result.err;
        EXPECT_EQ(result.out, "");
    }
}

TEST_F(BitmapTest, AnImageIsReadWhenDrawnAndDecodedOnceButAFailureIsTriedAgain)
{
    const std::string idle = dir.Path() + "/idle.png", drawn = dir.Path() + "/drawn.png";
    const std::string later = dir.Path() + "/later.png";
    WritePng(idle, 4, 4, Red, Red);
    WritePng(drawn, 4, 4, Red, Blue);
    OpenCounter idleOpens(idle), drawnOpens(drawn);
    Load(SceneText()
             .Image("gone", "BitmapFromFile{ " + dir.Path() + "/none.png }")
             .Image("idle", "BitmapFromFile{ " + idle + " }")
             .Image("later", "BitmapFromFile{ " + later + " }")
             .Image("pic", "BitmapFromFile{ " + drawn + " }")
             .Executable("draw",
                 Commands("DrawImage{ source later destRect Rect{ 50 0 100 50 } opacity 1 srcRect Rect{ 0 0 4 4 } } "
                          "DrawImage{ source pic destRect Rect{ 0 0 50 50 } opacity 1 srcRect Rect{ 0 0 4 4 } } "
                          "DrawImage{ source pic destRect Rect{ 50 50 100 100 } opacity 0.5 srcRect Rect{ 0 0 2 4 } }",
                     3))
             .MainAnim("draw"));
    for (int frame = 0; frame < 2; ++frame) {
        EXPECT_EQ(Render(), ResultRuntimeError);
        EXPECT_EQ(Scene().GetErrorText(), "Direct2D returned error: -2147024894");
    }
    WritePng(later, 4, 4, Green, Green);
    for (int tick = 0; tick < 3; ++tick) {
        ASSERT_EQ(Update(tick * 16), ResultOk) << Scene().GetErrorText();
        ExpectRendered({ { 10, 25, Red }, { 40, 25, Blue }, { 75, 75, { 255, 128, 128, 255 } }, { 75, 25, Green } }, 3);
    }
    EXPECT_EQ(idleOpens.Opens(), 0);
    EXPECT_EQ(drawnOpens.Opens(), 1);
}

TEST_F(BitmapTest, RecordsNamingOneFileShareOneDecode)
{
    const std::string path = dir.Path() + "/pic.png";
    WritePng(path, 16, 8, Red, Blue);
    OpenCounter opens(path);
    SceneText text;
    std::string commands;
    // Twelve records name the file, spelt three ways; the first and the last are drawn.
    for (int i = 0; i < 12; ++i) {
        const std::string spelling[] = { path, dir.Path() + "/./pic.png", dir.Path() + "//pic.png" };
        text.Image("pic" + std::to_string(i), "BitmapFromFile{ " + spelling[i % 3] + " }");
        commands += "DrawImage{ source pic" + std::to_string(i) + " destRect Rect{ " + std::to_string(i * 8) + " 0 "
            + std::to_string(i * 8 + 8) + " 100 } opacity 1 srcRect Rect{ 0 0 8 8 } } ";
    }
    KUV::DecodedImages& images = KUV::GetSceneFactory()->Images();
    const std::uint64_t before = images.BytesInUse();
    Load(text.Executable("draw", Commands(commands, 12)).MainAnim("draw"));
    ExpectRendered({ { 4, 50, Red }, { 92, 50, Red } });
    EXPECT_EQ(opens.Opens(), 1);
    EXPECT_EQ(images.BytesInUse() - before, 16u * 8 * 4);
    loaded.scene.reset();
    EXPECT_EQ(images.BytesInUse(), before) << "the pixels go with the last record that held them";
}

TEST_F(BitmapTest, DecodedImagesStayWithinTheirBudget)
{
    const std::string first = dir.Path() + "/first.png", second = dir.Path() + "/second.png";
    WritePng(first, 16, 8, Red, Red);
    WritePng(second, 16, 8, Blue, Blue);
    KUV::DecodedImages& images = KUV::GetSceneFactory()->Images();
    images.SetBudget(images.BytesInUse() + 16 * 8 * 4 + 100);
    Load(SceneText()
             .Image("first", "BitmapFromFile{ " + first + " }")
             .Image("second", "BitmapFromFile{ " + second + " }")
             .Executable("draw",
                 Commands("DrawImage{ source first destRect Rect{ 0 0 50 100 } opacity 1 srcRect Rect{ 0 0 8 8 } } "
                          "DrawImage{ source second destRect Rect{ 50 0 100 100 } opacity 1 srcRect Rect{ 0 0 8 8 } }",
                     2))
             .MainAnim("draw"));
    EXPECT_EQ(Render(), ResultRuntimeError);
    EXPECT_EQ(Scene().GetErrorText(), "Direct2D returned error: -2147024882");
    images.SetBudget(KUV::DecodedImages::DefaultBudget);
    ExpectRendered({ { 25, 50, Red }, { 75, 50, Blue } });
}

} // namespace
} // namespace kuvtest
