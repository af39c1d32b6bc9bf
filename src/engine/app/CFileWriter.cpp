#include "app/CFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <limits>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::optional<CWriteFailure> g_failure;

constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

bool Injected(EWriteStep step) {
    return g_failure && std::find(g_failure->steps.begin(), g_failure->steps.end(), step) != g_failure->steps.end();
}

// How many bytes a writing step may pass before the seam breaks it (kNoLimit: all).
std::size_t InjectedLimit(EWriteStep step) { return Injected(step) ? g_failure->afterBytes : kNoLimit; }

int InjectedError() { return g_failure ? g_failure->error : EIO; }

fs::path Normal(const fs::path& path) {
    std::error_code ec;
    fs::path p = fs::absolute(path, ec).lexically_normal();
    return p.has_filename() || !p.has_relative_path() ? p : p.parent_path();
}

bool MayWrite(const fs::path& path, int how) {
    if (g_failure) {
        const fs::path wanted = Normal(path);
        for (const fs::path& p : g_failure->notWritable)
            if (Normal(p) == wanted) return false;
    }
    // The effective user's rights, as an open would meet them (root passes, a read-only mount not).
    return ::faccessat(AT_FDCWD, path.c_str(), how, AT_EACCESS) == 0;
}

mode_t DefaultFileMode() {
    static const mode_t mode = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return mode_t(0666 & ~mask);
    }();
    return mode;
}

int WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        data.remove_prefix(std::size_t(n));
    }
    return 0;
}

// Copies from the current position of in to its end, or limit bytes; 0 or the errno.
int CopyData(int in, int out, std::size_t limit) {
    // copy_file_range lets the kernel (or the file system) do the work; plain reads remain for
    // the file systems that refuse it.
    while (limit > 0) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, std::min<std::size_t>(limit, 1 << 30), 0);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) break;
            return errno;
        }
        if (n == 0) return 0;
        limit -= std::size_t(n);
    }
    std::string buf(std::size_t(1) << 17, '\0');
    while (limit > 0) {
        const ssize_t n = ::read(in, buf.data(), std::min(limit, buf.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return 0;
        if (const int err = WriteAll(out, std::string_view(buf.data(), std::size_t(n)))) return err;
        limit -= std::size_t(n);
    }
    return 0;
}

// Moves the finished temporary file to its name unless that name is taken meanwhile.
int RenameNoReplace(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // A file system without the flag: link() refuses an existing name as well.
    if (::link(from.c_str(), to.c_str()) != 0) return errno;
    ::unlink(from.c_str());
    return 0;
}

fs::path FolderOf(const fs::path& path) {
    const fs::path folder = path.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

} // namespace

bool UserMayWrite(const fs::path& path) { return MayWrite(path, W_OK); }

void SetWriteFailureForTest(std::optional<CWriteFailure> failure) { g_failure = std::move(failure); }

fs::path WriteBackupFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache && *cache == '/') return fs::path(cache) / "Quillbox" / "backup";
    const char* home = std::getenv("HOME");
    return fs::path(home ? home : "") / ".cache" / "Quillbox" / "backup";
}

CFileWriter::CFileWriter(fs::path target, EExisting existing) : m_target(std::move(target)), m_existing(existing) {}

CFileWriter::~CFileWriter() {
    if (m_state == EState::Replacing || m_state == EState::InPlace) Rollback();
}

bool CFileWriter::Open(std::optional<mode_t> permissions) {
    if (m_state != EState::Idle) return Fail(EBADF);
    if (m_target.empty()) return Fail(ENOENT);
    struct stat old {};
    const bool exists = ::stat(m_target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) return Fail(EISDIR);
    if (exists && m_existing == EExisting::Keep) return Fail(EEXIST);
    // Without this check a rename in a writable folder would replace another user's file.
    if (exists && ((old.st_mode & S_IWUSR) == 0 || !MayWrite(m_target, W_OK))) return Fail(EACCES);
    m_replacesOld = exists;
    if (g_failure && g_failure->afterCheck) g_failure->afterCheck();
    if (MayWrite(FolderOf(m_target), W_OK | X_OK)) return OpenTemporary(exists ? &old : nullptr, permissions);
    if (exists && S_ISREG(old.st_mode)) return OpenInPlace();
    return Fail(EACCES);
}

// The temporary file sits beside the target so the final rename never crosses a volume.
bool CFileWriter::OpenTemporary(const struct stat* old, std::optional<mode_t> permissions) {
    if (Injected(EWriteStep::OpenTemporary)) return Fail(InjectedError());
    // Built by appending: GCC 12 warns falsely about "." + string.
    // A target name near the 255-byte limit keeps only its start, so the temporary name fits.
    constexpr std::size_t kNameMax = 255;
    constexpr std::string_view kSuffix = ".qbtmp-XXXXXX";
    std::string base = m_target.filename().string();
    if (base.size() > kNameMax - 1 - kSuffix.size()) base.resize(kNameMax - 1 - kSuffix.size());
    std::string hidden(1, '.');
    hidden += base;
    hidden += kSuffix;
    std::string name = (FolderOf(m_target) / hidden).string();
    CUniqueFd fd(::mkostemp(name.data(), O_CLOEXEC));
    if (!fd) return Fail(errno);
    m_temporary = name;
    m_fd = std::move(fd);
    m_state = EState::Replacing;
    const mode_t mode = permissions ? *permissions : old ? mode_t(old->st_mode & 07777) : DefaultFileMode();
    if (::fchmod(m_fd.Get(), mode) != 0) return Fail(errno);
    // Root rewriting another user's file leaves it theirs; a file system without owners keeps
    // the new file as it is, which loses no content.
    if (old && ::geteuid() == 0) (void)!::fchown(m_fd.Get(), old->st_uid, old->st_gid);
    return true;
}

bool CFileWriter::OpenInPlace() {
    CUniqueFd fd(::open(m_target.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC));
    if (!fd) return Fail(errno);
    if (!MakeBackup(fd.Get())) return false;
    m_fd = std::move(fd);
    m_state = EState::InPlace;
    if (::ftruncate(m_fd.Get(), 0) != 0 || ::lseek(m_fd.Get(), 0, SEEK_SET) != 0) return Fail(errno);
    return true;
}

bool CFileWriter::MakeBackup(int in) {
    const fs::path folder = WriteBackupFolder();
    std::error_code ec;
    fs::create_directories(folder, ec);
    std::string name = (folder / (m_target.filename().string() + "-XXXXXX")).string();
    CUniqueFd out(::mkostemp(name.data(), O_CLOEXEC));
    if (!out) return Fail(errno);
    m_backup = name;
    int err = Injected(EWriteStep::Backup) ? InjectedError() : CopyData(in, out.Get(), kNoLimit);
    if (!err && ::fsync(out.Get()) != 0) err = errno;
    if (!err && ::lseek(out.Get(), 0, SEEK_SET) != 0) err = errno;
    m_backupFd = std::move(out);
    return err == 0 || Fail(err);
}

bool CFileWriter::Write(std::string_view data) {
    if (m_state != EState::Replacing && m_state != EState::InPlace) return Fail(EBADF);
    const std::size_t limit = InjectedLimit(m_state == EState::InPlace ? EWriteStep::WriteInPlace : EWriteStep::Write);
    if (const int err = WriteAll(m_fd.Get(), data.substr(0, limit))) return Fail(err);
    return data.size() <= limit || Fail(InjectedError());
}

bool CFileWriter::CopyFrom(int in) {
    if (m_state != EState::Replacing && m_state != EState::InPlace) return Fail(EBADF);
    const std::size_t limit = InjectedLimit(m_state == EState::InPlace ? EWriteStep::WriteInPlace : EWriteStep::Write);
    if (const int err = CopyData(in, m_fd.Get(), limit)) return Fail(err);
    return limit == kNoLimit || Fail(InjectedError());
}

bool CFileWriter::Sync() {
    if (Injected(EWriteStep::Sync)) return Fail(InjectedError());
    return ::fsync(m_fd.Get()) == 0 || Fail(errno);
}

bool CFileWriter::Commit() {
    if (m_state != EState::Replacing && m_state != EState::InPlace) return Fail(EBADF);
    // Times are a courtesy of copies: a file system that refuses them loses no content.
    if (m_times) (void)::futimens(m_fd.Get(), m_times->data());
    if (m_replacesOld && !Sync()) return false;
    if (m_state == EState::InPlace) {
        (void)m_fd.Close(); // the data is on disk since the flush; close cannot lose it any more
        DropBackup();
        m_state = EState::Committed;
        return true;
    }
    if (const int err = m_fd.Close()) return Fail(err);
    int err = InjectedError();
    if (!Injected(EWriteStep::Rename)) {
        if (m_existing == EExisting::Keep) err = RenameNoReplace(m_temporary, m_target);
        else
            err = ::rename(m_temporary.c_str(), m_target.c_str()) == 0 ? 0 : errno;
    }
    if (err) return Fail(err);
    m_temporary.clear();
    m_state = EState::Committed;
    return true;
}

// Always false, for the callers' return statements.
bool CFileWriter::Fail(int error) {
    if (m_error == 0) m_error = error;
    Rollback();
    return false;
}

void CFileWriter::Rollback() {
    if (m_state == EState::Replacing) {
        m_fd.Reset();
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    } else if (m_state == EState::InPlace) {
        if (Restore() == 0) DropBackup();
        else
            m_keptBackup = m_backup;
        m_fd.Reset();
    } else if (m_state == EState::Idle) {
        DropBackup(); // the backup failed before the file was touched
    }
    if (m_state != EState::Committed) m_state = EState::Failed;
}

int CFileWriter::Restore() {
    if (::ftruncate(m_fd.Get(), 0) != 0 || ::lseek(m_fd.Get(), 0, SEEK_SET) != 0) return errno;
    const std::size_t limit = InjectedLimit(EWriteStep::Restore);
    if (const int err = CopyData(m_backupFd.Get(), m_fd.Get(), limit)) return err;
    if (limit != kNoLimit) return InjectedError();
    return ::fsync(m_fd.Get()) == 0 ? 0 : errno;
}

void CFileWriter::DropBackup() {
    m_backupFd.Reset();
    if (!m_backup.empty()) ::unlink(m_backup.c_str());
    m_backup.clear();
}
