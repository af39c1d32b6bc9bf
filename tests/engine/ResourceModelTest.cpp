#include "restools/ResourceModel.h"
#include "restools/CNameMatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(DetectResourceKind, NeedsExtensionAndMarker) {
    struct Case {
        const char *path, *text;
        EViewKind kind;
    } cases[] = {
        {"/p/app.rc", "x APSTUDIO_READONLY_SYMBOLS y", EViewKind::RcScript},
        {"/p/APP.RC", "APSTUDIO_READONLY_SYMBOLS", EViewKind::RcScript},
        {"/p/app.rc", "apstudio_readonly_symbols", EViewKind::Text},
        {"/p/resource.h", "#define X 1", EViewKind::ResourceHeader},
        {"/p/Resource.H", "predefined", EViewKind::ResourceHeader},
        {"/p/resource.h", "#DEFINE X 1", EViewKind::Text},
        {"/p/app.rc2", "APSTUDIO_READONLY_SYMBOLS", EViewKind::Text},
        {"/p.rc/rc", "APSTUDIO_READONLY_SYMBOLS", EViewKind::Text},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(DetectResourceKind(c.path, c.text, EViewKind::Text), c.kind);
    }
}

TEST(MatchWord, NeedsADelimiterOrTheEndAfterTheWord) {
    const std::string text = "BEGIN\nEND,XEND\r\nENDX END";
    EXPECT_TRUE(MatchWord(text, 0, "BEGIN", false)); // LF after it
    EXPECT_TRUE(MatchWord(text, 6, "END", false));   // comma
    EXPECT_TRUE(MatchWord(text, 11, "END", false));  // end of a longer word, then CR
    EXPECT_FALSE(MatchWord(text, 16, "END", false)); // ENDX
    EXPECT_TRUE(MatchWord(text, 21, "END", false));  // the end of the text
    EXPECT_FALSE(MatchWord(text, 22, "END", false)); // would run past the end
    EXPECT_FALSE(MatchWord(text, 100, "END", false));
    EXPECT_TRUE(MatchWord(text, 0, "begin", true));
    EXPECT_FALSE(MatchWord(text, 0, "begin", false));
    EXPECT_FALSE(IsWordDelimiter('_'));
    EXPECT_FALSE(IsWordDelimiter('\0'));
    EXPECT_TRUE(IsWordDelimiter('-'));
}

TEST(FindBodyEnd, StopsBeforeTheTrailerLine) {
    const std::string pad(300, 'x');
    struct Case {
        std::string text;
        long long end;
        bool trailer;
    } cases[] = {
        {"short #ifdef APSTUDIO_INVOKED", 29, false},
        {"ab\r\ncd\r\n#ifdef APSTUDIO_INVOKED\r\n" + pad, 5, true}, // before the CR of "cd"
        {"ab\ncd\n#ifdef APSTUDIO_INVOKED\n" + pad, 4, true},       // before the LF of "cd"
        {"#ifdef apstudio_invoked\r\n" + pad, -1, true},
        {pad + "\r\n#ifdef APSTUDIO_INVOKED\r\n" + std::string(150, 'y'), 477, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        const CBodyEnd body = FindBodyEnd(c.text);
        EXPECT_EQ(body.end, c.end);
        EXPECT_EQ(body.trailer, c.trailer);
    }
}

TEST(ParseDefineLine, TakesTheNameAndEndsAtTheLineEnd) {
    const std::string text = "#include \"a.h\"\r\n#define IDC_A\t 5\r\n#Define IDC_B\n#define\r\n";
    const CDefineLine inc = ParseDefineLine(text, 0);
    EXPECT_EQ(inc.name, "IDC_A"); // the search runs on to the next "define"
    EXPECT_EQ(inc.next, text.find("\n#Define"));
    const CDefineLine b = ParseDefineLine(text, inc.next + 1);
    EXPECT_EQ(b.name, "IDC_B");
    EXPECT_EQ(b.next, text.find("\n#define\r"));
    const CDefineLine empty = ParseDefineLine(text, b.next + 1);
    EXPECT_EQ(empty.name, "");
    EXPECT_EQ(ParseDefineLine("#endif", 0).next, 6u);
}

TEST(BuildIdentifierList, OneRangePerNameFromHashToLineEnd) {
    const std::string text = "// c\r\n#define IDD_X 1\r\n#define IDD_X 2\r\n#if defined(Y)\r\n#endif\r\n";
    CIdentifierList ids;
    CMarkList marks;
    BuildIdentifierList(text, ids, marks);
    ASSERT_EQ(ids.names, (std::vector<std::string>{"IDD_X", "IDD_X", "d(Y)"}));
    ASSERT_EQ(marks.Count(), 3u);
    EXPECT_EQ(marks.ranges[0].start, 6u);
    EXPECT_EQ(marks.ranges[0].end, 22u); // the LF of the line; its CR is inside
    EXPECT_EQ(marks.ranges[2].start, text.find("#if"));
    EXPECT_EQ(ids.found, (std::vector<std::uint32_t>{0, 0, 0}));
}

TEST(CNameMatcher, EdgeCasesOfTheScan) {
    struct Case {
        const char* text;
        std::vector<std::uint32_t> found; // IDD_X, IDD_X2, IDC_SEND
    } cases[] = {
        {"IDD_X2, IDD_X3", {0, 1, 0}},   // IDD_X is no word of its own inside IDD_X2
        {"x IDD_X", {1, 0, 0}},          // at the very end of the text
        {"MYIDD_X;", {1, 0, 0}},         // at the end of a longer word
        {"IDD_X\nIDD_X\r\n", {2, 0, 0}}, // LF-only lines
        {"IDD_X_IDD_X2=", {0, 1, 0}},
    };
    const std::vector<std::string> names = {"IDD_X", "IDD_X2", "IDC_SEND"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::uint32_t> found(names.size(), 0);
        CNameMatcher(names).Count(c.text, found);
        EXPECT_EQ(found, c.found);
    }
}

TEST(CNameMatcher, TicksOnMultiplesOfTheDistance) {
    const std::string text = std::string(20, 'x') + "IDD_LONGNAME " + std::string(20, 'x');
    std::vector<std::uint32_t> found(1, 0);
    std::vector<std::size_t> ticks;
    // The match jumps from 20 to 32, over the multiple 30.
    CNameMatcher({"IDD_LONGNAME"}).Count(text, found, 10, [&](std::size_t d) { ticks.push_back(d); });
    EXPECT_EQ(found[0], 1u);
    EXPECT_EQ(ticks, (std::vector<std::size_t>{10, 20, 40, 50}));
}

// Counted in the text that is left, the first range would fall on the line of "d"; the first line
// and the last one (without a line end) are the edges.
TEST(RemoveLinesHolding, RemovesEachLineOnceCountedInTheOriginalText) {
    const std::string text = "x\r\nlong line here\r\nb\r\nc\r\nd\r\ne\r\nf";
    EXPECT_EQ(RemoveLinesHolding(text, {10, 16}), "x\r\nb\r\nc\r\nd\r\ne\r\nf");
    EXPECT_EQ(RemoveLinesHolding(text, {0, 1, text.size()}), "long line here\r\nb\r\nc\r\nd\r\ne");
}
