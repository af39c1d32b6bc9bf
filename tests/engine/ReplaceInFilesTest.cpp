#include "filetools/CReplaceInFiles.h"

#include "app/FileAccess.h"
#include "app/SettingsKeys.h"
#include "collections/CCollections.h"
#include "filetools/ReplaceStart.h"

#include "TestPorts.h"

#include <gtest/gtest.h>

#include <deque>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class CScriptedWarning : public CReadOnlyWarning {
public:
    CAnswer Ask(std::string_view text) override {
        texts.emplace_back(text);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected read-only question";
            return {};
        }
        const CAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::deque<CAnswer> answers;
    std::vector<std::string> texts;
};

TEST(ReplaceText, Examples) {
    const struct {
        std::string text, from, to, alsoFrom, alsoTo, expected;
        std::uint64_t count;
    } cases[] = {
        {"aaa", "a", "aa", "", "", "aaaaaa", 3},
        {"xxab", "ab", "c", "", "", "xxc", 1},
        {"ab", "abc", "x", "", "", "ab", 0},
        {"#include <aaa/bbb.h>\r\n#include <aaa/c.h>", "<aaa/", "\"../aaa/", ".h>", ".h\"",
         "#include \"../aaa/bbb.h\"\r\n#include \"../aaa/c.h\"", 2},
        {"<aaa/x.cpp> .h>", "<aaa/", "\"../aaa/", ".h>", ".h\"", "\"../aaa/x.cpp> .h>", 1}, // not past the word
        {"ab ab", "a", "xy", "y", "Y", "xYb xYb", 2}, // the additional text inside the inserted one
        {"aXa", "a", "aX", "X", "", "aXXaX", 2},      // also-to empty: no additional mode
        {"a a", "a", "ba", "b", "b", "ba ba", 2},     // would feed itself for ever by the letter
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::uint64_t count = 0;
        EXPECT_EQ(CReplaceInFiles::ReplaceText(c.text, c.from, c.to, c.alsoFrom, c.alsoTo, count), c.expected);
        EXPECT_EQ(count, c.count);
    }
}

TEST(ReplaceText, CleaningKeepsTabCrLfAndStopsAtTheFirstZero) {
    std::uint64_t count = 0;
    const std::string text = std::string("a\tb\r\n\x01\x1f\x7f") + "\xc3\xa9" + "z" + std::string(1, '\0') + "\x01\xff";
    EXPECT_EQ(CReplaceInFiles::CleanText(text, count),
              std::string("a\tb\r\n\x7fz") + std::string(1, '\0') + "\x01\xff");
    EXPECT_EQ(count, 4u);
}

class ReplaceInFilesTest : public ::testing::Test {
protected:
    CReplaceInFiles Make(bool favorites = false) {
        CReplaceScope scope;
        scope.favorites = favorites;
        scope.baseDirectory = Dir().string();
        scope.collections = &collections;
        return CReplaceInFiles(t.ports, warning, scope);
    }
    fs::path Dir() const { return tmp.Work() / "proj"; }
    CTempHome tmp;
    CTestPorts t;
    CScriptedWarning warning;
    CCollections collections{t.ports, tmp.Home()};
};

TEST_F(ReplaceInFilesTest, RunOverTheDirectoryReplacesAndCounts) {
    tmp.Write("work/proj/a.h", "#include <aaa/bbb.h>\r\n");
    tmp.Write("work/proj/sub/b.cpp", "<aaa/x.h> <aaa/y.h>");
    tmp.Write("work/proj/sub/c.cpp", "nothing here");
    const fs::path unchanged = Dir() / "sub" / "c.cpp";
    struct stat before {};
    ::stat(unchanged.c_str(), &before);

    CReplaceInFiles replace = Make();
    CReplaceInFiles::CTexts texts{"<aaa/", "\"../aaa/", ".h>", ".h\"", "*.h; *.cpp"};
    t.prompt.AnswerYes();
    EXPECT_EQ(replace.OnOk(texts), CReplaceInFiles::EOk::Ran);
    EXPECT_EQ(t.prompt.LastText(), "Found 3 files, was opened 3 files\r\nReplaced 3 words.");
    EXPECT_EQ(ReadFileBytes(Dir() / "a.h"), "#include \"../aaa/bbb.h\"\r\n");
    EXPECT_EQ(ReadFileBytes(Dir() / "sub" / "b.cpp"), "\"../aaa/x.h\" \"../aaa/y.h\"");
    struct stat after {};
    ::stat(unchanged.c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino); // not rewritten
}

TEST_F(ReplaceInFilesTest, OkCasesAndEndings) {
    tmp.Write("work/proj/a.txt", "a\x01");
    CReplaceInFiles replace = Make();
    CReplaceInFiles::CTexts texts{"", "", "", "", "txt"};
    t.prompt.AnswerNo();
    EXPECT_EQ(replace.OnOk(texts), CReplaceInFiles::EOk::Ended);
    EXPECT_EQ(t.prompt.Texts()[0],
              "The word for searching is not defined.\r\nWill be removed all non textual symbol in all files. OK?");
    EXPECT_EQ(ReadFileBytes(Dir() / "a.txt"), "a\x01");
    t.prompt.AnswerYes();
    EXPECT_EQ(replace.OnOk(texts), CReplaceInFiles::EOk::Ran);
    EXPECT_EQ(ReadFileBytes(Dir() / "a.txt"), "a");
    EXPECT_EQ(t.prompt.LastText(), "Found 1 files, was opened 1 files\r\nReplaced 1 words.");

    CReplaceScope none;
    CReplaceInFiles empty(t.ports, warning, none);
    texts = {"x", "y", "", "", "txt"};
    EXPECT_EQ(empty.OnOk(texts), CReplaceInFiles::EOk::Ended);
    EXPECT_EQ(t.prompt.LastText(), "It's not right directory path.");
}

TEST_F(ReplaceInFilesTest, ReadOnlyFilesAskUnlessMadeForAll) {
    for (const char* n : {"1.txt", "2.txt", "3.txt"}) {
        const fs::path p = tmp.Write(fs::path("work/proj") / n, "old");
        SetFileAttribute(p, kAttrReadOnly);
    }
    {
        // Cancel skips the file; it is found but not opened.
        CReplaceInFiles replace = Make();
        warning.answers = {{false, false}, {true, false}, {false, false}};
        t.prompt.AnswerYes();
        CReplaceInFiles::CTexts texts{"old", "new", "", "", "txt"};
        ASSERT_EQ(replace.OnOk(texts), CReplaceInFiles::EOk::Ran);
        EXPECT_EQ(warning.texts.size(), 3u);
        EXPECT_EQ(t.prompt.LastText(), "Found 3 files, was opened 1 files\r\nReplaced 1 words.");
    }
    for (const char* n : {"1.txt", "2.txt", "3.txt"}) SetFileAttribute(Dir() / n, kAttrReadOnly);
    {
        // "Make for all files" on the first question clears the later ones without asking.
        CReplaceInFiles replace = Make();
        warning.texts.clear();
        warning.answers = {{true, true}};
        t.prompt.AnswerYes();
        CReplaceInFiles::CTexts texts{"old", "new", "", "", "txt"};
        ASSERT_EQ(replace.OnOk(texts), CReplaceInFiles::EOk::Ran);
        EXPECT_EQ(warning.texts.size(), 1u);
        for (const char* n : {"1.txt", "2.txt", "3.txt"}) {
            EXPECT_EQ(ReadFileBytes(Dir() / n), "new") << n;
        }
    }
}

TEST_F(ReplaceInFilesTest, StopEndsAfterTheCurrentFile) {
    for (int i = 0; i < 10; ++i) tmp.Write("work/proj/f" + std::to_string(i) + ".txt", "old");
    t.progress.log.stopAtQuery = 4; // asked before and after each file
    t.prompt.AnswerYes();
    CReplaceInFiles replace = Make();
    CReplaceInFiles::CTexts texts{"old", "new", "", "", "txt"};
    ASSERT_EQ(replace.OnOk(texts), CReplaceInFiles::EOk::Ran);
    EXPECT_TRUE(replace.Stopped());
    EXPECT_EQ(t.prompt.LastText(), "Found 2 files, was opened 2 files\r\nReplaced 2 words.");
}

TEST_F(ReplaceInFilesTest, FavoritesScope) {
    const fs::path a = tmp.Write("work/elsewhere/a.txt", "old old");
    const fs::path b = tmp.Write("work/proj/b.doc", "old");
    tmp.Write("home/favorite_collection.inf", "#Favorites#\r\n" + a.string() + "#desc#\r\n" + b.string() + "##g\r\n" +
                                                  (tmp.Work() / "gone.txt").string() + "##\r\n");
    CReplaceInFiles replace = Make(true);
    EXPECT_EQ(replace.Title(), "Replace in all files in Favorite collection");
    t.prompt.AnswerYes();
    CReplaceInFiles::CTexts texts{"old", "new", "", "", "txt"};
    ASSERT_EQ(replace.OnOk(texts), CReplaceInFiles::EOk::Ran);
    EXPECT_EQ(t.prompt.LastText(), "Found 2 files, was opened 1 files\r\nReplaced 2 words.");
    EXPECT_EQ(ReadFileBytes(a), "new new");
    EXPECT_EQ(ReadFileBytes(b), "old");
}

TEST_F(ReplaceInFilesTest, InitialExtensionListSources) {
    t.settings.WriteString("Property", "mainDirExt", "txt, doc");
    CReplaceScope scope;
    scope.collectionWindowOpen = true;
    EXPECT_EQ(CReplaceInFiles(t.ports, warning, scope).InitialTexts().extensions, "txt, doc");
    scope.collectionWindowOpen = false;
    t.settings.WriteString("replaceSettings", "ext", "h");
    EXPECT_EQ(CReplaceInFiles(t.ports, warning, scope).InitialTexts().extensions, "h");
    t.settings.WriteString("Property", "mainDirExt", "*.*");
    scope.collectionWindowOpen = true;
    EXPECT_EQ(CReplaceInFiles(t.ports, warning, scope).InitialTexts().extensions, "h");
}

TEST(ReplaceStart, TheScopeComesFromTheFocusOrTheChooseForm) {
    CTempHome tmp;
    const std::string docs = (tmp.Work() / "docs").string(), all = (tmp.Work() / "all").string();
    tmp.Write("home/docs.inf", "#Docs#" + docs + "#d#txt, doc\r\n");
    tmp.Write("home/all.inf", "#All#" + all + "#d#*.*\r\n");
    tmp.Write("home/favorite_collection.inf", "#Favorites#\r\n/x/a.txt##\r\n");
    const struct {
        const char* name;
        bool focus;
        const char* pick; // the name chosen in the form; nullptr cancels it
        bool started, favorites;
        std::string directory;
        std::string mainDir, mainDirExt;
    } cases[] = {
        {"focus in the collection window", true, nullptr, true, false, "/cur", "", ""},
        {"Cancel", false, nullptr, false, false, "", "", ""},
        {"the favorites", false, "Favorites", true, true, "", "", ""},
        {"a collection with a filter", false, "Docs", true, false, docs, docs, "txt, doc"},
        {"a collection of every file", false, "All", true, false, all, all, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CTestPorts t;
        CCollections collections(t.ports, tmp.Home());
        collections.Store().SetBaseDirectory("/cur");
        const auto form = [&](COpenCollectionDialogData& data) {
            if (!c.pick) return false;
            for (std::size_t i = 0; i < data.catalogue->size(); ++i)
                if ((*data.catalogue)[i].name == c.pick) data.selected = int(i);
            return true;
        };
        const std::optional<CReplaceScope> scope = StartReplace(t.ports, collections, c.focus, true, form);
        ASSERT_EQ(scope.has_value(), c.started);
        if (scope) {
            EXPECT_EQ(scope->favorites, c.favorites);
            EXPECT_EQ(scope->baseDirectory, c.directory);
        }
        EXPECT_EQ(t.settings.Get(kMainDir), c.mainDir);
        EXPECT_EQ(t.settings.Get(kMainDirExt), c.mainDirExt);
        EXPECT_EQ(collections.Store().BaseDirectory(), "/cur"); // the shown collection stays current
    }
}

} // namespace
