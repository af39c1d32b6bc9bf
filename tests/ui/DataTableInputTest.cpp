#include "TableHost.h"

#include "CTableDropList.h"
#include "CTableEdit.h"

#include <QMimeData>
#include <array>
#include <tuple>

namespace {

// The centre of a cell of a table with row numbers and 100-pixel columns, not scrolled.
QPoint CellPoint(int row, int column) { return {32 + column * 100 + 50, 20 + row * 16 + 8}; }

void Move(QWidget* w, QPoint pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = {}) {
    QMouseEvent e(QEvent::MouseMove, QPointF(pos), QPointF(w->mapToGlobal(pos)), Qt::NoButton, buttons, mods);
    QApplication::sendEvent(w, &e);
}

// A shown table of three columns and ten rows, with row numbers.
class DataTableInput : public testing::Test {
protected:
    void SetUp() override { host.Create(TableParams(3, 10, 0)); }
    // Makes a cell current and presses Enter on it, which opens its edit or list.
    void Open(int row, int column) {
        t.SetCurrentCell(row, column);
        QTest::keyClick(&t, Qt::Key_Return);
    }
    // Types into the open edit and ends it with a key.
    void Type(const char* text, Qt::Key end = Qt::Key_Return) {
        QTest::keyClicks(t.Edit(), text);
        QTest::keyClick(t.Edit(), end);
    }
    CTableCell& ChoiceCell(int row, int column, int kind, const char* list, const char* text) {
        CTableCell& cell = t.Model().BufferCell(row, column);
        cell.kind = kind;
        cell.choiceList = list;
        cell.text = text;
        return cell;
    }
    CTableHost host;
    CTestTable& t = *host.table;
};

TEST_F(DataTableInput, HitTestKindsAndBorders) {
    t.Model().BufferCell(1, 2).kind = kCellChoiceOnly;
    const CDataTableModel& m = t.Model();
    struct {
        QPoint at;
        int kind, row, column;
    } const cases[] = {
        {{133, 30}, 2, 0, 1}, // within two pixels of the border after column 0
        {{80, 36}, 1, 0, 0},  // a row's bottom line still belongs to it
        {{80, 37}, 1, 1, 0},
        {{328, 40}, 6, 1, 2},                // drop button of a choice cell
        {{400, 40}, 0, -1, -1},              // past the last column
        {{80, 20 + 10 * 16 + 4}, 0, -1, -1}, // below the rows
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.at.x() << "," << c.at.y());
        const CDataTableModel::CHit hit = m.HitTest(c.at.x(), c.at.y());
        EXPECT_EQ(std::tie(hit.kind, hit.row, hit.column), std::tie(c.kind, c.row, c.column));
    }
}

TEST_F(DataTableInput, RowMarksFromClicksInTheRowNumbers) {
    const CDataTableModel& m = host.table->Model();
    const auto row = [](int r) { return QPoint(10, 20 + r * 16 + 8); };
    const QPoint corner(10, 10);
    const struct {
        const char* step;
        Qt::KeyboardModifiers mods;
        QPoint press, release;
        const char* marks;
    } steps[] = {
        {"Shift without an anchor is a plain click", Qt::ShiftModifier, row(3), row(3), ".........."},
        {"a second click on the current row marks it", {}, row(3), row(3), "...x......"},
        {"Shift marks from the anchor", Qt::ShiftModifier, row(6), row(6), "...xxxx..."},
        {"clearing the others", Qt::ShiftModifier, row(1), row(1), ".xxx......"},
        {"Ctrl toggles one row", Qt::ControlModifier, row(8), row(8), ".xxx....x."},
        {"the corner with Shift marks all", Qt::ShiftModifier, corner, corner, "xxxxxxxxxx"},
        {"released off the corner", {}, corner, QPoint(80, 10), "xxxxxxxxxx"},
        {"the corner without clears all", {}, corner, corner, ".........."},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        QTest::mousePress(host.View(), Qt::LeftButton, s.mods, s.press);
        QTest::mouseRelease(host.View(), Qt::LeftButton, s.mods, s.release);
        std::string marks;
        for (int r = 0; r < 10; ++r) marks += m.IsMarked(r) ? 'x' : '.';
        EXPECT_EQ(marks, s.marks);
    }
    // Enter on a current row without a column toggles its mark.
    QTest::mouseClick(host.View(), Qt::LeftButton, {}, row(5));
    QTest::keyClick(host.table, Qt::Key_Return);
    EXPECT_TRUE(m.IsMarked(5));
}

TEST_F(DataTableInput, SecondClickEditsLaterUnlessADoubleClickComesFirst) {
    t.SetCellText(1, 0, "one", false);
    // A click on another cell only makes it current; a second one opens the edit a moment later.
    QTest::mouseClick(host.View(), Qt::LeftButton, {}, CellPoint(1, 0));
    QTest::mouseClick(host.View(), Qt::LeftButton, {}, CellPoint(1, 0));
    EXPECT_FALSE(t.IsEditOpen());
    ASSERT_TRUE(QTest::qWaitFor([this] { return t.IsEditOpen(); }, 1000));
    EXPECT_EQ(t.Edit()->text(), "one");
    t.EndEdit(true);

    // A double click within that time opens it at once.
    QTest::mouseClick(host.View(), Qt::LeftButton, {}, CellPoint(1, 0));
    QTest::mouseDClick(host.View(), Qt::LeftButton, {}, CellPoint(1, 0));
    QTest::mouseRelease(host.View(), Qt::LeftButton, {}, CellPoint(1, 0));
    EXPECT_TRUE(t.IsEditOpen());
    t.EndEdit(true);
}

TEST(DataTableResize, ColumnResizing) {
    struct {
        const char* name;
        Qt::KeyboardModifiers mods;
        int to;
        int changeAnswer; // 0: the parent leaves the change
        int width0, width1;
    } const cases[] = {
        {"all later columns move", {}, 162, 0, 130, 100},
        {"Shift moves this border alone", Qt::ShiftModifier, 162, 0, 130, 70},
        {"the parent's change is applied", {}, 162, 10, 110, 100},
        {"not narrower than the minimum", {}, 40, 0, 100, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CTableHost host;
        host.Create(TableParams(3, 10, 0));
        CDataTable& t = *host.table;
        host.answer = [&c](CTableNotify& n) {
            if (n.code == TN_COLUMNRESIZED && c.changeAnswer)
                static_cast<CTableColumnResized&>(n).change = c.changeAnswer;
        };
        QTest::mousePress(host.View(), Qt::LeftButton, c.mods, QPoint(132, 10));
        EXPECT_TRUE(t.IsResizing());
        Move(host.View(), QPoint(c.to, 10), Qt::LeftButton, c.mods);
        QTest::mouseRelease(host.View(), Qt::LeftButton, c.mods, QPoint(c.to, 10));
        EXPECT_EQ(std::make_tuple(t.GetColumnWidth(0), t.GetColumnWidth(1), t.GetColumnWidth(2)),
                  std::make_tuple(c.width0, c.width1, 100));
        EXPECT_FALSE(t.IsResizing());
    }
}

TEST(DataTableResize, TheLastBorderDragsOnlyWithoutTheLastColumnFlag) {
    for (const int flag : {0, 1}) {
        SCOPED_TRACE(flag);
        CTableHost host;
        CDataTableParams p = TableParams(3, 10, 0);
        p.lastColumn = flag;
        host.Create(p);
        CDataTable& t = *host.table;
        const int edge = t.viewport()->width();
        QTest::mousePress(host.View(), Qt::LeftButton, {}, QPoint(332, 10));
        EXPECT_EQ(t.IsResizing(), flag == 0);
        Move(host.View(), QPoint(edge - 1, 10), Qt::LeftButton);
        Move(host.View(), QPoint(edge + 40, 10), Qt::LeftButton);
        if (!flag) {
            EXPECT_EQ(t.TrackingLineX(), edge - 1) << "not past the window's edge";
        }
        QTest::mouseRelease(host.View(), Qt::LeftButton, {}, QPoint(edge + 40, 10));
        EXPECT_EQ(host.Count(TN_COLUMNRESIZED), flag ? 0 : 1);
        EXPECT_EQ(t.GetColumnWidth(2), flag ? 100 : edge - 1 - 232);
    }
}

TEST_F(DataTableInput, ContextMenuAndItsCommands) {
    QStringList shown;
    t.onMenu = [&shown](QMenu& menu) {
        for (QAction* a : menu.actions()) shown << a->text();
        return 0;
    };
    QTest::mouseClick(host.View(), Qt::RightButton, {}, CellPoint(0, 0));
    EXPECT_EQ(shown, QStringList({"Set backgraund color.", "Set new font", "Restory column's width"}));

    // A 28-point font is cut to 20 with the message, and stored.
    t.font = CLogFont{-28, 0, 700, 1, "DejaVu Sans"};
    t.onMenu = [](QMenu&) { return int(ID_TABLE_FONT); };
    QTest::mouseClick(host.View(), Qt::RightButton, {}, CellPoint(0, 0));
    EXPECT_EQ(host.prompt.Texts(), std::vector<std::string>{"Maximum 20 l.e.  for font size."});
    EXPECT_EQ(std::make_tuple(
                  host.settings.GetInt("options", "fontSize", 0), host.settings.GetString("options", "fontName", ""),
                  host.settings.GetInt("options", "fontBold", 0), host.settings.GetInt("options", "fontItalic", 0)),
              std::make_tuple(20, std::string("DejaVu Sans"), 700, 1));
    EXPECT_EQ(t.Model().RowHeight(), 24);
}

TEST(DataTableKeys, KeysMoveTheCurrentCell) {
    CTableHost host({600, 200});
    host.Create(TableParams(3, 100, 0));
    CDataTable& t = *host.table;
    const CDataTableModel& m = t.Model();
    const int visible = m.VisibleRows();
    ASSERT_GT(visible, 3);
    const struct {
        const char* step;
        int fromRow, fromColumn; // -1: where the last step left it
        int key, presses;
        int row, column, top;
    } steps[] = {
        {"Tab", 0, 1, Qt::Key_Tab, 1, 0, 2, 0},
        {"Tab at the last column goes on in the next row", -1, -1, Qt::Key_Tab, 1, 1, 0, 0},
        {"Shift+Tab", -1, -1, Qt::Key_Backtab, 1, 0, 2, 0},
        {"Left stops at the first column", -1, -1, Qt::Key_Left, 3, 0, 0, 0},
        {"nothing before the first cell", -1, -1, Qt::Key_Backtab, 1, 0, 0, 0},
        {"nothing above the first row", -1, -1, Qt::Key_Up, 1, 0, 0, 0},
        {"Down at the bottom scrolls one line", visible - 1, 0, Qt::Key_Down, 1, visible, 0, 1},
        {"a row inside the view only moves the frame", -1, -1, Qt::Key_Up, 1, visible - 1, 0, 1},
        {"Up at the top scrolls back", 1, 0, Qt::Key_Up, 1, 0, 0, 0},
        {"End: the last row at the bottom", -1, -1, Qt::Key_End, 1, 99, 0, 100 - visible},
        {"Tab stops at the last cell", -1, -1, Qt::Key_Tab, 3, 99, 2, 100 - visible},
        {"Page Down at the end stops at the last page", -1, -1, Qt::Key_PageDown, 1, m.VMax(), 2, m.VMax()},
        {"Home", -1, -1, Qt::Key_Home, 1, 0, 2, 0},
        {"Page Down", -1, -1, Qt::Key_PageDown, 1, visible - 1, 2, visible - 1},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        if (s.fromRow >= 0) t.SetCurrentCell(s.fromRow, s.fromColumn);
        for (int i = 0; i < s.presses; ++i)
            QTest::keyClick(&t, Qt::Key(s.key), s.key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_EQ(std::make_tuple(m.CurrentRow(), m.CurrentColumn(), m.TopRow()),
                  std::make_tuple(s.row, s.column, s.top));
    }
}

TEST(DataTableKeys, DownRefillsAWindowedBufferBeforeItReturns) {
    CTableHost host({600, 200});
    host.Create(TableParams(3, 20, 1000));
    CDataTable& t = *host.table;
    int refills = 0;
    // The owner refills from a posted call, as a window that queues its work does.
    host.answer = [&](CTableNotify& n) {
        if (n.code != TN_VSCROLL) return;
        const int top = static_cast<CTableVScroll&>(n).topRow;
        QTimer::singleShot(0, &host.window, [&, top] {
            ++refills;
            t.SetCellText(top, 0, "refilled", false);
        });
    };
    t.SetCurrentCell(t.Model().VisibleRows() - 1, 0);
    QTest::keyClick(&t, Qt::Key_Down);
    EXPECT_EQ(refills, 1);
    EXPECT_EQ(t.GetCellText(1, 0), "refilled");
}

TEST_F(DataTableInput, TypingAndDeleteOpenTheEdit) {
    t.SetCellText(0, 0, "old", false);
    t.SetColumnKind(1, kCellReadOnly, false);
    t.SetCurrentCell(0, 1);
    QTest::keyClick(&t, Qt::Key_X);
    EXPECT_FALSE(t.IsEditOpen()) << "a read-only cell";
    t.SetCurrentCell(0, 0);
    QTest::keyClick(&t, Qt::Key_X);
    ASSERT_TRUE(t.IsEditOpen());
    EXPECT_EQ(t.Edit()->text(), "x");
    Type("yz");
    EXPECT_FALSE(t.IsEditOpen());
    EXPECT_EQ(t.GetCellText(0, 0), "xyz");

    QTest::keyClick(&t, Qt::Key_Delete);
    ASSERT_TRUE(t.IsEditOpen());
    EXPECT_EQ(t.Edit()->text(), "");
    QTest::keyClick(t.Edit(), Qt::Key_Return);
    EXPECT_EQ(t.GetCellText(0, 0), "") << "Delete empties the cell";
}

TEST_F(DataTableInput, EscapeVetoAndReplace) {
    t.SetCellText(2, 1, "keep", false);

    // Escape leaves the cell as it was.
    Open(2, 1);
    ASSERT_TRUE(t.IsEditOpen());
    Type("new", Qt::Key_Escape);
    EXPECT_FALSE(t.IsEditOpen());
    EXPECT_EQ(t.GetCellText(2, 1), "keep");

    // An unmodified edit commits nothing.
    Open(2, 1);
    Type("");
    EXPECT_EQ(host.Count(TN_CELLCHANGING), 0);

    // A veto keeps the old text and still reports the change.
    host.answer = [](CTableNotify& n) {
        if (n.code == TN_CELLCHANGING) static_cast<CTableCellChange&>(n).veto = 1;
    };
    Open(2, 1);
    Type("refused");
    EXPECT_EQ(t.GetCellText(2, 1), "keep");
    ASSERT_EQ(host.Count(TN_CELLCHANGED), 1);

    // TN_BEGINEDIT with the replace flag puts the owner's text in the cell and the edit.
    host.answer = [](CTableNotify& n) {
        if (n.code != TN_BEGINEDIT) return;
        auto& b = static_cast<CTableBeginEdit&>(n);
        b.replace = 1;
        b.text = "from the owner";
    };
    QTest::keyClick(&t, Qt::Key_Return);
    EXPECT_EQ(t.Edit()->text(), "from the owner");
    EXPECT_EQ(t.GetCellText(2, 1), "from the owner");
    t.EndEdit(true);
}

TEST_F(DataTableInput, ChoiceListItemsAndHeight) {
    EXPECT_EQ(SplitChoiceList("red\r\n\r\ngreen\r\n"), (std::vector<std::string>{"red", "green"}));
    const std::vector<std::string> cut = SplitChoiceList("x\r\n" + std::string(300, 'a') + "\r\ny");
    ASSERT_EQ(cut.size(), 2u) << "an item of 254 characters ends the list";
    EXPECT_EQ(cut[1].size(), 254u);

    // Items, the cell's top, row height, the limit: two items show at least one.
    const std::array<std::array<int, 5>, 5> shown = {
        {{3, 40, 16, 400, 3}, {12, 40, 16, 400, 7}, {12, 40, 16, 80, 3}, {2, 400, 16, 380, 1}, {0, 40, 16, 400, 0}}};
    for (const auto& [items, top, height, limit, rows] : shown) {
        SCOPED_TRACE(testing::Message() << items << " items, limit " << limit);
        EXPECT_EQ(CTableDropList::ShownRows(items, top, height, limit), rows);
    }

    ChoiceCell(0, 2, kCellChoiceOnly, "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni", "c");
    t.OpenDropList(0, 2);
    ASSERT_TRUE(t.IsDropListOpen());
    CTableDropList* list = t.DropList();
    EXPECT_EQ(std::make_pair(list->count(), list->ShownRowCount()), std::make_pair(9, 7));
    EXPECT_EQ(list->currentRow(), 2) << "the cell's text is selected";
    ASSERT_TRUE(t.Edit());
    // Down in the edit moves the list; Enter takes its item.
    QTest::keyClick(t.Edit(), Qt::Key_Down);
    EXPECT_EQ(t.Edit()->text(), "d");
    QTest::keyClick(t.Edit(), Qt::Key_Return);
    EXPECT_FALSE(t.IsDropListOpen());
    EXPECT_EQ(t.GetCellText(0, 2), "d");
}

TEST_F(DataTableInput, ATypedValueJoinsTheChoicesOnce) {
    const CTableCell& cell = ChoiceCell(1, 2, kCellChoiceOrTyped, "red\r\ngreen", "red");
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Open(1, 2);
        ASSERT_TRUE(t.IsDropListOpen());
        Type("purple");
        EXPECT_EQ(t.GetCellText(1, 2), "purple");
        EXPECT_EQ(cell.choiceList, "red\r\ngreen\r\npurple");
    }
    // Escape with the list open leaves the cell alone.
    Open(1, 2);
    Type("gone", Qt::Key_Escape);
    EXPECT_FALSE(t.IsDropListOpen());
    EXPECT_EQ(t.GetCellText(1, 2), "purple");
}

TEST_F(DataTableInput, AChoiceOnlyEditTakesNoTyping) {
    ChoiceCell(0, 1, kCellChoiceOnly, "yes\r\nno", "yes");
    Open(0, 1);
    ASSERT_TRUE(t.IsEditOpen());
    CTableEdit* edit = t.Edit();
    QTest::keyClicks(edit, "zz");
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "yes");
    QMenu menu;
    edit->BuildMenu(menu);
    EXPECT_EQ(menu.actions().size(), 2) << "only SelectAll and Copy";
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(t.GetCellText(0, 1), "yes");
}

// Hands a drag straight to a target table at a point, as the drag loop would.
int DropOn(CDataTable& target, QDrag& drag, QPoint at, int keys) {
    const QMimeData* data = drag.mimeData();
    if (!target.OnDragEnter(data, keys, at)) return DROPEFFECT_NONE;
    const int effect = target.OnDragOver(data, keys, at);
    if (!effect) {
        target.OnDragLeave();
        return DROPEFFECT_NONE;
    }
    return target.OnDrop(data, effect, at) ? effect : DROPEFFECT_NONE;
}

// Presses on a cell and moves far enough to start a drag.
void DragFrom(CTableHost& host, int row, int column, Qt::KeyboardModifiers mods = {}) {
    QTest::mousePress(host.View(), Qt::LeftButton, mods, CellPoint(row, column));
    Move(host.View(), CellPoint(row, column) + QPoint(5, 0), Qt::LeftButton, mods);
    QTest::mouseRelease(host.View(), Qt::LeftButton, mods, CellPoint(row, column) + QPoint(5, 0));
}

// Two shown tables, a source and a target.
class DataTableDrag : public testing::Test {
protected:
    void SetUp() override {
        a.Create(TableParams(3, 10, 0));
        b.Create(TableParams(3, 10, 0));
    }
    CTableHost a, b;
};

TEST_F(DataTableDrag, CellDragBetweenTwoTables) {
    struct {
        const char* name;
        int keys;
        bool sourceKeeps;
    } const cases[] = {{"move", 0, false}, {"copy with Ctrl", MK_CONTROL, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        a.table->SetCellText(0, 0, "alpha", false);
        b.table->SetCellText(1, 1, "old", false);
        a.table->onDrag = [&](QDrag& drag) { return DropOn(*b.table, drag, CellPoint(1, 1), c.keys); };
        DragFrom(a, 0, 0);
        EXPECT_EQ(b.table->GetCellText(1, 1), "alpha");
        EXPECT_EQ(a.table->GetCellText(0, 0), c.sourceKeeps ? "alpha" : "");

        const CRecord* drop = b.Last(TN_DROP);
        ASSERT_TRUE(drop);
        const CTableDrop& d = drop->drop;
        EXPECT_EQ(std::tie(d.dropKind, d.row, d.column, d.text, d.dropEffect),
                  std::make_tuple(0, 1, 1, std::string("alpha"), c.keys ? DROPEFFECT_COPY : DROPEFFECT_MOVE));
    }
}

TEST_F(DataTableInput, CellDragWithinOneTable) {
    t.SetCellText(0, 0, "moving", false);
    t.onDrag = [&](QDrag& drag) { return DropOn(t, drag, CellPoint(3, 2), 0); };
    DragFrom(host, 0, 0);
    EXPECT_EQ(t.GetCellText(3, 2), "moving");
    EXPECT_EQ(t.GetCellText(0, 0), "");

    // Onto itself: nothing changes and nothing is sent.
    host.records.clear();
    DragFrom(host, 3, 2);
    EXPECT_EQ(t.GetCellText(3, 2), "moving");
    EXPECT_EQ(host.Count(TN_DROP), 0);
}

TEST_F(DataTableDrag, DropTargetRules) {
    b.table->SetColumnKind(0, kCellReadOnly, false);
    b.table->Model().BufferCell(1, 1).kind = kCellChoiceOnly;
    a.table->SetCellText(0, 0, std::string(300, 'w'), false);
    std::unique_ptr<QMimeData> cellDrag(a.table->MakeDragData(0, 0, false));
    std::unique_ptr<QMimeData> rowDrag(a.table->MakeDragData(0, -1, true));
    EXPECT_EQ(cellDrag->text().size(), 255) << "the text travels cut to 255 characters";
    EXPECT_FALSE(rowDrag->hasText());
    QMimeData plain;
    plain.setText("from another program");

    struct {
        const char* name;
        const QMimeData* data;
        QPoint at;
        int effect;
    } const cases[] = {
        {"cell onto a kind-0 cell", cellDrag.get(), CellPoint(2, 2), DROPEFFECT_MOVE},
        {"onto a read-only cell", cellDrag.get(), CellPoint(2, 0), DROPEFFECT_NONE},
        {"onto a kind-3 cell", cellDrag.get(), CellPoint(1, 1), DROPEFFECT_NONE},
        {"onto the header", cellDrag.get(), QPoint(250, 10), DROPEFFECT_NONE},
        {"rows onto a row number", rowDrag.get(), QPoint(10, 40), DROPEFFECT_MOVE},
        {"rows onto the corner", rowDrag.get(), QPoint(10, 10), DROPEFFECT_NONE},
        {"plain text from elsewhere", &plain, CellPoint(2, 2), DROPEFFECT_NONE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int enter = b.table->OnDragEnter(c.data, 0, c.at);
        const int over = enter ? b.table->OnDragOver(c.data, 0, c.at) : 0;
        EXPECT_EQ(over, c.effect);
        b.table->OnDragLeave();
    }

    // An owner that vetoes the dropped text refuses the drop: the source keeps its text.
    b.answer = [](CTableNotify& n) {
        if (n.code == TN_CELLCHANGING) static_cast<CTableCellChange&>(n).veto = 1;
    };
    a.table->onDrag = [&](QDrag& drag) { return DropOn(*b.table, drag, CellPoint(2, 2), 0); };
    DragFrom(a, 0, 0);
    EXPECT_EQ(b.table->GetCellText(2, 2), "");
    EXPECT_EQ(a.table->GetCellText(0, 0), std::string(300, 'w'));
    EXPECT_EQ(b.Count(TN_DROP), 0);
}

TEST_F(DataTableDrag, MarkedRowsDragFromTheRowNumbers) {
    a.table->onDrag = [&](QDrag& drag) { return DropOn(*b.table, drag, CellPoint(1, 0), 0); };
    QTest::mouseClick(a.View(), Qt::LeftButton, {}, QPoint(10, 28));
    QTest::mousePress(a.View(), Qt::LeftButton, {}, QPoint(10, 28));
    ASSERT_TRUE(a.table->Model().IsMarked(0));
    Move(a.View(), QPoint(10, 40), Qt::LeftButton);
    QTest::mouseRelease(a.View(), Qt::LeftButton, {}, QPoint(10, 40));
    // A row drop reports the rows and leaves moving them to the owner.
    ASSERT_EQ(b.Count(TN_DROP), 1);
    const CTableDrop& drop = b.Last(TN_DROP)->drop;
    EXPECT_EQ(std::tie(drop.dropKind, drop.row, drop.column), std::make_tuple(1, -1, -1));
}

TEST_F(DataTableInput, ATableGoneWithItsEditOpenTakesTheEditAlong) {
    ChoiceCell(0, 2, kCellChoiceOrTyped, "", "");
    host.table->OpenDropList(0, 2);
    ASSERT_TRUE(host.table->IsDropListOpen());
    QPointer<CTableEdit> edit = host.table->Edit();
    QPointer<CTableDropList> list = host.table->DropList();
    delete host.table;
    EXPECT_FALSE(edit);
    EXPECT_FALSE(list);
    QApplication::processEvents();
}

} // namespace
