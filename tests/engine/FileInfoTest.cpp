#include "filetools/CFileInfo.h"

#include "app/FileAccess.h"
#include "collections/CCollections.h"
#include "collections/DirectoryWalk.h"

#include "TestPorts.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class FileInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        a = tmp.Write("work/docs/a.txt", "aaaa");
        b = tmp.Write("work/docs/sub/b.txt", "b");
        unlisted = tmp.Write("work/docs/sub/c.log", "c");
        const std::string dir = (tmp.Work() / "docs").string();
        collectionFile = tmp.Home() / (CCollectionStore::MakeCollectionFileName(dir) + ".inf");
        tmp.Write(collectionFile.lexically_relative(tmp.Root()),
                  "#Docs#" + dir + "##txt\r\n" + a.string() + "##\r\n" + b.string() + "#d#g\r\n");
        collections.Store().SetCollectionFilePath(collectionFile);
        collections.Store().SetBaseDirectory(dir);
        ASSERT_EQ(collections.Store().LoadCollection(), 2u);
    }
    void TearDown() override { SetUnlistableForTest(nullptr); }
    CTempHome tmp;
    CTestPorts t;
    CCollections collections{t.ports, tmp.Home()};
    fs::path a, b, unlisted, collectionFile;
};

TEST_F(FileInfoTest, DialogRules) {
    SetFileAttribute(a, kAttrReadOnly);
    CFileInfoDlgModel m = CFileInfoDlgModel::ForFile(a.string(), *ReadFileStatus(a), false);
    EXPECT_EQ(m.FolderText(), (tmp.Work() / "docs").string());
    EXPECT_EQ(m.Name(), "a.txt");
    EXPECT_EQ(m.SizeText(), "File size: 4 byte");
    EXPECT_TRUE(m.Attribute(kAttrArchive) && m.Attribute(kAttrReadOnly));
    EXPECT_FALSE(m.OkEnabled());
    m.SetName("b.txt");
    EXPECT_TRUE(m.OkEnabled());
    m.SetName("a.txt");
    EXPECT_FALSE(m.OkEnabled());
    m.SetAttribute(kAttrArchive, false);
    m.SetAttribute(kAttrReadOnly, false);
    EXPECT_TRUE(m.OkEnabled());
    EXPECT_EQ(m.AttributeByte(), 0);
    m.SetAttribute(kAttrArchive, true);
    m.SetAttribute(kAttrReadOnly, true);
    EXPECT_FALSE(m.OkEnabled());

    CFileInfoDlgModel c = CFileInfoDlgModel::ForCollections({}, -1, true);
    EXPECT_FALSE(c.Accept(t.ports));
    EXPECT_EQ(t.prompt.Shown().back().text, "Choose a collection, please.");
    EXPECT_EQ(t.prompt.Shown().back().caption, "Common File Attribute");
}

TEST_F(FileInfoTest, FileModeClearsArchiveAndReadOnly) {
    SetFileAttribute(a, kAttrReadOnly);
    CFileInfo info(t.ports, collections);
    info.Hooks().dialog = [&](CFileInfoDlgModel& m) {
        m.SetAttribute(kAttrArchive, false);
        m.SetAttribute(kAttrReadOnly, false);
        EXPECT_EQ(m.AttributeByte(), 0);
        m.SetApplyAllChecked(true);
        return m.Accept(t.ports);
    };
    t.prompt.AnswerNo(); // apply to all: No still sets the single file
    info.OnFileInfo(0);
    EXPECT_EQ(t.prompt.LastText(), "All files of collection will changing atribute.\r\n\r\nAre you sure?");
    EXPECT_EQ(*GetFileAttributeByte(a), kAttrArchive); // archive cannot be cleared here
    EXPECT_EQ(t.settings.GetInt("LocalOption", "checkMakeAllAttributes", 0), 1);

    // Apply to all with Yes sets every file the collection lists, the renamed one included.
    info.Hooks().dialog = [&](CFileInfoDlgModel& m) {
        m.SetAttribute(kAttrReadOnly, true);
        m.SetName("z.txt");
        return m.Accept(t.ports);
    };
    info.Hooks().renameFile = [&](std::string_view name) {
        const fs::path to = a.parent_path() / std::string(name);
        fs::rename(a, to);
        std::vector<CCollectionRecord> records = collections.Store().Records();
        records[0].location = to.string();
        collections.Store().ReplaceRecords(records);
        return true;
    };
    t.prompt.AnswerYes();
    info.OnFileInfo(0);
    EXPECT_EQ(*GetFileAttributeByte(a.parent_path() / "z.txt"), kAttrArchive | kAttrReadOnly);
    EXPECT_EQ(*GetFileAttributeByte(b), kAttrArchive | kAttrReadOnly);
    EXPECT_EQ(*GetFileAttributeByte(unlisted), kAttrArchive);
}

TEST_F(FileInfoTest, MissingFileOffersToDropTheRecord) {
    fs::remove(b);
    CFileInfo info(t.ports, collections);
    bool refilled = false;
    info.Hooks().refillWindow = [&] { refilled = true; };
    t.prompt.AnswerNo();
    info.OnFileInfo(1);
    EXPECT_EQ(collections.Store().RecordCount(), 2u);
    t.prompt.AnswerYes();
    info.OnFileInfo(1);
    EXPECT_EQ(t.prompt.Shown().back().text,
              "File \"" + b.string() + "\" is not exist now.\r\nWhat do you like to delete it from collection?");
    EXPECT_EQ(t.prompt.Shown().back().caption, "File Info");
    EXPECT_TRUE(refilled);
    EXPECT_EQ(collections.Store().RecordCount(), 1u);
    EXPECT_EQ(ReadFileBytes(collectionFile).find(b.string()), std::string::npos);
}

// The file goes away while its dialog is open: the change cannot be made, and that is said.
TEST_F(FileInfoTest, ASingleFileThatCannotBeChangedIsSaid) {
    CFileInfo info(t.ports, collections);
    info.Hooks().dialog = [&](CFileInfoDlgModel& m) {
        m.SetAttribute(kAttrReadOnly, true);
        fs::remove(a);
        return m.Accept(t.ports);
    };
    info.OnFileInfo(0);
    EXPECT_EQ(t.prompt.LastText(), "Can not set attributes of file:\r\n" + a.string());
}

TEST_F(FileInfoTest, CollectionModeSetsEveryFileUnderTheBaseDirectory) {
    CFileInfo info(t.ports, collections);
    info.Hooks().dialog = [&](CFileInfoDlgModel& m) {
        EXPECT_TRUE(m.CollectionMode());
        EXPECT_EQ(m.CollectionFiles().size(), 1u);
        m.SetComboIndex(0);
        m.SetAttribute(kAttrReadOnly, true);
        m.SetApplyAllChecked(true);
        return m.Accept(t.ports);
    };
    t.prompt.AnswerYes();
    info.OnFileInfo(std::nullopt);
    EXPECT_EQ(t.prompt.LastText(), "Operation was successful complete.");
    for (const fs::path& p : {a, b, unlisted}) EXPECT_EQ(*GetFileAttributeByte(p), kAttrArchive | kAttrReadOnly) << p;
    EXPECT_FALSE(t.busy.waitCursor);
    EXPECT_TRUE(t.busy.frameEnabled);
}

TEST_F(FileInfoTest, UnlistableFolderAsksAndCollectionWideFailuresAreSaid) {
    const std::string sub = (tmp.Work() / "docs" / "sub").string();
    SetUnlistableForTest([&](const std::string& dir) { return dir == sub; });
    CFileInfo info(t.ports, collections);
    t.prompt.AnswerNo();
    EXPECT_FALSE(info.SetAttributesInTree((tmp.Work() / "docs").string(), kAttrArchive));
    EXPECT_EQ(t.prompt.LastText(),
              "Was found corrupted path:\r\n\r\n\"" + sub + "\"\r\n\r\nWhat do you like continue?");
    t.prompt.AnswerYes();
    EXPECT_TRUE(info.SetAttributesInTree((tmp.Work() / "docs").string(), kAttrArchive));
    SetUnlistableForTest(nullptr);

    fs::remove(b);
    EXPECT_FALSE(info.SetAttributesForCollection("", kAttrArchive));
    EXPECT_EQ(t.prompt.LastText(), "Can not set attributes for some files.");
}

} // namespace
