#include "Gfx/image/ImageFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace KUV::Gfx::Image {

namespace {

constexpr unsigned char kPngSignature[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
constexpr unsigned char kJpegStart[3] = { 0xFF, 0xD8, 0xFF };

HRESULT FromErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
        return HRESULT_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
        return E_ACCESSDENIED;
    default:
        return E_FAIL;
    }
}

// A directory, FIFO or device is not an image file; like Windows, refuse it as access denied.
HRESULT CheckRegularFile(int fd)
{
    struct stat info { };
    if (fstat(fd, &info) != 0) return FromErrno(errno);
    if (!S_ISREG(info.st_mode)) return E_ACCESSDENIED;
#ifdef _WIN32
    return S_OK;
#else
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) return E_FAIL;
    return S_OK;
#endif
}

// Opened without blocking, so that a FIFO named as an image cannot hang the load; Windows has no
// such files and opens in binary mode instead.
int OpenForReading(const std::string& path)
{
#ifdef _WIN32
    return open(path.c_str(), O_RDONLY | O_BINARY | O_NOINHERIT);
#else
    return open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
#endif
}

} // namespace

HRESULT OpenImageFile(const std::string& path, std::FILE** file)
{
    *file = nullptr;
    if (path.empty()) return HRESULT_FILE_NOT_FOUND;
    const int fd = OpenForReading(path);
    if (fd < 0) return FromErrno(errno);
    HRESULT hr = CheckRegularFile(fd);
    if (SUCCEEDED(hr)) {
        *file = fdopen(fd, "rb");
        if (*file == nullptr) hr = E_FAIL;
    }
    if (FAILED(hr)) close(fd);
    return hr;
}

ImageKind SniffImageKind(std::FILE* file)
{
    unsigned char head[sizeof kPngSignature] = {};
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    if (got == sizeof kPngSignature && std::memcmp(head, kPngSignature, sizeof kPngSignature) == 0)
        return ImageKind::Png;
    const bool jpeg = got >= sizeof kJpegStart && std::memcmp(head, kJpegStart, sizeof kJpegStart) == 0;
    std::rewind(file);
    return jpeg ? ImageKind::Jpeg : ImageKind::Unknown;
}

} // namespace KUV::Gfx::Image
