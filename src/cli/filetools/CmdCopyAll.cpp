#include "CliContext.h"

#include "filetools/CCopyAllFiles.h"

#include <charconv>

namespace {

int RunCopyAll(CCliContext& ctx, const std::vector<std::string>& raw) {
    CArgs args(raw);
    const auto minSize = args.TakeOption("--min-size");
    const auto ext = args.TakeOption("--ext");
    const auto pos = args.Positionals();
    if (pos.size() != 2) throw CUsageError{"copy-all takes SOURCE and TARGET"};

    CCopyAllFiles::CFields fields;
    fields.source = AbsoluteArgument(pos[0]).string();
    fields.target = AbsoluteArgument(pos[1]).string();
    if (ext) fields.extensions = *ext;
    if (minSize) {
        const char* end = minSize->data() + minSize->size();
        const auto [ptr, ec] = std::from_chars(minSize->data(), end, fields.minimumSize);
        if (ec != std::errc() || ptr != end) throw CUsageError{"--min-size takes a whole number"};
    }
    CCopyAllFiles copy(ctx.Ports());
    if (!copy.Accept(fields)) return kExitFailed;
    if (!copy.OnCopyAllFiles(fields)) return kExitFailed;
    return copy.Failed() == 0 ? kExitOk : kExitFailed;
}

const CCliRegistrar reg("copy-all", "copy-all SOURCE TARGET [--min-size N] [--ext LIST]", RunCopyAll);

} // namespace
