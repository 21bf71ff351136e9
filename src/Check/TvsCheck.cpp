#include "Check/TvsCheck.h"

#include <charconv>
#include <limits>
#include <memory>
#include <set>

#include "Authoring/Timeline.h"
#include "Check/SceneCheck.h"
#include "Core/Factory.h"
#include "Core/FilePath.h"
#include "Core/Tavisk.h"

namespace KUV::Check {

const char* const CheckUsage
    = "usage: tvs-check [--no-fail] SCENE...\n"
      "       tvs-check --timeline [--until MS] SCENE...\n"
      "  Loads each SCENE as the player does and prints FILE:LINE: warning: TEXT for every silent mistake\n"
      "  in it and in its child scenes, then a summary; exits 1 when it warned (0 with --no-fail).\n"
      "  --timeline instead updates the scene every 16 ms up to MS (default 154000) without drawing and\n"
      "  prints \"<tick> <file>: <from> -> <to>\" whenever a scene starts an animation.\n";

namespace {

bool ParseUntil(const std::string& text, int& until)
{
    const char* end = text.data() + text.size();
    long long value = 0;
    const auto [rest, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || rest != end || value < 0 || value > std::numeric_limits<int>::max()) return false;
    until = static_cast<int>(value);
    return true;
}

bool ApplyArgument(CheckOptions& o, const std::vector<std::string>& arguments, size_t& i, std::string& error)
{
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") return o.help = true;
    if (argument == "--timeline") return o.timeline = true;
    if (argument == "--no-fail") return o.noFail = true;
    if (argument == "--until") {
        if (i + 1 < arguments.size() && ParseUntil(arguments[i + 1], o.until)) return ++i, true;
        error = i + 1 < arguments.size() ? "bad value for --until: \"" + arguments[i + 1] + "\""
                                         : "missing value for --until";
        return false;
    }
    if (argument.rfind("--", 0) == 0) {
        error = "unknown option " + argument;
        return false;
    }
    o.scenes.push_back(argument);
    return true;
}

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
        if (!CreateTarget()) return 1;
        for (const std::string& path : m_Options.scenes) {
            std::unique_ptr<Tavisk> scene;
            if (const int status = Load(path, scene); status != LoadOk) return status;
            const int code
                = m_Options.timeline ? Authoring::RunTimeline(*scene, m_Options.until, m_Out, m_Err) : Check(*scene);
            if (code != 0) return code;
        }
        return m_Options.timeline ? 0 : Summarise();
    }

private:
    bool CreateTarget()
    {
        const D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties();
        if (D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, m_D2DFactory.ReleaseAndGetAddressOf()) == S_OK
            && m_D2DFactory->CreateImageRenderTarget(properties, { 16, 16 }, m_Target.ReleaseAndGetAddressOf()) == S_OK)
            return true;
        m_Err << "unable to create render target\n";
        return false;
    }

    int Load(const std::string& path, std::unique_ptr<Tavisk>& scene)
    {
        Factory* factory = GetSceneFactory();
        if (!factory) {
            m_Err << "Unable to create KUV Factory\n";
            return 1;
        }
        ITavisk* loaded = nullptr;
        const int status = factory->LoadTavisk(path, 0, m_Target.Get(), &loaded);
        scene.reset(dynamic_cast<Tavisk*>(loaded));
        if (status != LoadOk) m_Err << factory->GetErrorText() << "\n";
        return status;
    }

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
    ComPtr<ID2D1Factory> m_D2DFactory;
    ComPtr<ID2D1ImageRenderTarget> m_Target;
    std::set<std::string> m_Files;
    size_t m_Warnings = 0;
};

} // namespace

std::optional<CheckOptions> ParseCheckOptions(const std::vector<std::string>& arguments, std::string& error)
{
    CheckOptions options;
    for (size_t i = 0; i < arguments.size(); ++i)
        if (!ApplyArgument(options, arguments, i, error)) return std::nullopt;
    if (options.help) return options;
    if (options.scenes.empty()) {
        error = "no scene given";
        return std::nullopt;
    }
    return options;
}

int RunCheck(const CheckOptions& options, std::ostream& out, std::ostream& err)
{
    return Checker(options, out, err).Run();
}

} // namespace KUV::Check
