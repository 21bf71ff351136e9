// "Text{" geometries: the outline of a text laid out centred in its box, with
// every line kept.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Core/GeometryBase.h"
#include "Core/TextGeometryConverter.h"
#include "Gfx/WIC.h"
#include "support/FailureFiles.h"
#include "support/PixelReport.h"
#include "support/Pixels.h"
#include "support/ProgramFixtures.h"

namespace kuvtest {
namespace {

using KUV::ResultOk;

const std::string BlackBrush = "SolidColorBrush{ Color{ 0 0 0 1 } opacity 1 }";

bool Inked(Rgba p)
{
    return p.r < 128;
}

// The extent of some dark pixels of a frame.
struct Ink {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1; // inclusive

    void Add(int x, int y)
    {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
    }
    bool Any() const { return right >= left; }
    double CentreX() const { return (left + right + 1) / 2.0; }
    // Whether the ink lies in the box and is centred in it, give or take tolerance.
    bool CentredIn(int x, int y, int width, int height, double tolerance) const
    {
        return Any() && left >= x && right < x + width && top >= y && bottom < y + height
            && std::abs(CentreX() - (x + width / 2.0)) <= tolerance
            && std::abs((top + bottom + 1) / 2.0 - (y + height / 2.0)) <= tolerance;
    }
};

// The ink of a whole frame, and of each run of rows that hold any.
struct FrameInk {
    Ink all;
    std::vector<Ink> lines;

    explicit FrameInk(const Image& frame)
    {
        for (int y = 0; y < frame.Height(); ++y)
            for (int x = 0; x < frame.Width(); ++x) {
                if (!Inked(frame.At(x, y))) continue;
                if (lines.empty() || lines.back().bottom < y - 1) lines.emplace_back();
                lines.back().Add(x, y);
                all.Add(x, y);
            }
    }
};

class TextGeometryTest : public ProgramTest {
protected:
    // Loads a scene that fills the text record "t" in black on a fresh canvas of the given size.
    void LoadText(const std::string& record, int width = 200, int height = 100)
    {
        loaded = LoadedScene();
        canvas = Canvas(width, height);
        LoadDrawing(SceneText().Geometry("t", record).Brush("black", BlackBrush), "Fill{ t black }", 1);
    }
    Image Frame()
    {
        EXPECT_EQ(Render(), ResultOk) << Scene().GetErrorText();
        return Image::FromTarget(canvas.target.Get());
    }
};

TEST_F(TextGeometryTest, EachLineIsCentredInTheBoxAndNoneIsDropped)
{
    const struct {
        const char* record;
        int x, y, width, height;
        std::size_t lines;
    } cases[] = {
        { "Text{ text Velorine font Arial size 24 x 20 y 20 w 160 h 60 hitTest 0 }", 20, 20, 160, 60, 1 },
        { "Text{ text Tessik-Velorine font Arial size 20 x 10 y 10 w 100 h 80 hitTest 0 }", 10, 10, 100, 80, 2 },
        { "Text{ text Tessik-Velorine font Arial size 20 x 0 y 10 w 200 h 80 hitTest 0 }", 0, 10, 200, 80, 1 },
        // An unknown family falls back to the default face.
        { "Text{ text Velorine font NoSuchFamilyAtAll size 24 x 0 y 0 w 200 h 100 hitTest 0 }", 0, 0, 200, 100, 1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record);
        LoadText(c.record);
        const Image frame = Frame();
        const FrameInk ink(frame);
        bool centred = ink.all.CentredIn(c.x, c.y, c.width, c.height, 3) && ink.lines.size() == c.lines;
        for (const Ink& line : ink.lines)
            centred = centred && line.right - line.left > 40 && line.bottom - line.top > 10
                && std::abs(line.CentreX() - (c.x + c.width / 2.0)) <= 3;
        EXPECT_TRUE(centred) << ink.lines.size() << " lines; frame saved to " << SaveFailedFrame(frame);
    }
}

TEST_F(TextGeometryTest, ATextWithoutGlyphsDrawsNothing)
{
    // A zero-width space: text that lays out without a single outline.
    LoadDrawing(SceneText()
                    .Geometry("t", "Text{ text \xE2\x80\x8B font Arial size 30 x 0 y 0 w 100 h 100 hitTest 1 }")
                    .Geometry("v", "Text{ text \xE2\x80\x8B font Arial size $s x 0 y 0 w 100 h 100 hitTest 1 }")
                    .Brush("black", BlackBrush),
        "Fill{ t black } Stroke{ t black 3 } Fill{ v black } Stroke{ v black 3 }", 4);
    Write("$s", 30.f);
    for (int frame = 0; frame < 2; ++frame)
        EXPECT_FALSE(FrameInk(Frame()).all.Any());
    bool hit = true;
    EXPECT_EQ(Scene().HitTest(50, 50, &hit), ResultOk);
    EXPECT_FALSE(hit);
}

TEST_F(TextGeometryTest, HitTestingSeesTheGlyphOutlines)
{
    LoadText("Text{ text I font Arial size 80 x 0 y 0 w 100 h 100 hitTest 1 }", 100, 100);
    // Beside the stem, and below the glyph.
    for (const auto& [x, y, inside] :
        { std::tuple { 50, 50, true }, std::tuple { 30, 50, false }, std::tuple { 50, 95, false } }) {
        EXPECT_EQ(Hits(x, y), inside) << x << ", " << y;
    }
}

TEST_F(TextGeometryTest, SceneBytesAreUtf8OrElseWindows1252)
{
    const auto frameOf = [&](const std::string& text) {
        LoadText("Text{ text " + text + " font Arial size 40 x 0 y 0 w 100 h 100 hitTest 0 }", 100, 100);
        return Frame();
    };
    const Image utf8 = frameOf("\xC3\x89"); // É as UTF-8
    const Image latin = frameOf("\xC9"); // É as one Windows-1252 byte
    const FrameInk accented(utf8);
    EXPECT_EQ(accented.lines.size(), 2u) << "the letter and its accent";
    bool same = utf8.Width() == latin.Width() && utf8.Height() == latin.Height();
    for (int y = 0; same && y < utf8.Height(); ++y)
        for (int x = 0; same && x < utf8.Width(); ++x)
            same = Inked(utf8.At(x, y)) == Inked(latin.At(x, y));
    EXPECT_TRUE(same) << "UTF-8 (expected) and Windows-1252 (actual) differ; saved"
                      << SaveFailurePictures(utf8, latin, DifferencePicture(utf8, latin, 0));
}

TEST_F(TextGeometryTest, ALayoutTheTextLayerRefusesFailsTheFrameEveryTime)
{
    LoadText("Text{ text Velorine font Arial size $s x 0 y 0 w $w h 100 hitTest 0 }");
    for (const auto& [size, width] : { std::pair { 0.f, 100.f }, std::pair { 20.f, -1.f } }) {
        Write("$s", size);
        Write("$w", width);
        for (int frame = 0; frame < 2; ++frame) {
            EXPECT_EQ(Render(), KUV::ResultRuntimeError);
            EXPECT_EQ(Scene().GetErrorText(), "Direct2D returned error: -2147024809");
        }
    }
    Write("$w", 200.f);
    EXPECT_TRUE(FrameInk(Frame()).all.CentredIn(0, 0, 200, 100, 4)) << "laid out again with the new values";
}

TEST(TextGeometryConverter, AnswersAsATextRendererOnly)
{
    Canvas canvas;
    ComPtr<KUV::TextGeometryConverter> converter(new KUV::TextGeometryConverter(canvas.factory.Get()));
    ASSERT_EQ(converter->Status(), S_OK);
    for (const IID& iid : { IID_IDWriteTextRenderer, IID_IDWritePixelSnapping, IID_IUnknown }) {
        void* object = nullptr;
        EXPECT_EQ(converter->QueryInterface(iid, &object), S_OK);
        EXPECT_EQ(object, converter.Get());
        EXPECT_EQ(converter->Release(), 1u) << "the pair taken by the query leaves the creator's reference";
    }
    void* object = converter.Get();
    EXPECT_EQ(converter->QueryInterface(IID_IWICBitmapSource, &object), E_FAIL);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(converter->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

TEST_F(TextGeometryTest, TheRecordKeysComeInTheirOrder)
{
    EXPECT_EQ(LoadError(SceneText().Geometry("t", "Text{ text Hi size 10 font Arial x 0 y 0 w 1 h 1 hitTest 0 }")),
        Framed(3, "expecting \"font\" got \"size\""));
    EXPECT_EQ(LoadError(SceneText().Geometry("t", "Text{ text Hi font Arial size 10 x 0 y 0 h 1 w 1 hitTest 0 }")),
        Framed(3, "expecting \"w\" got \"h\""));
}

} // namespace
} // namespace kuvtest
