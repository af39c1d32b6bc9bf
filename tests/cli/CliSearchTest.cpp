#include "CliRun.h"

#include "collections/CCollectionStore.h"

#include <gtest/gtest.h>

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
    r = RunCli({"marks", file.string(), ""});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Insert keyword, please.\n");
    r = RunCli({"marks", (tmp.Work() / "missing.txt").string(), "x"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "CMainFrame::PrepareSelPos error: can not read file.\n");
    EXPECT_EQ(RunCli({"marks", file.string()}).exitCode, 2);
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
