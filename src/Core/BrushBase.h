// Brushes: the paints of fills and strokes.
#pragma once

#include <memory>

#include "Core/TaviskComponent.h"
#include "Core/ValueD.h"

namespace KUV {

class SceneReader;

class BrushBase : public Resource<ID2D1Brush, CleanupReset> {
public:
    ID2D1RenderTarget* m_RT = nullptr; // set by the loader
    ValueD m_Opacity { 1.0f };

protected:
    // What every brush is built with: this moment's opacity and no transform of its own.
    D2D1_BRUSH_PROPERTIES Properties() const { return { m_Opacity.Get(), D2D1::IdentityMatrix() }; }
};

// Reads one brush record: type keyword, body, "opacity" value and "}".
std::shared_ptr<BrushBase> ReadBrush(SceneReader& reader);

} // namespace KUV
