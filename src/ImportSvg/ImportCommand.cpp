#include "ImportSvg/ImportCommand.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

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

bool Parse(const std::vector<std::string>& args, Arguments& parsed, std::string& error)
{
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            parsed.help = true;
        } else if (a == "--width" || a == "--prefix") {
            if (i + 1 >= args.size()) return error = a + " needs a value", false;
            const std::string& value = args[++i];
            if (a == "--prefix") {
                if (TokenFrom(value) != value || value.empty()) return error = "bad --prefix \"" + value + "\"", false;
                parsed.options.prefix = value;
                continue;
            }
            const auto width = ParseNumber(value);
            if (!width || !(*width > 0) || *width > 1e6) return error = "bad --width \"" + value + "\"", false;
            parsed.options.width = *width;
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            return error = "unknown option " + a, false;
        } else
            positional.push_back(a);
    }
    if (parsed.help) return true;
    if (positional.size() != 2) return error = "expected INPUT.svg and OUTPUT.tvs", false;
    parsed.input = positional[0];
    parsed.output = positional[1];
    return true;
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

} // namespace

int RunImportCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    Arguments args;
    std::string error;
    if (!Parse(arguments, args, error)) {
        err << "tvs-import-svg: " << error << "\n" << ImportUsage;
        return 64;
    }
    if (args.help) {
        out << ImportUsage;
        return 0;
    }
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

} // namespace KUV::ImportSvg
