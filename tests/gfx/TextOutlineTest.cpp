#include <gtest/gtest.h>

#include "Gfx/DWrite.h"
#include "Gfx/text/GlyphOutline.h"
#include "TextRecording.h"

using namespace texttest;

namespace {

// Takes the font face and glyphs that a layout of text in family produces.
class GlyphOutline : public ::testing::Test {
protected:
    void SetUp() override
    {
        ComPtr<IDWriteFactory> factory;
        ASSERT_EQ(DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, factory.ReleaseAndGetAddressOf()), S_OK);
        ComPtr<IDWriteTextFormat> format;
        ASSERT_EQ(factory->CreateTextFormat(u"Arial", nullptr, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STYLE_NORMAL,
                      DWRITE_FONT_STRETCH_NORMAL, 40, u"en-us", format.ReleaseAndGetAddressOf()),
            S_OK);
        ComPtr<IDWriteTextLayout> layout;
        ASSERT_EQ(factory->CreateTextLayout(u"lo", 2, format.Get(), 400, 100, layout.ReleaseAndGetAddressOf()), S_OK);
        ComPtr<RecordingRenderer> renderer(new RecordingRenderer);
        renderer->keepFaces = true;
        ASSERT_EQ(layout->Draw(nullptr, renderer.Get(), 0, 0), S_OK);
        ASSERT_EQ(renderer->runs.size(), 1u);
        m_Face = renderer->faces.at(0);
        m_Ell = renderer->runs[0].indices.at(0);
        m_Oh = renderer->runs[0].indices.at(1);
        m_DesignAdvance = renderer->runs[0].advances.at(0);
    }

    // Outlines glyphs into a fresh sink.
    ComPtr<RecordingSink> Outline(float emSize, std::vector<UINT16> glyphs, const float* advances,
        const DWRITE_GLYPH_OFFSET* offsets, BOOL rtl, HRESULT expected = S_OK)
    {
        ComPtr<RecordingSink> sink(new RecordingSink);
        EXPECT_EQ(m_Face->GetGlyphRunOutline(
                      emSize, glyphs.data(), advances, offsets, UINT32(glyphs.size()), FALSE, rtl, sink.Get()),
            expected);
        return sink;
    }

    ComPtr<IDWriteFontFace> m_Face;
    UINT16 m_Ell = 0;
    UINT16 m_Oh = 0;
    float m_DesignAdvance = 0;
};

void ExpectBoundsNear(const Bounds& actual, const Bounds& expected, double tolerance = 1e-3)
{
    EXPECT_NEAR(actual.left, expected.left, tolerance);
    EXPECT_NEAR(actual.top, expected.top, tolerance);
    EXPECT_NEAR(actual.right, expected.right, tolerance);
    EXPECT_NEAR(actual.bottom, expected.bottom, tolerance);
}

Bounds Shifted(Bounds b, double dx, double dy)
{
    b.left += dx, b.right += dx, b.top += dy, b.bottom += dy;
    return b;
}

} // namespace

TEST_F(GlyphOutline, FiguresAreFilledClosedAndWinding)
{
    const auto sink = Outline(40, { m_Ell, m_Oh }, nullptr, nullptr, FALSE);
    EXPECT_EQ(sink->fillMode(), D2D1_FILL_MODE_WINDING);
    ASSERT_EQ(sink->figures().size(), 3u) << "l has one contour, o two";
    for (const Figure& figure : sink->figures()) {
        EXPECT_EQ(figure.begin, D2D1_FIGURE_BEGIN_FILLED);
        EXPECT_TRUE(figure.ended);
        EXPECT_EQ(figure.end, D2D1_FIGURE_END_CLOSED);
    }
    EXPECT_FALSE(sink->closed()) << "closing the sink is the caller's business";
    // The l is a plain rectangle standing on the baseline (y grows downwards).
    const Figure& ell = sink->figures()[0];
    EXPECT_EQ(ell.segments.size(), 3u) << "three lines; the fourth is the implied closing one";
    const Bounds ellBounds = Outline(40, { m_Ell }, nullptr, nullptr, FALSE)->OutlineBounds();
    EXPECT_NEAR(ellBounds.bottom, 0, 1e-4);
    EXPECT_NEAR(ellBounds.top, -40.0 * 1484 / 2048, 1e-3) << "the l of Liberation Sans is 1484 units tall";
}

TEST_F(GlyphOutline, OutlinesAreUnhintedAndScaleExactly)
{
    const Bounds small = Outline(13, { m_Oh }, nullptr, nullptr, FALSE)->OutlineBounds();
    const Bounds large = Outline(130, { m_Oh }, nullptr, nullptr, FALSE)->OutlineBounds();
    EXPECT_NEAR(small.left * 10, large.left, 1e-3);
    EXPECT_NEAR(small.top * 10, large.top, 1e-3);
    EXPECT_NEAR(small.right * 10, large.right, 1e-3);
    EXPECT_NEAR(small.bottom * 10, large.bottom, 1e-3);
}

TEST_F(GlyphOutline, GlyphsArePlacedByAdvancesAndOffsets)
{
    const Bounds ell = Outline(40, { m_Ell }, nullptr, nullptr, FALSE)->OutlineBounds();
    const float advances[] = { 30.f, 5.f };
    const DWRITE_GLYPH_OFFSET offsets[] = { { 0.f, 0.f }, { 2.f, 10.f } };
    Bounds expected = ell;
    expected.Add(Shifted(ell, 32, -10));
    ExpectBoundsNear(Outline(40, { m_Ell, m_Ell }, advances, offsets, FALSE)->OutlineBounds(), expected);

    // Right to left: each glyph sits left of the pen, and offsets run against x.
    expected = Shifted(ell, -30, 0);
    expected.Add(Shifted(ell, -35 - 2, -10));
    ExpectBoundsNear(Outline(40, { m_Ell, m_Ell }, advances, offsets, TRUE)->OutlineBounds(), expected);

    // Without advances, the design advances apply.
    expected = ell;
    expected.Add(Shifted(ell, m_DesignAdvance, 0));
    ExpectBoundsNear(Outline(40, { m_Ell, m_Ell }, nullptr, nullptr, FALSE)->OutlineBounds(), expected, 2e-3);
}

TEST_F(GlyphOutline, BadRequestsAreRefused)
{
    Outline(40, { m_Ell, UINT16(65535) }, nullptr, nullptr, FALSE, E_INVALIDARG);
    EXPECT_EQ(m_Face->GetGlyphRunOutline(40, &m_Ell, nullptr, nullptr, 1, FALSE, FALSE, nullptr), E_INVALIDARG);
    ComPtr<RecordingSink> sink(new RecordingSink);
    EXPECT_EQ(m_Face->GetGlyphRunOutline(40, nullptr, nullptr, nullptr, 1, FALSE, FALSE, sink.Get()), E_INVALIDARG);
    EXPECT_EQ(m_Face->GetGlyphRunOutline(40, &m_Ell, nullptr, nullptr, 1, TRUE, FALSE, sink.Get()), E_NOTIMPL);
    EXPECT_EQ(m_Face->GetGlyphRunOutline(40, nullptr, nullptr, nullptr, 0, FALSE, FALSE, sink.Get()), S_OK);
    EXPECT_TRUE(sink->figures().empty());
}

TEST(GlyphOutlineWriter, QuadraticSegmentsBecomeExactCubics)
{
    // One contour: on (0,0), conic control (30,60), on (60,0), then a line back.
    FT_Vector points[] = { { 0, 0 }, { 30, 60 }, { 60, 0 } };
    char tags[] = { FT_CURVE_TAG_ON, FT_CURVE_TAG_CONIC, FT_CURVE_TAG_ON };
    short contours[] = { 2 };
    FT_Outline outline {};
    outline.n_contours = 1;
    outline.n_points = 3;
    outline.points = points;
    outline.tags = tags;
    outline.contours = contours;
    ComPtr<RecordingSink> sink(new RecordingSink);
    ASSERT_TRUE(gfx::text::WriteOutline(outline, { 100, 200, 0.5 }, sink.Get()));
    ASSERT_EQ(sink->figures().size(), 1u);
    const Figure& figure = sink->figures()[0];
    EXPECT_FLOAT_EQ(figure.start.x, 100);
    EXPECT_FLOAT_EQ(figure.start.y, 200);
    ASSERT_EQ(figure.segments.size(), 1u) << "the closing line is implied";
    ASSERT_TRUE(figure.segments[0].curve);
    const D2D1_BEZIER_SEGMENT& cubic = figure.segments[0].points;
    // Control (115, 170) in sink space; cubic controls lie 2/3 of the way to it from each end.
    EXPECT_FLOAT_EQ(cubic.point1.x, 110);
    EXPECT_FLOAT_EQ(cubic.point1.y, 180);
    EXPECT_FLOAT_EQ(cubic.point2.x, 120);
    EXPECT_FLOAT_EQ(cubic.point2.y, 180);
    EXPECT_FLOAT_EQ(cubic.point3.x, 130);
    EXPECT_FLOAT_EQ(cubic.point3.y, 200);
    EXPECT_EQ(figure.end, D2D1_FIGURE_END_CLOSED);
}
