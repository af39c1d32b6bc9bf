// The resource header tools: the define lines, the identifier list with its marks, the removal
// of marked lines and the correction.
#include "FuzzSupport.h"

#include "restools/ResourceHeader.h"
#include "restools/ResourceModel.h"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    for (std::size_t p = text.find('#'); p != std::string_view::npos; p = text.find('#', p + 1)) {
        const CDefineLine line = ParseDefineLine(text, p);
        FUZZ_CHECK(line.next <= text.size());
        FUZZ_CHECK(line.name.empty() ||
                   (line.name.data() >= text.data() && line.name.data() + line.name.size() <= text.data() + size));
    }
    const CBodyEnd body = FindBodyEnd(text);
    FUZZ_CHECK(body.end >= -1 && body.end <= static_cast<long long>(text.size()));
    (void)DetectResourceKind("resource.h", text, EViewKind::Text);
    (void)LineBreakOf(text);

    CIdentifierList ids;
    CMarkList marks;
    BuildIdentifierList(text, ids, marks);
    FUZZ_CHECK(ids.names.size() == ids.found.size());
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < marks.Count(); ++i) {
        FUZZ_CHECK(marks.ranges[i].start <= marks.ranges[i].end && marks.ranges[i].end <= text.size());
        if (i % 2 == 0) starts.push_back(marks.ranges[i].start);
    }
    FUZZ_CHECK(RemoveLinesHolding(text, starts).size() <= text.size());

    // A second correction renumbers nothing: from the first directive on it is the same text.
    // (The kept comment before it gains an empty line each time, as the correction always did.)
    const std::string corrected = CorrectResourceHeader(text);
    const std::string again = CorrectResourceHeader(corrected);
    FUZZ_CHECK(std::string_view(again).substr(again.find('#')) ==
               std::string_view(corrected).substr(corrected.find('#')));
    return 0;
}
