#pragma once

#include "app/Ports.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

class CParseExt;

// "Copy All files": every file of a tree, optionally above a minimum size and with given
// extensions, copied flat into one folder; a name that is taken gets a "1" added.
class CCopyAllFiles {
public:
    struct CFields {
        std::string source;
        std::string target;
        long long minimumSize = -1;
        std::string extensions = "*.*";
    };

    explicit CCopyAllFiles(CPorts& ports) : m_ports(ports) {}

    // The dialog's start values ("copyDir", "copyDir2").
    CFields StartFields() const;
    // "Browse" of either field: the chosen folder (also stored), empty on Cancel.
    std::string BrowseSource();
    std::string BrowseTarget();
    // OK's checks in order; the message is shown and false returned on the first failure.
    // Trims the extension list.
    bool Accept(CFields& fields);
    // After OK: the copy and the final message. False when nothing could be started.
    bool OnCopyAllFiles(const CFields& fields);

    // False only for an empty source (or a target that is the source folder itself).
    bool CopyAllFiles(const std::filesystem::path& source, const std::filesystem::path& target, long long minimumSize,
                      const CParseExt* filter);
    // Copies to `to`, or when that exists, to its name with "1" before the extension
    // (replacing an earlier copy of that name).
    static bool CopyWithUniqueName(const std::filesystem::path& from, const std::filesystem::path& to);
    // The second name CopyWithUniqueName uses.
    static std::filesystem::path UniqueName(const std::filesystem::path& to);

    std::uint64_t Copied() const { return m_copied; }
    std::uint64_t Failed() const { return m_failed; }

private:
    std::string Browse(const CStringSetting& setting);

    CPorts& m_ports;
    std::uint64_t m_copied = 0;
    std::uint64_t m_failed = 0;
};
