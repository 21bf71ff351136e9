#include "Gfx/text/TextLayout.h"

#include <climits>
#include <cmath>

#include "Gfx/text/GlyphRun.h"
#include "Gfx/text/Snapping.h"

namespace KUV::Gfx::Text {

namespace {

struct IterDeleter {
    void operator()(PangoLayoutIter* iter) const { pango_layout_iter_free(iter); }
};
using LayoutIter = std::unique_ptr<PangoLayoutIter, IterDeleter>;

PangoAttrList* LayoutAttributes(const TextFormatSettings& settings)
{
    PangoAttrList* attributes = pango_attr_list_new();
    const Utf8Text locale = ToUtf8(settings.locale.data(), settings.locale.size());
    pango_attr_list_insert(attributes, pango_attr_language_new(pango_language_from_string(locale.bytes.c_str())));
    // Lines broken inside a word end without an added hyphen.
    pango_attr_list_insert(attributes, pango_attr_insert_hyphens_new(FALSE));
    return attributes;
}

PangoFontDescription* FontDescription(const TextFormatSettings& settings)
{
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, settings.family.c_str());
    pango_font_description_set_weight(description, PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(description, PANGO_STYLE_NORMAL);
    pango_font_description_set_stretch(description, PANGO_STRETCH_NORMAL);
    pango_font_description_set_absolute_size(description, double(settings.size) * PANGO_SCALE);
    return description;
}

// Pango widths are ints of 1/1024 DIP; a wider box cannot be reached by any line anyway.
int PangoWidth(double maxWidth)
{
    const double width = std::floor(maxWidth * PANGO_SCALE);
    return width >= double(INT_MAX) ? -1 : int(width);
}

} // namespace

struct TextLayout::DrawState {
    void* context;
    IDWriteTextRenderer* renderer;
    double originX; // DIPs
    double originY;
    double top; // pango units
    Snapping snapping;
};

TextLayout::TextLayout(ComPtr<WriteFactory> factory, std::u16string text, const TextFormatSettings& settings,
    float maxWidth, float maxHeight)
    : m_Factory(std::move(factory))
    , m_Source(std::move(text))
    , m_Text(ToUtf8(m_Source.data(), m_Source.size()))
    , m_Settings(settings)
    , m_MaxWidth(maxWidth)
    , m_MaxHeight(maxHeight)
    , m_Layout(pango_layout_new(m_Factory->Context()))
{
    PangoAttrList* attributes = LayoutAttributes(m_Settings);
    pango_layout_set_attributes(m_Layout, attributes);
    pango_attr_list_unref(attributes);
    PangoFontDescription* description = FontDescription(m_Settings);
    pango_layout_set_font_description(m_Layout, description);
    pango_font_description_free(description);
    pango_layout_set_wrap(m_Layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_width(m_Layout, PangoWidth(m_MaxWidth));
    pango_layout_set_text(m_Layout, m_Text.bytes.data(), int(m_Text.bytes.size()));
}

TextLayout::~TextLayout()
{
    g_object_unref(m_Layout);
}

double TextLayout::LineLeft(PangoLayoutIter* iter) const
{
    PangoRectangle logical;
    pango_layout_iter_get_line_extents(iter, nullptr, &logical);
    const bool rtl = pango_layout_iter_get_line_readonly(iter)->resolved_dir == PANGO_DIRECTION_RTL;
    return AlignedLineLeft(m_Settings.textAlignment, rtl, m_MaxWidth * PANGO_SCALE, logical.width);
}

double TextLayout::BlockTop() const
{
    PangoRectangle logical;
    pango_layout_get_extents(m_Layout, nullptr, &logical);
    return AlignedBlockTop(m_Settings.paragraphAlignment, m_MaxHeight * PANGO_SCALE, logical.height) - logical.y;
}

HRESULT TextLayout::Draw(void* clientDrawingContext, IDWriteTextRenderer* renderer, float originX, float originY)
{
    if (renderer == nullptr) return E_INVALIDARG;
    DrawState state { clientDrawingContext, renderer, originX, originY, BlockTop(), {} };
    if (const HRESULT hr = QuerySnapping(renderer, clientDrawingContext, state.snapping); FAILED(hr)) return hr;
    const LayoutIter iter(pango_layout_get_iter(m_Layout));
    do {
        if (pango_layout_iter_get_run_readonly(iter.get()) == nullptr) continue; // end of a line
        if (const HRESULT hr = DrawRun(iter.get(), state); FAILED(hr)) return hr;
    } while (pango_layout_iter_next_run(iter.get()));
    return S_OK;
}

HRESULT TextLayout::DrawRun(PangoLayoutIter* iter, const DrawState& state)
{
    const PangoLayoutRun& run = *pango_layout_iter_get_run_readonly(iter);
    PangoRectangle lineExtents;
    PangoRectangle runExtents;
    pango_layout_iter_get_line_extents(iter, nullptr, &lineExtents);
    pango_layout_iter_get_run_extents(iter, nullptr, &runExtents);
    // Lines are placed by our own alignment rule, whatever pango did with them.
    const double runX = LineLeft(iter) + (runExtents.x - lineExtents.x);
    GlyphRunData glyphs;
    if (!BuildGlyphRun(run, m_Text, runX, glyphs)) return S_OK;
    const double baseline = state.top + pango_layout_iter_get_baseline(iter) - run.y_offset;
    return SendRun(glyphs, run.item->analysis.font, baseline, state);
}

HRESULT TextLayout::SendRun(const GlyphRunData& glyphs, PangoFont* font, double baselineY, const DrawState& state)
{
    IDWriteFontFace* face = nullptr;
    float emSize = 0.f;
    if (const HRESULT hr = m_Factory->FaceOf(font, &face, &emSize); FAILED(hr)) return hr;
    const DWRITE_GLYPH_RUN run { face, emSize, UINT32(glyphs.indices.size()), glyphs.indices.data(),
        glyphs.advances.data(), glyphs.offsets.data(), FALSE, glyphs.bidiLevel };
    const DWRITE_GLYPH_RUN_DESCRIPTION description { m_Settings.locale.c_str(), m_Source.data() + glyphs.textPosition,
        glyphs.textLength, glyphs.clusterMap.data(), glyphs.textPosition };
    const double x = state.originX + glyphs.originX / PANGO_SCALE;
    const double y = SnapBaseline(state.originY + baselineY / PANGO_SCALE, state.snapping);
    return state.renderer->DrawGlyphRun(
        state.context, float(x), float(y), DWRITE_MEASURING_MODE_NATURAL, &run, &description, nullptr);
}

} // namespace KUV::Gfx::Text
