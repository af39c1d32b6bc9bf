#include "CTableEdit.h"

#include "CDataTable.h"
#include "CTableDropButton.h"
#include "CTableDropList.h"
#include "QtConvert.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QStyle>

#include <algorithm>

CTableEdit::CTableEdit(CDataTable& table, const CRect& cell, const QString& text, bool typingBlocked, bool listOpen,
                       int widestRight)
    : QLineEdit(table.EditHost()), m_table(table), m_rect(cell), m_initial(cell), m_widestRight(widestRight),
      m_blocked(typingBlocked), m_listOpen(listOpen) {
    setObjectName(QStringLiteral("tableEdit"));
    if (listOpen) m_rect.right -= table.MinColumnWidth();
    setFont(MakeQFont(table.CellFont()));
    setFrame(true);
    // A choice-only cell shows its text for selecting and copying, never for typing.
    setReadOnly(typingBlocked);
    setText(text);
    setModified(false);
    FitWidth();
    Place();
    if (listOpen) {
        m_button = new CTableDropButton(table, table.EditHost());
        m_button->setGeometry(table.ToEditHost({m_rect.right, m_initial.top, m_initial.right, m_initial.bottom}));
        m_button->show();
        m_button->raise();
    }
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

CTableEdit::~CTableEdit() { delete m_button.data(); }

void CTableEdit::Place() { setGeometry(m_table.ToEditHost(m_rect)); }

void CTableEdit::FitWidth() {
    if (m_listOpen) return;
    const QFontMetrics fm(font());
    const QMargins tm = textMargins();
    // The frame and the line edit's own inner margin of 2 on both sides, and 2 to spare.
    const int frame = hasFrame() ? style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) : 0;
    const int w = fm.horizontalAdvance(text()) + tm.left() + tm.right() + 2 * frame + 4 + 2;
    CRect r = m_rect;
    if (w > r.Width()) r.right = std::min(r.left + w, std::max(m_widestRight, m_initial.right));
    else if (r.Width() > m_initial.Width())
        r.right = std::max(r.left + w, m_initial.right);
    if (r == m_rect) return;
    m_rect = r;
    Place();
}

void CTableEdit::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_table.IsDropListOpen()) m_table.EndDropList(false, true);
        else
            m_table.EndEdit(false);
        return;
    case Qt::Key_Escape:
        if (m_table.IsDropListOpen()) m_table.EndDropList(true, true);
        else
            m_table.EndEdit(true);
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (CTableDropList* list = m_table.DropList(); list && m_table.IsDropListOpen()) {
            list->MoveSelection(e->key() == Qt::Key_Up ? -1 : 1);
            if (QListWidgetItem* item = list->currentItem()) {
                const bool modified = isModified();
                setText(item->text());
                setModified(modified);
                selectAll();
            }
            return;
        }
        break;
    default: break;
    }
    QLineEdit::keyPressEvent(e);
    if (!m_listOpen) FitWidth();
}

void CTableEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    // Our own context menu takes the focus for a moment; that ends nothing.
    if (e->reason() == Qt::PopupFocusReason) return;
    if (m_table.IsDropListOpen()) m_table.EndDropList(true);
    else if (m_table.Edit() == this)
        m_table.EndEdit(false);
}

void CTableEdit::BuildMenu(QMenu& menu) {
    const auto add = [&menu](const char* text, int id, bool enabled) {
        QAction* a = menu.addAction(QString::fromLatin1(text));
        a->setData(id);
        a->setEnabled(enabled);
        return a;
    };
    const int length = int(text().size());
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int end = hasSelectedText() ? selectionEnd() : cursorPosition();
    const bool empty = !hasSelectedText();
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    const bool canPaste = clip && clip->hasText();
    if (!m_blocked) {
        add("Undo", ID_EDIT_UNDO_CELL, isUndoAvailable());
        menu.addSeparator();
    }
    add("SelectAll", ID_EDIT_SELECTALL_CELL, !(start == 0 && (end == 0 || end == length)));
    if (!m_blocked) add("Cut", ID_EDIT_CUT_CELL, !empty);
    add("Copy", ID_EDIT_COPY_CELL, !empty);
    if (!m_blocked) {
        add("Past", ID_EDIT_PASTE_CELL, canPaste);
        add("Delete", ID_EDIT_CLEAR_CELL, !empty);
    }
}

void CTableEdit::contextMenuEvent(QContextMenuEvent* e) {
    QMenu menu(this);
    BuildMenu(menu);
    CTableMenu n;
    n.menu = &menu;
    m_table.Notify(n, TN_EDITMENU);
    if (menu.actions().isEmpty()) return;
    const QPointer<CTableEdit> self(this);
    const int id = m_table.ExecPopup(menu, e->globalPos());
    if (self && id) RunCommand(id);
}

void CTableEdit::RunCommand(int id) {
    switch (id) {
    case ID_EDIT_UNDO_CELL:
        undo();
        FitWidth();
        break;
    case ID_EDIT_SELECTALL_CELL: selectAll(); break;
    case ID_EDIT_COPY_CELL: copy(); break;
    case ID_EDIT_CUT_CELL:
        if (!m_blocked) cut();
        FitWidth();
        break;
    case ID_EDIT_PASTE_CELL:
        if (!m_blocked) paste();
        FitWidth();
        break;
    case ID_EDIT_CLEAR_CELL:
        if (!m_blocked) del();
        break;
    default:
        if (id) emit m_table.command(id);
    }
}
