// An axis-aligned ellipse given by its centre and radii.
#pragma once

#include "Core/GeometryBase.h"
#include "Core/ValueD.h"

namespace KUV {

class Ellipse : public GeometryBase {
public:
    std::shared_ptr<ID2D1Geometry> CreateResource() override;

    PointD m_Center;
    ValueD m_RadiusX, m_RadiusY;
};

// Reads the body of an "Ellipse{" record: "center" point, "radiusX" and "radiusY" values.
std::shared_ptr<GeometryBase> ReadEllipse(SceneReader& reader);

} // namespace KUV
