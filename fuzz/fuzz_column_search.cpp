// The file-name pattern and the description terms of the collection window's column search.
#include "FuzzSupport.h"

#include "collections/ColumnSearch.h"

#include <cctype>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CFuzzInput in(data, size);
    const std::string_view box = in.Part('\n');
    const std::string_view subject = in.Rest();
    std::string upper(subject);
    for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));

    const std::string pattern = MakeFilePattern(box);
    const bool matched = MatchFilePattern(pattern, upper);
    (void)IsMatchAllPattern(pattern);
    // Without wildcards a pattern is a prefix.
    if (pattern.find_first_of("*?") == std::string::npos)
        FUZZ_CHECK(matched == (upper.compare(0, pattern.size(), pattern) == 0));

    const auto terms = SplitDescriptionTerms(box);
    for (const auto& t : terms) {
        FUZZ_CHECK(t.text.find_first_of("+|") == std::string::npos);
        for (char c : t.text) FUZZ_CHECK(!(c >= 'a' && c <= 'z'));
    }
    (void)MatchDescriptionTerms(terms, upper);
    return 0;
}
