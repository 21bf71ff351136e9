// Commands on the scene's transform stack and its hit-test transform.
#pragma once

#include <memory>

#include "Core/ExecutableBase.h"

namespace KUV {

class PushTransformCommand : public ExecutableBase {
public:
    // Composes the transform onto the top of the stack, in the top's local space.
    void Execute() override;
    static std::shared_ptr<ExecutableBase> Read(SceneReader& reader, ID2D1RenderTarget* renderTarget);

    std::shared_ptr<TransformResource> m_Transform;
};

class PopTransformCommand : public ExecutableBase {
public:
    // Returns to the previous top; the base entry is never removed.
    void Execute() override;
    static std::shared_ptr<ExecutableBase> Read(SceneReader& reader, ID2D1RenderTarget* renderTarget);
};

class CaptureHitTestTransformCommand : public ExecutableBase {
public:
    // Records the current top for the scene's hit tests; draws nothing.
    void Execute() override;
    static std::shared_ptr<ExecutableBase> Read(SceneReader& reader, ID2D1RenderTarget* renderTarget);
};

} // namespace KUV
