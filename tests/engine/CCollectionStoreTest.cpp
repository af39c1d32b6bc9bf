#include "collections/CCollectionStore.h"

#include "CollectionFixture.h"
#include "app/FileAccess.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class CollectionStoreTest : public ::testing::Test {
protected:
    CCollectionStore& Load(std::string_view text) {
        file = tmp.Write("home/c.inf", text);
        store.SetCollectionFilePath(file);
        count = store.LoadCollection();
        return store;
    }
    CTempHome tmp;
    CScriptedPrompt prompt;
    CCollectionStore store{prompt, tmp.Home()};
    fs::path file;
    std::size_t count = 0;
};

TEST_F(CollectionStoreTest, FileNamesDropColonsAndSeparators) {
    EXPECT_EQ(CCollectionStore::MakeCollectionFileName("C:\\Work\\Docs"), "CWorkDocs");
    EXPECT_EQ(CCollectionStore::MakeCollectionFileName("/home/u/My Docs"), "homeuMy Docs");
    EXPECT_EQ(store.GetCollectionFilePath("/home/u/x"), tmp.Home() / "homeux.inf");
}

// A folder so deep that its file name would pass 255 bytes still gets a collection file; every
// name that fits stays as it always was, so existing files are still found.
TEST_F(CollectionStoreTest, OverlongFileNamesAreShortenedStably) {
    const struct {
        std::size_t nameBytes;
        bool kept;
    } cases[] = {{250, true}, {251, true}, {252, false}, {4000, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nameBytes);
        const std::string dir = "/" + std::string(c.nameBytes, 'd');
        const std::string name = CCollectionStore::MakeCollectionFileName(dir);
        EXPECT_EQ(name == std::string(c.nameBytes, 'd'), c.kept);
        EXPECT_LE(name.size() + 4, 255u);
        EXPECT_EQ(CCollectionStore::MakeCollectionFileName(dir), name);
        if (!c.kept) {
            EXPECT_TRUE(WriteWholeFile(prompt, store.GetCollectionFilePath(dir), "#n#\r\n", true));
        }
    }
    // A character of several bytes is never cut in two.
    const std::string accented = CCollectionStore::MakeCollectionFileName("/" + std::string(182, 'a') +
                                                                          "\xc3\xa9\xc3\xa9" + std::string(99, 'b'));
    EXPECT_EQ(accented.substr(179, 4), "aaa~");
}

TEST_F(CollectionStoreTest, HeaderFieldsTakeTheirSlotsAndDefaults) {
    struct Case {
        const char* text;
        std::array<std::string, 4> fields;
        std::optional<std::size_t> next;
    } cases[] = {
        {"#Docs#/d#About#txt, h\r\nx", {"Docs", "/d", "About", "txt, h"}, 23},
        {"#Favorites#\r\n", {"Favorites", "", "", ""}, 13},
        {"##/d#text#h#extra#more", {"Noname collection", "/d", "text", "h"}, 22},
        {"#N#D\nrest", {"N", "D", "", ""}, 5},
        {"#N#D", {"N", "D", "", ""}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(store.ParseCollectionHeader(c.text), c.next);
        EXPECT_EQ(store.HeaderFields(), c.fields);
    }
    const std::string longDesc(40000, 'd');
    store.ParseCollectionHeader("#n#/d#" + longDesc + "#txt\r\n");
    EXPECT_EQ(store.HeaderFields()[2], longDesc);
    EXPECT_EQ(store.HeaderFields()[3], "txt");
}

TEST_F(CollectionStoreTest, EmptyFileLoadsAsNonameWithAllFiles) {
    Load("");
    EXPECT_FALSE(store.IsAbsent());
    EXPECT_EQ(store.Name(), "Noname collection");
    EXPECT_EQ(store.ExtensionList(), "*.*");
}

TEST_F(CollectionStoreTest, MissingFileIsAbsentAndLeavesNoStaleRecords) {
    Load("#A#/a##txt\r\n/a/x.txt#d#\r\n");
    ASSERT_EQ(count, 1u);
    store.SetCollectionFilePath(tmp.Home() / "none.inf");
    EXPECT_EQ(store.LoadCollection(), 0u);
    EXPECT_TRUE(store.IsAbsent());
    EXPECT_EQ(store.RecordCount(), 0u);
}

TEST_F(CollectionStoreTest, LoadsRecordsWithAnyLineEndAndGathersKnownGroups) {
    Load("#Docs#C:\\Docs#About#*.TXT;doc\r\n"
         "C:\\Docs\\a.txt#first# ; a ; ;b;; c \r\n"
         "/d/b.txt##A; d\n"
         "\r\n"
         "/d/c.txt#only description\r"
         "/d/no-fields\r\n"
         "/d/e.txt#x#" +
         std::string(300, 'g') + ";b");
    using F = std::array<std::string, 3>;
    EXPECT_EQ(Fields(store.Records()), (std::vector<F>{{"C:\\Docs\\a.txt", "first", " ; a ; ;b;; c "},
                                                       {"/d/b.txt", "", "A; d"},
                                                       {"/d/c.txt", "only description", ""},
                                                       {"/d/no-fields", "", ""},
                                                       {"/d/e.txt", "x", std::string(300, 'g') + ";b"}}));
    EXPECT_EQ(store.KnownGroups(), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST_F(CollectionStoreTest, WritesTheFormatByteForByteAndRoundTrips) {
    const std::string text = "#Docs#/d#About#txt, h\r\n/d/a.txt#desc#g1; g2\r\n/d/b.h##\r\n";
    Load(text);
    store.SetBaseDirectory("/d");
    ASSERT_TRUE(store.WriteCollectionFile());
    EXPECT_EQ(ReadFileBytes(file), text);

    // An LF-only file comes back in CR LF form with the same records.
    Load("#Docs#/d#About#txt, h\n/d/a.txt#desc#g1; g2\n/d/b.h##\n");
    store.SetBaseDirectory("/d");
    ASSERT_TRUE(store.WriteCollectionFile());
    EXPECT_EQ(ReadFileBytes(file), text);
}

TEST_F(CollectionStoreTest, HeaderRewriteKeepsTheRecordsUntouched) {
    Load("#Old#/d#old text#txt\r\n/d/a.txt#a#\n/d/b.txt#b#\r\n");
    ASSERT_TRUE(store.SetName("New"));
    ASSERT_TRUE(store.SetDescription("new text"));
    store.SetBaseDirectory("/d");
    ASSERT_TRUE(store.WriteCollectionHeader());
    EXPECT_EQ(ReadFileBytes(file), "#New#/d#new text#txt\r\n/d/a.txt#a#\n/d/b.txt#b#\r\n");

    EXPECT_FALSE(store.SetDescription("bad # text"));
    EXPECT_EQ(store.Description(), "new text");
    fs::remove(file);
    EXPECT_FALSE(store.WriteCollectionHeader());
    EXPECT_EQ(prompt.LastText(), "Can not open this collection file for writing.");
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(CollectionStoreTest, RewritesOneRecordAtFirstAndLastLine) {
    Load("#N#/d##txt\r\n/d/a.txt#old a#x\r\n/d/b.txt##\r\n/d/c.txt#old c#\r\n");
    EXPECT_EQ(store.SaveChanges(0, "new a", "p; q"), ERecordWrite::Written);
    EXPECT_EQ(store.SetGroupMarker(2, "z"), ERecordWrite::Written);
    EXPECT_EQ(ReadFileBytes(file), "#N#/d##txt\r\n/d/a.txt#new a#p; q\r\n/d/b.txt##\r\n/d/c.txt#old c#z\r\n");

    // Through a found list: row 0 shows record 1.
    store.ShowFoundList({1, 7});
    EXPECT_EQ(store.SaveChanges(0, "b!", ""), ERecordWrite::Written);
    EXPECT_EQ(store.SaveChanges(1, "none", ""), ERecordWrite::NoRecord);
    EXPECT_EQ(ReadFileBytes(file), "#N#/d##txt\r\n/d/a.txt#new a#p; q\r\n/d/b.txt#b!#\r\n/d/c.txt#old c#z\r\n");
}

TEST_F(CollectionStoreTest, FieldsWithHashOrLineBreaksAreRefused) {
    const std::string text = "#N#/d##txt\r\n/d/a.txt#a#g\r\n";
    Load(text);
    for (const char* bad : {"x#y", "two\r\nlines", "lf\n", "cr\r"}) {
        SCOPED_TRACE(bad);
        prompt.Clear();
        EXPECT_EQ(store.SaveChanges(0, bad, ""), ERecordWrite::Refused);
        EXPECT_EQ(store.SaveChanges(0, "", bad), ERecordWrite::Refused);
        EXPECT_EQ(store.SetGroupMarker(0, bad), ERecordWrite::Refused);
        EXPECT_FALSE(store.AddGroupsToRecord(0, {"ok", bad}));
        EXPECT_EQ(prompt.Shown().size(), 4u);
    }
    EXPECT_EQ(ReadFileBytes(file), text);
    EXPECT_EQ(store.Records()[0].description, "a");
}

TEST_F(CollectionStoreTest, RecordMissingOnDiskWritesNothing) {
    Load("#N#/d##txt\r\n/d/a.txt#a#\r\n/d/b.txt#b#\r\n");
    // Changed behind our back: the file lost its last line, then its lines were swapped.
    const std::string shorter = "#N#/d##txt\r\n/d/a.txt#a#\r\n";
    tmp.Write("home/c.inf", shorter);
    EXPECT_EQ(store.SaveChanges(1, "new", ""), ERecordWrite::NotFound);
    EXPECT_EQ(prompt.LastText(), "SaveChanges error: don't found file in main list.");
    EXPECT_EQ(store.SetGroupMarker(1, "g"), ERecordWrite::NotFound);
    EXPECT_EQ(prompt.LastText(), "SetGroupMarker error: don't found file in main list.");
    EXPECT_EQ(ReadFileBytes(file), shorter);

    const std::string swapped = "#N#/d##txt\r\n/d/b.txt#b#\r\n/d/a.txt#a#\r\n";
    tmp.Write("home/c.inf", swapped);
    EXPECT_EQ(store.SaveChanges(0, "for a", ""), ERecordWrite::NotFound);
    EXPECT_EQ(ReadFileBytes(file), swapped);

    fs::remove(file);
    EXPECT_EQ(store.SetGroupMarker(0, "g"), ERecordWrite::Unreadable);
    EXPECT_EQ(prompt.LastText(), "Can not open this collection file for writing.");
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(CollectionStoreTest, AddingGroupsSkipsNamesAlreadyThere) {
    Load("#N#/d##txt\r\n/d/a.txt##\r\n/d/b.txt##a\r\n");
    EXPECT_EQ(store.AddGroupsToRecord(0, {"x"}), "x");
    EXPECT_EQ(store.AddGroupsToRecord(1, {"x", "A", " y ", "X"}), "a; x; y");
    EXPECT_EQ(store.RemoveGroupFromRecord(1, "X"), "a; y");
    EXPECT_EQ(store.AddGroupsToRecord(0, {"p ;q;;", std::string(256, 'L')}), "x; p; q");
    EXPECT_EQ(ReadFileBytes(file), "#N#/d##txt\r\n/d/a.txt##x; p; q\r\n/d/b.txt##a; y\r\n");
}

// A name is found by the rule the list is split by: only blanks are trimmed, so a TAB at either
// end belongs to the name. A name the row does not have changes nothing.
TEST_F(CollectionStoreTest, RemovingAGroupUsesTheListsOwnTrimRule) {
    const struct {
        const char *groups, *name;
        std::optional<std::string> result;
    } cases[] = {
        {"\tx; y", "\tx", "y"},
        {"x; y", "\tx", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.groups);
        const std::string text = std::string("#N#/d##txt\r\n/d/a.txt##") + c.groups + "\r\n";
        Load(text);
        EXPECT_EQ(store.RemoveGroupFromRecord(0, c.name), c.result);
        EXPECT_EQ(ReadFileBytes(file), c.result ? "#N#/d##txt\r\n/d/a.txt##" + *c.result + "\r\n" : text);
    }
}

TEST_F(CollectionStoreTest, GroupMenuRemovesTheKthNameOnly) {
    Load("#N#/d##txt\r\n/d/a.txt##a; A;; b\r\n");
    EXPECT_EQ(store.RemoveGroupAt(0, 1), "a; b");
    EXPECT_EQ(store.RemoveGroupAt(0, 2), std::nullopt);
    EXPECT_EQ(ReadFileBytes(file), "#N#/d##txt\r\n/d/a.txt##a; b\r\n");
}

// Once the window has closed, nothing of the collection it showed can be edited any more.
TEST_F(CollectionStoreTest, ResetLeavesNoCollectionToEdit) {
    const std::string text = "#N#/d##txt\r\n/d/a.txt#a#\r\n";
    Load(text);
    store.ResetCurrentCollection();
    EXPECT_EQ(store.SaveChanges(0, "late edit", ""), ERecordWrite::NoRecord);
    EXPECT_EQ(ReadFileBytes(file), text);
}

TEST_F(CollectionStoreTest, ErasingRecordsKeepsOrderAndResetsTheRowMap) {
    Load("#N#/d##txt\r\n/d/0##\r\n/d/1##\r\n/d/2##\r\n/d/3##\r\n");
    store.ShowFoundList({3, 1});
    store.EraseRecords({2, 0, 2});
    EXPECT_FALSE(store.IsShowingFoundList());
    ASSERT_EQ(store.RecordCount(), 2u);
    EXPECT_EQ(store.Records()[0].location, "/d/1");
    EXPECT_EQ(store.Records()[1].location, "/d/3");
}

} // namespace
