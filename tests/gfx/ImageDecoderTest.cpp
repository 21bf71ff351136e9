#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <png.h>

#include "Gfx/WIC.h"
#include "ImageTestFiles.h"

using namespace imagetest;

namespace {

struct Decoded {
    HRESULT hr = E_FAIL;
    GUID format {};
    UINT width = 0;
    UINT height = 0;
    UINT bytesPerPixel = 0;
    Bytes pixels;
};

class ImageDecoder : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(WICCreateImagingFactory(m_Factory.ReleaseAndGetAddressOf()), S_OK); }

    HRESULT Open(const std::u16string& path, ComPtr<IWICBitmapDecoder>& decoder)
    {
        return m_Factory->CreateDecoderFromFilename(
            path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, decoder.ReleaseAndGetAddressOf());
    }

    // Opens the file and copies out the whole of frame 0, the way the engine reads images.
    Decoded Decode(const std::string& path)
    {
        Decoded result;
        ComPtr<IWICBitmapDecoder> decoder;
        result.hr = Open(Utf16(path), decoder);
        if (FAILED(result.hr)) {
            EXPECT_FALSE(decoder) << "a failed open must leave no decoder";
            return result;
        }
        EXPECT_EQ(decoder->GetContainerFormat(&result.format), S_OK);
        ComPtr<IWICBitmapFrameDecode> frame;
        EXPECT_EQ(decoder->GetFrame(0, frame.ReleaseAndGetAddressOf()), S_OK);
        EXPECT_EQ(frame->GetSize(&result.width, &result.height), S_OK);
        EXPECT_EQ(frame->GetBytesPerPixel(&result.bytesPerPixel), S_OK);
        const UINT stride = result.width * result.bytesPerPixel;
        result.pixels.resize(std::size_t(stride) * result.height);
        result.hr = frame->CopyPixels(nullptr, stride, UINT(result.pixels.size()), result.pixels.data());
        return result;
    }

    Decoded DecodeBytes(const std::string& name, const Bytes& bytes)
    {
        WriteFile(m_Dir.Path(name), bytes);
        return Decode(m_Dir.Path(name));
    }

    // Decodes a file that must fail, checking that nothing was printed on the way.
    HRESULT DecodeQuietly(const std::string& name, const Bytes& bytes)
    {
        ::testing::internal::CaptureStderr();
        const HRESULT hr = DecodeBytes(name, bytes).hr;
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
        return hr;
    }

    ScratchDir m_Dir;
    ComPtr<IWICImagingFactory> m_Factory;
};

Bytes Pixel4(const Decoded& image, UINT x, UINT y)
{
    const auto* p = image.pixels.data() + (std::size_t(y) * image.width + x) * 4;
    return Bytes(p, p + 4);
}

Bytes Pixel3(const Decoded& image, UINT x, UINT y)
{
    const auto* p = image.pixels.data() + (std::size_t(y) * image.width + x) * 3;
    return Bytes(p, p + 3);
}

::testing::AssertionResult ColourNear(const Bytes& actual, const Bytes& expected, int tolerance)
{
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (std::abs(int(actual[i]) - int(expected[i])) > tolerance)
            return ::testing::AssertionFailure()
                << "byte " << i << " is " << int(actual[i]) << ", expected " << int(expected[i]) << " +- " << tolerance;
    return ::testing::AssertionSuccess();
}

PngPicture Picture(int width, int height, int colorType, int bitDepth = 8, bool interlaced = false)
{
    PngPicture picture;
    picture.width = width;
    picture.height = height;
    picture.colorType = colorType;
    picture.bitDepth = bitDepth;
    picture.interlaced = interlaced;
    return picture;
}

PngPicture RgbaWithPartialAlpha()
{
    PngPicture picture = Picture(3, 2, PNG_COLOR_TYPE_RGB_ALPHA);
    picture.rows = {
        10, 20, 30, 128, /**/ 200, 100, 50, 0, /**/ 255, 255, 255, 255, //
        1, 2, 3, 4, /**/ 0, 0, 0, 255, /**/ 90, 180, 45, 77, //
    };
    return picture;
}

} // namespace

TEST_F(ImageDecoder, RgbaPngKeepsStraightAlphaInBgraOrder)
{
    const Decoded image = DecodeBytes("rgba.png", EncodePng(RgbaWithPartialAlpha()));
    ASSERT_EQ(image.hr, S_OK);
    EXPECT_TRUE(image.format == GUID_ContainerFormatPng);
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.bytesPerPixel, 4u);
    EXPECT_EQ(Pixel4(image, 0, 0), (Bytes { 30, 20, 10, 128 }));
    EXPECT_EQ(Pixel4(image, 1, 0), (Bytes { 50, 100, 200, 0 })) << "colour under zero alpha must survive";
    EXPECT_EQ(Pixel4(image, 0, 1), (Bytes { 3, 2, 1, 4 }));
    EXPECT_EQ(Pixel4(image, 2, 1), (Bytes { 45, 180, 90, 77 }));
}

TEST_F(ImageDecoder, PalettePngWithTransparencyEntries)
{
    PngPicture picture = Picture(4, 1, PNG_COLOR_TYPE_PALETTE, 2);
    picture.palette = { 255, 0, 0, /**/ 0, 255, 0, /**/ 0, 0, 255, /**/ 7, 8, 9 };
    picture.paletteAlpha = { 255, 64 }; // entries beyond the tRNS list are opaque
    picture.rows = { 0b00011011 }; // indices 0, 1, 2, 3
    const Decoded image = DecodeBytes("palette.png", EncodePng(picture));
    ASSERT_EQ(image.hr, S_OK);
    EXPECT_EQ(image.bytesPerPixel, 4u);
    EXPECT_EQ(Pixel4(image, 0, 0), (Bytes { 0, 0, 255, 255 }));
    EXPECT_EQ(Pixel4(image, 1, 0), (Bytes { 0, 255, 0, 64 }));
    EXPECT_EQ(Pixel4(image, 2, 0), (Bytes { 255, 0, 0, 255 }));
    EXPECT_EQ(Pixel4(image, 3, 0), (Bytes { 9, 8, 7, 255 }));
}

TEST_F(ImageDecoder, GreyAndSixteenBitPngsBecomeEightBitBgra)
{
    PngPicture grey16 = Picture(2, 1, PNG_COLOR_TYPE_GRAY, 16);
    grey16.rows = { 0x80, 0x80, 0xFF, 0xFF };
    Decoded image = DecodeBytes("grey16.png", EncodePng(grey16));
    ASSERT_EQ(image.hr, S_OK);
    EXPECT_EQ(Pixel4(image, 0, 0), (Bytes { 128, 128, 128, 255 }));
    EXPECT_EQ(Pixel4(image, 1, 0), (Bytes { 255, 255, 255, 255 }));

    PngPicture greyAlpha = Picture(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA);
    greyAlpha.rows = { 200, 33 };
    image = DecodeBytes("greyalpha.png", EncodePng(greyAlpha));
    ASSERT_EQ(image.hr, S_OK);
    EXPECT_EQ(Pixel4(image, 0, 0), (Bytes { 200, 200, 200, 33 }));

    PngPicture grey1 = Picture(3, 1, PNG_COLOR_TYPE_GRAY, 1);
    grey1.rows = { 0b10100000 };
    grey1.transparentGrey = 0;
    image = DecodeBytes("grey1.png", EncodePng(grey1));
    ASSERT_EQ(image.hr, S_OK);
    EXPECT_EQ(Pixel4(image, 0, 0), (Bytes { 255, 255, 255, 255 }));
    EXPECT_EQ(Pixel4(image, 1, 0), (Bytes { 0, 0, 0, 0 })) << "the tRNS grey becomes transparent";

    PngPicture rgb16 = Picture(1, 1, PNG_COLOR_TYPE_RGB, 16);
    rgb16.rows = { 0xFF, 0xFF, 0x00, 0x00, 0x40, 0x40 };
    image = DecodeBytes("rgb16.png", EncodePng(rgb16));
    ASSERT_EQ(image.hr, S_OK);
    EXPECT_EQ(Pixel4(image, 0, 0), (Bytes { 0x40, 0x00, 0xFF, 0xFF }));
}

TEST_F(ImageDecoder, InterlacedPngDeliversEveryPixel)
{
    PngPicture picture = Picture(9, 7, PNG_COLOR_TYPE_RGB, 8, true);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.rows.insert(
                picture.rows.end(), { std::uint8_t(x * 20), std::uint8_t(y * 30), std::uint8_t(x + y) });
    const Decoded image = DecodeBytes("adam7.png", EncodePng(picture));
    ASSERT_EQ(image.hr, S_OK);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            ASSERT_EQ(
                Pixel4(image, x, y), (Bytes { std::uint8_t(x + y), std::uint8_t(y * 30), std::uint8_t(x * 20), 255 }))
                << "at " << x << "," << y;
}

TEST_F(ImageDecoder, AnimatedPngYieldsItsDefaultImageAsTheOnlyFrame)
{
    const Bytes png = EncodePng(RgbaWithPartialAlpha());
    Bytes actl(8, 0);
    actl[3] = 2; // two frames, looping forever
    Bytes apng = InsertPngChunk(png, "IDAT", "acTL", actl);
    WriteFile(m_Dir.Path("anim.png"), apng);
    ComPtr<IWICBitmapDecoder> decoder;
    ASSERT_EQ(Open(Utf16(m_Dir.Path("anim.png")), decoder), S_OK);
    UINT count = 0;
    EXPECT_EQ(decoder->GetFrameCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    const Decoded image = Decode(m_Dir.Path("anim.png"));
    ASSERT_EQ(image.hr, S_OK);
    EXPECT_EQ(Pixel4(image, 0, 0), (Bytes { 30, 20, 10, 128 }));
}

TEST_F(ImageDecoder, JpegIsThreeBytesBgr)
{
    Bytes samples;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) {
            const Bytes colour = x < 16 ? Bytes { 230, 30, 20 } : Bytes { 20, 40, 220 };
            samples.insert(samples.end(), colour.begin(), colour.end());
        }
    const Decoded image = DecodeBytes("photo.jpg", EncodeJpeg(32, 16, JpegColor::Rgb, samples));
    ASSERT_EQ(image.hr, S_OK);
    EXPECT_TRUE(image.format == GUID_ContainerFormatJpeg);
    EXPECT_EQ(image.width, 32u);
    EXPECT_EQ(image.height, 16u);
    EXPECT_EQ(image.bytesPerPixel, 3u);
    EXPECT_TRUE(ColourNear(Pixel3(image, 4, 8), { 20, 30, 230 }, 12));
    EXPECT_TRUE(ColourNear(Pixel3(image, 28, 8), { 220, 40, 20 }, 12));
}

TEST_F(ImageDecoder, GreyAndCmykJpegsAreConvertedToBgr)
{
    Bytes grey(8 * 8, 90);
    Decoded image = DecodeBytes("grey.jpg", EncodeJpeg(8, 8, JpegColor::Grey, grey));
    ASSERT_EQ(image.hr, S_OK);
    EXPECT_EQ(image.bytesPerPixel, 3u);
    EXPECT_TRUE(ColourNear(Pixel3(image, 3, 3), { 90, 90, 90 }, 2));

    // Adobe CMYK is stored inverted: 255 means no ink. This is pure red.
    Bytes cmyk;
    for (int i = 0; i < 8 * 8; ++i)
        cmyk.insert(cmyk.end(), { 255, 0, 0, 255 });
    image = DecodeBytes("cmyk.jpg", EncodeJpeg(8, 8, JpegColor::AdobeCmyk, cmyk));
    ASSERT_EQ(image.hr, S_OK);
    EXPECT_EQ(image.bytesPerPixel, 3u);
    EXPECT_TRUE(ColourNear(Pixel3(image, 3, 3), { 0, 0, 255 }, 6));
}

TEST_F(ImageDecoder, FrameAccessAndInterfaces)
{
    WriteFile(m_Dir.Path("a.png"), EncodePng(RgbaWithPartialAlpha()));
    ComPtr<IWICBitmapDecoder> decoder;
    ASSERT_EQ(Open(Utf16(m_Dir.Path("a.png")), decoder), S_OK);
    UINT count = 0;
    ASSERT_EQ(decoder->GetFrameCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    IWICBitmapFrameDecode* missing = reinterpret_cast<IWICBitmapFrameDecode*>(&count);
    EXPECT_EQ(decoder->GetFrame(1, &missing), WINCODEC_ERR_FRAMEMISSING);
    EXPECT_EQ(missing, nullptr);

    ComPtr<IWICBitmapFrameDecode> frame;
    ASSERT_EQ(decoder->GetFrame(0, frame.ReleaseAndGetAddressOf()), S_OK);
    decoder = ComPtr<IWICBitmapDecoder>(); // the frame keeps the pixels alive
    ComPtr<IWICBitmapSource> source;
    ASSERT_EQ(
        frame->QueryInterface(IID_IWICBitmapSource, reinterpret_cast<void**>(source.ReleaseAndGetAddressOf())), S_OK);
    UINT width = 0, height = 0;
    EXPECT_EQ(source->GetSize(&width, &height), S_OK);
    EXPECT_EQ(width, 3u);
    void* other = &count;
    EXPECT_EQ(frame->QueryInterface(GUID_ContainerFormatPng, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
}

TEST_F(ImageDecoder, CopyPixelsHonoursRectStrideAndBufferBounds)
{
    WriteFile(m_Dir.Path("a.png"), EncodePng(RgbaWithPartialAlpha()));
    ComPtr<IWICBitmapDecoder> decoder;
    ASSERT_EQ(Open(Utf16(m_Dir.Path("a.png")), decoder), S_OK);
    ComPtr<IWICBitmapFrameDecode> frame;
    ASSERT_EQ(decoder->GetFrame(0, frame.ReleaseAndGetAddressOf()), S_OK);

    const WICRect lowerRight { 1, 0, 2, 2 };
    Bytes buffer(20, 0xEE); // stride 10: two pixels and two padding bytes per row
    ASSERT_EQ(frame->CopyPixels(&lowerRight, 10, 18, buffer.data()), S_OK);
    EXPECT_EQ(buffer,
        (Bytes { 50, 100, 200, 0, 255, 255, 255, 255, 0xEE, 0xEE, //
            0, 0, 0, 255, 45, 180, 90, 77, 0xEE, 0xEE }));

    EXPECT_EQ(frame->CopyPixels(&lowerRight, 10, 17, buffer.data()), E_INVALIDARG) << "buffer one byte short";
    EXPECT_EQ(frame->CopyPixels(&lowerRight, 7, 100, buffer.data()), E_INVALIDARG) << "stride below a row";
    EXPECT_EQ(frame->CopyPixels(nullptr, 12, 23, buffer.data()), E_INVALIDARG);
    const WICRect outside { 2, 1, 2, 1 };
    EXPECT_EQ(frame->CopyPixels(&outside, 8, 8, buffer.data()), E_INVALIDARG);
    const WICRect negative { -1, 0, 1, 1 };
    EXPECT_EQ(frame->CopyPixels(&negative, 4, 4, buffer.data()), E_INVALIDARG);
    const WICRect huge { 1, 0, 0x7FFFFFFF, 1 };
    EXPECT_EQ(frame->CopyPixels(&huge, 4, 4, buffer.data()), E_INVALIDARG);
    EXPECT_EQ(frame->CopyPixels(nullptr, 12, 24, nullptr), E_INVALIDARG);
}

TEST_F(ImageDecoder, FilesThatCannotBeOpened)
{
    EXPECT_EQ(Decode(m_Dir.Path("missing.png")).hr, HRESULT_FILE_NOT_FOUND);
    EXPECT_EQ(Decode(m_Dir.Path("no/such/dir.png")).hr, HRESULT_FILE_NOT_FOUND);
    EXPECT_EQ(Decode("").hr, HRESULT_FILE_NOT_FOUND);
    EXPECT_EQ(Decode(m_Dir.Path("")).hr, E_ACCESSDENIED) << "a directory is not an image";
    ASSERT_EQ(mkfifo(m_Dir.Path("fifo.png").c_str(), 0600), 0);
    EXPECT_EQ(Decode(m_Dir.Path("fifo.png")).hr, E_ACCESSDENIED) << "a FIFO must be refused, not waited on";
    if (geteuid() != 0) {
        WriteFile(m_Dir.Path("locked.png"), EncodePng(RgbaWithPartialAlpha()));
        chmod(m_Dir.Path("locked.png").c_str(), 0);
        EXPECT_EQ(Decode(m_Dir.Path("locked.png")).hr, E_ACCESSDENIED);
    }
}

TEST_F(ImageDecoder, NonAsciiFileNamesAreUtf8OnDisk)
{
    WriteFile(m_Dir.Path("kuva_\xC3\xA4\xF0\x9F\x8E\xB5.png"), EncodePng(RgbaWithPartialAlpha()));
    ComPtr<IWICBitmapDecoder> decoder;
    EXPECT_EQ(Open(Utf16(m_Dir.Path("")) + u"kuva_\u00E4\U0001F3B5.png", decoder), S_OK);
}

TEST_F(ImageDecoder, UnsupportedFormatsAreNamedAsSuch)
{
    EXPECT_EQ(DecodeQuietly("empty.png", {}), WINCODEC_ERR_COMPONENTNOTFOUND);
    EXPECT_EQ(DecodeQuietly("garbage.png", Bytes(100, 0x5A)), WINCODEC_ERR_COMPONENTNOTFOUND);
    EXPECT_EQ(DecodeQuietly("anim.gif", { 'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0 }),
        WINCODEC_ERR_COMPONENTNOTFOUND);
    EXPECT_EQ(
        DecodeQuietly("pic.bmp", { 'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0 }), WINCODEC_ERR_COMPONENTNOTFOUND);
    EXPECT_EQ(DecodeQuietly("short.png", { 0x89, 'P', 'N' }), WINCODEC_ERR_COMPONENTNOTFOUND);
}

TEST_F(ImageDecoder, TruncatedAndCorruptFilesAreBadImages)
{
    Bytes png = EncodePng(RgbaWithPartialAlpha());
    EXPECT_EQ(DecodeQuietly("cut.png", Bytes(png.begin(), png.begin() + png.size() / 2)), WINCODEC_ERR_BADIMAGE);
    EXPECT_EQ(DecodeQuietly("signature.png", Bytes(png.begin(), png.begin() + 8)), WINCODEC_ERR_BADIMAGE);

    Bytes badCrc = png;
    badCrc[8 + 8 + 13] ^= 0xFF; // the IHDR checksum
    EXPECT_EQ(DecodeQuietly("crc.png", badCrc), WINCODEC_ERR_BADIMAGE);

    Bytes samples(64 * 64 * 3);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::uint8_t(i * 7919 % 251);
    const Bytes jpeg = EncodeJpeg(64, 64, JpegColor::Rgb, samples);
    EXPECT_EQ(DecodeQuietly("cut.jpg", Bytes(jpeg.begin(), jpeg.begin() + jpeg.size() / 2)), WINCODEC_ERR_BADIMAGE);
    EXPECT_EQ(DecodeQuietly("head.jpg", Bytes(jpeg.begin(), jpeg.begin() + 40)), WINCODEC_ERR_BADIMAGE);
    EXPECT_EQ(DecodeQuietly("soi.jpg", { 0xFF, 0xD8, 0xFF }), WINCODEC_ERR_BADIMAGE);
}

TEST_F(ImageDecoder, OversizedImagesAreRefusedFromTheHeader)
{
    // These files hold a header and no pixel data at all: decoding them would fail as bad
    // images, so only a refusal made from the header yields IMAGETOOLARGE.
    EXPECT_EQ(DecodeQuietly("wide.png", PngHeaderOnly(20000, 10)), WINCODEC_ERR_IMAGETOOLARGE);
    EXPECT_EQ(DecodeQuietly("tall.png", PngHeaderOnly(10, 16385)), WINCODEC_ERR_IMAGETOOLARGE);
    EXPECT_EQ(DecodeQuietly("square.png", PngHeaderOnly(16384, 16384)), WINCODEC_ERR_IMAGETOOLARGE);
    EXPECT_EQ(DecodeQuietly("huge.png", PngHeaderOnly(0x7FFFFFFF, 0x7FFFFFFF)), WINCODEC_ERR_IMAGETOOLARGE);
    EXPECT_EQ(DecodeQuietly("limit.png", PngHeaderOnly(16384, 4096)), WINCODEC_ERR_BADIMAGE)
        << "exactly the byte bound is allowed; the missing data is what fails";

    const Bytes jpeg = EncodeJpeg(8, 8, JpegColor::Grey, Bytes(64, 128));
    EXPECT_EQ(DecodeQuietly("wide.jpg", PatchJpegSize(jpeg, 20000, 10)), WINCODEC_ERR_IMAGETOOLARGE);
    EXPECT_EQ(DecodeQuietly("big.jpg", PatchJpegSize(jpeg, 16000, 16000)), WINCODEC_ERR_IMAGETOOLARGE);
}

TEST_F(ImageDecoder, FactoryArgumentChecks)
{
    IWICBitmapDecoder* decoder = reinterpret_cast<IWICBitmapDecoder*>(this);
    EXPECT_EQ(
        m_Factory->CreateDecoderFromFilename(nullptr, nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, &decoder),
        E_INVALIDARG);
    EXPECT_EQ(decoder, nullptr);
    EXPECT_EQ(
        m_Factory->CreateDecoderFromFilename(u"x.png", nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, nullptr),
        E_INVALIDARG);
    EXPECT_EQ(WICCreateImagingFactory(nullptr), E_INVALIDARG);
}
