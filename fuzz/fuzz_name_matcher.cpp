// The name matcher against a plain scan that tries every name at every position.
#include "FuzzSupport.h"

#include "restools/CNameMatcher.h"
#include "restools/ResourceModel.h"

#include <string>
#include <vector>

namespace {
std::vector<std::uint32_t> PlainCount(const std::vector<std::string>& names, std::string_view text) {
    std::vector<std::uint32_t> found(names.size(), 0);
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t step = 1;
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string& n = names[i];
            if (n.empty() || text.substr(pos, n.size()) != n) continue;
            const std::size_t after = pos + n.size();
            if (after < text.size() && !IsWordDelimiter(text[after])) continue;
            ++found[i];
            step = n.size();
            break;
        }
        pos += step;
    }
    return found;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CFuzzInput in(data, size);
    std::vector<std::string> names;
    for (std::string_view list = in.Part(); !list.empty();) {
        const std::size_t end = list.find('\n');
        names.emplace_back(list.substr(0, end));
        list = end == std::string_view::npos ? std::string_view() : list.substr(end + 1);
    }
    const std::string_view text = in.Rest();

    const CNameMatcher matcher(names);
    std::vector<std::uint32_t> found(names.size(), 0);
    std::size_t ticks = 0, last = 0;
    matcher.Count(text, found, 7, [&](std::size_t at) {
        FUZZ_CHECK(at % 7 == 0 && at > last && at <= text.size());
        last = at;
        ++ticks;
    });
    FUZZ_CHECK(found == PlainCount(names, text));
    return 0;
}
