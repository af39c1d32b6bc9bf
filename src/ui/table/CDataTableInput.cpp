// CDataTable: mouse, keys, row marks, column resizing, hover tip and the context menu.

#include "CDataTable.h"
#include "CTableEdit.h"

#include "QtConvert.h"
#include "app/Ports.h"
#include "app/SettingsKeys.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWindow>

#include <algorithm>

namespace {
constexpr int kDragSlop = 2; // pixels the pointer moves before a press becomes a drag
constexpr int kEditDelayMs = 100;
constexpr int kMaxFontSize = 20;

// Up and Down are not taken again while one of them is still being handled (the buffer
// refill lets events through).
bool s_upBusy = false;
bool s_downBusy = false;

} // namespace

int CDataTable::KeyFlags(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    int flags = 0;
    if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
    if (modifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

void CDataTable::InitInput() {
    static quint32 nextIdentity = 0x51420000;
    m_identity = ++nextIdentity;
    const auto make = [this](int ms, auto slot) {
        auto* t = new QTimer(this);
        t->setSingleShot(true);
        t->setInterval(ms);
        connect(t, &QTimer::timeout, this, slot);
        return t;
    };
    m_tipTimer = make(0, [this] { ShowHoverTip(); });
    m_tipDoneTimer = make(0, [this] { m_tipJustShown = false; });
    m_editTimer = make(kEditDelayMs, [this] {
        if (!m_doubleClick && m_model.CurrentRow() >= 0 && m_model.CurrentColumn() >= 0)
            BeginEdit(m_model.CurrentRow(), m_model.CurrentColumn());
    });
    for (int i = 0; i < 4; ++i) m_scrollTimers[i] = make(300, [this, i] { OnDragTimer(300 + i); });
    RegisterForDrags();
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->setMouseTracking(true);
}

int CDataTable::MinColumnWidth() const { return CDataTableModel::kMargin / 2 + ScrollBarExtent(); }

int CDataTable::AllowedRight() const { return viewport()->width(); }

void CDataTable::SetCursorShape(bool sizing) {
    if (sizing) viewport()->setCursor(Qt::SizeHorCursor);
    else
        viewport()->unsetCursor();
}

void CDataTable::mousePressEvent(QMouseEvent* e) {
    if (!m_created || !m_painted) return;
    const int flags = KeyFlags(e->modifiers(), e->buttons());
    if (e->button() == Qt::LeftButton) {
        m_leftDown = true;
        OnLeftDown(flags, e->position().toPoint());
    } else if (e->button() == Qt::RightButton) {
        OnRightDown(flags, e->position().toPoint());
    }
}

void CDataTable::mouseReleaseEvent(QMouseEvent* e) {
    if (!m_created || !m_painted || e->button() != Qt::LeftButton) return;
    m_leftDown = false;
    OnLeftUp(KeyFlags(e->modifiers(), e->buttons()), e->position().toPoint());
}

void CDataTable::mouseMoveEvent(QMouseEvent* e) {
    if (!m_created || !m_painted) return;
    OnMove(KeyFlags(e->modifiers(), e->buttons()), e->position().toPoint(), e->buttons());
}

void CDataTable::mouseDoubleClickEvent(QMouseEvent* e) {
    if (!m_created || !m_painted || e->button() != Qt::LeftButton) return;
    m_leftDown = true;
    OnLeftDoubleClick(KeyFlags(e->modifiers(), e->buttons()), e->position().toPoint());
}

void CDataTable::OnLeftDown(int keyFlags, QPoint pos) {
    using H = CDataTableModel;
    m_tipTimer->stop();
    m_resizing = false;
    m_doubleClick = false;
    m_clickState = 0;
    m_rowDragPending = false;
    const int x = pos.x(), y = pos.y();

    const CDataTableModel::CBorderHit border = m_model.HitTestBorder(x, y);
    if (border.found && border.index >= 1 && !m_fixedWidths) {
        SetCursorShape(true);
        m_resizeBorder = border.index;
        m_leftLimit = m_model.ColumnLeft(border.index - 1);
        const int next = m_model.ColumnLeft(border.index + 1);
        m_rightLimit = next == m_model.ColumnLeft(border.index) ? 65535 : next;
        // A press without a move leaves the border where it is.
        m_lastMouseX = m_model.ColumnLeft(border.index);
        m_resizing = true;
    }

    m_pressPos = pos;
    const CDataTableModel::CHit hit = m_model.HitTest(x, y);
    m_pressKind = hit.kind;
    switch (hit.kind) {
    case H::kHitNothing:
    case H::kHitBorder:
    case H::kHitHeader:
    case H::kHitRowNumber:
    case H::kHitCorner: {
        const int previousRow = m_model.CurrentRow();
        m_model.SetCurrentCell(-1, -1);
        if (hit.kind == H::kHitCorner) {
            m_cornerPressed = true;
        } else if (hit.kind == H::kHitRowNumber) {
            m_model.ClickRowNumber(hit.row, previousRow, keyFlags & MK_SHIFT, keyFlags & MK_CONTROL);
            if (m_model.AnyMarked()) {
                m_rowDragPending = true;
                m_rowDragRow = hit.row;
                m_rowDragColumn = hit.column;
            }
        }
        break;
    }
    case H::kHitDropButton:
        m_model.SetCurrentCell(hit.row, hit.column);
        if (m_listOpen) EndDropList(false);
        else
            OpenDropList(hit.row, hit.column);
        break;
    case H::kHitCell:
        m_dragRow = hit.row;
        m_dragColumn = hit.column;
        m_clickState = hit.row == m_model.CurrentRow() && hit.column == m_model.CurrentColumn() ? 1 : 2;
        break;
    default: break;
    }

    CTableMouse n;
    n.keyFlags = keyFlags;
    n.x = x;
    n.y = y;
    n.row = hit.row;
    n.column = hit.column;
    n.hitKind = hit.kind;
    Notify(n, TN_LBUTTONDOWN);
    viewport()->update();
}

void CDataTable::OnMove(int keyFlags, QPoint pos, Qt::MouseButtons buttons) {
    const int x = pos.x(), y = pos.y();
    const bool moved = std::abs(x - m_pressPos.x()) > kDragSlop || std::abs(y - m_pressPos.y()) > kDragSlop;
    if (m_clickState != 0 && (buttons & Qt::LeftButton) && moved) {
        const CTableCell* cell = m_model.Cell(m_dragRow, m_dragColumn);
        if (cell && cell->kind == kCellEdit) {
            m_clickState = 0;
            StartDrag(m_dragRow, m_dragColumn, false);
            return;
        }
    }
    if (m_rowDragPending && (buttons & Qt::LeftButton) && moved) {
        m_rowDragPending = false;
        StartDrag(m_rowDragRow, m_rowDragColumn, true);
        return;
    }

    if (!m_resizing || m_fixedWidths) {
        if (!(buttons & Qt::LeftButton)) {
            const CDataTableModel::CBorderHit border = m_model.HitTestBorder(x, y);
            SetCursorShape(!m_fixedWidths && border.found && border.index >= 1);
        }
    } else {
        const int minWidth = MinColumnWidth();
        const bool lastWithFlag = m_model.LastColumnFlag() && m_resizeBorder == m_model.Columns();
        if ((keyFlags & MK_SHIFT) && !lastWithFlag && x > m_rightLimit - minWidth) {
            // Shift keeps the next column at least its minimum width.
            m_trackX = m_rightLimit - minWidth;
            m_lastMouseX = m_trackX;
            viewport()->update();
            return;
        }
        if (x > m_leftLimit + minWidth && x < AllowedRight()) {
            SetCursorShape(true);
            m_trackX = x;
            m_lastMouseX = x;
            viewport()->update();
        }
        return;
    }

    if (buttons == Qt::NoButton && !m_editOpen && !m_tipJustShown) MaybeStartHoverTip(pos);
}

void CDataTable::MaybeStartHoverTip(QPoint pos) {
    using H = CDataTableModel;
    m_tip.HideTip();
    m_tipTimer->stop();
    const CDataTableModel::CHit hit = m_model.HitTest(pos.x(), pos.y());
    if (hit.kind != H::kHitCell && hit.kind != H::kHitHeader && hit.kind != H::kHitDropButton) return;
    const CTableCell* cell = hit.row < 0 ? m_model.HeaderCell(hit.column) : m_model.Cell(hit.row, hit.column);
    if (!cell || cell->text.empty()) return;
    const QFontMetrics fm(hit.row < 0 ? m_headerQFont : m_cellQFont);
    const int textWidth = fm.horizontalAdvance(ToQ(cell->text));
    int columnWidth = m_model.GetColumnWidth(hit.column);
    if (m_model.LastColumnFlag() && hit.column == m_model.Columns() - 1) columnWidth = viewport()->width() - 2;
    if (hit.row >= 0 && (cell->kind == kCellChoiceOrTyped || cell->kind == kCellChoiceOnly))
        columnWidth -= ScrollBarExtent();
    const int room = viewport()->width() - m_model.ColumnLeft(hit.column);
    if (textWidth <= columnWidth && textWidth <= room) return;
    // Only while the user works in this window: a tip must not pop up over another program.
    QWidget* focus = QApplication::focusWidget();
    const bool ours = focus && (focus == this || isAncestorOf(focus) || focus->window() == window());
    if (!ours) return;
    m_tipRow = hit.row;
    m_tipColumn = hit.column;
    m_tipTimer->start();
}

void CDataTable::ShowHoverTip() {
    m_tip.ResetTip();
    m_tip.HideTip();
    CRect r = m_model.GetCellRect(m_tipRow, m_tipColumn);
    if (r.IsEmpty()) return;
    r.top -= 1;
    const QPoint topLeft = viewport()->mapToGlobal(QPoint(r.left, r.top));
    m_tip.SetPlacement({topLeft.x(), topLeft.y(), topLeft.x() + r.Width(), topLeft.y() + r.Height()});
    if (m_tipRow < 0) {
        const CTableCell* cell = m_model.HeaderCell(m_tipColumn);
        if (!cell) return;
        m_tip.SetTipText(cell->text);
        m_tip.SetTipColor(m_columnColors[std::size_t(m_tipColumn)]);
        m_tip.ShowFor(m_parent, &m_headerFont, true);
    } else {
        const CTableCell* cell = m_model.Cell(m_tipRow, m_tipColumn);
        if (!cell) return;
        m_tip.SetTipText(cell->text);
        m_tip.SetTipColor(m_backColor);
        m_tip.ShowFor(m_parent, &m_cellFont, true);
    }
    // The tip lies over the cell itself: a press there must reach the table as it is, so that
    // a drag or a resize can start under it.
    if (QWidget* w = m_tip.Popup(); w && w->windowHandle())
        w->windowHandle()->setFlag(Qt::WindowTransparentForInput, true);
    m_tipJustShown = true;
    m_tipDoneTimer->start();
}

void CDataTable::OnLeftUp(int keyFlags, QPoint pos) {
    using H = CDataTableModel;
    if (!m_editOpen) {
        if (!m_resizing) {
            const CDataTableModel::CHit hit = m_model.HitTest(pos.x(), pos.y());
            m_pressKind = hit.kind;
            if (m_cornerPressed && hit.kind == H::kHitCorner) {
                m_model.SetAllMarks(keyFlags & MK_SHIFT);
                viewport()->update();
            }
            if (hit.kind == H::kHitCell) {
                m_model.SetCurrentCell(hit.row, hit.column);
                const CTableCell* cell = m_model.Cell(hit.row, hit.column);
                if (m_clickState == 1 && cell) {
                    if (cell->kind == kCellEdit) m_editTimer->start();
                    else if (cell->kind == kCellChoiceOrTyped || cell->kind == kCellChoiceOnly)
                        OpenDropList(hit.row, hit.column);
                }
            } else if (hit.kind == H::kHitDropButton) {
                // The press opened (or closed) the list already.
            } else {
                setFocus();
            }
            if (m_clickState == 2) {
                setFocus();
                viewport()->update();
            }
            m_clickState = 0;
        } else {
            const int offset = m_model.ScrollOffset();
            const int border = m_resizeBorder;
            const std::vector<int>& edges = m_model.Edges();
            const int m = m_lastMouseX;
            int change = (m + offset) - edges[std::size_t(border)];
            const bool only = (keyFlags & MK_SHIFT) && m <= m_rightLimit - MinColumnWidth();
            CTableColumnResized n;
            n.column = border - 1;
            n.left = edges[std::size_t(border - 1)];
            n.width = edges[std::size_t(border)] - edges[std::size_t(border - 1)];
            n.change = change;
            n.onlyThisBorder = only ? 1 : 0;
            Notify(n, TN_COLUMNRESIZED);
            change = n.change;
            m_model.MoveBorder(border, change, only);
            m_trackX = -1;
            SetCursorShape(false);
            // An inner border moved alone changes no range; anything else may.
            if (!(only && border < m_model.Columns())) Relayout();
            viewport()->update();
        }
    }
    const bool hadCurrent = m_model.PreviousRow() >= 0 && m_model.PreviousColumn() >= 0;
    m_resizing = false;
    m_trackX = -1;
    if (m_cornerPressed) {
        m_cornerPressed = false;
        viewport()->update();
    }
    if (hadCurrent && m_model.CurrentRow() < 0) viewport()->update();
    CTableMouse n;
    n.keyFlags = keyFlags;
    n.x = pos.x();
    n.y = pos.y();
    n.row = m_model.CurrentRow();
    n.column = m_model.CurrentColumn();
    n.hitKind = m_pressKind;
    Notify(n, TN_LBUTTONUP);
}

void CDataTable::OnLeftDoubleClick(int keyFlags, QPoint pos) {
    using H = CDataTableModel;
    m_doubleClick = true;
    m_editTimer->stop();
    CommitOpenEditors();
    const CDataTableModel::CHit hit = m_model.HitTest(pos.x(), pos.y());
    m_model.SetCurrentCell(hit.row, hit.column);
    CTableMouse n;
    n.keyFlags = keyFlags;
    n.x = pos.x();
    n.y = pos.y();
    n.row = hit.row;
    n.column = hit.column;
    n.hitKind = hit.kind;
    Notify(n, TN_LBUTTONDBLCLK);
    viewport()->update();
    if (n.handled) return;
    const CTableCell* cell = m_model.Cell(hit.row, hit.column);
    if (!cell) return;
    if (hit.kind == H::kHitCell && cell->kind == kCellEdit) BeginEdit(hit.row, hit.column);
    else if (cell->kind == kCellChoiceOrTyped || cell->kind == kCellChoiceOnly)
        OpenDropList(hit.row, hit.column);
}

void CDataTable::OnRightDown(int keyFlags, QPoint pos) {
    if (m_leftDown) return;
    QMenu menu(this);
    menu.addAction(QStringLiteral("Set backgraund color."))->setData(int(ID_TABLE_BACKCOLOR));
    menu.addAction(QStringLiteral("Set new font"))->setData(int(ID_TABLE_FONT));
    menu.addAction(QStringLiteral("Restory column's width"))->setData(int(ID_TABLE_AUTOFIT));
    CTableMenu n;
    n.menu = &menu;
    Notify(n, TN_CONTEXTMENU);
    if (!menu.actions().isEmpty()) {
        if (const int id = ExecPopup(menu, viewport()->mapToGlobal(pos))) OnCommand(id);
        return;
    }
    // The owner wants the click itself.
    if (m_parent) {
        const QPoint at = viewport()->mapTo(m_parent, pos);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), QPointF(m_parent->mapToGlobal(at)), Qt::RightButton,
                          Qt::RightButton,
                          (keyFlags & MK_SHIFT ? Qt::ShiftModifier : Qt::NoModifier) |
                              (keyFlags & MK_CONTROL ? Qt::ControlModifier : Qt::NoModifier));
        QApplication::sendEvent(m_parent, &press);
    }
}

int CDataTable::ExecPopup(QMenu& menu, QPoint globalPos) {
    QAction* chosen = menu.exec(globalPos - QPoint(menu.sizeHint().width() / 2, 0));
    return chosen ? chosen->data().toInt() : 0;
}

std::optional<CColorRef> CDataTable::PickColor(CColorRef initial) {
    const QColor c = QColorDialog::getColor(ToQColor(initial), this);
    if (!c.isValid()) return std::nullopt;
    return FromQColor(c);
}

std::optional<CLogFont> CDataTable::PickFont(const CLogFont& initial) {
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, MakeQFont(initial), this);
    if (!ok) return std::nullopt;
    return FromQFont(f);
}

void CDataTable::ShowMessage(const std::string& text) {
    if (m_services.prompt) m_services.prompt->Message(text);
}

void CDataTable::OnCommand(int id) {
    if (!m_created) return;
    switch (id) {
    case ID_TABLE_BACKCOLOR:
        if (const std::optional<CColorRef> c = PickColor(m_backColor)) SetBackColor(*c, true);
        return;
    case ID_TABLE_AUTOFIT: AutoFitColumns(); return;
    case ID_TABLE_FONT: {
        CommitOpenEditors();
        std::optional<CLogFont> f = PickFont(m_cellFont);
        if (!f) return;
        f->height = std::abs(f->height);
        if (f->height == 0) return;
        if (f->height > kMaxFontSize) {
            ShowMessage("Maximum 20 l.e.  for font size.");
            f->height = kMaxFontSize;
        }
        SetTableFont(*f, true);
        CSettings* settings = m_services.settings;
        if (settings) {
            settings->Set(kTableFontSize, f->height);
            settings->Set(kTableFontName, f->faceName);
            settings->Set(kTableFontBold, f->weight);
            settings->Set(kTableFontItalic, f->italic & 0xFF);
        }
        return;
    }
    default: emit command(id);
    }
}

bool CDataTable::OnKeyDown(QKeyEvent* e) {
    if (!m_created) return false;
    if (m_editOpen || m_listOpen) return false;
    CDataTableModel& m = m_model;
    const bool cell = m.CurrentRow() >= 0 && m.CurrentColumn() >= 0;
    switch (e->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: KeyTab(e->key() == Qt::Key_Backtab || (e->modifiers() & Qt::ShiftModifier)); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (cell) {
            m_tip.HideTip();
            const CTableCell* c = m.Cell(m.CurrentRow(), m.CurrentColumn());
            if (c && c->kind == kCellEdit) BeginEdit(m.CurrentRow(), m.CurrentColumn());
            else if (c && (c->kind == kCellChoiceOrTyped || c->kind == kCellChoiceOnly))
                OpenDropList(m.CurrentRow(), m.CurrentColumn());
        } else if (m.CurrentRow() >= 0 && m.RowNumberWidth() > 0) {
            m.SetMark(m.CurrentRow(), !m.IsMarked(m.CurrentRow()));
            viewport()->update();
        }
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (m.VMax() > 0) OnVScrollCode(e->key() == Qt::Key_PageUp ? 2 : 3, 0, false);
        if (m.CurrentRow() >= 0) m.SetCurrentCell(m.TopRow(), m.CurrentColumn());
        viewport()->update();
        return true;
    case Qt::Key_Home:
    case Qt::Key_End: {
        const bool home = e->key() == Qt::Key_Home;
        if (m.VMax() > 0) OnVScrollCode(4, home ? 0 : m.VScrollRange(), true);
        if (m.CurrentRow() >= 0) m.SetCurrentCell(home ? 0 : m.TotalRows() - 1, m.CurrentColumn());
        if (m.IsWindowed()) DispatchPending();
        viewport()->update();
        return true;
    }
    case Qt::Key_Left: KeyLeft(); return true;
    case Qt::Key_Right: KeyRight(); return true;
    case Qt::Key_Up: KeyUp(); return true;
    case Qt::Key_Down: KeyDown(); return true;
    case Qt::Key_Delete:
        if (cell) {
            const CTableCell* c = m.Cell(m.CurrentRow(), m.CurrentColumn());
            if (c && c->kind == kCellEdit) {
                if (CTableEdit* edit = BeginEdit(m.CurrentRow(), m.CurrentColumn())) {
                    edit->setText(QString());
                    edit->setModified(true);
                }
            }
        }
        return true;
    default: return OnChar(e);
    }
}

bool CDataTable::OnChar(QKeyEvent* e) {
    const QString text = e->text();
    if (text.isEmpty() || (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) return false;
    const bool backspace = e->key() == Qt::Key_Backspace;
    if (!backspace && !text.at(0).isPrint()) return false;
    const int row = m_model.CurrentRow(), column = m_model.CurrentColumn();
    const CTableCell* c = m_model.Cell(row, column);
    if (!c || c->kind != kCellEdit) return false;
    CTableEdit* edit = BeginEdit(row, column);
    if (!edit) return true;
    if (backspace) {
        edit->setText(QString());
    } else {
        // The character replaces the selected cell text, as typing into the edit would.
        edit->insert(text);
        edit->FitWidth();
    }
    edit->setModified(true);
    return true;
}

void CDataTable::KeyTab(bool shift) {
    CDataTableModel& m = m_model;
    if (m.CurrentRow() < 0 || m.CurrentColumn() < 0) m.SetCurrentCell(std::max(0, m.CurrentRow()), 0);
    const int last = m.Columns() - 1;
    if (!shift) {
        if (m.CurrentColumn() < last) {
            KeyRight();
        } else if (m.CurrentRow() < m.TotalRows() - 1) {
            m.SetCurrentCell(m.CurrentRow(), 0);
            OnHScrollCode(5, 0);
            KeyDown();
        }
    } else {
        if (m.CurrentColumn() > 0) {
            KeyLeft();
        } else if (m.CurrentRow() > 0) {
            m.SetCurrentCell(m.CurrentRow() - 1, last);
            OnHScrollCode(5, m.HMax());
            // The row left above the view comes back into it.
            if (m.CurrentRow() < m.TopRow()) OnVScrollCode(0, 0, false);
        }
    }
    viewport()->update();
}

void CDataTable::KeyLeft() {
    CDataTableModel& m = m_model;
    if (m.CurrentRow() < 0 || m.CurrentColumn() < 0) return;
    m.SetCurrentCell(m.CurrentRow(), std::max(0, m.CurrentColumn() - 1));
    if (m.CurrentColumn() < m.FirstColumn()) OnHScrollCode(0, 0);
    else
        viewport()->update();
}

void CDataTable::KeyRight() {
    CDataTableModel& m = m_model;
    if (m.CurrentRow() < 0) return;
    m.SetCurrentCell(m.CurrentRow(), std::min(m.Columns() - 1, m.CurrentColumn() + 1));
    while (!m.IsColumnFullyVisible(m.CurrentColumn(), AllowedRight()) && m.FirstColumn() < m.HMax()) {
        const int before = m.FirstColumn();
        OnHScrollCode(1, 0);
        if (m.FirstColumn() == before) break; // the owner held the position
    }
    viewport()->update();
}

void CDataTable::KeyUp() {
    CDataTableModel& m = m_model;
    if (s_upBusy || m.CurrentRow() < 0) return;
    s_upBusy = true;
    m.SetCurrentCell(std::max(0, m.CurrentRow() - 1), m.CurrentColumn());
    if (m.CurrentRow() >= m.TopRow()) {
        viewport()->update();
    } else {
        if (m.VMax() > 0) OnVScrollCode(0, 0, false);
        viewport()->update();
        if (m.IsWindowed()) DispatchPending();
    }
    s_upBusy = false;
}

void CDataTable::KeyDown() {
    CDataTableModel& m = m_model;
    if (s_downBusy || m.CurrentRow() < 0) return;
    s_downBusy = true;
    const int lastRow = m.TotalRows() - 1;
    m.SetCurrentCell(std::min(lastRow, m.CurrentRow() + 1), m.CurrentColumn());
    if (m.CurrentRow() < m.TopRow() + m.VisibleRows() && m.CurrentRow() != lastRow) {
        viewport()->update();
    } else {
        if (m.VMax() > 0) OnVScrollCode(1, 0, false);
        viewport()->update();
        if (m.IsWindowed()) DispatchPending();
    }
    s_downBusy = false;
}

void CDataTable::DispatchPending() {
    // The owner refills the buffer from the scroll notification; work it posted for that is
    // done before the key counts as handled. Input waits, so a held key cannot run ahead.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CDataTable::PaintOverlays(QPainter& p) {
    if (m_trackX >= 0) {
        QPen dotted(ToQColor(0xFF0000), 1, Qt::DotLine);
        p.setPen(dotted);
        p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        p.drawLine(m_trackX, 0, m_trackX, m_model.TotalRowsHeight());
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (m_markerPos.x() >= 0) {
        const int x = m_markerPos.x(), y = m_markerPos.y();
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::NoBrush);
        p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        p.drawLine(x, y, x, y - 50);
        p.drawLine(x, y - 35, x + 5, y - 35);
        p.drawRect(x + 5, y - 40, 10, 10);
        p.drawLine(x, y - 15, x + 5, y - 15);
        p.drawRect(x + 5, y - 20, 10, 10);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
}
