#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Comment removal and the two keyword filters of the project search. They look at the text the
// way a quick scan does, not the way a compiler does: quotes are not considered, #elif is plain
// text and defined(KEYWORD) is no test on the keyword.

// p itself when no comment starts at p, else where the comment ends: before the line end of a
// "//" comment, after the "*/" of a block comment, or the end of the text.
std::size_t SkipComment(std::string_view text, std::size_t p);
std::string RemoveComments(std::string_view text);

struct CBlockEnd {
    bool found = false;
    bool isElse = false;       // else "#endif"
    std::size_t hash = 0;      // the '#' of the "#else" or "#endif"
    std::size_t afterWord = 0; // just after "else" or "endif"
};
// The first "#else" or "#endif" at nesting depth 0 from p, found by walking the directives.
CBlockEnd SkipToBlockEnd(std::string_view text, std::size_t p);

// Every '#' of a text with its nesting depth, read in one pass, so that the block end from any
// position is a look-up: the filters ask for it once per tested block, and deeply nested blocks
// would make repeated walks quadratic. The text must outlive the index.
class CDirectiveIndex {
public:
    explicit CDirectiveIndex(std::string_view text);
    std::string_view Text() const { return m_text; }
    // The same answer as SkipToBlockEnd(Text(), p).
    CBlockEnd BlockEnd(std::size_t p) const;

private:
    struct CDirective {
        std::size_t hash;
        std::size_t word; // after the blanks that follow the '#'
        enum : unsigned char { Other, If, Else, Endif } kind;
    };
    std::string_view m_text;
    std::vector<CDirective> m_directives;
    std::vector<std::size_t> m_blockEnd; // per directive: the else/endif closing at its depth, or npos
};

struct CKeywordTest {
    bool negative = false;   // #ifndef, #if !defined
    std::size_t hash = 0;    // its '#'
    std::size_t nameEnd = 0; // just after the tested name
};
// The next #ifdef / #ifndef / #if defined / #if !defined on exactly keyword from p.
std::optional<CKeywordTest> FindKeywordTest(std::string_view text, std::size_t p, std::string_view keyword);

// A part of the text to drop or keep; scanning goes on at resume.
struct CBlockPart {
    std::size_t start = 0;
    std::size_t end = 0;
    std::size_t resume = 0;
};
// From p, the next part the negative filter removes: an #ifndef block on the keyword up to its
// #else or #endif, or the #else branch of an #ifdef block. nullopt when there is none or a block
// has no end (the rest of the text then stays as it is).
std::optional<CBlockPart> FindDroppedBlock(const CDirectiveIndex& index, std::size_t p, std::string_view keyword);
// From p, the next part the positive filter keeps: an #ifdef branch or the #else branch of an
// #ifndef block. nullopt when there is none or a block has no end.
std::optional<CBlockPart> FindKeptBlock(const CDirectiveIndex& index, std::size_t p, std::string_view keyword);

// The text as compiled with keyword defined: #ifndef blocks and the #else branches of #ifdef
// blocks removed, the directives of kept branches left in place.
std::string ApplyNegativeFilter(std::string_view text, std::string_view keyword);
// Only the code compiled because keyword is defined: the #ifdef branches and the #else branches
// of #ifndef blocks, each followed by CR LF.
std::string ApplyPositiveFilter(std::string_view text, std::string_view keyword);
