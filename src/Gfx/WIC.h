// Image decoding: a small shape of the Windows Imaging Component. PNG and JPEG
// files decode to their native pixel layout: 24-bit BGR for JPEG, 32-bit BGRA
// with straight alpha for everything else.
#pragma once

#include "Gfx/Com.h"

constexpr DWORD GENERIC_READ = 0x80000000u;
enum WICDecodeOptions : UINT32 {
    WICDecodeMetadataCacheOnDemand = 0,
    WICDecodeMetadataCacheOnLoad = 1,
};
struct WICRect {
    int X;
    int Y;
    int Width;
    int Height;
};

constexpr GUID GUID_ContainerFormatJpeg
    = { 0x19e4a5aa, 0x5662, 0x4fc5, { 0xa0, 0xc0, 0x17, 0x58, 0x02, 0x8e, 0x10, 0x57 } };
constexpr GUID GUID_ContainerFormatPng
    = { 0x1b7cfaf4, 0x713f, 0x473c, { 0xbb, 0xcd, 0x61, 0x37, 0x42, 0x5f, 0xae, 0xaf } };
constexpr IID IID_IWICBitmapSource = { 0x00000120, 0xa8f2, 0x4877, { 0xba, 0x0a, 0xfd, 0x2b, 0x66, 0x45, 0xfb, 0x94 } };

// Decoded frames are refused beyond these bounds before any pixel memory is taken.
constexpr UINT32 WIC_MAX_IMAGE_SIDE = 16384;
constexpr UINT64 WIC_MAX_IMAGE_BYTES = 256ull * 1024 * 1024;

class IWICBitmapSource : public IUnknown {
public:
    virtual HRESULT GetSize(UINT* width, UINT* height) = 0;
    // Bytes per pixel of the native layout (3 or 4).
    virtual HRESULT GetBytesPerPixel(UINT* bytesPerPixel) = 0;
    // Copies rect (null: whole image) in the native layout, rows stride bytes apart.
    virtual HRESULT CopyPixels(const WICRect* rect, UINT stride, UINT bufferSize, BYTE* buffer) = 0;
};

class IWICBitmapFrameDecode : public IWICBitmapSource { };

class IWICBitmapDecoder : public IUnknown {
public:
    virtual HRESULT GetContainerFormat(GUID* containerFormat) = 0;
    virtual HRESULT GetFrameCount(UINT* count) = 0;
    virtual HRESULT GetFrame(UINT index, IWICBitmapFrameDecode** frame) = 0;
};

class IWICImagingFactory : public IUnknown {
public:
    // Opens and fully decodes the file (a path as the file system names it); fails on a
    // missing, unreadable, truncated, oversized or unsupported file.
    virtual HRESULT CreateDecoderFromFilename(const WCHAR* fileName, const GUID* preferredVendor, DWORD desiredAccess,
        WICDecodeOptions metadataOptions, IWICBitmapDecoder** decoder)
        = 0;
};

HRESULT WICCreateImagingFactory(IWICImagingFactory** factory);
