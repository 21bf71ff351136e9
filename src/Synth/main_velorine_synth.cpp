// velorine-synth: renders a score to a 44.1 kHz stereo WAV file, its peak normalised.
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Cli/CommandLine.h"
#include "Synth/Audio.h"
#include "Synth/Renderer.h"
#include "Synth/Score.h"

namespace {

constexpr int ExitScore = 1;
constexpr int ExitWrite = 73;
constexpr const char* Usage = "usage: velorine-synth SCORE OUT.wav [--peak DBFS]\n";

struct SynthOptions {
    std::string score;
    std::string out;
    double peak = -1.5;
    bool help = false;
};

// SCORE and OUT.wav in this order, and a peak from -40 to 0 dBFS.
std::optional<SynthOptions> ParseSynthOptions(const std::vector<std::string>& arguments)
{
    SynthOptions options;
    std::vector<std::string> files;
    KUV::Cli::Parser parser;
    parser.Flag("--help", options.help).Flag("-h", options.help);
    parser.Option("--peak", [&options](const std::string& value) {
        const auto peak = KUV::Cli::ParseReal(value, -40, 0);
        if (peak) options.peak = *peak;
        return peak.has_value();
    });
    parser.Positional([&files](const std::string& file, std::string&) {
        files.push_back(file);
        return true;
    });
    std::string error;
    if (!parser.Read(arguments, error)) return std::nullopt;
    if (options.help) return options;
    if (files.size() != 2) return std::nullopt;
    options.score = files[0];
    options.out = files[1];
    return options;
}

} // namespace

int main(int argc, char** argv)
{
    const auto options = ParseSynthOptions({ argv + 1, argv + argc });
    // A bad command line gets the usage alone: the tool has one form, and it says it.
    if (!options) {
        std::cerr << Usage;
        return KUV::Cli::ExitUsage;
    }
    if (options->help) {
        std::cout << Usage;
        return KUV::Cli::ExitOk;
    }
    std::string error;
    const auto score = KUV::Synth::ReadScoreFile(options->score, error);
    if (!score) {
        std::cerr << "velorine-synth: " << error << "\n";
        return ExitScore;
    }
    auto audio = KUV::Synth::RenderScore(*score);
    // The drums' first transients would otherwise set the level of the whole mix.
    KUV::Synth::Limit(audio, 3);
    KUV::Synth::NormalisePeak(audio, options->peak);
    if (!KUV::Synth::WriteWav(audio, options->out, error)) {
        std::cerr << "velorine-synth: " << error << "\n";
        return ExitWrite;
    }
    std::printf("velorine-synth: %s: %.3f s, %d Hz stereo, peak %.2f dBFS, %zu sections, %zu voices\n",
        options->out.c_str(), audio.Seconds(), KUV::Synth::SampleRate, KUV::Synth::PeakDbfs(audio),
        score->sections.size(), score->voices.size());
    return 0;
}
