#include "CliRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

class CliCollectionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        tmp.Write("work/docs/a.txt", "a");
        tmp.Write("work/docs/sub/b.TXT", "b");
        tmp.Write("work/docs/c.doc", "c");
        dir = (tmp.Work() / "docs").string();
    }
    std::string Location(const char* rel) const { return (fs::path(dir) / rel).string(); }
    CTempHome tmp;
    std::string dir;
};

TEST_F(CliCollectionsTest, RefreshCreatesListsAndRescans) {
    CCliResult r = RunCli({"refresh", dir, "--ext", "*.txt", "--name", "Docs", "--description", "My docs"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const fs::path inf = Lines(r.out).at(0);
    EXPECT_EQ(inf.parent_path(), tmp.Home());
    EXPECT_EQ(ReadFileBytes(inf).substr(0, ReadFileBytes(inf).find("\r\n")), "#Docs#" + dir + "#My docs#txt");
    EXPECT_TRUE(r.err.empty());

    r = RunCli({"list", dir});
    ASSERT_EQ(r.exitCode, 0);
    auto lines = Lines(r.out);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{Location("a.txt") + "\t\t", Location("sub/b.TXT") + "\t\t"}));

    ASSERT_EQ(RunCli({"describe", dir, Location("A.TXT"), "first file"}).exitCode, 0);
    tmp.Write("work/docs/new.txt", "");
    // The rescan needs consent: without --yes the file stays as it was.
    r = RunCli({"refresh", dir});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Collection was changed!\n\nWas 2 files.\nNow 3\n"), std::string::npos) << r.err;
    EXPECT_EQ(Lines(RunCli({"list", dir}).out).size(), 2u);
    r = RunCli({"--yes", "refresh", dir, "--ext", "doc"});
    EXPECT_EQ(r.exitCode, 0);
    lines = Lines(RunCli({"list", dir}).out);
    EXPECT_EQ(lines.size(), 3u);
    EXPECT_NE(std::find(lines.begin(), lines.end(), Location("a.txt") + "\tfirst file\t"), lines.end());
}

TEST_F(CliCollectionsTest, DescribeAndGroupRefuseUnsafeTextAndUnknownFiles) {
    ASSERT_EQ(RunCli({"refresh", dir, "--ext", "txt"}).exitCode, 0);
    const fs::path inf = Lines(RunCli({"refresh", dir}).out).at(0);
    const std::string before = ReadFileBytes(inf);
    CCliResult r = RunCli({"describe", dir, Location("a.txt"), "bad # text"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.err.empty());
    EXPECT_EQ(RunCli({"describe", dir, Location("a.txt"), "two\nlines"}).exitCode, 1);
    EXPECT_EQ(RunCli({"group", dir, Location("a.txt"), "add", "x#y"}).exitCode, 1);
    r = RunCli({"describe", dir, Location("none.txt"), "text"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Can not find file:\n" + Location("none.txt") + "\n");
    EXPECT_EQ(ReadFileBytes(inf), before);

    r = RunCli({"group", dir, Location("a.txt"), "add", "work", "Home"});
    EXPECT_EQ(r.out, "work; Home\n");
    EXPECT_EQ(RunCli({"group", dir, Location("a.txt"), "add", "WORK"}).out, "work; Home\n");
    EXPECT_EQ(RunCli({"group", dir, Location("a.txt"), "remove", "work"}).out, "Home\n");
    EXPECT_EQ(RunCli({"group", dir, Location("a.txt"), "clear"}).out, "\n");
    EXPECT_EQ(RunCli({"group", dir, Location("a.txt"), "rename"}).exitCode, 2);
}

TEST_F(CliCollectionsTest, FavoritesAndCatalogue) {
    EXPECT_EQ(RunCli({"catalogue"}).exitCode, 1);
    EXPECT_EQ(RunCli({"list", "--favorites"}).exitCode, 1);
    ASSERT_EQ(RunCli({"refresh", dir, "--ext", "txt", "--name", "Docs"}).exitCode, 0);
    ASSERT_EQ(RunCli({"describe", dir, Location("a.txt"), "liked"}).exitCode, 0);
    EXPECT_EQ(RunCli({"favorite", "add", dir, Location("a.txt")}).exitCode, 0);
    EXPECT_EQ(RunCli({"favorite", "add", dir, Location("A.txt")}).exitCode, 0);
    EXPECT_EQ(RunCli({"list", "--favorites"}).out, Location("a.txt") + "\tliked\t\n");

    const auto cat = Lines(RunCli({"catalogue"}).out);
    ASSERT_EQ(cat.size(), 2u);
    const bool docsFirst = cat[0].find("\tDocs\t") != std::string::npos;
    EXPECT_EQ(cat[docsFirst ? 0 : 1].substr(cat[docsFirst ? 0 : 1].find('\t')), "\tDocs\t" + dir + "\t");
    EXPECT_EQ(cat[docsFirst ? 1 : 0], (tmp.Home() / "favorite_collection.inf").string() + "\tFavorites\t\t");

    EXPECT_EQ(RunCli({"favorite", "delete", "/nowhere"}).exitCode, 1);
    EXPECT_EQ(RunCli({"favorite", "delete", Location("a.txt")}).exitCode, 0);
    EXPECT_FALSE(fs::exists(tmp.Home() / "favorite_collection.inf"));
}

TEST_F(CliCollectionsTest, RefreshRefusesNamesTheCollectionDialogsRefuse) {
    // The name rules are the collection dialogs'; one refused character, empty and the length bound.
    for (const std::string& name : std::vector<std::string>{"", "a#b", std::string(257, 'n')}) {
        SCOPED_TRACE(name);
        const CCliResult r = RunCli({"refresh", dir, "--name", name});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "Please, insert a real collection name.\n");
        EXPECT_EQ(RunCli({"catalogue"}).exitCode, 1);
    }
    EXPECT_EQ(RunCli({"refresh", dir, "--name", std::string(256, 'n')}).exitCode, 0);
}

TEST_F(CliCollectionsTest, RemovingAGroupTheFileDoesNotHaveIsAnError) {
    ASSERT_EQ(RunCli({"refresh", dir, "--ext", "txt"}).exitCode, 0);
    ASSERT_EQ(RunCli({"group", dir, Location("a.txt"), "add", "work"}).exitCode, 0);
    const CCliResult r = RunCli({"group", dir, Location("a.txt"), "remove", "home"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Can not find group:\nhome\n");
    EXPECT_NE(RunCli({"list", dir}).out.find("\twork\n"), std::string::npos);
}

} // namespace
