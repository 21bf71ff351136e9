// The transform attribute, and any affine map as the few transform records a scene has:
// translations, rotations and scalings about the origin.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "ImportSvg/Geometry.h"

namespace KUV::ImportSvg {

// Empty when the list is malformed (the attribute is then ignored, as browsers do).
std::optional<Matrix> ParseTransform(std::string_view text);

struct TransformStep {
    enum Kind { Translation, Rotation, Scale } kind;
    double x = 0, y = 0; // the rotation's angle in degrees is x
};

// Steps whose pushes, first to last, compose m exactly: a translation, a rotation, a scaling
// and a rotation, each left out when it does nothing.
std::vector<TransformStep> Decompose(const Matrix& m);
// The map the steps compose (for checking a decomposition).
Matrix Compose(const std::vector<TransformStep>& steps);

} // namespace KUV::ImportSvg
