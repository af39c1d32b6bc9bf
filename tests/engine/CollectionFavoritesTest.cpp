#include "collections/CCollections.h"

#include "CollectionFixture.h"
#include "app/FileAccess.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class CollectionFavoritesTest : public CollectionFixture {
protected:
    void SetUp() override { options.quietCreation = options.noQuestion = true; }
    // A collection of dir with one record per name, each described "d:<name>".
    void MakeCollection(const fs::path& dir, const std::vector<std::string>& names) {
        for (const auto& n : names) tmp.Write(dir / n, "");
        ASSERT_TRUE(Scan(dir, options));
        for (std::size_t i = 0; i < coll.Store().RecordCount(); ++i)
            ASSERT_EQ(coll.Store().SaveChanges(
                          i, "d:" + fs::path(coll.Store().Records()[i].location).filename().string(), ""),
                      ERecordWrite::Written);
    }
    std::string Favorites() const { return ReadFileBytes(coll.FavoritesPath()); }

    CRefreshOptions options;
};

TEST_F(CollectionFavoritesTest, StartCheckDeletesOnlyFilesWithoutRecords) {
    struct Case {
        const char* text;
        bool exists;
    } cases[] = {{"#Favorites#\r\n", false},
                 {"#Favorites#\r\n\r\n", false},
                 {"#Favorites#", false},
                 {"#Favorites#\r\nab\r\n", true},
                 {"#Favorites#\n/x/a.txt#d#\n", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        tmp.Write("home/favorite_collection.inf", c.text);
        coll.CheckFavoritesAtStart();
        EXPECT_EQ(coll.FavoritesExist(), c.exists);
        EXPECT_EQ(fs::exists(coll.FavoritesPath()), c.exists);
    }
}

TEST_F(CollectionFavoritesTest, AddCreatesTheFileAndSkipsKnownLocationsInAnyCase) {
    MakeCollection(tmp.Work() / "c", {"a.txt", "b.txt"});
    EXPECT_TRUE(coll.AddToFavorites(Row("a.txt")));
    const std::string a = (tmp.Work() / "c/a.txt").string();
    EXPECT_EQ(Favorites(), "#Favorites#\r\n" + a + "#d:a.txt#\r\n");
    EXPECT_TRUE(coll.IsFavorite(a));
    EXPECT_TRUE(coll.IsFavorite((tmp.Work() / "C/A.TXT").string()));
    EXPECT_FALSE(coll.AddToFavorites(Row("a.txt")));

    // Made behind our back (another run) and without its last line end: kept and extended.
    fs::remove(coll.FavoritesPath());
    CCollections other{t.ports, tmp.Home()};
    other.Store().SetCollectionFilePath(coll.Store().CollectionFilePath());
    other.Store().LoadCollection();
    ASSERT_FALSE(other.FavoritesExist());
    tmp.Write("home/favorite_collection.inf", "#Favorites#\r\n/x/z.txt##");
    EXPECT_TRUE(other.AddToFavorites(Row("b.txt")));
    EXPECT_EQ(Favorites(), "#Favorites#\r\n/x/z.txt##\r\n" + (tmp.Work() / "c/b.txt").string() + "#d:b.txt#\r\n");
}

TEST_F(CollectionFavoritesTest, IsFavoritePassesOverLineOneOnlyAsAHeader) {
    const struct {
        const char* text;
        bool a;
    } cases[] = {
        {"/x/a.txt##\r\n/x/b.txt##\r\n", true}, {"#Favorites#\r\n/x/b.txt##\r\n", false}, {"#/x/a.txt##\r\n", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        tmp.Write("home/favorite_collection.inf", c.text);
        EXPECT_EQ(coll.IsFavorite("/X/A.TXT"), c.a);
    }
}

TEST_F(CollectionFavoritesTest, ViewShowsFavoritesAndDeletingTheLastClosesIt) {
    MakeCollection(tmp.Work() / "c", {"a.txt", "b.txt"});
    coll.AddToFavorites(Row("a.txt"));
    coll.AddToFavorites(Row("b.txt"));
    int refills = 0;
    coll.Hooks().refillWindow = [&] { ++refills; };
    ASSERT_TRUE(coll.ShowFavorites());
    EXPECT_TRUE(coll.Store().IsFavoritesView());
    EXPECT_EQ(coll.Store().Name(), "Favorites");
    EXPECT_EQ(t.settings.GetInt("Property", "wasFavorite", 0), 1);
    EXPECT_EQ(refills, 1);

    // Edits in the view go to the favorites file.
    EXPECT_EQ(coll.Store().SaveChanges(1, "fav text", "fg"), ERecordWrite::Written);
    EXPECT_NE(Favorites().find("#fav text#fg\r\n"), std::string::npos);

    EXPECT_TRUE(coll.DeleteFavoriteRow(0));
    EXPECT_EQ(coll.Store().RecordCount(), 1u);
    EXPECT_EQ(Favorites(), "#Favorites#\r\n" + (tmp.Work() / "c/b.txt").string() + "#fav text#fg\r\n");
    EXPECT_TRUE(coll.DeleteFavoriteRow(0));
    EXPECT_FALSE(coll.Store().IsFavoritesView());
    EXPECT_FALSE(coll.FavoritesExist());
    EXPECT_FALSE(fs::exists(coll.FavoritesPath()));
    EXPECT_EQ(t.prompt.LastText(), "Favorites is empty now.");
}

TEST_F(CollectionFavoritesTest, DeleteByLocationRemovesMatchesOrEverything) {
    tmp.Write("home/favorite_collection.inf", "#Favorites#\r\n/a/1.txt##\r\n/a/2.txt#x#\r\n/b/3.txt##\r\n");
    coll.CheckFavoritesAtStart();
    EXPECT_EQ(coll.FavoriteLocations(), (std::vector<std::string>{"/a/1.txt", "/a/2.txt", "/b/3.txt"}));
    EXPECT_FALSE(coll.DeleteFavoritesByLocation({"/nowhere"}, false));
    EXPECT_TRUE(coll.DeleteFavoritesByLocation({"/A/2.TXT", "/b/3.txt"}, false));
    EXPECT_EQ(Favorites(), "#Favorites#\r\n/a/1.txt##\r\n");
    EXPECT_TRUE(coll.DeleteFavoritesByLocation({"/a/1.txt"}, false));
    EXPECT_FALSE(fs::exists(coll.FavoritesPath()));
}

TEST_F(CollectionFavoritesTest, EmptyFavoritesFileIsDeletedWhenShown) {
    tmp.Write("home/favorite_collection.inf", "#Favorites#\r\n/a/1.txt##\r\n");
    coll.CheckFavoritesAtStart();
    MakeCollection(tmp.Work() / "c", {"a.txt"});
    tmp.Write("home/favorite_collection.inf", "#Favorites#\r\n");
    EXPECT_FALSE(coll.ShowFavorites());
    EXPECT_EQ(t.prompt.LastText(), "Favorites is empty.");
    EXPECT_FALSE(coll.Store().IsFavoritesView());
    EXPECT_FALSE(fs::exists(coll.FavoritesPath()));
    // The collection shown before is the store's again.
    EXPECT_EQ(coll.Store().RecordCount(), 1u);
    EXPECT_EQ(coll.Store().SaveChanges(0, "still here", ""), ERecordWrite::Written);
}

TEST_F(CollectionFavoritesTest, ChangePathMovesOnlyThisCollectionsFavorites) {
    const fs::path oldDir = tmp.Work() / "Old";
    MakeCollection(oldDir, {"x/f.txt", "g.txt"});
    coll.AddToFavorites(Row("f.txt"));
    tmp.Write("home/favorite_collection.inf", Favorites() + "/other/Old/x/f.txt#o#\r\n");

    const fs::path newDir = tmp.Work() / "New" / "Place";
    fs::create_directories(newDir.parent_path());
    fs::rename(oldDir, newDir);
    CRefreshOptions move;
    move.changePath = CRefreshOptions::CChangePath{oldDir.string(), newDir.string()};
    // The collection file's own move is CollectionRefreshTest's.
    ASSERT_TRUE(coll.RefreshCollectionWithUI(move));
    EXPECT_EQ(coll.Store().Records()[Row("f.txt")].description, "d:f.txt");
    EXPECT_EQ(coll.Store().Records()[Row("f.txt")].location, (newDir / "x/f.txt").string());
    EXPECT_EQ(Favorites(),
              "#Favorites#\r\n" + (newDir / "x/f.txt").string() + "#d:f.txt#\r\n/other/Old/x/f.txt#o#\r\n");
}

// A favorites file that exists but cannot be read is kept, and so are favorites a move could not
// update; each failure is said.
TEST_F(CollectionFavoritesTest, FavoritesThatCannotBeReadOrWrittenAreKeptAndReported) {
    MakeCollection(tmp.Work() / "Old", {"f.txt"});
    fs::create_symlink("favorite_collection.inf", coll.FavoritesPath()); // a loop: no read can open it
    EXPECT_FALSE(coll.AddToFavorites(0));
    EXPECT_EQ(t.prompt.LastText(), "Can not read the favorites file\r\n\"" + coll.FavoritesPath().string() +
                                       "\".\r\nNothing was added to it.");
    EXPECT_TRUE(fs::is_symlink(coll.FavoritesPath()));
    fs::remove(coll.FavoritesPath());

    ASSERT_TRUE(coll.AddToFavorites(0));
    const std::string favorites = Favorites() + "/other/x.txt#" + std::string(4000, 'o') + "#\r\n";
    tmp.Write("home/favorite_collection.inf", favorites);
    const fs::path oldDir = tmp.Work() / "Old", newDir = tmp.Work() / "New";
    fs::rename(oldDir, newDir);
    // The collection file is short enough to be written, the favorites file is not.
    SetWriteFailureForTest(CWriteFailure{.steps = {EWriteStep::Write, EWriteStep::WriteInPlace}, .afterBytes = 1000});
    CRefreshOptions move;
    move.changePath = CRefreshOptions::CChangePath{oldDir.string(), newDir.string()};
    EXPECT_TRUE(coll.RefreshCollectionWithUI(move));
    SetWriteFailureForTest(std::nullopt);
    EXPECT_EQ(coll.Store().Records()[0].location, (newDir / "f.txt").string());
    EXPECT_EQ(Favorites(), favorites);
    EXPECT_EQ(t.prompt.LastText(), "Can not update the favorites file\r\n\"" + coll.FavoritesPath().string() +
                                       "\".\r\nIts favorites of this collection still name the old directory.");
}

TEST_F(CollectionFavoritesTest, CatalogueListsCollectionFilesAndSelectsTheCurrent) {
    tmp.Write("home/b.inf", "#Bee#/b#About b#txt\r\n/b/1.txt##\r\n");
    tmp.Write("home/notes.txt", "");
    fs::create_directories(tmp.Home() / "dir.inf");
    EXPECT_TRUE(coll.AnyCollectionFiles());
    MakeCollection(tmp.Work() / "c", {"a.txt"});
    coll.AddToFavorites(0);
    const int selected = coll.BuildCatalogue();
    const auto& cat = coll.Catalogue();
    ASSERT_EQ(cat.size(), 3u);
    ASSERT_GE(selected, 0);
    EXPECT_EQ(cat[selected].path, coll.Store().CollectionFilePath());
    EXPECT_EQ(cat[selected].baseDirectory, (tmp.Work() / "c").string());
    for (const auto& e : cat) {
        if (e.path.filename() == "b.inf") {
            EXPECT_EQ(e.name, "Bee");
            EXPECT_EQ(e.description, "About b");
        }
        if (e.path.filename() == "favorite_collection.inf") {
            EXPECT_EQ(e.name, "Favorites");
        }
    }
}

TEST_F(CollectionFavoritesTest, DeclinedRefreshLeavesTheFavoritesViewInForce) {
    MakeCollection(tmp.Work() / "c", {"a.txt", "b.txt"});
    coll.AddToFavorites(Row("b.txt"));
    ASSERT_TRUE(coll.ShowFavorites());
    tmp.Write("work/c/new.txt", "");
    t.prompt.AnswerNo();
    EXPECT_FALSE(coll.RefreshCollectionWithUI());
    // The window still shows the favorites, so an edit of its row 0 goes to the favorites file.
    EXPECT_TRUE(coll.Store().IsFavoritesView());
    EXPECT_EQ(coll.Store().RecordCount(), 1u);
    EXPECT_EQ(coll.Store().SaveChanges(0, "fav", ""), ERecordWrite::Written);
    EXPECT_EQ(Favorites(), "#Favorites#\r\n" + (tmp.Work() / "c/b.txt").string() + "#fav#\r\n");
    EXPECT_EQ(ReadFileBytes(coll.Store().GetCollectionFilePath((tmp.Work() / "c").string())).find("#fav#"),
              std::string::npos);
}

TEST_F(CollectionFavoritesTest, OpenCurrentReturnsToTheFavoritesView) {
    MakeCollection(tmp.Work() / "c", {"a.txt"});
    coll.AddToFavorites(0);
    t.settings.WriteInt("Property", "wasFavorite", 1);
    EXPECT_TRUE(coll.OpenCurrentCollection());
    EXPECT_TRUE(coll.Store().IsFavoritesView());
    t.settings.WriteInt("Property", "wasFavorite", 0);
    EXPECT_TRUE(coll.OpenCurrentCollection());
    EXPECT_FALSE(coll.Store().IsFavoritesView());
    EXPECT_EQ(coll.Store().CollectionFilePath(), coll.Store().GetCollectionFilePath((tmp.Work() / "c").string()));
}

} // namespace
