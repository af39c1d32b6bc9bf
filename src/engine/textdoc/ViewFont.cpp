#include "textdoc/ViewFont.h"

#include "app/TextUtil.h"

#include <charconv>

std::string FormatViewFont(const CViewFont& font) {
    return Format("%s;%lu;%lu", font.face.c_str(), font.twips, font.effects);
}

std::optional<CViewFont> ParseViewFont(std::string_view text) {
    const auto second = text.rfind(';');
    if (second == std::string_view::npos || second == 0) return std::nullopt;
    const auto first = text.rfind(';', second - 1);
    if (first == std::string_view::npos || first == 0) return std::nullopt;
    CViewFont font;
    font.face = std::string(text.substr(0, first));
    const std::string_view h = text.substr(first + 1, second - first - 1);
    const std::string_view e = text.substr(second + 1);
    if (std::from_chars(h.data(), h.data() + h.size(), font.twips).ec != std::errc() ||
        std::from_chars(e.data(), e.data() + e.size(), font.effects).ec != std::errc() || font.twips == 0)
        return std::nullopt;
    return font;
}
