// Test doubles for the text layer: a geometry sink that records what is written into it
// and a text renderer that records every glyph run together with its outline.
#pragma once

#include <algorithm>
#include <vector>

#include "Gfx/DWrite.h"

namespace texttest {

struct Bounds {
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
    bool Empty() const { return left > right; }
    void Add(double x, double y)
    {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
    }
};

struct Segment {
    bool curve; // a cubic Bézier through point1, point2 to point3; else a line to point3
    D2D1_BEZIER_SEGMENT points;
};

struct Figure {
    D2D1_FIGURE_BEGIN begin;
    D2D1_POINT_2F start;
    std::vector<Segment> segments = {};
    D2D1_FIGURE_END end = D2D1_FIGURE_END_OPEN; // until EndFigure says otherwise
};

class RecordingSink final : public RefCounted<ID2D1SimplifiedGeometrySink> {
public:
    void SetFillMode(D2D1_FILL_MODE mode) override { fillMode = mode; }
    void BeginFigure(D2D1_POINT_2F start, D2D1_FIGURE_BEGIN begin) override { figures.push_back({ begin, start }); }
    void AddLines(const D2D1_POINT_2F* points, UINT32 count) override
    {
        for (UINT32 i = 0; i < count; ++i)
            figures.back().segments.push_back({ false, { points[i], points[i], points[i] } });
    }
    void AddBeziers(const D2D1_BEZIER_SEGMENT* beziers, UINT32 count) override
    {
        for (UINT32 i = 0; i < count; ++i)
            figures.back().segments.push_back({ true, beziers[i] });
    }
    void EndFigure(D2D1_FIGURE_END end) override { figures.back().end = end; }
    HRESULT Close() override { return closed = true, S_OK; }

    bool AllFiguresFilledAndClosed() const
    {
        return std::all_of(figures.begin(), figures.end(),
            [](const Figure& f) { return f.begin == D2D1_FIGURE_BEGIN_FILLED && f.end == D2D1_FIGURE_END_CLOSED; });
    }

    // The extent of the segment end points, shifted by (dx, dy). Glyph contours keep on-curve points at their
    // extremes, so this is the ink's extent.
    Bounds OutlineBounds(double dx = 0, double dy = 0) const
    {
        Bounds bounds;
        for (const Figure& figure : figures) {
            bounds.Add(figure.start.x + dx, figure.start.y + dy);
            for (const Segment& s : figure.segments)
                bounds.Add(s.points.point3.x + dx, s.points.point3.y + dy);
        }
        return bounds;
    }

    D2D1_FILL_MODE fillMode = D2D1_FILL_MODE_ALTERNATE;
    std::vector<Figure> figures;
    bool closed = false;
};

struct RecordedRun {
    float baselineX = 0;
    float baselineY = 0;
    std::vector<UINT16> indices;
    std::vector<float> advances;
    ComPtr<IDWriteFontFace> face;
    HRESULT outlineResult = E_FAIL;
    ComPtr<RecordingSink> sink; // the run's outline at its baseline origin
    Bounds outline; // in layout coordinates
};

// Answers with no transform, one pixel per DIP and no pixel snapping.
class RecordingRenderer final : public RefCounted<IDWriteTextRenderer> {
public:
    HRESULT IsPixelSnappingDisabled(void*, BOOL* isDisabled) override { return *isDisabled = TRUE, S_OK; }
    HRESULT GetCurrentTransform(void*, DWRITE_MATRIX* transform) override
    {
        return *transform = { 1, 0, 0, 1, 0, 0 }, S_OK;
    }
    HRESULT GetPixelsPerDip(void*, float* pixelsPerDip) override { return *pixelsPerDip = 1.f, S_OK; }
    HRESULT DrawGlyphRun(void*, float baselineOriginX, float baselineOriginY, DWRITE_MEASURING_MODE,
        const DWRITE_GLYPH_RUN* glyphRun, const DWRITE_GLYPH_RUN_DESCRIPTION*, IUnknown*) override
    {
        if (calls++ >= failFrom) return kFailure;
        const UINT32 n = glyphRun->glyphCount;
        RecordedRun& run = runs.emplace_back();
        run.baselineX = baselineOriginX;
        run.baselineY = baselineOriginY;
        run.indices.assign(glyphRun->glyphIndices, glyphRun->glyphIndices + n);
        run.advances.assign(glyphRun->glyphAdvances, glyphRun->glyphAdvances + n);
        glyphRun->fontFace->AddRef();
        run.face = ComPtr<IDWriteFontFace>(glyphRun->fontFace);
        run.sink = ComPtr<RecordingSink>(new RecordingSink);
        run.outlineResult = glyphRun->fontFace->GetGlyphRunOutline(glyphRun->fontEmSize, glyphRun->glyphIndices,
            glyphRun->glyphAdvances, glyphRun->glyphOffsets, n, glyphRun->isSideways, glyphRun->bidiLevel % 2,
            run.sink.Get());
        run.outline = run.sink->OutlineBounds(baselineOriginX, baselineOriginY);
        return S_OK;
    }
    HRESULT DrawUnderline(void*, float, float, const DWRITE_UNDERLINE*, IUnknown*) override { return E_NOTIMPL; }
    HRESULT DrawStrikethrough(void*, float, float, const DWRITE_STRIKETHROUGH*, IUnknown*) override
    {
        return E_NOTIMPL;
    }
    HRESULT DrawInlineObject(void*, float, float, IDWriteInlineObject*, BOOL, BOOL, IUnknown*) override
    {
        return E_NOTIMPL;
    }

    static constexpr HRESULT kFailure = D2DERR_RECREATE_TARGET;
    // From this call on (counting from 0), DrawGlyphRun fails with kFailure.
    size_t failFrom = SIZE_MAX;
    size_t calls = 0;
    std::vector<RecordedRun> runs;
};

} // namespace texttest
