#include "CDataTableAccessible.h"

#include "CDataTable.h"

#include <QAccessible>

namespace {

class CCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    CCellAccessible(CDataTable* table, int row, int column) : m_table(table), m_row(row), m_column(column) {}

    bool isValid() const override { return m_table && m_table->IsCreated(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_table ? m_table->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_table.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value)) return {};
        const std::string s = m_row < 0 ? m_table->GetHeaderText(m_column) : m_table->GetCellText(m_row, m_column);
        return QString::fromStdString(s);
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = m_table->GetCellRect(m_row, m_column).ToQRect();
        return QRect(m_table->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return m_row < 0 ? QAccessible::ColumnHeader : QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        if (m_row >= 0) {
            s.selectable = true;
            s.focusable = true;
            const bool current = m_table->Model().CurrentRow() == m_row && m_table->Model().CurrentColumn() == m_column;
            s.selected = current;
            s.focused = current && m_table->hasFocus();
            const CTableCell* cell = m_table->Model().Cell(m_row, m_column);
            s.editable = cell && cell->kind == kCellEdit;
            s.readOnly = !s.editable;
        }
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }

    bool isSelected() const override { return state().selected; }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        auto* t = Owner();
        return t && m_row >= 0 ? QList<QAccessibleInterface*>{t->Cell(-1, m_column)} : QList<QAccessibleInterface*>{};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    CDataTableAccessible* Owner() const { return dynamic_cast<CDataTableAccessible*>(parent()); }

    QPointer<CDataTable> m_table;
    int m_row, m_column;
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className == QLatin1String("CDataTable"))
        if (auto* table = qobject_cast<CDataTable*>(object)) return new CDataTableAccessible(table);
    return nullptr;
}

} // namespace

CDataTableAccessible::CDataTableAccessible(CDataTable* table) : QAccessibleWidget(table, QAccessible::Table) {}

CDataTableAccessible::~CDataTableAccessible() {
    for (QAccessible::Id id : std::as_const(m_cells)) QAccessible::deleteAccessibleInterface(id);
}

CDataTable* CDataTableAccessible::Table() const { return static_cast<CDataTable*>(widget()); }

void* CDataTableAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QAccessibleInterface* CDataTableAccessible::Cell(int row, int column) const {
    if (column < 0 || column >= columnCount() || row < -1 || row >= rowCount()) return nullptr;
    const QPair<int, int> key(row, column);
    if (const auto it = m_cells.constFind(key); it != m_cells.constEnd()) return QAccessible::accessibleInterface(*it);
    auto* cell = new CCellAccessible(Table(), row, column);
    m_cells.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

QAccessibleInterface* CDataTableAccessible::cellAt(int row, int column) const {
    return row < 0 ? nullptr : Cell(row, column);
}

int CDataTableAccessible::columnCount() const { return Table()->IsCreated() ? Table()->Model().Columns() : 0; }

int CDataTableAccessible::rowCount() const { return Table()->IsCreated() ? Table()->Model().TotalRows() : 0; }

// Children: the header cells, then the cells of the buffered rows, row by row.
int CDataTableAccessible::childCount() const {
    if (!Table()->IsCreated()) return 0;
    return columnCount() * (1 + std::min(Table()->Model().BufferRows(), rowCount()));
}

QAccessibleInterface* CDataTableAccessible::child(int index) const {
    const int columns = columnCount();
    if (index < 0 || index >= childCount() || columns == 0) return nullptr;
    if (index < columns) return Cell(-1, index);
    const int k = index - columns;
    return Cell(Table()->Model().AbsoluteRowOf(k / columns), k % columns);
}

int CDataTableAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const QAccessibleTableCellInterface* cell =
        child ? const_cast<QAccessibleInterface*>(child)->tableCellInterface() : nullptr;
    if (!cell) return -1;
    const int columns = columnCount();
    if (cell->rowIndex() < 0) return cell->columnIndex();
    const int buffer = Table()->Model().BufferRowOf(cell->rowIndex());
    return buffer < 0 ? -1 : columns + buffer * columns + cell->columnIndex();
}

QAccessibleInterface* CDataTableAccessible::focusChild() const {
    const int row = Table()->Model().CurrentRow(), column = Table()->Model().CurrentColumn();
    return row >= 0 && column >= 0 ? Cell(row, column) : nullptr;
}

QAccessibleInterface* CDataTableAccessible::childAt(int x, int y) const {
    const QPoint p = Table()->viewport()->mapFromGlobal(QPoint(x, y));
    const CDataTableModel::CHit hit = Table()->HitTest(p.x(), p.y());
    if (hit.column < 0) return nullptr;
    return Cell(hit.kind == CDataTableModel::kHitHeader ? -1 : hit.row, hit.column);
}

int CDataTableAccessible::selectedCellCount() const { return focusChild() ? 1 : 0; }

QList<QAccessibleInterface*> CDataTableAccessible::selectedCells() const {
    if (QAccessibleInterface* c = focusChild()) return {c};
    return {};
}

QString CDataTableAccessible::columnDescription(int column) const {
    return QString::fromStdString(Table()->GetHeaderText(column));
}

QString CDataTableAccessible::rowDescription(int row) const { return QString::number(row + 1); }

int CDataTableAccessible::selectedRowCount() const { return int(selectedRows().size()); }

QList<int> CDataTableAccessible::selectedRows() const {
    QList<int> rows;
    for (int r = 0; r < rowCount(); ++r)
        if (Table()->Model().IsMarked(r)) rows << r;
    return rows;
}

bool CDataTableAccessible::isRowSelected(int row) const { return Table()->Model().IsMarked(row); }

bool CDataTableAccessible::selectRow(int row) {
    if (row < 0 || row >= rowCount()) return false;
    Table()->SetCurrentCell(row, std::max(0, Table()->Model().CurrentColumn()));
    NotifyDataTableFocus(Table());
    return true;
}

void InstallDataTableAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(Factory);
}

void NotifyDataTableFocus(CDataTable* table) {
    if (!table || !QAccessible::isActive()) return;
    const int row = table->Model().CurrentRow(), column = table->Model().CurrentColumn();
    if (row < 0 || column < 0) return;
    auto* iface = dynamic_cast<CDataTableAccessible*>(QAccessible::queryAccessibleInterface(table));
    if (!iface) return;
    const int index = iface->indexOfChild(iface->Cell(row, column));
    if (index < 0) return;
    QAccessibleEvent focus(table, QAccessible::Focus);
    focus.setChild(index);
    QAccessible::updateAccessibility(&focus);
    QAccessibleEvent selection(table, QAccessible::Selection);
    selection.setChild(index);
    QAccessible::updateAccessibility(&selection);
}
