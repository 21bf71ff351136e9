#include "Preview/PreviewWatch.h"

#include <algorithm>
#include <sys/stat.h>

namespace KUV::Preview {

FileStamp StampOf(const std::string& path)
{
    struct stat info { };
    if (::stat(path.c_str(), &info) != 0) return {};
    const std::int64_t modified = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    return { true, static_cast<std::int64_t>(info.st_size), modified, static_cast<std::uint64_t>(info.st_ino) };
}

void FileWatcher::Watch(const std::vector<std::string>& files)
{
    std::vector<FileStamp> stamps;
    for (const std::string& file : files) {
        const auto known = std::find(m_Files.begin(), m_Files.end(), file);
        stamps.push_back(known == m_Files.end() ? StampOf(file) : m_Stamps[known - m_Files.begin()]);
    }
    m_Files = files;
    m_Stamps = std::move(stamps);
}

bool FileWatcher::Changed()
{
    bool changed = false;
    for (size_t i = 0; i < m_Files.size(); ++i) {
        const FileStamp now = StampOf(m_Files[i]);
        if (now == m_Stamps[i]) continue;
        m_Stamps[i] = now;
        changed = true;
    }
    return changed;
}

} // namespace KUV::Preview
