#pragma once

#include "app/CUniqueFd.h"

#include <array>
#include <cerrno>
#include <cstddef>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <sys/types.h>
#include <vector>

// Writes one file so that no failure leaves the user without both its old and its new content.
//
// Write permission is what this user really has on the target (and on its folder when a file is
// made there), and a file without its owner's write bit is read-only even to root. In a folder
// the user may write, the data goes to a temporary file beside the target (with the old file's
// permission bits, or the umask's for a new file), and Commit flushes it and renames it over the
// target. In a folder the user may not write but with a writable file, Open first copies the old
// content to a backup in the user's cache folder and then rewrites the file in place; a failure
// writes the old content back, and when even that fails the backup stays (KeptBackup). A new
// file needs no flush: a crash cannot cost older content.
//
// Every call after a failure returns false; Error() tells the first errno. A writer destroyed
// before Commit rolls its write back. Not thread-safe.
class CFileWriter {
public:
    enum class EExisting {
        Replace, // the target's content is replaced
        Keep,    // an existing target fails the write with EEXIST, up to the final rename
    };

    explicit CFileWriter(std::filesystem::path target, EExisting existing = EExisting::Replace);
    ~CFileWriter();
    CFileWriter(const CFileWriter&) = delete;
    CFileWriter& operator=(const CFileWriter&) = delete;

    // Checks the permission and opens the file to write. permissions replaces the bits a
    // temporary file takes; an in-place rewrite keeps the file's own.
    [[nodiscard]] bool Open(std::optional<mode_t> permissions = std::nullopt);
    [[nodiscard]] bool Write(std::string_view data);
    // The rest of the open descriptor in, to its end.
    [[nodiscard]] bool CopyFrom(int in);
    // Access and modification times to give the file at Commit, where the file system lets us.
    void SetTimes(const timespec& accessed, const timespec& modified) { m_times = {accessed, modified}; }
    [[nodiscard]] bool Commit();

    int Error() const { return m_error; }
    // The backup that holds the old content when a failed in-place rewrite could not be undone;
    // empty otherwise.
    const std::filesystem::path& KeptBackup() const { return m_keptBackup; }

private:
    enum class EState { Idle, Replacing, InPlace, Committed, Failed };

    bool OpenTemporary(const struct stat* old, std::optional<mode_t> permissions);
    bool OpenInPlace();
    bool MakeBackup(int in);
    bool Sync();
    bool Fail(int error);
    void Rollback();
    int Restore();
    void DropBackup();

    std::filesystem::path m_target;
    EExisting m_existing;
    EState m_state = EState::Idle;
    int m_error = 0;
    bool m_replacesOld = false;
    CUniqueFd m_fd;
    std::filesystem::path m_temporary;
    CUniqueFd m_backupFd;
    std::filesystem::path m_backup;
    std::filesystem::path m_keptBackup;
    std::optional<std::array<timespec, 2>> m_times;
};

// Whether this user may write path (W_OK for the effective user; the test seam can deny it).
bool UserMayWrite(const std::filesystem::path& path);

// Where in-place rewrites keep the old content: $XDG_CACHE_HOME/Quillbox/backup, else
// ~/.cache/Quillbox/backup.
std::filesystem::path WriteBackupFolder();

// The steps of a write that the failure seam can break.
enum class EWriteStep {
    OpenTemporary, // making the temporary file beside the target
    Write,         // writing into the temporary file
    Sync,          // flushing the written file to disk
    Rename,        // moving the temporary file to the target's name
    Backup,        // copying the old content to the cache folder
    WriteInPlace,  // truncating and writing the target itself
    Restore,       // writing the old content back after a failed in-place rewrite
};

// Test seam: what every write meets until it is reset.
struct CWriteFailure {
    std::vector<EWriteStep> steps{}; // each fails with EIO when it is reached
    std::size_t afterBytes = 0;      // a failing Write, WriteInPlace or Restore gets this far first
    // Played as lacking this user's write permission, even when the tests run as root.
    std::vector<std::filesystem::path> notWritable{};
    int error = EIO; // what a broken step reports (ENOSPC: the disk filled up part-way)
    // Runs once Open has checked the target, before anything is written: another program's
    // move at the worst moment (removing the file, say).
    std::function<void()> afterCheck{};
};
void SetWriteFailureForTest(std::optional<CWriteFailure> failure);
