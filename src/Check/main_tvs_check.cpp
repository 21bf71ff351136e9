// tvs-check: finds the mistakes in scene files that the player forgives in silence.
#include <iostream>

#include "Check/TvsCheck.h"

int main(int argc, char** argv)
{
    std::string error;
    const auto options = KUV::Check::ParseCheckOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "tvs-check: " << error << "\n" << KUV::Check::CheckUsage;
        return 64;
    }
    if (options->help) {
        std::cout << KUV::Check::CheckUsage;
        return 0;
    }
    return KUV::Check::RunCheck(*options, std::cout, std::cerr);
}
