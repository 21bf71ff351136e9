// The work bound of a render: what each kind of draw is charged, and scenes that
// are cheap to write but ruinous to draw failing the same way every time.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "Core/RenderWork.h"
#include "support/ProgramFixtures.h"

namespace kuvtest {
namespace {

using KUV::RenderWork;
using KUV::Tavisk;

const std::string Budget = "Tavisk Runtime Blocking Error:::the render needs more than its budget of 2000000000 work "
                           "units (commands weighed by the pixels and outlines they draw); its procedures draw too "
                           "much or call each other too often";

class RenderWorkTest : public ProgramTest {
protected:
    // "p0" runs leaf; each "pK" calls "pK-1" ten times.
    SceneText TenCallsDeep(int levels, const std::string& leaf, int leafCommands = 1)
    {
        SceneText text;
        text.Geometry("all", "Rectangle{ x 0 y 0 w 100 h 100 hitTest 0 }").Brush("red", RedBrush);
        text.Executable("p0", Commands(leaf, leafCommands));
        std::string calls;
        for (int k = 1; k <= levels; ++k) {
            calls.clear();
            for (int i = 0; i < 10; ++i)
                calls += "Call{ " + Numbered("p", k - 1) + " } ";
            text.Executable(Numbered("p", k), Commands(calls, 10));
        }
        return text;
    }

    std::uint64_t Work(ID2D1Geometry* geometry, const D2D1_MATRIX_3X2_F& world, const KUV::GeometryDraw& draw)
    {
        canvas.target->SetTransform(world);
        return KUV::GeometryWork(*canvas.target.Get(), *geometry, draw);
    }
    ComPtr<ID2D1Geometry> Rect(float left, float top, float right, float bottom)
    {
        ID2D1RectangleGeometry* rect = nullptr;
        EXPECT_EQ(canvas.factory->CreateRectangleGeometry({ left, top, right, bottom }, &rect), S_OK);
        return ComPtr<ID2D1Geometry>(rect);
    }
};

TEST_F(RenderWorkTest, DrawsAreChargedForThePixelsTheyCoverOnTheTarget)
{
    const ComPtr<ID2D1Geometry> quarter = Rect(0, 0, 50, 50), spilling = Rect(-100, -100, 50, 50),
                                outside = Rect(200, 200, 300, 300);
    UINT32 segments = 0;
    ASSERT_EQ(quarter->GetSegmentCount(&segments), S_OK);
    const std::uint64_t fixed = RenderWork::PerDraw + segments * RenderWork::PerFilledSegment;
    // Pixels are charged by the started 16.
    auto charge = [](double pixels, std::uint64_t per16) { return std::uint64_t(std::ceil(pixels / 16)) * per16; };
    const std::uint64_t quarterPixels = charge(2500, RenderWork::PerSolidPixels16);
    const float wide = 20.f;
    D2D1_RECT_F widened;
    ASSERT_EQ(quarter->GetWidenedBounds(wide, nullptr, nullptr, D2D1_DEFAULT_FLATTENING_TOLERANCE, &widened), S_OK);
    const double strokePixels = (widened.right - 0.0) * (widened.bottom - 0.0);
    const D2D1_MATRIX_3X2_F identity = D2D1::IdentityMatrix(), half { 0.5f, 0, 0, 0.5f, 0, 0 };
    const struct {
        const char* what;
        ID2D1Geometry* geometry;
        D2D1_MATRIX_3X2_F world;
        KUV::GeometryDraw draw;
        std::uint64_t expected;
    } cases[] = {
        { "a quarter of the target", quarter.Get(), identity, { nullptr, false, false }, fixed + quarterPixels },
        { "only the part on the target counts", spilling.Get(), identity, { nullptr, false, false },
            fixed + quarterPixels },
        { "nothing on the target", outside.Get(), identity, { nullptr, false, false }, fixed },
        { "after the transform", quarter.Get(), half, { nullptr, false, false },
            fixed + charge(625, RenderWork::PerSolidPixels16) },
        { "gradients cost more", quarter.Get(), identity, { nullptr, false, true },
            fixed + charge(2500, RenderWork::PerGradientPixels16) },
        { "a rebuilt outline twice", outside.Get(), identity, { nullptr, true, false },
            fixed + segments * RenderWork::PerFilledSegment },
        { "strokes by their widened bounds", quarter.Get(), identity, { &wide, false, false },
            RenderWork::PerDraw + segments * RenderWork::PerStrokedSegment
                + charge(strokePixels, RenderWork::PerSolidPixels16) },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Work(c.geometry, c.world, c.draw), c.expected) << c.what;
    canvas.target->SetTransform({ 0, 1, -1, 0, 0, 0 }); // a quarter turn
    EXPECT_EQ(KUV::BitmapWork(*canvas.target.Get(), { 0, -50, 50, 0 }),
        RenderWork::PerDraw + charge(2500, RenderWork::PerBitmapPixels16))
        << "a bitmap by its destination, mapped";
}

TEST_F(RenderWorkTest, TenCallsSevenDeepOfAWholeCanvasFillStopAtTheSameWorkEveryFrame)
{
    Load(TenCallsDeep(7, "Fill{ all red }").MainAnim("p7"));
    std::uint64_t stoppedAt = 0;
    for (int frame = 0; frame < 2; ++frame) {
        EXPECT_EQ(Render(), KUV::ResultRuntimeError);
        EXPECT_EQ(Scene().GetErrorText(), Budget);
        if (frame == 0) stoppedAt = Tavisk::WorkOfLastRender();
    }
    EXPECT_EQ(Tavisk::WorkOfLastRender(), stoppedAt);
    EXPECT_GT(stoppedAt, RenderWork::Budget);
}

TEST_F(RenderWorkTest, AChildRenderThatRunsOutFailsTheWholeFrame)
{
    const std::string child = dir.Write("child.tvs", TenCallsDeep(7, "Fill{ all red }").MainAnim("p7").Str());
    Load(SceneText()
             .ChildKuv("kid", "Tavisk{ " + child + " noOfArgs 0 }")
             .Executable("draw", Commands("RenderKuv{ kid }", 1))
             .MainAnim("draw"));
    EXPECT_EQ(Render(), KUV::ResultRuntimeError);
    EXPECT_EQ(Scene().GetErrorText(), Budget);
    EXPECT_EQ(Scene().Find<KUV::ITavisk>("kid")->GetErrorText(), Budget);
}

TEST_F(RenderWorkTest, AHeavyButHonestFrameStaysFarInside)
{
    // A hundred fills of the whole canvas with a gradient and a hundred wide strokes.
    SceneText text = TenCallsDeep(2, "Fill{ all shade } Stroke{ all red 10 }", 2);
    text.Brush("shade",
        "LinearGradientBrush{ start Point{ 0 0 } end Point{ 100 100 } GradientStopCollection{ noOfGradientStops 2 "
        "GradientStop{ 0 Color{ 1 0 0 1 } } GradientStop{ 1 Color{ 0 0 1 1 } } extendMode 0 } opacity 1 }");
    Load(text.MainAnim("p2"));
    ASSERT_EQ(Render(), KUV::ResultOk) << Scene().GetErrorText();
    EXPECT_LT(Tavisk::WorkOfLastRender(), RenderWork::Budget / 50);
}

} // namespace
} // namespace kuvtest
