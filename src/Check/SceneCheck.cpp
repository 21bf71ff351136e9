#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "Check/SceneCheck.h"
#include "Core/Tavisk.h"

namespace KUV::Check {

void CheckEachScene(const SceneTree& tree, WarningList& warnings, std::initializer_list<PerSceneCheck> checks)
{
    for (const SceneNode& node : tree.Scenes())
        for (const PerSceneCheck check : checks)
            check(*node.scene, warnings);
}

std::vector<Warning> CheckSceneTree(Tavisk& root)
{
    const SceneTree tree(root);
    WarningList list;
    CheckVariables(tree, list);
    CheckTiming(tree, list);
    CheckDrawing(tree, list);
    CheckReach(tree, list);
    CheckFiles(tree, list);

    // Files in the order their scenes come in the tree; a file loaded twice reports once.
    std::map<std::string, size_t> fileOrder;
    for (const SceneNode& node : tree.Scenes())
        fileOrder.try_emplace(node.scene->m_Origin.file, fileOrder.size());
    const auto orderOf = [&](const Warning& w) {
        const auto it = fileOrder.find(w.at.file);
        return it == fileOrder.end() ? fileOrder.size() : it->second;
    };
    std::vector<Warning> warnings;
    std::set<std::tuple<std::string, int, std::string>> seen;
    for (const Warning& w : list.All())
        if (seen.emplace(w.at.file, w.at.line, w.text).second) warnings.push_back(w);
    std::stable_sort(warnings.begin(), warnings.end(), [&](const Warning& a, const Warning& b) {
        return std::make_tuple(orderOf(a), a.at.file, a.at.line) < std::make_tuple(orderOf(b), b.at.file, b.at.line);
    });
    return warnings;
}

} // namespace KUV::Check
