#include "restools/ResourceHeader.h"

#include "restools/ResourceModel.h"

#include <array>
#include <vector>

namespace {

// Classes in output order; the third byte of a name chooses one, 0 stands for all others.
struct CPrefixClass {
    char third;
    int group;
};
constexpr std::array<CPrefixClass, 11> kClasses{{
    {'R', 0},
    {'D', 0},
    {'I', 0},
    {'B', 0},
    {'W', 1},
    {'M', 1},
    {'C', 1},
    {0, 1},
    {'_', 2},
    {'S', 2},
    {'P', 2},
}};
constexpr std::array<unsigned, 3> kGroupStart{1000, 10000, 32000};

std::size_t ClassOf(std::string_view name) {
    const char third = name.size() > 2 ? name[2] : 0;
    for (std::size_t i = 0; i < kClasses.size(); ++i)
        if (kClasses[i].third != 0 && kClasses[i].third == third) return i;
    return 7;
}

} // namespace

std::string CorrectResourceHeader(std::string_view text) {
    const std::string_view br = LineBreakOf(text);
    CIdentifierList ids;
    CMarkList ranges;
    BuildIdentifierList(text, ids, ranges);

    std::string out;
    out.reserve(text.size() + 2048);
    // The comment before the first directive of the body stays as it is.
    const std::size_t firstHash = text.find('#');
    if (firstHash != std::string_view::npos && static_cast<long long>(firstHash) < FindBodyEnd(text).end)
        out.append(text.substr(0, firstHash));

    std::array<std::vector<std::string_view>, kClasses.size()> classes;
    for (const auto& name : ids.names) classes[ClassOf(name)].push_back(name);

    const std::size_t width = std::min<std::size_t>(ids.longestName, 100) + 2;
    std::array<unsigned, 3> next = kGroupStart;
    out.append(br);
    for (std::size_t c = 0; c < classes.size(); ++c) {
        for (const std::string_view name : classes[c]) {
            out.append("#define ").append(name);
            out.append(width > name.size() ? width - name.size() : 2, ' ');
            out.append(std::to_string(next[std::size_t(kClasses[c].group)]++)).append(br);
        }
    }

    const auto line = [&](std::string_view s) { out.append(s).append(br); };
    out.append(br);
    line("// Next default values for new objects");
    line("//");
    line("#ifdef APSTUDIO_INVOKED");
    line("#ifndef APSTUDIO_READONLY_SYMBOLS");
    line("#define _APS_3D_CONTROLS                1");
    line("#define _APS_NEXT_RESOURCE_VALUE        " + std::to_string(next[0]));
    line("#define _APS_NEXT_COMMAND_VALUE         " + std::to_string(next[1]));
    line("#define _APS_NEXT_CONTROL_VALUE         " + std::to_string(next[2]));
    line("#define _APS_NEXT_SYMED_VALUE           1");
    line("#endif");
    line("#endif");
    return out;
}
