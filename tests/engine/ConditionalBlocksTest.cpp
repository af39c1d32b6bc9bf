#include "restools/ConditionalBlocks.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <tuple>

namespace {

std::string Lf(std::string s) {
    std::erase(s, '\r');
    return s;
}

} // namespace

TEST(RemoveComments, CutsLineAndBlockComments) {
    struct Case {
        const char *in, *out;
    } cases[] = {
        {"a // b\r\nc", "a \r\nc"},
        {"a /* b\r\n */c", "a c"},
        {"a /* b", "a "},
        {"x = \"http://u\"; ID_A\r\nID_B", "x = \"http:\r\nID_B"}, // quotes are not looked at
        {"/* a *//* b */c", "c"},
        {"a/b / c", "a/b / c"},
        {"end /", "end /"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(RemoveComments(c.in), c.out);
    }
}

TEST(SkipToBlockEnd, CountsNestingAndIgnoresElif) {
    const std::string text = "A\n#if X\n#else\n#endif\n#elif Y\n# else\nB\n#endif";
    const CBlockEnd end = SkipToBlockEnd(text, 0);
    ASSERT_TRUE(end.found);
    EXPECT_TRUE(end.isElse);
    EXPECT_EQ(end.hash, text.find("# else"));
    EXPECT_EQ(end.afterWord, text.find("\nB"));
    EXPECT_FALSE(SkipToBlockEnd("#if A\n#endif\n", 0).found);
}

TEST(KeywordFilters, DemoBlocksInBothModes) {
    const std::string ifndef = "X0\r\n#ifndef DEMO\r\nA1\r\n#else\r\nB1\r\n#endif\r\nX1\r\n";
    const std::string ifdef = "#ifdef DEMO\r\nA2\r\n#else\r\nB2\r\n#endif\r\n";
    struct Case {
        const char* name;
        std::string text, negative, positive;
    } cases[] = {
        {"ifndef", ifndef, "X0\r\n#else\r\nB1\r\n#endif\r\nX1\r\n", "\r\nB1\r\n\r\n"},
        {"ifdef", ifdef, "#ifdef DEMO\r\nA2\r\n#endif\r\n", "\r\nA2\r\n\r\n"},
        {"if !defined", "#if !defined DEMO\nA\n#endif\nB", "#endif\nB", ""},
        {"if defined", "#if  defined DEMO\nA\n#endif\n", "#if  defined DEMO\nA\n#endif\n", "\nA\n\r\n"},
        {"defined(DEMO) is no test", "#if defined(DEMO)\nA\n#else\nB\n#endif\n",
         "#if defined(DEMO)\nA\n#else\nB\n#endif\n", ""},
        {"other keyword", "#ifdef DEMO2\nA\n#endif\n", "#ifdef DEMO2\nA\n#endif\n", ""},
        {"nested blocks go with theirs", "#ifndef DEMO\n#ifdef X\nA\n#else\nB\n#endif\n#elif Z\nC\n#else\nD\n#endif\n",
         "#else\nD\n#endif\n", "\nD\n\r\n"},
        {"missing end", "#ifndef DEMO\nA\n#ifdef DEMO\nB\n", "#ifndef DEMO\nA\n#ifdef DEMO\nB\n", ""},
        {"missing end after a block", "#ifdef DEMO\nA\n#else\nB\n#endif\n#ifndef DEMO\nC\n",
         "#ifdef DEMO\nA\n#endif\n#ifndef DEMO\nC\n", "\nA\n\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ApplyNegativeFilter(c.text, "DEMO"), c.negative);
        EXPECT_EQ(ApplyPositiveFilter(c.text, "DEMO"), c.positive);
    }
    // LF-only text gives the same pieces with LF line ends.
    EXPECT_EQ(ApplyNegativeFilter(Lf(ifndef), "DEMO"), Lf("X0\r\n#else\r\nB1\r\n#endif\r\nX1\r\n"));
}

TEST(KeywordFilters, TheKeywordTestReadsTheWholeName) {
    const std::string text = "#ifdef DEMO_X\n#if DEMO\n#ifdef\tDEMO)\n";
    const auto test = FindKeywordTest(text, 0, "DEMO");
    ASSERT_TRUE(test.has_value());
    EXPECT_FALSE(test->negative);
    EXPECT_EQ(test->hash, text.find("#ifdef\t"));
    EXPECT_EQ(test->nameEnd, text.find(")"));
    EXPECT_FALSE(FindKeywordTest(text, test->nameEnd, "DEMO").has_value());
}
