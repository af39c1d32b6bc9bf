#include "collections/CLocationIndex.h"

#include <bit>
#include <cstring>

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHigh = 0x8080808080808080ull;

// Eight bytes folded at once: ASCII a-z to A-Z and '\\' to '/', every other byte kept.
std::uint64_t Fold8(std::uint64_t w) {
    const std::uint64_t low7 = w & ~kHigh;
    const std::uint64_t atLeastA = low7 + kOnes * (0x80 - 'a');  // high bit set where low7 >= 'a'
    const std::uint64_t pastZ = low7 + kOnes * (0x80 - 'z' - 1); // high bit set where low7 > 'z'
    w ^= (atLeastA & ~pastZ & ~w & kHigh) >> 2;                  // 0x80 >> 2 is the case bit
    const std::uint64_t x = w ^ (kOnes * '\\');
    const std::uint64_t nonZero = ((x & ~kHigh) + ~kHigh) | x; // high bit set where x's byte != 0
    return w ^ ((~nonZero & kHigh) >> 7) * ('\\' ^ '/');
}

std::uint64_t Load(const char* p, std::size_t n) {
    std::uint64_t w = 0;
    std::memcpy(&w, p, n);
    return w;
}

std::uint64_t FoldedHash(std::string_view s) {
    constexpr std::uint64_t k = 0x9E3779B97F4A7C15ull;
    std::uint64_t h = s.size() * k;
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) h = (std::rotl(h, 23) ^ Fold8(Load(s.data() + i, 8))) * k;
    if (i < s.size()) h = (std::rotl(h, 23) ^ Fold8(Load(s.data() + i, s.size() - i))) * k;
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    return h ^ (h >> 33);
}

bool EqualsFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    std::size_t i = 0;
    for (; i + 8 <= a.size(); i += 8)
        if (Fold8(Load(a.data() + i, 8)) != Fold8(Load(b.data() + i, 8))) return false;
    return i == a.size() || Fold8(Load(a.data() + i, a.size() - i)) == Fold8(Load(b.data() + i, b.size() - i));
}

} // namespace

std::string_view CLocationIndex::Key(std::size_t record) const {
    return std::string_view(m_records[record].location).substr(m_strip);
}

void CLocationIndex::Build(const std::vector<CCollectionRecord>& records, std::string_view stripPrefix) {
    m_records = records.data();
    m_count = records.size();
    m_prefix.assign(stripPrefix);
    m_strip = stripPrefix.size();
    m_filled = false;
    m_slots.clear();
    m_firstOfKey.clear();
}

void CLocationIndex::Fill() const {
    m_filled = true;
    std::size_t capacity = 16;
    while (capacity < 2 * m_count) capacity *= 2;
    m_slots.assign(capacity, CSlot{0, 0});
    m_firstOfKey.assign(m_count, false);
    const std::size_t mask = capacity - 1;
    for (std::size_t i = 0; i < m_count; ++i) {
        const std::string_view location = m_records[i].location;
        if (location.size() < m_strip || !EqualsFolded(location.substr(0, m_strip), m_prefix)) continue;
        const std::string_view key = location.substr(m_strip);
        const std::uint64_t h = FoldedHash(key);
        const auto tag = static_cast<std::uint32_t>(h >> 32);
        bool first = true;
        std::size_t pos = h & mask;
        // Equal keys share one probe sequence, in record order: the first met is the first record.
        for (; m_slots[pos].record != 0; pos = (pos + 1) & mask)
            if (first && m_slots[pos].hash == tag && Key(m_slots[pos].record - 1) == key) first = false;
        m_slots[pos] = CSlot{tag, static_cast<std::uint32_t>(i + 1)};
        m_firstOfKey[i] = first;
    }
}

std::optional<CLocationIndex::CHit> CLocationIndex::Find(std::string_view pathBelowBase) const {
    if (!m_filled) Fill();
    const std::size_t mask = m_slots.size() - 1;
    const std::uint64_t h = FoldedHash(pathBelowBase);
    const auto tag = static_cast<std::uint32_t>(h >> 32);
    std::optional<CHit> folded;
    for (std::size_t pos = h & mask; m_slots[pos].record != 0; pos = (pos + 1) & mask) {
        if (m_slots[pos].hash != tag) continue;
        const std::size_t record = m_slots[pos].record - 1;
        const std::string_view key = Key(record);
        if (key == pathBelowBase) return CHit{record, true};
        if (!folded && EqualsFolded(key, pathBelowBase)) folded = CHit{record, false};
    }
    return folded;
}

std::optional<CLocationIndex::CHit> CLocationIndex::Find(std::string_view pathBelowBase, std::size_t expected) const {
    if (!m_filled) Fill();
    if (expected < m_firstOfKey.size() && m_firstOfKey[expected] && Key(expected) == pathBelowBase)
        return CHit{expected, true};
    return Find(pathBelowBase);
}
