// The RC script parse and the compare of two scripts: every range lies inside its text, and the
// compare's marks inside the script it colours. Input: an options byte (the groups), the first
// script, a zero byte, the second script.
#include "FuzzSupport.h"
#include "FuzzTempDir.h"

#include "app/QuietPorts.h"
#include "restools/CResourceTools.h"
#include "restools/CResourceView.h"

namespace {
class CAnswerPickers : public CNoPickers {
public:
    std::string answer;
    std::string OpenFile(std::string_view, std::string_view, const std::filesystem::path&) override { return answer; }
};
class CNoDialogs : public CResourceDialogs {
public:
    bool RunRcOptionsDialog(bool) override { return false; }
    bool RunProjectSearchDialog(CProjectSearchOptions&) override { return false; }
};

void CheckLists(const CRcLists& lists, std::size_t size) {
    const auto entries = [&](const std::vector<CRcEntry>& list) {
        for (const CRcEntry& e : list) FUZZ_CHECK(e.start <= e.end && e.end <= size);
    };
    for (const auto* blocks : {&lists.dialogs, &lists.menus})
        for (const CRcBlock& b : *blocks) {
            FUZZ_CHECK(b.nameEnd <= size && b.endStart <= b.endAfter && b.endAfter <= size);
            entries(b.entries);
        }
    entries(lists.strings);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CFuzzTempDir temp;
    CFuzzInput in(data, size);
    const unsigned char options = in.Byte();
    const std::string_view base = in.Part();
    const std::string_view other = in.Rest();
    const CRcGroups groups{(options & 1) != 0, (options & 2) != 0, (options & 4) != 0};

    CheckLists(ParseRcLists(base, groups), base.size());
    CheckLists(ParseRcLists(other, {true, true, true}), other.size());

    CMemoryResourceView view(temp.Dir() / "base.rc", std::string(base));
    CNoDialogs dialogs;
    CFixedAnswerPrompt prompt(false);
    CMemorySettings settings;
    CQuietProgressHost progress;
    CAnswerPickers pickers;
    CNoBusy busy;
    CPorts ports{prompt, settings, progress, pickers, busy};
    settings.WriteInt("Default", "optinsRC_STR", groups.strings || !groups.Any());
    settings.WriteInt("Default", "optinsRC_DLG", groups.dialogs);
    settings.WriteInt("Default", "optinsRC_MENU", groups.menus);
    pickers.answer = temp.Write("other.rc", other).string();

    CResourceTools tools(view, dialogs, ports);
    tools.SetKind(EViewKind::RcScript);
    if (tools.OnCompareRc()) {
        const CMarkList& marks = tools.Marks();
        for (std::size_t i = 0; i < marks.Count(); ++i)
            FUZZ_CHECK(marks.ranges[i].start <= marks.ranges[i].end && marks.ranges[i].end <= base.size());
        if (tools.CanExcludeRed()) (void)tools.OnExcludeRed();
    }
    return 0;
}
