#include "CliContext.h"

#include "app/FileAccess.h"

#include <charconv>
#include <cstdio>

namespace {

int RunAttributes(CCliContext& ctx, const std::vector<std::string>& raw) {
    CArgs args(raw);
    const auto set = args.TakeOption("--set");
    const auto pos = args.Positionals();
    if (pos.size() != 1) throw CUsageError{"attributes takes one FILE"};
    const auto file = AbsoluteArgument(pos[0]);

    if (set) {
        unsigned value = 0;
        const auto [end, ec] = std::from_chars(set->data(), set->data() + set->size(), value);
        if (ec != std::errc() || end != set->data() + set->size() || value > 255)
            throw CUsageError{"--set takes a byte from 0 to 255"};
        if (!SetFileAttribute(file, std::uint8_t(value))) {
            ctx.Prompt().Message("Can not set attributes of file:\r\n" + file.string());
            return kExitFailed;
        }
    }
    const auto attr = GetFileAttributeByte(file);
    if (!attr) {
        ctx.Prompt().Message("Can not find file:\r\n" + file.string());
        return kExitFailed;
    }
    std::printf("%u\n", unsigned(*attr));
    return kExitOk;
}

const CCliRegistrar reg("attributes", "attributes FILE [--set BYTE]", RunAttributes);

} // namespace
