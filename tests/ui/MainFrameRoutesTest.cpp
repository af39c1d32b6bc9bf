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

struct CRoute {
    int id;
    const char* name;
    // Sets the scene; returns the lines the log must start with.
    std::function<std::vector<std::string>(CFrameFixture&)> scene;
};

std::string Quoted(const fs::path& p) { return "\"" + p.string() + "\""; }

// Each command's first words to the user (or first dialog or window seam) prove where it went.
TEST(MainFrameRoutes, EachCommandReachesItsOperation) {
    const CRoute routes[] = {
        {57600, "new", [](CFrameFixture&) { return std::vector<std::string>{"seam:newDocument"}; }},
        {57601, "open", [](CFrameFixture&) { return std::vector<std::string>{"picker:Open resource file"}; }},
        {57603, "save", [](CFrameFixture&) { return std::vector<std::string>{"seam:view:57603"}; }},
        {32019, "restore collapsed", [](CFrameFixture&) { return std::vector<std::string>{"seam:view:32019"}; }},
        {57667, "help missing",
         [](CFrameFixture&) { return std::vector<std::string>{"prompt:Sorry, can not to find \"Help.rtf\" file."}; }},
        {57667, "help found",
         [](CFrameFixture& f) {
             f.home.Write(f.home.Home() / "Help.rtf", "{\\rtf1 help}");
             return std::vector<std::string>{"seam:openHelpDocument"};
         }},
        {32037, "open collections",
         [](CFrameFixture& f) {
             f.AddCollection({{"a.txt", "x"}});
             return std::vector<std::string>{"hook:openCollectionDialog"};
         }},
        {32038, "new collection", [](CFrameFixture&) { return std::vector<std::string>{"hook:newCollectionDialog"}; }},
        {32039, "choose, none registered", [](CFrameFixture&) { return std::vector<std::string>{"hook:newCollectionDialog"}; }},
        {32009, "refresh without a folder",
         [](CFrameFixture& f) {
             return std::vector<std::string>{"picker:Default: " + (f.home.Home() / "helpContain").string()};
         }},
        {32011, "refresh of a new folder",
         [](CFrameFixture& f) {
             f.home.Write(f.home.Work() / "fresh" / "a.txt", "x");
             f.settings.Set(kMainDir, (f.home.Work() / "fresh").string());
             return std::vector<std::string>{"prompt:After refreshing was not found any old collection files.\r\n"
                                             "Was found 1 new files.\r\n\r\nWhat do you like save this result to "
                                             "collection?"};
         }},
        {10041, "change path",
         [](CFrameFixture& f) {
             const fs::path file = f.AddCollection({{"a.txt", "x"}});
             const std::string dir = (f.home.Work() / "docs").string();
             f.settings.Set(kMainDir, dir);
             return std::vector<std::string>{"prompt:Defaul collection is: directory\r\n\"" + dir +
                                             "\"\r\nfor collection\r\n" + Quoted(file) +
                                             ".\r\n\r\nWhat do you like to find a new locetion?"};
         }},
        {32010, "key searching asks first", [](CFrameFixture&) { return std::vector<std::string>{"hook:openCollectionDialog"}; }},
        {32010, "key searching in the active window",
         [](CFrameFixture& f) {
             f.ShowActive(f.standIn);
             return std::vector<std::string>{"hook:keywordSearchDialog"};
         }},
        {32013, "keyword search of the shown",
         [](CFrameFixture& f) {
             f.standIn.show();
             return std::vector<std::string>{"hook:keywordSearchDialog"};
         }},
        {32035, "replace asks first, then runs",
         [](CFrameFixture& f) {
             f.AddCollection({{"a.txt", "x"}});
             f.frame.CollectionCommands()->Hooks().openCollectionDialog = [&f](COpenCollectionDialogData& d) {
                 f.log.Add("hook:openCollectionDialog");
                 d.selected = 0;
                 return true;
             };
             return std::vector<std::string>{"hook:openCollectionDialog", "seam:replaceInFiles"};
         }},
        {32036, "delete collection", [](CFrameFixture&) { return std::vector<std::string>{"hook:openCollectionDialog"}; }},
        {32028, "collection info",
         [](CFrameFixture& f) {
             f.standIn.show();
             return std::vector<std::string>{"hook:collectionInfoDialog"};
         }},
        {32031, "favorites",
         [](CFrameFixture& f) {
             f.AddFavorites();
             f.Reattach();
             f.FillAll();
             return std::vector<std::string>{"seam:showCollection"};
         }},
        {32034, "delete from favorites",
         [](CFrameFixture& f) {
             f.AddFavorites();
             f.Reattach();
             f.FillAll();
             return std::vector<std::string>{"seam:deleteFromFavorites"};
         }},
        {32029, "extension tool", [](CFrameFixture&) { return std::vector<std::string>{"seam:fileExtensionTool"}; }},
        {32030, "file attributes", [](CFrameFixture&) { return std::vector<std::string>{"hook:fileInfoDialog"}; }},
        {32041, "save VS project", [](CFrameFixture&) { return std::vector<std::string>{"seam:saveProjectAs:vs"}; }},
        {10042, "save any project", [](CFrameFixture&) { return std::vector<std::string>{"seam:saveProjectAs:any"}; }},
        {10043, "copy all files", [](CFrameFixture&) { return std::vector<std::string>{"seam:copyAllFiles"}; }},
        {32005, "textual editing of a binary file",
         [](CFrameFixture& f) {
             f.LoadShown(f.AddCollection({{"a.txt", std::string("\x01\x02\x03", 3)}}));
             f.standIn.contextRow = 0;
             f.standIn.show();
             return std::vector<std::string>{"prompt:It's not a textual file."};
         }},
        {32005, "textual editing of a text",
         [](CFrameFixture& f) {
             f.LoadShown(f.AddCollection({{"a.txt", "plain words"}}));
             f.standIn.contextRow = 0;
             f.standIn.show();
             return std::vector<std::string>{"seam:openDocument:" + (f.home.Work() / "docs" / "a.txt").string() +
                                             ":collection"};
         }},
        {32004, "run",
         [](CFrameFixture& f) {
             f.LoadShown(f.AddCollection({{"a.txt", "x"}}));
             f.standIn.contextRow = 0;
             f.standIn.show();
             return std::vector<std::string>{"seam:runFile:" + (f.home.Work() / "docs" / "a.txt").string()};
         }},
        {32002, "print",
         [](CFrameFixture& f) {
             f.LoadShown(f.AddCollection({{"a.txt", "x"}}));
             f.standIn.contextRow = 0;
             f.standIn.show();
             return std::vector<std::string>{"seam:printFile:" + (f.home.Work() / "docs" / "a.txt").string()};
         }},
        {32003, "delete file",
         [](CFrameFixture& f) {
             f.LoadShown(f.AddCollection({{"a.txt", "x"}}));
             f.standIn.currentRow = 0;
             f.standIn.show();
             return std::vector<std::string>{"prompt:Are you sure you want to delete\r\n" +
                                             Quoted(f.home.Work() / "docs" / "a.txt") + "\r\nfile?"};
         }},
    };
    for (const CRoute& r : routes) {
        SCOPED_TRACE(testing::Message() << r.id << " " << r.name);
        CFrameFixture f;
        f.FillAll();
        const std::vector<std::string> expected = r.scene(f);
        f.frame.UpdateCommandUi();
        ASSERT_TRUE(f.frame.Action(r.id)->isEnabled());
        f.frame.RunCommand(r.id);
        ASSERT_GE(f.log.lines.size(), expected.size());
        EXPECT_EQ(std::vector<std::string>(f.log.lines.begin(), f.log.lines.begin() + long(expected.size())), expected);
    }
}

TEST(MainFrameRoutes, AddToFavoritesWritesTheFavoritesFile) {
    CFrameFixture f;
    f.FillAll();
    f.LoadShown(f.AddCollection({{"a.txt", "x"}}));
    f.standIn.currentRow = 0;
    f.standIn.show();
    f.frame.RunCommand(32032);
    EXPECT_TRUE(f.log.lines.empty());
    EXPECT_EQ(ReadFileBytes(f.Collections().FavoritesPath()),
              "#Favorites#\r\n" + (f.home.Work() / "docs" / "a.txt").string() + "#about#\r\n");
    EXPECT_TRUE(f.frame.Action(32034)->isEnabled()) << "favorites exist now";
}

TEST(MainFrameRoutes, ChoosingACollectionFirstMakesItCurrent) {
    CFrameFixture f;
    f.FillAll();
    const fs::path file = f.AddCollection({{"a.txt", "x"}});
    f.AddFavorites();
    f.Reattach();
    f.FillAll();
    f.settings.Set(kWasFavorite, 1);
    int pick = 0;
    const auto dialog = [&](COpenCollectionDialogData& d) {
        for (std::size_t i = 0; i < d.catalogue->size(); ++i)
            if ((*d.catalogue)[i].path == (pick ? f.Collections().FavoritesPath() : file)) d.selected = int(i);
        return true;
    };
    EXPECT_TRUE(ChooseCollectionFirst(f.Collections(), f.settings, dialog));
    EXPECT_EQ(f.settings.Get(kMainDir), (f.home.Work() / "docs").string());
    EXPECT_EQ(f.settings.Get(kWasFavorite), 0) << "else the favorites would open instead";
    pick = 1;
    EXPECT_TRUE(ChooseCollectionFirst(f.Collections(), f.settings, dialog));
    EXPECT_EQ(f.settings.Get(kWasFavorite), 1);
    EXPECT_FALSE(ChooseCollectionFirst(f.Collections(), f.settings, [](COpenCollectionDialogData&) { return false; }));
}

TEST(MainFrameRoutes, InformationTipTexts) {
    struct CRow {
        const char* name;
        std::function<void(CFrameFixture&)> scene;
        bool forTip;
        std::function<std::string(CFrameFixture&)> expected;
    };
    const auto docs = [](CFrameFixture& f) { return f.home.Work() / "docs"; };
    const CRow rows[] = {
        {"nothing registered", [](CFrameFixture&) {}, true,
         [](CFrameFixture&) { return std::string("Refresh collection\r\nBut any collections did not registre yet."); }},
        {"the current collection", [&](CFrameFixture& f) {
             f.AddCollection({{"a.txt", "x"}});
             f.settings.Set(kMainDir, docs(f).string());
         }, true,
         [&](CFrameFixture& f) {
             return "Refresh collection\r\nname: \"Docs\"\r\ninf-file: " +
                    f.Store().GetCollectionFilePath(docs(f).string()).string() + "\r\nwork path" + docs(f).string() +
                    "\r\nabout: My documents";
         }},
        {"the favorites", [](CFrameFixture& f) {
             f.AddCollection({{"a.txt", "x"}});
             f.AddFavorites();
             f.Reattach();
             f.settings.Set(kWasFavorite, 1);
         }, true,
         [](CFrameFixture& f) {
             return "Refresh collection\r\nname: \"Favorites\"\r\ninf-file: " + f.Collections().FavoritesPath().string();
         }},
        {"default folder gone, for the tip", [](CFrameFixture& f) {
             f.AddCollection({{"a.txt", "x"}});
             f.settings.Set(kMainDir, "/no/such/folder");
         }, true,
         [](CFrameFixture&) {
             return std::string("Refresh collection\r\nWARNING: Default collection\r\n/no/such/folder\r\nis not found.\r\n"
                                "You can use\r\n\"Cange the collection path\" tools.");
         }},
        {"default folder gone, not for the tip", [](CFrameFixture& f) {
             f.AddCollection({{"a.txt", "x"}});
             f.settings.Set(kMainDir, "/no/such/folder");
         }, false, [](CFrameFixture&) { return std::string(); }},
        {"collection file gone", [&](CFrameFixture& f) {
             f.AddCollection({{"a.txt", "x"}});
             f.home.Write(f.home.Work() / "other" / "b.txt", "x");
             f.settings.Set(kMainDir, (f.home.Work() / "other").string());
         }, true,
         [&](CFrameFixture& f) {
             return "Refresh collection\r\n\r\nFile of collection\r\n\"" +
                    f.Store().GetCollectionFilePath((f.home.Work() / "other").string()).string() +
                    "\"\r\nnow is absent.\r\nYou can use\r\n\"Cange the collection path\" tools.";
         }},
        {"window open: the shown collection's name", [](CFrameFixture& f) {
             f.LoadShown(f.AddCollection({{"a.txt", "x"}}));
             f.FillAll();
             f.standIn.show();
         }, true, [](CFrameFixture&) { return std::string("Refresh collection\r\nDocs"); }},
    };
    for (const CRow& r : rows) {
        SCOPED_TRACE(r.name);
        CFrameFixture f;
        r.scene(f);
        const std::string info = f.frame.GetCollectionInformationText(r.forTip);
        EXPECT_EQ(r.forTip ? RefreshButtonTipText(info) : info, r.expected(f));
    }
    EXPECT_EQ(RefreshButtonTipText(""), "Refresh collection\r\nby you chosen from list.");
}

TEST(MainFrameRoutes, TipOverTheRefreshButtonOnly) {
    CFrameFixture f;
    f.ShowActive(f.frame);
    CMainToolBar* bar = f.frame.MainToolBar();
    bar->OnPointerOver(1);
    ASSERT_TRUE(bar->Tip().IsShown());
    EXPECT_EQ(bar->Tip().TipText(), "Refresh collection\r\nBut any collections did not registre yet.");
    const QWidget* button = bar->widgetForAction(f.frame.Action(32009));
    EXPECT_EQ(bar->Tip().Popup()->geometry().top(), button->mapToGlobal(QPoint(0, button->height())).y())
        << "just below the button";
    bar->OnPointerOver(0);
    EXPECT_FALSE(bar->Tip().IsShown());
}

TEST(MainFrameRoutes, ContextHelpShowsTheChosenCommandsText) {
    struct CRow {
        int id;
        const char* text; // nullptr: the text is absent
    };
    const CRow rows[] = {
        {57634, "  You would to copy to clipboard content of loaded file.\r\n"},
        {10039, "Save content to another file witout reloading current document."},
        {32026, "  Use it for go to next lokation of chosen keyword (analog F3)"},
        {57600, nullptr},
        {32009, nullptr},
    };
    CFrameFixture f;
    for (const CRow& r : rows) {
        SCOPED_TRACE(r.id);
        f.log.lines.clear();
        f.prompt.captions.clear();
        f.frame.RunCommand(kIdContextHelp);
        ASSERT_TRUE(f.frame.IsContextHelpMode());
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WhatsThisCursor);
        EXPECT_TRUE(f.frame.Action(r.id)->isEnabled()) << "any command may be asked about";
        f.frame.Action(r.id)->trigger();
        EXPECT_FALSE(f.frame.IsContextHelpMode());
        EXPECT_EQ(f.log.lines, std::vector<std::string>{std::string("prompt:") +
                                                       (r.text ? r.text : "Sorry, Help information is absent.")});
        if (r.text) {
            EXPECT_EQ(f.prompt.captions, std::vector<std::string>{"Contextual help topic"});
        }
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    int count = 0;
    for (unsigned long id = 0; id < 65536; ++id) count += ContextHelpText(id).has_value();
    EXPECT_EQ(count, 22);
    const std::string any(*ContextHelpText(10042));
    EXPECT_NE(any.find("choose a source project-file,\r\n"), std::string::npos);
    EXPECT_NE(any.find("a new project-file name in bottom"), std::string::npos);
}

TEST(MainFrameRoutes, ContextHelpIsNotReentered) {
    CContextHelp help;
    struct CNestedPrompt : CPrompt {
        CContextHelp* help;
        int boxes = 0;
        EPromptAnswer Ask(std::string_view, std::string_view, EPromptButtons, EPromptIcon, int) override {
            ++boxes;
            help->WinHelp(*this, kHelpContextBase + 57634); // a second request while the box is up
            return EPromptAnswer::Ok;
        }
    } prompt;
    prompt.help = &help;
    help.WinHelp(prompt, kHelpContextBase + 57634);
    EXPECT_EQ(prompt.boxes, 1);
    EXPECT_FALSE(help.IsShowing());
}

} // namespace
