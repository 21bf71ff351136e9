// The engine's loader as a host sees it.
#pragma once

#include <cstdint>
#include <string>

#include "Core/ITavisk.h"
#include "Gfx/WIC.h"

namespace KUV {

// Load statuses.
enum LoadStatus : int {
    LoadOk = 0,
    LoadLogicError = 1,
    LoadOutOfMemory = 2,
    LoadRuntimeError = 4,
};

class IFactory {
public:
    virtual ~IFactory() = default;
    // Loads the scene file at path (written Windows-style or not) bound to renderTarget,
    // starting its "MainAnim" at tick. On success *scene receives a new scene owned by the
    // caller; otherwise *scene is null and GetErrorText tells why.
    virtual int LoadTavisk(
        const std::string& path, std::uint32_t tick, ID2D1RenderTarget* renderTarget, ITavisk** scene)
        = 0;
    // The text of the last failed load.
    virtual const std::string& GetErrorText() = 0;
    virtual IWICImagingFactory* GetImagingFactory() = 0;
};

class Factory;

// The process's one factory, created on first call; null when its construction failed.
Factory* GetSceneFactory();

} // namespace KUV
