#include "collections/CParseExt.h"

#include "app/Ports.h"
#include "app/TextUtil.h"
#include "collections/DirectoryWalk.h"

void CParseExt::Reset() {
    m_tokens.clear();
    m_parsed = false;
}

bool CParseExt::ParsingExtensionToken(CPrompt& prompt, std::string_view ext) {
    Reset();
    if (ext.empty()) {
        prompt.Message("Error in CParseExt::ParsingExtensionToken(LPCSTR ext)");
        return false;
    }
    std::string current;
    for (const char c : ext) {
        if (m_tokens.size() >= kCapacity) break;
        switch (c) {
        case ',':
        case ';':
        case '|':
        case '#': // no field of a collection file can carry it
            if (!current.empty()) m_tokens.push_back(std::move(current));
            current.clear();
            break;
        case ' ':
        case '\t':
        case '\r':
        case '\n':
        case '*': break;
        case '.':
            // Only the part after the last dot of a word survives: "file.txt" gives "txt".
            current.clear();
            break;
        default: current += c; break;
        }
    }
    if (!current.empty() && m_tokens.size() < kCapacity) m_tokens.push_back(std::move(current));
    m_parsed = true;
    return true;
}

std::string CParseExt::GetExtensionList() const {
    if (m_tokens.empty()) return "*.*";
    std::string out;
    for (const std::string& t : m_tokens) {
        if (!out.empty()) out += ", ";
        out += t;
    }
    return out;
}

bool CParseExt::IsMatch(std::string_view name) const {
    if (m_tokens.empty()) return true;
    const std::size_t slash = name.rfind('/');
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    const std::size_t dot = name.rfind('.');
    // A dot in first place only (".txt") marks a hidden name, not an extension.
    if (dot == std::string_view::npos || dot == 0) return false;
    const std::string_view ext = name.substr(dot + 1);
    for (const std::string& t : m_tokens)
        if (EqualsNoCase(ext, t)) return true;
    return false;
}

std::size_t CParseExt::CountMatchingFiles(CPrompt& prompt, std::string_view directory, std::size_t limit) const {
    if (!m_parsed) {
        prompt.Message("First need to call ParsingExtensionToken()!");
        return 0;
    }
    std::size_t count = 0;
    if (limit == 0) return 0;
    CWalkCallbacks cb;
    cb.file = [&](const CWalkFile& f) {
        if (IsMatch(f.name)) ++count;
        return count < limit;
    };
    WalkDirectory(directory, cb);
    return count;
}

std::size_t CParseExt::CountFilesBySuffix(std::string_view directory, std::string_view pattern, std::size_t limit) {
    std::string_view suffix = pattern;
    while (!suffix.empty() && suffix.front() == '*') suffix.remove_prefix(1);
    std::size_t count = 0;
    if (limit == 0) return 0;
    CWalkCallbacks cb;
    cb.file = [&](const CWalkFile& f) {
        if (f.name.size() >= suffix.size() && EqualsNoCase(f.name.substr(f.name.size() - suffix.size()), suffix))
            ++count;
        return count < limit;
    };
    WalkDirectory(directory, cb);
    return count;
}
