#include "app/FileAccess.h"

#include "app/Ports.h"
#include "app/TextUtil.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <new>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr long kIsoFsMagic = 0x9660;
constexpr long kUdfMagic = 0x15013346;

const CVolumeProbe g_realProbe;
const CVolumeProbe* g_probe = nullptr;
std::optional<std::size_t> g_failWriteAfter;

mode_t DefaultFileMode() {
    static const mode_t mode = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return mode_t(0666 & ~mask);
    }();
    return mode;
}

bool WriteAll(int fd, std::string_view data) {
    std::size_t limit = data.size();
    const bool injected = g_failWriteAfter && *g_failWriteAfter < limit;
    if (injected) limit = *g_failWriteAfter;
    std::size_t done = 0;
    while (done < limit) {
        const ssize_t n = ::write(fd, data.data() + done, limit - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += std::size_t(n);
    }
    return !injected;
}

// The temporary file sits beside the target so the final rename never crosses a volume.
bool WriteReplacing(const fs::path& target, std::string_view data) {
    struct stat old {};
    const bool hadOld = ::stat(target.c_str(), &old) == 0;
    std::string tmpl = (target.parent_path() / ("." + target.filename().string() + ".qbtmp-XXXXXX")).string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) return false;
    bool ok = WriteAll(fd, data) && ::fsync(fd) == 0;
    if (ok) {
        ::fchmod(fd, hadOld ? (old.st_mode & 07777) : DefaultFileMode());
        if (hadOld && ::geteuid() == 0) (void)!::fchown(fd, old.st_uid, old.st_gid);
    }
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(tmpl.c_str(), target.c_str()) != 0) ok = false;
    if (!ok) ::unlink(tmpl.c_str());
    return ok;
}

bool WriteInPlace(const fs::path& target, std::string_view data) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, DefaultFileMode());
    if (fd < 0) return false;
    const bool ok = WriteAll(fd, data);
    return (::close(fd) == 0) && ok;
}

// A link is written through to the file it names, so the link itself survives.
fs::path ResolveWriteTarget(const fs::path& path) {
    std::error_code ec;
    if (fs::is_symlink(path, ec)) {
        const fs::path real = fs::weakly_canonical(path, ec);
        if (!ec) return real;
    }
    return path;
}

} // namespace

bool CVolumeProbe::IsCdRom(const fs::path& root) const {
    struct statfs st {};
    if (::statfs(root.c_str(), &st) != 0) return false;
    return long(st.f_type) == kIsoFsMagic || long(st.f_type) == kUdfMagic;
}

bool CVolumeProbe::IsRemovable(const fs::path& root) const {
    struct stat st {};
    if (::stat(root.c_str(), &st) != 0) return false;
    const std::string dev = "/sys/dev/block/" + std::to_string(major(st.st_dev)) + ":" +
                            std::to_string(minor(st.st_dev));
    // A partition has no "removable" of its own; its disk one folder up has.
    for (const char* rel : {"/removable", "/../removable"}) {
        std::ifstream in(dev + rel);
        char c = 0;
        if (in >> c) return c == '1';
    }
    return false;
}

bool CVolumeProbe::IsWriteProtected(const fs::path& root) const {
    struct statvfs st {};
    return ::statvfs(root.c_str(), &st) == 0 && (st.f_flag & ST_RDONLY) != 0;
}

std::uint64_t CVolumeProbe::FreeBytes(const fs::path& path) const {
    struct statvfs st {};
    if (::statvfs(path.c_str(), &st) != 0) return 0;
    return std::uint64_t(st.f_bavail) * std::uint64_t(st.f_frsize);
}

void SetVolumeProbe(const CVolumeProbe* probe) { g_probe = probe; }
const CVolumeProbe& VolumeProbe() { return g_probe ? *g_probe : g_realProbe; }
void SetWriteFailureForTest(std::optional<std::size_t> failAfterBytes) { g_failWriteAfter = failAfterBytes; }

std::optional<std::string> ReadWholeFile(CPrompt& prompt, const fs::path& path) {
    if (path.empty()) return std::nullopt;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string data;
    try {
        data.reserve(std::size_t(st.st_size));
        std::array<char, 65536> chunk;
        for (;;) {
            const ssize_t n = ::read(fd, chunk.data(), chunk.size());
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                ::close(fd);
                return std::nullopt;
            }
            if (n == 0) break;
            data.append(chunk.data(), std::size_t(n));
        }
    } catch (const std::bad_alloc&) {
        ::close(fd);
        prompt.Message("Can not enough memory!");
        return std::nullopt;
    }
    ::close(fd);
    return data;
}

bool WriteWholeFile(CPrompt& prompt, const fs::path& path, std::string_view data, bool clearReadOnly) {
    if (path.empty()) return false;
    const CVolumeProbe& probe = VolumeProbe();
    const fs::path root = GetVolumeRoot(path);
    if (probe.IsCdRom(root)) prompt.Message(Format("Can not write to CDROM path:\r\n%s", path.c_str()));

    const std::uint64_t free = probe.FreeBytes(root);
    if (free < data.size()) {
        prompt.Message(Format("Can not enough disk space:\r\nExist: %llu\r\nNeed: %lu",
                              static_cast<unsigned long long>(free), static_cast<unsigned long>(data.size())));
        return false;
    }
    if (clearReadOnly && !IsExistingFile(path, true)) SetFileAttribute(path, kAttrArchive);

    const fs::path target = ResolveWriteTarget(path);
    const auto attr = GetFileAttributeByte(target);
    // A read-only file is refused as its open would be refused (root ignores permission bits,
    // and the rename below would replace the file regardless of them).
    const bool blocked = attr && (*attr & (kAttrReadOnly | kAttrDirectory));
    if (!blocked) {
        fs::path folder = target.parent_path();
        if (folder.empty()) folder = ".";
        const bool written = ::access(folder.c_str(), W_OK) == 0 ? WriteReplacing(target, data)
                                                                 : WriteInPlace(target, data);
        if (written) return true;
    }

    const auto now = GetFileAttributeByte(target);
    const bool readOnly = now && (*now & kAttrReadOnly);
    if ((probe.IsRemovable(root) || probe.IsWriteProtected(root)) && !readOnly)
        prompt.Message("Plese remove write protection."); // sic: the program's own spelling
    else if (readOnly)
        prompt.Message(Format("File is readonly:\r\n%s", path.c_str()));
    else
        prompt.Message(Format("Can not open file for writing:\r\n%s", path.c_str()));
    return false;
}

std::optional<std::uint8_t> GetFileAttributeByte(const fs::path& path) {
    if (path.empty()) return std::nullopt;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    std::uint8_t attr = 0;
    if ((st.st_mode & S_IWUSR) == 0) attr |= kAttrReadOnly;
    const std::string name = path.filename().string();
    if (!name.empty() && name[0] == '.' && name != "." && name != "..") attr |= kAttrHidden;
    if (S_ISDIR(st.st_mode)) attr |= kAttrDirectory;
    if (S_ISREG(st.st_mode)) attr |= kAttrArchive;
    return attr;
}

bool IsExistingFile(const fs::path& path, bool requireWritable) {
    const auto attr = GetFileAttributeByte(path);
    if (!attr || !(*attr & kAttrArchive)) return false;
    return !requireWritable || !(*attr & kAttrReadOnly);
}

bool NeedsAttributeReset(const fs::path& path) {
    const auto attr = GetFileAttributeByte(path);
    return attr && (!(*attr & kAttrArchive) || (*attr & kAttrReadOnly));
}

bool SetFileAttribute(const fs::path& path, std::uint8_t attribute) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return false;
    mode_t mode = st.st_mode & 07777;
    mode = (attribute & kAttrReadOnly) ? (mode & ~mode_t(0222)) : (mode | S_IWUSR);
    return ::chmod(path.c_str(), mode) == 0;
}

bool IsDirectory(const fs::path& path) {
    const auto attr = GetFileAttributeByte(path);
    return attr && (*attr & kAttrDirectory);
}

bool CreateDirectoryPath(const fs::path& path) {
    if (path.empty()) return false;
    std::error_code ec;
    fs::create_directories(path, ec);
    return IsDirectory(path) && ::access(path.c_str(), X_OK) == 0;
}

bool RenameFile(const fs::path& from, const fs::path& to) {
    struct stat a {}, b {};
    if (::lstat(from.c_str(), &a) != 0) return false;
    // Never replace another file: the old name's file would be lost.
    if (::lstat(to.c_str(), &b) == 0 && !(a.st_dev == b.st_dev && a.st_ino == b.st_ino)) return false;
    if (::rename(from.c_str(), to.c_str()) == 0) return true;
    if (errno != EXDEV || !S_ISREG(a.st_mode)) return false;
    std::error_code ec;
    if (!fs::copy_file(from, to, ec) || ec) return false;
    fs::remove(from, ec);
    return !ec;
}

std::uint64_t GetFreeDiskSpace(const fs::path& path) { return VolumeProbe().FreeBytes(GetVolumeRoot(path)); }

fs::path GetVolumeRoot(const fs::path& path) {
    std::error_code ec;
    fs::path current = fs::absolute(path.empty() ? fs::path(".") : path, ec).lexically_normal();
    if (ec) return "/";
    if (current.has_filename() == false && current != current.root_path()) current = current.parent_path();
    struct stat st {};
    while (::stat(current.c_str(), &st) != 0) {
        if (current == current.root_path()) return current;
        current = current.parent_path();
    }
    const dev_t dev = st.st_dev;
    while (current != current.root_path()) {
        const fs::path parent = current.parent_path();
        struct stat up {};
        if (::stat(parent.c_str(), &up) != 0 || up.st_dev != dev) break;
        current = parent;
    }
    return current;
}

fs::path GetModuleDirectory() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path(ec) : exe.parent_path();
}

std::optional<std::string_view> FileExtension(std::string_view name) {
    const std::size_t slash = name.rfind('/');
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return std::nullopt;
    return name.substr(dot + 1);
}

bool IsExcludedExtension(std::string_view name) {
    static constexpr std::string_view kExcluded[] = {"bmp", "jpg", "wmf", "obj", "exe", "gif",
                                                     "tif", "cdr", "pcx", "zip", "arj", "rar",
                                                     "dll", "ncb", "cab", "bsc", "com"};
    const auto ext = FileExtension(name);
    if (!ext) return true;
    for (std::string_view e : kExcluded)
        if (EqualsNoCase(*ext, e)) return true;
    return false;
}

bool IsBinaryContent(std::string_view data) {
    if (data.size() > 127) data = data.substr(0, 127);
    for (const char ch : data) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 31 && c != 9 && c != 10 && c != 13) return true;
    }
    return false;
}

bool IsBinaryContent(std::FILE* file) {
    if (!file) return false;
    char buf[127];
    const std::size_t n = std::fread(buf, 1, sizeof buf, file);
    return IsBinaryContent(std::string_view(buf, n));
}

std::string BrowseForDirectory(CPickers& pickers, const fs::path& start) {
    const std::string title = start.empty() ? std::string() : "Default: " + start.string();
    std::error_code ec;
    const fs::path initial = IsDirectory(start) ? start : fs::current_path(ec);
    return pickers.BrowseForDirectory(title, initial);
}
