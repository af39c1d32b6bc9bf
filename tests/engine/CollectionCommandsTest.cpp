#include "collections/CCollectionCommands.h"

#include "CollectionFixture.h"
#include "app/FileAccess.h"
#include "collections/CollectionDialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>

namespace fs = std::filesystem;

namespace {

class CollectionCommandsTest : public CollectionFixture {
protected:
    void SetUp() override {
        auto& h = cmd.Hooks();
        h.newCollectionDialog = [this](CNewCollectionDialogData& d) {
            shownNew.push_back(d);
            if (newAnswers.empty()) return false;
            d.directory = newAnswers.front();
            d.extensions = "txt";
            newAnswers.pop_front();
            return true;
        };
        h.openCollectionDialog = [this](COpenCollectionDialogData& d) {
            openChooseMode.push_back(d.chooseMode);
            if (openAnswers.empty()) return false;
            for (std::size_t i = 0; i < d.catalogue->size(); ++i)
                if ((*d.catalogue)[i].name == openAnswers.front()) d.selected = int(i);
            openAnswers.pop_front();
            return true;
        };
        h.keywordSearchDialog = [this](CKeywordDialogValues& v) {
            if (keyword.empty()) return false;
            v = {keyword, noCase};
            return true;
        };
        h.isWindowOpen = [this] { return windowOpen; };
        h.bringWindowToFront = [this] { ++toFront; };
        h.closeWindow = [this] {
            windowOpen = false;
            ++closed;
        };
        h.setWindowCaption = [this](const std::string& c) { caption = c; };
        h.showNotFound = [this](int column) { notFound.push_back(column); };
        coll.Hooks().refillWindow = [this] { ++refills; };
    }

    // A folder with files a.txt, b.txt and c.txt holding the given texts.
    fs::path Folder(const std::string& name, std::vector<std::string> texts = {"alpha", "beta", "alpha beta"}) {
        for (std::size_t i = 0; i < texts.size(); ++i)
            tmp.Write(fs::path("work") / name / (std::string(1, char('a' + i)) + ".txt"), texts[i]);
        return tmp.Work() / name;
    }
    // Creates and opens the collection of dir through the new-collection command.
    fs::path Create(const fs::path& dir) {
        newAnswers.push_back(dir.string());
        cmd.OnNewCollection();
        EXPECT_TRUE(fs::exists(File(dir))) << t.prompt.LastText();
        windowOpen = true;
        return dir;
    }
    // File names of the records, sorted (the walk keeps the file system's order).
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (const auto& r : coll.Store().Records()) out.push_back(fs::path(r.location).filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

    CCollectionCommands cmd{coll, t.ports};
    std::deque<std::string> newAnswers, openAnswers;
    std::vector<CNewCollectionDialogData> shownNew;
    std::vector<bool> openChooseMode;
    std::string keyword;
    bool noCase = false;
    bool windowOpen = false;
    int toFront = 0, closed = 0, refills = 0;
    std::string caption;
    std::vector<int> notFound;
};

TEST_F(CollectionCommandsTest, NewCollectionAsksAgainForAMissingFolderThenCreatesWithoutQuestion) {
    const fs::path dir = Folder("docs");
    newAnswers = {(tmp.Work() / "missing").string(), dir.string() + "/"};
    cmd.OnNewCollection();
    EXPECT_EQ(t.prompt.Texts(),
              std::vector<std::string>{"This Directory is absent or has not access.\r\nPlease choose anoter."});
    ASSERT_EQ(shownNew.size(), 2u);
    EXPECT_TRUE(fs::exists(File(dir)));
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
    EXPECT_GT(refills, 0);
}

TEST_F(CollectionCommandsTest, BrowseStartsAtTheCurrentFolderElseTheLastChosen) {
    t.settings.WriteString("Property", "lastBrowDir", "/last");
    t.pickers.answers = {"/chosen/"};
    EXPECT_EQ(cmd.BrowseNewCollectionDirectory(), "/chosen");
    EXPECT_EQ(t.pickers.titles.back(), "Default: /last");
    EXPECT_EQ(t.settings.GetString("Property", "lastBrowDir", ""), "/chosen");
}

TEST_F(CollectionCommandsTest, NewCollectionForAnOpenOrExistingCollection) {
    const fs::path dir = Create(Folder("docs"));
    ASSERT_EQ(coll.Store().SaveChanges(0, "kept", ""), ERecordWrite::Written);

    t.prompt.Clear();
    newAnswers = {dir.string()};
    cmd.OnNewCollection();
    EXPECT_EQ(t.prompt.Texts(), std::vector<std::string>{"Collection for this directory already opened."});
    EXPECT_EQ(toFront, 1);

    // With the window closed the existing collection opens with its descriptions.
    windowOpen = false;
    t.prompt.Clear();
    newAnswers = {dir.string()};
    cmd.OnNewCollection();
    EXPECT_EQ(t.prompt.Texts(), std::vector<std::string>{"Collection for this directory already existent."});
    EXPECT_EQ(coll.Store().Records()[0].description, "kept");
}

TEST_F(CollectionCommandsTest, OpenSwitchesCollectionsAndChooseFallsBackToNew) {
    newAnswers = {};
    cmd.OnChooseCollection(); // no collection file yet: the new dialog
    EXPECT_EQ(shownNew.size(), 1u);
    EXPECT_TRUE(openChooseMode.empty());

    const fs::path one = Folder("one"), two = Folder("two", {"x"});
    Create(one);
    Create(two);
    openAnswers = {CCollectionStore::MakeCollectionFileName(one.string())};
    cmd.OnChooseCollection();
    EXPECT_EQ(openChooseMode, std::vector<bool>{false});
    EXPECT_EQ(coll.Store().BaseDirectory(), one.string());
    EXPECT_EQ(t.settings.GetString("Property", "mainDir", ""), one.string());
}

TEST_F(CollectionCommandsTest, OpenOfAMovedCollection) {
    const fs::path old = Folder("old");
    Create(old);
    ASSERT_EQ(coll.Store().SaveChanges(Row("b.txt"), "described", "g"), ERecordWrite::Written);
    const fs::path file = File(old);
    const std::string name = CCollectionStore::MakeCollectionFileName(old.string());
    const fs::path moved = tmp.Work() / "new";
    fs::rename(old, moved);
    windowOpen = false;

    const std::string question =
        "Location or name of directory\r\n\"" + old.string() + "\"\r\nfor collection\r\n\"" + file.string() +
        "\"\r\nwas changed.\r\n\r\nWhat do you like to find a new locetion - "
        "press \"YES\"\r\nDelete this collection - press \"NO\"\r\nTo do nothing - press \"CANCEL\"";
    openAnswers = {name};
    t.prompt.Answer(EPromptAnswer::Cancel);
    cmd.OnOpenCollections();
    EXPECT_EQ(t.prompt.Texts(), std::vector<std::string>{question});
    EXPECT_TRUE(fs::exists(file));

    // Yes: browse for the new place; every description is kept (the file's own move is
    // CollectionRefreshTest's).
    t.prompt.Clear();
    openAnswers = {name};
    t.prompt.AnswerYes();
    t.pickers.answers = {moved.string()};
    cmd.OnOpenCollections();
    EXPECT_EQ(t.pickers.titles.back(), "Default: " + old.string());
    EXPECT_EQ(coll.Store().Records()[Row("b.txt")].location, (moved / "b.txt").string());
    EXPECT_EQ(coll.Store().Records()[Row("b.txt")].description, "described");
    EXPECT_EQ(t.settings.GetString("Property", "mainDir", ""), moved.string());
}

TEST_F(CollectionCommandsTest, OpenFavoritesAndEntriesWithoutTheirFolder) {
    const fs::path a = tmp.Write("work/x/a.txt", "a");
    tmp.Write("home/favorite_collection.inf", "#Favorites#\r\n" + a.string() + "#d#\r\n");
    tmp.Write("home/other.inf", "#Other#" + (tmp.Work() / "missing").string() + "##*.*\r\n");
    coll.CheckFavoritesAtStart();

    openAnswers = {"Favorites"};
    cmd.OnOpenCollections();
    EXPECT_TRUE(coll.Store().IsFavoritesView());
    EXPECT_EQ(t.settings.GetInt("Property", "wasFavorite", 0), 1);

    // The entry's folder is gone and no collection file is named after it: asked first.
    openAnswers = {"Other"};
    t.prompt.AnswerNo();
    cmd.OnOpenCollections();
    EXPECT_EQ(t.prompt.LastText(), "This Directory is absent now or has not access.\r\nWould you like to find "
                                   "according folder by manual?.");
    EXPECT_TRUE(fs::exists(tmp.Home() / "other.inf"));
}

TEST_F(CollectionCommandsTest, ChangePathNoDeletesTheCollectionFileAfterItsQuestion) {
    const fs::path dir = Create(Folder("gone"));
    ASSERT_TRUE(coll.Store().SetName("My docs"));
    ASSERT_TRUE(coll.Store().WriteCollectionHeader());
    const fs::path file = File(dir);
    t.prompt.Clear();
    t.prompt.AnswerNo();  // delete this collection
    t.prompt.AnswerYes(); // are you sure
    EXPECT_EQ(cmd.ChangeCollectionPath(dir.string(), file, false), 0);
    EXPECT_FALSE(fs::exists(file));
    ASSERT_EQ(t.prompt.Texts().size(), 3u);
    EXPECT_EQ(t.prompt.Texts()[1], "Are you shure to delete file\r\n\"" + file.string() +
                                       "\" of collection\r\n\"My docs\"\r\nwill be remove?");
}

TEST_F(CollectionCommandsTest, DeleteCollectionMessages) {
    const fs::path dir = Create(Folder("docs"));
    const std::string name = CCollectionStore::MakeCollectionFileName(dir.string());

    t.prompt.Clear();
    openAnswers = {name};
    t.prompt.AnswerNo();
    cmd.OnDeleteCollection();
    EXPECT_EQ(closed, 1); // the shown collection's window closes first
    EXPECT_TRUE(fs::exists(File(dir)));

    openAnswers = {name};
    t.prompt.AnswerYes();
    ASSERT_TRUE(SetFileAttribute(File(dir), kAttrReadOnly | kAttrArchive));
    cmd.OnDeleteCollection();
    EXPECT_FALSE(fs::exists(File(dir)));
    EXPECT_EQ(t.prompt.LastText(), "Collection\r\n\"" + name + "\"\r\nwas deleted.");

    t.prompt.Clear();
    EXPECT_FALSE(cmd.DeleteCollectionFile(File(dir), name));
    EXPECT_EQ(t.prompt.Texts(), std::vector<std::string>{"Collection file\r\n\"" + File(dir).string() +
                                                         "\"\r\nis not exist and can not be deleted."});
}

TEST_F(CollectionCommandsTest, CollectionInfoRewritesTheHeaderOrRefreshesForNewExtensions) {
    const fs::path dir = Folder("docs");
    tmp.Write("work/docs/d.rtf", "r");
    Create(dir);
    CCollectionInfoFields edit;
    bool ok = true;
    coll.Hooks().collectionInfoDialog = [&](CCollectionInfoFields& f) {
        if (!edit.name.empty()) f.name = edit.name;
        f.description = edit.description;
        if (!edit.extensionList.empty()) f.extensionList = edit.extensionList;
        return ok;
    };
    const std::string before = ReadFileBytes(File(dir));
    cmd.OnCollectionInfo(); // nothing changed
    EXPECT_EQ(ReadFileBytes(File(dir)), before);

    edit.name = "Docs";
    edit.description = "my files";
    cmd.OnCollectionInfo();
    const std::string text = ReadFileBytes(File(dir));
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "#Docs#" + dir.string() + "#my files#txt");
    EXPECT_EQ(caption, "Collection \"Docs\": 3 files.");

    t.prompt.Clear();
    edit.extensionList = "txt, rtf";
    t.prompt.AnswerNo();
    cmd.OnCollectionInfo();
    EXPECT_EQ(ReadFileBytes(File(dir)), text);

    t.prompt.AnswerYes();
    cmd.OnCollectionInfo();
    EXPECT_EQ(coll.Store().RecordCount(), 4u); // refreshed without the save question
    EXPECT_EQ(coll.Store().ExtensionList(), "txt, rtf");
    EXPECT_TRUE(t.prompt.AllAnswersUsed());
}

TEST_F(CollectionCommandsTest, ChangePathCommand) {
    Create(Folder("docs"));
    windowOpen = false;

    // A configured folder that is gone: the message, then the choose dialog.
    t.settings.WriteString("Property", "mainDir", (tmp.Work() / "gone").string());
    coll.Store().SetCollectionFilePath({});
    t.prompt.Clear();
    cmd.OnChangeCollectionPath();
    EXPECT_EQ(t.prompt.Texts().at(0), "Default collection path\r\n" + (tmp.Work() / "gone").string() +
                                          "\r\nis absent now.\r\nPlease choose anoter collection for this operation.");
    EXPECT_EQ(openChooseMode.size(), 1u);

    // A configured folder without its collection file.
    const fs::path bare = Folder("bare");
    t.settings.WriteString("Property", "mainDir", bare.string());
    t.prompt.Clear();
    cmd.OnChangeCollectionPath();
    EXPECT_EQ(t.prompt.Texts().at(0),
              "Collection path\r\n" + File(bare).string() + "\r\nis absent now.\r\nPlease choose anoter.");
    EXPECT_EQ(openChooseMode.size(), 2u);
}

TEST_F(CollectionCommandsTest, DeleteFileRemovesFileRecordAndLine) {
    const fs::path dir = Create(Folder("docs"));
    t.prompt.Clear();
    t.prompt.AnswerNo();
    EXPECT_FALSE(cmd.OnDeleteFile(Row("b.txt")));
    EXPECT_TRUE(fs::exists(dir / "b.txt"));

    coll.Store().ShowFoundList({Row("b.txt"), Row("c.txt")});
    t.prompt.AnswerYes();
    EXPECT_TRUE(cmd.OnDeleteFile(1)); // row 1 of the found list: c.txt
    EXPECT_FALSE(fs::exists(dir / "c.txt"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_FALSE(coll.Store().IsShowingFoundList());

    // What cannot be deleted keeps its record.
    fs::remove(dir / "b.txt");
    tmp.Write("work/docs/b.txt/inner", "i");
    t.prompt.AnswerYes();
    EXPECT_FALSE(cmd.OnDeleteFile(Row("b.txt")));
    EXPECT_EQ(t.prompt.LastText(), "Can not delete file\r\n\"" + (dir / "b.txt").string() + "\".");
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.txt", "b.txt"}));
}

TEST_F(CollectionCommandsTest, RenameRefusalsLeaveTheRecordUnchanged) {
    const fs::path dir = Folder("docs");
    tmp.Write("work/outside.txt", "o");
    Create(dir);
    const std::string file = ReadFileBytes(File(dir));
    const struct {
        const char* text;
        std::vector<EPromptAnswer> answers;
        const char* message;
    } cases[] = {
        {"b.txt", {EPromptAnswer::No}, "File\r\n\"b.txt\"\r\nalready existent!\r\nWhat do you like replase it?"},
        {"../outside.txt", {}, "You can not to move file from this collection directory."},
        {"/tmp/x.txt", {}, "You can not to move file from this collection directory."},
        {"nodir/x.txt", {}, "This file name is wrong."},
        {"link/x.txt", {}, "You can not to move file from this collection directory."},
    };
    fs::create_directory_symlink(tmp.Work(), dir / "link");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        for (auto a : c.answers) t.prompt.Answer(a);
        EXPECT_FALSE(cmd.RenameCollectionFile(Row("a.txt"), c.text));
        EXPECT_EQ(t.prompt.LastText(), c.message);
        EXPECT_EQ(t.prompt.Shown().back().caption, "Try to chenge file name");
        EXPECT_EQ(coll.Store().Records()[Row("a.txt")].location, (dir / "a.txt").string());
        EXPECT_EQ(ReadFileBytes(File(dir)), file);
        EXPECT_TRUE(fs::exists(dir / "a.txt"));
    }
    EXPECT_EQ(ReadFileBytes(tmp.Work() / "outside.txt"), "o");
    SetWriteFailureForTest(CWriteFailure{.notWritable = {dir / "b.txt"}});
    t.prompt.AnswerYes();
    EXPECT_FALSE(cmd.RenameCollectionFile(Row("a.txt"), "b.txt"));
    SetWriteFailureForTest(std::nullopt);
    EXPECT_EQ(t.prompt.LastText(), "Can not rename file\r\n\"" + (dir / "a.txt").string() + "\"\r\nto\r\n\"" +
                                       (dir / "b.txt").string() + "\".");
    EXPECT_EQ(ReadFileBytes(dir / "b.txt"), "beta");
    EXPECT_FALSE(cmd.RenameCollectionFile(Row("a.txt"), "x#y.txt"));
    windowOpen = false;
    EXPECT_FALSE(cmd.RenameCollectionFile(Row("a.txt"), "z.txt"));
    EXPECT_TRUE(fs::exists(dir / "a.txt"));
}

TEST_F(CollectionCommandsTest, RenameMovesTheFileAndItsRecord) {
    const fs::path dir = Folder("docs");
    fs::create_directories(dir / "sub");
    Create(dir);
    const std::size_t a = Row("a.txt"), c = Row("c.txt");
    coll.Store().ShowFoundList({a, c});
    EXPECT_TRUE(cmd.RenameCollectionFile(1, "sub/renamed.txt"));
    EXPECT_EQ(ReadFileBytes(dir / "sub/renamed.txt"), "alpha beta");
    EXPECT_EQ(coll.Store().Records()[c].location, (dir / "sub/renamed.txt").string());
    EXPECT_EQ(coll.Store().FoundList(), (std::vector<std::size_t>{a, c}));
    EXPECT_NE(ReadFileBytes(File(dir)).find(dir.string() + "/sub/renamed.txt##\r\n"), std::string::npos);

    // Replacing an existing file takes its place in one step; the same name is no replacement.
    t.prompt.AnswerYes();
    EXPECT_TRUE(cmd.RenameCollectionFile(0, "b.txt"));
    EXPECT_EQ(ReadFileBytes(dir / "b.txt"), "alpha");
    EXPECT_FALSE(fs::exists(dir / "a.txt"));
    EXPECT_TRUE(cmd.RenameCollectionFile(0, "./b.txt"));
    EXPECT_EQ(ReadFileBytes(dir / "b.txt"), "alpha");
    EXPECT_TRUE(t.prompt.AllAnswersUsed());
}
TEST_F(CollectionCommandsTest, KeywordSearchLoadsTheCollectionAndARefreshEndsIt) {
    Create(Folder("docs"));
    windowOpen = false;
    keyword = "ALPHA + beta";
    noCase = true;
    EXPECT_TRUE(cmd.KeywordSearch());
    EXPECT_EQ(coll.Store().FoundList(), std::vector<std::size_t>{Row("c.txt")});
    EXPECT_TRUE(cmd.Search().InForce());
    ASSERT_TRUE(coll.RefreshCollectionWithUI());
    EXPECT_FALSE(cmd.Search().InForce());
}

TEST_F(CollectionCommandsTest, ColumnSearchesSwitchTheRowsOrSignalNotFound) {
    const fs::path dir = Create(Folder("docs"));
    const std::size_t a = Row("a.txt"), c = Row("c.txt");
    ASSERT_EQ(coll.Store().SaveChanges(a, "Red car", "work"), ERecordWrite::Written);
    ASSERT_EQ(coll.Store().SaveChanges(c, "blue", "home"), ERecordWrite::Written);
    std::vector<std::size_t> both{a, c};
    std::sort(both.begin(), both.end());

    EXPECT_EQ(cmd.FindInDescriptionColumn("red|BLUE").result, EColumnSearchResult::ShowFoundList);
    EXPECT_EQ(coll.Store().FoundList(), both);
    EXPECT_EQ(cmd.FindInGroupColumn("Work").result, EColumnSearchResult::NotFound);
    EXPECT_EQ(coll.Store().FoundList(), both);
    EXPECT_EQ(notFound, std::vector<int>{2});
    EXPECT_EQ(cmd.FindInFilesColumn("*.*").result, EColumnSearchResult::ShowWholeList);
    EXPECT_FALSE(coll.Store().IsShowingFoundList());
}

// Each command below changes the collection it works on before its refresh; when the refresh is
// not taken, the window still shows the first collection and must still edit that one.
TEST_F(CollectionCommandsTest, CommandsWhoseRefreshIsNotTakenGiveBackTheShownCollection) {
    const fs::path one = Folder("one"), two = Folder("two");
    fs::create_directories(tmp.Work() / "empty");
    Create(two);
    Create(one);
    tmp.Write("work/two/new.txt", "n");
    const std::string twoFile = ReadFileBytes(File(two));
    const struct {
        const char* name;
        std::function<void()> run;
    } cases[] = {
        {"new, No at the save question",
         [&] {
             newAnswers = {two.string()};
             t.prompt.AnswerNo();
             cmd.OnNewCollection();
         }},
        {"change path to a folder without files",
         [&] {
             t.prompt.AnswerYes();
             t.pickers.answers = {(tmp.Work() / "empty").string()};
             EXPECT_EQ(cmd.ChangeCollectionPath(one.string(), File(one), false), -1);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.run();
        EXPECT_TRUE(t.prompt.AllAnswersUsed());
        EXPECT_EQ(coll.Store().BaseDirectory(), one.string());
        EXPECT_EQ(coll.Store().RecordCount(), 3u);
        EXPECT_EQ(t.settings.GetString("Property", "mainDir", ""), one.string());
    }
    EXPECT_TRUE(cmd.RenameCollectionFile(Row("a.txt"), "z.txt"));
    EXPECT_EQ(ReadFileBytes(File(one)).substr(0, ReadFileBytes(File(one)).find("\r\n")),
              "#" + CCollectionStore::MakeCollectionFileName(one.string()) + "#" + one.string() + "##txt");
    EXPECT_EQ(ReadFileBytes(File(two)), twoFile);
}

TEST_F(CollectionCommandsTest, ChangePathOntoAFolderWithItsOwnCollectionReplacesNothing) {
    const fs::path one = Folder("one"), two = Folder("two");
    Create(two);
    ASSERT_EQ(coll.Store().SaveChanges(Row("a.txt"), "two's own", ""), ERecordWrite::Written);
    const std::string twoFile = ReadFileBytes(File(two));
    Create(one);
    const std::string oneFile = ReadFileBytes(File(one));
    windowOpen = false;
    t.prompt.Clear();
    t.prompt.AnswerYes();
    t.pickers.answers = {two.string()};
    EXPECT_EQ(cmd.ChangeCollectionPath(one.string(), File(one), false), -1);
    EXPECT_EQ(t.prompt.LastText(), "Directory\r\n\"" + two.string() +
                                       "\"\r\nhas its own collection already.\r\nThis collection was not moved there.");
    EXPECT_EQ(ReadFileBytes(File(two)), twoFile);
    EXPECT_EQ(ReadFileBytes(File(one)), oneFile);
}

// The favorites file's first line names no folder, whatever is done in the favorites view.
TEST_F(CollectionCommandsTest, FavoritesHeaderNeverTakesABaseDirectory) {
    Create(Folder("docs"));
    for (const char* name : {"a.txt", "b.txt"}) ASSERT_TRUE(coll.AddToFavorites(Row(name)));
    const auto headerFolder = [&] {
        CCollectionStore reader(t.prompt, tmp.Home());
        reader.ParseCollectionHeader(ReadFileBytes(coll.FavoritesPath()));
        return reader.HeaderFields()[1];
    };
    ASSERT_TRUE(coll.ShowFavorites());
    EXPECT_TRUE(cmd.RenameCollectionFile(Row("b.txt"), "bb.txt"));
    EXPECT_EQ(headerFolder(), "");
}

// Another program (quillbox-cli) may write a description while the window is open: deleting or
// renaming another file keeps it, and a failed write leaves memory as the file is.
TEST_F(CollectionCommandsTest, DeleteAndRenameRewriteOnlyTheirOwnLine) {
    const fs::path dir = Create(Folder("docs", {"a", "b", "c", "d"}));
    CCollectionStore other(t.prompt, tmp.Home());
    other.SetCollectionFilePath(File(dir));
    ASSERT_EQ(other.LoadCollection(), 4u);
    std::size_t b = 0;
    while (fs::path(other.Records()[b].location).filename() != "b.txt") ++b;
    ASSERT_EQ(other.SaveChanges(b, "from the command line", ""), ERecordWrite::Written);

    t.prompt.AnswerYes();
    EXPECT_TRUE(cmd.OnDeleteFile(Row("a.txt")));
    EXPECT_TRUE(cmd.RenameCollectionFile(Row("c.txt"), "cc.txt"));
    const std::string text = ReadFileBytes(File(dir));
    EXPECT_NE(text.find(dir.string() + "/b.txt#from the command line#\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(dir.string() + "/cc.txt##\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("/a.txt#"), std::string::npos) << text;

    SetWriteFailureForTest(CWriteFailure{.steps = {EWriteStep::Write, EWriteStep::WriteInPlace}});
    t.prompt.Clear();
    EXPECT_FALSE(cmd.RenameCollectionFile(Row("d.txt"), "dd.txt"));
    EXPECT_FALSE(t.prompt.Texts().empty());
    EXPECT_TRUE(fs::exists(dir / "d.txt"));
    t.prompt.Clear();
    t.prompt.AnswerYes();
    EXPECT_FALSE(cmd.OnDeleteFile(Row("d.txt")));
    EXPECT_GT(t.prompt.Texts().size(), 1u);
    SetWriteFailureForTest(std::nullopt);
    EXPECT_EQ(ReadFileBytes(File(dir)), text);
    EXPECT_EQ(Names(), (std::vector<std::string>{"b.txt", "cc.txt", "d.txt"}));
}

TEST_F(CollectionCommandsTest, DeleteFromFavoritesOutsideTheWindowUsesTheDialog) {
    const fs::path dir = Create(Folder("docs"));
    for (const char* name : {"c.txt", "a.txt", "b.txt"}) ASSERT_TRUE(coll.AddToFavorites(Row(name)));
    CDeleteFavoritesDialogData answer;
    cmd.Hooks().isWindowActive = [] { return false; };
    cmd.Hooks().deleteFavoritesDialog = [&](CDeleteFavoritesDialogData& d) {
        d.selected = answer.selected;
        d.deleteAll = answer.deleteAll;
        return !answer.selected.empty() || answer.deleteAll;
    };
    answer.selected = {(dir / "a.txt").string()};
    EXPECT_TRUE(cmd.DeleteFromFavorites(std::nullopt));
    EXPECT_FALSE(coll.IsFavorite((dir / "a.txt").string()));
    answer = {{}, {}, true};
    EXPECT_TRUE(cmd.DeleteFromFavorites(std::nullopt));
    EXPECT_FALSE(fs::exists(coll.FavoritesPath()));
    EXPECT_FALSE(CheckFavoritesSelection(t.prompt, 0));
    EXPECT_EQ(t.prompt.LastText(), "Select some line for delete, please.");
}

} // namespace
