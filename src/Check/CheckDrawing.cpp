#include <map>
#include <set>

#include "Check/SceneCheck.h"
#include "Core/Animation.h"
#include "Core/DrawCommands.h"
#include "Core/GeometryBase.h"
#include "Core/Procedure.h"
#include "Core/SceneCommands.h"
#include "Core/Tavisk.h"
#include "Core/TransformCommands.h"

namespace KUV::Check {
namespace {

// What running an executable does to the depth of the transform stack.
struct StackEffect {
    int lowest = 0; // the lowest depth reached, relative to the depth on entry
    int net = 0; // the depth on exit, relative to the depth on entry
};

class StackAnalysis {
public:
    const StackEffect& EffectOf(const ExecutableBase& executable)
    {
        if (const auto it = m_Effects.find(&executable); it != m_Effects.end()) return it->second;
        StackEffect effect;
        for (const ExecutableBase* command : CommandsOf(executable)) {
            if (!command) {
                effect.net += Step(executable);
                effect.lowest = std::min(effect.lowest, effect.net);
                continue;
            }
            const StackEffect& inner = EffectOf(*command);
            effect.lowest = std::min(effect.lowest, effect.net + inner.lowest);
            effect.net += inner.net;
        }
        return m_Effects[&executable] = effect;
    }

    // The pop that first takes the stack below its base when executable runs at depth, or null.
    const ExecutableBase* FirstUnderflow(const ExecutableBase& executable, int depth)
    {
        if (depth + EffectOf(executable).lowest >= 0) return nullptr;
        for (const ExecutableBase* command : CommandsOf(executable)) {
            if (!command) return &executable;
            if (const ExecutableBase* pop = FirstUnderflow(*command, depth)) return pop;
            depth += EffectOf(*command).net;
        }
        return nullptr;
    }

private:
    static int Step(const ExecutableBase& executable)
    {
        if (dynamic_cast<const PushTransformCommand*>(&executable)) return 1;
        if (dynamic_cast<const PopTransformCommand*>(&executable)) return -1;
        return 0;
    }

    // The executables run in turn; a single null entry stands for the executable's own step.
    static std::vector<const ExecutableBase*> CommandsOf(const ExecutableBase& executable)
    {
        std::vector<const ExecutableBase*> commands;
        if (const auto* procedure = dynamic_cast<const Procedure*>(&executable)) {
            for (const auto& command : procedure->m_Commands)
                commands.push_back(command.get());
        } else if (const auto* call = dynamic_cast<const CallCommand*>(&executable)) {
            commands.push_back(call->m_Procedure.get());
        } else {
            commands.push_back(nullptr);
        }
        return commands;
    }

    std::map<const ExecutableBase*, StackEffect> m_Effects;
};

void CheckRenderFunctions(const Tavisk& scene, WarningList& warnings)
{
    StackAnalysis analysis;
    std::set<const ExecutableBase*> reported;
    for (const auto& [animationName, animation] : scene.Table<Animation>()) {
        const ExecutableBase* function = animation->m_RenderFunction.get();
        if (!function || !reported.insert(function).second) continue;
        const std::string label = "procedure " + Quoted(NameIn(scene.Table<ExecutableBase>(), function));
        if (const ExecutableBase* pop = analysis.FirstUnderflow(*function, 0)) {
            warnings.Add(pop->m_ReadAt,
                "PopTransform{ pops more than " + label
                    + " has pushed: a blocking error that stops the run when it is drawn");
        } else if (const int left = analysis.EffectOf(*function).net; left > 0) {
            warnings.Add(function->m_ReadAt,
                label + " leaves " + std::to_string(left) + (left == 1 ? " transform" : " transforms")
                    + " pushed: what is drawn after it moves with them");
        }
    }
}

void CheckStrokeWidths(const Tavisk& scene, WarningList& warnings)
{
    ForEachExecutable(scene, [&](ExecutableBase& executable) {
        const auto* stroke = dynamic_cast<const StrokeCommand*>(&executable);
        if (!stroke || !stroke->m_Geometry || stroke->m_Geometry->m_Dynamic || !stroke->m_Width.IsVariable()) return;
        warnings.Add(stroke->m_ReadAt,
            "static geometry " + Quoted(stroke->m_Geometry->m_Name) + " is stroked with the variable width "
                + Quoted(stroke->m_Width.m_Name) + ": every distinct width keeps a mask cache entry for the whole run");
    });
}

} // namespace

void CheckDrawing(const SceneTree& tree, WarningList& warnings)
{
    CheckEachScene(tree, warnings, { CheckRenderFunctions, CheckStrokeWidths });
}

} // namespace KUV::Check
