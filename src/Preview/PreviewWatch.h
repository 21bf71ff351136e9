// Notices when any of a list of files changes, by comparing what the file system says
// about each (existence, size, modification time, file number) with what it said before.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace KUV::Preview {

struct FileStamp {
    bool exists = false;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::uint64_t fileNumber = 0; // an editor that saves by renaming gives a new one

    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const std::string& path);

class FileWatcher {
public:
    // Watches files from now on: those watched before keep their stamps (so a change made
    // meanwhile is still noticed), the others are stamped now, the rest are forgotten.
    void Watch(const std::vector<std::string>& files);
    // True when some file's stamp changed since it was taken; takes the new stamps.
    bool Changed();

    const std::vector<std::string>& Files() const { return m_Files; }

private:
    std::vector<std::string> m_Files;
    std::vector<FileStamp> m_Stamps;
};

} // namespace KUV::Preview
