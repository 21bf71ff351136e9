// The fully decoded pixels of one image frame, in the layout its decoder reports.
#pragma once

#include <cstdlib>
#include <memory>

#include "Gfx/WIC.h"

namespace KUV::Gfx::Image {

struct FreeDeleter {
    void operator()(BYTE* p) const { std::free(p); }
};
// Pixel memory comes from malloc so that decoders can own it across longjmp-based error paths.
using PixelBuffer = std::unique_ptr<BYTE[], FreeDeleter>;

struct DecodedImage {
    GUID containerFormat {};
    UINT width = 0;
    UINT height = 0;
    UINT bytesPerPixel = 0;
    PixelBuffer pixels; // rows of width * bytesPerPixel bytes, no padding
};

// WINCODEC_ERR_IMAGETOOLARGE for sizes beyond the decoding bounds, otherwise S_OK.
HRESULT CheckImageSize(UINT width, UINT height);

} // namespace KUV::Gfx::Image
