// The basic shapes as paths (and, where the format has the shape itself, as that record).
#pragma once

#include <optional>

#include "ImportSvg/Diagnostics.h"
#include "ImportSvg/SceneModel.h"
#include "ImportSvg/Units.h"
#include "ImportSvg/XmlTree.h"

namespace KUV::ImportSvg {

struct ShapeGeometry {
    GeometryRecord::Kind kind = GeometryRecord::Path;
    double x = 0, y = 0, w = 0, h = 0; // as in GeometryRecord
    PathModel path; // always set: the outline for bounds, strokes and fill rules
};

// Empty when the element draws nothing (a zero radius, no points, a path with no data).
std::optional<ShapeGeometry> ShapeOf(const Element& element, const LengthContext& context, Diagnostics& diagnostics);

bool IsShape(const std::string& name);

} // namespace KUV::ImportSvg
