// A pango run turned into the arrays of a DirectWrite glyph run.
#pragma once

#include <vector>

#include "Gfx/DWrite.h"
#include "Gfx/text/Utf16.h"

// After the drawing headers: glib defines TRUE and FALSE as macros.
#include <pango/pango.h>

namespace KUV::Gfx::Text {

// Glyphs in logical order with advances and offsets in DIPs, as DirectWrite hands them
// out: a right-to-left run starts at its right end and advances leftwards.
struct GlyphRunData {
    std::vector<UINT16> indices;
    std::vector<float> advances;
    std::vector<DWRITE_GLYPH_OFFSET> offsets;
    std::vector<UINT16> clusterMap; // per UTF-16 code unit of the run's text
    double originX = 0.0; // pango units
    UINT32 bidiLevel = 0;
    UINT32 textPosition = 0; // UTF-16 offset of the run's text
    UINT32 textLength = 0;
};

// Fills glyphs from run, whose left edge is at runX (pango units). Returns false when the
// run shows nothing: no glyphs, or only white space and invisible characters.
bool BuildGlyphRun(const PangoLayoutRun& run, const Utf8Text& text, double runX, GlyphRunData& glyphs);

} // namespace KUV::Gfx::Text
