#include "collections/DirectoryWalk.h"

#include <cerrno>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

std::function<bool(const std::string&)> g_unlistableForTest;

enum class EKind : unsigned char { Directory, File, Other };

// For file systems that give no type in the listing, and for links: links to directories are
// not followed, links to regular files are files. Looked up from the open folder.
EKind KindOfEntry(int dirFd, const char* name) {
    struct stat st {};
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return EKind::Other;
    if (S_ISLNK(st.st_mode)) {
        if (::fstatat(dirFd, name, &st, 0) != 0) return EKind::Other;
        return S_ISREG(st.st_mode) ? EKind::File : EKind::Other;
    }
    if (S_ISDIR(st.st_mode)) return EKind::Directory;
    if (S_ISREG(st.st_mode)) return EKind::File;
    return EKind::Other;
}

class CFd {
public:
    explicit CFd(int fd) : m_fd(fd) {}
    ~CFd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

// One folder's listing: the names one after another in one buffer, reused from folder to folder
// at the same depth, so listing a tree allocates nothing per file.
struct CListing {
    struct CEntry {
        std::uint32_t offset;
        std::uint32_t length;
        EKind kind;
    };
    std::vector<CEntry> entries;
    std::string names;
};

constexpr std::size_t kListBufferSize = 64 * 1024;

class CWalker {
public:
    explicit CWalker(const CWalkCallbacks& cb) : m_cb(cb), m_buffer(new char[kListBufferSize]) {}

    // m_path holds the directory on entry and is restored before returning.
    EWalkResult Walk(std::size_t depth) {
        if (m_cb.enterDirectory && !m_cb.enterDirectory(m_path)) return EWalkResult::Stopped;

        if (m_listings.size() <= depth) m_listings.push_back(std::make_unique<CListing>());
        CListing& listing = *m_listings[depth];
        // The listing is read whole and the handle closed before any descent, so a deep tree
        // never holds more than one directory handle open.
        if (!List(listing)) {
            if (m_cb.unlistable && !m_cb.unlistable(m_path)) return EWalkResult::Failed;
            return EWalkResult::Done;
        }

        const std::size_t dirLen = m_path.size();
        const bool rootSlash = !m_path.empty() && m_path.back() == '/';
        for (std::size_t k = 0; k < listing.entries.size(); ++k) {
            // Entries are read by index: a deeper walk may grow m_listings, never this listing.
            const CListing::CEntry e = listing.entries[k];
            if (!rootSlash) m_path += '/';
            m_path.append(listing.names, e.offset, e.length);
            EWalkResult r = EWalkResult::Done;
            if (e.kind == EKind::Directory) {
                r = Walk(depth + 1);
            } else if (m_cb.beforeFile && !m_cb.beforeFile()) {
                r = EWalkResult::Stopped;
            } else {
                const std::string_view path(m_path);
                const std::string_view dir(path.substr(0, dirLen));
                const std::string_view name(path.substr(path.size() - e.length));
                if (m_cb.file && !m_cb.file(CWalkFile{path, dir, name})) r = EWalkResult::Stopped;
            }
            m_path.resize(dirLen);
            if (r != EWalkResult::Done) return r;
        }
        return EWalkResult::Done;
    }

    std::string m_path;

private:
    // Reads the folder m_path names with getdents64; false when it cannot be listed.
    bool List(CListing& listing) {
        listing.entries.clear();
        listing.names.clear();
        if (g_unlistableForTest && g_unlistableForTest(m_path)) return false;
        const CFd dir(::open(m_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir.Get() < 0) return false;
        for (;;) {
            const ssize_t got = ::getdents64(dir.Get(), m_buffer.get(), kListBufferSize);
            if (got < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            if (got == 0) return true;
            for (ssize_t at = 0; at < got;) {
                const auto* e = reinterpret_cast<const dirent64*>(m_buffer.get() + at);
                at += e->d_reclen;
                const char* n = e->d_name;
                if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
                EKind kind = EKind::Other;
                switch (e->d_type) {
                case DT_DIR: kind = EKind::Directory; break;
                case DT_REG: kind = EKind::File; break;
                case DT_LNK:
                case DT_UNKNOWN: kind = KindOfEntry(dir.Get(), n); break;
                default: kind = EKind::Other; break;
                }
                if (kind == EKind::Other) continue;
                const std::size_t length = std::char_traits<char>::length(n);
                listing.entries.push_back({std::uint32_t(listing.names.size()), std::uint32_t(length), kind});
                listing.names.append(n, length);
            }
        }
    }

    const CWalkCallbacks& m_cb;
    std::unique_ptr<char[]> m_buffer;
    std::vector<std::unique_ptr<CListing>> m_listings; // one per depth
};

} // namespace

EWalkResult WalkDirectory(std::string_view dir, const CWalkCallbacks& callbacks) {
    if (dir.empty()) return EWalkResult::Done;
    while (dir.size() > 1 && dir.back() == '/') dir.remove_suffix(1);
    CWalker walker(callbacks);
    walker.m_path.assign(dir);
    walker.m_path.reserve(4096);
    return walker.Walk(0);
}

void SetUnlistableForTest(std::function<bool(const std::string& dir)> isUnlistable) {
    g_unlistableForTest = std::move(isUnlistable);
}
