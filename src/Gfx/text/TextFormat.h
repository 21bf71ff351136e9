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

// A text format from IDWriteFactory::CreateTextFormat's arguments: regular faces only, a finite
// positive size and no font collection of the caller's.
HRESULT MakeTextFormat(const WCHAR* fontFamilyName, IDWriteFontCollection* fontCollection,
    DWRITE_FONT_WEIGHT fontWeight, DWRITE_FONT_STYLE fontStyle, DWRITE_FONT_STRETCH fontStretch, float fontSize,
    const WCHAR* localeName, IDWriteTextFormat** textFormat);

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

// The settings IDWriteFactory::CreateTextLayout lays its text out with, or null when its
// arguments are not a format of ours, text and a box of finite, non-negative size.
const TextFormatSettings* LayoutSettingsOf(
    const WCHAR* string, UINT32 stringLength, IDWriteTextFormat* textFormat, float maxWidth, float maxHeight);

} // namespace KUV::Gfx::Text
