// Cached coverage masks of static geometries: when one is made, where it is kept
// and placed, and what a masked fill leaves behind.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "Core/BrushBase.h"
#include "Core/Factory.h"
#include "Core/GeometryBase.h"
#include "Core/MaskCache.h"
#include "support/ProgramFixtures.h"

using namespace KUV;
using namespace kuvtest;

namespace {

class MaskCacheTest : public ProgramTest {
protected:
    void LoadShapes(const std::string& commands, int count)
    {
        LoadDrawing(SceneText()
                        .Geometry("oval", "Ellipse{ center Point{ 50 50 } radiusX 10 radiusY 10 hitTest 0 }")
                        .Geometry("dot", "Rectangle{ x 30.5 y 40 w 0 h 0 hitTest 0 }")
                        .Geometry("uses$w", "Rectangle{ x $w y 0 w 0 h 0 hitTest 0 }")
                        .Brush("red", RedBrush)
                        .Transform("move", "Translation{ x 5 y 6 }"),
            commands, count);
    }
    GeometryBase& Geometry(const std::string& name) const { return *Scene().Find<GeometryBase>(name); }
};

TEST_F(MaskCacheTest, AnEllipseOfRadiusTenIsDrawnDirectlyAndRemembersItHasNoMask)
{
    LoadShapes("Fill{ oval red } Stroke{ oval red 2 } Stroke{ oval red 0.1234567 } Stroke{ oval red 0.1234568 }", 4);
    ExpectRendered({ { 50, 50, Red }, { 50, 35, White } });
    const GeometryBase& oval = Geometry("oval");
    EXPECT_FALSE(oval.m_FillMask);
    ASSERT_EQ(oval.m_StrokeMasks.size(), 3u) << "widths that print alike are still told apart";
    ASSERT_EQ(oval.m_StrokeMasks.count(2.f), 1u);
    EXPECT_FALSE(oval.m_StrokeMasks.at(2.f));
    EXPECT_EQ(canvas.target->GetAntialiasMode(), D2D1_ANTIALIAS_MODE_ALIASED);
}

TEST_F(MaskCacheTest, APointSizedGeometryGetsATwoByTwoMaskAroundThePointAndTransformsComeBack)
{
    LoadShapes("PushTransform{ move } Fill{ dot red }", 2);
    ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
    const GeometryBase& dot = Geometry("dot");
    ASSERT_TRUE(dot.m_FillMask && dot.m_FillMask->bitmap);
    EXPECT_EQ(dot.m_FillMask->bitmap->GetPixelSize().width, 2u);
    EXPECT_EQ(dot.m_FillMask->bitmap->GetPixelSize().height, 2u);
    EXPECT_EQ(dot.m_FillMask->bitmap->GetPixelFormat().format, DXGI_FORMAT_A8_UNORM);
    ExpectMatrix(dot.m_FillMask->placement, D2D1::Translation(29.5f, 39.f));
    EXPECT_EQ(GetSceneFactory()->FindMask(dot.m_MaskScope + std::string(1, '\0') + "dot_fill"), dot.m_FillMask);

    D2D1_MATRIX_3X2_F after {}, brushAfter {};
    canvas.target->GetTransform(&after);
    ExpectMatrix(after, D2D1::Translation(5.f, 6.f));
    Scene().Find<BrushBase>("red")->GetResource()->GetTransform(&brushAfter);
    ExpectMatrix(brushAfter, D2D1::IdentityMatrix());
    EXPECT_EQ(canvas.target->GetAntialiasMode(), D2D1_ANTIALIAS_MODE_ALIASED);
}

TEST_F(MaskCacheTest, SameNamedGeometriesShareMasksOnlyWithinOneSceneFile)
{
    LoadShapes("Fill{ dot red }", 1);
    TempDir otherDir;
    LoadedScene elsewhere = LoadSceneText(canvas, otherDir,
        SceneText()
            .Geometry("dot", "Rectangle{ x 70 y 80 w 0 h 0 hitTest 0 }")
            .Brush("red", RedBrush)
            .Executable("draw", Commands("Fill{ dot red }", 1))
            .MainAnim("draw")
            .Str());
    LoadedScene again = LoadScene(canvas, dir.Path() + "/scene.tvs");
    ASSERT_EQ(elsewhere.status, 0);
    ASSERT_EQ(again.status, 0);
    ASSERT_EQ(Render(), ResultOk);
    ASSERT_EQ(elsewhere.RenderFrame(canvas), ResultOk);
    ASSERT_EQ(again.RenderFrame(canvas), ResultOk);

    const auto& otherDot = *static_cast<Tavisk*>(elsewhere.scene.get())->Find<GeometryBase>("dot");
    ASSERT_TRUE(otherDot.m_FillMask);
    ExpectMatrix(otherDot.m_FillMask->placement, D2D1::Translation(69.f, 79.f));
    EXPECT_EQ(
        static_cast<Tavisk*>(again.scene.get())->Find<GeometryBase>("dot")->m_FillMask, Geometry("dot").m_FillMask);
}

TEST_F(MaskCacheTest, StrokeWidthsThatCannotBeKeysOrKeepChangingAreDrawnDirectly)
{
    LoadShapes("Stroke{ oval red $w }", 1);
    Write("$w", NAN);
    ASSERT_EQ(Render(), ResultOk);
    EXPECT_TRUE(Geometry("oval").m_StrokeMasks.empty());
    for (int frame = 0; frame < 300; ++frame) {
        Write("$w", 1.f + frame * 0.01f);
        ASSERT_EQ(Render(), ResultOk);
    }
    EXPECT_EQ(Geometry("oval").m_StrokeMasks.size(), 256u) << "the per-geometry entries stop growing";
    Write("$w", 4.f);
    ExpectRendered({ { 50, 40, Red }, { 50, 50, White } });
}

} // namespace
