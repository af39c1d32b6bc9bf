#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CSettings;

// Word boundaries of the text views' find: tab, LF, CR, blank and ! " % ' ( ) * , - / : ; < = ?
// [ \ ] { }. Everything else, '.', '_' and any character above 127 included, belongs to a word.
template <class Ch> constexpr bool IsFindDelimiter(Ch c) {
    switch (c) {
    case '\t':
    case '\n':
    case '\r':
    case ' ':
    case '!':
    case '"':
    case '%':
    case '\'':
    case '(':
    case ')':
    case '*':
    case ',':
    case '-':
    case '/':
    case ':':
    case ';':
    case '<':
    case '=':
    case '?':
    case '[':
    case '\\':
    case ']':
    case '{':
    case '}': return true;
    default: return false;
    }
}

template <class Ch> constexpr Ch FoldAscii(Ch c) { return (c >= 'A' && c <= 'Z') ? Ch(c - 'A' + 'a') : c; }

struct CFoundRange {
    std::size_t start;
    std::size_t end;
    bool operator==(const CFoundRange&) const = default;
};

// The first match of word in text at or after from. Without match case ASCII letters fold. With
// whole word the match must be a whole run of word characters: the run from its start ends with
// it, and (our choice, so "word" is not found inside "sword") the character before is a
// delimiter or the start of the text.
template <class Ch>
std::optional<CFoundRange> FindText(std::basic_string_view<Ch> text, std::basic_string_view<Ch> word, std::size_t from,
                                    bool matchCase, bool wholeWord) {
    if (word.empty() || text.size() < word.size()) return std::nullopt;
    for (std::size_t p = from; p + word.size() <= text.size(); ++p) {
        std::size_t i = 0;
        while (i < word.size() && (matchCase ? text[p + i] == word[i] : FoldAscii(text[p + i]) == FoldAscii(word[i])))
            ++i;
        if (i < word.size()) continue;
        if (wholeWord) {
            const std::size_t end = p + word.size();
            if (end < text.size() && !IsFindDelimiter(text[end]) && !IsFindDelimiter(text[end - 1])) continue;
            if (p > 0 && !IsFindDelimiter(text[p - 1]) && !IsFindDelimiter(text[p])) continue;
        }
        return CFoundRange{p, p + word.size()};
    }
    return std::nullopt;
}

// The word at an empty selection at c, as the find dialog proposes it: empty when the character
// at c or the one before it is a delimiter, else the run of word characters around c.
template <class Ch> CFoundRange WordAtCaret(std::basic_string_view<Ch> text, std::size_t c) {
    if (c >= text.size() || IsFindDelimiter(text[c]) || (c > 0 && IsFindDelimiter(text[c - 1]))) return {c, c};
    std::size_t s = c, e = c;
    while (s > 0 && !IsFindDelimiter(text[s - 1])) --s;
    while (e < text.size() && !IsFindDelimiter(text[e])) ++e;
    return {s, e};
}

// The keyword combo box's words: at most ten, most recent first, no two equal without regard
// to ASCII case. Kept in "Combolist" from one run to the next.
class CKeywordList {
public:
    static constexpr std::size_t kMaxWords = 10;

    const std::vector<std::string>& Words() const { return m_words; }
    // An equal word moves to the top in the new spelling; the eleventh drops the oldest.
    void Add(std::string_view word);
    void Load(const CSettings& settings);
    void Save(CSettings& settings) const;

private:
    std::vector<std::string> m_words;
};
