#include "Render/TvsRender.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "Authoring/OffscreenScene.h"
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
        if (int code = m_Play.CreateTarget(m_Options.width, m_Options.height, m_Err); code != ExitOk) return code;
        const Stopwatch load;
        if (int code = m_Play.Load(m_Options.scene, m_Err); code != ExitOk) return code;
        m_Timings.SetLoad(load.Milliseconds());
        const int code = Visits();
        if (m_Options.timings) m_Timings.Print(m_Out, GetDrawingThreads());
        return code;
    }

private:
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
        if (int code = m_Play.Update(tick, m_Err); code != ExitOk) return code;
        m_UpdateMs = update.Milliseconds();
        if (!at) return ExitOk;
        if (m_Options.vars) PrintVariables(tick);
        if (int code = Draw(tick); code != ExitOk) return code;
        return m_Options.hit ? PrintHit(tick) : ExitOk;
    }

    void PrintVariables(std::int64_t tick)
    {
        m_Out << "@" << tick;
        if (const auto* tavisk = dynamic_cast<const Tavisk*>(&m_Play.Scene()))
            for (const auto& [name, value] : tavisk->Variables())
                m_Out << " " << name << "=" << value;
        m_Out << "\n";
    }

    int Draw(std::int64_t tick)
    {
        const Stopwatch render;
        if (int code = m_Play.Draw(m_Err); code != ExitOk) return code;
        m_Timings.Add(tick, m_UpdateMs, render.Milliseconds());
        if (int code = m_Options.outDir.empty() ? ExitOk : WriteFrame(tick); code != ExitOk) return code;
        return m_Sink ? PassFrame(tick) : ExitOk;
    }

    int PassFrame(std::int64_t tick)
    {
        unsigned stride = 0;
        const unsigned char* pixels = m_Play.Pixels(stride);
        return m_Sink(tick, pixels, stride);
    }

    int WriteFrame(std::int64_t tick)
    {
        std::error_code ec;
        std::filesystem::create_directories(m_Options.outDir, ec);
        const std::string path = m_Options.outDir + "/" + std::to_string(tick) + ".png";
        if (m_Play.Target().SaveToPng(path.c_str()) == S_OK) return ExitOk;
        m_Err << "could not write \"" << path << "\"\n";
        return ExitCannotWrite;
    }

    int PrintHit(std::int64_t tick)
    {
        bool hit = false;
        if (int code = m_Play.HitTest(m_Options.hit->first, m_Options.hit->second, hit, m_Err); code != ExitOk)
            return code;
        m_Out << "@" << tick << " hit " << (hit ? 1 : 0) << "\n";
        return ExitOk;
    }

    const RenderOptions& m_Options;
    std::ostream& m_Out;
    std::ostream& m_Err;
    const FrameSink& m_Sink;
    Authoring::OffscreenScene m_Play;
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
