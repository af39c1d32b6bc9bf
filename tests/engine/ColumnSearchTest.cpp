#include "collections/ColumnSearch.h"

#include <gtest/gtest.h>

namespace {

using Found = std::vector<std::size_t>;

std::vector<CCollectionRecord> Locations(std::vector<std::string> texts) {
    std::vector<CCollectionRecord> r;
    for (auto& t : texts) r.push_back({t, "", ""});
    return r;
}
std::vector<CCollectionRecord> Descriptions(std::vector<std::string> texts) {
    std::vector<CCollectionRecord> r;
    for (auto& t : texts) r.push_back({"/x", t, ""});
    return r;
}
std::vector<CCollectionRecord> Groups(std::vector<std::string> texts) {
    std::vector<CCollectionRecord> r;
    for (auto& t : texts) r.push_back({"/x", "", t});
    return r;
}

TEST(ColumnSearchTest, FilePatterns) {
    const auto locations = Locations({
        "/c/base/readme.txt",
        "/c/base/sub/a.TXT",
        "/c/base/rep.doc",
        "/c/base/abc/x.txt",
        "/c/base/a1c.doc",
        "/c/base/Report.rtf",
    });
    const struct {
        const char* text;
        Found found;
    } cases[] = {
        {" *.TXT", {0, 1, 3}},                       // a leading '*' searches anywhere
        {"rep", {2, 5}},                             // only a beginning has to match
        {"a?c", {3, 4}},       {"readme.txt.", {0}}, // one final '.' is dropped
        {"*e*.", {0, 2, 5}},   {"REPORT.RT*", {5}},  // a closing '*' takes any rest
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const CColumnSearchOutcome out = SearchFilesColumn(locations, "/c/base", false, false, c.text);
        EXPECT_EQ(out.result, EColumnSearchResult::ShowFoundList);
        EXPECT_EQ(out.found, c.found);
    }
}

TEST(ColumnSearchTest, FilePatternThatFindsNothingOrMatchesAll) {
    const auto locations = Locations({"/c/base/readme.txt"});
    EXPECT_EQ(SearchFilesColumn(locations, "/c/base", false, false, "zz").result, EColumnSearchResult::NoChange);
    EXPECT_EQ(SearchFilesColumn(locations, "/c/base", false, false, "zz.q").result, EColumnSearchResult::NotFound);
    for (const char* all : {"*.*", "", "*", ".", "  "}) {
        SCOPED_TRACE(all);
        EXPECT_EQ(SearchFilesColumn(locations, "/c/base", false, true, all).result, EColumnSearchResult::ShowWholeList);
        EXPECT_EQ(SearchFilesColumn(locations, "/c/base", false, false, all).result, EColumnSearchResult::NoChange);
    }
}

TEST(ColumnSearchTest, FavoritesCompareTheWholeLocation) {
    const auto locations = Locations({"/docs/a.txt", "/other/b.txt"});
    EXPECT_EQ(SearchFilesColumn(locations, "", true, false, "/DOCS").found, Found{0});
    EXPECT_EQ(SearchFilesColumn(locations, "", true, false, "?other").found, Found{1});
}

TEST(ColumnSearchTest, PatternMatcherKeepsItsQuirks) {
    EXPECT_TRUE(MatchFilePattern("*AB*AB", "XXABY")); // the second segment is searched from the first
    EXPECT_FALSE(MatchFilePattern("ABC*", "ABC"));    // the text ends before the pattern does
    EXPECT_TRUE(MatchFilePattern("ABC*", "ABCD"));
    EXPECT_FALSE(MatchFilePattern("A*C", "ABB"));
    EXPECT_FALSE(MatchFilePattern("ABC", "AB"));
    EXPECT_TRUE(MatchFilePattern("*?X", "A?X")); // no wildcard inside a segment
    EXPECT_FALSE(MatchFilePattern("*?X", "ABX"));
}

TEST(ColumnSearchTest, DescriptionTermsSplit) {
    using T = CDescriptionTerm;
    EXPECT_EQ(SplitDescriptionTerms("  red | blue  "), (std::vector<T>{{"RED", false}, {"BLUE", false}}));
    EXPECT_EQ(SplitDescriptionTerms("red+"), (std::vector<T>{{"RED", true}}));
    EXPECT_EQ(SplitDescriptionTerms("a + b|c"), (std::vector<T>{{"A", true}, {"B", false}, {"C", false}}));
    EXPECT_EQ(SplitDescriptionTerms("+x"), (std::vector<T>{{"", true}, {"X", false}}));
}

TEST(ColumnSearchTest, DescriptionSearchEvaluatesTermsAsWritten) {
    const auto d = Descriptions({"a Red car", "blue sky", "red and Blue", "green", "only c and b"});
    const struct {
        const char* text;
        Found found;
    } cases[] = {
        {"red | blue", {0, 1, 2}},
        {"red + blue", {2}},
        {"red+", {0, 2}},
        {"red|b+c", {0, 2}}, // "A|B+C" matches exactly what holds A
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const CColumnSearchOutcome out = SearchDescriptionColumn(d, c.text);
        EXPECT_EQ(out.result, EColumnSearchResult::ShowFoundList);
        EXPECT_EQ(out.found, c.found);
    }
    EXPECT_EQ(SearchDescriptionColumn(d, "").result, EColumnSearchResult::ShowWholeList);
    EXPECT_EQ(SearchDescriptionColumn(d, "violet").result, EColumnSearchResult::NotFound);
    EXPECT_EQ(SearchDescriptionColumn(d, "red+violet").result, EColumnSearchResult::NotFound);
}

TEST(ColumnSearchTest, GroupSearchIsExactSubstring) {
    const auto g = Groups({"work; home", "Work", "", "homework"});
    EXPECT_EQ(SearchGroupColumn(g, "Work").found, Found{1});
    EXPECT_EQ(SearchGroupColumn(g, "work").found, (Found{0, 3}));
    EXPECT_EQ(SearchGroupColumn(g, "").result, EColumnSearchResult::ShowWholeList);
    EXPECT_EQ(SearchGroupColumn(g, "play").result, EColumnSearchResult::NotFound);
}

} // namespace
