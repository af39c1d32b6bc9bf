#pragma once

#include "textdoc/RtfDocument.h"

#include <optional>
#include <string_view>

// Reads an RTF file's bytes: paragraphs, bold, italic, underline, sizes, faces of the font
// table, the colour table, \uN with \ucN, \'hh in the code page of the font or the document
// (CodePage.h), tabs, \par and \line. List numbering is not interpreted: a list paragraph keeps
// the bullet text its writer put in \listtext or \pntext. Pictures, objects, headers, footnotes,
// field instructions and every unknown or \* destination are skipped.
//
// Any bytes are safe input: groups nest at most kRtfMaxDepth deep (deeper ones are skipped),
// numbers saturate, and each byte is looked at a bounded number of times. nullopt when the bytes
// do not start with "{\rtf" (after blanks).
inline constexpr int kRtfMaxDepth = 200;
std::optional<CRtfDocument> ReadRtf(std::string_view bytes);
