// Result codes and texts of the scene operations.
#include <gtest/gtest.h>

#include "Core/Tavisk.h"
#include "Core/ValueD.h"
#include "support/Scenes.h"

using namespace KUV;
using kuvtest::Canvas;
using kuvtest::LoadedScene;
using kuvtest::SceneText;
using kuvtest::TempDir;

namespace {

class TaviskTest : public ::testing::Test {
protected:
    LoadedScene Load(const std::string& text) { return kuvtest::LoadSceneText(canvas, dir, text, 1000); }

    TempDir dir;
    Canvas canvas;
};

TEST_F(TaviskTest, VariablesExistOnlyWhereTheSceneMentionsThem)
{
    LoadedScene loaded = Load(SceneText().Geometry("g", "Rectangle{ x $x y 0 w 1 h 1 hitTest 0 }").Str());
    ASSERT_EQ(loaded.status, 0) << loaded.errorText;
    ITavisk& scene = *loaded.scene;
    float value = -1.f;
    EXPECT_EQ(scene.ReadVariable("$x", &value), ResultOk);
    EXPECT_EQ(value, 0.f);
    EXPECT_EQ(scene.WriteVariable("$x", 2.5f), ResultOk);
    EXPECT_EQ(scene.ReadVariable("$x", &value), ResultOk);
    EXPECT_EQ(value, 2.5f);

    EXPECT_EQ(scene.WriteVariable("x", 1.f), ResultNotFound);
    EXPECT_EQ(scene.GetErrorText(), "trying to write non-existing variable");
    EXPECT_EQ(scene.ReadVariable("x", &value), ResultNotFound) << "a failed write creates nothing";
    EXPECT_EQ(scene.GetErrorText(), "trying to read non-existing variable");
    EXPECT_EQ(value, 2.5f);
}

TEST_F(TaviskTest, AValueWhoseVariableIsMissingThrowsTheDomainText)
{
    Tavisk scene(canvas.target.Get());
    const ValueD missing("$gone", &scene);
    try {
        missing.Get();
        FAIL() << "expected a logic error";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "trying to read non-existing variable");
    }
}

TEST_F(TaviskTest, StartingAMissingAnimationKeepsTheCurrentOne)
{
    LoadedScene loaded = Load(SceneText().Executable("draw", "Procedure{ noOfCommands 0 }").MainAnim("draw").Str());
    ASSERT_EQ(loaded.status, 0) << loaded.errorText;
    EXPECT_EQ(loaded.scene->StartAnimation("Intro", 1000), ResultNotFound);
    EXPECT_EQ(loaded.scene->GetErrorText(), "Intro animation does not exist");
    EXPECT_EQ(loaded.scene->Update(1016), ResultOk);
    EXPECT_EQ(loaded.scene->StartAnimation("MainAnim", 2000), ResultOk) << "restarting the current one is allowed";
}

TEST_F(TaviskTest, RuntimeBlockingErrorsBecomeResultFour)
{
    LoadedScene loaded
        = Load(SceneText().Executable("draw", "Procedure{ noOfCommands 1 PopTransform{ } }").MainAnim("draw").Str());
    ASSERT_EQ(loaded.status, 0) << loaded.errorText;
    EXPECT_EQ(loaded.RenderFrame(canvas), ResultRuntimeError);
    EXPECT_EQ(loaded.scene->GetErrorText(),
        "Tavisk Runtime Blocking Error:::trying to run PopTransform while transform stack is empty");
    EXPECT_EQ(canvas.target->GetAntialiasMode(), D2D1_ANTIALIAS_MODE_ALIASED);
}

TEST_F(TaviskTest, RenderReportsTheFinalTopTransform)
{
    LoadedScene loaded = Load(SceneText()
                                  .Transform("t", "Translation{ x 10 y 20 }")
                                  .Executable("draw", "Procedure{ noOfCommands 1 PushTransform{ t } }")
                                  .MainAnim("draw")
                                  .Str());
    ASSERT_EQ(loaded.status, 0) << loaded.errorText;
    const D2D1_MATRIX_3X2_F base = D2D1::Translation(1.f, 2.f);
    D2D1_MATRIX_3X2_F top {};
    canvas.target->BeginDraw();
    EXPECT_EQ(loaded.scene->Render(&base, &top), ResultOk);
    canvas.target->EndDraw();
    EXPECT_EQ(top, D2D1::Translation(11.f, 22.f));
    D2D1_MATRIX_3X2_F current {};
    canvas.target->GetTransform(&current);
    EXPECT_EQ(current, top) << "the render target keeps the last pushed transform";
}

TEST_F(TaviskTest, HitTestBeforeAnyCaptureUsesTheIdentity)
{
    LoadedScene loaded = Load(SceneText()
                                  .Geometry("a", "Rectangle{ x 10 y 10 w 10 h 10 hitTest 1 }")
                                  .Geometry("b", "Rectangle{ x 50 y 50 w 10 h 10 hitTest 0 }")
                                  .Str());
    ASSERT_EQ(loaded.status, 0) << loaded.errorText;
    bool hit = false;
    EXPECT_EQ(loaded.scene->HitTest(15, 15, &hit), ResultOk);
    EXPECT_TRUE(hit);
    EXPECT_EQ(loaded.scene->HitTest(55, 55, &hit), ResultOk);
    EXPECT_FALSE(hit) << "geometries without the flag are never asked";
}

} // namespace
