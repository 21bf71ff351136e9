// tvs-import-svg: turns an SVG drawing into a scene file.
#include <iostream>

#include "ImportSvg/ImportCommand.h"

int main(int argc, char** argv)
{
    return KUV::ImportSvg::RunImportCommand(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
