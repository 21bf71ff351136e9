#include <map>
#include <set>
#include <vector>

#include "Check/SceneCheck.h"
#include "Core/Animation.h"
#include "Core/BrushBase.h"
#include "Core/CombinedGeometry.h"
#include "Core/ControllerBase.h"
#include "Core/Controllers.h"
#include "Core/DrawCommands.h"
#include "Core/Image.h"
#include "Core/Procedure.h"
#include "Core/SceneCommands.h"
#include "Core/Tavisk.h"
#include "Core/TransformCommands.h"

namespace KUV::Check {
namespace {

using Node = const void*;

// Who refers to whom, over the whole tree: components, child scenes and animations.
class UseGraph {
public:
    explicit UseGraph(const SceneTree& tree)
    {
        for (const SceneNode& node : tree.Scenes())
            AddScene(*node.scene);
    }

    bool IsUsed(Node node) const { return m_Used.count(node) > 0; }

    std::set<Node> ReachableFrom(const std::vector<Node>& roots) const
    {
        std::set<Node> reached;
        std::vector<Node> pending(roots);
        while (!pending.empty()) {
            const Node node = pending.back();
            pending.pop_back();
            if (!node || !reached.insert(node).second) continue;
            if (const auto it = m_Uses.find(node); it != m_Uses.end())
                pending.insert(pending.end(), it->second.begin(), it->second.end());
        }
        return reached;
    }

private:
    void Use(Node user, Node used)
    {
        if (!used) return;
        m_Uses[user].push_back(used);
        if (user != used) m_Used.insert(used);
    }

    void AddScene(const Tavisk& scene)
    {
        for (const auto& [name, geometry] : scene.Table<GeometryBase>())
            if (const auto* combined = dynamic_cast<const CombinedGeometry*>(geometry.get())) {
                Use(combined, combined->m_Geometry1.get());
                Use(combined, combined->m_Geometry2.get());
            }
        ForEachExecutable(scene, [&](ExecutableBase& executable) { AddExecutable(executable); });
        ForEachController(scene, [&](ControllerBase& controller, const SourceLocation&) { AddController(controller); });
        for (const auto& [name, animation] : scene.Table<Animation>()) {
            Use(animation.get(), animation->m_RenderFunction.get());
            Use(animation.get(), animation->m_Controller.get());
            Use(animation.get(), AnimationOf(&scene, animation->m_TransitionTarget));
        }
    }

    void AddExecutable(const ExecutableBase& e)
    {
        if (const auto* procedure = dynamic_cast<const Procedure*>(&e)) {
            for (const auto& command : procedure->m_Commands)
                Use(&e, command.get());
        } else if (const auto* draw = dynamic_cast<const DrawCommand*>(&e)) {
            Use(&e, draw->m_Geometry.get());
            Use(&e, draw->m_Brush.get());
            if (const auto* image = dynamic_cast<const DrawImageCommand*>(&e)) Use(&e, image->m_Image.get());
        } else if (const auto* push = dynamic_cast<const PushTransformCommand*>(&e)) {
            Use(&e, push->m_Transform.get());
        } else if (const auto* call = dynamic_cast<const CallCommand*>(&e)) {
            Use(&e, call->m_Procedure.get());
        } else if (const auto* render = dynamic_cast<const RenderKuvCommand*>(&e)) {
            Use(&e, render->m_Child.get());
        } else if (const auto* set = dynamic_cast<const SetKuvVarCommand*>(&e)) {
            Use(&e, set->m_Child.get());
        }
    }

    void AddController(const ControllerBase& controller)
    {
        for (const auto& child : controller.m_Children)
            Use(&controller, child.get());
        if (const auto* trigger = dynamic_cast<const Trigger*>(&controller)) {
            Use(&controller, trigger->m_TargetKuv.get());
            Use(&controller, AnimationOf(trigger->m_TargetKuv.get(), trigger->m_TargetAnimation));
        }
    }

    static Node AnimationOf(const ITavisk* scene, const std::string& name)
    {
        const auto* tavisk = dynamic_cast<const Tavisk*>(scene);
        return tavisk ? tavisk->Find<Animation>(name).get() : nullptr;
    }

    std::map<Node, std::vector<Node>> m_Uses;
    std::set<Node> m_Used; // used by something other than itself
};

class ReachReport {
public:
    ReachReport(const UseGraph& graph, const std::set<Node>& reached, WarningList& warnings)
        : m_Graph(graph)
        , m_Reached(reached)
        , m_Warnings(warnings)
    {
    }

    template <class Components> void Table(const char* kind, const Components& table)
    {
        for (const auto& [name, component] : table)
            Report(kind, name, component.get(), component->m_ReadAt);
    }

    void ChildScenes(const Tavisk& scene)
    {
        for (const auto& [name, child] : scene.Table<ITavisk>()) {
            const auto* tavisk = dynamic_cast<const Tavisk*>(child.get());
            Report("child scene", name, child.get(), tavisk ? tavisk->m_Origin.record : SourceLocation {});
        }
    }

private:
    void Report(const char* kind, const std::string& name, Node node, const SourceLocation& at)
    {
        if (m_Reached.count(node)) return;
        const std::string what = std::string(kind) + " \"" + name + "\"";
        m_Warnings.Add(
            at, m_Graph.IsUsed(node) ? what + " cannot be reached from \"MainAnim\"" : what + " is not used");
    }

    const UseGraph& m_Graph;
    const std::set<Node>& m_Reached;
    WarningList& m_Warnings;
};

} // namespace

void CheckReach(const SceneTree& tree, WarningList& warnings)
{
    const UseGraph graph(tree);
    std::vector<Node> roots;
    for (const SceneNode& node : tree.Scenes()) {
        if (const std::shared_ptr<Animation> main = node.scene->Find<Animation>("MainAnim"))
            roots.push_back(main.get());
        else
            warnings.Add({ node.scene->m_Origin.file, 1 }, "the scene has no \"MainAnim\": its first update fails");
    }
    const std::set<Node> reached = graph.ReachableFrom(roots);
    ReachReport report(graph, reached, warnings);
    for (const SceneNode& node : tree.Scenes()) {
        const Tavisk& scene = *node.scene;
        report.Table("geometry", scene.Table<GeometryBase>());
        report.Table("brush", scene.Table<BrushBase>());
        report.Table("bitmap", scene.Table<Image>());
        report.Table("transform", scene.Table<TransformResource>());
        report.ChildScenes(scene);
        report.Table("executable", scene.Table<ExecutableBase>());
        report.Table("controller", scene.Table<ControllerBase>());
        report.Table("animation", scene.Table<Animation>());
    }
}

} // namespace KUV::Check
