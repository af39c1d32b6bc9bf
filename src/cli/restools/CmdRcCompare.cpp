#include "restools/ResToolsCli.h"

#include <cstdio>

namespace {

struct CCompareArgs {
    std::filesystem::path base;
    std::filesystem::path other;
    CRcGroups groups;
};

CCompareArgs TakeCompareArgs(const std::vector<std::string>& raw, const char* command) {
    CArgs args(raw);
    CCompareArgs c;
    c.groups = ParseGroupsArgument(args.TakeOption("--groups"));
    const auto pos = args.Positionals();
    if (pos.size() != 2) throw CUsageError{std::string(command) + " takes BASE and OTHER"};
    c.base = AbsoluteArgument(pos[0]);
    c.other = AbsoluteArgument(pos[1]);
    return c;
}

bool Compare(CCliResourceSession& session, const CCompareArgs& c) {
    session.SetRcOptions(c.groups, false);
    if (!session.Load(c.base, EViewKind::RcScript)) return false;
    session.Pickers().files.push_back(c.other.string());
    return session.Tools().OnCompareRc();
}

int RunRcCompare(CCliContext& ctx, const std::vector<std::string>& raw) {
    const CCompareArgs c = TakeCompareArgs(raw, "rc-compare");
    CCliResourceSession session(ctx);
    if (!Compare(session, c)) return kExitFailed;
    const CMarkList& marks = session.Tools().Marks();
    for (std::size_t i = 0; i < marks.Count(); ++i)
        std::printf("%zu\t%zu\t%u\n", session.FileOffset(marks.ranges[i].start),
                    session.FileOffset(marks.ranges[i].end), unsigned(marks.marks[i]));
    return kExitOk;
}

int RunRcCollapse(CCliContext& ctx, const std::vector<std::string>& raw) {
    const CCompareArgs c = TakeCompareArgs(raw, "rc-collapse");
    CCliResourceSession session(ctx);
    if (!Compare(session, c)) return kExitFailed;
    // Collapsing is disabled after a compare that left no ranges.
    if (!session.Tools().OnCollapseColors()) {
        ctx.Prompt().Message("The compare marked nothing.");
        return kExitFailed;
    }
    WriteToStdout(session.FileBytes(session.View().Text()));
    return kExitOk;
}

const CCliRegistrar regCompare("rc-compare", "rc-compare BASE OTHER [--groups GROUPS]", RunRcCompare);
const CCliRegistrar regCollapse("rc-collapse", "rc-collapse BASE OTHER [--groups GROUPS]", RunRcCollapse);

} // namespace
