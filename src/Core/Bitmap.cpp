#include "Core/Bitmap.h"

#include <vector>

#include "Core/Assert.h"
#include "Core/Factory.h"
#include "Core/FilePath.h"
#include "Core/RecordOpeners.h"
#include "Core/TextEncoding.h"

namespace KUV {

namespace {

std::shared_ptr<Image> ReadBitmapFromFile(SceneReader& reader)
{
    auto bitmap = std::make_shared<Bitmap>(Bitmap::FromFile, reader.ReadWord());
    reader.NoteFileRead(ResolvePath(bitmap->Path()));
    return bitmap;
}

constexpr RecordOpener<Image> Openers[] = {
    { "BitmapFromFile{", &ReadBitmapFromFile },
};

} // namespace

std::shared_ptr<Image> ReadImage(SceneReader& reader)
{
    return ReadRecord(reader, Openers, "bitmap", [](Image&) {});
}

namespace {

// The first (or only) frame of the file, as a pixel source.
std::shared_ptr<IWICBitmapSource> DecodeFrame(IWICImagingFactory& wic, const std::string& path, bool& jpeg)
{
    const std::u16string wide = WidenSceneText(ResolvePath(path));
    const auto decoder = CreateChecked([&](IWICBitmapDecoder** out) {
        return wic.CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, out);
    });
    GUID format {};
    CheckD2DResult(decoder->GetContainerFormat(&format));
    jpeg = format == GUID_ContainerFormatJpeg;
    const auto frame = CreateChecked([&](IWICBitmapFrameDecode** out) { return decoder->GetFrame(0, out); });
    return CreateChecked([&](IWICBitmapSource** out) {
        return frame->QueryInterface(IID_IWICBitmapSource, reinterpret_cast<void**>(out));
    });
}

// Copies the native pixels and turns them into premultiplied 32-bit BGRA in the same buffer
// (one copy of a large image, not two): JPEG's 3-byte pixels spread out from the end.
std::vector<BYTE> PremultipliedPixels(IWICBitmapSource& source, UINT32 width, UINT32 height, bool jpeg)
{
    const UINT32 bytesPerPixel = jpeg ? 3 : 4;
    UINT native = 0;
    CheckD2DResult(source.GetBytesPerPixel(&native));
    if (native != bytesPerPixel) CheckD2DResult(D2DERR_UNSUPPORTED_PIXEL_FORMAT);
    const UINT64 pixels = UINT64(width) * height;
    if (width > WIC_MAX_IMAGE_SIDE || height > WIC_MAX_IMAGE_SIDE || pixels * 4 > WIC_MAX_IMAGE_BYTES)
        CheckD2DResult(WINCODEC_ERR_IMAGETOOLARGE);
    std::vector<BYTE> result(pixels * 4);
    CheckD2DResult(
        source.CopyPixels(nullptr, width * bytesPerPixel, static_cast<UINT>(pixels * bytesPerPixel), result.data()));
    for (UINT64 i = pixels; i-- > 0;) {
        const BYTE* from = &result[i * bytesPerPixel];
        BYTE* to = &result[i * 4];
        const unsigned alpha = jpeg ? 255 : from[3];
        const BYTE blue = from[0], green = from[1], red = from[2];
        to[0] = static_cast<BYTE>((blue * alpha + 127) / 255);
        to[1] = static_cast<BYTE>((green * alpha + 127) / 255);
        to[2] = static_cast<BYTE>((red * alpha + 127) / 255);
        to[3] = static_cast<BYTE>(alpha);
    }
    return result;
}

// The file's pixels, premultiplied; the decoder and its copy are gone when this returns.
std::vector<BYTE> DecodePixels(
    IWICImagingFactory& imaging, const std::string& path, const DecodedImages& images, UINT32& width, UINT32& height)
{
    bool jpeg = false;
    const std::shared_ptr<IWICBitmapSource> source = DecodeFrame(imaging, path, jpeg);
    CheckD2DResult(source->GetSize(&width, &height));
    if (!images.Admits(width, height)) CheckD2DResult(E_OUTOFMEMORY);
    return PremultipliedPixels(*source, width, height, jpeg);
}

} // namespace

std::shared_ptr<ID2D1Bitmap> Bitmap::CreateResource()
{
    KUV_ASSERT(m_RT);
    KUV_ASSERT(m_type == FromFile);
    KUV_ASSERT(m_Loader);
    // Every record naming the same file shares one decoded bitmap.
    const std::string identity = FileIdentity(ResolvePath(m_Path));
    DecodedImages& images = m_Loader->Images();
    std::shared_ptr<ID2D1Bitmap> bitmap = images.Find(m_RT, identity);
    if (!bitmap) bitmap = images.Share(m_RT, identity, Decode(images));
    const D2D1_SIZE_U size = bitmap->GetPixelSize();
    m_Width = size.width;
    m_Height = size.height;
    return bitmap;
}

std::shared_ptr<ID2D1Bitmap> Bitmap::Decode(const DecodedImages& images)
{
    IWICImagingFactory* imaging = m_Loader->GetImagingFactory();
    // The imaging layer could not start: every image fails instead of crashing.
    if (!imaging) CheckD2DResult(E_FAIL);
    UINT32 width = 0, height = 0;
    const std::vector<BYTE> pixels = DecodePixels(*imaging, m_Path, images, width, height);
    const D2D1_BITMAP_PROPERTIES properties { { DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED },
        D2D1_DEFAULT_DPI, D2D1_DEFAULT_DPI };
    return CreateChecked([&](ID2D1Bitmap** out) {
        return m_RT->CreateBitmap({ width, height }, pixels.data(), width * 4, properties, out);
    });
}

} // namespace KUV
