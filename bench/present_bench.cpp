// What showing a frame costs the player: FramePresenter::Present of a drawn
// 800x600 and 1920x1080 frame into an SDL window, for each renderer SDL offers.
// Needs a display (xvfb-run -s "-screen 0 1920x1080x24" bench/present_bench).
#include <string>

#include <SDL.h>
#include <benchmark/benchmark.h>

#include "Gfx/D2D1.h"
#include "Host/FramePresenter.h"

namespace {

constexpr D2D1_SIZE_U Sizes[] = { { 800, 600 }, { 1920, 1080 } };

// Arguments: size, renderer index (SDL_GetRenderDriverInfo).
void BM_Present(benchmark::State& state)
{
    const D2D1_SIZE_U size = Sizes[state.range(0)];
    SDL_RendererInfo info {};
    if (SDL_GetRenderDriverInfo(static_cast<int>(state.range(1)), &info) != 0) return state.SkipWithError("none");
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, info.name);
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SDL_Window* window = SDL_CreateWindow("present", 0, 0, int(size.width), int(size.height), SDL_WINDOW_SHOWN);
    ComPtr<ID2D1Factory> factory;
    ComPtr<ID2D1ImageRenderTarget> target;
    D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, factory.ReleaseAndGetAddressOf());
    const D2D1_RENDER_TARGET_PROPERTIES p = D2D1::RenderTargetProperties();
    factory->CreateImageRenderTarget(p, size, target.ReleaseAndGetAddressOf());
    const D2D1_COLOR_F sky { 0.2f, 0.3f, 0.6f, 1.f };
    target->BeginDraw();
    target->Clear(&sky);
    target->EndDraw();
    {
        KUV::Host::FramePresenter presenter;
        if (!window || !presenter.Create(window)) return state.SkipWithError(SDL_GetError());
        UINT32 stride = 0;
        const BYTE* pixels = target->GetPixels(&stride);
        for (auto _ : state)
            if (!presenter.Present(pixels, int(stride), int(size.width), int(size.height)))
                state.SkipWithError(presenter.Error().c_str());
        state.SetLabel(info.name);
    }
    SDL_DestroyWindow(window);
}

} // namespace

int main(int argc, char** argv)
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    for (int size = 0; size < 2; ++size)
        for (int renderer = 0; renderer < SDL_GetNumRenderDrivers(); ++renderer)
            benchmark::RegisterBenchmark("BM_Present", BM_Present)
                ->Args({ size, renderer })
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    SDL_Quit();
    return 0;
}
