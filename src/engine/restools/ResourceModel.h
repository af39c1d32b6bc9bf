#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The view kind decides which resource commands a text view offers.
enum class EViewKind : std::uint8_t { None = 0, RcScript = 1, ResourceHeader = 2, Rtf = 3, Text = 4 };

// Colours in the 0x00BBGGRR form.
enum : std::uint32_t { kColorBlack = 0x000000, kColorRed = 0x0000FF, kColorBlue = 0xFF0000 };

enum : std::uint8_t { kMarkNone = 0, kMarkRed = 1, kMarkBlue = 2 };

// An RC script needs the "rc" extension and the resource editor's read-only marker; a header the
// "h" extension and a "define" anywhere. Otherwise the kind stays current.
EViewKind DetectResourceKind(std::string_view path, std::string_view text, EViewKind current);

// The delimiters that may follow a matched word. LF counts as well, so LF-only text matches.
constexpr bool IsWordDelimiter(char c) {
    switch (c) {
    case ' ':
    case '\t':
    case ',':
    case '.':
    case '\r':
    case '\n':
    case ';':
    case '"':
    case '\'':
    case '=':
    case '!':
    case '(':
    case ')':
    case '{':
    case '}':
    case '[':
    case ']':
    case '%':
    case '-': return true;
    default: return false;
    }
}
// The word at pos, followed by a delimiter or by the end of text. The byte before pos is not
// examined, so a word also matches at the end of a longer one.
bool MatchWord(std::string_view text, std::size_t pos, std::string_view word, bool ignoreCase);

// The offset of the first byte of the line end at or after pos (a CR of CR LF, a lone CR or
// LF), or text.size().
std::size_t FindLineEnd(std::string_view text, std::size_t pos);
// The offset where the line holding pos starts.
std::size_t FindLineStart(std::string_view text, std::size_t pos);
// The line end the tools write into text: the one that ends the line of its first '#' ("\n" for
// an LF alone, "\r\n" for CR LF), else the last LF before it, else CR LF. Every text the
// correction writes has its directives end in the line end it chose, so a text keeps its style
// however often it is corrected.
std::string_view LineBreakOf(std::string_view text);

// text without the lines that hold the given offsets, each line once, as "Exlude a red color
// identifers" removes them from the last to the first: the LF before a line, the line and the
// CR of its own CR LF, so its neighbours keep one line end between them; the first line with its
// own line end; a last line without a line end with the whole line end before it. One pass.
std::string RemoveLinesHolding(std::string_view text, std::vector<std::size_t> starts);

struct CBodyEnd {
    long long end = 0; // may be -1 when the trailer marker sits on the first line
    bool trailer = false;
};
// Where the identifiers of a resource header end: before the line of the last
// "APSTUDIO_INVOKED" that starts at least 200 bytes before the end of a text of 250 or more.
CBodyEnd FindBodyEnd(std::string_view text);

struct CDefineLine {
    std::string_view name; // empty: nothing to add for this '#'
    std::size_t next = 0;  // the LF (or lone CR / LF) ending the line, or text.size()
};
// Parses from the '#' at pos: finds the next "define" (any case), takes the name after it up to
// a blank or a line end, and skips to the end of that line.
CDefineLine ParseDefineLine(std::string_view text, std::size_t pos);

// The names of a header's define lines in file order (duplicates stay), with a found counter
// each, and for each name the range of its line in the text.
struct CIdentifierList {
    std::vector<std::string> names;
    std::vector<std::uint32_t> found;
    std::size_t longestName = 0;
};

struct CMarkRange {
    std::size_t start = 0;
    std::size_t end = 0; // exclusive
};

struct CMarkList {
    std::vector<CMarkRange> ranges;
    std::vector<std::uint8_t> marks;
    std::size_t nextIndex = 0;
    bool collapsed = false;
    bool hasRed = false;

    std::size_t Count() const { return ranges.size(); }
    void Clear();
    void Add(std::size_t start, std::size_t end, std::uint8_t mark);
};

// Fills the identifier list and one mark-0 range per name (the '#' to the end of its line).
void BuildIdentifierList(std::string_view text, CIdentifierList& ids, CMarkList& marks);

std::uint32_t MarkColor(std::uint8_t mark);
