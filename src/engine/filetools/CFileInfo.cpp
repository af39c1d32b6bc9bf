#include "filetools/CFileInfo.h"

#include "app/FileAccess.h"
#include "app/SettingsKeys.h"
#include "app/TextUtil.h"
#include "collections/CCollections.h"
#include "collections/DirectoryWalk.h"

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
constexpr std::uint8_t kBoxes = kAttrArchive | kAttrReadOnly | kAttrHidden | kAttrSystem;
}

std::optional<CFileStatus> ReadFileStatus(const fs::path& path) {
    const auto attr = GetFileAttributeByte(path);
    struct stat st {};
    if (!attr || ::stat(path.c_str(), &st) != 0) return std::nullopt;
    return CFileStatus{path.string(), std::uint64_t(st.st_size), *attr};
}

CFileInfoDlgModel CFileInfoDlgModel::ForFile(const std::string& location, const CFileStatus& status, bool applyAll) {
    CFileInfoDlgModel m;
    m.m_location = location;
    const std::size_t slash = location.rfind('/');
    m.m_folder = slash == std::string::npos ? std::string() : location.substr(0, slash);
    m.m_name = m.m_initialName = slash == std::string::npos ? location : location.substr(slash + 1);
    m.m_size = status.size;
    m.m_bits = m.m_initialBits = status.attribute & kBoxes;
    m.m_applyAllBox = applyAll;
    return m;
}

CFileInfoDlgModel CFileInfoDlgModel::ForCollections(std::vector<std::string> collectionFiles, int selected,
                                                    bool applyAll) {
    CFileInfoDlgModel m;
    m.m_collectionMode = true;
    m.m_collectionFiles = std::move(collectionFiles);
    m.m_combo = selected >= 0 && std::size_t(selected) < m.m_collectionFiles.size() ? selected : -1;
    m.m_applyAllBox = applyAll;
    return m;
}

std::string CFileInfoDlgModel::Title() const {
    return m_collectionMode ? "Collection's files attributes" : "File Info";
}

std::string CFileInfoDlgModel::SizeText() const {
    return Format("File size: %lu byte", static_cast<unsigned long>(m_size));
}

void CFileInfoDlgModel::SetAttribute(std::uint8_t bit, bool on) {
    m_bits = on ? std::uint8_t(m_bits | (bit & kBoxes)) : std::uint8_t(m_bits & ~bit);
}

bool CFileInfoDlgModel::Accept(CPorts& ports) {
    if (m_collectionMode) {
        if (m_combo < 0 || std::size_t(m_combo) >= m_collectionFiles.size()) {
            ports.prompt.Message("Choose a collection, please.", "Common File Attribute");
            return false;
        }
        m_chosen = m_combo;
    }
    ports.settings.Set(kAttributesToAll, m_applyAllBox);
    m_applyToAll =
        m_applyAllBox && ports.prompt.AskYesNo("All files of collection will changing atribute.\r\n\r\nAre you sure?",
                                               "Change attribute");
    return true;
}

void CFileInfo::OnFileInfo(std::optional<std::size_t> selectedRecord) {
    CCollectionStore& store = m_collections.Store();
    const bool applyAll = m_ports.settings.Get(kAttributesToAll);
    CFileInfoDlgModel model;
    std::string location;
    if (selectedRecord && *selectedRecord < store.RecordCount()) {
        location = store.Records()[*selectedRecord].location;
        const auto status = ReadFileStatus(location);
        if (!status) {
            if (m_ports.prompt.AskYesNo(
                    Format("File \"%s\" is not exist now.\r\nWhat do you like to delete it from collection?",
                           location.c_str()),
                    "File Info")) {
                store.EraseRecords({*selectedRecord});
                // A failed save has shown its message; the next refresh drops the missing file too.
                (void)store.WriteCollectionFile();
                if (m_hooks.refillWindow) m_hooks.refillWindow();
            }
            return;
        }
        model = CFileInfoDlgModel::ForFile(location, *status, applyAll);
    } else {
        const int selected = m_collections.BuildCatalogue();
        std::vector<std::string> files;
        for (const CCatalogueEntry& e : m_collections.Catalogue()) files.push_back(e.path.string());
        model = CFileInfoDlgModel::ForCollections(std::move(files), selected, applyAll);
    }
    if (!m_hooks.dialog || !m_hooks.dialog(model)) return;

    if (!model.CollectionMode() && model.NameChanged() && m_hooks.renameFile && m_hooks.renameFile(model.Name()) &&
        *selectedRecord < store.RecordCount())
        location = store.Records()[*selectedRecord].location; // the attributes go to the renamed file
    const std::uint8_t attribute = model.AttributeByte();
    if (!model.ApplyToAll()) {
        // A file we may not change (another owner, a read-only mount) must not look changed.
        if (!model.CollectionMode() && model.AttributesChanged() && !SetFileAttribute(location, attribute))
            m_ports.prompt.Message("Can not set attributes of file:\r\n" + location);
        return;
    }
    m_ports.busy.SetWaitCursor(true);
    if (!model.CollectionMode()) {
        CTreeGuard guard = GuardFor(store.IsFavoritesView() ? std::string() : store.BaseDirectory());
        for (const CCollectionRecord& r : store.Records()) SetGuarded(guard, r.location, attribute);
    } else {
        const CCatalogueEntry& entry = m_collections.Catalogue()[std::size_t(model.ChosenCollection())];
        if (entry.baseDirectory.empty()) {
            // A collection without a base directory (the favorites) is taken by its records,
            // not by whatever collection happens to be current.
            m_ports.busy.EnableFrame(false);
            m_ports.busy.EnableCollectionWindow(false);
            const bool ok = SetAttributesForCollectionFile(entry.path, {}, attribute);
            m_ports.busy.EnableFrame(true);
            m_ports.busy.EnableCollectionWindow(true);
            m_ports.prompt.Message(ok ? "Operation was successful complete."
                                      : "Can not set attributes for some files.");
        } else {
            SetAttributesForCollection(entry.baseDirectory, attribute);
        }
    }
    m_ports.busy.SetWaitCursor(false);
}

bool CFileInfo::SetAttributesForCollection(const std::string& directory, std::uint8_t attribute) {
    m_ports.busy.SetWaitCursor(true);
    m_ports.busy.EnableFrame(false);
    m_ports.busy.EnableCollectionWindow(false);
    const bool ok =
        directory.empty() ? SetAttributesForCurrentCollection(attribute) : SetAttributesInTree(directory, attribute);
    m_ports.busy.EnableFrame(true);
    m_ports.busy.EnableCollectionWindow(true);
    m_ports.busy.SetWaitCursor(false);
    m_ports.prompt.Message(ok ? "Operation was successful complete." : "Can not set attributes for some files.");
    return ok;
}

CTreeGuard CFileInfo::GuardFor(const fs::path& folder) {
    return folder.empty() ? CTreeGuard(CTreeGuard::ELinks::None) : CTreeGuard(CTreeGuard::ELinks::InsideFolder, folder);
}

bool CFileInfo::SetGuarded(CTreeGuard& guard, const fs::path& path, std::uint8_t attribute) {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec))) return false; // gone: the change cannot be made
    // A link leading out of the folder is no file of it: passed over, not refused.
    const auto file = guard.Admit(path);
    return !file || SetFileAttributeNoFollow(*file, attribute);
}

bool CFileInfo::SetAttributesInTree(const std::string& directory, std::uint8_t attribute) {
    bool allSet = true;
    CTreeGuard guard = GuardFor(directory);
    CWalkCallbacks cb;
    cb.file = [&](const CWalkFile& f) {
        if (!SetGuarded(guard, std::string(f.path), attribute)) allSet = false;
        return true;
    };
    cb.unlistable = [&](const std::string& dir) {
        const EPromptAnswer a = m_ports.prompt.Ask(
            Format("Was found corrupted path:\r\n\r\n\"%s\"\r\n\r\nWhat do you like continue?", dir.c_str()), {},
            EPromptButtons::YesNo, EPromptIcon::Warning);
        return a == EPromptAnswer::Yes;
    };
    return WalkDirectory(directory, cb) != EWalkResult::Failed && allSet;
}

bool CFileInfo::SetAttributesForCurrentCollection(std::uint8_t attribute) {
    const CCollectionStore& store = m_collections.Store();
    return SetAttributesForCollectionFile(store.CollectionFilePath(),
                                          store.IsFavoritesView() ? std::string() : store.BaseDirectory(), attribute);
}

bool CFileInfo::SetAttributesForCollectionFile(const fs::path& file, const fs::path& folder, std::uint8_t attribute) {
    if (file.empty()) return false;
    const auto text = ReadWholeFile(m_ports.prompt, file);
    if (!text) return false;
    bool allSet = true;
    CTreeGuard guard = GuardFor(folder);
    for (const std::string_view line : CCollectionStore::SplitRecordLines(*text)) {
        const std::string location = CCollectionStore::ParseRecordLine(line).location;
        if (!location.empty() && !SetGuarded(guard, location, attribute)) allSet = false;
    }
    return allSet;
}
