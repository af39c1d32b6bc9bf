#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The per-folder description file of file managers: one entry a line, the file name (in double
// quotes when it holds a blank), a blank, the description. A line ending in the bytes 04 C2 holds
// a multi-line description with "\n" for each line break and "\\" for a backslash.
//
// Names and descriptions are handed out and taken as UTF-8. The file keeps the encoding it has:
// UTF-8 when its bytes are valid UTF-8 (with or without a byte-order mark), else a legacy 8-bit
// file, read and written as Windows-1252 (the five bytes that code page leaves open map to the
// control characters of the same number, so every byte round-trips). Lines nobody changes are
// written back byte for byte, line ends included; changed and added lines take the line end the
// file uses (CR LF for a new file). Not thread-safe.
class CDescriptIon {
public:
    static constexpr std::string_view kFileName = "descript.ion";

    enum class EEncoding {
        Ascii, // nothing but ASCII yet: written as UTF-8, with a byte-order mark once it needs one
        Utf8,
        Windows1252,
    };

    struct CEntry {
        std::size_t line; // index into the file's lines
        std::string name;
        // Multi-line descriptions joined with blanks, blanks trimmed at both ends. A CR that is
        // no line end stays in it.
        std::string description;
    };

    // A new, empty file.
    CDescriptIon() = default;
    // nullopt for bytes that are no text file of this kind (a UTF-16 byte-order mark, a NUL byte).
    static std::optional<CDescriptIon> Parse(std::string_view bytes);

    EEncoding Encoding() const { return m_encoding; }
    const std::vector<CEntry>& Entries() const { return m_entries; }
    // The entry of name: the first whose name is byte-equal, else the first equal without regard
    // to case; nullopt when none.
    std::optional<std::size_t> FindEntry(std::string_view name) const;
    // Replaces entry k's line (under name) by name and description, or adds a line at the end for
    // a new entry (k nullopt). False, and nothing changed, when the line cannot carry them: a name
    // that starts with a double quote or holds one beside a blank, a line break in either, or a
    // character the file's encoding lacks.
    bool SetEntry(std::optional<std::size_t> k, std::string_view name, std::string_view description);
    // The whole file as it is to be written.
    std::string Serialise() const;

    // Same text when both sides are trimmed of blanks, as entries are.
    static bool SameDescription(std::string_view a, std::string_view b);

private:
    struct CLine {
        std::string bytes; // as in the file, without its line end
        std::string end;   // its own line end; empty for a last line without one
    };
    std::optional<std::string> Encode(std::string_view utf8) const;
    void ParseEntry(std::size_t line);

    EEncoding m_encoding = EEncoding::Ascii;
    bool m_bom = false;
    std::string m_lineEnd = "\r\n";
    std::vector<CLine> m_lines;
    std::vector<CEntry> m_entries;
};
