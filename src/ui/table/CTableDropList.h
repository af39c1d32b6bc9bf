#pragma once

#include "TableBasics.h"

#include <QListWidget>

#include <string>

class CDataTable;

// The drop-down list of a choice cell: a child of the table's top-level window below the cell,
// so it can reach past the table's bottom. The table opens and closes it with OpenDropList and
// EndDropList; the edit keeps the keyboard and moves the list's selection.
class CTableDropList : public QListWidget {
    Q_OBJECT
public:
    // cell: the cell's rectangle in the table's client coordinates; limit: the lowest y (same
    // coordinates) the list may reach.
    CTableDropList(CDataTable& table, const CRect& cell, const std::string& choices, bool sorted, int limit);

    // Rows the list shows for count items under a cell at cellTop of height h.
    static int ShownRows(int count, int cellTop, int h, int limit);
    int ShownRowCount() const { return m_shown; }
    // The item that starts with text (no case), as a typed prefix finds it; -1 when none.
    int FindPrefix(const QString& text) const;
    // The item equal to text (no case); -1 when none.
    int FindExact(const QString& text) const;
    // Moves the selection by delta, within the items.
    void MoveSelection(int delta);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CDataTable& m_table;
    int m_shown = 0;
};
