// tvs-check: finds the mistakes in scene files that the player forgives in silence.
#include <iostream>

#include "Check/TvsCheck.h"
#include "Cli/CommandLine.h"

int main(int argc, char** argv)
{
    return KUV::Cli::RunProgram(
        "tvs-check", { argv + 1, argv + argc }, KUV::Check::ParseCheckOptions, KUV::Check::CheckUsage,
        [](const KUV::Check::CheckOptions& options) { return KUV::Check::RunCheck(options, std::cout, std::cerr); },
        std::cout, std::cerr);
}
