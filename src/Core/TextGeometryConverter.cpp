#include "Core/TextGeometryConverter.h"

#include "Core/TaviskComponent.h"

namespace KUV {
namespace {

// Forwards outlines to another sink, moved by the run's baseline origin.
class OffsetSink : public RefCounted<ID2D1SimplifiedGeometrySink> {
public:
    OffsetSink(ID2D1GeometrySink* target, float dx, float dy)
        : m_Target(target)
        , m_Dx(dx)
        , m_Dy(dy)
    {
    }

    void SetFillMode(D2D1_FILL_MODE mode) override { m_Target->SetFillMode(mode); }
    void BeginFigure(D2D1_POINT_2F p, D2D1_FIGURE_BEGIN begin) override { m_Target->BeginFigure(Move(p), begin); }
    void AddLines(const D2D1_POINT_2F* points, UINT32 count) override
    {
        for (UINT32 i = 0; i < count; ++i)
            m_Target->AddLine(Move(points[i]));
    }
    void AddBeziers(const D2D1_BEZIER_SEGMENT* beziers, UINT32 count) override
    {
        for (UINT32 i = 0; i < count; ++i)
            m_Target->AddBezier({ Move(beziers[i].point1), Move(beziers[i].point2), Move(beziers[i].point3) });
    }
    void EndFigure(D2D1_FIGURE_END end) override { m_Target->EndFigure(end); }
    HRESULT Close() override { return S_OK; } // the converter closes the shared sink once, at the end

private:
    D2D1_POINT_2F Move(D2D1_POINT_2F p) const { return { p.x + m_Dx, p.y + m_Dy }; }

    ID2D1GeometrySink* m_Target;
    float m_Dx, m_Dy;
};

} // namespace

TextGeometryConverter::TextGeometryConverter(ID2D1Factory* factory)
{
    const auto path = CreateOwned([&](ID2D1PathGeometry** out) { return factory->CreatePathGeometry(out); }, &m_Status);
    if (!path) return;
    m_Result = path;
    m_Sink = CreateOwned([&](ID2D1GeometrySink** out) { return path->Open(out); }, &m_Status);
}

HRESULT TextGeometryConverter::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr) return E_POINTER;
    if (riid == IID_IDWriteTextRenderer || riid == IID_IDWritePixelSnapping || riid == IID_IUnknown) {
        *object = this;
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_FAIL;
}

ULONG TextGeometryConverter::AddRef()
{
    return ++m_RefCount;
}

ULONG TextGeometryConverter::Release()
{
    const ULONG count = --m_RefCount;
    if (count == 0) delete this;
    return count;
}

HRESULT TextGeometryConverter::IsPixelSnappingDisabled(void*, BOOL* isDisabled)
{
    *isDisabled = FALSE;
    return S_OK;
}

HRESULT TextGeometryConverter::GetCurrentTransform(void*, DWRITE_MATRIX* transform)
{
    *transform = { 1.f, 0.f, 0.f, 1.f, 0.f, 0.f };
    return S_OK;
}

HRESULT TextGeometryConverter::GetPixelsPerDip(void*, float* pixelsPerDip)
{
    *pixelsPerDip = 1.f;
    return S_OK;
}

HRESULT TextGeometryConverter::DrawGlyphRun(void*, float baselineOriginX, float baselineOriginY, DWRITE_MEASURING_MODE,
    const DWRITE_GLYPH_RUN* run, const DWRITE_GLYPH_RUN_DESCRIPTION*, IUnknown*)
{
    if (m_Status != S_OK) return m_Status;
    ComPtr<OffsetSink> sink(new OffsetSink(m_Sink.get(), baselineOriginX, baselineOriginY));
    return run->fontFace->GetGlyphRunOutline(run->fontEmSize, run->glyphIndices, run->glyphAdvances, run->glyphOffsets,
        run->glyphCount, run->isSideways, run->bidiLevel % 2 == 1, sink.Get());
}

HRESULT TextGeometryConverter::Finish(std::shared_ptr<ID2D1Geometry>& result)
{
    if (m_Status != S_OK) return m_Status;
    const HRESULT closed = m_Sink->Close();
    if (closed == S_OK) result = m_Result;
    return closed;
}

} // namespace KUV
