#pragma once

// The in-place edit of a table cell, the drop button beside it and the drop-down list of a
// choice cell. All three are children of the table's top-level window, laid over (and below)
// the cell, so an edit can grow past the table's right edge and a list past its bottom. The
// table opens and closes them (CDataTable::BeginEdit, EndEdit, OpenDropList, EndDropList); the
// rectangles here are in the table's client coordinates.

#include "TableBasics.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPointer>

#include <string>
#include <vector>

class CDataTable;
class CTableDropButton;

// Commands of the edit's context menu.
enum EEditCommand : int {
    ID_EDIT_UNDO_CELL = 32000,
    ID_EDIT_SELECTALL_CELL = 32010,
    ID_EDIT_COPY_CELL = 32011,
    ID_EDIT_CUT_CELL = 32012,
    ID_EDIT_PASTE_CELL = 32013,
    ID_EDIT_CLEAR_CELL = 32014,
};

class CTableEdit : public QLineEdit {
    Q_OBJECT
public:
    // With listOpen the edit leaves room for the drop button at the cell's right.
    CTableEdit(CDataTable& table, const CRect& cell, const QString& text, bool typingBlocked, bool listOpen,
               int widestRight);
    ~CTableEdit() override;

    // Grows the edit to its text (up to the widest right edge) or shrinks it back towards the
    // cell; only while no list is open.
    void FitWidth();
    bool TypingBlocked() const { return m_blocked; }
    const CRect& EditRect() const { return m_rect; }
    const CRect& InitialRect() const { return m_initial; }
    CTableDropButton* Button() const { return m_button.data(); }
    // Builds the context menu as it would be shown (after the owner's TN_EDITMENU).
    void BuildMenu(class QMenu& menu);
    void RunCommand(int id);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Place();

    CDataTable& m_table;
    CRect m_rect, m_initial;
    int m_widestRight = 0;
    bool m_blocked = false;
    bool m_listOpen = false;
    QPointer<CTableDropButton> m_button;
};

// The raised box with the down arrow at the right of an edit whose list is open.
class CTableDropButton : public QWidget {
    Q_OBJECT
public:
    explicit CTableDropButton(CDataTable& table, QWidget* host);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    CDataTable& m_table;
};

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
