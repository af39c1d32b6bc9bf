#include "CliContext.h"

#include "filetools/CAssociations.h"
#include "filetools/CExtensionTool.h"

#include <cstdio>

namespace {

// The "Open with..." chooser answered by the PROGRAM argument.
class CGivenProgram : public CNoPickers {
public:
    explicit CGivenProgram(std::string program) : m_program(std::move(program)) {}
    std::string OpenFile(std::string_view, std::string_view, const std::filesystem::path&) override {
        return m_program;
    }

private:
    std::string m_program;
};

void PrintInfo(const std::string& info) {
    std::string out;
    for (std::size_t i = 0; i < info.size(); ++i)
        if (!(info[i] == '\r' && i + 1 < info.size() && info[i + 1] == '\n')) out += info[i];
    if (out.empty() || out.back() != '\n') out += '\n';
    std::fputs(out.c_str(), stdout);
}

int RunAssoc(CCliContext& ctx, const std::vector<std::string>& raw) {
    const auto pos = CArgs(raw).Positionals();
    if (pos.empty()) throw CUsageError{"assoc needs show, link or remove"};
    const std::string& action = pos[0];
    const std::size_t wanted = action == "link" ? 3 : 2;
    if ((action != "show" && action != "link" && action != "remove") || pos.size() != wanted)
        throw CUsageError{"assoc show EXT, assoc link EXT PROGRAM or assoc remove EXT"};

    CSystemLauncher launcher;
    std::string program;
    if (action == "link") {
        program = pos[2].find('/') == std::string::npos ? launcher.FindProgram(pos[2]) : std::string();
        if (program.empty()) program = AbsoluteArgument(pos[2]).string();
    }
    CGivenProgram pickers(program);
    CPorts& base = ctx.Ports();
    CPorts ports{base.prompt, base.settings, base.progress, pickers, base.busy};
    CAssociations assoc(ports, launcher);
    CExtensionTool tool(assoc, ctx.Prompt());
    tool.SetText(pos[1]);

    if (action == "show") {
        if (tool.Info().empty()) return kExitFailed;
        PrintInfo(tool.Info());
        return tool.RemoveEnabled() ? kExitOk : kExitFailed;
    }
    if (action == "link") return tool.NewLink() ? kExitOk : kExitFailed;
    if (!tool.Remove()) return kExitFailed;
    PrintInfo(tool.Info());
    return kExitOk;
}

const CCliRegistrar reg("assoc", "assoc show EXT\nassoc link EXT PROGRAM\nassoc remove EXT", RunAssoc);

} // namespace
