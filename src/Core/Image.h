// Images: bitmaps decoded once, on first use.
#pragma once

#include <memory>

#include "Core/TaviskComponent.h"

namespace KUV {

class SceneReader;

class Image : public Resource<ID2D1Bitmap, CleanupNull> {
public:
    // Runs once per scene update.
    virtual void OnUpdate() = 0;
};

// Reads one image record ("BitmapFromFile{" path "}").
std::shared_ptr<Image> ReadImage(SceneReader& reader);

} // namespace KUV
