#include "Preview/PreviewKeys.h"

namespace KUV::Preview {
namespace {

struct KeyBinding {
    SDL_Keycode key;
    PreviewCommand plain;
    PreviewCommand shifted;
};

constexpr KeyBinding Bindings[] = {
    { SDLK_SPACE, PreviewCommand::TogglePause, PreviewCommand::TogglePause },
    { SDLK_LEFT, PreviewCommand::Back1s, PreviewCommand::Back10s },
    { SDLK_RIGHT, PreviewCommand::Forward1s, PreviewCommand::Forward10s },
    { SDLK_HOME, PreviewCommand::Home, PreviewCommand::Home },
    { SDLK_COMMA, PreviewCommand::StepBack, PreviewCommand::StepBack },
    { SDLK_PERIOD, PreviewCommand::StepForward, PreviewCommand::StepForward },
    { SDLK_LEFTBRACKET, PreviewCommand::MarkIn, PreviewCommand::MarkIn },
    { SDLK_RIGHTBRACKET, PreviewCommand::MarkOut, PreviewCommand::MarkOut },
    { SDLK_l, PreviewCommand::ToggleLoop, PreviewCommand::ToggleLoop },
    { SDLK_r, PreviewCommand::Reload, PreviewCommand::Reload },
    { SDLK_f, PreviewCommand::ToggleFullScreen, PreviewCommand::ToggleFullScreen },
    { SDLK_o, PreviewCommand::ToggleOverlay, PreviewCommand::ToggleOverlay },
    { SDLK_h, PreviewCommand::ToggleHelp, PreviewCommand::ToggleHelp },
    { SDLK_ESCAPE, PreviewCommand::Quit, PreviewCommand::Quit },
};

} // namespace

PreviewCommand CommandForKey(SDL_Keycode key, Uint16 modifiers)
{
    const bool shift = (modifiers & KMOD_SHIFT) != 0;
    for (const KeyBinding& binding : Bindings)
        if (binding.key == key) return shift ? binding.shifted : binding.plain;
    return PreviewCommand::None;
}

bool RepeatsWhenHeld(PreviewCommand command)
{
    switch (command) {
    case PreviewCommand::Back1s:
    case PreviewCommand::Forward1s:
    case PreviewCommand::Back10s:
    case PreviewCommand::Forward10s:
    case PreviewCommand::StepBack:
    case PreviewCommand::StepForward:
        return true;
    default:
        return false;
    }
}

const std::vector<std::string>& KeyHelpLines()
{
    static const std::vector<std::string> lines = {
        "Space          pause or resume",
        "Left, Right    seek 1 s back or forward (with Shift: 10 s)",
        "Home           back to 0",
        ", and .        one 16-ms frame back or forward, while paused",
        "[ and ]        mark the start or the end of a loop at the current time",
        "L              loop between the marks, or stop looping",
        "R              reload the scene now (saved files reload by themselves)",
        "F              full screen on or off",
        "O              the overlay line on or off",
        "H              this help on or off",
        "Escape         quit (so does closing the window)",
    };
    return lines;
}

} // namespace KUV::Preview
