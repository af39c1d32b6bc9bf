#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A rich-text document as the RTF reader gives it and the writer takes it: paragraphs of runs,
// each run one character format. Sizes are in half points (RTF's \fs), indents and spacing in
// twips. Text is UTF-16 (RTF's \uN counts UTF-16 units); a tab is '\t', a line break inside a
// paragraph U+2028.
struct CRtfCharFormat {
    std::u16string face; // empty: the reader's default font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<std::uint32_t> color; // 0xRRGGBB; none: the automatic colour
    bool operator==(const CRtfCharFormat&) const = default;
};

struct CRtfRun {
    std::u16string text;
    CRtfCharFormat format;
    bool operator==(const CRtfRun&) const = default;
};

enum class ERtfAlign : std::uint8_t { Left, Center, Right, Justify };

struct CRtfParagraph {
    std::vector<CRtfRun> runs;
    ERtfAlign align = ERtfAlign::Left;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0; // relative to leftIndent; negative for a hanging bullet
    int spaceBefore = 0;
    int spaceAfter = 0;
    bool operator==(const CRtfParagraph&) const = default;
};

struct CRtfDocument {
    std::vector<CRtfParagraph> paragraphs;
    bool operator==(const CRtfDocument&) const = default;
};
