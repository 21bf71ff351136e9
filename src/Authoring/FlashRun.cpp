#include "Authoring/FlashRun.h"

#include "Authoring/OffscreenScene.h"
#include "Authoring/UpdateStep.h"

namespace KUV::Authoring {
namespace {

// Draws the frame at tick and measures it.
int MeasureFrame(
    OffscreenScene& play, FlashMeter& meter, std::int64_t tick, std::vector<FrameMeasure>& frames, std::ostream& err)
{
    if (const int code = play.Draw(err); code != 0) return code;
    unsigned stride = 0;
    const unsigned char* pixels = play.Pixels(stride);
    frames.push_back(meter.Add(tick, pixels, stride));
    return 0;
}

} // namespace

int MeasureFrames(const FrameRun& run, std::vector<FrameMeasure>& frames, std::ostream& err)
{
    FlashMeter meter(run.width, run.height);
    OffscreenScene play;
    if (const int code = play.CreateTarget(run.width, run.height, err); code != 0) return code;
    if (const int code = play.Load(run.scene, err); code != 0) return code;
    // Every update of the run happens, so that the scene reaches each frame as the player's would.
    for (std::int64_t tick = 0; tick <= run.until; tick += UpdateStep) {
        if (const int code = play.Update(tick, err); code != 0) return code;
        if (tick < run.from) continue;
        if (const int code = MeasureFrame(play, meter, tick, frames, err); code != 0) return code;
    }
    return 0;
}

} // namespace KUV::Authoring
