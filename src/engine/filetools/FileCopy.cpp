#include "filetools/FileCopy.h"

#include <sys/stat.h>

namespace fs = std::filesystem;

CFileId FileIdOf(const fs::path& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return {};
    return {std::uint64_t(st.st_dev), std::uint64_t(st.st_ino), true};
}

bool IsBelowFolder(const fs::path& folder, const fs::path& ancestor) {
    const CFileId top = FileIdOf(ancestor);
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(folder, ec);
    if (!top.valid || ec) return false;
    for (fs::path p = real.parent_path(); !p.empty(); p = p.parent_path()) {
        if (FileIdOf(p) == top) return true;
        if (p == p.root_path()) break;
    }
    return false;
}

CExcludedFolder::CExcludedFolder(const fs::path& source, const fs::path& target) {
    if (!IsBelowFolder(target, source)) return;
    m_target = FileIdOf(target);
    m_source = FileIdOf(source);
}

bool CExcludedFolder::Contains(std::string_view dir) {
    if (!m_target.valid) return false;
    if (dir == m_lastDir) return m_lastInside;
    m_lastDir.assign(dir);
    m_lastInside = false;
    // The walk reports folders below the source; going up stops at the source.
    for (fs::path p(m_lastDir); !p.empty(); p = p.parent_path()) {
        const CFileId id = FileIdOf(p);
        if (id == m_target) {
            m_lastInside = true;
            break;
        }
        if (id == m_source || p == p.root_path()) break;
    }
    return m_lastInside;
}
