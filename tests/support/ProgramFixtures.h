// Helpers for the scene tests: a scene loaded from text at a chosen tick, its
// variables, its parse-error frame and the pixels of its rendered frame.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Core/Tavisk.h"
#include "support/Pixels.h"
#include "support/Scenes.h"

namespace kuvtest {

const std::string RedBrush = "SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }";
const std::string GreenBrush = "SolidColorBrush{ Color{ 0 1 0 1 } opacity 1 }";
const std::string BlueBrush = "SolidColorBrush{ Color{ 0 0 1 1 } opacity 1 }";

// Variables exist only where a value mentions them: one invisible rectangle per name.
inline SceneText& Declare(SceneText& text, std::initializer_list<std::string> variables)
{
    for (const std::string& variable : variables)
        text.Geometry("uses" + variable, "Rectangle{ x " + variable + " y 0 w 0 h 0 hitTest 0 }");
    return text;
}

inline std::string Commands(const std::string& commands, int count)
{
    return "Procedure{ noOfCommands " + std::to_string(count) + " " + commands + " }";
}

inline void ExpectMatrix(const D2D1_MATRIX_3X2_F& actual, const D2D1_MATRIX_3X2_F& expected, float tolerance = 1e-4f)
{
    const float a[] = { actual._11, actual._12, actual._21, actual._22, actual._31, actual._32 };
    const float e[] = { expected._11, expected._12, expected._21, expected._22, expected._31, expected._32 };
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(a[i], e[i], tolerance) << "entry " << i;
}

class ProgramTest : public ::testing::Test {
protected:
    void Load(const SceneText& text, std::uint32_t tick = 0)
    {
        loaded = LoadSceneText(canvas, dir, text.Str(), tick);
        ASSERT_EQ(loaded.status, 0) << loaded.errorText;
    }
    // Loads text whose MainAnim runs the given commands.
    void LoadDrawing(SceneText text, const std::string& commands, int count)
    {
        Load(text.Executable("draw", Commands(commands, count)).MainAnim("draw"));
    }
    // The load's failure text, expected to be a parse error.
    std::string LoadError(const SceneText& text)
    {
        loaded = LoadSceneText(canvas, dir, text.Str());
        EXPECT_EQ(loaded.status, 1);
        return loaded.errorText;
    }
    std::string Framed(int line, const std::string& message) const
    {
        return "Parse Error:::" + dir.Path() + "/scene.tvs : " + std::to_string(line) + " : " + message;
    }
    KUV::Tavisk& Scene() const { return *static_cast<KUV::Tavisk*>(loaded.scene.get()); }
    float Var(const std::string& name) const
    {
        float value = -12345.f;
        EXPECT_EQ(loaded.scene->ReadVariable(name, &value), KUV::ResultOk) << name;
        return value;
    }
    void Write(const std::string& name, float value) const
    {
        EXPECT_EQ(loaded.scene->WriteVariable(name, value), KUV::ResultOk) << name;
    }
    int Update(int time) const { return loaded.scene->Update(time); }
    // Whether the scene's hit test finds a hit-testable geometry at (x, y). Asked twice, with the
    // flag set and cleared beforehand: an answer that only echoes the flag is a failure.
    bool Hits(int x, int y) const
    {
        bool fromTrue = true, fromFalse = false;
        EXPECT_EQ(loaded.scene->HitTest(x, y, &fromTrue), KUV::ResultOk);
        EXPECT_EQ(loaded.scene->HitTest(x, y, &fromFalse), KUV::ResultOk);
        EXPECT_EQ(fromTrue, fromFalse) << "the hit test left its flag as it was at " << x << ", " << y;
        return fromFalse;
    }
    int Render() { return loaded.RenderFrame(canvas); }
    // Renders a frame that must succeed and checks its pixels.
    void ExpectRendered(const std::vector<PixelExpectation>& pixels, int tolerance = 8)
    {
        ASSERT_EQ(Render(), KUV::ResultOk) << Scene().GetErrorText();
        EXPECT_TRUE(PixelsNear(canvas.target.Get(), pixels, tolerance));
    }

    TempDir dir;
    Canvas canvas;
    LoadedScene loaded;
};

} // namespace kuvtest
