#include "filetools/CCopyAllFiles.h"

#include "app/FileAccess.h"
#include "app/SettingsKeys.h"
#include "app/TextUtil.h"
#include "collections/CParseExt.h"
#include "collections/DirectoryWalk.h"
#include "filetools/FileCopy.h"

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

enum class EDirText { Ok, Short, NotCorrect };

// An absolute path stands where a Windows path has a drive letter or a UNC name; the refusal texts
// stay. A short text ("C:") still asks for a directory at all.
EDirText CheckDirectoryText(std::string_view text) {
    if (!text.empty() && text[0] == '/') return IsDirectory(fs::path(text)) ? EDirText::Ok : EDirText::NotCorrect;
    return text.size() < 3 ? EDirText::Short : EDirText::NotCorrect;
}

} // namespace

CCopyAllFiles::CFields CCopyAllFiles::StartFields() const {
    CFields f;
    f.source = m_ports.settings.Get(kCopyAllSource);
    f.target = m_ports.settings.Get(kCopyAllTarget);
    return f;
}

std::string CCopyAllFiles::Browse(const CStringSetting& setting) {
    std::string start = m_ports.settings.Get(setting);
    if (start.empty()) start = m_ports.settings.Get(kLastBrowDir);
    std::string chosen = BrowseForDirectory(m_ports.pickers, start);
    if (!chosen.empty()) m_ports.settings.Set(setting, chosen);
    return chosen;
}

std::string CCopyAllFiles::BrowseSource() { return Browse(kCopyAllSource); }
std::string CCopyAllFiles::BrowseTarget() { return Browse(kCopyAllTarget); }

bool CCopyAllFiles::Accept(CFields& fields) {
    CPrompt& prompt = m_ports.prompt;
    const auto refuse = [&](const std::string& dir, EDirText check, const char* shortText) {
        if (check == EDirText::Short) prompt.Message(shortText);
        else
            prompt.Message(Format("Directory\r\n\"%s\"\r\nis not correct.", dir.c_str()));
        return false;
    };
    const EDirText source = CheckDirectoryText(fields.source);
    if (source != EDirText::Ok)
        return refuse(fields.source, source, "Select any base directory for first edit, please.");
    // The target may be a folder still to be made; only its form is checked.
    EDirText target = !fields.target.empty() && fields.target[0] == '/' ? EDirText::Ok
                      : fields.target.size() < 3                        ? EDirText::Short
                                                                        : EDirText::NotCorrect;
    // Copying a folder into itself would overwrite its own files with the "1" names.
    if (target == EDirText::Ok && FileIdOf(fields.target) == FileIdOf(fields.source)) target = EDirText::NotCorrect;
    if (target != EDirText::Ok)
        return refuse(fields.target, target, "Select any base directory for second edit, please.");
    fields.extensions = std::string(TrimBlanks(fields.extensions));
    return true;
}

bool CCopyAllFiles::OnCopyAllFiles(const CFields& fields) {
    CParseExt filter;
    const bool filtered = !fields.extensions.empty() && fields.extensions != "*.*";
    if (filtered && !filter.ParsingExtensionToken(m_ports.prompt, fields.extensions)) return false;
    m_ports.busy.SetWaitCursor(true);
    const bool ran = CopyAllFiles(fields.source, fields.target, fields.minimumSize, filtered ? &filter : nullptr);
    // Success is said only when every copy succeeded; failed copies are named instead.
    if (m_failed > 0) m_ports.prompt.Message(Format("Can not copy %lu files.", static_cast<unsigned long>(m_failed)));
    else
        m_ports.prompt.Message("All right! Coping did.");
    m_ports.busy.SetWaitCursor(false);
    return ran;
}

fs::path CCopyAllFiles::UniqueName(const fs::path& to) {
    std::string name = to.filename().string();
    // A leading dot starts a hidden name, not an extension.
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) name += '1';
    else
        name = name.substr(0, dot) + "1" + name.substr(dot);
    return to.parent_path() / name;
}

bool CCopyAllFiles::CopyWithUniqueName(const fs::path& from, const fs::path& to) {
    if (!IsExistingFile(to, false)) return CopyFileSafely(from, to, false) == 0;
    const fs::path second = UniqueName(to);
    if (FileIdOf(second) == FileIdOf(from)) return false;
    return CopyFileSafely(from, second, true) == 0;
}

bool CCopyAllFiles::CopyAllFiles(const fs::path& source, const fs::path& target, long long minimumSize,
                                 const CParseExt* filter) {
    m_copied = m_failed = 0;
    if (source.empty()) return false;
    if (FileIdOf(source) == FileIdOf(target)) return false;
    if (!IsDirectory(target) && IsDirectory(source)) CreateDirectoryPath(target);
    // A target below the source is not walked: its copies would be copied again.
    CExcludedFolder excluded(source, target);
    CWalkCallbacks cb;
    cb.file = [&](const CWalkFile& f) {
        if (excluded.Contains(f.dir)) return true;
        if (filter && !filter->IsMatch(f.name)) return true;
        if (minimumSize >= 1) {
            struct stat st {};
            // A size that cannot be read cannot be compared with the minimum: skipped.
            if (::stat(std::string(f.path).c_str(), &st) != 0) return true;
            if (st.st_size <= minimumSize) return true;
        }
        if (CopyWithUniqueName(fs::path(f.path), target / std::string(f.name))) ++m_copied;
        else
            ++m_failed;
        return true;
    };
    WalkDirectory(source.string(), cb);
    return true;
}
