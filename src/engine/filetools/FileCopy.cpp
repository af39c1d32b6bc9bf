#include "filetools/FileCopy.h"

#include <sys/stat.h>

namespace fs = std::filesystem;

CFileId FileIdOf(const fs::path& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return {};
    return {std::uint64_t(st.st_dev), std::uint64_t(st.st_ino), true};
}

bool CExcludedFolder::Contains(std::string_view dir) {
    if (!m_id.valid) return false;
    if (dir == m_lastDir) return m_lastInside;
    m_lastDir.assign(dir);
    m_lastInside = false;
    for (fs::path p(m_lastDir); !p.empty(); p = p.parent_path()) {
        if (FileIdOf(p) == m_id) {
            m_lastInside = true;
            break;
        }
        if (p == p.root_path()) break;
    }
    return m_lastInside;
}
