#include "collections/KeywordSearch.h"

#include "TestPorts.h"
#include "app/TextUtil.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

TEST(CKeywordFinderTest, FindsALongKeywordAtEveryOffset) {
    std::string key;
    for (int i = 0; i < 130; ++i) key += char('a' + i % 26);
    for (std::size_t at = 0; at < 300; ++at) {
        SCOPED_TRACE(at);
        const std::string text = std::string(at, '.') + key + "..";
        EXPECT_EQ(CKeywordFinder(key, false).Find(text), at);
        EXPECT_EQ(CKeywordFinder(ToUpperAscii(key), true).Find(text), at);
    }
}

TEST(BuildKeywordSetTest, SplitsAtPlusAndTrimsOnlySpaces) {
    const struct {
        const char* text;
        std::vector<std::string> keywords;
    } cases[] = {
        {"A AA + BB B +CCC", {"A AA", "BB B", "CCC"}},
        {"word+", {"word", ""}},
        {"  one  ", {"one"}},
        {"\tone", {"\tone"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(BuildKeywordSet(c.text), c.keywords);
    }
}

class KeywordFileTest : public ::testing::Test {
protected:
    fs::path Write(const std::string& name, std::string_view content) { return tmp.Write("work/" + name, content); }
    bool Test(const fs::path& p, std::string_view keywords, bool noCase = false) {
        return CKeywordFileTest(BuildKeywordSet(keywords), noCase).Matches(p);
    }
    CTempHome tmp;
};

// The empty keyword of a trailing '+' matches every file; a keyword may end the file.
TEST_F(KeywordFileTest, NeedsEveryKeywordAndFoldsAsciiLettersOnly) {
    const struct {
        const char *content, *keywords;
        bool noCase, found;
    } cases[] = {
        {"x A AA y BB B z CCC", "A AA + BB B +CCC", false, true},
        {"x A AA y BB B z CC", "A AA + BB B +CCC", false, false},
        {"x A AA y BB B z CCC", "CCC+", false, true},
        {"x A AA y BB B z CC", "CCC+", false, false},
        {"some text, then key", "key", false, true},
        {"k", "k", false, true},
        {"a word and \xE9t\xE9", "Word", false, false},
        {"a word and \xE9t\xE9", "Word", true, true},
        {"a word and \xE9t\xE9", "\xE9T\xE9", true, true},
        {"a word and \xE9t\xE9", "\xC9T\xC9", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.content) + " / " + c.keywords);
        EXPECT_EQ(Test(Write("f.txt", c.content), c.keywords, c.noCase), c.found);
    }
}

TEST_F(KeywordFileTest, SkipsBinaryExcludedAndExtensionlessFiles) {
    const std::string binary = std::string("\x01\x02\x03 key", 7);
    const struct {
        const char* name;
        std::string content;
        bool found;
    } cases[] = {
        {"bin.txt", binary, false}, {"bin.doc", binary, true},  {"bin.DBF", binary, true}, {"bin.xls", binary, true},
        {"text.exe", "key", false}, {"Makefile", "key", false}, {"empty.txt", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Test(Write(c.name, c.content), "key+"), c.found);
    }
}

TEST_F(KeywordFileTest, NeverReadsFoldersPipesOrMissingFiles) {
    fs::create_directories(tmp.Work() / "folder.txt");
    const fs::path fifo = tmp.Work() / "pipe.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(Test(tmp.Work() / "folder.txt", "key"));
    EXPECT_FALSE(Test(fifo, "key"));
    EXPECT_FALSE(Test(tmp.Work() / "missing.txt", "key"));
}

TEST_F(KeywordFileTest, FindsKeywordsAcrossPieceBorders) {
    const fs::path p = Write("long.txt", "0123456789abcdefghijKEYWORDxyz and more text at the end: tail");
    for (std::size_t piece = 1; piece <= 12; ++piece) {
        SCOPED_TRACE(piece);
        CKeywordFileTest test(BuildKeywordSet("KEYWORD + tail + 0123"), false);
        test.SetPieceSize(piece);
        EXPECT_TRUE(test.Matches(p));
        CKeywordFileTest missing(BuildKeywordSet("KEYWORD + tails"), false);
        missing.SetPieceSize(piece);
        EXPECT_FALSE(missing.Matches(p));
    }
}

class SearchCollectionFilesTest : public ::testing::Test {
protected:
    // count files; every third holds the keyword.
    std::vector<std::string> MakeFiles(std::size_t count) {
        std::vector<std::string> locations;
        for (std::size_t i = 0; i < count; ++i)
            locations.push_back(
                tmp.Write("work/f" + std::to_string(i) + ".txt", i % 3 == 0 ? "has key" : "nothing").string());
        return locations;
    }
    CTempHome tmp;
    CTestPorts t;
};

// Three workers on any machine: what they find, the progress texts and a Stop's place must be
// what a search on the calling thread gives.
TEST_F(SearchCollectionFilesTest, ProgressFromTwoHundredAndOneFilesAndStopKeepsWhatWasFound) {
    EXPECT_EQ(SearchCollectionFiles(MakeFiles(200), {"key"}, false, t.ports, 3).size(), 67u);
    EXPECT_EQ(t.progress.log.opened, 0);
    EXPECT_EQ(SearchCollectionFiles(MakeFiles(201), {"key"}, false, t.ports, 3).size(), 67u);
    const auto& log = t.progress.log;
    EXPECT_EQ(std::make_tuple(log.opened, log.range, log.positions.back()), std::make_tuple(1, 10.0, 10.0));
    // After records 0, 20, ..., 200; at 20, the files 0, 3, ..., 18 are tested and 21 is not yet.
    EXPECT_EQ(log.labels.size(), 11u);
    EXPECT_EQ(log.labels.at(0) + ", " + log.labels.at(1), "Found: 1, Found: 7");

    t.progress.log = {};
    t.progress.log.stopAtQuery = 2;
    EXPECT_EQ(SearchCollectionFiles(MakeFiles(300), {"key"}, false, t.ports, 3),
              (std::vector<std::size_t>{0, 3, 6, 9, 12, 15, 18}));
    EXPECT_FALSE(t.busy.waitCursor);
}

TEST(FindKeywordMatchesTest, MarksEveryOccurrenceInOrder) {
    const struct {
        const char* name;
        std::string text;
        std::vector<std::string> keywords;
        bool noCase;
        std::vector<CKeywordMatch> pairs;
    } cases[] = {
        {"adjacent", "ABAB xAB", {"AB"}, false, {{0, 2}, {2, 4}, {6, 8}}},
        {"two keywords", "one two one", {"two", "one"}, false, {{0, 3}, {4, 7}, {8, 11}}},
        {"earlier keyword wins a tie", "abc", {"ab", "abc"}, false, {{0, 2}}},
        {"no case", "Word WORD word", {"word"}, true, {{0, 4}, {5, 9}, {10, 14}}},
        {"case", "Word WORD word", {"word"}, false, {{10, 14}}},
        {"empty keyword marks nothing", "xfoo", {"foo", ""}, false, {{1, 4}}},
        {"not overlapping", "aaa", {"aa"}, false, {{0, 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FindKeywordMatches(c.text, c.keywords, c.noCase, 100), c.pairs);
    }
}

class PrepareSelPosTest : public ::testing::Test {
protected:
    CTempHome tmp;
    CScriptedPrompt prompt;
    CKeywordSearchState state;
};

TEST_F(PrepareSelPosTest, ReadsTheFileAndMarksWhileTheSearchIsInForce) {
    const fs::path p = tmp.Write("work/doc.txt", "alpha beta alpha");
    state.SetKeywords("alpha + beta", false);
    ASSERT_TRUE(state.PrepareSelPos(prompt, p));
    EXPECT_EQ(state.GetSelPos().text, "alpha beta alpha");
    EXPECT_TRUE(state.GetSelPos().pairs.empty());

    state.SetInForce(true);
    ASSERT_TRUE(state.PrepareSelPos(prompt, p));
    EXPECT_EQ(state.GetSelPos().pairs, (std::vector<CKeywordMatch>{{0, 5}, {6, 10}, {11, 16}}));
    EXPECT_EQ(state.GetKeywords(), (std::vector<std::string>{"alpha", "beta"}));
    state.FreeSelPos();
    EXPECT_TRUE(state.GetSelPos().text.empty());
    EXPECT_TRUE(state.GetSelPos().pairs.empty());
    EXPECT_TRUE(prompt.Texts().empty());
}

TEST_F(PrepareSelPosTest, BoundsTheMatchesAt9999AndKeepsEveryByteOfALargeFile) {
    state.SetKeywords("a", false);
    state.SetInForce(true);
    ASSERT_TRUE(state.PrepareSelPos(prompt, tmp.Write("work/many.txt", std::string(20000, 'a'))));
    EXPECT_EQ(state.GetSelPos().pairs.size(), 9999u);
    EXPECT_EQ(state.GetSelPos().pairs.back(), (CKeywordMatch{9998, 9999}));
    ASSERT_TRUE(state.PrepareSelPos(prompt, tmp.Write("work/few.txt", "aaa")));
    EXPECT_EQ(state.GetSelPos().pairs.size(), 3u);

    std::string big(5u << 20, 'x');
    big.replace(big.size() - 3, 3, "end");
    state.SetKeywords("END", true);
    ASSERT_TRUE(state.PrepareSelPos(prompt, tmp.Write("work/big.txt", big)));
    EXPECT_EQ(state.GetSelPos().text, big);
    EXPECT_EQ(state.GetSelPos().pairs, (std::vector<CKeywordMatch>{{big.size() - 3, big.size()}}));
}

TEST_F(PrepareSelPosTest, Messages) {
    state.SetInForce(true);
    EXPECT_FALSE(state.PrepareSelPos(prompt, tmp.Write("work/x.txt", "x")));
    EXPECT_EQ(prompt.LastText(), "CMainFrame::PrepareSelPos error: it's nor ready searching attributes.");

    state.SetKeywords("x", false);
    prompt.Clear();
    EXPECT_FALSE(state.PrepareSelPos(prompt, tmp.Work() / "missing.txt"));
    EXPECT_FALSE(state.PrepareSelPos(prompt, tmp.Work()));
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>(2, "CMainFrame::PrepareSelPos error: can not read file."));

    prompt.Clear();
    EXPECT_FALSE(state.PrepareSelPos(prompt, tmp.Write("work/empty.txt", "")));
    EXPECT_TRUE(prompt.Texts().empty());
}

TEST(KeywordDialogTest, EmptyTextStaysOpenOtherwiseTheSettingsAreWritten) {
    CScriptedPrompt prompt;
    CMemorySettings settings;
    EXPECT_EQ(LoadKeywordDialog(settings).keyword, "");
    EXPECT_FALSE(AcceptKeywordDialog(prompt, settings, {"", true}));
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"Insert keyword, please."});
    EXPECT_EQ(settings.GetInt("Searching", "nocase", 7), 7);

    EXPECT_TRUE(AcceptKeywordDialog(prompt, settings, {"a+b", true}));
    const CKeywordDialogValues back = LoadKeywordDialog(settings);
    EXPECT_EQ(back.keyword, "a+b");
    EXPECT_TRUE(back.noCase);
}

} // namespace
