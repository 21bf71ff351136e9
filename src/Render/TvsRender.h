// tvs-render: loads a scene onto an offscreen target, steps it through time,
// and writes frames, variables and hit tests.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace KUV::Render {

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
    bool help = false;

    // --video: the frames go into a video file (through ffmpeg) instead of PNGs.
    std::string video;
    int fps = 30;
    std::string audio; // empty: a silent video
    std::int64_t from = 0;
};

// Exit codes besides the load statuses (1, 2, 4) and 10 + a scene result code.
constexpr int ExitOk = 0;
constexpr int ExitUsage = 64;
constexpr int ExitCannotWrite = 73;
constexpr int ExitNoInput = 66; // the audio file cannot be read
constexpr int ExitUnavailable = 69; // ffmpeg is not installed
constexpr int ExitEncoderFailed = 70;
constexpr int ExitInterrupted = 130;

extern const char* const Usage;

// Parses the arguments after the program name; nullopt with a reason in error when they are bad.
std::optional<RenderOptions> ParseRenderOptions(const std::vector<std::string>& arguments, std::string& error);

// Runs the whole tool; returns the exit code.
int RunRender(const RenderOptions& options, std::ostream& out, std::ostream& err);

// Receives each drawn --at frame (premultiplied BGRA rows of stride bytes); a non-zero
// return stops the run with that exit code.
using FrameSink = std::function<int(std::int64_t tick, const unsigned char* pixels, unsigned stride)>;
// The same run, each drawn frame handed to sink after it is written (when --out is given).
int RunRender(const RenderOptions& options, std::ostream& out, std::ostream& err, const FrameSink& sink);

} // namespace KUV::Render
