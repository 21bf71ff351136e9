// The command line of tvs-preview.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace KUV::Preview {

struct PreviewOptions {
    std::string scene;
    std::string music; // empty: no music
    std::int64_t at = 0;
    int width = 800;
    int height = 600;
    bool help = false; // --help: print the usage and the keys, run nothing
};

inline constexpr int PreviewExitUsage = 64;

// "usage: tvs-preview ..." with a line per option.
extern const char* const PreviewUsage;
// The usage followed by the keys of the window: what --help prints.
std::string PreviewHelpText();

// Parses the arguments after the program name; nullopt with a reason in error when they are bad.
std::optional<PreviewOptions> ParsePreviewOptions(const std::vector<std::string>& arguments, std::string& error);

} // namespace KUV::Preview
