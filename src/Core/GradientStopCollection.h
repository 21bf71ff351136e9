// The colour stops of a gradient brush, built once and kept for the life of the scene.
#pragma once

#include <memory>
#include <vector>

#include "Core/TaviskComponent.h"
#include "Core/ValueD.h"

namespace KUV {

class SceneReader;

struct GradientStop {
    ValueD position;
    Color color;
};

class GradientStopCollection : public Resource<ID2D1GradientStopCollection, CleanupReset> {
public:
    std::shared_ptr<ID2D1GradientStopCollection> CreateResource() override;

    std::vector<GradientStop> m_Stops;
    ID2D1RenderTarget* m_RT = nullptr;
    int m_ExtendMode = 0; // a D2D1_EXTEND_MODE, passed on as written
};

// Reads a "GradientStopCollection{" record, opener included.
std::shared_ptr<GradientStopCollection> ReadGradientStopCollection(SceneReader& reader);

} // namespace KUV
