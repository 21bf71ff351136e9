// PNG decoding into 32-bit B,G,R,A with straight alpha, whatever the stored colour type and depth.
#pragma once

#include <cstdio>

#include "Gfx/image/DecodedImage.h"

namespace KUV::Gfx::Image {

// Decodes the PNG in file, whose 8 signature bytes have already been read.
// Fails with WINCODEC_ERR_BADIMAGE on corrupt or truncated data and with
// WINCODEC_ERR_IMAGETOOLARGE, from the header alone, on oversized images.
HRESULT DecodePng(std::FILE* file, DecodedImage& image);

} // namespace KUV::Gfx::Image
