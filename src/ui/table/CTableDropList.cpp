#include "CTableDropList.h"

#include "CDataTable.h"
#include "QtConvert.h"

#include "app/TextUtil.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace {
constexpr int kMaxShownRows = 7;

bool SameNoCase(const QString& a, const QString& b) { return ToUpperAscii(FromQ(a)) == ToUpperAscii(FromQ(b)); }
} // namespace

CTableDropList::CTableDropList(CDataTable& table, const CRect& cell, const std::string& choices, bool sorted, int limit)
    : QListWidget(table.EditHost()), m_table(table) {
    setObjectName(QStringLiteral("tableDropList"));
    // The edit keeps the keyboard: typing, Enter, Escape and the arrows reach the list from it.
    setFocusPolicy(Qt::NoFocus);
    setFont(MakeQFont(table.CellFont()));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    const int h = cell.Height();
    for (const std::string& item : SplitChoiceList(choices)) {
        auto* it = new QListWidgetItem(ToQ(item), this);
        it->setSizeHint(QSize(cell.Width(), h));
    }
    if (sorted) sortItems();
    m_shown = ShownRows(count(), cell.top, h, limit);
    setVerticalScrollBarPolicy(m_shown < count() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const int frame = 2 * frameWidth();
    const CRect r{cell.left, cell.bottom, cell.right, cell.bottom + m_shown * h + frame};
    setGeometry(table.ToEditHost(r));
    show();
    raise();
}

int CTableDropList::ShownRows(int count, int cellTop, int h, int limit) {
    int n = count;
    if (h > 0 && (count - 1) * h + cellTop > limit) n = std::max(0, (limit - cellTop) / h + 1);
    n = std::min(n, kMaxShownRows);
    if (count >= 2) n = std::max(n, 1);
    return std::min(n, count);
}

int CTableDropList::FindPrefix(const QString& text) const {
    const std::string upper = ToUpperAscii(FromQ(text));
    for (int i = 0; i < count(); ++i)
        if (ToUpperAscii(FromQ(item(i)->text())).starts_with(upper)) return i;
    return -1;
}

int CTableDropList::FindExact(const QString& text) const {
    for (int i = 0; i < count(); ++i)
        if (SameNoCase(item(i)->text(), text)) return i;
    return -1;
}

void CTableDropList::MoveSelection(int delta) {
    if (count() == 0) return;
    const int at = std::clamp(currentRow() < 0 ? (delta > 0 ? 0 : count() - 1) : currentRow() + delta, 0, count() - 1);
    setCurrentRow(at);
    scrollToItem(item(at));
}

void CTableDropList::mouseReleaseEvent(QMouseEvent* e) {
    QListWidget::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && itemAt(e->position().toPoint())) m_table.EndDropList(false);
}

void CTableDropList::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) m_table.EndDropList(false);
    else if (e->key() == Qt::Key_Escape)
        m_table.EndDropList(true);
    else
        QListWidget::keyPressEvent(e);
}
