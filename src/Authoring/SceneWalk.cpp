#include "Authoring/SceneWalk.h"

#include <set>

#include "Core/Animation.h"
#include "Core/ControllerBase.h"
#include "Core/FilePath.h"
#include "Core/Procedure.h"
#include "Core/Tavisk.h"

namespace KUV::Authoring {

SceneTree::SceneTree(Tavisk& root)
{
    // Nodes point at their parents: reserve so that they never move.
    std::vector<Tavisk*> pending { &root };
    size_t count = 0;
    while (!pending.empty()) {
        Tavisk* scene = pending.back();
        pending.pop_back();
        ++count;
        for (const auto& [name, child] : scene->Table<ITavisk>())
            if (auto* tavisk = dynamic_cast<Tavisk*>(child.get())) pending.push_back(tavisk);
    }
    m_Scenes.reserve(count);
    Add(root, nullptr, "");
}

void SceneTree::Add(Tavisk& scene, const SceneNode* parent, const std::string& name)
{
    m_Scenes.push_back({ &scene, parent, name });
    const SceneNode* self = &m_Scenes.back();
    for (const auto& [childName, child] : scene.Table<ITavisk>())
        if (auto* tavisk = dynamic_cast<Tavisk*>(child.get())) Add(*tavisk, self, childName);
}

const SceneNode* SceneTree::NodeOf(const ITavisk* scene) const
{
    for (const SceneNode& node : m_Scenes)
        if (node.scene == scene) return &node;
    return nullptr;
}

namespace {

void VisitController(ControllerBase& controller, const SourceLocation& outer, std::set<const ControllerBase*>& seen,
    const ControllerVisitor& visit)
{
    if (!seen.insert(&controller).second) return;
    const SourceLocation& at = controller.m_ReadAt.line > 0 ? controller.m_ReadAt : outer;
    visit(controller, at);
    for (const auto& child : controller.m_Children)
        VisitController(*child, at, seen, visit);
}

void VisitExecutable(ExecutableBase& executable, std::set<const ExecutableBase*>& seen,
    const std::function<void(ExecutableBase&)>& visit)
{
    if (!seen.insert(&executable).second) return;
    visit(executable);
    if (auto* procedure = dynamic_cast<Procedure*>(&executable))
        for (const auto& command : procedure->m_Commands)
            VisitExecutable(*command, seen, visit);
}

} // namespace

void ForEachController(const Tavisk& scene, const ControllerVisitor& visit)
{
    std::set<const ControllerBase*> seen;
    for (const auto& [name, controller] : scene.Table<ControllerBase>())
        VisitController(*controller, controller->m_ReadAt, seen, visit);
}

void ForEachExecutable(const Tavisk& scene, const std::function<void(ExecutableBase&)>& visit)
{
    std::set<const ExecutableBase*> seen;
    for (const auto& [name, executable] : scene.Table<ExecutableBase>())
        VisitExecutable(*executable, seen, visit);
}

std::string DisplayPath(const std::string& written)
{
    return ResolvePath(written);
}

std::string BaseName(const std::string& written)
{
    const size_t slash = written.find_last_of("/\\");
    return slash == std::string::npos ? written : written.substr(slash + 1);
}

bool HasVariable(const Tavisk& scene, const std::string& name)
{
    return scene.Variables().count(name) > 0;
}

bool HasAnimation(const Tavisk& scene, const std::string& name)
{
    return scene.Find<Animation>(name) != nullptr;
}

} // namespace KUV::Authoring
