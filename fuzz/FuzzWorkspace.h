// A private working folder for a fuzz target: created once, filled with the helper files
// that inputs may name (a child scene, an include, a PNG, a JPEG), and made the current
// folder so that inputs name them by their plain file names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace kuvfuzz {

inline const std::filesystem::path& Workspace()
{
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "kuv-fuzz-XXXXXX").string();
        const char* made = mkdtemp(pattern.data());
        const std::filesystem::path path = made ? made : std::filesystem::temp_directory_path();
        for (const auto& helper : std::filesystem::directory_iterator(KUV_FUZZ_HELPERS))
            std::filesystem::copy_file(
                helper.path(), path / helper.path().filename(), std::filesystem::copy_options::overwrite_existing);
        std::filesystem::current_path(path);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(Workspace(), ignored);
        });
        return path;
    }();
    return folder;
}

// Writes the input as the file name in the workspace; returns its path.
inline std::string WriteInput(const char* name, const std::uint8_t* data, std::size_t size)
{
    const std::string path = (Workspace() / name).string();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), std::streamsize(size));
    return path;
}

} // namespace kuvfuzz
