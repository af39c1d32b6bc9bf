#include "CliContext.h"
#include "LoadStored.h"

#include "collections/CCollections.h"
#include "collections/DescriptIonExchange.h"

#include <cstdio>

namespace {

using CExchange = CExchangeResult (*)(CCollections&, CPorts&);

// The stored collection of DIR (no scan), then the exchange; a file left out makes exit status 1.
int RunExchange(CCliContext& ctx, const std::vector<std::string>& raw, const char* name, CExchange exchange) {
    const auto pos = CArgs(raw).Positionals();
    if (pos.size() != 1) throw CUsageError{std::string(name) + " takes one DIR"};
    const auto home = ctx.Home();
    if (!home) return kExitFailed;
    CCollections coll(ctx.Ports(), *home);
    const std::string dir = AbsoluteArgument(pos[0]).string();
    if (!LoadStored(coll, ctx.Prompt(), &dir)) return kExitFailed;
    const CExchangeResult result = exchange(coll, ctx.Ports());
    if (result.outcome != EExchangeOutcome::Done && result.outcome != EExchangeOutcome::Incomplete) return kExitFailed;
    std::printf("%zu\n", result.descriptions);
    return result.outcome == EExchangeOutcome::Done ? kExitOk : kExitFailed;
}

int RunImport(CCliContext& ctx, const std::vector<std::string>& raw) {
    return RunExchange(ctx, raw, "import-descript", ImportDescriptIon);
}

int RunExport(CCliContext& ctx, const std::vector<std::string>& raw) {
    return RunExchange(ctx, raw, "export-descript", ExportDescriptIon);
}

const CCliRegistrar regImport("import-descript", "import-descript DIR", RunImport);
const CCliRegistrar regExport("export-descript", "export-descript DIR", RunExport);

} // namespace
