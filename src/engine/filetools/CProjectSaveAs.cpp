#include "filetools/CProjectSaveAs.h"

#include "app/FileAccess.h"
#include "app/SettingsKeys.h"
#include "app/TextUtil.h"
#include "collections/CParseExt.h"
#include "collections/DirectoryWalk.h"
#include "filetools/FileCopy.h"

#include <cerrno>
#include <cstdint>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kLowSpace = 100000;
constexpr std::uint64_t kProgressAbove = 100;

bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }

// A project file's folder and its name without the part from the last '.'.
std::string ProjectName(const fs::path& file) {
    const std::string name = file.filename().string();
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

unsigned long Ul(std::uint64_t v) { return static_cast<unsigned long>(v); }

} // namespace

bool CProjectSaveAs::IsOkEnabled(std::string_view oldFile, std::string_view newFile) {
    return !oldFile.empty() && !newFile.empty();
}

std::string CProjectSaveAs::BrowseSource() {
    const bool vs = m_variant == EVariant::Vs;
    const std::string start = m_ports.settings.Get(kSaveAsProjDir);
    std::string chosen = vs ? m_ports.pickers.OpenFile("Choose a DSP-file of source project",
                                                       "VS project files|*.dsp|All files|*.*||", start)
                            : m_ports.pickers.OpenFile("Choose a project-file of source project",
                                                       "project files|*.*|All files|*.*||", start);
    if (!chosen.empty()) m_ports.settings.Set(kSaveAsProjDir, chosen);
    return chosen;
}

std::string CProjectSaveAs::BrowseTarget() {
    const bool vs = m_variant == EVariant::Vs;
    const std::string start = m_ports.settings.Get(kSaveAsProjDir);
    // The leading blank of the Any filter is kept: it is part of the stored text.
    std::string chosen = vs ? m_ports.pickers.SaveFile("Choose a path and WRITE A NEW DSP-file NAME",
                                                       "VS project files|*.dsp|All files|*.*||", start)
                            : m_ports.pickers.SaveFile("Choose a path and WRITE A NEW project-file NAME",
                                                       " project files|*.*|All files|*.*||", start);
    if (!chosen.empty()) m_ports.settings.Set(kSaveAsProjDir, chosen);
    return chosen;
}

std::string CProjectSaveAs::LastOldFile() const { return m_ports.settings.Get(kSaveAsOldProjFile); }

std::string CProjectSaveAs::LastNewFile() const { return m_ports.settings.Get(kSaveAsNewProjFile); }

bool CProjectSaveAs::Accept(std::string_view oldFile, std::string_view newFile) {
    const bool vs = m_variant == EVariant::Vs;
    CPrompt& prompt = m_ports.prompt;
    if (newFile.size() < 3) {
        prompt.Message("Is not right new file name.");
        return false;
    }
    if (vs && ToUpperAscii(newFile).find(".DSP") == std::string::npos) {
        prompt.Message("A new file name must be \".dsp\" type.");
        return false;
    }
    if (oldFile.size() < 3) {
        prompt.Message("Is not right sourse file name.");
        return false;
    }
    if (!IsExistingFile(fs::path(oldFile), false)) {
        prompt.Message("Sourse file is not existent.");
        return false;
    }
    if (vs && ToUpperAscii(oldFile).find(".DSP") == std::string::npos) {
        prompt.Message("A sourse file name must be \".dsp\" type.");
        return false;
    }
    m_ports.settings.Set(kSaveAsOldProjFile, oldFile);
    m_ports.settings.Set(kSaveAsNewProjFile, newFile);
    return true;
}

CProjectSaveAs::EKind CProjectSaveAs::KindOf(std::string_view fileName) {
    static constexpr std::string_view kCopied[] = {"BMP", "ICO", "CUR", "TXT",  "RTF",
                                                   "RCT", "GIF", "GPJ", "JPEG", "JPE"};
    static constexpr std::string_view kRenamed[] = {"CPP", "C",   "H",   "DSP", "DSW", "RGS", "HM",  "RC",  "RC2",
                                                    "BIN", "CXX", "DEF", "R",   "ODL", "HPJ", "BAT", "IDL", "CNT"};
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) return EKind::Skip;
    const std::string ext = ToUpperAscii(fileName.substr(dot + 1));
    for (std::string_view k : kCopied)
        if (ext == k) return EKind::Copy;
    for (std::string_view k : kRenamed)
        if (ext == k) return EKind::Rename;
    return EKind::Skip;
}

std::string CProjectSaveAs::RenameInText(std::string_view text, std::string_view oldName, std::string_view newName) {
    if (oldName.empty() || text.size() < oldName.size()) return std::string(text);
    const std::string upperOld = ToUpperAscii(oldName);
    const std::string upperNew = ToUpperAscii(newName);
    const char first = AsciiUpper(oldName[0]);
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    const std::size_t last = text.size() - oldName.size();
    std::size_t i = 0;
    while (i <= last) {
        if (AsciiUpper(text[i]) != first || !EqualsNoCase(text.substr(i, oldName.size()), oldName)) {
            out += text[i++];
            continue;
        }
        const std::string_view found = text.substr(i, oldName.size());
        if (found == upperOld) {
            out += upperNew;
        } else if (!newName.empty()) {
            const std::size_t at = out.size();
            out += newName;
            if (!IsLower(found[0]) && !IsUpper(out[at])) out[at] = AsciiUpper(out[at]);
        }
        i += oldName.size();
    }
    out.append(text.substr(i));
    return out;
}

bool CProjectSaveAs::Aborted() { return m_progress && m_progress->IsAborted(); }

bool CProjectSaveAs::CopyProject(const fs::path& oldFile, const fs::path& newFile) {
    CPrompt& prompt = m_ports.prompt;
    m_sourceDir = oldFile.parent_path();
    m_targetDir = newFile.parent_path();
    m_free = GetFreeDiskSpace(m_targetDir.empty() ? newFile : m_targetDir);
    if (m_free < kLowSpace && !prompt.AskYesNo(Format("Disk has a too little space:\r\nfree space is %lu\r\n\r\n"
                                                      "Do you wish to continua?",
                                                      Ul(m_free))))
        return false;

    m_oldName = ProjectName(oldFile);
    m_newName = ProjectName(newFile);
    if (m_oldName.empty() || m_newName.empty()) {
        prompt.Message("Project name is empty!");
        return false;
    }
    if (m_sourceDir.empty() || m_targetDir.empty()) {
        prompt.Message("Path of project is empty!");
        return false;
    }
    if (!IsDirectory(m_targetDir) && ::mkdir(m_targetDir.c_str(), 0777) != 0) {
        prompt.Message("Can not create a target directory.");
        return false;
    }

    m_copied = 0;
    m_failed = 0;
    m_prepared = 0;
    m_stop = false;
    const std::uint64_t count = CParseExt::CountFilesBySuffix(m_sourceDir.string(), "", SIZE_MAX);
    if (count > kProgressAbove) {
        m_step = count / 100;
        m_progress = m_ports.progress.OpenProgress();
        m_progress->SetRange(double(count));
    } else {
        m_ports.busy.SetWaitCursor(true);
    }
    m_completed = false;
    CopyProjectFolder(m_sourceDir);
    m_completed = !m_stop && !Aborted();
    if (m_progress) m_progress.reset();
    else
        m_ports.busy.SetWaitCursor(false);
    prompt.Message(Format("%lu files was copied.", Ul(m_copied)));
    return true;
}

void CProjectSaveAs::CopyProjectFolder(const fs::path& folder) {
    // A target below the source is never taken as source: its fresh copies would be copied
    // again. (A target that is the source folder itself is handled file by file.)
    CExcludedFolder target(folder, m_targetDir);
    CWalkCallbacks cb;
    cb.enterDirectory = [&](const std::string&) { return !Aborted(); };
    cb.file = [&](const CWalkFile& f) {
        if (Aborted()) return false;
        if (!target.Contains(f.dir)) CopyProjectFile(fs::path(f.dir), std::string(f.name));
        if (m_stop || Aborted()) return false;
        if (m_progress) {
            if (m_prepared % m_step == 0)
                m_progress->SetPosText(double(m_prepared), Format("Files prepared: %lu", Ul(m_prepared + 1)));
            ++m_prepared;
        }
        return true;
    };
    WalkDirectory(folder.string(), cb);
}

void CProjectSaveAs::CopyProjectFile(const fs::path& folder, const std::string& name) {
    if (name.empty() || name[0] == '.') return; // hidden
    const fs::path from = folder / name;
    struct stat st {};
    if (::stat(from.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
    const bool readOnly = (st.st_mode & S_IWUSR) == 0;

    fs::path rel = folder.lexically_relative(m_sourceDir);
    if (rel == ".") rel.clear();
    if (!rel.empty()) {
        const std::string top = ToUpperAscii(rel.begin()->string());
        if (top == "DEBUG" || top == "RELEASE" || top == "BAK") return;
    }
    if (!FileExtension(name)) return;

    std::string newName = name;
    const std::size_t at = FindNoCase(newName, m_oldName);
    if (at != std::string::npos) newName.replace(at, m_oldName.size(), m_newName);
    const fs::path toFolder = rel.empty() ? m_targetDir : m_targetDir / rel;
    if (!IsDirectory(toFolder) && !CreateDirectoryPath(toFolder)) {
        m_ports.prompt.Message(Format("Can not create a new directory\r\n\r\n%s", toFolder.c_str()));
        return;
    }
    const fs::path to = toFolder / newName;
    // Saving over the source itself would rewrite the project being copied.
    if (FileIdOf(to) == FileIdOf(from)) return;

    const EKind kind = m_variant == EVariant::Any ? EKind::Copy : KindOf(name);
    if (kind == EKind::Copy) CopyUnchanged(from, to, std::uint64_t(st.st_size), readOnly);
    else if (kind == EKind::Rename)
        CopyRenamed(from, to, std::uint64_t(st.st_size));
}

bool CProjectSaveAs::CopyFailed(int err, const fs::path& to) {
    ++m_failed;
    if (err == ENOSPC || err == EDQUOT) {
        m_ports.prompt.Message(Format("Disk has not enough space:\r\nfree space is %lu", Ul(m_free)));
        m_stop = true;
    } else if (err == EACCES || err == EPERM || err == EROFS) {
        if (!m_ports.prompt.AskYesNo(
                Format("Access to file\r\n%s\r\nis denied.\r\n\r\nWish you to continua?", to.c_str())))
            m_stop = true;
    } else {
        m_ports.prompt.Message(Format("Was error of CopyFile() N %lu", Ul(std::uint64_t(err))));
        m_stop = true;
    }
    return false;
}

bool CProjectSaveAs::CopyUnchanged(const fs::path& from, const fs::path& to, std::uint64_t size, bool readOnly) {
    const int err = CopyFileSafely(from, to, true);
    if (err != 0) return CopyFailed(err, to);
    if (readOnly) SetFileAttribute(to, kAttrArchive);
    m_free = m_free > size ? m_free - size : 0;
    ++m_copied;
    return true;
}

void CProjectSaveAs::CopyRenamed(const fs::path& from, const fs::path& to, std::uint64_t size) {
    // An unreadable source is left behind without a question, as the copy of a project has
    // always done; it is counted, so the copy does not pass for complete.
    const auto text = ReadWholeFile(m_ports.prompt, from);
    if (!text) {
        ++m_failed;
        return;
    }
    if (m_free < size) {
        m_ports.prompt.Message(Format("Disk has not enough space:\r\nfree space is %lu", Ul(m_free)));
        ++m_failed;
        m_stop = true;
        return;
    }
    const std::string renamed = RenameInText(*text, m_oldName, m_newName);
    // A new file cannot lose anything older; an existing one is rewritten by the checked,
    // flushed write that keeps it whole on failure. Only copies made unchanged lower the free
    // space counted here; the writer checks the real space of every rewrite itself.
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(to, ec))) {
        if (const int err = WriteNewFile(to, renamed); err != 0) {
            CopyFailed(err, to);
            return;
        }
    } else if (!WriteWholeFile(m_ports.prompt, to, renamed, true)) {
        ++m_failed; // its message has been shown
        return;
    }
    ++m_copied;
}
