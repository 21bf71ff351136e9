// A brush whose colour changes along the line from start to end.
#pragma once

#include <memory>

#include "Core/BrushBase.h"
#include "Core/GradientStopCollection.h"

namespace KUV {

class LinearGradientBrush : public BrushBase {
public:
    std::shared_ptr<ID2D1Brush> CreateResource() override;

    std::shared_ptr<GradientStopCollection> m_Stops;
    PointD m_Start, m_End;
};

// Reads the body of a "LinearGradientBrush{" record: "start", "end" and the stop collection.
std::shared_ptr<BrushBase> ReadLinearGradientBrush(SceneReader& reader);

} // namespace KUV
