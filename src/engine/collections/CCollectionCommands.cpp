#include "collections/CCollectionCommands.h"

#include "app/CFileWriter.h"
#include "app/CUniqueFd.h"
#include "app/FileAccess.h"
#include "app/Ports.h"
#include "app/SettingsKeys.h"
#include "app/TextUtil.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kRenameCaption = "Try to chenge file name";

// A directory as the program keeps it: no trailing '/', "." and ".." resolved by text.
std::string NormalizeDirectory(std::string_view text) {
    if (text.empty()) return {};
    std::string s = fs::path(text).lexically_normal().string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

bool HasParentComponent(std::string_view text) {
    for (const auto& part : fs::path(text))
        if (part == "..") return true;
    return false;
}

// Whether dir, with every link in it resolved, lies in base (resolved too). A folder that does
// not exist yet counts by the part of it that does.
bool IsInsideDirectory(const fs::path& dir, const fs::path& base) {
    std::error_code ec1, ec2;
    const fs::path d = fs::weakly_canonical(dir, ec1);
    const fs::path b = fs::weakly_canonical(base, ec2);
    if (ec1 || ec2) return false;
    auto di = d.begin();
    for (auto bi = b.begin(); bi != b.end(); ++bi, ++di) {
        if (bi->empty()) continue; // a trailing '/' of base
        if (di == d.end() || *di != *bi) return false;
    }
    return true;
}

// Moves from over an existing file at to in one step, so a failure leaves both as they were.
// A file this user may not write is not theirs to replace, though the folder would allow it.
bool ReplaceFile(const fs::path& from, const fs::path& to) {
    if (!UserMayWrite(to)) return false;
    if (::rename(from.c_str(), to.c_str()) == 0) return true;
    if (errno != EXDEV) return false;
    std::error_code ec;
    fs::remove(to, ec);
    return !ec && RenameFile(from, to);
}

// Whether a new, empty file can be made at path (it is removed again).
bool CanCreateFile(const fs::path& path) {
    if (!CUniqueFd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600))) return false;
    ::unlink(path.c_str());
    return true;
}

} // namespace

CCollectionCommands::CCollectionCommands(CCollections& collections, CPorts& ports)
    : m_collections(collections), m_store(collections.Store()), m_ports(ports) {
    CCollectionHooks& hooks = m_collections.Hooks();
    // A refresh ends the keyword set's marking of opened documents.
    hooks.clearSearchMark = [this, previous = std::move(hooks.clearSearchMark)] {
        m_search.SetInForce(false);
        if (previous) previous();
    };
    // A configured collection whose folder is gone leads here from the refresh preparation.
    if (!hooks.changePathDialog)
        hooks.changePathDialog = [this](const std::string& dir, const fs::path& file) {
            ChangeCollectionPath(dir, file, false);
        };
    if (!hooks.chooseCollectionDialog) hooks.chooseCollectionDialog = [this] { OnChooseCollection(); };
}

void CCollectionCommands::ToFront() {
    if (m_hooks.bringWindowToFront) m_hooks.bringWindowToFront();
}

void CCollectionCommands::Refill() {
    if (m_collections.Hooks().refillWindow) m_collections.Hooks().refillWindow();
}

void CCollectionCommands::ShowWholeAndRefill() {
    m_store.ShowWholeList();
    Refill();
}

bool CCollectionCommands::RefreshShown(const CRefreshOptions& options, const CShownCollection& shown) {
    if (!m_collections.RefreshCollectionWithUI(options, shown)) return false;
    ShowWholeAndRefill();
    return true;
}

CShownCollection CCollectionCommands::PrepareCommand() {
    m_wasFavorite = m_collections.FavoritesExist() && m_ports.settings.Get(kWasFavorite) == 1;
    return m_collections.TakeShown();
}

void CCollectionCommands::OnNewCollection() {
    const CShownCollection shown = PrepareCommand();
    CPrompt& prompt = m_ports.prompt;
    const std::string configured = NormalizeDirectory(m_ports.settings.Get(kMainDir));
    for (;;) {
        const bool favorites = m_store.IsFavoritesView();
        CNewCollectionDialogData data{favorites ? std::string() : configured, "*.*"};
        if (!m_hooks.newCollectionDialog || !m_hooks.newCollectionDialog(data)) return;

        const std::string dir = NormalizeDirectory(data.directory);
        // Only a collection that is shown can be "already opened"; otherwise it is opened.
        if (!favorites && WindowOpen() && dir == m_store.BaseDirectory()) {
            prompt.Message("Collection for this directory already opened.");
            ToFront();
            return;
        }
        CRefreshOptions options;
        options.quietCreation = dir != configured;
        if (!IsDirectory(dir)) {
            prompt.Message("This Directory is absent or has not access.\r\nPlease choose anoter.");
            continue;
        }
        if (IsExistingFile(m_store.GetCollectionFilePath(dir), false))
            prompt.Message("Collection for this directory already existent.");
        else
            options.noQuestion = true;

        m_store.SetBaseDirectory(dir);
        m_collections.LeaveFavoritesView();
        m_ports.settings.Set(kMainDir, dir);
        m_store.Filter().ParsingExtensionToken(prompt, data.extensions);
        m_store.SetExtensionList(m_store.Filter().GetExtensionList());
        m_ports.settings.Set(kMainDirExt, m_store.ExtensionList());
        RefreshShown(options, shown);
        return;
    }
}

std::string CCollectionCommands::BrowseNewCollectionDirectory() {
    CSettings& settings = m_ports.settings;
    std::string start = settings.Get(kMainDir);
    if (start.empty()) start = settings.Get(kLastBrowDir);
    const std::string chosen = NormalizeDirectory(BrowseForDirectory(m_ports.pickers, start));
    if (!chosen.empty()) settings.Set(kLastBrowDir, chosen);
    return chosen;
}

void CCollectionCommands::OnOpenCollections() {
    const CShownCollection shown = PrepareCommand();
    COpenCollectionDialogData data;
    data.preselected = m_collections.BuildCatalogue();
    data.catalogue = &m_collections.Catalogue();
    if (!m_hooks.openCollectionDialog || !m_hooks.openCollectionDialog(data)) return;
    if (data.selected < 0 || std::size_t(data.selected) >= m_collections.Catalogue().size()) return;
    const CCatalogueEntry entry = m_collections.Catalogue()[std::size_t(data.selected)];
    const bool favorites = m_store.IsFavoritesView();

    if (entry.baseDirectory.empty()) {
        if (favorites) ToFront();
        else
            m_collections.ShowFavorites(); // switches to the whole list and refills itself
        return;
    }
    const std::string dir = NormalizeDirectory(entry.baseDirectory);
    if (!favorites && WindowOpen() && dir == m_store.BaseDirectory()) {
        ToFront();
        return;
    }
    CRefreshOptions options;
    options.quietCreation = dir != NormalizeDirectory(m_ports.settings.Get(kMainDir)) || m_wasFavorite;

    const fs::path file = m_store.GetCollectionFilePath(dir);
    if (IsDirectory(dir)) {
        options.noQuestion = !IsExistingFile(file, false);
        m_store.SetBaseDirectory(dir);
        m_collections.LeaveFavoritesView();
        m_ports.settings.Set(kMainDir, dir);
        // The list in force before belongs to the previous collection; the opened one's own
        // list is stored once the refresh has read it.
        if (RefreshShown(options, shown)) m_ports.settings.Set(kMainDirExt, m_store.ExtensionList());
        return;
    }
    if (IsExistingFile(file, false)) {
        ChangePathFrom(shown, dir, file, false);
    } else if (m_ports.prompt.Ask("This Directory is absent now or has not access.\r\nWould you like to find "
                                  "according folder by manual?.",
                                  {}, EPromptButtons::YesNoCancel, EPromptIcon::Question) == EPromptAnswer::Yes) {
        ChangePathFrom(shown, dir, entry.path, false);
    }
}

void CCollectionCommands::OnChooseCollection() {
    if (m_collections.AnyCollectionFiles()) OnOpenCollections();
    else
        OnNewCollection();
}

bool CCollectionCommands::DeleteCollectionFile(const fs::path& file, const std::string& name) {
    CPrompt& prompt = m_ports.prompt;
    if (!IsExistingFile(file, false)) {
        prompt.Message(Format("Collection file\r\n\"%s\"\r\nis not exist and can not be deleted.", file.c_str()));
        return false;
    }
    if (!prompt.AskYesNo(Format("Are you shure to delete file\r\n\"%s\" of collection\r\n\"%s\"\r\nwill be remove?",
                                file.c_str(), name.c_str())))
        return false;
    SetFileAttribute(file, kAttrArchive);
    std::error_code ec;
    const bool deleted = fs::remove(file, ec) && !ec;
    if (deleted) prompt.Message(Format("Collection\r\n\"%s\"\r\nwas deleted.", name.c_str()));
    else
        prompt.Message(Format("Can not delete file collection\r\n\"%s\".", name.c_str()));
    // The favorites flag follows the file.
    if (deleted && file == m_collections.FavoritesPath()) m_collections.CheckFavoritesAtStart();
    return deleted;
}

void CCollectionCommands::OnDeleteCollection() {
    COpenCollectionDialogData data;
    data.chooseMode = true;
    data.preselected = m_collections.BuildCatalogue();
    data.catalogue = &m_collections.Catalogue();
    if (!m_hooks.openCollectionDialog || !m_hooks.openCollectionDialog(data)) return;
    if (data.selected < 0 || std::size_t(data.selected) >= m_collections.Catalogue().size()) return;
    const CCatalogueEntry entry = m_collections.Catalogue()[std::size_t(data.selected)];
    if (entry.path == m_store.CollectionFilePath() && m_hooks.closeWindow) m_hooks.closeWindow();
    DeleteCollectionFile(entry.path, entry.name);
}

void CCollectionCommands::OnCollectionInfo() {
    auto& dialog = m_collections.Hooks().collectionInfoDialog;
    const CCollectionInfoFields before{m_store.BaseDirectory(), m_store.CollectionFilePath(), m_store.Name(),
                                       m_store.Description(), m_store.ExtensionList()};
    CCollectionInfoFields after = before;
    if (!dialog || !dialog(after)) return;
    const bool extensionsChanged = after.extensionList != before.extensionList;
    if (!extensionsChanged && after.name == before.name && after.description == before.description) return;

    // A header that could not be written leaves memory as the file is.
    const auto keepOld = [&] {
        m_store.Filter().ParsingExtensionToken(m_ports.prompt, before.extensionList);
        m_store.SetExtensionList(before.extensionList);
        // The old texts were stored before, so they pass the check again.
        if (!m_store.SetName(before.name)) return;
        m_store.SetDescription(before.description);
    };
    if (!extensionsChanged) {
        if (!m_store.SetName(after.name) || !m_store.SetDescription(after.description)) return;
        if (!m_store.WriteCollectionHeader()) return keepOld();
        if (m_hooks.setWindowCaption)
            m_hooks.setWindowCaption(Format("Collection \"%s\": %lu files.", m_store.Name().c_str(),
                                            static_cast<unsigned long>(m_store.RowCount())));
        return;
    }
    if (!m_ports.prompt.AskYesNo("After changed file extentions\r\nand refresh the collection\r\nmay be lost some "
                                 "descripted files.\r\nWould you like to continue?"))
        return;
    if (!m_store.SetName(after.name) || !m_store.SetDescription(after.description)) return;
    m_store.Filter().ParsingExtensionToken(m_ports.prompt, after.extensionList);
    m_store.SetExtensionList(m_store.Filter().GetExtensionList());
    if (!m_store.WriteCollectionHeader()) return keepOld();
    // The favorites' list is no setting of the configured collection.
    if (!m_store.IsFavoritesView()) m_ports.settings.Set(kMainDirExt, m_store.ExtensionList());
    CRefreshOptions options;
    options.collectionInfo = true;
    m_collections.OpenCurrentCollection(options);
}

int CCollectionCommands::ChangeCollectionPath(const std::string& oldDirectory, const fs::path& collectionFile,
                                              bool isDefault) {
    return ChangePathFrom(m_collections.TakeShown(), oldDirectory, collectionFile, isDefault);
}

int CCollectionCommands::ChangePathFrom(const CShownCollection& shown, const std::string& oldDirectory,
                                        const fs::path& collectionFile, bool isDefault) {
    CPrompt& prompt = m_ports.prompt;
    if (isDefault) {
        const std::string q = Format("Defaul collection is: directory\r\n\"%s\"\r\nfor collection\r\n\"%s\".\r\n\r\n"
                                     "What do you like to find a new locetion?",
                                     oldDirectory.c_str(), collectionFile.c_str());
        if (prompt.Ask(q, {}, EPromptButtons::OkCancel, EPromptIcon::Question) != EPromptAnswer::Ok) return -1;
    } else {
        const std::string q =
            Format("Location or name of directory\r\n\"%s\"\r\nfor collection\r\n\"%s\"\r\nwas changed.\r\n\r\n"
                   "What do you like to find a new locetion - press \"YES\"\r\nDelete this collection - press "
                   "\"NO\"\r\nTo do nothing - press \"CANCEL\"",
                   oldDirectory.c_str(), collectionFile.c_str());
        const EPromptAnswer a = prompt.Ask(q, {}, EPromptButtons::YesNoCancel, EPromptIcon::Question);
        if (a == EPromptAnswer::Cancel) return -1;
        if (a == EPromptAnswer::No) {
            CCollectionStore header(prompt, m_collections.WorkingDirectory());
            if (const auto text = ReadWholeFile(prompt, collectionFile)) header.ParseCollectionHeader(*text);
            return DeleteCollectionFile(collectionFile, header.HeaderFields()[0]) ? 0 : -1;
        }
    }
    const std::string newDirectory = NormalizeDirectory(BrowseForDirectory(m_ports.pickers, oldDirectory));
    if (newDirectory.empty()) return -1;

    CRefreshOptions options;
    options.changePath = CRefreshOptions::CChangePath{oldDirectory, newDirectory};
    m_store.SetBaseDirectory(newDirectory);
    m_store.SetCollectionFilePath(collectionFile);
    if (!m_collections.RefreshCollectionWithUI(options, shown)) return -1;
    m_ports.settings.Set(kMainDir, newDirectory);
    m_ports.settings.Set(kMainDirExt, m_store.ExtensionList());
    ShowWholeAndRefill();
    return 1;
}

void CCollectionCommands::OnChangeCollectionPath() {
    if (WindowOpen() || !m_collections.AnyCollectionFiles()) return;
    const CShownCollection shown = m_collections.TakeShown();
    // The favorites have no base directory to move: moving them would turn the favorites file
    // into an ordinary collection. The command works on the configured collection instead.
    CPrompt& prompt = m_ports.prompt;
    if (!m_collections.PrepareCurrentCollection(true)) {
        if (!m_store.CollectionFilePath().empty())
            prompt.Message(Format("Collection\r\n%s\r\nis absent now.\r\nPlease choose anoter.",
                                  m_store.CollectionFilePath().c_str()));
        else { // the configured folder is the one that is gone
            // The program never stores an empty folder, so empty means none stored yet.
            std::string dir = m_ports.settings.Get(kMainDir);
            if (dir.empty()) dir = m_store.BaseDirectory();
            prompt.Message(Format("Default collection path\r\n%s\r\nis absent now.\r\nPlease choose anoter "
                                  "collection for this operation.",
                                  dir.c_str()));
        }
        OnChooseCollection();
        return;
    }
    if (!IsExistingFile(m_store.CollectionFilePath(), false)) {
        prompt.Message(Format("Collection path\r\n%s\r\nis absent now.\r\nPlease choose anoter.",
                              m_store.CollectionFilePath().c_str()));
        OnChooseCollection();
        return;
    }
    ChangePathFrom(shown, m_store.BaseDirectory(), m_store.CollectionFilePath(), true);
}

bool CCollectionCommands::OnDeleteFile(std::size_t row) {
    const auto index = m_store.RecordOfRow(row);
    if (!index) return false;
    const std::string location = m_store.Records()[*index].location;
    if (!m_ports.prompt.AskYesNo(Format("Are you sure you want to delete\r\n\"%s\"\r\nfile?", location.c_str()),
                                 "Delete file"))
        return false;
    SetFileAttribute(location, kAttrArchive);
    std::error_code ec;
    fs::remove(location, ec);
    // A file that is still there keeps its record; one already gone loses it.
    if (fs::exists(fs::symlink_status(location, ec))) {
        m_ports.prompt.Message(Format("Can not delete file\r\n\"%s\".", location.c_str()), "Delete file");
        return false;
    }
    // Only the record's own line goes; when it cannot, the record stays as the file keeps it.
    if (m_store.RemoveRecordLine(*index) != ERecordWrite::Written) return false;
    if (m_store.IsFavoritesView() && m_store.RecordCount() == 0) {
        m_collections.RemoveAllFavorites();
        return true;
    }
    ShowWholeAndRefill();
    return true;
}

bool CCollectionCommands::RenameCollectionFile(std::size_t row, std::string_view text) {
    if (!WindowOpen()) return false;
    const auto index = m_store.RecordOfRow(row);
    if (!index) return false;
    if (text.empty()) {
        OnDeleteFile(row);
        return false;
    }
    if (!m_store.CheckStorable(text)) return false;
    CPrompt& prompt = m_ports.prompt;
    const std::string oldPath = m_store.Records()[*index].location;
    const bool absolute = text.front() == '/';

    std::string newPath;
    if (!m_store.IsFavoritesView()) {
        // Checked before anything is asked or replaced: a name may not lead out of the folder.
        newPath = m_store.BaseDirectory() + "/" + std::string(text);
        // A link to a folder elsewhere leads out as surely as "..": the real parent decides.
        if (absolute || HasParentComponent(text) ||
            !IsInsideDirectory(fs::path(newPath).parent_path(), m_store.BaseDirectory())) {
            prompt.Message("You can not to move file from this collection directory.", kRenameCaption);
            return false;
        }
    } else {
        newPath = absolute ? std::string(text) : oldPath.substr(0, oldPath.rfind('/') + 1) + std::string(text);
    }
    newPath = fs::path(newPath).lexically_normal().string();

    std::error_code ec;
    const fs::file_status target = fs::symlink_status(newPath, ec);
    bool replace = false;
    if (fs::exists(target)) {
        const bool sameFile = fs::equivalent(oldPath, newPath, ec) && !ec;
        if (!sameFile) {
            if (fs::is_directory(target)) {
                prompt.Message("This file name is wrong.", kRenameCaption);
                return false;
            }
            if (!prompt.AskYesNo(Format("File\r\n\"%.*s\"\r\nalready existent!\r\nWhat do you like replase it?",
                                        int(text.size()), text.data()),
                                 kRenameCaption))
                return false;
            SetFileAttribute(newPath, kAttrArchive);
            replace = true;
        }
    } else if (!CanCreateFile(newPath)) {
        prompt.Message("This file name is wrong.", kRenameCaption);
        return false;
    }
    // The replaced file goes only when the rename succeeds.
    if (!(replace ? ReplaceFile(oldPath, newPath) : RenameFile(oldPath, newPath))) {
        prompt.Message(Format("Can not rename file\r\n\"%s\"\r\nto\r\n\"%s\".", oldPath.c_str(), newPath.c_str()),
                       kRenameCaption);
        return false;
    }

    // The file takes the new name only together with the collection: when the record's line
    // cannot follow, the file goes back (a replaced file stays replaced: that was agreed to).
    if (m_store.SetRecordLocation(*index, newPath) != ERecordWrite::Written) {
        if (!RenameFile(newPath, oldPath))
            prompt.Message(Format("Can not rename file\r\n\"%s\"\r\nto\r\n\"%s\".", newPath.c_str(), oldPath.c_str()),
                           kRenameCaption);
        return false;
    }
    return true;
}

bool CCollectionCommands::KeywordSearch(const CRefreshOptions& loadOptions) {
    CKeywordDialogValues values = LoadKeywordDialog(m_ports.settings);
    if (!m_hooks.keywordSearchDialog || !m_hooks.keywordSearchDialog(values)) return false;
    if (values.keyword.empty()) return false;
    m_search.SetInForce(false);

    if (m_store.RecordCount() == 0 || !WindowOpen()) m_collections.OpenCurrentCollection(loadOptions);
    if (m_store.RecordCount() == 0) return false;

    m_search.SetKeywords(values.keyword, values.noCase);
    std::vector<std::string> locations;
    locations.reserve(m_store.RecordCount());
    for (const CCollectionRecord& r : m_store.Records()) locations.push_back(r.location);
    std::vector<std::size_t> found = SearchCollectionFiles(locations, m_search.Keywords(), values.noCase, m_ports);
    m_search.SetInForce(true);

    if (found.empty()) {
        m_ports.prompt.Message("Found nothing.");
        return true;
    }
    m_store.ShowFoundList(std::move(found));
    Refill();
    return true;
}

CColumnSearchOutcome CCollectionCommands::RunColumnSearch(int column, std::string_view text,
                                                          const std::function<CColumnSearchOutcome()>& search) {
    if (m_store.RecordCount() == 0) m_collections.RefreshCollectionWithUI();
    if (m_store.RecordCount() == 0) return {};

    CBusy& busy = m_ports.busy;
    const bool busyShown = !text.empty();
    if (busyShown) {
        busy.SetWaitCursor(true);
        busy.EnableFrame(false);
        busy.EnableCollectionWindow(false);
    }
    CColumnSearchOutcome out = search();
    if (busyShown) {
        busy.EnableFrame(true);
        busy.EnableCollectionWindow(true);
        busy.SetWaitCursor(false);
    }
    switch (out.result) {
    case EColumnSearchResult::ShowWholeList: ShowWholeAndRefill(); break;
    case EColumnSearchResult::ShowFoundList:
        m_store.ShowFoundList(out.found);
        Refill();
        break;
    case EColumnSearchResult::NotFound:
        if (m_hooks.showNotFound) m_hooks.showNotFound(column);
        break;
    case EColumnSearchResult::NoChange: break;
    }
    return out;
}

CColumnSearchOutcome CCollectionCommands::FindInGroupColumn(std::string_view text) {
    return RunColumnSearch(kGroupColumn, text, [&] { return SearchGroupColumn(m_store.Records(), text); });
}

CColumnSearchOutcome CCollectionCommands::FindInDescriptionColumn(std::string_view text) {
    return RunColumnSearch(kDescriptionColumn, text, [&] { return SearchDescriptionColumn(m_store.Records(), text); });
}

CColumnSearchOutcome CCollectionCommands::FindInFilesColumn(std::string_view text) {
    return RunColumnSearch(kFilesColumn, text, [&] {
        return SearchFilesColumn(m_store.Records(), m_store.BaseDirectory(), m_store.IsFavoritesView(),
                                 m_store.IsShowingFoundList(), text);
    });
}

bool CCollectionCommands::DeleteFromFavorites(std::optional<std::size_t> selectedRow) {
    if (!m_hooks.isWindowActive || !m_hooks.isWindowActive()) {
        const auto locations = m_collections.FavoriteLocations();
        if (!locations) return false;
        CDeleteFavoritesDialogData data;
        data.locations = *locations;
        if (!m_hooks.deleteFavoritesDialog || !m_hooks.deleteFavoritesDialog(data)) return false;
        if (data.selected.empty() && !data.deleteAll) return false;
        return m_collections.DeleteFavoritesByLocation(data.selected, data.deleteAll);
    }
    if (!m_store.IsFavoritesView() || !selectedRow) return false;
    return m_collections.DeleteFavoriteRow(*selectedRow);
}
