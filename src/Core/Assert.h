// Internal invariants: a failed check is a fault of the program, not of its
// input, and stops the process with the expression, the source and the line.
#pragma once

namespace KUV {
[[noreturn]] void AssertionFailed(const char* expression, const char* file, int line);
} // namespace KUV

#define KUV_ASSERT(expression)                                                                                         \
    ((expression) ? static_cast<void>(0) : ::KUV::AssertionFailed(#expression, __FILE__, __LINE__))
