// One font file face, read with FreeType, giving glyph outlines in DIPs.
#pragma once

#include <memory>
#include <string>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "Gfx/DWrite.h"

namespace KUV::Gfx::Text {

// A FreeType library instance shared by the faces opened from it.
class FreeTypeLibrary {
public:
    // Null when FreeType cannot start.
    static std::shared_ptr<FreeTypeLibrary> Create();
    ~FreeTypeLibrary();
    FreeTypeLibrary(const FreeTypeLibrary&) = delete;
    FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;
    FT_Library Get() const { return m_Library; }

private:
    explicit FreeTypeLibrary(FT_Library library)
        : m_Library(library)
    {
    }
    FT_Library m_Library;
};

class FontFace final : public RefCounted<IDWriteFontFace> {
public:
    // Opens face index of the font file at path.
    static HRESULT Open(std::shared_ptr<FreeTypeLibrary> library, const std::string& path, int index, FontFace** face);

    HRESULT GetGlyphRunOutline(float emSize, const UINT16* glyphIndices, const float* glyphAdvances,
        const DWRITE_GLYPH_OFFSET* glyphOffsets, UINT32 glyphCount, BOOL isSideways, BOOL isRightToLeft,
        ID2D1SimplifiedGeometrySink* geometrySink) override;

private:
    FontFace(std::shared_ptr<FreeTypeLibrary> library, FT_Face face)
        : m_Library(std::move(library))
        , m_Face(face)
    {
    }
    ~FontFace() override;

    // Loads the design outline of glyph into the face's glyph slot.
    HRESULT LoadGlyph(UINT16 glyph);

    std::shared_ptr<FreeTypeLibrary> m_Library; // outlives m_Face
    FT_Face m_Face;
};

} // namespace KUV::Gfx::Text
