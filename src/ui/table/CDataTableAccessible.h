#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPair>
#include <QPointer>

class CDataTable;

// What a screen reader sees of a CDataTable, which paints its cells itself: a table with the
// row and column counts, the headers as column headers, the texts of the buffered rows and the
// current cell as the focused, selected cell. Installed once per program with
// InstallDataTableAccessibility().
class CDataTableAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit CDataTableAccessible(CDataTable* table);
    ~CDataTableAccessible() override;

    void* interface_cast(QAccessible::InterfaceType t) override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    CDataTable* Table() const;
    // row -1 is the header row.
    QAccessibleInterface* Cell(int row, int column) const;

private:
    mutable QHash<QPair<int, int>, QAccessible::Id> m_cells;
};

// Registers the factory that gives every CDataTable its CDataTableAccessible.
void InstallDataTableAccessibility();
// Tells an assistive technology that the current cell of table moved.
void NotifyDataTableFocus(CDataTable* table);
