#include "Gfx/text/TextFormat.h"

#include <cmath>
#include <new>

#include "Gfx/text/Utf16.h"

namespace KUV::Gfx::Text {

HRESULT SetTextAlignmentOf(TextFormatSettings& settings, DWRITE_TEXT_ALIGNMENT alignment)
{
    if (alignment > DWRITE_TEXT_ALIGNMENT_CENTER) return E_INVALIDARG;
    settings.textAlignment = alignment;
    return S_OK;
}

HRESULT SetParagraphAlignmentOf(TextFormatSettings& settings, DWRITE_PARAGRAPH_ALIGNMENT alignment)
{
    if (alignment > DWRITE_PARAGRAPH_ALIGNMENT_CENTER) return E_INVALIDARG;
    settings.paragraphAlignment = alignment;
    return S_OK;
}

namespace {

// Layouts keep sizes in 1/1024 units in an int; beyond this, positions would overflow.
constexpr float kMaxFontSize = 10000.f;

} // namespace

HRESULT MakeTextFormat(const WCHAR* fontFamilyName, IDWriteFontCollection* fontCollection,
    DWRITE_FONT_WEIGHT fontWeight, DWRITE_FONT_STYLE fontStyle, DWRITE_FONT_STRETCH fontStretch, float fontSize,
    const WCHAR* localeName, IDWriteTextFormat** textFormat)
{
    if (textFormat == nullptr) return E_INVALIDARG;
    *textFormat = nullptr;
    if (fontFamilyName == nullptr || localeName == nullptr || fontCollection != nullptr) return E_INVALIDARG;
    if (fontWeight != DWRITE_FONT_WEIGHT_NORMAL || fontStyle != DWRITE_FONT_STYLE_NORMAL
        || fontStretch != DWRITE_FONT_STRETCH_NORMAL)
        return E_INVALIDARG;
    if (!std::isfinite(fontSize) || fontSize <= 0.f || fontSize > kMaxFontSize) return E_INVALIDARG;
    try {
        TextFormatSettings settings;
        settings.family = ToUtf8(fontFamilyName);
        settings.size = fontSize;
        settings.locale = localeName;
        *textFormat = new TextFormat(std::move(settings));
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

const TextFormatSettings* LayoutSettingsOf(
    const WCHAR* string, UINT32 stringLength, IDWriteTextFormat* textFormat, float maxWidth, float maxHeight)
{
    const auto* format = dynamic_cast<TextFormat*>(textFormat);
    if (format == nullptr || (string == nullptr && stringLength > 0)) return nullptr;
    if (!std::isfinite(maxWidth) || !std::isfinite(maxHeight) || maxWidth < 0.f || maxHeight < 0.f) return nullptr;
    return &format->Settings();
}

} // namespace KUV::Gfx::Text
