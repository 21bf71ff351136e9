// tvs-render --video: what ffprobe and ffmpeg find in the files it writes, and
// what it does with bad input and with Ctrl-C.
#include <chrono>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Render/VideoEncoder.h"
#include "Render/VideoExport.h"
#include "support/Scenes.h"

using kuvtest::SceneText;
using kuvtest::TempDir;

namespace {

TEST(VideoFrameTicks, FrameNShowsTheTickFromPlusRoundedNTimesTheFramePeriod)
{
    const auto second = KUV::Render::FrameTicks(0, 1000, 30);
    ASSERT_EQ(second.size(), 30u);
    EXPECT_EQ(
        std::vector<std::int64_t>(second.begin(), second.begin() + 4), (std::vector<std::int64_t> { 0, 33, 67, 100 }));
    EXPECT_EQ(second.back(), 967);
    EXPECT_EQ(KUV::Render::FrameTicks(500, 600, 60), (std::vector<std::int64_t> { 500, 517, 533, 550, 567, 583 }));
    EXPECT_EQ(KUV::Render::FrameTicks(0, 1000, 240).size(), 240u);
}

// Red until 500 ms, green from then on, for ever (so that an export can run as long as a test
// needs): a square filling the frame painted with ($red, $green, 0).
std::string RedThenGreen()
{
    return SceneText()
        .Geometry("all", "Rectangle{ x 0 y 0 w 64 h 48 hitTest 0 }")
        .Brush("paint", "SolidColorBrush{ Color{ $red $green 0 1 } opacity 1 }")
        .Executable("draw", "Procedure{ noOfCommands 1 Fill{ all paint } }")
        .Controller("red", "Const{ target $red begin 0 end 500 loops 0 value 1 noOfChildren 0 }")
        .Controller("green",
            "Const{ target $red begin 0 end 100000 loops 1 value 0 noOfChildren 1"
            " Const{ target $green begin 0 end 100000 loops 0 value 1 noOfChildren 0 } }")
        .MainAnim("draw", "red", "Green")
        .Animation("Green", "Animation{ renderFunction draw controller green transitionTarget null }")
        .Str();
}

class VideoExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (KUV::Render::FindProgram("ffmpeg").empty() || KUV::Render::FindProgram("ffprobe").empty())
            GTEST_SKIP() << "ffmpeg is not installed (Debian package ffmpeg): video export is not tested";
        dir.Write("scene.tvs", RedThenGreen());
        // Half a second of silence, then a tone: where the sound starts shows how it is aligned.
        ASSERT_EQ(Run({ "-f", "lavfi", "-i", "sine=frequency=440:duration=2", "-af",
                      "volume='if(lt(t,0.5),0,1)':eval=frame", dir.Path() + "/tone.wav" }),
            0);
    }

    int Run(const std::vector<std::string>& ffmpegArguments, std::string* output = nullptr)
    {
        std::vector<std::string> arguments { "-hide_banner", "-loglevel", "error", "-y" };
        arguments.insert(arguments.end(), ffmpegArguments.begin(), ffmpegArguments.end());
        std::string captured;
        const int status = KUV::Render::RunAndCapture(KUV::Render::FindProgram("ffmpeg"), arguments, captured);
        if (output) *output = captured;
        return status;
    }

    std::string Probe(const std::string& file, const std::string& entries)
    {
        std::string output;
        KUV::Render::RunAndCapture(KUV::Render::FindProgram("ffprobe"),
            { "-v", "error", "-count_frames", "-show_entries", entries, "-of", "default=nw=1", file }, output);
        return output;
    }

    // The RGB of the middle pixel of frame n.
    std::array<int, 3> Pixel(const std::string& file, int n)
    {
        std::string rgb;
        EXPECT_EQ(Run({ "-i", file, "-vf", "select=eq(n\\," + std::to_string(n) + "),format=rgb24,crop=1:1:32:24",
                          "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "pipe:1" },
                      &rgb),
            0);
        if (rgb.size() < 3) return { -1, -1, -1 };
        return { static_cast<unsigned char>(rgb[0]), static_cast<unsigned char>(rgb[1]),
            static_cast<unsigned char>(rgb[2]) };
    }

    // The loudness (RMS of 16-bit samples, 0 to 1) of the file's sound from start for length seconds.
    double Loudness(const std::string& file, double start, double length)
    {
        std::string pcm;
        EXPECT_EQ(Run({ "-i", file, "-map", "0:a", "-ss", std::to_string(start), "-t", std::to_string(length), "-ac",
                          "1", "-ar", "8000", "-f", "s16le", "pipe:1" },
                      &pcm),
            0);
        double sum = 0;
        const size_t samples = pcm.size() / 2;
        for (size_t i = 0; i < samples; ++i) {
            const double s = static_cast<std::int16_t>(static_cast<unsigned char>(pcm[2 * i])
                                 | static_cast<unsigned char>(pcm[2 * i + 1]) << 8)
                / 32768.0;
            sum += s * s;
        }
        return samples ? std::sqrt(sum / samples) : -1;
    }

    static bool Near(const std::array<int, 3>& pixel, const std::array<int, 3>& expected)
    {
        for (int c = 0; c < 3; ++c)
            if (std::abs(pixel[c] - expected[c]) > 16) return false;
        return true;
    }

    // Files of the folder other than the inputs.
    std::vector<std::string> Leftovers() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            const std::string name = entry.path().filename().string();
            if (name != "scene.tvs" && name != "tone.wav" && name.rfind(".tool-", 0) != 0) names.push_back(name);
        }
        return names;
    }

    TempDir dir;
};

TEST_F(VideoExportTest, ASecondAtThirtyFramesWithItsTone)
{
    const auto run = kuvtest::RunTvsRender({ "scene.tvs", "--video", "out.mp4", "--fps", "30", "--audio", "tone.wav",
                                               "--until", "1000", "--size", "64x48" },
        dir.Path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err.rfind("wrote out.mp4: 30 frames at 30 fps (1000 ms) in ", 0), 0u) << run.err;
    const std::string file = dir.Path() + "/out.mp4";
    EXPECT_NE(Probe(file, "stream=codec_name").find("codec_name=h264"), std::string::npos);
    EXPECT_NE(Probe(file, "stream=r_frame_rate").find("r_frame_rate=30/1"), std::string::npos);
    EXPECT_NE(Probe(file, "stream=nb_read_frames").find("nb_read_frames=30"), std::string::npos);
    EXPECT_NE(Probe(file, "stream=codec_type").find("codec_type=audio"), std::string::npos);
    EXPECT_TRUE(Near(Pixel(file, 0), { 255, 0, 0 })) << "frame 0 is tick 0";
    EXPECT_TRUE(Near(Pixel(file, 29), { 0, 255, 0 })) << "frame 29 is tick 967";
    // Audio time 0 is tick 0: silence until 500 ms, then the tone.
    EXPECT_LT(Loudness(file, 0.05, 0.35), 0.01);
    EXPECT_GT(Loudness(file, 0.6, 0.3), 0.05) << "the tone: a sine of amplitude 1/8";
    EXPECT_EQ(Leftovers(), std::vector<std::string> { "out.mp4" });
}

TEST_F(VideoExportTest, FromTrimsPictureAndSoundAlike)
{
    const auto run = kuvtest::RunTvsRender({ "scene.tvs", "--video", "late.webm", "--audio", "tone.wav", "--from",
                                               "500", "--until", "1000", "--size", "64x48" },
        dir.Path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string file = dir.Path() + "/late.webm";
    EXPECT_NE(Probe(file, "stream=codec_name").find("codec_name=vp9"), std::string::npos);
    EXPECT_NE(Probe(file, "stream=nb_read_frames").find("nb_read_frames=15"), std::string::npos);
    EXPECT_TRUE(Near(Pixel(file, 0), { 0, 255, 0 })) << "frame 0 is tick 500";
    EXPECT_GT(Loudness(file, 0.05, 0.3), 0.05) << "the sound starts at its own 500 ms";
}

TEST_F(VideoExportTest, AGifHasItsFrames)
{
    const auto run = kuvtest::RunTvsRender(
        { "scene.tvs", "--video", "loop.GIF", "--fps", "10", "--until", "1000", "--size", "64x48" }, dir.Path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(Probe(dir.Path() + "/loop.GIF", "stream=codec_name,nb_read_frames").find("nb_read_frames=10"),
        std::string::npos);
}

TEST_F(VideoExportTest, BadInputGetsOneLineAndNoFile)
{
    struct BadRun {
        std::vector<std::string> arguments;
        std::vector<std::string> environment;
        int exitCode;
        std::string error;
    };
    const std::vector<BadRun> runs {
        { { "--video", "a.mp4", "--until", "100" }, { "PATH=" + dir.Path() + "/nothing" }, 69,
            "tvs-render: --video needs the ffmpeg program, which is not installed: install the Debian package "
            "ffmpeg\n" },
        { { "--video", "no/such/folder/a.mp4", "--until", "100" }, {}, 73,
            "tvs-render: cannot write \"no/such/folder/a.mp4\": No such file or directory\n" },
        { { "--video", "a.avi", "--until", "100" }, {}, 64,
            "tvs-render: unknown video file extension: \"a.avi\" (use .mp4, .webm or .gif)\n" },
        { { "--video", "a.mp4", "--until", "100", "--fps", "0" }, {}, 64,
            "tvs-render: bad value for --fps: \"0\" (1 to 240)\n" },
        { { "--video", "a.mp4", "--until", "100", "--fps", "241" }, {}, 64,
            "tvs-render: bad value for --fps: \"241\" (1 to 240)\n" },
        { { "--video", "a.mp4", "--audio", "missing.wav" }, {}, 66,
            "tvs-render: cannot read the audio file \"missing.wav\": No such file or directory\n" },
        { { "--video", "a.mp4", "--audio", "scene.tvs" }, {}, 66,
            "tvs-render: cannot read the audio file \"scene.tvs\": ffmpeg finds no sound in it\n" },
        { { "--video", "a.mp4" }, {}, 64,
            "tvs-render: --video needs --until (or --audio, whose length it then takes)\n" },
    };
    for (const BadRun& bad : runs) {
        std::vector<std::string> arguments { "scene.tvs" };
        arguments.insert(arguments.end(), bad.arguments.begin(), bad.arguments.end());
        const auto run = kuvtest::RunTool(KUV_TVS_RENDER, arguments, dir.Path(), bad.environment);
        EXPECT_EQ(run.exitCode, bad.exitCode) << ::testing::PrintToString(arguments);
        EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), bad.error);
        EXPECT_EQ(Leftovers(), std::vector<std::string>());
    }
}

TEST_F(VideoExportTest, CtrlCStopsAndLeavesNoFile)
{
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.Path().c_str()) != 0 || !freopen("/dev/null", "w", stderr)) _exit(127);
        execl(KUV_TVS_RENDER, KUV_TVS_RENDER, "scene.tvs", "--video", "long.mp4", "--until", "3600000", "--size",
            "64x48", static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(pid, 0);
    // Wait until the encoder has begun writing the part file, then interrupt.
    for (int i = 0; i < 100 && Leftovers().empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_EQ(Leftovers(), std::vector<std::string>());
}

} // namespace
