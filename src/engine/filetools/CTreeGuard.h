#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <utility>

// Which files of a walk a writing tool may touch. Every file is taken once by its identity,
// however many links or names lead to it. A symbolic link stands for its target (returned
// resolved, so nothing is written or changed through the link itself) when the rule lets it.
class CTreeGuard {
public:
    enum class ELinks {
        InsideFolder, // links whose target lies in the chosen folder's tree
        None,         // no link at all
    };
    explicit CTreeGuard(ELinks links, const std::filesystem::path& folder = {});

    // The path to work on, or nullopt to pass the file over (a link the rule refuses, a dangling
    // link, a file met before, a file that is gone).
    std::optional<std::filesystem::path> Admit(const std::filesystem::path& path);

private:
    ELinks m_links;
    std::filesystem::path m_folder; // canonical
    std::set<std::pair<std::uint64_t, std::uint64_t>> m_seenIds;
    std::set<std::string> m_seenPaths; // canonical
};
