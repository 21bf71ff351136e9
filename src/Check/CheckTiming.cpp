#include "Authoring/Timeline.h"
#include "Check/SceneCheck.h"
#include "Core/Animation.h"
#include "Core/ControllerBase.h"
#include "Core/Controllers.h"
#include "Core/Tavisk.h"

namespace KUV::Check {
namespace {

std::string ControllerLabel(const Tavisk& scene, const ControllerBase& controller)
{
    const std::string name = NameIn(scene.Table<ControllerBase>(), &controller);
    return name.empty() ? "controller" : "controller " + Quoted(name);
}

void CheckTrigger(const Trigger& trigger, const SourceLocation& at, WarningList& warnings)
{
    const auto* child = dynamic_cast<const Tavisk*>(trigger.m_TargetKuv.get());
    if (!child || HasAnimation(*child, trigger.m_TargetAnimation)) return;
    warnings.Add(at,
        "Trigger{ starts " + Quoted(trigger.m_TargetAnimation) + ", which " + Quoted(BaseName(child->m_Origin.file))
            + " does not have: the child keeps playing");
}

void CheckControllers(const Tavisk& scene, WarningList& warnings)
{
    ForEachController(scene, [&](ControllerBase& controller, const SourceLocation& at) {
        if (const auto* trigger = dynamic_cast<const Trigger*>(&controller)) {
            CheckTrigger(*trigger, at, warnings);
        } else if (controller.m_Begin >= controller.m_End) {
            warnings.Add(at,
                ControllerLabel(scene, controller) + " has an empty window (begin " + std::to_string(controller.m_Begin)
                    + ", end " + std::to_string(controller.m_End) + "): it never writes and never finishes");
        }
    });
}

// The tick at which an animation started at 0 finishes, with updates every UpdateStep ms;
// -1 when it never does (no controller, a loop, or a window no update falls in).
long long FinishTick(const Animation& animation)
{
    const ControllerBase* controller = animation.m_Controller.get();
    if (!controller || controller->m_Loops || dynamic_cast<const Trigger*>(controller)) return -1;
    const long long begin = controller->m_Begin, end = controller->m_End;
    const auto nextUpdate = [](long long t) {
        return t <= 0 ? 0 : (t + Authoring::UpdateStep - 1) / Authoring::UpdateStep * Authoring::UpdateStep;
    };
    if (begin >= end || nextUpdate(begin) >= end) return -1;
    return nextUpdate(end);
}

void CheckAnimations(const Tavisk& scene, WarningList& warnings)
{
    for (const auto& [name, animation] : scene.Table<Animation>()) {
        const std::string& target = animation->m_TransitionTarget;
        if (target != NullName) {
            if (!HasAnimation(scene, target))
                warnings.Add(animation->m_ReadAt,
                    "transition target " + Quoted(target) + " of " + Quoted(name)
                        + " names no animation: the last picture stays frozen");
            continue;
        }
        if (const long long tick = FinishTick(*animation); tick >= 0)
            warnings.Add(animation->m_ReadAt,
                "animation " + Quoted(name)
                    + " does not loop and its transition target is \"null\": started at 0 it stops the run at "
                    + std::to_string(tick));
    }
}

} // namespace

void CheckTiming(const SceneTree& tree, WarningList& warnings)
{
    CheckEachScene(tree, warnings, { CheckControllers, CheckAnimations });
}

} // namespace KUV::Check
