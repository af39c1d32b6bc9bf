// The input side of CDataTableModel: hit testing, row marks, border moves, choice lists.

#include "CDataTableModel.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int kBorderSlack = 2; // a border catches the pointer this close on either side
}

bool CDataTableModel::AnyMarked() const {
    return std::any_of(m_marks.begin(),
                       m_marks.begin() + std::min<std::ptrdiff_t>(m_totalRows, std::ptrdiff_t(m_marks.size())),
                       [](std::uint8_t m) { return m != 0; });
}

CDataTableModel::CBorderHit CDataTableModel::HitTestBorder(int x, int y) const {
    CBorderHit hit;
    // The rows' own bottom counts too: with a short buffer under a tall header it lies lower.
    if (!IsSetUp() || y > std::max(TotalRowsHeight(), RowTop(DrawnRows()))) return hit;
    if (std::abs(x - m_edges[0]) < kBorderSlack) return {true, 0};
    for (int c = m_firstColumn; c < m_columns; ++c) {
        const int e = ColumnLeft(c + 1);
        if (x > e - kBorderSlack && x < e + kBorderSlack) {
            // With the last-column flag the last column runs to the window's edge: no border.
            if (!m_lastColumnFlag || c + 1 < m_columns) return {true, c + 1};
            return {false, m_columns};
        }
        if (x <= e - kBorderSlack) return {false, x >= m_rowNumberWidth ? c + 1 : 0};
    }
    hit.index = m_lastColumnFlag ? m_columns : -1;
    return hit;
}

CDataTableModel::CHit CDataTableModel::HitTest(int x, int y) const {
    CHit hit;
    if (!IsSetUp()) return hit;
    const CBorderHit border = HitTestBorder(x, y);
    if (border.found) return {kHitBorder, 0, border.index};
    // Past the last column there is no cell, whether in the header or among the rows.
    if (border.index < 0) return hit;
    const int column = border.index - 1;
    if (y < m_headerHeight) {
        if (column >= 0) return {kHitHeader, -1, column};
        return {kHitCorner, -1, 0};
    }
    // Rows scrolled out above the view are not searched.
    int bufferRow = -1;
    for (int b = m_topRowInBuffer; b < DrawnRows(); ++b) {
        if (RowTop(b + 1) >= y) {
            bufferRow = b;
            break;
        }
    }
    if (bufferRow < 0) return hit;
    const int row = AbsoluteRowOf(bufferRow);
    if (column < 0) return {kHitRowNumber, row, -1};
    const CTableCell& cell = BufferCell(bufferRow, column);
    if (cell.kind == kCellChoiceOrTyped || cell.kind == kCellChoiceOnly) {
        if (x > GetCellRect(row, column).right - m_hScrollHeight) return {kHitDropButton, row, column};
    }
    return {kHitCell, row, column};
}

void CDataTableModel::ClickRowNumber(int row, int previous, bool shift, bool control) {
    if (row < 0 || row >= m_totalRows) return;
    const bool anchorValid = m_markAnchor >= 0 && m_markAnchor < m_totalRows;
    if (row == previous) {
        SetMark(row, !IsMarked(row));
        m_currentRow = row;
        m_markAnchor = row;
    } else if (shift && anchorValid) {
        SetAllMarks(false);
        for (int r = std::min(m_markAnchor, row); r <= std::max(m_markAnchor, row); ++r) SetMark(r, true);
    } else if (control) {
        SetMark(row, !IsMarked(row));
    } else {
        m_currentRow = row;
        m_markAnchor = row;
    }
}

bool CDataTableModel::IsColumnFullyVisible(int column, int rightLimit) const {
    if (column < m_firstColumn || column >= m_columns) return false;
    return ColumnLeft(column + 1) <= rightLimit;
}

int CDataTableModel::MoveBorder(int border, int change, bool onlyThisBorder) {
    if (border < 1 || border > m_columns) return 0;
    const std::size_t b = std::size_t(border);
    if (onlyThisBorder) {
        m_edges[b] += change;
    } else {
        for (std::size_t k = b; k < m_edges.size(); ++k) m_edges[k] += change;
    }
    return change;
}

std::vector<std::string> SplitChoiceList(const std::string& list) {
    std::vector<std::string> items;
    std::string item;
    const auto add = [&items, &item] {
        if (!item.empty()) items.push_back(item);
        item.clear();
    };
    for (std::size_t i = 0; i < list.size(); ++i) {
        const char c = list[i];
        if (c == '\r') {
            add();
            if (i + 1 < list.size() && list[i + 1] == '\n') ++i;
            continue;
        }
        item.push_back(c);
        if (item.size() >= kMaxChoice) {
            add();
            return items;
        }
    }
    add();
    return items;
}
