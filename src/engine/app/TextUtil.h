#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

// ASCII-only case folding: bytes with the high bit set compare as they are.
inline char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

std::string ToUpperAscii(std::string_view s);
std::string ToLowerAscii(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);
// Position of needle in hay without regard to case, or npos.
std::size_t FindNoCase(std::string_view hay, std::string_view needle, std::size_t from = 0);
std::string_view TrimBlanks(std::string_view s);

// printf-style formatting into a std::string, for the message texts with placeholders.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
