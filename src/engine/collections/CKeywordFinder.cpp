#include "collections/CKeywordFinder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

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

#if !defined(__x86_64__)
using CVec = unsigned char __attribute__((vector_size(16)));

CVec Splat(unsigned char c) {
    CVec v;
    for (int i = 0; i < 16; ++i) v[i] = c;
    return v;
}
#endif

#if defined(__x86_64__)
const bool kHasAvx2 = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));
#endif

// From this length on skipping beats the probe scan on text files (measured: the 32-wide scan
// wins below about 100 bytes, the 16-wide one below about 64).
std::size_t SkipFrom() {
#if defined(__x86_64__)
    if (kHasAvx2) return 112;
#endif
    return 64;
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
        if (m_off2 == m_off1 || Commonness(at(i), m_noCase) < Commonness(at(m_off2), m_noCase)) m_off2 = i;
    }
    m_byte1 = at(m_off1);
    m_byte2 = at(m_off2);
    m_or1 = (m_noCase && IsLetter(m_byte1)) ? 0x20 : 0;
    m_or2 = (m_noCase && IsLetter(m_byte2)) ? 0x20 : 0;

    if (m_keyword.size() >= SkipFrom()) {
        // Shift by the last two bytes under the window: how far the window may move before
        // those two bytes could line up with the same pair in the keyword.
        const std::size_t len = m_folded.size();
        const std::size_t most = std::min<std::size_t>(len - 1, 255);
        m_shift.assign(std::size_t(1) << 16, static_cast<unsigned char>(most));
        for (std::size_t i = 0; i + 2 < len; ++i) {
            const std::size_t shift = std::min(len - 2 - i, most);
            for (const unsigned a : Variants(at(i)))
                for (const unsigned b : Variants(at(i + 1))) m_shift[(a << 8) | b] = static_cast<unsigned char>(shift);
        }
        // A window ending in the keyword's own last pair is checked (shift 0).
        for (const unsigned a : Variants(at(len - 2)))
            for (const unsigned b : Variants(at(len - 1))) m_shift[(a << 8) | b] = 0;
    }
}

std::array<unsigned, 2> CKeywordFinder::Variants(unsigned char folded) const {
    if (m_noCase && IsLetter(folded)) return {folded, unsigned(folded - 'a' + 'A')};
    return {folded, folded};
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
    if (!m_shift.empty()) return FindSkipping(text, from);

    std::size_t p = from;
#if defined(__x86_64__)
    if (kHasAvx2) {
        const std::size_t hit = FindAvx2(text, p);
        if (hit != npos) return hit;
    }
    // A block covers the starts p .. p + 15; every probe read stays below text.size() because
    // p + 15 <= lastStart and both offsets are below len.
    const __m128i b1 = _mm_set1_epi8(char(m_byte1)), b2 = _mm_set1_epi8(char(m_byte2));
    const __m128i o1 = _mm_set1_epi8(char(m_or1)), o2 = _mm_set1_epi8(char(m_or2));
    while (lastStart >= 15 && p <= lastStart - 15) {
        const __m128i x1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + p + m_off1));
        const __m128i x2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + p + m_off2));
        unsigned mask = unsigned(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(x1, o1), b1), _mm_cmpeq_epi8(_mm_or_si128(x2, o2), b2))));
        while (mask) {
            const std::size_t start = p + std::size_t(__builtin_ctz(mask));
            if (MatchesAt(text, start)) return start;
            mask &= mask - 1;
        }
        p += 16;
    }
#else
    const CVec b1 = Splat(m_byte1), b2 = Splat(m_byte2), o1 = Splat(m_or1), o2 = Splat(m_or2);
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
#endif
    return FindScalar(t, text.size(), p);
}

#if defined(__x86_64__)
__attribute__((target("avx2"))) std::size_t CKeywordFinder::FindAvx2(std::string_view text, std::size_t& p) const {
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t lastStart = text.size() - m_keyword.size();
    const __m256i b1 = _mm256_set1_epi8(char(m_byte1)), b2 = _mm256_set1_epi8(char(m_byte2));
    const __m256i o1 = _mm256_set1_epi8(char(m_or1)), o2 = _mm256_set1_epi8(char(m_or2));
    // As in Find: a block covers the starts p .. p + 31, all of them at or below lastStart.
    while (lastStart >= 31 && p <= lastStart - 31) {
        const __m256i x1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t + p + m_off1));
        const __m256i x2 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t + p + m_off2));
        unsigned mask = unsigned(_mm256_movemask_epi8(_mm256_and_si256(
            _mm256_cmpeq_epi8(_mm256_or_si256(x1, o1), b1), _mm256_cmpeq_epi8(_mm256_or_si256(x2, o2), b2))));
        while (mask) {
            const std::size_t start = p + std::size_t(__builtin_ctz(mask));
            if (MatchesAt(text, start)) return start;
            mask &= mask - 1;
        }
        p += 32;
    }
    return npos;
}
#endif

std::size_t CKeywordFinder::FindSkipping(std::string_view text, std::size_t from) const {
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t len = m_keyword.size();
    const std::size_t lastStart = text.size() - len;
    const unsigned char* shift = m_shift.data();
    std::size_t p = from;
    while (p <= lastStart) {
        const unsigned pair = (unsigned(t[p + len - 2]) << 8) | t[p + len - 1];
        const std::size_t s = shift[pair];
        if (s == 0) {
            if (MatchesAt(text, p)) return p;
            ++p;
        } else {
            p += s;
        }
    }
    return npos;
}

std::size_t CKeywordFinder::FindScalar(const unsigned char* text, std::size_t size, std::size_t from) const {
    const std::string_view view(reinterpret_cast<const char*>(text), size);
    for (std::size_t p = from; p + m_keyword.size() <= size; ++p)
        if ((text[p + m_off1] | m_or1) == m_byte1 && MatchesAt(view, p)) return p;
    return npos;
}
