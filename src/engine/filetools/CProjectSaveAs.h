#pragma once

#include "app/Ports.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

// Copies a project folder under a new project name: "Save VS project as..." renames inside the
// source and project files it knows and leaves the rest behind, "Save Any project as..." copies
// every file unchanged. Build output (Debug, Release, Bak) and hidden files stay behind.
class CProjectSaveAs {
public:
    enum class EVariant { Vs, Any };

    CProjectSaveAs(CPorts& ports, EVariant variant) : m_ports(ports), m_variant(variant) {}

    // The dialog's rules. OK is enabled only while both names are set.
    static bool IsOkEnabled(std::string_view oldFile, std::string_view newFile);
    // The "Browe..." buttons: the chosen path, also stored as "saveAsProjDir"; empty on Cancel.
    std::string BrowseSource();
    std::string BrowseTarget();
    // OK: checks in the dialog's order (the message is shown and false returned on the first
    // failure, the dialog then stays open); on success stores both names.
    bool Accept(std::string_view oldFile, std::string_view newFile);
    // Last names typed, for the dialog to start with.
    std::string LastOldFile() const;
    std::string LastNewFile() const;

    // Runs the copy after OK and shows the final count; false when it did not start.
    bool CopyProject(const std::filesystem::path& oldFile, const std::filesystem::path& newFile);
    std::uint64_t FilesCopied() const { return m_copied; }
    // Files of the last copy that were left behind by a failure (an unreadable source, a copy or
    // rewrite that failed); the copy may have gone on after them.
    std::uint64_t FilesFailed() const { return m_failed; }
    // False when the last copy was stopped by a failure or by Stop.
    bool Completed() const { return m_completed; }

    // Replaces the project name in a text: the upper-case name gets the upper-case new name,
    // any other spelling the new name as typed, its first letter raised unless the replaced
    // text began with a lower-case letter.
    static std::string RenameInText(std::string_view text, std::string_view oldName, std::string_view newName);

    enum class EKind { Skip, Copy, Rename };
    // What the VS variant does with a file name (by the text after its last '.').
    static EKind KindOf(std::string_view fileName);

private:
    void CopyProjectFolder(const std::filesystem::path& folder);
    void CopyProjectFile(const std::filesystem::path& folder, const std::string& name);
    bool CopyUnchanged(const std::filesystem::path& from, const std::filesystem::path& to, std::uint64_t size,
                       bool readOnly);
    bool CopyFailed(int err, const std::filesystem::path& to);
    void CopyRenamed(const std::filesystem::path& from, const std::filesystem::path& to, std::uint64_t size);
    bool Aborted();

    CPorts& m_ports;
    EVariant m_variant;
    std::filesystem::path m_sourceDir;
    std::filesystem::path m_targetDir;
    std::string m_oldName;
    std::string m_newName;
    std::uint64_t m_free = 0;
    std::uint64_t m_copied = 0;
    std::uint64_t m_failed = 0;
    std::uint64_t m_prepared = 0;
    std::uint64_t m_step = 1;
    bool m_stop = false;
    bool m_completed = false;
    std::unique_ptr<CProgress> m_progress;
};
