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
#include "ProgramFixtures.h"
#include "support/Pixels.h"

namespace kuvtest {
namespace {

using KUV::ResultOk;

const std::string BlackBrush = "SolidColorBrush{ Color{ 0 0 0 1 } opacity 1 }";

// The extent of the dark pixels of a frame, and the runs of rows that hold any.
struct Ink {
    int left = 0, top = 0, right = -1, bottom = -1; // inclusive; right < left when there is none
    std::vector<std::pair<int, int>> bands; // first and last row of each run of inked rows

    bool Any() const { return right >= left; }
    double CentreX() const { return (left + right + 1) / 2.0; }
    double CentreY() const { return (top + bottom + 1) / 2.0; }
};

bool Inked(Rgba p)
{
    return p.r < 128;
}

Ink FindInk(const Image& frame)
{
    Ink ink;
    ink.left = frame.Width();
    ink.top = frame.Height();
    for (int y = 0; y < frame.Height(); ++y) {
        bool rowInked = false;
        for (int x = 0; x < frame.Width(); ++x) {
            if (!Inked(frame.At(x, y))) continue;
            rowInked = true;
            ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
        }
        if (!rowInked) continue;
        if (!ink.bands.empty() && ink.bands.back().second == y - 1)
            ink.bands.back().second = y;
        else
            ink.bands.push_back({ y, y });
    }
    return ink;
}

::testing::AssertionResult Describe(const Ink& ink, const Image& frame, const std::string& name)
{
    return ::testing::AssertionFailure() << "ink spans x " << ink.left << ".." << ink.right << ", y " << ink.top << ".."
                                         << ink.bottom << " in " << ink.bands.size() << " bands; frame saved to "
                                         << frame.Save(name);
}

class TextGeometryTest : public ProgramTest {
protected:
    // Loads a scene that fills the text record "t" in black on a canvas of the given size.
    void LoadText(const std::string& record, int width = 200, int height = 100)
    {
        UseCanvas(width, height);
        Load(SceneText()
                 .Geometry("t", record)
                 .Brush("black", BlackBrush)
                 .Executable("draw", Commands("Fill{ t black }", 1))
                 .MainAnim("draw"));
    }
    // A fresh canvas; the scene drawn on the old one goes first.
    void UseCanvas(int width, int height)
    {
        loaded = LoadedScene();
        canvas = Canvas(width, height);
    }
    Image Frame()
    {
        EXPECT_EQ(Render(), ResultOk) << Scene().GetErrorText();
        return Image::FromTarget(canvas.target.Get());
    }
};

TEST_F(TextGeometryTest, AOneWordTextIsCentredInItsBox)
{
    LoadText("Text{ text Velorine font Arial size 24 x 20 y 20 w 160 h 60 hitTest 0 }");
    const Image frame = Frame();
    const Ink ink = FindInk(frame);
    const bool centred = ink.Any() && ink.left >= 20 && ink.right < 180 && ink.top >= 20 && ink.bottom < 80
        && std::abs(ink.CentreX() - 100) <= 3 && std::abs(ink.CentreY() - 50) <= 3 && ink.bands.size() == 1
        && ink.right - ink.left > 60 && ink.bottom - ink.top > 12;
    EXPECT_TRUE(centred ? ::testing::AssertionSuccess() : Describe(ink, frame, "OneWordCentred"));
}

TEST_F(TextGeometryTest, ATextWiderThanItsBoxWrapsAndKeepsEveryLine)
{
    LoadText("Text{ text Tessik-Velorine font Arial size 20 x 10 y 10 w 100 h 80 hitTest 0 }", 120, 100);
    const Image frame = Frame();
    const Ink ink = FindInk(frame);
    bool twoLines = ink.Any() && ink.bands.size() == 2 && ink.left >= 10 && ink.right < 110 && ink.top >= 10
        && ink.bottom < 90 && std::abs(ink.CentreY() - 50) <= 4;
    for (const auto& [first, last] : ink.bands) {
        int left = frame.Width(), right = -1;
        for (int y = first; y <= last; ++y)
            for (int x = 0; x < frame.Width(); ++x)
                if (Inked(frame.At(x, y))) left = std::min(left, x), right = std::max(right, x);
        twoLines = twoLines && last - first > 10 && std::abs((left + right + 1) / 2.0 - 60) <= 4;
    }
    EXPECT_TRUE(twoLines ? ::testing::AssertionSuccess() : Describe(ink, frame, "TwoLines"));

    LoadText("Text{ text Tessik-Velorine font Arial size 20 x 0 y 10 w 200 h 80 hitTest 0 }");
    const Ink wide = FindInk(Frame());
    EXPECT_EQ(wide.bands.size(), 1u) << "in a wide enough box the text stays on one line";
}

TEST_F(TextGeometryTest, ATextWithoutGlyphsDrawsNothing)
{
    // A zero-width space: text that lays out without a single outline.
    Load(SceneText()
             .Geometry("t", "Text{ text \xE2\x80\x8B font Arial size 30 x 0 y 0 w 100 h 100 hitTest 1 }")
             .Geometry("v", "Text{ text \xE2\x80\x8B font Arial size $s x 0 y 0 w 100 h 100 hitTest 1 }")
             .Brush("black", BlackBrush)
             .Executable("draw", Commands("Fill{ t black } Stroke{ t black 3 } Fill{ v black } Stroke{ v black 3 }", 4))
             .MainAnim("draw"));
    ASSERT_EQ(Scene().WriteVariable("$s", 30.f), ResultOk);
    for (int frame = 0; frame < 2; ++frame)
        EXPECT_FALSE(FindInk(Frame()).Any());
    bool hit = true;
    EXPECT_EQ(Scene().HitTest(50, 50, &hit), ResultOk);
    EXPECT_FALSE(hit);
}

TEST_F(TextGeometryTest, HitTestingSeesTheGlyphOutlines)
{
    LoadText("Text{ text I font Arial size 80 x 0 y 0 w 100 h 100 hitTest 1 }", 100, 100);
    const Image frame = Frame();
    ASSERT_TRUE(Inked(frame.At(50, 50))) << frame.Save("HitTestGlyph");
    const auto hits = [&](int x, int y) {
        bool hit = false;
        EXPECT_EQ(Scene().HitTest(x, y, &hit), ResultOk);
        return hit;
    };
    EXPECT_TRUE(hits(50, 50));
    EXPECT_FALSE(hits(30, 50)) << "beside the stem";
    EXPECT_FALSE(hits(50, 95)) << "below the glyph";
}

TEST_F(TextGeometryTest, SceneBytesAreUtf8OrElseWindows1252)
{
    const auto frameOf = [&](const std::string& text) {
        LoadText("Text{ text " + text + " font Arial size 40 x 0 y 0 w 100 h 100 hitTest 0 }", 100, 100);
        return Frame();
    };
    const Image utf8 = frameOf("\xC3\x89"); // É as UTF-8
    const Image latin = frameOf("\xC9"); // É as one Windows-1252 byte
    const Image plain = frameOf("E");
    const Ink accented = FindInk(utf8);
    EXPECT_EQ(accented.bands.size(), 2u) << "the letter and its accent";
    EXPECT_LT(accented.top + 3, FindInk(plain).top) << "the accent stands above the capital";
    bool same = utf8.Width() == latin.Width() && utf8.Height() == latin.Height();
    for (int y = 0; same && y < utf8.Height(); ++y)
        for (int x = 0; same && x < utf8.Width(); ++x)
            same = Inked(utf8.At(x, y)) == Inked(latin.At(x, y));
    EXPECT_TRUE(same) << utf8.Save("Utf8Accent") << " " << latin.Save("Cp1252Accent");
}

TEST_F(TextGeometryTest, AVariableTextIsLaidOutAgainEachFrame)
{
    LoadText("Text{ text Velorine font Arial size 20 x $x y 0 w 100 h 100 hitTest 0 }");
    EXPECT_TRUE(Scene().FindGeometry("t")->m_Dynamic);
    ASSERT_EQ(Scene().WriteVariable("$x", 0.f), ResultOk);
    const Ink before = FindInk(Frame());
    ASSERT_EQ(Scene().WriteVariable("$x", 60.f), ResultOk);
    const Ink after = FindInk(Frame());
    ASSERT_TRUE(before.Any() && after.Any());
    EXPECT_NEAR(after.left - before.left, 60, 1);
    EXPECT_EQ(after.top, before.top);
}

TEST_F(TextGeometryTest, AnUnknownFamilyFallsBackToTheDefaultFace)
{
    LoadText("Text{ text Velorine font NoSuchFamilyAtAll size 24 x 0 y 0 w 200 h 100 hitTest 0 }");
    const Ink ink = FindInk(Frame());
    EXPECT_TRUE(ink.Any());
    EXPECT_NEAR(ink.CentreX(), 100, 3);
}

TEST_F(TextGeometryTest, ALayoutTheTextLayerRefusesFailsTheFrameEveryTime)
{
    LoadText("Text{ text Velorine font Arial size $s x 0 y 0 w $w h 100 hitTest 0 }");
    for (const auto& [size, width] : std::vector<std::pair<float, float>> { { 0.f, 100.f }, { 20.f, -1.f } }) {
        ASSERT_EQ(Scene().WriteVariable("$s", size), ResultOk);
        ASSERT_EQ(Scene().WriteVariable("$w", width), ResultOk);
        for (int frame = 0; frame < 2; ++frame) {
            EXPECT_EQ(Render(), KUV::ResultRuntimeError);
            EXPECT_EQ(Scene().GetErrorText(), "Direct2D returned error: -2147024809");
        }
    }
    ASSERT_EQ(Scene().WriteVariable("$w", 200.f), ResultOk);
    EXPECT_TRUE(FindInk(Frame()).Any());
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

    BOOL disabled = TRUE;
    DWRITE_MATRIX transform {};
    float pixelsPerDip = 0.f;
    EXPECT_EQ(converter->IsPixelSnappingDisabled(nullptr, &disabled), S_OK);
    EXPECT_EQ(converter->GetCurrentTransform(nullptr, &transform), S_OK);
    EXPECT_EQ(converter->GetPixelsPerDip(nullptr, &pixelsPerDip), S_OK);
    EXPECT_EQ(disabled, FALSE);
    EXPECT_EQ(transform.m11, 1.f);
    EXPECT_EQ(transform.m22, 1.f);
    EXPECT_EQ(transform.m12 + transform.m21 + transform.dx + transform.dy, 0.f);
    EXPECT_EQ(pixelsPerDip, 1.f);
    EXPECT_EQ(converter->DrawUnderline(nullptr, 0.f, 0.f, nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(converter->DrawStrikethrough(nullptr, 0.f, 0.f, nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(converter->DrawInlineObject(nullptr, 0.f, 0.f, nullptr, FALSE, FALSE, nullptr), E_NOTIMPL);

    std::shared_ptr<ID2D1Geometry> result;
    ASSERT_EQ(converter->Finish(result), S_OK);
    ASSERT_NE(result, nullptr) << "no glyph run still gives a geometry, an empty one";
    D2D1_RECT_F bounds {};
    EXPECT_EQ(result->GetBounds(nullptr, &bounds), S_OK);
    EXPECT_GT(bounds.left, bounds.right);
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
