#include "MainFrameFixture.h"

#include "CDataTable.h"
#include "CDataTableAccessible.h"
#include "app/SettingsKeys.h"
#include "collections/CCollectionWindowHost.h"
#include "collections/CCollectionWnd.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>

#include <memory>

namespace {

// The window with its two modal steps answered by the test.
struct CTestWnd : CCollectionWnd {
    using CCollectionWnd::CCollectionWnd;
    std::string groupName;
    std::string AskGroupName() override { return groupName; }
    int ExecMenu(QMenu&) override { return 0; }
};

struct CWndFixture : CFrameFixture {
    std::unique_ptr<CTestWnd> wnd;
    std::filesystem::path file;

    // A collection of Docs() whose records are given as "name#description#groups" lines.
    void Load(const std::vector<std::string>& lines) {
        std::string text = "#Docs#" + Docs().string() + "#d#*.*\r\n";
        for (const std::string& l : lines) text += (Docs() / l).string() + "\r\n";
        file = home.Write(Store().GetCollectionFilePath(Docs().string()), text);
        Store().SetBaseDirectory(Docs().string());
        Store().SetCollectionFilePath(file);
        Store().LoadCollection();
    }
    CTestWnd& Show() {
        if (!wnd) {
            wnd = std::make_unique<CTestWnd>(frame, CUiServices{&prompt, &settings, &frame});
            wnd->setAttribute(Qt::WA_DeleteOnClose, false);
            frame.Seams().collectionWindow.window = [this]() -> QWidget* {
                return wnd && !wnd->IsClosed() ? wnd.get() : nullptr;
            };
        }
        wnd->ShowCollection();
        return *wnd;
    }
    std::string Cell(int row, int column) { return wnd->Table()->GetCellText(row, column); }
    void Notify(CTableNotify& n, int code) {
        n.code = code;
        emit wnd->Table()->notify(n);
    }
    std::string Line(std::size_t k) { // line k of the collection file (0 = header)
        const std::string text = ReadFileBytes(file);
        std::size_t start = 0;
        for (std::size_t i = 0; i < k; ++i) start = text.find("\r\n", start) + 2;
        return text.substr(start, text.find("\r\n", start) - start);
    }
};

} // namespace

TEST(CollectionWnd, FillsFourHundredRowsAndTheRestOnScrolling) {
    CWndFixture f;
    std::vector<std::string> lines;
    for (int i = 0; i < 1000; ++i) lines.push_back("f" + std::to_string(i) + ".txt#d" + std::to_string(i) + "#");
    f.home.Write(f.Docs() / "f0.txt", "x");
    f.Load(lines);
    CTestWnd& w = f.Show();
    EXPECT_EQ(w.windowTitle().toStdString(), "Collection \"Docs\": 1000 files.");
    EXPECT_EQ(w.Table()->Model().BufferRows(), 400);
    EXPECT_EQ(f.Cell(0, 0), "f0.txt");
    EXPECT_EQ(f.Cell(399, 1), "d399");
    EXPECT_EQ(f.Cell(400, 0), "");
    w.Table()->OnVScrollCode(4, 600, true);
    EXPECT_EQ(f.Cell(600, 1), "d600");
    EXPECT_EQ(f.Cell(0, 1), "");
}

TEST(CollectionWnd, EditsReachTheFileAtOnceOrNotAtAll) {
    CWndFixture f;
    f.home.Write(f.Docs() / "a.txt", "a");
    f.home.Write(f.Docs() / "b.txt", "b");
    f.Load({"a.txt#old#g1", "b.txt#other#"});
    f.Show();

    CTableCellChange d;
    d.row = 0;
    d.column = 1;
    d.text = "new text";
    f.Notify(d, TN_CELLCHANGED);
    EXPECT_EQ(f.Line(1), (f.Docs() / "a.txt").string() + "#new text#g1");
    EXPECT_EQ(f.Line(2), (f.Docs() / "b.txt").string() + "#other#");

    const struct {
        int column;
        const char* text;
        const char* question;
    } refused[] = {
        {0, "b.txt", "File\r\n\"b.txt\"\r\nalready existent!\r\nWhat do you like replase it?"},
        {1, "a#b", nullptr},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.text);
        f.log.clear();
        CTableCellChange c;
        c.row = 0;
        c.column = r.column;
        c.text = r.text;
        f.Notify(c, TN_CELLCHANGING);
        EXPECT_EQ(c.veto, 1);
        if (r.question) {
            ASSERT_FALSE(f.log.empty());
            EXPECT_EQ(f.log.front(), std::string("prompt:") + r.question);
        }
        EXPECT_TRUE(std::filesystem::exists(f.Docs() / "a.txt"));
        EXPECT_EQ(f.Line(1), (f.Docs() / "a.txt").string() + "#new text#g1");
    }
}

TEST(CollectionWnd, TenKnownGroupsGetTheChooserWhichClosesWithTheFocusElsewhere) {
    for (const int known : {9, 10}) {
        SCOPED_TRACE(known);
        CWndFixture f;
        std::vector<std::string> lines;
        for (int k = 0; k < known; ++k) lines.push_back("f" + std::to_string(k) + ".txt##g" + std::to_string(k));
        f.Load(lines);
        CTestWnd& w = f.Show();
        QMenu menu;
        w.AddGroupMenu(menu, 0, 2, false);
        QAction* set = nullptr;
        for (QAction* a : menu.actions())
            if (a->text() == QLatin1String("Set existen group")) set = a;
        ASSERT_NE(set, nullptr);
        EXPECT_EQ(set->menu() != nullptr, known < 10);
        if (known < 10) {
            EXPECT_EQ(set->menu()->actions().size(), known);
            continue;
        }
        ASSERT_EQ(set->data().toInt(), int(kIdGroupChooser));
        // The chooser closes once the focus is elsewhere.
        w.OnCommand(kIdGroupChooser);
        const QPointer<QWidget> chooser = w.Chooser();
        ASSERT_TRUE(chooser);
        QTest::qWait(2 * CCollectionWnd::kChooserFocusCheckMs);
        ASSERT_TRUE(chooser) << "closed with the focus in it";
        if (QWidget* focus = QApplication::focusWidget()) focus->clearFocus();
        QTRY_VERIFY(!chooser);
    }
}

TEST(CollectionWnd, GroupCommandsChangeCellAndLine) {
    CWndFixture f;
    f.Load({"a.txt##a; X", "b.txt##"});
    CTestWnd& w = f.Show();
    const std::string loc = (f.Docs() / "a.txt").string();
    const struct {
        const char* step;
        int id;
        const char* name;
        const char* groups;
    } steps[] = {
        // Which names join is the store's rule; here the menu's commands reach cell and line.
        {"a new name is appended", kIdNewGroup, "work", "a; X; work"},
        {"the second name goes", kIdDeleteGroupBase + 1, "", "a; work"},
        {"all go", kIdDeleteAllGroups, "", ""},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        QMenu menu;
        w.AddGroupMenu(menu, 0, 2, false);
        w.groupName = s.name;
        w.OnCommand(s.id);
        EXPECT_EQ(f.Cell(0, 2), s.groups);
        EXPECT_EQ(f.Line(1), loc + "##" + s.groups);
    }
    EXPECT_EQ(w.GroupBox()->itemText(0).toStdString(), "   ...");
    EXPECT_GE(w.GroupBox()->findText(QStringLiteral("work")), 1);
}

TEST(CollectionWnd, BoxesFilterAndResetEachOther) {
    CWndFixture f;
    f.Load({"a.txt#red apple#fruit", "b.doc#blue sky#", "c.txt#red car#fruit"});
    CTestWnd& w = f.Show();
    const struct {
        const char* step;
        QWidget* box;
        const char* text; // for the group box: the item's text
        std::size_t rows;
        const char* fileBox;
        const char* descBox;
        int groupIndex;
    } steps[] = {
        {"description", w.DescriptionBox(), "red", 2, "*.*", "red", 0},
        {"file name resets the description", w.FileBox(), "*.DOC", 1, "*.DOC", "", 0},
        {"group resets both", w.GroupBox(), "fruit", 2, "*.*", "", 1},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        if (auto* edit = qobject_cast<QLineEdit*>(s.box)) {
            edit->clear();
            QTest::keyClicks(edit, QString::fromLatin1(s.text));
        } else {
            const int index = w.GroupBox()->findText(QString::fromLatin1(s.text));
            ASSERT_GE(index, 0);
            w.GroupBox()->setCurrentIndex(index);
            emit w.GroupBox()->activated(index);
        }
        EXPECT_EQ(f.Store().RowCount(), s.rows);
        EXPECT_EQ(w.FileBox()->text().toStdString(), s.fileBox);
        EXPECT_EQ(w.DescriptionBox()->text().toStdString(), s.descBox);
        EXPECT_EQ(w.GroupBox()->currentIndex(), s.groupIndex);
    }
}

TEST(CollectionWnd, StoredSettingsApplyOnlyWithStoredWidths) {
    const struct {
        int pos1, pos2;
        bool applied;
    } cases[] = {{0, 0, false}, {300, 90, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pos1);
        CWndFixture f;
        f.settings.Set(kColumnWidth0, 100);
        f.settings.Set(kColumnWidth1, c.pos1);
        f.settings.Set(kColumnWidth2, c.pos2);
        f.settings.Set(kCollectionFont, "Serif;4294967283;1;700;0");
        f.settings.Set(kCollectionColor, 0x00FF00);
        f.Load({"a.txt##"});
        CTestWnd& w = f.Show();
        EXPECT_EQ(w.Table()->GetColumnWidth(0) == 100, c.applied);
        EXPECT_EQ(w.Table()->BackColor() == 0x00FF00, c.applied);
        EXPECT_EQ(w.Table()->CellFont().height == -13, c.applied);
        const int width1 = w.Table()->GetColumnWidth(1);
        w.close();
        // Closing stores what the table had and lets go of the collection.
        EXPECT_EQ(f.settings.Get(kColumnWidth1), width1);
        EXPECT_TRUE(f.Store().CollectionFilePath().empty());
        if (c.applied) {
            EXPECT_EQ(f.settings.Get(kCollectionFont), "Serif;4294967283;1;700;0");
        }
    }
}

TEST(CollectionWnd, AccessibleTableReadsTheCells) {
    InstallDataTableAccessibility();
    CWndFixture f;
    f.Load({"a.txt#first#g", "b.txt#second#"});
    CTestWnd& w = f.Show();
    w.Table()->SetCurrentCell(1, 1);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w.Table());
    ASSERT_NE(iface, nullptr);
    QAccessibleTableInterface* table = iface->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->columnCount(), 3);
    EXPECT_EQ(table->columnDescription(2).toStdString(), "Group");
    const struct {
        int row, column;
        const char* text;
    } cells[] = {{0, 2, "g"}, {1, 0, "! b.txt (is absent now)"}};
    for (const auto& c : cells) {
        SCOPED_TRACE(c.text);
        QAccessibleInterface* cell = table->cellAt(c.row, c.column);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->text(QAccessible::Name).toStdString(), c.text);
    }
    ASSERT_EQ(table->selectedCellCount(), 1);
    EXPECT_EQ(table->selectedCells().front()->text(QAccessible::Name).toStdString(), "second");
    EXPECT_EQ(iface->child(3 + 3 * 1 + 1), table->cellAt(1, 1));
    EXPECT_EQ(iface->indexOfChild(table->cellAt(1, 1)), 7);
}
