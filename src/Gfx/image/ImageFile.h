// Opening an image file for decoding and telling its format from its first bytes.
#pragma once

#include <cstdio>
#include <string>

#include "Gfx/WIC.h"

namespace KUV::Gfx::Image {

enum class ImageKind { Unknown, Png, Jpeg };

// Opens path for reading as a regular file (never blocking on a FIFO or device);
// maps the failure to HRESULT_FILE_NOT_FOUND, E_ACCESSDENIED or E_FAIL.
HRESULT OpenImageFile(const std::string& path, std::FILE** file);

// Reads the first bytes of file and names the format; the file is left positioned
// just after the signature bytes that were read (8 for PNG), or at its start otherwise.
ImageKind SniffImageKind(std::FILE* file);

// Closes a file opened by OpenImageFile.
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace KUV::Gfx::Image
