#include "restools/ConditionalBlocks.h"

#include "restools/ResourceModel.h"

#include <algorithm>

namespace {

std::size_t SkipBlanks(std::string_view text, std::size_t p) {
    while (p < text.size() && (text[p] == ' ' || text[p] == '\t')) ++p;
    return p;
}

bool StartsAt(std::string_view text, std::size_t p, std::string_view word) {
    return p <= text.size() && text.substr(p).starts_with(word);
}

bool EndsTestedName(char c) {
    switch (c) {
    case ' ':
    case '\t':
    case '\r':
    case '\n':
    case ',':
    case ';':
    case ')':
    case '(':
    case '"':
    case '=':
    case '!':
    case '?':
    case '<':
    case '>': return true;
    default: return false;
    }
}

} // namespace

std::size_t SkipComment(std::string_view text, std::size_t p) {
    if (p + 1 >= text.size() || text[p] != '/') return p;
    if (text[p + 1] == '/') return FindLineEnd(text, p + 2);
    if (text[p + 1] == '*') {
        const std::size_t close = text.find("*/", p + 2);
        return close == std::string_view::npos ? text.size() : close + 2;
    }
    return p;
}

std::string RemoveComments(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t p = 0;
    while (p < text.size()) {
        const std::size_t end = SkipComment(text, p);
        if (end != p) {
            p = end; // the bytes after a cut comment are looked at again
            continue;
        }
        const std::size_t next = text.find('/', p + 1);
        const std::size_t stop = next == std::string_view::npos ? text.size() : next;
        out.append(text.substr(p, stop - p));
        p = stop;
    }
    return out;
}

CBlockEnd SkipToBlockEnd(std::string_view text, std::size_t p) {
    int depth = 0;
    for (;;) {
        const std::size_t hash = text.find('#', p);
        if (hash == std::string_view::npos) return {};
        const std::size_t q = SkipBlanks(text, hash + 1);
        if (depth == 0 && StartsAt(text, q, "else")) return {true, true, hash, q + 4};
        if (StartsAt(text, q, "endif")) {
            if (depth == 0) return {true, false, hash, q + 5};
            --depth;
        } else if (StartsAt(text, q, "if")) {
            ++depth;
        }
        p = q;
    }
}

CDirectiveIndex::CDirectiveIndex(std::string_view text) : m_text(text) {
    for (std::size_t hash = text.find('#'); hash != std::string_view::npos; hash = text.find('#', hash + 1)) {
        const std::size_t q = SkipBlanks(text, hash + 1);
        // The order of the tests is SkipToBlockEnd's: "else" before "endif" before "if".
        auto kind = CDirective::Other;
        if (StartsAt(text, q, "else")) kind = CDirective::Else;
        else if (StartsAt(text, q, "endif"))
            kind = CDirective::Endif;
        else if (StartsAt(text, q, "if"))
            kind = CDirective::If;
        m_directives.push_back({hash, q, kind});
    }
    // Depth before directive i counts the ifs minus the endifs before it. A walk from i ends at
    // the first else or endif j >= i with the same depth: it cannot pass below that depth
    // without meeting such an endif first. Filled from the back, nearest first.
    const std::size_t n = m_directives.size();
    std::vector<long> depth(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i)
        depth[i + 1] =
            depth[i] + (m_directives[i].kind == CDirective::If) - (m_directives[i].kind == CDirective::Endif);
    std::vector<std::size_t> nearest(2 * n + 1, std::string_view::npos); // by depth + n
    m_blockEnd.assign(n, std::string_view::npos);
    for (std::size_t i = n; i-- > 0;) {
        const std::size_t slot = std::size_t(depth[i] + long(n));
        if (m_directives[i].kind == CDirective::Else || m_directives[i].kind == CDirective::Endif) nearest[slot] = i;
        m_blockEnd[i] = nearest[slot];
    }
}

CBlockEnd CDirectiveIndex::BlockEnd(std::size_t p) const {
    const auto first = std::lower_bound(m_directives.begin(), m_directives.end(), p,
                                        [](const CDirective& d, std::size_t at) { return d.hash < at; });
    if (first == m_directives.end()) return {};
    const std::size_t end = m_blockEnd[std::size_t(first - m_directives.begin())];
    if (end == std::string_view::npos) return {};
    const CDirective& d = m_directives[end];
    const bool isElse = d.kind == CDirective::Else;
    return {true, isElse, d.hash, d.word + (isElse ? 4 : 5)};
}

std::optional<CKeywordTest> FindKeywordTest(std::string_view text, std::size_t p, std::string_view keyword) {
    for (;;) {
        const std::size_t hash = text.find('#', p);
        if (hash == std::string_view::npos) return std::nullopt;
        std::size_t q = SkipBlanks(text, hash + 1);
        p = q;
        if (!StartsAt(text, q, "if")) continue;
        q = SkipBlanks(text, q + 2);
        bool negative = false;
        if (StartsAt(text, q, "!defined")) {
            negative = true;
            q += 8;
        } else if (StartsAt(text, q, "ndef")) {
            negative = true;
            q += 4;
        } else if (StartsAt(text, q, "defined")) {
            q += 7;
        } else if (StartsAt(text, q, "def")) {
            q += 3;
        } else {
            p = q;
            continue;
        }
        q = SkipBlanks(text, q);
        std::size_t e = q;
        while (e < text.size() && !EndsTestedName(text[e])) ++e;
        p = e;
        if (text.substr(q, e - q) == keyword) return CKeywordTest{negative, hash, e};
    }
}

std::optional<CBlockPart> FindDroppedBlock(const CDirectiveIndex& index, std::size_t p, std::string_view keyword) {
    while (const auto test = FindKeywordTest(index.Text(), p, keyword)) {
        const CBlockEnd end = index.BlockEnd(test->nameEnd);
        if (!end.found) return std::nullopt;
        if (test->negative) return CBlockPart{test->hash, end.hash, end.hash};
        if (end.isElse) {
            const CBlockEnd elseEnd = index.BlockEnd(end.afterWord);
            if (!elseEnd.found) return std::nullopt;
            return CBlockPart{end.hash, elseEnd.hash, elseEnd.hash};
        }
        p = end.afterWord;
    }
    return std::nullopt;
}

std::optional<CBlockPart> FindKeptBlock(const CDirectiveIndex& index, std::size_t p, std::string_view keyword) {
    while (const auto test = FindKeywordTest(index.Text(), p, keyword)) {
        const CBlockEnd end = index.BlockEnd(test->nameEnd);
        if (!end.found) return std::nullopt;
        if (!test->negative) return CBlockPart{test->nameEnd, end.hash, end.hash + 1};
        if (end.isElse) {
            const CBlockEnd elseEnd = index.BlockEnd(end.afterWord);
            if (!elseEnd.found) return std::nullopt;
            return CBlockPart{end.afterWord, elseEnd.hash, elseEnd.hash + 1};
        }
        p = test->nameEnd;
    }
    return std::nullopt;
}

std::string ApplyNegativeFilter(std::string_view text, std::string_view keyword) {
    // Works on the original offsets: every removal lies after the last one, and each search runs
    // forward from where the text after the removal begins, so the result equals removing the
    // parts one by one.
    std::string out;
    out.reserve(text.size());
    std::size_t copied = 0;
    std::size_t p = 0;
    const CDirectiveIndex index(text);
    while (const auto part = FindDroppedBlock(index, p, keyword)) {
        out.append(text.substr(copied, part->start - copied));
        copied = part->end;
        p = part->resume;
    }
    out.append(text.substr(copied));
    return out;
}

std::string ApplyPositiveFilter(std::string_view text, std::string_view keyword) {
    std::string out;
    std::size_t p = 0;
    const CDirectiveIndex index(text);
    while (const auto part = FindKeptBlock(index, p, keyword)) {
        out.append(text.substr(part->start, part->end - part->start)).append("\r\n");
        p = part->resume;
    }
    return out;
}
