#include "Core/Animation.h"

#include <string>

#include "Core/SceneReader.h"

namespace KUV {

std::shared_ptr<Animation> ReadAnimation(SceneReader& reader)
{
    auto animation = std::make_shared<Animation>();
    reader.Expect("Animation{");
    reader.Expect("renderFunction");
    const std::string renderFunction = reader.ReadWord();
    if (renderFunction != "null") animation->m_RenderFunction = reader.Find<ExecutableBase>(renderFunction);
    reader.Expect("controller");
    const std::string controller = reader.ReadWord();
    if (controller != "null") animation->m_Controller = reader.Find<ControllerBase>(controller);
    reader.Expect("transitionTarget");
    animation->m_TransitionTarget = reader.ReadWord();
    reader.Expect("}");
    animation->m_Owner = reader.scene;
    return animation;
}

} // namespace KUV
