// Animations: what to draw, what drives the variables meanwhile, what follows.
#pragma once

#include <memory>
#include <string>

#include "Core/TaviskComponent.h"

namespace KUV {

class ControllerBase;
class ExecutableBase;
class SceneReader;

class Animation : public TaviskComponent {
public:
    bool m_Active = false;
    std::shared_ptr<ExecutableBase> m_RenderFunction;
    std::shared_ptr<ControllerBase> m_Controller;
    std::string m_TransitionTarget;
};

// Reads one animation record.
std::shared_ptr<Animation> ReadAnimation(SceneReader& reader);

} // namespace KUV
