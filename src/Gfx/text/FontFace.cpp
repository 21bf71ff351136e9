#include "Gfx/text/FontFace.h"

#include <cmath>
#include <new>

#include "Gfx/text/GlyphOutline.h"

namespace KUV::Gfx::Text {

std::shared_ptr<FreeTypeLibrary> FreeTypeLibrary::Create()
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return nullptr;
    return std::shared_ptr<FreeTypeLibrary>(new FreeTypeLibrary(library));
}

FreeTypeLibrary::~FreeTypeLibrary()
{
    FT_Done_FreeType(m_Library);
}

HRESULT FontFace::Open(std::shared_ptr<FreeTypeLibrary> library, const std::string& path, int index, FontFace** face)
{
    *face = nullptr;
    FT_Face ftFace = nullptr;
    if (FT_New_Face(library->Get(), path.c_str(), index, &ftFace) != 0) return E_FAIL;
    // Outlines are read in font units and scaled here, so only scalable faces can serve.
    if (!FT_IS_SCALABLE(ftFace) || ftFace->units_per_EM == 0) {
        FT_Done_Face(ftFace);
        return E_FAIL;
    }
    *face = new (std::nothrow) FontFace(std::move(library), ftFace);
    if (*face == nullptr) {
        FT_Done_Face(ftFace);
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

FontFace::~FontFace()
{
    FT_Done_Face(m_Face);
}

HRESULT FontFace::LoadGlyph(UINT16 glyph)
{
    // Unscaled, unhinted design outlines: the scaling done while writing keeps full precision.
    if (FT_Load_Glyph(m_Face, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
        return E_INVALIDARG;
    return m_Face->glyph->format == FT_GLYPH_FORMAT_OUTLINE ? S_OK : E_FAIL;
}

HRESULT FontFace::GetGlyphRunOutline(float emSize, const UINT16* glyphIndices, const float* glyphAdvances,
    const DWRITE_GLYPH_OFFSET* glyphOffsets, UINT32 glyphCount, BOOL isSideways, BOOL isRightToLeft,
    ID2D1SimplifiedGeometrySink* geometrySink)
{
    if (geometrySink == nullptr || (glyphCount > 0 && glyphIndices == nullptr) || !std::isfinite(emSize))
        return E_INVALIDARG;
    if (isSideways) return E_NOTIMPL;
    geometrySink->SetFillMode(D2D1_FILL_MODE_WINDING);
    const double scale = double(emSize) / m_Face->units_per_EM;
    const double direction = isRightToLeft ? -1.0 : 1.0;
    double pen = 0.0;
    for (UINT32 i = 0; i < glyphCount; ++i) {
        if (const HRESULT hr = LoadGlyph(glyphIndices[i]); FAILED(hr)) return hr;
        const double advance = glyphAdvances ? glyphAdvances[i] : double(m_Face->glyph->advance.x) * scale;
        const DWRITE_GLYPH_OFFSET offset = glyphOffsets ? glyphOffsets[i] : DWRITE_GLYPH_OFFSET { 0.f, 0.f };
        // A right-to-left glyph occupies the advance to the left of the pen.
        if (isRightToLeft) pen -= advance;
        const OutlinePlacement placement { pen + direction * offset.advanceOffset, -double(offset.ascenderOffset),
            scale };
        if (!WriteOutline(m_Face->glyph->outline, placement, geometrySink)) return E_FAIL;
        if (!isRightToLeft) pen += advance;
    }
    return S_OK;
}

} // namespace KUV::Gfx::Text
