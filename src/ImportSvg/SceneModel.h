// The scene the importer writes, as plain records: geometries, brushes, transforms and
// procedures, each under its final name.
#pragma once

#include <string>
#include <vector>

#include "ImportSvg/Color.h"
#include "ImportSvg/Geometry.h"
#include "ImportSvg/Transforms.h"

namespace KUV::ImportSvg {

struct GeometryRecord {
    enum Kind { Rectangle, Ellipse, Path } kind = Path;
    std::string name;
    double x = 0, y = 0, w = 0, h = 0; // a rectangle, or an ellipse's centre (x, y) and radii (w, h)
    PathModel path;
};

struct GradientStop {
    double position = 0;
    Rgba color;
};

struct BrushRecord {
    enum Kind { Solid, Linear, Radial } kind = Solid;
    std::string name;
    Rgba color;
    Pt start, end; // linear
    Pt center, originOffset; // radial
    double radiusX = 0, radiusY = 0;
    std::vector<GradientStop> stops;
    int extendMode = 0;
    double opacity = 1;
};

struct TransformRecord {
    std::string name;
    TransformStep step;
};

struct Command {
    enum Kind { Fill, Stroke, Push, Pop, Call } kind;
    std::string target; // geometry, transform or procedure
    std::string brush;
    double width = 0;
};

struct ProcedureRecord {
    std::string name;
    std::vector<Command> commands;
};

struct SceneModel {
    std::vector<GeometryRecord> geometries;
    std::vector<BrushRecord> brushes;
    std::vector<TransformRecord> transforms;
    std::vector<ProcedureRecord> procedures; // a callee always before its callers
    std::string mainProcedure;
};

} // namespace KUV::ImportSvg
