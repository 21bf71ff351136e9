// JPEG decoding into 24-bit B,G,R; greyscale and CMYK files are converted.
#pragma once

#include <cstdio>

#include "Gfx/image/DecodedImage.h"

namespace KUV::Gfx::Image {

// Decodes the JPEG in file from its start. Fails with WINCODEC_ERR_BADIMAGE on corrupt
// or truncated data and with WINCODEC_ERR_IMAGETOOLARGE, from the header alone, on
// oversized images.
HRESULT DecodeJpeg(std::FILE* file, DecodedImage& image);

} // namespace KUV::Gfx::Image
