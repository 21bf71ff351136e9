// The player's decisions that need no display: events, title, run length.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include "Player/EventAction.h"
#include "Player/FrameRate.h"
#include "Player/RunClock.h"

namespace {

using KUV::Player::EventAction;

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
        KUV::Player::WindowState state;
        state.width = 800;
        state.height = 600;
        state.maximized = c.window == Maximised;
        state.fullScreen = c.window == FullScreen;
        const KUV::Player::EventResponse response = KUV::Player::RespondToEvent(c.event, state);
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
        EXPECT_EQ(KUV::Player::FrameRateTitle(ms), "Velorine: Current Frame Rate (fps) = " + rate) << ms << " ms";
}

TEST(RunClock, TheRunGoesOnAtExactlyItsLengthAndEndsOneMillisecondLaterEvenAcrossTheWrap)
{
    const std::uint32_t nearWrap = std::numeric_limits<std::uint32_t>::max() - 1000u;
    for (const std::uint32_t start : { 1000u, nearWrap }) {
        EXPECT_FALSE(KUV::Player::RunLengthExceeded(start, start));
        EXPECT_FALSE(KUV::Player::RunLengthExceeded(start + 154000u, start));
        EXPECT_TRUE(KUV::Player::RunLengthExceeded(start + 154001u, start));
    }
    EXPECT_TRUE(KUV::Player::RunLengthExceeded(999u, 1000u)) << "a tick before the start is a very long run";
}

} // namespace
