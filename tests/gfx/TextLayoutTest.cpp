#include <cmath>
#include <numeric>

#include <gtest/gtest.h>

#include "Gfx/DWrite.h"
#include "TextRecording.h"

using namespace texttest;

namespace {

class TextLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, m_Factory.ReleaseAndGetAddressOf()), S_OK);
    }

    ComPtr<IDWriteTextFormat> Format(const std::u16string& family, float size)
    {
        ComPtr<IDWriteTextFormat> format;
        EXPECT_EQ(
            m_Factory->CreateTextFormat(family.c_str(), nullptr, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STYLE_NORMAL,
                DWRITE_FONT_STRETCH_NORMAL, size, u"en-us", format.ReleaseAndGetAddressOf()),
            S_OK);
        return format;
    }

    // A layout made the way text geometry makes it: centred both ways in its box.
    ComPtr<IDWriteTextLayout> Layout(
        const std::u16string& text, const std::u16string& family, float size, float width, float height)
    {
        ComPtr<IDWriteTextFormat> format = Format(family, size);
        if (!format) return {};
        EXPECT_EQ(format->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_CENTER), S_OK);
        EXPECT_EQ(format->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_CENTER), S_OK);
        ComPtr<IDWriteTextLayout> layout;
        EXPECT_EQ(m_Factory->CreateTextLayout(
                      text.data(), UINT32(text.size()), format.Get(), width, height, layout.ReleaseAndGetAddressOf()),
            S_OK);
        return layout;
    }

    // Draws layout into a fresh recording renderer.
    static ComPtr<RecordingRenderer> Record(IDWriteTextLayout* layout, float x = 0, float y = 0)
    {
        ComPtr<RecordingRenderer> renderer(new RecordingRenderer);
        EXPECT_EQ(layout->Draw(nullptr, renderer.Get(), x, y), S_OK);
        return renderer;
    }

    ComPtr<IDWriteFactory> m_Factory;
};

bool IsWhole(double value, double tolerance = 1e-6)
{
    return std::fabs(value - std::round(value)) < tolerance;
}

} // namespace

TEST_F(TextLayout, OneWordIsCentredInItsBox)
{
    const auto renderer = Record(Layout(u"Velorine", u"Arial", 40, 400, 100).Get());
    ASSERT_EQ(renderer->runs.size(), 1u);
    const RecordedRun& run = renderer->runs[0];
    EXPECT_EQ(run.text, u"Velorine");
    EXPECT_EQ(run.indices.size(), 8u);
    EXPECT_EQ(run.emSize, 40.f);
    EXPECT_EQ(run.bidiLevel, 0u);
    EXPECT_EQ(run.outlineResult, S_OK);
    const Bounds& ink = run.outline;
    EXPECT_NEAR(ink.CentreX(), 200, 3);
    EXPECT_NEAR(ink.CentreY(), 50, 4);
    EXPECT_GT(ink.left, 100);
    EXPECT_LT(ink.right, 300);
    EXPECT_GT(ink.top, 0);
    EXPECT_LT(ink.bottom, 100);
    // No descenders: the ink ends at the baseline, give or take the overshoot of round letters.
    EXPECT_NEAR(ink.bottom, run.baselineY, 1);
    EXPECT_NEAR(ink.bottom - ink.top, 29, 2) << "cap height of a 40 DIP Arial";
}

TEST_F(TextLayout, GlyphRunsCarryExactUnroundedMetricsAndClosedOutlines)
{
    const auto renderer = Record(Layout(u"Velorine", u"Arial", 40, 400, 100).Get());
    ASSERT_EQ(renderer->runs.size(), 1u);
    const RecordedRun& run = renderer->runs[0];
    // Liberation Sans "l" and "i" advance 455/2048 em, unhinted and unrounded: 8.886... DIPs.
    EXPECT_NEAR(run.advances[2], 40.0 * 455 / 2048, 1.0 / 1024);
    EXPECT_NEAR(run.advances[5], 40.0 * 455 / 2048, 1.0 / 1024);
    EXPECT_FALSE(IsWhole(run.baselineX)) << "run positions are not rounded to pixels";
    for (const DWRITE_GLYPH_OFFSET& offset : run.offsets) {
        EXPECT_EQ(offset.advanceOffset, 0.f);
        EXPECT_EQ(offset.ascenderOffset, 0.f);
    }
    EXPECT_EQ(run.fillMode, D2D1_FILL_MODE_WINDING);
    EXPECT_GE(run.figureCount, 10u) << "V e l o r i n e: at least one contour each, more for e, o and i";
    EXPECT_TRUE(run.allFiguresFilledAndClosed);
    EXPECT_EQ(run.clusterMap, (std::vector<UINT16> { 0, 1, 2, 3, 4, 5, 6, 7 }));
}

TEST_F(TextLayout, AlignmentsPlaceTheBlockAtTheEdgesOfTheBox)
{
    const auto layout = Layout(u"Velorine", u"Arial", 40, 400, 100);
    const Bounds centred = Record(layout.Get())->AllOutlines();

    ASSERT_EQ(layout->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_LEADING), S_OK);
    ASSERT_EQ(layout->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_NEAR), S_OK);
    const auto nearRun = Record(layout.Get())->runs.at(0);
    EXPECT_NEAR(nearRun.baselineX, 0, 1e-4);
    EXPECT_NEAR(nearRun.outline.left, 0, 2) << "the side bearing of V";
    EXPECT_NEAR(nearRun.baselineY, 40.0 * 1854 / 2048, 0.05) << "first baseline one ascent below the top";

    ASSERT_EQ(layout->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_TRAILING), S_OK);
    ASSERT_EQ(layout->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_FAR), S_OK);
    const auto farRun = Record(layout.Get())->runs.at(0);
    EXPECT_NEAR(farRun.outline.right, 400, 2);
    EXPECT_NEAR(farRun.baselineY, 100 - 40.0 * 434 / 2048, 0.05) << "last baseline one descent above the bottom";
    EXPECT_NEAR((nearRun.outline.left + farRun.outline.right) / 2, centred.CentreX(), 0.01);

    EXPECT_EQ(layout->SetTextAlignment(DWRITE_TEXT_ALIGNMENT(3)), E_INVALIDARG);
    EXPECT_EQ(layout->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT(3)), E_INVALIDARG);
}

TEST_F(TextLayout, DrawOriginAndContextReachTheRenderer)
{
    const auto layout = Layout(u"Velorine", u"Arial", 40, 400, 100);
    const RecordedRun atZero = Record(layout.Get())->runs.at(0);
    ComPtr<RecordingRenderer> renderer(new RecordingRenderer);
    int context = 0;
    ASSERT_EQ(layout->Draw(&context, renderer.Get(), 10.25f, -20.5f), S_OK);
    ASSERT_EQ(renderer->runs.size(), 1u);
    EXPECT_EQ(renderer->lastContext, &context);
    EXPECT_FLOAT_EQ(renderer->runs[0].baselineX, atZero.baselineX + 10.25f);
    EXPECT_FLOAT_EQ(renderer->runs[0].baselineY, atZero.baselineY - 20.5f);
}

TEST_F(TextLayout, WrappedTextGivesOneRunPerLine)
{
    const auto renderer = Record(Layout(u"Velorine Velorine", u"Arial", 40, 200, 150).Get());
    ASSERT_EQ(renderer->runs.size(), 2u);
    const RecordedRun& first = renderer->runs[0];
    const RecordedRun& second = renderer->runs[1];
    EXPECT_EQ(first.indices.size(), 8u) << "the space at the break draws nothing";
    EXPECT_EQ(second.indices.size(), 8u);
    EXPECT_NEAR(second.baselineY - first.baselineY, 40.0 * (1854 + 434) / 2048, 0.05) << "one line height apart";
    EXPECT_NEAR((first.baselineY + second.baselineY) / 2, 75 + 40.0 * (1854 - 434) / 2048 / 2, 0.05)
        << "the two-line block is centred in the box";
    EXPECT_NEAR(first.outline.CentreX(), 100, 3);
    EXPECT_NEAR(second.outline.CentreX(), 100, 3);
    EXPECT_FLOAT_EQ(first.baselineX, second.baselineX) << "both lines are the same word, centred alike";
}

TEST_F(TextLayout, FamiliesResolveThroughFontconfigWithFallback)
{
    const auto arial = Record(Layout(u"Velorine", u"Arial", 40, 400, 100).Get());
    const auto times = Record(Layout(u"Velorine", u"Times New Roman", 40, 400, 100).Get());
    const auto courier = Record(Layout(u"Velorine", u"Courier New", 40, 400, 100).Get());
    const auto unknown = Record(Layout(u"Velorine", u"No Such Family Kuv", 40, 400, 100).Get());
    ASSERT_EQ(arial->runs.size(), 1u);
    ASSERT_EQ(times->runs.size(), 1u);
    ASSERT_EQ(courier->runs.size(), 1u);
    ASSERT_EQ(unknown->runs.size(), 1u);
    // Courier New is monospaced (1229/2048 em); the three metric-compatible families all differ.
    for (float advance : courier->runs[0].advances)
        EXPECT_NEAR(advance, 40.0 * 1229 / 2048, 1.0 / 1024);
    EXPECT_NE(arial->runs[0].advances, times->runs[0].advances);
    EXPECT_NE(arial->runs[0].advances, courier->runs[0].advances);
    EXPECT_EQ(unknown->runs[0].outlineResult, S_OK);
    EXPECT_EQ(unknown->runs[0].indices.size(), 8u);
    EXPECT_FALSE(unknown->runs[0].outline.Empty());
    EXPECT_NEAR(unknown->runs[0].outline.CentreX(), 200, 3);
}

TEST_F(TextLayout, TextWithoutVisibleGlyphsDrawsNoRuns)
{
    for (const std::u16string text : { u"", u"   ", u"\n", u"\t \r\n", u"\u00A0\u200B" }) {
        const auto renderer = Record(Layout(text, u"Arial", 40, 400, 100).Get());
        EXPECT_EQ(renderer->calls(), 0u) << "for " << text.size() << " code units";
    }
}

TEST_F(TextLayout, RendererFailureStopsTheDraw)
{
    const auto layout = Layout(u"Velorine Velorine", u"Arial", 40, 200, 150);
    const HRESULT failure = D2DERR_RECREATE_TARGET;
    for (size_t failFrom : { 0u, 1u }) {
        ComPtr<RecordingRenderer> renderer(new RecordingRenderer);
        renderer->failFrom = failFrom;
        renderer->failure = failure;
        EXPECT_EQ(layout->Draw(nullptr, renderer.Get(), 0, 0), failure);
        EXPECT_EQ(renderer->calls(), failFrom + 1) << "no call after the failing one";
    }
}

TEST_F(TextLayout, RightToLeftRunStartsAtItsRightEnd)
{
    const auto renderer = Record(Layout(u"\u05E9\u05DC\u05D5\u05DD", u"Arial", 40, 400, 100).Get());
    ASSERT_EQ(renderer->runs.size(), 1u);
    const RecordedRun& run = renderer->runs[0];
    EXPECT_EQ(run.bidiLevel % 2, 1u);
    ASSERT_EQ(run.indices.size(), 4u);
    const double width = std::accumulate(run.advances.begin(), run.advances.end(), 0.0);
    EXPECT_LE(run.outline.right, run.baselineX + 0.5);
    EXPECT_GE(run.outline.left, run.baselineX - width - 0.5);
    EXPECT_NEAR(run.outline.CentreX(), 200, 3);
    EXPECT_EQ(run.clusterMap, (std::vector<UINT16> { 0, 1, 2, 3 })) << "glyphs in logical order";
}

TEST_F(TextLayout, PixelSnappingPutsBaselinesOnDevicePixels)
{
    const auto layout = Layout(u"Velorine Velorine", u"Arial", 40, 200, 150);
    ComPtr<RecordingRenderer> renderer(new RecordingRenderer);
    renderer->snappingDisabled = false;
    ASSERT_EQ(layout->Draw(nullptr, renderer.Get(), 0, 0.3f), S_OK);
    ASSERT_EQ(renderer->runs.size(), 2u);
    for (const RecordedRun& run : renderer->runs)
        EXPECT_TRUE(IsWhole(run.baselineY)) << run.baselineY;
    const float exactX = Record(layout.Get())->runs[0].baselineX;
    EXPECT_EQ(renderer->runs[0].baselineX, exactX) << "horizontal positions are not snapped";

    renderer = ComPtr<RecordingRenderer>(new RecordingRenderer);
    renderer->snappingDisabled = false;
    renderer->transform = { 1, 0, 0, 2, 0, 0.25f };
    renderer->pixelsPerDip = 1.5f;
    ASSERT_EQ(layout->Draw(nullptr, renderer.Get(), 0, 0), S_OK);
    for (const RecordedRun& run : renderer->runs)
        EXPECT_TRUE(IsWhole((run.baselineY * 2 + 0.25) * 1.5, 1e-3)) << run.baselineY;
}

TEST_F(TextLayout, SurrogatesAndStrayCodeUnitsAreLaidOut)
{
    std::u16string text = u"A\U0001D400B?C";
    text[4] = 0xD800; // an unpaired high surrogate
    const auto renderer = Record(Layout(text, u"Arial", 20, 400, 100).Get());
    ASSERT_GE(renderer->runs.size(), 1u);
    std::u16string seen;
    for (const RecordedRun& run : renderer->runs) {
        EXPECT_EQ(run.clusterMap.size(), run.text.size());
        for (UINT16 glyph : run.clusterMap)
            EXPECT_LT(glyph, run.indices.size());
        seen += run.text;
    }
    EXPECT_EQ(seen, text) << "run descriptions point into the original UTF-16";
}

TEST_F(TextLayout, FacesAndLayoutsOutliveTheirFactory)
{
    const auto layout = Layout(u"Velorine", u"Arial", 40, 400, 100);
    m_Factory = ComPtr<IDWriteFactory>();
    ComPtr<RecordingRenderer> renderer(new RecordingRenderer);
    renderer->keepFaces = true;
    ASSERT_EQ(layout->Draw(nullptr, renderer.Get(), 0, 0), S_OK);
    ASSERT_EQ(renderer->faces.size(), 1u);
    const RecordedRun run = renderer->runs[0];
    const_cast<ComPtr<IDWriteTextLayout>&>(layout) = ComPtr<IDWriteTextLayout>();
    ComPtr<RecordingSink> sink(new RecordingSink);
    EXPECT_EQ(renderer->faces[0]->GetGlyphRunOutline(40, run.indices.data(), run.advances.data(), nullptr,
                  UINT32(run.indices.size()), FALSE, FALSE, sink.Get()),
        S_OK);
    EXPECT_EQ(sink->figures().size(), run.figureCount);
}

TEST_F(TextLayout, InvalidArgumentsAreRefused)
{
    IDWriteTextFormat* format = reinterpret_cast<IDWriteTextFormat*>(this);
    for (float size : { 0.f, -1.f, NAN, INFINITY, 1e6f }) {
        EXPECT_EQ(m_Factory->CreateTextFormat(u"Arial", nullptr, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STYLE_NORMAL,
                      DWRITE_FONT_STRETCH_NORMAL, size, u"en-us", &format),
            E_INVALIDARG)
            << size;
        EXPECT_EQ(format, nullptr);
    }
    EXPECT_EQ(m_Factory->CreateTextFormat(nullptr, nullptr, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STYLE_NORMAL,
                  DWRITE_FONT_STRETCH_NORMAL, 10, u"en-us", &format),
        E_INVALIDARG);

    const auto good = Format(u"Arial", 20);
    IDWriteTextLayout* layout = reinterpret_cast<IDWriteTextLayout*>(this);
    for (float width : { -1.f, NAN, INFINITY }) {
        EXPECT_EQ(m_Factory->CreateTextLayout(u"x", 1, good.Get(), width, 10, &layout), E_INVALIDARG) << width;
        EXPECT_EQ(layout, nullptr);
        EXPECT_EQ(m_Factory->CreateTextLayout(u"x", 1, good.Get(), 10, width, &layout), E_INVALIDARG) << width;
    }
    EXPECT_EQ(m_Factory->CreateTextLayout(nullptr, 1, good.Get(), 10, 10, &layout), E_INVALIDARG);
    EXPECT_EQ(m_Factory->CreateTextLayout(u"x", 1, nullptr, 10, 10, &layout), E_INVALIDARG);

    ComPtr<IDWriteTextLayout> empty;
    ASSERT_EQ(m_Factory->CreateTextLayout(nullptr, 0, good.Get(), 10, 10, empty.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(Record(empty.Get())->calls(), 0u);
    EXPECT_EQ(empty->Draw(nullptr, nullptr, 0, 0), E_INVALIDARG);
    EXPECT_EQ(DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, nullptr), E_INVALIDARG);
}
