// Paths: figures made of straight and cubic Bezier segments, filled with the winding rule.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "Core/GeometryBase.h"
#include "Core/ValueD.h"

namespace KUV {

// One piece of a figure's outline.
class ISegment {
public:
    virtual ~ISegment() = default;
    // Appends this segment, from the sink's current point, to the open figure of sink.
    virtual void AddTo(ID2D1GeometrySink& sink) const = 0;
};

class Line : public ISegment {
public:
    explicit Line(PointD to)
        : m_To(std::move(to))
    {
    }
    void AddTo(ID2D1GeometrySink& sink) const override;

private:
    PointD m_To;
};

class Bezier : public ISegment {
public:
    Bezier(PointD p1, PointD p2, PointD p3)
        : m_P1(std::move(p1))
        , m_P2(std::move(p2))
        , m_P3(std::move(p3))
    {
    }
    void AddTo(ID2D1GeometrySink& sink) const override;

private:
    PointD m_P1, m_P2, m_P3;
};

class Figure {
public:
    // Writes the whole figure, begun filled at the start point, into sink.
    void AddTo(ID2D1GeometrySink& sink) const;

    std::vector<std::shared_ptr<ISegment>> m_Segments;
    bool m_Closed = false;
    PointD m_StartPoint;
};

class Path : public GeometryBase {
public:
    std::shared_ptr<ID2D1Geometry> CreateResource() override;

    std::vector<std::shared_ptr<Figure>> m_Figures;
};

// Reads the body of a "Path{" record: "noOfFigures" and that many "Figure{" records.
std::shared_ptr<GeometryBase> ReadPath(SceneReader& reader);

} // namespace KUV
