#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class CPrompt;
class CSettings;

// The program-directory rule: the first "Debug" (else "Release") component removed, compared
// without regard to case, then "Collection" appended. Case is kept: the path reaches the disk.
std::filesystem::path WorkingDirectoryFromProgram(const std::filesystem::path& programDir);
// Installed: a share/quillbox folder beside the program's bin folder.
bool IsInstalledProgram(const std::filesystem::path& programDir);

struct CStartUpEnvironment {
    std::string quillboxHome; // $QUILLBOX_HOME, empty when unset
    std::filesystem::path programDir;
    std::string xdgDataHome; // $XDG_DATA_HOME, empty when unset
    std::string home;        // $HOME
    static CStartUpEnvironment FromProcess();
};

// "Can not working from CDROM" and false when the program runs from a CD-ROM.
bool CheckProgramVolume(CPrompt& prompt, const std::filesystem::path& programDir);

// The working directory, created when missing: $QUILLBOX_HOME, else the program-directory rule
// (not for an installed program), else the XDG data folder. nullopt after the failure message.
std::optional<std::filesystem::path> ResolveWorkingDirectory(CPrompt& prompt, const CStartUpEnvironment& env);

// Help.rtf in the working directory, the program directory, then the installed data folder.
// nullopt after "Sorry, can not to find \"Help.rtf\" file.".
std::optional<std::filesystem::path> FindHelpDocument(CPrompt& prompt, const std::filesystem::path& workingDir,
                                                      const std::filesystem::path& programDir);

// The start-up steps after the working directory exists. Each hook may be empty until the
// subsystem that owns it is there.
struct CStartUpHooks {
    std::function<void()> checkFavorites;
    std::function<void(const std::string& file)> openDocument;
    // Opens the help document, or shows why it cannot (FindHelpDocument's message). While it is
    // empty "infoDir" is left alone, so the first run stays pending for a build that has help.
    std::function<void()> openHelp;
};
// Returns true when this was the first run (no "infoDir" yet). "infoDir" is written once the
// first run's help attempt has finished, and rewritten at every later start.
bool FinishStartUp(CSettings& settings, const std::filesystem::path& workingDir, const std::string& commandLineFile,
                   const CStartUpHooks& hooks);
