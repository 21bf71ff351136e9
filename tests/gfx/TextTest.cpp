#include <cmath>

#include <gtest/gtest.h>

#include "Gfx/DWrite.h"
#include "Gfx/text/GlyphOutline.h"
#include "TextRecording.h"

using namespace texttest;

namespace {

class TextLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, m_Factory.ReleaseAndGetAddressOf()), S_OK);
    }

    HRESULT CreateFormat(const std::u16string& family, float size, ComPtr<IDWriteTextFormat>& format)
    {
        return m_Factory->CreateTextFormat(family.c_str(), nullptr, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STYLE_NORMAL,
            DWRITE_FONT_STRETCH_NORMAL, size, u"en-us", format.ReleaseAndGetAddressOf());
    }

    // A layout made the way text geometry makes it: centred both ways in its box.
    ComPtr<IDWriteTextLayout> Layout(const std::u16string& text, float width = 400, float height = 100,
        const std::u16string& family = u"Arial", float size = 40)
    {
        ComPtr<IDWriteTextFormat> format;
        EXPECT_EQ(CreateFormat(family, size, format), S_OK);
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
    static ComPtr<RecordingRenderer> Record(IDWriteTextLayout* layout)
    {
        ComPtr<RecordingRenderer> renderer(new RecordingRenderer);
        EXPECT_EQ(layout->Draw(nullptr, renderer.Get(), 0, 0), S_OK);
        return renderer;
    }

    ComPtr<IDWriteFactory> m_Factory;
};

} // namespace

TEST_F(TextLayout, OneWordGivesOneRunWithUnroundedAdvancesAndExactOutlines)
{
    const auto layout = Layout(u"Velorine");
    const auto renderer = Record(layout.Get());
    ASSERT_EQ(renderer->runs.size(), 1u);
    const RecordedRun& run = renderer->runs[0];
    EXPECT_EQ(run.indices.size(), 8u);
    EXPECT_EQ(run.outlineResult, S_OK);
    // No descenders: the ink ends at the baseline, give or take the overshoot of round letters.
    EXPECT_NEAR(run.outline.bottom, run.baselineY, 1);
    // Liberation Sans "l" and "i" advance 455/2048 em, unhinted and unrounded: 8.886... DIPs.
    EXPECT_NEAR(run.advances[2], 40.0 * 455 / 2048, 1.0 / 1024);
    EXPECT_NEAR(run.advances[5], 40.0 * 455 / 2048, 1.0 / 1024);
    EXPECT_NE(run.baselineX, std::round(run.baselineX)) << "run positions are not rounded to pixels";
}

TEST_F(TextLayout, FamiliesResolveThroughFontconfigWithFallback)
{
    const auto arial = Record(Layout(u"Velorine").Get());
    const auto times = Record(Layout(u"Velorine", 400, 100, u"Times New Roman").Get());
    const auto unknown = Record(Layout(u"Velorine", 400, 100, u"No Such Family Kuv").Get());
    for (const auto* renderer : { &arial, &times, &unknown })
        ASSERT_EQ((*renderer)->runs.size(), 1u);
    EXPECT_NE(arial->runs[0].advances, times->runs[0].advances);
    EXPECT_EQ(unknown->runs[0].outlineResult, S_OK);
    EXPECT_EQ(unknown->runs[0].indices.size(), 8u);
    EXPECT_FALSE(unknown->runs[0].outline.Empty());
}

TEST_F(TextLayout, TextWithoutVisibleGlyphsDrawsNoRuns)
{
    for (const std::u16string text : { u"", u"   ", u"\n", u"\t \r\n", u"\u00A0\u200B" })
        EXPECT_EQ(Record(Layout(text).Get())->calls, 0u) << text.size() << " code units";
}

TEST_F(TextLayout, RendererFailureStopsTheDraw)
{
    const auto layout = Layout(u"Velorine Velorine", 200, 150);
    for (size_t failFrom : { 0u, 1u }) {
        ComPtr<RecordingRenderer> renderer(new RecordingRenderer);
        renderer->failFrom = failFrom;
        EXPECT_EQ(layout->Draw(nullptr, renderer.Get(), 0, 0), RecordingRenderer::kFailure);
        EXPECT_EQ(renderer->calls, failFrom + 1) << "no call after the failing one";
    }
}

TEST_F(TextLayout, UnusableFontSizesAreRefused)
{
    ComPtr<IDWriteTextFormat> format;
    for (float size : { 0.f, -1.f, NAN, INFINITY, 1e6f }) {
        EXPECT_EQ(CreateFormat(u"Arial", size, format), E_INVALIDARG) << size;
        EXPECT_FALSE(format);
    }
}

// The layout is drawn after its factory is gone and the face used after its layout is gone: each must keep
// alive what it needs.
TEST_F(TextLayout, GlyphOutlinesAreUnhintedFilledClosedAndWinding)
{
    auto layout = Layout(u"lo");
    m_Factory = ComPtr<IDWriteFactory>();
    const auto renderer = Record(layout.Get());
    layout = ComPtr<IDWriteTextLayout>();
    ASSERT_EQ(renderer->runs.size(), 1u);
    const RecordedRun& run = renderer->runs[0];
    ASSERT_EQ(run.outlineResult, S_OK);
    EXPECT_EQ(run.sink->fillMode, D2D1_FILL_MODE_WINDING);
    EXPECT_EQ(run.sink->figures.size(), 3u) << "l has one contour, o two";
    EXPECT_TRUE(run.sink->AllFiguresFilledAndClosed());
    EXPECT_FALSE(run.sink->closed) << "closing the sink is the caller's business";

    ComPtr<RecordingSink> ell(new RecordingSink);
    ASSERT_EQ(run.face->GetGlyphRunOutline(40, run.indices.data(), nullptr, nullptr, 1, FALSE, FALSE, ell.Get()), S_OK);
    ASSERT_EQ(ell->figures.size(), 1u);
    // The l is a plain rectangle standing on the baseline (y grows downwards).
    EXPECT_EQ(ell->figures[0].segments.size(), 3u) << "three lines; the fourth is the implied closing one";
    EXPECT_NEAR(ell->OutlineBounds().bottom, 0, 1e-4);
    EXPECT_NEAR(ell->OutlineBounds().top, -40.0 * 1484 / 2048, 1e-3) << "unhinted: Liberation Sans l is 1484 units";
}

TEST(GlyphOutlineWriter, QuadraticSegmentsBecomeExactCubics)
{
    // One contour: on (0,0), conic control (30,60), on (60,0), then a line back.
    FT_Vector points[] = { { 0, 0 }, { 30, 60 }, { 60, 0 } };
    char tags[] = { FT_CURVE_TAG_ON, FT_CURVE_TAG_CONIC, FT_CURVE_TAG_ON };
    short contours[] = { 2 };
    const FT_Outline outline { 1, 3, points, tags, contours, 0 };
    ComPtr<RecordingSink> sink(new RecordingSink);
    ASSERT_TRUE(KUV::Gfx::Text::WriteOutline(outline, { 100, 200, 0.5 }, sink.Get()));
    ASSERT_EQ(sink->figures.size(), 1u);
    const Figure& figure = sink->figures[0];
    EXPECT_FLOAT_EQ(figure.start.x, 100);
    EXPECT_FLOAT_EQ(figure.start.y, 200);
    EXPECT_EQ(figure.end, D2D1_FIGURE_END_CLOSED);
    ASSERT_EQ(figure.segments.size(), 1u) << "the closing line is implied";
    ASSERT_TRUE(figure.segments[0].curve);
    // Control (115, 170) in sink space; cubic controls lie 2/3 of the way to it from each end.
    const D2D1_BEZIER_SEGMENT& c = figure.segments[0].points;
    const float actual[] = { c.point1.x, c.point1.y, c.point2.x, c.point2.y, c.point3.x, c.point3.y };
    const float expected[] = { 110, 180, 120, 180, 130, 200 };
    for (int i = 0; i < 6; ++i)
        EXPECT_FLOAT_EQ(actual[i], expected[i]) << "coordinate " << i;
}
