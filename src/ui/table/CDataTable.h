#pragma once

// CDataTable: a grid control for tables of text cells, buffered for very many rows.
//
// How it is organised (a class too big for one file keeps its definitions in files named after
// it and the concern, CDataTableInput.cpp and the like):
// - CDataTableModel (plain class, no painting) holds the row buffer, the column and row edges,
//   the scroll ranges and requests, the current cell and the row marks. Geometry queries
//   (ColumnLeft, RowTop, GetCellRect, NextPageColumn ...) live there; tests drive it directly.
// - CDataTable is the widget: it copies a CDataTableParams block at Create, keeps the fonts
//   and colours, paints (PaintTable, also usable on any QPainter), runs the scroll bars (its own
//   or, with the parent-scroll-bars flag, two bars it places on its parent) and reports to its
//   owner through the notify signal, synchronously, with the TN_ records of CTableNotify.h.
// - Every scroll request goes through OnVScrollCode/OnHScrollCode with the codes 0..5, whether
//   it comes from a bar, the wheel or a key.
// - User input (CDataTableInput.cpp): keys of the table and of its parent arrive at OnKeyDown;
//   the mouse handlers hit test on the model (CDataTableModelInput.cpp keeps hit testing, marks
//   and border moves paint-free). The in-place edit and the drop list (CTableEdit,
//   CTableDropList, CDataTableEdit.cpp) are children of the table's top-level window laid over
//   the cell.
//   CommitOpenEditors is called wherever an open edit must be committed and an open list closed
//   before the table changes under it.
// - Drag and drop (CDataTableDrag.cpp): QDrag with the text and the private "tableDragDrop"
//   block; the drop side is public so a test can hand a drop to a table directly.
// - Modal steps (popup menus, colour and font dialogs, the drag loop) go through virtual hooks
//   (ExecPopup, PickColor, PickFont, RunDrag) that tests replace.

#include "CDataTableModel.h"
#include "CDataTableParams.h"
#include "CTableNotify.h"
#include "CTipWnd.h"
#include "CUiServices.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QPointer>
#include <QTimer>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CTableDropList;
class CTableEdit;
class QDrag;
class QMenu;
class QMimeData;
class QScrollBar;

// Key flags of the mouse notifications.
enum EKeyFlags : int { MK_LBUTTON = 1, MK_RBUTTON = 2, MK_SHIFT = 4, MK_CONTROL = 8 };
// Drop effects of a drag.
enum EDropEffect : int { DROPEFFECT_NONE = 0, DROPEFFECT_COPY = 1, DROPEFFECT_MOVE = 2 };
// Commands of the table's context menu.
enum ETableCommand : int { ID_TABLE_BACKCOLOR = 32020, ID_TABLE_AUTOFIT = 32040, ID_TABLE_FONT = 32050 };

class CDataTable : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Messages go to services.prompt and the chosen font to services.settings.
    explicit CDataTable(const CUiServices& services, QWidget* parent = nullptr);
    ~CDataTable() override;

    // False on a zero column count, an unknown alignment or no parent.
    bool Create(QWidget* parent, const CDataTableParams& params, int firstColumn, int topRow);
    bool IsCreated() const { return m_created; }
    void Reset();
    // A new row count; the caller lays the table out next with SetTableRect.
    void SetRowCounts(int bufferRows, int totalRows);
    void SetTableRect(int left, int top, int right, int bottom);

    void SetHeaderText(int column, std::string_view text, bool redraw);
    std::string GetHeaderText(int column) const;
    void SetColumnColor(int column, CColorRef color, bool redraw);
    void SetBackColor(CColorRef color, bool redraw);
    CColorRef BackColor() const { return m_backColor; }
    // Rows are absolute; a row outside the buffered ones is ignored (read as empty).
    void SetCellText(int row, int column, std::string_view text, bool redraw);
    std::string GetCellText(int row, int column) const;
    void SetCellChoice(int row, int column, int index, bool redraw);
    void SetCurrentCell(int row, int column);
    int GetColumnWidth(int column) const;
    void SetColumnWidth(int column, int width, bool shiftFollowing, bool redraw);
    void SetTableFont(const CLogFont& font, bool redraw);
    const CLogFont& CellFont() const { return m_cellFont; }
    void SetColumnKind(int column, int kind, bool redraw);
    void SetFirstColumn(int column);
    void AutoFitColumns();

    int ColumnLeft(int column) const { return m_model.ColumnLeft(column); }
    int RowTop(int bufferRow) const { return m_model.RowTop(bufferRow); }
    CRect GetCellRect(int row, int column) const { return m_model.GetCellRect(row, column); }
    int VisibleRowCount() const { return m_model.VisibleRowCount(); }
    int NextPageColumn(int column) const { return m_model.NextPageColumn(column); }
    int PrevPageColumn(int column) const { return m_model.PrevPageColumn(column); }

    // Vertical codes: 0 line up, 1 line down, 2 page up, 3 page down, 4 thumb released at
    // position, 5 thumb dragged to position. Horizontal: 0 left, 1 right, 2 page left,
    // 3 page right, 5 to position.
    void OnVScrollCode(int code, int position, bool force);
    void OnHScrollCode(int code, int position);
    void SetupScrollBars();

    // Draws the whole table for a client area of the given size.
    void PaintTable(QPainter& painter, QSize client);
    bool IsPainted() const { return m_painted; }

    const CDataTableModel& Model() const { return m_model; }
    CDataTableModel& Model() { return m_model; }
    CTipWnd& Tip() { return m_tip; }
    // The bars in use: the table's own, or the ones it placed on its parent.
    QScrollBar* VBar() const;
    QScrollBar* HBar() const;
    const QFont& HeaderQFont() const { return m_headerQFont; }
    const QFont& CellQFont() const { return m_cellQFont; }

    CDataTableModel::CHit HitTest(int x, int y) const { return m_model.HitTest(x, y); }
    // A command of the table's menus: its own three, anything else goes on to the owner.
    void OnCommand(int id);
    int TrackingLineX() const { return m_trackX; }
    bool IsResizing() const { return m_resizing; }
    static int KeyFlags(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

    CTableEdit* BeginEdit(int row, int column);
    void EndEdit(bool cancel);
    void OpenDropList(int row, int column);
    // fromEdit: the edit's Enter, which takes a typed value over the list's selection.
    void EndDropList(bool cancel, bool fromEdit = false);
    bool IsEditOpen() const { return m_editOpen; }
    bool IsDropListOpen() const { return m_listOpen; }
    CTableEdit* Edit() const;
    CTableDropList* DropList() const;
    int MinColumnWidth() const;

    bool StartDrag(int row, int column, bool rows);
    int OnDragEnter(const QMimeData* data, int keyState, QPoint point);
    int OnDragOver(const QMimeData* data, int keyState, QPoint point);
    bool OnDrop(const QMimeData* data, int dropEffect, QPoint point);
    void OnDragLeave();
    int OnDragScroll(int keyState, QPoint point);
    quint32 DragIdentity() const { return m_identity; }
    static CDataTable* FromDragIdentity(quint32 identity);
    static QString DragMimeType();
    // The data a drag from this table carries.
    QMimeData* MakeDragData(int row, int column, bool rows) const;
    QPoint InsertionMarker() const { return m_markerPos; }
    bool IsAutoScrolling(int timer) const;

signals:
    // Delivered synchronously; the receiver may write the record's read-back fields.
    void notify(CTableNotify& record);
    // A menu command the table does not handle itself.
    void command(int id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int, int) override {}
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

    // Keys typed in the table or in its parent; true when handled.
    virtual bool OnKeyDown(QKeyEvent* event);
    // Commits an open in-place edit and closes an open drop list with commit.
    virtual void CommitOpenEditors();
    // Shows menu at a screen position; the chosen command id, or 0.
    virtual int ExecPopup(QMenu& menu, QPoint globalPos);
    virtual std::optional<CColorRef> PickColor(CColorRef initial);
    virtual std::optional<CLogFont> PickFont(const CLogFont& initial);
    virtual void ShowMessage(const std::string& text);
    // Runs the drag loop; the drop effect.
    virtual int RunDrag(QDrag& drag);

    void Notify(CTableNotify& record, int code);
    void Relayout();
    void PaintOverlays(QPainter& painter);

    bool m_cornerPressed = false;

private:
    friend class CTableEdit;
    friend class CTableDropList;
    friend class CTableDropButton;

    void AttachParent(QWidget* parent);
    void InitInput();
    void RegisterForDrags();
    void ReleaseInput();
    void OnLeftDown(int keyFlags, QPoint pos);
    void OnLeftUp(int keyFlags, QPoint pos);
    void OnMove(int keyFlags, QPoint pos, Qt::MouseButtons buttons);
    void OnLeftDoubleClick(int keyFlags, QPoint pos);
    void OnRightDown(int keyFlags, QPoint pos);
    bool OnChar(QKeyEvent* event);
    void KeyUp();
    void KeyDown();
    void KeyLeft();
    void KeyRight();
    void KeyTab(bool shift);
    void DispatchPending();
    void ShowHoverTip();
    void MaybeStartHoverTip(QPoint pos);
    int AllowedRight() const;
    void SetCursorShape(bool sizing);
    // The window the edit, its drop button and the drop list are children of.
    QWidget* EditHost() const;
    // A rectangle in client coordinates, in the edit host's.
    QRect ToEditHost(const CRect& r) const;
    void MoveDragTimer(int timer, bool on);
    void OnDragTimer(int timer);
    void HideMarker();
    int DropEffectFor(int keyState) const;

    void DetachParent();
    void ConnectBar(QScrollBar* bar, Qt::Orientation orientation);
    void OnBarAction(QScrollBar* bar, Qt::Orientation orientation, int action);
    void PlaceParentBars();
    void ApplyFonts();
    void Redraw(bool redraw);
    int ScrollBarExtent() const;

    CUiServices m_services;
    CDataTableModel m_model;
    bool m_created = false;
    QPointer<QWidget> m_parent;
    CLogFont m_headerFont, m_cellFont;
    QFont m_headerQFont, m_cellQFont;
    CColorRef m_backColor = 0, m_headerTextColor = 0, m_cellTextColor = 0;
    int m_headerAlign = TA_LEFT, m_cellAlign = TA_LEFT;
    std::vector<CColorRef> m_columnColors;
    bool m_wholeBackground = false, m_parentScrollBars = false;
    bool m_fixedWidths = false, m_noDrag = false;
    bool m_painted = false;
    const QKeyEvent* m_offeredKey = nullptr; // compared, never followed
    quint64 m_offeredKeyTime = 0;
    QPointer<QScrollBar> m_parentVBar, m_parentHBar;
    CTipWnd m_tip;

    // Mouse.
    int m_clickState = 0; // 1 press on the current cell, 2 on another cell
    bool m_doubleClick = false;
    bool m_resizing = false;
    int m_resizeBorder = 0, m_leftLimit = 0, m_rightLimit = 0, m_lastMouseX = 0;
    int m_trackX = -1; // tracking line, -1 when none
    int m_pressKind = 0;
    QPoint m_pressPos;
    bool m_leftDown = false;
    int m_dragRow = -1, m_dragColumn = -1;
    bool m_rowDragPending = false;
    int m_rowDragRow = -1, m_rowDragColumn = -1;
    int m_tipRow = -1, m_tipColumn = -1;
    bool m_tipJustShown = false;
    QTimer* m_tipTimer = nullptr;     // 111
    QTimer* m_tipDoneTimer = nullptr; // 112
    QTimer* m_editTimer = nullptr;    // 1000

    // In-place edit and drop list.
    QPointer<CTableEdit> m_edit;
    bool m_editOpen = false;
    int m_editRow = -1, m_editColumn = -1;
    QPointer<CTableDropList> m_list;
    bool m_listOpen = false;
    int m_listRow = -1, m_listColumn = -1;
    bool m_typedValues = false;

    // Drag and drop.
    int m_dragKind = 10; // of the drag over this table; 10 none
    QPoint m_markerPos{-1, -1};
    QTimer* m_scrollTimers[4] = {}; // 300 right, 301 left, 302 down, 303 up
    bool m_markerWait = false;      // 400
    quint32 m_identity = 0;
};
