#include "textdoc/CTextEncoding.h"

#include <algorithm>

namespace {

constexpr std::size_t kPointSpacing = 64;

bool IsUtf16(EFileEncoding e) { return e == EFileEncoding::Utf16Le || e == EFileEncoding::Utf16Be; }

std::uint32_t Utf8Length(std::uint32_t cp) { return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4; }

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Strict: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const auto* end = p + s.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        int len;
        std::uint32_t cp, min;
        if ((*p & 0xE0) == 0xC0) len = 2, cp = *p & 0x1F, min = 0x80;
        else if ((*p & 0xF0) == 0xE0)
            len = 3, cp = *p & 0x0F, min = 0x800;
        else if ((*p & 0xF8) == 0xF0)
            len = 4, cp = *p & 0x07, min = 0x10000;
        else
            return false;
        if (end - p < len) return false;
        for (int i = 1; i < len; ++i) {
            if ((p[i] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        p += len;
    }
    return true;
}

struct CChar {
    std::uint32_t fileLen;
    std::uint32_t engineLen;
    // The view's units: one or two, or a line end.
    char16_t units[2];
    std::uint8_t viewLen;
    bool lineEnd;
    ELineEnd kind;
};

std::uint16_t Unit(const unsigned char* p, bool bigEndian) {
    return bigEndian ? std::uint16_t(p[0] << 8 | p[1]) : std::uint16_t(p[1] << 8 | p[0]);
}

// The character at pos of body (pos < body size, body holds whole UTF-16 units).
CChar CharAt(EFileEncoding enc, std::string_view body, std::size_t pos) {
    const auto* p = reinterpret_cast<const unsigned char*>(body.data()) + pos;
    const std::size_t left = body.size() - pos;
    if (IsUtf16(enc)) {
        const bool be = enc == EFileEncoding::Utf16Be;
        const std::uint16_t u = Unit(p, be);
        const std::uint16_t next = left >= 4 ? Unit(p + 2, be) : 0;
        if (u == '\r' && next == '\n') return {4, 2, {u'\n', 0}, 1, true, ELineEnd::CrLf};
        if (u == '\r') return {2, 1, {u'\n', 0}, 1, true, ELineEnd::Cr};
        if (u == '\n') return {2, 1, {u'\n', 0}, 1, true, ELineEnd::Lf};
        if (u >= 0xD800 && u < 0xDC00 && next >= 0xDC00 && next < 0xE000)
            return {4, 4, {char16_t(u), char16_t(next)}, 2, false, {}};
        // A lone surrogate stays in the view as it is and reads as U+FFFD in the engine.
        const std::uint32_t engineLen = (u >= 0xD800 && u < 0xE000) ? 3 : Utf8Length(u);
        return {2, engineLen, {char16_t(u), 0}, 1, false, {}};
    }
    if (p[0] == '\r' && left >= 2 && p[1] == '\n') return {2, 2, {u'\n', 0}, 1, true, ELineEnd::CrLf};
    if (p[0] == '\r') return {1, 1, {u'\n', 0}, 1, true, ELineEnd::Cr};
    if (p[0] == '\n') return {1, 1, {u'\n', 0}, 1, true, ELineEnd::Lf};
    if (enc == EFileEncoding::Latin1 || p[0] < 0x80) return {1, 1, {char16_t(p[0]), 0}, 1, false, {}};
    std::uint32_t len = (p[0] & 0xE0) == 0xC0 ? 2 : (p[0] & 0xF0) == 0xE0 ? 3 : 4;
    std::uint32_t cp = p[0] & (len == 2 ? 0x1F : len == 3 ? 0x0F : 0x07);
    for (std::uint32_t i = 1; i < len; ++i) cp = (cp << 6) | (p[i] & 0x3F);
    if (cp < 0x10000) return {len, len, {char16_t(cp), 0}, 1, false, {}};
    cp -= 0x10000;
    return {len, len, {char16_t(0xD800 + (cp >> 10)), char16_t(0xDC00 + (cp & 0x3FF))}, 2, false, {}};
}

} // namespace

CTextEncoding CTextEncoding::Decode(std::string_view bytes, std::u16string& viewText) {
    CTextEncoding t;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    std::string_view body = bytes;
    if (bytes.size() >= 2 && b[0] == 0xFF && b[1] == 0xFE) t.m_encoding = EFileEncoding::Utf16Le;
    else if (bytes.size() >= 2 && b[0] == 0xFE && b[1] == 0xFF)
        t.m_encoding = EFileEncoding::Utf16Be;
    if (IsUtf16(t.m_encoding)) {
        t.m_bom = true;
        body.remove_prefix(2);
        if (body.size() % 2) {
            t.m_trailing = std::string(body.substr(body.size() - 1));
            body.remove_suffix(1);
        }
    } else if (IsValidUtf8(bytes)) {
        if (bytes.size() >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
            t.m_bom = true;
            body.remove_prefix(3);
        }
    } else {
        t.m_encoding = EFileEncoding::Latin1;
    }
    t.m_body = std::string(body);

    viewText.clear();
    viewText.reserve(IsUtf16(t.m_encoding) ? body.size() / 2 : body.size());
    t.m_points.reserve(body.size() / kPointSpacing + 1);
    CPoint at{0, 0, 0};
    std::size_t nextPoint = 0;
    bool mixed = false;
    bool anyLineEnd = false;
    while (at.file < body.size()) {
        if (at.file >= nextPoint) {
            t.m_points.push_back(at);
            nextPoint = at.file + kPointSpacing;
        }
        // Plain ASCII is one unit in every measure.
        const unsigned char byte = static_cast<unsigned char>(body[at.file]);
        if (!IsUtf16(t.m_encoding) && byte < 0x80 && byte != '\r' && byte != '\n') {
            viewText.push_back(char16_t(byte));
            ++at.file, ++at.engine, ++at.view;
            continue;
        }
        const CChar c = CharAt(t.m_encoding, body, at.file);
        if (c.lineEnd) {
            if (!anyLineEnd) t.m_lineEnd = c.kind;
            mixed = mixed || c.kind != t.m_lineEnd;
            anyLineEnd = true;
            t.m_lineEnds.push_back(c.kind);
        }
        viewText.append(c.units, c.viewLen);
        at.file += c.fileLen;
        at.engine += c.engineLen;
        at.view += c.viewLen;
    }
    if (!mixed) {
        t.m_lineEnds.clear();
        t.m_lineEnds.shrink_to_fit();
    }
    if (t.m_points.empty()) t.m_points.push_back(at);
    t.m_end = at;
    return t;
}

std::optional<std::string> CTextEncoding::Encode(std::u16string_view viewText) const {
    std::string out;
    out.reserve(viewText.size() + viewText.size() / 8 + 4);
    const bool utf16 = IsUtf16(m_encoding);
    const bool be = m_encoding == EFileEncoding::Utf16Be;
    auto put16 = [&](std::uint16_t u) {
        out += char(be ? u >> 8 : u & 0xFF);
        out += char(be ? u & 0xFF : u >> 8);
    };
    if (m_bom) {
        if (utf16) put16(0xFEFF);
        else
            out += "\xEF\xBB\xBF";
    }
    std::size_t line = 0;
    for (std::size_t i = 0; i < viewText.size(); ++i) {
        const char16_t u = viewText[i];
        // The view's paragraph separator is a line end too.
        if (u == u'\n' || u == u'\u2029') {
            const ELineEnd kind = line < m_lineEnds.size() ? m_lineEnds[line] : m_lineEnd;
            ++line;
            const char* text = kind == ELineEnd::CrLf ? "\r\n" : kind == ELineEnd::Cr ? "\r" : "\n";
            for (const char* c = text; *c; ++c) {
                if (utf16) put16(std::uint16_t(*c));
                else
                    out += *c;
            }
            continue;
        }
        if (utf16) {
            put16(u);
        } else if (m_encoding == EFileEncoding::Latin1) {
            if (u > 0xFF) return std::nullopt;
            out += char(u);
        } else {
            std::uint32_t cp = u;
            if (u >= 0xD800 && u < 0xDC00 && i + 1 < viewText.size() && viewText[i + 1] >= 0xDC00 &&
                viewText[i + 1] < 0xE000) {
                cp = 0x10000 + ((std::uint32_t(u) - 0xD800) << 10) + (viewText[i + 1] - 0xDC00);
                ++i;
            } else if (u >= 0xD800 && u < 0xE000) {
                cp = 0xFFFD;
            }
            AppendUtf8(out, cp);
        }
    }
    out += m_trailing;
    return out;
}

std::string CTextEncoding::EncodeAsUtf8(std::u16string_view viewText) const {
    CTextEncoding utf8 = *this;
    utf8.m_encoding = EFileEncoding::Utf8;
    utf8.m_bom = false;
    utf8.m_trailing.clear();
    return *utf8.Encode(viewText);
}

template <class Key> std::size_t CTextEncoding::Walk(std::size_t target, Key key, std::size_t CPoint::*result) const {
    if (target >= m_end.*key) return m_end.*result;
    auto it = std::upper_bound(m_points.begin(), m_points.end(), target,
                               [key](std::size_t v, const CPoint& p) { return v < p.*key; });
    CPoint at = it == m_points.begin() ? m_points.front() : *(it - 1);
    while (at.file < m_body.size()) {
        const CChar c = CharAt(m_encoding, m_body, at.file);
        const CPoint next{at.file + c.fileLen, at.engine + c.engineLen, at.view + c.viewLen};
        if (next.*key > target) break;
        at = next;
    }
    return at.*result;
}

// The engine reads a UTF-8 file with its byte-order mark; a UTF-16 file's UTF-8 form has none.
std::size_t CTextEncoding::EngineBomLength() const { return m_bom && m_encoding == EFileEncoding::Utf8 ? 3 : 0; }

std::size_t CTextEncoding::ViewPosOfEngineOffset(std::size_t engineOffset) const {
    const std::size_t bom = EngineBomLength();
    return Walk(engineOffset < bom ? 0 : engineOffset - bom, &CPoint::engine, &CPoint::view);
}

std::size_t CTextEncoding::EngineOffsetOfViewPos(std::size_t viewPos) const {
    return EngineBomLength() + Walk(viewPos, &CPoint::view, &CPoint::engine);
}

std::size_t CTextEncoding::ViewPosOfFileOffset(std::size_t fileOffset) const {
    const std::size_t bom = !m_bom ? 0 : IsUtf16(m_encoding) ? 2 : 3;
    return Walk(fileOffset < bom ? 0 : fileOffset - bom, &CPoint::file, &CPoint::view);
}

std::size_t CTextEncoding::FileOffsetOfEngineOffset(std::size_t engineOffset) const {
    const std::size_t fileBom = !m_bom ? 0 : IsUtf16(m_encoding) ? 2 : 3;
    const std::size_t bom = EngineBomLength();
    return fileBom + Walk(engineOffset < bom ? 0 : engineOffset - bom, &CPoint::engine, &CPoint::file);
}

std::string CTextEncoding::EngineText(std::string_view fileBytes) const {
    if (!IsUtf16(m_encoding)) return std::string(fileBytes);
    std::string out;
    out.reserve(m_end.engine);
    for (std::size_t pos = 0; pos < m_body.size();) {
        const CChar c = CharAt(m_encoding, m_body, pos);
        if (c.lineEnd) {
            out += c.kind == ELineEnd::CrLf ? "\r\n" : c.kind == ELineEnd::Cr ? "\r" : "\n";
        } else if (c.viewLen == 2) {
            AppendUtf8(out, 0x10000 + ((std::uint32_t(c.units[0]) - 0xD800) << 10) + (c.units[1] - 0xDC00));
        } else {
            AppendUtf8(out, (c.units[0] >= 0xD800 && c.units[0] < 0xE000) ? 0xFFFD : c.units[0]);
        }
        pos += c.fileLen;
    }
    return out;
}
