#include <limits>

#include <gtest/gtest.h>

#include "Web/ShowClock.h"

using KUV::Web::CatchUpTicks;
using KUV::Web::ShowClock;
using KUV::Web::ShowLengthMs;

TEST(WebCatchUp, FromAFreshLoadVisitsTheGridFromZeroThenTheTarget)
{
    EXPECT_EQ(CatchUpTicks(-1, 0), (std::vector<std::int32_t> { 0 }));
    EXPECT_EQ(CatchUpTicks(-1, 40), (std::vector<std::int32_t> { 0, 16, 32, 40 }));
    EXPECT_EQ(CatchUpTicks(-1, 48), (std::vector<std::int32_t> { 0, 16, 32, 48 }));
}

TEST(WebCatchUp, FromATickContinuesOnTheGridAndNeverGoesBack)
{
    EXPECT_EQ(CatchUpTicks(20, 50), (std::vector<std::int32_t> { 32, 48, 50 }));
    EXPECT_EQ(CatchUpTicks(32, 33), (std::vector<std::int32_t> { 33 }));
    EXPECT_TRUE(CatchUpTicks(50, 50).empty());
    EXPECT_TRUE(CatchUpTicks(50, 10).empty());
}

TEST(WebShowClock, TheTickFollowsTheAudioPositionForwardOnly)
{
    ShowClock clock;
    EXPECT_EQ(clock.FrameTick(0.0), 0);
    EXPECT_EQ(clock.FrameTick(16.7), 16);
    // An audio clock that reports an earlier position (a late or coarse update) holds the picture.
    EXPECT_EQ(clock.FrameTick(10.0), 16);
    EXPECT_EQ(clock.FrameTick(-5.0), 16);
    EXPECT_EQ(clock.FrameTick(std::numeric_limits<double>::quiet_NaN()), 16);
    EXPECT_FALSE(clock.Ended());
}

TEST(WebShowClock, EndsOnceMoreThanTheShowsLengthHasPassedOnItsLastFrame)
{
    ShowClock clock;
    EXPECT_EQ(clock.FrameTick(ShowLengthMs), ShowLengthMs);
    EXPECT_FALSE(clock.Ended());
    EXPECT_EQ(clock.FrameTick(ShowLengthMs + 0.5), ShowLengthMs);
    EXPECT_TRUE(clock.Ended());
    EXPECT_EQ(clock.FrameTick(ShowLengthMs + 5000.0), ShowLengthMs);
}

TEST(WebShowClock, SeekingBackReloadsAndCatchesUpFromZero)
{
    ShowClock clock;
    clock.FrameTick(100.0);
    const auto plan = clock.Seek(40);
    EXPECT_TRUE(plan.reload);
    EXPECT_EQ(plan.updates, (std::vector<std::int32_t> { 0, 16, 32, 40 }));
    EXPECT_EQ(clock.Tick(), 40);
    EXPECT_EQ(clock.FrameTick(41.0), 41);
}

TEST(WebShowClock, SeekingForwardCatchesUpWithoutReloadAndAReplayStartsOver)
{
    ShowClock clock;
    clock.FrameTick(20.0);
    auto plan = clock.Seek(50);
    EXPECT_FALSE(plan.reload);
    EXPECT_EQ(plan.updates, (std::vector<std::int32_t> { 32, 48, 50 }));

    clock.FrameTick(ShowLengthMs + 1.0);
    ASSERT_TRUE(clock.Ended());
    plan = clock.Seek(0);
    EXPECT_TRUE(plan.reload);
    EXPECT_EQ(plan.updates, (std::vector<std::int32_t> { 0 }));
    EXPECT_FALSE(clock.Ended());
}

TEST(WebShowClock, SeeksAreClampedToTheShow)
{
    ShowClock clock;
    auto plan = clock.Seek(-100);
    EXPECT_FALSE(plan.reload);
    EXPECT_EQ(plan.updates, (std::vector<std::int32_t> { 0 }));
    plan = clock.Seek(ShowLengthMs + 100);
    EXPECT_EQ(plan.updates.back(), ShowLengthMs);
    EXPECT_EQ(clock.Tick(), ShowLengthMs);
}
