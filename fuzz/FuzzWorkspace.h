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
#include <vector>

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
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(Workspace(), ignored);
        });
        return path;
    }();
    return folder;
}

// path as seen from folder; an absolute path stays as it is. A trailing "/" stays too, as
// libFuzzer's artifact prefix needs it.
inline std::string Anchored(const std::string& path, const std::filesystem::path& folder)
{
    if (path.empty() || path.front() == '/') return path;
    return (folder / path).string();
}

// The libFuzzer flags whose value names a file or a folder.
inline bool NamesAPath(const std::string& flag)
{
    for (const char* name : { "artifact_prefix", "exact_artifact_path", "dict", "merge_control_file", "features_dir",
             "data_flow_trace", "load_coverage_summary", "save_coverage_summary", "mutation_graph_file", "stop_file" })
        if (flag == name) return true;
    return false;
}

// The command line with every corpus folder, input file and path-valued flag anchored to
// folder, and an artifact prefix of folder when none is given (libFuzzer's default is the
// current folder, which the workspace replaces).
inline std::vector<std::string> AnchoredArguments(
    const std::vector<std::string>& arguments, const std::filesystem::path& folder)
{
    std::vector<std::string> anchored;
    bool prefixed = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const size_t equals = argument.find('=');
        if (i == 0 || argument.empty() || (argument.front() == '-' && equals == std::string::npos)) {
            anchored.push_back(argument); // the program, or a flag without a value
        } else if (argument.front() != '-') {
            anchored.push_back(Anchored(argument, folder));
        } else {
            const size_t start = argument.rfind("--", 0) == 0 ? 2 : 1;
            const std::string flag = argument.substr(start, equals - start);
            prefixed |= flag == "artifact_prefix";
            const std::string value = argument.substr(equals + 1);
            anchored.push_back(argument.substr(0, equals + 1) + (NamesAPath(flag) ? Anchored(value, folder) : value));
        }
    }
    if (!prefixed) anchored.push_back("-artifact_prefix=" + (folder / "").string());
    return anchored;
}

// Moves the process into the workspace. libFuzzer reads its command line after
// LLVMFuzzerInitialize, so the paths on it are first anchored to the folder it was started in:
// a corpus named by a relative path is still read, and new inputs and failures land there.
inline void EnterWorkspace(int* argc, char*** argv)
{
    static std::vector<std::string> arguments;
    static std::vector<char*> pointers;
    arguments = AnchoredArguments(std::vector<std::string>(*argv, *argv + *argc), std::filesystem::current_path());
    for (std::string& argument : arguments)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    *argc = static_cast<int>(arguments.size());
    *argv = pointers.data();
    std::filesystem::current_path(Workspace());
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
