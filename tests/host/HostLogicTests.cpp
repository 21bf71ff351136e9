// The player's decisions that need no display: events, title, run length, window size.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <utility>

#include "Host/Display.h"
#include "Host/EventAction.h"
#include "Host/FrameRate.h"
#include "Host/RunClock.h"
#include "Host/WindowSize.h"

namespace {

using KUV::Host::EventAction;

// An event of type with its key, mouse button or window event, and the window event's data.
SDL_Event Event(Uint32 type, int detail = 0, int data1 = 0, int data2 = 0)
{
    SDL_Event event {};
    event.type = type;
    if (type == SDL_KEYDOWN || type == SDL_KEYUP) event.key.keysym.sym = detail;
    if (type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP) event.button.button = static_cast<Uint8>(detail);
    if (type == SDL_WINDOWEVENT) {
        event.window.event = static_cast<Uint8>(detail);
        event.window.data1 = data1;
        event.window.data2 = data2;
    }
    return event;
}

TEST(EventAction, EachEventLeadsToItsActionAndSize)
{
    enum Window { Windowed, Maximised, FullScreen };
    struct Case {
        SDL_Event event;
        Window window;
        EventAction action;
        int width = 0;
        int height = 0;
    };
    const Case cases[] = {
        { Event(SDL_KEYDOWN, SDLK_ESCAPE), Windowed, EventAction::EndRun },
        { Event(SDL_KEYDOWN, SDLK_ESCAPE), FullScreen, EventAction::EndRun },
        { Event(SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE), Windowed, EventAction::EndRun },
        { Event(SDL_QUIT), Windowed, EventAction::EndRun },
        { Event(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT), Windowed, EventAction::ExitNow },
        { Event(SDL_KEYDOWN, SDLK_F4), Windowed, EventAction::Ignore },
        { Event(SDL_KEYDOWN, SDLK_q), Windowed, EventAction::Ignore },
        { Event(SDL_KEYUP, SDLK_ESCAPE), Windowed, EventAction::Ignore },
        { Event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT), Windowed, EventAction::Ignore },
        { Event(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT), Windowed, EventAction::Ignore },
        { Event(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE), Windowed, EventAction::Ignore },
        { Event(SDL_WINDOWEVENT, SDL_WINDOWEVENT_EXPOSED), Windowed, EventAction::Draw },
        { Event(SDL_WINDOWEVENT, SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480), Windowed, EventAction::ResizeAndDraw, 640,
            480 },
        { Event(SDL_WINDOWEVENT, SDL_WINDOWEVENT_MINIMIZED), Windowed, EventAction::Resize, 0, 0 },
        { Event(SDL_WINDOWEVENT, SDL_WINDOWEVENT_RESTORED), Windowed, EventAction::ResizeAndDraw, 800, 600 },
        { Event(SDL_WINDOWEVENT, SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480), Maximised, EventAction::Resize, 640, 480 },
        { Event(SDL_WINDOWEVENT, SDL_WINDOWEVENT_MAXIMIZED), Maximised, EventAction::Resize, 800, 600 },
        { Event(SDL_WINDOWEVENT, SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480), FullScreen, EventAction::Ignore },
        { Event(SDL_WINDOWEVENT, SDL_WINDOWEVENT_MINIMIZED), FullScreen, EventAction::Ignore },
        { Event(SDL_WINDOWEVENT, SDL_WINDOWEVENT_MAXIMIZED), FullScreen, EventAction::Ignore },
        { Event(SDL_WINDOWEVENT, SDL_WINDOWEVENT_RESTORED), FullScreen, EventAction::Ignore },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases));
        KUV::Host::WindowState state;
        state.width = 800;
        state.height = 600;
        state.maximized = c.window == Maximised;
        state.fullScreen = c.window == FullScreen;
        const KUV::Host::EventResponse response = KUV::Host::RespondToEvent(c.event, state);
        EXPECT_EQ(response.action, c.action);
        if (c.action == EventAction::Resize || c.action == EventAction::ResizeAndDraw) {
            EXPECT_EQ(response.width, c.width);
            EXPECT_EQ(response.height, c.height);
        }
    }
}

TEST(FrameRateTitle, WritesTheRateAsADefaultStreamWritesADouble)
{
    const std::pair<int, std::string> cases[] = { { 16, "62.5" }, { 15, "66.6667" }, { 3, "333.333" }, { 1, "1000" },
        { 0, "inf" }, { 7, "142.857" }, { 3000, "0.333333" } };
    for (const auto& [ms, rate] : cases)
        EXPECT_EQ(KUV::Host::FrameRateTitle(ms), "Velorine: Current Frame Rate (fps) = " + rate) << ms << " ms";
}

TEST(RunClock, TheRunGoesOnAtExactlyItsLengthAndEndsOneMillisecondLaterEvenAcrossTheWrap)
{
    const std::uint32_t nearWrap = std::numeric_limits<std::uint32_t>::max() - 1000u;
    for (const std::uint32_t start : { 1000u, nearWrap }) {
        EXPECT_FALSE(KUV::Host::RunLengthExceeded(start, start));
        EXPECT_FALSE(KUV::Host::RunLengthExceeded(start + 154000u, start));
        EXPECT_TRUE(KUV::Host::RunLengthExceeded(start + 154001u, start));
    }
    EXPECT_TRUE(KUV::Host::RunLengthExceeded(999u, 1000u)) << "a tick before the start is a very long run";
}

TEST(WindowSize, IsEightHundredBySixHundredDipsTruncatedPerAxis)
{
    struct Case {
        float dpiX, dpiY;
        int width, height;
    };
    for (const Case c : { Case { 96, 96, 800, 600 }, Case { 120, 120, 1000, 750 }, Case { 144, 144, 1200, 900 },
             Case { 100, 100, 833, 625 }, Case { 120, 144, 1000, 900 } }) {
        const KUV::Host::WindowSize size = KUV::Host::ScaledWindowSize(c.dpiX, c.dpiY);
        EXPECT_EQ(size.width, c.width) << "at " << c.dpiX << " DPI";
        EXPECT_EQ(size.height, c.height) << "at " << c.dpiY << " DPI";
    }
}

TEST(WindowSize, UsesNinetySixDpiWhenTheDisplayDoesNotSayOrSaysNonsense)
{
    for (const float dpi :
        { 0.f, -5.f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 1e9f })
        EXPECT_EQ(KUV::Host::UsableDpi(0, dpi), 96.f) << dpi;
    EXPECT_EQ(KUV::Host::UsableDpi(-1, 120.f), 96.f) << "a failed query";
    EXPECT_EQ(KUV::Host::UsableDpi(0, 144.f), 144.f);
}

TEST(Display, OnlyAnInvisibleDriverThatNobodyAskedForMeansThereIsNoDisplay)
{
    EXPECT_TRUE(KUV::Host::LacksDisplay("offscreen", nullptr));
    EXPECT_TRUE(KUV::Host::LacksDisplay("dummy", ""));
    EXPECT_TRUE(KUV::Host::LacksDisplay(nullptr, nullptr));
    EXPECT_FALSE(KUV::Host::LacksDisplay("x11", nullptr));
    EXPECT_FALSE(KUV::Host::LacksDisplay("wayland", ""));
    EXPECT_FALSE(KUV::Host::LacksDisplay("dummy", "dummy"));
}

} // namespace
