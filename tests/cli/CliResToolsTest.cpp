#include "CliRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A copy of the sample project: a resource header, an RC script, its German twin and sources.
struct CProject {
    CProject() { fs::copy(fs::path(QUILLBOX_TEST_DATA) / "restools/project", dir, fs::copy_options::recursive); }
    std::string Path(const char* rel) const { return (dir / rel).string(); }
    CTempHome home;
    fs::path dir = home.Work() / "project";
};

std::string Lines(std::initializer_list<const char*> names) {
    std::string s;
    for (const char* n : names) s += std::string(n) + "\n";
    return s;
}

std::string WithoutLines(std::string text, std::initializer_list<const char*> needles) {
    for (const char* n : needles) {
        const std::size_t at = text.find(n);
        const std::size_t start = text.rfind('\n', at) + 1;
        const std::size_t end = text.find('\n', at) + 1;
        text.erase(start, end - start);
    }
    return text;
}

} // namespace

TEST(CliResTools, CorrectPrintsOrWritesTheRenumberedHeader) {
    CProject p;
    const std::string header = p.Path("resource.h");
    const std::string before = ReadFileBytes(header);
    const CCliResult r = RunCli({"res-correct", header});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The numbering rules are pinned with the engine; here: printed, not written, until --write.
    EXPECT_NE(r.out.find("#define IDR_MAINFRAME  1000\r\n#define IDD_ABOUTBOX   1001\r\n"), std::string::npos);
    EXPECT_NE(r.err.find("When you use corrected Resource.h in your project\nwill not foget to do \"Rebuld all\"!"),
              std::string::npos);
    EXPECT_EQ(ReadFileBytes(header), before);

    const CCliResult w = RunCli({"res-correct", header, "--write"});
    EXPECT_EQ(w.exitCode, 0);
    EXPECT_TRUE(w.out.empty());
    EXPECT_EQ(ReadFileBytes(header), r.out);
}

TEST(CliResTools, CommandsRefuseTheWrongKindOfFile) {
    CProject p;
    const auto notes = p.home.Write("work/notes.txt", "#define X 1\n");
    struct Case {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"res-correct", p.Path("sample.rc")}, "is not a resource header"},
        {{"res-find-rc", notes.string(), "--all-text"}, "is not a resource header"},
        {{"rc-compare", p.Path("resource.h"), p.Path("sample.rc")}, "is not an RC script"},
        {{"res-correct", p.Path("missing.h")}, "Can not to open file."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const CCliResult r = RunCli(c.args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

TEST(CliResTools, FindInRcFilesByTextAndByGroups) {
    CProject p;
    const std::string header = p.Path("resource.h");
    struct Case {
        std::vector<std::string> args;
        std::string red;
    } cases[] = {
        {{"--all-text"}, Lines({"IDD_X", "IDC_UNUSED", "IDC_DEMO_ONLY", "IDS_COMMENTED"})},
        {{"--rc", p.Path("sample.rc")}, Lines({"IDC_UNUSED", "IDC_DEMO_ONLY", "IDS_COMMENTED"})},
        {{"--rc", p.Path("sample.rc"), "--groups", "str"},
         Lines({"IDD_ABOUTBOX", "IDD_X", "IDC_EDIT1", "IDC_UNUSED", "IDC_DEMO_ONLY", "ID_FILE_NEW", "ID_APP_EXIT",
                "IDS_COMMENTED"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        std::vector<std::string> args = {"res-find-rc", header};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CCliResult r = RunCli(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.red);
    }
    const CCliResult tiny = RunCli({"res-find-rc", header, "--rc", p.home.Write("work/tiny.rc", "x").string()});
    EXPECT_EQ(tiny.exitCode, 1);
    EXPECT_EQ(tiny.err, "The second RC-file is empty.\n");

    for (const auto& bad :
         std::vector<std::vector<std::string>>{{"res-find-rc", header},
                                               {"res-find-rc", header, "--all-text", "--rc", "x.rc"},
                                               {"res-find-rc", header, "--rc", "x.rc", "--groups", "str,icons"},
                                               {"rc-compare", header}}) {
        EXPECT_EQ(RunCli(bad).exitCode, 2) << bad.back();
    }
}

TEST(CliResTools, FindInProjectWithAndWithoutKeyword) {
    CProject p;
    const std::string header = p.Path("resource.h");
    struct Case {
        std::vector<std::string> args;
        std::string red;
    } cases[] = {
        {{}, Lines({"IDR_MAINFRAME", "IDD_X", "IDC_UNUSED", "IDS_COMMENTED"})},
        {{"--keyword", "DEMO"},
         Lines({"IDR_MAINFRAME", "IDD_ABOUTBOX", "IDD_X", "IDC_EDIT1", "IDC_UNUSED", "ID_FILE_NEW", "IDS_HELLO",
                "IDS_COMMENTED"})},
        {{"--keyword", "DEMO", "--negative"},
         Lines({"IDR_MAINFRAME", "IDD_X", "IDC_UNUSED", "ID_FILE_NEW", "IDS_COMMENTED"})},
        {{"--dir", p.Path("src"), "--ext", "c"},
         Lines({"IDR_MAINFRAME", "IDD_ABOUTBOX", "IDD_X", "IDC_UNUSED", "IDC_DEMO_ONLY", "ID_FILE_NEW", "IDS_HELLO",
                "IDS_COMMENTED"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "plain" : c.args.back());
        std::vector<std::string> args = {"--yes", "res-find-project", header};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CCliResult r = RunCli(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.red);
    }
    const CCliResult no = RunCli({"res-find-project", header});
    EXPECT_EQ(no.exitCode, 1);
    EXPECT_EQ(
        no.err,
        "Will searching in 3 files of project\n for extention \"h, c, cpp\"\n\nWould you like to go process now?\n");
    EXPECT_TRUE(no.out.empty());
    const CCliResult yes = RunCli({"--yes", "res-find-project", header});
    EXPECT_NE(yes.err.find("Was search in 3 files of project\n"), std::string::npos);
}

TEST(CliResTools, CompareAndCollapseTwoLanguages) {
    CProject p;
    const std::string base = ReadFileBytes(p.Path("sample.rc"));
    const CCliResult r = RunCli({"rc-compare", p.Path("sample.rc"), p.Path("lang/sample_de.rc")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Which ranges get which mark is the engine's, pinned there; here the printed form: one
    // "start TAB end TAB mark" line a range, byte offsets into the file on disk.
    std::istringstream lines(r.out);
    std::vector<std::string> missing;
    std::size_t start, end, ranges = 0;
    for (int mark; lines >> start >> end >> mark; ++ranges) {
        if (mark == 1) missing.push_back(base.substr(start, end - start));
    }
    EXPECT_EQ(ranges, 10u);
    ASSERT_EQ(missing.size(), 2u);
    EXPECT_EQ(missing[0], "E&xit\",                       ID_APP_EXIT");

    const CCliResult c = RunCli({"rc-collapse", p.Path("sample.rc"), p.Path("lang/sample_de.rc")});
    ASSERT_EQ(c.exitCode, 0) << c.err;
    EXPECT_EQ(c.out, "        MENUITEM \"E&xit\",                       ID_APP_EXIT\r\n"
                     "    LTEXT           \"Sample Version 1.0\",IDC_STATIC,40,10,119,8\r\n"
                     "    DEFPUSHBUTTON   \"OK\",IDOK,178,7,50,14\r\n"
                     "IDD_X2 DIALOGEX 0, 0, 100, 50\r\n"
                     "    IDS_HELLO               \"Hello\"\r\n");

    const CCliResult onlyStrings =
        RunCli({"rc-compare", p.Path("sample.rc"), p.Path("lang/sample_de.rc"), "--groups", "str"});
    EXPECT_EQ(std::count(onlyStrings.out.begin(), onlyStrings.out.end(), '\n'), 2);
}

TEST(CliResTools, ExcludeRedIdentifiers) {
    CProject p;
    const std::string header = p.Path("resource.h");
    const std::string before = ReadFileBytes(header);
    const CCliResult r = RunCli({"res-exclude-red", header, "--rc", p.Path("sample.rc")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, WithoutLines(before, {"IDC_UNUSED", "IDC_DEMO_ONLY", "IDS_COMMENTED"}));

    const CCliResult inv = RunCli({"res-exclude-red", header, "--all-text", "--invert"});
    ASSERT_EQ(inv.exitCode, 0) << inv.err;
    EXPECT_EQ(inv.out, WithoutLines(before, {"IDR_MAINFRAME  ", "IDD_ABOUTBOX", "IDC_EDIT1  ", "ID_FILE_NEW",
                                             "ID_APP_EXIT", "IDS_HELLO"}));

    const CCliResult w = RunCli({"res-exclude-red", header, "--all-text", "--write"});
    EXPECT_EQ(w.exitCode, 0);
    EXPECT_EQ(ReadFileBytes(header), WithoutLines(before, {"IDD_X  ", "IDC_UNUSED", "IDC_DEMO_ONLY", "IDS_COMMENTED"}));

    // Nothing left red: the command is refused and the file stays.
    const CCliResult again = RunCli({"res-exclude-red", header, "--all-text", "--write"});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.err, "No identifier is marked red.\n");
}

TEST(CliResTools, Utf16ScriptsGiveTheSameResultsWithOffsetsIntoTheFileOnDisk) {
    CProject p;
    // Non-ASCII text ahead of every range, so byte and character offsets part at once.
    std::string base = ReadFileBytes(p.Path("sample.rc"));
    base.insert(base.find('\n') + 1, "// \u00DCbersicht \u20AC\r\n");
    const fs::path utf8 = p.home.Write("work/project/utf8.rc", base);
    const fs::path utf16 = p.home.Write("work/project/utf16.rc", Utf16WithBom(base));
    const fs::path otherUtf16 =
        p.home.Write("work/project/lang/de16.rc", Utf16WithBom(ReadFileBytes(p.Path("lang/sample_de.rc"))));

    const CCliResult a = RunCli({"rc-compare", utf8.string(), p.Path("lang/sample_de.rc")});
    const CCliResult b = RunCli({"rc-compare", utf16.string(), otherUtf16.string()});
    ASSERT_EQ(a.exitCode, 0) << a.err;
    ASSERT_EQ(b.exitCode, 0) << b.err;
    std::istringstream la(a.out), lb(b.out);
    const std::string disk16 = ReadFileBytes(utf16);
    std::size_t s8, e8, s16, e16;
    unsigned m8, m16;
    int ranges = 0;
    while (la >> s8 >> e8 >> m8) {
        ASSERT_TRUE(lb >> s16 >> e16 >> m16);
        EXPECT_EQ(m16, m8);
        EXPECT_EQ(disk16.substr(s16, e16 - s16), Utf16WithBom(base.substr(s8, e8 - s8)).substr(2));
        ++ranges;
    }
    EXPECT_FALSE(lb >> s16);
    EXPECT_GT(ranges, 3);

    // The identifier search reads a UTF-16 script by groups; a UTF-16 header is rewritten in UTF-16.
    const std::string header = p.Path("resource.h");
    const CCliResult red8 = RunCli({"res-find-rc", header, "--rc", utf8.string()});
    const CCliResult red16 = RunCli({"res-find-rc", header, "--rc", utf16.string()});
    EXPECT_EQ(red16.out, red8.out);
    EXPECT_FALSE(red8.out.empty());
    const CCliResult corrected8 = RunCli({"res-correct", header});
    const fs::path header16 = p.home.Write("work/project/resource16.h", Utf16WithBom(ReadFileBytes(header)));
    ASSERT_EQ(RunCli({"res-correct", header16.string(), "--write"}).exitCode, 0);
    EXPECT_EQ(ReadFileBytes(header16), Utf16WithBom(corrected8.out));
}
