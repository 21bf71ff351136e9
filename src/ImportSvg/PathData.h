// Path data: every command, absolute and relative; quadratics and arcs become cubics.
#pragma once

#include <string>
#include <string_view>

#include "ImportSvg/Geometry.h"

namespace KUV::ImportSvg {

struct ParsedPath {
    PathModel path;
    std::string error; // where the data went wrong; the path holds what came before, as browsers draw it
};

ParsedPath ParsePathData(std::string_view data);

// Appends the arc from `from` as cubics (the elliptical arc of the path command, radii corrected).
void AppendArc(Figure& figure, Pt from, double rx, double ry, double rotation, bool large, bool sweep, Pt to);

} // namespace KUV::ImportSvg
