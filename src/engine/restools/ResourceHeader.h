#pragma once

#include <string>
#include <string_view>

// The header rewritten with fresh values: the comment before the first directive kept, every
// define line of the body renumbered by the prefix class of its name, and a new trailer with the
// next values the resource editor reads. Lines end as the text's own lines do.
std::string CorrectResourceHeader(std::string_view text);

inline constexpr std::string_view kCorrectedHeaderMessage =
    "When you use corrected Resource.h in your project\r\nwill not foget to do \"Rebuld all\"!";
