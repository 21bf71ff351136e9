#include "Core/SceneCommands.h"

#include "Core/Procedure.h"
#include "Core/SceneReader.h"
#include "Core/Tavisk.h"

namespace KUV {

void CallCommand::Execute()
{
    m_Procedure->Execute();
}

std::shared_ptr<ExecutableBase> ReadCallCommand(SceneReader& reader)
{
    const std::string name = reader.ReadWord();
    auto command = std::make_shared<CallCommand>();
    command->m_Procedure = std::dynamic_pointer_cast<Procedure>(reader.Find<ExecutableBase>(name));
    if (!command->m_Procedure) reader.RaiseParseError(name + " is not a procedure, and can not be used with Call");
    return command;
}

void RenderKuvCommand::Execute()
{
    const D2D_MATRIX_3X2_F top = m_Owner->CurrentTransform();
    static_cast<void>(m_Child->Render(&top, nullptr));
}

std::shared_ptr<ExecutableBase> ReadRenderKuvCommand(SceneReader& reader)
{
    auto command = std::make_shared<RenderKuvCommand>();
    command->m_Child = reader.Find<ITavisk>(reader.ReadWord());
    return command;
}

void SetKuvVarCommand::Execute()
{
    const float value = m_Value.Get();
    static_cast<void>(m_Child->WriteVariable(m_VariableName, value));
}

std::shared_ptr<ExecutableBase> ReadSetKuvVarCommand(SceneReader& reader)
{
    auto command = std::make_shared<SetKuvVarCommand>();
    command->m_Child = reader.Find<ITavisk>(reader.ReadWord());
    command->m_VariableName = reader.ReadWord();
    command->m_Value = reader.ReadValue();
    return command;
}

} // namespace KUV
