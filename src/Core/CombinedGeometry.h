// The Boolean combination of two geometries of the same scene.
#pragma once

#include <memory>

#include "Core/GeometryBase.h"

namespace KUV {

class CombinedGeometry : public GeometryBase {
public:
    std::shared_ptr<ID2D1Geometry> CreateResource() override;

    std::shared_ptr<GeometryBase> m_Geometry1;
    std::shared_ptr<GeometryBase> m_Geometry2;
    int m_Mode = 0; // a D2D1_COMBINE_MODE
};

// Reads the body of a "Combined{" record; the result is dynamic when either input is.
std::shared_ptr<GeometryBase> ReadCombinedGeometry(SceneReader& reader);

} // namespace KUV
