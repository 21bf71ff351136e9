// A brush of one colour.
#pragma once

#include "Core/BrushBase.h"

namespace KUV {

class SolidColorBrush : public BrushBase {
public:
    std::shared_ptr<ID2D1Brush> CreateResource() override;

    Color m_Color;
};

// Reads the body of a "SolidColorBrush{" record: one "Color{" record.
std::shared_ptr<BrushBase> ReadSolidColorBrush(SceneReader& reader);

} // namespace KUV
