#include "filetools/FileCopy.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

int CopyData(int in, int out, off_t size) {
    off_t left = size;
    // copy_file_range lets the kernel (or the file system) do the work; plain reads remain for
    // the file systems that refuse it.
    while (left > 0) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, std::size_t(left), 0);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) break;
            return errno;
        }
        if (n == 0) break;
        left -= n;
    }
    std::vector<char> buf(1 << 17);
    for (;;) {
        const ssize_t n = ::read(in, buf.data(), buf.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return 0;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buf.data() + done, std::size_t(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w < 0) return errno;
            done += w;
        }
    }
}

// Moves the finished temporary file to its name unless that name is taken meanwhile.
int RenameNoReplace(const std::string& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // A file system without the flag: link() refuses an existing name as well.
    if (::link(from.c_str(), to.c_str()) != 0) return errno;
    ::unlink(from.c_str());
    return 0;
}

mode_t DefaultMode() {
    static const mode_t mode = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return mode_t(0666 & ~mask);
    }();
    return mode;
}

} // namespace

int CopyFileSafely(const fs::path& from, const fs::path& to, bool overwrite) {
    if (from.empty() || to.empty()) return ENOENT;
    struct stat dst {};
    if (::stat(to.c_str(), &dst) == 0) {
        if (!overwrite) return EEXIST;
        if (S_ISDIR(dst.st_mode)) return EISDIR;
        if ((dst.st_mode & S_IWUSR) == 0) return EACCES;
    }
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return errno;
    struct stat src {};
    if (::fstat(in, &src) != 0 || !S_ISREG(src.st_mode)) {
        const int err = S_ISDIR(src.st_mode) ? EISDIR : errno;
        ::close(in);
        return err ? err : EINVAL;
    }
    fs::path folder = to.parent_path();
    if (folder.empty()) folder = ".";
    std::string hidden(1, '.');
    hidden += to.filename().string();
    hidden += ".qbcopy-XXXXXX";
    std::string tmpl = (folder / hidden).string();
    const int out = ::mkstemp(tmpl.data());
    if (out < 0) {
        const int err = errno;
        ::close(in);
        return err;
    }
    int err = CopyData(in, out, src.st_size);
    ::close(in);
    if (!err && ::fchmod(out, src.st_mode & 07777) != 0) err = errno;
    if (!err) {
        const timespec times[2] = {src.st_atim, src.st_mtim};
        ::futimens(out, times);
    }
    if (::close(out) != 0 && !err) err = errno;
    if (!err) {
        if (overwrite) {
            if (::rename(tmpl.c_str(), to.c_str()) != 0) err = errno;
        } else {
            err = RenameNoReplace(tmpl, to);
        }
    }
    if (err) ::unlink(tmpl.c_str());
    return err;
}

int WriteNewFile(const fs::path& path, std::string_view data) {
    if (path.empty()) return ENOENT;
    fs::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    std::string hidden(1, '.');
    hidden += path.filename().string();
    hidden += ".qbnew-XXXXXX";
    std::string tmpl = (folder / hidden).string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) return errno;
    int err = 0;
    for (std::size_t done = 0; done < data.size() && !err;) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) err = errno;
        else done += std::size_t(n);
    }
    if (!err && ::fchmod(fd, DefaultMode()) != 0) err = errno;
    if (::close(fd) != 0 && !err) err = errno;
    if (!err) err = RenameNoReplace(tmpl, path);
    if (err) ::unlink(tmpl.c_str());
    return err;
}

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
