#include "Gfx/text/harfbuzz/TextLayout.h"

#include <cmath>
#include <memory>

#include "Gfx/text/Snapping.h"
#include "Gfx/text/Utf16.h"

namespace KUV::Gfx::Text {

namespace {

constexpr double kUnits = 1024.0; // positions in 1/1024 DIP, as in pango

bool IsSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == 0x3000;
}
bool IsParagraphEnd(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029;
}
bool IsBlank(char16_t c)
{
    return IsSpace(c) || IsParagraphEnd(c) || c < 0x20 || c == 0x200B || c == 0xFEFF;
}

struct BufferDeleter {
    void operator()(hb_buffer_t* buffer) const { hb_buffer_destroy(buffer); }
};
struct FontDeleter {
    void operator()(hb_font_t* font) const { hb_font_destroy(font); }
};

// The text's paragraphs as [from, to) ranges without their ends; "\r\n" ends one paragraph.
std::vector<std::pair<std::size_t, std::size_t>> Paragraphs(const std::u16string& text)
{
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsParagraphEnd(text[i])) continue;
        ranges.emplace_back(from, i);
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        from = i + 1;
    }
    ranges.emplace_back(from, text.size());
    return ranges;
}

// The width of the glyphs [first, end), and where a break after them would leave the line.
double WidthOf(const std::vector<ShapedGlyph>& glyphs, std::size_t first, std::size_t end)
{
    double width = 0.0;
    for (std::size_t i = first; i < end; ++i)
        width += glyphs[i].advance;
    return width;
}

} // namespace

std::vector<LaidLine> BreakLines(
    std::vector<ShapedGlyph>& glyphs, std::size_t first, std::size_t end, const std::u16string& text, double maxWidth)
{
    std::vector<LaidLine> lines;
    std::size_t start = first;
    std::size_t lastBreak = first; // glyph after the latest run of spaces on this line
    double width = 0.0;
    for (std::size_t i = first; i < end; ++i) {
        const bool space = IsSpace(text[glyphs[i].cluster]);
        if (!space && width + glyphs[i].advance > maxWidth && i > start) {
            const bool atWord = lastBreak > start;
            const std::size_t cut = atWord ? lastBreak : i;
            if (atWord) glyphs[cut - 1].advance = 0.0;
            lines.push_back({ start, cut, WidthOf(glyphs, start, cut) });
            start = cut;
            lastBreak = cut;
            width = WidthOf(glyphs, start, i);
        }
        width += glyphs[i].advance;
        if (space) lastBreak = i + 1;
    }
    lines.push_back({ start, end, WidthOf(glyphs, start, end) });
    return lines;
}

struct TextLayout::DrawState {
    void* context;
    IDWriteTextRenderer* renderer;
    double originX; // DIPs
    double originY;
    Snapping snapping;
};

TextLayout::TextLayout(ComPtr<WriteFactory> factory, std::u16string text, const TextFormatSettings& settings,
    float maxWidth, float maxHeight)
    : m_Factory(std::move(factory))
    , m_Text(std::move(text))
    , m_Settings(settings)
    , m_MaxWidth(maxWidth)
    , m_MaxHeight(maxHeight)
{
    const std::string language = ToUtf8(m_Settings.locale.c_str());
    m_Face = m_Factory->FaceFor(m_Settings.family, m_Settings.size, language);
    if (m_Face == nullptr) return;
    for (const auto& [from, to] : Paragraphs(m_Text)) {
        const std::size_t first = m_Glyphs.size();
        Shape(from, to);
        for (const LaidLine& line : BreakLines(m_Glyphs, first, m_Glyphs.size(), m_Text, m_MaxWidth * kUnits))
            m_Lines.push_back(line);
    }
}

void TextLayout::Shape(std::size_t from, std::size_t to)
{
    const int scale = int(std::lround(double(m_Settings.size) * kUnits));
    std::unique_ptr<hb_font_t, FontDeleter> font(hb_font_create(m_Face->shaping));
    hb_font_set_scale(font.get(), scale, scale);
    hb_font_extents_t extents {};
    hb_font_get_h_extents(font.get(), &extents);
    m_Ascent = extents.ascender;
    m_LineHeight = double(extents.ascender) - extents.descender;
    std::unique_ptr<hb_buffer_t, BufferDeleter> buffer(hb_buffer_create());
    hb_buffer_add_utf16(buffer.get(), reinterpret_cast<const uint16_t*>(m_Text.data()), int(m_Text.size()),
        unsigned(from), int(to - from));
    hb_buffer_set_direction(buffer.get(), HB_DIRECTION_LTR);
    const std::string language = ToUtf8(m_Settings.locale.c_str());
    hb_buffer_set_language(buffer.get(), hb_language_from_string(language.c_str(), -1));
    hb_buffer_guess_segment_properties(buffer.get());
    hb_shape(font.get(), buffer.get(), nullptr, 0);
    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer.get(), &count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer.get(), nullptr);
    for (unsigned i = 0; i < count; ++i)
        m_Glyphs.push_back({ UINT16(infos[i].codepoint), double(positions[i].x_advance), double(positions[i].x_offset),
            double(positions[i].y_offset), infos[i].cluster });
}

HRESULT TextLayout::Draw(void* clientDrawingContext, IDWriteTextRenderer* renderer, float originX, float originY)
{
    if (renderer == nullptr) return E_INVALIDARG;
    DrawState state { clientDrawingContext, renderer, originX, originY, {} };
    if (const HRESULT hr = QuerySnapping(renderer, clientDrawingContext, state.snapping); FAILED(hr)) return hr;
    if (m_Face == nullptr) return S_OK;
    const double block = double(m_Lines.size()) * m_LineHeight;
    double baseline = AlignedBlockTop(m_Settings.paragraphAlignment, m_MaxHeight * kUnits, block) + m_Ascent;
    for (const LaidLine& line : m_Lines) {
        if (const HRESULT hr = DrawLine(line, baseline, state); FAILED(hr)) return hr;
        baseline += m_LineHeight;
    }
    return S_OK;
}

HRESULT TextLayout::DrawLine(const LaidLine& line, double baseline, const DrawState& state) const
{
    bool visible = false;
    for (std::size_t i = line.first; i < line.end && !visible; ++i)
        visible = !IsBlank(m_Text[m_Glyphs[i].cluster]);
    if (!visible) return S_OK;
    const UINT32 textPosition = m_Glyphs[line.first].cluster;
    const UINT32 textEnd = line.end < m_Glyphs.size() ? m_Glyphs[line.end].cluster : UINT32(m_Text.size());
    std::vector<UINT16> indices;
    std::vector<float> advances;
    std::vector<DWRITE_GLYPH_OFFSET> offsets;
    std::vector<UINT16> clusterMap(textEnd - textPosition, 0);
    for (std::size_t i = line.first; i < line.end; ++i) {
        indices.push_back(m_Glyphs[i].index);
        advances.push_back(float(m_Glyphs[i].advance / kUnits));
        offsets.push_back({ float(m_Glyphs[i].xOffset / kUnits), float(m_Glyphs[i].yOffset / kUnits) });
    }
    // For every UTF-16 unit, the first glyph of the cluster that holds it.
    std::size_t glyph = line.first;
    std::size_t clusterFirst = line.first;
    for (UINT32 unit = textPosition; unit < textEnd; ++unit) {
        while (glyph + 1 < line.end && m_Glyphs[glyph + 1].cluster <= unit) {
            ++glyph;
            if (m_Glyphs[glyph].cluster != m_Glyphs[glyph - 1].cluster) clusterFirst = glyph;
        }
        clusterMap[unit - textPosition] = UINT16(clusterFirst - line.first);
    }
    const DWRITE_GLYPH_RUN run { m_Face->outlines.Get(), m_Settings.size, UINT32(indices.size()), indices.data(),
        advances.data(), offsets.data(), FALSE, 0 };
    const DWRITE_GLYPH_RUN_DESCRIPTION description { m_Settings.locale.c_str(), m_Text.data() + textPosition,
        textEnd - textPosition, clusterMap.data(), textPosition };
    const double left = AlignedLineLeft(m_Settings.textAlignment, false, m_MaxWidth * kUnits, line.width);
    const double x = state.originX + left / kUnits;
    const double y = SnapBaseline(state.originY + baseline / kUnits, state.snapping);
    return state.renderer->DrawGlyphRun(
        state.context, float(x), float(y), DWRITE_MEASURING_MODE_NATURAL, &run, &description, nullptr);
}

} // namespace KUV::Gfx::Text
