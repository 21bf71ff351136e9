#include "Render/TvsRender.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "Core/Factory.h"
#include "Core/Tavisk.h"
#include "Gfx/DrawingThreads.h"
#include "Render/FrameTimings.h"
#include "Render/VideoExport.h"

namespace KUV::Render {
namespace {

// The ticks to visit: 0, step, 2*step, ... up to the last tick, merged with the --at ticks.
class TickSchedule {
public:
    explicit TickSchedule(const RenderOptions& o)
        : m_Step(o.step)
        , m_Last(o.until ? *o.until : (o.at.empty() ? 0 : o.at.back()))
        , m_At(o.at)
    {
    }

    bool Next(std::int64_t& tick)
    {
        const bool stepLeft = m_Stepped <= m_Last;
        const bool atLeft = m_AtIndex < m_At.size();
        if (!stepLeft && !atLeft) return false;
        tick = !atLeft || (stepLeft && m_Stepped < m_At[m_AtIndex]) ? m_Stepped : m_At[m_AtIndex];
        if (stepLeft && m_Stepped == tick) m_Stepped += m_Step;
        if (atLeft && m_At[m_AtIndex] == tick) ++m_AtIndex;
        return true;
    }

    bool IsAt(std::int64_t tick) const { return std::binary_search(m_At.begin(), m_At.end(), tick); }

private:
    std::int64_t m_Step;
    std::int64_t m_Last;
    std::int64_t m_Stepped = 0;
    const std::vector<std::int64_t>& m_At;
    size_t m_AtIndex = 0;
};

class Renderer {
public:
    Renderer(const RenderOptions& options, std::ostream& out, std::ostream& err, const FrameSink& sink)
        : m_Options(options)
        , m_Out(out)
        , m_Err(err)
        , m_Sink(sink)
    {
    }

    int Run()
    {
        if (int code = CreateTarget(); code != ExitOk) return code;
        const Stopwatch load;
        if (int code = Load(); code != ExitOk) return code;
        m_Timings.SetLoad(load.Milliseconds());
        const int code = Visits();
        if (m_Options.timings) m_Timings.Print(m_Out, GetDrawingThreads());
        return code;
    }

private:
    int CreateTarget()
    {
        const D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties();
        const D2D1_SIZE_U size { static_cast<UINT32>(m_Options.width), static_cast<UINT32>(m_Options.height) };
        if (D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, m_D2DFactory.ReleaseAndGetAddressOf()) != S_OK
            || m_D2DFactory->CreateImageRenderTarget(properties, size, m_Target.ReleaseAndGetAddressOf()) != S_OK) {
            m_Err << "unable to create render target\n";
            return 1;
        }
        m_Target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
        return ExitOk;
    }

    int Load()
    {
        Factory* factory = GetSceneFactory();
        if (!factory) {
            m_Err << "Unable to create KUV Factory\n";
            return 1;
        }
        ITavisk* scene = nullptr;
        const int status = factory->LoadTavisk(m_Options.scene, 0, m_Target.Get(), &scene);
        m_Scene.reset(scene);
        if (status != LoadOk) m_Err << factory->GetErrorText() << "\n";
        return status;
    }

    int SceneFailure(int result)
    {
        m_Err << m_Scene->GetErrorText() << "\n";
        return 10 + result;
    }

    int Visits()
    {
        TickSchedule schedule(m_Options);
        for (std::int64_t tick = 0; schedule.Next(tick);) {
            if (int code = Visit(tick, schedule.IsAt(tick)); code != ExitOk) return code;
        }
        return ExitOk;
    }

    int Visit(std::int64_t tick, bool at)
    {
        const Stopwatch update;
        if (int result = m_Scene->Update(static_cast<int>(tick)); result != ResultOk) return SceneFailure(result);
        m_UpdateMs = update.Milliseconds();
        if (!at) return ExitOk;
        if (m_Options.vars) PrintVariables(tick);
        if (int code = Draw(tick); code != ExitOk) return code;
        return m_Options.hit ? PrintHit(tick) : ExitOk;
    }

    void PrintVariables(std::int64_t tick)
    {
        m_Out << "@" << tick;
        if (const auto* tavisk = dynamic_cast<const Tavisk*>(m_Scene.get()))
            for (const auto& [name, value] : tavisk->Variables())
                m_Out << " " << name << "=" << value;
        m_Out << "\n";
    }

    int Draw(std::int64_t tick)
    {
        static const D2D1_COLOR_F white { 1.f, 1.f, 1.f, 1.f };
        const D2D1_MATRIX_3X2_F identity = D2D1::IdentityMatrix();
        const Stopwatch render;
        m_Target->BeginDraw();
        m_Target->Clear(&white);
        if (int result = m_Scene->Render(&identity, nullptr); result != ResultOk) return SceneFailure(result);
        if (m_Target->EndDraw() != S_OK) {
            m_Err << "Rendering Error\n";
            return 1;
        }
        m_Timings.Add(tick, m_UpdateMs, render.Milliseconds());
        if (int code = m_Options.outDir.empty() ? ExitOk : WriteFrame(tick); code != ExitOk) return code;
        return m_Sink ? PassFrame(tick) : ExitOk;
    }

    int PassFrame(std::int64_t tick)
    {
        UINT32 stride = 0;
        const BYTE* pixels = m_Target->GetPixels(&stride);
        return m_Sink(tick, pixels, stride);
    }

    int WriteFrame(std::int64_t tick)
    {
        std::error_code ec;
        std::filesystem::create_directories(m_Options.outDir, ec);
        const std::string path = m_Options.outDir + "/" + std::to_string(tick) + ".png";
        if (m_Target->SaveToPng(path.c_str()) == S_OK) return ExitOk;
        m_Err << "could not write \"" << path << "\"\n";
        return ExitCannotWrite;
    }

    int PrintHit(std::int64_t tick)
    {
        bool hit = false;
        if (int result = m_Scene->HitTest(m_Options.hit->first, m_Options.hit->second, &hit); result != ResultOk)
            return SceneFailure(result);
        m_Out << "@" << tick << " hit " << (hit ? 1 : 0) << "\n";
        return ExitOk;
    }

    const RenderOptions& m_Options;
    std::ostream& m_Out;
    std::ostream& m_Err;
    const FrameSink& m_Sink;
    ComPtr<ID2D1Factory> m_D2DFactory;
    ComPtr<ID2D1ImageRenderTarget> m_Target;
    std::unique_ptr<ITavisk> m_Scene;
    FrameTimings m_Timings;
    double m_UpdateMs = 0;
};

} // namespace

int RunRender(const RenderOptions& options, std::ostream& out, std::ostream& err)
{
    if (!options.video.empty()) return ExportVideo(options, out, err);
    return RunRender(options, out, err, FrameSink());
}

int RunRender(const RenderOptions& options, std::ostream& out, std::ostream& err, const FrameSink& sink)
{
    return Renderer(options, out, err, sink).Run();
}

} // namespace KUV::Render
