#include "CliContext.h"

#include "QuillboxVersion.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kOptions[] = "[--home DIR] [--yes | --no]";

void PrintLines(std::FILE* out, const std::string& text, const char* prefix) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::fprintf(out, "%s%s\n", prefix, text.substr(start, end - start).c_str());
        start = end + 1;
    }
}

void PrintUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: quillbox-cli %s COMMAND [ARGUMENTS]\n"
                 "       quillbox-cli --version\n"
                 "       quillbox-cli COMMAND --help\n\ncommands:\n",
                 kOptions);
    std::vector<CCliCommand> commands = CliCommands();
    std::sort(commands.begin(), commands.end(),
              [](const CCliCommand& a, const CCliCommand& b) { return std::strcmp(a.name, b.name) < 0; });
    for (const CCliCommand& c : commands) PrintLines(out, c.usage, "  ");
    std::fputs("\n--opt VALUE and --opt=VALUE are the same; -- ends the options, so an argument may start\n"
               "with \"-\".\n"
               "Messages and questions go to standard error; results to standard output.\n"
               "Exit status: 0 done, 1 refused, failed or found nothing, 2 usage error.\n",
               out);
}

void PrintCommandUsage(const CCliCommand& c) {
    std::fputs("usage:\n", stdout);
    PrintLines(stdout, c.usage, (std::string("  quillbox-cli ") + kOptions + ' ').c_str());
}

int UsageError(const std::string& why) {
    if (!why.empty()) std::fprintf(stderr, "quillbox-cli: %s\n", why.c_str());
    PrintUsage(stderr);
    return kExitUsage;
}

bool AsksForHelp(const std::vector<std::string>& args) {
    const auto end = std::find(args.begin(), args.end(), "--");
    return std::find(args.begin(), end, "--help") != end;
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
        } else if (a == "--version") {
            std::puts("quillbox-cli " QUILLBOX_VERSION);
            return kExitOk;
        } else if (a == "--home") {
            if (++i >= argc) return UsageError("--home needs a directory");
            home = argv[i];
        } else if (const auto value = InlineValue(a, "--home")) {
            if (value->empty()) return UsageError("--home needs a directory");
            home = *value;
        } else if (a == "--yes") {
            yes = true;
        } else if (a == "--no") {
            yes = false;
        } else if (a == "--") {
            ++i;
            break;
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
        if (AsksForHelp(args)) {
            PrintCommandUsage(c);
            return kExitOk;
        }
        CCliContext ctx(home, yes);
        try {
            return c.run(ctx, args);
        } catch (const CUsageError& e) {
            return UsageError(e.message);
        }
    }
    return UsageError("unknown command " + name);
}
