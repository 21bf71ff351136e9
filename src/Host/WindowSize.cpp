#include "Host/WindowSize.h"

namespace KUV::Host {

float UsableDpi(int queryStatus, float reportedDpi)
{
    // A broken report would otherwise ask for a window of absurd or undefined size.
    if (queryStatus != 0 || !(reportedDpi > 0.f && reportedDpi <= MaxPlausibleDpi)) return D2D1_DEFAULT_DPI;
    return reportedDpi;
}

WindowSize ScaledWindowSize(float dpiX, float dpiY)
{
    const double width = static_cast<double>(dpiX) * PictureWidthDips / D2D1_DEFAULT_DPI;
    const double height = static_cast<double>(dpiY) * PictureHeightDips / D2D1_DEFAULT_DPI;
    return { static_cast<int>(width), static_cast<int>(height) };
}

} // namespace KUV::Host
