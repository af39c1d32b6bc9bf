#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class EFileEncoding : std::uint8_t { Utf8, Latin1, Utf16Le, Utf16Be };
enum class ELineEnd : std::uint8_t { Lf, CrLf, Cr };

// A text file as the text view shows it, and the way back to the same bytes. The file is read
// as UTF-16 when it starts with a UTF-16 byte-order mark, else as UTF-8 when it is valid UTF-8,
// else as Latin-1. Every line end (CR LF, LF or a lone CR) becomes one '\n' for the view.
//
// Three offsets describe one place: the file's byte offset, the engine's text offset (the file
// bytes themselves for UTF-8 and Latin-1, the UTF-8 decoding for UTF-16, which is what the
// resource tools read) and the view's character position (UTF-16 units, a line end counts 1).
// The map keeps a check point about every 64 bytes and walks from the nearest one.
class CTextEncoding {
public:
    // The view's text of bytes, and the map for it.
    static CTextEncoding Decode(std::string_view bytes, std::u16string& viewText);

    EFileEncoding Encoding() const { return m_encoding; }
    bool HasByteOrderMark() const { return m_bom; }
    ELineEnd DominantLineEnd() const { return m_lineEnd; }

    // The file's bytes for the view's text: the same encoding and byte-order mark, each line end
    // as the file had it at that line (new lines get the file's first kind). A character
    // Latin-1 cannot hold makes it nullopt; the caller decides what to do instead.
    std::optional<std::string> Encode(std::u16string_view viewText) const;
    // The same text as UTF-8 with the file's line ends, for a file that must leave Latin-1.
    std::string EncodeAsUtf8(std::u16string_view viewText) const;

    // Offsets past the end clamp to the end; an offset inside a character gives that
    // character's start.
    std::size_t ViewPosOfEngineOffset(std::size_t engineOffset) const;
    std::size_t EngineOffsetOfViewPos(std::size_t viewPos) const;
    std::size_t ViewPosOfFileOffset(std::size_t fileOffset) const;
    // Where an engine offset lies in the file on disk (quillbox-cli prints these).
    std::size_t FileOffsetOfEngineOffset(std::size_t engineOffset) const;
    // The engine's text itself: the file bytes for UTF-8 and Latin-1, else their UTF-8 form.
    std::string EngineText(std::string_view fileBytes) const;

private:
    struct CPoint {
        std::size_t file;
        std::size_t engine;
        std::size_t view;
    };
    // One character (or one line end) at file offset pos: its sizes in the three measures.
    struct CStep {
        std::uint32_t fileLen;
        std::uint32_t engineLen;
        std::uint32_t viewLen;
    };
    std::size_t EngineBomLength() const;
    template <class Key> std::size_t Walk(std::size_t target, Key key, std::size_t CPoint::*result) const;

    EFileEncoding m_encoding = EFileEncoding::Utf8;
    bool m_bom = false;
    ELineEnd m_lineEnd = ELineEnd::Lf;
    // One entry per line end of the file, only when they differ.
    std::vector<ELineEnd> m_lineEnds;
    // A UTF-16 file of odd length keeps its last byte.
    std::string m_trailing;
    std::vector<CPoint> m_points;
    CPoint m_end{};
    // The file's bytes after the byte-order mark, kept for the walk from a check point.
    std::string m_body;
};
