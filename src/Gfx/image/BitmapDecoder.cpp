#include "Gfx/image/BitmapDecoder.h"

#include <cstring>
#include <new>

namespace KUV::Gfx::Image {

namespace {

bool RectInside(const WICRect& rect, const DecodedImage& image)
{
    return rect.X >= 0 && rect.Y >= 0 && rect.Width >= 0 && rect.Height >= 0
        && UINT64(rect.X) + UINT64(rect.Width) <= image.width && UINT64(rect.Y) + UINT64(rect.Height) <= image.height;
}

// Whether rows of rowBytes each, stride apart, fit in bufferSize.
bool BufferHolds(UINT64 rowBytes, UINT64 rows, UINT stride, UINT bufferSize)
{
    if (rows == 0 || rowBytes == 0) return true;
    return stride >= rowBytes && UINT64(stride) * (rows - 1) + rowBytes <= bufferSize;
}

} // namespace

HRESULT BitmapFrame::QueryInterface(REFIID riid, void** object)
{
    if (object != nullptr && riid == IID_IWICBitmapSource) {
        *object = static_cast<IWICBitmapSource*>(this);
        AddRef();
        return S_OK;
    }
    return RefCounted::QueryInterface(riid, object);
}

HRESULT BitmapFrame::GetSize(UINT* width, UINT* height)
{
    if (width == nullptr || height == nullptr) return E_INVALIDARG;
    *width = m_Image->width;
    *height = m_Image->height;
    return S_OK;
}

HRESULT BitmapFrame::GetBytesPerPixel(UINT* bytesPerPixel)
{
    if (bytesPerPixel == nullptr) return E_INVALIDARG;
    *bytesPerPixel = m_Image->bytesPerPixel;
    return S_OK;
}

HRESULT BitmapFrame::CopyPixels(const WICRect* rect, UINT stride, UINT bufferSize, BYTE* buffer)
{
    const DecodedImage& image = *m_Image;
    const WICRect whole { 0, 0, int(image.width), int(image.height) };
    const WICRect& area = rect ? *rect : whole;
    if (!RectInside(area, image)) return E_INVALIDARG;
    const UINT64 rowBytes = UINT64(area.Width) * image.bytesPerPixel;
    if (!BufferHolds(rowBytes, UINT64(area.Height), stride, bufferSize)) return E_INVALIDARG;
    if (rowBytes == 0 || area.Height == 0) return S_OK;
    if (buffer == nullptr) return E_INVALIDARG;
    const UINT64 sourceStride = UINT64(image.width) * image.bytesPerPixel;
    const BYTE* source = image.pixels.get() + sourceStride * area.Y + UINT64(area.X) * image.bytesPerPixel;
    for (int y = 0; y < area.Height; ++y)
        std::memcpy(buffer + UINT64(stride) * y, source + sourceStride * y, rowBytes);
    return S_OK;
}

HRESULT BitmapDecoder::GetContainerFormat(GUID* containerFormat)
{
    if (containerFormat == nullptr) return E_INVALIDARG;
    *containerFormat = m_Image->containerFormat;
    return S_OK;
}

HRESULT BitmapDecoder::GetFrameCount(UINT* count)
{
    if (count == nullptr) return E_INVALIDARG;
    *count = 1;
    return S_OK;
}

HRESULT BitmapDecoder::GetFrame(UINT index, IWICBitmapFrameDecode** frame)
{
    if (frame == nullptr) return E_INVALIDARG;
    *frame = nullptr;
    if (index >= 1) return WINCODEC_ERR_FRAMEMISSING;
    *frame = new (std::nothrow) BitmapFrame(m_Image);
    return *frame ? S_OK : E_OUTOFMEMORY;
}

} // namespace KUV::Gfx::Image
