#include "Gfx/cairo/PathGeometry.h"

namespace KUV::Gfx::Cairo {

namespace {

class GeometrySink : public RefCounted<ID2D1GeometrySink> {
public:
    explicit GeometrySink(PathGeometry* target)
        : m_Target(Retain(target))
    {
    }

    void SetFillMode(D2D1_FILL_MODE mode) override
    {
        if (!Writable()) return;
        if (mode != D2D1_FILL_MODE_ALTERNATE && mode != D2D1_FILL_MODE_WINDING) return Fail(E_INVALIDARG);
        m_Data.SetFillMode(mode);
    }
    void BeginFigure(D2D1_POINT_2F start, D2D1_FIGURE_BEGIN begin) override
    {
        if (!Writable()) return;
        if (m_InFigure) return Fail(D2DERR_WRONG_STATE);
        m_Data.BeginFigure({ start.x, start.y }, begin != D2D1_FIGURE_BEGIN_HOLLOW);
        m_InFigure = true;
    }
    void AddLines(const D2D1_POINT_2F* points, UINT32 count) override
    {
        if (!Segmentable(points, count)) return;
        for (UINT32 i = 0; i < count; ++i)
            m_Data.LineTo({ points[i].x, points[i].y });
    }
    void AddBeziers(const D2D1_BEZIER_SEGMENT* beziers, UINT32 count) override
    {
        if (!Segmentable(beziers, count)) return;
        for (UINT32 i = 0; i < count; ++i)
            AddBezier(beziers[i]);
    }
    void AddLine(D2D1_POINT_2F point) override { AddLines(&point, 1); }
    void AddBezier(const D2D1_BEZIER_SEGMENT& b) override
    {
        if (!Segmentable(&b, 1)) return;
        m_Data.CurveTo({ b.point1.x, b.point1.y }, { b.point2.x, b.point2.y }, { b.point3.x, b.point3.y });
    }
    void EndFigure(D2D1_FIGURE_END end) override
    {
        if (!Writable()) return;
        if (!m_InFigure) return Fail(D2DERR_WRONG_STATE);
        m_Data.EndFigure(end == D2D1_FIGURE_END_CLOSED);
        m_InFigure = false;
    }
    HRESULT Close() override
    {
        if (m_Closed) return D2DERR_WRONG_STATE;
        if (m_InFigure) Fail(D2DERR_WRONG_STATE);
        m_Closed = true;
        if (FAILED(m_Error)) return m_Error;
        m_Data.Finish();
        m_Target->Adopt(std::move(m_Data));
        return S_OK;
    }

private:
    bool Writable() const { return !m_Closed && SUCCEEDED(m_Error); }
    void Fail(HRESULT hr)
    {
        if (SUCCEEDED(m_Error)) m_Error = hr;
    }
    template <class T> bool Segmentable(const T* items, UINT32 count)
    {
        if (!Writable()) return false;
        if (!m_InFigure) Fail(D2DERR_WRONG_STATE);
        if (items == nullptr && count > 0) Fail(E_POINTER);
        return Writable();
    }

    ComPtr<PathGeometry> m_Target;
    PathData m_Data;
    HRESULT m_Error = S_OK;
    bool m_InFigure = false;
    bool m_Closed = false;
};

} // namespace

HRESULT PathGeometry::Open(ID2D1GeometrySink** sink)
{
    if (sink == nullptr) return E_POINTER;
    *sink = nullptr;
    if (m_Opened) return D2DERR_WRONG_STATE;
    m_Opened = true;
    *sink = new GeometrySink(this);
    return S_OK;
}

} // namespace KUV::Gfx::Cairo
