#include "Host/Letterbox.h"

#include <algorithm>
#include <cmath>

namespace Host {
namespace {

constexpr int WidthDips = 800;
constexpr int HeightDips = 600;
constexpr float DipsPerInch = 96.f;

} // namespace

Letterbox FitPicture(int screenWidth, int screenHeight)
{
    Letterbox box;
    if (screenWidth <= 0 || screenHeight <= 0) return box;
    // Whichever side is relatively shorter decides; the other follows the 4:3 shape, rounded.
    const double scale = std::min(double(screenWidth) / WidthDips, double(screenHeight) / HeightDips);
    box.width = std::clamp(int(std::lround(WidthDips * scale)), 1, screenWidth);
    box.height = std::clamp(int(std::lround(HeightDips * scale)), 1, screenHeight);
    box.dpiX = DipsPerInch * float(box.width) / WidthDips;
    box.dpiY = DipsPerInch * float(box.height) / HeightDips;
    return box;
}

} // namespace Host
