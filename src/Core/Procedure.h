// Procedures: lists of executables run in order.
#pragma once

#include <memory>
#include <vector>

#include "Core/ExecutableBase.h"

namespace KUV {

class Procedure : public ExecutableBase {
public:
    // Runs every command in list order; the first failure ends the procedure.
    void Execute() override;

    // Procedures running inside one another (through calls or nesting) beyond this depth
    // stop the render instead of exhausting the stack.
    static constexpr int MaxRunDepth = 1024;

    std::vector<std::shared_ptr<ExecutableBase>> m_Commands;
};

// Reads what follows "Procedure{": "noOfCommands" n and n executable records.
std::shared_ptr<ExecutableBase> ReadProcedure(SceneReader& reader);

} // namespace KUV
