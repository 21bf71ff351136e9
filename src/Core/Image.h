// Images: bitmaps decoded once, on first use.
#pragma once

#include <memory>

#include "Core/TaviskComponent.h"

namespace KUV {

class Factory;
class SceneReader;

class Image : public Resource<ID2D1Bitmap, CleanupNull> {
public:
    // Runs once per scene update. The scene drives every image through it each frame so that an
    // image kind that changes over time has its place; a decoded file (the one kind) has nothing to do.
    virtual void OnUpdate() = 0;

    ID2D1RenderTarget* m_RT = nullptr; // set by the loader
    Factory* m_Loader = nullptr; // set by the loader: gives the imaging factory
};

// Reads one image record ("BitmapFromFile{" path "}").
std::shared_ptr<Image> ReadImage(SceneReader& reader);

} // namespace KUV
