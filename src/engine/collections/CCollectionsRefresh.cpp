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

long CCollections::FindRecordByLocation(std::string_view path) const {
    long folded = -1;
    const auto& records = m_store.Records();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::string_view loc = records[i].location;
        if (loc == path) return long(i);
        if (folded < 0 && EqualsPathNoCase(loc, path)) folded = long(i);
    }
    return folded;
}

bool CCollections::PrepareCurrentCollection(bool quiet) {
    bool knownDirectory = false;
    return PrepareCurrentCollection(quiet, knownDirectory);
}

bool CCollections::PrepareCurrentCollection(bool quiet, bool& knownDirectory) {
    CSettings& settings = m_ports.settings;
    std::string dir = TrimTrailingSlashes(settings.Get(kMainDir));
    const std::string extensions = settings.Get(kMainDirExt);
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
        if (m_store.Filter().IsParsed()) settings.Set(kMainDirExt, m_store.Filter().GetExtensionList());
    }
    m_store.SetExtensionList(extensions);
    m_store.SetBaseDirectory(dir);
    m_store.SetCollectionFilePath(m_store.GetCollectionFilePath(dir));
    m_store.SetAbsent(!IsExistingFile(m_store.CollectionFilePath(), false));
    return true;
}

CRefreshResult CCollections::RefreshCollection(const CRefreshOptions& options) {
    CPrompt& prompt = m_ports.prompt;
    const auto& move = options.changePath;
    const std::string base = TrimTrailingSlashes(move ? move->newBase : m_store.BaseDirectory());
    const auto ended = [&](ERefreshOutcome outcome) { return CRefreshResult{outcome, m_store.RecordCount()}; };
    // Every location starts with the base directory, so a '#' or a line break in it could not
    // be stored in any line of the file.
    if (base.empty() || !CCollectionStore::IsStorableField(base)) {
        prompt.Message(Format("Can not make a collection of the directory\r\n\"%s\":\r\n"
                              "its path holds '#' or a line break.",
                              base.c_str()));
        return ended(ERefreshOutcome::Failed);
    }
    m_store.SetBaseDirectory(base);
    // A scanned collection is never the favorites, whose header must not take a base directory.
    m_store.SetFavoritesView(false);

    const std::size_t oldCount = m_store.LoadCollection();
    const std::filesystem::path oldPath = m_store.CollectionFilePath();
    if (!m_store.Filter().IsParsed()) {
        if (IsExistingFile(oldPath, false)) {
            prompt.Message(Format("Can not read the collection file\r\n\"%s\".", oldPath.c_str()));
            return ended(ERefreshOutcome::Failed);
        }
        const std::string list = m_store.ExtensionList().empty() ? "*.*" : m_store.ExtensionList();
        m_store.Filter().ParsingExtensionToken(prompt, list);
        m_store.SetExtensionList(m_store.Filter().GetExtensionList());
    }
    // A move onto a folder that has a collection of its own would write over that collection.
    if (move) {
        const std::filesystem::path newPath = m_store.GetCollectionFilePath(base);
        std::error_code ec;
        if (newPath != oldPath && IsExistingFile(newPath, false) &&
            !std::filesystem::equivalent(oldPath, newPath, ec)) {
            prompt.Message(Format("Directory\r\n\"%s\"\r\nhas its own collection already.\r\n"
                                  "This collection was not moved there.",
                                  base.c_str()));
            return ended(ERefreshOutcome::Failed);
        }
    }

    CLocationIndex index;
    const bool matchOld = oldCount > 0 || move;
    if (matchOld) index.Build(m_store.Records(), move ? TrimTrailingSlashes(move->oldBase) : std::string());

    CScan scan = ScanBaseDirectory(base, options, matchOld ? &index : nullptr);
    if (scan.ended) return ended(*scan.ended);
    if (scan.Count() == 0) {
        prompt.Message(Format("It's not any files in %s directory now.", base.c_str()));
        return ended(ERefreshOutcome::Failed);
    }
    if (move && scan.oldFound == oldCount) prompt.Message("All files was successfuly updated.");

    const ERefreshOutcome confirmed = ConfirmRefresh(scan, oldCount, options);
    if (confirmed == ERefreshOutcome::Declined) return ended(confirmed);
    return ended(
        CommitRefresh(std::move(scan), oldCount, confirmed == ERefreshOutcome::Saved, options, oldPath, index));
}

void CCollections::CScan::LeaveStep(const std::vector<CCollectionRecord>& old) {
    records.reserve(old.size() + 16);
    records.assign(old.begin(), old.begin() + std::ptrdiff_t(inStep));
    inStep = 0;
    stepping = false;
}

CCollections::CScan CCollections::ScanBaseDirectory(const std::string& base, const CRefreshOptions& options,
                                                    const CLocationIndex* oldIndex) {
    CPrompt& prompt = m_ports.prompt;
    const CParseExt& filter = m_store.Filter();
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

    CScan scan;
    scan.changed = !oldIndex;
    const auto& old = m_store.Records();
    const bool moving = options.changePath.has_value();
    // A move rewrites every location, so its files are never in step with the old records.
    scan.stepping = oldIndex && !moving;
    if (!scan.stepping) scan.records.reserve(m_store.RecordCount() + 16);
    std::size_t unstorable = 0;
    std::string firstUnstorable;

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
        // A '#' or a line break anywhere in the path (a folder named "C#" too) cannot be part of
        // a record line: such files are left out, and said so.
        if (!CCollectionStore::IsStorableField(f.path)) {
            if (unstorable++ == 0) firstUnstorable.assign(f.path);
            return true;
        }
        // In step, the next old record is the one: no record before it can hold this path,
        // since those hold the paths the walk met before, and a walk meets each path once.
        if (scan.stepping && scan.inStep < old.size() && old[scan.inStep].location == f.path) {
            ++scan.inStep;
            ++scan.oldFound;
        } else {
            if (scan.stepping) scan.LeaveStep(old);
            CCollectionRecord r;
            r.location.assign(f.path);
            std::optional<CLocationIndex::CHit> hit;
            if (oldIndex) hit = oldIndex->Find(moving ? f.path.substr(base.size()) : f.path, scan.records.size());
            if (hit) {
                const CCollectionRecord& o = old[hit->index];
                r.description = o.description;
                r.groups = o.groups;
                ++scan.oldFound;
                // A case-only rename is a change too: the stored spelling must follow the disk.
                // (A move rewrites every location anyway.)
                if (hit->index != scan.records.size() || (!hit->exact && !moving)) scan.changed = true;
            } else if (oldIndex) {
                scan.changed = true;
            }
            scan.records.push_back(std::move(r));
        }
        const std::size_t n = scan.Count();
        m_ports.busy.SetStatusText(f.path);
        if (progress && n % kLabelStep == 0)
            progress->SetPosText(double(n), Format("Files found: %lu", (unsigned long)n));
        return true;
    };
    const EWalkResult walked = WalkDirectory(base, cb);
    progress.reset();

    if (walked == EWalkResult::Failed) {
        scan.ended = ERefreshOutcome::Failed;
    } else if (walked == EWalkResult::Stopped) {
        // The files not reached yet are unknown, so nothing is taken over and the old collection
        // stays as it was loaded.
        m_ports.busy.SetStatusText("Ready");
        scan.ended = ERefreshOutcome::Stopped;
    } else if (unstorable > 0) {
        prompt.Message(Format("%lu file(s) can not be kept in a collection: a name holds '#' or a line "
                              "break.\r\n\r\n%s",
                              (unsigned long)unstorable, firstUnstorable.c_str()));
    }
    return scan;
}

// Saved: take the scan and save it; Unchanged: nothing to ask (the scan matched, perhaps with
// files gone from the end); Declined: No at the question.
ERefreshOutcome CCollections::ConfirmRefresh(const CScan& scan, std::size_t oldCount, const CRefreshOptions& options) {
    if (!options.changePath && !scan.changed) return ERefreshOutcome::Unchanged;
    const std::size_t newCount = scan.Count();
    if (!options.noQuestion && !options.collectionInfo && (newCount != oldCount || scan.changed)) {
        const std::string q =
            scan.oldFound > 0
                ? Format("Collection was changed!\r\n\r\nWas %lu files.\r\nNow %lu\r\nAfter refreshing "
                         "was found %lu old files.\r\n\r\nWhat do you like save this result to collection?",
                         (unsigned long)oldCount, (unsigned long)newCount, (unsigned long)scan.oldFound)
                : Format("After refreshing was not found any old collection files.\r\nWas found %lu new "
                         "files.\r\n\r\nWhat do you like save this result to collection?",
                         (unsigned long)newCount);
        if (!m_ports.prompt.AskYesNo(q)) {
            m_ports.busy.SetStatusText("Ready");
            return ERefreshOutcome::Declined;
        }
    }
    return ERefreshOutcome::Saved;
}

ERefreshOutcome CCollections::CommitRefresh(CScan scan, std::size_t oldCount, bool confirmed,
                                            const CRefreshOptions& options, const std::filesystem::path& oldPath,
                                            const CLocationIndex& oldIndex) {
    const bool replace = scan.Count() != oldCount || confirmed;
    // The old records stay alive here: the index points into them.
    std::vector<CCollectionRecord> previous;
    if (replace) {
        if (scan.stepping) scan.LeaveStep(m_store.Records());
        previous = m_store.ReplaceRecords(std::move(scan.records));
    }
    m_ports.busy.SetStatusText("Ready");
    m_store.ShowWholeList();
    if (!replace) return ERefreshOutcome::Unchanged;

    const std::filesystem::path newPath =
        options.changePath ? m_store.GetCollectionFilePath(m_store.BaseDirectory()) : oldPath;
    m_store.SetCollectionFilePath(newPath);
    const ERefreshOutcome saved = CreateOrSaveCollectionFile(options);
    if (saved != ERefreshOutcome::Saved) {
        // The main list must keep matching the file, line for line.
        m_store.SetCollectionFilePath(oldPath);
        m_store.ReplaceRecords(std::move(previous));
        return saved;
    }
    if (options.changePath) {
        // The collection now lives under the new directory's name; the old file goes only after
        // the new one is safely written.
        std::error_code ec;
        if (!std::filesystem::equivalent(oldPath, newPath, ec) && IsExistingFile(oldPath, false)) {
            std::filesystem::remove(oldPath, ec);
            if (ec)
                m_ports.prompt.Message(Format("Can not remove the old collection file\r\n\"%s\".\r\n"
                                              "Please remove it, or the collection is listed twice.",
                                              oldPath.c_str()));
        }
        if (m_favoritesExist) MoveFavorites(oldIndex, TrimTrailingSlashes(options.changePath->oldBase));
    }
    return ERefreshOutcome::Saved;
}

ERefreshOutcome CCollections::CreateOrSaveCollectionFile(const CRefreshOptions& options) {
    const std::string& base = m_store.BaseDirectory();
    if (m_store.IsAbsent() && !options.collectionInfo) {
        if (options.knownDirectory && !options.quietCreation)
            m_ports.prompt.Message(
                Format("Old collection file\r\n\"%s\"\r\nWAS EXIST but is absent now.\r\n Now was create a new.\r\n\r\n"
                       "You can to choose collection name and his description\r\nin next dialog.",
                       m_store.CollectionFilePath().c_str()));
        CCollectionInfoFields fields{base, m_store.CollectionFilePath(), CCollectionStore::MakeCollectionFileName(base),
                                     "", m_store.ExtensionList()};
        const CCollectionInfoFields shown = fields;
        if (m_hooks.collectionInfoDialog && !m_hooks.collectionInfoDialog(fields)) {
            m_ports.prompt.Message("User abort.\r\nCollection was not create.");
            return ERefreshOutcome::Declined;
        }
        if (fields.name != shown.name || fields.description != shown.description) {
            if (!m_store.SetName(fields.name) || !m_store.SetDescription(fields.description))
                return ERefreshOutcome::Failed;
        }
    }
    if (m_store.Name().empty() && !m_store.SetName(CCollectionStore::MakeCollectionFileName(base)))
        return ERefreshOutcome::Failed;
    if (!m_store.WriteCollectionFile()) return ERefreshOutcome::Failed;
    m_store.SetAbsent(false);
    return ERefreshOutcome::Saved;
}

CShownCollection CCollections::TakeShown() const {
    CShownCollection s;
    s.baseDirectory = m_store.BaseDirectory();
    s.extensionList = m_store.ExtensionList();
    s.filePath = m_store.CollectionFilePath();
    s.favoritesView = m_store.IsFavoritesView();
    if (m_store.IsShowingFoundList()) s.foundList = m_store.FoundList();
    s.mainDir = m_ports.settings.Get(kMainDir);
    s.mainDirExt = m_ports.settings.Get(kMainDirExt);
    return s;
}

void CCollections::RestoreShown(const CShownCollection& shown) {
    CSettings& settings = m_ports.settings;
    if (settings.Get(kMainDir) != shown.mainDir) settings.Set(kMainDir, shown.mainDir);
    if (settings.Get(kMainDirExt) != shown.mainDirExt) settings.Set(kMainDirExt, shown.mainDirExt);
    m_store.SetCollectionFilePath(shown.filePath);
    m_store.SetFavoritesView(shown.favoritesView);
    m_store.LoadCollection();
    // Loading takes name, description and list from the file; the folder is the caller's.
    m_store.SetBaseDirectory(shown.baseDirectory);
    if (m_store.IsAbsent()) m_store.SetExtensionList(shown.extensionList);
    if (shown.foundList) m_store.ShowFoundList(*shown.foundList);
}

bool CCollections::RefreshCollectionWithUI(const CRefreshOptions& options) {
    CRefreshOptions run = options;
    const CShownCollection shown = TakeShown();
    // A failed preparation changed nothing itself; a dialog it opened (change path, choose)
    // may have opened another collection, which stays.
    if (!run.changePath && !PrepareCurrentCollection(false, run.knownDirectory)) return false;
    return RunRefresh(run, shown);
}

bool CCollections::RefreshCollectionWithUI(const CRefreshOptions& options, const CShownCollection& restoreTo) {
    CRefreshOptions run = options;
    if (!run.changePath && !PrepareCurrentCollection(false, run.knownDirectory)) {
        RestoreShown(restoreTo);
        return false;
    }
    return RunRefresh(run, restoreTo);
}

bool CCollections::RunRefresh(const CRefreshOptions& options, const CShownCollection& restoreTo) {
    if (m_hooks.clearSearchMark) m_hooks.clearSearchMark();
    Busy(true);
    const CRefreshResult r = RefreshCollection(options);
    if (r.InForce()) {
        if (m_hooks.refillWindow) m_hooks.refillWindow();
        m_ports.settings.Set(kWasFavorite, 0);
        LeaveFavoritesView();
    } else {
        RestoreShown(restoreTo);
    }
    Busy(false);
    return r.InForce();
}

void CCollections::Busy(bool on) {
    m_ports.busy.SetWaitCursor(on);
    m_ports.busy.EnableFrame(!on);
    m_ports.busy.EnableCollectionWindow(!on);
}
