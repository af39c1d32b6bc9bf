#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Counts where the names of an identifier list occur in a text, with the rule of the resource
// searches: at each position the first name in list order that equals the text there (byte for
// byte) and is followed by a word delimiter or the end of the text counts, and the scan goes on
// after it; otherwise one byte on. The cost is linear in the text: instead of trying every name
// at every position, a position is tried only when its first two bytes can start a name, and
// then only the words up to the next delimiters are looked up.
class CNameMatcher {
public:
    explicit CNameMatcher(const std::vector<std::string>& names);

    // Adds to found (one counter per name). tick, when set, is called with the distance from the
    // start after every step that ends on a multiple of tickEvery.
    void Count(std::string_view text, std::vector<std::uint32_t>& found, std::size_t tickEvery = 0,
               const std::function<void(std::size_t)>& tick = {}) const;

private:
    std::size_t Match(std::string_view text, std::size_t pos, std::size_t& delim, std::size_t& length) const;

    std::vector<std::string> m_names;
    std::unordered_map<std::string_view, std::uint32_t> m_first; // name -> first index
    std::vector<bool> m_pairs;   // 65536 entries: the first two bytes of a possible match
    std::vector<bool> m_lengths; // lengths that occur
    bool m_startByte[256] = {};
    std::size_t m_maxLength = 0;
    std::size_t m_maxInnerDelims = 0; // names may hold delimiters, e.g. "FOO(x)"
};
