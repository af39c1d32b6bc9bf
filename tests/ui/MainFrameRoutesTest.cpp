#include "MainFrameFixture.h"

#include "app/CMainToolBar.h"
#include "app/CommandTable.h"
#include "app/ContextHelp.h"
#include "app/SettingsKeys.h"
#include "collections/MainFrameCollections.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <functional>

namespace fs = std::filesystem;

namespace {

// "$D" stands for the collection folder Work()/docs, "$F" for its collection file, "$H" for the
// home.
std::string Expand(std::string text, CFrameFixture& f) {
    const fs::path file = f.Store().GetCollectionFilePath(f.Docs().string());
    for (const auto& [mark, path] : {std::pair{"$D", f.Docs()}, std::pair{"$F", file}, std::pair{"$H", f.home.Home()}})
        for (std::size_t at; (at = text.find(mark)) != std::string::npos;) text.replace(at, 2, path.string());
    return text;
}

struct CRoute {
    int id;
    std::function<void(CFrameFixture&)> scene;
    std::string first; // the first line of the log
};

// Each command's first words to the user, or its first dialog or window, prove where it went.
// The engine's tests hold its questions whole; the start of one is enough to show the route.
TEST(MainFrameRoutes, EachCommandReachesItsOperation) {
    const auto none = [](CFrameFixture&) {};
    const auto registered = [](CFrameFixture& f) { f.AddCollection({{"a.txt", "x"}}); };
    const auto window = [](CFrameFixture& f) { f.standIn.show(); };
    const auto row = [](CFrameFixture& f) { f.ShowRow(); };
    const CRoute routes[] = {
        {57600, none, "seam:newDocument"},
        {57601, none, "picker:Open resource file"},
        {57603, none, "seam:view:57603"},
        {32019, none, "seam:view:32019"},
        {57667, [](CFrameFixture& f) { f.home.Write(f.home.Home() / "Help.rtf", "{\\rtf1 }"); },
         "seam:openHelpDocument"},
        {32037, registered, "hook:openCollectionDialog"},
        {32038, none, "hook:newCollectionDialog"},
        {32039, none, "hook:newCollectionDialog"},
        {32009, none, "picker:Default: $H/helpContain"},
        {32011,
         [](CFrameFixture& f) {
             f.settings.Set(kMainDir, f.home.Write(f.Docs() / "a.txt", "x").parent_path().string());
         },
         "prompt:After refreshing was not found any old collection files."},
        {10041, [&](CFrameFixture& f) { registered(f), f.settings.Set(kMainDir, f.Docs().string()); },
         "prompt:Defaul collection is: directory\r\n\"$D\""},
        {32010, none, "hook:openCollectionDialog"},
        {32010, [](CFrameFixture& f) { f.ShowActive(f.standIn); }, "hook:keywordSearchDialog"},
        {32013, window, "hook:keywordSearchDialog"},
        {32035, none, "seam:replaceInFiles"}, // the seam asks for the scope
        {32036, none, "hook:openCollectionDialog"},
        {32028, window, "hook:collectionInfoDialog"},
        {32031, [](CFrameFixture& f) { f.AddFavorites(); }, "seam:showCollection"},
        {32034, [](CFrameFixture& f) { f.AddFavorites(); }, "seam:deleteFromFavorites"},
        {32029, none, "seam:fileExtensionTool"},
        {32030, none, "hook:fileInfoDialog"},
        {32041, none, "seam:saveVsProject"},
        {10042, none, "seam:saveAnyProject"},
        {10043, none, "seam:copyAllFiles"},
        {32005, [](CFrameFixture& f) { f.ShowRow(std::string("\x01\x02", 2)); }, "prompt:It's not a textual file."},
        {32005, row, "seam:openDocument:$D/a.txt:collection"},
        {32004, row, "seam:runFile:$D/a.txt"},
        {32002, row, "seam:printFile:$D/a.txt"},
        {32003, row, "prompt:Are you sure you want to delete"},
    };
    for (const CRoute& r : routes) {
        SCOPED_TRACE(testing::Message() << r.id << " " << r.first);
        CFrameFixture f;
        f.FillAll();
        r.scene(f);
        f.frame.UpdateCommandUi();
        ASSERT_TRUE(f.frame.Action(r.id)->isEnabled());
        f.frame.RunCommand(r.id);
        ASSERT_FALSE(f.log.empty());
        EXPECT_TRUE(f.log.front().starts_with(Expand(r.first, f))) << f.log.front();
    }
}

TEST(MainFrameRoutes, AddToFavoritesWritesTheFavoritesFile) {
    CFrameFixture f;
    f.FillAll();
    f.ShowRow();
    f.frame.RunCommand(32032);
    EXPECT_TRUE(f.log.empty());
    EXPECT_EQ(ReadFileBytes(f.Collections().FavoritesPath()),
              "#Favorites#\r\n" + (f.Docs() / "a.txt").string() + "#about#\r\n");
    EXPECT_TRUE(f.frame.Action(32034)->isEnabled()) << "favorites exist now";
}

TEST(MainFrameRoutes, ChoosingACollectionFirstMakesItCurrent) {
    CFrameFixture f;
    const fs::path file = f.AddCollection({{"a.txt", "x"}});
    f.AddFavorites();
    f.settings.Set(kWasFavorite, 1);
    const auto dialog = [&](COpenCollectionDialogData& d) {
        for (std::size_t i = 0; i < d.catalogue->size(); ++i)
            if ((*d.catalogue)[i].path == file) d.selected = int(i);
        return true;
    };
    EXPECT_TRUE(ChooseCollectionFirst(f.Collections(), f.settings, dialog));
    EXPECT_EQ(f.settings.Get(kMainDir), (f.home.Work() / "docs").string());
    EXPECT_EQ(f.settings.Get(kWasFavorite), 0) << "else the favorites would open instead";
    EXPECT_FALSE(ChooseCollectionFirst(f.Collections(), f.settings, [](COpenCollectionDialogData&) { return false; }));
}

TEST(MainFrameRoutes, InformationTipTexts) {
    struct CRow {
        std::function<void(CFrameFixture&)> scene;
        std::string expected;
    };
    const CRow rows[] = {
        {[](CFrameFixture&) {}, "Refresh collection\r\nBut any collections did not registre yet."},
        {[](CFrameFixture& f) {
             f.AddCollection({{"a.txt", "x"}});
             f.settings.Set(kMainDir, f.Docs().string());
         },
         "Refresh collection\r\nname: \"Docs\"\r\ninf-file: $F\r\nwork path$D\r\nabout: My documents"},
    };
    for (const CRow& r : rows) {
        SCOPED_TRACE(r.expected);
        CFrameFixture f;
        r.scene(f);
        EXPECT_EQ(RefreshButtonTipText(f.frame.GetCollectionInformationText(true)), Expand(r.expected, f));
    }
    EXPECT_EQ(RefreshButtonTipText(""), "Refresh collection\r\nby you chosen from list.");
}

TEST(MainFrameRoutes, ContextHelpShowsTheChosenCommandsText) {
    struct CRow {
        int id;
        const char* text; // nullptr: the text is absent
    };
    const CRow rows[] = {
        {57634, "  You would to copy to clipboard content of loaded file.\r\n"},
        {57600, nullptr},
    };
    CFrameFixture f;
    for (const CRow& r : rows) {
        SCOPED_TRACE(r.id);
        f.log.clear();
        f.frame.RunCommand(kIdContextHelp);
        ASSERT_TRUE(f.frame.IsContextHelpMode());
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WhatsThisCursor);
        EXPECT_TRUE(f.frame.Action(r.id)->isEnabled()) << "any command may be asked about";
        f.frame.Action(r.id)->trigger();
        EXPECT_FALSE(f.frame.IsContextHelpMode());
        EXPECT_EQ(f.log, std::vector<std::string>{std::string("prompt:") +
                                                  (r.text ? r.text : "Sorry, Help information is absent.")});
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
