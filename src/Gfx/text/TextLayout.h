// A laid-out text: pango lines in a box, handed to a text renderer run by run.
#pragma once

#include <memory>
#include <string>

#include "Gfx/DWrite.h"
#include "Gfx/text/TextFormat.h"
#include "Gfx/text/Utf16.h"
#include "Gfx/text/WriteFactory.h"

// After the drawing headers: glib defines TRUE and FALSE as macros.
#include <pango/pango.h>

namespace KUV::Gfx::Text {

struct GlyphRunData;

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
    ~TextLayout() override;

    struct DrawState;
    // Where the line of the iterator's run starts, in pango units, under the text alignment.
    double LineLeft(PangoLayoutIter* iter) const;
    // Where the block of lines starts vertically, in pango units, under the paragraph alignment.
    double BlockTop() const;
    HRESULT DrawRun(PangoLayoutIter* iter, const DrawState& state);
    HRESULT SendRun(const GlyphRunData& glyphs, PangoFont* font, double baselineY, const DrawState& state);

    ComPtr<WriteFactory> m_Factory;
    std::u16string m_Source;
    Utf8Text m_Text;
    TextFormatSettings m_Settings;
    double m_MaxWidth;
    double m_MaxHeight;
    PangoLayout* m_Layout;
};

} // namespace KUV::Gfx::Text
