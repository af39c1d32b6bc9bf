// What every tool that writes many files owes the user: the right files (a target above the
// source, links, a file reached twice), and never a lost file (failed rewrites, files the user
// may not write).
#include "app/CFileWriter.h"
#include "app/FileAccess.h"
#include "collections/CCollections.h"
#include "filetools/CCopyAllFiles.h"
#include "filetools/CFileInfo.h"
#include "filetools/CProjectSaveAs.h"
#include "filetools/CReplaceInFiles.h"
#include "filetools/CTreeGuard.h"
#include "filetools/FileCopy.h"

#include "TestPorts.h"

#include <gtest/gtest.h>

#include <deque>
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
        {w / "a", w / "a/b", w / "a/b", true},   {w / "a", w / "a/b", w / "a/b/c", true},
        {w / "a", w / "a/b", w / "a", false},    {w / "a/b", w / "a", w / "a/b/c", false}, // target above
        {w / "a/b", "/", w / "a/b/c", false},    {w / "a", w / "a", w / "a/b", false},     // target is source
        {w / "a", w / "x", w / "a/b", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source.string() + " -> " + c.target.string() + " at " + c.dir.string());
        CExcludedFolder excluded(c.source, c.target);
        EXPECT_EQ(excluded.Contains(c.dir.string()), c.excluded);
    }
}

TEST_F(WritingToolsTest, ATargetAboveTheSourceCopiesEveryFile) {
    tmp.Write("work/proj/Old/Old.dsp", "Old");
    tmp.Write("work/proj/Old/Old.cpp", "int Old;");
    tmp.Write("work/photos/2020/a.jpg", "a");
    tmp.Write("work/photos/2020/may/b.jpg", "b");
    {
        CProjectSaveAs saveAs(t.ports, CProjectSaveAs::EVariant::Vs);
        ASSERT_TRUE(saveAs.CopyProject(tmp.Work() / "proj/Old/Old.dsp", tmp.Work() / "proj/New.dsp"));
        EXPECT_EQ(t.prompt.LastText(), "2 files was copied.");
        EXPECT_EQ(ReadFileBytes(tmp.Work() / "proj/New.cpp"), "int New;");
    }
    {
        CCopyAllFiles copy(t.ports);
        ASSERT_TRUE(copy.CopyAllFiles(tmp.Work() / "photos/2020", tmp.Work() / "photos", -1, nullptr));
        EXPECT_EQ(copy.Copied(), 2u);
        EXPECT_EQ(ReadFileBytes(tmp.Work() / "photos/b.jpg"), "b");
    }
}

// A rewrite that fails keeps the old text and is counted as failed (the faults themselves, for
// every tool, are in WriteFaultsTest); no temporary file is left beside the old one.
TEST_F(WritingToolsTest, FailedRewritesKeepTheOldTextAndAreCounted) {
    const fs::path notes = tmp.Write("work/r/notes.txt", "old precious text");
    SetWriteFailureForTest(CWriteFailure{.steps = {EWriteStep::Write}, .afterBytes = 3});
    const CReplaceInFiles::CCounts counts = Replace(tmp.Work() / "r");
    EXPECT_EQ(std::make_tuple(counts.found, counts.opened, counts.replaced, failed), std::make_tuple(1u, 0u, 0u, 1u));
    EXPECT_EQ(t.prompt.LastText(), "Found 1 files, was opened 0 files\r\nReplaced 0 words.");

    tmp.Write("work/s/Old/Old.cpp", "int Old;");
    const fs::path cpp = tmp.Write("work/s/New/New.cpp", "old precious text");
    SetWriteFailureForTest(CWriteFailure{.steps = {EWriteStep::Sync}});
    CProjectSaveAs saveAs(t.ports, CProjectSaveAs::EVariant::Vs);
    ASSERT_TRUE(saveAs.CopyProject(tmp.Work() / "s/Old/Old.cpp", cpp));
    EXPECT_EQ(std::make_tuple(saveAs.FilesCopied(), saveAs.FilesFailed()), std::make_tuple(0u, 1u));
    const std::vector<std::string> shown = t.prompt.Texts();
    for (const fs::path& victim : {notes, cpp}) {
        SCOPED_TRACE(victim);
        EXPECT_EQ(ReadFileBytes(victim), "old precious text");
        EXPECT_NE(std::find(shown.begin(), shown.end(), "Can not open file for writing:\r\n" + victim.string()), shown.end());
        EXPECT_EQ(std::distance(fs::directory_iterator(victim.parent_path()), fs::directory_iterator()), 1);
    }
}

// Replace judges write permission as the writer does: a file of someone else's that this user
// may not write is skipped like one that cannot be opened; only a read-only file gets the
// question.
TEST_F(WritingToolsTest, ReplaceSkipsFilesTheUserMayNotWrite) {
    const struct {
        const char* name;
        mode_t mode;
        bool userMayWrite, asked, replaced;
    } cases[] = {
        {"own file", 0644, true, false, true},
        {"someone else's, readable to all", 0644, false, false, false},
        {"read-only", 0444, false, true, false},
    };
    int run = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path dir = tmp.Work() / ("run" + std::to_string(run++));
        const fs::path file = tmp.Write((dir / "a.txt").lexically_relative(tmp.Root()), "old");
        ::chmod(file.c_str(), c.mode);
        // Root really owns nothing here; the seam plays the user without root's override.
        if (!c.userMayWrite) {
            (void)!::chown(file.c_str(), 12345, 12345);
            SetWriteFailureForTest(CWriteFailure{.notWritable = {file}});
        }
        warning.texts.clear();
        const CReplaceInFiles::CCounts counts = Replace(dir);
        SetWriteFailureForTest(std::nullopt);
        EXPECT_EQ(!warning.texts.empty(), c.asked);
        EXPECT_EQ(ReadFileBytes(file), c.replaced ? "new" : "old");
        EXPECT_EQ(std::make_tuple(counts.found, counts.opened, counts.replaced, failed),
                  std::make_tuple(1u, c.replaced ? 1u : 0u, c.replaced ? 1u : 0u, 0u));
        EXPECT_EQ(ModeOf(file), c.mode);
    }
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
        const fs::path secret = tmp.Write((root / "outside" / "secret.txt").lexically_relative(tmp.Root()), "version 1");
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
                const fs::path file = tmp.Write("home/tree.inf", "#Tree#" + tree.string() + "##\r\n" + (tree / "doc.txt").string() +
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
