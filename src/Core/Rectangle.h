// An axis-aligned rectangle given by its corner and size.
#pragma once

#include "Core/GeometryBase.h"
#include "Core/ValueD.h"

namespace KUV {

class Rectangle : public GeometryBase {
public:
    std::shared_ptr<ID2D1Geometry> CreateResource() override;

    ValueD m_X, m_Y, m_W, m_H;
};

// Reads the body of a "Rectangle{" record: "x", "y", "w" and "h" values.
std::shared_ptr<GeometryBase> ReadRectangle(SceneReader& reader);

} // namespace KUV
