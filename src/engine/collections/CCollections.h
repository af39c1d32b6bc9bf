#pragma once

#include "collections/CCollectionStore.h"
#include "collections/CLocationIndex.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
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

// How one refresh runs. Handed to each refresh by value, so no mode outlives its call.
struct CRefreshOptions {
    bool noQuestion = false;     // a changed result is saved without asking (a first scan)
    bool quietCreation = false;  // no "WAS EXIST but is absent now" warning before creating
    bool knownDirectory = false; // the base directory is a configured one (the preparation sets it too)
    bool collectionInfo = false; // the collection info command refreshes: no question, no creation dialog
    // Change-path mode: the collection of oldBase moves to newBase, keeping its records.
    struct CChangePath {
        std::string oldBase;
        std::string newBase;
    };
    std::optional<CChangePath> changePath;
};

enum class ERefreshOutcome {
    Saved,     // the new result is in force and its file written
    Unchanged, // the scan matched the file: the loaded collection is in force, nothing written
    Declined,  // No at the save question, or the creation dialog cancelled
    Stopped,   // Stop pressed during the scan
    Failed,    // unreadable collection file, a folder answered No, no file found, a refused move, a failed write
};
// records: the store's record count afterwards (the old collection's when the result was not taken).
struct CRefreshResult {
    ERefreshOutcome outcome = ERefreshOutcome::Failed;
    std::size_t records = 0;
    bool InForce() const { return outcome == ERefreshOutcome::Saved || outcome == ERefreshOutcome::Unchanged; }
};

// What the collection window shows and the settings that name it. A command takes it before it
// changes anything, so a refresh that is not taken can give all of it back together.
struct CShownCollection {
    std::string baseDirectory;
    std::string extensionList;
    std::filesystem::path filePath;
    bool favoritesView = false;
    std::optional<std::vector<std::size_t>> foundList; // the row map, when a found list is shown
    std::string mainDir;
    std::string mainDirExt;
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

    CShownCollection TakeShown() const;
    // Puts store and settings back as taken and reloads that collection's file, so the main list
    // is again what the file holds.
    void RestoreShown(const CShownCollection& shown);

    // Refresh
    // The configured collection (or the default one) becomes the store's; knownDirectory is set
    // when a configured folder was found. On failure the store is left as it was.
    bool PrepareCurrentCollection(bool quiet, bool& knownDirectory);
    bool PrepareCurrentCollection(bool quiet);
    // Scan, confirm and commit for the store's base directory (or the change path's new one).
    // Only Saved writes; no outcome ever removes or truncates a collection file.
    CRefreshResult RefreshCollection(const CRefreshOptions& options);
    // The command wrapper: preparation (outside change-path mode), wait cursor and disabled
    // windows, refill on success. When the result is not taken the store and settings go back
    // to restoreTo (by default: as they were when this was called). True when in force.
    bool RefreshCollectionWithUI(const CRefreshOptions& options = {});
    bool RefreshCollectionWithUI(const CRefreshOptions& options, const CShownCollection& restoreTo);
    // Index of the first record of the main list matching path as CLocationIndex matches, -1
    // when none. A linear scan for single look-ups; a refresh uses its own index.
    long FindRecordByLocation(std::string_view path) const;

    // Catalogue
    int BuildCatalogue(); // selected index, -1 for none
    const std::vector<CCatalogueEntry>& Catalogue() const { return m_catalogue; }
    bool AnyCollectionFiles() const;

    // Favorites
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
    // The favorites view lost its last record: the file goes and the view closes.
    void RemoveAllFavorites();
    bool OpenCurrentCollection(const CRefreshOptions& options = {});

private:
    struct CScan {
        // While the walk meets the old records in their order, byte for byte, only their number
        // is kept; the first file that differs turns them into records of their own. So an
        // unchanged tree costs no record, and no memory, per file.
        std::size_t inStep = 0;
        bool stepping = false;
        std::vector<CCollectionRecord> records;
        std::size_t Count() const { return inStep + records.size(); }
        void LeaveStep(const std::vector<CCollectionRecord>& old);
        std::size_t oldFound = 0;
        bool changed = false;
        std::optional<ERefreshOutcome> ended; // Stopped or Failed: the walk did not finish
    };
    CScan ScanBaseDirectory(const std::string& base, const CRefreshOptions& options, const CLocationIndex* oldIndex);
    ERefreshOutcome ConfirmRefresh(const CScan& scan, std::size_t oldCount, const CRefreshOptions& options);
    ERefreshOutcome CommitRefresh(CScan scan, std::size_t oldCount, bool confirmed, const CRefreshOptions& options,
                                  const std::filesystem::path& oldPath, const CLocationIndex& oldIndex);
    [[nodiscard]] ERefreshOutcome CreateOrSaveCollectionFile(const CRefreshOptions& options);
    // The wrapper past the preparation.
    bool RunRefresh(const CRefreshOptions& options, const CShownCollection& restoreTo);
    void Busy(bool on);
    void MoveFavorites(const CLocationIndex& oldIndex, const std::string& oldBase);

    CPorts& m_ports;
    std::filesystem::path m_workingDir;
    CCollectionStore m_store;
    CCollectionHooks m_hooks;
    std::vector<CCatalogueEntry> m_catalogue;
    bool m_favoritesExist = false;
};
