#include "app/MainFrameRules.h"

#include "app/FileAccess.h"
#include "app/Ports.h"
#include "app/SettingsKeys.h"
#include "app/TextUtil.h"

#include <cstdio>
#include <memory>

std::string CaretStatusText(unsigned long line, unsigned long start, unsigned long end) {
    if (start == end) return Format("line: %lu, symbol: %lu", line, start);
    return Format("line: %lu, start selected: %lu, finish selected: %lu", line, start, end);
}

CWindowPlacement ReadMainPlacement(const CSettings& settings) {
    return {settings.Get(kMainPlaceLeft), settings.Get(kMainPlaceTop), settings.Get(kMainPlaceRight),
            settings.Get(kMainPlaceBottom), settings.Get(kMainPlaceShow)};
}

void WriteMainPlacement(CSettings& settings, const CWindowPlacement& placement) {
    settings.Set(kMainPlaceLeft, placement.left);
    settings.Set(kMainPlaceTop, placement.top);
    settings.Set(kMainPlaceRight, placement.right);
    settings.Set(kMainPlaceBottom, placement.bottom);
    settings.Set(kMainPlaceShow, placement.show);
}

bool IsRestorablePlacement(const CWindowPlacement& p, int screenWidth, int screenHeight) {
    return p.left > 0 && p.left < screenWidth - 60 && p.top > 0 && p.top < screenHeight - 60 && p.bottom != 0;
}

bool CheckTextualFile(CPrompt& prompt, const std::filesystem::path& path) {
    constexpr const char* kNotText = "It's not a textual file.";
    if (IsExcludedExtension(path.filename().string())) {
        prompt.Message(kNotText);
        return false;
    }
    struct CClose {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, CClose> file(std::fopen(path.c_str(), "rb"));
    std::error_code ec;
    if (!file || std::filesystem::is_directory(path, ec)) {
        prompt.Message("Can not to open file.");
        return false;
    }
    unsigned char mark[2] = {};
    const bool utf16 = std::fread(mark, 1, 2, file.get()) == 2 &&
                       ((mark[0] == 0xFF && mark[1] == 0xFE) || (mark[0] == 0xFE && mark[1] == 0xFF));
    std::rewind(file.get());
    if (!utf16 && IsBinaryContent(file.get())) {
        prompt.Message(kNotText);
        return false;
    }
    return true;
}
