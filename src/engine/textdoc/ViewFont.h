#pragma once

#include <optional>
#include <string>
#include <string_view>

// The text view's default character format as the settings keep it in "ViewSetting"/"FOnt":
// "%s;%lu;%lu" of face name, height in twips and effect flags.
struct CViewFont {
    enum : unsigned long { kBold = 1, kItalic = 2, kUnderline = 4 };
    std::string face = "Courier new";
    unsigned long twips = 200;
    unsigned long effects = 0;
    bool operator==(const CViewFont&) const = default;
};

std::string FormatViewFont(const CViewFont& font);
std::optional<CViewFont> ParseViewFont(std::string_view text);

// The font dialog shows a format height divided by 16 (toward zero) and gives back its size
// times 16: 12 in the dialog is 192 twips, 200 twips show as 12.
inline int DialogSizeOfTwips(unsigned long twips) { return int(twips / 16); }
inline unsigned long TwipsOfDialogSize(int size) { return (unsigned long)(size < 0 ? -size : size) * 16; }
