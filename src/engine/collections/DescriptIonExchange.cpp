#include "collections/DescriptIonExchange.h"

#include "app/CFileWriter.h"
#include "app/CUniqueFd.h"
#include "app/Ports.h"
#include "app/TextUtil.h"
#include "collections/CCollections.h"
#include "collections/CDescriptIon.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace {

constexpr const char* kImportCaption = "Import descriptions";
constexpr const char* kExportCaption = "Export descriptions";
constexpr std::size_t kProgressFrom = 500; // more records than this open the indicator
constexpr std::size_t kListed = 10;        // lines of each list in the closing message

struct CFolderRecord {
    std::string_view name;
    std::size_t index;
};

struct CFolder {
    std::string path;
    std::vector<CFolderRecord> records;
};

// The records' folders in order of their first record. Records outside base (which a collection
// does not have) and the descript.ion file itself stay out.
std::vector<CFolder> GroupByFolder(const std::vector<CCollectionRecord>& records, std::string_view base,
                                   bool describedOnly) {
    std::vector<CFolder> folders;
    std::unordered_map<std::string_view, std::size_t> byPath;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::string_view loc = records[i].location;
        if (describedOnly && TrimBlanks(records[i].description).empty()) continue;
        const std::size_t slash = loc.rfind('/');
        if (slash == std::string_view::npos || slash < base.size() || !loc.starts_with(base) ||
            (slash > base.size() && loc[base.size()] != '/'))
            continue;
        const std::string_view dir = loc.substr(0, slash), name = loc.substr(slash + 1);
        if (name.empty() || EqualsNoCase(name, CDescriptIon::kFileName)) continue;
        auto [it, added] = byPath.try_emplace(dir, folders.size());
        if (added) folders.push_back({std::string(dir), {}});
        folders[it->second].records.push_back({name, i});
    }
    return folders;
}

std::optional<std::string> RealPath(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    if (!real) return std::nullopt;
    return std::string(real.get());
}

enum class EFolderState { Inside, Missing, Linked };

// Whether dir is what it was when it was scanned: a folder reached from base without a link.
EFolderState CheckFolder(const std::string& dir, std::string_view base, const std::string& realBase) {
    const auto real = RealPath(dir);
    if (!real) return EFolderState::Missing;
    return *real == realBase + std::string(dir.substr(base.size())) ? EFolderState::Inside : EFolderState::Linked;
}

struct CFileInFolder {
    enum EKind { None, Regular, Link, Other } kind = None;
    std::string path;
};

// The folder's descript.ion; a name of another case ("DESCRIPT.ION") when there is no such one.
CFileInFolder FindDescriptIon(const std::string& dir) {
    const auto kindOf = [](const std::string& path) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) return CFileInFolder::None;
        if (S_ISLNK(st.st_mode)) return CFileInFolder::Link;
        return S_ISREG(st.st_mode) ? CFileInFolder::Regular : CFileInFolder::Other;
    };
    CFileInFolder found{CFileInFolder::None, dir + "/" + std::string(CDescriptIon::kFileName)};
    found.kind = kindOf(found.path);
    if (found.kind != CFileInFolder::None) return found;
    struct CCloseDir {
        void operator()(DIR* d) const { ::closedir(d); }
    };
    const std::unique_ptr<DIR, CCloseDir> listing(::opendir(dir.c_str()));
    if (!listing) return found;
    while (const dirent* e = ::readdir(listing.get())) {
        if (!EqualsNoCase(e->d_name, CDescriptIon::kFileName)) continue;
        found.path = dir + "/" + e->d_name;
        found.kind = kindOf(found.path);
        break;
    }
    return found;
}

// The whole file; an errno on failure. Links to regular files are read through.
std::optional<std::string> ReadBytes(const std::string& path, int& error) {
    const CUniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.Get(), &st) != 0) {
        error = errno;
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        error = EISDIR;
        return std::nullopt;
    }
    std::string data;
    std::array<char, 65536> chunk;
    for (;;) {
        const ssize_t n = ::read(fd.Get(), chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = errno;
            return std::nullopt;
        }
        if (n == 0) return data;
        data.append(chunk.data(), std::size_t(n));
    }
}

// For each record of the folder, its entry: byte-equal names first, then, among the entries no
// record took, the first equal without regard to case.
std::vector<std::optional<std::size_t>> MatchEntries(const CDescriptIon& file,
                                                     const std::vector<CFolderRecord>& records) {
    const auto& entries = file.Entries();
    std::vector<std::optional<std::size_t>> match(records.size());
    std::vector<bool> taken(entries.size(), false);
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t r = 0; r < records.size(); ++r) {
            if (match[r]) continue;
            for (std::size_t k = 0; k < entries.size(); ++k) {
                if (taken[k]) continue;
                if (pass == 0 ? entries[k].name != records[r].name : !EqualsNoCase(entries[k].name, records[r].name))
                    continue;
                match[r] = k;
                taken[k] = true;
                break;
            }
        }
    }
    return match;
}

// "\r\n\r\n" + head + the first lines of list.
void AppendList(std::string& text, const std::string& head, const std::vector<std::string>& list) {
    if (list.empty()) return;
    text += "\r\n\r\n" + head;
    for (std::size_t i = 0; i < list.size() && i < kListed; ++i) text += "\r\n" + list[i];
    if (list.size() > kListed) text += Format("\r\n... and %lu more", (unsigned long)(list.size() - kListed));
}

// The closing message: a report of what was done, not a warning.
void Summary(CPrompt& prompt, const std::string& text, const char* caption) {
    prompt.Ask(text, caption, EPromptButtons::Ok, EPromptIcon::Information);
}

std::string Reason(const std::string& path, const char* why) { return path + " (" + why + ")"; }
std::string ErrnoReason(const std::string& path, int error) { return Reason(path, std::strerror(error)); }

// The windows stay disabled while an operation runs, as they do during a refresh: the progress
// indicator's pumping must not let an edit reach the records being worked on.
class CBusyWindows {
public:
    explicit CBusyWindows(CBusy& busy) : m_busy(busy) { Set(true); }
    ~CBusyWindows() { Set(false); }
    CBusyWindows(const CBusyWindows&) = delete;
    CBusyWindows& operator=(const CBusyWindows&) = delete;

private:
    void Set(bool on) {
        m_busy.SetWaitCursor(on);
        m_busy.EnableFrame(!on);
        m_busy.EnableCollectionWindow(!on);
    }
    CBusy& m_busy;
};

// The progress indicator over the folders, when there are many records; Stop ends the loop.
class CFolderProgress {
public:
    CFolderProgress(CPorts& ports, std::size_t records, std::size_t folders, const char* label)
        : m_folders(folders), m_label(label) {
        if (records <= kProgressFrom) return;
        m_progress = ports.progress.OpenProgress();
        m_progress->SetRange(double(folders));
    }
    bool GoOn(std::size_t done) {
        if (!m_progress) return true;
        m_progress->SetPosText(double(done), Format(m_label, (unsigned long)done, (unsigned long)m_folders));
        return !m_progress->IsAborted();
    }

private:
    std::unique_ptr<CProgress> m_progress;
    std::size_t m_folders;
    const char* m_label;
};

bool RefuseFavorites(const CCollectionStore& store, CPrompt& prompt, const char* caption) {
    if (!store.IsFavoritesView() && !store.BaseDirectory().empty()) return false;
    prompt.Message("Descriptions are imported and exported for a collection, not for the favorites.", caption);
    return true;
}

} // namespace

CExchangeResult ImportDescriptIon(CCollections& collections, CPorts& ports) {
    CCollectionStore& store = collections.Store();
    CPrompt& prompt = ports.prompt;
    if (RefuseFavorites(store, prompt, kImportCaption)) return {};
    const std::string base = store.BaseDirectory();
    const auto& records = store.Records();
    const std::vector<CFolder> folders = GroupByFolder(records, base, false);

    struct CTake {
        std::size_t index;
        std::string description;
    };
    std::vector<CTake> takes, conflicts;
    std::vector<std::string> unstorable, leftAlone, linked;
    std::size_t filesRead = 0;
    bool stopped = false;
    {
        CBusyWindows busy(ports.busy);
        const std::string realBase = RealPath(base).value_or(base);
        CFolderProgress progress(ports, records.size(), folders.size(), "Reading descript.ion: %lu of %lu folders");
        for (std::size_t f = 0; f < folders.size(); ++f) {
            if (!progress.GoOn(f)) {
                stopped = true;
                break;
            }
            const CFolder& folder = folders[f];
            const EFolderState state = CheckFolder(folder.path, base, realBase);
            if (state == EFolderState::Linked) linked.push_back(folder.path);
            if (state != EFolderState::Inside) continue;
            const CFileInFolder found = FindDescriptIon(folder.path);
            if (found.kind == CFileInFolder::None) continue;
            int error = 0;
            const auto bytes = ReadBytes(found.path, error);
            if (!bytes) {
                leftAlone.push_back(ErrnoReason(found.path, error));
                continue;
            }
            const auto file = CDescriptIon::Parse(*bytes);
            if (!file) {
                leftAlone.push_back(Reason(found.path, "not a text file Quillbox can read"));
                continue;
            }
            ++filesRead;
            const auto match = MatchEntries(*file, folder.records);
            for (std::size_t r = 0; r < folder.records.size(); ++r) {
                if (!match[r]) continue;
                const std::string& text = file->Entries()[*match[r]].description;
                const CCollectionRecord& record = records[folder.records[r].index];
                if (text.empty() || CDescriptIon::SameDescription(record.description, text)) continue;
                if (!CCollectionStore::IsStorableField(text)) {
                    unstorable.push_back(record.location);
                    continue;
                }
                const bool own = !TrimBlanks(record.description).empty();
                (own ? conflicts : takes).push_back({folder.records[r].index, text});
            }
        }
    }
    if (stopped) {
        prompt.Message("Import stopped. The collection was not changed.", kImportCaption);
        return {EExchangeOutcome::Stopped, 0};
    }
    if (filesRead == 0 && leftAlone.empty()) {
        std::string text = "No descript.ion file was found in the folders of this collection.";
        AppendList(text, "These folders were passed over: they are reached through a symbolic link.", linked);
        prompt.Message(text, kImportCaption);
        return {EExchangeOutcome::NothingFound, 0};
    }

    std::size_t kept = 0;
    if (!conflicts.empty()) {
        const bool replace =
            prompt.Ask(Format("%lu file(s) of the collection already have a different description.\r\n\r\n"
                              "Replace them with the descriptions from descript.ion?",
                              (unsigned long)conflicts.size()),
                       kImportCaption, EPromptButtons::YesNo, EPromptIcon::Question, 1) == EPromptAnswer::Yes;
        if (replace) takes.insert(takes.end(), conflicts.begin(), conflicts.end());
        else
            kept = conflicts.size();
    }

    if (!takes.empty()) {
        const std::optional<std::vector<std::size_t>> found =
            store.IsShowingFoundList() ? std::optional(store.FoundList()) : std::nullopt;
        std::vector<CCollectionRecord> changed = records;
        for (const CTake& t : takes) changed[t.index].description = t.description;
        std::vector<CCollectionRecord> old = store.ReplaceRecords(std::move(changed));
        const bool written = store.WriteCollectionFile();
        if (!written) store.ReplaceRecords(std::move(old));
        if (found) store.ShowFoundList(*found);
        if (!written) {
            prompt.Message("The descriptions were not taken: the collection file could not be written.",
                           kImportCaption);
            return {EExchangeOutcome::Failed, 0};
        }
        if (collections.Hooks().refillWindow) collections.Hooks().refillWindow();
    }

    std::string text = Format("Descriptions taken from descript.ion: %lu\r\ndescript.ion files read: %lu",
                              (unsigned long)takes.size(), (unsigned long)filesRead);
    if (kept > 0)
        text += Format("\r\n\r\nThe collection's own description was kept for %lu file(s).", (unsigned long)kept);
    AppendList(text,
               Format("%lu description(s) were not taken: they hold '#' or a line break, which a collection can "
                      "not store.",
                      (unsigned long)unstorable.size()),
               unstorable);
    AppendList(text, "These files could not be read:", leftAlone);
    AppendList(text, "These folders were passed over: they are reached through a symbolic link.", linked);
    Summary(prompt, text, kImportCaption);
    const bool complete = leftAlone.empty() && linked.empty();
    return {complete ? EExchangeOutcome::Done : EExchangeOutcome::Incomplete, takes.size()};
}

CExchangeResult ExportDescriptIon(CCollections& collections, CPorts& ports) {
    const CCollectionStore& store = collections.Store();
    CPrompt& prompt = ports.prompt;
    if (RefuseFavorites(store, prompt, kExportCaption)) return {};
    const std::string base = store.BaseDirectory();
    const auto& records = store.Records();
    const std::vector<CFolder> folders = GroupByFolder(records, base, true);
    if (folders.empty()) {
        prompt.Message("No file of this collection has a description: there is nothing to export.", kExportCaption);
        return {EExchangeOutcome::NothingFound, 0};
    }

    std::size_t standing = 0, filesWritten = 0;
    std::optional<std::size_t> stoppedAt;
    std::vector<std::string> unwritable, leftAlone, linked;
    {
        CBusyWindows busy(ports.busy);
        const std::string realBase = RealPath(base).value_or(base);
        CFolderProgress progress(ports, records.size(), folders.size(), "Writing descript.ion: %lu of %lu folders");
        for (std::size_t f = 0; f < folders.size(); ++f) {
            if (!progress.GoOn(f)) {
                stoppedAt = f;
                break;
            }
            const CFolder& folder = folders[f];
            const EFolderState state = CheckFolder(folder.path, base, realBase);
            if (state == EFolderState::Linked) {
                linked.push_back(folder.path);
                continue;
            }
            const CFileInFolder found = FindDescriptIon(folder.path);
            if (state == EFolderState::Missing) {
                leftAlone.push_back(Reason(found.path, "the folder is missing"));
                continue;
            }
            // A link would carry the write to a file outside this folder, or be replaced by one.
            if (found.kind == CFileInFolder::Link || found.kind == CFileInFolder::Other) {
                leftAlone.push_back(
                    Reason(found.path, found.kind == CFileInFolder::Link ? "a symbolic link" : "not a regular file"));
                continue;
            }
            std::optional<CDescriptIon> file = CDescriptIon();
            if (found.kind == CFileInFolder::Regular) {
                int error = 0;
                const auto bytes = ReadBytes(found.path, error);
                if (!bytes) {
                    leftAlone.push_back(ErrnoReason(found.path, error));
                    continue;
                }
                file = CDescriptIon::Parse(*bytes);
                if (!file) {
                    leftAlone.push_back(Reason(found.path, "not a text file Quillbox can read"));
                    continue;
                }
            }
            const auto match = MatchEntries(*file, folder.records);
            std::size_t inFile = 0;
            bool changed = false;
            for (std::size_t r = 0; r < folder.records.size(); ++r) {
                const CFolderRecord& fr = folder.records[r];
                const std::string& text = records[fr.index].description;
                if (match[r] && file->Entries()[*match[r]].name == fr.name &&
                    CDescriptIon::SameDescription(file->Entries()[*match[r]].description, text)) {
                    ++inFile;
                } else if (file->SetEntry(match[r], fr.name, text)) {
                    ++inFile;
                    changed = true;
                } else {
                    unwritable.push_back(records[fr.index].location);
                }
            }
            if (changed) {
                CFileWriter writer(found.path);
                if (!(writer.Open() && writer.Write(file->Serialise()) && writer.Commit())) {
                    std::string why = ErrnoReason(found.path, writer.Error());
                    if (!writer.KeptBackup().empty()) why += "; its old content is in " + writer.KeptBackup().string();
                    leftAlone.push_back(why);
                    continue;
                }
                ++filesWritten;
            }
            standing += inFile;
        }
    }

    if (stoppedAt) {
        prompt.Message(Format("Export stopped after %lu of %lu folders.\r\nThe descript.ion files written so far are "
                              "complete; the others were not changed.",
                              (unsigned long)*stoppedAt, (unsigned long)folders.size()),
                       kExportCaption);
        return {EExchangeOutcome::Stopped, standing};
    }
    std::string text = Format("Descriptions standing in descript.ion files: %lu\r\ndescript.ion files written: %lu",
                              (unsigned long)standing, (unsigned long)filesWritten);
    AppendList(text,
               Format("%lu description(s) could not be written: the file name holds a double quote beside a blank, "
                      "or a character the descript.ion's encoding lacks.",
                      (unsigned long)unwritable.size()),
               unwritable);
    AppendList(text, "These descript.ion files were left as they were:", leftAlone);
    AppendList(text, "These folders were passed over: they are reached through a symbolic link.", linked);
    Summary(prompt, text, kExportCaption);
    const bool complete = leftAlone.empty() && unwritable.empty() && linked.empty();
    return {complete ? EExchangeOutcome::Done : EExchangeOutcome::Incomplete, standing};
}
