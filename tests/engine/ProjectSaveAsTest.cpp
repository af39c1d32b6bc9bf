#include "filetools/CProjectSaveAs.h"

#include "app/FileAccess.h"

#include "TestPorts.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

using EVariant = CProjectSaveAs::EVariant;

class ProjectSaveAsTest : public ::testing::Test {
protected:
    // A project folder with its build folders, object files, a hidden and an extensionless file.
    fs::path MakeOldProject() {
        fs::copy(fs::path(QUILLBOX_TEST_DATA) / "saveas" / "Old", tmp.Work() / "Old", fs::copy_options::recursive);
        return tmp.Work() / "Old" / "Old.dsp";
    }
    CTempHome tmp;
    CTestPorts t;
};

TEST_F(ProjectSaveAsTest, VariantsRenameNamesAndTextsOrCopyUnchanged) {
    const fs::path oldFile = MakeOldProject();
    CProjectSaveAs saveAs(t.ports, EVariant::Vs);
    const fs::path newFile = tmp.Work() / "New" / "New.dsp";
    ASSERT_TRUE(saveAs.Accept(oldFile.string(), newFile.string()));
    ASSERT_TRUE(saveAs.CopyProject(oldFile, newFile));

    const fs::path n = tmp.Work() / "New";
    EXPECT_EQ(ReadFileBytes(n / "New.cpp"), "#include \"NewDoc.h\"\r\n#ifndef NEW_H\r\nint New_var;\r\n");
    EXPECT_EQ(ReadFileBytes(n / "NewView.h"), "class CNewView;\r\n");
    EXPECT_EQ(ReadFileBytes(n / "New.dsp"), "# Project New\r\nSOURCE=.\\New.cpp\r\n");
    EXPECT_EQ(ReadFileBytes(n / "res" / "New.ico"), "ICON Old");     // copied unchanged
    EXPECT_EQ(ReadFileBytes(n / "Sub" / "Debug" / "deep.h"), "New"); // only the top folder counts
    for (const char* absent : {"Debug", "release", "New.obj", "New.pch", "readme", ".New.h", ".Old.h"})
        EXPECT_FALSE(fs::exists(n / absent)) << absent;
    EXPECT_EQ(saveAs.FilesCopied(), 5u);
    EXPECT_EQ(t.prompt.LastText(), "5 files was copied.");
    EXPECT_EQ(t.settings.GetString("Property", "oldProjFile", ""), oldFile.string());
    EXPECT_EQ(t.settings.GetString("Property", "newProjFile", ""), newFile.string());
    EXPECT_FALSE(t.busy.waitCursor);

    // A lower-case new name is raised where the old one was not; file names take it as typed.
    ASSERT_TRUE(CProjectSaveAs(t.ports, EVariant::Vs).CopyProject(oldFile, tmp.Work() / "new" / "new.dsp"));
    EXPECT_EQ(ReadFileBytes(tmp.Work() / "new/new.cpp"), "#include \"NewDoc.h\"\r\n#ifndef NEW_H\r\nint new_var;\r\n");
    EXPECT_TRUE(fs::exists(tmp.Work() / "new/newView.h"));

    // Any project copies every kind unchanged.
    CProjectSaveAs any(t.ports, EVariant::Any);
    ASSERT_TRUE(any.CopyProject(oldFile, tmp.Work() / "Any" / "Any.prj"));
    const fs::path a = tmp.Work() / "Any";
    EXPECT_EQ(ReadFileBytes(a / "Any.obj"), "obj");
    EXPECT_EQ(ReadFileBytes(a / "Any.cpp"), "#include \"OldDoc.h\"\r\n#ifndef OLD_H\r\nint old_var;\r\n");
    EXPECT_FALSE(fs::exists(a / "readme") || fs::exists(a / "Debug"));
    EXPECT_EQ(any.FilesCopied(), 7u);
}

TEST_F(ProjectSaveAsTest, RenameInTextRules) {
    const struct {
        const char *text, *oldName, *newName, *expected;
    } cases[] = {
        {"Old OLD old oLd", "Old", "New", "New NEW New New"},
        {"Old OLD old oLd", "Old", "new", "New NEW new new"},
        {"xxOld", "Old", "N", "xxN"},               // occurrence ending at the end of the text
        {"Ol", "Old", "New", "Ol"},                 // shorter than the name
        {"_old 1old", "old", "New", "_New 1New"},   // not lower-case: raised (already upper)
        {"_old OLD_x", "old", "new", "_new NEW_x"}, // lower-case start: kept as typed
        {"aaa", "a", "aa", "aaaaaa"},               // scanning resumes after the inserted name
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CProjectSaveAs::RenameInText(c.text, c.oldName, c.newName), c.expected);
    }
}

TEST_F(ProjectSaveAsTest, DialogChecksInOrder) {
    const fs::path oldFile = MakeOldProject();
    const std::string old = oldFile.string();
    const std::string other = tmp.Write("work/P/p.mak", "x").string();
    const struct {
        EVariant variant;
        std::string oldFile, newFile, message;
    } cases[] = {
        {EVariant::Vs, "", "ab", "Is not right new file name."},
        {EVariant::Vs, "", "/x/new.mak", "A new file name must be \".dsp\" type."},
        {EVariant::Vs, "ab", "/x/new.dsp", "Is not right sourse file name."},
        {EVariant::Vs, "/nowhere/Old.dsp", "/x/new.dsp", "Sourse file is not existent."},
        {EVariant::Vs, other, "/x/new.dsp", "A sourse file name must be \".dsp\" type."},
        {EVariant::Any, other, "/x/new.mak", ""},
        {EVariant::Vs, old, "/x/New.DSP", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.newFile + " / " + c.oldFile);
        t.prompt.Clear();
        CProjectSaveAs saveAs(t.ports, c.variant);
        EXPECT_EQ(saveAs.Accept(c.oldFile, c.newFile), c.message.empty());
        EXPECT_EQ(t.prompt.LastText(), c.message);
    }
    EXPECT_FALSE(CProjectSaveAs::IsOkEnabled("", "x"));
    EXPECT_TRUE(CProjectSaveAs::IsOkEnabled("a", "x"));
}

TEST_F(ProjectSaveAsTest, ProgressAboveOneHundredFiles) {
    for (int files : {100, 101}) {
        SCOPED_TRACE(files);
        const fs::path src = tmp.Work() / ("P" + std::to_string(files));
        for (int i = 0; i < files - 1; ++i) tmp.Write(src / ("f" + std::to_string(i) + ".txt"), "t");
        tmp.Write(src / "P.dsp", "P");
        CTestPorts ports;
        CProjectSaveAs saveAs(ports.ports, EVariant::Vs);
        ASSERT_TRUE(saveAs.CopyProject(src / "P.dsp", tmp.Work() / ("Q" + std::to_string(files)) / "Q.dsp"));
        EXPECT_EQ(ports.progress.log.opened, files > 100 ? 1 : 0);
        if (files > 100) {
            EXPECT_EQ(ports.progress.log.range, 101);
            ASSERT_FALSE(ports.progress.log.labels.empty());
            EXPECT_EQ(ports.progress.log.labels[0], "Files prepared: 1");
        }
        EXPECT_EQ(saveAs.FilesCopied(), std::uint64_t(files));
    }
}

TEST_F(ProjectSaveAsTest, StopEndsTheWalkAndStillReportsTheCount) {
    const fs::path src = tmp.Work() / "Big";
    for (int i = 0; i < 150; ++i) tmp.Write(src / ("f" + std::to_string(i) + ".txt"), "t");
    tmp.Write(src / "Big.dsp", "Big");
    t.progress.log.stopAtQuery = 20;
    CProjectSaveAs saveAs(t.ports, EVariant::Vs);
    ASSERT_TRUE(saveAs.CopyProject(src / "Big.dsp", tmp.Work() / "Small" / "Small.dsp"));
    EXPECT_LT(saveAs.FilesCopied(), 20u);
    EXPECT_GT(saveAs.FilesCopied(), 0u);
    EXPECT_EQ(t.prompt.LastText(), std::to_string(saveAs.FilesCopied()) + " files was copied.");
}

TEST_F(ProjectSaveAsTest, TargetInsideSourceIsNotCopiedAgain) {
    const fs::path oldFile = MakeOldProject();
    CProjectSaveAs saveAs(t.ports, EVariant::Any);
    ASSERT_TRUE(saveAs.CopyProject(oldFile, tmp.Work() / "Old" / "Copy" / "Copy.dsp"));
    EXPECT_TRUE(fs::exists(tmp.Work() / "Old" / "Copy" / "Copy.cpp"));
    EXPECT_FALSE(fs::exists(tmp.Work() / "Old" / "Copy" / "Copy"));
    // Saving into the source folder itself never rewrites the source files.
    CProjectSaveAs same(t.ports, EVariant::Vs);
    ASSERT_TRUE(same.CopyProject(oldFile, tmp.Work() / "Old" / "Twin.dsp"));
    EXPECT_EQ(ReadFileBytes(tmp.Work() / "Old" / "Old.cpp"),
              "#include \"OldDoc.h\"\r\n#ifndef OLD_H\r\nint old_var;\r\n");
    EXPECT_EQ(ReadFileBytes(tmp.Work() / "Old" / "Twin.cpp"),
              "#include \"TwinDoc.h\"\r\n#ifndef TWIN_H\r\nint Twin_var;\r\n");
}

TEST_F(ProjectSaveAsTest, ReadOnlySourceGivesAWritableCopyAndFailuresAreReported) {
    const fs::path oldFile = MakeOldProject();
    SetFileAttribute(tmp.Work() / "Old" / "res" / "Old.ico", kAttrReadOnly);
    const fs::path target = tmp.Work() / "New";
    tmp.Write("work/New/res/New.ico", "locked");
    SetFileAttribute(target / "res" / "New.ico", kAttrReadOnly);
    t.prompt.AnswerNo(); // "Access to file ... is denied." stops the copy
    CProjectSaveAs saveAs(t.ports, EVariant::Vs);
    ASSERT_TRUE(saveAs.CopyProject(oldFile, target / "New.dsp"));
    const auto texts = t.prompt.Texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[texts.size() - 2], "Access to file\r\n" + (target / "res" / "New.ico").string() +
                                           "\r\nis denied.\r\n\r\nWish you to continua?");
    EXPECT_EQ(ReadFileBytes(target / "res" / "New.ico"), "locked");

    fs::remove(target / "res" / "New.ico");
    CProjectSaveAs again(t.ports, EVariant::Vs);
    ASSERT_TRUE(again.CopyProject(oldFile, target / "New.dsp"));
    EXPECT_EQ(*GetFileAttributeByte(target / "res" / "New.ico"), kAttrArchive);
}

class CFixedFreeSpace : public CVolumeProbe {
public:
    std::uint64_t FreeBytes(const fs::path&) const override { return 100010; }
};

// The free space counted during a copy falls with the files copied unchanged only; the
// rewritten ones are checked by the writer against the real space.
TEST(ProjectSaveAsFreeSpace, RewrittenFilesLeaveTheCountAsItWas) {
    CTempHome tmp;
    CTestPorts t;
    CFixedFreeSpace volume;
    SetVolumeProbe(&volume);
    tmp.Write("work/Old/Old.dsp", "Old");
    tmp.Write("work/Old/a.cpp", std::string(100005, 'a'));
    tmp.Write("work/Old/b.cpp", std::string(100005, 'b'));
    CProjectSaveAs saveAs(t.ports, EVariant::Vs);
    const bool ran = saveAs.CopyProject(tmp.Work() / "Old" / "Old.dsp", tmp.Work() / "New" / "New.dsp");
    SetVolumeProbe(nullptr);
    ASSERT_TRUE(ran);
    EXPECT_EQ(t.prompt.Texts(), std::vector<std::string>{"3 files was copied."});
    EXPECT_EQ(std::make_tuple(saveAs.FilesCopied(), saveAs.FilesFailed()), std::make_tuple(3u, 0u));
}

} // namespace
