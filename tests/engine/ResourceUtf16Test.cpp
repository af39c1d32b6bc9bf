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

// UTF-8 samples with umlauts and a euro sign before the ranges (most in the German script), so
// byte and character offsets part early once they are UTF-16.
std::string Sample(const char* name) { return TestData(std::string("restools/utf8/") + name); }

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
        for (std::size_t i = 0; i < m.Count(); ++i)
            r.marks.emplace_back(m.ranges[i].start, m.ranges[i].end, m.marks[i]);
        return r;
    }
    std::string Write(const char* rel, const char* sample) { return home.Write(rel, encode(Sample(sample))).string(); }
    void AllGroups() {
        for (const char* key : {"optinsRC_STR", "optinsRC_DLG", "optinsRC_MENU"})
            ports.settings.WriteInt("Default", key, 1);
    }
};

} // namespace

TEST(ResourceToolsUtf16, ScriptsAndSourcesInUtf16CountAsTheirUtf8Copies) {
    const struct {
        const char* name;
        std::function<CResult(CRun&)> run;
    } searches[] = {
        {"rc by groups",
         [](CRun& r) {
             r.AllGroups();
             r.ports.pickers.answers.push_back(r.Write("work/lang/de.rc", "de.rc"));
             return r.Run("resource.h", Sample("resource.h"), [](CResourceTools& t) { return t.OnFindInRcFile(); });
         }},
        {"rc all text",
         [](CRun& r) {
             r.ports.settings.WriteInt("Default", "optinsRC_ALL", 1);
             r.Write("work/lang/de.rc", "de.rc");
             return r.Run("resource.h", Sample("resource.h"), [](CResourceTools& t) { return t.OnFindInRcFile(); });
         }},
        {"project",
         [](CRun& r) {
             r.Write("work/src/main.cpp", "main.cpp");
             r.ports.settings.WriteString("Default", "rs_search_bound", "DEMO");
             r.ports.prompt.AnswerYes();
             return r.Run("resource.h", Sample("resource.h"), [](CResourceTools& t) { return t.OnFindInProject(); });
         }},
        {"compare",
         [](CRun& r) {
             r.AllGroups();
             r.ports.pickers.answers.push_back(r.Write("work/lang/de.rc", "de.rc"));
             return r.Run("base.rc", Sample("base.rc"), [](CResourceTools& t) { return t.OnCompareRc(); });
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
