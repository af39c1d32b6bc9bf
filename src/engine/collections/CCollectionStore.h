#pragma once

#include "collections/CParseExt.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class CPrompt;

// One record of a collection: line i + 2 of the collection file is record i.
struct CCollectionRecord {
    std::string location;
    std::string description;
    std::string groups; // names separated by ';'
};

// What a single-record rewrite did. Only Written changed the file.
enum class ERecordWrite {
    Written,
    Refused,     // a field held '#', CR or LF: nothing changed, in memory or on disk
    NoRecord,    // the row names no record: nothing changed
    Unreadable,  // the collection file could not be read: nothing written
    NotFound,    // the file no longer holds that record's line: nothing written
    WriteFailed, // the write was refused or failed (its own messages were shown); old file kept
};

// The current collection in memory and its collection file: header, main list, known groups,
// and the row map of the collection window (row -> record index while a found list is shown).
//
// File format, one line each, CR LF: "#name#base directory#description#extension list", then
// "location#description#group list" per record. Loading also takes LF-only files and fields or
// lines of any length; record lines are counted the same way by loading and by the rewrites, so
// record i is always the i-th record line after the header.
//
// Failure values: counts are 0 and bools false after a failure; every message goes through the
// prompt handed in at construction, which must outlive the store. Not thread-safe.
class CCollectionStore {
public:
    static constexpr const char* kNonameCollection = "Noname collection";

    CCollectionStore(CPrompt& prompt, std::filesystem::path workingDirectory);

    // Names of collection files
    // D without ':', '/' and '\\': "/home/u/Docs" gives "homeuDocs". A name that would make the
    // file name longer than a file system allows (255 bytes) is cut to its first bytes (200 in
    // all) ending in '~' and a hash of the whole of D, so every folder still gets a file and
    // names that fit never change.
    static std::string MakeCollectionFileName(std::string_view baseDirectory);
    std::filesystem::path GetCollectionFilePath(std::string_view baseDirectory) const;
    const std::filesystem::path& WorkingDirectory() const { return m_workingDir; }

    // Text checks
    // False when text holds '#', CR or LF, which no field of the file can carry.
    static bool IsStorableField(std::string_view text);
    // Shows the refusal message and returns false when text is not storable.
    bool CheckStorable(std::string_view text);

    // Loading and parsing
    // Reads the collection file into the main list; the record count, 0 when the file is
    // absent (absent flag set, no message), unreadable or empty. The filter is rebuilt from the
    // header; with the file absent or unreadable it is left unparsed.
    std::size_t LoadCollection();
    // Fills HeaderFields() from the first line ("Noname collection", "", "", "" for missing or
    // empty fields); the offset of line 2, nullopt for an empty text.
    std::optional<std::size_t> ParseCollectionHeader(std::string_view text);
    const std::array<std::string, 4>& HeaderFields() const { return m_header; }
    // The record lines of a whole file text (the non-empty lines after line 1), and where the
    // first line ends (before its CR or LF).
    static std::vector<std::string_view> SplitRecordLines(std::string_view text);
    static std::size_t HeaderLineEnd(std::string_view text);
    // A record line (without its line end) split at the first two '#'.
    static CCollectionRecord ParseRecordLine(std::string_view line);

    // Writing
    // Header and every record, written whole and atomically; false after a write failure.
    [[nodiscard]] bool WriteCollectionFile();
    // Replaces line 1 only. "Can not open this collection file for writing." and false when the
    // file cannot be read.
    [[nodiscard]] bool WriteCollectionHeader();
    // The in-place edits of one displayed row; each refuses '#', CR and LF first. Past that
    // check the main list keeps the new text even when the file could not take it, as the
    // table already shows it.
    [[nodiscard]] ERecordWrite SaveChanges(std::size_t row, std::string_view description, std::string_view groups);
    [[nodiscard]] ERecordWrite SetGroupMarker(std::size_t row, std::string_view groups);
    // Appends the names not yet in the row's group list (joined with "; "), adds them to the
    // known groups and rewrites the line. The new group text (unchanged and not written when
    // every name is there already); nullopt after a refused name or a failed rewrite.
    std::optional<std::string> AddGroupsToRecord(std::size_t row, const std::vector<std::string>& names);
    // Removes the k-th name of the row's group list (SplitGroups order; the group menu's
    // 13000 + k), joins the rest with "; " and rewrites the line. The new group text, nullopt
    // when the row has no k-th name or nothing was written.
    std::optional<std::string> RemoveGroupAt(std::size_t row, std::size_t k);
    // RemoveGroupAt for the first name that FindGroup finds; nullopt, and nothing written, when
    // the row does not have it.
    std::optional<std::string> RemoveGroupFromRecord(std::size_t row, std::string_view name);
    // The position of name in SplitGroups(groups): the first byte-equal name, else the first
    // equal without regard to case. name is trimmed as the list's names are.
    static std::optional<std::size_t> FindGroup(std::string_view groups, std::string_view name);
    // Record index's own line: removed from the file, then the record from memory (the row map
    // returns to the whole list); or given a new location, after which the record in memory is
    // the line as the file now holds it. Only the record's line changes, so what another program
    // wrote into other lines stays. Not Written: memory and file keep the record as it was.
    [[nodiscard]] ERecordWrite RemoveRecordLine(std::size_t index);
    [[nodiscard]] ERecordWrite SetRecordLocation(std::size_t index, std::string_view location);
    // The text of the whole file as WriteCollectionFile writes it.
    std::string FormatCollectionFile() const;
    std::string FormatHeaderLine() const; // without CR LF

    // The collection
    const std::string& Name() const { return m_name; }
    const std::string& BaseDirectory() const { return m_baseDir; }
    const std::string& Description() const { return m_description; }
    const std::string& ExtensionList() const { return m_extensionList; }
    // Name and description refuse '#', CR and LF (message, false).
    bool SetName(std::string_view name);
    bool SetDescription(std::string_view description);
    void SetBaseDirectory(std::string_view dir) { m_baseDir.assign(dir); }
    // The configured list; the filter is built from it by the next refresh or load.
    void SetExtensionList(std::string_view list) { m_extensionList.assign(list); }
    CParseExt& Filter() { return m_filter; }
    const CParseExt& Filter() const { return m_filter; }

    const std::filesystem::path& CollectionFilePath() const { return m_filePath; }
    void SetCollectionFilePath(std::filesystem::path path) { m_filePath = std::move(path); }
    bool IsAbsent() const { return m_absent; }
    void SetAbsent(bool absent) { m_absent = absent; }
    bool IsFavoritesView() const { return m_favoritesView; }
    // The favorites file has no base directory: its header never carries one.
    void SetFavoritesView(bool on) { m_favoritesView = on; }
    // No collection is current any more (the collection window closed): base directory, file
    // path, favorites view, main list and row map are emptied, so the next command starts from
    // the configured collection and no edit can reach a file the window no longer shows.
    void ResetCurrentCollection();

    // Main list and known groups
    const std::vector<CCollectionRecord>& Records() const { return m_records; }
    std::size_t RecordCount() const { return m_records.size(); }
    // Replaces the main list (refresh) and returns the old one; known groups are merged anew.
    std::vector<CCollectionRecord> ReplaceRecords(std::vector<CCollectionRecord> records);
    // Removes records by index (favorites view); the row map returns to the whole list.
    void EraseRecords(std::vector<std::size_t> indexes);
    const std::vector<std::string>& KnownGroups() const { return m_knownGroups; }
    // Splits at ';', trims blanks (spaces only, see TrimGroupName), ignores names of 0 or more
    // than 255 characters.
    static std::vector<std::string> SplitGroups(std::string_view groups);
    static std::string_view TrimGroupName(std::string_view name);
    void MergeKnownGroups(std::string_view groups);
    void AddKnownGroup(std::string_view name);

    // Row map
    // A found list: displayed row r shows record foundList[r]. Indexes past the main list are
    // dropped.
    void ShowFoundList(std::vector<std::size_t> foundList);
    void ShowWholeList();
    bool IsShowingFoundList() const { return m_showsFound; }
    const std::vector<std::size_t>& FoundList() const { return m_found; }
    std::size_t RowCount() const { return m_showsFound ? m_found.size() : m_records.size(); }
    std::optional<std::size_t> RecordOfRow(std::size_t row) const;

private:
    struct CLineSpan {
        std::size_t begin;
        std::size_t end;  // before the line end
        std::size_t next; // after it
    };
    // Reads the file into text and finds record index's line, which must still start with that
    // record's location. Written when found; else the reason, after its message.
    [[nodiscard]] ERecordWrite FindRecordLine(std::size_t index, std::string_view notFoundText,
                                              bool messageWhenUnreadable, std::string& text, CLineSpan& line);
    [[nodiscard]] ERecordWrite RewriteRecord(std::size_t index, const char* notFoundText, bool messageWhenUnreadable);
    void ClearKnownGroups();

    CPrompt& m_prompt;
    std::filesystem::path m_workingDir;
    std::filesystem::path m_filePath;
    bool m_absent = false;
    bool m_favoritesView = false;

    std::string m_name;
    std::string m_baseDir;
    std::string m_description;
    std::string m_extensionList;
    CParseExt m_filter;
    std::array<std::string, 4> m_header;

    std::vector<CCollectionRecord> m_records;
    std::vector<std::string> m_knownGroups;
    std::unordered_set<std::string> m_knownGroupKeys; // upper-cased

    std::vector<std::size_t> m_found;
    bool m_showsFound = false;
};
