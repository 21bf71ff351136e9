#include "Authoring/Timeline.h"

#include <algorithm>
#include <map>

#include "Authoring/SceneWalk.h"
#include "Core/ControllerBase.h"
#include "Core/Controllers.h"
#include "Core/ITavisk.h"
#include "Core/Tavisk.h"

namespace KUV::Authoring {
namespace {

// Observes every scene of the tree for as long as it lives.
class StartTrace {
public:
    StartTrace(const SceneTree& tree, const RunTrace& trace)
        : m_Tree(tree)
    {
        const std::vector<SceneNode>& scenes = tree.Scenes();
        for (std::size_t i = 0; i < scenes.size(); ++i)
            scenes[i].scene->m_StartObserver = [&trace, i](const std::string& from, const std::string& to, int time) {
                if (trace.onStart) trace.onStart({ time, i, from, to });
            };
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

// The root's triggers and the tick each last fired at: a trigger fires once per start of its parent.
class TriggerWatch {
public:
    explicit TriggerWatch(const Tavisk& root)
    {
        ForEachController(root, [this](ControllerBase& controller, const SourceLocation&) {
            if (auto* trigger = dynamic_cast<Trigger*>(&controller)) m_Fired[trigger] = -1;
        });
    }

    void Look(const RunTrace& trace)
    {
        for (auto& [trigger, fired] : m_Fired) {
            if (trigger->m_State != ControllerBase::Finished) continue;
            const std::int64_t tick = static_cast<std::int64_t>(trigger->m_StartTime) + trigger->m_Begin;
            if (tick == fired) continue;
            fired = tick;
            if (trace.onTrigger) trace.onTrigger(tick);
        }
    }

private:
    std::map<Trigger*, std::int64_t> m_Fired;
};

std::string LaneName(const SceneNode& node)
{
    if (!node.parent) return BaseName(node.scene->m_Origin.file);
    return node.parent->parent ? LaneName(*node.parent) + "/" + node.nameInParent : node.nameInParent;
}

} // namespace

int TraceRun(Tavisk& root, int until, const RunTrace& trace, std::string* error, int* lastTick)
{
    const SceneTree tree(root);
    // Every scene began on "MainAnim" at the load's tick 0; a trigger at 0 has moved some on since.
    const std::vector<SceneNode>& scenes = tree.Scenes();
    for (std::size_t i = 0; i < scenes.size(); ++i)
        if (scenes[i].scene->CurrentAnimation() != MainAnimation && trace.onStart)
            trace.onStart({ 0, i, MainAnimation, scenes[i].scene->CurrentAnimation() });
    TriggerWatch triggers(root);
    triggers.Look(trace);
    const StartTrace starts(tree, trace);
    for (long long tick = 0; tick <= until; tick += UpdateStep) {
        if (const int result = root.Update(static_cast<int>(tick)); result != ResultOk) {
            *error = root.GetErrorText();
            return 10 + result;
        }
        if (lastTick) *lastTick = static_cast<int>(tick);
        triggers.Look(trace);
    }
    return 0;
}

int RunTimeline(Tavisk& root, int until, std::ostream& out, std::ostream& err)
{
    const SceneTree tree(root);
    RunTrace trace;
    trace.onStart = [&](const AnimationStart& start) {
        out << start.tick << " " << BaseName(tree.Scenes()[start.scene].scene->m_Origin.file) << ": " << start.from
            << " -> " << start.to << "\n";
    };
    std::string error;
    const int code = TraceRun(root, until, trace, &error);
    if (code != 0) err << error << "\n";
    return code;
}

ShowTimeline TraceShow(Tavisk& root, int until, std::string* error)
{
    const SceneTree tree(root);
    std::vector<AnimationStart> starts;
    ShowTimeline show;
    RunTrace trace;
    trace.onStart = [&](const AnimationStart& start) { starts.push_back(start); };
    trace.onTrigger = [&](std::int64_t tick) { show.triggers.push_back(tick); };
    int last = 0;
    TraceRun(root, until, trace, error, &last);
    std::vector<std::string> names;
    for (const SceneNode& node : tree.Scenes())
        names.push_back(LaneName(node));
    show.end = last;
    show.lanes = LanesOf(names, starts, show.end);
    std::sort(show.triggers.begin(), show.triggers.end());
    return show;
}

} // namespace KUV::Authoring
