#include "filetools/CTreeGuard.h"

#include <sys/stat.h>

namespace fs = std::filesystem;

CTreeGuard::CTreeGuard(ELinks links, const fs::path& folder) : m_links(links) {
    std::error_code ec;
    if (links == ELinks::InsideFolder) m_folder = fs::canonical(folder, ec);
    if (ec) m_links = ELinks::None; // without a folder to stay in, no link is followed
}

std::optional<fs::path> CTreeGuard::Admit(const fs::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return std::nullopt;
    const bool link = S_ISLNK(st.st_mode);
    if (link && m_links == ELinks::None) return std::nullopt;
    std::error_code ec;
    const fs::path real = fs::canonical(path, ec);
    if (ec) return std::nullopt;
    if (link && m_links == ELinks::InsideFolder) {
        const fs::path rel = real.lexically_relative(m_folder);
        if (rel.empty() || *rel.begin() == "..") return std::nullopt;
    }
    if (link && ::stat(real.c_str(), &st) != 0) return std::nullopt;
    // Both keys: a file rewritten through a temporary file has a new inode by the time a link
    // leads to it again, and a second hard link to it has another path.
    const bool newId = m_seenIds.insert({std::uint64_t(st.st_dev), std::uint64_t(st.st_ino)}).second;
    const bool newPath = m_seenPaths.insert(real.string()).second;
    if (!newId || !newPath) return std::nullopt;
    return link ? real : path;
}
