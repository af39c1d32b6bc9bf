#include "CTipWnd.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QScreen>
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

TEST(TipWnd, EmptyTextIsNeverShownAndShownTextIsKept) {
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
    tip.SetTipText("second");
    EXPECT_EQ(tip.TipText(), "second");
}

TEST(TipWnd, WithoutAnOwnerItBelongsToTheMainWindow) {
    CActiveOwner main;
    CTipWnd tip(&main.window);
    tip.SetTipText("for the main window");
    tip.ShowFor(nullptr, nullptr, false);
    ASSERT_TRUE(tip.IsShown());
    EXPECT_EQ(tip.Owner(), &main.window);
    tip.HideTip();

    CTipWnd orphan(nullptr);
    orphan.SetTipText("nobody's");
    orphan.ShowFor(nullptr, nullptr, false);
    EXPECT_FALSE(orphan.IsShown()) << "no owner and no main window: not the user's window";
}

TEST(TipWnd, SizeCoversEveryLineAndOnlyOneTipIsUp) {
    CActiveOwner owner;
    CTipWnd tip(nullptr), other(nullptr);
    tip.SetTipText("short\r\na much longer second line\nthird");
    QCursor::setPos(150, 150);
    tip.ShowFor(&owner.window, nullptr, false);
    ASSERT_TRUE(tip.IsShown());
    const QFontMetrics fm(QApplication::font());
    EXPECT_EQ(tip.Popup()->height(), 3 * fm.height() + 2);
    EXPECT_GE(tip.Popup()->width(), fm.horizontalAdvance(QStringLiteral("a much longer second line")));

    other.SetTipText("other");
    other.ShowFor(&owner.window, nullptr, false);
    EXPECT_TRUE(other.IsShown());
    EXPECT_FALSE(tip.IsShown()) << "a new current tip takes the old one down";
}

TEST(TipWnd, NearTheScreenEdgeItMovesBackOnScreen) {
    const QRect screen(0, 0, 800, 600);
    const QSize text(120, 16);
    const struct {
        const char* name;
        QPoint pointer;
        bool shiftedLeft, shiftedUp;
    } cases[] = {
        {"middle", {300, 300}, false, false},
        {"right edge", {760, 300}, true, false},
        {"bottom edge", {300, 590}, false, true},
        {"corner", {799, 599}, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QRect r = CTipWnd::PlaceTip({c.pointer, text, screen, true, std::nullopt});
        EXPECT_TRUE(screen.contains(r)) << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
        EXPECT_EQ(r.x() < c.pointer.x(), c.shiftedLeft);
        EXPECT_EQ(r.y() < c.pointer.y(), c.shiftedUp);
    }
    // A placement puts the tip over the given rectangle, at least as wide as it.
    const QRect placed = CTipWnd::PlaceTip({{760, 300}, text, screen, true, CRect{40, 50, 400, 70}});
    EXPECT_EQ(placed, QRect(40, 50, 360, 21));
}

TEST(TipWnd, TimeOutLeavingThePointerBoxOrAnEarlyHideTakeItDown) {
    CActiveOwner owner;
    CTipWnd tip(nullptr);
    tip.SetTipText("timed");
    QCursor::setPos(200, 200);
    tip.ShowAtPointer(&owner.window, 300);
    ASSERT_TRUE(tip.IsShown());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tip.IsShown(); }, 3000)) << "the time is up";
    EXPECT_EQ(CTipWnd::Current(), nullptr);

    tip.ShowAtPointer(&owner.window, 60'000);
    ASSERT_TRUE(tip.IsShown());
    QCursor::setPos(200 + CTipWnd::kCursorSize + 5, 200);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tip.IsShown(); }, 3000)) << "left the pointer box";

    QCursor::setPos(200, 200);
    tip.ShowDelayed(&owner.window);
    EXPECT_TRUE(QTest::qWaitFor([&] { return tip.IsShown(); }, 3000));
    tip.HideTip();
    tip.ShowDelayed(&owner.window);
    tip.HideTip();
    QTest::qWait(700);
    EXPECT_FALSE(tip.IsShown()) << "hidden before the delay was up: never shown";
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

    // Moving away from both the tip and its owner takes a following tip down.
    tip.ShowFor(&owner.window, nullptr, true);
    ASSERT_TRUE(tip.IsShown());
    QCursor::setPos(700, 500);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tip.IsShown(); }, 3000));
}

} // namespace
