// The refresh side of CCollections: preparing the base directory, scanning it against the old
// records, the save question and the creation of a new collection file.
#include "collections/CCollections.h"

#include "app/FileAccess.h"
#include "app/Ports.h"
#include "app/SettingsKeys.h"
#include "app/TextUtil.h"
#include "collections/DirectoryWalk.h"

#include <memory>

namespace {

constexpr std::size_t kCountLimit = 2000;
constexpr std::size_t kProgressFrom = 500; // more than this many files open the indicator
constexpr std::size_t kLabelStep = 10;

std::string FoldKey(std::string_view s) {
    std::string k(s);
    for (char& c : k) c = c == '\\' ? '/' : AsciiUpper(c);
    return k;
}

bool EqualsPathNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] == '\\' ? '/' : AsciiUpper(a[i]);
        const char y = b[i] == '\\' ? '/' : AsciiUpper(b[i]);
        if (x != y) return false;
    }
    return true;
}

std::string TrimTrailingSlashes(std::string_view dir) {
    while (dir.size() > 1 && (dir.back() == '/' || dir.back() == '\\')) dir.remove_suffix(1);
    return std::string(dir);
}

} // namespace

void CLocationIndex::Build(const std::vector<CCollectionRecord>& records, std::string_view stripPrefix) {
    m_exact.clear();
    m_folded.clear();
    m_exact.reserve(records.size());
    m_folded.reserve(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        std::string_view loc = records[i].location;
        if (!stripPrefix.empty()) {
            if (loc.size() < stripPrefix.size() || !EqualsPathNoCase(loc.substr(0, stripPrefix.size()), stripPrefix))
                continue;
            loc.remove_prefix(stripPrefix.size());
        }
        m_exact.emplace(loc, i);
        m_folded.emplace(FoldKey(loc), i);
    }
}

std::optional<CLocationIndex::CHit> CLocationIndex::Find(std::string_view pathBelowBase) const {
    if (const auto e = m_exact.find(pathBelowBase); e != m_exact.end()) return CHit{e->second, true};
    if (const auto f = m_folded.find(FoldKey(pathBelowBase)); f != m_folded.end()) return CHit{f->second, false};
    return std::nullopt;
}

long CCollections::FindRecordByLocation(std::string_view path) {
    std::string_view recordBase, pathBase;
    if (changePath) {
        recordBase = changePath->oldBase;
        pathBase = changePath->newBase;
        if (path.size() < pathBase.size()) return -1;
    }
    const std::string_view key = path.substr(pathBase.size());
    long folded = -1;
    const auto& records = m_store.Records();
    for (std::size_t i = 0; i < records.size(); ++i) {
        std::string_view loc = records[i].location;
        if (loc.size() < recordBase.size() || !EqualsPathNoCase(loc.substr(0, recordBase.size()), recordBase))
            continue;
        loc.remove_prefix(recordBase.size());
        if (loc == key) return long(i);
        if (folded < 0 && EqualsPathNoCase(loc, key)) folded = long(i);
    }
    return folded;
}

bool CCollections::PrepareCurrentCollection(bool quiet) {
    CSettings& settings = m_ports.settings;
    std::string dir = TrimTrailingSlashes(settings.Get(kMainDir));
    m_store.SetExtensionList(settings.Get(kMainDirExt));
    if (!dir.empty()) {
        if (IsDirectory(dir)) {
            knownDirectory = true;
        } else {
            if (quiet) return false;
            const auto file = m_store.GetCollectionFilePath(dir);
            if (IsExistingFile(file, false)) {
                if (m_hooks.changePathDialog) m_hooks.changePathDialog(dir, file);
            } else {
                m_ports.prompt.Message("This collection is absent now.\r\nPlease choose anoter.");
                if (m_hooks.chooseCollectionDialog) m_hooks.chooseCollectionDialog();
            }
            return false;
        }
    } else {
        // The default collection; the path keeps its case, it reaches the disk.
        const std::filesystem::path def = m_workingDir / "helpContain";
        if (IsDirectory(def)) {
            dir = def.string();
        } else {
            if (quiet) return false;
            dir = TrimTrailingSlashes(BrowseForDirectory(m_ports.pickers, def));
            if (dir.empty()) return false;
            if (!IsDirectory(dir)) {
                if (m_hooks.chooseCollectionDialog) m_hooks.chooseCollectionDialog();
                return false;
            }
        }
        settings.Set(kMainDir, dir);
        if (m_store.Filter().IsParsed())
            settings.Set(kMainDirExt, m_store.Filter().GetExtensionList());
    }
    m_store.SetBaseDirectory(dir);
    m_store.SetCollectionFilePath(m_store.GetCollectionFilePath(dir));
    m_store.SetAbsent(!IsExistingFile(m_store.CollectionFilePath(), false));
    return true;
}

long CCollections::RefreshCollection() {
    CPrompt& prompt = m_ports.prompt;
    if (changePath) {
        changePath->oldBase = TrimTrailingSlashes(changePath->oldBase);
        changePath->newBase = TrimTrailingSlashes(changePath->newBase);
    }
    const std::string base = TrimTrailingSlashes(changePath ? changePath->newBase : m_store.BaseDirectory());
    // Every location starts with the base directory, so a '#' or a line break in it could not
    // be stored in any line of the file.
    if (base.empty() || !CCollectionStore::IsStorableField(base)) {
        prompt.Message(Format("Can not make a collection of the directory\r\n\"%s\":\r\n"
                              "its path holds '#' or a line break.", base.c_str()));
        return -1;
    }
    m_store.SetBaseDirectory(base);

    const std::size_t oldCount = m_store.LoadCollection();
    const std::filesystem::path oldPath = m_store.CollectionFilePath();
    const std::filesystem::path newPath = changePath ? m_store.GetCollectionFilePath(base) : oldPath;

    if (!m_store.Filter().IsParsed()) {
        if (IsExistingFile(oldPath, false)) {
            prompt.Message(Format("Can not read the collection file\r\n\"%s\".", oldPath.c_str()));
            return -1;
        }
        const std::string list = m_store.ExtensionList().empty() ? "*.*" : m_store.ExtensionList();
        m_store.Filter().ParsingExtensionToken(prompt, list);
        m_store.SetExtensionList(m_store.Filter().GetExtensionList());
    }
    const CParseExt& filter = m_store.Filter();

    CLocationIndex index;
    const std::string oldBase = changePath ? changePath->oldBase : std::string();
    const bool matchOld = oldCount > 0 || changePath;
    if (matchOld) index.Build(m_store.Records(), oldBase);

    std::unique_ptr<CProgress> progress;
    const std::size_t expected = filter.CountMatchingFiles(prompt, base, kCountLimit);
    if (expected > kProgressFrom) {
        progress = m_ports.progress.OpenProgress();
        if (expected < kCountLimit) {
            progress->SetRange(double(expected));
        } else {
            progress->SetRange(double(kCountLimit));
            progress->SetCreeping(true);
        }
    }

    std::vector<CCollectionRecord> fresh;
    fresh.reserve(m_store.RecordCount() + 16);
    std::size_t oldFound = 0;
    std::size_t unstorable = 0;
    std::string firstUnstorable;
    bool changed = !matchOld;
    const auto& old = m_store.Records();

    CWalkCallbacks cb;
    const auto goOn = [&] { return !progress || !progress->IsAborted(); };
    cb.enterDirectory = [&](const std::string&) { return goOn(); };
    cb.beforeFile = goOn;
    cb.unlistable = [&](const std::string& dir) {
        return prompt.Ask(Format("Was found corrupted path:\r\n\r\n\"%s\"\r\n\r\nWhat do you like continue?",
                                 (dir + "/*.*").c_str()),
                          {}, EPromptButtons::YesNo, EPromptIcon::Warning) == EPromptAnswer::Yes;
    };
    cb.file = [&](const CWalkFile& f) {
        if (!filter.IsMatch(f.name)) return true;
        // A name holding '#' or a line break cannot be a record line: left out, and said so.
        if (!CCollectionStore::IsStorableField(f.name)) {
            if (unstorable++ == 0) firstUnstorable.assign(f.path);
            return true;
        }
        CCollectionRecord r;
        r.location.assign(f.path);
        if (matchOld) {
            if (const auto hit = index.Find(changePath ? f.path.substr(base.size()) : f.path)) {
                const CCollectionRecord& o = old[hit->index];
                r.description = o.description;
                r.groups = o.groups;
                ++oldFound;
                // A case-only rename is a change too: the stored spelling must follow the disk.
                // (A move rewrites every location anyway.)
                if (hit->index != fresh.size() || (!hit->exact && !changePath)) changed = true;
            } else {
                changed = true;
            }
        }
        fresh.push_back(std::move(r));
        m_ports.busy.SetStatusText(fresh.back().location);
        if (progress && fresh.size() % kLabelStep == 0)
            progress->SetPosText(double(fresh.size()), Format("Files found: %lu", (unsigned long)fresh.size()));
        return true;
    };
    const EWalkResult walked = WalkDirectory(base, cb);
    progress.reset();

    if (walked == EWalkResult::Failed) return -1;
    // Stopped: the files not reached yet are unknown, so nothing is taken over and the old
    // collection stays as it was loaded.
    if (walked == EWalkResult::Stopped) {
        m_ports.busy.SetStatusText("Ready");
        return 0;
    }
    if (unstorable > 0)
        prompt.Message(Format("%lu file(s) can not be kept in a collection: a name holds '#' or a line "
                              "break.\r\n\r\n%s",
                              (unsigned long)unstorable, firstUnstorable.c_str()));
    const std::size_t newCount = fresh.size();
    if (newCount == 0) {
        prompt.Message(Format("It's not any files in %s directory now.", base.c_str()));
        return 0;
    }
    if (changePath && oldFound == oldCount) prompt.Message("All files was successfuly updated.");

    bool marked = false;
    if (changePath || changed) {
        if (!noQuestion && !collectionInfo && (newCount != oldCount || changed)) {
            const std::string q =
                oldFound > 0
                    ? Format("Collection was changed!\r\n\r\nWas %lu files.\r\nNow %lu\r\nAfter refreshing "
                             "was found %lu old files.\r\n\r\nWhat do you like save this result to collection?",
                             (unsigned long)oldCount, (unsigned long)newCount, (unsigned long)oldFound)
                    : Format("After refreshing was not found any old collection files.\r\nWas found %lu new "
                             "files.\r\n\r\nWhat do you like save this result to collection?",
                             (unsigned long)newCount);
            if (!prompt.AskYesNo(q)) {
                m_ports.busy.SetStatusText("Ready");
                return 0;
            }
        }
        marked = true;
    }

    const bool replace = newCount != oldCount || marked;
    // The old records stay alive here: the index points into them.
    std::vector<CCollectionRecord> previous;
    if (replace) previous = m_store.ReplaceRecords(std::move(fresh));
    m_ports.busy.SetStatusText("Ready");

    bool saved = true;
    if (replace) {
        m_store.SetCollectionFilePath(newPath);
        saved = CreateOrSaveCollectionFile();
        if (!saved) {
            // The main list must keep matching the file, line for line.
            m_store.SetCollectionFilePath(oldPath);
            m_store.ReplaceRecords(std::move(previous));
        } else if (changePath) {
            // The collection now lives under the new directory's name; the old file goes only
            // after the new one is safely written.
            std::error_code ec;
            if (!std::filesystem::equivalent(oldPath, newPath, ec) && IsExistingFile(oldPath, false))
                std::filesystem::remove(oldPath, ec);
            if (m_favoritesExist) MoveFavorites(index);
        }
    }
    m_store.ShowWholeList();
    return saved ? long(m_store.RecordCount()) : 0;
}

bool CCollections::CreateOrSaveCollectionFile() {
    const std::string& base = m_store.BaseDirectory();
    if (m_store.IsAbsent() && !collectionInfo) {
        if (knownDirectory && !quietCreation)
            m_ports.prompt.Message(Format(
                "Old collection file\r\n\"%s\"\r\nWAS EXIST but is absent now.\r\n Now was create a new.\r\n\r\n"
                "You can to choose collection name and his description\r\nin next dialog.",
                m_store.CollectionFilePath().c_str()));
        CCollectionInfoFields fields{base, m_store.CollectionFilePath(), CCollectionStore::MakeCollectionFileName(base),
                                     "", m_store.ExtensionList()};
        const CCollectionInfoFields shown = fields;
        if (m_hooks.collectionInfoDialog && !m_hooks.collectionInfoDialog(fields)) {
            m_ports.prompt.Message("User abort.\r\nCollection was not create.");
            return false;
        }
        if (fields.name != shown.name || fields.description != shown.description) {
            if (!m_store.SetName(fields.name) || !m_store.SetDescription(fields.description)) return false;
        }
    }
    if (m_store.Name().empty()) m_store.SetName(CCollectionStore::MakeCollectionFileName(base));
    if (!m_store.WriteCollectionFile()) return false;
    m_store.SetAbsent(false);
    return true;
}

bool CCollections::RefreshCollectionWithUI() {
    const std::filesystem::path shownPath = m_store.CollectionFilePath();
    const std::string shownBase = m_store.BaseDirectory();
    const bool shownFavorites = m_store.IsFavoritesView();
    if (!changePath && !PrepareCurrentCollection(false)) return false;
    if (m_hooks.clearSearchMark) m_hooks.clearSearchMark();
    Busy(true);
    const long r = RefreshCollection();
    if (r > 0) {
        if (m_hooks.refillWindow) m_hooks.refillWindow();
        m_ports.settings.Set(kWasFavorite, 0);
        LeaveFavoritesView();
    } else if (!shownPath.empty() && shownPath != m_store.CollectionFilePath()) {
        // The window still shows the collection it showed before; the store must hold that one
        // again, or an edit there would land in another file's record.
        m_store.SetCollectionFilePath(shownPath);
        m_store.SetBaseDirectory(shownBase);
        m_store.SetFavoritesView(shownFavorites);
        m_store.LoadCollection();
    }
    Busy(false);
    return r > 0;
}

void CCollections::Busy(bool on) {
    m_ports.busy.SetWaitCursor(on);
    m_ports.busy.EnableFrame(!on);
    m_ports.busy.EnableCollectionWindow(!on);
}
