// Paints: colours and the two gradients, with href inheritance, both unit systems,
// gradientTransform and spread methods, as the brushes a scene has.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "ImportSvg/Diagnostics.h"
#include "ImportSvg/SceneModel.h"
#include "ImportSvg/Style.h"
#include "ImportSvg/XmlTree.h"

namespace KUV::ImportSvg {

struct PaintSpec {
    enum Kind { None, Color, Gradient } kind = None;
    Rgba color;
    const Element* gradient = nullptr;
    std::optional<Rgba> fallback; // of a gradient that turns out unusable
};

using IdMap = std::map<std::string, const Element*>;

// Resolves a fill or stroke value ("none", a colour, currentColor, url(#id) with a fallback).
// Unsupported paint servers warn against line and paint nothing.
PaintSpec ResolvePaint(
    const std::string& value, const Properties& style, const IdMap& ids, int line, Diagnostics& diagnostics);

// A brush in some space and the map from that space to user space (identity when the brush
// is expressed in user space directly).
struct PlacedBrush {
    BrushRecord brush;
    Matrix brushToUser;
    bool visible = true; // false when the paint draws nothing (no stops, degenerate box)
};

struct BrushContext {
    const IdMap& ids;
    const StyleSheet& sheet;
    Box viewport; // (0, 0) to the viewport's size: what user-space percentages refer to
    int line;
    Diagnostics& diagnostics;
};

// The brush for a paint over an element whose user-space bounds are bbox; opacity multiplies in.
PlacedBrush MakeBrush(const PaintSpec& paint, const Box& bbox, double opacity, const BrushContext& context);

} // namespace KUV::ImportSvg
