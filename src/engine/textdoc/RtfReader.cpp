#include "textdoc/RtfReader.h"

#include "textdoc/CodePage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <vector>

namespace {

constexpr int kMaxWordLength = 32;
constexpr std::size_t kMaxTableEntries = 4096;
constexpr std::size_t kMaxFaceLength = 256;
constexpr int kSymbolCharset = 2;

enum class EDest : std::uint8_t { Text, Skip, FontTable, ColorTable };

struct CState {
    EDest dest = EDest::Text;
    int font = -1;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int color = 0;
    int uc = 1;
    ERtfAlign align = ERtfAlign::Left;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
};

struct CFont {
    std::u16string name;
    int charset = 0;
};

// Groups whose text is not part of the document.
constexpr std::array<std::string_view, 66> kSkippedDestinations = {
    "stylesheet",        "info",      "pict",      "object",    "objdata",   "header",    "headerl",
    "headerr",           "headerf",   "footer",    "footerl",   "footerr",   "footerf",   "footnote",
    "annotation",        "atnid",     "atnauthor", "atndate",   "atnref",    "atrfstart", "atrfend",
    "bkmkstart",         "bkmkend",   "comment",   "doccomm",   "author",    "title",     "subject",
    "operator",          "keywords",  "company",   "creatim",   "revtim",    "printim",   "buptim",
    "template",          "fldinst",   "pn",        "pnseclvl",  "pntxta",    "pntxtb",    "listtable",
    "listoverridetable", "revtbl",    "rsidtbl",   "generator", "xmlnstbl",  "themedata", "colorschememapping",
    "latentstyles",      "datastore", "filetbl",   "pgdsctbl",  "userprops", "docvar",    "ftnsep",
    "ftnsepc",           "ftncn",     "aftnsep",   "aftnsepc",  "aftncn",    "shp",       "shpinst",
    "nonshppict",        "txe",       "xe",
};

bool IsSkippedDestination(std::string_view word) {
    return std::find(kSkippedDestinations.begin(), kSkippedDestinations.end(), word) != kSkippedDestinations.end();
}

int Clamp(long long v, int lo, int hi) { return int(std::clamp<long long>(v, lo, hi)); }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class CReader {
public:
    explicit CReader(std::string_view in) : m_in(in) {}
    CRtfDocument Read();

private:
    void OpenGroup();
    void CloseGroup();
    void ControlWord(std::string_view word, bool hasParam, int param);
    void ControlSymbol(char c);
    void Byte(unsigned char b, bool escaped);
    void AppendFaceChar(char16_t c);
    void Char(char16_t c);
    void EndParagraph();
    void PushParagraph();
    CRtfCharFormat Format() const;
    int CodePageOfFont(int font) const;

    std::string_view m_in;
    std::size_t m_pos = 0;
    std::vector<CState> m_stack;
    CState m_state;
    // Groups opened past kRtfMaxDepth, skipped whole.
    std::size_t m_overflow = 0;
    bool m_done = false;
    // Characters still to drop after \uN: its ANSI stand-in.
    int m_skipChars = 0;

    int m_docCodePage = 1252;
    int m_defaultFont = -1;
    std::map<int, CFont> m_fonts;
    int m_fontEntry = -1;
    std::vector<std::optional<std::uint32_t>> m_colors;
    int m_red = -1, m_green = -1, m_blue = -1;

    CRtfDocument m_doc;
    CRtfParagraph m_para;
};

CRtfCharFormat CReader::Format() const {
    CRtfCharFormat f;
    if (auto it = m_fonts.find(m_state.font); it != m_fonts.end()) f.face = it->second.name;
    f.halfPoints = m_state.halfPoints;
    f.bold = m_state.bold;
    f.italic = m_state.italic;
    f.underline = m_state.underline;
    if (m_state.color > 0 && std::size_t(m_state.color) < m_colors.size())
        f.color = m_colors[std::size_t(m_state.color)];
    return f;
}

int CReader::CodePageOfFont(int font) const {
    const auto it = m_fonts.find(font);
    if (it == m_fonts.end()) return m_docCodePage;
    if (it->second.charset == kSymbolCharset) return -kSymbolCharset;
    const int cp = CodePageOfCharset(it->second.charset);
    return cp == 0 ? m_docCodePage : cp;
}

void CReader::Char(char16_t c) {
    if (m_skipChars > 0) {
        --m_skipChars;
        return;
    }
    switch (m_state.dest) {
    case EDest::Skip: return;
    case EDest::ColorTable:
        if (c == u';' && m_colors.size() < kMaxTableEntries) {
            if (m_red < 0 && m_green < 0 && m_blue < 0) m_colors.push_back(std::nullopt);
            else
                m_colors.push_back((std::uint32_t(std::max(m_red, 0)) << 16) |
                                   (std::uint32_t(std::max(m_green, 0)) << 8) | std::uint32_t(std::max(m_blue, 0)));
            m_red = m_green = m_blue = -1;
        }
        return;
    case EDest::FontTable:
        if (m_fontEntry < 0) return;
        if (c == u';') {
            m_fontEntry = -1;
            return;
        }
        AppendFaceChar(c);
        return;
    case EDest::Text: break;
    }
    if (c < 0x20 && c != u'\t') return;
    const CRtfCharFormat f = Format();
    if (m_para.runs.empty() || !(m_para.runs.back().format == f)) m_para.runs.push_back({{}, f});
    m_para.runs.back().text += c;
}

void CReader::AppendFaceChar(char16_t c) {
    if (m_fontEntry < 0) return;
    std::u16string& name = m_fonts[m_fontEntry].name;
    if (c >= 0x20 && name.size() < kMaxFaceLength && !(name.empty() && c == u' ')) name += c;
}

void CReader::Byte(unsigned char b, bool escaped) {
    const int cp = CodePageOfFont(m_state.font);
    // A Symbol-font bullet (Word's list bullet) reads as the bullet it shows.
    const char16_t c = cp == -kSymbolCharset ? (b == 0xB7 ? u'\u2022' : char16_t(b))
                                             : DecodeCodePageByte(IsKnownCodePage(cp) ? cp : 28591, b);
    // An escaped ';' belongs to a face name instead of ending it.
    if (escaped && m_state.dest == EDest::FontTable && m_skipChars == 0) AppendFaceChar(c);
    else
        Char(c);
}

void CReader::EndParagraph() {
    if (m_state.dest == EDest::Text) PushParagraph();
}

void CReader::PushParagraph() {
    m_para.align = m_state.align;
    m_para.leftIndent = m_state.leftIndent;
    m_para.rightIndent = m_state.rightIndent;
    m_para.firstIndent = m_state.firstIndent;
    m_para.spaceBefore = m_state.spaceBefore;
    m_para.spaceAfter = m_state.spaceAfter;
    m_doc.paragraphs.push_back(std::move(m_para));
    m_para = {};
}

void CReader::OpenGroup() {
    m_skipChars = 0;
    if (m_overflow > 0 || m_stack.size() >= std::size_t(kRtfMaxDepth)) {
        ++m_overflow;
        return;
    }
    m_stack.push_back(m_state);
}

void CReader::CloseGroup() {
    m_skipChars = 0;
    if (m_overflow > 0) {
        --m_overflow;
        return;
    }
    if (m_stack.empty()) {
        m_done = true;
        return;
    }
    if (m_state.dest == EDest::FontTable) m_fontEntry = -1;
    // The last paragraph needs no \par, but keeps its own paragraph format.
    if (m_stack.size() == 1 && m_state.dest == EDest::Text && !m_para.runs.empty()) PushParagraph();
    m_state = m_stack.back();
    m_stack.pop_back();
    if (m_stack.empty()) m_done = true; // the document's own group has closed
}

void CReader::ControlSymbol(char c) {
    switch (c) {
    case '\\':
    case '{':
    case '}': Char(char16_t(c)); break;
    case '~': Char(u'\u00A0'); break;
    case '_': Char(u'\u2011'); break;
    case '-': break; // an optional hyphen
    case '*': m_state.dest = EDest::Skip; break;
    case '\r':
    case '\n': EndParagraph(); break;
    default:
        if (m_skipChars > 0) --m_skipChars;
        break;
    }
}

void CReader::ControlWord(std::string_view w, bool hasParam, int param) {
    // \uN's stand-in may itself be a control word; it is dropped whole.
    if (m_skipChars > 0) {
        --m_skipChars;
        return;
    }
    const int on = hasParam ? param != 0 : 1;
    if (w == "u") {
        const int u = Clamp(param, -32768, 65535);
        Char(char16_t(u < 0 ? u + 65536 : u));
        m_skipChars = m_state.uc;
        return;
    }
    if (w == "uc") {
        m_state.uc = Clamp(param, 0, 16);
        return;
    }
    if (m_state.dest == EDest::FontTable) {
        if (w == "f") {
            m_fontEntry = -1;
            if (m_fonts.size() < kMaxTableEntries || m_fonts.count(param)) {
                m_fontEntry = param;
                m_fonts[param] = {};
            }
        } else if (w == "fcharset" && m_fontEntry >= 0) {
            m_fonts[m_fontEntry].charset = param;
        } else if (IsSkippedDestination(w)) {
            m_state.dest = EDest::Skip;
        }
        return;
    }
    if (m_state.dest == EDest::ColorTable) {
        if (w == "red") m_red = Clamp(param, 0, 255);
        else if (w == "green")
            m_green = Clamp(param, 0, 255);
        else if (w == "blue")
            m_blue = Clamp(param, 0, 255);
        return;
    }
    if (m_state.dest == EDest::Skip) return;

    if (w == "par" || w == "sect" || w == "page" || w == "row") EndParagraph();
    else if (w == "line")
        Char(u'\u2028');
    else if (w == "tab" || w == "cell")
        Char(u'\t');
    else if (w == "emdash")
        Char(u'\u2014');
    else if (w == "endash")
        Char(u'\u2013');
    else if (w == "bullet")
        Char(u'\u2022');
    else if (w == "lquote")
        Char(u'\u2018');
    else if (w == "rquote")
        Char(u'\u2019');
    else if (w == "ldblquote")
        Char(u'\u201C');
    else if (w == "rdblquote")
        Char(u'\u201D');
    else if (w == "emspace")
        Char(u'\u2003');
    else if (w == "enspace")
        Char(u'\u2002');
    else if (w == "b")
        m_state.bold = on;
    else if (w == "i")
        m_state.italic = on;
    else if (w == "ulnone")
        m_state.underline = false;
    else if (w.starts_with("ul") && w != "ulc")
        m_state.underline = on;
    else if (w == "f")
        m_state.font = param;
    else if (w == "fs")
        m_state.halfPoints = param > 0 ? Clamp(param, 1, 3276) : 24;
    else if (w == "cf")
        m_state.color = Clamp(param, 0, int(kMaxTableEntries));
    else if (w == "plain") {
        m_state.font = m_defaultFont;
        m_state.halfPoints = 24;
        m_state.bold = m_state.italic = m_state.underline = false;
        m_state.color = 0;
    } else if (w == "pard") {
        m_state.align = ERtfAlign::Left;
        m_state.leftIndent = m_state.rightIndent = m_state.firstIndent = 0;
        m_state.spaceBefore = m_state.spaceAfter = 0;
    } else if (w == "ql")
        m_state.align = ERtfAlign::Left;
    else if (w == "qc")
        m_state.align = ERtfAlign::Center;
    else if (w == "qr")
        m_state.align = ERtfAlign::Right;
    else if (w == "qj")
        m_state.align = ERtfAlign::Justify;
    else if (w == "li")
        m_state.leftIndent = Clamp(param, -31680, 31680);
    else if (w == "ri")
        m_state.rightIndent = Clamp(param, -31680, 31680);
    else if (w == "fi")
        m_state.firstIndent = Clamp(param, -31680, 31680);
    else if (w == "sb")
        m_state.spaceBefore = Clamp(param, 0, 31680);
    else if (w == "sa")
        m_state.spaceAfter = Clamp(param, 0, 31680);
    else if (w == "deff") {
        m_defaultFont = param;
        if (m_state.font < 0) m_state.font = param;
    } else if (w == "ansicpg")
        m_docCodePage = param;
    else if (w == "mac" || w == "pc" || w == "pca")
        m_docCodePage = 28591;
    else if (w == "fonttbl")
        m_state.dest = EDest::FontTable;
    else if (w == "colortbl")
        m_state.dest = EDest::ColorTable;
    else if (IsSkippedDestination(w))
        m_state.dest = EDest::Skip;
}

CRtfDocument CReader::Read() {
    const std::size_t n = m_in.size();
    while (m_pos < n && !m_done) {
        const char c = m_in[m_pos++];
        if (c == '{') {
            OpenGroup();
            continue;
        }
        if (c == '}') {
            CloseGroup();
            continue;
        }
        if (m_overflow > 0) {
            if (c == '\\' && m_pos < n) ++m_pos; // an escaped brace is no brace
            continue;
        }
        if (c == '\r' || c == '\n') continue;
        if (c != '\\') {
            Byte(static_cast<unsigned char>(c), false);
            continue;
        }
        if (m_pos >= n) break;
        const char d = m_in[m_pos];
        if (!IsLetter(d)) {
            ++m_pos;
            if (d == '\'') {
                int hi = m_pos < n ? HexValue(m_in[m_pos]) : -1;
                int lo = hi >= 0 && m_pos + 1 < n ? HexValue(m_in[m_pos + 1]) : -1;
                if (hi < 0 || lo < 0) continue;
                m_pos += 2;
                Byte(static_cast<unsigned char>(hi * 16 + lo), true);
            } else {
                ControlSymbol(d);
            }
            continue;
        }
        const std::size_t start = m_pos;
        while (m_pos < n && IsLetter(m_in[m_pos])) ++m_pos;
        const std::string_view word = m_in.substr(start, std::min<std::size_t>(m_pos - start, kMaxWordLength));
        bool negative = false;
        if (m_pos + 1 < n && m_in[m_pos] == '-' && IsDigit(m_in[m_pos + 1])) {
            negative = true;
            ++m_pos;
        }
        bool hasParam = false;
        long long value = 0;
        while (m_pos < n && IsDigit(m_in[m_pos])) {
            hasParam = true;
            value = std::min<long long>(value * 10 + (m_in[m_pos] - '0'), INT32_MAX);
            ++m_pos;
        }
        if (m_pos < n && m_in[m_pos] == ' ') ++m_pos;
        const int param = int(negative ? -value : value);
        if (word == "bin") {
            // Binary data: its bytes are no RTF and are stepped over whole.
            m_pos += std::min<std::size_t>(std::size_t(std::max(param, 0)), n - m_pos);
            continue;
        }
        ControlWord(word, hasParam, param);
    }
    if (!m_para.runs.empty()) PushParagraph();
    return std::move(m_doc);
}

} // namespace

std::optional<CRtfDocument> ReadRtf(std::string_view bytes) {
    std::size_t start = 0;
    while (start < bytes.size() &&
           (bytes[start] == ' ' || bytes[start] == '\t' || bytes[start] == '\r' || bytes[start] == '\n'))
        ++start;
    if (bytes.size() - start < 5 || bytes.substr(start, 5) != "{\\rtf") return std::nullopt;
    return CReader(bytes.substr(start)).Read();
}
