// A text format: the font and paragraph settings that layouts are made from.
#pragma once

#include <string>

#include "Gfx/DWrite.h"

namespace KUV::Gfx::Text {

struct TextFormatSettings {
    std::string family; // UTF-8, as fontconfig takes it
    float size = 0.f; // DIPs
    std::u16string locale;
    DWRITE_TEXT_ALIGNMENT textAlignment = DWRITE_TEXT_ALIGNMENT_LEADING;
    DWRITE_PARAGRAPH_ALIGNMENT paragraphAlignment = DWRITE_PARAGRAPH_ALIGNMENT_NEAR;
};

// Accepts only the alignments the enumeration defines.
HRESULT SetTextAlignmentOf(TextFormatSettings& settings, DWRITE_TEXT_ALIGNMENT alignment);
HRESULT SetParagraphAlignmentOf(TextFormatSettings& settings, DWRITE_PARAGRAPH_ALIGNMENT alignment);

class TextFormat final : public RefCounted<IDWriteTextFormat> {
public:
    explicit TextFormat(TextFormatSettings settings)
        : m_Settings(std::move(settings))
    {
    }

    HRESULT SetTextAlignment(DWRITE_TEXT_ALIGNMENT textAlignment) override
    {
        return SetTextAlignmentOf(m_Settings, textAlignment);
    }
    HRESULT SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT paragraphAlignment) override
    {
        return SetParagraphAlignmentOf(m_Settings, paragraphAlignment);
    }

    const TextFormatSettings& Settings() const { return m_Settings; }

private:
    TextFormatSettings m_Settings;
};

} // namespace KUV::Gfx::Text
