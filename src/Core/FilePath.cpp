#include "Core/FilePath.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace KUV {
namespace fs = std::filesystem;

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// The entry of folder whose name matches component, preferring an exact match.
bool FindEntry(const fs::path& folder, const std::string& component, fs::path& found)
{
    std::error_code ec;
    if (fs::exists(folder / component, ec)) {
        found = folder / component;
        return true;
    }
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (SameIgnoringCase(name, component)) {
            found = folder / name;
            return true;
        }
    }
    return false;
}

} // namespace

std::string ResolvePath(const std::string& written)
{
    std::string slashed = written;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    std::error_code ec;
    if (slashed.empty() || fs::exists(slashed, ec)) return slashed;

    fs::path current = slashed.front() == '/' ? fs::path("/") : fs::path();
    for (const fs::path& part : fs::path(slashed).relative_path()) {
        const std::string component = part.string();
        if (component.empty() || component == ".") continue;
        if (component == "..") {
            current /= component;
            continue;
        }
        if (!FindEntry(current, component, current)) return slashed;
    }
    return current.string();
}

std::string FileIdentity(const std::string& resolvedPath)
{
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(resolvedPath, ec);
    return ec ? resolvedPath : canonical.string();
}

} // namespace KUV
