#include "Gfx/image/ImagingFactory.h"

#include <memory>
#include <new>
#include <string>

#include "Gfx/image/BitmapDecoder.h"
#include "Gfx/image/ImageFile.h"
#include "Gfx/image/JpegDecoder.h"
#include "Gfx/image/PngDecoder.h"
#include "Gfx/text/Utf16.h"

namespace KUV::Gfx::Image {

namespace {

HRESULT DecodeFile(const std::string& path, DecodedImage& image)
{
    std::FILE* opened = nullptr;
    const HRESULT hr = OpenImageFile(path, &opened);
    if (FAILED(hr)) return hr;
    const std::unique_ptr<std::FILE, FileCloser> file(opened);
    switch (SniffImageKind(file.get())) {
    case ImageKind::Png:
        return DecodePng(file.get(), image);
    case ImageKind::Jpeg:
        return DecodeJpeg(file.get(), image);
    default:
        return WINCODEC_ERR_COMPONENTNOTFOUND;
    }
}

} // namespace

HRESULT ImagingFactory::CreateDecoderFromFilename(
    const WCHAR* fileName, const GUID*, DWORD desiredAccess, WICDecodeOptions, IWICBitmapDecoder** decoder)
{
    if (decoder == nullptr) return E_INVALIDARG;
    *decoder = nullptr;
    if (fileName == nullptr || !(desiredAccess & GENERIC_READ)) return E_INVALIDARG;
    try {
        auto image = std::make_shared<DecodedImage>();
        const HRESULT hr = DecodeFile(Text::ToUtf8(fileName), *image);
        if (FAILED(hr)) return hr;
        *decoder = new BitmapDecoder(std::move(image));
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

} // namespace KUV::Gfx::Image

HRESULT WICCreateImagingFactory(IWICImagingFactory** factory)
{
    if (factory == nullptr) return E_INVALIDARG;
    *factory = new (std::nothrow) KUV::Gfx::Image::ImagingFactory();
    return *factory ? S_OK : E_OUTOFMEMORY;
}
