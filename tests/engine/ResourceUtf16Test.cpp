#include "restools/CResourceTools.h"
#include "restools/CResourceView.h"

#include "TestPorts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace {

class CAcceptingDialogs : public CResourceDialogs {
public:
    CAcceptingDialogs(CPrompt& prompt, CSettings& settings) : m_prompt(prompt), m_settings(settings) {}
    bool RunRcOptionsDialog(bool) override { return true; }
    bool RunProjectSearchDialog(CProjectSearchOptions& options) override {
        options.extensions = ".cpp";
        return AcceptProjectSearchOptions(m_prompt, m_settings, options);
    }

private:
    CPrompt& m_prompt;
    CSettings& m_settings;
};

const char* const kHeader = "// \xC3\x9C" "berschrift\r\n"
                            "#define IDR_MAINFRAME 128\r\n"
                            "#define IDD_ABOUTBOX 100\r\n"
                            "#define IDC_GONE 1000\r\n"
                            "#define ID_FILE_NEW 32771\r\n"
                            "#define IDS_HELLO 61000\r\n"
                            "#define IDS_GRUSS 61001\r\n";

const char* const kBaseRc = "// Sample\r\n#define APSTUDIO_READONLY_SYMBOLS\r\n"
                            "IDR_MAINFRAME MENU DISCARDABLE\r\nBEGIN\r\n    POPUP \"&File\"\r\n    BEGIN\r\n"
                            "        MENUITEM \"&New\", ID_FILE_NEW\r\n        MENUITEM \"E&xit\", ID_APP_EXIT\r\n"
                            "    END\r\nEND\r\n"
                            "IDD_ABOUTBOX DIALOG DISCARDABLE 0, 0, 235, 55\r\nBEGIN\r\n"
                            "    LTEXT \"Sample \xE2\x82\xAC\",IDC_STATIC,40,10,119,8\r\n"
                            "    DEFPUSHBUTTON \"OK\",IDOK,178,7,50,14\r\nEND\r\n"
                            "STRINGTABLE DISCARDABLE\r\nBEGIN\r\n    IDS_HELLO \"Hello\"\r\n"
                            "    IDS_GRUSS \"Gr\xC3\xBC\xC3\x9F" "e\"\r\n    IDS_ONLY \"x\"\r\nEND\r\n";

// The German twin: umlauts and a euro sign before the ranges, so byte and character offsets
// part early in UTF-16.
const char* const kOtherRc = "// \xC3\x9C" "bersetzung \xE2\x82\xAC\r\n#define APSTUDIO_READONLY_SYMBOLS\r\n"
                             "IDR_MAINFRAME MENU DISCARDABLE\r\nBEGIN\r\n    POPUP \"&File\"\r\n    BEGIN\r\n"
                             "        MENUITEM \"&Neu\", ID_FILE_NEW\r\n    END\r\nEND\r\n"
                             "IDD_ABOUTBOX DIALOG DISCARDABLE 0, 0, 235, 55\r\nBEGIN\r\n"
                             "    LTEXT \"Sample \xE2\x82\xAC\",IDC_STATIC,40,10,119,8\r\n"
                             "    DEFPUSHBUTTON \"OK\",IDOK,178,7,50,14\r\nEND\r\n"
                             "STRINGTABLE DISCARDABLE\r\nBEGIN\r\n    IDS_HELLO \"Hallo\"\r\n"
                             "    IDS_GRUSS \"Gr\xC3\xBC\xC3\x9F" "e\"\r\nEND\r\n";

const char* const kSource = "// \xC3\xA4 IDC_GONE only in a comment\r\n"
                            "#ifdef DEMO\r\nint a = IDS_GRUSS; // \xE2\x82\xAC\r\n#else\r\nint b = IDS_HELLO;\r\n#endif\r\n"
                            "const char* s = \"\xC3\xB6\"; int c = IDD_ABOUTBOX;\r\n";

struct CResult {
    std::vector<std::string> red;
    std::vector<std::tuple<std::size_t, std::size_t, std::uint8_t>> marks;
    bool operator==(const CResult&) const = default;
};

struct CRun {
    CTempHome home;
    CTestPorts ports;
    std::function<std::string(std::string_view)> encode;

    CResult Run(const std::string& loadedName, const std::string& loaded,
                const std::function<bool(CResourceTools&)>& command) {
        CMemoryResourceView view((home.Work() / loadedName).string(), loaded);
        CAcceptingDialogs dialogs(ports.prompt, ports.settings);
        CResourceTools tools(view, dialogs, ports.ports);
        tools.DetectKind();
        EXPECT_TRUE(command(tools));
        CResult r{tools.RedIdentifiers(), {}};
        const CMarkList& m = tools.Marks();
        for (std::size_t i = 0; i < m.Count(); ++i) r.marks.emplace_back(m.ranges[i].start, m.ranges[i].end, m.marks[i]);
        return r;
    }
    std::string Write(const char* rel, const char* utf8) { return home.Write(rel, encode(utf8)).string(); }
};

} // namespace

TEST(ResourceToolsUtf16, ScriptsAndSourcesInUtf16CountAsTheirUtf8Copies) {
    const struct {
        const char* name;
        std::function<CResult(CRun&)> run;
    } searches[] = {
        {"rc by groups", [](CRun& r) {
             r.ports.settings.WriteInt("Default", "optinsRC_STR", 1);
             r.ports.settings.WriteInt("Default", "optinsRC_DLG", 1);
             r.ports.settings.WriteInt("Default", "optinsRC_MENU", 1);
             r.ports.pickers.answers.push_back(r.Write("work/lang/de.rc", kOtherRc));
             return r.Run("resource.h", kHeader, [](CResourceTools& t) { return t.OnFindInRcFile(); });
         }},
        {"rc all text", [](CRun& r) {
             r.ports.settings.WriteInt("Default", "optinsRC_ALL", 1);
             r.Write("work/lang/de.rc", kOtherRc);
             return r.Run("resource.h", kHeader, [](CResourceTools& t) { return t.OnFindInRcFile(); });
         }},
        {"project", [](CRun& r) {
             r.Write("work/src/main.cpp", kSource);
             r.ports.settings.WriteString("Default", "rs_search_bound", "DEMO");
             r.ports.prompt.AnswerYes();
             return r.Run("resource.h", kHeader, [](CResourceTools& t) { return t.OnFindInProject(); });
         }},
        {"compare", [](CRun& r) {
             r.ports.settings.WriteInt("Default", "optinsRC_STR", 1);
             r.ports.settings.WriteInt("Default", "optinsRC_DLG", 1);
             r.ports.settings.WriteInt("Default", "optinsRC_MENU", 1);
             r.ports.pickers.answers.push_back(r.Write("work/lang/de.rc", kOtherRc));
             return r.Run("base.rc", kBaseRc, [](CResourceTools& t) { return t.OnCompareRc(); });
         }},
    };
    for (const auto& s : searches) {
        SCOPED_TRACE(s.name);
        CRun utf8Run;
        utf8Run.encode = [](std::string_view t) { return std::string(t); };
        const CResult expected = s.run(utf8Run);
        // Something found and something missed, or the equality below would prove nothing.
        EXPECT_FALSE(expected.marks.empty());
        EXPECT_TRUE(std::any_of(expected.marks.begin(), expected.marks.end(),
                                [](const auto& m) { return std::get<2>(m) == kMarkRed; }));
        EXPECT_TRUE(std::any_of(expected.marks.begin(), expected.marks.end(),
                                [](const auto& m) { return std::get<2>(m) != kMarkRed; }));
        for (const bool bigEndian : {false, true}) {
            SCOPED_TRACE(bigEndian ? "UTF-16 BE" : "UTF-16 LE");
            CRun utf16Run;
            utf16Run.encode = [bigEndian](std::string_view t) { return Utf16WithBom(t, bigEndian); };
            EXPECT_EQ(s.run(utf16Run), expected);
        }
    }
}
