// Commands that reuse procedures and embed child scenes.
#pragma once

#include <memory>
#include <string>

#include "Core/ExecutableBase.h"
#include "Core/ValueD.h"

namespace KUV {

class ITavisk;
class Procedure;

class CallCommand : public ExecutableBase {
public:
    // Runs the procedure in place, on the caller's transform stack.
    void Execute() override;

    std::shared_ptr<Procedure> m_Procedure;
};

class RenderKuvCommand : public ExecutableBase {
public:
    // Draws the child scene under the current top transform; a failure stays in the child.
    void Execute() override;

    std::shared_ptr<ITavisk> m_Child;
};

class SetKuvVarCommand : public ExecutableBase {
public:
    // Writes a value of this scene into a variable of the child; a missing name changes nothing.
    void Execute() override;

    std::shared_ptr<ITavisk> m_Child;
    std::string m_VariableName;
    ValueD m_Value;
};

// Readers of the records, from what follows the opener to before the closing brace.
std::shared_ptr<ExecutableBase> ReadCallCommand(SceneReader& reader);
std::shared_ptr<ExecutableBase> ReadRenderKuvCommand(SceneReader& reader);
std::shared_ptr<ExecutableBase> ReadSetKuvVarCommand(SceneReader& reader);

} // namespace KUV
