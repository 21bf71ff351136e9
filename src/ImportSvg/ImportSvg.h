// The importer's entry: SVG text in, scene model out.
#pragma once

#include <optional>
#include <string>

#include "ImportSvg/Diagnostics.h"
#include "ImportSvg/SceneModel.h"

namespace KUV::ImportSvg {

struct ImportOptions {
    std::optional<double> width; // the drawing's width in DIPs; else it is fitted into the scene
    std::string prefix; // put before every name
};

// The scene's size without --width.
constexpr double SceneWidth = 800, SceneHeight = 600;

// Throws ImportError for input it refuses; warnings go to diagnostics.
SceneModel ImportDrawing(const std::string& svgText, const ImportOptions& options, Diagnostics& diagnostics);

} // namespace KUV::ImportSvg
