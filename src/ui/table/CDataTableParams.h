#pragma once

#include "TableBasics.h"

#include <vector>

class CSettings;

// Text alignments of the header and the cells.
enum ETextAlign : int { TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6 };

// How a table is to be made: filled with defaults, changed by the caller, handed to
// CDataTable::Create, which copies it.
class CDataTableParams {
public:
    // The default fonts come from the table font settings.
    explicit CDataTableParams(const CSettings& settings);
    virtual ~CDataTableParams() = default;

    // Grows the widths to column count + 1 entries; a column outside 0..column count is ignored.
    void SetColumnWidth(int column, int width);

    // Position in the parent's coordinates; a right or bottom of 0, or past the parent,
    // becomes the parent's.
    int left = 0, top = 0, right = 0, bottom = 0;
    std::vector<CColorRef> columnColors; // header cell backgrounds; missing ones 0xC0C0C0
    CColorRef backColor = 0;
    CLogFont headerFont; // height 0: the default header font
    CColorRef headerTextColor = 0;
    int headerAlign = TA_LEFT;
    CLogFont cellFont; // height 0: the default cell font
    CColorRef cellTextColor = 0;
    int cellAlign = TA_LEFT;
    int defaultWidthBasis = 0; // a zero width entry gets half of it
    int totalRows = 0;         // 0: as many as bufferRows
    int columnCount = 0;
    int bufferRows = 0;
    std::vector<int> columnWidths; // empty: shared out over the table width
    int rowNumbers = 0;
    int fixedWidths = 0;
    int lastColumn = 0;
    int wholeBackground = 0;
    int noDrag = 0;
    int parentScrollBars = 0;
    int initialKind = 0;
    CLogFont defaultCellFont;
    CLogFont defaultHeaderFont;

private:
    void FillDefaults(const CSettings* settings);
};
