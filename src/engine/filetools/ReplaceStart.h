#pragma once

#include "app/Ports.h"
#include "collections/CCollectionCommands.h"
#include "filetools/CReplaceInFiles.h"

#include <functional>
#include <optional>

class CCollections;

// The start of "Replace in collection files...", before its dialog opens. With the keyboard
// focus in the collection window the dialog works on the current collection. Otherwise the user
// picks the scope in the "Choose collection" form first (Cancel ends the command): the favorites
// entry writes "wasFavorite" = 1, a collection writes its directory as "mainDir" and, when the
// collection filters its files, its extension list as "mainDirExt". The collection shown in the
// window stays the current one, so its in-place edits keep going to its own file.
// nullopt when the command ends.
std::optional<CReplaceScope> StartReplace(CPorts& ports, CCollections& collections, bool windowHasFocus,
                                          bool windowOpen,
                                          const std::function<bool(COpenCollectionDialogData&)>& chooseDialog);
