#include "restools/CResourceTools.h"
#include "restools/CResourceView.h"

#include "TestPorts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

class CScriptedDialogs : public CResourceDialogs {
public:
    CScriptedDialogs(CPrompt& prompt, CSettings& settings) : m_prompt(prompt), m_settings(settings) {}
    bool RunRcOptionsDialog(bool withAllText) override {
        allTextShown.push_back(withAllText);
        if (!rc) return false;
        SaveRcOptions(m_settings, *rc, withAllText);
        return true;
    }
    bool RunProjectSearchDialog(CProjectSearchOptions& options) override {
        if (!project) return false;
        options = *project;
        return AcceptProjectSearchOptions(m_prompt, m_settings, options);
    }
    std::optional<CRcOptions> rc;
    std::optional<CProjectSearchOptions> project;
    std::vector<bool> allTextShown;

private:
    CPrompt& m_prompt;
    CSettings& m_settings;
};

const std::string kHeader = TestData("restools/ids.h");

struct CFixture {
    explicit CFixture(std::string path, std::string text)
        : view(std::move(path), std::move(text)), dialogs(ports.prompt, ports.settings),
          tools(view, dialogs, ports.ports) {
        tools.DetectKind();
    }
    CTestPorts ports;
    CMemoryResourceView view;
    CScriptedDialogs dialogs;
    CResourceTools tools;
};

std::vector<std::string> Names(std::initializer_list<const char*> l) { return {l.begin(), l.end()}; }

TEST(ResourceTools, GroupSearchFindsPrefixesAndColoursTheRest) {
    CTempHome home;
    const std::string text = Crlf(kHeader);
    const auto rc = home.Write(
        "work/other.rc", "IDD_X2 DIALOG DISCARDABLE 0, 0, 1, 1\r\nBEGIN\r\n  LTEXT \"a\",IDD_ABOUTBOX_OK,1\r\nEND\r\n"
                         "IDR_MAINFRAME MENU DISCARDABLE\r\nBEGIN\r\n MENUITEM \"N\", ID_FILE_NEW\r\nEND\r\n");
    CFixture f((home.Work() / "resource.h").string(), text);
    ASSERT_EQ(f.tools.Kind(), EViewKind::ResourceHeader);
    f.dialogs.rc = CRcOptions{{true, true, true}, false};
    f.ports.pickers.answers.push_back(rc.string());

    ASSERT_TRUE(f.tools.OnFindInRcFile());
    EXPECT_EQ(f.ports.pickers.titles, std::vector<std::string>{"Open according RC-file"});
    // IDD_X counts through IDD_X2; ID_FILE_NEW through the menu item with the menu name appended.
    EXPECT_EQ(f.tools.RedIdentifiers(), Names({"IDC_GONE", "IDS_HELLO"}));
    const CMarkList& m = f.tools.Marks();
    ASSERT_EQ(m.Count(), 5u);
    EXPECT_TRUE(f.view.IsModified());
    EXPECT_EQ(f.view.SelStart(), m.ranges[0].start);
    std::vector<std::uint32_t> colors;
    for (const auto& c : f.view.Colored()) colors.push_back(c.color);
    EXPECT_EQ(colors, (std::vector<std::uint32_t>{kColorBlack, kColorBlack, kColorRed, kColorBlack, kColorRed}));
}

TEST(ResourceTools, AllTextSearchScansEveryRcFileBelowTheHeader) {
    CTempHome home;
    home.Write("work/proj/a.rc", "IDD_X2, IDD_ABOUTBOX\r\n");
    home.Write("work/proj/sub/deeper/b.rc", "x ID_FILE_NEW"); // no line end after the name
    home.Write("work/proj/c.txt", "IDC_GONE IDS_HELLO\r\n");
    const std::string header = (home.Work() / "proj/resource.h").string();
    CFixture f(header, kHeader);
    f.dialogs.rc = CRcOptions{{false, false, false}, true};

    ASSERT_TRUE(f.tools.OnFindInRcFile());
    EXPECT_EQ(f.tools.RedIdentifiers(), Names({"IDD_X", "IDC_GONE", "IDS_HELLO"}));
    EXPECT_FALSE(f.view.IsModified());
    EXPECT_EQ(f.ports.progress.log.opened, 0); // 5 names x 2 files is no long operation
}

TEST(ResourceTools, AllTextSearchWithoutRcFilesAsksForOne) {
    CTempHome home;
    home.Write("work/empty/readme.txt", "IDD_X");
    home.Write("work/elsewhere/x.rc", "IDD_X IDC_GONE ID_FILE_NEW IDS_HELLO IDD_ABOUTBOX");
    CFixture f((home.Work() / "empty/resource.h").string(), kHeader);
    f.dialogs.rc = CRcOptions{{}, true};
    EXPECT_FALSE(f.tools.OnFindInRcFile()); // the chooser is cancelled
    EXPECT_EQ(f.ports.prompt.Texts(), std::vector<std::string>{"Was not found any RC-file in current directory."});
    EXPECT_EQ(f.tools.Marks().Count(), 0u);
}

TEST(ResourceTools, AllTextProgressAndStop) {
    CTempHome home;
    std::string header;
    for (int i = 0; i < 600; ++i) header += "#define IDC_N" + std::to_string(i) + " " + std::to_string(i) + "\n";
    home.Write("work/p/one.rc", std::string(2000, ' ') + "IDC_N1\n");
    home.Write("work/p/sub/two.rc", "IDC_N2\n");
    {
        CFixture f((home.Work() / "p/resource.h").string(), header);
        f.dialogs.rc = CRcOptions{{}, true};
        ASSERT_TRUE(f.tools.OnFindInRcFile());
        const auto& log = f.ports.progress.log;
        EXPECT_EQ(log.opened, 1);
        const auto has = [&](const std::string& label) {
            return std::find(log.labels.begin(), log.labels.end(), label) != log.labels.end();
        };
        EXPECT_TRUE(has("one.rc 49%")); // after 999 of 2007 bytes
        EXPECT_EQ(f.tools.RedIdentifiers().size(), 598u);
    }
    {
        // Stop before anything was scanned: every name turns red.
        CFixture f((home.Work() / "p/resource.h").string(), header);
        f.dialogs.rc = CRcOptions{{}, true};
        f.ports.progress.log.stopAtQuery = 1;
        ASSERT_TRUE(f.tools.OnFindInRcFile());
        EXPECT_EQ(f.tools.RedIdentifiers().size(), 600u);
    }
}

TEST(ResourceTools, ProjectSearchFiltersByKeyword) {
    CTempHome home;
    const std::string dir = (home.Work() / "proj").string();
    const std::string header = dir + "/resource.h";
    home.Write("work/proj/resource.h", kHeader);
    home.Write("work/proj/src/main.cpp", "#ifndef DEMO\nint a = IDD_X;\n#else\nint b = IDC_GONE;\n#endif\n"
                                         "// IDS_HELLO only in a comment\n"
                                         "const char* s = \"ID_FILE_NEW\";\n");
    home.Write("work/proj/src/notes.txt", "IDD_ABOUTBOX\n");
    struct Case {
        const char* keyword;
        bool negative;
        std::vector<std::string> red;
    } cases[] = {
        {"DEMO and more", true, Names({"IDD_X", "IDD_ABOUTBOX", "IDS_HELLO"})},
        {"  DEMO", false, Names({"IDD_X", "IDD_ABOUTBOX", "ID_FILE_NEW", "IDS_HELLO"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keyword);
        CFixture f(header, kHeader);
        f.dialogs.project = CProjectSearchOptions{dir, c.keyword, ".h, .c, .cpp", c.negative};
        f.ports.prompt.AnswerYes();
        ASSERT_TRUE(f.tools.OnFindInProject());
        EXPECT_EQ(f.tools.RedIdentifiers(), c.red);
        EXPECT_EQ(f.ports.settings.GetString("Default", "rs_search_bound", "?"), "DEMO");
    }
}

TEST(ResourceTools, ProjectSearchDialogRulesAndNo) {
    CTempHome home;
    CFixture f((home.Work() / "resource.h").string(), kHeader);
    f.dialogs.project = CProjectSearchOptions{"", "X", "", false};
    EXPECT_FALSE(f.tools.OnFindInProject());
    EXPECT_EQ(f.ports.prompt.Texts(), std::vector<std::string>{"Project path is empty!"});

    f.ports.prompt.Clear();
    f.dialogs.project = CProjectSearchOptions{home.Work().string(), "", "*.cpp", false};
    f.ports.prompt.AnswerNo();
    EXPECT_FALSE(f.tools.OnFindInProject());
    EXPECT_EQ(f.ports.prompt.Texts().size(), 1u);
    EXPECT_EQ(f.tools.Marks().Count(), 0u);
}

TEST(ResourceTools, ProjectSearchSkipsOnlyTheLoadedHeaderItself) {
    CTempHome home;
    home.Write("work/p/Resource.h", kHeader);
    home.Write("work/p/resource.h", "IDD_X IDD_ABOUTBOX IDC_GONE ID_FILE_NEW IDS_HELLO\n");
    CFixture f((home.Work() / "p/Resource.h").string(), kHeader);
    f.dialogs.project = CProjectSearchOptions{(home.Work() / "p").string(), "", ".h", false};
    f.ports.prompt.AnswerYes();
    ASSERT_TRUE(f.tools.OnFindInProject());
    EXPECT_TRUE(f.tools.RedIdentifiers().empty());
}

const std::string kBaseRc = TestData("restools/compare_base.rc");

const std::string kOtherRc = TestData("restools/compare_other.rc");

struct CExpectedRange {
    std::size_t start, end;
    std::uint8_t mark;
    bool operator==(const CExpectedRange&) const = default;
};

std::vector<CExpectedRange> Ranges(const CMarkList& m) {
    std::vector<CExpectedRange> r;
    for (std::size_t i = 0; i < m.Count(); ++i) r.push_back({m.ranges[i].start, m.ranges[i].end, m.marks[i]});
    return r;
}

struct CCompareFixture : CFixture {
    CCompareFixture(const CTempHome& home, std::string base)
        : CFixture((home.Work() / "base.rc").string(), std::move(base)) {
        otherPath = home.Write("work/other.rc", kOtherRc).string();
        SetGroups(1);
        ports.pickers.answers.push_back(otherPath);
    }
    void SetGroups(int on) {
        for (const char* key : {"optinsRC_STR", "optinsRC_DLG", "optinsRC_MENU"})
            ports.settings.WriteInt("Default", key, on);
    }
    std::string otherPath;
};

TEST(ResourceTools, CompareMarksRedBlueAndUnmarked) {
    CTempHome home;
    const std::string t = kBaseRc;
    CCompareFixture f(home, t);
    ASSERT_EQ(f.tools.Kind(), EViewKind::RcScript);
    ASSERT_TRUE(f.tools.OnCompareRc());

    const auto at = [&](const char* s, std::size_t from = 0) { return t.find(s, from); };
    const auto end = [&](const char* s) { return t.find(s) + std::string_view(s).size(); };
    const std::vector<CExpectedRange> expected = {
        {at("Same\",IDC"), end("Same\",IDC_STATIC"), kMarkBlue},
        // The second static is compared with the inserted one, the third with the second.
        {at("Base only\""), end("Base only\",IDC_STATIC"), kMarkNone},
        {at("Third\""), end("Third\",IDC_STATIC"), kMarkNone},
        {at("OK\",IDOK"), end("OK\",IDOK"), kMarkBlue},
        {at("IDC_NEW"), end("IDC_NEW"), kMarkRed},
        {end("IDD_GONE"), at("END\nIDR_MAINFRAME"), kMarkRed},
        {end("POPUP"), end("\"&File\""), kMarkBlue},
        {at("&New"), end("ID_FILE_NEW"), kMarkNone},
        {at("E&xit"), end("ID_APP_EXIT"), kMarkRed},
        {at("IDS_SAME"), at("\"\n    IDS_TRANS"), kMarkBlue},
        {at("IDS_TRANS"), at("\"\n    IDS_GONE"), kMarkNone},
        {at("IDS_GONE"), at("\"\nEND\n", at("IDS_GONE")), kMarkRed},
    };
    EXPECT_EQ(Ranges(f.tools.Marks()), expected);
    EXPECT_FALSE(f.view.IsModified());
    EXPECT_EQ(f.view.SelStart(), expected[0].start);

    // "Go to next" visits every range, unmarked ones too, and wraps.
    for (std::size_t i = 0; i < expected.size() + 1; ++i) ASSERT_TRUE(f.tools.OnGoToNextMark());
    EXPECT_EQ(f.view.SelStart(), expected[0].start);
    EXPECT_EQ(f.view.SelEnd(), expected[0].end);
}

TEST(ResourceTools, CompareAsksForGroupsUntilOneIsChosen) {
    CTempHome home;
    CCompareFixture f(home, kBaseRc);
    f.SetGroups(0);
    EXPECT_FALSE(f.tools.OnCompareRc()); // no dialog answer: Cancel ends the command
    EXPECT_EQ(f.dialogs.allTextShown, std::vector<bool>{false});

    f.ports.pickers.answers.push_back(f.otherPath);
    f.dialogs.rc = CRcOptions{{true, false, false}, false};
    ASSERT_TRUE(f.tools.OnCompareRc());
    EXPECT_EQ(f.tools.Marks().Count(), 3u);
}

TEST(ResourceTools, CollapseShowsMarkedLinesAndRestoreBringsTheTextBack) {
    CTempHome home;
    const std::string t = Crlf(kBaseRc);
    CCompareFixture f(home, t);
    ASSERT_TRUE(f.tools.OnCompareRc());
    f.view.SetModified(true);
    ASSERT_TRUE(f.tools.OnCollapseColors());
    const std::string collapsed = TestData("restools/compare_base.collapsed.rc");
    EXPECT_EQ(f.view.Text(), collapsed);

    f.view.SetModified(false);
    ASSERT_TRUE(f.tools.OnRestoreCollapsed());
    EXPECT_EQ(f.view.Text(), t);
    EXPECT_TRUE(f.view.IsModified()); // as it was when the view collapsed
}

TEST(ResourceTools, ExcludeAfterCompareRemovesTheFirstLineOfEachRedRange) {
    CTempHome home;
    const std::string t = Crlf(kBaseRc);
    CCompareFixture f(home, t);
    ASSERT_TRUE(f.tools.OnCompareRc());
    ASSERT_TRUE(f.tools.OnExcludeRed());
    std::string expected = t;
    for (const char* line :
         {"    EDITTEXT        IDC_NEW,7,7,50,14\r\n", "IDD_GONE DIALOG DISCARDABLE 0, 0, 10, 10\r\n",
          "        MENUITEM \"E&xit\", ID_APP_EXIT\r\n", "    IDS_GONE   \"Gone\"\r\n"})
        expected.erase(expected.find(line), std::string_view(line).size());
    EXPECT_EQ(f.view.Text(), expected);
    EXPECT_TRUE(f.view.IsModified());
    // The old ranges are gone, so a second run cannot cut other lines.
    EXPECT_EQ(f.tools.Marks().Count(), 0u);
    EXPECT_FALSE(f.tools.OnExcludeRed());
}

TEST(ResourceTools, ExcludeAndInvertAfterAnIdentifierSearch) {
    const std::string lf = "#define IDA 1\n#define IDB 2\n#define IDC 3";
    struct Case {
        const char* name;
        std::string text, used, excluded, inverted;
    } cases[] = {
        {"CR LF, first and middle", Crlf(lf), "IDC", "#define IDC 3", "#define IDA 1\r\n#define IDB 2"},
        {"LF, last line without line end", lf, "IDA IDB", "#define IDA 1\n#define IDB 2", "#define IDC 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool invert : {false, true}) {
            CTempHome home;
            home.Write("work/used.rc", c.used);
            CFixture f((home.Work() / "resource.h").string(), c.text);
            f.dialogs.rc = CRcOptions{{}, true};
            ASSERT_TRUE(f.tools.OnFindInRcFile());
            if (invert) {
                ASSERT_TRUE(f.tools.OnInvertRed());
                EXPECT_TRUE(f.view.IsModified());
            }
            ASSERT_TRUE(f.tools.OnExcludeRed());
            EXPECT_EQ(f.view.Text(), invert ? c.inverted : c.excluded);
        }
    }
}

TEST(ResourceTools, CollapseOfAnIdentifierSearchTakesOnlyRedLines) {
    CTempHome home;
    home.Write("work/used.rc", "IDB\n");
    CFixture f((home.Work() / "resource.h").string(), "#define IDA 1\n#define IDB 2\n#define IDC 3\n");
    f.dialogs.rc = CRcOptions{{}, true};
    ASSERT_TRUE(f.tools.OnFindInRcFile());
    ASSERT_TRUE(f.tools.OnCollapseColors());
    EXPECT_EQ(f.view.Text(), "#define IDA 1\n#define IDC 3\n");
    // A command that reads the view works on the full text, not on the extract.
    ASSERT_TRUE(f.tools.OnCorrectResourceFile());
    EXPECT_NE(f.view.Text().find("#define IDB  1000\n#define IDC  10000\n#define IDA  10001\n"), std::string::npos);
}

TEST(ResourceTools, CommandsFollowTheViewKind) {
    CFixture rc("/x/a.rc", "APSTUDIO_READONLY_SYMBOLS");
    EXPECT_FALSE(rc.tools.OnCorrectResourceFile());
    CFixture text("/x/a.txt", "#define A 1");
    EXPECT_FALSE(text.tools.OnCompareRc());
    EXPECT_FALSE(text.tools.OnFindInRcFile());
    EXPECT_TRUE(text.ports.prompt.Texts().empty());
}

} // namespace
