// Executables: procedures and the commands they run every frame.
#pragma once

#include <memory>

#include "Core/TaviskComponent.h"

namespace KUV {

class SceneReader;

class ExecutableBase : public TaviskComponent {
public:
    // Runs once on the owner scene's render target; reports failure only by throwing.
    virtual void Execute() = 0;
};

// Reads one executable record (opener, body and "}").
std::shared_ptr<ExecutableBase> ReadExecutable(SceneReader& reader);

} // namespace KUV
