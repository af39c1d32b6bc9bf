#include "collections/CCollections.h"
#include "collections/DirectoryWalk.h"

#include "CollectionFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace fs = std::filesystem;

namespace {

class CollectionRefreshTest : public CollectionFixture {
protected:
    // Most tests create their collection as the new-collection command does.
    void SetUp() override { options.quietCreation = true; }
    void TearDown() override {
        SetUnlistableForTest(nullptr);
        CollectionFixture::TearDown();
    }
    bool Refresh(const fs::path& dir, std::string_view ext = "txt") { return Scan(dir, options, ext); }
    fs::path Tree(int files, std::string_view sub = "tree") {
        for (int i = 0; i < files; ++i)
            tmp.Write(fs::path("work") / sub / ("d" + std::to_string(i % 4)) / ("f" + std::to_string(i) + ".txt"), "x");
        return tmp.Work() / sub;
    }
    std::vector<std::string> Locations() const {
        std::vector<std::string> out;
        for (const auto& r : coll.Store().Records()) out.push_back(r.location);
        return out;
    }
    // Creates the collection of dir without questions, then describes every record "d:<its file name>".
    void Seed(const fs::path& dir) {
        options.noQuestion = true;
        ASSERT_TRUE(Refresh(dir));
        options.noQuestion = false;
        for (std::size_t i = 0; i < coll.Store().RecordCount(); ++i) {
            const std::string name = fs::path(coll.Store().Records()[i].location).filename().string();
            ASSERT_EQ(coll.Store().SaveChanges(i, "d:" + name, "g"), ERecordWrite::Written);
        }
    }
    void ExpectDescriptionsFollowFiles() {
        for (const auto& r : coll.Store().Records())
            EXPECT_EQ(r.description, "d:" + fs::path(r.location).filename().string()) << r.location;
    }

    CRefreshOptions options;
};

TEST_F(CollectionRefreshTest, FirstScanCreatesTheFileOnlyAfterConsent) {
    const fs::path dir = Tree(3);
    tmp.Write("work/tree/skip.doc", "");
    t.prompt.AnswerNo();
    EXPECT_FALSE(Refresh(dir));
    EXPECT_EQ(t.prompt.LastText(), "After refreshing was not found any old collection files.\r\nWas found 3 new "
                                   "files.\r\n\r\nWhat do you like save this result to collection?");
    EXPECT_FALSE(fs::exists(File(dir)));

    options.noQuestion = true;
    EXPECT_TRUE(Refresh(dir));
    const std::string name = CCollectionStore::MakeCollectionFileName(dir.string());
    const std::string text = ReadFileBytes(File(dir));
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "#" + name + "#" + dir.string() + "##txt");
    auto locs = Locations();
    std::sort(locs.begin(), locs.end());
    EXPECT_EQ(locs, (std::vector<std::string>{(dir / "d0/f0.txt").string(), (dir / "d1/f1.txt").string(),
                                              (dir / "d2/f2.txt").string()}));
    EXPECT_EQ(t.busy.status.back(), "Ready");
}

TEST_F(CollectionRefreshTest, AddedFileAsksAndNoLeavesTheFileAlone) {
    const fs::path dir = Tree(6);
    ASSERT_NO_FATAL_FAILURE(Seed(dir));
    const std::string before = ReadFileBytes(File(dir));

    tmp.Write("work/tree/d1/new.txt", "");
    t.prompt.AnswerNo();
    EXPECT_FALSE(Refresh(dir));
    EXPECT_EQ(t.prompt.LastText(), "Collection was changed!\r\n\r\nWas 6 files.\r\nNow 7\r\nAfter refreshing was "
                                   "found 6 old files.\r\n\r\nWhat do you like save this result to collection?");
    EXPECT_EQ(ReadFileBytes(File(dir)), before);
    EXPECT_EQ(coll.Store().RecordCount(), 6u);

    t.prompt.AnswerYes();
    EXPECT_TRUE(Refresh(dir));
    ASSERT_EQ(coll.Store().RecordCount(), 7u);
    for (const auto& r : coll.Store().Records()) {
        const std::string name = fs::path(r.location).filename().string();
        EXPECT_EQ(r.description, name == "new.txt" ? "" : "d:" + name);
    }
    EXPECT_EQ(ReadFileBytes(File(dir)), coll.Store().FormatCollectionFile());
}

TEST_F(CollectionRefreshTest, FilesDeletedAtTheEndAreDroppedWithoutAQuestion) {
    const fs::path dir = Tree(5);
    ASSERT_NO_FATAL_FAILURE(Seed(dir));
    fs::remove(coll.Store().Records().back().location);
    t.prompt.Clear();
    EXPECT_TRUE(Refresh(dir));
    EXPECT_TRUE(t.prompt.Shown().empty());
    EXPECT_EQ(coll.Store().RecordCount(), 4u);
    ExpectDescriptionsFollowFiles();
    CCollectionStore reread(t.prompt, tmp.Home());
    reread.SetCollectionFilePath(File(dir));
    EXPECT_EQ(reread.LoadCollection(), 4u);
}

TEST_F(CollectionRefreshTest, CaseRenameTakesTheNewSpellingAndExactMatchesWin) {
    tmp.Write("work/c/Readme.TXT", "");
    tmp.Write("work/c/Note.txt", "");
    tmp.Write("work/c/NOTE.txt", "");
    const fs::path dir = tmp.Work() / "c";
    ASSERT_NO_FATAL_FAILURE(Seed(dir));

    // Unchanged tree: each of Note.txt and NOTE.txt keeps its own description, and no question.
    t.prompt.Clear();
    EXPECT_TRUE(Refresh(dir));
    EXPECT_TRUE(t.prompt.Shown().empty());
    ExpectDescriptionsFollowFiles();

    fs::rename(dir / "Readme.TXT", dir / "README.txt");
    t.prompt.AnswerYes();
    EXPECT_TRUE(Refresh(dir));
    EXPECT_EQ(t.prompt.Shown().size(), 1u);
    const auto locs = Locations();
    EXPECT_NE(std::find(locs.begin(), locs.end(), (dir / "README.txt").string()), locs.end());
    for (const auto& r : coll.Store().Records()) {
        if (fs::path(r.location).filename() == "README.txt") {
            EXPECT_EQ(r.description, "d:Readme.TXT");
        }
    }
    EXPECT_EQ(ReadFileBytes(File(dir)).find("/Readme.TXT#"), std::string::npos);
}

TEST_F(CollectionRefreshTest, WindowsWrittenFileKeepsItsDescriptionsAfterAMove) {
    tmp.Write("work/w/sub/a.txt", "");
    const fs::path dir = tmp.Work() / "w";
    // A collection written on Windows for C:\Docs, with backslashes and CR LF.
    tmp.Write("home/CDocs.inf", "#Docs#C:\\Docs##txt\r\nC:\\Docs\\SUB\\A.TXT#kept#g\r\n");
    options.changePath = CRefreshOptions::CChangePath{"C:\\Docs", dir.string()};
    coll.Store().SetCollectionFilePath(tmp.Home() / "CDocs.inf");
    EXPECT_TRUE(coll.RefreshCollectionWithUI(options));
    EXPECT_EQ(t.prompt.Texts(), std::vector<std::string>{"All files was successfuly updated."});
    EXPECT_EQ(ReadFileBytes(File(dir)),
              "#Docs#" + dir.string() + "##txt\r\n" + (dir / "sub/a.txt").string() + "#kept#g\r\n");
    EXPECT_FALSE(fs::exists(tmp.Home() / "CDocs.inf"));
}

TEST_F(CollectionRefreshTest, ProgressOpensAboveFiveHundredFiles) {
    struct Case {
        int files, opened;
        double range;
        bool creeping;
    } cases[] = {{500, 0, -1, false}, {501, 1, 501, false}, {2000, 1, 2000, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files);
        const fs::path dir = Tree(c.files, "p" + std::to_string(c.files));
        t.progress.log = {};
        options.noQuestion = true;
        ASSERT_TRUE(Refresh(dir));
        EXPECT_EQ(t.progress.log.opened, c.opened);
        EXPECT_EQ(t.progress.log.range, c.range);
        EXPECT_EQ(t.progress.log.creeping, c.creeping);
        if (c.opened) {
            const auto& labels = t.progress.log.labels;
            ASSERT_EQ(labels.size(), std::size_t(c.files / 10));
            EXPECT_EQ(labels.front(), "Files found: 10");
            EXPECT_EQ(labels.back(), "Files found: " + std::to_string(c.files / 10 * 10));
        }
    }
}

TEST_F(CollectionRefreshTest, StopKeepsTheOldCollectionAsLoaded) {
    const fs::path dir = Tree(520);
    options.noQuestion = true;
    ASSERT_TRUE(Refresh(dir));
    options.noQuestion = false;
    ASSERT_EQ(coll.Store().SaveChanges(519, "last one", ""), ERecordWrite::Written);
    const std::string before = ReadFileBytes(File(dir));
    tmp.Write("work/tree/d0/late.txt", "");
    t.progress.log = {};
    t.progress.log.stopAtQuery = 100;
    EXPECT_FALSE(Refresh(dir));
    EXPECT_EQ(ReadFileBytes(File(dir)), before);
    EXPECT_EQ(coll.Store().RecordCount(), 520u);
    EXPECT_EQ(coll.Store().Records()[519].description, "last one");
    EXPECT_EQ(t.prompt.Texts(), std::vector<std::string>{});
}

TEST_F(CollectionRefreshTest, CorruptedPathAnsweredNoKeepsTheFile) {
    const fs::path dir = Tree(8);
    ASSERT_NO_FATAL_FAILURE(Seed(dir));
    const std::string before = ReadFileBytes(File(dir));
    SetUnlistableForTest([&](const std::string& d) { return d == (dir / "d2").string(); });

    t.prompt.AnswerNo();
    EXPECT_FALSE(Refresh(dir));
    EXPECT_EQ(t.prompt.Shown().back().text, "Was found corrupted path:\r\n\r\n\"" + (dir / "d2").string() +
                                                "/*.*\"\r\n\r\nWhat do you like continue?");
    EXPECT_EQ(ReadFileBytes(File(dir)), before);
    EXPECT_EQ(coll.Store().RecordCount(), 8u);

    // Yes goes on without the folder; its two files are then gone from the result.
    t.prompt.AnswerYes();
    t.prompt.AnswerYes();
    EXPECT_TRUE(Refresh(dir));
    EXPECT_EQ(coll.Store().RecordCount(), 6u);
    ExpectDescriptionsFollowFiles();
}

TEST_F(CollectionRefreshTest, FailedSaveKeepsFileAndMainListInStep) {
    const fs::path dir = Tree(4);
    options.noQuestion = true;
    ASSERT_TRUE(Refresh(dir));
    const std::string before = ReadFileBytes(File(dir));
    tmp.Write("work/tree/d3/more.txt", "");
    SetWriteFailureForTest(CWriteFailure{.steps = {EWriteStep::Write}, .afterBytes = 10});
    EXPECT_FALSE(Refresh(dir));
    SetWriteFailureForTest(std::nullopt);
    EXPECT_EQ(ReadFileBytes(File(dir)), before);
    EXPECT_EQ(coll.Store().RecordCount(), 4u);
    EXPECT_EQ(coll.Store().SaveChanges(3, "still in step", ""), ERecordWrite::Written);
}

TEST_F(CollectionRefreshTest, EmptyTreeAndAnUnstorableBaseAreReported) {
    fs::create_directories(tmp.Work() / "e");
    tmp.Write("work/e/other.doc", "");
    EXPECT_FALSE(Refresh(tmp.Work() / "e"));
    EXPECT_EQ(t.prompt.LastText(), "It's not any files in " + (tmp.Work() / "e").string() + " directory now.");
    EXPECT_FALSE(fs::exists(File(tmp.Work() / "e")));

    // A '#' in the base folder's own name leaves nothing to store.
    tmp.Write("work/x#y/a.txt", "");
    EXPECT_FALSE(Refresh(tmp.Work() / "x#y"));
    EXPECT_FALSE(fs::exists(File(tmp.Work() / "x#y")));
}

// Folders named "C#" are common; a '#' or a line break anywhere in the relative path would
// break the record line, so such files are left out as names are, with one message.
TEST_F(CollectionRefreshTest, FoldersWithHashOrLineBreaksAreLeftOutWithOneMessage) {
    for (const char* sub : {"C#", "cr\rfolder", "lf\nfolder", "deep/x#y/z"})
        tmp.Write(fs::path("work/s") / sub / "in.txt", "");
    tmp.Write("work/s/ok.txt", "");
    const fs::path dir = tmp.Work() / "s";
    t.prompt.AnswerYes();
    EXPECT_TRUE(Refresh(dir));
    EXPECT_EQ(Locations(), std::vector<std::string>{(dir / "ok.txt").string()});
    ASSERT_EQ(t.prompt.Texts().size(), 2u);
    EXPECT_EQ(t.prompt.Texts()[0].rfind("4 file(s) can not be kept in a collection", 0), 0u) << t.prompt.Texts()[0];
    // The stored file reads back the same, so the next refresh finds nothing changed.
    t.prompt.Clear();
    EXPECT_TRUE(Refresh(dir));
    EXPECT_EQ(t.prompt.Texts().size(), 1u);
    EXPECT_EQ(coll.Store().RecordCount(), 1u);
}

TEST_F(CollectionRefreshTest, CreationAsksForNameAndCancelWritesNothing) {
    const fs::path dir = Tree(2);
    options.noQuestion = true;
    options.quietCreation = false;
    CCollectionInfoFields seen;
    coll.Hooks().collectionInfoDialog = [&](CCollectionInfoFields& f) {
        seen = f;
        return false;
    };
    EXPECT_FALSE(Refresh(dir, "*.TXT; doc"));
    EXPECT_EQ(seen.name, CCollectionStore::MakeCollectionFileName(dir.string()));
    EXPECT_EQ(seen.extensionList, "TXT, doc");
    // Prepare found the configured folder, so its missing file is worth a warning.
    EXPECT_EQ(t.prompt.Texts().front().rfind("Old collection file\r\n\"", 0), 0u);
    EXPECT_EQ(t.prompt.LastText(), "User abort.\r\nCollection was not create.");
    EXPECT_FALSE(fs::exists(File(dir)));

    coll.Hooks().collectionInfoDialog = [&](CCollectionInfoFields& f) {
        f.name = "Mine";
        f.description = "About mine";
        return true;
    };
    options.quietCreation = true;
    EXPECT_TRUE(Refresh(dir, "*.TXT; doc"));
    EXPECT_EQ(ReadFileBytes(File(dir)).rfind("#Mine#" + dir.string() + "#About mine#TXT, doc\r\n", 0), 0u);
}

TEST_F(CollectionRefreshTest, PrepareBrowsesForADefaultCollection) {
    t.pickers.answers.push_back("");
    EXPECT_FALSE(coll.PrepareCurrentCollection(false));
    EXPECT_FALSE(coll.PrepareCurrentCollection(true));
    EXPECT_EQ(t.pickers.titles.size(), 1u);

    const fs::path dir = Tree(1);
    t.pickers.answers.push_back(dir.string() + "/");
    EXPECT_TRUE(coll.PrepareCurrentCollection(false));
    EXPECT_EQ(t.settings.GetString("Property", "mainDir", ""), dir.string());

    t.settings.WriteString("Property", "mainDir", (tmp.Work() / "gone").string());
    EXPECT_FALSE(coll.PrepareCurrentCollection(false));
    EXPECT_EQ(t.prompt.LastText(), "This collection is absent now.\r\nPlease choose anoter.");
}

TEST_F(CollectionRefreshTest, RefreshSaysWhatHappened) {
    const fs::path dir = Tree(510);
    t.settings.WriteString("Property", "mainDir", dir.string());
    t.settings.WriteString("Property", "mainDirExt", "txt");
    const struct {
        const char* name;
        std::function<void()> arrange;
        bool noQuestion;
        ERefreshOutcome outcome;
        std::size_t records;
    } cases[] = {
        {"first scan declined", [&] { t.prompt.AnswerNo(); }, false, ERefreshOutcome::Declined, 0},
        {"first scan saved", [] {}, true, ERefreshOutcome::Saved, 510},
        {"nothing changed", [] {}, false, ERefreshOutcome::Unchanged, 510},
        {"stopped", [&] { t.progress.log.stopAtQuery = 5; }, true, ERefreshOutcome::Stopped, 510},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        t.progress.log = {};
        c.arrange();
        ASSERT_TRUE(coll.PrepareCurrentCollection(false));
        options.noQuestion = c.noQuestion;
        const CRefreshResult r = coll.RefreshCollection(options);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.records, c.records);
        EXPECT_TRUE(t.prompt.AllAnswersUsed());
    }
}

} // namespace
