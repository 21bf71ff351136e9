// tvs-check: finds the mistakes in scene files that the player forgives in silence.
#include <iostream>

#include "Tools/TvsCheck.h"

int main(int argc, char** argv)
{
    std::string error;
    const auto options = KUV::Tools::ParseCheckOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "tvs-check: " << error << "\n" << KUV::Tools::CheckUsage;
        return 64;
    }
    if (options->help) {
        std::cout << KUV::Tools::CheckUsage;
        return 0;
    }
    return KUV::Tools::RunCheck(*options, std::cout, std::cerr);
}
