#include "Preview/PreviewOptions.h"

#include <charconv>

#include "Preview/PreviewKeys.h"
#include "Preview/PreviewTimeline.h"

namespace KUV::Preview {

const char* const PreviewUsage
    = "usage: tvs-preview SCENE [--music FILE] [--at MS] [--size WxH]\n"
      "  Plays SCENE in a window from tick 0 (or MS), with the music FILE when given, reloading it\n"
      "  whenever a file it read is saved. --size sets the window's size in pixels (default 800x600).\n";

namespace {

constexpr int MaxSide = 16384;

bool ParseNumber(const std::string& text, std::int64_t low, std::int64_t high, std::int64_t& value)
{
    const char* end = text.data() + text.size();
    const auto [rest, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && rest == end && value >= low && value <= high;
}

bool ParseSize(const std::string& text, int& width, int& height)
{
    const size_t x = text.find('x');
    std::int64_t w = 0, h = 0;
    if (x == std::string::npos || !ParseNumber(text.substr(0, x), 1, MaxSide, w)
        || !ParseNumber(text.substr(x + 1), 1, MaxSide, h))
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool ApplyOption(PreviewOptions& options, const std::string& name, const std::string& value, std::string& error)
{
    bool ok = true;
    if (name == "--music")
        ok = !(options.music = value).empty();
    else if (name == "--at")
        ok = ParseNumber(value, 0, PreviewMaxTick, options.at);
    else if (name == "--size")
        ok = ParseSize(value, options.width, options.height);
    else {
        error = "unknown option " + name;
        return false;
    }
    if (!ok) error = "bad value for " + name + ": \"" + value + "\"";
    return ok;
}

} // namespace

std::string PreviewHelpText()
{
    std::string text = std::string(PreviewUsage) + "\nKeys in the window:\n";
    for (const std::string& line : KeyHelpLines())
        text += "  " + line + "\n";
    return text
        + "\nExit codes: 0 when closed; 1 without a display or when SCENE cannot be opened; 64 for a bad "
          "command line.\n";
}

std::optional<PreviewOptions> ParsePreviewOptions(const std::vector<std::string>& arguments, std::string& error)
{
    PreviewOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help") {
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
    if (options.scene.empty() && !options.help) {
        error = "no scene given";
        return std::nullopt;
    }
    return options;
}

} // namespace KUV::Preview
