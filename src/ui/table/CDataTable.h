#pragma once

// CDataTable: the program's own grid control.
//
// How it is organised:
// - CDataTableModel (plain class, no painting) holds the row buffer, the column and row edges,
//   the scroll ranges and requests, the current cell and the row marks. Geometry queries
//   (ColumnLeft, RowTop, GetCellRect, NextPageColumn ...) live there; tests drive it directly.
// - CDataTable is the widget: it copies a CDataTableParams block at Create, keeps the fonts
//   and colours, paints (PaintTable, also usable on any QPainter), runs the scroll bars (its own
//   or, with the parent-scroll-bars flag, two bars it places on its parent) and reports to its
//   owner through the notify signal, synchronously, with the TN_ records of CTableNotify.h.
// - Every scroll request goes through OnVScrollCode/OnHScrollCode with the codes 0..5, whether
//   it comes from a bar, the wheel or (later) a key.
// - User input: keys of the table and of its parent arrive at OnKeyDown; mouse handlers,
//   hit testing (on the model's edges), in-place edit, the drop list and drag and drop attach
//   through the virtual hooks below. CommitOpenEditors is called wherever an open edit must be
//   committed and an open list closed before the table changes under it.

#include "table/CDataTableModel.h"
#include "table/CDataTableParams.h"
#include "table/CTableNotify.h"
#include "table/CTipWnd.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QPointer>

#include <string>
#include <string_view>
#include <vector>

class QScrollBar;

class CDataTable : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CDataTable(QWidget* parent = nullptr);
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

signals:
    // Delivered synchronously; the receiver may write the record's read-back fields.
    void notify(CTableNotify& record);

protected:
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int, int) override {}
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Keys typed in the table or in its parent; true when handled.
    virtual bool OnKeyDown(QKeyEvent* event);
    // Commits an open in-place edit and closes an open drop list with commit.
    virtual void CommitOpenEditors() {}

    void Notify(CTableNotify& record, int code);
    void Relayout();

    bool m_cornerPressed = false;

private:
    void AttachParent(QWidget* parent);
    void DetachParent();
    void ConnectBar(QScrollBar* bar, Qt::Orientation orientation);
    void OnBarAction(QScrollBar* bar, Qt::Orientation orientation, int action);
    void PlaceParentBars();
    void ApplyFonts();
    void Redraw(bool redraw);
    int ScrollBarExtent() const;

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
};
