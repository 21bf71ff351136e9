// A decoded image file seen through the imaging interfaces: one decoder with one frame.
#pragma once

#include <memory>

#include "Gfx/image/DecodedImage.h"

namespace KUV::Gfx::Image {

// The single frame of a decoded file; shares the pixels with its decoder.
class BitmapFrame final : public RefCounted<IWICBitmapFrameDecode> {
public:
    explicit BitmapFrame(std::shared_ptr<const DecodedImage> image)
        : m_Image(std::move(image))
    {
    }

    HRESULT QueryInterface(REFIID riid, void** object) override;
    HRESULT GetSize(UINT* width, UINT* height) override;
    HRESULT GetBytesPerPixel(UINT* bytesPerPixel) override;
    HRESULT CopyPixels(const WICRect* rect, UINT stride, UINT bufferSize, BYTE* buffer) override;

private:
    std::shared_ptr<const DecodedImage> m_Image;
};

class BitmapDecoder final : public RefCounted<IWICBitmapDecoder> {
public:
    explicit BitmapDecoder(std::shared_ptr<const DecodedImage> image)
        : m_Image(std::move(image))
    {
    }

    HRESULT GetContainerFormat(GUID* containerFormat) override;
    HRESULT GetFrameCount(UINT* count) override;
    HRESULT GetFrame(UINT index, IWICBitmapFrameDecode** frame) override;

private:
    std::shared_ptr<const DecodedImage> m_Image;
};

} // namespace KUV::Gfx::Image
