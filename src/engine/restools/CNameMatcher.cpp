#include "restools/CNameMatcher.h"

#include "restools/ResourceModel.h"

#include <array>

namespace {

constexpr auto kDelimTable = [] {
    std::array<bool, 256> t{};
    for (int c = 0; c < 256; ++c) t[std::size_t(c)] = IsWordDelimiter(char(c));
    return t;
}();

inline bool Delim(char c) { return kDelimTable[static_cast<unsigned char>(c)]; }
inline unsigned Pair(char a, char b) {
    return (unsigned(static_cast<unsigned char>(a)) << 8) | static_cast<unsigned char>(b);
}

} // namespace

CNameMatcher::CNameMatcher(const std::vector<std::string>& names) : m_names(names), m_pairs(65536, false) {
    for (const auto& n : m_names) m_maxLength = std::max(m_maxLength, n.size());
    m_lengths.assign(m_maxLength + 1, false);
    for (std::uint32_t i = 0; i < m_names.size(); ++i) {
        const std::string_view n = m_names[i];
        if (n.empty()) continue;
        m_first.try_emplace(n, i);
        m_lengths[n.size()] = true;
        m_startByte[static_cast<unsigned char>(n[0])] = true;
        if (n.size() >= 2) {
            m_pairs[Pair(n[0], n[1])] = true;
        } else {
            for (int d = 0; d < 256; ++d)
                if (kDelimTable[std::size_t(d)]) m_pairs[Pair(n[0], char(d))] = true;
        }
        std::size_t inner = 0;
        for (char c : n) inner += Delim(c) ? 1 : 0;
        m_maxInnerDelims = std::max(m_maxInnerDelims, inner);
    }
}

// The index of the name matching at pos, or npos. delim caches the first delimiter at or after
// the last position it was computed for (npos: not yet).
std::size_t CNameMatcher::Match(std::string_view text, std::size_t pos, std::size_t& delim, std::size_t& length) const {
    const std::size_t size = text.size();
    if (delim == std::string_view::npos || delim < pos) {
        delim = pos;
        while (delim < size && !Delim(text[delim])) ++delim;
    }
    std::size_t best = std::string_view::npos;
    std::size_t end = delim;
    for (std::size_t seen = 0; seen <= m_maxInnerDelims; ++seen) {
        const std::size_t len = end - pos;
        if (len > m_maxLength) break;
        if (m_lengths[len]) {
            const auto it = m_first.find(text.substr(pos, len));
            if (it != m_first.end() && it->second < best) {
                best = it->second;
                length = len;
            }
        }
        if (end >= size) break;
        ++end;
        while (end < size && !Delim(text[end])) ++end;
    }
    return best;
}

void CNameMatcher::Count(std::string_view text, std::vector<std::uint32_t>& found, std::size_t tickEvery,
                         const std::function<void(std::size_t)>& tick) const {
    if (m_first.empty()) return;
    const std::size_t size = text.size();
    const bool ticking = tickEvery > 0 && tick;
    std::size_t nextTick = ticking ? tickEvery : std::string_view::npos;
    std::size_t delim = std::string_view::npos;
    std::size_t pos = 0;
    while (pos < size) {
        std::size_t step = 1;
        const char c = text[pos];
        if (m_startByte[static_cast<unsigned char>(c)] && (pos + 1 == size || m_pairs[Pair(c, text[pos + 1])])) {
            std::size_t length = 0;
            const std::size_t index = Match(text, pos, delim, length);
            if (index != std::string_view::npos) {
                ++found[index];
                step = length;
            }
        }
        pos += step;
        if (pos >= nextTick) {
            if (pos == nextTick) tick(pos);
            nextTick = (pos / tickEvery + 1) * tickEvery;
        }
    }
}
