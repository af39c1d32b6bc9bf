#include "restools/ResToolsCli.h"

#include <cstdio>

namespace {

void PrintRed(const CResourceTools& tools) {
    for (const auto& name : tools.RedIdentifiers()) std::printf("%s\n", name.c_str());
}

// The way res-find-rc and res-exclude-red search: all text, or one RC file by groups.
struct CRcSearchArgs {
    bool allText = false;
    std::optional<std::string> rc;
    CRcGroups groups;

    explicit CRcSearchArgs(CArgs& args)
        : allText(args.TakeFlag("--all-text")), rc(args.TakeOption("--rc")),
          groups(ParseGroupsArgument(args.TakeOption("--groups"))) {
        if (allText == rc.has_value()) throw CUsageError{"give either --all-text or --rc RCFILE"};
    }
    bool Run(CCliResourceSession& session) const {
        session.SetRcOptions(groups, allText);
        if (rc) session.Pickers().files.push_back(AbsoluteArgument(*rc).string());
        return session.Tools().OnFindInRcFile();
    }
};

std::filesystem::path OneHeader(const CArgs& args, const char* command) {
    const auto pos = args.Positionals();
    if (pos.size() != 1) throw CUsageError{std::string(command) + " takes one HEADER"};
    return AbsoluteArgument(pos[0]);
}

int RunResFindRc(CCliContext& ctx, const std::vector<std::string>& raw) {
    CArgs args(raw);
    CCliResourceSession session(ctx);
    // Options first, so a usage error comes before any message about the file.
    const CRcSearchArgs search(args);
    const auto header = OneHeader(args, "res-find-rc");
    if (!session.Load(header, EViewKind::ResourceHeader)) return kExitFailed;
    if (!search.Run(session)) return kExitFailed;
    PrintRed(session.Tools());
    return kExitOk;
}

int RunResFindProject(CCliContext& ctx, const std::vector<std::string>& raw) {
    CArgs args(raw);
    CCliResourceSession session(ctx);
    auto& dialogs = session.Dialogs();
    if (const auto dir = args.TakeOption("--dir")) dialogs.folder = AbsoluteArgument(*dir).string();
    dialogs.extensions = args.TakeOption("--ext");
    dialogs.keyword = args.TakeOption("--keyword").value_or("");
    dialogs.negative = args.TakeFlag("--negative");
    const auto header = OneHeader(args, "res-find-project");
    if (!dialogs.folder) dialogs.folder = header.parent_path().string();
    if (!session.Load(header, EViewKind::ResourceHeader)) return kExitFailed;
    if (!session.Tools().OnFindInProject()) return kExitFailed;
    PrintRed(session.Tools());
    return kExitOk;
}

int RunResExcludeRed(CCliContext& ctx, const std::vector<std::string>& raw) {
    CArgs args(raw);
    CCliResourceSession session(ctx);
    const bool invert = args.TakeFlag("--invert");
    const bool write = args.TakeFlag("--write");
    const CRcSearchArgs search(args);
    const auto header = OneHeader(args, "res-exclude-red");
    if (!session.Load(header, EViewKind::ResourceHeader)) return kExitFailed;
    if (!search.Run(session)) return kExitFailed;

    CResourceTools& tools = session.Tools();
    // Both commands are disabled while nothing is red.
    if (invert && !tools.OnInvertRed()) {
        ctx.Prompt().Message("No identifier is marked red.");
        return kExitFailed;
    }
    if (!tools.OnExcludeRed()) {
        ctx.Prompt().Message("No identifier is marked red.");
        return kExitFailed;
    }
    if (write) return session.Save() ? kExitOk : kExitFailed;
    WriteToStdout(session.FileBytes(session.View().Text()));
    return kExitOk;
}

const CCliRegistrar regRc("res-find-rc",
                          "res-find-rc HEADER --all-text\n"
                          "res-find-rc HEADER --rc RCFILE [--groups GROUPS]",
                          RunResFindRc);
const CCliRegistrar regProject("res-find-project",
                               "res-find-project HEADER [--dir DIR] [--ext LIST] [--keyword WORD] [--negative]",
                               RunResFindProject);
const CCliRegistrar
    regExclude("res-exclude-red",
               "res-exclude-red HEADER (--all-text | --rc RCFILE [--groups GROUPS]) [--invert] [--write]",
               RunResExcludeRed);

} // namespace
