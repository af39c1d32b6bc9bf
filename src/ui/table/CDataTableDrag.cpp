// CDataTable: drag and drop of a cell's text or of the marked rows, within a table, between
// tables in this process, and out to other programs as text.

#include "CDataTable.h"

#include "CTableDropList.h"
#include "CTableEdit.h"
#include "QtConvert.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QHash>
#include <QMimeData>

namespace {
constexpr int kNoDrag = 10;
constexpr int kBlockSize = 12;
constexpr std::size_t kMaxDragText = 255;
constexpr int kLeftEdgeRoom = 10;
constexpr int kBottomEdgeRoom = 10;

QHash<quint32, CDataTable*>& Registry() {
    static QHash<quint32, CDataTable*> tables;
    return tables;
}

// The table a drag was last over, to notice when it moves on to another one.
QPointer<CDataTable> s_lastTarget;

std::string CutDragText(std::string text) {
    if (text.size() <= kMaxDragText) return text;
    std::size_t n = kMaxDragText;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    text.resize(n);
    return text;
}

void PutIdentity(QByteArray& block, int at, quint32 identity) {
    for (int i = 0; i < 4; ++i) block[at + i] = char((identity >> (8 * i)) & 0xFF);
}

// The "tableDragDrop" block: source identity twice, the drag kind, three bytes of padding.
bool ReadBlock(const QMimeData* data, quint32& identity, int& kind) {
    if (!data || !data->hasFormat(CDataTable::DragMimeType())) return false;
    const QByteArray block = data->data(CDataTable::DragMimeType());
    if (block.size() < 9) return false;
    identity = 0;
    for (int i = 0; i < 4; ++i) identity |= quint32(static_cast<unsigned char>(block[i])) << (8 * i);
    kind = static_cast<unsigned char>(block[8]);
    return kind == 0 || kind == 1;
}

Qt::DropAction ToAction(int effect) {
    return effect == DROPEFFECT_COPY ? Qt::CopyAction : effect == DROPEFFECT_MOVE ? Qt::MoveAction : Qt::IgnoreAction;
}
} // namespace

void CDataTable::RegisterForDrags() { Registry().insert(m_identity, this); }

void CDataTable::ReleaseInput() {
    // The edit and the list live on the top-level window and refer to this table.
    m_editOpen = m_listOpen = false;
    delete m_list.data();
    delete m_edit.data();
    Registry().remove(m_identity);
    if (s_lastTarget == this) s_lastTarget = nullptr;
}

QString CDataTable::DragMimeType() { return QStringLiteral("application/x-qt-windows-mime;value=\"tableDragDrop\""); }

CDataTable* CDataTable::FromDragIdentity(quint32 identity) { return Registry().value(identity, nullptr); }

bool CDataTable::IsAutoScrolling(int timer) const {
    return timer >= 300 && timer <= 303 && m_scrollTimers[timer - 300] && m_scrollTimers[timer - 300]->isActive();
}

int CDataTable::DropEffectFor(int keyState) const { return keyState & MK_CONTROL ? DROPEFFECT_COPY : DROPEFFECT_MOVE; }

QMimeData* CDataTable::MakeDragData(int row, int column, bool rows) const {
    auto* data = new QMimeData;
    if (!rows) data->setText(ToQ(CutDragText(GetCellText(row, column))));
    QByteArray block(kBlockSize, '\0');
    PutIdentity(block, 0, m_identity);
    PutIdentity(block, 4, m_identity);
    block[8] = char(rows ? 1 : 0);
    data->setData(DragMimeType(), block);
    return data;
}

bool CDataTable::StartDrag(int row, int column, bool rows) {
    if (!m_created || m_noDrag) return false;
    CommitOpenEditors();
    m_markerPos = {-1, -1};
    if (!rows) {
        m_dragRow = row;
        m_dragColumn = column;
    }
    auto* drag = new QDrag(this);
    drag->setMimeData(MakeDragData(row, column, rows));
    s_lastTarget = this;
    const QPointer<CDataTable> self(this);
    const int effect = RunDrag(*drag);
    if (!self) return effect != DROPEFFECT_NONE;
    // The drag loop took the button's release.
    m_leftDown = false;
    m_clickState = 0;
    HideMarker();
    if (effect == DROPEFFECT_MOVE && !rows) {
        CTableCellChange n;
        n.row = row;
        n.column = column;
        n.origin = 2;
        Notify(n, TN_CELLCHANGING);
        // An owner that refuses to lose the text (a veto) keeps it.
        if (!n.veto)
            if (CTableCell* cell = m_model.Cell(row, column)) cell->text = n.text;
        viewport()->update();
    }
    return effect != DROPEFFECT_NONE;
}

int CDataTable::RunDrag(QDrag& drag) {
    const Qt::DropAction action = drag.exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    return action == Qt::CopyAction ? DROPEFFECT_COPY : action == Qt::MoveAction ? DROPEFFECT_MOVE : DROPEFFECT_NONE;
}

int CDataTable::OnDragEnter(const QMimeData* data, int keyState, QPoint) {
    if (!m_created) return DROPEFFECT_NONE;
    quint32 identity = 0;
    int kind = 0;
    if (!ReadBlock(data, identity, kind)) return DROPEFFECT_NONE;
    // A row drag carries no text; a cell drag must.
    if (kind == 0 && !data->hasText()) return DROPEFFECT_NONE;
    m_dragKind = kind;
    return DropEffectFor(keyState);
}

int CDataTable::OnDragOver(const QMimeData* data, int keyState, QPoint point) {
    using H = CDataTableModel;
    if (!m_created) return DROPEFFECT_NONE;
    if (QWidget* w = window(); w && !w->isActiveWindow()) w->activateWindow();
    quint32 identity = 0;
    int kind = 0;
    if (!ReadBlock(data, identity, kind)) return DROPEFFECT_NONE;
    m_dragKind = kind;
    const CDataTableModel::CHit hit = m_model.HitTest(point.x(), point.y());
    if (kind == 0) {
        const CTableCell* cell = m_model.Cell(hit.row, hit.column);
        if (hit.kind != H::kHitCell || !cell || cell->kind != kCellEdit) return DROPEFFECT_NONE;
    } else if (hit.kind == H::kHitNothing || hit.kind == H::kHitHeader || hit.kind == H::kHitCorner) {
        return DROPEFFECT_NONE;
    }
    if (s_lastTarget != this) {
        for (QTimer* t : m_scrollTimers) t->stop();
        if (kind == 1) {
            if (s_lastTarget) s_lastTarget->HideMarker();
            // The marker is drawn from the next drag-over on.
            m_markerWait = true;
            QTimer::singleShot(0, this, [this] { m_markerWait = false; });
        }
    } else if (kind == 1 && !m_markerWait) {
        m_markerPos = point;
        viewport()->update();
    }
    s_lastTarget = this;
    return DropEffectFor(keyState);
}

int CDataTable::OnDragScroll(int keyState, QPoint point) {
    if (m_created && m_dragKind == 0) {
        const int w = viewport()->width(), h = viewport()->height();
        if (m_model.HMax() > 0) {
            MoveDragTimer(300, point.x() > w - ScrollBarExtent());
            MoveDragTimer(301, point.x() < m_model.RowNumberWidth() + kLeftEdgeRoom);
        }
        if (m_model.VMax() > 0) {
            MoveDragTimer(302, point.y() > h - kBottomEdgeRoom);
            MoveDragTimer(303, point.y() < m_model.HeaderHeight());
        }
    }
    return DropEffectFor(keyState);
}

void CDataTable::MoveDragTimer(int timer, bool on) {
    QTimer* t = m_scrollTimers[timer - 300];
    if (!on) t->stop();
    else if (!t->isActive())
        t->start();
}

void CDataTable::OnDragTimer(int timer) {
    HideMarker();
    switch (timer) {
    case 300: OnHScrollCode(1, 0); break;
    case 301: OnHScrollCode(0, 0); break;
    case 302: OnVScrollCode(1, 0, false); break;
    case 303: OnVScrollCode(0, 0, false); break;
    default: return;
    }
    // The pointer held still near the edge gets no new drag-over; the scrolling goes on until
    // the drag leaves the edge, the table or ends.
    if (m_dragKind == 0 && s_lastTarget == this) m_scrollTimers[timer - 300]->start();
}

void CDataTable::HideMarker() {
    if (m_markerPos.x() < 0) return;
    m_markerPos = {-1, -1};
    viewport()->update();
}

void CDataTable::OnDragLeave() {
    HideMarker();
    for (QTimer* t : m_scrollTimers) t->stop();
    m_dragKind = kNoDrag;
}

bool CDataTable::OnDrop(const QMimeData* data, int dropEffect, QPoint point) {
    using H = CDataTableModel;
    HideMarker();
    for (QTimer* t : m_scrollTimers) t->stop();
    quint32 identity = 0;
    int kind = 0;
    bool result = false;
    if (m_created && ReadBlock(data, identity, kind)) {
        CDataTable* source = FromDragIdentity(identity);
        if (kind == 0) {
            const CDataTableModel::CHit hit = m_model.HitTest(point.x(), point.y());
            const CTableCell* cell = m_model.Cell(hit.row, hit.column);
            const bool onItself = source == this && hit.row == m_dragRow && hit.column == m_dragColumn;
            if (!onItself && hit.kind == H::kHitCell && cell && cell->kind == kCellEdit) {
                const std::string text = CutDragText(FromQ(data->text()));
                CTableCellChange change;
                change.row = hit.row;
                change.column = hit.column;
                change.text = text;
                change.origin = 1;
                Notify(change, TN_CELLCHANGING);
                // An owner that refuses the text (a rename that failed, say) refuses the drop.
                if (!change.veto) {
                    CTableDrop n;
                    n.source = source;
                    n.dropKind = 0;
                    n.row = hit.row;
                    n.column = hit.column;
                    n.text = text;
                    n.dropEffect = dropEffect;
                    Notify(n, TN_DROP);
                    if (CTableCell* target = m_model.Cell(n.row, n.column)) target->text = n.text;
                    viewport()->update();
                    result = true;
                }
            }
        } else {
            CTableDrop n;
            n.source = source;
            n.dropKind = 1;
            n.dropEffect = dropEffect;
            Notify(n, TN_DROP);
            result = true;
        }
    }
    m_dragKind = kNoDrag;
    return result;
}

void CDataTable::dragEnterEvent(QDragEnterEvent* e) {
    const int keys = KeyFlags(e->modifiers(), e->buttons());
    const int effect = OnDragEnter(e->mimeData(), keys, e->position().toPoint());
    if (effect == DROPEFFECT_NONE) {
        e->ignore();
        return;
    }
    // Accepted for the whole table: each move decides for the point under it.
    e->setDropAction(ToAction(effect));
    e->accept();
    dragMoveEvent(e);
}

void CDataTable::dragMoveEvent(QDragMoveEvent* e) {
    const int keys = KeyFlags(e->modifiers(), e->buttons());
    const QPoint at = e->position().toPoint();
    OnDragScroll(keys, at);
    const int effect = OnDragOver(e->mimeData(), keys, at);
    if (effect == DROPEFFECT_NONE) {
        e->ignore();
        return;
    }
    e->setDropAction(ToAction(effect));
    e->accept();
}

void CDataTable::dragLeaveEvent(QDragLeaveEvent*) { OnDragLeave(); }

void CDataTable::dropEvent(QDropEvent* e) {
    const int effect = DropEffectFor(KeyFlags(e->modifiers(), e->buttons()));
    if (OnDrop(e->mimeData(), effect, e->position().toPoint())) {
        e->setDropAction(ToAction(effect));
        e->accept();
    } else {
        e->setDropAction(Qt::IgnoreAction);
        e->ignore();
    }
}
