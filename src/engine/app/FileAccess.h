#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class CPrompt;
class CPickers;

// The attribute byte the rest of the program sees (Linux mapping: read-only = no owner write
// permission, hidden = leading '.', archive = every regular file).
enum : std::uint8_t {
    kAttrReadOnly = 1,
    kAttrHidden = 2,
    kAttrSystem = 4,
    kAttrDirectory = 16,
    kAttrArchive = 32,
};

// What the write checks need to know about the volume under a path. Tests replace it to play
// a CD-ROM, a removable drive or a full disk.
class CVolumeProbe {
public:
    virtual ~CVolumeProbe() = default;
    virtual bool IsCdRom(const std::filesystem::path& root) const;
    virtual bool IsRemovable(const std::filesystem::path& root) const;
    virtual bool IsWriteProtected(const std::filesystem::path& root) const;
    virtual std::uint64_t FreeBytes(const std::filesystem::path& path) const;
};
// nullptr restores the real probe. The probe must outlive its use.
void SetVolumeProbe(const CVolumeProbe* probe);
const CVolumeProbe& VolumeProbe();

// Whole file as bytes; nullopt for an empty path or a file that cannot be opened.
std::optional<std::string> ReadWholeFile(CPrompt& prompt, const std::filesystem::path& path);
// The file's lines front to back, each without its line end (CR LF, LF or a lone CR); a last
// line without an end counts too. The file passes through one buffer of about pieceSize bytes
// (a longer line grows it), so a large file is never held whole. Fails as ReadWholeFile fails;
// lines handed over before a read error stand, and the caller drops them.
bool ReadFileLines(CPrompt& prompt, const std::filesystem::path& path,
                   const std::function<void(std::string_view line)>& onLine, std::size_t pieceSize = 256 * 1024);
// Writes through CFileWriter after the checks and messages of the write policy; false on failure,
// and the old content is then left as it was (or in the backup the message names).
[[nodiscard]] bool WriteWholeFile(CPrompt& prompt, const std::filesystem::path& path, std::string_view data,
                                  bool clearReadOnly);

// Copies one regular file the way the platform's file copy does (data, permission bits and
// modification time), through CFileWriter: a failed copy never leaves a half-written target,
// and an existing target keeps its old content until the copy is complete. Returns 0 or the
// errno of the failure; an existing target gives EEXIST without overwrite, EACCES when it is
// read-only or the user may not write it.
[[nodiscard]] int CopyFileSafely(const std::filesystem::path& from, const std::filesystem::path& to, bool overwrite);
// Writes a file that does not exist yet, through CFileWriter. 0 or the errno; EEXIST when the
// name is taken.
[[nodiscard]] int WriteNewFile(const std::filesystem::path& path, std::string_view data);

std::optional<std::uint8_t> GetFileAttributeByte(const std::filesystem::path& path);
bool IsExistingFile(const std::filesystem::path& path, bool requireWritable);
bool NeedsAttributeReset(const std::filesystem::path& path);
bool SetFileAttribute(const std::filesystem::path& path, std::uint8_t attribute);
// The same for the file at path itself, never through a symbolic link: false for a link.
bool SetFileAttributeNoFollow(const std::filesystem::path& path, std::uint8_t attribute);
bool IsDirectory(const std::filesystem::path& path);
bool CreateDirectoryPath(const std::filesystem::path& path);
bool RenameFile(const std::filesystem::path& from, const std::filesystem::path& to);
std::uint64_t GetFreeDiskSpace(const std::filesystem::path& path);
// The mount point that holds path (its nearest existing ancestor when path does not exist).
std::filesystem::path GetVolumeRoot(const std::filesystem::path& path);
std::filesystem::path GetModuleDirectory();

// The extension of a file name: the text after the last '.' of its last component, or nullopt
// when that component has no '.'.
std::optional<std::string_view> FileExtension(std::string_view name);
bool IsExcludedExtension(std::string_view name);
// Up to 127 bytes from the current position of file (or the start of data).
bool IsBinaryContent(std::FILE* file);
bool IsBinaryContent(std::string_view data);

// The folder browser titled "Default: <start>"; empty when cancelled.
std::string BrowseForDirectory(CPickers& pickers, const std::filesystem::path& start);
