#include "Render/VideoExport.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Core/FilePath.h"
#include "Render/TvsRender.h"

#ifndef _WIN32
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "Render/VideoEncoder.h"
#endif

namespace KUV::Render {
namespace fs = std::filesystem;

VideoFormat VideoFormatOf(const std::string& path)
{
    std::string extension = fs::path(path).extension().string();
    std::transform(
        extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return std::tolower(c); });
    if (extension == ".mp4") return VideoFormat::Mp4;
    if (extension == ".webm") return VideoFormat::WebM;
    if (extension == ".gif") return VideoFormat::Gif;
    return VideoFormat::Unknown;
}

std::vector<std::int64_t> FrameTicks(std::int64_t from, std::int64_t until, int fps)
{
    std::vector<std::int64_t> ticks;
    for (std::int64_t n = 0;; ++n) {
        // round(n * 1000 / fps) in integers: halves round up.
        const std::int64_t tick = from + (n * 2000 + fps) / (2 * fps);
        if (tick >= until) return ticks;
        ticks.push_back(tick);
    }
}

namespace {

std::string Seconds(std::int64_t milliseconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%03lld", static_cast<long long>(milliseconds / 1000),
        static_cast<long long>(milliseconds % 1000));
    return text;
}

std::vector<std::string> CodecArguments(VideoFormat format, bool sound)
{
    // H.264 and VP9 in 4:2:0 need even sides; a last odd row or column is padded.
    const std::string even = "pad=ceil(iw/2)*2:ceil(ih/2)*2";
    switch (format) {
    case VideoFormat::Mp4: {
        std::vector<std::string> a { "-c:v", "libx264", "-preset", "medium", "-crf", "18", "-pix_fmt", "yuv420p", "-vf",
            even, "-movflags", "+faststart" };
        if (sound) a.insert(a.end(), { "-c:a", "aac", "-b:a", "192k" });
        return a;
    }
    case VideoFormat::WebM: {
        std::vector<std::string> a { "-c:v", "libvpx-vp9", "-crf", "32", "-b:v", "0", "-deadline", "good", "-cpu-used",
            "4", "-row-mt", "1", "-pix_fmt", "yuv420p", "-vf", even };
        if (sound) a.insert(a.end(), { "-c:a", "libopus", "-b:a", "160k" });
        return a;
    }
    default:
        return { "-vf", "split[a][b];[a]palettegen[p];[b][p]paletteuse" };
    }
}

const char* MuxerOf(VideoFormat format)
{
    return format == VideoFormat::Mp4 ? "mp4" : format == VideoFormat::WebM ? "webm" : "gif";
}

} // namespace

std::vector<std::string> FfmpegArguments(const RenderOptions& o, std::int64_t until, const std::string& output)
{
    const VideoFormat format = VideoFormatOf(o.video);
    const bool sound = !o.audio.empty() && format != VideoFormat::Gif;
    std::vector<std::string> a { "-hide_banner", "-loglevel", "error", "-nostats", "-y", "-f", "rawvideo", "-pix_fmt",
        "bgra", "-video_size", std::to_string(o.width) + "x" + std::to_string(o.height), "-framerate",
        std::to_string(o.fps), "-i", "pipe:0" };
    if (sound) {
        if (o.from > 0) a.insert(a.end(), { "-ss", Seconds(o.from) });
        a.insert(a.end(), { "-i", ResolvePath(o.audio), "-map", "0:v", "-map", "1:a" });
    }
    const std::vector<std::string> codec = CodecArguments(format, sound);
    a.insert(a.end(), codec.begin(), codec.end());
    const std::int64_t frames = static_cast<std::int64_t>(FrameTicks(o.from, until, o.fps).size());
    a.insert(a.end(), { "-t", Seconds((frames * 1000 + o.fps - 1) / o.fps) });
    a.insert(a.end(), { "-f", MuxerOf(format), output });
    return a;
}

#ifdef _WIN32

// The export drives ffmpeg through a pipe in a process group of its own and stops on signals:
// the Windows build has none of that and says so, as when ffmpeg is missing.
int ExportVideo(const RenderOptions&, std::ostream&, std::ostream& err)
{
    err << "tvs-render: --video is not available in the Windows build: export on Linux\n";
    return ExitUnavailable;
}

#else

namespace {

volatile std::sig_atomic_t g_StopAsked = 0;

extern "C" void AskToStop(int)
{
    g_StopAsked = 1;
}

// Ctrl-C and SIGTERM ask the export to stop (interrupting a blocked write); a vanished
// encoder shows as a failed write rather than killing this process.
class StopSignals {
public:
    StopSignals()
    {
        g_StopAsked = 0;
        struct sigaction stop { };
        stop.sa_handler = AskToStop;
        sigemptyset(&stop.sa_mask);
        sigaction(SIGINT, &stop, &m_OldInt);
        sigaction(SIGTERM, &stop, &m_OldTerm);
        struct sigaction ignore { };
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGPIPE, &ignore, &m_OldPipe);
    }
    ~StopSignals()
    {
        sigaction(SIGINT, &m_OldInt, nullptr);
        sigaction(SIGTERM, &m_OldTerm, nullptr);
        sigaction(SIGPIPE, &m_OldPipe, nullptr);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    struct sigaction m_OldInt {
    }, m_OldTerm {}, m_OldPipe {};
};

std::string Clock(double seconds)
{
    const long long s = std::llround(std::max(0.0, seconds));
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
    return text;
}

// A bar redrawn in place on a terminal; a single summary line at the end either way.
class Progress {
public:
    Progress(std::ostream& err, size_t total, bool terminal)
        : m_Err(err)
        , m_Total(total)
        , m_Terminal(terminal)
    {
    }

    void Frame(size_t done)
    {
        if (!m_Terminal) return;
        const auto now = std::chrono::steady_clock::now();
        if (done < m_Total && now - m_Drawn < std::chrono::milliseconds(100)) return;
        m_Drawn = now;
        const double rate = done / std::max(Elapsed(), 1e-6);
        const size_t filled = m_Total ? done * Width / m_Total : Width;
        m_Err << "\r[" << std::string(filled, '#') << std::string(Width - filled, '.') << "] " << done << "/" << m_Total
              << " frames  " << Fixed(rate, 1) << " fps  " << Clock((m_Total - done) / std::max(rate, 1e-6)) << " left "
              << std::flush;
    }

    void Summary(const std::string& file, int fps, std::int64_t milliseconds)
    {
        if (m_Terminal) m_Err << "\n";
        const double seconds = Elapsed();
        m_Err << "wrote " << file << ": " << m_Total << " frames at " << fps << " fps (" << milliseconds << " ms) in "
              << Fixed(seconds, 1) << " s, " << Fixed(m_Total ? seconds * 1000 / m_Total : 0, 1) << " ms per frame\n";
    }

    void Abandon()
    {
        if (m_Terminal) m_Err << "\n";
    }

private:
    static constexpr size_t Width = 30;

    double Elapsed() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_Start).count(); }

    static std::string Fixed(double value, int digits)
    {
        std::ostringstream text;
        text.setf(std::ios::fixed);
        text.precision(digits);
        text << value;
        return text.str();
    }

    std::ostream& m_Err;
    size_t m_Total;
    bool m_Terminal;
    std::chrono::steady_clock::time_point m_Start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point m_Drawn {};
};

// A file in the target's folder that becomes the target only once it is complete.
class PartFile {
public:
    explicit PartFile(const std::string& target)
        : m_Target(target)
    {
        const fs::path path(target);
        // Appended piece by piece: GCC 12 warns falsely (restrict) on "." + a temporary string.
        std::string name = ".";
        name += path.filename().string();
        name += ".";
        name += std::to_string(getpid());
        name += ".part";
        m_Path = (path.parent_path() / name).string();
    }
    ~PartFile()
    {
        if (!m_Kept) std::remove(m_Path.c_str());
    }
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    const std::string& Path() const { return m_Path; }

    // Creates the part file, so that an unwritable place shows before any work is done.
    bool Create(std::string& error)
    {
        std::error_code ec;
        if (fs::is_directory(m_Target, ec)) return error = "it is a folder", false;
        const int fd = open(m_Path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) return error = std::strerror(errno), false;
        close(fd);
        return true;
    }

    bool Keep(std::string& error)
    {
        std::error_code ec;
        fs::rename(m_Path, m_Target, ec);
        if (ec) return error = ec.message(), false;
        return m_Kept = true;
    }

private:
    std::string m_Target;
    std::string m_Path;
    bool m_Kept = false;
};

class VideoExport {
public:
    VideoExport(const RenderOptions& options, std::ostream& out, std::ostream& err)
        : m_Options(options)
        , m_Out(out)
        , m_Err(err)
        , m_Part(options.video)
    {
    }

    int Run()
    {
        if (int code = FindTools(); code != ExitOk) return code;
        if (int code = DecideEnd(); code != ExitOk) return code;
        std::string error;
        if (!m_Part.Create(error)) return Fail(ExitCannotWrite, "cannot write \"" + m_Options.video + "\": " + error);
        RenderOptions run = m_Options;
        run.at = FrameTicks(m_Options.from, m_Until, m_Options.fps);
        if (run.at.empty()) return Fail(ExitUsage, "no frame lies between --from and --until");
        run.until = run.at.back();
        run.step = Authoring::UpdateStep;
        StopSignals signals;
        Progress progress(m_Err, run.at.size(), isatty(STDERR_FILENO));
        const int code = RunRender(run, m_Out, m_Err, [&](std::int64_t, const unsigned char* pixels, unsigned stride) {
            return PassFrame(pixels, stride, progress);
        });
        return Conclude(code, progress, run.at.size());
    }

private:
    int Fail(int code, const std::string& message)
    {
        m_Err << "tvs-render: " << message << "\n";
        return code;
    }

    int FindTools()
    {
        m_Ffmpeg = FindProgram("ffmpeg");
        if (m_Ffmpeg.empty())
            return Fail(ExitUnavailable,
                "--video needs the ffmpeg program, which is not installed: install the Debian package ffmpeg");
        return ExitOk;
    }

    // The end of the video: --until, or the length of the sound.
    int DecideEnd()
    {
        if (m_Options.audio.empty()) return m_Until = *m_Options.until, ExitOk;
        const std::string audio = ResolvePath(m_Options.audio);
        const std::string cannot = "cannot read the audio file \"" + m_Options.audio + "\"";
        if (!std::ifstream(audio).good()) return Fail(ExitNoInput, cannot + ": " + std::strerror(errno));
        std::string output;
        const std::string ffprobe = FindProgram("ffprobe");
        const int status = ffprobe.empty() ? -1
                                           : RunAndCapture(ffprobe,
                                               { "-v", "quiet", "-select_streams", "a:0", "-show_entries",
                                                   "format=duration", "-of", "default=nw=1:nk=1", audio },
                                               output);
        char* end = nullptr;
        const double seconds = std::strtod(output.c_str(), &end);
        if (status != 0 || end == output.c_str() || !(seconds > 0))
            return Fail(ExitNoInput, cannot + ": ffmpeg finds no sound in it");
        m_Until = m_Options.until ? *m_Options.until : std::llround(seconds * 1000);
        return ExitOk;
    }

    int PassFrame(const unsigned char* pixels, unsigned stride, Progress& progress)
    {
        if (g_StopAsked) return ExitInterrupted;
        if (!m_Encoder.Running() && !m_Encoder.Start(m_Ffmpeg, FfmpegArguments(m_Options, m_Until, m_Part.Path())))
            return Fail(ExitEncoderFailed, "could not start ffmpeg");
        const size_t row = static_cast<size_t>(m_Options.width) * 4;
        for (int y = 0; y < m_Options.height; ++y)
            if (!m_Encoder.Write(pixels + static_cast<size_t>(y) * stride, row))
                return g_StopAsked ? ExitInterrupted : ExitEncoderFailed;
        progress.Frame(++m_Frames);
        return ExitOk;
    }

    int Conclude(int code, Progress& progress, size_t total)
    {
        if (code == ExitOk && g_StopAsked) code = ExitInterrupted;
        if (code != ExitOk) {
            m_Encoder.Kill();
            progress.Abandon();
            if (code == ExitInterrupted) return Fail(code, "stopped: \"" + m_Options.video + "\" was not written");
            if (code == ExitEncoderFailed)
                return Fail(code, "ffmpeg failed: \"" + m_Options.video + "\" was not written");
            return code;
        }
        const int status = m_Encoder.Finish();
        if (status != 0 || m_Frames != total)
            return Fail(ExitEncoderFailed, "ffmpeg failed: \"" + m_Options.video + "\" was not written");
        std::string error;
        if (!m_Part.Keep(error)) return Fail(ExitCannotWrite, "cannot write \"" + m_Options.video + "\": " + error);
        progress.Summary(m_Options.video, m_Options.fps, m_Until - m_Options.from);
        return ExitOk;
    }

    const RenderOptions& m_Options;
    std::ostream& m_Out;
    std::ostream& m_Err;
    PartFile m_Part;
    EncoderProcess m_Encoder;
    std::string m_Ffmpeg;
    std::int64_t m_Until = 0;
    size_t m_Frames = 0;
};

} // namespace

int ExportVideo(const RenderOptions& options, std::ostream& out, std::ostream& err)
{
    return VideoExport(options, out, err).Run();
}

#endif

} // namespace KUV::Render
