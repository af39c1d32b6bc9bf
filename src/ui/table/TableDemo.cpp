#include "app/Demos.h"

#include "table/CDataTable.h"

#include "app/TextUtil.h"

#include <QApplication>
#include <QResizeEvent>
#include <QWidget>

namespace {
constexpr int kBufferRows = 400;

// The demo's window: a table over the whole client area, its buffer refilled after each scroll
// as the collection window does it.
class CTableDemoWnd : public QWidget {
public:
    CTableDemoWnd(int rows, const CDataTableParams& params) : m_rows(rows) {
        setWindowTitle(QStringLiteral("Table demo: %1 rows").arg(rows));
        resize(760, 460);
        m_table = new CDataTable(this);
        connect(m_table, &CDataTable::notify, this, [this](CTableNotify& n) {
            if (n.code == TN_VSCROLL) Fill(static_cast<CTableVScroll&>(n).topRow);
        });
        m_table->Create(this, params, 0, 0);
        m_table->SetHeaderText(0, "Editable text", false);
        m_table->SetHeaderText(1, "Read-only", false);
        m_table->SetHeaderText(2, "Choice", false);
        Fill(0);
        m_table->SetCurrentCell(2, 1);
        for (int r : {1, 3, 4}) m_table->Model().SetMark(r, true);
    }

protected:
    void resizeEvent(QResizeEvent* e) override {
        if (m_table->IsCreated()) m_table->SetTableRect(0, 0, e->size().width(), e->size().height());
    }

private:
    void Fill(int first) {
        CDataTableModel& m = m_table->Model();
        for (int b = 0; b < m.BufferRows(); ++b) {
            const int row = m.IsWindowed() ? first + b : b;
            if (row >= m_rows) break;
            CTableCell& choice = m.BufferCell(b, 2);
            choice.choiceList = "red\r\ngreen\r\nblue";
            m_table->SetCellText(row, 0, Format("Row %d: an editable text long enough to be cut", row + 1), false);
            m_table->SetCellText(row, 1, Format("read-only %d", row + 1), false);
            m_table->SetCellChoice(row, 2, row % 3, false);
        }
        m_table->SetColumnKind(1, kCellReadOnly, false);
        for (int b = 0; b < m.BufferRows(); ++b) m.BufferCell(b, 2).kind = kCellChoiceOnly;
        m_table->viewport()->update();
    }

    int m_rows;
    CDataTable* m_table;
};
} // namespace

int RunTableDemo(const QStringList& arguments) {
    const qsizetype at = arguments.indexOf(QStringLiteral("--table-demo"));
    bool ok = false;
    int rows = at + 1 < arguments.size() ? arguments[at + 1].toInt(&ok) : 0;
    if (!ok || rows <= 0) rows = 1000;

    CDataTableParams params;
    params.columnCount = 3;
    params.totalRows = rows;
    params.bufferRows = std::min(rows, kBufferRows);
    params.headerTextColor = 0x800000;
    params.headerAlign = TA_CENTER;
    params.columnColors = {0xC0C0C0, 0xC0DCC0, 0xF0CAA6};
    params.backColor = 0xFFFFFF;
    params.lastColumn = 1;
    const auto option = [&](const char* name) -> QString {
        const qsizetype i = arguments.indexOf(QLatin1String(name));
        return i >= 0 && i + 1 < arguments.size() ? arguments[i + 1] : QString();
    };
    if (const QString back = option("--back"); !back.isEmpty()) params.backColor = back.toUInt(&ok, 0);
    if (const QString widths = option("--widths"); !widths.isEmpty()) {
        const QStringList parts = widths.split(QLatin1Char(','));
        for (int c = 0; c < parts.size() && c < 3; ++c) params.SetColumnWidth(c, parts[c].toInt());
    } else {
        for (int c = 0; c < 3; ++c) params.SetColumnWidth(c, c == 1 ? 240 : 200);
    }
    if (arguments.contains(QStringLiteral("--row-numbers"))) params.rowNumbers = 1;

    CTableDemoWnd window(rows, params);
    window.show();
    return QApplication::exec();
}
