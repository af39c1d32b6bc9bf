#pragma once

#include <string>

// Cell kinds: what the user may do with a cell.
enum ECellKind : int {
    kCellEdit = 0, // editable text
    kCellReadOnly = 1,
    kCellChoiceOrTyped = 2, // drop-down list that also takes a typed value
    kCellChoiceOnly = 3,    // drop-down list only
};

// One cell of the table, header cells included.
struct CTableCell {
    int kind = kCellEdit;
    std::string text;
    std::string choiceList; // entries separated by "\r\n"
    int sortedList = 0;     // non-zero: the drop-down list shows the choices sorted
};
