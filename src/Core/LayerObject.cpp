#include "Core/LayerObject.h"

#include <stdexcept>
#include <string>

namespace KUV {

void CheckD2DResult(HRESULT hr)
{
    if (hr != S_OK) throw std::runtime_error("Direct2D returned error: " + std::to_string(hr));
}

} // namespace KUV
