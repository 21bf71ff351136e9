#include "Authoring/TimelineSpans.h"

#include "Core/Tavisk.h"

namespace KUV::Authoring {
namespace {

void Close(SceneLane& lane, std::int64_t at)
{
    AnimationSpan& open = lane.spans.back();
    open.end = at;
    if (open.end <= open.begin) lane.spans.pop_back();
}

} // namespace

std::vector<SceneLane> LanesOf(
    const std::vector<std::string>& sceneNames, const std::vector<AnimationStart>& starts, std::int64_t end)
{
    std::vector<SceneLane> lanes;
    for (const std::string& name : sceneNames)
        lanes.push_back({ name, { { MainAnimation, 0, end } } });
    for (const AnimationStart& start : starts) {
        if (start.scene >= lanes.size() || start.tick > end) continue;
        SceneLane& lane = lanes[start.scene];
        Close(lane, start.tick);
        lane.spans.push_back({ start.to, start.tick, end });
    }
    for (SceneLane& lane : lanes)
        if (!lane.spans.empty() && lane.spans.back().end <= lane.spans.back().begin) lane.spans.pop_back();
    return lanes;
}

} // namespace KUV::Authoring
