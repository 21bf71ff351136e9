#include <set>

#include "Check/SceneCheck.h"
#include "Core/ControllerBase.h"
#include "Core/Controllers.h"
#include "Core/SceneCommands.h"
#include "Core/Tavisk.h"

namespace KUV::Check {
namespace {

bool IsWritingController(const ControllerBase& controller)
{
    return !dynamic_cast<const Trigger*>(&controller) && controller.m_Target != NullName;
}

// A name written without its "$" is the usual slip: say which variable was meant.
std::string NotAVariable(const Tavisk& scene, const std::string& name)
{
    std::string text = Quoted(name) + " is not a variable of " + Quoted(BaseName(scene.m_Origin.file));
    if (HasVariable(scene, "$" + name)) text += " (did you mean \"$" + name + "\"?)";
    return text;
}

void CheckControllerTargets(const Tavisk& scene, WarningList& warnings)
{
    ForEachController(scene, [&](ControllerBase& controller, const SourceLocation& at) {
        if (IsWritingController(controller) && !HasVariable(scene, controller.m_Target))
            warnings.Add(at, "controller target " + NotAVariable(scene, controller.m_Target));
    });
}

void CheckArguments(const Tavisk& child, WarningList& warnings)
{
    for (const ChildArgument& argument : child.m_Origin.arguments)
        if (!HasVariable(child, argument.name))
            warnings.Add(argument.readAt, "child argument " + NotAVariable(child, argument.name));
}

void CheckSetKuvVars(const Tavisk& scene, WarningList& warnings)
{
    ForEachExecutable(scene, [&](ExecutableBase& executable) {
        const auto* set = dynamic_cast<const SetKuvVarCommand*>(&executable);
        const auto* child = set ? dynamic_cast<const Tavisk*>(set->m_Child.get()) : nullptr;
        if (child && !HasVariable(*child, set->m_VariableName))
            warnings.Add(set->m_ReadAt, "SetKuvVar{ name " + NotAVariable(*child, set->m_VariableName));
    });
}

// Every name some controller of the scene, an argument or a parent's SetKuvVar{ writes.
std::set<std::string> WrittenNames(const SceneNode& node)
{
    std::set<std::string> written;
    ForEachController(*node.scene, [&](ControllerBase& controller, const SourceLocation&) {
        if (IsWritingController(controller)) written.insert(controller.m_Target);
    });
    for (const ChildArgument& argument : node.scene->m_Origin.arguments)
        written.insert(argument.name);
    if (node.parent) {
        ForEachExecutable(*node.parent->scene, [&](ExecutableBase& executable) {
            const auto* set = dynamic_cast<const SetKuvVarCommand*>(&executable);
            if (set && set->m_Child.get() == node.scene) written.insert(set->m_VariableName);
        });
    }
    return written;
}

void CheckUnwrittenVariables(const SceneNode& node, WarningList& warnings)
{
    const std::set<std::string> written = WrittenNames(node);
    const auto& sites = node.scene->m_Origin.variableSites;
    for (const auto& [name, value] : node.scene->Variables()) {
        if (written.count(name)) continue;
        const auto site = sites.find(name);
        const SourceLocation at = site != sites.end() ? site->second : SourceLocation { node.scene->m_Origin.file, 1 };
        warnings.Add(at, "variable " + Quoted(name) + " is read but nothing writes it: it stays 0");
    }
}

} // namespace

void CheckVariables(const SceneTree& tree, WarningList& warnings)
{
    for (const SceneNode& node : tree.Scenes()) {
        CheckControllerTargets(*node.scene, warnings);
        if (node.parent) CheckArguments(*node.scene, warnings);
        CheckSetKuvVars(*node.scene, warnings);
        CheckUnwrittenVariables(node, warnings);
    }
}

} // namespace KUV::Check
