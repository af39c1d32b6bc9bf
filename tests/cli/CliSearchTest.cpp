#include "CliRun.h"

#include "collections/CCollectionStore.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace fs = std::filesystem;

namespace {

TEST(CliMarks, PrintsTheMatchPairs) {
    CTempHome tmp;
    const fs::path file = tmp.Write("work/doc.txt", "alpha beta Alpha");
    CCliResult r = RunCli({"marks", file.string(), "alpha"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "0\t5\n");
    r = RunCli({"marks", file.string(), "alpha + BETA", "--nocase"});
    EXPECT_EQ(r.out, "0\t5\n6\t10\n11\t16\n");

    r = RunCli({"marks", file.string(), "gamma"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(RunCli({"marks", file.string(), ""}).err, "Insert keyword, please.\n");
    EXPECT_EQ(RunCli({"marks", (tmp.Work() / "missing.txt").string(), "x"}).exitCode, 1);
    EXPECT_EQ(RunCli({"marks", file.string()}).exitCode, 2);
}

TEST(CliSearch, FindsTheFilesHoldingEveryKeyword) {
    CTempHome tmp;
    const fs::path dir = tmp.Work() / "docs";
    tmp.Write("work/docs/a.txt", "Hello World\r\nkeyword here\r\n");
    tmp.Write("work/docs/b.txt", "nothing");
    tmp.Write("work/docs/sub/c.txt", "KEYWORD and world");
    tmp.Write("work/docs/bin.txt", std::string("\x01\x02 keyword", 10));

    CCliResult r = RunCli({"search", dir.string(), "keyword"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, (dir / "a.txt").string() + "\n");
    EXPECT_TRUE(fs::exists(tmp.Home() / (CCollectionStore::MakeCollectionFileName(dir.string()) + ".inf")));

    r = RunCli({"search", dir.string(), "keyword + world", "--nocase"});
    EXPECT_EQ(r.exitCode, 0);
    std::vector<std::string> lines;
    for (std::size_t p = 0, n; (n = r.out.find('\n', p)) != std::string::npos; p = n + 1)
        lines.push_back(r.out.substr(p, n - p));
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{(dir / "a.txt").string(), (dir / "sub/c.txt").string()}));

    r = RunCli({"search", dir.string(), "gamma"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Found nothing.\n");
    EXPECT_TRUE(r.out.empty());
}

TEST(CliSearch, SearchesTheFavoritesAndRefusesWhatIsMissing) {
    CTempHome tmp;
    const fs::path a = tmp.Write("work/x/a.txt", "favorite text");
    tmp.Write("home/favorite_collection.inf", "#Favorites#\r\n" + a.string() + "#d#\r\n");
    CCliResult r = RunCli({"search", "--favorites", "text"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, a.string() + "\n");

    fs::remove(tmp.Home() / "favorite_collection.inf");
    EXPECT_EQ(RunCli({"search", "--favorites", "text"}).err, "Favorites is empty.\n");
    EXPECT_EQ(RunCli({"search", (tmp.Work() / "none").string(), "text"}).exitCode, 1);
    EXPECT_EQ(RunCli({"search", (tmp.Work() / "x").string(), ""}).exitCode, 1);
    EXPECT_EQ(RunCli({"search", "text"}).exitCode, 2);
}

class CliFilter : public ::testing::Test {
protected:
    void SetUp() override {
        dir = (tmp.Work() / "docs").string();
        fs::create_directories(dir);
        tmp.Write(fs::path("home") / (CCollectionStore::MakeCollectionFileName(dir) + ".inf"),
                  "#Docs#" + dir + "##*.*\r\n" + dir + "/readme.txt#Red car#work; home\r\n" + dir +
                      "/sub/a.TXT#blue#Work\r\n" + dir + "/notes.doc##\r\n");
    }
    std::string Lines(std::initializer_list<const char*> rel) {
        std::string s;
        for (const char* r : rel) s += dir + "/" + r + "\n";
        return s;
    }
    CTempHome tmp;
    std::string dir;
};

TEST_F(CliFilter, ShowsTheRowsOfEachColumnSearch) {
    const struct {
        const char* option;
        const char* text;
        int exitCode;
        std::string out;
    } cases[] = {
        {"--files", "*.txt", 0, Lines({"readme.txt", "sub/a.TXT"})},
        {"--files", "*.*", 0, Lines({"readme.txt", "sub/a.TXT", "notes.doc"})},
        {"--files", "zz", 1, Lines({"readme.txt", "sub/a.TXT", "notes.doc"})},
        {"--description", "red | BLUE", 0, Lines({"readme.txt", "sub/a.TXT"})},
        {"--group", "Work", 0, Lines({"sub/a.TXT"})},
        {"--group", "play", 1, Lines({"readme.txt", "sub/a.TXT", "notes.doc"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.option) + " " + c.text);
        const CCliResult r = RunCli({"filter", dir, c.option, c.text});
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out, c.out);
    }
    EXPECT_EQ(RunCli({"filter", dir, "--group", "play"}).err, "Not found\n");
}

TEST_F(CliFilter, RefusesAMissingCollectionAndBadArguments) {
    const CCliResult r = RunCli({"filter", (tmp.Work() / "other").string(), "--files", "a"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("is absent now."), std::string::npos);
    EXPECT_EQ(RunCli({"filter", dir}).exitCode, 2);
    EXPECT_EQ(RunCli({"filter", dir, "--files", "a", "--group", "b"}).exitCode, 2);
}

} // namespace
