// The collection file and its header line: loading never fails on odd bytes, and what loading
// read is written back so that a second load reads the same collection.
#include "FuzzSupport.h"
#include "FuzzTempDir.h"

#include "app/QuietPorts.h"
#include "collections/CCollectionStore.h"

namespace {
bool SameRecords(const std::vector<CCollectionRecord>& a, const std::vector<CCollectionRecord>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].location != b[i].location || a[i].description != b[i].description || a[i].groups != b[i].groups)
            return false;
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CFuzzTempDir temp;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CFixedAnswerPrompt prompt(false);

    CCollectionStore parsed(prompt, temp.Dir());
    const auto next = parsed.ParseCollectionHeader(text);
    FUZZ_CHECK(next.has_value() == !text.empty());
    FUZZ_CHECK(!next || *next <= text.size());
    FUZZ_CHECK(CCollectionStore::HeaderLineEnd(text) <= text.size());
    for (std::string_view line : CCollectionStore::SplitRecordLines(text)) {
        FUZZ_CHECK(!line.empty() && line.data() >= text.data() && line.data() + line.size() <= text.data() + size);
        (void)CCollectionStore::ParseRecordLine(line);
    }

    CCollectionStore first(prompt, temp.Dir());
    first.SetCollectionFilePath(temp.Write("a.col", text));
    const std::size_t count = first.LoadCollection();
    FUZZ_CHECK(count == first.Records().size());

    CCollectionStore second(prompt, temp.Dir());
    second.SetCollectionFilePath(temp.Write("b.col", first.FormatCollectionFile()));
    FUZZ_CHECK(second.LoadCollection() == count);
    FUZZ_CHECK(SameRecords(first.Records(), second.Records()));
    FUZZ_CHECK(first.Name() == second.Name());
    FUZZ_CHECK(first.Description() == second.Description());
    FUZZ_CHECK(first.ExtensionList() == second.ExtensionList());
    return 0;
}
