#include "support/Scenes.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Core/Factory.h"
#include "support/FailureFiles.h"

namespace kuvtest {
namespace fs = std::filesystem;

TempDir::TempDir()
{
    static std::atomic<int> counter { 0 };
    m_Path = std::string(KUV_TEST_OUTPUT_DIR) + "/tmp/" + CurrentTestName() + "." + std::to_string(getpid()) + "."
        + std::to_string(counter++);
    fs::remove_all(m_Path);
    fs::create_directories(m_Path);
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(m_Path, ec);
}

std::string TempDir::Write(const std::string& relativePath, const std::string& text) const
{
    const fs::path full = fs::path(m_Path) / relativePath;
    fs::create_directories(full.parent_path());
    std::ofstream(full, std::ios::binary) << text;
    return full.string();
}

SceneText& SceneText::Add(KUV::Section section, const std::string& name, const std::string& record)
{
    m_Sections[std::size_t(section)].push_back(name + " " + record);
    return *this;
}

SceneText& SceneText::MainAnim(
    const std::string& procedure, const std::string& controller, const std::string& transitionTarget)
{
    return Animation("MainAnim",
        "Animation{ renderFunction " + procedure + " controller " + controller + " transitionTarget " + transitionTarget
            + " }");
}

std::string SceneText::Str() const
{
    std::ostringstream out;
    out << "Tavisk{\n";
    for (std::size_t i = 0; i < KUV::SectionCount; ++i) {
        out << KUV::ComponentKinds[i].keyword << " " << m_Sections[i].size() << "\n";
        for (const std::string& record : m_Sections[i])
            out << "  " << record << "\n";
    }
    out << "}\n";
    return out.str();
}

Canvas::Canvas(int width, int height)
{
    EXPECT_EQ(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, factory.ReleaseAndGetAddressOf()), S_OK);
    const D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties();
    const D2D1_SIZE_U size { static_cast<UINT32>(width), static_cast<UINT32>(height) };
    EXPECT_EQ(factory->CreateImageRenderTarget(properties, size, target.ReleaseAndGetAddressOf()), S_OK);
    target->SetAntialiasMode(D2D1_ANTIALIAS_MODE_ALIASED);
}

int LoadedScene::RenderFrame(Canvas& canvas)
{
    static const D2D1_COLOR_F white { 1.f, 1.f, 1.f, 1.f };
    const D2D1_MATRIX_3X2_F identity = D2D1::IdentityMatrix();
    canvas.target->BeginDraw();
    canvas.target->Clear(&white);
    const int result = scene->Render(&identity, nullptr);
    EXPECT_EQ(canvas.target->EndDraw(), S_OK);
    return result;
}

std::string Numbered(const std::string& prefix, long long n)
{
    std::string name = prefix;
    name += std::to_string(n);
    return name;
}

LoadedScene LoadScene(Canvas& canvas, const std::string& path, std::uint32_t tick)
{
    LoadedScene loaded;
    KUV::Factory* factory = KUV::GetSceneFactory();
    loaded.status = KUV::LoadOwnedScene(*factory, path, tick, canvas.target.Get(), loaded.scene);
    if (loaded.status != 0) loaded.errorText = factory->GetErrorText();
    return loaded;
}

LoadedScene LoadSceneText(Canvas& canvas, const TempDir& dir, const std::string& text, std::uint32_t tick)
{
    return LoadScene(canvas, dir.Write("scene.tvs", text), tick);
}

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

ToolRun RunTool(const std::string& program, const std::vector<std::string>& arguments, const std::string& workingDir,
    const std::vector<std::string>& environment)
{
    // Outside workingDir, so that neither the tree under test nor a parallel test sees them.
    static int runs = 0;
    const std::string stem = (std::filesystem::temp_directory_path()
        / ("kuv-tool-" + std::to_string(getpid()) + "-" + std::to_string(++runs)))
                                 .string();
    const std::string outPath = stem + ".out";
    const std::string errPath = stem + ".err";
    // The child must not write out what this process still has buffered.
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(workingDir.c_str()) != 0) _exit(127);
        if (!freopen(outPath.c_str(), "w", stdout) || !freopen(errPath.c_str(), "w", stderr)) _exit(127);
        for (const std::string& entry : environment)
            putenv(const_cast<char*>(entry.c_str()));
        std::vector<char*> argv { const_cast<char*>(program.c_str()) };
        for (const std::string& a : arguments)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    ToolRun run;
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    run.out = ReadAll(outPath);
    run.err = ReadAll(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return run;
}

ToolRun RunTvsRender(const std::vector<std::string>& arguments, const std::string& workingDir)
{
    return RunTool(KUV_TVS_RENDER, arguments, workingDir);
}

ToolRun RunTvsCheck(const std::vector<std::string>& arguments, const std::string& workingDir)
{
    return RunTool(KUV_TVS_CHECK, arguments, workingDir);
}

} // namespace kuvtest
