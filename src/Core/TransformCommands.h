// Commands on the scene's transform stack and its hit-test transform.
#pragma once

#include <memory>

#include "Core/ExecutableBase.h"

namespace KUV {

class PushTransformCommand : public ExecutableBase {
public:
    // Composes the transform onto the top of the stack, in the top's local space.
    void Execute() override;

    std::shared_ptr<TransformResource> m_Transform;
};

class PopTransformCommand : public ExecutableBase {
public:
    // Returns to the previous top; the base entry is never removed.
    void Execute() override;
};

class CaptureHitTestTransformCommand : public ExecutableBase {
public:
    // Records the current top for the scene's hit tests; draws nothing.
    void Execute() override;
};

// Readers of the records, from what follows the opener to before the closing brace.
std::shared_ptr<ExecutableBase> ReadPushTransformCommand(SceneReader& reader);
std::shared_ptr<ExecutableBase> ReadPopTransformCommand(SceneReader& reader);
std::shared_ptr<ExecutableBase> ReadCaptureHitTestTransformCommand(SceneReader& reader);

} // namespace KUV
