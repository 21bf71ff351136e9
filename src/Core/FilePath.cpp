#include "Core/FilePath.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

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

// The path under base for slashed, matching each missing component without regard to case.
bool FindUnder(const fs::path& base, const std::string& slashed, fs::path& found)
{
    std::error_code ec;
    const fs::path exact = base / slashed;
    if (fs::exists(exact, ec)) {
        found = exact;
        return true;
    }
    fs::path current = slashed.front() == '/' ? fs::path("/") : base;
    for (const fs::path& part : fs::path(slashed).relative_path()) {
        const std::string component = part.string();
        if (component.empty() || component == ".") continue;
        if (component == "..") {
            current /= component;
            continue;
        }
        if (!FindEntry(current, component, current)) return false;
    }
    found = current;
    return true;
}

std::vector<fs::path>& ProductionFolders()
{
    static std::vector<fs::path> folders;
    return folders;
}

} // namespace

std::string ResolvePath(const std::string& written)
{
    std::string slashed = written;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    if (slashed.empty()) return slashed;
    fs::path found;
    if (FindUnder(fs::path(), slashed, found)) return found.string();
    if (slashed.front() == '/') return slashed;
    for (const fs::path& folder : ProductionFolders())
        if (FindUnder(folder, slashed, found)) return found.string();
    return slashed;
}

void SetProductionFolders(const std::string& rootScenePath)
{
    std::vector<fs::path>& folders = ProductionFolders();
    folders.clear();
    std::error_code ec;
    const fs::path root = fs::absolute(ResolvePath(rootScenePath), ec);
    if (rootScenePath.empty() || ec) return;
    for (fs::path folder = root.parent_path(); !folder.empty(); folder = folder.parent_path()) {
        folders.push_back(folder);
        if (folder == folder.root_path()) break;
    }
}

std::string FileIdentity(const std::string& resolvedPath)
{
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(resolvedPath, ec);
    return ec ? resolvedPath : canonical.string();
}

} // namespace KUV
