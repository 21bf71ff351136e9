// Any bytes as a root scene file: load, a few updates, one render and a hit test. Every
// input must end in a status; the sanitizers report anything else.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "Core/Factory.h"
#include "Core/ITavisk.h"
#include "Core/OwnedScene.h"
#include "FuzzWorkspace.h"
#include "Gfx/D2D1.h"

namespace {

// The canvas is smaller than the player's so that each input runs quickly.
constexpr UINT32 Width = 160;
constexpr UINT32 Height = 120;

struct Canvas {
    Canvas()
    {
        D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, factory.ReleaseAndGetAddressOf());
        const D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties();
        factory->CreateImageRenderTarget(properties, { Width, Height }, target.ReleaseAndGetAddressOf());
        target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
    }
    ComPtr<ID2D1Factory> factory;
    ComPtr<ID2D1ImageRenderTarget> target;
};

void Play(KUV::ITavisk& scene, ID2D1RenderTarget& target)
{
    for (int tick : { 0, 16, 250, 1000, 5000 })
        static_cast<void>(scene.Update(tick));
    const D2D1_COLOR_F white { 1, 1, 1, 1 };
    const D2D1_MATRIX_3X2_F identity = D2D1::IdentityMatrix();
    target.BeginDraw();
    target.Clear(&white);
    static_cast<void>(scene.Render(&identity, nullptr));
    static_cast<void>(target.EndDraw());
    bool hit = false;
    static_cast<void>(scene.HitTest(40, 30, &hit));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kuvfuzz::EnterWorkspace(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Canvas canvas;
    const std::string path = kuvfuzz::WriteInput("root.tvs", data, size);
    KUV::OwnedScene scene;
    KUV::Factory* factory = KUV::GetSceneFactory();
    if (!factory || KUV::LoadOwnedScene(*factory, path, 0, canvas.target.Get(), scene) != KUV::LoadOk) return 0;
    Play(*scene, *canvas.target.Get());
    return 0;
}
