// Plays a loaded scene tree offscreen, without drawing, and reports every
// animation start of every scene and every trigger of the root.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "Authoring/TimelineSpans.h"

#include "Authoring/UpdateStep.h"

namespace KUV {
class Tavisk;
}

namespace KUV::Authoring {

// What a traced run tells: each start of an animation of any scene of the tree
// (AnimationStart::scene indexes SceneTree's scenes), and each tick at which a trigger of the root fires.
struct RunTrace {
    std::function<void(const AnimationStart&)> onStart;
    std::function<void(std::int64_t)> onTrigger;
};

// Updates root at 0, UpdateStep, ... up to until and tells trace, first of the starts made while
// loading (at 0, by triggers with begin 0). Returns 0, or 10 + the result of a failed update (its
// text in *error); *lastTick is the last tick updated without failure.
int TraceRun(Tavisk& root, int until, const RunTrace& trace, std::string* error, int* lastTick = nullptr);

// Prints "<tick> <file>: <from> -> <to>" for each start of TraceRun. Returns its status, the failed
// update's text on err.
int RunTimeline(Tavisk& root, int until, std::ostream& out, std::ostream& err);

// The run as lanes of spans, one per scene (the root by its file's name, children by their names,
// nested ones as "parent/child"), with the root's trigger ticks. A failed update ends the run there,
// its text in *error.
ShowTimeline TraceShow(Tavisk& root, int until, std::string* error);

} // namespace KUV::Authoring
