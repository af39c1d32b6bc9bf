#include "restools/ResourceModel.h"

#include "app/FileAccess.h"
#include "app/TextUtil.h"

EViewKind DetectResourceKind(std::string_view path, std::string_view text, EViewKind current) {
    const auto ext = FileExtension(path);
    if (!ext) return current;
    if (EqualsNoCase(*ext, "rc") && text.find("APSTUDIO_READONLY_SYMBOLS") != std::string_view::npos)
        return EViewKind::RcScript;
    if (EqualsNoCase(*ext, "h") && text.find("define") != std::string_view::npos)
        return EViewKind::ResourceHeader;
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
    const bool crlf = text.find("\r\n") != std::string_view::npos;
    return (!crlf && text.find('\n') != std::string_view::npos) ? "\n" : "\r\n";
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
        else if (text[std::size_t(j)] == '\n' && j > 0 && text[std::size_t(j - 1)] == '\r') --j;
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
    while (p < text.size() && text[p] != ' ' && text[p] != '\t' && text[p] != '\r' && text[p] != '\n')
        ++p;
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
