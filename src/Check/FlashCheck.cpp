#include "Check/FlashCheck.h"

#include <vector>

#include "Authoring/FlashMeter.h"
#include "Authoring/FlashStretches.h"
#include "Authoring/UpdateStep.h"
#include "Check/FlashPlot.h"
#include "Core/FilePath.h"
#include "Render/TvsRender.h"

namespace KUV::Check {
namespace {

using Authoring::UpdateStep;

// Every frame of the update grid from options.from to options.until, drawn as tvs-render draws it.
Render::RenderOptions FrameRun(const FlashOptions& options)
{
    Render::RenderOptions run;
    run.scene = options.scene;
    run.width = options.width;
    run.height = options.height;
    run.step = UpdateStep;
    run.until = options.until;
    for (std::int64_t tick = (options.from + UpdateStep - 1) / UpdateStep * UpdateStep; tick <= options.until;
         tick += UpdateStep)
        run.at.push_back(tick);
    return run;
}

} // namespace

int RunFlashCheck(const FlashOptions& options, std::ostream& out, std::ostream& err)
{
    Authoring::FlashMeter meter(options.width, options.height);
    std::vector<Authoring::FrameMeasure> frames;
    const Render::FrameSink measure = [&](std::int64_t tick, const unsigned char* pixels, unsigned stride) {
        frames.push_back(meter.Add(tick, pixels, stride));
        return 0;
    };
    if (const int code = Render::RunRender(FrameRun(options), out, err, measure); code != 0) return code;
    const std::vector<Authoring::FlashStretch> stretches = Authoring::FailingStretches(frames);
    const std::string file = ResolvePath(options.scene);
    for (const Authoring::FlashStretch& stretch : stretches)
        out << Authoring::StretchLine(file, stretch) << "\n";
    out << Authoring::FlashSummary(frames, stretches.size()) << "\n";
    std::string error;
    if (!options.plot.empty() && !WriteFlashPlot(options.plot, file + ": flashes", frames, stretches, &error)) {
        err << error << "\n";
        return 73;
    }
    return stretches.empty() || options.noFail ? 0 : 1;
}

} // namespace KUV::Check
