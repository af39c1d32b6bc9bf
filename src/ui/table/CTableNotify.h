#pragma once

#include <string>

class CDataTable;
class QMenu;

// The codes a table reports to its owner with CDataTable::notify. The payload is the record of
// the code, passed by reference and delivered synchronously: the owner may write the fields the
// table reads back (veto, handled, replace, new top row ...).
enum ETableNotify : int {
    TN_CELLCHANGING = 64000,
    TN_CHOICECHANGED = 64001,
    TN_VSCROLL = 64002,
    TN_HSCROLL = 64003,
    TN_LBUTTONDOWN = 64004,
    TN_LBUTTONUP = 64005,
    TN_LBUTTONDBLCLK = 64006,
    TN_LAYOUT = 64007,
    TN_COLUMNRESIZED = 64008,
    TN_CELLCHANGED = 64009,
    TN_EDITMENU = 64010,
    TN_CONTEXTMENU = 64011,
    TN_BEGINEDIT = 64020,
    TN_DROP = 64040,
};

inline constexpr int TABLE_NOTIFY_ID = 64100;

struct CTableNotify {
    CDataTable* table = nullptr;
    int id = TABLE_NOTIFY_ID;
    int code = 0;
    virtual ~CTableNotify() = default;
};

// TN_CELLCHANGING and TN_CELLCHANGED. Read back: veto (after an edit) and text.
struct CTableCellChange : CTableNotify {
    int row = 0, column = 0;
    std::string text;
    int veto = 0;
    int reserved = 0;
    int origin = 0; // 0 edit, 1 drop, 2 moved away by a drag
};

// TN_CHOICECHANGED. Read back: text (stored in the cell) and typedValue.
struct CTableChoiceChange : CTableNotify {
    int row = 0, column = 0;
    std::string text;
    int index = -1;
    int typedValue = 0;
};

// TN_VSCROLL. Read back: topRow.
struct CTableVScroll : CTableNotify {
    int scrollCode = 0;
    int topRow = 0;
    int visibleRows = 0;
    int reserved0 = 0;
    int reserved1 = 1;
};

// TN_HSCROLL. Read back: firstColumn.
struct CTableHScroll : CTableNotify {
    int scrollCode = 0;
    int firstColumn = 0;
};

// TN_LBUTTONDOWN, TN_LBUTTONUP, TN_LBUTTONDBLCLK. Read back: handled (double click).
struct CTableMouse : CTableNotify {
    int keyFlags = 0;
    int x = 0, y = 0;
    int row = -1, column = -1;
    int handled = 0;
    int hitKind = 0;
};

// TN_LAYOUT.
struct CTableLayout : CTableNotify {
    int visibleRows = 0;
};

// TN_COLUMNRESIZED. Read back: change.
struct CTableColumnResized : CTableNotify {
    int column = 0, left = 0, width = 0, change = 0, onlyThisBorder = 0;
};

// TN_EDITMENU and TN_CONTEXTMENU: the owner may add or remove items.
struct CTableMenu : CTableNotify {
    QMenu* menu = nullptr;
};

// TN_BEGINEDIT. Read back: replace and text.
struct CTableBeginEdit : CTableNotify {
    int row = 0, column = 0;
    std::string text;
    int unused = 0;
    int replace = 0;
    int reserved = 0;
};

// TN_DROP.
struct CTableDrop : CTableNotify {
    CDataTable* source = nullptr;
    int dropKind = 0; // 0 cell, 1 rows
    int row = -1, column = -1;
    std::string text;
    int dropEffect = 0;
};
