#include "Gfx/image/DecodedImage.h"

namespace gfx::image {

HRESULT CheckImageSize(UINT width, UINT height)
{
    if (width > WIC_MAX_IMAGE_SIDE || height > WIC_MAX_IMAGE_SIDE) return WINCODEC_ERR_IMAGETOOLARGE;
    if (UINT64(width) * height * 4 > WIC_MAX_IMAGE_BYTES) return WINCODEC_ERR_IMAGETOOLARGE;
    return S_OK;
}

} // namespace gfx::image
