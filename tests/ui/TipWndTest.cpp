#include "CTipWnd.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A window with one child that records the mouse presses and releases it gets.
class CRecorder : public QWidget {
public:
    using QWidget::QWidget;
    std::vector<std::pair<QEvent::Type, QPoint>> events;

protected:
    void mousePressEvent(QMouseEvent* e) override { events.emplace_back(e->type(), e->position().toPoint()); }
    void mouseReleaseEvent(QMouseEvent* e) override { events.emplace_back(e->type(), e->position().toPoint()); }
};

struct CActiveOwner {
    QWidget window;
    CRecorder* child = new CRecorder(&window);
    CActiveOwner() {
        window.setGeometry(100, 100, 300, 200);
        child->setGeometry(10, 10, 200, 100);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

TEST(TipWnd, EmptyTextIsNeverShownShownTextIsKeptAndFits) {
    CActiveOwner owner;
    CTipWnd tip(nullptr);
    tip.ShowFor(&owner.window, nullptr, false);
    EXPECT_FALSE(tip.IsShown());
    tip.ShowAtPointer(&owner.window, 0);
    EXPECT_FALSE(tip.IsShown());
    EXPECT_EQ(tip.Popup(), nullptr);
    tip.HideTip();

    tip.SetTipText("first");
    tip.ShowFor(&owner.window, nullptr, false);
    ASSERT_TRUE(tip.IsShown());
    EXPECT_EQ(CTipWnd::Current(), &tip);
    tip.SetTipText("second");
    EXPECT_EQ(tip.TipText(), "first") << "the text of a shown tip does not change";
    tip.HideTip();
    EXPECT_EQ(CTipWnd::Current(), nullptr);
    // The size covers every line.
    tip.SetTipText("short\r\na much longer second line\nthird");
    QCursor::setPos(150, 150);
    tip.ShowFor(&owner.window, nullptr, false);
    ASSERT_TRUE(tip.IsShown());
    const QFontMetrics fm(QApplication::font());
    EXPECT_EQ(tip.Popup()->height(), 3 * fm.height() + 2);
    EXPECT_GE(tip.Popup()->width(), fm.horizontalAdvance(QStringLiteral("a much longer second line")));
}

TEST(TipWnd, NearTheScreenCornerItMovesBackOnScreen) {
    const QRect screen(0, 0, 800, 600);
    const QSize text(120, 16);
    const QRect r = CTipWnd::PlaceTip({{799, 599}, text, screen, true, std::nullopt});
    EXPECT_TRUE(screen.contains(r)) << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    // A placement puts the tip over the given rectangle, at least as wide as it.
    const QRect placed = CTipWnd::PlaceTip({{760, 300}, text, screen, true, CRect{40, 50, 400, 70}});
    EXPECT_EQ(placed, QRect(40, 50, 360, 21));
}

TEST(TipWnd, ClickOnAFollowingTipGoesToWhatIsUnderIt) {
    CActiveOwner owner;
    CTipWnd tip(nullptr);
    tip.SetTipText("cell text that did not fit");
    const QPoint cell = owner.child->mapToGlobal(QPoint(30, 40));
    tip.SetPlacement(CRect{cell.x(), cell.y(), cell.x() + 150, cell.y() + 20});
    QCursor::setPos(cell + QPoint(5, 5));
    tip.ShowFor(&owner.window, nullptr, true);
    ASSERT_TRUE(tip.IsShown());
    ASSERT_EQ(tip.Popup()->pos(), cell);

    QTest::mouseClick(tip.Popup(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(tip.IsShown());
    QCoreApplication::processEvents();
    ASSERT_EQ(owner.child->events.size(), 2u);
    EXPECT_EQ(owner.child->events[0].first, QEvent::MouseButtonPress);
    EXPECT_EQ(owner.child->events[1].first, QEvent::MouseButtonRelease);
    EXPECT_EQ(owner.child->events[0].second, QPoint(35, 45));
}

} // namespace
