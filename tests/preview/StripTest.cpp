// The timeline strip's model: pixels and ticks, zoom and pan, scene lanes, the waveform.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "Authoring/TimelineSpans.h"
#include "Preview/StripView.h"
#include "Preview/Waveform.h"

namespace KUV::Preview {
namespace {

TEST(StripView, MapsPixelsAndTicksBothWays)
{
    StripView view(154000, 800);
    EXPECT_EQ(view.TickAt(0), 0);
    EXPECT_EQ(view.TickAt(400), 77000);
    EXPECT_EQ(view.TickAt(800), 154000);
    EXPECT_EQ(view.TickAt(-5), 0) << "left of the strip is the start";
    EXPECT_EQ(view.TickAt(900), 154000) << "right of it the end";
    EXPECT_DOUBLE_EQ(view.XOf(77000), 400);
    EXPECT_EQ(view.TickAt(view.XOf(12345)), 12345);
}

TEST(StripView, ZoomKeepsTheTickUnderThePointer)
{
    StripView view(154000, 800);
    const std::int64_t under = view.TickAt(200);
    view.ZoomAt(200, 4);
    EXPECT_DOUBLE_EQ(view.Span(), 38500);
    EXPECT_EQ(view.TickAt(200), under);
    view.ZoomAt(200, 0.5);
    EXPECT_EQ(view.TickAt(200), under);
    for (int i = 0; i < 40; ++i)
        view.ZoomAt(200, 2);
    EXPECT_DOUBLE_EQ(view.Span(), StripView::MinSpan) << "zooming in stops at a quarter second";
    for (int i = 0; i < 40; ++i)
        view.ZoomAt(700, 0.5);
    EXPECT_DOUBLE_EQ(view.Span(), 154000);
    EXPECT_DOUBLE_EQ(view.First(), 0) << "zoomed out the whole run shows";
}

TEST(StripView, PanStaysWithinTheRun)
{
    StripView view(154000, 800);
    view.ZoomAt(0, 10); // 15400 ms across
    view.PanBy(-400); // drag to the left: later time comes in
    EXPECT_DOUBLE_EQ(view.First(), 7700);
    view.PanBy(100000);
    EXPECT_DOUBLE_EQ(view.First(), 0);
    view.PanBy(-100000);
    EXPECT_DOUBLE_EQ(view.First(), 154000 - 15400);
    view.SetLength(20000);
    EXPECT_DOUBLE_EQ(view.First(), 20000 - 15400) << "a shorter run pulls the view back";
    view.SetWidth(400);
    EXPECT_EQ(view.TickAt(400), 20000);
}

TEST(SceneLanes, SpansRunFromStartToStart)
{
    using Authoring::AnimationSpan;
    const std::vector<Authoring::AnimationStart> starts { { 0, 1, "MainAnim", "Play" }, { 5000, 1, "Play", "Rest" },
        { 8000, 0, "MainAnim", "Curtain" }, { 8000, 0, "Curtain", "End" }, { 12000, 2, "MainAnim", "Play" } };
    const auto lanes = Authoring::LanesOf({ "root.tvs", "Title", "Dusk" }, starts, 10000);
    ASSERT_EQ(lanes.size(), 3u);
    EXPECT_EQ(lanes[0].name, "root.tvs");
    EXPECT_EQ(lanes[0].spans, (std::vector<AnimationSpan> { { "MainAnim", 0, 8000 }, { "End", 8000, 10000 } }))
        << "a start that another one replaces at once makes no span";
    EXPECT_EQ(lanes[1].spans, (std::vector<AnimationSpan> { { "Play", 0, 5000 }, { "Rest", 5000, 10000 } }))
        << "started at 0 by a trigger, MainAnim never shows";
    EXPECT_EQ(lanes[2].spans, (std::vector<AnimationSpan> { { "MainAnim", 0, 10000 } })) << "starts after the end";
}

TEST(Waveform, EnvelopeKeepsThePeakOfEveryBucket)
{
    std::vector<std::int16_t> samples(2 * 1000); // 1000 stereo frames at 10 kHz: 100 ms
    samples[2 * 150 + 1] = -16384; // right channel, in the second 10-ms bucket
    samples[2 * 999] = 32767;
    EnvelopeBuilder builder(2, 10000, 10);
    builder.Add(samples.data(), 300);
    builder.Add(samples.data() + 600, 700);
    const Envelope envelope = builder.Take();
    ASSERT_EQ(envelope.peaks.size(), 10u);
    EXPECT_FLOAT_EQ(envelope.peaks[1], 0.5f);
    EXPECT_FLOAT_EQ(envelope.peaks[0], 0.f);
    EXPECT_NEAR(envelope.peaks[9], 1.f, 1e-4);
    EXPECT_FLOAT_EQ(envelope.PeakBetween(0, 50), 0.5f);
    EXPECT_FLOAT_EQ(envelope.PeakBetween(12, 13), 0.5f) << "a short range still reads its bucket";
    EXPECT_FLOAT_EQ(envelope.PeakBetween(200, 300), 0.f) << "after the sound";
}

TEST(Waveform, DecodesTheSoundtrack)
{
    std::string error;
    const auto envelope = DecodeEnvelope(std::string(KUV_TEST_SOURCE_DIR) + "/../data/music/vantrel.mp3", &error);
    ASSERT_TRUE(envelope) << error;
    EXPECT_NEAR(envelope->LengthMs(), 153600, 1000);
    EXPECT_GT(envelope->PeakBetween(80000, 90000), 0.3f) << "the climax is loud";
    EXPECT_LT(envelope->PeakBetween(0, 50), 0.05f) << "the music fades in";
    EXPECT_FALSE(DecodeEnvelope("no/such.mp3", &error));
    EXPECT_EQ(error.rfind("cannot open the music \"no/such.mp3\"", 0), 0u) << error;
}

} // namespace
} // namespace KUV::Preview
