#include "TableHost.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <tuple>

namespace {

QImage Paint(CDataTable& table, QSize size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::magenta);
    QPainter p(&img);
    table.PaintTable(p, size);
    return img;
}

QColor Pixel(const QImage& img, int x, int y) { return img.pixelColor(x, y); }

bool HasColorIn(const QImage& img, QRect area, const QColor& color) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (img.pixelColor(x, y) == color) return true;
    return false;
}

TEST(DataTable, CreateRefusesBadBlocksFitsTheParentAndResets) {
    CTableHost host;
    CDataTableParams p = TableParams(3, 10, 0);
    p.columnCount = 0;
    EXPECT_FALSE(host.table->Create(&host.window, p, 0, 0));
    EXPECT_FALSE(host.table->Create(nullptr, TableParams(3, 10, 0), 0, 0));

    p = TableParams(3, 10, 0);
    p.left = 10;
    p.top = 20;
    p.right = 5000;
    ASSERT_TRUE(host.table->Create(&host.window, p, 0, 0));
    EXPECT_EQ(host.table->geometry(), QRect(10, 20, 590, 380)) << "the right edge cut to the parent's";

    // Reset lets go of the block and its texts; the table can be made again.
    host.table->SetCellText(1, 1, "text", false);
    host.table->Reset();
    EXPECT_FALSE(host.table->IsCreated());
    ASSERT_TRUE(host.table->Create(&host.window, TableParams(2, 50, 0), 0, 0));
    EXPECT_EQ(host.table->GetCellText(1, 1), "");
}

TEST(DataTable, DefaultFontsComeFromTheOptions) {
    CMemorySettings settings;
    settings.WriteInt("options", "fontSize", -12);
    settings.WriteString("options", "fontName", "DejaVu Serif");
    settings.WriteInt("options", "fontBold", 700);
    settings.WriteInt("options", "fontItalic", 0x101);
    const CDataTableParams p(settings);
    const CLogFont& f = p.defaultCellFont;
    EXPECT_EQ(std::tie(f.height, f.weight, f.italic, f.faceName),
              std::make_tuple(12, 700, 1, std::string("DejaVu Serif")));
    EXPECT_EQ(p.defaultWidthBasis, 12);

    // A block without fonts of its own takes the defaults.
    CTableHost host;
    CDataTableParams block(settings);
    block.columnCount = 2;
    block.bufferRows = 5;
    ASSERT_TRUE(host.table->Create(&host.window, block, 0, 0));
    EXPECT_EQ(std::make_pair(host.table->Model().HeaderHeight(), host.table->Model().RowHeight()),
              std::make_pair(20, 16));
}

TEST(DataTable, CellTextsOfABufferWindow) {
    CTableHost host({600, 340});
    ASSERT_TRUE(host.table->Create(&host.window, TableParams(3, 400, 1000, {150, 150, 150}), 0, 0));
    CDataTable& t = *host.table;
    // Which rows the buffer holds: DataTableModel.BufferWindowAddressing.
    t.SetCellText(700, 0, "outside", false);
    EXPECT_EQ(t.GetCellText(700, 0), "");
    t.OnVScrollCode(4, 500, true);

    t.Model().BufferCell(0, 2).choiceList = "one\r\ntwo\r\nthree";
    const struct {
        int index;
        const char* text;
    } choices[] = {{0, "one"}, {2, "three"}, {3, ""}, {-1, ""}};
    for (const auto& c : choices) {
        SCOPED_TRACE(c.index);
        t.SetCellChoice(500, 2, c.index, false);
        EXPECT_EQ(t.GetCellText(500, 2), c.text);
    }
}

TEST(DataTable, VerticalScrollNotifiesAndTakesTheOwnersTopRowBack) {
    CTableHost host({600, 340});
    ASSERT_TRUE(host.table->Create(&host.window, TableParams(3, 400, 100000, {150, 150, 150}), 0, 0));
    CDataTable& t = *host.table;
    host.records.clear();
    t.OnVScrollCode(0, 0, false);
    EXPECT_TRUE(host.records.empty()) << "line up at the top sends nothing";

    CTableVScroll seen;
    host.answer = [&](CTableNotify& n) {
        if (n.code != TN_VSCROLL) return;
        auto& v = static_cast<CTableVScroll&>(n);
        seen = v;
        v.topRow = 42;
    };
    t.OnVScrollCode(1, 0, false);
    ASSERT_EQ(host.Count(TN_VSCROLL), 1);
    EXPECT_EQ(std::tie(seen.id, seen.scrollCode, seen.topRow, seen.visibleRows, seen.reserved1),
              std::make_tuple(TABLE_NOTIFY_ID, 1, 1, 20, 1));
    EXPECT_EQ(t.Model().TopRow(), 42) << "the owner's answer holds";
    EXPECT_EQ(t.VBar()->value(), 13) << "42 / (99981 / 32000)";
}

TEST(DataTable, DraggingTheThumbShowsTheRowAndScrollsOnRelease) {
    CTableHost host({600, 340});
    host.Show();
    ASSERT_TRUE(host.table->Create(&host.window, TableParams(3, 400, 100000, {150, 150, 150}), 0, 0));
    CDataTable& t = *host.table;
    QScrollBar* bar = t.VBar();
    host.records.clear();
    bar->setSliderDown(true);
    bar->setSliderPosition(16000);
    EXPECT_TRUE(t.Tip().IsShown());
    EXPECT_EQ(t.Tip().TipText(), "Row: 49991");
    EXPECT_EQ(host.Count(TN_VSCROLL), 0);
    bar->setSliderPosition(32000);
    EXPECT_EQ(t.Tip().TipText(), "Row: 99982");
    bar->setSliderPosition(16000);
    bar->setSliderDown(false);
    EXPECT_FALSE(t.Tip().IsShown());
    EXPECT_EQ(host.Count(TN_VSCROLL), 1);
    EXPECT_EQ(t.Model().TopRow(), 49990);
    EXPECT_EQ(bar->value(), 15999) << "the position of the row scrolled to";

    // The wheel goes through the same requests.
    QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(t.viewport(), &wheel);
    EXPECT_EQ(t.Model().TopRow(), 49993);
}

TEST(DataTable, FrameGridAndTextColours) {
    const struct {
        const char* name;
        CColorRef back;
        QColor frame, grid;
        bool whiteText;
    } cases[] = {
        {"white background", 0xFFFFFF, QColor(0, 0, 255), Qt::black, false},
        {"blue background", 0xFF0000, Qt::white, Qt::black, false},
        {"dark red background", 0x000060, QColor(0, 0, 255), Qt::white, true},
        {"grey background", 0x808080, QColor(0, 0, 255), Qt::black, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CTableHost host;
        CDataTableParams p = TableParams(3, 10, 0, {100, 100, 100});
        p.backColor = c.back;
        ASSERT_TRUE(host.table->Create(&host.window, p, 0, 0));
        CDataTable& t = *host.table;
        t.SetCellText(1, 0, "WWWWWWWW", false);
        t.SetCurrentCell(3, 1);
        const QImage img = Paint(t, {400, 300});
        const CRect cell = t.GetCellRect(3, 1);
        EXPECT_EQ(Pixel(img, cell.left + 5, cell.top), c.frame);
        EXPECT_EQ(Pixel(img, 200, t.RowTop(6) + 5), c.grid) << "line between columns 1 and 2";
        const QRect text(2, t.RowTop(1) + 2, 90, 10);
        EXPECT_TRUE(HasColorIn(img, text, c.whiteText ? Qt::white : Qt::black));
        EXPECT_EQ(Pixel(img, 350, 150), ToQColor(0xC0C0C0)) << "beyond the columns";
    }
}

TEST(DataTable, HeaderRowNumbersAndTheLastColumn) {
    CTableHost host;
    CDataTableParams p = TableParams(2, 10, 0, {100, 100});
    p.rowNumbers = 1;
    p.lastColumn = 1;
    p.columnColors = {0x00FF00};
    p.wholeBackground = 1;
    ASSERT_TRUE(host.table->Create(&host.window, p, 0, 0));
    CDataTable& t = *host.table;
    t.Model().SetMark(2, true);
    const QImage img = Paint(t, {400, 300});
    const int rnw = t.Model().RowNumberWidth();
    ASSERT_EQ(rnw, 32);
    EXPECT_EQ(Pixel(img, rnw + 50, 10), QColor(0, 255, 0)) << "the column's own header colour";
    EXPECT_EQ(Pixel(img, 390, 10), ToQColor(0xC0C0C0)) << "the last header reaches the edge";
    EXPECT_EQ(Pixel(img, rnw + 200, t.RowTop(1) + 5), Qt::white) << "no line after the last column";
    EXPECT_EQ(Pixel(img, 350, 250), Qt::white) << "whole background";
    // The marked row's box carries an X in its middle; an unmarked one is empty.
    const int mid = rnw / 2;
    EXPECT_EQ(Pixel(img, mid, t.RowTop(2) + 8), Qt::black);
    EXPECT_EQ(Pixel(img, mid, t.RowTop(3) + 8), ToQColor(0xC0C0C0));
}

TEST(DataTable, AutoFitAndFontChangeLayOutAgain) {
    CTableHost host;
    ASSERT_TRUE(host.table->Create(&host.window, TableParams(2, 30, 0, {50, 50}), 0, 0));
    CDataTable& t = *host.table;
    t.SetHeaderText(0, "A longer header", false);
    t.SetCellText(0, 0, "x", false);
    t.SetHeaderText(1, "B", false);
    t.SetCellText(25, 1, "beyond the first twenty rows, not measured", false);
    t.SetCellText(3, 1, "medium text", false);
    t.AutoFitColumns();
    const QFontMetrics fm(t.HeaderQFont());
    EXPECT_EQ(t.GetColumnWidth(0), fm.horizontalAdvance(QStringLiteral("A longer header")) + 6);
    EXPECT_EQ(t.GetColumnWidth(1), fm.horizontalAdvance(QStringLiteral("medium text")) + 6);

    CLogFont big;
    big.height = 20;
    big.faceName = "DejaVu Sans";
    t.SetTableFont(big, true);
    EXPECT_EQ(std::make_pair(t.Model().HeaderHeight(), t.Model().RowHeight()), std::make_pair(28, 24));
    EXPECT_EQ(t.CellFont(), big);
}

} // namespace
