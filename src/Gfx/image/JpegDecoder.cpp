#include "Gfx/image/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include <jerror.h>

namespace KUV::Gfx::Image {

namespace {

struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    bool corruptData;
};

// Everything the guarded decode touches. libjpeg reports errors through error_exit,
// which leaves by longjmp, so the guarded code keeps its state here, in plain data,
// and the caller cleans up.
struct JpegJob {
    jpeg_decompress_struct cinfo;
    JpegErrors errors;
    std::FILE* file;
    BYTE* pixels;
    BYTE* cmykRow;
    HRESULT status;
};

[[noreturn]] void OnJpegError(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

bool MeansCorruptData(int code)
{
    switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION:
        return true;
    default:
        return false;
    }
}

// libjpeg patches over damaged data with warnings; notice them instead of printing them.
void OnJpegMessage(j_common_ptr cinfo, int level)
{
    if (level < 0 && MeansCorruptData(cinfo->err->msg_code))
        reinterpret_cast<JpegErrors*>(cinfo->err)->corruptData = true;
}

void OnJpegOutput(j_common_ptr) { }

bool IsCmyk(const jpeg_decompress_struct& cinfo)
{
    return cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
}

// Adobe writes CMYK inverted (0 = full ink); both forms become B,G,R.
void CmykToBgr(const BYTE* cmyk, BYTE* bgr, UINT width, bool inverted)
{
    for (UINT x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        for (int channel = 0; channel < 3; ++channel) {
            const unsigned ink = inverted ? cmyk[2 - channel] : 255u - cmyk[2 - channel];
            bgr[channel] = static_cast<BYTE>((ink * k + 127) / 255);
        }
    }
}

void ReadRow(JpegJob* job, BYTE* row)
{
    JSAMPROW target = job->cmykRow ? job->cmykRow : row;
    if (jpeg_read_scanlines(&job->cinfo, &target, 1) != 1) {
        job->errors.corruptData = true;
        return;
    }
    if (job->cmykRow) CmykToBgr(job->cmykRow, row, job->cinfo.output_width, job->cinfo.saw_Adobe_marker);
}

// Runs under the error guard: may leave by longjmp at any call into libjpeg.
void ReadPixels(JpegJob* job)
{
    jpeg_decompress_struct& cinfo = job->cinfo;
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, job->file);
    jpeg_read_header(&cinfo, TRUE);
    job->status = CheckImageSize(cinfo.image_width, cinfo.image_height);
    if (FAILED(job->status)) return;
    job->status = WINCODEC_ERR_BADIMAGE;
    cinfo.out_color_space = IsCmyk(cinfo) ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    const std::size_t stride = std::size_t(cinfo.output_width) * 3;
    job->pixels = static_cast<BYTE*>(std::malloc(stride * cinfo.output_height));
    if (IsCmyk(cinfo)) job->cmykRow = static_cast<BYTE*>(std::malloc(std::size_t(cinfo.output_width) * 4));
    if (job->pixels == nullptr || (IsCmyk(cinfo) && job->cmykRow == nullptr)) {
        job->status = E_OUTOFMEMORY;
        return;
    }
    while (cinfo.output_scanline < cinfo.output_height && !job->errors.corruptData)
        ReadRow(job, job->pixels + stride * cinfo.output_scanline);
    if (!job->errors.corruptData) job->status = S_OK;
}

void RunGuarded(JpegJob* job)
{
    if (setjmp(job->errors.jump)) return;
    ReadPixels(job);
}

void InstallErrorHandlers(JpegJob* job)
{
    job->cinfo.err = jpeg_std_error(&job->errors.base);
    job->errors.base.error_exit = OnJpegError;
    job->errors.base.emit_message = OnJpegMessage;
    job->errors.base.output_message = OnJpegOutput;
}

} // namespace

HRESULT DecodeJpeg(std::FILE* file, DecodedImage& image)
{
    auto job = std::make_unique<JpegJob>();
    job->file = file;
    job->status = WINCODEC_ERR_BADIMAGE;
    InstallErrorHandlers(job.get());
    RunGuarded(job.get());
    const HRESULT hr = job->status;
    PixelBuffer pixels(job->pixels);
    std::free(job->cmykRow);
    const UINT width = job->cinfo.output_width;
    const UINT height = job->cinfo.output_height;
    jpeg_destroy_decompress(&job->cinfo);
    if (FAILED(hr)) return hr;
    image.containerFormat = GUID_ContainerFormatJpeg;
    image.width = width;
    image.height = height;
    image.bytesPerPixel = 3;
    image.pixels = std::move(pixels);
    return S_OK;
}

} // namespace KUV::Gfx::Image
