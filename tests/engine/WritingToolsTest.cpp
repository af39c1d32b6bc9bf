// What every tool that writes many files owes the user: the right files (a target above the
// source, links, a file reached twice), and never a lost file (files the user may not write;
// failed rewrites of every tool are in WriteFaultsTest).
#include "app/CFileWriter.h"
#include "app/FileAccess.h"
#include "collections/CCollections.h"
#include "filetools/CFileInfo.h"
#include "filetools/CReplaceInFiles.h"
#include "filetools/FileCopy.h"

#include "TestPorts.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class CAnsweredWarning : public CReadOnlyWarning {
public:
    CAnswer Ask(std::string_view text) override {
        texts.emplace_back(text);
        return {false, false};
    }
    std::vector<std::string> texts;
};

mode_t ModeOf(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

class WritingToolsTest : public ::testing::Test {
protected:
    void TearDown() override { SetWriteFailureForTest(std::nullopt); }
    // Replace "old" by "new" in the *.txt files under dir, answering the continue question Yes.
    CReplaceInFiles::CCounts Replace(const fs::path& dir, const char* from = "old", const char* to = "new") {
        CReplaceScope scope;
        scope.baseDirectory = dir.string();
        CReplaceInFiles replace(t.ports, warning, scope);
        CReplaceInFiles::CTexts texts{from, to, "", "", "txt"};
        t.prompt.AnswerYes();
        EXPECT_EQ(replace.OnOk(texts), CReplaceInFiles::EOk::Ran);
        failed = replace.Failed();
        return replace.Counts();
    }
    CTempHome tmp;
    CTestPorts t;
    CAnsweredWarning warning;
    std::uint64_t failed = 0;
};

TEST(ExcludedFolder, LeavesOutOnlyATargetBelowTheSource) {
    CTempHome tmp;
    for (const char* d : {"a/b/c", "x"}) fs::create_directories(tmp.Work() / d);
    const fs::path w = tmp.Work();
    const struct {
        fs::path source, target, dir;
        bool excluded;
    } cases[] = {
        {w / "a", w / "a/b", w / "a/b", true}, {w / "a", w / "a/b", w / "a/b/c", true},
        {w / "a", w / "a/b", w / "a", false},  {w / "a/b", w / "a", w / "a/b/c", false}, // target above
        {w / "a/b", "/", w / "a/b/c", false},  {w / "a", w / "a", w / "a/b", false},     // target is source
        {w / "a", w / "x", w / "a/b", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source.string() + " -> " + c.target.string() + " at " + c.dir.string());
        CExcludedFolder excluded(c.source, c.target);
        EXPECT_EQ(excluded.Contains(c.dir.string()), c.excluded);
    }
}

// Replace judges write permission as the writer does: a file of someone else's that this user
// may not write is skipped like one that cannot be opened, without the read-only question
// (which ReplaceInFilesTest pins for a read-only file).
TEST_F(WritingToolsTest, ReplaceSkipsFilesTheUserMayNotWrite) {
    const fs::path file = tmp.Write("work/theirs/a.txt", "old");
    ::chmod(file.c_str(), 0644);
    // Root really owns nothing here; the seam plays the user without root's override.
    (void)!::chown(file.c_str(), 12345, 12345);
    SetWriteFailureForTest(CWriteFailure{.notWritable = {file}});
    const CReplaceInFiles::CCounts counts = Replace(tmp.Work() / "theirs");
    SetWriteFailureForTest(std::nullopt);
    EXPECT_TRUE(warning.texts.empty());
    EXPECT_EQ(ReadFileBytes(file), "old");
    EXPECT_EQ(std::make_tuple(counts.found, counts.opened, counts.replaced, failed), std::make_tuple(1u, 0u, 0u, 0u));
    EXPECT_EQ(ModeOf(file), 0644u);
}

// A link to a file of the tree is that file, taken once; a link out of the chosen folder is
// passed over, and nothing is changed through a link.
TEST_F(WritingToolsTest, LinksLeadNowhereOutsideAndToEachFileOnce) {
    enum class ETool { Replace, AttributesInTree, AttributesOfCollection };
    const struct {
        const char* name;
        ETool tool;
    } cases[] = {{"replace", ETool::Replace},
                 {"attributes in a tree", ETool::AttributesInTree},
                 {"attributes of a collection", ETool::AttributesOfCollection}};
    int run = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path root = tmp.Work() / ("run" + std::to_string(run++));
        const fs::path inside = tmp.Write((root / "tree" / "doc.txt").lexically_relative(tmp.Root()), "version 1");
        const fs::path secret =
            tmp.Write((root / "outside" / "secret.txt").lexically_relative(tmp.Root()), "version 1");
        ::chmod(secret.c_str(), 0640);
        const fs::path tree = root / "tree";
        fs::create_symlink("doc.txt", tree / "again.txt");
        fs::create_symlink("../outside/secret.txt", tree / "link.txt");

        if (c.tool == ETool::Replace) {
            const CReplaceInFiles::CCounts counts = Replace(tree, "version 1", "version 1.1");
            EXPECT_EQ(ReadFileBytes(inside), "version 1.1");
            EXPECT_EQ(std::make_tuple(counts.candidates, counts.found, counts.opened, counts.replaced),
                      std::make_tuple(1u, 1u, 1u, 1u));
        } else {
            CCollections collections(t.ports, tmp.Home());
            CFileInfo info(t.ports, collections);
            bool ok = false;
            if (c.tool == ETool::AttributesInTree) {
                ok = info.SetAttributesInTree(tree.string(), kAttrReadOnly);
            } else {
                const fs::path file =
                    tmp.Write("home/tree.inf", "#Tree#" + tree.string() + "##\r\n" + (tree / "doc.txt").string() +
                                                   "##\r\n" + (tree / "link.txt").string() + "##\r\n" +
                                                   (tree / "again.txt").string() + "##\r\n");
                ok = info.SetAttributesForCollectionFile(file, tree, kAttrReadOnly);
            }
            EXPECT_TRUE(ok);
            EXPECT_EQ(ModeOf(inside) & 0222, 0u);
        }
        EXPECT_EQ(ReadFileBytes(secret), "version 1");
        EXPECT_EQ(ModeOf(secret), 0640u);
        EXPECT_TRUE(fs::is_symlink(tree / "link.txt"));
    }
}

} // namespace
