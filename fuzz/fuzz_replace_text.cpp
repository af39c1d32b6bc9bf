// The in-text replace of "Replace in collection files". Without the additional replacement it
// is a literal left-to-right replace, which the oracle does the plain way.
#include "FuzzSupport.h"

#include "filetools/CReplaceInFiles.h"

#include <string>

namespace {
std::string LiteralReplace(std::string_view text, std::string_view from, std::string_view to, std::uint64_t& count) {
    if (from.empty()) return std::string(text);
    std::string out;
    std::size_t p = 0;
    for (std::size_t hit; (hit = text.find(from, p)) != std::string_view::npos; p = hit + from.size()) {
        out.append(text.substr(p, hit - p)).append(to);
        ++count;
    }
    return out.append(text.substr(p));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CFuzzInput in(data, size);
    const std::string_view from = in.Part();
    const std::string_view to = in.Part();
    const std::string_view alsoFrom = in.Part();
    const std::string_view alsoTo = in.Part();
    const std::string_view text = in.Rest();

    std::uint64_t count = 0;
    const std::string replaced = CReplaceInFiles::ReplaceText(text, from, to, alsoFrom, alsoTo, count);
    if (alsoFrom.empty() || alsoTo.empty()) {
        std::uint64_t literalCount = 0;
        FUZZ_CHECK(replaced == LiteralReplace(text, from, to, literalCount));
        FUZZ_CHECK(count == literalCount);
    } else {
        // Every replacement uses up at least one byte of the text (a match may start in text
        // just inserted, so not always a whole occurrence's worth).
        FUZZ_CHECK(count <= text.size());
    }
    std::uint64_t removed = 0;
    FUZZ_CHECK(CReplaceInFiles::CleanText(text, removed).size() + removed <= text.size());
    return 0;
}
