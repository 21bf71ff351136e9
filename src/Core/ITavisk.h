// The scene as a host sees it.
#pragma once

#include <string>

#include "Gfx/D2D1.h"

namespace KUV {

// Result codes of the scene operations.
enum Result : int {
    ResultOk = 0,
    ResultLogicError = 1,
    ResultOutOfMemory = 2,
    ResultNotFound = 3,
    ResultRuntimeError = 4,
};

// A loaded scene. Operations never throw: they return a result code and keep
// the text of the last failure, which GetErrorText returns.
class ITavisk {
public:
    virtual ~ITavisk() = default;
    // Reads a variable ("$" included in the name); ResultNotFound when absent.
    virtual int ReadVariable(const std::string& name, float* value) = 0;
    // Writes an existing variable; ResultNotFound (creating nothing) when absent.
    virtual int WriteVariable(const std::string& name, float value) = 0;
    // Draws the active animations under baseTransform; copies the final top of the
    // transform stack into topTransform when it is not null.
    virtual int Render(const D2D_MATRIX_3X2_F* baseTransform, D2D_MATRIX_3X2_F* topTransform) = 0;
    // Advances controllers, transitions, child scenes and images to the tick count time.
    virtual int Update(int time) = 0;
    // Whether device point (x, y) lies in a hit-testable geometry, seen through the captured transform.
    virtual int HitTest(int x, int y, bool* hit) = 0;
    // Makes the named animation current, starting it at the tick count time.
    virtual int StartAnimation(const std::string& name, int time) = 0;
    virtual const std::string& GetErrorText() = 0;
};

} // namespace KUV
