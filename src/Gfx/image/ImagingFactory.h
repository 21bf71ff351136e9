// The imaging factory: opens image files and decodes them completely up front.
#pragma once

#include "Gfx/WIC.h"

namespace KUV::Gfx::Image {

class ImagingFactory final : public RefCounted<IWICImagingFactory> {
public:
    HRESULT CreateDecoderFromFilename(const WCHAR* fileName, const GUID* preferredVendor, DWORD desiredAccess,
        WICDecodeOptions metadataOptions, IWICBitmapDecoder** decoder) override;
};

} // namespace KUV::Gfx::Image
