// tvs-render: the offline renderer of scene files.
#include <iostream>

#include "Tools/TvsRender.h"

int main(int argc, char** argv)
{
    std::string error;
    const auto options = KUV::Tools::ParseRenderOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "tvs-render: " << error << "\n" << KUV::Tools::Usage;
        return KUV::Tools::ExitUsage;
    }
    if (options->help) {
        std::cout << KUV::Tools::Usage;
        return KUV::Tools::ExitOk;
    }
    return KUV::Tools::RunRender(*options, std::cout, std::cerr);
}
