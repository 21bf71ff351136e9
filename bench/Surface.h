// The offscreen target the benchmarks draw into, as the player's: a drawing factory and an
// image target at 96 DPI resting in aliased mode; scenes loaded onto it and frames drawn.
#pragma once

#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "Core/Factory.h"
#include "Core/ITavisk.h"
#include "Core/OwnedScene.h"
#include "Gfx/D2D1.h"

struct Surface {
    explicit Surface(UINT32 width = 800, UINT32 height = 600)
    {
        D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, factory.ReleaseAndGetAddressOf());
        const D2D1_RENDER_TARGET_PROPERTIES p = D2D1::RenderTargetProperties();
        factory->CreateImageRenderTarget(p, { width, height }, target.ReleaseAndGetAddressOf());
        target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
    }

    // The scene at path loaded at tick 0; null, with the benchmark skipped, when the load fails.
    std::unique_ptr<KUV::ITavisk> Load(const std::string& path, benchmark::State& state) const
    {
        KUV::OwnedScene loaded;
        if (KUV::LoadOwnedScene(*KUV::GetSceneFactory(), path, 0, target.Get(), loaded) == KUV::LoadOk) return loaded;
        state.SkipWithError(KUV::GetSceneFactory()->GetErrorText().c_str());
        return nullptr;
    }

    // One frame on white, as the player draws it; the render's result.
    int Draw(KUV::ITavisk& scene) const
    {
        const D2D1_COLOR_F white { 1, 1, 1, 1 };
        const D2D1_MATRIX_3X2_F identity = D2D1::IdentityMatrix();
        target->BeginDraw();
        target->Clear(&white);
        const int result = scene.Render(&identity, nullptr);
        target->EndDraw();
        return result;
    }

    ComPtr<ID2D1Factory> factory;
    ComPtr<ID2D1ImageRenderTarget> target;
};
