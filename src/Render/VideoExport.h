// tvs-render --video: the frames of a run, piped as raw BGRA into the ffmpeg
// command-line tool, which encodes them (with the sound, when asked) into a file.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace KUV::Render {

struct RenderOptions;

enum class VideoFormat { Unknown, Mp4, WebM, Gif };

// The format a file name asks for by its extension (compared without regard to case).
VideoFormat VideoFormatOf(const std::string& path);

// The ticks of the frames: from + round(n * 1000 / fps) for every n whose tick is before until.
std::vector<std::int64_t> FrameTicks(std::int64_t from, std::int64_t until, int fps);

// The ffmpeg arguments (after the program name) that encode width x height BGRA frames at fps
// from standard input into output, with the sound of audio (when not empty) from the second from on.
std::vector<std::string> FfmpegArguments(const RenderOptions& options, std::int64_t until, const std::string& output);

// Runs the whole --video export; returns the exit code.
int ExportVideo(const RenderOptions& options, std::ostream& out, std::ostream& err);

} // namespace KUV::Render
