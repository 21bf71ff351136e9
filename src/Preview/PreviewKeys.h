// The keys of the preview window and what each one does.
#pragma once

#include <string>
#include <vector>

#include <SDL.h>

namespace KUV::Preview {

enum class PreviewCommand {
    None,
    TogglePause,
    Back1s,
    Forward1s,
    Back10s,
    Forward10s,
    Home,
    StepBack,
    StepForward,
    MarkIn,
    MarkOut,
    ToggleLoop,
    Reload,
    ToggleFullScreen,
    ToggleOverlay,
    ToggleHelp,
    Quit,
};

// The command of key pressed with modifiers (SDL's KMOD_ bits). Shift chooses the 10-s seeks;
// every other key means the same with or without modifiers. Unbound keys give None.
PreviewCommand CommandForKey(SDL_Keycode key, Uint16 modifiers);

// Whether a held key repeats the command: the seeks and the steps do, the toggles do not.
bool RepeatsWhenHeld(PreviewCommand command);

// One line per binding, key names first: what --help prints and H shows in the window.
const std::vector<std::string>& KeyHelpLines();

} // namespace KUV::Preview
