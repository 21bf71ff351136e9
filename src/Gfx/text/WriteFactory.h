// The text factory: pango layout over fontconfig fonts, glyph outlines through FreeType.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "Gfx/DWrite.h"
#include "Gfx/text/FontFace.h"

// After the drawing headers: glib defines TRUE and FALSE as macros.
#include <pango/pango.h>

namespace KUV::Gfx::Text {

class WriteFactory final : public RefCounted<IDWriteFactory> {
public:
    static HRESULT Create(WriteFactory** factory);

    HRESULT CreateTextFormat(const WCHAR* fontFamilyName, IDWriteFontCollection* fontCollection,
        DWRITE_FONT_WEIGHT fontWeight, DWRITE_FONT_STYLE fontStyle, DWRITE_FONT_STRETCH fontStretch, float fontSize,
        const WCHAR* localeName, IDWriteTextFormat** textFormat) override;
    HRESULT CreateTextLayout(const WCHAR* string, UINT32 stringLength, IDWriteTextFormat* textFormat, float maxWidth,
        float maxHeight, IDWriteTextLayout** textLayout) override;

    // The context every layout of this factory is made in: unhinted, unrounded, no display needed.
    PangoContext* Context() const { return m_Context; }

    // The face and em size of a font that pango chose; the face stays owned by the factory.
    HRESULT FaceOf(PangoFont* font, IDWriteFontFace** face, float* emSize);

private:
    WriteFactory(PangoFontMap* fontMap, PangoContext* context, std::shared_ptr<FreeTypeLibrary> freeType)
        : m_FontMap(fontMap)
        , m_Context(context)
        , m_FreeType(std::move(freeType))
    {
    }
    ~WriteFactory() override;

    PangoFontMap* m_FontMap;
    PangoContext* m_Context;
    std::shared_ptr<FreeTypeLibrary> m_FreeType;
    std::map<std::pair<std::string, int>, ComPtr<FontFace>> m_Faces; // by font file and face index
};

} // namespace KUV::Gfx::Text
