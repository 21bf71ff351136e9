#include "Authoring/Timeline.h"

#include "Authoring/SceneWalk.h"
#include "Core/ITavisk.h"
#include "Core/Tavisk.h"

namespace KUV::Authoring {
namespace {

// Observes every scene of the tree for as long as it lives.
class StartTrace {
public:
    StartTrace(const SceneTree& tree, std::ostream& out)
        : m_Tree(tree)
    {
        for (const SceneNode& node : tree.Scenes()) {
            const std::string file = BaseName(node.scene->m_Origin.file);
            node.scene->m_StartObserver = [&out, file](const std::string& from, const std::string& to, int time) {
                out << time << " " << file << ": " << from << " -> " << to << "\n";
            };
        }
    }
    ~StartTrace()
    {
        for (const SceneNode& node : m_Tree.Scenes())
            node.scene->m_StartObserver = nullptr;
    }
    StartTrace(const StartTrace&) = delete;
    StartTrace& operator=(const StartTrace&) = delete;

private:
    const SceneTree& m_Tree;
};

} // namespace

int RunTimeline(Tavisk& root, int until, std::ostream& out, std::ostream& err)
{
    const SceneTree tree(root);
    // Every scene began on "MainAnim" at the load's tick 0; a trigger at 0 has moved some on since.
    for (const SceneNode& node : tree.Scenes())
        if (node.scene->CurrentAnimation() != "MainAnim")
            out << "0 " << BaseName(node.scene->m_Origin.file) << ": MainAnim -> " << node.scene->CurrentAnimation()
                << "\n";
    const StartTrace trace(tree, out);
    for (long long tick = 0; tick <= until; tick += UpdateStep) {
        if (const int result = root.Update(static_cast<int>(tick)); result != ResultOk) {
            err << root.GetErrorText() << "\n";
            return 10 + result;
        }
    }
    return 0;
}

} // namespace KUV::Authoring
