// Plays a whole production as the player does, an update and a render every 16 ms of
// ticks for 154 s, twice, and reports the peak resident memory, its growth from 10 s to the
// end of each run (nothing may pile up frame after frame: within 2 MiB; the first run also
// decodes images and builds texts the first time their section shows them), and the work
// of the heaviest frame as a share of the render budget.
// Plays the bundled show from the repository root, or, with KUV_SOAK_SCENE set, that root
// scene from the current folder.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include <benchmark/benchmark.h>

#include "Core/Factory.h"
#include "Core/RenderWork.h"
#include "Core/Tavisk.h"
#include "Gfx/D2D1.h"
#include "Surface.h"

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

struct Heaviest {
    std::uint64_t work = 0;
    int tick = 0;
};

// One frame as the player draws it; false with the scene's text when it fails.
bool Frame(KUV::ITavisk& scene, const Surface& surface, int tick, Heaviest& heaviest, std::string& error)
{
    if (scene.Update(tick) != KUV::ResultOk) {
        error = "update at " + std::to_string(tick) + ": " + scene.GetErrorText();
        return false;
    }
    const int result = surface.Draw(scene);
    if (KUV::Tavisk::WorkOfLastRender() > heaviest.work) heaviest = { KUV::Tavisk::WorkOfLastRender(), tick };
    if (result == KUV::ResultOk) return true;
    error = "render at " + std::to_string(tick) + ": " + scene.GetErrorText();
    return false;
}

// One run of the show from start, its ticks offset by start: the resident memory after its
// first 10 s, or a negative value (with the benchmark skipped) when a frame fails.
double PlayShow(KUV::ITavisk& scene, const Surface& surface, int start, Heaviest& heaviest, benchmark::State& state)
{
    std::string error;
    double settled = 0.0;
    for (int tick = 0; tick <= RunLengthMs; tick += FrameMs) {
        if (!Frame(scene, surface, start + tick, heaviest, error)) {
            state.SkipWithError(error.c_str());
            return -1.0;
        }
        if (settled == 0.0 && tick >= SettledMs) settled = StatusKiB("VmRSS");
    }
    return settled;
}

void BM_Production(benchmark::State& state)
{
    const char* named = std::getenv("KUV_SOAK_SCENE");
    if (!named) std::filesystem::current_path(KUV_SOURCE_DIR);
    const std::string path = named ? named : "data\\tessik\\postprocess.tvs";
    for (auto _ : state) {
        Surface surface;
        const std::unique_ptr<KUV::ITavisk> scene = surface.Load(path, state);
        if (!scene) return;
        Heaviest heaviest;
        const double settled = PlayShow(*scene, surface, 0, heaviest, state);
        if (settled < 0) return;
        state.counters["growth_MiB"] = (StatusKiB("VmRSS") - settled) / 1024.0;
        // The same show once more: whatever its first run built on first use exists now, so
        // anything that still grows would grow with every run.
        const int again = RunLengthMs + FrameMs;
        static_cast<void>(scene->StartAnimation("MainAnim", again));
        const double settledAgain = PlayShow(*scene, surface, again, heaviest, state);
        if (settledAgain < 0) return;
        state.counters["second_run_growth_MiB"] = (StatusKiB("VmRSS") - settledAgain) / 1024.0;
        state.counters["peak_rss_MiB"] = StatusKiB("VmHWM") / 1024.0;
        state.counters["heaviest_work_share"] = double(heaviest.work) / double(KUV::RenderWork::Budget);
        state.counters["heaviest_tick"] = heaviest.tick;
    }
}

} // namespace

BENCHMARK(BM_Production)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_MAIN();
