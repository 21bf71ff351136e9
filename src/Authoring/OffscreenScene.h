// A scene played offscreen the way the authoring tools look at it: loaded at tick 0 onto an
// image target of its own, updated at the ticks the tool chooses and drawn on white. Each step
// gives tvs-render's exit code for its failure (0 when it works) and says why on err.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "Core/OwnedScene.h"
#include "Gfx/Com.h"
#include "Gfx/D2D1.h"

namespace KUV::Authoring {

class OffscreenScene {
public:
    // The width x height target; 1 when it cannot be made.
    int CreateTarget(int width, int height, std::ostream& err);
    // Loads the scene at tick 0 (its production's folders found from its path) in place of the
    // last one; 1 without a factory, else the load's status.
    int Load(const std::string& scene, std::ostream& err);
    // 10 + the scene's result when the update fails.
    int Update(std::int64_t tick, std::ostream& err);
    // Draws the frame; 10 + the scene's result, or 1 when the target fails.
    int Draw(std::ostream& err);
    // 10 + the scene's result when the hit test fails.
    int HitTest(int x, int y, bool& hit, std::ostream& err);

    // The drawn frame: premultiplied B8G8R8A8 rows of stride bytes.
    const unsigned char* Pixels(unsigned& stride) const;
    ID2D1ImageRenderTarget& Target() const { return *m_Target.Get(); }
    ITavisk& Scene() const { return *m_Scene; }

private:
    int SceneFailure(int result, std::ostream& err) const;

    ComPtr<ID2D1Factory> m_D2DFactory;
    ComPtr<ID2D1ImageRenderTarget> m_Target;
    OwnedScene m_Scene;
};

} // namespace KUV::Authoring
