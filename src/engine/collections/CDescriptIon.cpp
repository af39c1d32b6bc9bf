#include "collections/CDescriptIon.h"

#include "app/TextUtil.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
// The end of a multi-line description, as written in an 8-bit file and as the same two
// characters look in a UTF-8 one.
constexpr std::string_view kMultiLineMark = "\x04\xC2";
constexpr std::string_view kMultiLineMarkUtf8 = "\x04\xC3\x82";

// Windows-1252 bytes 0x80 to 0x9F; the five the code page leaves open keep their own number.
constexpr char32_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The code point at s[i], advancing i; nullopt for bytes that are no well-formed UTF-8.
std::optional<char32_t> NextCodePoint(std::string_view s, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    std::size_t n = 0;
    char32_t cp = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        n = 1;
        cp = lead & 0x1F;
        least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        n = 2;
        cp = lead & 0x0F;
        least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        n = 3;
        cp = lead & 0x07;
        least = 0x10000;
    } else
        return std::nullopt;
    for (std::size_t k = 1; k <= n; ++k) {
        if (i + k >= s.size() || (byte(i + k) & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    i += n + 1;
    return cp;
}

bool IsValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();)
        if (!NextCodePoint(s, i)) return false;
    return true;
}

bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

std::string FromWindows1252(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 4);
    for (const char c : s) {
        const auto b = static_cast<unsigned char>(c);
        AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kHigh1252[b - 0x80] : char32_t(b));
    }
    return out;
}

std::optional<std::string> ToWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto cp = NextCodePoint(utf8, i);
        if (!cp) return std::nullopt;
        if (*cp < 0x80 || (*cp >= 0xA0 && *cp <= 0xFF)) {
            out += char(*cp);
            continue;
        }
        const auto* at = std::find(std::begin(kHigh1252), std::end(kHigh1252), *cp);
        if (at == std::end(kHigh1252)) return std::nullopt;
        out += char(0x80 + (at - std::begin(kHigh1252)));
    }
    return out;
}

// The line without its multi-line mark; true when it had one.
bool StripMultiLineMark(std::string_view& line) {
    for (const std::string_view mark : {kMultiLineMark, kMultiLineMarkUtf8}) {
        if (line.size() >= mark.size() && line.substr(line.size() - mark.size()) == mark) {
            line.remove_suffix(mark.size());
            return true;
        }
    }
    return false;
}

// "\n" is a line break, joined here with a blank; "\\" is a backslash.
std::string JoinMultiLine(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == '\\')) {
            out += text[i + 1] == 'n' ? ' ' : '\\';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

std::optional<CDescriptIon> CDescriptIon::Parse(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") || bytes.find('\0') != std::string_view::npos)
        return std::nullopt;
    CDescriptIon file;
    if (bytes.starts_with(kBom)) {
        file.m_bom = true;
        bytes.remove_prefix(kBom.size());
    }
    const std::size_t lf = bytes.find('\n');
    if (lf != std::string_view::npos) file.m_lineEnd = lf > 0 && bytes[lf - 1] == '\r' ? "\r\n" : "\n";
    else if (bytes.find('\r') != std::string_view::npos)
        file.m_lineEnd = "\r";
    // Split at LF (a CR before it belongs to the line end), or at CR in a file without any LF.
    const char splitAt = file.m_lineEnd == "\r" ? '\r' : '\n';
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t end = bytes.find(splitAt, at);
        if (end == std::string_view::npos) {
            file.m_lines.push_back({std::string(bytes.substr(at)), {}});
            break;
        }
        std::size_t textEnd = end;
        if (splitAt == '\n' && textEnd > at && bytes[textEnd - 1] == '\r') --textEnd;
        file.m_lines.push_back(
            {std::string(bytes.substr(at, textEnd - at)), std::string(bytes.substr(textEnd, end + 1 - textEnd))});
        at = end + 1;
    }

    bool ascii = true, utf8 = true;
    for (const CLine& l : file.m_lines) {
        std::string_view text = l.bytes;
        StripMultiLineMark(text);
        if (IsAscii(text)) continue;
        ascii = false;
        if (!IsValidUtf8(text)) utf8 = false;
    }
    if (!utf8) file.m_encoding = EEncoding::Windows1252;
    else if (ascii && !file.m_bom)
        file.m_encoding = EEncoding::Ascii;
    else
        file.m_encoding = EEncoding::Utf8;

    for (std::size_t i = 0; i < file.m_lines.size(); ++i) file.ParseEntry(i);
    return file;
}

void CDescriptIon::ParseEntry(std::size_t line) {
    std::string_view raw = m_lines[line].bytes;
    const bool multiLine = StripMultiLineMark(raw);
    const std::string text = m_encoding == EEncoding::Windows1252 ? FromWindows1252(raw) : std::string(raw);
    const std::string_view view(text);
    std::string_view name, rest;
    if (view.starts_with('"')) {
        const std::size_t close = view.find('"', 1);
        if (close == std::string_view::npos) return;
        name = view.substr(1, close - 1);
        rest = view.substr(close + 1);
    } else {
        const std::size_t blank = view.find_first_of(" \t");
        name = view.substr(0, blank);
        rest = blank == std::string_view::npos ? std::string_view() : view.substr(blank);
    }
    if (name.empty()) return;
    const std::string description = multiLine ? JoinMultiLine(rest) : std::string(rest);
    m_entries.push_back({line, std::string(name), std::string(TrimBlanks(description))});
}

std::optional<std::size_t> CDescriptIon::FindEntry(std::string_view name) const {
    for (std::size_t k = 0; k < m_entries.size(); ++k)
        if (m_entries[k].name == name) return k;
    for (std::size_t k = 0; k < m_entries.size(); ++k)
        if (EqualsNoCase(m_entries[k].name, name)) return k;
    return std::nullopt;
}

bool CDescriptIon::SameDescription(std::string_view a, std::string_view b) { return TrimBlanks(a) == TrimBlanks(b); }

std::optional<std::string> CDescriptIon::Encode(std::string_view utf8) const {
    if (m_encoding == EEncoding::Windows1252) return ToWindows1252(utf8);
    // Names on disk need not be UTF-8: a UTF-8 file takes the bytes as they are.
    return std::string(utf8);
}

bool CDescriptIon::SetEntry(std::optional<std::size_t> k, std::string_view name, std::string_view description) {
    description = TrimBlanks(description);
    if (name.empty() || name.find_first_of("\r\n") != std::string_view::npos ||
        description.find_first_of("\r\n") != std::string_view::npos)
        return false;
    const bool quoted = name.find_first_of(" \t") != std::string_view::npos;
    if (name.find('"') != std::string_view::npos && (quoted || name.front() == '"')) return false;
    std::string text = quoted ? "\"" + std::string(name) + "\"" : std::string(name);
    text += ' ';
    text += description;
    auto bytes = Encode(text);
    if (!bytes) return false;
    // An ASCII file that takes its first other character becomes UTF-8, marked so that file
    // managers which would otherwise guess their own code page read it as UTF-8.
    if (m_encoding == EEncoding::Ascii && !IsAscii(*bytes)) {
        m_encoding = EEncoding::Utf8;
        m_bom = true;
    }
    if (k) {
        CEntry& e = m_entries.at(*k);
        m_lines[e.line].bytes = std::move(*bytes);
        e.name.assign(name);
        e.description.assign(description);
        return true;
    }
    if (!m_lines.empty() && m_lines.back().end.empty()) m_lines.back().end = m_lineEnd;
    m_lines.push_back({std::move(*bytes), m_lineEnd});
    m_entries.push_back({m_lines.size() - 1, std::string(name), std::string(description)});
    return true;
}

std::string CDescriptIon::Serialise() const {
    std::string out;
    if (m_bom) out += kBom;
    for (const CLine& l : m_lines) {
        out += l.bytes;
        out += l.end;
    }
    return out;
}
