#include "CliContext.h"

#include "filetools/CProjectSaveAs.h"

namespace {

int RunSaveProjectAs(CCliContext& ctx, const std::vector<std::string>& raw) {
    CArgs args(raw);
    const bool any = args.TakeFlag("--any");
    const auto pos = args.Positionals();
    if (pos.size() != 2) throw CUsageError{"save-project-as takes OLDFILE and NEWFILE"};
    const auto oldFile = AbsoluteArgument(pos[0]);
    const auto newFile = AbsoluteArgument(pos[1]);

    CProjectSaveAs saveAs(ctx.Ports(), any ? CProjectSaveAs::EVariant::Any : CProjectSaveAs::EVariant::Vs);
    if (!saveAs.Accept(oldFile.string(), newFile.string())) return kExitFailed;
    if (!saveAs.CopyProject(oldFile, newFile)) return kExitFailed;
    return saveAs.Completed() && saveAs.FilesFailed() == 0 ? kExitOk : kExitFailed;
}

const CCliRegistrar reg("save-project-as", "save-project-as OLDFILE NEWFILE [--any]", RunSaveProjectAs);

} // namespace
