#include "app/FileAccess.h"

#include "TestPorts.h"
#include "app/CFileWriter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class CFakeVolume : public CVolumeProbe {
public:
    bool IsCdRom(const fs::path&) const override { return cdrom; }
    bool IsRemovable(const fs::path&) const override { return removable; }
    bool IsWriteProtected(const fs::path&) const override { return false; }
    std::uint64_t FreeBytes(const fs::path&) const override { return free; }
    bool cdrom = false;
    bool removable = false;
    std::uint64_t free = 1u << 30;
};

class FileAccessTest : public ::testing::Test {
protected:
    void SetUp() override { SetVolumeProbe(&volume); }
    void TearDown() override {
        SetVolumeProbe(nullptr);
        SetWriteFailureForTest(std::nullopt);
    }
    mode_t Mode(const fs::path& p) {
        struct stat st {};
        ::stat(p.c_str(), &st);
        return st.st_mode & 07777;
    }
    CTempHome tmp;
    CScriptedPrompt prompt;
    CFakeVolume volume;
};

// An empty write still creates the file; a name of 255 bytes is legal, and its temporary sibling
// must fit the same limit.
TEST_F(FileAccessTest, EmptyContentAndTheLongestLegalNameAreWritten) {
    const fs::path empty = tmp.Work() / "empty.txt", longest = tmp.Work() / std::string(255, 'n');
    EXPECT_TRUE(WriteWholeFile(prompt, empty, "", true));
    EXPECT_TRUE(fs::exists(empty) && fs::file_size(empty) == 0u);
    EXPECT_TRUE(WriteWholeFile(prompt, longest, "x", true));
    EXPECT_TRUE(WriteWholeFile(prompt, longest, "yz", true));
    EXPECT_EQ(ReadFileBytes(longest), "yz");
    EXPECT_TRUE(prompt.Texts().empty());
}

TEST_F(FileAccessTest, CdRomWarnsButWriteGoesOn) {
    volume.cdrom = true;
    const fs::path p = tmp.Work() / "a.txt";
    EXPECT_TRUE(WriteWholeFile(prompt, p, "abc", false));
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"Can not write to CDROM path:\r\n" + p.string()});
    EXPECT_EQ(ReadFileBytes(p), "abc");
}

TEST_F(FileAccessTest, NotEnoughSpaceRefusesBeforeTouchingTheFile) {
    const fs::path p = tmp.Write("work/keep.txt", "old content");
    ASSERT_TRUE(SetFileAttribute(p, kAttrReadOnly | kAttrArchive));
    volume.cdrom = true;
    volume.free = 5;
    EXPECT_FALSE(WriteWholeFile(prompt, p, "new content", true));
    EXPECT_EQ(prompt.Texts(), (std::vector<std::string>{"Can not write to CDROM path:\r\n" + p.string(),
                                                        "Can not enough disk space:\r\nExist: 5\r\nNeed: 11"}));
    EXPECT_EQ(ReadFileBytes(p), "old content");
    // The read-only clearing comes after the space check, so it did not happen.
    EXPECT_TRUE(*GetFileAttributeByte(p) & kAttrReadOnly);
}

TEST_F(FileAccessTest, ReadOnlyFileWithAndWithoutClearing) {
    const fs::path p = tmp.Write("work/ro.txt", "old");
    ASSERT_TRUE(SetFileAttribute(p, kAttrReadOnly));

    EXPECT_FALSE(WriteWholeFile(prompt, p, "new", false));
    EXPECT_EQ(prompt.LastText(), "File is readonly:\r\n" + p.string());
    EXPECT_EQ(ReadFileBytes(p), "old");

    EXPECT_TRUE(WriteWholeFile(prompt, p, "new", true));
    EXPECT_EQ(ReadFileBytes(p), "new");
    EXPECT_EQ(*GetFileAttributeByte(p), kAttrArchive);
}

TEST_F(FileAccessTest, OpenFailureMessages) {
    const fs::path p = tmp.Work() / "missing-folder" / "x.txt";
    EXPECT_FALSE(WriteWholeFile(prompt, p, "x", true));
    EXPECT_EQ(prompt.LastText(), "Can not open file for writing:\r\n" + p.string());
    volume.removable = true;
    EXPECT_FALSE(WriteWholeFile(prompt, p, "x", true));
    EXPECT_EQ(prompt.LastText(), "Plese remove write protection.");
    EXPECT_FALSE(WriteWholeFile(prompt, "", "x", true));
    EXPECT_EQ(prompt.Texts().size(), 2u);
}

std::size_t Entries(const fs::path& dir) {
    std::error_code ec;
    return std::size_t(std::distance(fs::directory_iterator(dir, ec), fs::directory_iterator()));
}

// Each step of a write failing in turn: the old content survives, or when even putting it back
// fails, the message names the backup that holds it. No temporary or backup is left behind.
// (Write, rename and in-place write failures are WriteFaultsTest's, for every write path.)
TEST_F(FileAccessTest, EveryFailedWriteStepKeepsTheOldContent) {
    const struct {
        const char* name;
        bool folderWritable;
        std::vector<EWriteStep> steps;
        bool backupKept;
    } cases[] = {
        {"open temporary", true, {EWriteStep::OpenTemporary}, false},
        {"sync", true, {EWriteStep::Sync}, false},
        {"backup", false, {EWriteStep::Backup}, false},
        {"sync in place", false, {EWriteStep::Sync}, false},
        {"restore", false, {EWriteStep::WriteInPlace, EWriteStep::Restore}, true},
    };
    const fs::path backups = WriteBackupFolder();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path dir = tmp.Work() / c.name;
        const fs::path p = tmp.Write(fs::path("work") / c.name / "data.inf", "precious descriptions");
        ::chmod(p.c_str(), 0640);
        CWriteFailure failure{.steps = c.steps, .afterBytes = 3};
        if (!c.folderWritable) failure.notWritable = {dir};
        SetWriteFailureForTest(failure);
        prompt.Clear();

        EXPECT_FALSE(WriteWholeFile(prompt, p, "replacement text", true));
        const std::string refused = "Can not open file for writing:\r\n" + p.string();
        if (c.backupKept) {
            const std::string text = prompt.LastText();
            const std::string lead = refused + "\r\n\r\nIts old content is saved in:\r\n";
            ASSERT_EQ(text.substr(0, lead.size()), lead);
            const fs::path backup = text.substr(lead.size());
            EXPECT_EQ(backup.parent_path(), backups);
            EXPECT_EQ(ReadFileBytes(backup), "precious descriptions");
            EXPECT_EQ(ReadFileBytes(p), "pre") << "the half-restored file is what a real failure leaves";
            fs::remove(backup);
        } else {
            EXPECT_EQ(prompt.Texts(), std::vector<std::string>{refused});
            EXPECT_EQ(ReadFileBytes(p), "precious descriptions");
        }
        EXPECT_EQ(Entries(dir), 1u);
        EXPECT_EQ(Entries(backups), 0u);

        failure.steps.clear();
        SetWriteFailureForTest(failure);
        EXPECT_TRUE(WriteWholeFile(prompt, p, "replacement text", true));
        EXPECT_EQ(ReadFileBytes(p), "replacement text");
        EXPECT_EQ(Mode(p), 0640u) << "permission bits of the old file are kept";
        EXPECT_EQ(Entries(dir), 1u);
        EXPECT_EQ(Entries(backups), 0u);
    }
}

// A rename in a writable folder would replace a file this user may not write and make it theirs.
TEST_F(FileAccessTest, FileTheUserMayNotWriteIsRefusedInAWritableFolder) {
    const fs::path p = tmp.Write("work/theirs.inf", "their content");
    const fs::path source = tmp.Write("work/mine.inf", "mine");
    ::chmod(p.c_str(), 0644);
    SetWriteFailureForTest(CWriteFailure{.notWritable = {p}});

    EXPECT_FALSE(WriteWholeFile(prompt, p, "new", true));
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"Can not open file for writing:\r\n" + p.string()});
    EXPECT_EQ(CopyFileSafely(source, p, true), EACCES);
    EXPECT_EQ(ReadFileBytes(p), "their content");
    EXPECT_EQ(Entries(tmp.Work()), 2u);
}

TEST_F(FileAccessTest, WritingThroughALinkKeepsTheLink) {
    const fs::path target = tmp.Write("work/real.txt", "old");
    const fs::path link = tmp.Work() / "link.txt";
    fs::create_symlink(target, link);
    EXPECT_TRUE(WriteWholeFile(prompt, link, "new", false));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(target), "new");
}

TEST_F(FileAccessTest, ReadWholeFile) {
    const std::string bytes("a\0b\r\n\xff", 6);
    const fs::path p = tmp.Write("work/bin.dat", bytes);
    EXPECT_EQ(ReadWholeFile(prompt, p), bytes);
    EXPECT_FALSE(ReadWholeFile(prompt, ""));
    EXPECT_FALSE(ReadWholeFile(prompt, tmp.Work() / "nope"));
    EXPECT_FALSE(ReadWholeFile(prompt, tmp.Work()));
}

// Every piece size puts the piece borders somewhere else, between a CR and its LF too.
TEST_F(FileAccessTest, ReadFileLinesSplitsAtEveryKindOfLineEnd) {
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"head\r\n\r\nrecord\r\n", {"head", "", "record"}},
        {"x\r\r\ny\r", {"x", "", "y"}},
        {"\n\nno end", {"", "", "no end"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        const fs::path p = tmp.Write("work/lines.txt", c.text);
        for (std::size_t piece = 1; piece <= 8; ++piece) {
            SCOPED_TRACE(::testing::PrintToString(c.text) + " piece " + std::to_string(piece));
            std::vector<std::string> lines;
            EXPECT_TRUE(ReadFileLines(
                prompt, p, [&](std::string_view l) { lines.emplace_back(l); }, piece));
            EXPECT_EQ(lines, c.lines);
        }
    }
}

TEST_F(FileAccessTest, AttributesOfFilesAndFolders) {
    const fs::path f = tmp.Write("work/.hidden", "x");
    EXPECT_EQ(*GetFileAttributeByte(f), kAttrArchive | kAttrHidden);
    EXPECT_EQ(*GetFileAttributeByte(tmp.Work()), kAttrDirectory);
    EXPECT_FALSE(IsExistingFile(tmp.Work(), false)) << "a folder has no archive bit";
}

TEST_F(FileAccessTest, RenameNeverReplacesAnotherFile) {
    const fs::path a = tmp.Write("work/a.txt", "a");
    const fs::path b = tmp.Write("work/b.txt", "b");
    EXPECT_FALSE(RenameFile(a, b));
    EXPECT_EQ(ReadFileBytes(b), "b");
    EXPECT_TRUE(RenameFile(a, tmp.Work() / "c.txt"));
    EXPECT_EQ(ReadFileBytes(tmp.Work() / "c.txt"), "a");
}

TEST(VolumeRoot, IsTheMountPointHoldingThePath) {
    EXPECT_EQ(GetVolumeRoot("/"), fs::path("/"));
    EXPECT_EQ(GetVolumeRoot("/proc/self/status"), fs::path("/proc"));
    const fs::path tmpRoot = GetVolumeRoot(fs::temp_directory_path());
    EXPECT_EQ(GetVolumeRoot(fs::temp_directory_path() / "no" / "such" / "file"), tmpRoot);
}

TEST(ExcludedExtension, TakesTheExtensionFromTheFileNameOnly) {
    const struct {
        const char* name;
        bool excluded;
    } cases[] = {
        {"readme", true},
        {"PHOTO.JPG", true},
        {"notes.txt", false},
        {"a.tar.Zip", true},
        {"/home/u/my.docs/README", true},
        {"/home/u/my.docs/a.c", false},
        {"trailing.", false},
        {"x.com", true},
        {"x.combo", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsExcludedExtension(c.name), c.excluded);
    }
}

TEST(BinaryContent, LooksAtTheFirst127BytesOnly) {
    EXPECT_FALSE(IsBinaryContent("text\twith\r\nline ends\n"));
    EXPECT_FALSE(IsBinaryContent(""));
    EXPECT_FALSE(IsBinaryContent("\x1f high \xe9\xff bytes"));
    std::string s(300, 'a');
    s[200] = '\0';
    EXPECT_FALSE(IsBinaryContent(s));
    s[127] = '\x01';
    EXPECT_FALSE(IsBinaryContent(s));
    s[126] = '\0';
    EXPECT_TRUE(IsBinaryContent(s));
}

} // namespace
