// tvs-check: loads scenes as the player does and reports silent mistakes in
// them, or traces which animations their scenes start when.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace KUV::Check {

struct CheckOptions {
    std::vector<std::string> scenes;
    bool timeline = false;
    int until = 154000; // the player's run length
    bool noFail = false;
    bool help = false;
};

extern const char* const CheckUsage;

// Parses the arguments after the program name; nullopt with a reason in error when they are bad.
std::optional<CheckOptions> ParseCheckOptions(const std::vector<std::string>& arguments, std::string& error);

// Runs the whole tool; returns the exit code (0 clean, 1 warnings, a load status, 10 + an update result).
int RunCheck(const CheckOptions& options, std::ostream& out, std::ostream& err);

} // namespace KUV::Check
