// Which events end the run, and how; which ones draw and resize.
#include <gtest/gtest.h>

#include "Host/EventAction.h"

namespace {

using Host::EventAction;

SDL_Event KeyDown(SDL_Keycode key)
{
    SDL_Event event {};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    return event;
}

SDL_Event MouseButton(Uint32 type, Uint8 button)
{
    SDL_Event event {};
    event.type = type;
    event.button.button = button;
    return event;
}

SDL_Event WindowEvent(Uint8 what, int data1 = 0, int data2 = 0)
{
    SDL_Event event {};
    event.type = SDL_WINDOWEVENT;
    event.window.event = what;
    event.window.data1 = data1;
    event.window.data2 = data2;
    return event;
}

Host::WindowState Windowed(int width = 800, int height = 600)
{
    Host::WindowState state;
    state.width = width;
    state.height = height;
    return state;
}

Host::WindowState FullScreen()
{
    Host::WindowState state = Windowed();
    state.fullScreen = true;
    return state;
}

EventAction ActionOf(const SDL_Event& event, const Host::WindowState& state = Windowed())
{
    return Host::RespondToEvent(event, state).action;
}

TEST(EventAction, EscapeAndClosingEndTheRunInOrder)
{
    EXPECT_EQ(ActionOf(KeyDown(SDLK_ESCAPE)), EventAction::EndRun);
    EXPECT_EQ(ActionOf(WindowEvent(SDL_WINDOWEVENT_CLOSE)), EventAction::EndRun);
    SDL_Event quit {};
    quit.type = SDL_QUIT;
    EXPECT_EQ(ActionOf(quit), EventAction::EndRun);
    EXPECT_EQ(ActionOf(KeyDown(SDLK_ESCAPE), FullScreen()), EventAction::EndRun);
}

TEST(EventAction, ALeftButtonReleaseEndsTheProcessAtOnce)
{
    EXPECT_EQ(ActionOf(MouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT)), EventAction::ExitNow);
    EXPECT_EQ(ActionOf(MouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT), FullScreen()), EventAction::ExitNow);
}

TEST(EventAction, OtherKeysAndButtonsDoNothing)
{
    for (const SDL_Keycode key : { SDLK_RETURN, SDLK_SPACE, SDLK_a, SDLK_F4, SDLK_q })
        EXPECT_EQ(ActionOf(KeyDown(key)), EventAction::Ignore) << "key " << key;
    EXPECT_EQ(ActionOf(MouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT)), EventAction::Ignore);
    EXPECT_EQ(ActionOf(MouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT)), EventAction::Ignore);
    EXPECT_EQ(ActionOf(MouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE)), EventAction::Ignore);
    SDL_Event keyUp = KeyDown(SDLK_ESCAPE);
    keyUp.type = SDL_KEYUP;
    EXPECT_EQ(ActionOf(keyUp), EventAction::Ignore);
}

TEST(EventAction, ExposingTheWindowDrawsAFrame)
{
    EXPECT_EQ(ActionOf(WindowEvent(SDL_WINDOWEVENT_EXPOSED)), EventAction::Draw);
    EXPECT_EQ(ActionOf(WindowEvent(SDL_WINDOWEVENT_EXPOSED), FullScreen()), EventAction::Draw);
}

TEST(EventAction, AWindowedResizeFollowsTheNewSizeAndDrawsAtOnce)
{
    const Host::EventResponse response
        = Host::RespondToEvent(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480), Windowed());
    EXPECT_EQ(response.action, EventAction::ResizeAndDraw);
    EXPECT_EQ(response.width, 640);
    EXPECT_EQ(response.height, 480);
}

TEST(EventAction, MinimisingResizesToNothingWithoutDrawing)
{
    const Host::EventResponse response = Host::RespondToEvent(WindowEvent(SDL_WINDOWEVENT_MINIMIZED), Windowed());
    EXPECT_EQ(response.action, EventAction::Resize);
    EXPECT_EQ(response.width, 0);
    EXPECT_EQ(response.height, 0);
}

TEST(EventAction, RestoringResizesBackAndDrawsAtOnce)
{
    const Host::EventResponse response
        = Host::RespondToEvent(WindowEvent(SDL_WINDOWEVENT_RESTORED), Windowed(1000, 750));
    EXPECT_EQ(response.action, EventAction::ResizeAndDraw);
    EXPECT_EQ(response.width, 1000);
    EXPECT_EQ(response.height, 750);
}

TEST(EventAction, AMaximisedWindowResizesWithoutDrawingAtOnce)
{
    Host::WindowState maximised = Windowed(1280, 1000);
    maximised.maximized = true;
    const Host::EventResponse sized
        = Host::RespondToEvent(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 1280, 1000), maximised);
    EXPECT_EQ(sized.action, EventAction::Resize);
    EXPECT_EQ(sized.width, 1280);
    const Host::EventResponse maximising = Host::RespondToEvent(WindowEvent(SDL_WINDOWEVENT_MAXIMIZED), maximised);
    EXPECT_EQ(maximising.action, EventAction::Resize);
    EXPECT_EQ(maximising.height, 1000);
}

TEST(EventAction, SizeEventsChangeNothingInFullScreen)
{
    for (const Uint8 what : { SDL_WINDOWEVENT_SIZE_CHANGED, SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_MAXIMIZED,
             SDL_WINDOWEVENT_RESTORED })
        EXPECT_EQ(ActionOf(WindowEvent(what, 640, 480), FullScreen()), EventAction::Ignore) << "window event " << +what;
}

} // namespace
