#include "CliContext.h"

#include "collections/KeywordSearch.h"

#include <cstdio>

namespace {

int RunMarks(CCliContext& ctx, const std::vector<std::string>& raw) {
    CArgs args(raw);
    const bool noCase = args.TakeFlag("--nocase");
    const auto pos = args.Positionals();
    if (pos.size() != 2) throw CUsageError{"marks takes FILE and KEYWORDS"};
    const auto file = AbsoluteArgument(pos[0]);
    if (!CheckKeywordText(ctx.Prompt(), pos[1])) return kExitFailed;

    CKeywordSearchState search;
    search.SetKeywords(pos[1], noCase);
    search.SetInForce(true);
    if (!search.PrepareSelPos(ctx.Prompt(), file)) return kExitFailed;
    const auto pairs = search.GetSelPos().pairs;
    for (const CKeywordMatch& m : pairs) std::printf("%zu\t%zu\n", m.start, m.end);
    return pairs.empty() ? kExitFailed : kExitOk;
}

const CCliRegistrar reg("marks", "marks FILE KEYWORDS [--nocase]", RunMarks);

} // namespace
