#pragma once

#include <optional>

// The single-byte code pages the RTF reader decodes \'hh in: Windows-1250, 1251 and 1252, and
// Latin-1 (28591). Every other code page reads as Latin-1.
bool IsKnownCodePage(int codePage);
char16_t DecodeCodePageByte(int codePage, unsigned char byte);
// The Windows-1252 byte of c, nullopt when 1252 has none.
std::optional<unsigned char> EncodeWindows1252(char16_t c);
// The code page of an RTF \fcharsetN (0 is the document's own); 0 when no single-byte page we
// know fits.
int CodePageOfCharset(int charset);
