#include "collections/CKeywordFinder.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

using CVec = unsigned char __attribute__((vector_size(16)));

constexpr unsigned char FoldByte(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}
constexpr bool IsLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// How common a byte is in the text files collections hold (higher = more common). Bytes that
// are not listed count as rare; the probes prefer them.
constexpr std::array<unsigned char, 256> MakeCommonness() {
    std::array<unsigned char, 256> t{};
    constexpr std::string_view kByFrequency = " etaoinsrhldcumfpgwybv\n\r,.kx_-;()=\"'/:jqz0123456789*\t{}<>#";
    for (std::size_t i = 0; i < kByFrequency.size(); ++i) {
        const auto c = static_cast<unsigned char>(kByFrequency[i]);
        const auto score = static_cast<unsigned char>(255 - i);
        t[c] = score;
        if (c >= 'a' && c <= 'z') t[c - 'a' + 'A'] = static_cast<unsigned char>(score - 80);
    }
    return t;
}
constexpr std::array<unsigned char, 256> kCommonness = MakeCommonness();

unsigned Commonness(unsigned char c, bool noCase) {
    if (noCase && IsLetter(c)) return kCommonness[FoldByte(c)] + 1u;
    return kCommonness[c];
}

CVec Splat(unsigned char c) {
    CVec v;
    for (int i = 0; i < 16; ++i) v[i] = c;
    return v;
}

} // namespace

CKeywordFinder::CKeywordFinder(std::string_view keyword, bool noCase)
    : m_keyword(keyword), m_folded(keyword), m_noCase(noCase) {
    if (m_noCase)
        for (char& c : m_folded) c = static_cast<char>(FoldByte(static_cast<unsigned char>(c)));
    if (m_keyword.empty()) return;

    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(m_folded[i]); };
    m_off1 = 0;
    for (std::size_t i = 1; i < m_folded.size(); ++i)
        if (Commonness(at(i), m_noCase) < Commonness(at(m_off1), m_noCase)) m_off1 = i;
    m_off2 = m_off1;
    for (std::size_t i = 0; i < m_folded.size(); ++i) {
        if (i == m_off1) continue;
        if (m_off2 == m_off1 || Commonness(at(i), m_noCase) < Commonness(at(m_off2), m_noCase))
            m_off2 = i;
    }
    m_byte1 = at(m_off1);
    m_byte2 = at(m_off2);
    m_or1 = (m_noCase && IsLetter(m_byte1)) ? 0x20 : 0;
    m_or2 = (m_noCase && IsLetter(m_byte2)) ? 0x20 : 0;
}

bool CKeywordFinder::MatchesAt(std::string_view text, std::size_t pos) const {
    if (pos > text.size() || text.size() - pos < m_keyword.size()) return false;
    if (!m_noCase) return std::memcmp(text.data() + pos, m_keyword.data(), m_keyword.size()) == 0;
    for (std::size_t i = 0; i < m_folded.size(); ++i)
        if (FoldByte(static_cast<unsigned char>(text[pos + i])) != static_cast<unsigned char>(m_folded[i]))
            return false;
    return true;
}

std::size_t CKeywordFinder::Find(std::string_view text, std::size_t from) const {
    const std::size_t len = m_keyword.size();
    if (from > text.size() || text.size() - from < len) return npos;
    if (len == 0) return from;
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t lastStart = text.size() - len;

    if (!m_noCase && len == 1) {
        const void* hit = std::memchr(t + from, m_byte1, text.size() - from);
        return hit ? std::size_t(static_cast<const unsigned char*>(hit) - t) : npos;
    }

    const CVec b1 = Splat(m_byte1), b2 = Splat(m_byte2), o1 = Splat(m_or1), o2 = Splat(m_or2);
    std::size_t p = from;
    // A block covers the starts p .. p + 15; every probe read stays below text.size() because
    // p + 15 <= lastStart and both offsets are below len.
    while (lastStart >= 15 && p <= lastStart - 15) {
        CVec x1, x2;
        std::memcpy(&x1, t + p + m_off1, 16);
        std::memcpy(&x2, t + p + m_off2, 16);
        const auto eq = ((x1 | o1) == b1) & ((x2 | o2) == b2);
        std::uint64_t lanes[2];
        std::memcpy(lanes, &eq, 16);
        for (int half = 0; half < 2; ++half) {
            std::uint64_t w = lanes[half];
            while (w) {
                const int lane = __builtin_ctzll(w) / 8;
                const std::size_t start = p + std::size_t(half * 8 + lane);
                if (MatchesAt(text, start)) return start;
                w &= ~(std::uint64_t(0xFF) << (lane * 8));
            }
        }
        p += 16;
    }
    return FindScalar(t, text.size(), p);
}

std::size_t CKeywordFinder::FindScalar(const unsigned char* text, std::size_t size,
                                       std::size_t from) const {
    const std::string_view view(reinterpret_cast<const char*>(text), size);
    for (std::size_t p = from; p + m_keyword.size() <= size; ++p)
        if ((text[p + m_off1] | m_or1) == m_byte1 && MatchesAt(view, p)) return p;
    return npos;
}
