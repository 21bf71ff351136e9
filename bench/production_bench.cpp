// The bundled show as the player runs it at 800x600: the load time, and the time of every
// 16-ms frame (update and draw) from start to end, summarised per section.
// Run from anywhere; the show is played from the repository root.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "Core/Factory.h"
#include "Core/ITavisk.h"
#include "Core/OwnedScene.h"
#include "Gfx/D2D1.h"

namespace {

constexpr const char* RootScene = "data\\tessik\\postprocess.tvs";
constexpr int Step = 16;
constexpr int ShowEnd = 154000;

struct Section {
    const char* name;
    int start;
};

// Section starts of the show, in ticks (the score holds the same table).
const Section Sections[] = { { "title", 0 }, { "dusk", 15360 }, { "rings", 30720 }, { "gallery", 61440 },
    { "swarm", 76800 }, { "reprise", 107520 }, { "credits", 122880 }, { "end", 153600 } };

using Clock = std::chrono::steady_clock;

// Processor time of the whole process: what a frame costs, whatever else the machine runs.
double CpuMilliseconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Stage {
    ComPtr<ID2D1Factory> factory;
    ComPtr<ID2D1ImageRenderTarget> target;
    KUV::OwnedScene scene;

    Stage()
    {
        std::filesystem::current_path(KUV_SOURCE_DIR);
        const D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties();
        D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, factory.ReleaseAndGetAddressOf());
        factory->CreateImageRenderTarget(properties, { 800, 600 }, target.ReleaseAndGetAddressOf());
        target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
    }

    bool Load()
    {
        const int status = KUV::LoadOwnedScene(*KUV::GetSceneFactory(), RootScene, 0, target.Get(), scene);
        if (status != 0) std::fprintf(stderr, "%s\n", KUV::GetSceneFactory()->GetErrorText().c_str());
        return status == 0;
    }

    bool Frame(int tick)
    {
        static const D2D1_COLOR_F white { 1.f, 1.f, 1.f, 1.f };
        const D2D1_MATRIX_3X2_F identity = D2D1::IdentityMatrix();
        if (scene->Update(tick) != KUV::ResultOk) return false;
        target->BeginDraw();
        target->Clear(&white);
        const bool drawn = scene->Render(&identity, nullptr) == KUV::ResultOk;
        return target->EndDraw() == S_OK && drawn;
    }
};

double Percentile(std::vector<double> times, double share)
{
    std::sort(times.begin(), times.end());
    return times[std::min(times.size() - 1, static_cast<size_t>(share * times.size()))];
}

// Wall-clock figures per section, with the processor-time median and worst beside them.
void Report(benchmark::State& state, const char* name, const std::vector<double>& times, const std::vector<double>& cpu)
{
    const double median = Percentile(times, 0.5), p95 = Percentile(times, 0.95), worst = Percentile(times, 1.0);
    std::fprintf(stderr,
        "%-8s frames %5zu  median %6.2f ms  p95 %6.2f ms  worst %6.2f ms   (processor: median %.2f, worst %.2f)\n",
        name, times.size(), median, p95, worst, Percentile(cpu, 0.5), Percentile(cpu, 1.0));
    state.counters[std::string(name) + "_median_ms"] = median;
    state.counters[std::string(name) + "_worst_ms"] = worst;
}

// Loads the show afresh each iteration; the first load of the process also warms the font set-up.
void LoadShow(benchmark::State& state)
{
    Stage stage;
    for (auto _ : state) {
        if (!stage.Load()) state.SkipWithError("the show does not load");
        stage.scene.reset();
    }
}
BENCHMARK(LoadShow)->Unit(benchmark::kMillisecond);

// Plays the whole show once per iteration on a freshly loaded scene, as the player would.
void PlayShow(benchmark::State& state)
{
    Stage stage;
    for (auto _ : state) {
        const auto loadStart = Clock::now();
        if (!stage.Load()) return state.SkipWithError("the show does not load");
        std::fprintf(stderr, "load     %.2f ms\n", Milliseconds(Clock::now() - loadStart));
        std::vector<double> all, section, cpuAll, cpuSection;
        size_t next = 1;
        for (int tick = 0; tick <= ShowEnd; tick += Step) {
            if (next < std::size(Sections) && tick >= Sections[next].start) {
                Report(state, Sections[next - 1].name, section, cpuSection);
                section.clear();
                cpuSection.clear();
                ++next;
            }
            const auto start = Clock::now();
            const double cpuStart = CpuMilliseconds();
            if (!stage.Frame(tick)) return state.SkipWithError("a frame failed");
            const double ms = Milliseconds(Clock::now() - start), cpu = CpuMilliseconds() - cpuStart;
            if (ms > 12.0)
                std::fprintf(stderr, "  slow frame at %d: %.2f ms (%.2f ms processor time)\n", tick, ms, cpu);
            section.push_back(ms);
            all.push_back(ms);
            cpuSection.push_back(cpu);
            cpuAll.push_back(cpu);
        }
        Report(state, Sections[next - 1].name, section, cpuSection);
        Report(state, "show", all, cpuAll);
    }
}
BENCHMARK(PlayShow)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
