#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Finds one keyword in byte text, either exactly or folding the ASCII letters only. It scans
// for two of the keyword's rarer bytes 16 or 32 positions at a time and compares the whole
// keyword only where both sit, so common text is passed over without a byte-by-byte compare.
// A long keyword (about 100 bytes and more) instead moves its window by up to its length at a
// time, as far as the last two bytes under the window allow.
class CKeywordFinder {
public:
    static constexpr std::size_t npos = std::string_view::npos;

    CKeywordFinder(std::string_view keyword, bool noCase);

    // The first position >= from where the keyword lies wholly inside text, or npos. An empty
    // keyword is found at from itself.
    std::size_t Find(std::string_view text, std::size_t from = 0) const;
    bool MatchesAt(std::string_view text, std::size_t pos) const;

    std::size_t Size() const { return m_keyword.size(); }
    const std::string& Keyword() const { return m_keyword; }

private:
    std::size_t FindScalar(const unsigned char* text, std::size_t size, std::size_t from) const;
    std::size_t FindSkipping(std::string_view text, std::size_t from) const;
#if defined(__x86_64__)
    // The probe scan 32 starts at a time from p; p is left where it stopped.
    std::size_t FindAvx2(std::string_view text, std::size_t& p) const;
#endif
    // A folded byte and its other case (the same byte twice when it has none).
    std::array<unsigned, 2> Variants(unsigned char folded) const;

    std::string m_keyword;
    std::string m_folded; // m_keyword with A-Z folded to a-z when m_noCase
    bool m_noCase;
    // The two probe offsets into the keyword, the byte expected at each, and the bits a text
    // byte is OR-ed with before the compare (0x20 for a letter in no-case mode, else 0).
    std::size_t m_off1 = 0, m_off2 = 0;
    unsigned char m_byte1 = 0, m_byte2 = 0;
    unsigned char m_or1 = 0, m_or2 = 0;
    // For long keywords: how far the window may move, by the two bytes under its end.
    std::vector<unsigned char> m_shift;
};
