// Frame time on 1, 2 and 4 drawing threads at 800x600, 1920x1080 and 3840x2160 for a
// heavy frame (300 gradient fills and strokes, together covering the canvas several
// times) and a light one (a clear and 15 small shapes), drawn straight on the layer.
#include <vector>

#include <benchmark/benchmark.h>

#include "ThreadTimes.h"

#include "Gfx/D2D1.h"
#include "Gfx/DrawingThreads.h"

namespace {

// The last two only for light frames: where handing bands to threads stops paying.
constexpr D2D1_SIZE_U Sizes[] = { { 800, 600 }, { 1920, 1080 }, { 3840, 2160 }, { 160, 120 }, { 320, 240 } };

struct Draw {
    ComPtr<ID2D1Geometry> geometry;
    int brush;
    float strokeWidth; // 0 fills
};

class Frame {
public:
    explicit Frame(const benchmark::State& state)
        : m_Size(Sizes[state.range(0)])
    {
        SetDrawingThreads(static_cast<unsigned>(state.range(1)));
        D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, m_Factory.ReleaseAndGetAddressOf());
        const D2D1_RENDER_TARGET_PROPERTIES p = D2D1::RenderTargetProperties();
        m_Factory->CreateImageRenderTarget(p, m_Size, m_Target.ReleaseAndGetAddressOf());
        m_Target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
        MakeBrushes();
    }

    // count shapes of about extent times the canvas side, spread over the canvas.
    void AddShapes(int count, float extent)
    {
        const float w = float(m_Size.width), h = float(m_Size.height);
        for (int i = 0; i < count; ++i) {
            const float x = w * float((i * 37) % 100) / 100.f, y = h * float((i * 61) % 100) / 100.f;
            const float rx = w * extent * (0.5f + float(i % 7) / 7.f), ry = h * extent * (0.5f + float(i % 5) / 5.f);
            const float stroke = i % 3 == 0 ? 2.f + float(i % 9) : 0.f;
            m_Draws.push_back({ Shape(i % 3, x, y, rx, ry), i % int(m_Brushes.size()), stroke });
        }
    }

    void Render()
    {
        const D2D1_COLOR_F white { 1, 1, 1, 1 };
        m_Target->BeginDraw();
        m_Target->Clear(&white);
        for (const Draw& d : m_Draws) {
            m_Target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
            if (d.strokeWidth > 0)
                m_Target->DrawGeometry(d.geometry.Get(), m_Brushes[d.brush].Get(), d.strokeWidth);
            else
                m_Target->FillGeometry(d.geometry.Get(), m_Brushes[d.brush].Get());
            m_Target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
        }
        m_Target->EndDraw();
    }

private:
    ComPtr<ID2D1Geometry> Shape(int kind, float x, float y, float rx, float ry)
    {
        if (kind == 0) {
            ID2D1EllipseGeometry* e = nullptr;
            m_Factory->CreateEllipseGeometry({ { x, y }, rx, ry }, &e);
            return ComPtr<ID2D1Geometry>(e);
        }
        if (kind == 1) {
            ID2D1RectangleGeometry* r = nullptr;
            m_Factory->CreateRectangleGeometry({ x - rx, y - ry, x + rx, y + ry }, &r);
            return ComPtr<ID2D1Geometry>(r);
        }
        ID2D1PathGeometry* p = nullptr;
        m_Factory->CreatePathGeometry(&p);
        ComPtr<ID2D1GeometrySink> sink;
        p->Open(sink.ReleaseAndGetAddressOf());
        sink->BeginFigure({ x, y - ry }, D2D1_FIGURE_BEGIN_FILLED);
        sink->AddBezier({ { x + rx, y - ry }, { x + rx, y + ry }, { x, y + ry } });
        sink->AddLine({ x - rx, y });
        sink->EndFigure(D2D1_FIGURE_END_CLOSED);
        sink->Close();
        return ComPtr<ID2D1Geometry>(p);
    }

    void MakeBrushes()
    {
        const float w = float(m_Size.width), h = float(m_Size.height);
        const D2D1_GRADIENT_STOP stops[]
            = { { 0.f, { 1, 0, 0, 0.9f } }, { 0.5f, { 0, 1, 0, 0.6f } }, { 1.f, { 0, 0, 1, 0.9f } } };
        const D2D1_BRUSH_PROPERTIES half { 0.5f, D2D1::IdentityMatrix() };
        for (D2D1_EXTEND_MODE mode : { D2D1_EXTEND_MODE_CLAMP, D2D1_EXTEND_MODE_WRAP, D2D1_EXTEND_MODE_MIRROR }) {
            ComPtr<ID2D1GradientStopCollection> collection;
            m_Target->CreateGradientStopCollection(stops, 3, D2D1_GAMMA_2_2, mode, collection.ReleaseAndGetAddressOf());
            ID2D1LinearGradientBrush* linear = nullptr;
            m_Target->CreateLinearGradientBrush({ { 0, 0 }, { w / 4, h / 3 } }, nullptr, collection.Get(), &linear);
            ID2D1RadialGradientBrush* radial = nullptr;
            m_Target->CreateRadialGradientBrush(
                { { w / 2, h / 2 }, { w / 10, 0 }, w / 5, h / 5 }, &half, collection.Get(), &radial);
            m_Brushes.emplace_back(linear);
            m_Brushes.emplace_back(radial);
        }
        ID2D1SolidColorBrush* solid = nullptr;
        m_Target->CreateSolidColorBrush({ 0.2f, 0.6f, 0.3f, 0.7f }, nullptr, &solid);
        m_Brushes.emplace_back(solid);
    }

    D2D1_SIZE_U m_Size;
    ComPtr<ID2D1Factory> m_Factory;
    ComPtr<ID2D1ImageRenderTarget> m_Target;
    std::vector<ComPtr<ID2D1Brush>> m_Brushes;
    std::vector<Draw> m_Draws;
};

void RunFrames(benchmark::State& state, int shapes, float extent)
{
    Frame frame(state);
    frame.AddShapes(shapes, extent);
    benchsupport::ThreadTimes times;
    for (auto _ : state)
        frame.Render();
    times.Report(state);
}

// 300 shapes a fifth of the canvas across on average: about five canvases of coverage.
void BM_HeavyFrame(benchmark::State& state)
{
    RunFrames(state, 300, 0.11f);
}

// A clear and 15 shapes of a fiftieth of the canvas.
void BM_LightFrame(benchmark::State& state)
{
    RunFrames(state, 15, 0.02f);
}

} // namespace

// Arguments: size (0 800x600, 1 1920x1080, 2 3840x2160), drawing threads.
BENCHMARK(BM_HeavyFrame)->ArgsProduct({ { 0, 1, 2 }, { 1, 2, 4 } })->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LightFrame)->ArgsProduct({ { 0, 1, 2, 3, 4 }, { 1, 2, 4 } })->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
