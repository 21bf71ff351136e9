// Whether the video driver SDL settled on shows anything to anybody.
#pragma once

namespace KUV::Host {

// True when SDL fell back to a driver that draws into memory only ("offscreen", "dummy")
// without the user asking for one through SDL_VIDEODRIVER (requestedDriver null or empty):
// the machine has no display, and a run would play to nobody for its whole length.
bool LacksDisplay(const char* currentDriver, const char* requestedDriver);

} // namespace KUV::Host
