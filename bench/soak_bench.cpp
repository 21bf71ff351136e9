// Plays a whole production as the player does, an update and a render every 16 ms of
// ticks for 154 s, and reports the peak resident memory, its growth from 10 s to the end
// (which must stay within 2 MiB: nothing may pile up frame after frame), and the work of
// the heaviest frame as a share of the render budget.
// Runs in the production's folder: the root scene is data/tessik/postprocess.tvs there,
// or the file named by KUV_SOAK_SCENE.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include <benchmark/benchmark.h>

#include "Core/Factory.h"
#include "Core/RenderWork.h"
#include "Core/Tavisk.h"
#include "Gfx/D2D1.h"

namespace {

constexpr int RunLengthMs = 154'000;
constexpr int FrameMs = 16;
constexpr int SettledMs = 10'000;

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM").
double StatusKiB(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1));
    return 0.0;
}

struct Surface {
    Surface()
    {
        D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, factory.ReleaseAndGetAddressOf());
        const D2D1_RENDER_TARGET_PROPERTIES p { { DXGI_FORMAT_UNKNOWN, D2D1_ALPHA_MODE_PREMULTIPLIED }, 96.f, 96.f };
        factory->CreateImageRenderTarget(p, { 800, 600 }, target.ReleaseAndGetAddressOf());
        target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
    }
    ComPtr<ID2D1Factory> factory;
    ComPtr<ID2D1ImageRenderTarget> target;
};

struct Heaviest {
    std::uint64_t work = 0;
    int tick = 0;
};

// One frame as the player draws it; false with the scene's text when it fails.
bool Frame(KUV::ITavisk& scene, ID2D1RenderTarget& target, int tick, Heaviest& heaviest, std::string& error)
{
    const D2D1_COLOR_F white { 1, 1, 1, 1 };
    const D2D1_MATRIX_3X2_F identity = D2D1::IdentityMatrix();
    if (scene.Update(tick) != KUV::ResultOk) {
        error = "update at " + std::to_string(tick) + ": " + scene.GetErrorText();
        return false;
    }
    target.BeginDraw();
    target.Clear(&white);
    const int result = scene.Render(&identity, nullptr);
    target.EndDraw();
    if (KUV::Tavisk::WorkOfLastRender() > heaviest.work) heaviest = { KUV::Tavisk::WorkOfLastRender(), tick };
    if (result == KUV::ResultOk) return true;
    error = "render at " + std::to_string(tick) + ": " + scene.GetErrorText();
    return false;
}

void BM_Production(benchmark::State& state)
{
    const char* named = std::getenv("KUV_SOAK_SCENE");
    const std::string path = named ? named : "data\\tessik\\postprocess.tvs";
    for (auto _ : state) {
        Surface surface;
        KUV::ITavisk* loaded = nullptr;
        if (KUV::GetSceneFactory()->LoadTavisk(path, 0, surface.target.Get(), &loaded) != KUV::LoadOk) {
            state.SkipWithError(KUV::GetSceneFactory()->GetErrorText().c_str());
            return;
        }
        const std::unique_ptr<KUV::ITavisk> scene(loaded);
        Heaviest heaviest;
        std::string error;
        double settled = 0.0;
        for (int tick = 0; tick <= RunLengthMs; tick += FrameMs) {
            if (!Frame(*scene, *surface.target.Get(), tick, heaviest, error)) {
                state.SkipWithError(error.c_str());
                return;
            }
            if (settled == 0.0 && tick >= SettledMs) settled = StatusKiB("VmRSS");
        }
        state.counters["peak_rss_MiB"] = StatusKiB("VmHWM") / 1024.0;
        state.counters["growth_MiB"] = (StatusKiB("VmRSS") - settled) / 1024.0;
        state.counters["heaviest_work_share"] = double(heaviest.work) / double(KUV::RenderWork::Budget);
        state.counters["heaviest_tick"] = heaviest.tick;
        state.counters["frames"] = RunLengthMs / FrameMs + 1;
    }
}

} // namespace

BENCHMARK(BM_Production)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_MAIN();
