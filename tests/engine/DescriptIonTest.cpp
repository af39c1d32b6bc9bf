#include "collections/CDescriptIon.h"
#include "collections/DescriptIonExchange.h"

#include "CollectionFixture.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

using EEnc = CDescriptIon::EEncoding;

TEST(DescriptIonFile, ReadsEntriesInEitherEncoding) {
    struct CCase {
        const char* what;
        std::string bytes;
        EEnc encoding;
        std::vector<std::pair<std::string, std::string>> entries;
    } cases[] = {
        {"plain, quoted, padded, multi-line, bare and broken lines",
         "a.txt first one\r\n\"my file.txt\" has \"quotes\"\r\nq.txt \t padded  \r\n"
         "m.txt line one\\nline two \\\\ end\x04\xC2\r\nbare.txt\r\n\"unclosed name\r\n\r\n",
         EEnc::Ascii,
         {{"a.txt", "first one"},
          {"my file.txt", "has \"quotes\""},
          {"q.txt", "padded"},
          {"m.txt", "line one line two \\ end"},
          {"bare.txt", ""}}},
        {"UTF-8 without a mark", "\u00FC.txt Gr\u00FC\u00DFe\n", EEnc::Utf8, {{"\u00FC.txt", "Gr\u00FC\u00DFe"}}},
        {"Windows-1252",
         "\xFC.txt Gr\xFC\xDF"
         "e \x80\n",
         EEnc::Windows1252,
         {{"\u00FC.txt", "Gr\u00FC\u00DFe \u20AC"}}},
        {"a CR that ends no line stays in the text", "c.txt one\rtwo\n", EEnc::Ascii, {{"c.txt", "one\rtwo"}}},
        {"byte-order mark", "\uFEFFa.txt x", EEnc::Utf8, {{"a.txt", "x"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto file = CDescriptIon::Parse(c.bytes);
        ASSERT_TRUE(file);
        EXPECT_EQ(file->Encoding(), c.encoding);
        std::vector<std::pair<std::string, std::string>> got;
        for (const auto& e : file->Entries()) got.emplace_back(e.name, e.description);
        EXPECT_EQ(got, c.entries);
        EXPECT_EQ(file->Serialise(), c.bytes);
    }
    EXPECT_FALSE(CDescriptIon::Parse("\xFF\xFEx"));
    EXPECT_FALSE(CDescriptIon::Parse(std::string_view("a.txt x\0", 8)));
}

TEST(DescriptIonFile, WritesOnlyWhatItCanCarry) {
    auto legacy = *CDescriptIon::Parse("other.doc F\xF6reign\x04\xC2\nzz.txt old");
    EXPECT_TRUE(legacy.SetEntry(legacy.FindEntry("ZZ.TXT"), "zz.txt", "caf\xC3\xA9"));
    EXPECT_TRUE(legacy.SetEntry(std::nullopt, "new file.txt", "  \xE2\x82\xAC  "));
    EXPECT_FALSE(legacy.SetEntry(std::nullopt, "r.txt", "\xD0\xB6")); // Cyrillic: not in Windows-1252
    EXPECT_FALSE(legacy.SetEntry(std::nullopt, "a \"b\".txt", "x"));
    EXPECT_FALSE(legacy.SetEntry(std::nullopt, "\"b.txt", "x"));
    EXPECT_EQ(legacy.Serialise(), "other.doc F\xF6reign\x04\xC2\nzz.txt caf\xE9\n\"new file.txt\" \x80\n");

    CDescriptIon fresh;
    EXPECT_TRUE(fresh.SetEntry(std::nullopt, "a\"b.txt", "plain"));
    EXPECT_EQ(fresh.Serialise(), "a\"b.txt plain\r\n");
    EXPECT_TRUE(fresh.SetEntry(std::nullopt, "\xC3\xA9.txt", "x"));
    EXPECT_EQ(fresh.Encoding(), EEnc::Utf8);
    EXPECT_EQ(fresh.Serialise(), "\uFEFFa\"b.txt plain\r\n\xC3\xA9.txt x\r\n");
}

class DescriptIonExchangeTest : public CollectionFixture {
protected:
    void SetUp() override { quiet.noQuestion = quiet.quietCreation = true; }
    std::string Description(const std::string& rel) const {
        for (const auto& r : coll.Store().Records())
            if (r.location == (dir / rel).string()) return r.description;
        ADD_FAILURE() << "no record " << rel;
        return {};
    }
    void Describe(const std::string& rel, const std::string& text) {
        const long i = coll.FindRecordByLocation((dir / rel).string());
        ASSERT_GE(i, 0);
        ASSERT_EQ(coll.Store().SaveChanges(std::size_t(i), text, ""), ERecordWrite::Written);
    }

    fs::path dir = tmp.Work() / "docs";
    CRefreshOptions quiet;
};

TEST_F(DescriptIonExchangeTest, RoundTripKeepsEveryDescriptionAndForeignEntries) {
    for (const char* f :
         {"a.txt", "my file.txt", "hash.txt", "b.txt", "c.txt", "sub/\xC3\xBCn\xC3\xAF.txt", "sub/h.txt"})
        tmp.Write(fs::path("work/docs") / f, "x");
    const std::string rootFile = "a.txt Alpha\r\n\"my file.txt\" Has \"quotes\" and blanks\r\nhash.txt C# notes\r\n"
                                 "other.doc Foreign entry\r\nB.TXT case match\r\n";
    tmp.Write("work/docs/descript.ion", rootFile);
    tmp.Write("work/docs/sub/DESCRIPT.ION", "\xFCn\xEF.txt Gr\xFC\xDF"
                                            "e\nh.txt two\\nlines\x04\xC2\n");
    ASSERT_TRUE(Scan(dir, quiet));

    CExchangeResult r = ImportDescriptIon(coll, t.ports);
    EXPECT_EQ(r.outcome, EExchangeOutcome::Done);
    EXPECT_EQ(r.descriptions, 5u);
    EXPECT_EQ(t.prompt.LastText(),
              "Descriptions taken from descript.ion: 5\r\ndescript.ion files read: 2\r\n\r\n"
              "1 description(s) were not taken: they hold '#' or a line break, which a collection can not store.\r\n" +
                  (dir / "hash.txt").string());
    EXPECT_EQ(Description("my file.txt"), "Has \"quotes\" and blanks");
    EXPECT_EQ(Description("b.txt"), "case match");
    EXPECT_EQ(Description("sub/\xC3\xBCn\xC3\xAF.txt"), "Gr\u00FC\u00DFe");
    EXPECT_EQ(Description("sub/h.txt"), "two lines");
    EXPECT_EQ(Description("hash.txt"), "");

    Describe("a.txt", "Alpha 2");
    Describe("c.txt", "Gamma \xC3\xA9");
    Describe("sub/h.txt", "");
    r = ExportDescriptIon(coll, t.ports);
    EXPECT_EQ(r.outcome, EExchangeOutcome::Done);
    EXPECT_EQ(r.descriptions, 5u);
    // Foreign and undescribed entries stay byte for byte; the new entry takes the file's line end,
    // and the file its byte-order mark once it holds more than ASCII.
    EXPECT_EQ(ReadFileBytes(dir / "descript.ion"),
              "\uFEFFa.txt Alpha 2\r\n\"my file.txt\" Has \"quotes\" and blanks\r\nhash.txt C# notes\r\n"
              "other.doc Foreign entry\r\nb.txt case match\r\nc.txt Gamma \xC3\xA9\r\n");
    EXPECT_EQ(ReadFileBytes(dir / "sub/DESCRIPT.ION"), "\xFCn\xEF.txt Gr\xFC\xDF"
                                                       "e\nh.txt two\\nlines\x04\xC2\n");
    EXPECT_FALSE(fs::exists(dir / "sub/descript.ion"));
}

TEST_F(DescriptIonExchangeTest, OneQuestionDecidesAboutOwnDescriptions) {
    struct CCase {
        EPromptAnswer answer;
        const char* a;
        std::size_t taken;
    } cases[] = {{EPromptAnswer::Yes, "theirs a", 3}, {EPromptAnswer::No, "ours a", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a);
        const fs::path rel = std::string("work/docs-") + c.a;
        dir = tmp.Root() / rel;
        for (const char* f : {"a.txt", "b.txt", "c.txt"}) tmp.Write(rel / f, "x");
        tmp.Write(rel / "descript.ion", "a.txt theirs a\nb.txt theirs b\nc.txt theirs c\n");
        ASSERT_TRUE(Scan(dir, quiet));
        Describe("a.txt", "ours a");
        Describe("b.txt", "ours b");
        t.prompt.Clear();
        t.prompt.Answer(c.answer);
        EXPECT_EQ(ImportDescriptIon(coll, t.ports).descriptions, c.taken);
        ASSERT_EQ(t.prompt.Shown().size(), 2u);
        EXPECT_EQ(t.prompt.Shown()[0].text, "2 file(s) of the collection already have a different description.\r\n\r\n"
                                            "Replace them with the descriptions from descript.ion?");
        EXPECT_EQ(Description("a.txt"), c.a);
        EXPECT_EQ(Description("c.txt"), "theirs c");
        // What the store holds is what the file holds.
        coll.Store().LoadCollection();
        EXPECT_EQ(Description("a.txt"), c.a);
    }
}

TEST_F(DescriptIonExchangeTest, FailedWriteKeepsTheOldFileWhole) {
    tmp.Write("work/docs/a.txt", "x");
    const std::string old = "a.txt old\r\nforeign.doc kept\r\n";
    tmp.Write("work/docs/descript.ion", old);
    ASSERT_TRUE(Scan(dir, quiet));
    Describe("a.txt", "new text");
    for (EWriteStep step : {EWriteStep::Write, EWriteStep::Rename}) {
        SetWriteFailureForTest(CWriteFailure{.steps = {step}, .afterBytes = 5});
        EXPECT_EQ(ExportDescriptIon(coll, t.ports).outcome, EExchangeOutcome::Incomplete);
        EXPECT_EQ(ReadFileBytes(dir / "descript.ion"), old);
        EXPECT_NE(t.prompt.LastText().find("These descript.ion files were left as they were:\r\n" +
                                           (dir / "descript.ion").string() + " ("),
                  std::string::npos)
            << t.prompt.LastText();
    }
}

TEST_F(DescriptIonExchangeTest, StopAndLinksLeaveUnreachedFilesAlone) {
    for (int i = 0; i < 501; ++i)
        tmp.Write(fs::path("work/docs") / ("d" + std::to_string(i % 3)) / (std::to_string(i) + ".txt"), "x");
    tmp.Write("work/docs/d1/descript.ion", "1.txt theirs\n");
    ASSERT_TRUE(Scan(dir, quiet));
    const fs::path inf = coll.Store().CollectionFilePath();
    const std::string stored = ReadFileBytes(inf);

    t.progress.log.stopAtQuery = 2;
    EXPECT_EQ(ImportDescriptIon(coll, t.ports).outcome, EExchangeOutcome::Stopped);
    EXPECT_EQ(t.prompt.LastText(), "Import stopped. The collection was not changed.");
    EXPECT_EQ(ReadFileBytes(inf), stored);

    for (const auto* rel : {"d0/0.txt", "d1/1.txt", "d2/2.txt"}) Describe(rel, "ours");
    const auto files = [&] {
        std::vector<std::string> out;
        for (const char* d : {"d0", "d1", "d2"})
            out.push_back(fs::exists(dir / d / "descript.ion") ? ReadFileBytes(dir / d / "descript.ion") : "-");
        return out;
    };
    const std::vector<std::string> before = files();
    t.progress.log.abortQueries = 0;
    EXPECT_EQ(ExportDescriptIon(coll, t.ports).outcome, EExchangeOutcome::Stopped);
    // Stopped before the second folder: one folder has its whole new file, the others none.
    const std::vector<std::string> after = files();
    int changed = 0;
    for (int i = 0; i < 3; ++i) {
        if (after[i] == before[i]) continue;
        ++changed;
        EXPECT_EQ(after[i], i == 1 ? "1.txt ours\n" : std::to_string(i) + ".txt ours\r\n");
    }
    EXPECT_EQ(changed, 1);

    // A folder that became a link since the scan would take the write out of the tree.
    tmp.Write("work/outside/keep", "");
    fs::remove_all(dir / "d2");
    fs::create_directory_symlink(tmp.Work() / "outside", dir / "d2");
    t.progress.log.stopAtQuery = 0;
    EXPECT_EQ(ExportDescriptIon(coll, t.ports).outcome, EExchangeOutcome::Incomplete);
    EXPECT_FALSE(fs::exists(tmp.Work() / "outside/descript.ion"));
    EXPECT_NE(t.prompt.LastText().find("reached through a symbolic link.\r\n" + (dir / "d2").string()),
              std::string::npos);
    EXPECT_EQ(ReadFileBytes(dir / "d1/descript.ion"), "1.txt ours\n");
}

} // namespace
