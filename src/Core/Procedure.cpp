#include "Core/Procedure.h"

#include <string>

#include "Core/NestingGuard.h"
#include "Core/RenderWork.h"
#include "Core/SceneReader.h"
#include "Core/Tavisk.h"

namespace KUV {

namespace {
thread_local int t_RunDepth = 0;
}

void Procedure::Execute()
{
    NestingGuard nesting(t_RunDepth, MaxRunDepth);
    if (nesting.Exceeded())
        RaiseRuntimeBlockingError(
            "procedures called inside one another more than " + std::to_string(MaxRunDepth) + " levels deep");
    for (const std::shared_ptr<ExecutableBase>& command : m_Commands) {
        m_Owner->ChargeWork(RenderWork::PerCommand);
        command->Execute();
    }
}

std::shared_ptr<ExecutableBase> ReadProcedure(SceneReader& reader)
{
    auto procedure = std::make_shared<Procedure>();
    reader.ReadList("noOfCommands", procedure->m_Commands, ReadExecutable);
    return procedure;
}

} // namespace KUV
