#include "filetools/CCopyAllFiles.h"

#include "app/FileAccess.h"
#include "collections/CParseExt.h"

#include "TestPorts.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class CopyAllFilesTest : public ::testing::Test {
protected:
    fs::path Src() const { return tmp.Work() / "src"; }
    fs::path Dst() const { return tmp.Work() / "out.d"; }
    std::vector<std::string> Names(const fs::path& dir) const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
    CTempHome tmp;
    CTestPorts t;
};

TEST_F(CopyAllFilesTest, SameNamesGetAOneAndTheThirdReplacesTheSecond) {
    tmp.Write("work/src/a/report.txt", "first");
    tmp.Write("work/src/b/report.txt", "second");
    tmp.Write("work/src/c/d/report.txt", "third");
    tmp.Write("work/src/readme", "new readme");
    tmp.Write("work/out.d/readme", "old readme");
    CCopyAllFiles copy(t.ports);
    ASSERT_TRUE(copy.CopyAllFiles(Src(), Dst(), -1, nullptr));
    EXPECT_EQ(Names(Dst()), (std::vector<std::string>{"readme", "readme1", "report.txt", "report1.txt"}));
    const std::string first = ReadFileBytes(Dst() / "report.txt");
    const std::string second = ReadFileBytes(Dst() / "report1.txt");
    EXPECT_NE(first, second);
    EXPECT_TRUE(first == "first" || first == "second" || first == "third") << first;
    EXPECT_EQ(ReadFileBytes(Dst() / "readme"), "old readme");
    EXPECT_EQ(ReadFileBytes(Dst() / "readme1"), "new readme");
    EXPECT_EQ(copy.Copied(), 4u);
}

TEST_F(CopyAllFilesTest, UniqueNameNeverTouchesADottedFolder) {
    const struct {
        const char *to, *expected;
    } cases[] = {
        {"/x/out.d/readme", "/x/out.d/readme1"}, {"/x/a.tar.gz", "/x/a.tar1.gz"}, {"/x/.profile", "/x/.profile1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.to);
        EXPECT_EQ(CCopyAllFiles::UniqueName(c.to), fs::path(c.expected));
    }
}

TEST_F(CopyAllFilesTest, MinimumSizeAndFilter) {
    tmp.Write("work/src/big.doc", std::string(101, 'x'));
    tmp.Write("work/src/edge.doc", std::string(100, 'x'));
    tmp.Write("work/src/sub/pic.gif", std::string(500, 'x'));
    tmp.Write("work/src/sub/note.txt", std::string(500, 'x'));
    const struct {
        long long minimum;
        const char* extensions;
        std::vector<std::string> expected;
    } cases[] = {
        {100, "*.*", {"big.doc", "note.txt", "pic.gif"}},
        {-1, "*.doc, *.gif", {"big.doc", "edge.doc", "pic.gif"}},
        {0, "", {"big.doc", "edge.doc", "note.txt", "pic.gif"}},
    };
    int run = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extensions);
        const fs::path out = tmp.Work() / ("out" + std::to_string(run++));
        CCopyAllFiles copy(t.ports);
        CCopyAllFiles::CFields f{Src().string(), out.string(), c.minimum, c.extensions};
        ASSERT_TRUE(copy.Accept(f));
        ASSERT_TRUE(copy.OnCopyAllFiles(f));
        EXPECT_EQ(Names(out), c.expected);
        EXPECT_EQ(t.prompt.LastText(), "All right! Coping did.");
    }
}

TEST_F(CopyAllFilesTest, DialogChecks) {
    tmp.Write("work/src/a.txt", "a");
    const std::string src = Src().string();
    const struct {
        std::string source, target, message;
    } cases[] = {
        {"", "/x", "Select any base directory for first edit, please."},
        {"src/rel", "/x", "Directory\r\n\"src/rel\"\r\nis not correct."},
        {"/no/such/dir", "/x", "Directory\r\n\"/no/such/dir\"\r\nis not correct."},
        {src, "D:", "Select any base directory for second edit, please."},
        {src, "out/rel", "Directory\r\n\"out/rel\"\r\nis not correct."},
        {src, src, "Directory\r\n\"" + src + "\"\r\nis not correct."},
        {src, "/some/new/folder", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source + " -> " + c.target);
        t.prompt.Clear();
        CCopyAllFiles copy(t.ports);
        CCopyAllFiles::CFields f{c.source, c.target, -1, "  *.txt "};
        EXPECT_EQ(copy.Accept(f), c.message.empty());
        EXPECT_EQ(t.prompt.LastText(), c.message);
        if (c.message.empty()) {
            EXPECT_EQ(f.extensions, "*.txt");
        }
    }
    t.settings.WriteString("Property", "copyDir", "/s");
    t.settings.WriteString("Property", "lastBrowDir", tmp.Work().string());
    CCopyAllFiles copy(t.ports);
    EXPECT_EQ(copy.StartFields().source, "/s");
    EXPECT_EQ(copy.StartFields().minimumSize, -1);
    EXPECT_EQ(copy.StartFields().extensions, "*.*");
    t.pickers.answers.push_back("/chosen");
    EXPECT_EQ(copy.BrowseTarget(), "/chosen");
    EXPECT_EQ(t.settings.GetString("Property", "copyDir2", ""), "/chosen");
    EXPECT_EQ(t.pickers.initials.back(), tmp.Work()); // "lastBrowDir" while "copyDir2" is empty
}

TEST_F(CopyAllFilesTest, TargetInsideTheSourceIsNotCopiedAgain) {
    tmp.Write("work/src/a.txt", "a");
    tmp.Write("work/src/sub/b.txt", "b");
    tmp.Write("work/src/flat/old.txt", "old");
    CCopyAllFiles copy(t.ports);
    ASSERT_TRUE(copy.CopyAllFiles(Src(), Src() / "flat", -1, nullptr));
    EXPECT_EQ(Names(Src() / "flat"), (std::vector<std::string>{"a.txt", "b.txt", "old.txt"}));
    EXPECT_FALSE(copy.CopyAllFiles(Src(), Src(), -1, nullptr));
    EXPECT_FALSE(copy.CopyAllFiles("", Src(), -1, nullptr));
}

TEST_F(CopyAllFilesTest, FailedCopiesAreNotReportedAsSuccess) {
    tmp.Write("work/src/blocked.txt", "x");
    tmp.Write("work/src/fine.txt", "y");
    fs::create_directories(Dst() / "blocked.txt"); // a folder holds the name
    CCopyAllFiles copy(t.ports);
    CCopyAllFiles::CFields f{Src().string(), Dst().string(), -1, "*.*"};
    ASSERT_TRUE(copy.OnCopyAllFiles(f));
    EXPECT_EQ(t.prompt.LastText(), "Can not copy 1 files.");
    EXPECT_EQ(Names(Dst()), (std::vector<std::string>{"blocked.txt", "fine.txt"})); // no temporary leftovers
}

} // namespace
