#include "collections/ColumnSearch.h"

#include "app/TextUtil.h"

namespace {

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

std::string_view SkipLeadingSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return s;
}

CColumnSearchOutcome FoundOrNot(std::vector<std::size_t> found, EColumnSearchResult whenNone) {
    CColumnSearchOutcome out;
    out.result = found.empty() ? whenNone : EColumnSearchResult::ShowFoundList;
    out.found = std::move(found);
    return out;
}

} // namespace

std::vector<CDescriptionTerm> SplitDescriptionTerms(std::string_view text) {
    std::vector<CDescriptionTerm> terms;
    std::string_view rest = SkipLeadingSpaces(text);
    for (;;) {
        const std::size_t op = rest.find_first_of("+|");
        if (op == std::string_view::npos) break;
        std::string_view term = rest.substr(0, op);
        while (!term.empty() && term.back() == ' ') term.remove_suffix(1);
        terms.push_back({ToUpperAscii(term), rest[op] == '+'});
        rest = SkipLeadingSpaces(rest.substr(op + 1));
    }
    rest = TrimSpaces(rest);
    if (!rest.empty()) terms.push_back({ToUpperAscii(rest), false});
    return terms;
}

bool MatchDescriptionTerms(const std::vector<CDescriptionTerm>& terms, std::string_view d) {
    if (terms.empty()) return false;
    const std::size_t n = terms.size();
    bool f = false;
    for (std::size_t k = 0; k < n; ++k) {
        const bool in = d.find(terms[k].text) != std::string_view::npos;
        const bool andNext = terms[k].andNext;
        if (!in) {
            if (andNext || (k > 0 && f && terms[k - 1].andNext)) return false;
        } else if (k == 0 || !andNext) {
            f = true;
            if (k == n - 1 || !andNext) return true;
        } else if (!f) {
            return false;
        }
    }
    return f;
}

std::string MakeFilePattern(std::string_view text) {
    std::string p = ToUpperAscii(TrimSpaces(text));
    if (!p.empty() && p.back() == '.') p.pop_back();
    return p;
}

bool IsMatchAllPattern(std::string_view pattern) { return pattern.find_first_not_of("*.") == std::string_view::npos; }

bool MatchFilePattern(std::string_view p, std::string_view s) {
    std::size_t i = 0;
    std::size_t j = 0;
    for (;;) {
        if (i == p.size()) return true;
        // Checked before the closing '*': "ABC*" does not match "ABC".
        if (j == s.size()) return false;
        if (p[i] == '*' && i + 1 == p.size()) return true;
        if (p[i] == '?') {
            ++i;
            ++j;
            continue;
        }
        if (p[i] != '*') {
            if (p[i] != s[j]) return false;
            ++i;
            ++j;
            continue;
        }
        const std::size_t segStart = i + 1;
        std::size_t segEnd = p.find('*', segStart);
        if (segEnd == std::string_view::npos) segEnd = p.size();
        const std::size_t at = s.find(p.substr(segStart, segEnd - segStart), j);
        if (at == std::string_view::npos) return false;
        i = segEnd;
        j = at; // kept: the next segment is searched from where this one was found
    }
}

CColumnSearchOutcome SearchGroupColumn(const std::vector<CCollectionRecord>& records, std::string_view text) {
    if (text.empty()) return {EColumnSearchResult::ShowWholeList, {}};
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < records.size(); ++i)
        if (records[i].groups.find(text) != std::string::npos) found.push_back(i);
    return FoundOrNot(std::move(found), EColumnSearchResult::NotFound);
}

CColumnSearchOutcome SearchDescriptionColumn(const std::vector<CCollectionRecord>& records, std::string_view text) {
    if (text.empty()) return {EColumnSearchResult::ShowWholeList, {}};
    const std::vector<CDescriptionTerm> terms = SplitDescriptionTerms(text);
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < records.size(); ++i)
        if (MatchDescriptionTerms(terms, ToUpperAscii(records[i].description))) found.push_back(i);
    return FoundOrNot(std::move(found), EColumnSearchResult::NotFound);
}

CColumnSearchOutcome SearchFilesColumn(const std::vector<CCollectionRecord>& records, std::string_view baseDirectory,
                                       bool favoritesShown, bool foundListShown, std::string_view text) {
    const std::string pattern = MakeFilePattern(text);
    if (IsMatchAllPattern(pattern))
        return {foundListShown ? EColumnSearchResult::ShowWholeList : EColumnSearchResult::NoChange, {}};
    const std::size_t offset = favoritesShown ? 0 : baseDirectory.size() + 1;
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::string_view loc = records[i].location;
        if (offset > loc.size()) continue;
        if (MatchFilePattern(pattern, ToUpperAscii(loc.substr(offset)))) found.push_back(i);
    }
    const bool tip = pattern.find('.') != std::string::npos;
    return FoundOrNot(std::move(found), tip ? EColumnSearchResult::NotFound : EColumnSearchResult::NoChange);
}
