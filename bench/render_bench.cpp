// Frame time of a scene of 200 static and 50 dynamic shapes laid out at 800x600
// (scaled to fill 1920x1080 and 3840x2160 too), drawn by the engine and drawn
// straight on the drawing layer, on 1, 2 and 4 drawing threads; the difference
// between the two is what the engine adds.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "ThreadTimes.h"

#include "Core/Factory.h"
#include "Core/ITavisk.h"
#include "Core/OwnedScene.h"
#include "Core/RenderWork.h"
#include "Core/Tavisk.h"
#include "Gfx/D2D1.h"
#include "Gfx/DrawingThreads.h"

namespace {

constexpr int ShapeCount = 250;
constexpr int DynamicCount = 50;
constexpr int Width = 800;
constexpr int Height = 600;

struct Shape {
    int kind; // 0 rectangle, 1 ellipse, 2 path (a triangle)
    int brush; // 0 solid, 1 linear, 2 radial
    bool stroke; // stroke instead of fill
    bool dynamic;
    float x, y, size;
};

std::vector<Shape> MakeShapes()
{
    std::vector<Shape> shapes;
    for (int i = 0; i < ShapeCount; ++i) {
        const float x = static_cast<float>((i * 97) % (Width - 60) + 10);
        const float y = static_cast<float>((i * 53) % (Height - 60) + 10);
        shapes.push_back({ i % 3, (i / 3) % 3, i % 4 == 0, i >= ShapeCount - DynamicCount, x, y, 20.f + i % 30 });
    }
    return shapes;
}

// The x offset of a dynamic shape in a frame.
float Offset(int frame)
{
    return static_cast<float>(std::sin(frame * 0.05) * 20.0);
}

std::string GeometryRecord(const Shape& s, int index)
{
    std::ostringstream r;
    const std::string x = s.dynamic ? "$x" + std::to_string(index) : std::to_string(s.x);
    if (s.kind == 0) r << "Rectangle{ x " << x << " y " << s.y << " w " << s.size << " h " << s.size;
    if (s.kind == 1)
        r << "Ellipse{ center Point{ " << x << " " << s.y << " } radiusX " << s.size / 2 << " radiusY " << s.size / 3;
    if (s.kind == 2)
        r << "Path{ noOfFigures 1 Figure{ startPoint Point{ " << x << " " << s.y << " } closed 1 noOfSegments 2"
          << " Line{ to Point{ " << s.x + s.size << " " << s.y << " } }"
          << " Line{ to Point{ " << s.x << " " << s.y + s.size << " } } }";
    r << " hitTest 0 }";
    return r.str();
}

const char* const Stops = "GradientStopCollection{ noOfGradientStops 2 GradientStop{ 0 Color{ 1 0 0 1 } }"
                          " GradientStop{ 1 Color{ 0 0 1 1 } } extendMode 0 }";

std::string BrushRecord(int kind)
{
    if (kind == 0) return "SolidColorBrush{ Color{ 0.2 0.6 0.3 1 } opacity 1 }";
    if (kind == 1)
        return std::string("LinearGradientBrush{ start Point{ 0 0 } end Point{ 800 600 } ") + Stops + " opacity 1 }";
    return std::string(
               "RadialGradientBrush{ center Point{ 400 300 } originOffset Point{ 0 0 } radiusX 400 radiusY 300 ")
        + Stops + " opacity 0.8 }";
}

std::string SceneText(const std::vector<Shape>& shapes)
{
    std::ostringstream t;
    t << "Tavisk{\nnoOfGeometries " << shapes.size() << "\n";
    for (size_t i = 0; i < shapes.size(); ++i)
        t << "g" << i << " " << GeometryRecord(shapes[i], int(i)) << "\n";
    t << "noOfBrushes 3\n";
    for (int b = 0; b < 3; ++b)
        t << "b" << b << " " << BrushRecord(b) << "\n";
    t << "noOfImages 0\nnoOfTransforms 0\nnoOfChildKuvs 0\nnoOfExecutables 1\ndraw Procedure{ noOfCommands "
      << shapes.size() << "\n";
    for (size_t i = 0; i < shapes.size(); ++i)
        t << (shapes[i].stroke ? "Stroke{ g" : "Fill{ g") << i << " b" << shapes[i].brush
          << (shapes[i].stroke ? " 2" : "") << " }\n";
    t << "}\nnoOfControllers 0\nnoOfAnimations 1\nMainAnim Animation{ renderFunction draw controller null "
         "transitionTarget null }\n}\n";
    return t.str();
}

constexpr D2D1_SIZE_U Sizes[] = { { 800, 600 }, { 1920, 1080 }, { 3840, 2160 } };

// A target of the size the benchmark's first argument names, drawn on as many threads as
// its second says; scale stretches the 800x600 layout over it.
struct Surface {
    explicit Surface(const benchmark::State& state)
    {
        const D2D1_SIZE_U size = Sizes[state.range(0)];
        SetDrawingThreads(static_cast<unsigned>(state.range(1)));
        D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, factory.ReleaseAndGetAddressOf());
        const D2D1_RENDER_TARGET_PROPERTIES p = D2D1::RenderTargetProperties();
        factory->CreateImageRenderTarget(p, size, target.ReleaseAndGetAddressOf());
        target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
        scale = { float(size.width) / Width, 0.f, 0.f, float(size.height) / Height, 0.f, 0.f };
    }
    ComPtr<ID2D1Factory> factory;
    ComPtr<ID2D1ImageRenderTarget> target;
    D2D1_MATRIX_3X2_F scale;
};

void BM_EngineFrame(benchmark::State& state)
{
    const std::vector<Shape> shapes = MakeShapes();
    const std::string path = (std::filesystem::temp_directory_path() / "kuv_render_bench.tvs").string();
    std::ofstream(path) << SceneText(shapes);
    Surface surface(state);
    KUV::OwnedScene scene;
    if (KUV::LoadOwnedScene(*KUV::GetSceneFactory(), path, 0, surface.target.Get(), scene) != 0) {
        state.SkipWithError(KUV::GetSceneFactory()->GetErrorText().c_str());
        return;
    }
    const D2D1_COLOR_F white { 1, 1, 1, 1 };
    int frame = 0;
    benchsupport::ThreadTimes times;
    for (auto _ : state) {
        for (int i = ShapeCount - DynamicCount; i < ShapeCount; ++i)
            scene->WriteVariable("$x" + std::to_string(i), shapes[i].x + Offset(frame));
        scene->Update(frame * 16);
        surface.target->BeginDraw();
        surface.target->Clear(&white);
        scene->Render(&surface.scale, nullptr);
        surface.target->EndDraw();
        ++frame;
    }
    times.Report(state);
    state.counters["work_share"] = double(KUV::Tavisk::WorkOfLastRender()) / double(KUV::RenderWork::Budget);
}

// The same drawing issued straight on the layer: static objects built once,
// dynamic geometries rebuilt every frame, the same antialias switching.
class DirectScene {
public:
    DirectScene(ID2D1Factory* factory, ID2D1RenderTarget* target, std::vector<Shape> shapes)
        : m_Factory(factory)
        , m_Target(target)
        , m_Shapes(std::move(shapes))
    {
        MakeBrushes();
        for (size_t i = 0; i < m_Shapes.size(); ++i)
            m_Geometries.push_back(Build(m_Shapes[i], m_Shapes[i].x));
    }

    void Draw(int frame)
    {
        for (size_t i = 0; i < m_Shapes.size(); ++i) {
            const Shape& s = m_Shapes[i];
            ComPtr<ID2D1Geometry> g = s.dynamic ? Build(s, s.x + Offset(frame)) : m_Geometries[i];
            m_Target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
            if (s.stroke)
                m_Target->DrawGeometry(g.Get(), m_Brushes[s.brush].Get(), 2.f);
            else
                m_Target->FillGeometry(g.Get(), m_Brushes[s.brush].Get());
            m_Target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
        }
    }

private:
    void MakeBrushes()
    {
        const D2D1_GRADIENT_STOP stops[] = { { 0.f, { 1, 0, 0, 1 } }, { 1.f, { 0, 0, 1, 1 } } };
        ComPtr<ID2D1GradientStopCollection> collection;
        m_Target->CreateGradientStopCollection(
            stops, 2, D2D1_GAMMA_2_2, D2D1_EXTEND_MODE_CLAMP, collection.ReleaseAndGetAddressOf());
        const D2D1_BRUSH_PROPERTIES opaque { 1.f, D2D1::IdentityMatrix() },
            translucent { 0.8f, D2D1::IdentityMatrix() };
        ID2D1SolidColorBrush* solid = nullptr;
        m_Target->CreateSolidColorBrush({ 0.2f, 0.6f, 0.3f, 1.f }, &opaque, &solid);
        ID2D1LinearGradientBrush* linear = nullptr;
        m_Target->CreateLinearGradientBrush({ { 0, 0 }, { 800, 600 } }, &opaque, collection.Get(), &linear);
        ID2D1RadialGradientBrush* radial = nullptr;
        m_Target->CreateRadialGradientBrush(
            { { 400, 300 }, { 0, 0 }, 400, 300 }, &translucent, collection.Get(), &radial);
        m_Brushes = { ComPtr<ID2D1Brush>(solid), ComPtr<ID2D1Brush>(linear), ComPtr<ID2D1Brush>(radial) };
    }

    ComPtr<ID2D1Geometry> Build(const Shape& s, float x)
    {
        if (s.kind == 0) {
            ID2D1RectangleGeometry* r = nullptr;
            m_Factory->CreateRectangleGeometry({ x, s.y, x + s.size, s.y + s.size }, &r);
            return ComPtr<ID2D1Geometry>(r);
        }
        if (s.kind == 1) {
            ID2D1EllipseGeometry* e = nullptr;
            m_Factory->CreateEllipseGeometry({ { x, s.y }, s.size / 2, s.size / 3 }, &e);
            return ComPtr<ID2D1Geometry>(e);
        }
        ID2D1PathGeometry* p = nullptr;
        m_Factory->CreatePathGeometry(&p);
        ComPtr<ID2D1GeometrySink> sink;
        p->Open(sink.ReleaseAndGetAddressOf());
        sink->SetFillMode(D2D1_FILL_MODE_WINDING);
        sink->BeginFigure({ x, s.y }, D2D1_FIGURE_BEGIN_FILLED);
        sink->AddLine({ s.x + s.size, s.y });
        sink->AddLine({ s.x, s.y + s.size });
        sink->EndFigure(D2D1_FIGURE_END_CLOSED);
        sink->Close();
        return ComPtr<ID2D1Geometry>(p);
    }

    ID2D1Factory* m_Factory;
    ID2D1RenderTarget* m_Target;
    std::vector<Shape> m_Shapes;
    std::vector<ComPtr<ID2D1Geometry>> m_Geometries;
    std::vector<ComPtr<ID2D1Brush>> m_Brushes;
};

void BM_DirectFrame(benchmark::State& state)
{
    Surface surface(state);
    DirectScene scene(surface.factory.Get(), surface.target.Get(), MakeShapes());
    const D2D1_COLOR_F white { 1, 1, 1, 1 };
    int frame = 0;
    benchsupport::ThreadTimes times;
    for (auto _ : state) {
        surface.target->BeginDraw();
        surface.target->Clear(&white);
        surface.target->SetTransform(surface.scale);
        scene.Draw(frame++);
        surface.target->EndDraw();
    }
    times.Report(state);
}

} // namespace

// Arguments: size (0 800x600, 1 1920x1080, 2 3840x2160), drawing threads.
BENCHMARK(BM_EngineFrame)->ArgsProduct({ { 0, 1, 2 }, { 1, 2, 4 } })->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DirectFrame)->ArgsProduct({ { 0, 1, 2 }, { 1, 2, 4 } })->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
