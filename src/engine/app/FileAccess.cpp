#include "app/FileAccess.h"

#include "app/CFileWriter.h"
#include "app/CUniqueFd.h"
#include "app/Ports.h"
#include "app/TextUtil.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
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

constexpr const char* kNotEnoughMemory = "Can not enough memory!";
constexpr long kIsoFsMagic = 0x9660;
constexpr long kUdfMagic = 0x15013346;

const CVolumeProbe g_realProbe;
const CVolumeProbe* g_probe = nullptr;

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
    const std::string dev =
        "/sys/dev/block/" + std::to_string(major(st.st_dev)) + ":" + std::to_string(minor(st.st_dev));
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

std::optional<std::string> ReadWholeFile(CPrompt& prompt, const fs::path& path) {
    if (path.empty()) return std::nullopt;
    const CUniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.Get(), &st) != 0 || S_ISDIR(st.st_mode)) return std::nullopt;
    std::string data;
    try {
        // Straight into the string: the searches read every file of a tree, and a copy through a
        // chunk buffer was a fifth of their time. A file that grows meanwhile is read on.
        data.resize(std::size_t(st.st_size));
        std::size_t got = 0;
        for (;;) {
            if (got == data.size()) data.resize(got + 65536);
            const ssize_t n = ::read(fd.Get(), data.data() + got, data.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return std::nullopt;
            if (n == 0) break;
            got += std::size_t(n);
        }
        data.resize(got);
    } catch (const std::bad_alloc&) {
        prompt.Message(kNotEnoughMemory);
        return std::nullopt;
    }
    return data;
}

bool ReadFileLines(CPrompt& prompt, const fs::path& path, const std::function<void(std::string_view line)>& onLine,
                   std::size_t pieceSize) {
    if (path.empty()) return false;
    const CUniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.Get(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    pieceSize = std::max<std::size_t>(pieceSize, 1);
    std::string buffer;
    std::size_t held = 0; // bytes of buffer in use: the unfinished line, then what was read
    bool end = false;
    try {
        buffer.resize(pieceSize);
        while (!end) {
            if (buffer.size() - held < pieceSize) buffer.resize(held + pieceSize);
            const ssize_t n = ::read(fd.Get(), buffer.data() + held, pieceSize);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return false;
            end = n == 0;
            held += std::size_t(n);
            const char* text = buffer.data();
            // The next LF and CR at or after pos (held: none), each searched for once per piece,
            // so a file with only one kind of line end is not scanned again for every line.
            const auto next = [&](char c, std::size_t from) {
                const void* hit = std::memchr(text + from, c, held - from);
                return hit ? std::size_t(static_cast<const char*>(hit) - text) : held;
            };
            std::size_t pos = 0;
            std::size_t lf = next('\n', 0), cr = next('\r', 0);
            for (;;) {
                if (lf < pos) lf = next('\n', pos);
                if (cr < pos) cr = next('\r', pos);
                const std::size_t lineEnd = std::min(lf, cr);
                if (lineEnd == held) {
                    // No line end in what is held: the line goes on in the next piece.
                    if (end && pos < held) onLine(std::string_view(text + pos, held - pos));
                    pos = end ? held : pos;
                    break;
                }
                // A CR in the last byte may be the first half of a CR LF.
                if (lineEnd == cr && lineEnd + 1 == held && !end) break;
                onLine(std::string_view(text + pos, lineEnd - pos));
                pos = lineEnd + (lineEnd == cr && lf == lineEnd + 1 && lf < held ? 2 : 1);
            }
            held -= pos;
            std::memmove(buffer.data(), text + pos, held);
        }
    } catch (const std::bad_alloc&) {
        prompt.Message(kNotEnoughMemory);
        return false;
    }
    return true;
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
    CFileWriter writer(target);
    if (writer.Open() && writer.Write(data) && writer.Commit()) return true;

    const auto now = GetFileAttributeByte(target);
    const bool readOnly = now && (*now & kAttrReadOnly);
    std::string message;
    if ((probe.IsRemovable(root) || probe.IsWriteProtected(root)) && !readOnly)
        message = "Plese remove write protection."; // sic: kept as users know it
    else if (readOnly)
        message = Format("File is readonly:\r\n%s", path.c_str());
    else
        message = Format("Can not open file for writing:\r\n%s", path.c_str());
    if (!writer.KeptBackup().empty())
        message += Format("\r\n\r\nIts old content is saved in:\r\n%s", writer.KeptBackup().c_str());
    prompt.Message(message);
    return false;
}

int CopyFileSafely(const fs::path& from, const fs::path& to, bool overwrite) {
    if (from.empty() || to.empty()) return ENOENT;
    const CUniqueFd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in) return errno;
    struct stat src {};
    if (::fstat(in.Get(), &src) != 0) return errno;
    if (!S_ISREG(src.st_mode)) return S_ISDIR(src.st_mode) ? EISDIR : EINVAL;
    CFileWriter out(to, overwrite ? CFileWriter::EExisting::Replace : CFileWriter::EExisting::Keep);
    out.SetTimes(src.st_atim, src.st_mtim);
    if (out.Open(mode_t(src.st_mode & 07777)) && out.CopyFrom(in.Get()) && out.Commit()) return 0;
    return out.Error();
}

int WriteNewFile(const fs::path& path, std::string_view data) {
    CFileWriter out(path, CFileWriter::EExisting::Keep);
    if (out.Open() && out.Write(data) && out.Commit()) return 0;
    return out.Error();
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

namespace {
mode_t ModeWithAttribute(mode_t mode, std::uint8_t attribute) {
    mode &= 07777;
    return (attribute & kAttrReadOnly) ? (mode & ~mode_t(0222)) : (mode | S_IWUSR);
}
} // namespace

bool SetFileAttribute(const fs::path& path, std::uint8_t attribute) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return false;
    return ::chmod(path.c_str(), ModeWithAttribute(st.st_mode, attribute)) == 0;
}

bool SetFileAttributeNoFollow(const fs::path& path, std::uint8_t attribute) {
    struct stat st {};
    if (path.empty() || ::lstat(path.c_str(), &st) != 0 || S_ISLNK(st.st_mode)) return false;
    return ::fchmodat(AT_FDCWD, path.c_str(), ModeWithAttribute(st.st_mode, attribute), AT_SYMLINK_NOFOLLOW) == 0;
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
    struct stat a {
    }, b{};
    if (::lstat(from.c_str(), &a) != 0) return false;
    // Never replace another file: the old name's file would be lost.
    if (::lstat(to.c_str(), &b) == 0 && !(a.st_dev == b.st_dev && a.st_ino == b.st_ino)) return false;
    if (::rename(from.c_str(), to.c_str()) == 0) return true;
    if (errno != EXDEV || !S_ISREG(a.st_mode)) return false;
    // Across volumes: a copy that never leaves half a file, then the old name goes.
    if (CopyFileSafely(from, to, false) != 0) return false;
    std::error_code ec;
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
    static constexpr std::string_view kExcluded[] = {"bmp", "jpg", "wmf", "obj", "exe", "gif", "tif", "cdr", "pcx",
                                                     "zip", "arj", "rar", "dll", "ncb", "cab", "bsc", "com"};
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
