#include "collections/DirectoryWalk.h"

#include <dirent.h>
#include <sys/stat.h>

#include <utility>
#include <vector>

namespace {

std::function<bool(const std::string&)> g_unlistableForTest;

enum class EKind : unsigned char { Directory, File, Other };

struct CEntry {
    std::string name;
    EKind kind;
};

// For file systems that give no type in the listing, and for links: links to directories are
// not followed, links to regular files are files.
EKind KindOfEntry(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return EKind::Other;
    if (S_ISLNK(st.st_mode)) {
        if (::stat(path.c_str(), &st) != 0) return EKind::Other;
        return S_ISREG(st.st_mode) ? EKind::File : EKind::Other;
    }
    if (S_ISDIR(st.st_mode)) return EKind::Directory;
    if (S_ISREG(st.st_mode)) return EKind::File;
    return EKind::Other;
}

class CWalker {
public:
    explicit CWalker(const CWalkCallbacks& cb) : m_cb(cb) {}

    // m_path holds the directory on entry and is restored before returning.
    EWalkResult Walk() {
        if (m_cb.enterDirectory && !m_cb.enterDirectory(m_path)) return EWalkResult::Stopped;

        // The listing is read whole and the handle closed before any descent, so a deep tree
        // never holds more than one directory handle open.
        std::vector<CEntry> entries;
        {
            DIR* d = g_unlistableForTest && g_unlistableForTest(m_path) ? nullptr
                                                                        : ::opendir(m_path.c_str());
            if (!d) {
                if (m_cb.unlistable && !m_cb.unlistable(m_path)) return EWalkResult::Failed;
                return EWalkResult::Done;
            }
            while (const dirent* e = ::readdir(d)) {
                const char* n = e->d_name;
                if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
                EKind kind = EKind::Other;
                switch (e->d_type) {
                case DT_DIR: kind = EKind::Directory; break;
                case DT_REG: kind = EKind::File; break;
                case DT_LNK:
                case DT_UNKNOWN: kind = KindOfEntry(Join(n)); break;
                default: kind = EKind::Other; break;
                }
                if (kind != EKind::Other) entries.push_back({n, kind});
            }
            ::closedir(d);
        }

        const std::size_t dirLen = m_path.size();
        const bool rootSlash = !m_path.empty() && m_path.back() == '/';
        for (const CEntry& e : entries) {
            if (!rootSlash) m_path += '/';
            m_path += e.name;
            EWalkResult r = EWalkResult::Done;
            if (e.kind == EKind::Directory) {
                r = Walk();
            } else {
                if (m_cb.beforeFile && !m_cb.beforeFile()) {
                    r = EWalkResult::Stopped;
                } else {
                    const std::string_view path(m_path);
                    const std::string_view dir(path.substr(0, dirLen));
                    const std::string_view name(path.substr(path.size() - e.name.size()));
                    if (m_cb.file && !m_cb.file(CWalkFile{path, dir, name})) r = EWalkResult::Stopped;
                }
            }
            m_path.resize(dirLen);
            if (r != EWalkResult::Done) return r;
        }
        return EWalkResult::Done;
    }

    std::string m_path;

private:
    std::string Join(const char* name) const {
        std::string full = m_path;
        if (full.empty() || full.back() != '/') full += '/';
        full += name;
        return full;
    }

    const CWalkCallbacks& m_cb;
};

} // namespace

EWalkResult WalkDirectory(std::string_view dir, const CWalkCallbacks& callbacks) {
    if (dir.empty()) return EWalkResult::Done;
    while (dir.size() > 1 && dir.back() == '/') dir.remove_suffix(1);
    CWalker walker(callbacks);
    walker.m_path.assign(dir);
    walker.m_path.reserve(4096);
    return walker.Walk();
}

void SetUnlistableForTest(std::function<bool(const std::string& dir)> isUnlistable) {
    g_unlistableForTest = std::move(isUnlistable);
}
