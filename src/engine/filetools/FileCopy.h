#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// dev/inode identity of an existing file or folder, for "is this the same place" tests that
// links or differently spelled paths must not fool.
struct CFileId {
    std::uint64_t dev = 0;
    std::uint64_t ino = 0;
    bool valid = false;
    bool operator==(const CFileId& o) const { return valid && o.valid && dev == o.dev && ino == o.ino; }
};
CFileId FileIdOf(const std::filesystem::path& path);

// Remembers whether the folders a walk reports lie inside one excluded folder (a target that
// sits inside the source tree), asking the file system once per folder.
class CExcludedFolder {
public:
    explicit CExcludedFolder(const std::filesystem::path& folder) : m_id(FileIdOf(folder)) {}
    bool Contains(std::string_view dir);

private:
    CFileId m_id;
    std::string m_lastDir;
    bool m_lastInside = false;
};
