#pragma once

#include <functional>
#include <string>

class CCollections;
class CSettings;
struct COpenCollectionDialogData;

// The main frame's own collection flows, beside the collection commands.

// What the frame says about the collection a refresh would open: the shown collection's name
// while the collection window is open, else the header of the favorites file or of the current
// collection's file. Reads only; a missing collection or file gives its warning text (for the
// tip) or an empty text.
std::string GetCollectionInformationText(const CCollections& collections, const CSettings& settings, bool windowOpen,
                                         bool forTip);
// The information tip over the Refresh button, from the text above for the tip.
std::string RefreshButtonTipText(const std::string& information);

// Key searching and Replace in collection files, started while the collection window is not the
// active window: the "Open collection" chooser for the current collection, and the chosen one
// becomes current ("wasFavorite" 1 for the favorites, else "mainDir" and "wasFavorite" 0). False
// when the dialog was cancelled or is missing.
bool ChooseCollectionFirst(CCollections& collections, CSettings& settings,
                           const std::function<bool(COpenCollectionDialogData&)>& openDialog);
