// A laid-out text without pango: HarfBuzz glyphs broken into lines as pango breaks them (at
// word boundaries, inside a word only when it alone is too wide), handed to a text renderer.
#pragma once

#include <string>
#include <vector>

#include "Gfx/DWrite.h"
#include "Gfx/text/TextFormat.h"
#include "Gfx/text/harfbuzz/WriteFactory.h"

namespace KUV::Gfx::Text {

// One glyph in logical order; lengths in 1/1024 DIP as pango keeps them.
struct ShapedGlyph {
    UINT16 index = 0;
    double advance = 0.0;
    double xOffset = 0.0;
    double yOffset = 0.0; // upwards
    UINT32 cluster = 0; // UTF-16 offset of the first unit of its cluster
};

// The glyphs [first, end) of a layout that make one line, and its width.
struct LaidLine {
    std::size_t first = 0;
    std::size_t end = 0;
    double width = 0.0;
};

// Breaks one paragraph's glyphs into lines no wider than maxWidth where it can: after a run of
// spaces, else (a word alone too wide) between clusters. The last space before a break takes no
// width, as in pango.
std::vector<LaidLine> BreakLines(
    std::vector<ShapedGlyph>& glyphs, std::size_t first, std::size_t end, const std::u16string& text, double maxWidth);

class TextLayout final : public RefCounted<IDWriteTextLayout> {
public:
    TextLayout(ComPtr<WriteFactory> factory, std::u16string text, const TextFormatSettings& settings, float maxWidth,
        float maxHeight);

    HRESULT SetTextAlignment(DWRITE_TEXT_ALIGNMENT textAlignment) override
    {
        return SetTextAlignmentOf(m_Settings, textAlignment);
    }
    HRESULT SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT paragraphAlignment) override
    {
        return SetParagraphAlignmentOf(m_Settings, paragraphAlignment);
    }
    HRESULT Draw(void* clientDrawingContext, IDWriteTextRenderer* renderer, float originX, float originY) override;

private:
    struct DrawState;
    void Shape(std::size_t from, std::size_t to);
    HRESULT DrawLine(const LaidLine& line, double baseline, const DrawState& state) const;

    ComPtr<WriteFactory> m_Factory;
    std::u16string m_Text;
    TextFormatSettings m_Settings;
    double m_MaxWidth;
    double m_MaxHeight;
    const ShapingFace* m_Face = nullptr;
    double m_Ascent = 0.0; // 1/1024 DIP
    double m_LineHeight = 0.0;
    std::vector<ShapedGlyph> m_Glyphs;
    std::vector<LaidLine> m_Lines;
};

} // namespace KUV::Gfx::Text
