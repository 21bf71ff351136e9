#include "Check/FlashCheck.h"

#include <vector>

#include "Authoring/FlashStretches.h"
#include "Check/FlashPlot.h"
#include "Core/FilePath.h"

namespace KUV::Check {

int RunFlashCheck(const FlashOptions& options, std::ostream& out, std::ostream& err)
{
    std::vector<Authoring::FrameMeasure> frames;
    if (const int code = Authoring::MeasureFrames(options.run, frames, err); code != 0) return code;
    const std::vector<Authoring::FlashStretch> stretches = Authoring::FailingStretches(frames);
    const std::string file = ResolvePath(options.run.scene);
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
