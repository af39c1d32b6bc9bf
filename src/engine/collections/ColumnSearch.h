#pragma once

#include "collections/CCollectionStore.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The three column searches of the collection window, on the columns of the main list.

// A term of the description box and whether it is joined to the next one by '+' (true) or by
// '|' / is the last term (false).
struct CDescriptionTerm {
    std::string text; // upper case
    bool andNext = false;
    bool operator==(const CDescriptionTerm&) const = default;
};

// Splits the description box text at '+' and '|'; blanks around the terms are dropped and the
// terms upper-cased. A text ending in an operator keeps that operator on its last term.
std::vector<CDescriptionTerm> SplitDescriptionTerms(std::string_view text);

// Evaluates the terms left to right against an upper-cased description. The rules are kept as
// users know them: "A+B" needs both, "A|B" either, and "A|B+C" matches exactly what holds A.
bool MatchDescriptionTerms(const std::vector<CDescriptionTerm>& terms, std::string_view upperDescription);

// The file box text as a pattern: upper case, blanks trimmed, one final '.' dropped.
std::string MakeFilePattern(std::string_view text);
// An empty pattern or one of only '*' and '.' stands for every file.
bool IsMatchAllPattern(std::string_view pattern);
// Matches an upper-case pattern against the beginning of an upper-case text: '?' is any one
// character, '*' searches the literal segment after it further on, a closing '*' takes any rest
// that is not empty ("ABC*" does not match "ABC"). A segment after a '*' is
// searched again from where the previous segment was found, so "*AB*AB" matches a single AB
// (kept: users' stored habits rely on it).
bool MatchFilePattern(std::string_view pattern, std::string_view text);

// What the collection window is to do after a column search.
enum class EColumnSearchResult {
    ShowWholeList, // switch to the whole main list and show it
    ShowFoundList, // switch to the found list and show it
    NotFound,      // show "Not found" under the box; the rows stay
    NoChange,      // nothing to do
};
struct CColumnSearchOutcome {
    EColumnSearchResult result = EColumnSearchResult::NoChange;
    std::vector<std::size_t> found; // record indexes in record order, for ShowFoundList
};

CColumnSearchOutcome SearchGroupColumn(const std::vector<CCollectionRecord>& records, std::string_view text);
CColumnSearchOutcome SearchDescriptionColumn(const std::vector<CCollectionRecord>& records, std::string_view text);
// locations are compared from the relative path on (base directory + 1 character), or whole
// while the favorites are shown. foundListShown tells whether a match-all pattern has a found
// list to leave.
CColumnSearchOutcome SearchFilesColumn(const std::vector<CCollectionRecord>& records, std::string_view baseDirectory,
                                       bool favoritesShown, bool foundListShown, std::string_view text);

// The column of the box whose search gave the outcome: 0 file name, 1 description, 2 group.
enum : int { kFilesColumn = 0, kDescriptionColumn = 1, kGroupColumn = 2 };
