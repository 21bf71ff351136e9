// Rectangle, ellipse, path and transformed geometries: all of them are figures
// held as PathData, measured and combined the same way.
#pragma once

#include <utility>

#include "Gfx/cairo/PathData.h"
#include "Gfx/cairo/Resource.h"

namespace KUV::Gfx::Cairo {

// Gives drawing and measuring code the figures behind any geometry of this layer.
class GeometrySource {
public:
    // The figures in the geometry's own coordinates.
    virtual const PathData& Data() const = 0;

protected:
    ~GeometrySource() = default;
};

// The figures of geometry, or null when it is not one of this layer's geometries.
const PathData* PathDataOf(ID2D1Geometry* geometry);

HRESULT GeometryBounds(const PathData& data, const D2D1_MATRIX_3X2_F* world, D2D1_RECT_F* bounds);
HRESULT GeometryWidenedBounds(
    const PathData& data, float strokeWidth, const D2D1_MATRIX_3X2_F* world, float tolerance, D2D1_RECT_F* bounds);
HRESULT GeometryContainsPoint(
    const PathData& data, D2D1_POINT_2F point, const D2D1_MATRIX_3X2_F* world, float tolerance, BOOL* contains);
HRESULT GeometryCombine(const PathData& data, ID2D1Geometry* input, D2D1_COMBINE_MODE mode,
    const D2D1_MATRIX_3X2_F* inputTransform, float tolerance, ID2D1SimplifiedGeometrySink* sink);

template <class Interface> class Geometry : public Resource<Interface>, public GeometrySource {
public:
    Geometry(ID2D1Factory* factory, PathData data)
        : Resource<Interface>(factory)
        , m_Data(std::move(data))
    {
    }

    HRESULT GetBounds(const D2D1_MATRIX_3X2_F* world, D2D1_RECT_F* bounds) const override
    {
        return GeometryBounds(m_Data, world, bounds);
    }
    HRESULT GetWidenedBounds(float strokeWidth, ID2D1StrokeStyle*, const D2D1_MATRIX_3X2_F* world, float tolerance,
        D2D1_RECT_F* bounds) const override
    {
        return GeometryWidenedBounds(m_Data, strokeWidth, world, tolerance, bounds);
    }
    HRESULT FillContainsPoint(
        D2D1_POINT_2F point, const D2D1_MATRIX_3X2_F* world, float tolerance, BOOL* contains) const override
    {
        return GeometryContainsPoint(m_Data, point, world, tolerance, contains);
    }
    HRESULT CombineWithGeometry(ID2D1Geometry* input, D2D1_COMBINE_MODE mode, const D2D1_MATRIX_3X2_F* inputTransform,
        float tolerance, ID2D1SimplifiedGeometrySink* sink) const override
    {
        return GeometryCombine(m_Data, input, mode, inputTransform, tolerance, sink);
    }
    HRESULT GetSegmentCount(UINT32* count) const override
    {
        if (count == nullptr) return E_POINTER;
        *count = m_Data.SegmentCount();
        return S_OK;
    }
    const PathData& Data() const override { return m_Data; }

protected:
    PathData m_Data;
};

PathData RectanglePath(const D2D1_RECT_F& rect);
PathData EllipsePath(const D2D1_ELLIPSE& ellipse);

} // namespace KUV::Gfx::Cairo
