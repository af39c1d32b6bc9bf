#include "CDataTableModel.h"

#include <gtest/gtest.h>

namespace {

// Fonts of 12 pixels: header 20 high, rows 16 high.
CDataTableModel::CSetup MakeSetup(int columns, int buffer, int total, std::vector<int> widths, CRect rect,
                                  bool rowNumbers = false) {
    CDataTableModel::CSetup s;
    s.headerFontHeight = 12;
    s.cellFontHeight = 12;
    s.columns = columns;
    s.bufferRows = buffer;
    s.totalRows = total;
    s.widths = std::move(widths);
    s.rect = rect;
    s.rowNumbers = rowNumbers;
    s.defaultWidthBasis = 20;
    s.vScrollWidth = s.hScrollHeight = 16;
    return s;
}

TEST(DataTableModel, ColumnEdges) {
    const struct {
        const char* name;
        int columns;
        std::vector<int> widths;
        bool rowNumbers;
        std::vector<int> edges;
    } cases[] = {
        {"zero widths take half the basis", 3, {0, 50, 0}, false, {0, 10, 60, 70}},
        {"one column takes half the table", 1, {}, false, {0, 150}},
        {"three columns cut each edge", 3, {}, false, {0, 33, 66, 100}},
        {"after the row-number column", 3, {}, true, {32, 54, 77, 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDataTableModel m;
        const int width = c.columns == 1 ? 301 : 100;
        m.Setup(MakeSetup(c.columns, 10, 0, c.widths, {0, 0, width, 200}, c.rowNumbers));
        EXPECT_EQ(m.Edges(), c.edges);
    }
}

TEST(DataTableModel, ColumnWidthsAndKinds) {
    CDataTableModel m;
    m.Setup(MakeSetup(3, 4, 0, {10, 20, 30}, {0, 0, 500, 200}));
    m.SetColumnWidth(0, 15, false);
    EXPECT_EQ(m.Edges(), (std::vector<int>{0, 15, 30, 60}));
    m.SetColumnWidth(0, 25, true);
    EXPECT_EQ(m.Edges(), (std::vector<int>{0, 25, 40, 70}));
    m.SetColumnWidth(3, 99, true);
    EXPECT_EQ(m.GetColumnWidth(3), 0);

    for (int b = 0; b < 4; ++b) {
        m.BufferCell(b, 1).choiceList = b == 3 ? "" : "first\r\nsecond";
        m.BufferCell(b, 1).text = "typed";
    }
    m.SetColumnKind(1, kCellChoiceOrTyped);
    EXPECT_EQ(m.BufferCell(0, 1).text, "first");
    EXPECT_EQ(m.BufferCell(3, 1).text, "");
    m.BufferCell(0, 1).text = "kept";
    m.SetColumnKind(1, kCellChoiceOnly);
    EXPECT_EQ(m.BufferCell(0, 1).text, "kept");
}

TEST(DataTableModel, BufferWindowAddressing) {
    CDataTableModel m;
    m.Setup(MakeSetup(3, 400, 1000, {}, {0, 0, 600, 340}));
    m.Layout();
    ASSERT_TRUE(m.IsWindowed());
    EXPECT_EQ(m.BufferRowOf(399), 399);
    EXPECT_EQ(m.BufferRowOf(400), -1) << "rows 0..399 are buffered";
    m.SetTopRow(500);
    EXPECT_EQ(m.TopRowInBuffer(), 0);
    EXPECT_EQ(m.BufferRowOf(499), -1);
    EXPECT_EQ(m.BufferRowOf(899), 399);
    EXPECT_EQ(m.BufferRowOf(900), -1);
    EXPECT_EQ(m.Cell(700, 2), &m.BufferCell(200, 2));
    EXPECT_EQ(m.Cell(700, 3), nullptr) << "column out of range";
    EXPECT_EQ(m.GetCellRect(700, 1).top, 20 + 200 * 16);

    // Near the end only the rows that exist are drawn.
    m.SetTopRow(900);
    EXPECT_EQ(m.DrawnRows(), 100);
    CDataTableModel small;
    small.Setup(MakeSetup(2, 5, 1000, {}, {0, 0, 600, 800}));
    small.Layout();
    EXPECT_EQ(small.DrawnRows(), 5) << "never more rows than the buffer holds";

    // A buffer that holds every row scrolls inside itself.
    CDataTableModel whole;
    whole.Setup(MakeSetup(2, 100, 0, {}, {0, 0, 600, 340}));
    whole.Layout();
    whole.SetTopRow(30);
    EXPECT_FALSE(whole.IsWindowed());
    EXPECT_EQ(whole.TopRowInBuffer(), 30);
    EXPECT_EQ(whole.RowTop(30), 20);
    EXPECT_EQ(whole.GetCellRect(31, 0), (CRect{0, 36, 300, 52}));
}

TEST(DataTableModel, LongTablesScaleTheScrollRange) {
    CDataTableModel m;
    m.Setup(MakeSetup(3, 400, 100000, {150, 150, 150}, {0, 0, 600, 340}));
    m.Layout();
    EXPECT_EQ(m.VisibleRows(), 20);
    EXPECT_EQ(m.VMax(), 99981);
    EXPECT_DOUBLE_EQ(m.Scale(), 99981 / 32000.0);
    EXPECT_EQ(m.VScrollRange(), 32000);
    EXPECT_EQ(m.VScrollTarget(4, 32000, false), 99980) << "the last page, not past it";
    EXPECT_EQ(m.VScrollTarget(4, 0, false), std::nullopt) << "thumb released where it was";
    EXPECT_EQ(m.VScrollTarget(4, 0, true), 0);
    m.SetTopRow(99981);
    EXPECT_EQ(m.VScrollPos(), 32000);

    CDataTableModel shortTable;
    shortTable.Setup(MakeSetup(3, 400, 31000, {150, 150, 150}, {0, 0, 600, 340}));
    shortTable.Layout();
    EXPECT_EQ(shortTable.Scale(), 1.0);
    EXPECT_EQ(shortTable.VScrollRange(), 30981);
}

TEST(DataTableModel, VerticalRequests) {
    CDataTableModel m;
    m.Setup(MakeSetup(3, 100, 0, {150, 150, 150}, {0, 0, 600, 340})); // 20 visible, maximum 81
    m.Layout();
    ASSERT_EQ(m.VMax(), 81);
    const struct {
        int top, code, position;
        std::optional<int> target;
    } cases[] = {
        {0, 0, 0, std::nullopt}, {5, 0, 0, 4},
        {80, 1, 0, 81},          {81, 1, 0, std::nullopt},
        {0, 2, 0, std::nullopt}, {10, 2, 0, 0},
        {40, 2, 0, 21},          {0, 3, 0, 19},
        {70, 3, 0, 81},          {81, 3, 0, std::nullopt},
        {0, 4, 95, 80},          {0, 9, 10, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "top " << c.top << " code " << c.code);
        m.SetTopRow(c.top);
        EXPECT_EQ(m.VScrollTarget(c.code, c.position, false), c.target);
    }
    // A table that fits has no range and starts at its first row again.
    m.SetTopRow(50);
    m.SetRect({0, 0, 600, 2000});
    m.Layout();
    EXPECT_EQ(m.VMax(), 0);
    EXPECT_EQ(m.TopRow(), 0);
}

TEST(DataTableModel, ColumnsThatExactlyFillTheWidthStillGetARange) {
    // Shared-out widths end at the table's edge, which counts as not fitting.
    CDataTableModel m;
    m.Setup(MakeSetup(3, 5, 0, {}, {0, 0, 600, 340}));
    m.Layout();
    EXPECT_EQ(m.HMax(), 1);
    EXPECT_EQ(m.VisibleRows(), 19) << "the horizontal bar takes a row's room";
}

TEST(DataTableModel, HorizontalPagesAndRequests) {
    CDataTableModel m;
    m.Setup(MakeSetup(4, 5, 0, {200, 200, 200, 200}, {0, 0, 500, 300}));
    m.Layout();
    EXPECT_EQ(m.NextPageColumn(0), 3);
    EXPECT_EQ(m.NextPageColumn(4), 4);
    EXPECT_EQ(m.PrevPageColumn(4), 1);
    EXPECT_EQ(m.PrevPageColumn(2), 0);
    EXPECT_EQ(m.HMax(), 2);

    const struct {
        int first, code, position;
        bool scroll, repaintOnly;
        int column;
    } cases[] = {
        {0, 0, 0, false, true, 0},  {1, 0, 0, true, false, 0}, {0, 1, 0, true, false, 1},
        {2, 1, 0, false, false, 0}, {0, 3, 0, true, false, 2}, {2, 2, 0, true, false, 0},
        {0, 2, 0, false, false, 0}, {0, 5, 9, true, false, 2}, {1, 4, 0, false, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "first " << c.first << " code " << c.code);
        m.SetFirstColumn(c.first);
        const auto r = m.HScrollTarget(c.code, c.position);
        EXPECT_EQ(std::make_tuple(r.scroll, r.repaintOnly, r.scroll ? r.column : 0),
                  std::make_tuple(c.scroll, c.repaintOnly, c.column));
    }

    // Columns that all fit need no range, and the view goes back to the first column.
    m.SetRect({0, 0, 900, 300});
    m.Layout();
    EXPECT_EQ(m.HMax(), 0);
    EXPECT_EQ(m.FirstColumn(), 0);
}

TEST(DataTableModel, Marks) {
    CDataTableModel m;
    m.Setup(MakeSetup(2, 10, 50, {}, {0, 0, 300, 300}));
    m.SetMark(49, true);
    m.SetMark(50, true);
    EXPECT_TRUE(m.IsMarked(49));
    EXPECT_FALSE(m.IsMarked(50));
    m.SetAllMarks(true);
    EXPECT_TRUE(m.IsMarked(0));
    m.SetRowCounts(10, 60);
    EXPECT_FALSE(m.IsMarked(0)) << "new counts clear the marks";
}

int FixedWidth(const QString& s) { return int(s.size()) * 6; }

TEST(FitText, EllipsisOrFewerDots) {
    const struct {
        const char* text;
        int width;
        const char* shown;
    } cases[] = {
        {"abcdefghij", 60, "abcdefghij"},
        {"abcdefghij", 59, "abcdef..."},
        {"abcdefghij", 18, "..."},
        {"abcdefghij", 11, "."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " in " << c.width);
        EXPECT_EQ(FitText(QString::fromLatin1(c.text), c.width, FixedWidth), QString::fromLatin1(c.shown));
    }
}

} // namespace
