#include "restools/RcScript.h"

#include "TestPorts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr CRcGroups kAll{true, true, true};

std::vector<std::string> Ids(const CRcBlock& block) {
    std::vector<std::string> ids;
    for (const auto& e : block.entries) ids.push_back(e.id);
    return ids;
}

const std::string kScript = TestData("restools/script.rc");

} // namespace

TEST(ParseRcLists, ReadsDialogsMenusAndStrings) {
    const std::string& text = kScript;
    const CRcLists lists = ParseRcLists(text, kAll);

    ASSERT_EQ(lists.dialogs.size(), 2u); // IDD_PLAIN has no DISCARDABLE
    const CRcBlock& about = lists.dialogs[0];
    EXPECT_EQ(about.name, "IDD_ABOUTBOX");
    EXPECT_EQ(about.nameEnd, 12u);
    // CTEXT is no control word: its line is passed over.
    EXPECT_EQ(Ids(about), (std::vector<std::string>{"IDC_STATIC_add_0", "IDC_STATIC_add_1", "IDOK", "IDC_EDIT1"}));
    EXPECT_EQ(about.entries[0].caption, "Version \"\"1.0\"\"");
    EXPECT_EQ(about.entries[1].caption, "");
    EXPECT_EQ(about.endStart, text.find("END\r\nIDD_PLAIN"));

    // "IDC_SEND," ends with END and a delimiter: the dialog closes there.
    const CRcBlock& ex = lists.dialogs[1];
    EXPECT_EQ(ex.name, "IDD_EX");
    EXPECT_EQ(Ids(ex), (std::vector<std::string>{"IDC_SEND"}));
    EXPECT_EQ(ex.endStart, text.find("END,7,7"));

    ASSERT_EQ(lists.menus.size(), 1u);
    EXPECT_EQ(lists.menus[0].name, "IDR_MAINFRAME");
    EXPECT_EQ(Ids(lists.menus[0]),
              (std::vector<std::string>{"POPUP", "ID_FILE_NEWIDR_MAINFRAME", "ID_APP_EXITIDR_MAINFRAME"}));
    EXPECT_EQ(lists.menus[0].entries[0].caption, "&File\"");
    EXPECT_EQ(lists.menus[0].entries[1].caption, "&New\\tCtrl+N");
    EXPECT_EQ(lists.menus[0].endAfter, text.find("END\r\nSTRINGTABLE") + 3);

    ASSERT_EQ(lists.strings.size(), 2u);
    EXPECT_EQ(lists.strings[0].id, "IDS_HELLO");
    EXPECT_EQ(lists.strings[0].caption, "Hello \"\"you\"\"");
    EXPECT_EQ(lists.strings[1].caption, "");
}

TEST(ParseRcLists, OnlyTheChosenGroups) {
    const CRcLists lists = ParseRcLists(kScript, CRcGroups{false, false, true});
    EXPECT_TRUE(lists.dialogs.empty());
    EXPECT_TRUE(lists.strings.empty());
    EXPECT_EQ(lists.menus.size(), 1u);
}

TEST(ParseRcLists, LfOnlyAndTruncatedTextsAreReadAsFarAsTheyGo) {
    const std::string& text = kScript;
    std::string lf = text;
    std::erase(lf, '\r');
    const CRcLists lfLists = ParseRcLists(lf, kAll);
    EXPECT_EQ(lfLists.dialogs.size(), 2u);
    EXPECT_EQ(lfLists.menus.size(), 1u);
    EXPECT_EQ(lfLists.strings.size(), 2u);

    // Every cut of the script parses without reading past its end.
    for (std::size_t cut = 0; cut < text.size(); ++cut) {
        const std::string part = text.substr(0, cut);
        const CRcLists lists = ParseRcLists(part, kAll);
        for (const auto& d : lists.dialogs)
            for (const auto& e : d.entries) ASSERT_LE(e.end, part.size());
    }
    const CRcLists cut = ParseRcLists(text.substr(0, text.find("IDOK")), kAll);
    ASSERT_EQ(cut.dialogs.size(), 1u);
    EXPECT_EQ(cut.dialogs[0].entries.size(), 2u);
    EXPECT_EQ(cut.dialogs[0].endStart, text.find("IDOK"));
}

TEST(ParseRcLists, MenuWordInsideANameIsNoBlock) {
    // "IDR_MENU MENU" holds MENU twice; the first is followed by "MENU", not DISCARDABLE.
    const CRcLists lists = ParseRcLists("IDR_MENU MENU DISCARDABLE\nBEGIN\n MENUITEM \"A\", ID_A\nEND\n", kAll);
    ASSERT_EQ(lists.menus.size(), 1u);
    EXPECT_EQ(lists.menus[0].name, "IDR_MENU");
    EXPECT_EQ(Ids(lists.menus[0]), (std::vector<std::string>{"ID_AIDR_MENU"}));
}

// A block's name is the first token of the line its keyword is on, however many blocks share
// that line and whatever ends the lines.
TEST(ParseRcLists, NamesOfBlocksSharingALine) {
    const struct {
        const char* text;
        std::vector<std::string> names;
    } cases[] = {
        {"A DIALOG DISCARDABLE BEGIN END B DIALOG DISCARDABLE BEGIN END\r\nC DIALOG DISCARDABLE BEGIN END",
         {"A", "A", "C"}},
        {"A DIALOG DISCARDABLE BEGIN END\rB DIALOG DISCARDABLE BEGIN END\nC DIALOGEX 0 BEGIN END", {"A", "B", "C"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> names;
        for (const auto& d : ParseRcLists(c.text, kAll).dialogs) names.push_back(d.name);
        EXPECT_EQ(names, c.names);
    }
}
