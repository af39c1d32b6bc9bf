#pragma once

#include "collections/CCollectionStore.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CPrompt;
struct CPorts;

// What the collection info dialog shows and returns while a new collection file is created.
struct CCollectionInfoFields {
    std::string baseDirectory;
    std::filesystem::path filePath;
    std::string name;
    std::string description;
    std::string extensionList;
};

// The windows and dialogs the collection operations reach. Each may stay empty: an empty dialog
// hook counts as confirmed unchanged, an empty window hook does nothing.
struct CCollectionHooks {
    std::function<bool(CCollectionInfoFields& fields)> collectionInfoDialog; // true on OK
    std::function<void(const std::string& oldDirectory, const std::filesystem::path& file)> changePathDialog;
    std::function<void()> chooseCollectionDialog;
    std::function<void()> refillWindow;    // rebuild the collection window from the store
    std::function<void()> clearSearchMark; // the window no longer shows keyword-search results
};

struct CCatalogueEntry {
    std::filesystem::path path;
    std::string name;
    std::string baseDirectory;
    std::string description;
};

// The start-up check of the favorites file in workingDir: a file without any record is
// deleted. True when favorites exist.
bool CheckFavoritesAtStart(CPrompt& prompt, const std::filesystem::path& workingDirectory);

// Finds old records by location for a refresh: the first record whose location equals the
// path without regard to case ('\\' and '/' count as one, so files written on Windows match), a
// byte-equal location winning over one that matches only without regard to case. Built once per
// refresh, so a refresh is linear in the number of files.
class CLocationIndex {
public:
    struct CHit {
        std::size_t index;
        bool exact;
    };
    // Records are compared from offset stripPrefix.size() on, and only those starting with it
    // (change-path mode: the parts below the old base directory).
    void Build(const std::vector<CCollectionRecord>& records, std::string_view stripPrefix = {});
    std::optional<CHit> Find(std::string_view pathBelowBase) const;

private:
    std::unordered_map<std::string_view, std::size_t> m_exact;
    std::unordered_map<std::string, std::size_t> m_folded;
};

// The collection side of the main frame: the store, refresh, the catalogue and the favorites.
// The ports and hooks must outlive it. Failures are shown through the prompt and reported by the
// return value; no exception leaves it.
class CCollections {
public:
    static constexpr const char* kFavoritesFileName = "favorite_collection.inf";

    // Learns whether favorites exist (reading only; the start-up check deletes an empty file).
    CCollections(CPorts& ports, std::filesystem::path workingDirectory);

    CCollectionStore& Store() { return m_store; }
    const CCollectionStore& Store() const { return m_store; }
    CCollectionHooks& Hooks() { return m_hooks; }
    const std::filesystem::path& WorkingDirectory() const { return m_workingDir; }

    // Flags the commands set before a refresh.
    bool noQuestion = false;     // a first scan saves without asking
    bool quietCreation = false;  // no "WAS EXIST but is absent now" warning
    bool knownDirectory = false; // the preparation found a configured base directory
    bool collectionInfo = false; // the collection info command refreshes
    // Change-path mode: the collection of oldBase moves to newBase (the store's base directory).
    struct CChangePath {
        std::string oldBase;
        std::string newBase;
    };
    std::optional<CChangePath> changePath;

    // --- refresh
    bool PrepareCurrentCollection(bool quiet);
    // Record count (> 0) when the result is in force and saved; 0 when nothing was taken over
    // (no files, declined, stopped, creation cancelled); -1 on failure. Neither 0 nor -1 ever
    // removes or truncates the collection file.
    long RefreshCollection();
    bool RefreshCollectionWithUI();
    // Index of the first record of the main list matching path as CLocationIndex matches, -1
    // when none. A linear scan for single look-ups; a refresh uses its own index.
    long FindRecordByLocation(std::string_view path);
    [[nodiscard]] bool CreateOrSaveCollectionFile();

    // --- catalogue
    int BuildCatalogue(); // selected index, -1 for none
    const std::vector<CCatalogueEntry>& Catalogue() const { return m_catalogue; }
    bool AnyCollectionFiles() const;

    // --- favorites
    std::filesystem::path FavoritesPath() const { return m_workingDir / kFavoritesFileName; }
    bool FavoritesExist() const { return m_favoritesExist; }
    void CheckFavoritesAtStart();
    bool ShowFavorites();
    void LeaveFavoritesView() { m_store.SetFavoritesView(false); }
    bool AddToFavorites(std::size_t row);
    bool IsFavorite(std::string_view location) const;
    // Locations of the favorites in file order; nullopt when the file cannot be read.
    std::optional<std::vector<std::string>> FavoriteLocations() const;
    bool DeleteFavorites(std::vector<std::size_t> indexes);
    // "Delete all" of the delete dialog: "Will remove all your favorites..."; true on Yes.
    bool ConfirmDeleteAllFavorites();
    // The dialog's result: deletes every favorite whose location equals one of locations
    // (without regard to case), or all. False when nothing was deleted.
    bool DeleteFavoritesByLocation(const std::vector<std::string>& locations, bool deleteAll);
    // The favorites view's own delete of one row.
    bool DeleteFavoriteRow(std::size_t row);
    bool OpenCurrentCollection();

private:
    void Busy(bool on);
    void RemoveAllFavorites();
    void MoveFavorites(const CLocationIndex& oldIndex);

    CPorts& m_ports;
    std::filesystem::path m_workingDir;
    CCollectionStore m_store;
    CCollectionHooks m_hooks;
    std::vector<CCatalogueEntry> m_catalogue;
    bool m_favoritesExist = false;
};
