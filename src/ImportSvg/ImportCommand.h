// The command line of tvs-import-svg.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace KUV::ImportSvg {

extern const char* const ImportUsage;

// Runs the command; returns the exit status (0 done, 1 refused input, 64 bad command line).
int RunImportCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace KUV::ImportSvg
