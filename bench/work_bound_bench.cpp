// The cost of hostile leaves of a render against the work they are charged: each
// case draws one kind of command many times at 800x600 and reports the time per
// work unit. The largest ratio times the budget is the longest any render can take.
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

struct Case {
    const char* name;
    const char* geometry; // the record of "g"
    const char* command; // run count times
    int count;
    int commandsPerLine = 1;
};

const char* const Radial = "RadialGradientBrush{ center Point{ 400 300 } originOffset Point{ 0 0 } radiusX 400 "
                           "radiusY 300 GradientStopCollection{ noOfGradientStops 2 GradientStop{ 0 Color{ 1 0 0 1 } "
                           "} GradientStop{ 1 Color{ 0 0 1 1 } } extendMode 0 } opacity 0.8 }";

const char* const Linear = "LinearGradientBrush{ start Point{ 0 0 } end Point{ 800 600 } GradientStopCollection{ "
                           "noOfGradientStops 2 GradientStop{ 0 Color{ 1 0 0 1 } } GradientStop{ 1 Color{ 0 0 1 1 } "
                           "} extendMode 0 } opacity 1 }";

std::string Zigzag(int points)
{
    std::ostringstream r;
    r << "Path{ noOfFigures 1 Figure{ startPoint Point{ 10 10 } closed 1 noOfSegments " << points;
    for (int i = 0; i < points; ++i)
        r << " Line{ to Point{ " << 10 + i % 2 * 3 << " " << 10 + i * 0.01 << " } }";
    r << " } hitTest 0 }";
    return r.str();
}

const std::string ZigzagPath = Zigzag(20000);

const Case Cases[] = {
    { "TinyFill", "Rectangle{ x 10 y 10 w 1 h 1 hitTest 0 }", "Fill{ g solid }", 200000 },
    { "TinyDynamicFill", "Rectangle{ x $x y 10 w 1 h 1 hitTest 0 }", "Fill{ g solid }", 200000 },
    { "FullFillSolid", "Rectangle{ x 0 y 0 w 800 h 600 hitTest 0 }", "Fill{ g solid }", 1000 },
    { "FullFillRadial", "Rectangle{ x 0 y 0 w 800 h 600 hitTest 0 }", "Fill{ g radial }", 300 },
    { "FullEllipseRadial", "Ellipse{ center Point{ 400 300 } radiusX 500 radiusY 400 hitTest 0 }", "Fill{ g radial }",
        300 },
    { "WideStroke", "Ellipse{ center Point{ 400 300 } radiusX 10 radiusY 10 hitTest 0 }", "Stroke{ g radial 2000 }",
        200 },
    { "HugeStroke", "Ellipse{ center Point{ 400 300 } radiusX 10 radiusY 10 hitTest 0 }",
        "Stroke{ g solid 1000000000 }", 200 },
    { "LongThinStroke", "Ellipse{ center Point{ 400 300 } radiusX 390 radiusY 290 hitTest 0 }", "Stroke{ g solid 1 }",
        1500 },
    { "ManySegments", ZigzagPath.c_str(), "Fill{ g solid }", 200 },
    { "ManySegmentsStroke", ZigzagPath.c_str(), "Stroke{ g solid 3 }", 30 },
    { "FullBitmap", "Rectangle{ x 0 y 0 w 1 h 1 hitTest 0 }",
        "DrawImage{ source pic destRect Rect{ 0 0 800 600 } opacity 0.5 srcRect Rect{ 0 0 256 256 } }", 300 },
    { "PushPop", "Rectangle{ x 0 y 0 w 1 h 1 hitTest 0 }", "PushTransform{ t } PopTransform{ }", 300000, 2 },
    { "FullEllipseSolid", "Ellipse{ center Point{ 400 300 } radiusX 500 radiusY 400 hitTest 0 }", "Fill{ g solid }",
        1000 },
    { "FullFillLinear", "Rectangle{ x 0 y 0 w 800 h 600 hitTest 0 }", "Fill{ g linear }", 300 },
    { "ScaledUpEllipse", "Ellipse{ center Point{ 0 0 } radiusX 1 radiusY 1 hitTest 0 }",
        "PushTransform{ big } Fill{ g solid } Stroke{ g solid 0.001 } PopTransform{ }", 300, 4 },
    { "ScaledMaskRadial", "Rectangle{ x 0 y 0 w 1 h 1 hitTest 0 }",
        "PushTransform{ wide } Fill{ g radial } PopTransform{ }", 300, 3 },
    { "Text", "Text{ text Velorine_Velorine_Velorine font Liberation_Sans size 40 x 0 y 0 w 800 h 600 hitTest 0 }",
        "Fill{ g solid } Stroke{ g solid 2 }", 1000, 2 },
};

// A 256 x 256 picture for the bitmap case, drawn and saved by the layer itself.
std::string WritePicture(const std::filesystem::path& folder)
{
    Surface picture;
    ComPtr<ID2D1ImageRenderTarget> small;
    const D2D1_RENDER_TARGET_PROPERTIES p = D2D1::RenderTargetProperties();
    picture.factory->CreateImageRenderTarget(p, { 256, 256 }, small.ReleaseAndGetAddressOf());
    const D2D1_COLOR_F color { 0.3f, 0.5f, 0.9f, 0.7f };
    small->BeginDraw();
    small->Clear(&color);
    small->EndDraw();
    const std::string path = (folder / "kuv_work_bound.png").string();
    small->SaveToPng(path.c_str());
    return path;
}

std::string SceneText(const Case& c, const std::string& picture)
{
    std::ostringstream t;
    t << "Tavisk{\nnoOfGeometries 1\ng " << c.geometry << "\nnoOfBrushes 3\nsolid SolidColorBrush{ Color{ 0.2 0.6 0.3 "
      << "1 } opacity 1 }\nradial " << Radial << "\nlinear " << Linear << "\nnoOfImages 1\npic BitmapFromFile{ "
      << picture << " }\n"
      << "noOfTransforms 3\nt Translation{ x 1 y 1 }\nbig Scale{ x 100000 y 100000 }\nwide Scale{ x 800 y 600 "
         "}\nnoOfChildKuvs 0\nnoOfExecutables 1\ndraw Procedure{ "
      << "noOfCommands " << c.count * c.commandsPerLine << "\n";
    for (int i = 0; i < c.count; ++i)
        t << c.command << "\n";
    t << "}\nnoOfControllers 0\nnoOfAnimations 1\nMainAnim Animation{ renderFunction draw controller null "
         "transitionTarget null }\n}\n";
    return t.str();
}

void BM_Leaf(benchmark::State& state, const Case& c)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::string path = (folder / "kuv_work_bound.tvs").string();
    std::ofstream(path) << SceneText(c, WritePicture(folder));
    Surface surface;
    const std::unique_ptr<KUV::ITavisk> scene = surface.Load(path, state);
    if (!scene) return;
    for (auto _ : state)
        if (surface.Draw(*scene) != KUV::ResultOk) state.SkipWithError(scene->GetErrorText().c_str());
    const double units = double(KUV::Tavisk::WorkOfLastRender());
    state.counters["units"] = units;
    state.counters["budget_share"] = units / double(KUV::RenderWork::Budget);
    // Seconds per unit times the budget: how long a render of only this leaf may take.
    state.counters["s_at_budget"] = benchmark::Counter(units / double(KUV::RenderWork::Budget),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

int main(int argc, char** argv)
{
    for (const Case& c : Cases)
        benchmark::RegisterBenchmark(c.name, BM_Leaf, c)->Unit(benchmark::kMillisecond)->MinTime(0.5);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
