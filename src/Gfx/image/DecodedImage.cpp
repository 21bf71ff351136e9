#include "Gfx/image/DecodedImage.h"

namespace KUV::Gfx::Image {

HRESULT CheckImageSize(UINT width, UINT height)
{
    if (width > WIC_MAX_IMAGE_SIDE || height > WIC_MAX_IMAGE_SIDE) return WINCODEC_ERR_IMAGETOOLARGE;
    if (UINT64(width) * height * 4 > WIC_MAX_IMAGE_BYTES) return WINCODEC_ERR_IMAGETOOLARGE;
    return S_OK;
}

} // namespace KUV::Gfx::Image
