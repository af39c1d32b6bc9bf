#include "CliContext.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void PrintUsage(std::FILE* out) {
    std::fputs("usage: quillbox-cli [--home DIR] [--yes | --no] COMMAND [ARGUMENTS]\n\ncommands:\n", out);
    std::vector<CCliCommand> commands = CliCommands();
    std::sort(commands.begin(), commands.end(),
              [](const CCliCommand& a, const CCliCommand& b) { return std::strcmp(a.name, b.name) < 0; });
    for (const CCliCommand& c : commands) {
        std::string usage = c.usage;
        std::size_t start = 0;
        while (start < usage.size()) {
            std::size_t end = usage.find('\n', start);
            if (end == std::string::npos) end = usage.size();
            std::fprintf(out, "  %s\n", usage.substr(start, end - start).c_str());
            start = end + 1;
        }
    }
    std::fputs("\nMessages and questions go to standard error; results to standard output.\n"
               "Exit status: 0 done, 1 refused, failed or found nothing, 2 usage error.\n", out);
}

int UsageError(const std::string& why) {
    if (!why.empty()) std::fprintf(stderr, "quillbox-cli: %s\n", why.c_str());
    PrintUsage(stderr);
    return kExitUsage;
}

} // namespace

int main(int argc, char** argv) {
    std::string home;
    bool yes = false;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            PrintUsage(stdout);
            return kExitOk;
        } else if (a == "--home") {
            if (++i >= argc) return UsageError("--home needs a directory");
            home = argv[i];
        } else if (a == "--yes") {
            yes = true;
        } else if (a == "--no") {
            yes = false;
        } else if (a.rfind("--", 0) == 0) {
            return UsageError("unknown option " + a);
        } else {
            break;
        }
    }
    if (i >= argc) return UsageError("no command given");

    const std::string name = argv[i];
    const std::vector<std::string> args(argv + i + 1, argv + argc);
    for (const CCliCommand& c : CliCommands()) {
        if (name != c.name) continue;
        CCliContext ctx(home, yes);
        try {
            return c.run(ctx, args);
        } catch (const CUsageError& e) {
            return UsageError(e.message);
        }
    }
    return UsageError("unknown command " + name);
}
