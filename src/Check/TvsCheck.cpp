#include "Check/TvsCheck.h"

#include <limits>
#include <memory>
#include <set>

#include "Authoring/OffscreenScene.h"
#include "Authoring/Timeline.h"
#include "Check/FlashCheck.h"
#include "Check/SceneCheck.h"
#include "Cli/CommandLine.h"
#include "Core/FilePath.h"
#include "Core/Tavisk.h"

namespace KUV::Check {

const char* const CheckUsage
    = "usage: tvs-check [--no-fail] SCENE...\n"
      "       tvs-check --timeline [--until MS] SCENE...\n"
      "  Loads each SCENE as the player does and prints FILE:LINE: warning: TEXT for every silent mistake\n"
      "  in it and in its child scenes, then a summary; exits 1 when it warned (0 with --no-fail).\n"
      "  --timeline instead updates the scene every 16 ms up to MS (default 154000) without drawing and\n"
      "  prints \"<tick> <file>: <from> -> <to>\" whenever a scene starts an animation.\n"
      "       tvs-check --flashes [--size WxH] [--from MS] [--until MS] [--plot FILE.png] [--no-fail] SCENE\n"
      "  --flashes draws every 16-ms frame from MS (default 0) to MS (default 154000) at WxH (default\n"
      "  800x600) and prints FILE: warning: TEXT for every stretch that flashes more than three times a\n"
      "  second over too large an area, then a summary; exits 1 when one fails (0 with --no-fail).\n"
      "  --plot writes a picture of the run's luminance, red, flash rates and flashing area.\n";

namespace {

// The largest side of a frame the flash check draws.
constexpr int MaxSide = 16384;

class Checker {
public:
    Checker(const CheckOptions& options, std::ostream& out, std::ostream& err)
        : m_Options(options)
        , m_Out(out)
        , m_Err(err)
    {
    }

    int Run()
    {
        // The checks draw nothing: the scenes need a target to load onto, of any size.
        if (const int code = m_Play.CreateTarget(16, 16, m_Err); code != 0) return code;
        for (const std::string& path : m_Options.scenes) {
            if (const int status = m_Play.Load(path, m_Err); status != LoadOk) return status;
            // Tavisk is the one kind of scene the factory makes.
            Tavisk& tavisk = dynamic_cast<Tavisk&>(m_Play.Scene());
            const int code
                = m_Options.timeline ? Authoring::RunTimeline(tavisk, m_Options.until, m_Out, m_Err) : Check(tavisk);
            if (code != 0) return code;
        }
        return m_Options.timeline ? 0 : Summarise();
    }

private:
    int Check(Tavisk& root)
    {
        const SceneTree tree(root);
        for (const SceneNode& node : tree.Scenes())
            m_Files.insert(FileIdentity(ResolvePath(node.scene->m_Origin.file)));
        for (const Warning& w : CheckSceneTree(root)) {
            m_Out << ResolvePath(w.at.file) << ":" << w.at.line << ": warning: " << w.text << "\n";
            ++m_Warnings;
        }
        return 0;
    }

    int Summarise()
    {
        const auto count
            = [](size_t n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); };
        m_Out << count(m_Files.size(), "file") << ", " << count(m_Warnings, "warning") << "\n";
        return m_Warnings > 0 && !m_Options.noFail ? 1 : 0;
    }

    const CheckOptions& m_Options;
    std::ostream& m_Out;
    std::ostream& m_Err;
    Authoring::OffscreenScene m_Play;
    std::set<std::string> m_Files;
    size_t m_Warnings = 0;
};

} // namespace

std::optional<CheckOptions> ParseCheckOptions(const std::vector<std::string>& arguments, std::string& error)
{
    CheckOptions options;
    Cli::Parser parser;
    parser.Flag("--help", options.help).Flag("-h", options.help);
    parser.Flag("--timeline", options.timeline).Flag("--flashes", options.flashes).Flag("--no-fail", options.noFail);
    parser.Option("--until", Cli::Number(options.until, 0, std::numeric_limits<int>::max()));
    parser.Option("--from", Cli::Number(options.from, 0, std::numeric_limits<int>::max()));
    parser.Option("--size", Cli::SizeInto(options.width, options.height, MaxSide));
    parser.Option("--plot", Cli::Text(options.plot));
    parser.Positional([&options](const std::string& scene, std::string&) {
        options.scenes.push_back(scene);
        return true;
    });
    if (!parser.Read(arguments, error)) return std::nullopt;
    if (options.help) return options;
    if (options.scenes.empty()) {
        error = "no scene given";
        return std::nullopt;
    }
    if (options.flashes && (options.timeline || options.scenes.size() > 1 || options.from > options.until)) {
        error = options.timeline        ? "--flashes and --timeline do not go together"
            : options.scenes.size() > 1 ? "--flashes checks one scene at a time"
                                        : "--from is after --until";
        return std::nullopt;
    }
    return options;
}

int RunCheck(const CheckOptions& options, std::ostream& out, std::ostream& err)
{
    if (options.flashes)
        return RunFlashCheck({ { options.scenes.front(), options.width, options.height, options.from, options.until },
                                 options.plot, options.noFail },
            out, err);
    return Checker(options, out, err).Run();
}

} // namespace KUV::Check
