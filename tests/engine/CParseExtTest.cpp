#include "collections/CParseExt.h"
#include "collections/DirectoryWalk.h"

#include "TestPorts.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

TEST(CParseExtTest, ParsesAndPrintsTheNormalForm) {
    struct Case {
        const char* text;
        std::vector<std::string> tokens;
        const char* printed;
    } cases[] = {
        {"txt; doc,rtf|h", {"txt", "doc", "rtf", "h"}, "txt, doc, rtf, h"},
        {"*.TXT", {"TXT"}, "TXT"},
        {"*.*", {}, "*.*"},
        {" ;, |\t\r\n", {}, "*.*"},
        {"file.txt, *.h;;.cpp", {"txt", "h", "cpp"}, "txt, h, cpp"},
        {"a.b.c", {"c"}, "c"},
        {"txt,txt", {"txt", "txt"}, "txt, txt"},
        {"txt#doc", {"txt", "doc"}, "txt, doc"},
    };
    CScriptedPrompt prompt;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CParseExt f;
        EXPECT_TRUE(f.ParsingExtensionToken(prompt, c.text));
        EXPECT_TRUE(f.IsParsed());
        EXPECT_EQ(f.Tokens(), c.tokens);
        EXPECT_EQ(f.GetExtensionList(), c.printed);
    }
    EXPECT_TRUE(prompt.Shown().empty());
}

TEST(CParseExtTest, EmptyTextIsRefusedAndLeavesNoTokens) {
    CScriptedPrompt prompt;
    CParseExt f;
    ASSERT_TRUE(f.ParsingExtensionToken(prompt, "txt"));
    EXPECT_FALSE(f.ParsingExtensionToken(prompt, ""));
    EXPECT_FALSE(f.IsParsed());
    EXPECT_TRUE(f.Tokens().empty());
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"Error in CParseExt::ParsingExtensionToken(LPCSTR ext)"});
}

TEST(CParseExtTest, KeepsTheFirstTwentyTokensAndLongTokensWhole) {
    std::string list;
    for (int i = 0; i < 25; ++i) list += "e" + std::to_string(i) + ";";
    const std::string longExt(300, 'x');
    list = longExt + ";" + list;
    CScriptedPrompt prompt;
    CParseExt f;
    ASSERT_TRUE(f.ParsingExtensionToken(prompt, list));
    ASSERT_EQ(f.Tokens().size(), 20u);
    EXPECT_EQ(f.Tokens().front(), longExt);
    EXPECT_EQ(f.Tokens().back(), "e18");
    EXPECT_TRUE(f.IsMatch("a." + std::string(300, 'X')));
    EXPECT_FALSE(f.IsMatch("a.e19"));
}

TEST(CParseExtTest, MatchesTheLastExtensionWithoutRegardToCase) {
    CScriptedPrompt prompt;
    CParseExt f;
    ASSERT_TRUE(f.ParsingExtensionToken(prompt, "txt, H"));
    struct Case {
        const char* name;
        bool match;
    } cases[] = {
        {"readme.txt", true},   {"README.TXT", true}, {"x.h", true},   {"Makefile", false},
        {".txt", false},        {"a.txt.bak", false}, {"a.", false},   {"dir.txt/file", false},
        {"/p/x.y/a.TxT", true}, {"a.tx", false},      {"..txt", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(f.IsMatch(c.name), c.match);
    }
    CParseExt all;
    ASSERT_TRUE(all.ParsingExtensionToken(prompt, "*.*"));
    EXPECT_TRUE(all.IsMatch("Makefile"));
    EXPECT_TRUE(all.IsMatch(".hidden"));
}

class WalkTest : public ::testing::Test {
protected:
    std::vector<std::string> Files(const fs::path& root, EWalkResult* result = nullptr) {
        std::vector<std::string> out;
        CWalkCallbacks cb;
        cb.file = [&](const CWalkFile& f) {
            EXPECT_EQ(std::string(f.dir) + "/" + std::string(f.name), f.path);
            out.emplace_back(f.path.substr(root.string().size()));
            return true;
        };
        const EWalkResult r = WalkDirectory(root.string(), cb);
        if (result) *result = r;
        return out;
    }
    CTempHome tmp;
    CScriptedPrompt prompt;
};

TEST_F(WalkTest, VisitsSubfoldersDepthFirstAndSkipsDirectoryLinks) {
    const fs::path root = tmp.Work() / "tree";
    tmp.Write("work/tree/sub/deep/a.txt", "a");
    tmp.Write("work/tree/sub/b.txt", "b");
    tmp.Write("work/tree/c.txt", "c");
    fs::create_symlink(root, root / "sub" / "loop");
    fs::create_symlink(root / "c.txt", root / "link.txt");
    fs::create_symlink(root / "missing", root / "dangling.txt");
    ::mkfifo((root / "pipe.txt").c_str(), 0600);

    EWalkResult r{};
    std::vector<std::string> files = Files(root, &r);
    EXPECT_EQ(r, EWalkResult::Done);
    std::vector<std::string> sorted = files;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{"/c.txt", "/link.txt", "/sub/b.txt", "/sub/deep/a.txt"}));
    // Pre-order: the files of one folder stay together with their subfolders.
    const auto pos = [&](const std::string& s) { return std::find(files.begin(), files.end(), s) - files.begin(); };
    EXPECT_EQ(std::abs(pos("/sub/b.txt") - pos("/sub/deep/a.txt")), 1);

    EXPECT_EQ(Files(root.string() + "/").size(), 4u);
    EXPECT_TRUE(Files(tmp.Work() / "nothing-here").empty());
}

TEST_F(WalkTest, UnlistableFolderAsksAndStopCallbacksEndTheWalk) {
    const fs::path root = tmp.Work() / "t";
    tmp.Write("work/t/locked/x.txt", "x");
    tmp.Write("work/t/y.txt", "y");
    fs::permissions(root / "locked", fs::perms::none);
    // Root lists every folder whatever its permissions.
    if (::geteuid() == 0) SetUnlistableForTest([&](const std::string& d) { return d == (root / "locked").string(); });

    std::vector<std::string> asked;
    CWalkCallbacks cb;
    cb.file = [](const CWalkFile&) { return true; };
    cb.unlistable = [&](const std::string& d) {
        asked.push_back(d);
        return true;
    };
    EXPECT_EQ(WalkDirectory(root.string(), cb), EWalkResult::Done);
    EXPECT_EQ(asked, std::vector<std::string>{(root / "locked").string()});

    cb.unlistable = [](const std::string&) { return false; };
    EXPECT_EQ(WalkDirectory(root.string(), cb), EWalkResult::Failed);

    CParseExt f;
    ASSERT_TRUE(f.ParsingExtensionToken(prompt, "txt"));
    EXPECT_EQ(f.CountMatchingFiles(prompt, root.string(), 100), 1u);
    EXPECT_TRUE(prompt.Shown().empty());
    fs::permissions(root / "locked", fs::perms::owner_all);
    SetUnlistableForTest(nullptr);
}

TEST_F(WalkTest, CountsStopAtTheLimitAndNeedAParsedFilter) {
    for (int i = 0; i < 30; ++i) tmp.Write("work/c/d" + std::to_string(i % 3) + "/f" + std::to_string(i) + ".txt", "");
    tmp.Write("work/c/p.dsp", "");
    tmp.Write("work/c/Q.DSP", "");
    tmp.Write("work/c/rdsp", "");
    const std::string dir = (tmp.Work() / "c").string();

    CParseExt f;
    EXPECT_EQ(f.CountMatchingFiles(prompt, dir, 2000), 0u);
    EXPECT_EQ(prompt.LastText(), "First need to call ParsingExtensionToken()!");
    ASSERT_TRUE(f.ParsingExtensionToken(prompt, "*.TXT"));
    EXPECT_EQ(f.CountMatchingFiles(prompt, dir, 2000), 30u);
    EXPECT_EQ(f.CountMatchingFiles(prompt, dir, 20), 20u);
    EXPECT_EQ(f.CountMatchingFiles(prompt, "", 20), 0u);

    EXPECT_EQ(CParseExt::CountFilesBySuffix(dir, "*.dsp", 100), 2u);
    EXPECT_EQ(CParseExt::CountFilesBySuffix(dir, "", 100), 33u);
    EXPECT_EQ(CParseExt::CountFilesBySuffix(dir, "", 7), 7u);
}

TEST_F(WalkTest, StopBeforeAFileEndsTheWalk) {
    for (int i = 0; i < 5; ++i) tmp.Write("work/s/f" + std::to_string(i), "");
    int before = 0, seen = 0;
    CWalkCallbacks cb;
    cb.beforeFile = [&] { return ++before < 3; };
    cb.file = [&](const CWalkFile&) {
        ++seen;
        return true;
    };
    EXPECT_EQ(WalkDirectory((tmp.Work() / "s").string(), cb), EWalkResult::Stopped);
    EXPECT_EQ(seen, 2);
    cb.beforeFile = nullptr;
    cb.enterDirectory = [](const std::string&) { return false; };
    seen = 0;
    EXPECT_EQ(WalkDirectory((tmp.Work() / "s").string(), cb), EWalkResult::Stopped);
    EXPECT_EQ(seen, 0);
}

} // namespace
