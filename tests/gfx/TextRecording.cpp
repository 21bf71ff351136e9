#include "TextRecording.h"

#include <algorithm>
#include <utility>

namespace texttest {

namespace {

std::pair<double, double> PointOn(D2D1_POINT_2F from, const Segment& segment, double t)
{
    const D2D1_BEZIER_SEGMENT& b = segment.points;
    if (!segment.curve) return { b.point3.x, b.point3.y };
    const double u = 1 - t;
    const double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
    return { w0 * from.x + w1 * b.point1.x + w2 * b.point2.x + w3 * b.point3.x,
        w0 * from.y + w1 * b.point1.y + w2 * b.point2.y + w3 * b.point3.y };
}

} // namespace

void Bounds::Add(double x, double y)
{
    left = std::min(left, x);
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = std::max(bottom, y);
}

void Bounds::Add(const Bounds& other)
{
    if (other.Empty()) return;
    Add(other.left, other.top);
    Add(other.right, other.bottom);
}

void RecordingSink::BeginFigure(D2D1_POINT_2F startPoint, D2D1_FIGURE_BEGIN figureBegin)
{
    Figure figure;
    figure.begin = figureBegin;
    figure.start = startPoint;
    m_Figures.push_back(figure);
}

void RecordingSink::AddLines(const D2D1_POINT_2F* points, UINT32 count)
{
    for (UINT32 i = 0; i < count; ++i)
        m_Figures.back().segments.push_back({ false, { points[i], points[i], points[i] } });
}

void RecordingSink::AddBeziers(const D2D1_BEZIER_SEGMENT* beziers, UINT32 count)
{
    for (UINT32 i = 0; i < count; ++i)
        m_Figures.back().segments.push_back({ true, beziers[i] });
}

void RecordingSink::EndFigure(D2D1_FIGURE_END figureEnd)
{
    m_Figures.back().end = figureEnd;
    m_Figures.back().ended = true;
}

HRESULT RecordingSink::Close()
{
    m_Closed = true;
    return S_OK;
}

Bounds RecordingSink::OutlineBounds(double dx, double dy) const
{
    Bounds bounds;
    for (const Figure& figure : m_Figures) {
        D2D1_POINT_2F from = figure.start;
        bounds.Add(from.x + dx, from.y + dy);
        for (const Segment& segment : figure.segments) {
            const int steps = segment.curve ? 32 : 1;
            for (int i = 1; i <= steps; ++i) {
                const auto [x, y] = PointOn(from, segment, double(i) / steps);
                bounds.Add(x + dx, y + dy);
            }
            from = segment.points.point3;
        }
    }
    return bounds;
}

HRESULT RecordingRenderer::IsPixelSnappingDisabled(void*, BOOL* isDisabled)
{
    *isDisabled = snappingDisabled ? TRUE : FALSE;
    return S_OK;
}

HRESULT RecordingRenderer::GetCurrentTransform(void*, DWRITE_MATRIX* matrix)
{
    *matrix = transform;
    return S_OK;
}

HRESULT RecordingRenderer::GetPixelsPerDip(void*, float* value)
{
    *value = pixelsPerDip;
    return S_OK;
}

HRESULT RecordingRenderer::DrawGlyphRun(void* clientDrawingContext, float baselineOriginX, float baselineOriginY,
    DWRITE_MEASURING_MODE, const DWRITE_GLYPH_RUN* glyphRun, const DWRITE_GLYPH_RUN_DESCRIPTION* description, IUnknown*)
{
    if (m_Calls++ >= failFrom) return failure;
    lastContext = clientDrawingContext;
    if (keepFaces) {
        glyphRun->fontFace->AddRef();
        faces.emplace_back(glyphRun->fontFace);
    }
    RecordedRun run;
    run.baselineX = baselineOriginX;
    run.baselineY = baselineOriginY;
    run.emSize = glyphRun->fontEmSize;
    run.bidiLevel = glyphRun->bidiLevel;
    const UINT32 n = glyphRun->glyphCount;
    run.indices.assign(glyphRun->glyphIndices, glyphRun->glyphIndices + n);
    run.advances.assign(glyphRun->glyphAdvances, glyphRun->glyphAdvances + n);
    run.offsets.assign(glyphRun->glyphOffsets, glyphRun->glyphOffsets + n);
    run.text.assign(description->string, description->stringLength);
    run.clusterMap.assign(description->clusterMap, description->clusterMap + description->stringLength);
    ComPtr<RecordingSink> sink(new RecordingSink);
    run.outlineResult = glyphRun->fontFace->GetGlyphRunOutline(glyphRun->fontEmSize, glyphRun->glyphIndices,
        glyphRun->glyphAdvances, glyphRun->glyphOffsets, n, glyphRun->isSideways, glyphRun->bidiLevel % 2, sink.Get());
    sink->Close();
    run.fillMode = sink->fillMode();
    run.figureCount = sink->figures().size();
    run.allFiguresFilledAndClosed = std::all_of(sink->figures().begin(), sink->figures().end(), [](const Figure& f) {
        return f.begin == D2D1_FIGURE_BEGIN_FILLED && f.ended && f.end == D2D1_FIGURE_END_CLOSED;
    });
    run.outline = sink->OutlineBounds(baselineOriginX, baselineOriginY);
    runs.push_back(std::move(run));
    return S_OK;
}

Bounds RecordingRenderer::AllOutlines() const
{
    Bounds all;
    for (const RecordedRun& run : runs)
        all.Add(run.outline);
    return all;
}

} // namespace texttest
