#pragma once

// The in-place edit of a table cell. Like the drop button beside it and the drop-down list of a
// choice cell, it is a child of the table's top-level window, laid over the cell, so it can grow
// past the table's right edge. The table opens and closes it (CDataTable::BeginEdit, EndEdit);
// the rectangles here are in the table's client coordinates.

#include "CTableDropButton.h"
#include "TableBasics.h"

#include <QLineEdit>
#include <QPointer>

class CDataTable;

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
