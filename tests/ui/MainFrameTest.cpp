#include "MainFrameFixture.h"

#include "app/CMainToolBar.h"
#include "app/CMdiClientWnd.h"
#include "app/CommandTable.h"
#include "app/ContextHelp.h"
#include "app/MainFrameRules.h"
#include "app/SettingsKeys.h"
#include "collections/MainFrameCollections.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

#include <set>

namespace fs = std::filesystem;

namespace {

int IdOf(const QAction* a) { return a->data().isValid() ? a->data().toInt() : 0; }

// The ids a menu set shows, submenus included, in order.
void CollectIds(const QMenu* menu, std::vector<int>& ids) {
    for (const QAction* a : menu->actions()) {
        if (a->menu()) CollectIds(a->menu(), ids);
        else if (!a->isSeparator() && IdOf(a))
            ids.push_back(IdOf(a));
    }
}

struct CMenuRow {
    int id;
    const char* text;
    const char* keys; // what works, in portable form
    bool in1002;
    bool in1003;
};

// The menu texts and accelerator keys as the resources give them.
// clang-format off
constexpr CMenuRow kMenuRows[] = {
    {57600, "&New\tCtrl+N", "Ctrl+N", true, true}, {57601, "&Open...\tCtrl+O", "Ctrl+O", true, true},
    {57602, "&Close", "", false, true}, {57603, "&Save\tCtrl+S", "Ctrl+S", false, true},
    {57604, "Save &As...", "", false, true}, {32040, "Send mail", "", false, true},
    {57607, "&Print...\tCtrl+P", "Ctrl+P", false, true}, {57609, "Print Pre&view", "", false, true},
    {57606, "P&rint Setup...", "", true, true}, {57616, "Recent File", "", true, true},
    {57665, "E&xit", "", true, true}, {57643, "&Undo\tCtrl+Z", "Ctrl+Z", false, true},
    {57635, "Cu&t\tCtrl+X", "Ctrl+X", false, true}, {57634, "&Copy\tCtrl+C", "Ctrl+C; Ctrl+Ins", false, true},
    {57637, "&Paste\tCtrl+V", "Ctrl+V; Shift+Ins", false, true}, {57642, "Select A&ll\tCtrl+A", "Ctrl+A", false, true},
    {32026, "Go to next found word\tF3", "", false, true}, {57641, "Replace", "Ctrl+H", false, true},
    {32037, "Open Collections... \tAlt+C", "Alt+C", true, true},
    {32038, "New collection...\tAlt+N", "Alt+N", true, true},
    {32009, "Refresh collection\tAlt+Z", "Alt+Z", true, true}, {10041, "Change the collection path", "", true, true},
    {32010, "Key searching...\tAlt+K", "Alt+K", true, true}, {32036, "Delete collection", "", true, true},
    {32028, "Collection info...\tAlt+I", "Alt+I", true, true},
    {32031, "Favorite collection\tStrl+F", "Alt+F", true, true},
    {32034, "Delete from favorite...\tAlt+D", "Alt+D", true, true},
    {32029, "File extension tool...\tAlt+E", "Alt+E", true, true},
    {32030, "File attributes...\tAlt+A", "Alt+A", true, true},
    {32035, "Replace in collection files...\tAlt+R", "Alt+R", true, true},
    {32041, "Save VS project as...", "", true, true}, {10042, "Save Any project as...", "", true, false},
    {10043, "Copy All files", "", true, true}, {32008, "Correct resource file", "", false, true},
    {32033, "Find existetn identificators in RC-file", "", false, true},
    {32024, "Find existent identificators in project", "", false, true}, {32027, "Invert red color", "", false, true},
    {32025, "Exlude a red color identifers from resource.h", "", false, true},
    {32021, "Options of checking...", "", false, true}, {32012, "Compare another RC...", "", false, true},
    {32014, "Go to next", "", false, true}, {32017, "Collaps color strings", "", false, true},
    {32019, "Restore collapsed view", "", false, true}, {59392, "&Toolbar", "", true, true},
    {59393, "&Status Bar", "", true, true}, {57648, "&New Window", "", false, true},
    {57650, "&Cascade", "", false, true}, {57651, "&Tile", "", false, true},
    {57649, "&Arrange Icons", "", false, true}, {57667, "&Help Topics", "", true, true},
    {57664, "&About Quillbox...", "", true, true},
};
// clang-format on

TEST(MainFrame, MenusHoldEveryCommandOnceWithItsTextAndKeys) {
    CFrameFixture f;
    for (const bool document : {false, true}) {
        std::vector<int> ids;
        for (const QMenu* m : f.frame.MenusFor(document)) CollectIds(m, ids);
        std::multiset<int> seen(ids.begin(), ids.end());
        for (const CMenuRow& row : kMenuRows) {
            SCOPED_TRACE(testing::Message() << row.id << (document ? " in 1003" : " in 1002"));
            EXPECT_EQ(seen.count(row.id), (document ? row.in1003 : row.in1002) ? 1u : 0u);
            const QAction* a = f.frame.Action(row.id);
            ASSERT_NE(a, nullptr);
            EXPECT_EQ(a->text().toStdString(), row.text);
            EXPECT_EQ(QKeySequence::listToString(a->shortcuts(), QKeySequence::PortableText).toStdString(), row.keys);
        }
        EXPECT_EQ(seen.size(), std::set<int>(ids.begin(), ids.end()).size()) << "an id shows twice";
    }
    // The keys of commands without a menu item: AcceleratorsFireFromTheFrameAndFromTheCollectionWindow.
}

TEST(MainFrame, AcceleratorsFireFromTheFrameAndFromTheCollectionWindow) {
    std::vector<std::pair<QKeySequence, int>> keys = {{QKeySequence("F3"), 32000},
                                                      {QKeySequence("F1"), 57670},
                                                      {QKeySequence("Shift+F1"), 57669},
                                                      {QKeySequence("F6"), 57680},
                                                      {QKeySequence("Shift+F6"), 57681}};
    for (const CMenuRow& row : kMenuRows)
        for (const QKeySequence& k : QKeySequence::listFromString(row.keys))
            if (!k.isEmpty()) keys.emplace_back(k, row.id);
    ASSERT_EQ(keys.size(), 27u);
    CFrameFixture f;
    f.AddCollection({{"a.txt", "text"}});
    f.AddFavorites();
    std::vector<int> fired;
    for (const CCommandDef& c : Commands())
        QObject::connect(f.frame.Action(c.id), &QAction::triggered, &f.frame,
                         [&fired, id = c.id] { fired.push_back(id); });
    f.standIn.currentRow = 0;
    f.standIn.show();
    for (QWidget* target : {static_cast<QWidget*>(&f.frame), static_cast<QWidget*>(&f.standIn)}) {
        f.ShowActive(*target);
        for (const auto& [key, id] : keys) {
            SCOPED_TRACE(testing::Message() << id << (target == &f.frame ? " from the frame" : " from the window"));
            fired.clear();
            if (QApplication::activeWindow() != target) f.ShowActive(*target);
            f.frame.UpdateCommandUi();
            QTest::keySequence(target, key);
            EXPECT_EQ(fired, std::vector<int>{id});
            if (f.frame.IsContextHelpMode()) QTest::keyClick(target, Qt::Key_Escape);
            if (!f.standIn.isVisible()) f.standIn.show();
        }
    }
    fired.clear();
    QTest::keyClick(&f.frame, Qt::Key_Escape);
    EXPECT_TRUE(fired.empty()) << "Esc has no command";
}

struct CEnableRow {
    const char* name;
    bool window, editing, document;
    std::vector<int> enabled, disabled;
};

TEST(MainFrame, EnablingRules) {
    // clang-format off
    const CEnableRow rows[] = {
        {"window open", true, false, false,
         {32028, 32032, 32003, 32013, 32005, 32004, 32002, 32030, 32070, 32071}, {10041, 32031, 32034}},
        {"editing a cell", true, true, false, {32028}, {32032, 32003, 32070, 32071}},
        {"document open", false, false, true, {57603, 57634, 32008, 57650, 57651, 57649}, {32028}},
    };
    // clang-format on
    for (const CEnableRow& row : rows) {
        SCOPED_TRACE(row.name);
        CFrameFixture f;
        f.FillAll();
        f.ShowRow();
        f.standIn.setVisible(row.window);
        f.standIn.editing = row.editing;
        f.frame.Seams().viewCommandEnabled = [&row](int) { return row.document; };
        if (row.document) f.frame.MdiArea()->addSubWindow(new QTextEdit)->show();
        if (row.window) f.ShowActive(f.standIn);
        f.frame.UpdateCommandUi();
        for (const int id : row.enabled) EXPECT_TRUE(f.frame.Action(id)->isEnabled()) << id;
        for (const int id : row.disabled) EXPECT_FALSE(f.frame.Action(id)->isEnabled()) << id;
        EXPECT_EQ(f.frame.menuBar()->actions().size(), row.document ? 7 : 5) << "menu 1003 with a document";
    }
}

TEST(MainFrame, PlacementIsRestoredOnlyInsideTheScreen) {
    const QSize screen = QGuiApplication::primaryScreen()->size();
    struct CRow {
        int left, top, right, bottom;
        bool restored;
    };
    const CRow rows[] = {
        {screen.width() - 61, 40, screen.width() + 300, 300, true},
        {screen.width() - 60, 40, screen.width() + 300, 300, false},
    };
    for (const CRow& r : rows) {
        SCOPED_TRACE(testing::Message() << r.left << "," << r.top << "," << r.right << "," << r.bottom);
        CTestPorts ports;
        ports.settings.Set(kMainPlaceLeft, r.left);
        ports.settings.Set(kMainPlaceTop, r.top);
        ports.settings.Set(kMainPlaceRight, r.right);
        ports.settings.Set(kMainPlaceBottom, r.bottom);
        CMainFrame frame(ports.prompt, ports.settings, ports.progress, ports.pickers);
        EXPECT_EQ(frame.geometry() == QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), r.restored);
    }
}

TEST(MainFrame, ClosingWaitsForAnOpenDialog) {
    CFrameFixture f;
    f.frame.show();
    auto* dlg = new QDialog(&f.frame);
    bool stillOpen = false;
    QTimer::singleShot(0, dlg, [&] {
        f.frame.close();
        stillOpen = f.frame.isVisible() && dlg->isVisible();
        dlg->reject();
    });
    dlg->exec();
    EXPECT_TRUE(stillOpen);
    delete dlg;
    EXPECT_TRUE(f.frame.close());
}

TEST(MainFrame, ClosingOrderAndPlacementWritten) {
    CFrameFixture f;
    std::vector<std::string> order;
    f.FillAll();
    f.standIn.closeLog = &order;
    f.standIn.show();
    f.frame.Seams().saveKeywordList = [&] { order.push_back("keywords"); };
    f.frame.setGeometry(50, 60, 500, 400);
    f.frame.show();
    EXPECT_TRUE(f.frame.close());
    EXPECT_EQ(order, (std::vector<std::string>{"collection", "keywords"}));
    EXPECT_EQ(ReadMainPlacement(f.settings), (CWindowPlacement{50, 60, 550, 460, CWindowPlacement::kShowNormal}));
}

TEST(MainFrame, StatusBarPanesAndPrompts) {
    CFrameFixture f;
    EXPECT_EQ(f.frame.MessageText(), QStringLiteral("For Help, press F1"));
    f.frame.SetCaretStatus(3, 7, 7);
    EXPECT_EQ(f.frame.MessageText(), QStringLiteral("line: 3, symbol: 7"));
    f.frame.SetCaretStatus(3, 7, 12);
    EXPECT_EQ(f.frame.MessageText(), QStringLiteral("line: 3, start selected: 7, finish selected: 12"));
}

// Menu items are named by their texts, which the menu test holds; icon-only buttons and the
// status panes need names of their own.
TEST(MainFrame, ToolBarsAndPanesHaveAccessibleNames) {
    CFrameFixture f;
    f.frame.ShowResourceToolBar(1, true);
    f.frame.ShowResourceToolBar(2, true);
    f.frame.show();
    for (QToolBar* bar :
         {static_cast<QToolBar*>(f.frame.MainToolBar()), f.frame.ResourceToolBar(1), f.frame.ResourceToolBar(2)}) {
        EXPECT_FALSE(bar->accessibleName().isEmpty());
        for (QAction* a : bar->actions())
            if (!a->isSeparator()) {
                EXPECT_FALSE(bar->widgetForAction(a)->accessibleName().isEmpty()) << IdOf(a);
            }
    }
    for (const QLabel* pane : f.frame.StatusPanes()) EXPECT_FALSE(pane->accessibleName().isEmpty());
}

} // namespace
