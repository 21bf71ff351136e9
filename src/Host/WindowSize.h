// The size of the player's window: 800 x 600 device-independent pixels on the display.
#pragma once

#include "Gfx/D2D1.h"

namespace KUV::Host {

inline constexpr float MaxPlausibleDpi = 1000.f;
// The picture every scene draws, in DIPs.
inline constexpr int PictureWidthDips = 800;
inline constexpr int PictureHeightDips = 600;

struct WindowSize {
    int width;
    int height;
};

// The DPI to scale by: the reported one when the query succeeded (status 0) and gave a
// plausible value (above 0, at most MaxPlausibleDpi), otherwise D2D1_DEFAULT_DPI.
float UsableDpi(int queryStatus, float reportedDpi);

// 800 x 600 DIPs in pixels at dpiX x dpiY, computed in double precision and truncated toward zero.
WindowSize ScaledWindowSize(float dpiX, float dpiY);

} // namespace KUV::Host
