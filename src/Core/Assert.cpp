#include "Core/Assert.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace KUV {

void AssertionFailed(const char* expression, const char* file, int line)
{
    // Name the unit from src/ on, as the rest of the engine names its sources.
    const char* unit = std::strstr(file, "src/");
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expression, unit ? unit + 4 : file, line);
    std::abort();
}

} // namespace KUV
