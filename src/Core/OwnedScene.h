// How hosts and tools hold a scene the factory loaded for them: one owner, from the moment
// LoadTavisk hands the scene out, whatever the load's status.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Core/IFactory.h"
#include "Core/ITavisk.h"

namespace KUV {

using OwnedScene = std::unique_ptr<ITavisk>;

// LoadTavisk into scene; the load's status, and scene null when it failed.
inline int LoadOwnedScene(
    IFactory& factory, const std::string& path, std::uint32_t tick, ID2D1RenderTarget* renderTarget, OwnedScene& scene)
{
    ITavisk* loaded = nullptr;
    const int status = factory.LoadTavisk(path, tick, renderTarget, &loaded);
    scene.reset(loaded);
    return status;
}

} // namespace KUV
