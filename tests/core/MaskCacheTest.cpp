// Cached coverage masks of static geometries: when one is made, where it is kept
// and placed, and what a masked fill leaves behind.
#include <cmath>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "Core/BrushBase.h"
#include "Core/Factory.h"
#include "Core/GeometryBase.h"
#include "Core/MaskCache.h"
#include "ProgramFixtures.h"
#include "support/Pixels.h"

using namespace KUV;
using namespace kuvtest;

namespace {

void ExpectMatrix(const D2D1_MATRIX_3X2_F& actual, const D2D1_MATRIX_3X2_F& expected)
{
    const float a[] = { actual._11, actual._12, actual._21, actual._22, actual._31, actual._32 };
    const float e[] = { expected._11, expected._12, expected._21, expected._22, expected._31, expected._32 };
    for (int i = 0; i < 6; ++i)
        EXPECT_FLOAT_EQ(a[i], e[i]) << "entry " << i;
}

std::string FillKey(const GeometryBase& geometry)
{
    return geometry.m_MaskScope + std::string(1, '\0') + geometry.m_Name + "_fill";
}

class MaskCacheTest : public ProgramTest {
protected:
    SceneText Shapes(const std::string& commands, int count) const
    {
        SceneText text;
        text.Geometry("oval", "Ellipse{ center Point{ 50 50 } radiusX 10 radiusY 10 hitTest 0 }")
            .Geometry("dot", "Rectangle{ x 30.5 y 40 w 0 h 0 hitTest 0 }")
            .Geometry("uses$w", "Rectangle{ x $w y 0 w 0 h 0 hitTest 0 }")
            .Brush("red", RedBrush)
            .Transform("move", "Translation{ x 5 y 6 }")
            .Executable("draw", Commands(commands, count))
            .MainAnim("draw");
        return text;
    }
    GeometryBase& Geometry(const std::string& name) const { return *Scene().FindGeometry(name); }
};

TEST_F(MaskCacheTest, AnEllipseOfRadiusTenIsDrawnDirectlyAndRemembersItHasNoMask)
{
    Load(Shapes("Fill{ oval red } Stroke{ oval red 2 } Stroke{ oval red 0.1234567 } Stroke{ oval red 0.1234568 }", 4));
    ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
    EXPECT_TRUE(PixelsNear(canvas.target.Get(), { { 50, 50, Red }, { 50, 35, White } }));
    const GeometryBase& oval = Geometry("oval");
    EXPECT_FALSE(oval.m_FillMask);
    ASSERT_EQ(oval.m_StrokeMasks.size(), 3u) << "widths that print alike are still told apart";
    ASSERT_EQ(oval.m_StrokeMasks.count(2.f), 1u);
    EXPECT_FALSE(oval.m_StrokeMasks.at(2.f));
    EXPECT_EQ(canvas.target->GetAntialiasMode(), D2D1_ANTIALIAS_MODE_ALIASED);
}

TEST_F(MaskCacheTest, APointSizedGeometryGetsATwoByTwoMaskAroundThePoint)
{
    Load(Shapes("PushTransform{ move } Fill{ dot red }", 2));
    ASSERT_EQ(Render(), ResultOk) << Scene().GetErrorText();
    const GeometryBase& dot = Geometry("dot");
    ASSERT_TRUE(dot.m_FillMask);
    ASSERT_TRUE(dot.m_FillMask->bitmap);
    EXPECT_EQ(dot.m_FillMask->bitmap->GetPixelSize().width, 2u);
    EXPECT_EQ(dot.m_FillMask->bitmap->GetPixelSize().height, 2u);
    EXPECT_EQ(dot.m_FillMask->bitmap->GetPixelFormat().format, DXGI_FORMAT_A8_UNORM);
    ExpectMatrix(dot.m_FillMask->placement, D2D1::Translation(29.5f, 39.f));
    EXPECT_EQ(GetSceneFactory()->FindMask(FillKey(dot)), dot.m_FillMask);

    D2D1_MATRIX_3X2_F after {};
    canvas.target->GetTransform(&after);
    ExpectMatrix(after, D2D1::Translation(5.f, 6.f));
    D2D1_MATRIX_3X2_F brushAfter {};
    Scene().FindBrush("red")->GetResource()->GetTransform(&brushAfter);
    ExpectMatrix(brushAfter, D2D1::IdentityMatrix());
    EXPECT_EQ(canvas.target->GetAntialiasMode(), D2D1_ANTIALIAS_MODE_ALIASED);
}

TEST_F(MaskCacheTest, AGeometryWithoutMaskLooksAgainEachTimeItIsFilled)
{
    Load(Shapes("Fill{ oval red }", 1));
    ASSERT_EQ(Render(), ResultOk);
    const BYTE opaque[16] = { 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255 };
    const D2D1_BITMAP_PROPERTIES properties { { DXGI_FORMAT_A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED }, 96.f, 96.f };
    ID2D1Bitmap* created = nullptr;
    ASSERT_EQ(canvas.target->CreateBitmap({ 4, 4 }, opaque, 4, properties, &created), S_OK);
    auto square
        = std::make_shared<MaskData>(MaskData { AdoptInterface<ID2D1Bitmap>(created), D2D1::Translation(10, 10) });
    GetSceneFactory()->StoreMask(FillKey(Geometry("oval")), square);

    ASSERT_EQ(Render(), ResultOk);
    EXPECT_TRUE(PixelsNear(canvas.target.Get(), { { 12, 12, Red }, { 50, 50, White }, { 16, 12, White } }));
}

TEST_F(MaskCacheTest, SameNamedGeometriesShareMasksOnlyWithinOneSceneFile)
{
    Load(Shapes("Fill{ dot red }", 1));
    TempDir otherDir;
    SceneText other;
    other.Geometry("dot", "Rectangle{ x 70 y 80 w 0 h 0 hitTest 0 }")
        .Brush("red", RedBrush)
        .Executable("draw", Commands("Fill{ dot red }", 1))
        .MainAnim("draw");
    LoadedScene elsewhere = LoadSceneText(canvas, otherDir, other.Str());
    LoadedScene again = LoadScene(canvas, dir.Path() + "/scene.tvs");
    ASSERT_EQ(elsewhere.status, 0);
    ASSERT_EQ(again.status, 0);
    ASSERT_EQ(Render(), ResultOk);
    ASSERT_EQ(elsewhere.RenderFrame(canvas), ResultOk);
    ASSERT_EQ(again.RenderFrame(canvas), ResultOk);

    const auto& otherDot = *static_cast<Tavisk*>(elsewhere.scene.get())->FindGeometry("dot");
    ASSERT_TRUE(otherDot.m_FillMask);
    ExpectMatrix(otherDot.m_FillMask->placement, D2D1::Translation(69.f, 79.f));
    EXPECT_EQ(static_cast<Tavisk*>(again.scene.get())->FindGeometry("dot")->m_FillMask, Geometry("dot").m_FillMask);
}

TEST_F(MaskCacheTest, StrokeWidthsThatCannotBeKeysOrKeepChangingAreDrawnDirectly)
{
    Load(Shapes("Stroke{ oval red $w }", 1));
    Scene().WriteVariable("$w", NAN);
    ASSERT_EQ(Render(), ResultOk);
    EXPECT_TRUE(Geometry("oval").m_StrokeMasks.empty());
    for (int frame = 0; frame < 300; ++frame) {
        Scene().WriteVariable("$w", 1.f + frame * 0.01f);
        ASSERT_EQ(Render(), ResultOk);
    }
    EXPECT_EQ(Geometry("oval").m_StrokeMasks.size(), 256u) << "the per-geometry entries stop growing";
    Scene().WriteVariable("$w", 4.f);
    ASSERT_EQ(Render(), ResultOk);
    EXPECT_TRUE(PixelsNear(canvas.target.Get(), { { 50, 40, Red }, { 50, 50, White } }));
}

struct PlainBrush : BrushBase {
    std::shared_ptr<ID2D1Brush> CreateResource() override
    {
        ID2D1SolidColorBrush* brush = nullptr;
        CheckD2DResult(m_RT->CreateSolidColorBrush(D2D1::ColorF(0.f, 0.f, 1.f), nullptr, &brush));
        return AdoptInterface<ID2D1Brush>(brush);
    }
};

TEST(MaskPlacement, TheBrushPaintsEveryDevicePixelAsWithoutTheMaskAndBothTransformsComeBack)
{
    Canvas canvas;
    PlainBrush component;
    component.m_RT = canvas.target.Get();
    const std::shared_ptr<ID2D1Brush> brush = component.GetResource();
    const D2D1_MATRIX_3X2_F target { 0.f, 1.f, -1.f, 0.f, 3.f, 4.f };
    const D2D1_MATRIX_3X2_F brushSpace { 2.f, 0.f, 0.f, 2.f, 1.f, 1.f };
    const D2D1_MATRIX_3X2_F placement = D2D1::Translation(5.f, 7.f);
    canvas.target->SetTransform(target);
    brush->SetTransform(brushSpace);
    try {
        MaskPlacementScope placed(canvas.target.Get(), brush.get(), placement);
        D2D1_MATRIX_3X2_F nowTarget {}, nowBrush {};
        canvas.target->GetTransform(&nowTarget);
        brush->GetTransform(&nowBrush);
        ExpectMatrix(nowTarget, placement * target);
        ExpectMatrix(nowBrush * nowTarget, brushSpace * target);
        throw std::runtime_error("interrupted");
    } catch (const std::runtime_error&) {
    }
    D2D1_MATRIX_3X2_F restoredTarget {}, restoredBrush {};
    canvas.target->GetTransform(&restoredTarget);
    brush->GetTransform(&restoredBrush);
    ExpectMatrix(restoredTarget, target);
    ExpectMatrix(restoredBrush, brushSpace);
}

} // namespace
