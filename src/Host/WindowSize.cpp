#include "Host/WindowSize.h"

namespace KUV::Host {

float UsableDpi(int queryStatus, float reportedDpi)
{
    // A broken report would otherwise ask for a window of absurd or undefined size.
    if (queryStatus != 0 || !(reportedDpi > 0.f && reportedDpi <= MaxPlausibleDpi)) return DefaultDpi;
    return reportedDpi;
}

WindowSize ScaledWindowSize(float dpiX, float dpiY)
{
    const double width = static_cast<double>(dpiX) * PictureWidthDips / DefaultDpi;
    const double height = static_cast<double>(dpiY) * PictureHeightDips / DefaultDpi;
    return { static_cast<int>(width), static_cast<int>(height) };
}

} // namespace KUV::Host
