#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// Copies one regular file the way the platform's file copy does (data, permission bits and
// modification time), but through a temporary file beside the target that is renamed into
// place: a failed copy never leaves a half-written target, and an existing target keeps its
// old content until the copy is complete. Returns 0 or the errno of the failure; an existing
// target gives EEXIST without overwrite, EACCES when it is read-only.
int CopyFileSafely(const std::filesystem::path& from, const std::filesystem::path& to, bool overwrite);

// Writes a file that does not exist yet, through a temporary file renamed into place (without
// the flush to disk of a rewrite: nothing older can be lost). 0 or the errno; EEXIST when the
// name is taken.
int WriteNewFile(const std::filesystem::path& path, std::string_view data);

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
