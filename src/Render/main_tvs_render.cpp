// tvs-render: the offline renderer of scene files.
#include <iostream>

#include "Render/TvsRender.h"

int main(int argc, char** argv)
{
    std::string error;
    const auto options = KUV::Render::ParseRenderOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "tvs-render: " << error << "\n" << KUV::Render::Usage;
        return KUV::Render::ExitUsage;
    }
    if (options->help) {
        std::cout << KUV::Render::Usage;
        return KUV::Render::ExitOk;
    }
    return KUV::Render::RunRender(*options, std::cout, std::cerr);
}
