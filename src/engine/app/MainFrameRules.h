#pragma once

#include <filesystem>
#include <string>

class CPrompt;
class CSettings;

// "line: %lu, symbol: %lu" for a caret, "line: %lu, start selected: %lu, finish selected: %lu"
// for a selection.
std::string CaretStatusText(unsigned long line, unsigned long start, unsigned long end);

// The main frame's normal rectangle and show state as "MainPlace" keeps them. Show states are
// the platform's show commands.
struct CWindowPlacement {
    static constexpr int kShowNormal = 1;
    static constexpr int kShowMinimized = 2;
    static constexpr int kShowMaximized = 3;

    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int show = 0;
    bool operator==(const CWindowPlacement&) const = default;
};
CWindowPlacement ReadMainPlacement(const CSettings& settings);
void WriteMainPlacement(CSettings& settings, const CWindowPlacement& placement);
// A stored placement is used only when its top-left lies inside the primary screen, at least 60
// pixels from its right and bottom edges, and a bottom was stored. A left or top of exactly 0
// does not count: it is what a missing value reads as.
bool IsRestorablePlacement(const CWindowPlacement& placement, int screenWidth, int screenHeight);

// The checks of "Textual editing" before a collection file opens as a text document: "It's not
// a textual file." for an excluded extension or non-text content, "Can not to open file." for a
// file that cannot be read. A UTF-16 byte-order mark marks text. False after the message.
bool CheckTextualFile(CPrompt& prompt, const std::filesystem::path& path);
