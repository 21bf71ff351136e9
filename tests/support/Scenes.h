// Scene snippets for tests: documents assembled from records, written to a
// temporary folder, loaded onto an offscreen target and rendered.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Core/ITavisk.h"
#include "Core/NameTable.h"
#include "Core/OwnedScene.h"
#include "Gfx/D2D1.h"

namespace kuvtest {

// A fresh folder under the test output folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_Path; }
    // Writes text (bytes as given) to a file relative to the folder; returns its full path.
    std::string Write(const std::string& relativePath, const std::string& text) const;

private:
    std::string m_Path;
};

// Builds a "Tavisk{" document: each call adds one named record to its section,
// and the counts are written from what was added.
class SceneText {
public:
    SceneText& Add(KUV::Section section, const std::string& name, const std::string& record);
    // One record named n of each kind.
    SceneText& Geometry(const std::string& n, const std::string& r) { return Add(KUV::Section::Geometries, n, r); }
    SceneText& Brush(const std::string& n, const std::string& r) { return Add(KUV::Section::Brushes, n, r); }
    SceneText& Image(const std::string& n, const std::string& r) { return Add(KUV::Section::Images, n, r); }
    SceneText& Transform(const std::string& n, const std::string& r) { return Add(KUV::Section::Transforms, n, r); }
    SceneText& ChildKuv(const std::string& n, const std::string& r) { return Add(KUV::Section::ChildKuvs, n, r); }
    SceneText& Executable(const std::string& n, const std::string& r) { return Add(KUV::Section::Executables, n, r); }
    SceneText& Controller(const std::string& n, const std::string& r) { return Add(KUV::Section::Controllers, n, r); }
    SceneText& Animation(const std::string& n, const std::string& r) { return Add(KUV::Section::Animations, n, r); }
    // A "MainAnim" that runs procedure with controller (either may be "null") and transitionTarget.
    SceneText& MainAnim(const std::string& procedure, const std::string& controller = "null",
        const std::string& transitionTarget = "null");
    std::string Str() const;

private:
    std::array<std::vector<std::string>, KUV::SectionCount> m_Sections;
};

// Drawing factory and an offscreen target resting in aliased mode, as the player's does.
struct Canvas {
    explicit Canvas(int width = 100, int height = 100);
    ComPtr<ID2D1Factory> factory;
    ComPtr<ID2D1ImageRenderTarget> target;
};

// A scene loaded from a file onto a canvas.
struct LoadedScene {
    int status = -1; // the load status
    std::string errorText; // the factory's text when the load failed
    KUV::OwnedScene scene;

    // BeginDraw, Clear opaque white, Render(identity, null), EndDraw; returns Render's result.
    int RenderFrame(Canvas& canvas);
};

LoadedScene LoadScene(Canvas& canvas, const std::string& path, std::uint32_t tick = 0);
// Writes text as "scene.tvs" into dir and loads it.
LoadedScene LoadSceneText(Canvas& canvas, const TempDir& dir, const std::string& text, std::uint32_t tick = 0);

// prefix followed by n in decimal ("p" and 3 give "p3"); component names for generated scenes.
std::string Numbered(const std::string& prefix, long long n);

// The outcome of running the tvs-render tool.
struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};
// Runs program with arguments (each one argument, no shell quoting needed) in workingDir, with
// the NAME=VALUE entries of environment set on top of this process's environment.
ToolRun RunTool(const std::string& program, const std::vector<std::string>& arguments, const std::string& workingDir,
    const std::vector<std::string>& environment = {});
ToolRun RunTvsRender(const std::vector<std::string>& arguments, const std::string& workingDir);
ToolRun RunTvsCheck(const std::vector<std::string>& arguments, const std::string& workingDir);

} // namespace kuvtest
