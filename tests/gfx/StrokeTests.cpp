#include "GfxFixture.h"

namespace kuvtest {
namespace {

using StrokeTest = GfxTest;

constexpr D2D1_COLOR_F kRed = { 1, 0, 0, 1 };

TEST_F(StrokeTest, WidthIsCentredOnTheLineAndCapsAreFlat)
{
    const auto line = Path({ { { 20, 50 }, { { 80, 50 } }, false } });
    const auto red = Solid(kRed);
    Draw([&] { m_Target->DrawGeometry(line.Get(), red.Get(), 10.f); });
    EXPECT_TRUE(PixelsNear(m_Target.Get(),
        { { 50, 45, Red }, { 50, 54, Red }, { 50, 44, White }, { 50, 55, White }, { 20, 50, Red }, { 79, 50, Red },
            { 19, 50, White }, { 80, 50, White } }));
}

TEST_F(StrokeTest, DefaultWidthIsOne)
{
    const auto line = Path({ { { 10, 30.5f }, { { 90, 30.5f } }, false } });
    const auto red = Solid(kRed);
    Draw([&] { m_Target->DrawGeometry(line.Get(), red.Get()); });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 30, Red }, { 50, 29, White }, { 50, 31, White } }));
}

TEST_F(StrokeTest, CornersAreMitered)
{
    const auto corner = Path({ { { 20, 20 }, { { 80, 20 }, { 80, 80 } }, false } });
    const auto red = Solid(kRed);
    Draw([&] { m_Target->DrawGeometry(corner.Get(), red.Get(), 10.f); });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 84, 15, Red }, { 82, 17, Red }, { 18, 20, White }, { 80, 82, White } }));
}

TEST_F(StrokeTest, ClosedFiguresJoinAtTheStartOpenOnesDoNot)
{
    Figure open = { { 20, 20 }, { { 80, 20 }, { 80, 80 }, { 20, 80 }, { 20, 20 } }, false };
    Figure closed = Square(20, 20, 80, 80);
    const auto red = Solid(kRed);
    const auto openPath = Path({ open });
    Draw([&] { m_Target->DrawGeometry(openPath.Get(), red.Get(), 10.f); });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 16, 16, White }, { 84, 84, Red }, { 50, 50, White } }));
    const auto closedPath = Path({ closed });
    Draw([&] { m_Target->DrawGeometry(closedPath.Get(), red.Get(), 10.f); });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 16, 16, Red }, { 84, 84, Red }, { 50, 50, White } }));
}

TEST_F(StrokeTest, HollowFiguresAreStroked)
{
    Figure hollow = Square(20, 20, 80, 80);
    hollow.begin = D2D1_FIGURE_BEGIN_HOLLOW;
    const auto path = Path({ hollow });
    const auto red = Solid(kRed);
    Draw([&] { m_Target->DrawGeometry(path.Get(), red.Get(), 4.f); });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 20, Red }, { 50, 50, White } }));
}

TEST_F(StrokeTest, StrokesScaleWithTheTransform)
{
    const auto line = Path({ { { 10, 25 }, { { 40, 25 } }, false } });
    const auto red = Solid(kRed);
    Draw([&] {
        m_Target->SetTransform({ 2, 0, 0, 2, 0, 0 });
        m_Target->DrawGeometry(line.Get(), red.Get(), 5.f);
    });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 45, Red }, { 50, 54, Red }, { 50, 44, White }, { 50, 55, White } }));
}

TEST_F(StrokeTest, UnusableWidthsDrawNothing)
{
    const auto line = Path({ { { 20, 50 }, { { 80, 50 } }, false } });
    const auto red = Solid(kRed);
    Draw([&] {
        for (float width : { 0.f, -3.f, kNaN, kInf })
            m_Target->DrawGeometry(line.Get(), red.Get(), width);
    });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 50, White } }, 0));
}

TEST_F(StrokeTest, HugeWidthsCoverEverythingQuickly)
{
    const auto line = Path({ { { 20, 50 }, { { 80, 50 } }, false } });
    const auto red = Solid(kRed);
    Draw([&] { m_Target->DrawGeometry(line.Get(), red.Get(), 1e30f); });
    EXPECT_TRUE(PixelsNear(m_Target.Get(), { { 50, 0, Red }, { 50, 99, Red } }));
}

} // namespace
} // namespace kuvtest
