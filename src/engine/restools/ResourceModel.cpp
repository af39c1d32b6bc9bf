#include "restools/ResourceModel.h"

#include "app/FileAccess.h"
#include "app/TextUtil.h"

#include <algorithm>

EViewKind DetectResourceKind(std::string_view path, std::string_view text, EViewKind current) {
    const auto ext = FileExtension(path);
    if (!ext) return current;
    if (EqualsNoCase(*ext, "rc") && text.find("APSTUDIO_READONLY_SYMBOLS") != std::string_view::npos)
        return EViewKind::RcScript;
    if (EqualsNoCase(*ext, "h") && text.find("define") != std::string_view::npos) return EViewKind::ResourceHeader;
    return current;
}

bool MatchWord(std::string_view text, std::size_t pos, std::string_view word, bool ignoreCase) {
    if (pos > text.size() || text.size() - pos < word.size()) return false;
    const std::string_view here = text.substr(pos, word.size());
    if (ignoreCase ? !EqualsNoCase(here, word) : here != word) return false;
    const std::size_t after = pos + word.size();
    return after == text.size() || IsWordDelimiter(text[after]);
}

std::size_t FindLineEnd(std::string_view text, std::size_t pos) {
    const std::size_t at = text.find_first_of("\r\n", pos);
    return at == std::string_view::npos ? text.size() : at;
}

std::size_t FindLineStart(std::string_view text, std::size_t pos) {
    pos = std::min(pos, text.size());
    while (pos > 0 && text[pos - 1] != '\r' && text[pos - 1] != '\n') --pos;
    return pos;
}

std::string_view LineBreakOf(std::string_view text) {
    const std::size_t hash = std::min(text.find('#'), text.size());
    std::size_t lf = text.find('\n', hash);
    if (lf == std::string_view::npos) lf = text.rfind('\n', hash);
    return lf != std::string_view::npos && (lf == 0 || text[lf - 1] != '\r') ? "\n" : "\r\n";
}

namespace {

// The text while lines are removed from its end towards its start: the untouched original up to
// a boundary, then the edited rest, kept reversed so that every removal, which starts within two
// bytes of the boundary, moves at most those two bytes.
class CTailEdit {
public:
    explicit CTailEdit(std::string_view text) : m_text(text), m_boundary(text.size()) {}

    std::size_t Size() const { return m_boundary + m_rest.size(); }
    char At(std::size_t i) const { return i < m_boundary ? m_text[i] : m_rest[m_rest.size() - 1 - (i - m_boundary)]; }
    void LowerBoundary(std::size_t to) {
        while (m_boundary > to) m_rest.push_back(m_text[--m_boundary]);
    }
    // Removes [from, to), from at or after the boundary.
    void Erase(std::size_t from, std::size_t to) {
        const std::size_t n = m_rest.size();
        m_rest.erase(n - (to - m_boundary), to - from);
    }
    std::string Result() const {
        std::string out(m_text.substr(0, m_boundary));
        out.append(m_rest.rbegin(), m_rest.rend());
        return out;
    }

private:
    std::string_view m_text;
    std::size_t m_boundary;
    std::string m_rest;
};

} // namespace

std::string RemoveLinesHolding(std::string_view text, std::vector<std::size_t> starts) {
    std::sort(starts.rbegin(), starts.rend());
    CTailEdit edit(text);
    std::size_t lastLine = std::string_view::npos;
    for (const std::size_t start : starts) {
        // A start on the line removed last belongs to that line: it goes once.
        if (start > text.size() || (lastLine != std::string_view::npos && start >= lastLine)) continue;
        // Everything before the line's own end is still the original text.
        const std::size_t lineStart = FindLineStart(text, start);
        lastLine = lineStart;
        edit.LowerBoundary(lineStart >= 2 ? lineStart - 2 : 0);
        std::size_t lineEnd = lineStart;
        while (lineEnd < edit.Size() && edit.At(lineEnd) != '\r' && edit.At(lineEnd) != '\n') ++lineEnd;
        const bool crlf = lineEnd + 1 < edit.Size() && edit.At(lineEnd) == '\r' && edit.At(lineEnd + 1) == '\n';
        if (lineStart == 0) {
            const std::size_t breakLength = lineEnd == edit.Size() ? 0 : (crlf ? 2 : 1);
            edit.Erase(0, lineEnd + breakLength);
        } else if (lineEnd < edit.Size()) {
            edit.Erase(lineStart - 1, lineEnd + (crlf ? 1 : 0));
        } else {
            std::size_t from = lineStart - 1;
            if (edit.At(from) == '\n' && from > 0 && edit.At(from - 1) == '\r') --from;
            edit.Erase(from, edit.Size());
        }
    }
    return edit.Result();
}

CBodyEnd FindBodyEnd(std::string_view text) {
    const long long size = static_cast<long long>(text.size());
    if (size < 250) return {size, false};
    constexpr std::string_view kMarker = "APSTUDIO_INVOKED";
    for (long long off = size - 200; off >= 1; --off) {
        if (!EqualsNoCase(text.substr(std::size_t(off), kMarker.size()), kMarker)) continue;
        // The body ends before the line end that precedes the marker's line; on CR LF text that
        // line end starts at its CR.
        long long j = off - 1;
        while (j >= 0 && text[std::size_t(j)] != '\r' && text[std::size_t(j)] != '\n') --j;
        if (j < 0) j = 0;
        else if (text[std::size_t(j)] == '\n' && j > 0 && text[std::size_t(j - 1)] == '\r')
            --j;
        return {j - 1, true};
    }
    return {size, false};
}

CDefineLine ParseDefineLine(std::string_view text, std::size_t pos) {
    constexpr std::string_view kDefine = "define";
    const std::size_t at = FindNoCase(text, kDefine, pos);
    if (at == std::string_view::npos) return {{}, text.size()};
    std::size_t p = at + kDefine.size();
    while (p < text.size() && (text[p] == ' ' || text[p] == '\t')) ++p;
    const std::size_t nameStart = p;
    // A line end ends the name too: a define with only a name must not swallow the next line.
    while (p < text.size() && text[p] != ' ' && text[p] != '\t' && text[p] != '\r' && text[p] != '\n') ++p;
    if (p == nameStart) return {{}, p};
    const std::string_view name = text.substr(nameStart, p - nameStart);
    std::size_t end = FindLineEnd(text, p);
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
    return {name, end};
}

void CMarkList::Clear() {
    ranges.clear();
    marks.clear();
    nextIndex = 0;
    hasRed = false;
}

void CMarkList::Add(std::size_t start, std::size_t end, std::uint8_t mark) {
    ranges.push_back({start, end});
    marks.push_back(mark);
}

void BuildIdentifierList(std::string_view text, CIdentifierList& ids, CMarkList& marks) {
    ids = {};
    marks.Clear();
    const long long bodyEnd = FindBodyEnd(text).end;
    long long off = 0;
    while (off < bodyEnd) {
        if (text[std::size_t(off)] != '#') {
            ++off;
            continue;
        }
        const CDefineLine line = ParseDefineLine(text, std::size_t(off));
        if (!line.name.empty()) {
            ids.names.emplace_back(line.name);
            ids.found.push_back(0);
            ids.longestName = std::max(ids.longestName, line.name.size());
            marks.Add(std::size_t(off), line.next, kMarkNone);
        }
        if (static_cast<long long>(line.next) >= bodyEnd - 10) break;
        off = static_cast<long long>(line.next) + 1;
    }
}

std::uint32_t MarkColor(std::uint8_t mark) {
    switch (mark) {
    case kMarkRed: return kColorRed;
    case kMarkBlue: return kColorBlue;
    default: return kColorBlack;
    }
}
