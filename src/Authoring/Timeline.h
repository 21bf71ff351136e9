// Plays a loaded scene tree offscreen, without drawing, and reports every
// animation start of every scene.
#pragma once

#include <ostream>

namespace KUV {
class Tavisk;
}

namespace KUV::Authoring {

// The update rhythm of the tools: updates at 0, 16, 32, ... milliseconds.
constexpr int UpdateStep = 16;

// Updates root at 0, UpdateStep, ... up to until and prints "<tick> <file>: <from> -> <to>"
// for each start, first for the starts made while loading (at 0, by triggers with begin 0). Returns 0, or 10 + the
// result of a failed update (its text on err).
int RunTimeline(Tavisk& root, int until, std::ostream& out, std::ostream& err);

} // namespace KUV::Authoring
