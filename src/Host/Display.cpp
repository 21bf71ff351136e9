#include "Host/Display.h"

#include <cstring>

namespace KUV::Host {

bool LacksDisplay(const char* currentDriver, const char* requestedDriver)
{
    if (requestedDriver && *requestedDriver) return false;
    if (!currentDriver) return true;
    return std::strcmp(currentDriver, "offscreen") == 0 || std::strcmp(currentDriver, "dummy") == 0;
}

} // namespace KUV::Host
