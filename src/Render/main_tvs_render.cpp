// tvs-render: the offline renderer of scene files.
#include <iostream>

#include "Cli/CommandLine.h"
#include "Render/TvsRender.h"

int main(int argc, char** argv)
{
    return KUV::Cli::RunProgram(
        "tvs-render", { argv + 1, argv + argc },
        // Called, not passed by address: the browser build's exception lowering gives a function
        // reached through a reference a signature of its own, which traps at run time.
        [](const std::vector<std::string>& arguments, std::string& error) {
            return KUV::Render::ParseRenderOptions(arguments, error);
        },
        KUV::Render::Usage,
        [](const KUV::Render::RenderOptions& options) { return KUV::Render::RunRender(options, std::cout, std::cerr); },
        std::cout, std::cerr);
}
