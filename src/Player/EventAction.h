// What the player does with one window event.
#pragma once

#include <SDL.h>

namespace KUV::Player {

enum class EventAction {
    Ignore, // nothing happens (every key but Escape, and events the player has no use for)
    Draw, // draw a frame at once
    Resize, // resize the render target to width x height
    ResizeAndDraw, // resize, then draw a frame at once
    EndRun, // end the run in order after the current iteration
    ExitNow, // end the process at once with code 0
};

struct EventResponse {
    EventAction action = EventAction::Ignore;
    int width = 0;
    int height = 0;
};

// The state of the main window that the response depends on.
struct WindowState {
    bool fullScreen = false;
    bool minimized = false;
    bool maximized = false;
    int width = 0; // current client size in pixels
    int height = 0;
};

// The response to event. Windowed, a size change resizes the render target and draws at once
// unless the window is minimised or maximised; minimising resizes it to 0 x 0; restoring
// resizes it to the current size and draws. Full screen, size changes are ignored.
EventResponse RespondToEvent(const SDL_Event& event, const WindowState& window);

} // namespace KUV::Player
