// Any bytes as an image file: decoded as PNG or JPEG (by its contents) and its pixels
// copied out. Every input must end in a status.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzWorkspace.h"
#include "Gfx/D2D1.h"
#include "Gfx/WIC.h"

namespace {

void CopyOut(IWICBitmapSource& source)
{
    UINT width = 0, height = 0, bytesPerPixel = 0;
    if (FAILED(source.GetSize(&width, &height)) || FAILED(source.GetBytesPerPixel(&bytesPerPixel))) return;
    const UINT stride = width * bytesPerPixel;
    std::vector<BYTE> pixels(std::size_t(stride) * height);
    static_cast<void>(source.CopyPixels(nullptr, stride, UINT(pixels.size()), pixels.data()));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kuvfuzz::EnterWorkspace(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static IWICImagingFactory* const imaging = [] {
        IWICImagingFactory* created = nullptr;
        WICCreateImagingFactory(&created);
        return created;
    }();
    const std::string written = kuvfuzz::WriteInput("input.img", data, size);
    const std::u16string path(written.begin(), written.end()); // a temporary folder's path is ASCII
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(imaging->CreateDecoderFromFilename(
            path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, decoder.ReleaseAndGetAddressOf())))
        return 0;
    UINT frames = 0;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrameCount(&frames)) || frames == 0
        || FAILED(decoder->GetFrame(0, frame.ReleaseAndGetAddressOf())))
        return 0;
    ComPtr<IWICBitmapSource> source;
    if (SUCCEEDED(
            frame->QueryInterface(IID_IWICBitmapSource, reinterpret_cast<void**>(source.ReleaseAndGetAddressOf()))))
        CopyOut(*source.Get());
    return 0;
}
