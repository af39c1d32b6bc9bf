#include "app/StartUp.h"

#include "app/FileAccess.h"
#include "app/Ports.h"
#include "app/SettingsKeys.h"
#include "app/TextUtil.h"

#include <cstdlib>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

} // namespace

bool IsInstalledProgram(const fs::path& programDir) {
    return IsDirectory(programDir.parent_path() / "share" / "quillbox");
}

fs::path WorkingDirectoryFromProgram(const fs::path& programDir) {
    std::vector<fs::path> parts(programDir.begin(), programDir.end());
    auto drop = parts.end();
    for (const char* word : {"Debug", "Release"}) {
        for (auto it = parts.begin(); it != parts.end(); ++it)
            if (EqualsNoCase(it->string(), word)) {
                drop = it;
                break;
            }
        if (drop != parts.end()) break;
    }
    fs::path out;
    for (auto it = parts.begin(); it != parts.end(); ++it)
        if (it != drop && !it->empty()) out /= *it;
    return out / "Collection";
}

CStartUpEnvironment CStartUpEnvironment::FromProcess() {
    return {Env("QUILLBOX_HOME"), GetModuleDirectory(), Env("XDG_DATA_HOME"), Env("HOME")};
}

bool CheckProgramVolume(CPrompt& prompt, const fs::path& programDir) {
    if (!VolumeProbe().IsCdRom(GetVolumeRoot(programDir))) return true;
    prompt.Message("Can not working from CDROM");
    return false;
}

std::optional<fs::path> ResolveWorkingDirectory(CPrompt& prompt, const CStartUpEnvironment& env) {
    std::vector<fs::path> candidates;
    if (!env.quillboxHome.empty()) {
        candidates.push_back(fs::absolute(env.quillboxHome));
    } else {
        // An installed program's folder (/usr/bin) is no place for a user's files; one run from
        // its build tree keeps them beside it.
        if (!IsInstalledProgram(env.programDir)) candidates.push_back(WorkingDirectoryFromProgram(env.programDir));
        fs::path data = !env.xdgDataHome.empty() ? fs::path(env.xdgDataHome) : fs::path(env.home) / ".local" / "share";
        if (!data.empty()) candidates.push_back(data / "Quillbox" / "Collection");
    }

    for (const fs::path& dir : candidates)
        if (IsDirectory(dir) || CreateDirectoryPath(dir)) return dir;

    const fs::path& failed = candidates.back();
    if (VolumeProbe().IsRemovable(GetVolumeRoot(failed)))
        prompt.Message("First remove write protection\r\nand then try run again.");
    else
        prompt.Message(Format("Can not create directory \"%s\"", failed.c_str()));
    return std::nullopt;
}

std::optional<fs::path> FindHelpDocument(CPrompt& prompt, const fs::path& workingDir, const fs::path& programDir) {
    for (const fs::path& p : {workingDir / "Help.rtf", programDir / "Help.rtf",
                              programDir.parent_path() / "share" / "quillbox" / "Help.rtf"})
        if (IsExistingFile(p, false)) return p;
    prompt.Message("Sorry, can not to find \"Help.rtf\" file.");
    return std::nullopt;
}

bool FinishStartUp(CSettings& settings, const fs::path& workingDir, const std::string& commandLineFile,
                   const CStartUpHooks& hooks) {
    if (hooks.checkFavorites) hooks.checkFavorites();
    if (!commandLineFile.empty() && hooks.openDocument) hooks.openDocument(commandLineFile);
    const bool firstRun = settings.Get(kInfoDir).empty();
    // Marking the first run as done before anything can show the help would lose it for good.
    if (!hooks.openHelp) return firstRun;
    if (firstRun) hooks.openHelp();
    std::string dir = workingDir.string();
    if (dir.empty() || dir.back() != '/') dir += '/';
    settings.Set(kInfoDir, dir);
    return firstRun;
}
