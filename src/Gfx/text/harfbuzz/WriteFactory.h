// The text factory where pango is not available (the browser build): fontconfig picks the font
// file as pango would, HarfBuzz shapes, FreeType gives the outlines.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include <hb.h>

#include "Gfx/DWrite.h"
#include "Gfx/text/FontFace.h"

namespace KUV::Gfx::Text {

// A font file's face, opened for shaping and for outlines.
struct ShapingFace {
    ComPtr<FontFace> outlines;
    hb_face_t* shaping = nullptr;
};

class WriteFactory final : public RefCounted<IDWriteFactory> {
public:
    static HRESULT Create(WriteFactory** factory);

    HRESULT CreateTextFormat(const WCHAR* fontFamilyName, IDWriteFontCollection* fontCollection,
        DWRITE_FONT_WEIGHT fontWeight, DWRITE_FONT_STYLE fontStyle, DWRITE_FONT_STRETCH fontStretch, float fontSize,
        const WCHAR* localeName, IDWriteTextFormat** textFormat) override;
    HRESULT CreateTextLayout(const WCHAR* string, UINT32 stringLength, IDWriteTextFormat* textFormat, float maxWidth,
        float maxHeight, IDWriteTextLayout** textLayout) override;

    // The regular face fontconfig matches for family, size and language; null when none opens.
    // The face stays owned by the factory.
    const ShapingFace* FaceFor(const std::string& family, float size, const std::string& language);

private:
    explicit WriteFactory(std::shared_ptr<FreeTypeLibrary> freeType)
        : m_FreeType(std::move(freeType))
    {
    }
    ~WriteFactory() override;

    const ShapingFace* Open(const std::pair<std::string, int>& file);

    std::shared_ptr<FreeTypeLibrary> m_FreeType;
    std::map<std::string, std::pair<std::string, int>> m_Matches; // file and index by family, size, language
    std::map<std::pair<std::string, int>, ShapingFace> m_Faces;
};

} // namespace KUV::Gfx::Text
