// Transforms: named affine matrices built from animated values.
#pragma once

#include <memory>

#include "Core/TaviskComponent.h"
#include "Core/ValueD.h"

namespace KUV {

class SceneReader;

// Reads one transform record.
std::shared_ptr<TransformResource> ReadTransform(SceneReader& reader);

} // namespace KUV
