#include "Preview/PreviewOptions.h"

#include "Cli/CommandLine.h"
#include "Preview/PreviewKeys.h"
#include "Preview/PreviewTimeline.h"

namespace KUV::Preview {

const char* const PreviewUsage
    = "usage: tvs-preview SCENE [--music FILE] [--at MS] [--size WxH] [--flashes FILE]\n"
      "  Plays SCENE in a window from tick 0 (or MS), with the music FILE when given, reloading it\n"
      "  whenever a file it read is saved. --size sets the picture's size in pixels (default 800x600);\n"
      "  the timeline strip goes under it. --flashes marks on the strip the failing stretches that\n"
      "  tvs-check --flashes printed into FILE.\n";

namespace {

constexpr int MaxSide = 16384;

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
    Cli::Parser parser;
    parser.Flag("--help", options.help).Option("--music", Cli::Text(options.music));
    parser.Option("--flashes", Cli::Text(options.flashes));
    parser.Option("--at", Cli::Number(options.at, 0, PreviewMaxTick));
    parser.Option("--size", Cli::SizeInto(options.width, options.height, MaxSide));
    parser.Positional(Cli::One(options.scene, "scene")).UnknownOptionsTakeAValue();
    if (!parser.Read(arguments, error)) return std::nullopt;
    if (options.scene.empty() && !options.help) {
        error = "no scene given";
        return std::nullopt;
    }
    return options;
}

} // namespace KUV::Preview
