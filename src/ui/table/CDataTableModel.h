#pragma once

#include "CTableCell.h"
#include "TableBasics.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// Everything of the table that is arithmetic rather than pixels on a screen: the row buffer and
// its addressing, column and row edges, the layout's scroll ranges, the scroll requests, the
// current cell and the row marks. CDataTable owns one and adds painting, fonts, scroll bars and
// notifications; tests drive it directly.
//
// Rows are absolute (0 .. total - 1). When the buffer holds fewer rows than the table shows
// (a window), buffer row b is absolute row TopRow() + b and the owner refills the buffer after
// every vertical scroll; otherwise buffer row b is row b.
class CDataTableModel {
public:
    static constexpr int kMargin = 2;
    static constexpr int kScaleLimit = 32000; // vertical ranges this long are scaled down

    struct CSetup {
        int headerFontHeight = 0;
        int cellFontHeight = 0;
        bool rowNumbers = false;
        bool lastColumnFlag = false;
        int columns = 1;
        int totalRows = 0; // 0: as many as the buffer
        int bufferRows = 0;
        int initialKind = 0;
        int defaultWidthBasis = 0;
        // Column widths; empty means shared out over the table width. Zero entries get half
        // the default width basis.
        std::vector<int> widths;
        CRect rect;
        int vScrollWidth = 16;  // width of a vertical scroll bar
        int hScrollHeight = 16; // height of a horizontal one
    };
    void Setup(const CSetup& setup);
    bool IsSetUp() const { return m_columns > 0; }

    int Columns() const { return m_columns; }
    int TotalRows() const { return m_totalRows; }
    int BufferRows() const { return m_bufferRows; }
    bool IsWindowed() const { return m_totalRows != m_bufferRows; }
    // The buffer row that holds absolute row, or -1 when it is not buffered.
    int BufferRowOf(int row) const;
    // Absolute row of a buffer row.
    int AbsoluteRowOf(int bufferRow) const { return IsWindowed() ? m_topRow + bufferRow : bufferRow; }
    CTableCell* Cell(int row, int column); // absolute row; null when not buffered
    const CTableCell* Cell(int row, int column) const;
    CTableCell& BufferCell(int bufferRow, int column); // unchecked beyond asserts
    const CTableCell& BufferCell(int bufferRow, int column) const;
    CTableCell* HeaderCell(int column);
    const CTableCell* HeaderCell(int column) const;
    // New counts: fresh empty cells and cleared marks; scroll state and current cell stay.
    void SetRowCounts(int bufferRows, int totalRows);
    void SetColumnKind(int column, int kind);

    int HeaderHeight() const { return m_headerHeight; }
    int RowHeight() const { return m_rowHeight; }
    int RowNumberWidth() const { return m_rowNumberWidth; }
    void SetFontHeights(int headerFontHeight, int cellFontHeight);
    const std::vector<int>& Edges() const { return m_edges; }
    int ColumnLeft(int column) const;
    int RowTop(int bufferRow) const;
    CRect GetCellRect(int row, int column) const; // absolute row; -1 for the header
    int VisibleRowCount() const;
    int NextPageColumn(int column) const;
    int PrevPageColumn(int column) const;
    int GetColumnWidth(int column) const;
    void SetColumnWidth(int column, int width, bool shiftFollowing);
    const CRect& Rect() const { return m_rect; }
    void SetRect(const CRect& rect) { m_rect = rect; }
    bool LastColumnFlag() const { return m_lastColumnFlag; }
    void SetScrollBarSizes(int vScrollWidth, int hScrollHeight);
    int VScrollWidth() const { return m_vScrollWidth; }
    int HScrollHeight() const { return m_hScrollHeight; }

    // Scroll ranges for the rectangle; what the scroll bars need comes from the getters below.
    void Layout();

    int FirstColumn() const { return m_firstColumn; }
    void SetFirstColumn(int column);
    int HMax() const { return m_hMax; }
    int TopRow() const { return m_topRow; }
    int TopRowInBuffer() const { return m_topRowInBuffer; }
    void SetTopRow(int row);
    int VMax() const { return m_vMax; }
    int VisibleRows() const { return m_visibleRows; }
    double Scale() const { return m_scale; }
    int VScrollRange() const; // the scroll bar's maximum (0 .. this)
    int VScrollPos() const { return int(m_topRow / m_scale); }
    // Rows painted from the buffer: all of it, or what is left of the total from the top row.
    int DrawnRows() const;

    // The top row a vertical request leads to, or nothing when it changes nothing.
    // Codes: 0 line up, 1 line down, 2 page up, 3 page down, 4 thumb released at position.
    std::optional<int> VScrollTarget(int code, int position, bool force) const;
    // The row the thumb points at while dragged (1-based, for the "Row: %lu" tip).
    unsigned long TrackingRow(int position) const;
    // Codes: 0 left, 1 right, 2 page left, 3 page right, 5 to position. An empty result means
    // nothing; repaintOnly is a line left at column 0.
    struct CHScroll {
        bool scroll = false;
        bool repaintOnly = false;
        int column = 0;
    };
    CHScroll HScrollTarget(int code, int position) const;

    int CurrentRow() const { return m_currentRow; }
    int CurrentColumn() const { return m_currentColumn; }
    int PreviousRow() const { return m_prevRow; }
    int PreviousColumn() const { return m_prevColumn; }
    void SetCurrentCell(int row, int column);
    bool IsMarked(int row) const;
    void SetMark(int row, bool marked);
    void SetAllMarks(bool marked);
    int MarkAnchor() const { return m_markAnchor; }
    void SetMarkAnchor(int row) { m_markAnchor = row; }

    bool AnyMarked() const;

    // Input arithmetic: the widget's mouse and key handlers run on these.
    enum EHitKind : int {
        kHitNothing = 0,
        kHitCell = 1,
        kHitBorder = 2,
        kHitHeader = 3,
        kHitRowNumber = 4,
        kHitCorner = 5,
        kHitDropButton = 6,
    };
    struct CHit {
        int kind = kHitNothing;
        int row = -1; // absolute; -1 for the header
        int column = -1;
    };
    struct CBorderHit {
        bool found = false;
        // The border found (1 = after column 0), else the column edge index the point lies
        // before: 0 left of the cells, -1 past the last column.
        int index = -1;
    };
    // Client coordinates; clientWidth is where the last column ends with the last-column flag.
    CBorderHit HitTestBorder(int x, int y) const;
    CHit HitTest(int x, int y) const;
    // The height the rows of the buffer take, the limit of every hit.
    int TotalRowsHeight() const { return (m_bufferRows + 1) * m_rowHeight; }
    // A press in the row-number column on row with the current cell already cleared; previous
    // is the row that was current before the press.
    void ClickRowNumber(int row, int previous, bool shift, bool control);
    // Whether column lies wholly inside rightLimit (client x) and right of the row numbers.
    bool IsColumnFullyVisible(int column, int rightLimit) const;
    // Edge index border moved to x (client), alone or with every later edge; returns the change.
    int MoveBorder(int border, int change, bool onlyThisBorder);
    int ScrollOffset() const { return m_edges[std::size_t(m_firstColumn)] - m_edges[0]; }

private:
    void ComputeEdges(const std::vector<int>& widths, int basis);
    std::size_t Index(int bufferRow, int column) const {
        return std::size_t(bufferRow) * std::size_t(m_columns + 1) + std::size_t(column);
    }

    int m_columns = 0, m_totalRows = 0, m_bufferRows = 0, m_initialKind = 0;
    int m_headerHeight = 0, m_rowHeight = 0, m_rowNumberWidth = 0;
    bool m_rowNumbers = false, m_lastColumnFlag = false;
    int m_vScrollWidth = 16, m_hScrollHeight = 16;
    CRect m_rect;
    std::vector<int> m_edges;
    std::vector<CTableCell> m_cells;   // (buffer rows + 1) x (columns + 1)
    std::vector<CTableCell> m_header;  // columns + 1
    std::vector<std::uint8_t> m_marks; // total rows + 2
    int m_markAnchor = -1;
    int m_firstColumn = 0, m_hMax = 0;
    int m_topRow = 0, m_topRowInBuffer = 0, m_vMax = 0, m_visibleRows = 0;
    double m_scale = 1.0;
    int m_currentRow = -1, m_currentColumn = -1, m_prevRow = -1, m_prevColumn = -1;
};

// Cuts text to fit width: as many leading characters as fit followed by "...", or only ".." or
// "." where "..." itself is too wide. measure gives a text's width in pixels.
// The entries of a choice list as the drop-down list shows them: each CR ends an entry (the LF
// after it is skipped), empty entries are left out, and an entry of kMaxChoice characters ends
// the list.
inline constexpr std::size_t kMaxChoice = 254;
std::vector<std::string> SplitChoiceList(const std::string& list);

QString FitText(const QString& text, int width, const std::function<int(const QString&)>& measure);
