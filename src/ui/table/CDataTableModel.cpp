#include "CDataTableModel.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace {
// Truncation that forgives the last bit of a division (32000 must not come out as 31999).
int Trunc(double x) { return int(std::floor(x + 1e-7)); }
} // namespace

void CDataTableModel::Setup(const CSetup& s) {
    m_columns = std::max(1, s.columns);
    m_bufferRows = std::max(0, s.bufferRows);
    m_totalRows = s.totalRows > 0 ? s.totalRows : m_bufferRows;
    m_initialKind = s.initialKind;
    m_rowNumbers = s.rowNumbers;
    m_lastColumnFlag = s.lastColumnFlag;
    m_vScrollWidth = s.vScrollWidth;
    m_hScrollHeight = s.hScrollHeight;
    m_rect = s.rect;
    SetFontHeights(s.headerFontHeight, s.cellFontHeight);
    m_rowNumberWidth = m_rowNumbers ? 2 * m_rowHeight : 0;
    ComputeEdges(s.widths, s.defaultWidthBasis);

    m_header.assign(std::size_t(m_columns) + 1, CTableCell{m_initialKind, {}, {}, 0});
    m_cells.assign(std::size_t(m_bufferRows + 1) * std::size_t(m_columns + 1), CTableCell{m_initialKind, {}, {}, 0});
    m_marks.assign(std::size_t(m_totalRows) + 2, 0);
    m_markAnchor = -1;
    m_firstColumn = m_hMax = 0;
    m_topRow = m_topRowInBuffer = m_vMax = m_visibleRows = 0;
    m_scale = 1.0;
    m_currentRow = m_currentColumn = m_prevRow = m_prevColumn = -1;
}

void CDataTableModel::ComputeEdges(const std::vector<int>& widths, int basis) {
    m_edges.assign(std::size_t(m_columns) + 1, 0);
    m_edges[0] = m_rowNumberWidth;
    const int tableWidth = m_rect.Width();
    if (!widths.empty()) {
        for (int i = 1; i <= m_columns; ++i) {
            int w = std::size_t(i - 1) < widths.size() ? widths[std::size_t(i - 1)] : 0;
            if (w == 0) w = basis / 2;
            m_edges[std::size_t(i)] = m_edges[std::size_t(i - 1)] + std::max(0, w);
        }
    } else if (m_columns == 1) {
        m_edges[1] = tableWidth / 2;
    } else {
        // Each edge is cut separately, so the widths may differ by a pixel but never drift.
        for (int i = 1; i <= m_columns; ++i)
            m_edges[std::size_t(i)] = m_edges[0] + int(double(tableWidth - m_edges[0]) / m_columns * i);
    }
}

void CDataTableModel::SetFontHeights(int headerFontHeight, int cellFontHeight) {
    m_headerHeight = std::abs(headerFontHeight) + 4 * kMargin;
    m_rowHeight = std::abs(cellFontHeight) + 2 * kMargin;
}

void CDataTableModel::SetScrollBarSizes(int vScrollWidth, int hScrollHeight) {
    m_vScrollWidth = vScrollWidth;
    m_hScrollHeight = hScrollHeight;
}

int CDataTableModel::BufferRowOf(int row) const {
    if (row < 0 || row >= m_totalRows) return -1;
    const int b = IsWindowed() ? row - m_topRow : row;
    return b >= 0 && b < m_bufferRows ? b : -1;
}

CTableCell* CDataTableModel::Cell(int row, int column) {
    return const_cast<CTableCell*>(std::as_const(*this).Cell(row, column));
}

const CTableCell* CDataTableModel::Cell(int row, int column) const {
    if (column < 0 || column >= m_columns) return nullptr;
    const int b = BufferRowOf(row);
    return b < 0 ? nullptr : &m_cells[Index(b, column)];
}

CTableCell& CDataTableModel::BufferCell(int bufferRow, int column) {
    assert(bufferRow >= 0 && bufferRow <= m_bufferRows && column >= 0 && column <= m_columns);
    return m_cells[Index(bufferRow, column)];
}

const CTableCell& CDataTableModel::BufferCell(int bufferRow, int column) const {
    assert(bufferRow >= 0 && bufferRow <= m_bufferRows && column >= 0 && column <= m_columns);
    return m_cells[Index(bufferRow, column)];
}

CTableCell* CDataTableModel::HeaderCell(int column) {
    return column >= 0 && column < m_columns ? &m_header[std::size_t(column)] : nullptr;
}

const CTableCell* CDataTableModel::HeaderCell(int column) const {
    return column >= 0 && column < m_columns ? &m_header[std::size_t(column)] : nullptr;
}

void CDataTableModel::SetRowCounts(int bufferRows, int totalRows) {
    m_bufferRows = std::max(0, bufferRows);
    m_totalRows = totalRows > 0 ? totalRows : m_bufferRows;
    m_cells.assign(std::size_t(m_bufferRows + 1) * std::size_t(m_columns + 1), CTableCell{});
    m_marks.assign(std::size_t(m_totalRows) + 2, 0);
}

void CDataTableModel::SetColumnKind(int column, int kind) {
    if (column < 0 || column >= m_columns) return;
    for (int b = 0; b < m_bufferRows; ++b) {
        CTableCell& cell = m_cells[Index(b, column)];
        cell.kind = kind;
        if (kind == kCellChoiceOrTyped) {
            cell.sortedList = 0;
            cell.text = cell.choiceList.substr(0, cell.choiceList.find("\r\n"));
        }
    }
}

int CDataTableModel::ColumnLeft(int column) const {
    if (m_edges.empty()) return 0;
    if (column < 0) return m_edges[0];
    column = std::min(column, m_columns);
    const int first = std::clamp(m_firstColumn, 0, m_columns);
    return m_edges[std::size_t(column)] - (m_edges[std::size_t(first)] - m_edges[0]);
}

int CDataTableModel::RowTop(int bufferRow) const {
    if (bufferRow < 0) return m_headerHeight;
    bufferRow = std::min(bufferRow, m_bufferRows);
    return m_headerHeight + (bufferRow - m_topRowInBuffer) * m_rowHeight;
}

CRect CDataTableModel::GetCellRect(int row, int column) const {
    if (column < 0 || column >= m_columns) return {};
    CRect r;
    r.left = ColumnLeft(column);
    r.right = ColumnLeft(column + 1);
    if (m_lastColumnFlag && column == m_columns - 1)
        r.right = std::max(r.right, m_rect.Width() - 2 - (m_vMax ? m_vScrollWidth : 0));
    if (row < 0) {
        r.top = 0;
        r.bottom = m_headerHeight;
    } else {
        const int offset = IsWindowed() ? row - m_topRow : row - m_topRowInBuffer;
        r.top = m_headerHeight + offset * m_rowHeight;
        r.bottom = r.top + m_rowHeight;
    }
    return r;
}

int CDataTableModel::VisibleRowCount() const {
    if (m_rowHeight <= 0) return 0;
    const int room = m_rect.bottom - m_headerHeight - m_rect.top - (m_hMax ? m_hScrollHeight : 0);
    return std::max(0, room / m_rowHeight);
}

int CDataTableModel::NextPageColumn(int column) const {
    const int available = m_rect.Width() - m_rowNumberWidth - (m_vMax ? m_vScrollWidth : 0);
    if (column >= m_columns) return m_columns;
    column = std::max(0, column);
    for (int k = column + 1; k <= m_columns; ++k)
        if (m_edges[std::size_t(k)] - m_edges[std::size_t(column)] >= available) return k;
    return m_columns + 1;
}

int CDataTableModel::PrevPageColumn(int column) const {
    const int available = m_rect.Width() - m_edges[0] - (m_vMax ? m_vScrollWidth : 0);
    column = std::clamp(column, 0, m_columns);
    for (int k = column - 1; k >= 1; --k)
        if (m_edges[std::size_t(column)] - m_edges[std::size_t(k)] >= available) return k;
    return 0;
}

int CDataTableModel::GetColumnWidth(int column) const {
    if (column < 0 || column >= m_columns) return 0;
    return m_edges[std::size_t(column) + 1] - m_edges[std::size_t(column)];
}

void CDataTableModel::SetColumnWidth(int column, int width, bool shiftFollowing) {
    if (column < 0 || column >= m_columns) return;
    const std::size_t c = std::size_t(column);
    const int diff = m_edges[c] + std::max(0, width) - m_edges[c + 1];
    m_edges[c + 1] += diff;
    if (shiftFollowing)
        for (std::size_t k = c + 2; k < m_edges.size(); ++k) m_edges[k] += diff;
}

void CDataTableModel::Layout() {
    if (!IsSetUp()) return;
    if (NextPageColumn(0) <= m_columns) {
        m_hMax = std::min(PrevPageColumn(m_columns) + 1, m_columns);
    } else {
        m_hMax = 0;
        m_firstColumn = 0;
    }
    m_visibleRows = VisibleRowCount();
    m_vMax = std::max(0, std::max(m_totalRows, m_bufferRows) - m_visibleRows + 1);
    if (m_vMax == 0) m_topRow = m_topRowInBuffer = 0;
    // A scroll bar of one direction can hide the last row or column: then both are needed.
    if (m_hMax && !m_vMax) {
        if (RowTop(m_bufferRows) > m_rect.bottom - m_vScrollWidth - m_rect.top) m_vMax = 1;
    } else if (m_vMax && !m_hMax) {
        if (ColumnLeft(m_columns) > m_rect.right - m_hScrollHeight - m_rect.left) m_hMax = 1;
    }
    m_scale = m_vMax >= kScaleLimit ? m_vMax / double(kScaleLimit) : 1.0;
}

int CDataTableModel::VScrollRange() const { return m_vMax >= kScaleLimit ? Trunc(m_vMax / m_scale) : m_vMax; }

void CDataTableModel::SetFirstColumn(int column) { m_firstColumn = std::clamp(column, 0, m_columns - 1); }

void CDataTableModel::SetTopRow(int row) {
    m_topRow = std::clamp(row, 0, std::max(0, std::max(m_vMax, m_totalRows - 1)));
    m_topRowInBuffer = IsWindowed() ? 0 : std::min(m_topRow, m_bufferRows);
}

int CDataTableModel::DrawnRows() const {
    if (!IsWindowed()) return m_bufferRows;
    return std::clamp(m_totalRows - m_topRow, 0, m_bufferRows);
}

std::optional<int> CDataTableModel::VScrollTarget(int code, int position, bool force) const {
    // A page keeps one row of the old view; a view of one row still moves.
    const int page = std::max(1, m_visibleRows - 1);
    switch (code) {
    case 0:
        if (m_topRow == 0) return std::nullopt;
        return m_topRow - 1;
    case 1:
        if (m_topRow >= m_vMax) return std::nullopt;
        return m_topRow + 1;
    case 2:
        if (m_topRow == 0) return std::nullopt;
        return m_topRow < page ? 0 : m_topRow - page;
    case 3:
        if (m_topRow >= m_vMax) return std::nullopt;
        return std::min(m_topRow + page, m_vMax);
    case 4: {
        if (position == Trunc(m_topRow / m_scale) && !force) return std::nullopt;
        const int top = std::min(Trunc(position * m_scale), m_totalRows - m_visibleRows);
        return std::max(0, top);
    }
    default: return std::nullopt;
    }
}

unsigned long CDataTableModel::TrackingRow(int position) const {
    const long long row = Trunc(std::max(0, position) * m_scale) + 1LL;
    return (unsigned long)std::min<long long>(row, m_totalRows);
}

CDataTableModel::CHScroll CDataTableModel::HScrollTarget(int code, int position) const {
    CHScroll r;
    switch (code) {
    case 0:
        if (m_firstColumn == 0) r.repaintOnly = true;
        else
            r = {true, false, m_firstColumn - 1};
        break;
    case 1:
        if (m_firstColumn < m_hMax) r = {true, false, m_firstColumn + 1};
        break;
    case 2:
        if (m_firstColumn != 0) r = {true, false, PrevPageColumn(m_firstColumn)};
        break;
    case 3:
        if (m_firstColumn < m_hMax) r = {true, false, std::min(NextPageColumn(m_firstColumn), m_hMax)};
        break;
    case 5: r = {true, false, std::clamp(position, 0, m_hMax)}; break;
    default: break;
    }
    return r;
}

void CDataTableModel::SetCurrentCell(int row, int column) {
    m_prevRow = m_currentRow;
    m_prevColumn = m_currentColumn;
    m_currentRow = row;
    m_currentColumn = column;
}

bool CDataTableModel::IsMarked(int row) const {
    return row >= 0 && row < m_totalRows && m_marks[std::size_t(row)] != 0;
}

void CDataTableModel::SetMark(int row, bool marked) {
    if (row >= 0 && row < m_totalRows) m_marks[std::size_t(row)] = marked ? 1 : 0;
}

void CDataTableModel::SetAllMarks(bool marked) {
    std::fill(m_marks.begin(), m_marks.begin() + m_totalRows, marked ? 1 : 0);
}

QString FitText(const QString& text, int width, const std::function<int(const QString&)>& measure) {
    // Every character is at least a pixel wide, so a text with more characters than pixels
    // does not fit, and no longer prefix needs measuring.
    if (text.size() <= width && measure(text) <= width) return text;
    QString suffix = QStringLiteral("...");
    const int dots = measure(suffix);
    if (dots > width) suffix = 2 * dots / 3 < width ? QStringLiteral("..") : QStringLiteral(".");
    // The longest prefix that fits with the suffix; widths grow with the prefix.
    qsizetype lo = 0, hi = std::min<qsizetype>(text.size(), std::max(0, width));
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (measure(text.left(mid) + suffix) <= width) lo = mid;
        else
            hi = mid - 1;
    }
    return text.left(lo) + suffix;
}
