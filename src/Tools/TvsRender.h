// tvs-render: loads a scene onto an offscreen target, steps it through time,
// and writes frames, variables and hit tests.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace KUV::Tools {

struct RenderOptions {
    std::string scene;
    int width = 800;
    int height = 600;
    std::int64_t step = 16;
    std::vector<std::int64_t> at; // ascending, each once
    std::optional<std::int64_t> until;
    std::string outDir; // empty: no frames written
    bool vars = false;
    std::optional<std::pair<int, int>> hit;
    bool timings = false;
};

// Exit codes besides the load statuses (1, 2, 4) and 10 + a scene result code.
constexpr int ExitOk = 0;
constexpr int ExitUsage = 64;
constexpr int ExitCannotWrite = 73;

extern const char* const Usage;

// Parses the arguments after the program name; nullopt with a reason in error when they are bad.
std::optional<RenderOptions> ParseRenderOptions(const std::vector<std::string>& arguments, std::string& error);

// Runs the whole tool; returns the exit code.
int RunRender(const RenderOptions& options, std::ostream& out, std::ostream& err);

} // namespace KUV::Tools
