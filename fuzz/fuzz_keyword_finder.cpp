// The keyword finder against a plain search: every occurrence, in order, at the same offsets.
#include "FuzzSupport.h"

#include "collections/CKeywordFinder.h"

#include <algorithm>
#include <string>

namespace {
std::string Fold(std::string_view s) {
    std::string f(s);
    for (char& c : f)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return f;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CFuzzInput in(data, size);
    const unsigned char options = in.Byte();
    const bool noCase = options & 1;
    const std::string_view keyword = in.Part();
    const std::string_view text = in.Rest();
    const CKeywordFinder finder(keyword, noCase);

    const std::string plainText = noCase ? Fold(text) : std::string(text);
    const std::string plainKeyword = noCase ? Fold(keyword) : std::string(keyword);
    std::size_t from = std::min<std::size_t>(options >> 1, text.size());
    for (int n = 0; n < 10000; ++n) {
        const std::size_t got = finder.Find(text, from);
        const std::size_t want = plainText.find(plainKeyword, from);
        FUZZ_CHECK(got == want);
        if (got == CKeywordFinder::npos || got >= text.size()) break;
        FUZZ_CHECK(finder.MatchesAt(text, got));
        from = got + 1;
    }
    return 0;
}
