// CDataTable: opening and closing the in-place edit and the drop-down list.

#include "CDataTable.h"
#include "CTableDropList.h"
#include "CTableEdit.h"

#include "QtConvert.h"

#include <QApplication>

namespace {
constexpr std::size_t kMaxEditText = 1023;
constexpr int kScreenEdgeRoom = 10;

// At most max bytes, never ending inside a UTF-8 sequence.
std::string CutText(std::string text, std::size_t max) {
    if (text.size() <= max) return text;
    std::size_t n = max;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    text.resize(n);
    return text;
}

void Discard(QWidget* w) {
    if (!w) return;
    w->hide();
    w->deleteLater();
}
} // namespace

CTableEdit* CDataTable::Edit() const { return m_edit.data(); }
CTableDropList* CDataTable::DropList() const { return m_list.data(); }

QWidget* CDataTable::EditHost() const { return window(); }

QRect CDataTable::ToEditHost(const CRect& r) const {
    return r.ToQRect().translated(viewport()->mapTo(EditHost(), QPoint(0, 0)));
}

void CDataTable::CommitOpenEditors() {
    if (m_listOpen) EndDropList(false);
    else if (m_editOpen)
        EndEdit(false);
}

CTableEdit* CDataTable::BeginEdit(int row, int column) {
    if (!m_created) return nullptr;
    const CTableCell* cell = m_model.Cell(row, column);
    if (!cell || cell->kind == kCellReadOnly) return nullptr;
    if (m_editOpen) EndEdit(false);
    cell = m_model.Cell(row, column); // the owner may have changed the table meanwhile
    if (!cell) return nullptr;
    m_editTimer->stop();
    m_tip.HideTip();

    const CRect rect = m_model.GetCellRect(row, column);
    const QPoint origin = viewport()->mapTo(EditHost(), QPoint(0, 0));
    int widest = EditHost()->width() - kScreenEdgeRoom - origin.x();
    if (m_listOpen && m_list) widest = rect.right - MinColumnWidth();
    Discard(m_edit.data());
    m_edit = new CTableEdit(*this, rect, ToQ(cell->text), cell->kind == kCellChoiceOnly, m_listOpen, widest);
    m_editOpen = true;
    m_editRow = row;
    m_editColumn = column;

    CTableBeginEdit n;
    n.row = row;
    n.column = column;
    n.text = CutText(cell->text, kMaxEditText);
    Notify(n, TN_BEGINEDIT);
    if (n.replace && m_edit && m_editOpen) {
        if (CTableCell* c = m_model.Cell(row, column)) c->text = n.text;
        m_edit->setText(ToQ(n.text));
        m_edit->selectAll();
        m_edit->FitWidth();
        viewport()->update();
    }
    return m_editOpen ? m_edit.data() : nullptr;
}

void CDataTable::EndEdit(bool cancel) {
    if (!m_editOpen) return;
    m_editOpen = false;
    const QPointer<CTableEdit> edit = m_edit;
    m_edit = nullptr;
    CTableCellChange n;
    bool committed = false;
    if (edit && !cancel && edit->isModified()) {
        n.row = m_editRow;
        n.column = m_editColumn;
        n.text = CutText(FromQ(edit->text()), kMaxEditText);
        n.origin = 0;
        Notify(n, TN_CELLCHANGING);
        if (!n.veto)
            if (CTableCell* c = m_model.Cell(m_editRow, m_editColumn)) c->text = n.text;
        committed = true;
    }
    if (edit) edit->setModified(false);
    Discard(edit.data());
    m_editRow = m_editColumn = -1;
    if (committed) Notify(n, TN_CELLCHANGED);
    if (m_parent) m_parent->setFocus(Qt::OtherFocusReason);
    viewport()->update();
}

void CDataTable::OpenDropList(int row, int column) {
    if (!m_created) return;
    const CTableCell* cell = m_model.Cell(row, column);
    if (!cell || cell->kind == kCellReadOnly) return;
    if (m_listOpen) EndDropList(false);
    if (m_editOpen) EndEdit(false);
    cell = m_model.Cell(row, column);
    if (!cell) return;
    m_editTimer->stop();

    const CRect rect = m_model.GetCellRect(row, column);
    const QPoint origin = viewport()->mapTo(EditHost(), QPoint(0, 0));
    const int limit = EditHost()->height() - origin.y();
    Discard(m_list.data());
    m_list = new CTableDropList(*this, rect, cell->choiceList, cell->sortedList != 0, limit);
    m_listOpen = true;
    m_listRow = row;
    m_listColumn = column;
    m_typedValues = cell->kind == kCellChoiceOrTyped;
    const std::string text = cell->text;
    BeginEdit(row, column);
    if (m_list && !text.empty()) {
        const int at = m_list->FindPrefix(ToQ(text));
        if (at >= 0) {
            m_list->setCurrentRow(at);
            m_list->scrollToItem(m_list->item(at));
        }
    }
}

void CDataTable::EndDropList(bool cancel, bool fromEdit) {
    if (!m_listOpen) return;
    m_listOpen = false;
    const QPointer<CTableDropList> list = m_list;
    m_list = nullptr;
    if (!cancel) {
        CTableChoiceChange n;
        n.row = m_listRow;
        n.column = m_listColumn;
        n.index = list ? list->currentRow() : -1;
        if (list && n.index >= 0 && list->item(n.index)) n.text = FromQ(list->item(n.index)->text());
        else if (m_edit)
            n.text = FromQ(m_edit->text());
        if (m_typedValues && fromEdit && m_edit) n.text = FromQ(m_edit->text());
        n.typedValue = m_typedValues ? 1 : 0;
        Notify(n, TN_CHOICECHANGED);
        if (CTableCell* c = m_model.Cell(m_listRow, m_listColumn)) {
            c->text = n.text;
            if (n.typedValue && !n.text.empty() && (!list || list->FindExact(ToQ(n.text)) < 0)) {
                if (!c->choiceList.empty()) c->choiceList += "\r\n";
                c->choiceList += n.text;
            }
        }
        // The edit shows what was chosen, so ending it cannot put an older typed text back.
        if (m_edit && m_editOpen && m_editRow == m_listRow && m_editColumn == m_listColumn) {
            const bool modified = m_edit->isModified();
            m_edit->setText(ToQ(n.text));
            m_edit->setModified(modified);
        }
    } else if (m_editOpen && m_edit && m_edit->isModified()) {
        if (const CTableCell* c = m_model.Cell(m_editRow, m_editColumn)) m_edit->setText(ToQ(c->text));
        m_edit->setModified(false);
    }
    Discard(list.data());
    m_listRow = m_listColumn = -1;
    m_typedValues = false;
    if (m_editOpen) EndEdit(false);
    if (m_parent) m_parent->setFocus(Qt::OtherFocusReason);
    viewport()->update();
}
