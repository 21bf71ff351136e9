#include "Core/Animation.h"

#include <string>

#include "Core/SceneReader.h"

namespace KUV {

std::shared_ptr<Animation> ReadAnimation(SceneReader& reader)
{
    auto animation = std::make_shared<Animation>();
    reader.Expect("Animation{");
    const std::string renderFunction = reader.ReadWord("renderFunction");
    if (renderFunction != NullName) animation->m_RenderFunction = reader.Find<ExecutableBase>(renderFunction);
    const std::string controller = reader.ReadWord("controller");
    if (controller != NullName) animation->m_Controller = reader.Find<ControllerBase>(controller);
    animation->m_TransitionTarget = reader.ReadWord("transitionTarget");
    reader.Expect("}");
    animation->m_Owner = reader.scene;
    return animation;
}

} // namespace KUV
