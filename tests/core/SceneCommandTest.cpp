// Child scenes drawn and driven from a parent's procedures.
#include <gtest/gtest.h>

#include "ProgramFixtures.h"
#include "support/Pixels.h"

using namespace KUV;
using namespace kuvtest;

namespace {

class SceneCommandTest : public ProgramTest {
protected:
    std::string Child(const SceneText& child)
    {
        return "Tavisk{ " + dir.Write("child.tvs", child.Str()) + " noOfArgs 0 }";
    }
};

TEST_F(SceneCommandTest, AFailingChildKeepsItsErrorWhileTheParentFrameCompletes)
{
    SceneText child;
    child.Geometry("box", "Rectangle{ x 0 y 0 w 10 h 10 hitTest 0 }")
        .Geometry("big", "Rectangle{ x 0 y 0 w 40 h 40 hitTest 0 }")
        .Brush("green", GreenBrush)
        .Executable("draw", Commands("Fill{ box green } PopTransform{ } Fill{ big green }", 3))
        .MainAnim("draw");
    SceneText parent;
    parent.Geometry("side", "Rectangle{ x 20 y 0 w 10 h 10 hitTest 0 }")
        .Brush("red", RedBrush)
        .Transform("move", "Translation{ x 50 y 50 }")
        .ChildKuv("kid", Child(child))
        .Executable("draw", Commands("PushTransform{ move } RenderKuv{ kid } Fill{ side red }", 3))
        .MainAnim("draw");
    Load(parent);
    ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
    EXPECT_TRUE(
        PixelsNear(canvas.target.Get(), { { 55, 55, Green }, { 75, 55, Red }, { 85, 85, White }, { 5, 5, White } }));
    EXPECT_EQ(Scene().FindChildKuv("kid")->GetErrorText(),
        "Tavisk Runtime Blocking Error:::trying to run PopTransform while transform stack is empty");
    EXPECT_EQ(canvas.target->GetAntialiasMode(), D2D1_ANTIALIAS_MODE_ALIASED);
}

TEST_F(SceneCommandTest, TheParentWritesChildVariablesFromItsOwnValues)
{
    SceneText child;
    child.Geometry("bar", "Rectangle{ x 0 y 0 w $w h 10 hitTest 0 }")
        .Brush("green", GreenBrush)
        .Executable("draw", Commands("Fill{ bar green }", 1))
        .MainAnim("draw");
    SceneText parent;
    Declare(parent, { "$pw" })
        .ChildKuv("kid", Child(child))
        .Executable("draw", Commands("SetKuvVar{ kid $w $pw } SetKuvVar{ kid $missing 1 } RenderKuv{ kid }", 3))
        .Controller("c", "Const{ target $pw begin 0 end 1000 loops 1 value 30 noOfChildren 0 }")
        .MainAnim("draw", "c");
    Load(parent);
    ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
    EXPECT_TRUE(PixelsNear(canvas.target.Get(), { { 25, 5, Green }, { 35, 5, White } }));
    EXPECT_EQ(Scene().FindChildKuv("kid")->GetErrorText(), "trying to write non-existing variable");
    float w = 0.f;
    Scene().FindChildKuv("kid")->ReadVariable("$w", &w);
    EXPECT_EQ(w, 30.f) << "the write outlives the frame";
}

} // namespace
