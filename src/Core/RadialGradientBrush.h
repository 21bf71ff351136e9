// A brush whose colour changes outwards from a focal point to the edge of an ellipse.
#pragma once

#include <memory>

#include "Core/BrushBase.h"
#include "Core/GradientStopCollection.h"

namespace KUV {

class RadialGradientBrush : public BrushBase {
public:
    std::shared_ptr<ID2D1Brush> CreateResource() override;

    std::shared_ptr<GradientStopCollection> m_Stops;
    PointD m_Center, m_OriginOffset;
    ValueD m_RadiusX, m_RadiusY;
};

// Reads the body of a "RadialGradientBrush{" record: "center", "originOffset", "radiusX",
// "radiusY" and the stop collection.
std::shared_ptr<BrushBase> ReadRadialGradientBrush(SceneReader& reader);

} // namespace KUV
