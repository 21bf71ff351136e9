#include <sys/resource.h>
#include <sys/stat.h>

#include <stdexcept>

#include <gtest/gtest.h>
#include <png.h>

#include "Gfx/WIC.h"
#include "support/ImageFiles.h"
#include "support/Scenes.h"

namespace {

using namespace kuvtest;

// Overwrites the height and width of the first SOF0 marker of a JPEG.
Bytes PatchJpegSize(Bytes jpeg, std::uint16_t width, std::uint16_t height)
{
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = std::uint8_t(height >> 8), jpeg[i + 6] = std::uint8_t(height);
            jpeg[i + 7] = std::uint8_t(width >> 8), jpeg[i + 8] = std::uint8_t(width);
            return jpeg;
        }
    }
    throw std::runtime_error("no SOF0 marker");
}

struct Decoded {
    HRESULT hr = E_FAIL;
    GUID format {};
    UINT width = 0;
    UINT height = 0;
    UINT bytesPerPixel = 0;
    Bytes pixels;
};

std::u16string Utf16(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

class ImageDecoder : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(WICCreateImagingFactory(m_Factory.ReleaseAndGetAddressOf()), S_OK); }

    std::string Path(const std::string& name) const { return m_Dir.Path() + "/" + name; }

    HRESULT Open(const std::u16string& path, ComPtr<IWICBitmapDecoder>& decoder)
    {
        return m_Factory->CreateDecoderFromFilename(
            path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, decoder.ReleaseAndGetAddressOf());
    }

    // Copies out all of frame 0 the way the engine does: through a source that outlives its decoder.
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
        decoder = ComPtr<IWICBitmapDecoder>();
        ComPtr<IWICBitmapSource> source;
        EXPECT_EQ(
            frame->QueryInterface(IID_IWICBitmapSource, reinterpret_cast<void**>(source.ReleaseAndGetAddressOf())),
            S_OK);
        EXPECT_EQ(source->GetSize(&result.width, &result.height), S_OK);
        EXPECT_EQ(source->GetBytesPerPixel(&result.bytesPerPixel), S_OK);
        const UINT stride = result.width * result.bytesPerPixel;
        result.pixels.resize(std::size_t(stride) * result.height);
        result.hr = source->CopyPixels(nullptr, stride, UINT(result.pixels.size()), result.pixels.data());
        return result;
    }

    Decoded DecodeBytes(const std::string& name, const Bytes& bytes)
    {
        WriteFile(Path(name), bytes);
        return Decode(Path(name));
    }

    TempDir m_Dir;
    ComPtr<IWICImagingFactory> m_Factory;
};

PngPicture RgbaWithPartialAlpha()
{
    return { 3, 2, PNG_COLOR_TYPE_RGB_ALPHA, 8, false,
        { 10, 20, 30, 128, /**/ 200, 100, 50, 0, /**/ 255, 255, 255, 255, //
            1, 2, 3, 4, /**/ 0, 0, 0, 255, /**/ 90, 180, 45, 77 } };
}

TEST_F(ImageDecoder, PngsBecomeStraightEightBitBgra)
{
    const struct {
        const char* name;
        PngPicture picture;
        Bytes pixels;
    } cases[] = {
        // Colour under zero alpha must survive: nothing is premultiplied.
        { "rgba", RgbaWithPartialAlpha(),
            { 30, 20, 10, 128, /**/ 50, 100, 200, 0, /**/ 255, 255, 255, 255, //
                3, 2, 1, 4, /**/ 0, 0, 0, 255, /**/ 45, 180, 90, 77 } },
        // Indices 0, 1, 2, 3; entries beyond the tRNS list are opaque.
        { "palette",
            { 4, 1, PNG_COLOR_TYPE_PALETTE, 2, false, { 0b00011011 },
                { 255, 0, 0, /**/ 0, 255, 0, /**/ 0, 0, 255, /**/ 7, 8, 9 }, { 255, 64 } },
            { 0, 0, 255, 255, /**/ 0, 255, 0, 64, /**/ 255, 0, 0, 255, /**/ 9, 8, 7, 255 } },
        { "16-bit grey", { 2, 1, PNG_COLOR_TYPE_GRAY, 16, false, { 0x80, 0x80, 0xFF, 0xFF } },
            { 128, 128, 128, 255, /**/ 255, 255, 255, 255 } },
        { "interlaced", { 2, 2, PNG_COLOR_TYPE_RGB, 8, true, { 1, 2, 3, 4, 5, 6, /**/ 11, 12, 13, 14, 15, 16 } },
            { 3, 2, 1, 255, 6, 5, 4, 255, /**/ 13, 12, 11, 255, 16, 15, 14, 255 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded image = DecodeBytes(std::string(c.name) + ".png", EncodePng(c.picture));
        ASSERT_EQ(image.hr, S_OK);
        EXPECT_TRUE(image.format == GUID_ContainerFormatPng);
        EXPECT_EQ(image.width, c.picture.width);
        EXPECT_EQ(image.height, c.picture.height);
        EXPECT_EQ(image.bytesPerPixel, 4u);
        EXPECT_EQ(image.pixels, c.pixels);
    }
}

TEST_F(ImageDecoder, JpegsAreThreeBytesBgrEvenFromAdobeCmyk)
{
    // Adobe CMYK is stored inverted: 255 means no ink. This is pure red.
    Bytes cmyk;
    for (int i = 0; i < 8 * 8; ++i)
        cmyk.insert(cmyk.end(), { 255, 0, 0, 255 });
    const Decoded image = DecodeBytes("cmyk.jpg", EncodeJpeg(8, 8, JpegColor::AdobeCmyk, cmyk));
    ASSERT_EQ(image.hr, S_OK);
    EXPECT_TRUE(image.format == GUID_ContainerFormatJpeg);
    EXPECT_EQ(image.width, 8u);
    ASSERT_EQ(image.bytesPerPixel, 3u);
    const Bytes bgr = { 0, 0, 255 };
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(image.pixels[(4 * 8 + 3) * 3 + i], bgr[i], 6) << "byte " << i;
}

TEST_F(ImageDecoder, FilesThatCannotBeOpened)
{
    ASSERT_EQ(mkfifo(Path("fifo.png").c_str(), 0600), 0);
    const std::pair<std::string, HRESULT> cases[] = {
        { Path("missing.png"), HRESULT_FILE_NOT_FOUND }, { "", HRESULT_FILE_NOT_FOUND },
        { Path(""), E_ACCESSDENIED }, // a directory is not an image
        { Path("fifo.png"), E_ACCESSDENIED }, // refused, not waited on
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(Decode(path).hr, expected) << "'" << path << "'";
}

TEST_F(ImageDecoder, NonAsciiFileNamesAreUtf8OnDisk)
{
    WriteFile(Path("kuva_\xC3\xA4\xF0\x9F\x8E\xB5.png"), EncodePng(RgbaWithPartialAlpha()));
    ComPtr<IWICBitmapDecoder> decoder;
    EXPECT_EQ(Open(Utf16(Path("")) + u"kuva_\u00E4\U0001F3B5.png", decoder), S_OK);
}

TEST_F(ImageDecoder, BadContentIsRefusedQuietlyWithItsCode)
{
    const Bytes png = EncodePng(RgbaWithPartialAlpha());
    Bytes badCrc = png;
    badCrc[8 + 8 + 13] ^= 0xFF; // the IHDR checksum
    Bytes samples(64 * 64 * 3);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::uint8_t(i * 7919 % 251);
    const Bytes jpeg = EncodeJpeg(64, 64, JpegColor::Rgb, samples);
    const Bytes small = EncodeJpeg(8, 8, JpegColor::Grey, Bytes(64, 128));
    const struct {
        const char* name;
        Bytes bytes;
        HRESULT expected;
    } cases[] = {
        { "garbage.png", Bytes(100, 0x5A), WINCODEC_ERR_COMPONENTNOTFOUND },
        { "short.png", { 0x89, 'P', 'N' }, WINCODEC_ERR_COMPONENTNOTFOUND },
        { "cut.png", Bytes(png.begin(), png.begin() + png.size() / 2), WINCODEC_ERR_BADIMAGE },
        { "crc.png", badCrc, WINCODEC_ERR_BADIMAGE },
        { "cut.jpg", Bytes(jpeg.begin(), jpeg.begin() + jpeg.size() / 2), WINCODEC_ERR_BADIMAGE },
        // Header-only PNGs hold no pixel data at all: decoding them would fail as bad images,
        // so only a refusal made from the header yields IMAGETOOLARGE.
        { "wide.png", PngHeaderOnly(20000, 10), WINCODEC_ERR_IMAGETOOLARGE },
        { "square.png", PngHeaderOnly(16384, 16384), WINCODEC_ERR_IMAGETOOLARGE },
        { "huge.png", PngHeaderOnly(0x7FFFFFFF, 0x7FFFFFFF), WINCODEC_ERR_IMAGETOOLARGE },
        // Exactly the byte bound is allowed; the missing data is what fails.
        { "limit.png", PngHeaderOnly(16384, 4096), WINCODEC_ERR_BADIMAGE },
        { "wide.jpg", PatchJpegSize(small, 20000, 10), WINCODEC_ERR_IMAGETOOLARGE },
    };
    for (const auto& c : cases) {
        ::testing::internal::CaptureStderr();
        const HRESULT hr = DecodeBytes(c.name, c.bytes).hr;
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << c.name;
        EXPECT_EQ(hr, c.expected) << c.name;
    }
}

// The process's peak resident memory so far, in MiB.
long PeakMemoryMiB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

TEST_F(ImageDecoder, AChunkThatClaimsGigabytesIsRefusedWithoutTakingThem)
{
    // A header, then a text chunk declaring 1.6 GB of which the file holds a few bytes.
    Bytes png = PngHeaderOnly(9, 4);
    const Bytes text { 0x65, 0x00, 0x32, 0x25, 't', 'E', 'X', 't', 'd', 'a', 't', 'e' };
    png.insert(png.end(), text.begin(), text.end());
    const long before = PeakMemoryMiB();
    EXPECT_EQ(DecodeBytes("claims.png", png).hr, WINCODEC_ERR_BADIMAGE);
    EXPECT_LT(PeakMemoryMiB() - before, 256);
}

} // namespace
