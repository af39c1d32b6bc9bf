#include "CDataTable.h"

#include "QtConvert.h"
#include "app/TextUtil.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>

namespace {
constexpr CColorRef kGrey = 0xC0C0C0;
constexpr CColorRef kCurrentRowFill = 0x404040;
constexpr CColorRef kFrameColor = 0xFF0000; // blue in 0x00BBGGRR
constexpr int kWheelLines = 3;

bool ValidAlign(int a) { return a == TA_LEFT || a == TA_RIGHT || a == TA_CENTER; }

int AlignOffset(int align, int width) {
    if (align == TA_RIGHT) return width;
    if (align == TA_CENTER) return width / 2;
    return 0;
}

// Writes text with its reference point at (x, top) as the alignment places it.
void WriteText(QPainter& p, const QString& text, int x, int top, int align) {
    const QFontMetrics& fm = p.fontMetrics();
    const int w = fm.horizontalAdvance(text);
    if (align == TA_RIGHT) x -= w;
    else if (align == TA_CENTER)
        x -= w / 2;
    p.drawText(QPoint(x, top + fm.ascent()), text);
}
} // namespace

CDataTable::CDataTable(const CUiServices& services, QWidget* parent)
    : QAbstractScrollArea(parent), m_services(services), m_tip(services.mainWindow) {
    setObjectName(QStringLiteral("dataTable"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    // The vertical bar scrolls on release only; while dragged it shows the row in a tip.
    verticalScrollBar()->setTracking(false);
    ConnectBar(verticalScrollBar(), Qt::Vertical);
    ConnectBar(horizontalScrollBar(), Qt::Horizontal);
    hide();
    InitInput();
}

CDataTable::~CDataTable() {
    ReleaseInput();
    DetachParent();
}

int CDataTable::ScrollBarExtent() const { return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this); }

bool CDataTable::Create(QWidget* parent, const CDataTableParams& params, int firstColumn, int topRow) {
    if (!parent || params.columnCount <= 0 || !ValidAlign(params.headerAlign) || !ValidAlign(params.cellAlign))
        return false;
    if (parent != m_parent) {
        DetachParent();
        setParent(parent);
    }
    AttachParent(parent);

    m_headerFont = params.headerFont.height != 0 ? params.headerFont : params.defaultHeaderFont;
    m_cellFont = params.cellFont.height != 0 ? params.cellFont : params.defaultCellFont;
    ApplyFonts();
    m_backColor = params.backColor;
    m_headerTextColor = params.headerTextColor;
    m_cellTextColor = params.cellTextColor;
    m_headerAlign = params.headerAlign;
    m_cellAlign = params.cellAlign;
    m_wholeBackground = params.wholeBackground != 0;
    m_parentScrollBars = params.parentScrollBars != 0;
    m_fixedWidths = params.fixedWidths != 0;
    m_noDrag = params.noDrag != 0;
    m_columnColors.assign(std::size_t(params.columnCount), kGrey);
    for (std::size_t i = 0; i < m_columnColors.size() && i < params.columnColors.size(); ++i)
        m_columnColors[i] = params.columnColors[i];

    CDataTableModel::CSetup s;
    s.headerFontHeight = m_headerFont.height;
    s.cellFontHeight = m_cellFont.height;
    s.rowNumbers = params.rowNumbers != 0;
    s.lastColumnFlag = params.lastColumn != 0;
    s.columns = params.columnCount;
    s.totalRows = params.totalRows;
    s.bufferRows = params.bufferRows;
    s.initialKind = params.initialKind;
    s.defaultWidthBasis = params.defaultWidthBasis;
    s.widths = params.columnWidths;
    const QSize room = parent->contentsRect().size();
    s.rect = {params.left, params.top, params.right, params.bottom};
    if (s.rect.right == 0 || s.rect.right > room.width()) s.rect.right = room.width();
    if (s.rect.bottom == 0 || s.rect.bottom > room.height()) s.rect.bottom = room.height();
    s.vScrollWidth = s.hScrollHeight = ScrollBarExtent();
    m_model.Setup(s);
    m_painted = false;
    m_cornerPressed = false;

    m_created = true;
    Relayout();
    if (firstColumn < m_model.HMax()) m_model.SetFirstColumn(firstColumn);
    if (topRow < m_model.VMax()) m_model.SetTopRow(topRow);
    SetupScrollBars();
    show();
    viewport()->update();
    return true;
}

void CDataTable::AttachParent(QWidget* parent) {
    if (m_parent == parent) return;
    m_parent = parent;
    parent->installEventFilter(this);
}

void CDataTable::DetachParent() {
    if (m_parent) m_parent->removeEventFilter(this);
    delete m_parentVBar.data();
    delete m_parentHBar.data();
    m_parent = nullptr;
}

void CDataTable::Reset() {
    CommitOpenEditors();
    m_tip.HideTip();
    m_model = CDataTableModel();
    m_created = false;
    m_painted = false;
    if (m_parentVBar) m_parentVBar->hide();
    if (m_parentHBar) m_parentHBar->hide();
    hide();
}

void CDataTable::ApplyFonts() {
    m_headerQFont = MakeQFont(m_headerFont);
    m_cellQFont = MakeQFont(m_cellFont);
}

void CDataTable::Redraw(bool redraw) {
    if (redraw) viewport()->update();
}

void CDataTable::Notify(CTableNotify& record, int code) {
    record.table = this;
    record.id = TABLE_NOTIFY_ID;
    record.code = code;
    emit notify(record);
}

void CDataTable::SetRowCounts(int bufferRows, int totalRows) {
    m_tip.HideTip();
    CommitOpenEditors();
    m_model.SetRowCounts(bufferRows, totalRows);
}

void CDataTable::SetTableRect(int left, int top, int right, int bottom) {
    if (!m_created) return;
    m_model.SetRect({left, top, right, bottom});
    Relayout();
}

void CDataTable::Relayout() {
    m_tip.HideTip();
    CommitOpenEditors();
    m_model.SetScrollBarSizes(ScrollBarExtent(), ScrollBarExtent());
    m_model.Layout();
    const CRect& r = m_model.Rect();
    setGeometry(r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height()));
    SetupScrollBars();
    CTableLayout n;
    n.visibleRows = m_model.VisibleRows();
    Notify(n, TN_LAYOUT);
}

QScrollBar* CDataTable::VBar() const { return m_parentScrollBars ? m_parentVBar.data() : verticalScrollBar(); }
QScrollBar* CDataTable::HBar() const { return m_parentScrollBars ? m_parentHBar.data() : horizontalScrollBar(); }

void CDataTable::SetupScrollBars() {
    if (!m_created) return;
    if (m_parentScrollBars && m_parent && !m_parentVBar) {
        m_parentVBar = new QScrollBar(Qt::Vertical, m_parent);
        m_parentVBar->setObjectName(QStringLiteral("tableVBar"));
        m_parentVBar->setTracking(false);
        ConnectBar(m_parentVBar, Qt::Vertical);
        m_parentHBar = new QScrollBar(Qt::Horizontal, m_parent);
        m_parentHBar->setObjectName(QStringLiteral("tableHBar"));
        ConnectBar(m_parentHBar, Qt::Horizontal);
    }
    QScrollBar* h = HBar();
    QScrollBar* v = VBar();
    if (!h || !v) return;
    const QSignalBlocker blockH(h), blockV(v);
    if (m_model.HMax() > 0) {
        h->setRange(0, m_model.HMax());
        h->setPageStep(1);
        h->setValue(m_model.FirstColumn());
    } else {
        h->setRange(0, 0);
        h->setValue(0);
    }
    if (m_model.VMax() > 0) {
        const int range = m_model.VScrollRange();
        v->setRange(0, range);
        v->setSingleStep(1);
        v->setPageStep(std::max(1, int(m_model.VisibleRows() / m_model.Scale())));
        v->setValue(m_model.VScrollPos());
    } else {
        v->setRange(0, 0);
    }
    if (m_parentScrollBars) {
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        PlaceParentBars();
    } else {
        setHorizontalScrollBarPolicy(m_model.HMax() > 0 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(m_model.VMax() > 0 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    }
}

void CDataTable::PlaceParentBars() {
    if (!m_parent || !m_parentVBar || !m_parentHBar) return;
    const int ext = ScrollBarExtent();
    const QRect area = m_parent->contentsRect();
    const bool showV = m_created && m_model.VMax() > 0, showH = m_created && m_model.HMax() > 0;
    m_parentVBar->setGeometry(area.right() + 1 - ext, area.top(), ext, area.height() - (showH ? ext : 0));
    m_parentHBar->setGeometry(area.left(), area.bottom() + 1 - ext, area.width() - (showV ? ext : 0), ext);
    m_parentVBar->setVisible(showV);
    m_parentHBar->setVisible(showH);
    m_parentVBar->raise();
    m_parentHBar->raise();
}

void CDataTable::ConnectBar(QScrollBar* bar, Qt::Orientation orientation) {
    connect(bar, &QAbstractSlider::actionTriggered, this,
            [this, bar, orientation](int action) { OnBarAction(bar, orientation, action); });
    if (orientation == Qt::Vertical) {
        // Without tracking the bar reports a dragged thumb only through sliderMoved.
        connect(bar, &QAbstractSlider::sliderMoved, this, [this](int position) { OnVScrollCode(5, position, false); });
        connect(bar, &QAbstractSlider::sliderReleased, this,
                [this, bar] { OnVScrollCode(4, bar->sliderPosition(), false); });
    }
}

void CDataTable::OnBarAction(QScrollBar* bar, Qt::Orientation orientation, int action) {
    // The bar's own step is replaced by the table's: after this the bar shows the table's position.
    const int position = bar->sliderPosition();
    const bool vertical = orientation == Qt::Vertical;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: vertical ? OnVScrollCode(0, 0, false) : OnHScrollCode(0, 0); break;
    case QAbstractSlider::SliderSingleStepAdd: vertical ? OnVScrollCode(1, 0, false) : OnHScrollCode(1, 0); break;
    case QAbstractSlider::SliderPageStepSub: vertical ? OnVScrollCode(2, 0, false) : OnHScrollCode(2, 0); break;
    case QAbstractSlider::SliderPageStepAdd: vertical ? OnVScrollCode(3, 0, false) : OnHScrollCode(3, 0); break;
    case QAbstractSlider::SliderToMinimum: vertical ? OnVScrollCode(4, 0, true) : OnHScrollCode(5, 0); break;
    case QAbstractSlider::SliderToMaximum:
        vertical ? OnVScrollCode(4, bar->maximum(), true) : OnHScrollCode(5, bar->maximum());
        break;
    case QAbstractSlider::SliderMove:
        if (vertical) return; // dragging shows the row tip; the release scrolls
        OnHScrollCode(5, position);
        break;
    default: return;
    }
    bar->setSliderPosition(vertical ? m_model.VScrollPos() : m_model.FirstColumn());
}

void CDataTable::OnVScrollCode(int code, int position, bool force) {
    if (!m_created) return;
    if (code >= 0 && code <= 5) CommitOpenEditors();
    if (code == 5) {
        m_tip.HideTip();
        m_tip.ResetTip();
        m_tip.SetTipText(Format("Row: %lu", m_model.TrackingRow(position)));
        m_tip.ShowFor(m_parent, nullptr, false);
        return;
    }
    if (code == 4) m_tip.HideTip();
    const std::optional<int> target = m_model.VScrollTarget(code, position, force);
    if (!target) {
        if (code == 4 && VBar()) VBar()->setValue(m_model.VScrollPos());
        return;
    }
    m_model.SetTopRow(*target);
    CTableVScroll n;
    n.scrollCode = code;
    n.topRow = m_model.TopRow();
    n.visibleRows = m_model.VisibleRows();
    Notify(n, TN_VSCROLL);
    m_model.SetTopRow(n.topRow);
    if (QScrollBar* v = VBar()) {
        const QSignalBlocker block(v);
        v->setValue(m_model.VScrollPos());
    }
    viewport()->update();
}

void CDataTable::OnHScrollCode(int code, int position) {
    if (!m_created) return;
    if (code >= 0 && code <= 5 && code != 4) CommitOpenEditors();
    const CDataTableModel::CHScroll target = m_model.HScrollTarget(code, position);
    if (target.repaintOnly) viewport()->update();
    if (!target.scroll) return;
    m_model.SetFirstColumn(target.column);
    CTableHScroll n;
    n.scrollCode = code;
    n.firstColumn = m_model.FirstColumn();
    Notify(n, TN_HSCROLL);
    m_model.SetFirstColumn(n.firstColumn);
    if (QScrollBar* h = HBar()) {
        const QSignalBlocker block(h);
        h->setValue(m_model.FirstColumn());
    }
    viewport()->update();
}

void CDataTable::SetFirstColumn(int column) {
    if (!m_created) return;
    m_model.SetFirstColumn(column);
    if (QScrollBar* h = HBar()) {
        const QSignalBlocker block(h);
        h->setValue(m_model.FirstColumn());
    }
    viewport()->update();
}

void CDataTable::SetHeaderText(int column, std::string_view text, bool redraw) {
    if (!m_created) return;
    if (CTableCell* cell = m_model.HeaderCell(column)) cell->text.assign(text);
    Redraw(redraw);
}

std::string CDataTable::GetHeaderText(int column) const {
    const CTableCell* cell = m_created ? m_model.HeaderCell(column) : nullptr;
    return cell ? cell->text : std::string();
}

void CDataTable::SetColumnColor(int column, CColorRef color, bool redraw) {
    if (!m_created || column < 0 || std::size_t(column) >= m_columnColors.size()) return;
    m_columnColors[std::size_t(column)] = color;
    Redraw(redraw);
}

void CDataTable::SetBackColor(CColorRef color, bool redraw) {
    if (!m_created) return;
    CommitOpenEditors();
    m_backColor = color;
    Redraw(redraw);
}

void CDataTable::SetCellText(int row, int column, std::string_view text, bool redraw) {
    if (!m_created) return;
    CommitOpenEditors();
    if (CTableCell* cell = m_model.Cell(row, column)) cell->text.assign(text);
    Redraw(redraw);
}

std::string CDataTable::GetCellText(int row, int column) const {
    const CTableCell* cell = m_created ? m_model.Cell(row, column) : nullptr;
    return cell ? cell->text : std::string();
}

void CDataTable::SetCellChoice(int row, int column, int index, bool redraw) {
    if (!m_created) return;
    CTableCell* cell = m_model.Cell(row, column);
    if (!cell) return;
    std::string chosen;
    if (index >= 0) {
        std::size_t start = 0;
        for (int i = 0; i <= index; ++i) {
            const std::size_t end = cell->choiceList.find("\r\n", start);
            if (i == index) {
                if (start <= cell->choiceList.size())
                    chosen = cell->choiceList.substr(start, end == std::string::npos ? std::string::npos : end - start);
                break;
            }
            if (end == std::string::npos) break;
            start = end + 2;
        }
    }
    cell->text = chosen;
    Redraw(redraw);
}

void CDataTable::SetCurrentCell(int row, int column) {
    if (!m_created) return;
    m_model.SetCurrentCell(row, column);
    viewport()->update();
}

int CDataTable::GetColumnWidth(int column) const { return m_created ? m_model.GetColumnWidth(column) : 0; }

void CDataTable::SetColumnWidth(int column, int width, bool shiftFollowing, bool redraw) {
    if (!m_created) return;
    m_model.SetColumnWidth(column, width, shiftFollowing);
    Redraw(redraw);
}

void CDataTable::SetTableFont(const CLogFont& font, bool redraw) {
    if (!m_created) return;
    // A font without a height would leave rows four pixels high; the current height stays.
    CLogFont f = font;
    if (f.height == 0) f.height = m_cellFont.height;
    m_headerFont = m_cellFont = f;
    ApplyFonts();
    m_model.SetFontHeights(f.height, f.height);
    Relayout();
    Redraw(redraw);
}

void CDataTable::SetColumnKind(int column, int kind, bool redraw) {
    if (!m_created) return;
    m_model.SetColumnKind(column, kind);
    Redraw(redraw);
}

void CDataTable::AutoFitColumns() {
    if (!m_created) return;
    CommitOpenEditors();
    const QFontMetrics fm(m_headerQFont);
    const int limit = m_model.Rect().Width() * 3 / 4;
    const int rows = std::min(m_model.BufferRows(), 20);
    for (int c = 0; c < m_model.Columns(); ++c) {
        const int header = fm.horizontalAdvance(ToQ(m_model.HeaderCell(c)->text));
        int content = 0;
        for (int b = 0; b < rows; ++b)
            content = std::max(content, fm.horizontalAdvance(ToQ(m_model.BufferCell(b, c).text)));
        int result = content;
        if (content < header && header < limit) result = header;
        result = std::min(result, limit);
        m_model.SetColumnWidth(c, result + 6, false);
    }
    m_model.SetFirstColumn(0);
    if (QScrollBar* h = HBar()) {
        const QSignalBlocker block(h);
        h->setValue(0);
    }
    Relayout();
    viewport()->update();
}

void CDataTable::keyPressEvent(QKeyEvent* event) {
    m_offeredKey = event;
    m_offeredKeyTime = event->timestamp();
    if (!OnKeyDown(event)) event->ignore();
}

void CDataTable::wheelEvent(QWheelEvent* event) {
    // Three lines a notch, through the same requests as the bar's arrows.
    const int notches = event->angleDelta().y() / 120;
    if (!m_created || notches == 0 || m_model.VMax() == 0) {
        event->ignore();
        return;
    }
    for (int i = 0; i < std::abs(notches) * kWheelLines; ++i) OnVScrollCode(notches > 0 ? 0 : 1, 0, false);
    event->accept();
}

bool CDataTable::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_parent) {
        if (event->type() == QEvent::KeyPress) {
            // A key the table left unhandled travels up to the parent: it is not offered twice.
            auto* key = static_cast<QKeyEvent*>(event);
            const bool seen = key == m_offeredKey && key->timestamp() == m_offeredKeyTime;
            if (m_created && !seen && OnKeyDown(key)) return true;
        } else if (event->type() == QEvent::Resize && m_parentScrollBars) {
            PlaceParentBars();
        }
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

void CDataTable::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    if (!m_created) {
        p.fillRect(viewport()->rect(), ToQColor(kGrey));
        return;
    }
    PaintTable(p, viewport()->size());
    PaintOverlays(p);
}

void CDataTable::PaintTable(QPainter& p, QSize client) {
    if (!m_created) return;
    const CDataTableModel& m = m_model;
    const int W = client.width(), H = client.height();
    const int hh = m.HeaderHeight(), rh = m.RowHeight(), rnw = m.RowNumberWidth();
    const int columns = m.Columns(), drawn = m.DrawnRows(), tib = m.TopRowInBuffer();
    const bool lastFlag = m.LastColumnFlag();
    const QPen highlight(ToQColor(0xFFFFFF), 2), shadow(ToQColor(0x808080), 2), mark(ToQColor(0x000000), 2);
    const QPen plain(Qt::black, 1);

    p.save();
    p.setBackgroundMode(Qt::TransparentMode);
    const int lastRight = std::min(m.ColumnLeft(columns), W - 1);
    const int rowsBottom = std::min(m.RowTop(drawn), H - 1);
    const int gridRight = lastFlag ? W : lastRight;

    p.fillRect(QRect(0, 0, W, H), ToQColor(m_wholeBackground ? m_backColor : kGrey));
    if (rnw > 0) p.fillRect(QRect(0, 0, rnw, rowsBottom), ToQColor(kGrey));
    const QRect cellArea = QRect(QPoint(rnw, hh), QPoint(gridRight - 1, rowsBottom - 1)).intersected(QRect(0, 0, W, H));
    if (cellArea.isValid()) p.fillRect(cellArea, ToQColor(m_backColor));
    const bool dark = IsDarkColor(m_backColor);

    p.setFont(m_headerQFont);
    const QFontMetrics headerFm(m_headerQFont);
    const auto headerMeasure = [&headerFm](const QString& s) { return headerFm.horizontalAdvance(s); };

    // Row-number column: raised edges, the corner X, and a mark box for every shown row.
    if (rnw > 0) {
        p.setPen(m_cornerPressed ? shadow : highlight);
        p.drawLine(1, 0, 1, m_cornerPressed ? hh : rowsBottom);
        p.setPen(m_cornerPressed ? highlight : shadow);
        p.drawLine(rnw - 1, 0, rnw - 1, m_cornerPressed ? hh : rowsBottom);
        if (m_cornerPressed) {
            p.setPen(highlight);
            p.drawLine(1, hh, 1, rowsBottom);
            p.setPen(shadow);
            p.drawLine(rnw - 1, hh, rnw - 1, rowsBottom);
        }
        const int s = hh - 8, x0 = (rnw - s) / 2;
        p.setPen(mark);
        p.drawLine(x0, 4, x0 + s, hh - 4);
        p.drawLine(x0 + s, 4, x0, hh - 4);
        const int b = rh - 4, bx = (rnw - b) / 2;
        for (int row = tib; row < drawn && m.RowTop(row) + 2 < H; ++row) {
            const int y = m.RowTop(row);
            const int absolute = m.AbsoluteRowOf(row);
            const bool current = absolute == m.CurrentRow();
            const bool marked = m.IsMarked(absolute);
            if (current) p.fillRect(QRect(QPoint(2, y), QPoint(rnw - 3, y + rh - 1)), ToQColor(kCurrentRowFill));
            p.setPen(marked ? highlight : shadow);
            p.drawLine(bx + b, y + 2, bx + b, y + rh - 2);
            p.drawLine(bx, y + rh - 2, bx + b, y + rh - 2);
            p.setPen(marked ? shadow : highlight);
            p.drawLine(bx, y + 2, bx + b, y + 2);
            p.drawLine(bx, y + 2, bx, y + rh - 2);
            if (marked) {
                p.setPen(current ? highlight : mark);
                p.drawLine(bx + 2, y + 4, bx + b - 2, y + rh - 4);
                p.drawLine(bx + b - 2, y + 4, bx + 2, y + rh - 4);
            }
        }
    }

    // Header cells.
    for (int c = m.FirstColumn(); c < columns; ++c) {
        const int left = m.ColumnLeft(c);
        int right = m.ColumnLeft(c + 1);
        if (lastFlag && c == columns - 1) right = std::max(right, W);
        else if (left > W)
            break;
        p.fillRect(QRect(left, 0, right - left, hh), ToQColor(m_columnColors[std::size_t(c)]));
        p.setPen(highlight);
        p.drawLine(left + 1, 0, left + 1, hh);
        p.setPen(shadow);
        p.drawLine(right - 1, 0, right - 1, hh);
        const std::string& text = m.HeaderCell(c)->text;
        if (!text.empty()) {
            p.setPen(ToQColor(m_headerTextColor));
            // Fitted inside the raised edges, so a cut text keeps all three dots visible.
            WriteText(p, FitText(ToQ(text), right - left - 3, headerMeasure),
                      left + 1 + AlignOffset(m_headerAlign, right - left), 0, m_headerAlign);
        }
    }
    p.setPen(highlight);
    p.drawLine(0, 0, gridRight, 0);
    p.setPen(shadow);
    p.drawLine(0, hh - 1, gridRight, hh - 1);

    // Grid lines: white on a dark background.
    p.setPen(dark ? highlight : plain);
    p.setFont(m_cellQFont);
    p.drawLine(m.Edges()[0], 0, m.Edges()[0], rowsBottom);
    for (int c = m.FirstColumn(); c < columns; ++c) {
        const int x = m.ColumnLeft(c + 1);
        if (x > W) break;
        if (lastFlag && c == columns - 1) break;
        p.drawLine(x, 0, x, rowsBottom);
    }
    const int lineRight = std::min(gridRight, W);
    for (int row = tib; row <= m.BufferRows() && row <= drawn; ++row) {
        const int y = m.RowTop(row);
        if (y >= H) break;
        p.drawLine(0, y, lineRight, y);
    }

    // Cell texts and drop buttons.
    const QColor ink = ToQColor(dark && m_cellTextColor == 0 ? 0xFFFFFF : m_cellTextColor);
    const QFontMetrics cellFm(m_cellQFont);
    const auto cellMeasure = [&cellFm](const QString& s) { return cellFm.horizontalAdvance(s); };
    const int buttonWidth = CDataTableModel::kMargin / 2 + ScrollBarExtent();
    const QColor face = palette().color(QPalette::Button);
    for (int c = m.FirstColumn(); c < columns; ++c) {
        const int left = m.ColumnLeft(c);
        int right = m.ColumnLeft(c + 1);
        if (lastFlag && c == columns - 1) right = std::max(right, W);
        else if (left > W)
            break;
        for (int row = tib; row < drawn && m.RowTop(row) + 2 < H; ++row) {
            const int y = m.RowTop(row);
            const CTableCell& cell = m.BufferCell(row, c);
            int textRight = right;
            if (cell.kind == kCellChoiceOrTyped || cell.kind == kCellChoiceOnly) {
                const QRect box(right - buttonWidth, y, buttonWidth, rh);
                p.fillRect(box, face);
                p.setPen(QPen(Qt::white, 1));
                p.drawLine(box.left(), box.top(), box.right(), box.top());
                p.drawLine(box.left(), box.top(), box.left(), box.bottom());
                p.setPen(QPen(ToQColor(0x808080), 1));
                p.drawLine(box.left(), box.bottom(), box.right(), box.bottom());
                p.drawLine(box.right(), box.top(), box.right(), box.bottom());
                const int ax = box.left() - 1 + (box.width() - 9) / 2, ay = box.top() + (box.height() - 5) / 2;
                for (int i = 0; i < 5; ++i) p.fillRect(QRect(ax + i + 1, ay + i, 9 - 2 * i, 1), Qt::black);
                textRight = right - buttonWidth;
            }
            if (cell.text.empty()) continue;
            p.setPen(ink);
            const int w = textRight - left;
            // One pixel below the row's grid line: the marks above capitals (the dots of an
            // 'Ä') would otherwise sit on the line and vanish into it.
            WriteText(p, FitText(ToQ(cell.text), w, cellMeasure), left + 1 + AlignOffset(m_cellAlign, w), y + 1,
                      m_cellAlign);
        }
    }

    // The current cell's frame.
    const int curRow = m.CurrentRow(), curCol = m.CurrentColumn();
    if (curRow >= m.TopRow() && curCol >= m.FirstColumn() && curCol < columns && m.BufferRowOf(curRow) >= 0) {
        const CRect r = m.GetCellRect(curRow, curCol);
        if (!r.IsEmpty() && r.left < W) {
            p.setPen(QPen(ToQColor(m_backColor == kFrameColor ? 0xFFFFFF : kFrameColor), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(r.left, r.top, r.Width() - 1, r.Height() - 1));
        }
    }
    p.restore();
    m_painted = true;
}
