#pragma once

#include <string>
#include <string_view>
#include <vector>

class CPrompt;

// The rules of the "New Collection", "Open collection" and "Collection Info" dialogs. The
// windows only draw the dialogs and call these.

// "New Collection" OK: the directory text must be an absolute path. false after the message
// (the dialog stays open).
bool CheckNewCollectionDirectory(CPrompt& prompt, std::string_view text);

// Characters a collection name may not hold: the ones the dialog always refused, and '#', CR
// and LF, which would break the collection file's header line.
bool IsForbiddenNameCharacter(char c);
constexpr std::size_t kMaxCollectionNameLength = 256;

// A name as typed so far: false after "It's not allowed symbol." (the dialog then puts back
// the previous text, caret and selection).
bool CheckTypedCollectionName(CPrompt& prompt, std::string_view name);
// Description and extension list as typed: '#', CR and LF cannot be stored in the header.
bool CheckTypedCollectionField(CPrompt& prompt, std::string_view text);
// "Collection Info" OK: a name of 1 to 256 allowed characters, and header-safe description and
// extension list. false after the message.
bool CheckCollectionInfo(CPrompt& prompt, std::string_view name, std::string_view description,
                         std::string_view extensions);
// The read-only summary: name, base directory and the collection file's name without its path.
std::string CollectionInfoSummary(std::string_view name, std::string_view baseDirectory,
                                  std::string_view collectionFile);

// "Open collection": the first catalogue entry with this name (exact comparison), or -1.
int FindCatalogueEntryByName(const std::vector<std::string>& names, std::string_view name);
// The static text for a selected entry: its base directory (or the favorites note) and its
// description.
std::string CatalogueEntryText(std::string_view baseDirectory, std::string_view description);
// The static text when the dialog opens.
std::string OpenDialogInitialText(bool catalogueEmpty, bool chooseMode, bool preselected);
std::string OpenDialogTitle(bool chooseMode);
// OK pressed with selection (-1 for none): false after "Select any collection, please.".
bool CheckOpenSelection(CPrompt& prompt, int selection);

// "Delete from favorite": "Delete" with selected entries (0 for none): false after "Select some
// line for delete, please." (the dialog stays open).
bool CheckFavoritesSelection(CPrompt& prompt, std::size_t selected);
