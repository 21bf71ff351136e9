#include "Player/EventAction.h"

namespace KUV::Player {
namespace {

EventResponse Respond(EventAction action, int width = 0, int height = 0)
{
    return { action, width, height };
}

EventResponse RespondToSizeChange(int width, int height, const WindowState& window)
{
    if (window.minimized || window.maximized) return Respond(EventAction::Resize, width, height);
    return Respond(EventAction::ResizeAndDraw, width, height);
}

EventResponse RespondToSizing(const SDL_WindowEvent& event, const WindowState& window)
{
    switch (event.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        return RespondToSizeChange(event.data1, event.data2, window);
    case SDL_WINDOWEVENT_MINIMIZED:
        return Respond(EventAction::Resize, 0, 0);
    case SDL_WINDOWEVENT_MAXIMIZED:
        return Respond(EventAction::Resize, window.width, window.height);
    case SDL_WINDOWEVENT_RESTORED:
        return Respond(EventAction::ResizeAndDraw, window.width, window.height);
    default:
        return Respond(EventAction::Ignore);
    }
}

EventResponse RespondToWindowEvent(const SDL_WindowEvent& event, const WindowState& window)
{
    switch (event.event) {
    case SDL_WINDOWEVENT_EXPOSED:
        return Respond(EventAction::Draw);
    case SDL_WINDOWEVENT_CLOSE:
        return Respond(EventAction::EndRun);
    default:
        return window.fullScreen ? Respond(EventAction::Ignore) : RespondToSizing(event, window);
    }
}

} // namespace

EventResponse RespondToEvent(const SDL_Event& event, const WindowState& window)
{
    switch (event.type) {
    case SDL_QUIT:
        return Respond(EventAction::EndRun);
    case SDL_WINDOWEVENT:
        return RespondToWindowEvent(event.window, window);
    case SDL_KEYDOWN:
        return Respond(event.key.keysym.sym == SDLK_ESCAPE ? EventAction::EndRun : EventAction::Ignore);
    case SDL_MOUSEBUTTONUP:
        return Respond(event.button.button == SDL_BUTTON_LEFT ? EventAction::ExitNow : EventAction::Ignore);
    default:
        return Respond(EventAction::Ignore);
    }
}

} // namespace KUV::Player
