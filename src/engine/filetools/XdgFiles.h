#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Where the desktop keeps its file-type associations (the XDG base directories).
struct CXdgPaths {
    std::filesystem::path dataHome;                // $XDG_DATA_HOME, ~/.local/share
    std::filesystem::path configHome;              // $XDG_CONFIG_HOME, ~/.config
    std::vector<std::filesystem::path> dataDirs;   // $XDG_DATA_DIRS
    std::vector<std::filesystem::path> configDirs; // $XDG_CONFIG_DIRS
    std::vector<std::string> desktops;             // $XDG_CURRENT_DESKTOP, lower case
    static CXdgPaths FromEnvironment();

    // The folders of the MIME database and of the applications, most important first.
    std::vector<std::filesystem::path> MimeDirs() const;
    std::vector<std::filesystem::path> ApplicationDirs() const;
};

// The small text files of the desktop (desktop entries, mimeapps.list, the MIME database's
// lists), read whole without any message; nullopt when one cannot be read.
std::optional<std::string> ReadDesktopFile(const std::filesystem::path& path);

// The pieces of text between sep, blanks trimmed, empty ones dropped.
std::vector<std::string> SplitList(std::string_view text, char sep);
// The lines of a file, split at LF, a CR before it dropped.
std::vector<std::string> TextLines(std::string_view text);

// Ini-style files: "[Group]" lines, then "key=value" lines; '#' starts a comment line.
std::optional<std::string> IniValue(std::string_view text, std::string_view group, std::string_view key);
// Every key and value of group, in file order.
std::vector<std::pair<std::string, std::string>> IniGroup(std::string_view text, std::string_view group);
// Sets (value) or removes (nullopt) key in group, keeping every other line as it was; a missing
// group is added at the end.
std::string SetIniValue(std::string_view text, std::string_view group, std::string_view key,
                        const std::optional<std::string>& value);

// The string type of desktop entries: \s \n \t \r \\ escapes.
std::string UnescapeDesktopString(std::string_view value);
