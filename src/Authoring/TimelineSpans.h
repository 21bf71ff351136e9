// The run of a show seen as spans: which animation each scene plays from when to when,
// built from the animation starts a traced run records.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace KUV::Authoring {

// A scene of the traced tree started animation to (leaving from) at tick.
struct AnimationStart {
    std::int64_t tick = 0;
    std::size_t scene = 0; // index into the tree's scenes, the root first
    std::string from;
    std::string to;
};

struct AnimationSpan {
    std::string animation;
    std::int64_t begin = 0;
    std::int64_t end = 0;

    bool operator==(const AnimationSpan&) const = default;
};

// One scene's animations over the run, in time order, without gaps: every scene plays
// "MainAnim" from 0 until its first start.
struct SceneLane {
    std::string name;
    std::vector<AnimationSpan> spans;
};

// What a traced run shows on a timeline.
struct ShowTimeline {
    std::vector<SceneLane> lanes; // the root first
    std::vector<std::int64_t> triggers; // the root's trigger ticks, ascending
    std::int64_t end = 0; // the last tick played
};

// The lanes of scenes named sceneNames given their starts (ascending ticks) up to end.
// Spans of no length (two starts at one tick) are left out.
std::vector<SceneLane> LanesOf(
    const std::vector<std::string>& sceneNames, const std::vector<AnimationStart>& starts, std::int64_t end);

} // namespace KUV::Authoring
