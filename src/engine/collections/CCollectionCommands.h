#pragma once

#include "collections/CCollections.h"
#include "collections/ColumnSearch.h"
#include "collections/KeywordSearch.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct CPorts;

// What the "New Collection" dialog shows and returns.
struct CNewCollectionDialogData {
    std::string directory;
    std::string extensions;
};

// What the "Open collection" dialog shows and returns: the catalogue in catalogue order, the
// entry to preselect (-1 none), and on OK the chosen entry. The list shows names, so a chosen
// name stands for the first entry of that name (FindCatalogueEntryByName).
struct COpenCollectionDialogData {
    const std::vector<CCatalogueEntry>* catalogue = nullptr;
    int preselected = -1;
    bool chooseMode = false;
    int selected = -1;
};

// What the "Delete from favorite" dialog shows and returns: every favorite's location in file
// order (the list sorts them), and on OK the chosen entries or the delete-all choice.
struct CDeleteFavoritesDialogData {
    std::vector<std::string> locations;
    std::vector<std::string> selected;
    bool deleteAll = false;
};

// The dialogs and window calls of the collection commands. A dialog hook returns true on OK;
// an empty dialog hook counts as Cancel, an empty window hook does nothing.
struct CCollectionCommandHooks {
    std::function<bool(CNewCollectionDialogData&)> newCollectionDialog;
    std::function<bool(COpenCollectionDialogData&)> openCollectionDialog;
    std::function<bool(CKeywordDialogValues&)> keywordSearchDialog;
    std::function<bool(CDeleteFavoritesDialogData&)> deleteFavoritesDialog;
    std::function<bool()> isWindowOpen;
    std::function<bool()> isWindowActive; // the keyboard focus is in the collection window
    std::function<void()> bringWindowToFront;
    std::function<void()> closeWindow;
    std::function<void(const std::string& caption)> setWindowCaption;
    std::function<void(int column)> showNotFound; // 0 file name, 1 description, 2 group box
};

// The collection commands of the main frame, the keyword search and the column searches, on
// top of the collections engine (store, refresh, catalogue, favorites). Messages and questions
// go through the ports; no exception leaves it. The collections, ports and hooks must outlive it.
class CCollectionCommands {
public:
    CCollectionCommands(CCollections& collections, CPorts& ports);

    CCollectionCommandHooks& Hooks() { return m_hooks; }
    CKeywordSearchState& Search() { return m_search; }

    void OnNewCollection();
    // The "Browse" button of the "New Collection" dialog: starts at "mainDir", else at
    // "lastBrowDir"; a chosen folder is remembered in "lastBrowDir". Empty when cancelled.
    std::string BrowseNewCollectionDirectory();
    void OnOpenCollections();
    void OnChooseCollection();
    void OnDeleteCollection();
    void OnCollectionInfo();
    void OnChangeCollectionPath();
    // 1 moved, 0 the collection file was deleted instead, -1 nothing done.
    int ChangeCollectionPath(const std::string& oldDirectory, const std::filesystem::path& collectionFile,
                             bool isDefault);
    // The file of a displayed row, after the question; true when the record was removed.
    bool OnDeleteFile(std::size_t row);
    // An edited location cell; true accepts the edit (the file was renamed).
    bool RenameCollectionFile(std::size_t row, std::string_view text);
    // "Delete from favorite...": without the keyboard focus in the collection window, the dialog
    // over every favorite; with it, the favorites view's selected row. True when something was
    // deleted.
    bool DeleteFromFavorites(std::optional<std::size_t> selectedRow);

    // The whole command: dialog, loading, search, found list. false when cancelled or there is
    // nothing to search. loadOptions run the refresh that loads a collection first.
    bool KeywordSearch(const CRefreshOptions& loadOptions = {});

    CColumnSearchOutcome FindInGroupColumn(std::string_view text);
    CColumnSearchOutcome FindInDescriptionColumn(std::string_view text);
    CColumnSearchOutcome FindInFilesColumn(std::string_view text);

    // Deletes a collection file after its question: true when it was deleted.
    bool DeleteCollectionFile(const std::filesystem::path& file, const std::string& name);

private:
    // The shown state, taken before the command changes anything.
    CShownCollection PrepareCommand();
    int ChangePathFrom(const CShownCollection& shown, const std::string& oldDirectory,
                       const std::filesystem::path& collectionFile, bool isDefault);
    bool WindowOpen() const { return m_hooks.isWindowOpen && m_hooks.isWindowOpen(); }
    void ToFront();
    void Refill();
    void ShowWholeAndRefill();
    bool RefreshShown(const CRefreshOptions& options, const CShownCollection& shown);
    CColumnSearchOutcome RunColumnSearch(int column, std::string_view text,
                                         const std::function<CColumnSearchOutcome()>& search);

    CCollections& m_collections;
    CCollectionStore& m_store;
    CPorts& m_ports;
    CCollectionCommandHooks m_hooks;
    CKeywordSearchState m_search;
    bool m_wasFavorite = false;
};
