#include "Host/Letterbox.h"

#include <algorithm>
#include <cmath>

#include "Host/WindowSize.h"

namespace KUV::Host {

Letterbox FitPicture(int screenWidth, int screenHeight)
{
    Letterbox box;
    if (screenWidth <= 0 || screenHeight <= 0) return box;
    // Whichever side is relatively shorter decides; the other follows the 4:3 shape, rounded.
    const double scale = std::min(double(screenWidth) / PictureWidthDips, double(screenHeight) / PictureHeightDips);
    box.width = std::clamp(int(std::lround(PictureWidthDips * scale)), 1, screenWidth);
    box.height = std::clamp(int(std::lround(PictureHeightDips * scale)), 1, screenHeight);
    box.dpiX = D2D1_DEFAULT_DPI * float(box.width) / PictureWidthDips;
    box.dpiY = D2D1_DEFAULT_DPI * float(box.height) / PictureHeightDips;
    return box;
}

} // namespace KUV::Host
