#include "Gfx/text/TextFormat.h"

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

} // namespace KUV::Gfx::Text
