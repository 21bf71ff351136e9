// velorine-synth: renders a score to a 44.1 kHz stereo WAV file, its peak normalised.
#include <cstdio>
#include <iostream>
#include <string>

#include "Synth/Audio.h"
#include "Synth/Renderer.h"
#include "Synth/Score.h"

namespace {

constexpr int ExitScore = 1;
constexpr int ExitUsage = 64;
constexpr int ExitWrite = 73;
constexpr const char* Usage = "usage: velorine-synth SCORE OUT.wav [--peak DBFS]\n";

bool ParsePeak(int argc, char** argv, double& peak)
{
    if (argc == 3) return true;
    if (argc != 5 || std::string(argv[3]) != "--peak") return false;
    try {
        peak = std::stod(argv[4]);
    } catch (const std::exception&) {
        return false;
    }
    return peak <= 0 && peak >= -40;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << Usage;
        return 0;
    }
    double peak = -1.5;
    if (!ParsePeak(argc, argv, peak)) {
        std::cerr << Usage;
        return ExitUsage;
    }
    std::string error;
    const auto score = KUV::Synth::ReadScoreFile(argv[1], error);
    if (!score) {
        std::cerr << "velorine-synth: " << error << "\n";
        return ExitScore;
    }
    auto audio = KUV::Synth::RenderScore(*score);
    // The drums' first transients would otherwise set the level of the whole mix.
    KUV::Synth::Limit(audio, 3);
    KUV::Synth::NormalisePeak(audio, peak);
    if (!KUV::Synth::WriteWav(audio, argv[2], error)) {
        std::cerr << "velorine-synth: " << error << "\n";
        return ExitWrite;
    }
    std::printf("velorine-synth: %s: %.3f s, %d Hz stereo, peak %.2f dBFS, %zu sections, %zu voices\n", argv[2],
        audio.Seconds(), KUV::Synth::SampleRate, KUV::Synth::PeakDbfs(audio), score->sections.size(),
        score->voices.size());
    return 0;
}
