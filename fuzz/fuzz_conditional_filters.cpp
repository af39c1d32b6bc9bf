// The conditional filters of the project search. The directive index must give the same block
// ends as the plain walk it stands in for.
#include "FuzzSupport.h"

#include "restools/ConditionalBlocks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CFuzzInput in(data, size);
    const std::string_view keyword = in.Part('\n');
    const std::string_view text = in.Rest();

    const CDirectiveIndex index(text);
    int probes = 0;
    for (std::size_t p = 0; p <= text.size() && probes < 64; ++p) {
        if (p != 0 && p != text.size() && text[p - 1] != '#' && text[p] != '#' && text[p - 1] != '\n') continue;
        ++probes;
        const CBlockEnd a = index.BlockEnd(p);
        const CBlockEnd b = SkipToBlockEnd(text, p);
        FUZZ_CHECK(a.found == b.found);
        if (a.found) FUZZ_CHECK(a.isElse == b.isElse && a.hash == b.hash && a.afterWord == b.afterWord);
        FUZZ_CHECK(SkipComment(text, p) >= p && SkipComment(text, p) <= text.size());
    }
    for (std::size_t p = 0; p <= text.size();) {
        const auto test = FindKeywordTest(text, p, keyword);
        if (!test) break;
        FUZZ_CHECK(test->hash >= p && test->nameEnd <= text.size());
        p = test->nameEnd > p ? test->nameEnd : p + 1;
    }
    FUZZ_CHECK(RemoveComments(text).size() <= text.size());
    FUZZ_CHECK(ApplyNegativeFilter(text, keyword).size() <= text.size());
    (void)ApplyPositiveFilter(text, keyword);
    return 0;
}
