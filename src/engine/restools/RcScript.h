#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The resource groups a parse or compare looks at.
struct CRcGroups {
    bool strings = false;
    bool dialogs = false;
    bool menus = false;
    bool Any() const { return strings || dialogs || menus; }
};

// A dialog control, menu item, popup or string-table entry. [start, end) is the part of the
// text the compare colours for it.
struct CRcEntry {
    std::string id;
    std::string caption; // the string text for a string-table entry
    std::size_t start = 0;
    std::size_t end = 0;
};

// A dialog or menu block.
struct CRcBlock {
    std::string name;
    std::size_t nameEnd = 0;
    std::vector<CRcEntry> entries;
    std::size_t endStart = 0; // the END that closes it (text size when missing)
    std::size_t endAfter = 0; // just after that END
};

struct CRcLists {
    std::vector<CRcBlock> dialogs;
    std::vector<CRcBlock> menus;
    std::vector<CRcEntry> strings;
    void Clear() { *this = {}; }
};

struct CRcBlockSink {
    std::function<void(CRcBlock&&)> dialog;
    std::function<void(CRcBlock&&)> menu;
    std::function<void(std::vector<CRcEntry>&&)> strings;
};

// Walks an RC script byte by byte and hands each DIALOG, DIALOGEX, MENU and STRINGTABLE block of
// the chosen groups to sink. DIALOG, MENU and STRINGTABLE need "DISCARDABLE" (after an optional
// "PRELOAD") in their header, else they are passed over. A text that ends inside a block is
// parsed as far as it goes.
void WalkRcBlocks(std::string_view text, const CRcGroups& groups, const CRcBlockSink& sink);

// The lists of a second RC script, for the identifier search and the compare. Menu item ids carry
// their menu's name appended; the statics of a dialog are numbered IDC_STATIC_add_0, _1, ...
CRcLists ParseRcLists(std::string_view text, const CRcGroups& groups);
