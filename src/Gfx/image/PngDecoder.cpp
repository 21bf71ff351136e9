#include "Gfx/image/PngDecoder.h"

#include <cstdlib>
#include <cstring>

#include <png.h>

namespace KUV::Gfx::Image {

namespace {

// A chunk's declared length is what libpng allocates before it reads the chunk, so a few
// bytes can claim gigabytes. libpng's own needs (rows, chunks we read) stay far below this;
// the decoded pixels are allocated here, not by libpng.
constexpr png_alloc_size_t MaxLibpngAllocation = 16 * 1024 * 1024;

// Everything the guarded decode touches. libpng reports errors by longjmp, so the
// guarded code keeps its state here, in plain data, and the caller cleans up.
struct PngJob {
    std::FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    UINT width = 0;
    UINT height = 0;
    BYTE* pixels = nullptr;
    HRESULT status = WINCODEC_ERR_BADIMAGE;
};

[[noreturn]] void OnPngError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

png_voidp BoundedMalloc(png_structp, png_alloc_size_t size)
{
    return size > MaxLibpngAllocation ? nullptr : std::malloc(size);
}

void BoundedFree(png_structp, png_voidp block)
{
    std::free(block);
}

// Corrupt ancillary data is tolerated without noise.
void OnPngWarning(png_structp, png_const_charp) { }

// Asks libpng for 8-bit B,G,R,A rows; returns the number of interlace passes.
int RequestBgra(png_structp png, png_infop info)
{
    const png_byte colorType = png_get_color_type(png, info);
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    if (!(colorType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return passes;
}

// Runs under the error guard: may leave by longjmp at any call into libpng.
void ReadPixels(PngJob* job)
{
    png_read_info(job->png, job->info);
    job->width = png_get_image_width(job->png, job->info);
    job->height = png_get_image_height(job->png, job->info);
    job->status = CheckImageSize(job->width, job->height);
    if (FAILED(job->status)) return;
    job->status = WINCODEC_ERR_BADIMAGE;
    const int passes = RequestBgra(job->png, job->info);
    const std::size_t stride = std::size_t(job->width) * 4;
    if (png_get_rowbytes(job->png, job->info) != stride) return;
    job->pixels = static_cast<BYTE*>(std::malloc(stride * job->height));
    if (job->pixels == nullptr) {
        job->status = E_OUTOFMEMORY;
        return;
    }
    for (int pass = 0; pass < passes; ++pass)
        for (UINT y = 0; y < job->height; ++y)
            png_read_row(job->png, job->pixels + stride * y, nullptr);
    job->status = S_OK;
}

void RunGuarded(PngJob* job)
{
    if (setjmp(png_jmpbuf(job->png))) return;
    ReadPixels(job);
}

UINT ReadBigEndian(const BYTE* p)
{
    return UINT(p[0]) << 24 | UINT(p[1]) << 16 | UINT(p[2]) << 8 | p[3];
}

// libpng reads every chunk up to the first IDAT before it reports the size, so the
// size is taken from the leading IHDR chunk itself; the file is left where it was.
HRESULT CheckDeclaredSize(std::FILE* file)
{
    BYTE head[16];
    const long start = std::ftell(file);
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    if (start < 0 || std::fseek(file, start, SEEK_SET) != 0) return WINCODEC_ERR_STREAMREAD;
    if (got != sizeof head || std::memcmp(head + 4, "IHDR", 4) != 0) return WINCODEC_ERR_BADIMAGE;
    return CheckImageSize(ReadBigEndian(head + 8), ReadBigEndian(head + 12));
}

HRESULT StartPng(PngJob& job)
{
    job.png = png_create_read_struct_2(
        PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning, nullptr, BoundedMalloc, BoundedFree);
    if (job.png == nullptr) return E_OUTOFMEMORY;
    job.info = png_create_info_struct(job.png);
    if (job.info == nullptr) return E_OUTOFMEMORY;
    // Let the header through at any legal size so that our own bound names the refusal.
    png_set_user_limits(job.png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_init_io(job.png, job.file);
    png_set_sig_bytes(job.png, 8);
    return S_OK;
}

} // namespace

HRESULT DecodePng(std::FILE* file, DecodedImage& image)
{
    PngJob job;
    job.file = file;
    HRESULT hr = CheckDeclaredSize(file);
    if (SUCCEEDED(hr)) hr = StartPng(job);
    if (SUCCEEDED(hr)) {
        RunGuarded(&job);
        hr = job.status;
    }
    PixelBuffer pixels(job.pixels);
    png_destroy_read_struct(job.png ? &job.png : nullptr, job.info ? &job.info : nullptr, nullptr);
    if (FAILED(hr)) return hr;
    image.containerFormat = GUID_ContainerFormatPng;
    image.width = job.width;
    image.height = job.height;
    image.bytesPerPixel = 4;
    image.pixels = std::move(pixels);
    return S_OK;
}

} // namespace KUV::Gfx::Image
