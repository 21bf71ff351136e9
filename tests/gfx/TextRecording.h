// Test doubles for the text layer: a geometry sink that records what is written into it
// and a text renderer that records every glyph run together with its outline.
#pragma once

#include <string>
#include <vector>

#include "Gfx/DWrite.h"

namespace texttest {

struct Bounds {
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
    bool Empty() const { return left > right; }
    double CentreX() const { return (left + right) / 2; }
    double CentreY() const { return (top + bottom) / 2; }
    void Add(double x, double y);
    void Add(const Bounds& other);
};

struct Segment {
    bool curve; // a cubic Bézier through point1, point2 to point3; else a line to point3
    D2D1_BEZIER_SEGMENT points;
};

struct Figure {
    D2D1_FIGURE_BEGIN begin;
    D2D1_FIGURE_END end = D2D1_FIGURE_END_OPEN;
    bool ended = false;
    D2D1_POINT_2F start;
    std::vector<Segment> segments;
};

class RecordingSink final : public RefCounted<ID2D1SimplifiedGeometrySink> {
public:
    void SetFillMode(D2D1_FILL_MODE fillMode) override { m_FillMode = fillMode; }
    void BeginFigure(D2D1_POINT_2F startPoint, D2D1_FIGURE_BEGIN figureBegin) override;
    void AddLines(const D2D1_POINT_2F* points, UINT32 count) override;
    void AddBeziers(const D2D1_BEZIER_SEGMENT* beziers, UINT32 count) override;
    void EndFigure(D2D1_FIGURE_END figureEnd) override;
    HRESULT Close() override;

    int fillModeSets() const { return m_FillModeSets; }
    D2D1_FILL_MODE fillMode() const { return m_FillMode; }
    const std::vector<Figure>& figures() const { return m_Figures; }
    bool closed() const { return m_Closed; }
    // The extent of the traced outline (curves sampled finely), shifted by (dx, dy).
    Bounds OutlineBounds(double dx = 0, double dy = 0) const;

private:
    D2D1_FILL_MODE m_FillMode = D2D1_FILL_MODE_ALTERNATE;
    int m_FillModeSets = -1;
    std::vector<Figure> m_Figures;
    bool m_Closed = false;
};

struct RecordedRun {
    float baselineX = 0;
    float baselineY = 0;
    float emSize = 0;
    UINT32 bidiLevel = 0;
    std::vector<UINT16> indices;
    std::vector<float> advances;
    std::vector<DWRITE_GLYPH_OFFSET> offsets;
    std::u16string text; // from the run description
    std::vector<UINT16> clusterMap;
    HRESULT outlineResult = E_FAIL;
    D2D1_FILL_MODE fillMode = D2D1_FILL_MODE_ALTERNATE;
    size_t figureCount = 0;
    bool allFiguresFilledAndClosed = false;
    Bounds outline; // in layout coordinates
};

class RecordingRenderer final : public RefCounted<IDWriteTextRenderer> {
public:
    HRESULT IsPixelSnappingDisabled(void*, BOOL* isDisabled) override;
    HRESULT GetCurrentTransform(void*, DWRITE_MATRIX* transform) override;
    HRESULT GetPixelsPerDip(void*, float* pixelsPerDip) override;
    HRESULT DrawGlyphRun(void* clientDrawingContext, float baselineOriginX, float baselineOriginY,
        DWRITE_MEASURING_MODE measuringMode, const DWRITE_GLYPH_RUN* glyphRun,
        const DWRITE_GLYPH_RUN_DESCRIPTION* glyphRunDescription, IUnknown* clientDrawingEffect) override;
    HRESULT DrawUnderline(void*, float, float, const DWRITE_UNDERLINE*, IUnknown*) override { return E_NOTIMPL; }
    HRESULT DrawStrikethrough(void*, float, float, const DWRITE_STRIKETHROUGH*, IUnknown*) override
    {
        return E_NOTIMPL;
    }
    HRESULT DrawInlineObject(void*, float, float, IDWriteInlineObject*, BOOL, BOOL, IUnknown*) override
    {
        return E_NOTIMPL;
    }

    // Settings answered through the pixel-snapping interface.
    bool snappingDisabled = true;
    DWRITE_MATRIX transform { 1, 0, 0, 1, 0, 0 };
    float pixelsPerDip = 1.f;
    // From this call on (counting from 0), DrawGlyphRun fails with failure.
    size_t failFrom = SIZE_MAX;
    HRESULT failure = E_FAIL;

    // Whether runs keep a reference to their font face (in faces).
    bool keepFaces = false;

    std::vector<RecordedRun> runs;
    std::vector<ComPtr<IDWriteFontFace>> faces;
    void* lastContext = nullptr;
    size_t calls() const { return m_Calls; }
    Bounds AllOutlines() const;

private:
    size_t m_Calls = 0;
};

} // namespace texttest
