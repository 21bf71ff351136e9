#include <algorithm>
#include <charconv>
#include <limits>

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

constexpr std::int64_t MaxTick = std::numeric_limits<std::int32_t>::max();
constexpr int MaxSide = 16384;
constexpr int MaxFps = 240;

bool ParseNumber(const std::string& text, std::int64_t low, std::int64_t high, std::int64_t& value)
{
    const char* end = text.data() + text.size();
    const auto [rest, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && rest == end && value >= low && value <= high;
}

// Splits "a<sep>b<sep>..." into numbers within [low, high].
bool ParseList(
    const std::string& text, char separator, std::int64_t low, std::int64_t high, std::vector<std::int64_t>& values)
{
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        std::int64_t value = 0;
        if (!ParseNumber(text.substr(start, end - start), low, high, value)) return false;
        values.push_back(value);
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

bool ParsePair(const std::string& text, char separator, std::int64_t low, std::int64_t high, int& a, int& b)
{
    std::vector<std::int64_t> values;
    if (!ParseList(text, separator, low, high, values) || values.size() != 2) return false;
    a = static_cast<int>(values[0]);
    b = static_cast<int>(values[1]);
    return true;
}

bool ApplyOption(RenderOptions& o, const std::string& name, const std::string& value, std::string& error)
{
    std::int64_t number = 0;
    bool ok = true;
    if (name == "--size") {
        ok = ParsePair(value, 'x', 1, MaxSide, o.width, o.height);
    } else if (name == "--step") {
        ok = ParseNumber(value, 1, MaxTick, o.step);
    } else if (name == "--at") {
        ok = ParseList(value, ',', 0, MaxTick, o.at);
    } else if (name == "--until") {
        ok = ParseNumber(value, 0, MaxTick, number);
        o.until = number;
    } else if (name == "--out") {
        ok = !value.empty();
        o.outDir = value;
    } else if (name == "--video") {
        ok = !value.empty();
        o.video = value;
    } else if (name == "--fps") {
        ok = ParseNumber(value, 1, MaxFps, number);
        o.fps = static_cast<int>(number);
    } else if (name == "--audio") {
        ok = !value.empty();
        o.audio = value;
    } else if (name == "--from") {
        ok = ParseNumber(value, 0, MaxTick, o.from);
    } else if (name == "--hit") {
        int x = 0, y = 0;
        ok = ParsePair(value, ',', std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), x, y);
        o.hit = std::make_pair(x, y);
    } else {
        error = "unknown option " + name;
        return false;
    }
    if (!ok) error = "bad value for " + name + ": \"" + value + "\"" + (name == "--fps" ? " (1 to 240)" : "");
    return ok;
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
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--vars") {
            options.vars = true;
        } else if (argument == "--timings") {
            options.timings = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument.rfind("--", 0) == 0) {
            if (i + 1 >= arguments.size()) {
                error = "missing value for " + argument;
                return std::nullopt;
            }
            if (!ApplyOption(options, argument, arguments[++i], error)) return std::nullopt;
        } else if (options.scene.empty()) {
            options.scene = argument;
        } else {
            error = "more than one scene given";
            return std::nullopt;
        }
    }
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
