#include <algorithm>
#include <limits>

#include "Cli/CommandLine.h"
#include "Render/TvsRender.h"
#include "Render/VideoExport.h"

namespace KUV::Render {

const char* const Usage
    = "usage: tvs-render SCENE [--size WxH] [--step MS] [--at T1,T2,...] [--until MS] [--out DIR] [--vars]"
      " [--hit X,Y]"
      " [--timings]\n"
      "  Loads SCENE at tick 0, updates it at the ticks 0, MS, 2*MS, ... up to --until (default: the largest\n"
      "  --at tick, else 0) and at every --at tick; renders each --at tick (as DIR/<tick>.png with --out).\n"
      "  --vars prints the root scene's variables and --hit the hit test of X,Y at each --at tick.\n"
      "  --timings prints, after the run, the load time and each rendered frame's update and render times.\n"
      "       tvs-render SCENE --video FILE [--fps N] [--audio FILE] [--from MS] [--until MS] [--size WxH]\n"
      "  Writes the frames at the ticks FROM + round(n * 1000 / N) before --until (default: the audio's\n"
      "  length) into FILE through ffmpeg: .mp4 (H.264), .webm (VP9) or .gif; N defaults to 30. --audio\n"
      "  adds its sound, its time 0 at tick 0.\n";

namespace {

constexpr int MaxSide = 16384;
constexpr int MaxFps = 240;

Cli::Parser Grammar(RenderOptions& o)
{
    using Cli::Number, Cli::Text;
    Cli::Parser parser;
    parser.Flag("--vars", o.vars).Flag("--timings", o.timings).Flag("--help", o.help).Flag("-h", o.help);
    parser.Option("--size", Cli::SizeInto(o.width, o.height, MaxSide)).Option("--at", Cli::TicksInto(o.at));
    parser.Option("--step", Number(o.step, 1, Cli::MaxTick)).Option("--until", Number(o.until, 0, Cli::MaxTick));
    parser.Option("--out", Text(o.outDir)).Option("--video", Text(o.video)).Option("--audio", Text(o.audio));
    parser.Option("--fps", Number(o.fps, 1, MaxFps), " (1 to 240)").Option("--from", Number(o.from, 0, Cli::MaxTick));
    parser.Option("--hit", [&o](const std::string& value) {
        const auto point = Cli::ParsePair(value, ',', std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        if (point) o.hit = std::make_pair(static_cast<int>(point->first), static_cast<int>(point->second));
        return point.has_value();
    });
    return parser.Positional(Cli::One(o.scene, "scene")).UnknownOptionsTakeAValue();
}

bool Given(const std::vector<std::string>& arguments, const char* option)
{
    return std::find(arguments.begin(), arguments.end(), option) != arguments.end();
}

// Video options come together, and only with what a video can show.
bool CheckVideoOptions(const std::vector<std::string>& arguments, const RenderOptions& o, std::string& error)
{
    if (o.video.empty()) {
        for (const char* option : { "--fps", "--audio", "--from" })
            if (Given(arguments, option)) error = std::string(option) + " needs --video";
        return error.empty();
    }
    for (const char* option : { "--at", "--out", "--vars", "--hit", "--step" })
        if (Given(arguments, option)) error = std::string(option) + " cannot be used with --video";
    if (!error.empty()) return false;
    if (VideoFormatOf(o.video) == VideoFormat::Unknown)
        error = "unknown video file extension: \"" + o.video + "\" (use .mp4, .webm or .gif)";
    else if (VideoFormatOf(o.video) == VideoFormat::Gif && !o.audio.empty())
        error = "a GIF has no sound: --audio needs an .mp4 or .webm file";
    else if (o.until && *o.until <= o.from)
        error = "--until must come after --from";
    else if (!o.until && o.audio.empty())
        error = "--video needs --until (or --audio, whose length it then takes)";
    return error.empty();
}

} // namespace

std::optional<RenderOptions> ParseRenderOptions(const std::vector<std::string>& arguments, std::string& error)
{
    RenderOptions options;
    if (!Grammar(options).Read(arguments, error)) return std::nullopt;
    if (options.help) return options;
    if (options.scene.empty()) {
        error = "no scene given";
        return std::nullopt;
    }
    if (!CheckVideoOptions(arguments, options, error)) return std::nullopt;
    std::sort(options.at.begin(), options.at.end());
    options.at.erase(std::unique(options.at.begin(), options.at.end()), options.at.end());
    return options;
}

} // namespace KUV::Render
