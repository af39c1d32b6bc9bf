// Two tables side by side to try by hand: edit, resize, drag between them. The status line
// shows the notifications and the tables' messages.
//   table_demo [ROWS] [--back 0xBBGGRR] [--widths A,B,C] [--row-numbers]

#include "CDataTable.h"
#include "QtConvert.h"

#include "app/CMemorySettings.h"
#include "app/TextUtil.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QHBoxLayout>
#include <QLabel>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <QWidget>

namespace {
constexpr int kBufferRows = 400;

// The tables only ever show plain messages; they go to the status line.
class CStatusPrompt : public CPrompt {
public:
    explicit CStatusPrompt(QLabel* status) : m_status(status) {}
    EPromptAnswer Ask(std::string_view text, std::string_view, EPromptButtons, EPromptIcon, int) override {
        m_status->setText(QStringLiteral("message: %1").arg(ToQMessage(text)));
        return EPromptAnswer::Ok;
    }

private:
    QLabel* m_status;
};

// A short line about a notification, for the demo's status line.
std::string Describe(const CTableNotify& n) {
    switch (n.code) {
    case TN_CELLCHANGING:
    case TN_CELLCHANGED: {
        const auto& c = static_cast<const CTableCellChange&>(n);
        return Format("%s row %d column %d \"%s\" origin %d veto %d",
                      n.code == TN_CELLCHANGING ? "TN_CELLCHANGING" : "TN_CELLCHANGED", c.row, c.column,
                      c.text.c_str(), c.origin, c.veto);
    }
    case TN_CHOICECHANGED: {
        const auto& c = static_cast<const CTableChoiceChange&>(n);
        return Format("TN_CHOICECHANGED row %d column %d \"%s\" index %d typed %d", c.row, c.column, c.text.c_str(),
                      c.index, c.typedValue);
    }
    case TN_COLUMNRESIZED: {
        const auto& c = static_cast<const CTableColumnResized&>(n);
        return Format("TN_COLUMNRESIZED column %d left %d width %d change %d only %d", c.column, c.left, c.width,
                      c.change, c.onlyThisBorder);
    }
    case TN_DROP: {
        const auto& c = static_cast<const CTableDrop&>(n);
        return Format("TN_DROP kind %d row %d column %d \"%s\" effect %d", c.dropKind, c.row, c.column,
                      c.text.c_str(), c.dropEffect);
    }
    case TN_BEGINEDIT: {
        const auto& c = static_cast<const CTableBeginEdit&>(n);
        return Format("TN_BEGINEDIT row %d column %d \"%s\"", c.row, c.column, c.text.c_str());
    }
    default:
        return {};
    }
}

// One table over the whole of its pane, its buffer refilled after each scroll as the
// collection window does it. Each table has a pane of its own: a table takes the keys of its
// parent, and two tables must not share them.
class CTablePane : public QWidget {
public:
    CTablePane(const CUiServices& services, int rows, const CDataTableParams& params, bool second, QLabel* status)
        : m_rows(rows), m_second(second) {
        m_table = new CDataTable(services, this);
        m_table->setObjectName(second ? QStringLiteral("rightTable") : QStringLiteral("leftTable"));
        connect(m_table, &CDataTable::notify, this, [this, status](CTableNotify& n) {
            if (n.code == TN_VSCROLL) Fill(static_cast<CTableVScroll&>(n).topRow);
            const std::string line = Describe(n);
            if (!line.empty())
                status->setText(QStringLiteral("%1: %2").arg(m_second ? "right" : "left", QString::fromStdString(line)));
        });
        m_table->Create(this, params, 0, 0);
        if (second) {
            m_table->SetHeaderText(0, "Drop here", false);
            m_table->SetHeaderText(1, "Typed choice", false);
        } else {
            m_table->SetHeaderText(0, "Editable text", false);
            m_table->SetHeaderText(1, "Read-only", false);
            m_table->SetHeaderText(2, "Choice", false);
        }
        Fill(0);
        if (!second) {
            m_table->SetCurrentCell(2, 1);
            for (int r : {1, 3, 4}) m_table->Model().SetMark(r, true);
        }
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
            if (m_second) {
                CTableCell& choice = m.BufferCell(b, 1);
                choice.kind = kCellChoiceOrTyped;
                if (choice.choiceList.empty()) choice.choiceList = "small\r\nmedium\r\nlarge";
                if (row % 4 == 0) m_table->SetCellText(row, 0, Format("second %d", row + 1), false);
                if (choice.text.empty()) m_table->SetCellChoice(row, 1, row % 3, false);
                continue;
            }
            CTableCell& choice = m.BufferCell(b, 2);
            choice.choiceList = "red\r\ngreen\r\nblue";
            m_table->SetCellText(row, 0, Format("Row %d: an editable text long enough to be cut", row + 1), false);
            m_table->SetCellText(row, 1, Format("read-only %d", row + 1), false);
            m_table->SetCellChoice(row, 2, row % 3, false);
        }
        if (!m_second) {
            m_table->SetColumnKind(1, kCellReadOnly, false);
            for (int b = 0; b < m.BufferRows(); ++b) m.BufferCell(b, 2).kind = kCellChoiceOnly;
        }
        m_table->viewport()->update();
    }

    int m_rows;
    bool m_second;
    CDataTable* m_table;
};

class CTableDemoWnd : public QWidget {
public:
    CTableDemoWnd(CSettings& settings, int rows, const CDataTableParams& left, const CDataTableParams& right)
        : m_status(new QLabel(this)), m_prompt(m_status) {
        setWindowTitle(QStringLiteral("Table demo: %1 rows").arg(rows));
        resize(1100, 480);
        m_status->setObjectName(QStringLiteral("demoStatus"));
        const CUiServices services{&m_prompt, &settings, this};
        auto* panes = new QHBoxLayout;
        panes->setSpacing(8);
        panes->addWidget(new CTablePane(services, rows, left, false, m_status), 3);
        panes->addWidget(new CTablePane(services, 50, right, true, m_status), 2);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(4, 4, 4, 4);
        layout->addLayout(panes, 1);
        layout->addWidget(m_status);
    }

private:
    QLabel* m_status;
    CStatusPrompt m_prompt;
};
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Two tables to try by hand."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("rows"), QStringLiteral("Rows of the left table (1000)."), QStringLiteral("[ROWS]"));
    const QCommandLineOption backOption(QStringLiteral("back"), QStringLiteral("Background colour as 0xBBGGRR."),
                                        QStringLiteral("colour"));
    const QCommandLineOption widthsOption(QStringLiteral("widths"), QStringLiteral("Column widths A,B,C."),
                                          QStringLiteral("widths"));
    const QCommandLineOption rowNumbersOption(QStringLiteral("row-numbers"), QStringLiteral("Show row numbers."));
    parser.addOptions({backOption, widthsOption, rowNumbersOption});
    parser.process(app);

    bool ok = false;
    const QStringList positional = parser.positionalArguments();
    int rows = positional.isEmpty() ? 0 : positional.first().toInt(&ok);
    if (!ok || rows <= 0) rows = 1000;

    CMemorySettings settings;
    CDataTableParams params(settings);
    params.columnCount = 3;
    params.totalRows = rows;
    params.bufferRows = std::min(rows, kBufferRows);
    params.headerTextColor = 0x800000;
    params.headerAlign = TA_CENTER;
    params.columnColors = {0xC0C0C0, 0xC0DCC0, 0xF0CAA6};
    params.backColor = 0xFFFFFF;
    params.lastColumn = 1;
    if (parser.isSet(backOption)) params.backColor = parser.value(backOption).toUInt(&ok, 0);
    if (const QString widths = parser.value(widthsOption); !widths.isEmpty()) {
        const QStringList parts = widths.split(QLatin1Char(','));
        for (int c = 0; c < parts.size() && c < 3; ++c) params.SetColumnWidth(c, parts[c].toInt());
    } else {
        for (int c = 0; c < 3; ++c) params.SetColumnWidth(c, c == 1 ? 240 : 200);
    }
    if (parser.isSet(rowNumbersOption)) params.rowNumbers = 1;

    // The second table: two columns to drop cells on, with row numbers for row drags.
    CDataTableParams right(settings);
    right.columnCount = 2;
    right.totalRows = 50;
    right.bufferRows = 50;
    right.headerTextColor = 0x000080;
    right.headerAlign = TA_LEFT;
    right.columnColors = {0xD0E0F0, 0xE0D0F0};
    right.backColor = 0xF0FFF0;
    right.rowNumbers = 1;
    right.SetColumnWidth(0, 180);
    right.SetColumnWidth(1, 150);

    CTableDemoWnd window(settings, rows, params, right);
    window.show();
    return QApplication::exec();
}
