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

// Whether folder lies below ancestor (itself not counted), links in folder's path resolved.
bool IsBelowFolder(const std::filesystem::path& folder, const std::filesystem::path& ancestor);

// What a walk of source must leave out when its target sits below it: the target's own tree,
// whose fresh copies would be copied again. A target that is the source itself, an ancestor of
// it or anywhere else leaves nothing out. Asks the file system once per folder reported.
class CExcludedFolder {
public:
    CExcludedFolder(const std::filesystem::path& source, const std::filesystem::path& target);
    bool Contains(std::string_view dir);

private:
    CFileId m_target; // invalid: nothing is left out
    CFileId m_source;
    std::string m_lastDir;
    bool m_lastInside = false;
};
