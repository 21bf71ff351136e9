#include "ImportSvg/ImportCommand.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <unistd.h>

#include "Cli/CommandLine.h"
#include "ImportSvg/ImportSvg.h"
#include "ImportSvg/SceneWriter.h"
#include "ImportSvg/Units.h"

namespace KUV::ImportSvg {

const char* const ImportUsage = "usage: tvs-import-svg INPUT.svg OUTPUT.tvs [--width PX] [--prefix NAME]\n";

namespace {

// Larger files are refused before they are read: the import holds a few copies in memory.
constexpr std::uintmax_t MaxInputBytes = 64u << 20;

struct Arguments {
    std::string input, output;
    ImportOptions options;
    bool help = false;
};

std::optional<Arguments> Parse(const std::vector<std::string>& arguments, std::string& error)
{
    Arguments parsed;
    std::vector<std::string> files;
    Cli::Parser parser;
    parser.Flag("--help", parsed.help).Flag("-h", parsed.help);
    parser.Option("--width", [&parsed](const std::string& value) {
        const auto width = Cli::ParseReal(value, 0, 1e6);
        if (width && *width > 0) parsed.options.width = *width;
        return width && *width > 0;
    });
    parser.Option("--prefix", [&parsed](const std::string& value) {
        parsed.options.prefix = value;
        return !value.empty() && TokenFrom(value) == value;
    });
    parser.Positional([&files](const std::string& file, std::string&) {
        files.push_back(file);
        return true;
    });
    if (!parser.Read(arguments, error)) return std::nullopt;
    if (parsed.help) return parsed;
    if (files.size() != 2) {
        error = "expected INPUT.svg and OUTPUT.tvs";
        return std::nullopt;
    }
    parsed.input = files[0];
    parsed.output = files[1];
    return parsed;
}

bool ReadFile(const std::string& path, std::string& text, std::string& error)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > MaxInputBytes) return error = "the file is larger than 64 MiB", false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return error = "cannot read the file", false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) return error = "cannot read the file", false;
    text = buffer.str();
    if (text.size() > MaxInputBytes) return error = "the file is larger than 64 MiB", false;
    return true;
}

// Written beside the target under a hidden name, renamed only once complete.
bool WriteAtomically(const std::string& path, const SceneModel& scene, std::string& error)
{
    const std::filesystem::path target(path);
    const std::filesystem::path part
        = target.parent_path() / ("." + target.filename().string() + ".part" + std::to_string(getpid()));
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        if (!out) return error = "cannot write " + path, false;
        WriteScene(scene, out);
        out.flush();
        if (!out) {
            std::remove(part.c_str());
            return error = "cannot write " + path, false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(part, target, ec);
    if (ec) {
        std::filesystem::remove(part, ec);
        return error = "cannot write " + path, false;
    }
    return true;
}

// Reads, converts and writes one drawing; the warnings and any error go to err.
int Import(const Arguments& args, std::ostream& err)
{
    std::string error;
    Diagnostics diagnostics(args.input);
    std::string text;
    if (!ReadFile(args.input, text, error)) {
        err << diagnostics.ErrorLine(0, error) << "\n";
        return 1;
    }
    try {
        const SceneModel scene = ImportDrawing(text, args.options, diagnostics);
        for (const std::string& warning : diagnostics.Warnings())
            err << warning << "\n";
        if (!WriteAtomically(args.output, scene, error)) {
            err << diagnostics.ErrorLine(0, error) << "\n";
            return 1;
        }
    } catch (const ImportError& e) {
        for (const std::string& warning : diagnostics.Warnings())
            err << warning << "\n";
        err << diagnostics.ErrorLine(e.Line(), e.what()) << "\n";
        return 1;
    } catch (const std::bad_alloc&) {
        err << diagnostics.ErrorLine(0, "out of memory") << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int RunImportCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    return Cli::RunProgram(
        "tvs-import-svg", arguments, Parse, ImportUsage, ImportUsage,
        [&err](const Arguments& args) { return Import(args, err); }, out, err);
}

} // namespace KUV::ImportSvg
