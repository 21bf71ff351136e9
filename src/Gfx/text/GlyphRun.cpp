#include "Gfx/text/GlyphRun.h"

namespace KUV::Gfx::Text {

namespace {

// A glyph that will be drawn, in pango's visual (left to right) order.
struct VisualGlyph {
    UINT16 index;
    double penX; // left edge of its advance
    double width;
    double xOffset;
    double yOffset;
    int cluster; // byte offset of its cluster within the run's text
};

bool IsBlank(gunichar c)
{
    return g_unichar_isspace(c) || g_unichar_iszerowidth(c) || g_unichar_type(c) == G_UNICODE_CONTROL;
}

bool ShowsNothing(const PangoItem& item, const Utf8Text& text)
{
    const char* p = text.bytes.data() + item.offset;
    const char* end = p + item.length;
    for (; p < end; p = g_utf8_next_char(p))
        if (!IsBlank(g_utf8_get_char(p))) return false;
    return true;
}

// Empty glyphs take space but show nothing; a missing glyph shows as the font's .notdef.
std::vector<VisualGlyph> KeptGlyphs(const PangoGlyphString& glyphs, double runX)
{
    std::vector<VisualGlyph> kept;
    double pen = runX;
    for (int i = 0; i < glyphs.num_glyphs; ++i) {
        const PangoGlyphInfo& info = glyphs.glyphs[i];
        const PangoGlyphGeometry& geometry = info.geometry;
        if (info.glyph != PANGO_GLYPH_EMPTY && info.glyph != PANGO_GLYPH_INVALID_INPUT) {
            const UINT16 index = (info.glyph & PANGO_GLYPH_UNKNOWN_FLAG) ? 0 : UINT16(info.glyph);
            kept.push_back({ index, pen, double(geometry.width), double(geometry.x_offset), double(geometry.y_offset),
                glyphs.log_clusters[i] });
        }
        pen += geometry.width;
    }
    return kept;
}

// For every UTF-16 unit, the first logical glyph of the cluster that holds it.
void MapClusters(const PangoItem& item, const Utf8Text& text, const std::vector<int>& clusters, GlyphRunData& run)
{
    run.clusterMap.assign(run.textLength, 0);
    std::size_t glyph = 0;
    std::size_t clusterFirst = 0;
    for (int byte = 0; byte < item.length; ++byte) {
        while (glyph + 1 < clusters.size() && clusters[glyph + 1] <= byte) {
            ++glyph;
            if (clusters[glyph] != clusters[glyph - 1]) clusterFirst = glyph;
        }
        const UINT32 from = text.utf16Offset[item.offset + byte] - run.textPosition;
        const UINT32 to = text.utf16Offset[item.offset + byte + 1] - run.textPosition;
        for (UINT32 unit = from; unit < to; ++unit)
            run.clusterMap[unit] = UINT16(clusterFirst);
    }
}

void FillLogicalOrder(const std::vector<VisualGlyph>& kept, bool rtl, GlyphRunData& run, std::vector<int>& clusters)
{
    const std::size_t n = kept.size();
    const double rightEnd = kept[n - 1].penX + kept[n - 1].width;
    run.originX = rtl ? rightEnd : kept[0].penX;
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t j = rtl ? n - 1 - k : k;
        const double nextPen = j + 1 < n ? kept[j + 1].penX : rightEnd;
        const double xOffset = rtl ? -kept[j].xOffset : kept[j].xOffset;
        run.indices.push_back(kept[j].index);
        run.advances.push_back(float((nextPen - kept[j].penX) / PANGO_SCALE));
        run.offsets.push_back({ float(xOffset / PANGO_SCALE), float(-kept[j].yOffset / PANGO_SCALE) });
        clusters.push_back(kept[j].cluster);
    }
}

} // namespace

bool BuildGlyphRun(const PangoLayoutRun& run, const Utf8Text& text, double runX, GlyphRunData& glyphs)
{
    const PangoItem& item = *run.item;
    if (ShowsNothing(item, text)) return false;
    const std::vector<VisualGlyph> kept = KeptGlyphs(*run.glyphs, runX);
    if (kept.empty()) return false;
    glyphs.bidiLevel = item.analysis.level;
    glyphs.textPosition = text.utf16Offset[item.offset];
    glyphs.textLength = text.utf16Offset[item.offset + item.length] - glyphs.textPosition;
    std::vector<int> clusters;
    FillLogicalOrder(kept, (item.analysis.level & 1) != 0, glyphs, clusters);
    MapClusters(item, text, clusters, glyphs);
    return true;
}

} // namespace KUV::Gfx::Text
