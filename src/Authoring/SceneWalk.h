// A loaded scene tree seen as a whole: every scene, every controller and every
// executable with the record it came from, for the checks of tvs-check.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Core/TaviskComponent.h"

namespace KUV {
class Tavisk;
class ITavisk;
class ControllerBase;
class ExecutableBase;
} // namespace KUV

namespace KUV::Authoring {

struct Warning {
    SourceLocation at;
    std::string text;
};

class WarningList {
public:
    void Add(const SourceLocation& at, std::string text) { m_Warnings.push_back({ at, std::move(text) }); }
    const std::vector<Warning>& All() const { return m_Warnings; }

private:
    std::vector<Warning> m_Warnings;
};

// One scene of the tree and what its parent says about it.
struct SceneNode {
    Tavisk* scene = nullptr;
    const SceneNode* parent = nullptr;
    std::string nameInParent; // empty for the root
};

class SceneTree {
public:
    explicit SceneTree(Tavisk& root);

    // Root first, then every child scene depth-first in name order.
    const std::vector<SceneNode>& Scenes() const { return m_Scenes; }
    const SceneNode* NodeOf(const ITavisk* scene) const;

private:
    void Add(Tavisk& scene, const SceneNode* parent, const std::string& name);

    std::vector<SceneNode> m_Scenes;
};

// A controller with its record's location (nested controllers built for a record, as
// "Linear2d{" does, have the location of that record).
using ControllerVisitor = std::function<void(ControllerBase&, const SourceLocation&)>;
// Every controller of the scene: the named ones and their children, each once.
void ForEachController(const Tavisk& scene, const ControllerVisitor& visit);

// Every executable of the scene: the named ones and the commands nested in procedures, each once.
void ForEachExecutable(const Tavisk& scene, const std::function<void(ExecutableBase&)>& visit);

// "file" of a scene for messages: its path as the file system sees it.
std::string DisplayPath(const std::string& written);
// The last component of a path written either way.
std::string BaseName(const std::string& written);

// The name under which the scene's table holds component; empty when it holds it under none.
template <class Table> std::string NameIn(const Table& table, const void* component)
{
    for (const auto& [name, held] : table)
        if (held.get() == component) return name;
    return {};
}

// text in double quotes, as messages name things.
inline std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

bool HasVariable(const Tavisk& scene, const std::string& name);
bool HasAnimation(const Tavisk& scene, const std::string& name);

} // namespace KUV::Authoring
