#pragma once

#include "app/Ports.h"
#include "filetools/CTreeGuard.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CCollections;

// A file's status as the "File Info" dialog shows it.
struct CFileStatus {
    std::string fullName;
    std::uint64_t size = 0;
    std::uint8_t attribute = 0;
};
std::optional<CFileStatus> ReadFileStatus(const std::filesystem::path& path);

// The "File Info" dialog's state and rules; the window binds its controls to it.
class CFileInfoDlgModel {
public:
    static CFileInfoDlgModel ForFile(const std::string& location, const CFileStatus& status, bool applyAll);
    static CFileInfoDlgModel ForCollections(std::vector<std::string> collectionFiles, int selected, bool applyAll);

    bool CollectionMode() const { return m_collectionMode; }
    std::string Title() const;
    const std::string& FolderText() const { return m_folder; } // the location up to its last '/'
    std::string SizeText() const;                              // "File size: %lu byte"
    const std::vector<std::string>& CollectionFiles() const { return m_collectionFiles; }

    const std::string& Name() const { return m_name; }
    void SetName(std::string_view name) { m_name = std::string(name); }
    bool Attribute(std::uint8_t bit) const { return (m_bits & bit) != 0; }
    void SetAttribute(std::uint8_t bit, bool on);
    int ComboIndex() const { return m_combo; }
    void SetComboIndex(int index) { m_combo = index; }
    bool ApplyAllChecked() const { return m_applyAllBox; }
    void SetApplyAllChecked(bool on) { m_applyAllBox = on; }

    bool NameChanged() const { return m_name != m_initialName; }
    bool AttributesChanged() const { return m_bits != m_initialBits; }
    bool OkEnabled() const { return NameChanged() || AttributesChanged(); }
    // Archive 32, read-only 1, hidden 2, system 4 from the boxes.
    std::uint8_t AttributeByte() const { return m_bits; }

    // "Ok": false keeps the dialog open (no collection chosen). Stores the box's state and asks
    // before apply-to-all.
    bool Accept(CPorts& ports);
    bool ApplyToAll() const { return m_applyToAll; }
    int ChosenCollection() const { return m_chosen; }

private:
    bool m_collectionMode = false;
    std::string m_location, m_folder, m_name, m_initialName;
    std::uint64_t m_size = 0;
    std::uint8_t m_bits = 0, m_initialBits = 0;
    std::vector<std::string> m_collectionFiles;
    int m_combo = -1;
    int m_chosen = -1;
    bool m_applyAllBox = false;
    bool m_applyToAll = false;
};

// What "File Info" reaches beyond the engine: the dialog, the rename of the row and the refill
// of the collection window. An empty dialog hook counts as Cancel.
struct CFileInfoHooks {
    std::function<bool(CFileInfoDlgModel& model)> dialog;     // true when closed by "Ok"
    std::function<bool(std::string_view newName)> renameFile; // true when renamed
    std::function<void()> refillWindow;
};

// "File attributes..." and "File info": one file's name and attributes, or one attribute set for
// every file of a collection. The collections and ports must outlive it.
class CFileInfo {
public:
    CFileInfo(CPorts& ports, CCollections& collections) : m_ports(ports), m_collections(collections) {}
    CFileInfoHooks& Hooks() { return m_hooks; }

    // File mode for the record of the selected row; collection mode without one.
    void OnFileInfo(std::optional<std::size_t> selectedRecord);

    // Applies attribute to the files under directory (empty: the current collection's files)
    // and shows the result; false when some files could not be set.
    bool SetAttributesForCollection(const std::string& directory, std::uint8_t attribute);
    // Every file under directory, whatever its extension; false when the user stopped after an
    // unreadable folder or a file refused the change. A link counts for its target when that
    // lies below directory and is passed over otherwise; each file is set once.
    bool SetAttributesInTree(const std::string& directory, std::uint8_t attribute);
    // Every record of the current collection file; false when none is loaded, it cannot be read
    // or a file refused the change.
    bool SetAttributesForCurrentCollection(std::uint8_t attribute);
    // The records of a collection file; a link counts only for a target below folder (the
    // collection's base directory; with none, as for the favorites, links are passed over).
    bool SetAttributesForCollectionFile(const std::filesystem::path& file, const std::filesystem::path& folder,
                                        std::uint8_t attribute);

private:
    // Sets the attribute byte of the file the guard admits; false when the change was refused.
    static bool SetGuarded(CTreeGuard& guard, const std::filesystem::path& path, std::uint8_t attribute);
    static CTreeGuard GuardFor(const std::filesystem::path& folder);

    CPorts& m_ports;
    CCollections& m_collections;
    CFileInfoHooks m_hooks;
};
