#include "restools/ResToolsCli.h"

namespace {

int RunResCorrect(CCliContext& ctx, const std::vector<std::string>& raw) {
    CArgs args(raw);
    const bool write = args.TakeFlag("--write");
    const auto pos = args.Positionals();
    if (pos.size() != 1) throw CUsageError{"res-correct takes one HEADER"};

    CCliResourceSession session(ctx);
    if (!session.Load(AbsoluteArgument(pos[0]), EViewKind::ResourceHeader)) return kExitFailed;
    if (!session.Tools().OnCorrectResourceFile()) return kExitFailed;
    if (write) return session.Save() ? kExitOk : kExitFailed;
    WriteToStdout(session.FileBytes(session.View().Text()));
    return kExitOk;
}

const CCliRegistrar reg("res-correct", "res-correct HEADER [--write]", RunResCorrect);

} // namespace
