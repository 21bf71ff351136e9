// tvs-render: the offline renderer of scene files.
#include <iostream>

#include "Cli/CommandLine.h"
#include "Render/TvsRender.h"

int main(int argc, char** argv)
{
    return KUV::Cli::RunProgram(
        "tvs-render", { argv + 1, argv + argc }, KUV::Render::ParseRenderOptions, KUV::Render::Usage,
        [](const KUV::Render::RenderOptions& options) { return KUV::Render::RunRender(options, std::cout, std::cerr); },
        std::cout, std::cerr);
}
